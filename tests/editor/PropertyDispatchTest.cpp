// Every kind of scheme object reaches its dialog through the dispatcher;
// Отменить leaves the document as it was, and a dialog that was never made
// answers Cancel.
#include "editor/PropertyDialogTest.h"

#include "editor/EditorFakes.h"

namespace {

using PropertyDispatch = PropertyDialogTest;

TEST_F(PropertyDispatch, EveryStoredKindOpensItsForm) {
    FakeFrameServices services;
    struct Row {
        std::function<TEntity*()> make;
        TForm* form;
        int buttons; // the generic dialog's pin buttons shown (0, 1); -1: another dialog
    };
    // The XOR comes before the counters: the same form shows its buttons again.
    const Row rows[] = {
        {[&] { return Doc()->CreateAndElement(); }, Form4, 1},
        {[&] { return Doc()->CreateOrElement(); }, Form4, 1},
        {[&] { return Doc()->CreateDRSTriggerElement(); }, Form4, 0},
        {[&] { return Doc()->CreateFilterElement(); }, Form4, 0},
        {[&] { return Doc()->CreateXorElement(); }, Form2, 0},
        {[&] { return Doc()->CreateD8TriggerElement(); }, Form2, 0},
        {[&] { return Doc()->CreateByteCompareElement(); }, Form2, 0},
        {[&] { return Doc()->CreateCounterElement(); }, Form2, 1},
        {[&] { return Doc()->CreateReverCounterElement(); }, Form2, 1},
        {[&] { return Doc()->CreateD8RSCounterElement(); }, Form2, 1},
        {[&] { return Doc()->CreateDecoderElement(); }, Form2, 1},
        {[&] { return Doc()->CreateCommutatorElement(); }, Form2, 1},
        {[&] { return Doc()->CreateTimerElement(); }, Form7, -1},
        {[&] { return Doc()->CreatePredTimerElement(1); }, Form1, -1},
        {[&] { return Doc()->CreateTriggerElement(); }, Form8, -1},
        {[&] { return Doc()->CreateDTriggerElement(); }, Form8, -1},
        {[&] { return Doc()->CreateCaseElement(2); }, Form10, -1},
        {[&] { return Doc()->CreateCase16Element(2); }, Form10, -1},
        {[&] { return Doc()->CreateCaseMaskElement(2); }, Form10, -1},
        {[&] { return Doc()->CreateCaseDiapElement(6); }, Form10, -1},
        {[&] { return Doc()->CreateGotoElement(); }, Form12, -1},
        {[&] { return Doc()->CreateDriver(); }, Form5, -1},
        {[&] { return Doc()->CreateVarDriver(); }, Form9, -1},
        {[&] { return Doc()->CreateWire(10, 300, 200, 300); }, Form6, -1},
        {[&] { return Doc()->CreateSymbol(); }, Form3, -1},
        {[&] { return Doc()->CreateFSM(); }, Form3, -1},
        {[&] {
             auto* e = new TElement(Doc(), "plain");
             Doc()->AddObject(e);
             return e;
         },
         Form4, -1},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(i++);
        TEntity* e = Place(r.make());
        const auto before = State();
        ModelHooks().Dialogs = nullptr;
        EXPECT_FALSE(e->Properties()) << "without the dialogs nothing opens";
        ModelHooks().Dialogs = &dialogs;
        EXPECT_FALSE(Edit(e, r.form, [&] {
            if (r.buttons < 0) {
                r.form->ModalResult = mrCancel;
                return;
            }
            // Everything typed before Отменить is dropped.
            auto* f = static_cast<TForm4*>(r.form);
            EXPECT_EQ(f->Button3->Visible(), r.buttons == 1);
            EXPECT_EQ(f->Button4->Visible(), r.buttons == 1);
            EXPECT_EQ(f->ComboBox2->Text(), static_cast<TElement*>(e)->Label());
            f->Edit2->SetText("changed");
            f->Order->SetText("77");
            f->Edit1->SetText("renamed");
            f->Button2->Click();
        }));
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(SheetIsClean());
        Remove(e);
    }
    // A dialog that was never made: Cancel, and nothing stored.
    TTimerElement* t = Doc()->CreateTimerElement();
    TForm7* made = Form7;
    Form7 = nullptr;
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Timer, t), mrCancel);
    dialogs.Store(TPropertyDialog::Timer, t);
    EXPECT_FALSE(t->Properties());
    Form7 = made;
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Driver, t), mrCancel) << "an object of another kind";
}

} // namespace
