// A modal window or a question stays within the user's reach whatever the
// desktop does with the program's windows: minimized, it takes the program
// along and comes back in front with it; it shows above the floating pane.
// The windows under a modal one answer nothing, so a modal window out of
// sight leaves a program that looks hung. These need a window manager.
#include "app/AppTest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <QAbstractNativeEventFilter>
#include <algorithm>
#include <cstring>
#include <memory>

#include "common/Desktop.h"
#include "editor/PinDriver.h"

namespace {

bool Exposed(QWidget* w) { return w && w->windowHandle() && w->windowHandle()->isExposed(); }

// The program's window of that X id, if it is one.
QWidget* WindowOfId(uint32_t id) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() && w->windowHandle()->handle() && uint32_t(w->winId()) == id) return w;
    return nullptr;
}

// The modal window in front, once the desktop shows it and has made it active.
QWidget* ModalInFront() {
    QWidget* modal = QApplication::activeModalWidget();
    return Exposed(modal) && testenv::HasDesktopFocus(modal) ? modal : nullptr;
}

// Steps that run inside modal loops, each once its condition holds or once
// the wait is over. The test owns them: none outlives it. A watchdog closes
// the modal windows that failing steps left open.
class Steps {
public:
    Steps() {
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTimer::singleShot(4 * testenv::kWaitLimitMs, &watchdog_, [this] { watchdog_.start(1000); });
    }
    void When(std::function<bool()> condition, std::function<void()> then) {
        auto* poll = timers_.emplace_back(std::make_unique<QTimer>()).get();
        auto since = std::make_shared<QElapsedTimer>();
        since->start();
        QObject::connect(poll, &QTimer::timeout, [poll, since, condition, then] {
            if (!condition() && since->elapsed() <= testenv::kWaitLimitMs) return;
            poll->stop();
            then();
        });
        poll->start(5);
    }
    // Once a modal window of the given kind is in front.
    template <class Kind = QWidget>
    void WhenInFront(std::function<void(QWidget*)> then) {
        When([] { return qobject_cast<Kind*>(ModalInFront()) != nullptr; },
             [then] { then(QApplication::activeModalWidget()); });
    }

private:
    std::vector<std::unique_ptr<QTimer>> timers_;
    QTimer watchdog_;
};

// Counts the window's changes into minimized from the moment it is made.
class Minimizings : public QObject {
public:
    explicit Minimizings(QWidget* window) : window_(window) { window->installEventFilter(this); }
    ~Minimizings() override {
        if (window_) window_->removeEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::WindowStateChange || !window_->isMinimized()) return false;
        if (!(static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized)) ++count;
        return false;
    }

private:
    QPointer<QWidget> window_;
};

// The ways the user brings back a minimized window (and the program with
// it): its task entry, an older pager's activation (which names no
// source), a tool that maps it.
struct RestoreWay {
    const char* way;
    void (*restore)(QWidget* window);
};
const RestoreWay kRestoreWays[] = {
    {"its task entry", testenv::ActivateAsTheUserDoes},
    {"an older pager", [](QWidget* w) { testenv::AskTheWindowManager(w, "_NET_ACTIVE_WINDOW", {0}); }},
    {"a tool's map", testenv::MapAsAToolDoes},
};

class ModalWindows : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        // The questions of the program's real port.
        previousPort_ = SetUiPort(QtUiPortInstance());
        // Over the middle of the screen, where the modal windows show.
        frame->SetBounds(140, 100, 1000, 800);
    }
    void TearDown() override {
        SetUiPort(previousPort_);
        FrameTest::TearDown();
    }

    // The project pane floating over the middle of the screen.
    QWidget* FloatPane() {
        frame->N26Click(frame->N26);
        TToolWindowEx* pane = frame->ManagerWindow;
        pane->SetFloatingTopLeft(TPoint(540, 300));
        pane->SetDockedTo(nullptr);
        EXPECT_TRUE(pane->Floating());
        EXPECT_TRUE(testenv::WaitExposed(pane->Widget()));
        return pane->Widget();
    }

    // A modal window: how it opens, how it is answered once shown.
    struct ModalWindow {
        const char* window;
        std::function<void()> open;
        std::function<void(QWidget*)> answer;
    };
    // A form shown modally and a message box.
    std::vector<ModalWindow> TwoModalWindows() {
        return {
            {"the signal table", [this] { frame->TypeActionExecute(frame->TypeAction); },
             [](QWidget*) { PinDriverDlg->ModalResult = mrCancel; }},
            {"a message box", [] { ShowMessage("Не рабочая область"_a); },
             [](QWidget* box) { static_cast<QDialog*>(box)->reject(); }},
        };
    }

