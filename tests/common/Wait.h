#pragma once
// Waiting for what a real desktop does later. On a window system with a
// window manager, activation, the keyboard focus, sizes and the pointer reach
// the program as events once the server and the manager have handled the
// program's requests; offscreen most of them happen at once. A test that
// needs one of them waits for it: events go through until the condition
// holds or the limit passes. Never a fixed sleep.

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>

#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"

namespace testenv {

// Generous: the first window of a program waits for the window manager to
// load its theme, and a loaded machine (a build beside the tests, many test
// binaries at once on two cores) answers slowly. A test that passes never
// waits that long; only a failing one reaches the limit.
constexpr int kWaitLimitMs = 20000;

// Lets events through until condition holds; false when the limit passed
// first.
inline bool WaitFor(const std::function<bool()>& condition, int limitMs = kWaitLimitMs) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > limitMs) return false;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Whether the window system has given window the keyboard focus and Qt
// made it its active window.
inline bool HasDesktopFocus(QWidget* window) {
    QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && QGuiApplication::focusWindow() == handle && QApplication::activeWindow() == window;
}

// Whether the form is the active one both for the desktop and for the
// program (Screen->ActiveForm, the one OnActivate last told of), and no
// window the program asked to activate still waits for the desktop's answer
// (the X server's focus may reach it after Qt has moved its active window).
inline bool FormIsActive(TForm* f) {
    return f->Visible() && HasDesktopFocus(f->Widget()) && Screen->ActiveForm() == f && !gebridge::ActivationPending();
}

// Waits until the form is active: after Show, SetFocus or a click that
// hands the activation to it.
inline bool WaitActive(TForm* f, int limitMs = kWaitLimitMs) {
    return WaitFor([f] { return FormIsActive(f); }, limitMs);
}

// Whether the top window at the middle of where windows a and b overlap is
// a's: the window system's stacking, as the user sees it.
inline bool Above(QWidget* a, QWidget* b) {
    const QRect both = gebridge::FrameGeometry(a) & gebridge::FrameGeometry(b);
    if (both.isEmpty()) return false;
    QWindow* top = QGuiApplication::topLevelAt(both.center());
    return top && top == a->windowHandle();
}

// Waits until the window of w shows on the screen: a window manager maps a
// new window a little after the program shows it, and until then the
// pointer finds no window there.
inline bool WaitExposed(QWidget* w) {
    return WaitFor([w] {
        QWindow* handle = w->window()->windowHandle();
        return handle && handle->isExposed();
    });
}

// Puts the pointer at screen point p, as the user's hand would: the cursor
// goes there, the widget under it hears that the pointer entered (an X
// server reports that later, and a late entering cancels a pending tool
// tip), then the hand's last steps onto p (an X server reports a warped
// pointer as entering only, while tool tips and the lighting of buttons wait
// for a move, and Qt drops a move to the place it last heard of). False when
// the entering did not come in time.
inline bool MovePointerTo(QPoint p) {
    QWidget* w = QApplication::widgetAt(p);
    QCursor::setPos(p);
    if (!w) return true;
    const bool entered = WaitFor([w] { return w->underMouse(); });
    QWidget* window = w->window();
    QWindow* handle = window->windowHandle();
    if (!handle) return entered;
    const QPoint step = w->rect().contains(w->mapFromGlobal(p + QPoint(1, 0))) ? QPoint(1, 0) : QPoint(-1, 0);
    QTest::mouseMove(handle, window->mapFromGlobal(p + step));
    QTest::mouseMove(handle, window->mapFromGlobal(p));
    return entered;
}

// The same at point p of widget w, once its window shows.
inline bool MovePointer(QWidget* w, QPoint p) { return WaitExposed(w) && MovePointerTo(w->mapToGlobal(p)); }

// Runs then once condition holds, or once the limit passed, while the
// event loop that runs (a modal form's) goes on: for steps that act on a
// window when the desktop has made it active.
inline void WhenTrue(std::function<bool()> condition, std::function<void()> then, int limitMs = kWaitLimitMs) {
    // The application's child: freed with it when the program ends first.
    auto* poll = new QTimer(qApp);
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QObject::connect(poll, &QTimer::timeout, [poll, since, condition = std::move(condition), then = std::move(then), limitMs] {
        if (!condition() && since->elapsed() <= limitMs) return;
        poll->stop();
        poll->deleteLater();
        then();
    });
    poll->start(5);
}

// Runs then once the form is active (see WaitActive).
inline void WhenActive(TForm* f, std::function<void()> then) {
    WhenTrue([f] { return FormIsActive(f); }, std::move(then));
}

} // namespace testenv
