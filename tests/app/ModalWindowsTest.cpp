// A modal window or a question stays within the user's reach whatever the
// desktop does with the program's windows: minimized, it takes the program
// along and comes back in front with it; it shows above the floating pane.
// The windows under a modal one answer nothing, so a modal window out of
// sight leaves a program that looks hung. These need a window manager.
#include "app/AppTest.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "common/Desktop.h"
#include "editor/PinDriver.h"

namespace {

bool Exposed(QWidget* w) { return w && w->windowHandle() && w->windowHandle()->isExposed(); }

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

private:
    IUserInterfacePort* previousPort_ = nullptr;
};

// The modal window minimized by its own button: the frame goes with it (a
// frame left on the screen answers nothing); restored from the frame, or
// the frame closed by the desktop, both come back and the modal window is
// in front, active.
TEST_F(ModalWindows, AMinimizedModalWindowTakesTheProgramAlongAndComesBackInFront) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a window manager";
    const struct {
        const char* window;
        std::function<void()> open;
        std::function<void(QWidget*)> answer;
    } windows[] = {
        {"the signal table", [this] { frame->TypeActionExecute(frame->TypeAction); },
         [](QWidget*) { PinDriverDlg->ModalResult = mrCancel; }},
        {"a message box", [] { ShowMessage("Не рабочая область"_a); },
         [](QWidget* box) { static_cast<QDialog*>(box)->reject(); }},
    };
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
