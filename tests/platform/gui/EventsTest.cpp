// Mouse, keys, handler exceptions and the window procedure chain.
#include <QLineEdit>
#include <QPushButton>

#include "GuiTest.h"
#include "platform/Canvas.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Events : public GuiTest {};

TEST_F(Events, DoubleClickComesInTheOldOrderWithTheDoubleFlagOnTheSecondPress) {
    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    pb->SetBounds(0, 0, 100, 100);
    f->Show();
    std::vector<std::string> log;
    pb->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        log.push_back(std::string("down") + (s & ssDouble ? "+double" : "") + (b == mbLeft ? "" : "?") + "@" + std::to_string(x) + "," + std::to_string(y));
    };
    pb->OnMouseUp = [&](TObject*, TMouseButton, TShiftState s, int, int) { log.push_back(std::string("up") + (s & ssDouble ? "+double" : "")); };
    pb->OnClick = [&](TObject*) { log.push_back("click"); };
    pb->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
    QWidget* w = pb->Widget();
    QPoint p(10, 20);
    Send(w, QEvent::MouseButtonPress, Qt::LeftButton, p);
    Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    Send(w, QEvent::MouseButtonDblClick, Qt::LeftButton, p);
    Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    std::vector<std::string> expected{"down@10,20", "click", "up", "dblclick", "down+double@10,20", "up"};
    EXPECT_EQ(log, expected);
}

