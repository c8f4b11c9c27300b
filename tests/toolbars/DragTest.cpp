// Dragging between docks and floating, the outline, Ctrl and Escape;
// floating resize with its snapping and minimum.
#include "ToolbarTestUtil.h"

namespace {

TRect ScreenOf(TControl* c) {
    QPoint o = c->Widget()->mapToGlobal(QPoint(0, 0));
    return Bounds(o.x(), o.y(), c->Width(), c->Height());
}

} // namespace

TEST_F(ToolbarsTest, DragFromOneDockToAnother) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* bottom = AddDock(f, "Bottom", dpBottom);
    AddToolbar(f, top, "A", 3);
    TToolbarEx* t = AddToolbar(f, top, "T", 2, 0, 150);
    Pump();
    TRect start = t->ScreenRect();
    // Grab the drag handle 5 pixels from the left, 10 from the top.
    t->BeginMoving(5 - 11, 10 - 2);
    ASSERT_NE(t->Tracker(), nullptr);
    ASSERT_TRUE(t->Tracker()->Active());
    EXPECT_EQ(t->DragDock(), top) << "it starts over its own dock";
    EXPECT_EQ(t->DragRect(), start);
    EXPECT_EQ(TDragOutline::Instance().Thickness(), 1) << "a thin outline for docking";

    TRect b = ScreenOf(bottom);
    ASSERT_EQ(b.Height(), 0);
    TPoint p(b.Left + 100, b.Top - 5);
    t->Tracker()->MouseMove(p);
    EXPECT_EQ(t->DragDock(), bottom);
    EXPECT_EQ(t->DragRect(), Bounds(p.x - 5, p.y - 10, t->Width(), t->Height()));
    EXPECT_TRUE(TDragOutline::Instance().Visible());
    EXPECT_EQ(TDragOutline::Instance().Rect(), t->DragRect());
    EXPECT_EQ(TDragOutline::Instance().Ring(), OutlineRing(t->DragRect(), 1));

    t->Tracker()->LeftButtonUp(p);
    EXPECT_FALSE(t->Tracker()->Active());
    EXPECT_FALSE(TDragOutline::Instance().Visible()) << "the outline goes with the drag";
    ASSERT_EQ(t->DockedTo(), bottom);
    EXPECT_EQ(t->DockRow(), 0);
    EXPECT_EQ(t->DockPos(), p.x - 5 - bottom->ClientOrigin().x);
    EXPECT_EQ(bottom->Height(), 26);
    EXPECT_EQ(top->ToolbarCount(), 1);
}

TEST_F(ToolbarsTest, CtrlPreventsDockingAndEscapeCancels) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* bottom = AddDock(f, "Bottom", dpBottom);
    TToolbarEx* t = AddToolbar(f, top, "T", 2, 0, 150);
    Pump();
    TRect b = ScreenOf(bottom);
    TPoint p(b.Left + 100, b.Top - 5);
    t->BeginMoving(5 - 11, 10 - 2);
    t->Tracker()->KeyDown(VK_CONTROL);
    EXPECT_TRUE(t->DragPreventDocking());
    t->Tracker()->MouseMove(p);
    EXPECT_EQ(t->DragDock(), nullptr) << "Ctrl held: no dock";
    EXPECT_EQ(TDragOutline::Instance().Thickness(), 4) << "a frame-thick floating outline";
    EXPECT_EQ(t->DragRect().Width(), 4 + 2 * 23 + 4 + 8) << "the floating size";
    t->Tracker()->KeyUp(VK_CONTROL);
    EXPECT_EQ(t->DragDock(), bottom) << "released over the dock without moving";
    EXPECT_EQ(TDragOutline::Instance().Thickness(), 1);
    t->Tracker()->KeyDown('A');
    EXPECT_TRUE(t->Tracker()->Active()) << "other keys are swallowed";
    t->Tracker()->KeyDown(VK_ESCAPE);
    EXPECT_FALSE(t->Tracker()->Active());
    EXPECT_FALSE(TDragOutline::Instance().Visible());
    EXPECT_EQ(t->DockedTo(), top) << "Escape leaves it where it was";
    EXPECT_EQ(t->Left(), 150);

    // A new press of the left button also ends the drag without a drop, and
    // so does losing the application's activation.
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(p);
    t->Tracker()->LeftButtonDown(p);
    EXPECT_EQ(t->DockedTo(), top);
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(p);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_FALSE(t->Tracker()->Active());
    EXPECT_FALSE(t->Tracker()->Accepted());
    EXPECT_EQ(t->DockedTo(), top);
}

