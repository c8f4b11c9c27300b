#include "platform/gui/GuiTest.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

using PopupWindows = GuiTest;

TEST_F(PopupWindows, ANonActivatingPopupLeavesTheFocusWhereItIs) {
    TForm* f = MakeForm();
    f->SetBounds(100, 100, 300, 200);
    TEdit* edit = NewControl<TEdit>(f, f, "Edit1");
    f->Show();
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    int exits = 0;
    edit->OnExit = [&](TObject*) { ++exits; };

    auto* drop = new TPanel(f);
    drop->SetBounds(150, 150, 120, 80);
    drop->SetPopupWindow(true, nullptr, true, true);
    ShowWindow(drop, SW_SHOWNA);
    ProcessFor(30);
    EXPECT_TRUE(drop->Widget()->isVisible());
    EXPECT_EQ(GetActiveWindow(), f);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(exits, 0);
    // It still hears the mouse.
    int downs = 0;
    drop->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    ClickAt(drop->Widget(), QPoint(10, 10));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(edit->Focused());
    ShowWindow(drop, SW_HIDE);
    EXPECT_FALSE(drop->Widget()->isVisible());
}

} // namespace
