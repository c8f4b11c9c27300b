// Forms, MDI, the application object and the screen.
#include "platform/gui/Forms.h"

#include <QAbstractButton>
#include <QAbstractNativeEventFilter>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <map>
#include <string>
#include <xcb/xcb.h>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/ScopeGuard.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Help.h"
#include "platform/gui/Menus.h"

using namespace gebridge;

namespace {

TApplication* g_app = nullptr;
TScreen* g_screen = nullptr;

TForm* FormOfWidget(const QObject* w) { return dynamic_cast<TForm*>(ControlOfWidget(w)); }

TForm* FormOfSub(QMdiSubWindow* s) { return s ? FormOfWidget(s->widget()) : nullptr; }

// Hides a window, an MDI child's as the desktop's MDI client does: while the
// children are maximized, the child next in the pile takes over from a
// maximized one that goes, maximized too, as when the user moves from one
// child to another.
void HideWindow(QWidget* w) {
    auto* sub = qobject_cast<QMdiSubWindow*>(w);
    const bool maximized = sub && sub->isVisible() && sub->isMaximized();
    w->hide();
    QMdiArea* area = maximized ? sub->mdiArea() : nullptr;
    if (!area) return;
    const QList<QMdiSubWindow*> pile = area->subWindowList(QMdiArea::StackingOrder);
    for (auto it = pile.rbegin(); it != pile.rend(); ++it) {
        QMdiSubWindow* next = *it;
        if (next == sub || !next->isVisible() || next->isMinimized()) continue;
        area->setActiveSubWindow(next);
        if (next->windowFlags() & Qt::WindowMaximizeButtonHint) next->showMaximized();
        return;
    }
}

// Moves r so that it overlaps area: the right and bottom edges first, then
// the left and top ones, so that the top-left corner wins for a rectangle
// larger than the area.
TRect PullOnto(TRect r, const TRect& area) {
    TRect common;
    if (IntersectRect(common, r, area)) return r;
    if (r.Right > area.Right) OffsetRect(r, area.Right - r.Right, 0);
    if (r.Bottom > area.Bottom) OffsetRect(r, 0, area.Bottom - r.Bottom);
    if (r.Left < area.Left) OffsetRect(r, area.Left - r.Left, 0);
    if (r.Top < area.Top) OffsetRect(r, 0, area.Top - r.Top);
    return r;
}

bool IsTextEntry(QWidget* w) {
    if (!w) return false;
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
        qobject_cast<QAbstractSpinBox*>(w))
        return true;
    if (auto* cb = qobject_cast<QComboBox*>(w)) return cb->isEditable();
    // The viewport of a text editor has the focus proxy's parent as editor.
    if (w->parentWidget() && (qobject_cast<QPlainTextEdit*>(w->parentWidget()) || qobject_cast<QTextEdit*>(w->parentWidget())))
        return true;
    return false;
}

// The shortcut search of one key press (see Actions.h).
bool ShortCutHook(TControl* focus, WORD key, TShiftState shift) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    TShortCut s = ShortCut(key, shift);
    if (!s) return false;
    TForm* form = GetParentForm(focus);
    if (!form) return false;
    QWidget* top = focus->Widget() ? focus->Widget()->window() : nullptr;
    bool letter = IsLetterShortCut(s);
    bool typing = IsTextEntry(QApplication::focusWidget());
    auto tryForm = [&](TForm* f) {
        if (!f || !f->Enabled()) return false;
        bool letters = !typing && f->Widget() && f->Widget()->window() == top;
        if (letter && !letters) return false;
        return f->IsShortCut(key, shift, letters);
    };
    if (tryForm(form)) return true;
    if (form->FormStyle() == fsMDIChild) return tryForm(form->MDIParent());
    if (form->IsModal()) return false;
    TForm* main = Application->MainForm();
    if (main && main != form && main->Visible()) return tryForm(main);
    return false;
}

void HintHook(TControl* c) {
    // The hint of the control, or of the first parent that has one.
    AnsiString h;
    for (TControl* x = c; x; x = x->Parent())
        if (!x->Hint().IsEmpty()) {
            h = x->Hint();
            break;
        }
    Application->SetHint(GetLongHint(h));
}

} // namespace

// The Qt window of a form: the menu bar over the client area. Closing it by
// the title bar runs the form's Close.
class FormFrame : public ControlWidget {
public:
    explicit FormFrame(TForm* f) : form(f) {}
    TForm* form;
    QMenuBar* menuBar = nullptr;
    QWidget* client = nullptr;

    void LayOut() {
        // Not isVisible: a menu set before the window is shown takes its room
        // from the start.
        int mh = MenuHeight();
        if (menuBar) menuBar->setGeometry(0, 0, width(), mh);
        if (client) client->setGeometry(0, mh, width(), std::max(height() - mh, 0));
    }
    int MenuHeight() const { return menuBar && !menuBar->isHidden() ? menuBar->sizeHint().height() : 0; }

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        Dispatch([this] { form->Close(); });
        ScheduleIdle();
    }
    void resizeEvent(QResizeEvent* e) override {
        LayOut();
        ControlWidget::resizeEvent(e);
    }
};

namespace {

// How long a window the program asked to activate may wait for the
// desktop's answer before the windows active meanwhile count.
constexpr int kActivationAnswerMs = 1000;
// How often a request still unanswered is made again meanwhile.
constexpr int kAskAgainMs = 200;

bool Offscreen() { return QGuiApplication::platformName() == "offscreen"; }

// Decides which window of the program is active as the forms hear it
// (Screen->ActiveForm, OnActivate, OnDeactivate). On a desktop with a window
// manager the active window changes in steps the program did not choose:
// when the active window is hidden and another one shown, the manager first
// hands the focus to a window of its own choice and only then grants the
// activation asked for the new one. Forms that hide when another form
// becomes active would go on such a step. So while a window the program
// asked to activate waits for the desktop's answer (at most
// kActivationAnswerMs), other windows that become active are passed over;
// once it has come, or the wait is over, the window active then counts. An
// activation nobody asked for (the user's click) counts at once. Without a
// desktop (the offscreen platform) windows are active when asked.
//
// On an X server the answer is the server's focus arriving at the window, not
// Qt's active window: while one of its windows has the focus, Qt moves its
// active window to the one asked for at once and hears the server's focus
// later. Under load the server may still be handing the focus to a window
// asked for earlier; that late step would otherwise count as the user's. The
// manager grants requests in the order they were made, so the answer to the
// last one is its window's focus once every earlier request still open has
// had its own; a focus that comes out of that order was the server's before
// the request (an event read late). Qt moves its active window for the focus
// it has read some time later: an earlier window's turn is passed over then,
// and the request counts as answered only once Qt's focus is there too, so
// that a focus the server gave another window just before (the window the
// manager restores, then the one the program asks back) is not taken for
// the user's when Qt reaches it after the server's answer was read.
class ActivationWatch : public QObject, public QAbstractNativeEventFilter {
public:
    static ActivationWatch& Instance() {
        static auto* x = new ActivationWatch;
        return *x;
    }
    // With focusLeaving, the desktop is known to be moving its focus away
    // from the window (to one it restores): the window waits for the focus
    // to come back even when Qt still sees it there.
    void Ask(QWidget* window, bool focusLeaving = false) {
        // A window that a modal one keeps from the user is not the desktop's
        // to activate: asked for it, the desktop raises it above the modal
        // window, which then answers from behind it. The modal window in
        // front is asked for instead, as the desktop restores a program.
        window = gebridge::ActivationTarget(window);
        window->activateWindow();
        if (Offscreen()) return;
        focusLeaving = focusLeaving || FocusGone(window);
        QWindow* handle = window->windowHandle();
        // Qt forgets its active window when that window hides, and hears
        // nothing when the desktop's focus, which had not yet left it, is
        // there again once it shows: the window is active as the desktop says.
        if (handle && QGuiApplication::focusWindow() == handle && !focusLeaving) {
            Forget();
            if (window->isVisible() && QApplication::activeWindow() != window) QApplication::setActiveWindow(window);
            return;
        }
        // A window that a modal one keeps from the user waits for nothing.
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
            Forget();
            return;
        }
        wanted_ = window;
        std::erase(open_, window);
        open_.push_back(window);
        asked_.start();
        limit_.start(kActivationAnswerMs);
        again_.start(kAskAgainMs);
    }
    bool Pending() {
        if (!wanted_) return false;
        QWindow* handle = wanted_->windowHandle();
        // A window gone or hidden since it was asked for will not have the focus.
        std::erase_if(open_, [](const QPointer<QWidget>& w) { return !w || !w->isVisible(); });
        const bool answered = (!X11() || open_.empty()) && handle && QGuiApplication::focusWindow() == handle;
        if (answered || !wanted_->isVisible() || asked_.elapsed() >= kActivationAnswerMs) {
            Forget();
            return false;
        }
        return true;
    }
    // The program brings a minimized window back: the desktop took its focus
    // when it minimized it, whatever Qt, which may not have read that yet,
    // still believes. Until the server gives it the focus again (or the wait
    // is over), every request for the window waits for that focus, so that
    // the focus the desktop gave another window meanwhile, read late, is not
    // taken for the user turning away from the window just restored.
    void Restoring(QWidget* window) {
        if (Offscreen()) return;
        gone_ = window;
        goneSince_.start();
    }
    // No window waits for the desktop's answer any more.
    void Forget() {
        wanted_ = nullptr;
        open_.clear();
        limit_.stop();
        again_.stop();
    }
    void Settle() {
        QWidget* active = QApplication::activeWindow();
        if (asked_.isValid() && asked_.elapsed() >= kActivationAnswerMs) superseded_.clear();
        if (auto turn = std::find(superseded_.begin(), superseded_.end(), active); turn != superseded_.end()) {
            superseded_.erase(turn);
            return;
        }
        if (Pending() && active != wanted_) return;
        if (!active || !active->isVisible()) return;
        auto* frame = dynamic_cast<FormFrame*>(active);
        if (frame && frame->form->FormStyle() != fsMDIChild) Screen->FormActivated(frame->form);
    }

private:
    ActivationWatch() {
        limit_.setSingleShot(true);
        connect(&limit_, &QTimer::timeout, this, [this] { Settle(); });
        // While a window kept above the one asked for (a floating toolbar)
        // has the focus, Qt sets the focus itself instead of asking the
        // window manager, dated with the last time it heard of; the X server
        // ignores a change dated before the manager's last one. Such a
        // request is made again until Qt has heard of a later time. (One
        // that went to the window manager is not: it might grant it late,
        // after the program has moved on.)
        connect(&again_, &QTimer::timeout, this, [this] {
            if (!Pending()) return;
            QWindow* handle = wanted_->windowHandle();
            for (QWindow* w = QGuiApplication::focusWindow(); w && handle; w = w->transientParent())
                if (w->transientParent() == handle) {
                    wanted_->activateWindow();
                    return;
                }
        });
        // The desktop's answer: Qt moves its active window once the change
        // of focus is handled.
        if (X11()) qApp->installNativeEventFilter(this);
        if (!Offscreen())
            connect(qApp, &QGuiApplication::focusWindowChanged, this,
                    [this] { QTimer::singleShot(0, this, [this] { Settle(); }); });
    }
    // The X server's FocusIn event (core protocol, event code 9): detail at
    // byte 1, the window at bytes 4-7. Details 5-7 tell of the pointer's
    // window or of no window, not of the focus given to this one. The focus
    // answers the oldest open request when it reaches that one's window.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if ((!wanted_ && !gone_) || type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const unsigned char*>(message);
        constexpr unsigned char kFocusIn = 9, kNotifyPointer = 5;
        if ((event[0] & 0x7f) != kFocusIn || event[1] >= kNotifyPointer) return false;
        std::uint32_t window;
        std::memcpy(&window, event + 4, sizeof window);
        if (QWindow* restored = gone_ ? gone_->windowHandle() : nullptr; restored && window == restored->winId()) gone_ = nullptr;
        // Pending with no request open: the server answered, Qt's focus is still on the way.
        if (!Pending() || open_.empty()) return false;
        if (QWindow* oldest = open_.front()->windowHandle(); oldest && window == oldest->winId()) {
            if (open_.size() > 1) superseded_.push_back(open_.front());
            open_.erase(open_.begin());
        }
        return false;
    }
    static bool X11() { return QGuiApplication::platformName() == "xcb"; }
    bool FocusGone(QWidget* window) const {
        return gone_ == window && goneSince_.isValid() && goneSince_.elapsed() < kActivationAnswerMs;
    }

    QPointer<QWidget> wanted_;
    // The windows asked for whose focus the server has not yet given, in
    // the order asked (on X only); wanted_ is the last.
    std::vector<QPointer<QWidget>> open_;
    // Windows whose focus answered an earlier request after a later one was
    // made: Qt's activation of each, when it comes, is passed over.
    std::vector<QPointer<QWidget>> superseded_;
    QElapsedTimer asked_;
    // The window the program is bringing back from minimized, until the
    // server's focus reaches it.
    QPointer<QWidget> gone_;
    QElapsedTimer goneSince_;
    QTimer limit_;
    QTimer again_;
};

} // namespace

