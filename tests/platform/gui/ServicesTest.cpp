// The services the windows and components reach through the windowing layer:
// mouse capture, coordinates, key state, size limits, dropped files,
// activation, window hooks, windows of their own, overlays, window scroll
// bars, framed native controls and tab stops.
#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QWindow>
#include <cstdint>
#include <cstring>

#include "GuiTest.h"
#include "common/Desktop.h"
#include "platform/Canvas.h"
#include "platform/gui/EnableWindow.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Hooks.h"
#include "platform/gui/Overlay.h"
#include "platform/gui/StdCtrls.h"

namespace {

using Log = std::vector<std::string>;

class Services : public GuiTest {
protected:
    void TearDown() override {
        SetCaptureControl(nullptr);
        Application->OnActivate = nullptr;
        Application->OnDeactivate = nullptr;
        for (HHOOK h : hooks_) UnhookWindowsHookEx(h);
        GuiTest::TearDown();
    }
    HHOOK Hook(int kind, THookProcedure p) { return hooks_.emplace_back(SetWindowsHookEx(kind, std::move(p))); }
    // A form of the given bounds, not yet shown.
    TForm* FormAt(int left, int top, int width, int height) {
        TForm* f = MakeForm();
        f->SetBounds(left, top, width, height);
        return f;
    }
    // A panel with a name, placed on parent.
    static TPanel* PanelAt(TForm* f, TWinControl* parent, const char* name, int left, int top, int width, int height) {
        auto* p = NewControl<TPanel>(f, parent, name);
        p->SetBounds(left, top, width, height);
        return p;
    }
    // Puts handler in front of the control's window procedure; a handler that
    // answers true keeps the message from it.
    static void Intercept(TControl* c, std::function<bool(TMessage&)> handler) {
        c->WindowProc = [old = c->WindowProc, handler](TMessage& m) {
            if (!handler(m)) old(m);
        };
    }
    static std::string Name(TControl* c) { return c ? c->Name().str() : "-"; }
    // Two forms, A and B, not yet shown, whose activations go to log.
    std::pair<TForm*, TForm*> FormsAAndB(Log& log) {
        TForm* a = MakeForm();
        TForm* b = MakeForm();
        a->SetName("A");
        b->SetName("B");
        for (TForm* f : {a, b}) {
            f->OnActivate = [&log, f](TObject*) { log.push_back(Name(f) + " activate"); };
            f->OnDeactivate = [&log, f](TObject*) { log.push_back(Name(f) + " deactivate"); };
        }
        return {a, b};
    }
    static std::string At(LPARAM l) { return "(" + std::to_string(LParamX(l)) + "," + std::to_string(LParamY(l)) + ")"; }
    // The application's activation events and WM_ACTIVATEAPP, as note words them.
    void NoteApplicationActivation(std::function<void(const std::string&)> note) {
        Application->OnActivate = [note](TObject*) { note("application activate"); };
        Application->OnDeactivate = [note](TObject*) { note("application deactivate"); };
        Hook(WH_CALLWNDPROC, [note](THookMessage& m) {
            if (m.Msg == WM_ACTIVATEAPP) note("WM_ACTIVATEAPP " + std::to_string(m.WParam));
        });
    }
    std::vector<HHOOK> hooks_;
};

TEST_F(Services, CaptureRoutesTheMouseToTheCapturingControlUntilReleased) {
    TForm* f = FormAt(100, 100, 300, 200);
    TPanel* a = PanelAt(f, f, "A", 10, 10, 50, 50);
    TPanel* b = PanelAt(f, f, "B", 150, 20, 80, 60);
    f->Show();
    Log log, notices;
    for (TPanel* c : {a, b})
        Intercept(c, [&log, c](TMessage& m) {
            if (m.Msg == WM_CAPTURECHANGED) log.push_back(Name(c) + " lost to " + Name(reinterpret_cast<TControl*>(m.LParam)));
            if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_LBUTTONUP) log.push_back(Name(c) + ":" + std::to_string(m.Msg) + At(m.LParam));
            return false;
        });
    Hook(WH_CALLWNDPROC, [&](THookMessage& m) {
        if (m.Msg == WM_CAPTURECHANGED) notices.push_back(Name(m.Control));
    });

