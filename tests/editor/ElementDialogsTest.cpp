// The element property dialogs: which one each kind opens, order numbers, pin
// buttons and their limits, tick boxes and delays, and the sheet afterwards.
#include "editor/PropertyDialogTest.h"

namespace {

using ElementDialogs = PropertyDialogTest;

// The pin grid's rows as "name|kind|inverted", space-separated.
std::string PinRows(TStringGrid* g, int rows) {
    std::string out;
    for (int r = 1; r <= rows; ++r)
        out += (r > 1 ? " " : "") + AnsiToUtf8(g->Cells(0, r) + "|" + g->Cells(1, r) + "|" + g->Cells(2, r));
    return out;
}

void SelectPin(TElementPages* f, int row) {
    f->InSG->SetRow(row);
    f->InSGClick(nullptr);
}

// Every kind reaches its dialog through the dispatcher, none without it (the D
// trigger, other CASE kinds, state machine, bare element: in their own tests);
// Отменить leaves the document as it was; a dialog never made answers Cancel.
TEST_F(ElementDialogs, EveryStoredKindOpensItsForm) {
    // buttons: the generic dialog's pin buttons shown (0, 1; the XOR before the
    // counters), -1: another dialog.
    struct Row { std::function<TEntity*()> make; TForm* form; int buttons; };
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
        {[&] { return Doc()->CreateCaseElement(2); }, Form10, -1},
        {[&] { return Doc()->CreateGotoElement(); }, Form12, -1},
        {[&] { return Doc()->CreateDriver(); }, Form5, -1},
        {[&] { return Doc()->CreateVarDriver(); }, Form9, -1},
        {[&] { return Doc()->CreateWire(10, 300, 200, 300); }, Form6, -1},
        {[&] { return Doc()->CreateSymbol(); }, Form3, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(&r - rows);
        TEntity* e = Place(r.make());
        const auto before = State();
        ModelHooks().Dialogs = nullptr;
        EXPECT_FALSE(e->Properties()) << "without the dialogs";
        ModelHooks().Dialogs = &dialogs;
        EXPECT_FALSE(Edit(e, r.form, [&] {
            if (r.buttons < 0) return;
            auto* f = static_cast<TForm4*>(r.form);
            EXPECT_EQ(f->Button3->Visible() + f->Button4->Visible(), 2 * r.buttons);
            f->Edit2->SetText("changed"), f->Order->SetText("77"), f->Edit1->SetText("renamed");
        }));
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(SheetIsClean());
        Remove(e);
    }
    TTimerElement* t = Doc()->CreateTimerElement();
    TForm7* made = std::exchange(Form7, nullptr);
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Timer, t), mrCancel);
    dialogs.Store(TPropertyDialog::Timer, t);
    EXPECT_FALSE(t->Properties());
    Form7 = made;
    EXPECT_EQ(dialogs.Run(TPropertyDialog::Driver, t), mrCancel) << "an object of another kind";
}

// Pin buttons change only the grid rows they touch; "Применить" stores the
// rest. The sheet equals a fresh repaint after each, at either zoom.
TEST_F(ElementDialogs, PinButtonsActAtOnceApplyStoresTheRest) {
    for (int zoom : {100, 150}) {
        Doc()->SetScale(zoom);
        window->PaintBox1->Repaint();
        TElement* e = Place(Doc()->CreateAndElement(), 100, 100 + zoom);
        EXPECT_TRUE(Apply(e, Form4, [&] {
            EXPECT_EQ(Form4->PageControl1->ActivePage(), Form4->TabSheet1);
            EXPECT_EQ(Form4->Edit2->Text() + Form4->Edit1->Text(), AnsiString("ANDOut")) << "row 1 is selected";
            Form4->Edit2->SetText("K5");
            SelectPin(Form4, 2);
            Form4->Edit1->SetText("A");
            Form4->ComboBox1->SetItemIndex(1);
            Form4->ComboBox1Change(nullptr);
            Form4->Button3->Click();
            EXPECT_EQ(PinRows(Form4->InSG, 4), "Out|Выход|Нет A|Вход|Да In|Вход|Нет In|Вход|Нет");
            EXPECT_TRUE(SheetIsClean()) << "a pin added";
            SelectPin(Form4, 2);
            Form4->Edit1->SetText("B");
            Form4->Button4->Click();
            EXPECT_EQ(PinRows(Form4->InSG, 3), "Out|Выход|Нет B|Вход|Да In|Вход|Нет");
            EXPECT_TRUE(SheetIsClean()) << "a pin removed";
        }));
        EXPECT_EQ(e->PinCount(), 3);
        EXPECT_EQ(e->Name() + e->Pin(1)->Name(), AnsiString("K5B"));
        EXPECT_TRUE(e->Pin(1)->Inverse() && e->Visible());
        EXPECT_TRUE(SheetIsClean()) << "applied";
        EXPECT_TRUE(Apply(e, Form4, [] { Form4->Edit2->SetText(""); }));
        EXPECT_EQ(e->Name(), AnsiString("K5")) << "an empty name keeps the old one";
    }
}