void gebridge::AskActivation(QWidget* window) { ActivationWatch::Instance().Ask(window->window()); }

QWidget* gebridge::ActivationTarget(QWidget* window) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window || !modal->isVisible() || !modal->windowHandle() || !window->windowHandle()) return window;
    if (modal->windowHandle()->isAncestorOf(window->windowHandle(), QWindow::IncludeTransients)) return window;
    return modal;
}

bool gebridge::ActivationPending() { return ActivationWatch::Instance().Pending(); }

void gebridge::SettleActivation() { ActivationWatch::Instance().Settle(); }

// Follows the Qt side of forms: activation, moves and sizes, MDI children.
struct FormEvents : QObject {
    bool eventFilter(QObject* o, QEvent* e) override {
        TForm* f = nullptr;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(o)) f = FormOfSub(sub);
        else f = dynamic_cast<FormFrame*>(o) ? static_cast<FormFrame*>(o)->form : nullptr;
        if (!f) return false;
        switch (e->type()) {
        case QEvent::WindowActivate:
            if (f->FormStyle() != fsMDIChild && o == f->Widget()) SettleActivation();
            break;
        case QEvent::Move:
        case QEvent::Resize: {
            QWidget* outer = f->subWindow_ ? f->subWindow_ : f->Widget();
            if (o != outer) break;
            QRect g = f->subWindow_ ? outer->geometry() : FrameGeometry(outer);
            if (!f->subWindow_ && !outer->isVisible()) g = outer->geometry();
            bool sized = g.width() != f->width_ || g.height() != f->height_;
            f->left_ = g.x();
            f->top_ = g.y();
            f->width_ = g.width();
            f->height_ = g.height();
            if (f->WindowState() == wsNormal) f->normalRect_ = f->ShownNormalRect();
            if (sized) Dispatch([f] { f->Perform(WM_SIZE); });
            break;
        }
        case QEvent::WindowStateChange: {
            QWidget* outer = f->subWindow_ ? f->subWindow_ : f->Widget();
            if (o != outer || !outer->isVisible()) break;
            const bool wasMinimized = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
            // The state the desktop gave the window is the one it keeps while hidden.
            f->pendingState_ = f->WindowState();
            if (f->pendingState_ == wsNormal) f->normalRect_ = f->ShownNormalRect();
            if (!f->subWindow_) GiveActivationBackOnRestore(f, wasMinimized);
            break;
        }
        default:
            break;
        }
        return false;
    }
    // A window of its own that the user minimizes while another window of the
    // program is active (the main window minimized from the taskbar, the
    // debugger in front) leaves that one active; restored, it gives the
    // activation back to it, as the desktop restores a program. A desktop that
    // activates the restored window on the way does not count: the other
    // window would take the step for the user's turning away from it (and hide,
    // if it hides then).
    static void GiveActivationBackOnRestore(TForm* f, bool wasMinimized) {
        const bool minimized = f->WindowState() == wsMinimized;
        if (minimized && !wasMinimized) {
            TForm* active = Screen->ActiveForm();
            f->activeAtMinimize_ = active != f ? active : nullptr;
            f->activeAtMinimizeAlive_ = active ? active->Alive() : std::weak_ptr<char>();
            return;
        }
        if (minimized || !wasMinimized) return;
        TForm* before = f->activeAtMinimize_;
        f->activeAtMinimize_ = nullptr;
        if (!before || f->activeAtMinimizeAlive_.expired() || before->Releasing() || !before->Showing()) return;
        if (before->WindowState() == wsMinimized || before->FormStyle() == fsMDIChild) return;
        // The desktop activates the restored window itself, just after.
        ActivationWatch::Instance().Ask(before->Widget(), true);
    }
    static FormEvents& Instance() {
        static FormEvents* x = new FormEvents;
        return *x;
    }
};

namespace {

// An atom of the X server (0 when there is none, or no X server), asked on
// Qt's own connection through the X library Qt has loaded: the program
// links none.
std::uint32_t XAtom(const char* name) {
    using InternAtom = xcb_intern_atom_cookie_t (*)(xcb_connection_t*, uint8_t, uint16_t, const char*);
    using InternAtomReply = xcb_intern_atom_reply_t* (*)(xcb_connection_t*, xcb_intern_atom_cookie_t, xcb_generic_error_t**);
    if (QGuiApplication::platformName() != "xcb") return 0;
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!xcb || !native) return 0;
    auto intern = reinterpret_cast<InternAtom>(dlsym(xcb, "xcb_intern_atom"));
    auto reply = reinterpret_cast<InternAtomReply>(dlsym(xcb, "xcb_intern_atom_reply"));
    dlclose(xcb);
    if (!intern || !reply) return 0;
    xcb_connection_t* server = native->connection();
    xcb_intern_atom_reply_t* r = reply(server, intern(server, 0, uint16_t(std::strlen(name)), name), nullptr);
    const std::uint32_t atom = r ? r->atom : 0;
    std::free(r);
    return atom;
}

// A window of the program that the desktop manages: not a drop-down list
// or a tool tip.
bool ManagedWindow(const QWidget* w) {
    if (!w || !w->isWindow()) return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool;
}

// A window of the program that the desktop shows and lists: a form's or a
// dialog's, not the window of a floating control (a pane, a toolbar, which
// follow their form).
bool ListedWindow(const QWidget* w) {
    if (!ManagedWindow(w)) return false;
    auto* control = dynamic_cast<const TWinControl*>(ControlOfWidget(w));
    return !control || !control->PopupWindow();
}

QWidget* TopLevelOf(const QWindow* window) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == window) return w;
    return nullptr;
}

// The modal windows open, from the one at the bottom (a dialog) to the one
// in front (a question it asked).
std::vector<QWidget*> ModalWindows() {
    std::vector<QWidget*> modal;
    QWidget* top = QApplication::activeModalWidget();
    for (QWindow* w = top ? top->windowHandle() : nullptr; w; w = w->transientParent())
        if (QWidget* widget = TopLevelOf(w); widget && widget->isModal() && widget->isVisible())
            modal.insert(modal.begin(), widget);
    return modal;
}