    a->SetMouseCapture(true);
    EXPECT_EQ(GetCaptureControl(), a);
    EXPECT_TRUE(a->MouseCapture());
    // Input over B reaches A, in A's client coordinates: B's (5, 5) lies at
    // A's (145, 15).
    Send(b->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    Send(b->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(6, 7));
    Send(f->ClientWidget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(2, 3));
    EXPECT_EQ(log, (Log{"A:513(145,15)", "A:512(146,17)", "A:514(-8,-7)"}));

    // Handed to B: A hears that it lost it, then B gets the input.
    log.clear();
    SetCaptureControl(b);
    Send(a->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(1, 1));
    EXPECT_EQ(log, (Log{"A lost to B", "B:512(-139,-9)"}));
    EXPECT_EQ(notices, Log{"A"});

    // Released: everyone hears its own input again.
    log.clear();
    b->SetMouseCapture(false);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    Send(a->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(1, 1));
    EXPECT_EQ(log, (Log{"B lost to -", "A:512(1,1)"}));
    EXPECT_EQ(notices, (Log{"A", "B"}));

    // A capture control that goes away takes the capture with it, quietly.
    notices.clear();
    a->SetMouseCapture(true);
    delete a;
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_TRUE(notices.empty());
}

TEST_F(Services, CoordinatesRoundTripThroughNestedAndFramedControls) {
    TForm* f = FormAt(120, 80, 400, 300);
    TPanel* outer = PanelAt(f, f, "Outer", 30, 40, 300, 200);
    TPanel* inner = PanelAt(f, outer, "Inner", 15, 25, 100, 80);
    f->Show();
    TPoint origin = f->ClientOrigin();
    for (TPoint p : {TPoint(0, 0), TPoint(7, 9), TPoint(-3, 150)}) {
        TPoint screen = inner->ClientToScreen(p);
        EXPECT_EQ(screen, TPoint(origin.x + 30 + 15 + p.x, origin.y + 40 + 25 + p.y));
        EXPECT_EQ(inner->ScreenToClient(screen), p);
        EXPECT_EQ(outer->ScreenToClient(screen), TPoint(15 + p.x, 25 + p.y));
    }
    // A control with a frame of its own: the client area starts inside it,
    // the window rectangle at the frame.
    Intercept(inner, [](TMessage& m) {
        if (m.Msg == WM_NCCALCSIZE) InflateRect(*reinterpret_cast<TRect*>(m.LParam), -4, -4);
        return m.Msg == WM_NCCALCSIZE;
    });
    inner->EnableNonClient();
    TRect window;
    ASSERT_TRUE(GetWindowRect(inner, window));
    EXPECT_EQ(window, Bounds(origin.x + 45, origin.y + 65, 100, 80));
    EXPECT_EQ(inner->ClientToScreen(TPoint(0, 0)), TPoint(window.Left + 4, window.Top + 4));
    EXPECT_EQ(inner->ScreenToClient(TPoint(window.Left, window.Top)), TPoint(-4, -4));
    EXPECT_EQ(inner->ClientWidth(), 92);
}

TEST_F(Services, KeyStateFollowsTheKeysAndButtonsOfTheInputBeingHandled) {
    TForm* f = MakeForm();
    f->Show();
    QWindow* win = f->Widget()->windowHandle();
    ASSERT_NE(win, nullptr);
    struct Case {
        int vk;
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        Qt::MouseButton button;
    } cases[] = {
        {VK_SHIFT, Qt::Key_Shift, Qt::ShiftModifier, Qt::NoButton},
        {VK_CONTROL, Qt::Key_Control, Qt::ControlModifier, Qt::NoButton},
        {VK_MENU, Qt::Key_Alt, Qt::AltModifier, Qt::NoButton},
        {VK_LBUTTON, Qt::Key_unknown, Qt::NoModifier, Qt::LeftButton},
        {VK_RBUTTON, Qt::Key_unknown, Qt::NoModifier, Qt::RightButton},
    };
    for (const Case& c : cases) {
        auto act = [&](bool down) {
            if (c.button && down) QTest::mousePress(win, c.button, {}, QPoint(5, 5));
            if (c.button && !down) QTest::mouseRelease(win, c.button, {}, QPoint(5, 5));
            if (!c.button && down) QTest::keyPress(win, c.key, c.modifier);
            if (!c.button && !down) QTest::keyRelease(win, c.key);
        };
        EXPECT_EQ(GetKeyState(c.vk), 0) << c.vk;
        act(true);
        EXPECT_LT(GetKeyState(c.vk), 0) << c.vk;
        EXPECT_EQ(GetKeyState(c.vk == VK_SHIFT ? VK_CONTROL : VK_SHIFT), 0) << "only the key pressed";
        act(false);
        EXPECT_EQ(GetKeyState(c.vk), 0) << c.vk;
    }
    EXPECT_EQ(GetKeyState('A'), 0);
}

// Qt Test's double click on a widget leaves its button held, a click with
// Ctrl leaves Ctrl held; the end of a test lets go of both, so the next test
// does not start with them held whatever the order.
TEST_F(Services, NothingIsHeldOnceATestHasEnded) {
    TForm* f = MakeForm();
    f->Show();
    QTest::mouseDClick(f->Widget(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(f->Widget(), Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    ASSERT_LT(GetKeyState(VK_RBUTTON), 0);
    ASSERT_LT(GetKeyState(VK_CONTROL), 0);
    testenv::RunAfterEachTestSteps();
    EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);
    EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);
    EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
    // Qt Test's own record of the buttons it holds is let go as well: the next
    // simulated press holds its own button only.
    QTest::mousePress(f->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);
    QTest::mouseRelease(f->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(Services, SizeLimitsClampSetBoundsAndTheWindowsRealSize) {
    TForm* f = MakeForm();
    TPanel* p = PanelAt(f, f, "P", 5, 5, 100, 100);
    ASSERT_TRUE(ShowActive(f));
    p->Constraints()->SetLimits(40, 30, 120, 90);
    EXPECT_EQ(p->Height(), 90) << "the present size is brought within the limits";
    struct Case {
        int width, height, wantWidth, wantHeight;
    } cases[] = {{10, 10, 40, 30}, {60, 50, 60, 50}, {500, 500, 120, 90}, {40, 30, 40, 30}};
    for (const Case& c : cases) {
        p->SetBounds(5, 5, c.width, c.height);
        EXPECT_EQ(TPoint(p->Width(), p->Height()), TPoint(c.wantWidth, c.wantHeight)) << c.width;
        EXPECT_EQ(p->Widget()->size(), QSize(c.wantWidth, c.wantHeight));
    }
    // A maximum below the minimum counts as the minimum.
    p->Constraints()->SetMaxWidth(20);
    p->SetWidth(100);
    EXPECT_EQ(p->Width(), 40);

    // A form: the window the user drags stays within the limits too.
    f->SetBounds(50, 50, 400, 300);
    f->Constraints()->SetMinWidth(250);
    f->Constraints()->SetMaxHeight(260);
    TSize frame = f->FrameSize();
    EXPECT_EQ(f->Height() - frame.cy, 260);
    f->SetBounds(50, 50, 100, 100);
    EXPECT_EQ(f->Width() - frame.cx, 250);
    EXPECT_EQ(f->Height(), 100);
    f->Widget()->resize(90, 900); // as the user would drag it
    // A window manager answers each size asked for a little later.
    EXPECT_TRUE(ProcessUntil([f] { return f->Widget()->size() == QSize(250, 260); }));
    EXPECT_EQ(f->Widget()->size(), QSize(250, 260));
    EXPECT_EQ(f->Width() - frame.cx, 250);
    f->Constraints()->SetLimits(0, 0, 0, 0);
    f->Widget()->resize(90, 900);
    EXPECT_EQ(f->Widget()->size(), QSize(90, 900));
}

TEST_F(Services, FilesDroppedFromTheDesktopReachOnDropFiles) {
    TForm* f = MakeForm();
    TPanel* target = PanelAt(f, f, "Target", 20, 20, 100, 100);
    f->Show();
    std::vector<AnsiString> got;
    TPoint at;
    target->OnDropFiles = [&](TObject* sender, const std::vector<AnsiString>& files, int x, int y) {
        EXPECT_EQ(sender, target);
        got = files;
        at = TPoint(x, y);
    };
    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 12), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->Widget(), &enter);
        QDropEvent dropped(QPointF(10, 12), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target->Widget(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    };
    const QUrl web("https://example.org/x");
    QList<QUrl> two = {QUrl::fromLocalFile("/tmp/Схема 1.tvs"), web, QUrl::fromLocalFile("/tmp/b.fsm")};
    EXPECT_FALSE(drop(two)) << "a control that does not accept files takes none";
    EXPECT_TRUE(got.empty());
    target->SetAcceptFiles(true);
    EXPECT_TRUE(drop(two));
    EXPECT_EQ(got, (std::vector<AnsiString>{"/tmp/Схема 1.tvs"_a, "/tmp/b.fsm"}));
    EXPECT_EQ(at, TPoint(10, 12));
    got.clear();
    EXPECT_FALSE(drop({web})) << "no local file: nothing to take";
    EXPECT_TRUE(got.empty());
}

TEST_F(Services, ActivationEventsComeInOrderWhenAnotherFormIsActivated) {
    Log log;
    auto [a, b] = FormsAAndB(log);
    NoteApplicationActivation([&](const std::string& what) { log.push_back(what); });
    for (TForm* f : {a, b}) ASSERT_TRUE(ShowActive(f));
    a->SetFocus();
    ASSERT_TRUE(testenv::WaitActive(a));
    // Another program takes the activation, then B gets it.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(b->Widget());
    EXPECT_EQ(log, (Log{"application activate", "WM_ACTIVATEAPP 1", "A activate", //
                        "A deactivate", "B activate",                          //
                        "B deactivate", "A activate",                          //
                        "application deactivate", "WM_ACTIVATEAPP 0",          //
                        "application activate", "WM_ACTIVATEAPP 1", "A deactivate", "B activate"}));
}

// The X server may still be handing the focus to a window asked for earlier
// when Qt has already made the one asked for now its active window: that late
// step is the desktop catching up, not the user's choice, and the forms do
// not hear of it.
TEST_F(Services, TheServersLateFocusOnAWindowAskedForEarlierIsPassedOver) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    Log log;
    auto [a, b] = FormsAAndB(log);
    for (TForm* f : {b, a}) ASSERT_TRUE(ShowActive(f));
    log.clear();
    // The focus the window manager hands on arrives late.
    testenv::LateDesktop late;
    b->SetFocus();
    ASSERT_TRUE(testenv::WaitFor([&] { return Screen->ActiveForm() == b; }));
    a->SetFocus();
    ASSERT_TRUE(testenv::WaitFor([&] { return Screen->ActiveForm() == a; }));
    // The server's focus reaching A: FocusIn (event 9), the window at bytes 4-7.
    struct FocusInWatch : QAbstractNativeEventFilter {
        std::uint32_t window = 0;
        bool seen = false;
        bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
            const auto* event = static_cast<const unsigned char*>(message);
            std::uint32_t w;
            std::memcpy(&w, event + 4, sizeof w);
            seen = seen || ((event[0] & 0x7f) == 9 && w == window);
            return false;
        }
    } focusIn;
    focusIn.window = a->Widget()->winId();
    qApp->installNativeEventFilter(&focusIn);
    late.Release();
    EXPECT_TRUE(testenv::WaitFor([&] { return focusIn.seen; }));
    qApp->removeNativeEventFilter(&focusIn);
    ASSERT_TRUE(testenv::WaitActive(a));
    EXPECT_EQ(log, (Log{"A deactivate", "B activate", "B deactivate", "A activate"}));
}

// The active window goes and the program asks for another one while the
// desktop is slow: none of the program's windows has the focus until the
// desktop grants it. The window is active once, when the desktop says so,
// and its control does not hear OnExit just after OnEnter (as it would if the
// window counted as active at once: the program's wait for the focus that
// left with the window that went, 0.1 s, would end in a deactivation after).
TEST_F(Services, AWindowAskedForAfterTheActiveOneWentIsActiveOnceTheDesktopSaysSo) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    Log log;
    auto [a, b] = FormsAAndB(log);
    TEdit* edit = NewControl<TEdit>(b, b, "Edit1");
    edit->OnEnter = [&](TObject*) { log.push_back("Edit1 enter"); };
    edit->OnExit = [&](TObject*) { log.push_back("Edit1 exit"); };
    NoteApplicationActivation([&](const std::string& what) { log.push_back(what); });
    for (TForm* f : {b, a}) ASSERT_TRUE(ShowActive(f));
    log.clear();
    testenv::LateDesktop late;
    a->Hide();
    edit->SetFocus();
    // The desktop held longer than the program waits for the focus to come
    // back to one of its windows.
    ProcessFor(300);
    late.Release();
    ASSERT_TRUE(testenv::WaitActive(b));
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    EXPECT_EQ(log, (Log{"application deactivate", "WM_ACTIVATEAPP 0", //
                        "application activate", "WM_ACTIVATEAPP 1", "B activate", "Edit1 enter"}));
}

