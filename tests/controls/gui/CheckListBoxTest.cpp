#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include "controls/gui/CtlUtils.h"
#include "controls/gui/EXCtrls.h"

namespace {

struct CheckList : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 300);
        box = NewControl<TExCheckListBox>(form, form, "CheckList1");
        box->SetBounds(10, 10, 200, 150);
        box->OnClickCheck = [this](TObject*) { log.push_back("click"); };
        box->OnStateChange = [this](TObject*, int i) { log.push_back("state " + std::to_string(i)); };
    }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) box->Items()->Add(IntToStr(i + 1));
    }
    void Key(char c) {
        char k = c;
        box->KeyPress(k);
    }
    void ClickAt(int x, int y) {
        box->MouseDown(mbLeft, 0, x, y);
        box->MouseUp(mbLeft, 0, x, y);
    }
    TForm* form = nullptr;
    TExCheckListBox* box = nullptr;
    std::vector<std::string> log;
};

TEST_F(CheckList, SpaceCyclesThroughGrayedOnlyWhenAllowed) {
    Fill(2);
    box->SetItemIndex(0);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        Key(' ');
        seen.push_back(box->GetState(0));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbChecked}));
    box->SetAllowGrayed(true);
    box->SetChecked(0, false);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        Key(' ');
        seen.push_back(box->GetState(0));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_FALSE(box->GetChecked(1));
    // Radio kind never offers grayed and never reports it.
    box->SetState(1, cbGrayed);
    box->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(box->GetState(1), cbUnchecked);
    for (int i = 0; i < box->Items()->Count(); ++i) EXPECT_NE(box->GetState(i), cbGrayed);
}

TEST_F(CheckList, StatesSetFromCodeReportTheChangeButNoClick) {
    Fill(3);
    box->SetState(1, cbChecked);
    EXPECT_EQ(log, std::vector<std::string>{"state 1"});
    box->SetState(1, cbChecked); // no change, no report
    EXPECT_EQ(log.size(), 1u);
    box->SetItemIndex(2);
    Key(' ');
    EXPECT_EQ(log, (std::vector<std::string>{"state 1", "state 2", "click"}));
    log.clear();
    box->SetState(0, cbChecked);
    EXPECT_TRUE(box->GetChecked(0));
}

TEST_F(CheckList, PlusAndMinusSkipDisabledItemsAndStillClick) {
    Fill(4);
    box->SetItemEnabled(1, false);
    box->SetState(1, cbGrayed);
    Key('+');
    EXPECT_TRUE(box->GetChecked(0));
    EXPECT_EQ(box->GetState(1), cbGrayed);
    EXPECT_TRUE(box->GetChecked(2));
    EXPECT_TRUE(box->GetChecked(3));
    EXPECT_EQ(log.back(), "click");
    Key('-');
    EXPECT_FALSE(box->GetChecked(0));
    EXPECT_EQ(box->GetState(1), cbGrayed);
    EXPECT_EQ(box->GetState(3), cbUnchecked);
    box->SetCheckKind(ckRadioButtons);
    log.clear();
    Key('+'); // nothing in radio kind, but the click is reported
    EXPECT_EQ(box->GetCheckedIndex(), 0);
    EXPECT_EQ(log, std::vector<std::string>{"click"});
    // A disabled item cannot be toggled.
    box->SetCheckKind(ckCheckBoxes);
    box->ToggleClickCheck(1);
    EXPECT_EQ(box->GetState(1), cbGrayed);
    box->ToggleClickCheck(99); // outside the list: nothing
}