// Back from minimized, in the state it had before (maximized stays so).
void Unminimize(QWidget* w) {
    if (w && w->isVisible() && w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
}

// Keeps the program's modal windows (a form shown modally, a message box, a
// file dialog) within the user's reach whatever the desktop does with the
// program's windows. The windows under a modal one answer nothing, so that
// a modal window out of sight leaves a program that looks hung:
// - a modal window minimized takes the program's other windows along (a
//   desktop may leave them on the screen, answering nothing);
// - one of them restored (from a taskbar or the desktop's window list)
//   brings the modal windows back, the one in front active;
// - the modal windows stay above all of the program's windows: the desktop
//   may put a window the program shows meanwhile (a floating pane coming
//   back) above them, or a new modal window below a floating pane; while
//   the program is in the background they stay where they are;
// - a modal window closed while minimized gives back the windows it took
//   along and those it belongs to; one that a late desktop had yet to
//   minimize comes back once the desktop has;
// - the desktop's close of a window a modal one keeps from the user (which
//   Qt drops) brings the modal windows back in front: the question it
//   asks is answered first.
class ModalWatch : public QObject, public QAbstractNativeEventFilter {
    // How long a window given back waits for the desktop to carry out the
    // minimize asked for it before: one the desktop refused stays as it is.
    static constexpr int kLateMinimizeMs = 5000;

public:
    static ModalWatch& Instance() {
        static auto* x = new ModalWatch;
        return *x;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type type = e->type();
        if ((type != QEvent::WindowStateChange && type != QEvent::WindowActivate && type != QEvent::Hide) ||
            !o->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(o);
        if (!ManagedWindow(w)) return false;
        if (type == QEvent::WindowStateChange && !late_.empty()) Later(giveBackLate_, [this] { GiveBackLate(); });
        if (type == QEvent::Hide) {
            // A modal window closed while minimized: the windows it took
            // along come back, no later modal window will bring them.
            if (w->isModal() && !takenAlong_.empty()) Later(release_, [this] { ReleaseTakenAlong(); });
            return false;
        }
        if (!QApplication::activeModalWidget()) return false;
        if (type == QEvent::WindowActivate) {
            // The program in front again: the modal windows go above its
            // windows the desktop stacked meanwhile (a pane that came back).
            if (!Offscreen()) Later(raise_, [] { RaiseModalWindows(); });
            return false;
        }
        if (!ListedWindow(w) || !w->isVisible()) return false;
        const bool was = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
        const bool now = w->isMinimized();
        if (now && !was && w->isModal()) Later(minimize_, [this] { MinimizeProgram(); });
        else if (!now && was) Later(bringBack_, [this] { BringBack(); });
        return false;
    }
    // The X server's events (core protocol) about the program's windows: the
    // event code at byte 0. UnmapNotify (18) and MapNotify (19) name the
    // window at bytes 8-11: a modal window minimized is unmapped. FocusIn (9)
    // and FocusOut (10) name it at bytes 4-7, the detail at byte 1 (5-7: not
    // about the focus given to this window). A ClientMessage (33) of format
    // 32 names it at bytes 4-7, its message type at 8-11 and its first datum
    // at 12-15: WM_PROTOCOLS with WM_DELETE_WINDOW is the desktop's close.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const unsigned char*>(message);
        constexpr unsigned char kFocusIn = 9, kFocusOut = 10, kNotifyPointer = 5, kUnmapNotify = 18, kMapNotify = 19,
                                kClientMessage = 33;
        const unsigned char code = event[0] & 0x7f;
        auto windowAt = [event](int offset) {
            std::uint32_t window;
            std::memcpy(&window, event + offset, sizeof window);
            return window;
        };
        if (code == kUnmapNotify || code == kMapNotify) {
            const std::uint32_t window = windowAt(8);
            std::erase(unmapped_, window);
            // On the screen again: a minimize on its way was carried out and undone.
            if (code == kMapNotify)
                std::erase_if(late_, [window](const QPointer<QWidget>& w) { return !w || w->internalWinId() == window; });
            // A window of the program put on the screen while the program
            // is in front (a pane coming back, a new modal window): the
            // desktop has stacked it, and the modal windows go above it. In
            // the background they stay where they are: lifted, they would
            // cover another program's window.
            if (code == kMapNotify && WindowOfId(window) && QGuiApplication::focusWindow() &&
                QApplication::activeModalWidget())
                Later(raise_, [] { RaiseModalWindows(); });
            // Unmapped while Qt still shows it: minimized, not hidden by the program.
            if (QWindow* w = WindowOfId(window); code == kUnmapNotify && w && w->isVisible()) {
                unmapped_.push_back(window);
                if (w->modality() != Qt::NonModal) Later(minimize_, [this] { MinimizeProgram(); });
                if (!late_.empty()) Later(giveBackLate_, [this] { GiveBackLate(); });
            }
            return false;
        }
        QWindow* modal = QGuiApplication::modalWindow();
        if (!modal || !modal->handle()) return false;
        QWindow* target = code == kFocusIn || code == kFocusOut || code == kClientMessage ? WindowOfId(windowAt(4)) : nullptr;
        if (!target || target == modal || modal->isAncestorOf(target, QWindow::IncludeTransients)) return false;
        // A window under the modal one losing the focus that Qt has already
        // moved to the modal window (the program asked the desktop for it):
        // Qt would ask the desktop once more to activate the modal window.
        // On a slow desktop that request is answered after the user has
        // minimized the modal window, and brings it back with the program.
        if (code == kFocusOut && QGuiApplication::focusWindow() == modal) return true;
        // The focus the desktop hands on from a modal window it has just
        // minimized (with the window it belongs to) to another window of the
        // program: Qt would ask the desktop to activate the modal window
        // (still on the screen as far as Qt has heard), which would bring it
        // back. The program's other windows follow the modal one instead.
        if (code == kFocusIn && event[1] < kNotifyPointer && Unmapped(modal)) return true;
        if (code == kClientMessage && event[1] == 32 && deleteWindow_ && windowAt(8) == protocols_ && windowAt(12) == deleteWindow_)
            Later(bringBack_, [this] { BringBack(); });
        return false;
    }

private:
    ModalWatch() {
        qApp->installEventFilter(this);
        if (QGuiApplication::platformName() != "xcb") return;
        InternAtoms();
        qApp->installNativeEventFilter(this);
        tracked_ = true;
    }
    // The atoms of the desktop's close.
    void InternAtoms() {
        protocols_ = XAtom("WM_PROTOCOLS");
        deleteWindow_ = XAtom("WM_DELETE_WINDOW");
    }
    // Once the event is handled: a window may not change its state from
    // inside its own event. One call waits at a time.
    void Later(bool& waiting, std::function<void()> step) {
        if (waiting) return;
        waiting = true;
        QTimer::singleShot(0, this, [&waiting, step] {
            waiting = false;
            step();
        });
    }
    // The program's window with the X id, among those that have one.
    static QWindow* WindowOfId(std::uint32_t id) {
        for (QWindow* w : QGuiApplication::topLevelWindows())
            if (w->handle() && std::uint32_t(w->winId()) == id) return w;
        return nullptr;
    }
    static void RaiseModalWindows() {
        if (Offscreen()) return;
        for (QWidget* w : ModalWindows()) w->raise();
    }
    // Whether the X server has told that the desktop unmapped the window
    // (which Qt may not have heard of yet).
    bool Unmapped(QWindow* w) const {
        return w && w->handle() &&
               std::find(unmapped_.begin(), unmapped_.end(), std::uint32_t(w->winId())) != unmapped_.end();
    }
    void MinimizeProgram() {
        QWidget* modal = QApplication::activeModalWidget();
        // Minimized for Qt, and on X off the screen as the server last told:
        // Qt's state may lag behind a restore on its way.
        if (!modal || !modal->isMinimized() || (tracked_ && !Unmapped(modal->windowHandle()))) return;
        late_.clear();
        // The windows the modal ones belong to, which the desktop minimizes
        // with them, come back with those the program minimizes.
        for (QWidget* w : Owners(ModalWindows())) takenAlong_.emplace_back(w);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || w->isMinimized() || !ListedWindow(w)) continue;
            takenAlong_.emplace_back(w);
            w->showMinimized();
        }
    }
    void BringBack() {
        const std::vector<QWidget*> modal = ModalWindows();
        if (modal.empty()) return;
        // The windows the modal one took along come back under it: those the
        // program minimized, the main window, and the windows the modal ones
        // belong to (which the desktop minimizes with them).
        std::vector<QPointer<QWidget>> taken;
        taken.swap(takenAlong_);
        if (g_app && g_app->MainForm()) taken.emplace_back(g_app->MainForm()->Widget());
        for (QWidget* w : Owners(modal)) taken.emplace_back(w);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isModal()) taken.emplace_back(w);
        for (const QPointer<QWidget>& w : taken) Unminimize(w);
        RaiseModalWindows();
        AskActivation(modal.back());
    }
    // The windows the modal ones belong to.
    static std::vector<QWidget*> Owners(const std::vector<QWidget*>& modal) {
        std::vector<QWidget*> owners;
        for (QWidget* w : modal)
            for (QWindow* owner = w->windowHandle()->transientParent(); owner; owner = owner->transientParent())
                if (QWidget* o = TopLevelOf(owner)) owners.push_back(o);
        return owners;
    }
    void ReleaseTakenAlong() {
        if (QApplication::activeModalWidget()) return;
        std::vector<QPointer<QWidget>> taken;
        taken.swap(takenAlong_);
        for (const QPointer<QWidget>& w : taken) {
            // Still on the screen: the desktop has not yet minimized it (a
            // late one minimizes it still), or will not.
            if (tracked_ && w && w->isVisible() && !Unmapped(w->windowHandle())) late_.emplace_back(w);
            Unminimize(w);
        }
        lateSince_.start();
    }
    // The windows given back before the desktop minimized them come back
    // once it has: off the screen, and minimized as Qt has heard.
    void GiveBackLate() {
        if (lateSince_.elapsed() >= kLateMinimizeMs) late_.clear();
        std::erase_if(late_, [this](const QPointer<QWidget>& w) {
            if (!w || !w->isVisible()) return true;
            if (!w->isMinimized() || !Unmapped(w->windowHandle())) return false;
            Unminimize(w);
            return true;
        });
    }
    std::uint32_t protocols_ = 0;
    std::uint32_t deleteWindow_ = 0;
    // The windows the desktop has unmapped (minimized), as the X server
    // told of them.
    std::vector<std::uint32_t> unmapped_;
    // Whether the X server's events are watched.
    bool tracked_ = false;
    std::vector<QPointer<QWidget>> takenAlong_;
    // The windows given back while the desktop had yet to minimize them,
    // since lateSince_.
    std::vector<QPointer<QWidget>> late_;
    QElapsedTimer lateSince_;
    bool raise_ = false;
    bool giveBackLate_ = false;
    bool release_ = false;
    bool minimize_ = false;
    bool bringBack_ = false;
};

} // namespace

namespace {

// The 32-bit word of an X event at the offset (a window, an atom).
std::uint32_t EventWord(const unsigned char* event, int offset) {
    std::uint32_t value;
    std::memcpy(&value, event + offset, sizeof value);
    return value;
}

// The program's window of that X id, if it is one (a window gone since is none).
QWindow* ProgramWindow(std::uint32_t id) {
    if (!id) return nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle() && std::uint32_t(w->winId()) == id) return w;
    return nullptr;
}