// The desktop tells the program of a change of its state before Qt has moved
// its active window: what the events say is what Active() answers.
TEST_F(Services, ApplicationActiveTellsTheStateTheActivationEventsReport) {
    TForm* a = MakeForm();
    ASSERT_TRUE(ShowActive(a));
    ASSERT_TRUE(Application->Active());
    Log log;
    NoteApplicationActivation([&](const std::string& what) { log.push_back(what + (Application->Active() ? " active" : " inactive")); });
    // The window is still the active one when the desktop says the program
    // lost the activation, and none is yet when it says it regained it.
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    EXPECT_FALSE(Application->Active());
    QApplication::setActiveWindow(nullptr);
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QApplication::sendEvent(qApp, &active);
    EXPECT_TRUE(Application->Active());
    // A deactivation that only the windows show is reported too.
    QApplication::setActiveWindow(a->Widget());
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(a->Widget());
    const Log cycle = {"application deactivate inactive", "WM_ACTIVATEAPP 0 inactive", "application activate active",
                       "WM_ACTIVATEAPP 1 active"};
    Log twice = cycle;
    twice.insert(twice.end(), cycle.begin(), cycle.end());
    EXPECT_EQ(log, twice);
    EXPECT_TRUE(Application->Active());
}

TEST_F(Services, MDIChildActivationReachesTheChildrenAndTheFrame) {
    TForm* frame = MakeForm();
    frame->SetFormStyle(fsMDIForm);
    Application->SetMainForm(frame);
    frame->Show();
    Log log;
    auto listen = [&](TForm* f, const std::string& name) {
        Intercept(f, [&log, name](TMessage& m) {
            if (m.Msg == WM_MDIACTIVATE)
                log.push_back(name + " hears " + Name(reinterpret_cast<TForm*>(m.WParam)) + ">" + Name(reinterpret_cast<TForm*>(m.LParam)));
            return false;
        });
    };
    auto child = [&](const char* name) {
        TForm* c = MakeForm();
        c->SetName(name);
        c->SetFormStyle(fsMDIChild);
        c->OnActivate = [&log, c](TObject*) { log.push_back(Name(c) + " activate"); };
        c->OnDeactivate = [&log, c](TObject*) { log.push_back(Name(c) + " deactivate"); };
        listen(c, name);
        return c;
    };
    listen(frame, "frame");
    TForm* one = child("One");
    for (TForm* c : {one, child("Two")}) c->Show();
    Application->ProcessMessages();
    log.clear();
    one->BringToFront();
    Application->ProcessMessages();
    EXPECT_EQ(log, (Log{"Two hears Two>One", "One hears Two>One", "frame hears Two>One", "Two deactivate", "One activate"}));
    EXPECT_EQ(frame->ActiveMDIChild(), one);
}