TEST_F(Events, MovesArriveWithoutButtonsAndReleaseOutsideDoesNotClick) {
    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    pb->SetBounds(0, 0, 50, 50);
    f->Show();
    int moves = 0, clicks = 0;
    TShiftState last = 0xFFFF;
    pb->OnMouseMove = [&](TObject*, TShiftState s, int, int) {
        ++moves;
        last = s;
    };
    pb->OnClick = [&](TObject*) { ++clicks; };
    Send(pb->Widget(), QEvent::MouseMove, Qt::NoButton, QPoint(5, 5));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(last & (ssLeft | ssRight | ssMiddle), 0u);
    Send(pb->Widget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    Send(pb->Widget(), QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(80, 80));
    EXPECT_EQ(clicks, 0);
}

TEST_F(Events, AnExceptionInAHandlerReachesOnExceptionAndTheProgramGoesOn) {
    TForm* f = MakeForm();
    auto* bad = NewControl<TButton>(f, f, "Bad");
    auto* good = NewControl<TButton>(f, f, "Good");
    good->SetLeft(100);
    f->Show();
    bad->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    int goodClicks = 0;
    good->OnClick = [&](TObject*) { ++goodClicks; };

    // Without a handler of the program: the default report through the port.
    QTest::mouseClick(bad->Widget(), Qt::LeftButton);
    ASSERT_EQ(port.Calls.size(), 1u);
    EXPECT_EQ(port.Calls[0].kind, TestUiPort::kShowMessage);
    EXPECT_EQ(port.Calls[0].text, "Ошибка в программе!\n'x' is not a valid integer value"_a);

    // With OnException the program's handler gets it; EAbort stays silent.
    std::vector<AnsiString> seen;
    Application->OnException = [&](TObject*, Exception* e) { seen.push_back(e->Message); };
    QTest::mouseClick(bad->Widget(), Qt::LeftButton);
    bad->OnClick = [](TObject*) { Abort(); };
    QTest::mouseClick(bad->Widget(), Qt::LeftButton);
    QTest::mouseClick(good->Widget(), Qt::LeftButton);
    EXPECT_EQ(seen, std::vector<AnsiString>{"'x' is not a valid integer value"});
    EXPECT_EQ(goodClicks, 1);
    EXPECT_EQ(port.Calls.size(), 1u);
}

// Whatever the program's exception handler itself throws is shown by the
// default report; nothing vanishes.
TEST_F(Events, AnExceptionHandlerThatFailsIsReportedWhateverItThrew) {
    EConvertError original("'x' is not a valid integer value");
    struct Case {
        std::function<void()> raise;
        AnsiString shown;
    } cases[] = {
        {[] { throw EInvalidOperation("Cannot focus a disabled window"); }, "Ошибка в программе!\nCannot focus a disabled window"_a},
        {[] { throw std::bad_alloc(); }, "Ошибка в программе!\n"_a + AnsiString(std::bad_alloc().what())},
        {[] { throw 42; }, "Ошибка в программе!\nUnknown exception"_a},
    };
    for (const Case& c : cases) {
        port.Clear();
        Application->OnException = [&](TObject*, Exception*) { c.raise(); };
        Application->HandleException(nullptr, original);
        ASSERT_EQ(port.Calls.size(), 1u) << AnsiToUtf8(c.shown);
        EXPECT_EQ(port.Calls[0].text, c.shown);
    }
    // The handler works again afterwards.
    std::vector<AnsiString> seen;
    Application->OnException = [&](TObject*, Exception* e) { seen.push_back(e->Message); };
    Application->HandleException(nullptr, original);
    EXPECT_EQ(seen, std::vector<AnsiString>{"'x' is not a valid integer value"});
}

TEST_F(Events, KeysMapToVirtualKeysAndAnAutoRepeatGivesOneKeyUp) {
    TForm* f = MakeForm();
    auto* e = NewControl<TEdit>(f, f, "Edit1");
    ASSERT_TRUE(ShowActive(f));
    e->SetFocus();
    std::vector<WORD> downs, ups;
    e->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { downs.push_back(k); };
    e->OnKeyUp = [&](TObject*, WORD& k, TShiftState) { ups.push_back(k); };
    QWidget* w = e->Widget();
    QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(w, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(w, Qt::Key_F8);
    EXPECT_EQ(downs, (std::vector<WORD>{VK_ADD, VK_SUBTRACT, VK_F8}));
    EXPECT_EQ(ups, (std::vector<WORD>{VK_ADD, VK_SUBTRACT, VK_F8}));
    downs.clear();
    ups.clear();
    // A held key: presses repeat, only the last release counts.
    QKeyEvent p1(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), false);
    QKeyEvent r1(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QKeyEvent p2(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QKeyEvent r2(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), false);
    for (QKeyEvent* ev : {&p1, &r1, &p2, &r2}) QApplication::sendEvent(w, ev);
    EXPECT_EQ(downs.size(), 2u);
    EXPECT_EQ(ups, std::vector<WORD>{VK_DOWN});
}

TEST_F(Events, KeyPreviewLetsTheFormSeeKeysFirstAndSwallowThem) {
    TForm* f = MakeForm();
    auto* e = NewControl<TEdit>(f, f, "Edit1");
    ASSERT_TRUE(ShowActive(f));
    e->SetFocus();
    std::vector<std::string> log;
    f->KeyPreview = true;
    f->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
        log.push_back("form");
        if (k == VK_ESCAPE) k = 0;
    };
    e->OnKeyDown = [&](TObject*, WORD&, TShiftState) { log.push_back("edit"); };
    QTest::keyClick(e->Widget(), Qt::Key_A);
    QTest::keyClick(e->Widget(), Qt::Key_Escape);
    EXPECT_EQ(log, (std::vector<std::string>{"form", "edit", "form"}));
    // A character the form's OnKeyPress takes never reaches the edit.
    f->OnKeyPress = [](TObject*, char& c) {
        if (c == 'b') c = 0;
    };
    e->SetText("");
    QTest::keyClicks(e->Widget(), "abc");
    EXPECT_EQ(e->Text(), AnsiString("ac"));
}

// Records the messages a control sees and lets a hook swallow one kind.
TEST_F(Events, WindowProcHooksWrapTheChainAndPostMessageIsQueued) {
    TForm* f = MakeForm();
    auto* pb = NewControl<TPaintBox>(f, f, "PaintBox1");
    std::vector<std::string> log;
    int downs = 0;
    pb->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    TWndMethod inner = pb->WindowProc;
    pb->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg == WM_USER + 1) {
            log.push_back("hook " + std::to_string(m.WParam));
            m.Result = 42;
            return;
        }
        if (m.Msg == WM_LBUTTONDOWN) {
            log.push_back("before down");
            return; // swallowed: the control never sees it
        }
        inner(m);
    };
    EXPECT_EQ(pb->Perform(WM_USER + 1, 7), 42);
    PostMessage(pb, WM_USER + 1, 8);
    EXPECT_EQ(log.size(), 1u); // not yet
    Application->ProcessMessages();
    EXPECT_EQ(log.back(), "hook 8");
    pb->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(1, 1));
    EXPECT_EQ(downs, 0);
    // A message posted to a control that is gone by then is dropped.
    PostMessage(pb, WM_USER + 1, 9);
    delete pb;
    Application->ProcessMessages();
    EXPECT_EQ(log.back(), "before down");
}