TEST_F(CheckList, RadioKindKeepsExactlyOneChecked) {
    EXPECT_EQ(box->GetCheckedIndex(), -1);
    box->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(box->GetCheckedIndex(), -1); // an empty box
    Fill(4);
    box->SetCheckKind(ckCheckMarks);
    box->SetCheckKind(ckRadioButtons); // normalised: the first is checked
    EXPECT_EQ(box->GetCheckedIndex(), 0);
    box->SetState(2, cbChecked);
    EXPECT_EQ(box->GetCheckedIndex(), 2);
    EXPECT_FALSE(box->GetChecked(0));
    box->SetState(2, cbUnchecked); // refused on the checked item
    EXPECT_TRUE(box->GetChecked(2));
    box->SetCheckedIndex(-5);
    EXPECT_EQ(box->GetCheckedIndex(), 0);
    box->SetCheckedIndex(3);
    try {
        box->SetCheckedIndex(99); // past the end: the list's index error, nothing changes
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, AnsiString("List index out of bounds (99)"));
    }
    EXPECT_EQ(box->GetCheckedIndex(), 3);
    box->ApplyState(cbUnchecked, false); // not in radio kind
    EXPECT_EQ(box->GetCheckedIndex(), 3);
}

TEST_F(CheckList, RadioKindRefusesGrayedAsItRefusesUnchecked) {
    Fill(3);
    box->SetCheckKind(ckRadioButtons);
    box->SetCheckedIndex(1);
    log.clear();
    struct Case {
        int index;
        TCheckBoxState state;
    };
    // Grayed reads as unchecked in radio kind, so it can neither clear the checked item
    // nor change an unchecked one.
    for (Case c : {Case{1, cbGrayed}, Case{0, cbGrayed}, Case{2, cbUnchecked}, Case{1, cbUnchecked}}) {
        box->SetState(c.index, c.state);
        EXPECT_EQ(box->GetCheckedIndex(), 1) << c.index << " " << int(c.state);
        EXPECT_TRUE(box->GetChecked(1)) << c.index << " " << int(c.state);
    }
    EXPECT_TRUE(log.empty());
    for (int i = 0; i < 3; ++i) EXPECT_NE(box->GetState(i), cbGrayed);
}

TEST_F(CheckList, AClickOnTheCheckTogglesAndOneAtTheCheckWidthOnlySelects) {
    Fill(3);
    TRect r = box->ItemRect(1);
    int y = r.Top + r.Height() / 2;
    ClickAt(r.Left + box->GetCheckWidth(), y); // exactly 18 pixels in
    EXPECT_EQ(box->GetCheckWidth(), 18);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_FALSE(box->GetChecked(1));
    ClickAt(r.Left + box->GetCheckWidth() - 1, y);
    EXPECT_TRUE(box->GetChecked(1));
    EXPECT_EQ(log.back(), "click");
    box->MouseDown(mbRight, 0, r.Left + 2, y); // only the left button
    EXPECT_TRUE(box->GetChecked(1));
}

// The rows take the font's and the check cell's height only while the box
// draws its text itself; a drawing or measuring owner keeps ItemHeight.
TEST_F(CheckList, RowsFollowTheFontOnlyWhileTheBoxDrawsItsText) {
    const int automatic = std::max(FontTextHeight(box->Font(), "Wg"), 13);
    struct Case {
        TListBoxStyle style;
        bool ownerDraws;
        int itemHeight;
        int expected;
    };
    const Case cases[] = {
        {lbStandard, false, 5, automatic},
        {lbStandard, true, 40, automatic},
        {lbOwnerDrawFixed, false, 5, automatic},
        {lbOwnerDrawFixed, false, 40, 40},
        {lbOwnerDrawFixed, true, 5, 5},
        {lbOwnerDrawFixed, true, 40, 40},
        {lbOwnerDrawVariable, false, 5, 5},
        {lbOwnerDrawVariable, true, 40, 40},
    };
    Fill(3);
    for (const Case& c : cases) {
        box->SetStyle(c.style);
        box->SetItemHeight(c.itemHeight);
        if (c.ownerDraws) box->SetOnDrawItem([](TWinControl*, int, TRect, TOwnerDrawState) {});
        else box->SetOnDrawItem(nullptr);
        EXPECT_EQ(box->GetItemHeight(), c.expected) << c.style << " " << c.ownerDraws << " " << c.itemHeight;
        EXPECT_EQ(box->ItemRect(1).Top, c.expected) << c.style << " " << c.ownerDraws << " " << c.itemHeight;
    }
}