TEST_F(Services, WindowHooksSeeInputFirstAndMaySwallowIt) {
    TForm* f = MakeForm();
    TPanel* p = PanelAt(f, f, "P", 10, 10, 100, 100);
    auto* edit = NewControl<TEdit>(f, f, "E");
    edit->SetTop(150);
    ASSERT_TRUE(ShowActive(f));
    edit->SetFocus();
    Log log;
    p->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { log.push_back("down " + At(MakeLParam(x, y))); };
    edit->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { log.push_back("key " + std::to_string(k)); };
    bool swallow = false;
    HHOOK first = Hook(WH_GETMESSAGE, [&](THookMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_KEYDOWN) log.push_back("first " + std::to_string(m.Msg) + " " + Name(m.Control));
    });
    Hook(WH_GETMESSAGE, [&](THookMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN) log.push_back("last at " + At(m.LParam) + " screen " + std::to_string(m.Pt.x - f->ClientOrigin().x));
        if (swallow && (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_KEYDOWN)) m.Msg = WM_NULL;
    });
    ClickAt(p->Widget(), QPoint(4, 6));
    QTest::keyClick(edit->LineEdit(), Qt::Key_F2);
    EXPECT_EQ(log, (Log{"last at (4,6) screen 14", "first 513 P", "down (4,6)", "first 256 E", "key 113"}))
        << "the hook installed last first; a key once, though Qt offers it to the parents";

    log.clear();
    swallow = true;
    Send(p->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(4, 6));
    QTest::keyClick(edit->LineEdit(), Qt::Key_F2);
    EXPECT_EQ(log, Log{"last at (4,6) screen 14"}) << "swallowed: nobody else hears it";
    EXPECT_EQ(edit->Text(), AnsiString());

    // A hook that removes itself while it runs; removing twice fails.
    log.clear();
    swallow = false;
    HHOOK self = 0;
    self = Hook(WH_GETMESSAGE, [&](THookMessage& m) {
        if (m.Msg == WM_KEYDOWN) {
            EXPECT_TRUE(UnhookWindowsHookEx(self));
        }
    });
    QTest::keyClick(edit->LineEdit(), Qt::Key_F3);
    QTest::keyClick(edit->LineEdit(), Qt::Key_F4);
    EXPECT_FALSE(UnhookWindowsHookEx(self));
    EXPECT_TRUE(UnhookWindowsHookEx(first));
    EXPECT_EQ(log, (Log{"first 256 E", "key 114", "first 256 E", "key 115"}));
    EXPECT_EQ(SetWindowsHookEx(99, [](THookMessage&) {}), 0u);
}

