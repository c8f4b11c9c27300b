// The CASE table editor: each kind's controls, bit views, masks, the counter
// fill, and a table as long as a record allows.
#include "editor/PropertyDialogTest.h"

#include "editor/EditorFakes.h"

namespace {

class CaseEditor : public PropertyDialogTest {
protected:
    // The table's records as "input:output", ":mask" added when not full.
    std::string Table() const {
        std::string s;
        for (const auto& r : Form10->Rows)
            s += (s.empty() ? "" : " ") + std::to_string(r.Input) + ":" + std::to_string(r.Output) +
                 (r.Mask == 65535 ? "" : ":" + std::to_string(r.Mask));
        return s;
    }
    std::string Checks(TExCheckListBox* box) const {
        std::string s;
        for (int b = 0; b < 16; ++b) s += "-xg"[box->GetState(b)];
        return s;
    }
    void Select(int row) {
        Form10->Tabl->SetRow(row);
        Form10->TablClick(nullptr);
    }
    // Runs the counter fill with a, b and s; its second step's message, if any.
    Texts Fill(int a, int b, int s) {
        if (!Form10->FillPending()) Form10->sbCou->Click();
        Form10->ExIn->SetValue(a), Form10->ExOut->SetValue(b), Form10->exStep->SetValue(s);
        Form10->sbCou->Click();
        return Said();
    }
};

TEST_F(CaseEditor, EachKindShowsItsControls) {
    // shown: ExOutDef, exlb2, exlb4, btInv3, sbCou, grayed allowed; bits: the input bits that react.
    struct Row { std::function<TCaseElement*()> make; const char* shown; int bits; };
    const Row rows[] = {
        {[&] { return Doc()->CreateCaseElement(3); }, "110110", 8},
        {[&] { return Doc()->CreateCase16Element(3); }, "110110", 16},
        {[&] { return Doc()->CreateCaseMaskElement(3); }, "110101", 16},
        {[&] { return Doc()->CreateCaseDiapElement(6); }, "001000", 16},
    };
    for (const Row& r : rows) {
        TCaseElement* e = Place(r.make());
        SCOPED_TRACE(AnsiToUtf8(e->Label()));
        const int def = 1234 + int(&r - rows); // not the last element's
        e->Options.Default = def;
        Apply(e, Form10, [&] {
            std::string s;
            for (bool v : {Form10->ExOutDef->Visible() && Form10->ExCheckListBox3->Visible() && Form10->exlb1->Visible(),
                           Form10->exlb2->Visible() && Form10->exlb3->Visible(),
                           Form10->exlb4->Visible() && Form10->exlb5->Visible(), Form10->btInv3->Visible(),
                           Form10->sbCou->Visible(), Form10->ExCheckListBox1->AllowGrayed()})
                s += v ? '1' : '0';
            if (Form10->sbCou->Visible()) Form10->sbCou->Click(); // a fill begun and left
            EXPECT_EQ(s, r.shown);
        });
        EXPECT_EQ(e->Options.Default, def) << "the default is stored back unchanged, shown or not";
        Form10->LoadEntity(e);
        EXPECT_FALSE(Form10->exlb7->Visible() || Form10->exStep->Visible() || Form10->FillPending());
        Form10->ExIn->SetValue(0xFFFF);
        EXPECT_EQ(Checks(Form10->ExCheckListBox1), std::string(r.bits, 'x') + std::string(16 - r.bits, '-'));
        for (int b = 0; b < 16; ++b) Form10->ExCheckListBox1->ToggleClickCheck(b);
        EXPECT_EQ(Form10->ExIn->AsInteger(), 0);
        Form10->btInv1->Click();
        EXPECT_EQ(Form10->ExIn->AsInteger(), (1 << r.bits) - 1);
        Form10->ExOut->SetValue(5);
        EXPECT_EQ(Checks(Form10->ExCheckListBox2), "x-x-------------");
        Form10->btInv2->Click();
        EXPECT_EQ(Form10->ExOut->AsInteger(), 0xFFFA);
        Form10->ExCheckListBox3->ToggleClickCheck(15);
        EXPECT_EQ(Form10->ExOutDef->AsInteger(), 0x8000 | Form10->ExOutDef->AsInteger());
    }
    // The bit lists lie on the page without a border of their own, bits 0
    // .. 7 in the first column and 8 .. 15 in the second.
    for (TExCheckListBox* bits : {Form10->ExCheckListBox1, Form10->ExCheckListBox2, Form10->ExCheckListBox3}) {
        SCOPED_TRACE(bits->Name().c_str());
        EXPECT_EQ(bits->BorderStyle(), bsNone);
        EXPECT_EQ(bits->ClientWidth(), bits->Width());
        EXPECT_EQ(bits->ItemRect(7).Left, bits->ItemRect(0).Left);
        EXPECT_EQ(bits->ItemRect(8).Top, bits->ItemRect(0).Top);
        EXPECT_GT(bits->ItemRect(15).Right, bits->Width() / 2);
        EXPECT_LE(bits->ItemRect(15).Bottom, bits->ClientHeight());
    }
}

TEST_F(CaseEditor, RowsWithMasksLoadLastAndStoreBackInOrder) {
    TCaseMaskElement* e = Place(Doc()->CreateCaseMaskElement(4));
    e->Options.Rows() = {{1, 10}, {2, 20}, {3, 30}};
    e->Masks.Rows() = {{7, 0xFFF0, 70}, {8, 0x00FF, 80}};
    e->Options.Default = 9;
    // The element's options / masked rows / default and default output.
    auto stored = [e] {
        auto n = [](int v) { return std::to_string(v); };
        std::string s;
        for (const auto& r : e->Options.Rows()) s += n(r.Input) + ":" + n(r.Output) + " ";
        for (const auto& r : e->Masks.Rows()) s += "/ " + n(r.Input) + ":" + n(r.Output) + ":" + n(r.Mask) + " ";
        return s + "/ " + n(e->Options.Default) + " " + n(e->DefaultOutput);
    };
    EXPECT_TRUE(Apply(e, Form10, [&] {
        EXPECT_EQ(Table(), "1:10 2:20 3:30 7:70:65520 8:80:255");
        EXPECT_EQ(Form10->CellText(0, 3) + "/" + Form10->CellText(1, 3), AnsiString("7/70"));
        EXPECT_EQ(Form10->ExOutDef->AsInteger(), 9);
        Select(3);
        EXPECT_EQ(Checks(Form10->ExCheckListBox1), "gggg------------") << "the bits a mask leaves out are grayed";
    }));
    EXPECT_EQ(stored(), "1:10 2:20 3:30 / 7:70:65520 / 8:80:255 / 9 9");
    // All grayed bits ticked: a plain row; a deletion keeps the masks aligned.
    EXPECT_TRUE(Apply(e, Form10, [&] {
        Select(3);
        for (int b = 0; b < 4; ++b) Form10->ExCheckListBox1->ToggleClickCheck(b); // grayed -> checked
        Select(0);
        Form10->Button7->Click();
        EXPECT_EQ(Table(), "2:20 3:30 15:70 8:80:255");
        EXPECT_EQ(Form10->ExIn->AsInteger(), 2) << "the row now selected";
        Select(2);
        Form10->ExCheckListBox1->ToggleClickCheck(0); // checked -> unchecked
        Form10->ExCheckListBox1->ToggleClickCheck(0); // unchecked -> grayed
    }));
    EXPECT_EQ(stored(), "2:20 3:30 / 14:70:65534 / 8:80:255 / 9 9");
    EXPECT_TRUE(SheetIsClean());
}

TEST_F(CaseEditor, TheCounterFill) {
    TCaseElement* e = Place(Doc()->CreateCaseElement(4));
    Form10->LoadEntity(e);
    Form10->sbCou->Click();
    EXPECT_TRUE(Form10->exStep->Visible() && Form10->exlb7->Visible() && Form10->exlb4->Visible());
    EXPECT_FALSE(Form10->exlb1->Visible() || Form10->exlb2->Visible() || Form10->exlb3->Visible());
    EXPECT_EQ(Form10->sbCou->Caption(), "заполнить"_a);
    EXPECT_TRUE(Fill(0, 9, 2).empty());
    EXPECT_EQ(Form10->sbCou->Caption(), "счетчик с шагом"_a);
    EXPECT_TRUE(Form10->exlb1->Visible() && !Form10->exStep->Visible());
    EXPECT_EQ(Table(), "0:0 1:0 2:1 3:1 4:2 5:2 6:3 7:3 8:4 9:4");
    EXPECT_TRUE(Fill(10, 0, -3).empty());
    EXPECT_EQ(Table(), "10:0 9:0 8:0 7:1 6:1 5:1 4:2 3:2 2:2");
    EXPECT_TRUE(Fill(0, 2, 1).empty());
    EXPECT_EQ(Table(), "0:0 1:1 2:2");
    for (auto [a, b, s] : {std::tuple{5, 5, 1}, std::tuple{0, 1, 1}, std::tuple{0, 5, 0}, std::tuple{5, 0, 1}}) {
        EXPECT_EQ(Fill(a, b, s), Texts{" Неправильно введены параметры! "_a}) << a << b << s;
        EXPECT_TRUE(Form10->FillPending()) << "the fill waits for other values";
        EXPECT_EQ(Table(), "0:0 1:1 2:2");
    }
    Form10->LoadEntity(e);
    EXPECT_FALSE(Form10->FillPending());
}

// No rows: an empty table storing none; a deletion keeps the only row.
// "Нарисовать логику" (masked CASE only) cancels and opens the CASE window.
TEST_F(CaseEditor, EmptyTablesAndDrawingTheLogic) {
    TCaseElement* full = Place(Doc()->CreateCaseElement(2));
    full->Options.Rows() = {{4, 5}};
    TCaseElement* empty = Place(Doc()->CreateCaseElement(2), 300, 100);
    Form10->LoadEntity(full);
    EXPECT_TRUE(Apply(empty, Form10, [&] {
        EXPECT_EQ(Form10->Tabl->RowCount(), 1);
        EXPECT_EQ(Form10->CellText(0, 0), AnsiString());
        Form10->ExIn->SetValue(3);
        Form10->Button7->Click();
    }));
    EXPECT_EQ(empty->Options.Count(), 0);
    EXPECT_TRUE(Apply(empty, Form10, [&] {
        Form10->ExIn->SetValue(3);
        Form10->ExOut->SetValue(4);
        Form10->Button6->Click();
        Form10->Button7->Click();
    }));
    ASSERT_EQ(empty->Options.Count(), 1);
    EXPECT_EQ(empty->Options.Rows()[0].Input, 3);
    struct Frame : FakeFrameServices {
        bool OpenCaseWindow(TStrings*, const AnsiString& name, TElement* element) override {
            return opened.push_back({name, element}), true;
        }
        std::vector<std::pair<AnsiString, TElement*>> opened;
    } frame;
    TCaseMaskElement* m = Place(Doc()->CreateCaseMaskElement(2), 500, 100);
    Form10->LoadEntity(empty);
    Form10->ModalResult = mrNone;
    Form10->Button5Click(nullptr);
    EXPECT_EQ(Form10->ModalResult, mrNone) << "only the CASE with masks";
    EXPECT_FALSE(Edit(m, Form10, [&] {
        Form10->Button5Click(nullptr);
        EXPECT_EQ(Form10->ModalResult, mrCancel);
    }));
    EXPECT_EQ(frame.opened, (std::vector<std::pair<AnsiString, TElement*>>{{"CMASK", m}}));
}

TEST_F(CaseEditor, ATableAsLongAsARecordAllows) {
    TCase16Element* e = Place(Doc()->CreateCase16Element(16));
    e->Options.SetCount(TForm10::MaxRows - 1);
    for (int i = 0; i < TForm10::MaxRows - 1; ++i) e->Options.Rows()[std::size_t(i)] = {i, i ^ 0x5A5A};
    EXPECT_TRUE(Apply(e, Form10, [&] {
        // The values typed go into the selected row, then into the new one.
        Form10->ExIn->SetValue(65535);
        Form10->ExOut->SetValue(7);
        Form10->Button6->Click();
        EXPECT_EQ(Form10->Rows.size(), std::size_t(TForm10::MaxRows));
        Form10->Button6->Click();
        EXPECT_EQ(Said(), Texts{"Больше нельзя добавить"_a});
        Form10->Tabl->SetRow(TForm10::MaxRows - 1);
        EXPECT_EQ(Form10->CellText(1, TForm10::MaxRows - 1), AnsiString("7"));
    }));
    // Through the scheme file and back.
    Doc()->SetFileName(dir.File("big.tvs"));
    ASSERT_TRUE(Doc()->SaveToFile());
    TScheme back;
    back.SetFileName(dir.File("big.tvs"));
    ASSERT_TRUE(back.LoadFromFile());
    auto* loaded = dynamic_cast<TCase16Element*>(back.FirstDevice());
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->Options.Count(), TForm10::MaxRows);
    EXPECT_EQ(loaded->Options.Rows()[1000].Output, 1000 ^ 0x5A5A);
    EXPECT_EQ(loaded->Options.Rows().back().Input, 65535);
    // Its netlist block holds every row.
    TStringList lines;
    loaded->Translate(&lines);
    EXPECT_EQ(lines.Strings(1) + "|" + lines.Strings(2) + "|" + lines.Strings(TForm10::MaxRows),
              AnsiString("%%65535 7|%%1 23131|%%65535 7"));
}

} // namespace