// The desktop's locale change reaches the main window's hooks once as the
// settings message, the one installed last first; one that handles it ends
// the round, one may remove itself, and an exception goes to the handler.
TEST_F(Events, ALocaleChangeReachesTheMainWindowsHooksAsTheSettingsMessage) {
    std::vector<std::string> log;
    bool handleInB = false;
    int a = 0;
    int b = 0;
    int c = 0;
    a = Application->HookMainWindow([&](TMessage& m) {
        log.push_back("a " + std::to_string(m.Msg));
        return false;
    });
    b = Application->HookMainWindow([&](TMessage& m) {
        log.push_back("b " + std::to_string(m.Msg));
        return handleInB;
    });
    c = Application->HookMainWindow([&](TMessage&) {
        log.push_back("c");
        Application->UnhookMainWindow(c);
        throw Exception("c fails");
        return false;
    });
    EXPECT_EQ(Application->HookMainWindow(nullptr), 0);
    std::vector<AnsiString> reported;
    Application->OnException = [&](TObject*, Exception* e) { reported.push_back(e->Message); };
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b 26", "a 26"}));
    EXPECT_EQ(reported, std::vector<AnsiString>{"c fails"});
    log.clear();
    handleInB = true;
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_EQ(log, std::vector<std::string>{"b 26"}) << "handled by b: a does not hear it";
    // Other events of the application, and a locale change of one widget, are no settings message.
    log.clear();
    TForm* f = MakeForm();
    QCoreApplication::sendEvent(f->Widget(), &change);
    QEvent other(QEvent::ApplicationFontChange);
    QCoreApplication::sendEvent(qApp, &other);
    EXPECT_TRUE(log.empty());
    Application->UnhookMainWindow(b);
    Application->UnhookMainWindow(a);
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_TRUE(log.empty());
}

// A control with a frame of its own: 4 pixels all round, 10 more on top as a
// caption that answers HTCAPTION.
class FramedControl : public TCustomControl {
public:
    explicit FramedControl(TComponent* owner) : TCustomControl(owner) {
        SetBounds(0, 0, 100, 60);
        EnableNonClient();
    }
    std::vector<std::string> log;
    TRect lastPaintBox;
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case WM_NCCALCSIZE: {
            auto* r = reinterpret_cast<TRect*>(m.LParam);
            InflateRect(*r, -4, -4);
            r->Top += 10;
            return;
        }
        case WM_NCHITTEST: {
            TPoint p = ScreenToClient(TPoint(LParamX(m.LParam), LParamY(m.LParam)));
            m.Result = p.y < 0 && p.y >= -10 ? HTCAPTION : PtInRect(ClientRect(), p) ? HTCLIENT : HTBORDER;
            return;
        }
        case WM_NCPAINT:
            lastPaintBox = reinterpret_cast<TRegion*>(m.WParam)->Bounds();
            NonClientCanvas()->Brush()->SetColor(clRed);
            NonClientCanvas()->FillRect(Rect(0, 0, Width(), Height()));
            return;
        case WM_NCLBUTTONDOWN:
            log.push_back("nc down " + std::to_string(m.WParam));
            return;
        default:
            break;
        }
        TCustomControl::WndProc(m);
    }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override { log.push_back("down " + std::to_string(x) + "," + std::to_string(y)); }
};

TEST_F(Events, TheNonClientModelInsetsTheClientPaintsTheFrameAndHitTests) {
    TForm* f = MakeForm();
    auto* c = NewControl<FramedControl>(f, f, "Framed");
    f->Show();
    EXPECT_EQ(c->ClientWidth(), 92);
    EXPECT_EQ(c->ClientHeight(), 42);
    EXPECT_EQ(c->ClientRectInWindow(), Rect(4, 14, 96, 56));
    // The frame painting covered the window but the client was left out.
    TRegion frame = TRegion::Combine(TRegion(Rect(0, 0, 100, 60)), TRegion(Rect(4, 14, 96, 56)), RGN_DIFF);
    EXPECT_EQ(c->lastPaintBox, frame.Bounds());
    QWidget* outer = c->Widget();
    ClickAt(outer, QPoint(50, 8)); // caption
    Send(c->ClientWidget(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(3, 2));
    ASSERT_EQ(c->log.size(), 2u);
    EXPECT_EQ(c->log[0], "nc down " + std::to_string(HTCAPTION));
    EXPECT_EQ(c->log[1], "down 3,2");
    // The frame picture is what the window shows around the client.
    QImage shot = outer->grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