// A confined cursor: mouse messages from outside the rectangle reach the
// hooks from the nearest point inside (right and bottom edges outside), and
// the cursor position reads inside; freed, points are as they come.
TEST_F(Services, AConfinedCursorIsReportedInsideItsRectangle) {
    TForm* f = FormAt(100, 100, 300, 200);
    TPanel* p = PanelAt(f, f, "P", 10, 10, 100, 100);
    ASSERT_TRUE(ShowActive(f));
    std::vector<TPoint> seen;
    Hook(WH_GETMESSAGE, [&](THookMessage& m) {
        if (m.Msg == WM_MOUSEMOVE) seen.push_back(m.Pt);
    });
    const TPoint origin = p->ClientToScreen(TPoint(0, 0));
    const TRect clip = Bounds(origin.x + 20, origin.y + 30, 40, 50);
    TRect got;
    EXPECT_FALSE(GetClipCursor(got));
    ClipCursor(&clip);
    ASSERT_TRUE(GetClipCursor(got));
    EXPECT_EQ(got, clip);
    const struct {
        QPoint local;
        TPoint reported;
    } moves[] = {
        {QPoint(5, 5), TPoint(clip.Left, clip.Top)},
        {QPoint(90, 95), TPoint(clip.Right - 1, clip.Bottom - 1)},
        {QPoint(30, 90), TPoint(origin.x + 30, clip.Bottom - 1)},
        {QPoint(25, 35), TPoint(origin.x + 25, origin.y + 35)},
    };
    for (const auto& m : moves) Send(p->Widget(), QEvent::MouseMove, Qt::NoButton, m.local);
    ASSERT_EQ(seen.size(), 4u);
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], moves[i].reported) << i;
    const TPoint cursor = GetCursorPos();
    EXPECT_TRUE(cursor.x >= clip.Left && cursor.x < clip.Right && cursor.y >= clip.Top && cursor.y < clip.Bottom);
    EXPECT_EQ(ClipCursorPoint(TPoint(-5, 10000)), TPoint(clip.Left, clip.Bottom - 1));

    ClipCursor(nullptr);
    EXPECT_FALSE(GetClipCursor(got));
    seen.clear();
    Send(p->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(5, 5));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], TPoint(origin.x + 5, origin.y + 5));
}