TEST_F(CheckList, SixteenItemsInTwoColumns) {
    box->SetBorderStyle(bsNone);
    box->SetColumns(2);
    int h = box->GetItemHeight();
    box->SetBounds(10, 10, 162, 8 * h);
    Fill(16);
    EXPECT_FALSE(box->AutoScroll()); // no horizontal extent with columns
    EXPECT_EQ(box->ColumnWidth(), (162 + 2 - 3) / 2);
    EXPECT_EQ(box->ItemRect(0), Rect(0, 0, 80, h));
    EXPECT_EQ(box->ItemRect(7), Rect(0, 7 * h, 80, 8 * h));
    EXPECT_EQ(box->ItemRect(8), Rect(80, 0, 160, h));
    EXPECT_EQ(box->ItemRect(15), Rect(80, 7 * h, 160, 8 * h));
    EXPECT_EQ(box->ItemAtPos(TPoint(85, 3 * h + 2), true), 11);
    ClickAt(82, 2 * h + 2); // the check of item 10
    EXPECT_TRUE(box->GetChecked(10));
    EXPECT_EQ(box->ItemIndex(), 10);
}

TEST_F(CheckList, StatesFollowTheirItems) {
    Fill(3);
    box->SetState(0, cbChecked);
    box->SetItemEnabled(1, false);
    box->Items()->Exchange(0, 2);
    EXPECT_TRUE(box->GetChecked(2));
    EXPECT_FALSE(box->GetChecked(0));
    box->Items()->Move(1, 0);
    EXPECT_FALSE(box->GetItemEnabled(0));
    EXPECT_TRUE(box->GetItemEnabled(1));
    // Sorting (which made the window again on the old platform) keeps them too.
    box->Items()->Clear();
    for (const char* t : {"c", "a", "b"}) box->Items()->Add(t);
    box->SetState(0, cbGrayed);
    box->SetItemData(1, 42);
    box->SetSorted(true);
    EXPECT_EQ(box->Items()->CommaText(), AnsiString("a,b,c"));
    EXPECT_EQ(box->GetState(2), cbGrayed);
    EXPECT_EQ(box->GetItemData(0), 42);
    box->Items()->Add("bb"); // a sorted box places a new item in order
    EXPECT_EQ(box->Items()->CommaText(), AnsiString("a,b,bb,c"));
    box->Items()->Delete(0);
    EXPECT_EQ(box->GetState(2), cbGrayed);
    box->SetColumns(2);
    box->SetColumns(0);
    EXPECT_EQ(box->GetState(2), cbGrayed);
}

TEST_F(CheckList, IndexErrorsAndItemData) {
    Fill(2);
    try {
        box->GetState(5);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, AnsiString("List index out of bounds (5)"));
    }
    EXPECT_THROW(box->SetState(-1, cbChecked), EStringListError);
    EXPECT_THROW(box->SetItemEnabled(2, false), EStringListError);
    EXPECT_THROW(box->GetItemEnabled(2), EStringListError);
    EXPECT_THROW(box->SetChecked(2, true), EStringListError);
    EXPECT_EQ(box->GetItemData(0), 0);
    box->SetItemData(0, 7);
    EXPECT_EQ(box->GetItemData(0), 7);
    EXPECT_EQ(box->Items()->Objects(0), reinterpret_cast<TObject*>(std::intptr_t(7)));
    EXPECT_FALSE(box->GetChecked(0)); // the data lives beside the state
    box->Items()->AddObject("x", reinterpret_cast<TObject*>(std::intptr_t(9)));
    EXPECT_EQ(box->GetItemData(2), 9);
}