// Every dialog with an order number: a taken number is said (by the dialog or
// the element) and the rest stored; not a whole number: refused, nothing stored.
TEST_F(ElementDialogs, OrderNumbersInEveryDialog) {
    // taken: the message for a number another element has.
    struct Row { std::function<TElement*()> make; TForm* form; TComboBox* order; TEdit* name; TPageControl* pages;
                 TTabSheet *first, *second; AnsiString taken; };
    auto row = [](std::function<TElement*()> make, auto* f, TEdit* name, AnsiString taken) {
        return Row{make, f, f->Order, name, f->PageControl1, f->TabSheet1, f->TabSheet2, taken};
    };
    const AnsiString checked = "В схеме уже существует элемент с номером 3"_a;
    const AnsiString own = "Елемент с номером 3 уже существует"_a;
    const Row rows[] = {
        row([&] { return Doc()->CreateAndElement(); }, Form4, Form4->Edit2, checked),
        row([&] { return Doc()->CreateCaseDiapElement(6); }, Form10, Form10->Edit2, checked),
        row([&] { return Doc()->CreateGotoElement(); }, Form12, Form12->Edit2, checked),
        row([&] { return Doc()->CreatePredTimerElement(1); }, Form1, Form1->Edit2, own),
        row([&] { return Doc()->CreateTriggerElement(); }, Form8, Form8->Edit1, own),
        row([&] { return Doc()->CreateTimerElement(); }, Form7, Form7->Edit1, own),
    };
    Place(Doc()->CreateOrElement(), 500, 300)->AssignNumber(3);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.form->Name().c_str());
        TElement* e = Place(r.make(), 100, 300);
        e->AssignNumber(1);
        const AnsiString name = e->Name();
        EXPECT_FALSE(Edit(e, r.form, [&] {
            EXPECT_EQ(r.order->Items()->CommaText() + " " + r.order->Text(), AnsiString("1,2 1"));
            r.order->SetText("abc");
            r.name->SetText("N2");
            r.pages->SetActivePage(r.second);
            ApplyButton(r.form)->Click();
            EXPECT_EQ(r.form->ModalResult, mrNone);
            EXPECT_EQ(r.pages->ActivePage(), r.first) << "the box is shown";
            EXPECT_EQ(Said(), Texts{" Неправильно введены параметры! "_a});
            EXPECT_TRUE(e->Visible());
        }));
        EXPECT_EQ(e->Name(), name);
        EXPECT_TRUE(Apply(e, r.form, [&] { r.order->SetText("3"); r.name->SetText("N3"); }));
        EXPECT_EQ(Said(), Texts{r.taken});
        EXPECT_EQ(e->Number(), 1);
        EXPECT_EQ(e->Name(), AnsiString("N3"));
        EXPECT_TRUE(Apply(e, r.form, [&] { r.order->SetText("$A"); }));
        EXPECT_EQ(e->Number(), 10);
        // Its own number is silent; with the check off a taken one is given.
        for (const char* n : {"10", "3"}) {
            InitModule->CheckOrder = n[0] != '3';
            EXPECT_TRUE(Apply(e, r.form, [&] { r.order->SetText(n); }));
            EXPECT_EQ(Said(), Texts{});
            EXPECT_EQ(e->Number(), std::atoi(n));
        }
        InitModule->CheckOrder = true;
        EXPECT_TRUE(SheetIsClean());
        Remove(e);
    }
}