TEST_F(ToolbarsTest, WindowThatCannotFloatShowsNotAllowed) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TToolbarEx* t = AddToolbar(f, top, "T", 2, 0, 150);
    t->DockMode = dmCannotFloat;
    Pump();
    TPoint middle = f->ClientToScreen(TPoint(200, 200));
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(middle);
    EXPECT_TRUE(IsRectEmpty(t->DragRect()));
    EXPECT_EQ(Screen->Cursor(), crNo);
    EXPECT_FALSE(TDragOutline::Instance().Visible());
    t->Tracker()->LeftButtonUp(middle);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(t->DockedTo(), top);
    EXPECT_EQ(t->Left(), 150);

    // One that may not change docks is offered only its own.
    TDockEx* bottom = AddDock(f, "Bottom", dpBottom);
    t->DockMode = dmCannotFloatOrChangeDocks;
    TRect b = ScreenOf(bottom);
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(TPoint(b.Left + 100, b.Top - 5));
    EXPECT_EQ(t->DragDock(), nullptr);
    t->Tracker()->Cancel();
    // Docks whose position the window may not use are not offered either.
    t->DockMode = dmCanFloat;
    t->DockableTo = TDockableTo{dpTop};
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(TPoint(b.Left + 100, b.Top - 5));
    EXPECT_EQ(t->DragDock(), nullptr);
    t->Tracker()->Cancel();
    // A dock may refuse a bar through OnRequestDock.
    t->DockableTo = TDockableTo{dpTop, dpBottom};
    int asked = 0;
    bottom->OnRequestDock = [&](TObject* sender, TCustomToolWindowEx* bar, bool& accept) {
        EXPECT_EQ(sender, bottom);
        EXPECT_EQ(bar, t);
        EXPECT_TRUE(accept) << "Accept comes in true";
        accept = false;
        ++asked;
    };
    t->BeginMoving(-6, 8);
    t->Tracker()->MouseMove(TPoint(b.Left + 100, b.Top - 5));
    EXPECT_EQ(t->DragDock(), nullptr);
    EXPECT_GT(asked, 0);
    t->Tracker()->Cancel();
    bottom->OnRequestDock = nullptr;
}

TEST_F(ToolbarsTest, DropOnTheStartOfARowMakesANewRowInFront) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TToolbarEx* a = AddToolbar(f, top, "A", 3, 0, 0);
    TToolbarEx* t = AddToolbar(f, top, "T", 2, 1, 0);
    Pump();
    TPoint origin = top->ClientOrigin();
    t->BeginMoving(5 - 11, 10 - 2);
    // The drop rectangle's middle lands 3 pixels into row 0.
    TPoint p(origin.x + 200, origin.y);
    t->Tracker()->MouseMove(p);
    ASSERT_EQ(t->DragDock(), top);
    t->Tracker()->LeftButtonUp(p);
    EXPECT_EQ(t->DockRow(), 0);
    EXPECT_EQ(a->DockRow(), 1);
    EXPECT_EQ(t->Top(), 0);
    EXPECT_EQ(a->Top(), 26);
    EXPECT_EQ(t->Left(), 195);
}