TEST_F(CheckList, SavedStatesInBothStores) {
    Fill(3);
    box->SetState(0, cbChecked);
    box->SetState(2, cbGrayed);
    TIniFile ini("checks.ini");
    box->SaveStates(&ini);
    EXPECT_EQ(ini.ReadInteger("TFormCheckList1", "Count", -1), 3);
    EXPECT_EQ(ini.ReadInteger("TFormCheckList1", "Item2", -1), 2);
    box->ApplyState(cbUnchecked, false);
    box->RestoreStates(&ini);
    EXPECT_TRUE(box->GetChecked(0));
    EXPECT_EQ(box->GetState(2), cbGrayed);
    ini.WriteString("TFormCheckList1", "Item1", "7"); // damaged: ignored
    ini.WriteInteger("TFormCheckList1", "Count", 1000); // more than there are items
    box->RestoreStates(&ini);
    EXPECT_EQ(box->GetState(1), cbUnchecked);
    TRegIniFile reg("Software\\CheckListTest");
    box->SaveStatesReg(&reg);
    box->SetCheckKind(ckRadioButtons); // item 0 stays the checked one
    box->SetState(1, cbChecked);
    box->RestoreStatesReg(&reg);
    EXPECT_EQ(box->GetCheckedIndex(), 0);
}

TEST_F(CheckList, SavedWithTheFormStorage) {
    Fill(2);
    auto* storage = NewComponent<TFormStorage>(form, "FormS");
    storage->IniFileName = "checks-link.ini";
    storage->IniSection = "Dlg";
    box->SetIniStorage(storage);
    storage->BeginLoading();
    storage->EndLoading();
    form->Show();
    box->SetState(1, cbChecked);
    form->Close();
    TIniFile ini("checks-link.ini");
    EXPECT_EQ(ini.ReadInteger("Dlg\\TFormCheckList1", "Item1", -1), 1);
    box->SetState(1, cbUnchecked);
    form->Show();
    EXPECT_TRUE(box->GetChecked(1));
}

TEST_F(CheckList, DrawsTheCheckImageOfEachState) {
    form->Show();
    Fill(2);
    box->SetState(0, cbChecked);
    // Both kinds show their box around an unchecked item too, so the user
    // sees where to click; the tick in the middle is dark in the checked item only.
    struct Row {
        TCheckKind kind;
        int edgeX; // the left edge of the box within the 16 x 13 cell, at its middle row
        TColor edge;
    } rows[] = {{ckCheckBoxes, 1, 0x808080}, {ckCheckMarks, 2, 0x808080}};
    for (const Row& row : rows) {
        box->SetCheckKind(row.kind);
        box->Repaint();
        auto cellPixel = [&](int item, int dx, int dy) {
            TRect r = box->ItemRect(item);
            return box->Canvas()->Pixels(r.Left + 1 + dx, r.Top + (r.Height() - 13) / 2 + dy);
        };
        EXPECT_EQ(cellPixel(0, 7, 7), clBlack) << row.kind;
        EXPECT_EQ(cellPixel(1, 7, 7), clWhite) << row.kind;
        EXPECT_EQ(cellPixel(0, row.edgeX, 6), row.edge) << row.kind;
        EXPECT_EQ(cellPixel(1, row.edgeX, 6), row.edge) << row.kind;
        EXPECT_EQ(cellPixel(1, row.edgeX - 1, 6), clWhite) << row.kind;
    }
    EXPECT_GE(box->GetItemHeight(), 13);
    // The extent of the widest item includes the check.
    box->Items()->Add("a rather long item that is wider than the box itself");
    EXPECT_GT(box->HorizontalExtent(), 200);
}

TEST_F(CheckList, ItemsCopiedFromAnotherCheckListBoxBringTheirStates) {
    Fill(2);
    box->SetState(1, cbChecked);
    box->SetItemEnabled(0, false);
    auto* other = NewControl<TExCheckListBox>(form, form, "CheckList2");
    other->SetItems(box->Items());
    EXPECT_EQ(other->Items()->CommaText(), AnsiString("1,2"));
    EXPECT_TRUE(other->GetChecked(1));
    EXPECT_FALSE(other->GetItemEnabled(0));
    TStringList plain;
    plain.SetCommaText("x,y");
    other->SetItems(&plain);
    EXPECT_FALSE(other->GetChecked(1));
}

} // namespace