// "Добавить" and "Удалить" to each kind's limits; "Удалить" takes the last
// pin only; Отменить leaves what the buttons did.
TEST_F(ElementDialogs, PinButtonLimits) {
    // outputs: else inputs; adds, deletes: presses that succeed; names: of
    // those pins after the adds, "~" marking an inverted one.
    struct Row { std::function<TElement*()> make; TElementPages* form; bool outputs; int adds, deletes; std::string names; };
    const char* out8 = "Out Out Out Out Out Out Out Out";
    const char* to15 = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15";
    const Row rows[] = {
        {[&] { return Doc()->CreateAndElement(); }, Form4, false, 6, 7, "In In In In In In In In"},
        {[&] { return Doc()->CreateCounterElement(); }, Form2, true, 4, 7, out8},
        {[&] { return Doc()->CreateReverCounterElement(); }, Form2, true, 4, 7, out8},
        {[&] { return Doc()->CreateD8RSCounterElement(); }, Form2, true, 0, 7, "0 1 2 3 4 5 6 7"},
        {[&] { return Doc()->CreateDecoderElement(); }, Form2, true, 0, 9, "Out Out Out Out Out Out Out Out Out Out"},
        {[&] { return Doc()->CreateCommutatorElement(); }, Form2, true, 12, 15, to15},
        {[&] { return Doc()->CreatePredTimerElement(1); }, Form1, false, 7, 7, "In Reset 0 1 2 3 4 5 6 7"},
        {[&] { return Doc()->CreateCase16Element(15); }, Form10, true, 1, 15, "0~ " + std::string(to15 + 2)},
    };
    for (const Row& r : rows) {
        TElement* e = r.make();
        if (r.form == Form10) e->GetOutput(0)->SetInverse(true);
        Place(e, 100, 60);
        SCOPED_TRACE(AnsiToUtf8(e->Label()));
        auto count = [&] { return r.outputs ? e->OutputCount() : e->InputCount(); };
        auto names = [&] {
            std::string s;
            for (int i = 0; i < count(); ++i)
                if (TInOut* p = r.outputs ? e->GetOutput(i) : e->GetInput(i))
                    s += (i ? " " : "") + AnsiToUtf8(p->Name()) + (p->Inverse() ? "~" : "");
            return s;
        };
        const int start = count(), end = start + r.adds - r.deletes;
        // The grid follows the pins (the commutator's made again); the typed name stays.
        // The pre-set timer's box is one row taller after "Удалить".
        auto fits = [&](int spare) {
            EXPECT_EQ(r.form->Edit2->Text(), AnsiString("typed"));
            ASSERT_EQ(r.form->PinRows(), e->PinCount());
            for (int i = 0; i < e->PinCount(); ++i) EXPECT_EQ(r.form->InSG->Cells(0, i + 1), e->Pin(i)->Name());
            EXPECT_EQ(e->GetHeight(), 10 + 10 * std::max(e->InputCount(), e->OutputCount()) + spare);
            EXPECT_TRUE(SheetIsClean());
            if (r.form == Form10) {
                EXPECT_EQ(Form10->PageControl1->ActivePage(), Form10->TabSheet2) << "the pins' page";
            }
        };
        Doc()->SetModified(false);
        EXPECT_FALSE(Edit(e, r.form, [&] {
            r.form->Edit2->SetText("typed");
            for (int i = 0; i < r.adds; ++i) r.form->Button3->Click();
            EXPECT_EQ(Said(), Texts{});
            r.form->Button3->Click();
            EXPECT_EQ(std::tuple(port.Last().text, port.Last().type, port.Last().buttons),
                      std::tuple("Больше нельзя добавить"_a, mtInformation, mbYesOnly));
            port.Clear();
            EXPECT_EQ(count(), start + r.adds);
            EXPECT_EQ(names(), r.names);
            fits(0);
            for (int i = 0; i < r.deletes; ++i) r.form->Button4->Click();
            EXPECT_EQ(Said(), Texts{});
            r.form->Button4->Click();
            EXPECT_EQ(Said(), Texts{"Больше нельзя удалять"_a});
            fits(r.form == Form1 ? 10 : 0);
            r.form->Button2->Click();
        }));
        EXPECT_EQ(count(), end);
        EXPECT_EQ(names(), r.names.substr(0, names().size()));
        EXPECT_TRUE(Doc()->IsModified());
        Remove(e);
    }
}

// The pre-set timer's "Удалить" leaves a spare row in the box, where the
// next "Добавить" puts its pin.
TEST_F(ElementDialogs, PresetTimerDeleteLeavesASpareRow) {
    TElement* e = Place(Doc()->CreatePredTimerElement(2), 100, 60);
    ASSERT_EQ(e->GetHeight(), 50);
    Edit(e, Form1, [&] {
        Form1->Button4->Click();
        EXPECT_EQ(e->InputCount(), 3);
        EXPECT_EQ(e->GetHeight(), 50);
        EXPECT_TRUE(SheetIsClean());
        Form1->Button3->Click();
        EXPECT_EQ(e->GetInput(3)->Name(), AnsiString("1"));
        EXPECT_EQ(e->GetInput(3)->OffsetY(), 50);
        EXPECT_EQ(e->GetHeight(), 60);
        EXPECT_TRUE(SheetIsClean());
        Form1->Button2->Click();
    });
}