// Qt hears the program's request to the desktop to activate a window (a
// message to the screen, which Qt listens to as well) and makes that window
// its active one at once. While a window of the program has the X server's
// focus, that only runs ahead of the desktop (see ActivationWatch). While
// none has (the active window has just gone), Qt is also waiting for the
// focus to come back to one of its windows, and deactivates the program
// when it has not within 0.1 s; the early activation does not end that
// wait. On a slow desktop the window asked for would be active, then the
// program inactive and active again once the desktop grants the request:
// its control would hear OnExit just after OnEnter. So while none of the
// program's windows has the server's focus, Qt does not hear the request:
// the window is active once the desktop gives it the focus.
class ActivationRequestWatch : public QAbstractNativeEventFilter {
public:
    // Installed before the other filters of the X server's events, it is
    // asked after them: it hears the events they let through to Qt.
    static void Install() {
        static auto* x = new ActivationRequestWatch;
        if (x->request_) return;
        x->request_ = XAtom("_NET_ACTIVE_WINDOW");
        if (x->request_) qApp->installNativeEventFilter(x);
    }
    // FocusIn (9) and FocusOut (10) name the window at bytes 4-7, the detail
    // at byte 1 (5: about the pointer's window, which Qt passes over). The
    // request is a ClientMessage (33) sent by a client (bit 7 of byte 0) of
    // format 32 (byte 1) naming the window at bytes 4-7, its type at 8-11.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const unsigned char*>(message);
        constexpr unsigned char kFocusIn = 9, kFocusOut = 10, kNotifyPointer = 5, kClientMessage = 33, kSent = 0x80;
        const unsigned char code = event[0] & 0x7f;
        auto at = [event](int offset) { return EventWord(event, offset); };
        if ((code == kFocusIn || code == kFocusOut) && event[1] != kNotifyPointer && ProgramWindow(at(4)))
            focused_ = code == kFocusIn ? at(4) : 0;
        return code == kClientMessage && (event[0] & kSent) && event[1] == 32 && at(8) == request_ &&
               ProgramWindow(at(4)) && !ProgramWindow(focused_);
    }

private:
    std::uint32_t request_ = 0;
    // The program's window that has the server's focus, as the events Qt
    // handles tell; 0 for none.
    std::uint32_t focused_ = 0;
};

// Qt knows which of its windows is active from the X server's focus events.
// When its active window hides, Qt forgets it and waits a moment for the
// focus to come to another window of the program, taking the program for
// inactive when none comes. But the server's focus may not have left another
// window of the program at all: Qt makes a window active as soon as it hears
// the program ask the desktop for it (while one of its windows has the
// focus), and that window may hide before the desktop grants the request (a
// dialog closed at once). No focus event comes then, and the program would
// stay inactive, its floating panes hidden, while the server's focus is on
// its own window. So whenever Qt's active window goes away (hidden, or Qt's
// wait over), the server is asked where its focus is; on a shown window of
// the program, Qt hears the focus event it missed. The event goes round the
// server to the program alone, so it comes after every event the server had
// for the program before; when it comes, the focus is asked again, and one
// that has moved on meanwhile (its events already came) lets it drop.
class ServerFocusWatch : public QObject, public QAbstractNativeEventFilter {
public:
    // One for the program's life; kept where a leak check sees it.
    static ServerFocusWatch& Install() {
        static auto* x = new ServerFocusWatch;
        return *x;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Hide || !o->isWidgetType()) return false;
        const auto* w = static_cast<QWidget*>(o);
        if (w->isWindow() && w->windowHandle() && w->windowHandle() == focus_) Check();
        return false;
    }
    // The FocusIn event (code 9, sent: bit 7) the program sent itself, naming
    // the window at bytes 4-7.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (sent_.empty() || type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const unsigned char*>(message);
        constexpr unsigned char kFocusIn = 9, kSent = 0x80;
        if (event[0] != (kFocusIn | kSent)) return false;
        const std::uint32_t window = EventWord(event, 4);
        const auto mine = std::find(sent_.begin(), sent_.end(), window);
        if (mine == sent_.end()) return false;
        sent_.erase(mine);
        return ServerFocus() != window;
    }

private:
    ServerFocusWatch() {
        if (QGuiApplication::platformName() != "xcb") return;
        auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        if (!xcb || !native) return;
        Load(xcb, send_, "xcb_send_event");
        Load(xcb, flush_, "xcb_flush");
        Load(xcb, askFocus_, "xcb_get_input_focus");
        Load(xcb, focusReply_, "xcb_get_input_focus_reply");
        dlclose(xcb);
        if (!send_ || !flush_ || !askFocus_ || !focusReply_) return;
        server_ = native->connection();
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
            focus_ = w;
            if (!w) Check();
        });
    }
    void Check() {
        const xcb_window_t window = ServerFocus();
        QWindow* focused = ProgramWindow(window);
        QWidget* top = focused ? TopLevelOf(focused) : nullptr;
        if (!top || !top->isVisible() || top->isMinimized()) return;
        xcb_focus_in_event_t event{};
        event.response_type = XCB_FOCUS_IN;
        event.detail = XCB_NOTIFY_DETAIL_NONLINEAR;
        event.event = window;
        event.mode = XCB_NOTIFY_MODE_NORMAL;
        sent_.push_back(window);
        // Asked first, before the filters that follow the focus.
        qApp->installNativeEventFilter(this);
        send_(server_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        flush_(server_);
    }
    // The window that has the server's input focus now, after every request
    // made before (0 for none, 1 for the pointer's root).
    xcb_window_t ServerFocus() const {
        xcb_window_t window = 0;
        if (xcb_get_input_focus_reply_t* r = focusReply_(server_, askFocus_(server_), nullptr)) {
            window = r->focus;
            std::free(r);
        }
        return window;
    }
    template <class F>
    static void Load(void* library, F& f, const char* name) {
        f = reinterpret_cast<F>(dlsym(library, name));
    }

    // The calls of the X library Qt has loaded, on Qt's own connection (the
    // program links none).
    xcb_connection_t* server_ = nullptr;
    xcb_void_cookie_t (*send_)(xcb_connection_t*, uint8_t, xcb_window_t, uint32_t, const char*) = nullptr;
    int (*flush_)(xcb_connection_t*) = nullptr;
    xcb_get_input_focus_cookie_t (*askFocus_)(xcb_connection_t*) = nullptr;
    xcb_get_input_focus_reply_t* (*focusReply_)(xcb_connection_t*, xcb_get_input_focus_cookie_t, xcb_generic_error_t**) = nullptr;
    // Qt's focus window, as last told.
    QPointer<QWindow> focus_;
    // The windows the program told itself have the focus, until the events come.
    std::vector<std::uint32_t> sent_;
};

} // namespace

namespace gebridge {

namespace {

bool StaysOnTop(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return (w->windowFlags() & Qt::WindowStaysOnTopHint) && type != Qt::Popup && type != Qt::ToolTip;
}

// Whether w stays on top of the others or is kept above a window that does
// (a dialog opened from the element list, and one opened from that).
bool AboveTheOthers(const QWidget* w) {
    for (int depth = 0; w && depth < 16; ++depth) {
        if (StaysOnTop(w)) return true;
        const QWindow* owner = w->windowHandle() ? w->windowHandle()->transientParent() : nullptr;
        w = owner ? TopLevelOf(owner) : nullptr;
    }
    return false;
}

} // namespace

QWidget* StayOnTopOwner(const QWidget* dialog) {
    QWidget* active = QApplication::activeWindow();
    if (active && active != dialog && active->isVisible() && AboveTheOthers(active)) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != dialog && w->isVisible() && StaysOnTop(w)) return w;
    return nullptr;
}

QWidget* ModalOwner(const QWidget* dialog) {
    // Made with the application object; here only for a dialog run before
    // there is one.
    ModalWatch::Instance();
    if (QWidget* owner = StayOnTopOwner(dialog)) return owner;
    QWidget* main = g_app && g_app->MainForm() ? g_app->MainForm()->Widget() : nullptr;
    for (QWidget* w : {QApplication::activeWindow(), QApplication::activeModalWidget(), main})
        if (w && w != dialog && w->isVisible() && !w->isMinimized() && ListedWindow(w)) return w;
    return nullptr;
}

QWidget* DialogParent() { return ModalOwner(nullptr); }

} // namespace gebridge

// ---- TForm -------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    auto* frame = new FormFrame(this);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* client = new ControlWidget(frame);
    surface_ = new Surface(this);
    surface_->painter = [this] {
        TCanvas* c = surface_->Canvas();
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(ClientRect());
        if (OnPaint) OnPaint(this);
    };
    client->surface = surface_;
    TrackSurface(surface_, client);
    frame->client = client;
    left_ = 0;
    top_ = 0;
    width_ = 320;
    height_ = 240;
    frame->resize(width_, height_);
    frame->installEventFilter(&FormEvents::Instance());
    AttachWidget(frame);
    SetClientWidgetOf(client);
    frame->LayOut();
    normalRect_ = Bounds(left_, top_, width_, height_);
    Screen->AddForm(this);
}

TForm::~TForm() {
    Destroying();
    // OnDestroy runs from BeforeDestruction (Free, the owner, Release, the
    // application), while the whole form still exists. By now the parts of a
    // derived form are gone, so a handler that was not run cannot run safely.
    destroyed_ = true;
    if (g_screen) Screen->FormGone(this);
    if (g_app && Application->MainForm() == this) Application->SetMainForm(nullptr);
    DestroyChildren();
    if (menuBar_) menuBar_ = nullptr;
    Unregister(client_);
    QWidget* sub = subWindow_;
    subWindow_ = nullptr;
    if (sub) {
        static_cast<QMdiSubWindow*>(sub)->setWidget(nullptr);
        DestroyWidget();
        delete sub;
        // The frame's commands follow its children: one fewer now.
        ScheduleIdle();
    } else {
        DestroyWidget();
    }
    delete surface_;
}

TCanvas* TForm::Canvas() { return surface_->Canvas(); }

void TForm::Invalidate() {
    surface_->MarkDirty();
    if (client_) client_->update();
}

void TForm::DoCreate() {
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
    if (formStyle_ == fsMDIChild) Show();
}

void TForm::DoDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (OnDestroy) Dispatch([this] { OnDestroy(this); });
}

void TForm::ApplyText() {
    if (QWidget* w = Widget()) w->setWindowTitle(ToQString(text_));
    if (subWindow_) subWindow_->setWindowTitle(ToQString(text_));
}

