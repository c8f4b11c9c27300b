#include "platform/gui/GuiTest.h"

#include <QScrollBar>

#include "common/Printers.h"

#include "controls/gui/ExListBox.h"

namespace {

struct ListBox : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 300);
        box = NewControl<TExCustomListBox>(form, form, "List1");
        box->SetBounds(10, 10, 150, 100);
        box->OnChange = [this](TObject*) { ++changes; };
    }
    TForm* form = nullptr;
    TExCustomListBox* box = nullptr;
    int changes = 0;
};

TEST_F(ListBox, ItemRectsAroundTheEnd) {
    for (const char* t : {"a", "b", "c"}) box->Items()->Add(t);
    int h = box->GetItemHeight();
    EXPECT_EQ(box->ItemRect(0).Top, 0);
    EXPECT_EQ(box->ItemRect(2).Top, 2 * h);
    TRect below = box->ItemRect(3);
    EXPECT_EQ(below.Top, 3 * h);
    EXPECT_EQ(below.Height(), h);
    EXPECT_EQ(box->ItemRect(4), TRect());
    EXPECT_EQ(box->ItemRect(-1), TRect());
    EXPECT_EQ(box->ItemAtPos(TPoint(5, h + 1), true), 1);
    EXPECT_EQ(box->ItemAtPos(TPoint(5, box->ClientHeight() - 1), true), -1);
    EXPECT_EQ(box->ItemAtPos(TPoint(5, box->ClientHeight() - 1), false), 3);
    EXPECT_EQ(box->ItemAtPos(TPoint(-1, 0), false), -1);
}

TEST_F(ListBox, HorizontalExtentFollowsTheWidestItem) {
    box->SetAutoScroll(true);
    box->Items()->Add("short");
    int first = box->HorizontalExtent();
    EXPECT_GT(first, 0);
    box->Items()->Add("a much, much longer item text than the first");
    int wide = box->HorizontalExtent();
    EXPECT_GT(wide, first);
    box->Items()->Delete(1); // deleting the widest shrinks the extent to the next widest
    EXPECT_EQ(box->HorizontalExtent(), first);
    EXPECT_EQ(box->HorizontalPosition(), 0);
    box->Items()->Clear();
    EXPECT_EQ(box->HorizontalExtent(), 0);
    box->SetColumns(2);
    EXPECT_FALSE(box->AutoScroll());
    box->Items()->Add("whatever width");
    EXPECT_EQ(box->HorizontalExtent(), 0);
}

TEST_F(ListBox, ItemTextsOfAnyLengthReadBackWhole) {
    AnsiString longText = AnsiString::StringOfChar('z', 10000) + "end";
    box->Items()->Add(longText);
    EXPECT_EQ(box->Items()->Get(0), longText);
    EXPECT_EQ(box->Items()->Get(0).Length(), 10003);
}

TEST_F(ListBox, PropertiesKeepTheirLimits) {
    box->SetTabWidth(-3);
    EXPECT_EQ(box->TabWidth(), 0);
    box->SetItemHeight(0);
    EXPECT_EQ(box->ItemHeight(), 16);
    box->SetItemHeight(20);
    EXPECT_EQ(box->ItemHeight(), 20);
    EXPECT_EQ(box->SelCount(), -1); // single selection has no count
}

TEST_F(ListBox, SelectionByMouseAndKeys) {
    for (const char* t : {"a", "b", "c", "d"}) box->Items()->Add(t);
    int h = box->GetItemHeight();
    box->MouseDown(mbLeft, 0, 5, h * 2 + 1);
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(changes, 1);
    WORD down = VK_DOWN;
    box->KeyDown(down, 0);
    EXPECT_EQ(box->ItemIndex(), 3);
    WORD home = VK_HOME;
    box->KeyDown(home, 0);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_TRUE(box->GetSelected(0));
    EXPECT_THROW(box->GetSelected(9), EStringListError);
    box->SetSelected(0, false);
    EXPECT_EQ(box->ItemIndex(), -1);

    box->SetMultiSelect(true);
    box->MouseDown(mbLeft, 0, 5, 1);
    box->MouseDown(mbLeft, ssShift, 5, h * 2 + 1);
    EXPECT_EQ(box->SelCount(), 3);
    box->MouseDown(mbLeft, ssCtrl, 5, h + 1);
    EXPECT_EQ(box->SelCount(), 2);
    EXPECT_FALSE(box->GetSelected(1));
    EXPECT_THROW(box->SetSelected(7, true), EStringListError);
}

