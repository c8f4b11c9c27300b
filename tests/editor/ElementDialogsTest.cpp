// The generic element dialog and its variant with output limits: which kind
// opens which, storing on "Применить" only, order numbers, the pin buttons
// and their limits, and what the sheet shows afterwards.
#include "editor/PropertyDialogTest.h"

namespace {

using ElementDialogs = PropertyDialogTest;

std::vector<std::string> PinRows(TStringGrid* g, int rows) {
    std::vector<std::string> out;
    for (int r = 1; r <= rows; ++r)
        out.push_back(AnsiToUtf8(g->Cells(0, r) + "|" + g->Cells(1, r) + "|" + g->Cells(2, r)));
    return out;
}

TEST_F(ElementDialogs, EachKindOpensItsFormAndCancelChangesNothing) {
    struct Row {
        std::function<TElement*()> make;
        TForm* form;
        bool buttons;
    };
    const Row rows[] = {
        {[&] { return Doc()->CreateAndElement(); }, Form4, true},
        {[&] { return Doc()->CreateOrElement(); }, Form4, true},
        {[&] { return Doc()->CreateDRSTriggerElement(); }, Form4, false},
        {[&] { return Doc()->CreateFilterElement(); }, Form4, false},
        {[&] { return Doc()->CreateXorElement(); }, Form2, false},
        {[&] { return Doc()->CreateD8TriggerElement(); }, Form2, false},
        {[&] { return Doc()->CreateByteCompareElement(); }, Form2, false},
        {[&] { return Doc()->CreateCounterElement(); }, Form2, true},
        {[&] { return Doc()->CreateReverCounterElement(); }, Form2, true},
        {[&] { return Doc()->CreateD8RSCounterElement(); }, Form2, true},
        {[&] { return Doc()->CreateDecoderElement(); }, Form2, true},
        {[&] { return Doc()->CreateCommutatorElement(); }, Form2, true},
    };
    int i = 0;
    for (const Row& r : rows) {
        TElement* e = Place(r.make(), 100, 60 + 200 * (i % 3));
        const auto before = State();
        ModelHooks().Dialogs = nullptr;
        EXPECT_FALSE(e->Properties()) << "without the dialogs nothing opens: " << i;
        ModelHooks().Dialogs = &dialogs;
        EXPECT_FALSE(Edit(e, r.form, [&] {
            auto* f = static_cast<TForm4*>(r.form);
            EXPECT_EQ(f->Button3->Visible(), r.buttons) << i;
            EXPECT_EQ(f->Button4->Visible(), r.buttons) << i;
            EXPECT_EQ(f->ComboBox2->Text(), e->Label()) << i;
            f->Edit2->SetText("changed");
            f->Order->SetText("77");
            f->Edit1->SetText("renamed");
            f->Button2->Click();
        })) << i;
        EXPECT_EQ(State(), before) << "Отменить stores nothing: " << i;
        e->Hide();
        Doc()->AddToSelection(e, true);
        Doc()->DeleteSelected();
        ++i;
    }
}

TEST_F(ElementDialogs, ApplyStoresBetweenAHideAndAShow) {
    for (int zoom : {100, 150}) {
        Doc()->SetScale(zoom);
        window->PaintBox1->Repaint();
        TElement* e = Place(Doc()->CreateAndElement(), 100, 100 + zoom);
        EXPECT_TRUE(Edit(e, Form4, [&] {
            EXPECT_EQ(Form4->PageControl1->ActivePage(), Form4->TabSheet1);
            EXPECT_EQ(Form4->Edit2->Text(), AnsiString("AND"));
            EXPECT_EQ(PinRows(Form4->InSG, 3), (std::vector<std::string>{"Out|Выход|Нет", "In|Вход|Нет", "In|Вход|Нет"}));
            EXPECT_EQ(Form4->Edit1->Text(), AnsiString("Out")) << "row 1 is selected";
            Form4->Edit2->SetText("K5");
            Form4->InSG->SetRow(2);
            Form4->InSGClick(nullptr);
            Form4->Edit1->SetText("A");
            Form4->ComboBox1->SetItemIndex(1);
            Form4->ComboBox1Change(nullptr);
            Form4->Button3->Click();
            EXPECT_TRUE(SheetIsClean()) << "a pin added at " << zoom;
            Form4->Button1->Click();
        }));
        EXPECT_EQ(e->Name(), AnsiString("K5"));
        EXPECT_EQ(e->Pin(1)->Name(), AnsiString("A"));
        EXPECT_TRUE(e->Pin(1)->Inverse());
        EXPECT_TRUE(e->Visible());
        EXPECT_TRUE(SheetIsClean()) << zoom;
        // An empty name keeps the old one.
        EXPECT_TRUE(Edit(e, Form4, [&] {
            Form4->Edit2->SetText("");
            Form4->Button1->Click();
        }));
        EXPECT_EQ(e->Name(), AnsiString("K5"));
    }
}

TEST_F(ElementDialogs, OrderNumbers) {
    TElement* a = Place(Doc()->CreateAndElement(), 100, 100);
    TElement* b = Place(Doc()->CreateOrElement(), 300, 100);
    Place(Doc()->CreateXorElement(), 500, 100);
    a->AssignNumber(1);
    b->AssignNumber(3);
    // Taken by another element: said, the old number kept, the rest stored.
    EXPECT_TRUE(Edit(a, Form4, [&] {
        std::vector<AnsiString> offered;
        for (int i = 0; i < Form4->Order->Items()->Count(); ++i) offered.push_back(Form4->Order->Items()->Strings(i));
        EXPECT_EQ(offered, (std::vector<AnsiString>{"1", "2", "3"}));
        EXPECT_EQ(Form4->Order->Text(), AnsiString("1"));
        Form4->Order->SetText("3");
        Form4->Edit2->SetText("A1");
        Form4->Button1->Click();
    }));
    EXPECT_EQ(Said(), std::vector<AnsiString>{"В схеме уже существует элемент с номером 3"_a});
    EXPECT_EQ(a->Number(), 1);
    EXPECT_EQ(a->Name(), AnsiString("A1"));
    // Its own number is silent; a free one is taken.
    for (const char* n : {"1", "2"}) {
        EXPECT_TRUE(Edit(a, Form4, [&] {
            Form4->Order->SetText(n);
            Form4->Button1->Click();
        }));
        EXPECT_EQ(Said(), std::vector<AnsiString>{});
    }
    EXPECT_EQ(a->Number(), 2);
    // Not a whole number: refused on "Применить", the dialog stays open and
    // nothing is stored; the element stays on the sheet.
    EXPECT_FALSE(Edit(a, Form4, [&] {
        Form4->Order->SetText("abc");
        Form4->Edit2->SetText("A2");
        Form4->PageControl1->SetActivePage(Form4->TabSheet2);
        Form4->Button1->Click();
        EXPECT_EQ(Form4->ModalResult, mrNone);
        EXPECT_EQ(Form4->PageControl1->ActivePage(), Form4->TabSheet1) << "the box is shown";
        EXPECT_EQ(Said(), std::vector<AnsiString>{" Неправильно введены параметры! "_a});
        EXPECT_TRUE(a->Visible());
        Form4->Button2->Click();
    }));
    EXPECT_EQ(a->Name(), AnsiString("A1"));
    EXPECT_TRUE(SheetIsClean());
    // With the check off the dialog gives any number.
    InitModule->CheckOrder = false;
    EXPECT_TRUE(Edit(a, Form4, [&] {
        Form4->Order->SetText("3");
        Form4->Button1->Click();
    }));
    InitModule->CheckOrder = true;
    EXPECT_EQ(a->Number(), 3);
    EXPECT_EQ(Said(), std::vector<AnsiString>{});
    // Without a window nothing is offered.
    TScheme loose;
    TAndElement* free = loose.CreateAndElement();
    EXPECT_FALSE(Edit(free, Form4, [&] {
        EXPECT_EQ(Form4->Order->Items()->Count(), 0);
        Form4->Button2->Click();
    }));
}

TEST_F(ElementDialogs, PinButtonLimits) {
    struct Row {
        std::function<TElement*()> make;
        TForm4* form;
        int adds;         // presses of "Добавить" that succeed
        int deletes;      // presses of "Удалить" from there that succeed
        const char* last; // the name of the last output after the adds
    };
    const Row rows[] = {
        {[&] { return Doc()->CreateAndElement(); }, Form4, 6, 7, "In"},
        {[&] { return Doc()->CreateCounterElement(); }, Form2, 4, 7, "Out"},
        {[&] { return Doc()->CreateReverCounterElement(); }, Form2, 4, 7, "Out"},
        {[&] { return Doc()->CreateD8RSCounterElement(); }, Form2, 0, 7, "7"},
        {[&] { return Doc()->CreateDecoderElement(); }, Form2, 0, 9, "Out"},
        {[&] { return Doc()->CreateCommutatorElement(); }, Form2, 12, 15, "15"},
    };
    for (const Row& r : rows) {
        TElement* e = Place(r.make(), 100, 60);
        const bool outputs = r.form == Form2;
        auto count = [&] { return outputs ? e->OutputCount() : e->InputCount(); };
        const int start = count();
        Edit(e, r.form, [&] {
            for (int i = 0; i < r.adds; ++i) r.form->Button3->Click();
            EXPECT_EQ(Said(), std::vector<AnsiString>{}) << AnsiToUtf8(e->Label());
            r.form->Button3->Click();
            EXPECT_EQ(port.Last().text, "Больше нельзя добавить"_a) << AnsiToUtf8(e->Label());
            EXPECT_EQ(port.Last().type, mtInformation);
            EXPECT_EQ(port.Last().buttons, mbYesOnly);
            port.Clear();
            EXPECT_EQ(count(), start + r.adds) << AnsiToUtf8(e->Label());
            EXPECT_EQ(r.form->PinRows(), e->PinCount());
            TInOut* last = outputs ? e->GetOutput(e->OutputCount() - 1) : e->GetInput(e->InputCount() - 1);
            EXPECT_EQ(last->Name(), Utf8ToAnsi(r.last)) << AnsiToUtf8(e->Label());
            EXPECT_EQ(e->GetHeight(), 10 + 10 * std::max(e->InputCount(), e->OutputCount())) << AnsiToUtf8(e->Label());
            EXPECT_TRUE(SheetIsClean()) << AnsiToUtf8(e->Label());
            for (int i = 0; i < r.deletes; ++i) r.form->Button4->Click();
            EXPECT_EQ(Said(), std::vector<AnsiString>{}) << AnsiToUtf8(e->Label());
            r.form->Button4->Click();
            EXPECT_EQ(Said(), std::vector<AnsiString>{"Больше нельзя удалять"_a}) << AnsiToUtf8(e->Label());
            EXPECT_EQ(count(), 1) << AnsiToUtf8(e->Label());
            EXPECT_EQ(PinRows(r.form->InSG, r.form->PinRows()).size(), std::size_t(e->PinCount()));
            EXPECT_TRUE(SheetIsClean()) << AnsiToUtf8(e->Label());
            r.form->Button2->Click();
        });
        e->Hide();
        Doc()->AddToSelection(e, true);
        Doc()->DeleteSelected();
    }
}

TEST_F(ElementDialogs, PinButtonsActAtOnceAndKeepWhatWasTyped) {
    TElement* e = Place(Doc()->CreateAndElement());
    Doc()->SetModified(false);
    EXPECT_FALSE(Edit(e, Form4, [&] {
        Form4->Edit2->SetText("typed");
        Form4->InSG->SetRow(2);
        Form4->InSGClick(nullptr);
        Form4->Edit1->SetText("A");
        Form4->Button3->Click();
        EXPECT_EQ(PinRows(Form4->InSG, 4),
                  (std::vector<std::string>{"Out|Выход|Нет", "A|Вход|Нет", "In|Вход|Нет", "In|Вход|Нет"}))
            << "the typed pin name stays in its row";
        EXPECT_EQ(Form4->Edit2->Text(), AnsiString("typed"));
        EXPECT_EQ(e->PinCount(), 4);
        EXPECT_TRUE(SheetIsClean());
        Form4->Button2->Click();
    })) << "Отменить";
    EXPECT_EQ(e->PinCount(), 4) << "a pin added stays after Отменить";
    EXPECT_EQ(e->Pin(1)->Name(), AnsiString("In")) << "the typed name was not stored";
    EXPECT_EQ(e->Name(), AnsiString("AND"));
    EXPECT_TRUE(Doc()->IsModified());
    // "Удалить" removes the last input; the rows above keep what was typed.
    EXPECT_TRUE(Edit(e, Form4, [&] {
        Form4->InSG->SetRow(2);
        Form4->InSGClick(nullptr);
        Form4->Edit1->SetText("B");
        Form4->Button4->Click();
        EXPECT_EQ(PinRows(Form4->InSG, 3), (std::vector<std::string>{"Out|Выход|Нет", "B|Вход|Нет", "In|Вход|Нет"}));
        Form4->Button1->Click();
    }));
    EXPECT_EQ(e->PinCount(), 3);
    EXPECT_EQ(e->Pin(1)->Name(), AnsiString("B"));
    EXPECT_TRUE(SheetIsClean());
    // The commutator's pins are made again: the whole grid follows.
    auto* m = Place(Doc()->CreateCommutatorElement(), 400, 60);
    Edit(m, Form2, [&] {
        Form2->Edit2->SetText("M");
        Form2->Button3->Click();
        EXPECT_EQ(Form2->PinRows(), 2 * 5 + 1 + 5);
        EXPECT_EQ(Form2->InSG->Cells(0, 5), AnsiString("A4"));
        EXPECT_EQ(Form2->Edit2->Text(), AnsiString("M"));
        Form2->Button1->Click();
    });
    EXPECT_EQ(m->Name(), AnsiString("M"));
    EXPECT_EQ(m->OutputCount(), 5);
}

TEST_F(ElementDialogs, PinControlsAreSetAtEveryFill) {
    // A symbol's pins are shown read-only; the next element edits its pins.
    TScheme inner;
    inner.CreateVarDriver()->SetName("c1");
    inner.SetFileName(dir.File("s.tvy"));
    ASSERT_TRUE(inner.SaveToFile());
    TSymbol* s = Doc()->CreateSymbol();
    s->LoadSymbolFile(dir.File("s.tvy"));
    Place(s, 300, 300);
    ASSERT_EQ(s->PinCount(), 1);
    Form4->LoadEntity(s);
    EXPECT_TRUE(Form4->Edit1->ReadOnly());
    EXPECT_FALSE(Form4->ComboBox1->Enabled());
    EXPECT_FALSE(Form4->Button3->Visible() || Form4->Button4->Visible());
    EXPECT_FALSE(Form4->InSG->Options() & goEditing);
    TElement* a = Place(Doc()->CreateAndElement());
    Form4->LoadEntity(a);
    EXPECT_FALSE(Form4->Edit1->ReadOnly());
    EXPECT_TRUE(Form4->ComboBox1->Enabled());
    EXPECT_TRUE(Form4->Button3->Visible() && Form4->Button4->Visible());
    EXPECT_TRUE(Form4->InSG->Options() & goEditing);
    // The same form hides its buttons for a XOR and shows them for a counter.
    TElement* x = Place(Doc()->CreateXorElement(), 300, 100);
    Edit(x, Form2, [&] {
        EXPECT_FALSE(Form2->Button3->Visible());
        Form2->Button2->Click();
    });
    TElement* c = Place(Doc()->CreateCounterElement(), 500, 100);
    Edit(c, Form2, [&] {
        EXPECT_TRUE(Form2->Button3->Visible() && Form2->Button4->Visible());
        Form2->Button2->Click();
    });
    // An element without pins opens with an empty grid and nothing to edit.
    TScheme loose;
    TElement* bare = new TElement(&loose, "x");
    loose.AddObject(bare);
    EXPECT_TRUE(Edit(bare, Form4, [&] {
        EXPECT_EQ(Form4->PinRows(), 0);
        EXPECT_EQ(Form4->InSG->Cells(0, 1), AnsiString());
        EXPECT_FALSE(Form4->Edit1->Enabled());
        Form4->Edit1->SetText("ghost");
        Form4->Button1->Click();
    }));
    EXPECT_EQ(bare->PinCount(), 0);
}

} // namespace