void TForm::SetFormStyle(TFormStyle s) {
    if (s == formStyle_) return;
    auto* frame = static_cast<FormFrame*>(Widget());
    if (formStyle_ == fsMDIChild || formStyle_ == fsMDIForm) throw EInvalidOperation("Cannot change the style of an MDI form");
    if (s == fsMDIChild) {
        TForm* main = Application->MainForm();
        if (!main || main->FormStyle() != fsMDIForm || !main->mdiArea_)
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        formStyle_ = s;
        auto* sub = new QMdiSubWindow;
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->setWidget(frame);
        sub->setWindowTitle(ToQString(text_));
        // The program has no icon of its own: the caption shows none rather
        // than the toolkit's logo (the system menu stays where it would be).
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        sub->setWindowIcon(QIcon(blank));
        main->mdiArea_->addSubWindow(sub);
        sub->installEventFilter(&FormEvents::Instance());
        subWindow_ = sub;
        sub->resize(width_, height_);
        visible_ = false;
        QRect g = sub->geometry();
        left_ = g.x();
        top_ = g.y();
        return;
    }
    formStyle_ = s;
    if (s == fsMDIForm) {
        auto* area = new QMdiArea(client_);
        area->setBackground(ToQColor(clAppWorkSpace));
        area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
        mdiArea_ = area;
        area->show();
        QObject::connect(area, &QMdiArea::subWindowActivated, [this](QMdiSubWindow* sub) {
            TForm* child = FormOfSub(sub);
            if (!child || child == currentChild_) return;
            TForm* old = currentChild_;
            currentChild_ = child;
            // The children and the frame hear the change as from the MDI
            // client: WParam the child deactivated, LParam the one activated.
            Dispatch([&] {
                if (old) old->Perform(WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
                child->Perform(WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
                Perform(WM_MDIACTIVATE, WPARAM(old), LPARAM(child));
            });
            Dispatch([&] {
                if (old) old->DoDeactivate();
                child->DoActivate();
            });
            Screen->FormActivated(child);
            ScheduleIdle();
        });
        Realign();
    }
    ApplyWindowFlags();
}

void TForm::SetBorderStyle(TBorderStyle s) {
    borderStyle_ = s;
    ApplyWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons b) {
    borderIcons_ = b;
    ApplyWindowFlags();
}

namespace {

// Openbox takes the buttons of a window's title bar from the window's type:
// it reads the motif hints Qt writes from the form's border icons but lets
// them take no button away, so a dialog without the two icons would still
// offer to minimize (and, while it may be resized, to maximize) it. A
// toolbar's type offers neither; listed ahead of the dialog type Qt gives the
// window, it is the one openbox takes. Other window managers follow the
// motif hints, and some draw a toolbar without a title bar: the type is
// changed under openbox only. What goes to the X server goes on Qt's own
// connection through the X library Qt has loaded (the program links none),
// again whenever Qt has written the type.
void TypeWithoutFrameButtons(QWidget* w) {
    using ChangeProperty = xcb_void_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, xcb_atom_t, xcb_atom_t, uint8_t,
                                                 uint32_t, const void*);
    using GetProperty = xcb_get_property_cookie_t (*)(xcb_connection_t*, uint8_t, xcb_window_t, xcb_atom_t, xcb_atom_t,
                                                      uint32_t, uint32_t);
    using GetPropertyReply = xcb_get_property_reply_t* (*)(xcb_connection_t*, xcb_get_property_cookie_t, xcb_generic_error_t**);
    using PropertyValue = void* (*)(const xcb_get_property_reply_t*);
    using PropertyLength = int (*)(const xcb_get_property_reply_t*);
    using GetSetup = const xcb_setup_t* (*)(xcb_connection_t*);
    using RootsIterator = xcb_screen_iterator_t (*)(const xcb_setup_t*);
    if (QGuiApplication::platformName() != "xcb") return;
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!xcb || !native) return;
    auto change = reinterpret_cast<ChangeProperty>(dlsym(xcb, "xcb_change_property"));
    auto get = reinterpret_cast<GetProperty>(dlsym(xcb, "xcb_get_property"));
    auto getReply = reinterpret_cast<GetPropertyReply>(dlsym(xcb, "xcb_get_property_reply"));
    auto value = reinterpret_cast<PropertyValue>(dlsym(xcb, "xcb_get_property_value"));
    auto length = reinterpret_cast<PropertyLength>(dlsym(xcb, "xcb_get_property_value_length"));
    auto setup = reinterpret_cast<GetSetup>(dlsym(xcb, "xcb_get_setup"));
    auto roots = reinterpret_cast<RootsIterator>(dlsym(xcb, "xcb_setup_roots_iterator"));
    dlclose(xcb);
    if (!change || !get || !getReply || !value || !length || !setup || !roots) return;
    xcb_connection_t* server = native->connection();
    // The bytes of a property of a window ("" when it has none).
    auto bytes = [&](xcb_window_t window, std::uint32_t property, std::uint32_t type) {
        std::string text;
        if (xcb_get_property_reply_t* r = getReply(server, get(server, 0, window, property, type, 0, 64), nullptr)) {
            text.assign(static_cast<const char*>(value(r)), std::size_t(length(r)));
            std::free(r);
        }
        return text;
    };
    // The window manager names itself on the window the root's
    // _NET_SUPPORTING_WM_CHECK points to.
    const std::uint32_t check = XAtom("_NET_SUPPORTING_WM_CHECK");
    const std::string manager = bytes(roots(setup(server)).data->root, check, XCB_ATOM_WINDOW);
    if (manager.size() != sizeof(xcb_window_t)) return;
    xcb_window_t managerWindow;
    std::memcpy(&managerWindow, manager.data(), sizeof managerWindow);
    if (bytes(managerWindow, XAtom("_NET_WM_NAME"), XAtom("UTF8_STRING")) != "Openbox") return;
    const std::uint32_t types[] = {XAtom("_NET_WM_WINDOW_TYPE_TOOLBAR"), XAtom("_NET_WM_WINDOW_TYPE_DIALOG")};
    const std::uint32_t property = XAtom("_NET_WM_WINDOW_TYPE");
    if (!types[0] || !types[1] || !property) return;
    change(server, XCB_PROP_MODE_REPLACE, xcb_window_t(w->winId()), property, XCB_ATOM_ATOM, 32, 2, types);
}

} // namespace

bool TForm::WithoutFrameButtons() const {
    // A dialog border offers neither button whatever the icons hold, as
    // ApplyWindowFlags gives it.
    const bool sized = borderStyle_ != bsDialog && (borderIcons_ & (biMinimize | biMaximize));
    return !subWindow_ && borderStyle_ != bsNone && !sized;
}

void TForm::ApplyWindowFlags() {
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (!w) return;
    bool wasVisible = w->isVisible();
    Qt::WindowFlags f;
    if (subWindow_) f = Qt::SubWindow;
    else if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) f = Qt::Tool;
    else if (borderStyle_ == bsDialog || modalDialog_) f = Qt::Dialog;
    else f = Qt::Window;
    if (borderStyle_ == bsNone) f |= Qt::FramelessWindowHint;
    else {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((borderIcons_ & biMinimize) && borderStyle_ != bsDialog) f |= Qt::WindowMinimizeButtonHint;
        if ((borderIcons_ & biMaximize) && borderStyle_ != bsDialog) f |= Qt::WindowMaximizeButtonHint;
    }
    if (formStyle_ == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    w->setWindowFlags(f);
    if (WithoutFrameButtons() && w->testAttribute(Qt::WA_WState_Created)) TypeWithoutFrameButtons(w);
    if (wasVisible) w->show();
}

TWindowState TForm::WindowState() const {
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (!w || !w->isVisible()) return pendingState_;
    if (w->isMinimized()) return wsMinimized;
    if (w->isMaximized()) return wsMaximized;
    return wsNormal;
}

void TForm::SetWindowState(TWindowState s) {
    pendingState_ = s;
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (!w || !w->isVisible()) return;
    if (s != wsMinimized && !subWindow_ && w->isMinimized()) ActivationWatch::Instance().Restoring(w);
    switch (s) {
    case wsNormal: w->showNormal(); break;
    case wsMinimized: w->showMinimized(); break;
    case wsMaximized: w->showMaximized(); break;
    }
}

void TForm::SetMenu(TMainMenu* m) {
    menu_ = m;
    auto* frame = static_cast<FormFrame*>(Widget());
    if (!m) {
        if (frame->menuBar) frame->menuBar->hide();
    } else {
        if (!frame->menuBar) {
            frame->menuBar = new QMenuBar(frame);
            frame->menuBar->setNativeMenuBar(false);
            menuBar_ = frame->menuBar;
        }
        m->FillMenuBar(frame->menuBar);
        frame->menuBar->show();
    }
    frame->LayOut();
    Realign();
}

TWinControl* TForm::ActiveControl() const {
    if (QWidget* f = QApplication::focusWidget()) {
        TControl* c = ControlAround(f);
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc != this && GetParentForm(wc) == this) return wc;
    }
    return activeControl_;
}

void TForm::SetActiveControl(TWinControl* c) {
    activeControl_ = c;
    if (c && Widget() && Widget()->isVisible() && c->CanFocus()) c->SetFocus();
}

TRect TForm::ShownNormalRect() const {
    if (subWindow_) return FromQRect(subWindow_->geometry());
    QWidget* w = Widget();
    return Bounds(w->pos().x(), w->pos().y(), w->width(), w->height());
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TSize frame = FrameSize();
    width = std::max(width - frame.cx, 0);
    height = std::max(height - frame.cy, 0);
    constraints_->Apply(width, height);
    width += frame.cx;
    height += frame.cy;
    bool sized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (subWindow_) {
        subWindow_->setGeometry(left, top, width, height);
    } else if (QWidget* w = Widget()) {
        QSize extra = w->isVisible() ? FrameGeometry(w).size() - w->geometry().size() : QSize(0, 0);
        // A window on the screen asked to stay where it is is not moved: a
        // move made before the toolkit has heard of the desktop's frame takes
        // the place for the window's inside, and the window would jump by
        // its frame.
        if (!w->isVisible() || w->pos() != QPoint(left, top)) w->move(left, top);
        const QSize inner(std::max(width - extra.width(), 0), std::max(height - extra.height(), 0));
        // A form with a fixed border is fixed for the user, not for the program.
        if (w->minimumSize() == w->maximumSize()) w->setFixedSize(inner);
        else w->resize(inner);
    }
    if (WindowState() == wsNormal) normalRect_ = Bounds(left, top, width - frame.cx, height - frame.cy);
    if (sized) Perform(WM_SIZE);
}

TSize TForm::FrameSize() const {
    QWidget* w = Widget();
    if (subWindow_ || !w || !w->isVisible()) return TSize(0, 0);
    QSize extra = FrameGeometry(w).size() - w->geometry().size();
    return TSize(extra.width(), extra.height());
}

void TForm::ApplyConstraints() {
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (!w) return;
    // A fixed frame keeps the size it was shown with.
    bool fixed = !subWindow_ && w->isVisible() &&
                 (borderStyle_ == bsSingle || borderStyle_ == bsDialog || borderStyle_ == bsToolWindow);
    if (fixed) return;
    TControl::ApplyConstraints();
}

int TForm::ClientWidth() const {
    if (QWidget* c = ClientWidget()) return c->width();
    return width_;
}

int TForm::ClientHeight() const {
    if (QWidget* c = ClientWidget()) return c->height();
    return height_;
}