private:
    IUserInterfacePort* previousPort_ = nullptr;
};

// A window on the screen, not minimized.
bool Restored(QWidget* w) { return Exposed(w) && !w->isMinimized(); }

// The modal window minimized by its own button: the frame goes with it (a
// frame left on the screen answers nothing); restored from the frame, or
// the frame closed by the desktop, both come back and the modal window is
// in front, active.
TEST_F(ModalWindows, AMinimizedModalWindowTakesTheProgramAlongAndComesBackInFront) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    const std::vector<ModalWindow> windows = TwoModalWindows();
    const struct {
        const char* way;
        void (*restore)(QWidget* frame);
    } ways[] = {
        {"restored from the frame", testenv::ActivateAsTheUserDoes},
        {"the frame closed by the desktop", testenv::CloseAsTheDesktopDoes},
    };
    QWidget* frameWindow = frame->Widget();
    for (const auto& w : windows) {
        for (const auto& way : ways) {
            SCOPED_TRACE(std::string(w.window) + ", " + way.way);
            bool minimizedTogether = false;
            bool backInFront = false;
            Steps steps;
            steps.WhenInFront([&](QWidget* modal) {
                testenv::MinimizeAsTheUserDoes(modal);
                steps.When([&, modal] { return !Exposed(modal) && !Exposed(frameWindow); }, [&, modal] {
                    minimizedTogether = !Exposed(modal) && !Exposed(frameWindow);
                    way.restore(frameWindow);
                    auto inFront = [modal, frameWindow] {
                        return ModalInFront() == modal && Exposed(frameWindow) && testenv::Above(modal, frameWindow);
                    };
                    steps.When(inFront, [&, inFront, modal] {
                        backInFront = inFront();
                        w.answer(modal);
                    });
                });
            });
            w.open();
            EXPECT_TRUE(minimizedTogether);
            EXPECT_TRUE(backInFront);
            EXPECT_TRUE(testenv::WaitFor([&] { return testenv::HasDesktopFocus(frameWindow); }));
        }
    }
}

// The program minimized with the project pane floating, by the frame's
// button or the pane's (the desktop takes the frame along): each way back
// brings the frame and the pane back, and the frame is not minimized again.
TEST_F(ModalWindows, AProgramWithAFloatingPaneComesBackAndStaysWhateverRestoresIt) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    QWidget* pane = FloatPane();
    QWidget* frameWindow = frame->Widget();
    const struct {
        const char* button;
        QWidget* window;
    } buttons[] = {{"the frame's button", frameWindow}, {"the pane's button", pane}};
    for (const auto& button : buttons) {
        for (const RestoreWay& way : kRestoreWays) {
            SCOPED_TRACE(std::string(button.button) + ", back by " + way.way);
            testenv::MinimizeAsTheUserDoes(button.window);
            ASSERT_TRUE(testenv::WaitFor([&] { return !Exposed(frameWindow) && !Exposed(pane); }));
            Minimizings again(frameWindow);
            way.restore(frameWindow);
            EXPECT_TRUE(testenv::WaitFor([&] { return Restored(frameWindow) && Restored(pane); }));
            EXPECT_EQ(again.count, 0);
        }
    }
}