TEST_F(Services, AControlBecomesAWindowOfItsOwnAndBack) {
    // A panel of the form shown at (100, 100) becomes a window of its own at
    // (400, 300), kept above the form.
    TForm* f = FormAt(100, 100, 300, 200);
    TPanel* p = PanelAt(f, f, "P", 10, 10, 80, 40);
    f->Show();
    p->SetParent(nullptr);
    p->SetBounds(400, 300, 80, 40);
    p->SetPopupWindow(true, f, false);
    ShowWindow(p, SW_SHOWNA);
    EXPECT_TRUE(p->PopupWindow());
    Application->ProcessMessages();
    QWidget* w = p->Widget();
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), QRect(400, 300, 80, 40));
    ASSERT_NE(w->windowHandle(), nullptr);
    EXPECT_EQ(w->windowHandle()->transientParent(), f->Widget()->windowHandle()) << "kept above its owner";
    EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
    SetActiveWindow(f);
    EXPECT_EQ(GetActiveWindow(), f);
    TRect r;
    EXPECT_TRUE(GetWindowRect(p, r));
    EXPECT_EQ(r, Bounds(400, 300, 80, 40));

    // Its controls show their hints while the owner is the active window.
    TPanel* inner = PanelAt(f, p, "Inner", 5, 5, 40, 20);
    inner->SetHint("Открыть|Открыть схему"_a);
    inner->SetShowHint(true);
    Application->ProcessMessages();
    ASSERT_EQ(GetActiveWindow(), f);
    QToolTip::hideText();
    ASSERT_TRUE(testenv::MovePointer(inner->Widget(), QPoint(10, 10)));
    EXPECT_TRUE(ProcessUntil([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Открыть")) << "the short part of the hint";
    QToolTip::hideText();

    // Closed from the desktop: WM_CLOSE; a handler that answers keeps it.
    int closes = 0;
    bool keep = true;
    Intercept(p, [&](TMessage& m) { return m.Msg == WM_CLOSE && ++closes && keep; });
    w->close();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(w->isVisible());
    keep = false;
    w->close();
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(p->Visible()) << "hidden by the desktop, the property stays";

    // On top of every window, then back on its parent.
    p->SetPopupWindow(true, nullptr, true);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    p->SetParent(f);
    EXPECT_FALSE(p->PopupWindow());
    EXPECT_FALSE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), f->ClientWidget());
}

TEST_F(Services, WindowsRaiseWithoutChangingTheAlignmentOrder) {
    TForm* f = MakeForm();
    TPanel* top1 = PanelAt(f, f, "Top1", 0, 0, 50, 20);
    TPanel* top2 = PanelAt(f, f, "Top2", 0, 0, 50, 30);
    top1->SetAlign(alTop);
    top2->SetAlign(alTop);
    f->Show();
    BringWindowToTop(top1);
    EXPECT_EQ(f->Controls(0), top1);
    EXPECT_EQ(TPoint(top1->Top(), top2->Top()), TPoint(0, 20)) << "still the first of the top row";
    EXPECT_EQ(f->ClientWidget()->children().last(), top1->Widget()) << "its window above its siblings";
    ShowWindow(top2, SW_HIDE);
    EXPECT_FALSE(top2->Widget()->isVisible());
    EXPECT_TRUE(top2->Visible());
    ShowWindow(top2, SW_SHOW);
    EXPECT_TRUE(top2->Widget()->isVisible());
}