TEST_F(ListBox, ItemsKeepTheirDataThroughSortingAndMoves) {
    box->Items()->AddObject("b", reinterpret_cast<TObject*>(std::intptr_t(2)));
    box->Items()->AddObject("a", reinterpret_cast<TObject*>(std::intptr_t(1)));
    box->SetItemIndex(0);
    box->SetSorted(true);
    EXPECT_EQ(box->Items()->CommaText(), AnsiString("a,b"));
    EXPECT_EQ(box->GetItemData(1), 2);
    EXPECT_EQ(box->ItemIndex(), 1); // the selected item moved along
    EXPECT_THROW(box->Items()->Get(2), EStringListError);
    EXPECT_THROW(box->Items()->Insert(5, "x"), EOutOfResources);
    box->SetTopIndex(1);
    EXPECT_EQ(box->TopIndex(), 1);
}

TEST_F(ListBox, TabbedTextAndOwnerDrawing) {
    box->SetTabWidth(8);
    box->Items()->Add("a\tb");
    box->SetStyle(lbOwnerDrawFixed);
    std::vector<int> drawn;
    box->SetOnDrawItem([&](TWinControl*, int index, TRect, TOwnerDrawState) { drawn.push_back(index); });
    box->Items()->Add("c");
    form->Show();
    box->Repaint();
    EXPECT_EQ(drawn, (std::vector<int>{0, 1}));
    int widths = 0;
    box->SetOnGetItemWidth([&](TWinControl*, int, int& w) {
        ++widths;
        w = 500;
    });
    box->SetAutoScroll(true);
    EXPECT_EQ(box->HorizontalExtent(), 500);
    EXPECT_GT(widths, 0);
}

// The box's own scroll bars: shown when the items need them, taking their
// room from the frame, and followed when the user moves them.
TEST_F(ListBox, ScrollBarsAppearWithTheItemsAndMoveTheList) {
    form->Show();
    const int border = 2, bar = 16;
    EXPECT_FALSE(box->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(box->ClientWidth(), 150 - 2 * border);
    for (int i = 0; i < 30; ++i) box->Items()->Add("Строка "_a + IntToStr(i));
    ASSERT_TRUE(box->ScrollBarVisible(SB_VERT));
    EXPECT_FALSE(box->ScrollBarVisible(SB_HORZ));
    EXPECT_EQ(box->ClientWidth(), 150 - 2 * border - bar);
    int page = box->ClientHeight() / box->GetItemHeight();
    TScrollInfo si;
    si.fMask = SIF_ALL;
    box->GetScrollInfo(SB_VERT, si);
    EXPECT_EQ(si.nPage, unsigned(page));
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, 30 - page) << "the last position shows the last item at the bottom";

    // The user drags the bar: the list follows; the list scrolled by the
    // program moves the bar.
    QScrollBar* vertical = nullptr;
    for (QScrollBar* b : box->Widget()->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical) vertical = b;
    ASSERT_NE(vertical, nullptr);
    vertical->setValue(5);
    EXPECT_EQ(box->TopIndex(), 5);
    box->SetTopIndex(9);
    EXPECT_EQ(vertical->value(), 9);
    box->Items()->Clear();
    EXPECT_FALSE(box->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(box->ClientWidth(), 150 - 2 * border);
}

} // namespace