TEST_F(ToolbarsTest, FloatingDragKeepsFourPixelsOfCaption) {
    TForm* f = MakeForm();
    TToolbarEx* t = AddToolbar(f, nullptr, "T", 2);
    t->HideWhenInactive = false;
    t->SetParent(f);
    t->SetBounds(300, 300, t->Width(), t->Height());
    TRect work = Screen->WorkAreaAt(TPoint(300, 300));
    // Grabbed 30 pixels below the window's top.
    t->BeginMoving(10, 30 - 19);
    t->Tracker()->MouseMove(TPoint(400, work.Top - 100));
    EXPECT_EQ(t->DragDock(), nullptr);
    EXPECT_EQ(t->DragRect().Top, work.Top + 4 - 19);
    t->Tracker()->LeftButtonUp(TPoint(400, work.Top - 100));
    EXPECT_EQ(t->Top(), work.Top + 4 - 19);
    EXPECT_EQ(t->Left(), 400 - 14);
    EXPECT_EQ(t->FloatingTopLeft(), TPoint(400 - 14, work.Top + 4 - 19));
}

TEST_F(ToolbarsTest, DragThroughRealMouseEvents) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* bottom = AddDock(f, "Bottom", dpBottom);
    TToolbarEx* t = AddToolbar(f, top, "T", 2, 0, 150);
    t->HideWhenInactive = false;
    Pump();
    QWidget* w = t->Widget();
    SendMouse(w, QEvent::MouseButtonPress, QPoint(5, 10), Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(t->Tracker() && t->Tracker()->Active());
    EXPECT_EQ(QWidget::mouseGrabber(), w);
    TRect b = ScreenOf(bottom);
    QPoint target(b.Left + 60, b.Top - 5);
    // Moves reach the drag wherever they are sent.
    SendMouse(f->ClientWidget(), QEvent::MouseMove, f->ClientWidget()->mapFromGlobal(target), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(t->DragDock(), bottom);
    SendKey(w, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(t->DragDock(), nullptr);
    SendKey(w, QEvent::KeyRelease, Qt::Key_Control);
    EXPECT_EQ(t->DragDock(), bottom);
    SendMouse(w, QEvent::MouseButtonRelease, w->mapFromGlobal(target), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(t->DockedTo(), bottom);

    // Dragged away from every dock it floats where it was dropped.
    SendMouse(w, QEvent::MouseButtonPress, QPoint(5, 10), Qt::LeftButton, Qt::LeftButton);
    QPoint away = f->ClientWidget()->mapToGlobal(QPoint(200, 120));
    SendMouse(w, QEvent::MouseMove, w->mapFromGlobal(away), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(t->DragDock(), nullptr);
    TRect r = t->DragRect();
    SendMouse(w, QEvent::MouseButtonRelease, w->mapFromGlobal(away), Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(t->Floating());
    EXPECT_EQ(t->ScreenRect().TopLeft(), r.TopLeft());
    EXPECT_EQ(bottom->Height(), 0);
}

TEST_F(ToolbarsTest, FloatingResizeSnapsToTheWrapShapes) {
    TForm* f = MakeForm();
    auto* t = NewControl<TToolbarEx>(f, nullptr, "T");
    const char* pattern = "BB|BB|B";
    for (int i = 0; pattern[i]; ++i) {
        if (pattern[i] == '|') NewControl<TToolbarSepEx>(f, t, AnsiString("S") + IntToStr(i));
        else NewControl<TToolbarButtonEx>(f, t, AnsiString("B") + IntToStr(i));
    }
    t->HideWhenInactive = false;
    t->SetParent(f);
    t->SetBounds(200, 200, t->Width(), t->Height());
    ASSERT_EQ(t->Width(), 143);
    ASSERT_EQ(t->Height(), 48);

    TRect s = t->ScreenRect();
    t->BeginSizing(HTRIGHT, TPoint(s.Right - 1, s.Top + 30));
    std::vector<TSize> sizes;
    for (const auto& c : t->SizeCandidates()) sizes.push_back(c.Size);
    EXPECT_EQ(sizes, (std::vector<TSize>{{143, 48}, {91, 76}, {62, 104}, {39, 148}})) << "each height at its smallest width, widest first";
    EXPECT_TRUE(t->SizeCandidates()[0].SingleRow);
    EXPECT_EQ(t->SizeSensitivity(), 12);
    EXPECT_EQ(TDragOutline::Instance().Rect(), s) << "the outline starts at the window";

    auto moveTo = [&](int d) { t->Tracker()->MouseMove(TPoint(s.Left + d, s.Top + 30)); };
    moveTo(135);
    EXPECT_EQ(TDragOutline::Instance().Rect(), s) << "within the sensitivity nothing changes";
    moveTo(100);
    EXPECT_EQ(TDragOutline::Instance().Rect(), Bounds(s.Left, s.Top, 91, 76)) << "shrinking: the largest shape not larger";
    moveTo(60);
    EXPECT_EQ(TDragOutline::Instance().Rect(), Bounds(s.Left, s.Top, 39, 148));
    moveTo(150);
    EXPECT_EQ(TDragOutline::Instance().Rect(), s) << "growing past the widest: one row";
    moveTo(60);
    t->Tracker()->LeftButtonUp(TPoint(s.Left + 60, s.Top + 30));
    EXPECT_EQ(t->FloatingWidth(), 31);
    EXPECT_EQ(t->BoundsRect(), Bounds(s.Left, s.Top, 39, 148));
    EXPECT_TRUE(t->SizeCandidates().empty()) << "the tracking data goes at the end";

    // Growing from the narrowest: the smallest shape larger than the cursor.
    s = t->ScreenRect();
    t->BeginSizing(HTRIGHT, TPoint(s.Right - 1, s.Top + 30));
    t->Tracker()->MouseMove(TPoint(s.Left + 70, s.Top + 30));
    EXPECT_EQ(TDragOutline::Instance().Rect(), Bounds(s.Left, s.Top, 91, 76));
    t->Tracker()->KeyDown(VK_ESCAPE);
    EXPECT_EQ(t->FloatingWidth(), 31) << "cancelled: unchanged";
    EXPECT_EQ(t->Width(), 39);

    // By the bottom edge the shapes are keyed by height.
    t->BeginSizing(HTBOTTOM, TPoint(s.Left + 10, s.Bottom - 1));
    t->Tracker()->MouseMove(TPoint(s.Left + 10, s.Top + 60));
    EXPECT_EQ(TDragOutline::Instance().Rect(), Bounds(s.Left, s.Top, 143, 48)) << "shrinking to 60: the 48 high row";
    t->Tracker()->LeftButtonUp(TPoint(s.Left + 10, s.Top + 60));
    EXPECT_EQ(t->FloatingWidth(), 0);
    EXPECT_EQ(t->Width(), 143);
}

TEST_F(ToolbarsTest, FloatingResizeStopsAtTheMinimum) {
    TForm* f = MakeForm();
    auto* w = NewControl<TToolWindowEx>(f, nullptr, "Pane");
    w->HideWhenInactive = false;
    w->SetClientAreaSize(100, 80);
    w->SetParent(f);
    w->SetBounds(200, 200, w->Width(), w->Height());
    EXPECT_EQ(w->ClientWidth(), 100);
    EXPECT_EQ(w->ClientHeight(), 80);
    TRect s = w->ScreenRect();
    const int frameW = 8, frameH = 8 + 15;

    w->BeginSizing(HTRIGHT, TPoint(s.Right - 1, s.Top + 40));
    w->Tracker()->MouseMove(TPoint(s.Left - 300, s.Top + 40));
    EXPECT_EQ(TDragOutline::Instance().Rect(), Bounds(s.Left, s.Top, 32 + frameW, s.Height())) << "the left edge never moves";
    w->Tracker()->LeftButtonUp(TPoint(s.Left - 300, s.Top + 40));
    EXPECT_EQ(w->ClientWidth(), 32);
    EXPECT_EQ(w->BarWidth(), 32);

    s = w->ScreenRect();
    w->BeginSizing(HTTOPLEFT, TPoint(s.Left, s.Top));
    w->Tracker()->MouseMove(TPoint(s.Left + 500, s.Top + 500));
    EXPECT_EQ(TDragOutline::Instance().Rect(), Rect(s.Right - (32 + frameW), s.Bottom - (32 + frameH), s.Right, s.Bottom));
    w->Tracker()->MouseMove(TPoint(s.Left - 20, s.Top - 10));
    EXPECT_EQ(TDragOutline::Instance().Rect(), Rect(s.Left - 20, s.Top - 10, s.Right, s.Bottom));
    w->Tracker()->LeftButtonUp(TPoint(s.Left - 20, s.Top - 10));
    EXPECT_EQ(w->ScreenRect(), Rect(s.Left - 20, s.Top - 10, s.Right, s.Bottom));
    EXPECT_EQ(w->BarHeight(), 80 + 10);

    // Tool windows have corner zones.
    TRect r = w->ScreenRect();
    EXPECT_EQ(w->Perform(WM_NCHITTEST, 0, MakeLParam(r.Left + 1, r.Top + 1)), HTTOPLEFT);
    EXPECT_EQ(w->Perform(WM_NCHITTEST, 0, MakeLParam(r.Right - 1, r.Bottom - 1)), HTBOTTOMRIGHT);
    EXPECT_EQ(w->Perform(WM_NCHITTEST, 0, MakeLParam(r.Left + 1, r.Top + 60)), HTLEFT);
}

// A tool window sized by its frame keeps the cursor in the work area while
// the gesture lasts (a toolbar does not); the cursor is free afterwards,
// however the gesture ended.
TEST_F(ToolbarsTest, SizingAToolWindowKeepsTheCursorInTheWorkArea) {
    TForm* f = MakeForm();
    auto* w = NewControl<TToolWindowEx>(f, nullptr, "Pane");
    w->HideWhenInactive = false;
    w->SetClientAreaSize(100, 80);
    w->SetParent(f);
    w->SetBounds(200, 200, w->Width(), w->Height());
    TToolbarEx* t = AddToolbar(f, nullptr, "T", 3);
    t->HideWhenInactive = false;
    t->SetParent(f);
    t->SetBounds(200, 400, t->Width(), t->Height());
    ASSERT_EQ(Screen->MonitorCount(), 1);
    const TRect area = Screen->WorkAreaRect();
    TRect clip;
    ASSERT_FALSE(GetClipCursor(clip));

    struct Case {
        const char* how;
        std::function<void(TMouseTracker*, TPoint)> end;
        bool accepted;
    };
    const Case ends[] = {
        {"released", [](TMouseTracker* k, TPoint p) { k->LeftButtonUp(p); }, true},
        {"escape", [](TMouseTracker* k, TPoint) { k->KeyDown(VK_ESCAPE); }, false},
        {"capture lost", [](TMouseTracker* k, TPoint) { k->CaptureLost(); }, false},
    };
    for (const Case& c : ends) {
        const TRect s = w->ScreenRect();
        w->BeginSizing(HTBOTTOMRIGHT, TPoint(s.Right - 1, s.Bottom - 1));
        ASSERT_TRUE(GetClipCursor(clip)) << c.how;
        EXPECT_EQ(clip, area) << c.how;
        const TPoint far(area.Right + 500, area.Bottom + 500);
        w->Tracker()->MouseMove(far);
        EXPECT_EQ(w->Tracker()->LastPoint(), TPoint(area.Right - 1, area.Bottom - 1)) << c.how;
        EXPECT_EQ(TDragOutline::Instance().Rect(), Rect(s.Left, s.Top, area.Right, area.Bottom)) << c.how;
        c.end(w->Tracker(), far);
        EXPECT_FALSE(GetClipCursor(clip)) << c.how;
        if (c.accepted) EXPECT_EQ(w->ScreenRect(), Rect(s.Left, s.Top, area.Right, area.Bottom)) << c.how;
        else EXPECT_EQ(w->ScreenRect(), s) << c.how;
        w->SetBounds(200, 200, 150, 150);
    }

    const TRect s = t->ScreenRect();
    t->BeginSizing(HTRIGHT, TPoint(s.Right - 1, s.Top + 5));
    EXPECT_FALSE(GetClipCursor(clip)) << "a toolbar leaves the cursor free";
    t->Tracker()->MouseMove(TPoint(area.Right + 50, s.Top + 5));
    EXPECT_EQ(t->Tracker()->LastPoint(), TPoint(area.Right + 50, s.Top + 5));
    t->Tracker()->KeyDown(VK_ESCAPE);

    // Freed with a gesture that the window's end cuts short.
    const TRect p = w->ScreenRect();
    w->BeginSizing(HTRIGHT, TPoint(p.Right - 1, p.Top + 40));
    ASSERT_TRUE(GetClipCursor(clip));
    CloseForms();
    EXPECT_FALSE(GetClipCursor(clip));
}

// However a drag ends, the next mouse move over a button lights it and shows
// its hint. A floating bar that is pressed is the active window (the desktop
// activates it); docked by the drag, it must not take the program's
// activation with it.
TEST_F(ToolbarsTest, ButtonsLightAfterADragHoweverItEnded) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    TDockEx* bottom = AddDock(f, "Bottom", dpBottom);
    AddToolbar(f, top, "T", 2);
    TToolbarEx* u = AddToolbar(f, top, "U", 2, 0, 150);
    auto* button = static_cast<TToolbarButtonEx*>(f->FindComponent("TB1"));
    button->SetHint("Открыть|Открыть схему"_a);
    SetActiveWindow(f);
    Pump();
    QWidget* client = f->ClientWidget();
    auto moveTo = [&](QPoint screen, Qt::MouseButtons buttons) {
        SendMouse(client, QEvent::MouseMove, client->mapFromGlobal(screen), Qt::NoButton, buttons);
    };
    TRect b = ScreenOf(bottom);
    const QPoint overBottom(b.Left + 60, b.Top - 5), away = client->mapToGlobal(QPoint(200, 150));
    // Each drag presses on the bar (on its handle, or on its caption when it
    // floats: then it is the active window), moves to `to` and is released
    // there, with Ctrl held from the press or Escape before the release.
    const struct { const char* ending; bool ctrl, escape; QPoint to; bool floating; } cases[] = {
        {"released over a dock", false, false, overBottom, false},
        {"Escape", false, true, away, false},
        {"floated with Ctrl", true, false, overBottom, true},
        {"the active floating bar docked", false, false, overBottom, false},
    };
    for (const auto& c : cases) {
        if (u->Floating()) {
            SetActiveWindow(u);
            Pump();
        }
        SendMouse(u->Widget(), QEvent::MouseButtonPress, u->Floating() ? QPoint(20, 8) : QPoint(5, 10), Qt::LeftButton, Qt::LeftButton);
        if (c.ctrl) SendKey(client, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        moveTo(c.to, Qt::LeftButton);
        if (c.escape) SendKey(client, QEvent::KeyPress, Qt::Key_Escape);
        SendMouse(client, QEvent::MouseButtonRelease, client->mapFromGlobal(c.to), Qt::LeftButton, Qt::NoButton);
        if (c.ctrl) SendKey(client, QEvent::KeyRelease, Qt::Key_Control);
        Pump();
        ASSERT_FALSE(u->Tracker()->Active()) << c.ending;
        EXPECT_EQ(u->Floating(), c.floating) << c.ending;
        Application->SetHint(AnsiString());
        QPoint centre(button->Width() / 2, button->Height() / 2);
        SendMouse(button->Widget(), QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), button) << c.ending;
        EXPECT_EQ(button->State(), bsMouseIn) << c.ending;
        EXPECT_EQ(Application->Hint(), "Открыть схему"_a) << c.ending << ": the status bar's hint";
        moveTo(away, Qt::NoButton);
        EXPECT_EQ(TToolbarButtonEx::ButtonMouseInControl(), nullptr) << c.ending;
    }
    CloseForms();
}
