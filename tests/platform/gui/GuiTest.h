#pragma once
// Support for the windowing tests: every test gets a scripted user-interface
// port, and every form made in a test is freed in tear-down. Modal forms run
// for real; RunModal queues the steps that act on the form once it shows.

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "common/TestEnv.h"
#include "common/Wait.h"
#include "platform/testing/TestUiPort.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

// After every test of a windowing binary, whatever its fixture: the
// application's handlers, its main form, the screen's cursor, the mouse
// capture, the tooltip and the printer's page set-up are as at start-up, so
// that no test hears another one's handler, finds the mouse taken or a hint
// showing, or prints on another one's page. (The test main releases the keys
// and buttons a test left held.)
inline const bool kApplicationStateRestored = (testenv::AfterEachTest([] {
    SetCaptureControl(nullptr);
    QToolTip::hideText();
    Application->OnModalStart = nullptr;
    Application->OnException = nullptr;
    Application->SetMainForm(nullptr);
    Screen->SetCursor(crDefault);
    if (Printer()->Printing()) Printer()->Abort();
    Printer()->SetOrientation(poPortrait);
    Printer()->Copies = 1;
}),
                                               true);

class GuiTest : public ::testing::Test {
protected:
    void TearDown() override {
        Application->OnModalStart = nullptr;
        // Children of an MDI frame go before the frame.
        for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) Free(*it);
        forms_.clear();
        Application->ProcessMessages();
    }
    // A form owned by the test (freed in tear-down).
    template <class T = TForm>
    T* MakeForm() {
        T* f = new T(nullptr);
        f->DoCreate();
        forms_.push_back(f);
        return f;
    }
    void Forget(TForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

    // Shows form modally; each step runs after the previous one once the
    // loop is waiting. A watchdog ends a loop that a failing step left open.
    int RunModal(TForm* form, std::vector<std::function<void()>> steps) {
        auto queue = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
        auto next = std::make_shared<std::function<void(std::size_t)>>();
        *next = [queue, next](std::size_t i) {
            if (i >= queue->size()) return;
            QTimer::singleShot(0, [queue, next, i] {
                (*queue)[i]();
                if (*next) (*next)(i + 1);
            });
        };
        // The steps start once the desktop has made the form active.
        Application->OnModalStart = [next](TForm* shown) { testenv::WhenActive(shown, [next] { (*next)(0); }); };
        bool stuck = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            stuck = true;
            form->ModalResult = -1;
        });
        watchdog.start(2 * testenv::kWaitLimitMs);
        int r = form->ShowModal();
        Application->OnModalStart = nullptr;
        // The chain holds itself; emptied, it lets the steps go.
        *next = nullptr;
        EXPECT_FALSE(stuck) << "the modal loop did not end";
        return r;
    }

    // A key press and release at the focus widget (or the active window).
    static void Key(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* w = QApplication::focusWidget();
        if (!w) w = QApplication::activeWindow();
        ASSERT_NE(w, nullptr);
        QTest::keyClick(w, Qt::Key(qtKey), mods);
    }
    static void Send(QWidget* w, QEvent::Type type, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
        if (type == QEvent::MouseMove) held = Qt::NoButton;
        QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, m);
        QApplication::sendEvent(w, &e);
    }
    // Lets events through until pred holds; false after the limit.
    static bool ProcessUntil(const std::function<bool()>& pred, int limitMs = testenv::kWaitLimitMs) {
        return testenv::WaitFor(pred, limitMs);
    }
    // Shows the form and waits until it is the active window: on a desktop
    // the window manager grants that a little later, and only then do keys
    // reach it. False when it did not become active in time.
    [[nodiscard]] static bool ShowActive(TForm* f) {
        f->Show();
        return testenv::WaitActive(f);
    }
    // Lets events through for a while.
    static void ProcessFor(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // With GE_KEEP_TEST_FILES set, saves a picture of the widget as
    // <test folder>/pictures/<name>.png for a look by hand.
    static void KeepPicture(QWidget* w, const std::string& name) {
        if (!std::getenv("GE_KEEP_TEST_FILES")) return;
        std::filesystem::path dir = testenv::Root() / "pictures";
        std::filesystem::create_directories(dir);
        w->grab().save(QString::fromStdString((dir / (name + ".png")).string()));
    }
    static void ClickAt(QWidget* w, QPoint p) {
        Send(w, QEvent::MouseButtonPress, Qt::LeftButton, p);
        Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, p);
    }

    TestUiPort port;
    std::vector<TForm*> forms_;
};
