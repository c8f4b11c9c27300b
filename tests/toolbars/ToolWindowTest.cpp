// The resizable tool window (the project pane) and the flat edit box.
#include "ToolbarTestUtil.h"

TEST_F(ToolbarsTest, FullSizeToolWindowOnTheLeftDock) {
    TForm* f = MakeForm(100, 100, 500, 400);
    TDockEx* left = AddDock(f, "Left", dpLeft);
    left->SetBoundLines(TDockBoundLines{blRight});
    left->SetFixAlign(true);
    EXPECT_EQ(left->Width(), 1);
    auto* pane = NewControl<TToolWindowEx>(f, nullptr, "ManagerWindow");
    pane->SetCaption("Проект"_a);
    pane->DockableTo = TDockableTo{dpLeft, dpRight};
    pane->SetFullSize(true);
    pane->SetCloseButtonWhenDocked(true);
    pane->SetClientAreaSize(185, 420);
    auto* inside = NewControl<TPanel>(f, pane, "Inside");
    inside->SetAlign(alClient);
    int closes = 0;
    pane->OnClose = [&](TObject*) { ++closes; };
    pane->SetParent(left);
    Pump();
    EXPECT_EQ(left->Width(), 185 + 4 + 1) << "row 185 + 4, the bound line";
    EXPECT_EQ(pane->Width(), 189);
    EXPECT_EQ(pane->Height(), left->ClientHeight()) << "spans the dock";
    EXPECT_EQ(pane->ClientWidth(), 185);
    EXPECT_EQ(pane->ClientHeight(), pane->Height() - 14 - 4);
    EXPECT_EQ(pane->BarHeight(), 420) << "its own height is kept for floating";
    EXPECT_EQ(inside->BoundsRect(), Rect(0, 0, 185, pane->ClientHeight())) << "children align themselves";

    TRect close = pane->DockedCloseButtonRect();
    EXPECT_EQ(close, Bounds(185 + 2 - 11, 3, 11, 11)) << "on a column the button sits at the right of the handle";
    SendMouse(pane->Widget(), QEvent::MouseButtonPress, QPoint(close.Left + 3, close.Top + 3), Qt::LeftButton, Qt::LeftButton);
    SendMouse(pane->Widget(), QEvent::MouseButtonRelease, QPoint(close.Left + 3, close.Top + 3), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(pane->Visible());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(left->Width(), 1) << "back to the FixAlign pixel";
    pane->SetVisible(true);
    EXPECT_EQ(left->Width(), 190);

    pane->HideWhenInactive = false;
    pane->SetDockedTo(nullptr);
    EXPECT_EQ(pane->ClientWidth(), 185);
    EXPECT_EQ(pane->ClientHeight(), 420);
    EXPECT_EQ(pane->Width(), 185 + 8);
    EXPECT_EQ(pane->Height(), 420 + 8 + 15);
    CloseForms();
}

TEST_F(ToolbarsTest, FlatEditLightsWithFocusOrMouse) {
    TForm* f = MakeForm();
    auto* first = NewControl<TEditEx>(f, nullptr, "First");
    EXPECT_EQ(first->Height(), 19);
    first->SetParent(f);
    auto textHeight = [](TFont* font) {
        TBitmap probe;
        probe.Canvas()->Font()->Assign(font);
        return probe.Canvas()->TextHeight("Wg");
    };
    EXPECT_EQ(first->Height(), textHeight(f->Font()) + 6) << "the parent's font sets the height";
    auto* second = NewControl<TEditEx>(f, f, "Second");
    auto* plain = NewControl<TEdit>(f, f, "Plain");
    second->SetTop(40);
    plain->SetTop(80);
    first->SetFocus();
    Pump();
    EXPECT_TRUE(first->BorderLit());
    EXPECT_EQ(first->BorderImage()->Canvas()->Pixels(0, 0), ColorToRGB(clBtnShadow));
    second->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(second->MouseInControl());
    EXPECT_FALSE(second->BorderLit()) << "another flat edit has the focus";
    EXPECT_EQ(second->BorderImage()->Canvas()->Pixels(0, 0), ColorToRGB(clBtnFace));
    plain->SetFocus();
    Pump();
    EXPECT_FALSE(first->BorderLit());
    second->Perform(CM_MOUSELEAVE);
    second->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(second->BorderLit());
    EXPECT_EQ(second->BorderImage()->Canvas()->Pixels(1, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(second->BorderImage()->Canvas()->Pixels(second->Width() - 2, 5), ColorToRGB(cl3DLight));

    second->SetEnabled(false);
    EXPECT_EQ(second->Color(), clBtnFace);
    second->SetEnabled(true);
    EXPECT_EQ(second->Color(), clWindow);
    TFont big;
    big.SetHeight(-20);
    first->SetFont(&big);
    EXPECT_EQ(first->Height(), textHeight(&big) + 6);
}

// The children of a full-size window fill it after every change of its size:
// docked while hidden, its dock resized while it is hidden, shown, resized.
TEST_F(ToolbarsTest, ChildrenOfAFullSizeToolWindowFollowItsSize) {
    TForm* f = MakeForm(100, 100, 500, 400);
    TDockEx* left = AddDock(f, "Left", dpLeft);
    auto* pane = NewControl<TToolWindowEx>(f, nullptr, "Pane");
    pane->SetFullSize(true);
    pane->SetCloseButtonWhenDocked(true);
    pane->SetClientAreaSize(185, 420);
    pane->SetVisible(false);
    auto* bar = NewControl<TPanel>(f, pane, "Bar");
    bar->SetAlign(alTop);
    bar->SetHeight(26);
    auto* inside = NewControl<TPanel>(f, pane, "Inside");
    inside->SetAlign(alClient);
    pane->SetClientAreaSize(250, 420); // widened for its buttons
    pane->SetParent(left);
    auto fills = [&](const char* when) {
        Pump();
        EXPECT_EQ(bar->BoundsRect(), Rect(0, 0, pane->ClientWidth(), 26)) << when;
        EXPECT_EQ(inside->BoundsRect(), Rect(0, 26, pane->ClientWidth(), pane->ClientHeight())) << when;
    };
    EXPECT_EQ(pane->ClientWidth(), 250);
    fills("docked while hidden");
    f->SetBounds(100, 100, 600, 550);
    fills("the form grew while it was hidden");
    pane->SetVisible(true);
    EXPECT_EQ(pane->Height(), left->ClientHeight());
    fills("shown");
    f->SetBounds(100, 100, 600, 450);
    EXPECT_EQ(pane->Height(), left->ClientHeight());
    fills("the form shrank");
    CloseForms();
}