TEST_F(Services, AnOverlayDrawnAndErasedLeavesTheWindowAsItWas) {
    TForm* f = FormAt(50, 50, 240, 160);
    PanelAt(f, f, "P", 20, 20, 120, 80)->SetColor(clNavy);
    f->Show();
    Application->ProcessMessages();
    auto picture = [&] { return f->ClientWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage before = picture();

    TOverlay overlay(f);
    EXPECT_TRUE(overlay.Empty());
    TCanvas* c = overlay.Canvas();
    c->Brush()->SetColor(clWhite);
    c->Font()->SetColor(clBlack);
    const TRect frame = Rect(10, 10, 180, 120); // across the form and the panel
    c->DrawFocusRect(frame);
    Application->ProcessMessages();
    EXPECT_EQ(overlay.DrawnRect(), frame);
    EXPECT_TRUE(overlay.Showing());
    const QImage drawn = picture();
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            uint32_t was = before.pixel(x, y) & 0xFFFFFF, now = drawn.pixel(x, y) & 0xFFFFFF;
            if (was == now) continue;
            ++changed;
            // Inverted where the dotted frame lies, over the form and the panel alike.
            EXPECT_EQ(now, was ^ 0xFFFFFF) << x << "," << y;
            EXPECT_TRUE(x == 10 || x == 179 || y == 10 || y == 119) << x << "," << y;
        }
    EXPECT_GT(changed, 200);
    c->DrawFocusRect(frame);
    Application->ProcessMessages();
    EXPECT_TRUE(overlay.Empty());
    EXPECT_FALSE(overlay.Showing());
    EXPECT_EQ(picture(), before);

    // Over the desktop: screen coordinates, the drawn pixels only.
    TOverlay desktop;
    TCanvas* d = desktop.Canvas();
    d->Pen()->SetMode(pmXor);
    d->Pen()->SetColor(clWhite);
    d->Rectangle(Rect(100, 100, 160, 130));
    Application->ProcessMessages();
    EXPECT_EQ(desktop.DrawnRect(), Rect(100, 100, 160, 130));
    EXPECT_TRUE(desktop.Showing());
    d->Rectangle(Rect(100, 100, 160, 130));
    Application->ProcessMessages();
    EXPECT_TRUE(desktop.Empty());
    EXPECT_FALSE(desktop.Showing());
}