// A modal window open with the pane floating, the program minimized by the
// frame's button or the modal window's: each way back, through the frame's
// entry or the modal window's, ends with the program on the screen and the
// modal window in front, in one step.
TEST_F(ModalWindows, WithAModalWindowOpenEveryWayBackEndsRestoredInOneStep) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    QWidget* pane = FloatPane();
    QWidget* frameWindow = frame->Widget();
    const std::vector<ModalWindow> windows = TwoModalWindows();
    for (const auto& w : windows) {
        for (const bool byTheModal : {false, true}) {
            // Every way back to the frame, and the modal window's task entry.
            for (std::size_t i = 0; i <= std::size(kRestoreWays); ++i) {
                const bool toTheModal = i == std::size(kRestoreWays);
                const RestoreWay& way = toTheModal ? kRestoreWays[0] : kRestoreWays[i];
                SCOPED_TRACE(std::string(w.window) + (byTheModal ? ", its button" : ", the frame's button") +
                             (toTheModal ? ", back by its task entry" : std::string(", back to the frame by ") + way.way));
                bool minimized = false;
                bool backInFront = false;
                std::unique_ptr<Minimizings> again;
                Steps steps;
                steps.WhenInFront([&](QWidget* modal) {
                    testenv::MinimizeAsTheUserDoes(byTheModal ? modal : frameWindow);
                    steps.When([&, modal] { return !Exposed(modal) && !Exposed(frameWindow); }, [&, modal] {
                        minimized = !Exposed(modal) && !Exposed(frameWindow);
                        again = std::make_unique<Minimizings>(frameWindow);
                        way.restore(toTheModal ? modal : frameWindow);
                        auto inFront = [modal, frameWindow, pane] {
                            return ModalInFront() == modal && Restored(frameWindow) && Restored(pane) &&
                                   testenv::Above(modal, frameWindow);
                        };
                        steps.When(inFront, [&, inFront, modal] {
                            backInFront = inFront();
                            w.answer(modal);
                        });
                    });
                });
                w.open();
                EXPECT_TRUE(minimized);
                EXPECT_TRUE(backInFront);
                EXPECT_EQ(again ? again->count : -1, 0);
                EXPECT_TRUE(testenv::WaitFor([&] { return testenv::HasDesktopFocus(frameWindow); }));
            }
        }
    }
}

// The windows the program asks the desktop to activate (_NET_ACTIVE_WINDOW,
// which Qt hears as well): a ClientMessage (33) sent by a client (bit 7 of
// byte 0) naming the window at bytes 4-7 and the message type at 8-11.
class ActivationRequests : public QAbstractNativeEventFilter {
public:
    ActivationRequests() : type_(testenv::XAtom("_NET_ACTIVE_WINDOW")) { qApp->installNativeEventFilter(this); }
    ~ActivationRequests() override { qApp->removeNativeEventFilter(this); }
    std::vector<uint32_t> windows;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* event = static_cast<const unsigned char*>(message);
        if (type != "xcb_generic_event_t" || event[0] != (33 | 0x80)) return false;
        uint32_t window;
        uint32_t kind;
        std::memcpy(&window, event + 4, sizeof window);
        std::memcpy(&kind, event + 8, sizeof kind);
        if (kind == type_) windows.push_back(window);
        return false;
    }

private:
    uint32_t type_;
};

// The program asking for its frame while a modal window is in front (a
// floating bar hiding as the program goes inactive passes the activation on
// to it): the desktop is asked for the modal window, never for the frame,
// which it would raise above the modal window.
TEST_F(ModalWindows, AWindowUnderAModalOneAskedForLeavesTheModalWindowInFront) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    QWidget* frameWindow = frame->Widget();
    for (const auto& w : TwoModalWindows()) {
        SCOPED_TRACE(w.window);
        ActivationRequests requests;
        bool inFront = false;
        Steps steps;
        steps.WhenInFront([&](QWidget* modal) {
            requests.windows.clear();
            SetActiveWindow(frame);
            // Time for the desktop to carry out what was asked.
            auto since = std::make_shared<QElapsedTimer>();
            since->start();
            auto answered = [since, modal, frameWindow] {
                return since->elapsed() > 500 && ModalInFront() == modal && testenv::Above(modal, frameWindow);
            };
            steps.When(answered, [&, answered, modal] {
                inFront = answered();
                w.answer(modal);
            });
        });
        w.open();
        EXPECT_TRUE(inFront);
        EXPECT_EQ(std::count(requests.windows.begin(), requests.windows.end(), uint32_t(frameWindow->winId())), 0);
    }
}