// A bare element of a scheme without a window: an empty grid, nothing to
// edit, no numbers offered (those of the last element dropped). The dialogs
// that leave the check to the element add numbers offered, never take them away.
TEST_F(ElementDialogs, ABareElementAndTheNumbersOffered) {
    for (int i = 0; i < 3; ++i) Doc()->CreateAndElement();
    Form4->LoadEntity(Doc()->CreateAndElement());
    ASSERT_EQ(Form4->Order->Items()->Count(), 4);
    TScheme loose;
    TElement* bare = new TElement(&loose, "x");
    loose.AddObject(bare);
    EXPECT_TRUE(Apply(bare, Form4, [&] {
        EXPECT_EQ(Form4->PinRows(), 0);
        EXPECT_EQ(Form4->InSG->Cells(0, 1), AnsiString());
        EXPECT_FALSE(Form4->Edit1->Enabled());
        EXPECT_EQ(Form4->Order->Items()->Count(), 0);
        Form4->Edit1->SetText("ghost");
    }));
    EXPECT_EQ(bare->PinCount(), 0);
    TTriggerElement* lone = OpenWindow()->Scheme->CreateTriggerElement();
    Form8->LoadEntity(Doc()->CreateTriggerElement());
    Form8->LoadEntity(lone);
    EXPECT_EQ(Form8->Order->Items()->CommaText(), AnsiString("1,2,3,4,5"));
}

// The trigger's boxes stand for its inputs, the timer's for its three pins;
// delays are held within the settings' limits and step (50 .. 50,000,000 by 50).
TEST_F(ElementDialogs, TriggerAndTimerDialogs) {
    TDTriggerElement* d = Place(Doc()->CreateDTriggerElement());
    d->GetInput(1)->SetInverse(true);
    Apply(d, Form8, [] {
        EXPECT_EQ(Form8->CheckListBox1->Items()->CommaText(), AnsiString("D,C"));
        EXPECT_EQ(Form8->CheckListBox1->Checked(0) + 2 * Form8->CheckListBox1->Checked(1), 2);
        Form8->CheckListBox1->SetChecked(0, true);
        Form8->CheckListBox1->SetChecked(1, false);
        Form8->Edit1->SetText("");
    });
    EXPECT_TRUE(d->GetInput(0)->Inverse() && !d->GetInput(1)->Inverse() && d->GetOutput(1)->Inverse());
    EXPECT_EQ(d->Name(), AnsiString("DT"));
    TTimerElement* t = Place(Doc()->CreateTimerElement(), 300, 100);
    t->Pin(2)->SetInverse(true);
    t->SetDelay(90000000);
    Apply(t, Form7, [] {
        EXPECT_EQ(Form7->CheckListBox1->Items()->CommaText(), "Вход,Отключение,Выход"_a);
        EXPECT_EQ(Form7->CheckListBox1->Checked(0) + 2 * Form7->CheckListBox1->Checked(2), 2);
        EXPECT_EQ(Form7->TimerValue->Value(), 50000000);
        Form7->TimerValue->SetValue(1000);
        Form7->TimerValue->UpClick(nullptr);
        Form7->CheckListBox1->SetChecked(1, true);
        Form7->Edit1->SetText("");
    });
    EXPECT_TRUE(t->Pin(1)->Inverse() && t->Pin(2)->Inverse() && !t->Pin(0)->Inverse());
    EXPECT_EQ(t->Name() + " " + IntToStr(t->Delay()), AnsiString("TIMER 1050"));
    Apply(t, Form7, [] { Form7->TimerValue->SetText("7"); });
    EXPECT_EQ(t->Delay(), 50);
    TPredTimerElement* p = Place(Doc()->CreatePredTimerElement(2), 500, 100);
    p->SetDelay(10);
    Apply(p, Form1, [] { EXPECT_EQ(Form1->TimerValue->Value(), 50); });
    EXPECT_EQ(p->Delay(), 50);
    EXPECT_TRUE(SheetIsClean());
}

} // namespace