TSize TForm::OuterSize() const {
    // Width and Height may still hold the size from before the first show,
    // without the window system's frame; SetBounds takes the size with it.
    if (subWindow_) return TSize(subWindow_->width(), subWindow_->height());
    QWidget* w = Widget();
    if (!w) return TSize(width_, height_);
    QSize s = w->isVisible() ? FrameGeometry(w).size() : w->size();
    return TSize(s.width(), s.height());
}

void TForm::SetClientWidth(int v) {
    TSize outer = OuterSize();
    SetBounds(left_, top_, v + outer.cx - ClientWidth(), outer.cy);
}

void TForm::SetClientHeight(int v) {
    TSize outer = OuterSize();
    SetBounds(left_, top_, outer.cx, v + outer.cy - ClientHeight());
}

TPoint TForm::ClientOrigin() const { return TWinControl::ClientOrigin(); }

TRect TForm::AlignRect() const { return TWinControl::AlignRect(); }

void TForm::AlignControls(TRect& rect) {
    TWinControl::AlignControls(rect);
    // The MDI client takes what the aligned controls leave.
    if (mdiArea_) {
        TRect r = AlignRect();
        for (TControl* c : controls_) {
            if (!c->Visible()) continue;
            switch (c->Align()) {
            case alTop: r.Top = std::max(r.Top, c->Top() + c->Height()); break;
            case alBottom: r.Bottom = std::min(r.Bottom, c->Top()); break;
            case alLeft: r.Left = std::max(r.Left, c->Left() + c->Width()); break;
            case alRight: r.Right = std::min(r.Right, c->Left()); break;
            default: break;
            }
        }
        mdiArea_->setGeometry(ToQRect(r));
    }
}

TForm* TForm::MDIParent() const {
    if (!subWindow_) return nullptr;
    for (QWidget* w = subWindow_->parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QMdiArea*>(w))
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i)->mdiArea_ == area) return Screen->Forms(i);
    return nullptr;
}

void TForm::PlaceChildOnFirstShow() {
    if (position_ != poDefault && position_ != poDefaultPosOnly) return;
    TForm* frame = MDIParent();
    if (!frame || !frame->mdiArea_) return;
    // As the system places a child it is free to place: each one a title bar
    // below and right of the one before, inside the frame's client area; at
    // the system's size (poDefault) no larger than the room left there.
    const QSize area = frame->mdiArea_->viewport()->size();
    int others = 0;
    for (QMdiSubWindow* s : frame->mdiArea_->subWindowList())
        if (s != subWindow_ && s->isVisible()) ++others;
    const int step = std::max(subWindow_->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subWindow_), 8);
    const int steps = std::clamp(std::min(area.width(), area.height()) / 2 / step, 1, 8);
    const int offset = (others % steps) * step;
    int w = width_, h = height_;
    if (position_ == poDefault) {
        w = std::min(w, area.width() - offset);
        h = std::min(h, area.height() - offset);
    }
    const int left = std::max(std::min(offset, area.width() - w), 0);
    const int top = std::max(std::min(offset, area.height() - h), 0);
    SetBounds(left, top, std::max(w, 1), std::max(h, 1));
}

void TForm::PlaceOnFirstShow() {
    if (placed_) return;
    placed_ = true;
    if (subWindow_) {
        PlaceChildOnFirstShow();
        return;
    }
    TRect area = Screen->WorkAreaRect();
    TRect desk = Screen->DesktopRect();
    auto centreIn = [&](const TRect& a) {
        SetBounds(a.Left + (a.Width() - width_) / 2, a.Top + (a.Height() - height_) / 2, width_, height_);
    };
    switch (position_) {
    case poScreenCenter: centreIn(area); break;
    case poDesktopCenter: centreIn(desk); break;
    case poMainFormCenter:
    case poOwnerFormCenter:
        if (TForm* m = Application->MainForm(); m && m != this) centreIn(m->BoundsRect());
        else centreIn(area);
        break;
    case poDefault:
    case poDefaultPosOnly: {
        static int cascade = 0;
        cascade = (cascade + 1) % 8;
        SetBounds(area.Left + 24 * cascade, area.Top + 24 * cascade, width_, height_);
        break;
    }
    default:
        break;
    }
}

void TForm::ShowWidget() {
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    // Typed before the desktop takes the window on (the native window is
    // made here when it is not yet).
    if (WithoutFrameButtons()) TypeWithoutFrameButtons(w);
    switch (pendingState_) {
    case wsMinimized: w->showMinimized(); break;
    case wsMaximized: w->showMaximized(); break;
    default: w->show(); break;
    }
    if (subWindow_) {
        Widget()->show();
        if (auto* area = MDIParent() ? MDIParent()->mdiArea_ : nullptr)
            area->setActiveSubWindow(static_cast<QMdiSubWindow*>(subWindow_));
    }
    if (borderStyle_ == bsSingle || borderStyle_ == bsDialog || borderStyle_ == bsToolWindow) {
        if (!subWindow_) Widget()->setFixedSize(Widget()->size());
    }
}

namespace {

void ActivatePreviousForm() {
    // Once the hiding is over: a window shown in the meantime (one that
    // takes over from the hidden one) keeps the activation.
    PostCall([] {
        QWidget* active = QApplication::activeWindow();
        if (Screen->ActiveForm() || (active && active->isVisible()) || ActivationPending()) return;
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TForm* f = Screen->Forms(i);
            if (f->FormStyle() == fsMDIChild || !f->Visible() || !f->Widget()->isVisible()) continue;
            AskActivation(f->Widget());
            if (QGuiApplication::platformName() == "offscreen") QApplication::setActiveWindow(f->Widget());
            return;
        }
    });
}

} // namespace

void TForm::SetVisible(bool v) {
    if (v == visible_ && (!v || (Widget() && (subWindow_ ? subWindow_ : Widget())->isVisible()))) return;
    visible_ = v;
    if (v) {
        PlaceOnFirstShow();
        shownOnce_ = true;
        DoShow();
        if (!visible_) return;
        ShowWidget();
        if (!subWindow_) {
            if (!Offscreen()) Widget()->raise();
            AskActivation(Widget());
            if (Offscreen()) QApplication::setActiveWindow(Widget());
        }
        if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
        ScheduleIdle();
    } else {
        const bool wasActive = !subWindow_ && Screen->ActiveForm() == this;
        // A hidden window keeps the state it was shown in (maximized by the user too).
        pendingState_ = WindowState();
        DoHide();
        QWidget* w = subWindow_ ? subWindow_ : Widget();
        if (w) HideWindow(w);
        if (Screen->ActiveForm() == this) Screen->FormGone(this), Screen->AddForm(this);
        // As the desktop does when the active window goes: the window of the
        // program that was active before it takes over (without a window
        // manager nobody else would).
        if (wasActive) ActivatePreviousForm();
        ScheduleIdle();
        // The window that became active meanwhile counts once the hidden
        // one no longer waits for the desktop's answer.
        if (!Offscreen()) PostCall([] { SettleActivation(); });
    }
}

void TForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TForm::Hide() { SetVisible(false); }

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TForm::DoActivate() {
    if (OnActivate) OnActivate(this);
}

void TForm::DoDeactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

