// The delay dialog of the timer with pre-set inputs, and the trigger and
// timer dialogs: their tick boxes and the delay's limits.
#include "editor/PropertyDialogTest.h"

namespace {

using TimerDialogs = PropertyDialogTest;

// The limits and the step are the settings' (50 .. 50,000,000 by 50); a delay
// outside them is shown and stored at the nearest one.
TEST_F(TimerDialogs, DelaysAreHeldWithinTheSettingsLimits) {
    TPredTimerElement* p = Place(Doc()->CreatePredTimerElement(2));
    TTimerElement* t = Place(Doc()->CreateTimerElement(), 300, 100);
    p->SetDelay(10);
    t->SetDelay(90000000);
    Apply(p, Form1, [] { EXPECT_EQ(Form1->TimerValue->Value(), 50); });
    EXPECT_EQ(p->Delay(), 50);
    Apply(t, Form7, [] {
        EXPECT_EQ(Form7->TimerValue->Value(), 50000000);
        Form7->TimerValue->SetValue(1000);
        Form7->TimerValue->UpClick(nullptr);
    });
    EXPECT_EQ(t->Delay(), 1050);
    Apply(t, Form7, [] { Form7->TimerValue->SetText("7"); });
    EXPECT_EQ(t->Delay(), 50);
    EXPECT_TRUE(SheetIsClean());
}

// The trigger's boxes stand for its inputs, the timer's for its three pins;
// an emptied name keeps the old one.
TEST_F(TimerDialogs, TickBoxesStandForInputsOrForTheTimersPins) {
    TDTriggerElement* d = Place(Doc()->CreateDTriggerElement());
    d->GetInput(1)->SetInverse(true);
    Apply(d, Form8, [] {
        EXPECT_EQ(Items(Form8->CheckListBox1->Items()), (Texts{"D", "C"}));
        EXPECT_FALSE(Form8->CheckListBox1->Checked(0));
        EXPECT_TRUE(Form8->CheckListBox1->Checked(1));
        Form8->CheckListBox1->SetChecked(0, true);
        Form8->CheckListBox1->SetChecked(1, false);
        Form8->Edit1->SetText("");
    });
    EXPECT_TRUE(d->GetInput(0)->Inverse());
    EXPECT_FALSE(d->GetInput(1)->Inverse());
    EXPECT_TRUE(d->GetOutput(1)->Inverse()) << "outputs stay";
    EXPECT_EQ(d->Name(), AnsiString("DT"));
    TTimerElement* t = Place(Doc()->CreateTimerElement(), 300, 100);
    t->Pin(2)->SetInverse(true);
    Apply(t, Form7, [] {
        EXPECT_EQ(Items(Form7->CheckListBox1->Items()), (Texts{"Вход"_a, "Отключение"_a, "Выход"_a}));
        EXPECT_EQ(Form7->CheckListBox1->Checked(0) + 2 * Form7->CheckListBox1->Checked(2), 2);
        Form7->CheckListBox1->SetChecked(1, true);
        Form7->Edit1->SetText("");
    });
    EXPECT_TRUE(t->Pin(1)->Inverse() && t->Pin(2)->Inverse() && !t->Pin(0)->Inverse());
    EXPECT_EQ(t->Name(), AnsiString("TIMER"));
    EXPECT_TRUE(SheetIsClean());
}

} // namespace
