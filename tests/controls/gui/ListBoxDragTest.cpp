// Dragging items out of the owner-draw list box, and a height of whole rows.
#include "platform/gui/GuiTest.h"

#include <QCursor>

#include "common/Printers.h"
#include "common/Wait.h"

#include "controls/gui/ExListBox.h"
#include "platform/gui/ExtCtrls.h"

namespace {

struct ListBoxDrag : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        form = MakeForm();
        form->SetBounds(0, 0, 400, 300);
        box = NewControl<TExCustomListBox>(form, form, "List1");
        box->SetBounds(10, 10, 150, 150);
        for (const char* t : {"a", "b", "c", "d", "e"}) box->Items()->Add(t);
        box->DragMode = dmAutomatic;
        target = NewControl<TPanel>(form, form, "Target");
        target->SetBounds(200, 10, 100, 100);
        target->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState, bool& accept) {
            accept = source == box;
        };
        target->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
            log.push_back("drop " + std::to_string(source == box) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        box->OnEndDrag = [this](TObject*, TObject* to, int, int) {
            log.push_back(to == target ? "end on target" : "end nowhere");
        };
        // Placed where the desktop puts it, so that the controls are found under the mouse.
        ASSERT_TRUE(ShowActive(form));
        ASSERT_TRUE(testenv::WaitExposed(form->Widget()));
    }
    TPoint Row(int index) const {
        TRect r = box->ItemRect(index);
        return TPoint(r.Left + 5, r.Top + r.Height() / 2);
    }
    void Send(unsigned msg, WPARAM keys, TPoint p) { box->Perform(msg, keys, MakeLParam(p.x, p.y)); }
    std::vector<bool> Selection() const {
        std::vector<bool> v;
        for (int i = 0; i < box->Items()->Count(); ++i) v.push_back(box->GetSelected(i));
        return v;
    }
    TForm* form = nullptr;
    TExCustomListBox* box = nullptr;
    TPanel* target = nullptr;
    std::vector<std::string> log;
};

// In multi-select mode a press on the selection drags it at once; other
// presses select and drag only once the mouse moves, never with Shift or Ctrl alone.
TEST_F(ListBoxDrag, APressOnTheSelectionDragsItAtOnce) {
    box->SetMultiSelect(true);
    struct Case {
        int row;
        WPARAM keys;
        bool atOnce;
        bool afterMoving;
    };
    const Case cases[] = {
        {1, MK_LBUTTON, true, true},                            // selected, no keys
        {1, MK_LBUTTON | MK_CONTROL, true, true},               // selected, Ctrl
        {1, MK_LBUTTON | MK_SHIFT | MK_CONTROL, true, true},    // selected, Shift with Ctrl
        {1, MK_LBUTTON | MK_SHIFT, false, false},               // selected, Shift alone
        {3, MK_LBUTTON, false, true},                           // not selected
        {3, MK_LBUTTON | MK_CONTROL, false, false},             // not selected, Ctrl
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i) box->SetSelected(i, i == 1 || i == 2);
        Send(WM_LBUTTONDOWN, c.keys, Row(c.row));
        EXPECT_EQ(box->Dragging(), c.atOnce) << c.row << " " << c.keys;
        if (c.atOnce) {
            EXPECT_EQ(Selection(), (std::vector<bool>{false, true, true, false, false})); // kept
        }
        Send(WM_MOUSEMOVE, c.keys, TPoint(Row(c.row).x + 10, Row(c.row).y));
        EXPECT_EQ(box->Dragging(), c.afterMoving) << c.row << " " << c.keys;
        box->EndDrag(false);
        Send(WM_LBUTTONUP, 0, Row(c.row));
        EXPECT_FALSE(box->Dragging());
        EXPECT_EQ(GetCaptureControl(), nullptr);
    }
}

TEST_F(ListBoxDrag, ADropReachesTheTargetAndACancelClicksWhereTheMouseIs) {
    box->SetMultiSelect(true);
    box->SetSelected(0, true);
    // Dropped on the panel: the panel hears it, then the box.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Row(0));
    ASSERT_TRUE(box->Dragging());
    TPoint onTarget = box->ScreenToClient(target->ClientToScreen(TPoint(20, 30)));
    Send(WM_MOUSEMOVE, MK_LBUTTON, onTarget);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    Send(WM_LBUTTONUP, 0, onTarget);
    EXPECT_EQ(log, (std::vector<std::string>{"drop 1 20,30", "end on target"}));
    EXPECT_FALSE(box->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);

    // Esc cancels: the box takes a press at the mouse, which selects that row.
    log.clear();
    box->SetSelected(0, true);
    QPoint at(box->ClientToScreen(Row(4)).x, box->ClientToScreen(Row(4)).y);
    QCursor::setPos(at);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Row(0));
    ASSERT_TRUE(box->Dragging());
    Send(WM_MOUSEMOVE, MK_LBUTTON, TPoint(Row(0).x, Row(0).y + 200)); // over nothing that takes it
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    box->Perform(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(box->Dragging());
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(log, std::vector<std::string>{"end nowhere"});
    // Without automatic dragging a press only selects.
    box->DragMode = dmManual;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Row(4));
    EXPECT_FALSE(box->Dragging());
    Send(WM_MOUSEMOVE, MK_LBUTTON, TPoint(Row(4).x + 20, Row(4).y));
    EXPECT_FALSE(box->Dragging());
    Send(WM_LBUTTONUP, 0, Row(4));
}

TEST_F(ListBoxDrag, IntegralHeightKeepsWholeRows) {
    box->DragMode = dmManual;
    const int h = box->GetItemHeight();
    struct Case {
        TListBoxStyle style;
        TBorderStyle border;
        int asked;
        int expected;
    };
    const Case cases[] = {
        {lbStandard, bsSingle, 4 + 5 * h + h / 2, 4 + 5 * h},
        {lbStandard, bsNone, 3 * h - 1, 2 * h},
        {lbOwnerDrawFixed, bsSingle, 100, 4 + (96 / 20) * 20},
        {lbOwnerDrawFixed, bsSingle, 10, 4 + 20}, // one row at least
        {lbOwnerDrawVariable, bsSingle, 100, 100},
    };
    box->SetItemHeight(20);
    box->SetIntegralHeight(true);
    for (const Case& c : cases) {
        box->SetStyle(c.style);
        box->SetBorderStyle(c.border);
        box->SetHeight(c.asked);
        EXPECT_EQ(box->Height(), c.expected) << c.style << " " << c.border << " " << c.asked;
    }
    box->SetIntegralHeight(false);
    box->SetStyle(lbStandard);
    box->SetHeight(3 * h - 1);
    EXPECT_EQ(box->Height(), 3 * h - 1);
    // Turning it on shapes the box at once.
    box->SetIntegralHeight(true);
    EXPECT_EQ(box->Height(), 4 + 2 * h);
}

} // namespace