bool TForm::CloseQuery() {
    if (formStyle_ == fsMDIForm) {
        for (int i = 0; i < MDIChildCount(); ++i)
            if (!MDIChildren(i)->CloseQuery()) return false;
    }
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

int TForm::ShowModal() {
    if (Visible() && Widget()->isVisible()) throw EInvalidOperation("Cannot make a visible window modal");
    if (formStyle_ == fsMDIChild) throw EInvalidOperation("Cannot make an MDI child modal");
    ++modalLevel_;
    ModalResult = mrNone;
    BeginModalWindow(ModalOwner(Widget()));
    Widget()->setWindowModality(Qt::ApplicationModal);
    QPointer<QWidget> activeBefore = QApplication::activeWindow();
    TCloseAction action = caHide;
    // A modal run that fails leaves the form modeless and the windows under
    // it usable again.
    TScopeGuard failed([this] {
        --modalLevel_;
        Widget()->setWindowModality(Qt::NonModal);
        EndModalWindow();
    });
    Show();
    if (Application->OnModalStart) Application->OnModalStart(this);
    for (;;) {
        while (ModalResult == mrNone && !Application->Terminated() && Widget()->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (ModalResult == mrNone) ModalResult = mrCancel;
        if (Application->Terminated()) break;
        action = caNone;
        bool can = false;
        Dispatch([&] { can = CloseQuery(); });
        if (can) {
            action = caHide;
            Dispatch([&] { DoClose(action); });
        }
        if (action != caNone) break;
        ModalResult = mrNone;
    }
    failed.Dismiss();
    Hide();
    Widget()->setWindowModality(Qt::NonModal);
    EndModalWindow();
    --modalLevel_;
    // The window that was active before the dialog is active again, so that
    // keys go on reaching it (the window system may choose another one).
    if (activeBefore && activeBefore != Widget() && activeBefore->isVisible()) {
        AskActivation(activeBefore);
        if (QGuiApplication::platformName() == "offscreen") QApplication::setActiveWindow(activeBefore);
    }
    int result = ModalResult;
    if (action == caFree) Release();
    ScheduleIdle();
    return result;
}

void TForm::BeginModalWindow(QWidget* owner) {
    // The desktop keeps a dialog above the window it belongs to, and in that
    // window's layer: over a window that stays on top (the element list) a
    // dialog belonging to it shows above it, where an ordinary window would
    // open hidden beneath it, holding the keyboard. A modal dialog of the
    // window it belongs to stays above that window's floating panes too, and
    // is minimized and restored with it. Without an owner the dialog belongs
    // to the program's windows as a whole.
    if (!modalDialog_ && Widget()->windowType() == Qt::Window) {
        modalDialog_ = true;
        ApplyWindowFlags();
    }
    if (owner) {
        Widget()->createWinId();
        Widget()->windowHandle()->setTransientParent(owner->windowHandle());
    }
}

void TForm::EndModalWindow() {
    if (QWindow* w = Widget()->windowHandle(); w && w->transientParent()) w->setTransientParent(nullptr);
    if (!modalDialog_) return;
    modalDialog_ = false;
    ApplyWindowFlags();
}

void TForm::Close() {
    if (modalLevel_ > 0) {
        ModalResult = mrCancel;
        return;
    }
    if (closing_ || releasing_) return;
    closing_ = true;
    if (formStyle_ == fsMDIChild) {
        // The child to be closed is first made the active one.
        if (TForm* frame = MDIParent(); frame && frame->mdiArea_)
            frame->mdiArea_->setActiveSubWindow(static_cast<QMdiSubWindow*>(subWindow_));
    }
    TCloseAction action = caNone;
    bool can = false;
    {
        TScopeGuard closed([this] { closing_ = false; });
        can = CloseQuery();
        if (can) {
            action = formStyle_ == fsMDIChild ? ((borderIcons_ & biMinimize) ? caMinimize : caNone) : caHide;
            DoClose(action);
        }
    }
    if (!can) return;
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
    if ((action == caHide || action == caFree) && Application->MainForm() == this) Application->Terminate();
}

void TForm::Release() {
    if (releasing_) return;
    releasing_ = true;
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (w) HideWindow(w);
    if (subWindow_) Widget()->hide();
    std::weak_ptr<char> alive = Alive();
    PostCall([this, alive] {
        if (alive.expired()) return;
        DoDestroy();
        delete this;
    });
}

void TForm::BringToFront() {
    if (subWindow_) {
        if (TForm* frame = MDIParent(); frame && frame->mdiArea_)
            frame->mdiArea_->setActiveSubWindow(static_cast<QMdiSubWindow*>(subWindow_));
        subWindow_->raise();
    } else if (QWidget* w = Widget()) {
        if (!Offscreen()) w->raise();
        AskActivation(w);
    }
}

void TForm::SetFocus() {
    BringToFront();
    if (!subWindow_ && QGuiApplication::platformName() == "offscreen") QApplication::setActiveWindow(Widget());
}

bool TForm::Active() const { return Screen->ActiveForm() == this; }

bool TForm::GetWindowPlacement(TWindowPlacement& wp) const {
    wp = TWindowPlacement{};
    TWindowState s = WindowState();
    wp.showCmd = s == wsMinimized ? SW_SHOWMINIMIZED : s == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    // Minimized from maximized, the window keeps its maximized state underneath.
    const QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (s == wsMinimized && w && w->isMaximized()) wp.flags |= WPF_RESTORETOMAXIMIZED;
    wp.rcNormalPosition = normalRect_;
    return true;
}

bool TForm::SetWindowPlacement(const TWindowPlacement& wp) {
    TRect r = wp.rcNormalPosition;
    if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
    TRect area;
    if (subWindow_) {
        TForm* frame = MDIParent();
        area = frame && frame->mdiArea_ ? FromQRect(frame->mdiArea_->viewport()->rect()) : Rect(0, 0, 1 << 15, 1 << 15);
    } else {
        area = Screen->DesktopRect();
    }
    r = PullOnto(r, area);
    QWidget* w = subWindow_ ? subWindow_ : Widget();
    if (w && w->isVisible() && WindowState() != wsNormal) w->showNormal();
    // The rectangle holds the window without the desktop's frame, which a
    // window not shown yet does not have: it comes back as it was either way.
    const TSize frame = FrameSize();
    SetBounds(r.Left, r.Top, r.Width() + frame.cx, r.Height() + frame.cy);
    normalRect_ = r;
    switch (wp.showCmd) {
    case SW_HIDE: break;
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: SetWindowState(wsMinimized); break;
    case SW_SHOWMAXIMIZED: SetWindowState(wsMaximized); break;
    default: SetWindowState(wsNormal); break;
    }
    return true;
}

TForm* TForm::ActiveMDIChild() const {
    if (!mdiArea_) return nullptr;
    TForm* f = FormOfSub(mdiArea_->currentSubWindow());
    if (f && f->Visible()) return f;
    return nullptr;
}

bool TForm::MDIClientEdge() const { return mdiArea_ && mdiArea_->frameShape() != QFrame::NoFrame; }

void TForm::SetMDIClientEdge(bool show) {
    if (!mdiArea_ || MDIClientEdge() == show) return;
    // The sunken two-pixel edge of a window's client area; the children's
    // area shrinks inside it.
    mdiArea_->setFrameStyle(show ? QFrame::WinPanel | QFrame::Sunken : QFrame::NoFrame);
    mdiArea_->update();
}

int TForm::MDIChildCount() const {
    if (!mdiArea_) return 0;
    int n = 0;
    for (QMdiSubWindow* s : mdiArea_->subWindowList())
        if (FormOfSub(s)) ++n;
    return n;
}

TForm* TForm::MDIChildren(int index) const {
    if (!mdiArea_) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    std::vector<TForm*> v;
    QList<QMdiSubWindow*> list = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (TForm* f = FormOfSub(*it)) v.push_back(f);
    if (index < 0 || index >= int(v.size())) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return v[std::size_t(index)];
}

void TForm::Cascade() {
    if (!mdiArea_) return;
    // Qt's own cascade gives each window its size hint, next to nothing for a
    // form of controls. Here the windows share one size that leaves every
    // title bar in sight, the bottom of the pile first.
    std::vector<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : mdiArea_->subWindowList(QMdiArea::StackingOrder))
        if (s->isVisible() && !s->isMinimized()) subs.push_back(s);
    if (subs.empty()) return;
    QRect a = mdiArea_->viewport()->rect();
    int step = std::max(subs.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()), 8);
    int n = int(subs.size());
    int w = std::max(a.width() - (n - 1) * step, a.width() / 2);
    int h = std::max(a.height() - (n - 1) * step, a.height() / 2);
    // A pile taller than the area starts again at the top-left corner.
    int places = std::max(std::min((a.width() - w) / step, (a.height() - h) / step) + 1, 1);
    for (int i = 0; i < n; ++i) {
        int k = i % places;
        subs[std::size_t(i)]->showNormal();
        subs[std::size_t(i)]->setGeometry(k * step, k * step, w, h);
    }
}

void TForm::Tile() {
    if (!mdiArea_) return;
    std::vector<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : mdiArea_->subWindowList())
        if (s->isVisible() && !s->isMinimized()) subs.push_back(s);
    if (subs.empty()) return;
    QRect a = mdiArea_->viewport()->rect();
    int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[std::size_t(i)]->showNormal();
        if (TileMode == tbHorizontal) {
            int h = a.height() / n;
            subs[std::size_t(i)]->setGeometry(0, i * h, a.width(), i == n - 1 ? a.height() - i * h : h);
        } else {
            int w = a.width() / n;
            subs[std::size_t(i)]->setGeometry(i * w, 0, i == n - 1 ? a.width() - i * w : w, a.height());
        }
    }
}

void TForm::ArrangeIcons() {
    if (!mdiArea_) return;
    QRect a = mdiArea_->viewport()->rect();
    int x = 0, y = a.height();
    for (QMdiSubWindow* s : mdiArea_->subWindowList()) {
        if (!s->isMinimized()) continue;
        QSize sz = s->size();
        if (x + sz.width() > a.width() && x > 0) {
            x = 0;
            y -= sz.height();
        }
        s->move(x, y - sz.height());
        x += sz.width();
    }
}

void TForm::MinimizeAll() {
    if (!mdiArea_) return;
    for (QMdiSubWindow* s : mdiArea_->subWindowList()) s->showMinimized();
}

void TForm::Next() {
    if (mdiArea_) mdiArea_->activateNextSubWindow();
}

void TForm::Previous() {
    if (mdiArea_) mdiArea_->activatePreviousSubWindow();
}

bool TForm::IsShortCut(WORD key, TShiftState shift, bool lettersToo) {
    TShortCut s = ShortCut(key, shift);
    if (menu_ && menu_->IsShortCut(s, lettersToo)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(Components(i)))
            if (list->IsShortCut(s, lettersToo)) return true;
    return false;
}

bool TForm::WantsKey(WORD key) const { return TWinControl::WantsKey(key); }

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGKEY: {
        // Default and cancel buttons answer Enter and Esc.
        std::vector<TControl*> stack(controls_.rbegin(), controls_.rend());
        while (!stack.empty()) {
            TControl* c = stack.back();
            stack.pop_back();
            c->WindowProc(m);
            if (m.Result) return;
            if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->Visible() && wc->Enabled())
                for (int i = wc->ControlCount() - 1; i >= 0; --i) stack.push_back(wc->Controls(i));
        }
        return;
    }
    case WM_SIZE:
        if (auto* frame = static_cast<FormFrame*>(Widget())) frame->LayOut();
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

// ---- TScreen -----------------------------------------------------------------------

struct TScreen::Cursors {
    std::map<int, QCursor> map;
};

TScreen::TScreen(TComponent* owner) : TComponent(owner), cursors_(std::make_unique<Cursors>()) {}

TScreen::~TScreen() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

QCursor gebridge::QtCursorOf(int c) {
    if (c > 0 && g_screen) {
        auto it = g_screen->cursors_->map.find(c);
        if (it != g_screen->cursors_->map.end()) return it->second;
    }
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSize: case crSizeAll: return Qt::SizeAllCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: case crVSplit: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: case crHSplit: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crDrag: case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

void TScreen::SetCursor(TCursor c) {
    cursor_ = c;
    if (c == crDefault) {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    } else if (QApplication::overrideCursor()) {
        QApplication::changeOverrideCursor(QtCursorOf(c));
    } else {
        QApplication::setOverrideCursor(QtCursorOf(c));
    }
}

void TScreen::SetCursors(int index, const TBitmap& image, int hotX, int hotY) {
    QImage img = image.Image().convertToFormat(QImage::Format_ARGB32);
    if (image.Transparent() || true) {
        QRgb t = ToQRgb(image.TransparentColor() == clNone ? clFuchsia : image.TransparentColor()) & 0xFFFFFF;
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFF) == t) line[x] = 0;
        }
    }
    cursors_->map[index] = QCursor(QPixmap::fromImage(img), hotX, hotY);
}

bool TScreen::LoadCursorFile(int index, const AnsiString& fileName, int hotX, int hotY) {
    QPixmap p;
    if (!p.load(QString::fromUtf8(AnsiToUtf8(fileName).c_str()))) return false;
    cursors_->map[index] = QCursor(p, hotX, hotY);
    return true;
}

bool TScreen::HasCursor(int index) const { return cursors_->map.count(index) > 0; }

TWinControl* TScreen::ActiveControl() const {
    QWidget* f = QApplication::focusWidget();
    return f ? dynamic_cast<TWinControl*>(ControlAround(f)) : nullptr;
}

TForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return forms_[std::size_t(index)];
}

int TScreen::Width() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

int TScreen::MonitorCount() const { return std::max<int>(1, int(QGuiApplication::screens().size())); }