TEST_F(Services, WindowScrollBarsTakeTheirRoomFromTheFrameAndReportTheUsersMoves) {
    TForm* f = MakeForm();
    TPanel* p = PanelAt(f, f, "P", 10, 10, 200, 150);
    f->Show();
    p->ShowScrollBar(SB_VERT, true);
    EXPECT_TRUE(p->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(TPoint(p->ClientWidth(), p->ClientHeight()), TPoint(200 - 16, 150));
    p->ShowScrollBar(SB_HORZ, true);
    EXPECT_EQ(p->ClientHeight(), 150 - 16);

    TScrollInfo si{.fMask = SIF_ALL, .nMin = 0, .nMax = 99, .nPage = 10, .nPos = 200};
    EXPECT_EQ(p->SetScrollInfo(SB_VERT, si), 90) << "the position stops a page before the end";
    std::vector<std::pair<unsigned, int>> heard;
    Intercept(p, [&heard, p](TMessage& m) {
        if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
            TScrollInfo now{.fMask = SIF_POS};
            p->GetScrollInfo(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, now);
            EXPECT_EQ(int(m.WParam >> 16), now.nPos);
            heard.emplace_back(unsigned(m.WParam & 0xFFFF), now.nPos);
        }
        return false;
    });
    // The bar in the frame, moved by the user.
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : p->Widget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
        if (b->orientation() == Qt::Vertical) bar = b;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(200 - 16, 0, 16, 150 - 16));
    EXPECT_EQ(bar->maximum(), 90);
    bar->setValue(42);
    EXPECT_EQ(heard, (std::vector<std::pair<unsigned, int>>{{SB_THUMBPOSITION, 42}}));
    si = {.fMask = SIF_POS, .nPos = 7};
    p->SetScrollInfo(SB_VERT, si);
    EXPECT_EQ(bar->value(), 7);
    EXPECT_EQ(heard.size(), 1u) << "the program's own settings are not reported";
    TScrollInfo back{.fMask = SIF_RANGE | SIF_PAGE};
    p->GetScrollInfo(SB_VERT, back);
    EXPECT_EQ(back.nMax, 99);
    EXPECT_EQ(back.nPage, 10u);
    p->ShowScrollBar(SB_VERT, false);
    EXPECT_EQ(p->ClientWidth(), 200);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(Services, ANativeEditInAFrameOfItsOwn) {
    TForm* f = MakeForm();
    auto* e = NewControl<TEdit>(f, f, "E");
    e->SetBounds(10, 10, 120, 24);
    e->SetBorderStyle(bsNone);
    int painted = 0;
    Intercept(e, [e, &painted](TMessage& m) {
        if (m.Msg == WM_NCCALCSIZE) InflateRect(*reinterpret_cast<TRect*>(m.LParam), -3, -3);
        if (m.Msg == WM_NCPAINT) {
            ++painted;
            e->NonClientCanvas()->Brush()->SetColor(clRed);
            e->NonClientCanvas()->FillRect(Rect(0, 0, e->Width(), e->Height()));
        }
        return m.Msg == WM_NCCALCSIZE || m.Msg == WM_NCPAINT;
    });
    e->EnableNonClient();
    ASSERT_TRUE(ShowActive(f));
    EXPECT_EQ(TPoint(e->ClientWidth(), e->ClientHeight()), TPoint(114, 18));
    EXPECT_GT(painted, 0);
    EXPECT_EQ(e->NonClientCanvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(e->LineEdit()->geometry(), QRect(3, 3, 114, 18));
    e->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(QApplication::focusWidget(), e->LineEdit());
    QTest::keyClicks(e->LineEdit(), "Ok");
    EXPECT_EQ(e->Text(), AnsiString("Ok"));
    // The edit's own settings still reach the text.
    e->SetAlignment(taRightJustify);
    EXPECT_TRUE(e->LineEdit()->alignment() & Qt::AlignRight);
    e->Perform(EM_SETMARGINS, EC_RIGHTMARGIN, MakeLParam(0, 20));
    EXPECT_EQ(e->LineEdit()->textMargins(), QMargins(0, 0, 20, 0));
    e->SetEditMenuAndDrops(false);
    EXPECT_EQ(e->LineEdit()->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(e->LineEdit()->acceptDrops());
}

TEST_F(Services, TabStopsDecideWhetherAControlThatPaintsItselfTakesTheFocus) {
    TForm* f = MakeForm();
    TPanel* p = PanelAt(f, f, "P", 10, 10, 100, 100); // a panel is no tab stop
    auto* e = NewControl<TEdit>(f, f, "E");
    e->SetTop(150);
    ASSERT_TRUE(ShowActive(f));
    e->SetFocus();
    EXPECT_FALSE(p->TabStop);
    EXPECT_EQ(p->Widget()->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_TRUE(e->Focused()) << "a click does not take the focus from the edit";
    p->TabStop = true;
    EXPECT_EQ(p->Widget()->focusPolicy(), Qt::StrongFocus);
    QTest::mouseClick(p->Widget(), Qt::LeftButton);
    EXPECT_TRUE(p->Focused());
    // A native control takes the focus from a click either way.
    e->TabStop = false;
    EXPECT_TRUE(e->Widget()->focusPolicy() & Qt::ClickFocus);
    EXPECT_TRUE(p->CanFocus());
    p->SetEnabled(false);
    EXPECT_FALSE(p->CanFocus());
}

// The drop-down of a combo box: shown, it hears the mouse and leaves the
// focus and the active window where they are.
TEST_F(Services, ANonActivatingPopupLeavesTheFocusWhereItIs) {
    TForm* f = FormAt(100, 100, 300, 200);
    TEdit* edit = NewControl<TEdit>(f, f, "Edit1");
    f->Show();
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    int exits = 0, downs = 0;
    edit->OnExit = [&](TObject*) { ++exits; };
    TPanel* drop = PanelAt(f, nullptr, "Drop", 150, 150, 120, 80);
    drop->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    drop->SetPopupWindow(true, nullptr, true, true);
    ShowWindow(drop, SW_SHOWNA);
    ProcessFor(30);
    EXPECT_TRUE(drop->Widget()->isVisible());
    EXPECT_EQ(GetActiveWindow(), f);
    EXPECT_TRUE(edit->Focused());
    ClickAt(drop->Widget(), QPoint(10, 10));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(exits, 0);
    ShowWindow(drop, SW_HIDE);
    EXPECT_FALSE(drop->Widget()->isVisible());
}

// A disabled control whose window is enabled again hears the mouse but never
// takes the focus.
TEST_F(Services, ADisabledControlWithAnEnabledWindowHearsTheMouseButNeverTakesTheFocus) {
    TForm* f = FormAt(0, 0, 300, 200);
    TEdit* edit = NewControl<TEdit>(f, f, "Edit1");
    auto* box = NewControl<TCustomControl>(f, f, "Box1"); // takes the focus on a click while enabled
    box->SetBounds(10, 40, 100, 60);
    int downs = 0;
    box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    f->Show();
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    // QTest gives the focus by the focus policy, as the desktop would.
    auto click = [&] { QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20)); };
    click();
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(box->Focused());
    edit->SetFocus();

    // Disabled with its window: deaf.
    box->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box));
    ClickAt(box->Widget(), QPoint(20, 20));
    EXPECT_EQ(downs, 1);

    // The window enabled again: the press arrives, the focus stays.
    EnableWindow(box, true);
    EXPECT_FALSE(box->Enabled());
    EXPECT_TRUE(IsWindowEnabled(box));
    EXPECT_FALSE(box->CanFocus());
    click();
    EXPECT_EQ(downs, 2);
    EXPECT_TRUE(edit->Focused());

    EnableWindow(box, false);
    ClickAt(box->Widget(), QPoint(20, 20));
    EXPECT_EQ(downs, 2);
    EXPECT_FALSE(IsWindowEnabled(nullptr));
}

TEST_F(Services, DelayWaitsWhileTimersAndPostedCallsRun) {
    Log log;
    QTimer::singleShot(0, [&] { log.push_back("timer"); });
    PostCall([&] { log.push_back("posted"); });
    QElapsedTimer clock;
    clock.start();
    Delay(30);
    log.push_back("after");
    EXPECT_GE(clock.elapsed(), 29);
    EXPECT_EQ(log, (Log{"timer", "posted", "after"}));
}

} // namespace