// A modal window open and another program in front: a window of the program
// that shows meanwhile (the pane back from hiding) leaves the other
// program's window on top. Lifted above it, the modal window would cover the
// program the user is working in.
TEST_F(ModalWindows, AWindowShownInTheBackgroundLeavesAnotherProgramOnTop) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    QWidget* pane = FloatPane();
    QProcess other;
    uint32_t otherWindow = 0;
    auto top = [] {
        const std::vector<uint32_t> order = testenv::StackingOrder();
        return order.empty() ? 0u : order.back();
    };
    auto below = [&](QWidget* modal) {
        const std::vector<uint32_t> order = testenv::StackingOrder();
        const auto mine = std::find(order.begin(), order.end(), uint32_t(modal->winId()));
        return mine < std::find(order.begin(), order.end(), otherWindow);
    };
    bool otherInFront = false;
    bool modalStayedBelow = false;
    Steps steps;
    steps.WhenInFront([&](QWidget* modal) {
        // Over the middle of the screen, where the modal window is.
        other.start("xmessage", {"-center", "another program"});
        auto othersTurn = [&] { return !QGuiApplication::focusWindow() && top() && !WindowOfId(top()); };
        steps.When(othersTurn, [&, modal, othersTurn] {
            otherInFront = othersTurn();
            otherWindow = top();
            pane->hide();
            pane->show();
            // The pane on the screen, and time for whatever its showing sets off.
            steps.When([pane] { return Exposed(pane); }, [&, modal] {
                QElapsedTimer since;
                since.start();
                steps.When([&since] { return since.elapsed() > 500; }, [&, modal] {
                    modalStayedBelow = below(modal);
                    other.kill();
                    modal->close();
                });
            });
        });
    });
    ShowMessage("Не рабочая область"_a);
    other.waitForFinished();
    EXPECT_TRUE(otherInFront);
    EXPECT_TRUE(modalStayedBelow);
}

// With the project pane floating over the middle of the screen, "Сохранить
// как" onto a file that exists: the file dialog, the question and the file
// dialog again after "Нет" each show above the pane, which is back above
// the frame once they close.
TEST_F(ModalWindows, QuestionsAndDialogsShowAboveTheFloatingPane) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    testenv::WriteBytes(dir.Path() / "m.fsm", "a machine");
    OpenFsm(dir.File("n.fsm"));
    frame->N26Click(frame->N26);
    TToolWindowEx* pane = frame->ManagerWindow;
    pane->SetFloatingTopLeft(TPoint(540, 300));
    pane->SetDockedTo(nullptr);
    ASSERT_TRUE(pane->Floating());
    ASSERT_TRUE(testenv::WaitExposed(pane->Widget()));
    std::vector<std::string> under;
    // The desktop stacks a window a little after it shows.
    auto note = [&](const char* what, QWidget* w) {
        if (!testenv::WaitFor([&] { return testenv::Above(w, pane->Widget()); })) under.push_back(what);
    };
    // The user types the name and Return, and answers "Нет" by Escape.
    constexpr unsigned long kReturn = 0xff0d, kEscape = 0xff1b;
    Steps steps;
    steps.WhenInFront<QFileDialog>([&](QWidget* dialog) {
        note("the file dialog", dialog);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(ToQString(dir.File("m.fsm")));
        testenv::PressKeyAsTheUserDoes(kReturn);
        steps.WhenInFront<QMessageBox>([&](QWidget* question) {
            note("the question", question);
            testenv::PressKeyAsTheUserDoes(kEscape);
            steps.WhenInFront<QFileDialog>([&](QWidget* again) {
                note("the file dialog after \"Нет\"", again);
                testenv::PressKeyAsTheUserDoes(kEscape);
            });
        });
    });
    EXPECT_FALSE(frame->SaveWindowAs(frame->ActiveMDIChild()));
    EXPECT_EQ(under, std::vector<std::string>{});
    EXPECT_TRUE(testenv::WaitFor([&] { return testenv::Above(pane->Widget(), frame->Widget()); }));
}

} // namespace