TMonitor TScreen::Monitors(int index) const {
    auto screens = QGuiApplication::screens();
    TMonitor m;
    if (index < 0 || index >= int(screens.size())) {
        m.BoundsRect = m.WorkareaRect = Rect(0, 0, Width(), Height());
        m.Primary = true;
        return m;
    }
    QScreen* s = screens[index];
    m.BoundsRect = FromQRect(s->geometry());
    m.WorkareaRect = FromQRect(s->availableGeometry());
    m.Primary = s == QGuiApplication::primaryScreen();
    return m;
}

TRect TScreen::WorkAreaAt(TPoint p) const {
    QScreen* s = QGuiApplication::screenAt(ToQPoint(p));
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableGeometry()) : Rect(0, 0, Width(), Height());
}

TRect TScreen::WorkAreaRect() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableGeometry()) : Rect(0, 0, Width(), Height());
}

TRect TScreen::DesktopRect() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableVirtualGeometry()) : Rect(0, 0, Width(), Height());
}

void TScreen::AddForm(TForm* f) {
    if (std::find(forms_.begin(), forms_.end(), f) == forms_.end()) forms_.push_back(f);
}

void TScreen::RemoveForm(TForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

void TScreen::FormActivated(TForm* f) {
    auto it = std::find(forms_.begin(), forms_.end(), f);
    if (it != forms_.end()) std::rotate(forms_.begin(), it, it + 1);
    // A frame stands for its active child.
    TForm* effective = f;
    if (f->FormStyle() == fsMDIForm && f->currentChild_) effective = f->currentChild_;
    TForm* topOld = activeForm_ ? (activeForm_->FormStyle() == fsMDIChild ? activeForm_->MDIParent() : activeForm_) : nullptr;
    TForm* topNew = f->FormStyle() == fsMDIChild ? f->MDIParent() : f;
    if (effective == activeForm_) return;
    TForm* old = activeForm_;
    activeForm_ = effective;
    if (topOld != topNew) {
        // A top window of this program took over from another one of it;
        // children switching inside one frame report through the frame.
        Dispatch([&] {
            if (topOld) topOld->DoDeactivate();
            if (topNew) topNew->DoActivate();
        });
    }
    (void)old;
    if (OnActiveFormChange) Dispatch([this] { OnActiveFormChange(this); });
}

void TScreen::FormGone(TForm* f) {
    RemoveForm(f);
    if (activeForm_ == f) activeForm_ = nullptr;
    for (TForm* x : forms_)
        if (x->currentChild_ == f) x->currentChild_ = nullptr;
}

// ---- TApplication --------------------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr) {
    g_app = this;
    if (!g_screen) g_screen = new TScreen(nullptr);
    g_shortCutHook = &ShortCutHook;
    g_hintHook = &HintHook;
    g_idleHook = [] {
        if (g_app) g_app->Idle();
    };
    title_ = FromQString(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    // The application-wide event filters go in now, before any event is
    // dispatched: Qt puts a filter installed later in front of the one
    // being called, which then hears the event that is being dispatched
    // once more (a double-click that opened the session's first dialog
    // would open it again when the dialog closed).
    WatchApplicationEvents();
    ActivationRequestWatch::Install();
    ServerFocusWatch::Install();
    ModalWatch::Instance();
}

TApplication::~TApplication() {
    Destroying();
    // Forms go last-created first; each hears OnDestroy while it is whole.
    while (ComponentCount() > 0) {
        TComponent* c = Components(ComponentCount() - 1);
        RemoveComponent(c);
        Free(c);
    }
    g_shortCutHook = nullptr;
    g_hintHook = nullptr;
    g_idleHook = nullptr;
    THelpWindow::CloseWindow();
    delete g_screen;
    g_screen = nullptr;
    g_app = nullptr;
}

void TApplication::Initialize() {
    SetUiPort(QtUiPortInstance());
    LoadStandardTranslation();
}

namespace {

// The texts of Qt's file dialogs that its Russian translation lacks (the
// kinds of file in the "Тип" column).
class MissingTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return QString();
        static const std::pair<const char*, const char*> texts[] = {
            {"Folder", "Папка"}, {"File", "Файл"}, {"%1 File", "Файл %1"}, {"Drive", "Диск"}, {"Shortcut", "Ярлык"},
        };
        for (const auto& [en, ru] : texts)
            if (qstrcmp(source, en) == 0) return QString::fromUtf8(ru);
        return QString();
    }
};

} // namespace

bool LoadStandardTranslation() {
    static QTranslator* loaded = nullptr;
    if (loaded) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Russian whatever the locale: the program's own texts are Russian too.
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    QCoreApplication::installTranslator(new MissingTexts(QCoreApplication::instance()));
    loaded = translator;
    return true;
}

void TApplication::FormCreated(TForm* f) {
    if (!mainForm_) mainForm_ = f;
}

void TApplication::Run() {
    if (!mainForm_) return;
    running_ = true;
    mainForm_->Show();
    while (!terminated_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    running_ = false;
    // The flag ends the running loops; a later Run (a test's) starts afresh.
    terminated_ = false;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostCall([] {});
}

void TApplication::ProcessMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::ProcessPaintMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Delay(unsigned milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(milliseconds), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void ShowWindow(TControl* control, unsigned cmdShow) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w) return;
    if (auto* f = dynamic_cast<TForm*>(control); f && f->FormStyle() == fsMDIChild && w->parentWidget())
        w = w->parentWidget(); // the MDI child's frame
    if (cmdShow == SW_HIDE) {
        w->hide();
        return;
    }
    // A window that follows its form (a floating pane or toolbar) is hidden
    // while the form is minimized and shown again when it comes back, never
    // minimized itself. The desktop may have minimized it meanwhile, with
    // the form (openbox takes a window's own windows along) or alone (from
    // a task bar): shown so, it would go to the task bar at once and take
    // the form with it, every time the form came back.
    if (auto* wc = dynamic_cast<TWinControl*>(control); wc && wc->PopupWindow() && w->isHidden() && w->isMinimized())
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    bool quiet = cmdShow == SW_SHOWNA && !w->testAttribute(Qt::WA_ShowWithoutActivating);
    if (quiet) w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
    if (quiet) w->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void TApplication::Idle() {
    Dispatch([] { UpdateAllActions(); });
    if (OnIdle) {
        bool done = true;
        Dispatch([&] { OnIdle(this, done); });
    }
    FlushSurfaces();
}

// The title names message boxes and the help window. It is not Qt's display
// name: the desktop would append that to every window's caption.
int TApplication::HookMainWindow(TWindowHook hook) {
    if (!hook) return 0;
    WatchApplicationEvents();
    const int id = nextWindowHook_++;
    windowHooks_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::UnhookMainWindow(int hook) {
    std::erase_if(windowHooks_, [hook](const auto& h) { return h.first == hook; });
}

bool TApplication::CallMainWindowHooks(TMessage& message) {
    // A copy: procedures may come and go while one runs.
    const std::vector<std::pair<int, TWindowHook>> hooks = windowHooks_;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        const int id = it->first;
        if (std::none_of(windowHooks_.begin(), windowHooks_.end(), [id](const auto& h) { return h.first == id; }))
            continue;
        bool handled = false;
        Dispatch([&] { handled = it->second(message); });
        if (handled) return true;
    }
    return false;
}

void TApplication::SetTitle(const AnsiString& t) { title_ = t; }

AnsiString TApplication::ExeName() const { return FromQString(QCoreApplication::applicationFilePath()); }

void TApplication::SetHint(const AnsiString& h) {
    if (h == hint_) return;
    hint_ = h;
    if (OnHint) Dispatch([this] { OnHint(this); });
}

bool TApplication::Active() const { return gebridge::AppActive(); }

void TApplication::HandleException(TObject* sender, Exception& e) {
    if (dynamic_cast<EAbort*>(&e)) return;
    if (OnException && !handlingException_) {
        handlingException_ = true;
        // A handler that fails is reported by the default report, whatever
        // it threw.
        try {
            OnException(sender, &e);
        } catch (Exception& inner) {
            ShowException(&inner);
        } catch (const std::exception& inner) {
            Exception report(AnsiString(inner.what()));
            ShowException(&report);
        } catch (...) {
            Exception report("Unknown exception");
            ShowException(&report);
        }
        handlingException_ = false;
        return;
    }
    ShowException(&e);
}

void TApplication::ShowException(Exception* e) {
    UiPort().ShowMessage("Ошибка в программе!\n"_a + e->Message);
}

int TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    return UiPort().MessageBox(text, caption, flags);
}

void TApplication::HelpJump(const AnsiString& topic) { UiPort().Help(HelpFile, topic, 0); }

void TApplication::HelpContext(int context) { UiPort().Help(HelpFile, "", context); }

bool TApplication::HelpCommand(unsigned command, long data) {
    switch (command) {
    case HELP_CONTENTS:
    case HELP_FINDER: UiPort().Help(HelpFile, "", 0); return true;
    case HELP_CONTEXT: HelpContext(int(data)); return true;
    case HELP_QUIT: THelpWindow::CloseWindow(); return true;
    default: return false;
    }
}

namespace {

// Minimizes a window once the desktop has put it on the screen: a window
// minimized while its showing is still on the way to the desktop would be
// shown normal all the same.
class MinimizeWhenShown : public QObject {
public:
    explicit MinimizeWhenShown(QWidget* w) : QObject(w->windowHandle()), widget_(w) {
        w->windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* handle = qobject_cast<QWindow*>(o);
        if (e->type() != QEvent::Expose || !handle || !handle->isExposed()) return false;
        // Once the exposure is handled: the window may not change its state
        // from inside its own event.
        QPointer<QWidget> w = widget_;
        QTimer::singleShot(0, [w] {
            if (w && w->isVisible()) w->showMinimized();
        });
        deleteLater();
        handle->removeEventFilter(this);
        return false;
    }

private:
    QPointer<QWidget> widget_;
};

} // namespace

void TApplication::Minimize() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        QWindow* handle = w->windowHandle();
        if (Offscreen() || !handle || handle->isExposed()) w->showMinimized();
        else new MinimizeWhenShown(w);
    }
}

void TApplication::Restore() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isMinimized()) w->showNormal();
}

// ---- globals -----------------------------------------------------------------------

ApplicationRef Application;
ScreenRef Screen;

TApplication* ApplicationRef::operator->() const {
    if (!g_app) new TApplication;
    return g_app;
}

ApplicationRef::operator TApplication*() const { return operator->(); }

TScreen* ScreenRef::operator->() const {
    if (!g_screen) Application.operator->();
    return g_screen;
}

ScreenRef::operator TScreen*() const { return operator->(); }

void DestroyApplication() { delete g_app; }
