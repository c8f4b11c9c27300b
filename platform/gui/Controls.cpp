#include "platform/gui/Controls.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <optional>

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Bridge.h"
#include "platform/FileIO.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Hooks.h"
#include "platform/gui/Menus.h"

struct TControl::WidgetHolder {
    QPointer<QWidget> widget;
    std::shared_ptr<char> alive = std::make_shared<char>(0);
};

struct TWinControl::NonClient {
    QImage window;
    std::unique_ptr<TCanvas> canvas;
    bool painting = false;
};

// The window scroll bars of a control: native bars in its frame.
struct TWinControl::ScrollBars {
    QScrollBar* bar[2] = {nullptr, nullptr};
    TScrollInfo info[2];
    bool shown[2] = {false, false};
    bool syncing = false;
};

namespace {
// The width of a vertical (height of a horizontal) window scroll bar.
constexpr int kWindowScrollBarSize = 16;
} // namespace

namespace gebridge {

namespace {

struct Entry {
    TControl* control;
    bool outer;
};
QHash<const QObject*, Entry>& Widgets() {
    static QHash<const QObject*, Entry> h;
    return h;
}

unsigned MouseKeys(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    unsigned k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

TShiftState ShiftOfKeys(WPARAM w, bool alt) {
    TShiftState s = alt ? ssAlt : 0;
    if (w & MK_SHIFT) s |= ssShift;
    if (w & MK_CONTROL) s |= ssCtrl;
    if (w & MK_LBUTTON) s |= ssLeft;
    if (w & MK_RBUTTON) s |= ssRight;
    if (w & MK_MBUTTON) s |= ssMiddle;
    return s;
}

// The shift state of a mouse message (Alt travels outside WParam).
TShiftState ShiftOfKeys(WPARAM w) { return ShiftOfKeys(w, QGuiApplication::keyboardModifiers() & Qt::AltModifier); }

// The QWERTY key that a Cyrillic letter of the standard Russian layout sits
// on, so that shortcuts answer the physical key whatever the layout.
WORD CyrillicKey(char32_t u) {
    static const char32_t letters[] = U"ЙЦУКЕНГШЩЗФЫВАПРОЛДЯЧСМИТЬЁ";
    static const char keys[] = "QWERTYUIOPASDFGHJKLZXCVBNM`";
    for (int i = 0; letters[i]; ++i)
        if (letters[i] == u) return WORD(keys[i] == '`' ? 0xC0 : keys[i]);
    return 0;
}

} // namespace

bool (*g_shortCutHook)(TControl*, WORD, TShiftState) = nullptr;
void (*g_hintHook)(TControl*) = nullptr;
void (*g_idleHook)() = nullptr;

void Register(QWidget* w, TControl* c, bool outer) {
    // A widget that Qt deletes on its own (with a parent widget) must leave
    // the table too: a new widget at the same address would otherwise reach
    // a control that no longer exists.
    if (!Widgets().contains(w))
        QObject::connect(w, &QObject::destroyed, [](QObject* o) { Widgets().remove(o); });
    Widgets().insert(w, Entry{c, outer});
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

void Unregister(QWidget* w) { Widgets().remove(w); }

TControl* ControlOfWidget(const QObject* w) {
    auto it = Widgets().constFind(w);
    return it == Widgets().constEnd() ? nullptr : it->control;
}

TControl* ControlAround(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (TControl* c = ControlOfWidget(w)) return c;
        // A window of the toolkit's own (a file chooser, a message box) is
        // no part of the form it was opened over: what is typed or clicked
        // there is its own. A drop-down list or menu belongs to its control.
        if (w->isWindow() && w->windowType() != Qt::Popup) return nullptr;
    }
    return nullptr;
}

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    return ShiftOfKeys(WPARAM(MouseKeys(m, b)), m & Qt::AltModifier);
}

WORD VirtualKeyOf(const QKeyEvent* e) {
    int k = e->key();
    bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (k == Qt::Key_Plus) return VK_ADD;
        if (k == Qt::Key_Minus) return VK_SUBTRACT;
        if (k == Qt::Key_Asterisk) return VK_MULTIPLY;
        if (k == Qt::Key_Slash) return VK_DIVIDE;
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return WORD(VK_NUMPAD0 + (k - Qt::Key_0));
        if (k == Qt::Key_Period || k == Qt::Key_Comma) return VK_DECIMAL;
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return WORD(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return WORD(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return WORD(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: break;
    }
    if (k >= 0x400 && k < 0x500) return CyrillicKey(QChar(k).toUpper().unicode());
    return 0;
}

char CharOf(const QKeyEvent* e) {
    QString t = e->text();
    if (t.size() != 1) return 0;
    int b = UnicodeToCp1251(t.at(0).unicode());
    return b < 0 ? 0 : char(b);
}

// ---- the router --------------------------------------------------------------

class Router : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override;
    static Router& Instance() {
        static Router* r = [] {
            auto* x = new Router;
            qApp->installEventFilter(x);
            return x;
        }();
        return *r;
    }
    static bool DeliverMouse(TControl* c, QWidget* from, QMouseEvent* me, bool outer);
    static bool DeliverKey(QObject* receiver, QKeyEvent* ke);
    // The window hooks' share of an input event; false when a hook swallowed it.
    static bool HookInput(QObject* receiver, QEvent* e);
    // A mouse event outside the capture control goes to it; true when it went.
    static bool RouteToCapture(QWidget* w, QMouseEvent* me);
    // Activation of the program and the showing of its windows.
    static void WatchWindows(QObject* o, QEvent* e);
    static void TellActivation(QObject* o, bool active);
    static bool DeliverDrop(TControl* c, QWidget* w, QEvent* e);
};

namespace {
bool g_idlePending = false;
}

void ScheduleIdle() {
    if (g_idlePending || !g_idleHook) return;
    g_idlePending = true;
    QTimer::singleShot(0, qApp, [] {
        g_idlePending = false;
        if (g_idleHook) g_idleHook();
    });
}

bool Router::DeliverMouse(TControl* c, QWidget* from, QMouseEvent* me, bool outer) {
    QPoint pos = me->position().toPoint();
    TWinControl* wc = dynamic_cast<TWinControl*>(c);
    // Coordinates in the control's client area.
    QWidget* base = c->Widget();
    if (wc && wc->HasNonClient()) {
        if (from != base) pos = from->mapTo(base, pos);
        if (outer && me->type() != QEvent::MouseMove) {
            // A press or release on the frame: ask what part it is.
            TPoint sp = FromQPoint(me->globalPosition().toPoint());
            LRESULT hit = c->Perform(WM_NCHITTEST, 0, MakeLParam(sp.x, sp.y));
            if (hit != HTCLIENT) {
                unsigned msg = 0;
                bool left = me->button() == Qt::LeftButton;
                switch (me->type()) {
                case QEvent::MouseButtonPress: msg = left ? WM_NCLBUTTONDOWN : WM_NCRBUTTONDOWN; break;
                case QEvent::MouseButtonRelease: msg = left ? WM_NCLBUTTONUP : WM_NCRBUTTONUP; break;
                case QEvent::MouseButtonDblClick: msg = left ? WM_NCLBUTTONDBLCLK : WM_NCRBUTTONDOWN; break;
                default: break;
                }
                if (msg) Dispatch([&] { c->Perform(msg, WPARAM(hit), MakeLParam(sp.x, sp.y)); });
                return true;
            }
        }
        pos -= QPoint(wc->ncClient_.Left, wc->ncClient_.Top);
    } else if (from != base && base) {
        pos = from->mapTo(base, pos);
    }
    unsigned msg = 0;
    Qt::MouseButton b = me->button();
    switch (me->type()) {
    case QEvent::MouseButtonPress:
        msg = b == Qt::LeftButton ? WM_LBUTTONDOWN : b == Qt::RightButton ? WM_RBUTTONDOWN : b == Qt::MiddleButton ? WM_MBUTTONDOWN : 0;
        break;
    case QEvent::MouseButtonRelease:
        msg = b == Qt::LeftButton ? WM_LBUTTONUP : b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : 0;
        break;
    case QEvent::MouseButtonDblClick:
        msg = b == Qt::LeftButton ? WM_LBUTTONDBLCLK : b == Qt::RightButton ? WM_RBUTTONDBLCLK : b == Qt::MiddleButton ? WM_MBUTTONDBLCLK : 0;
        break;
    case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
    default: break;
    }
    if (!msg) return false;
    TMessage m;
    m.Msg = msg;
    m.WParam = WPARAM(MouseKeys(me->modifiers(), me->buttons()));
    m.LParam = MakeLParam(pos.x(), pos.y());
    c->passToQt_ = false;
    Dispatch([&] { c->WindowProc(m); });
    if (msg != WM_MOUSEMOVE) ScheduleIdle();
    return !c->passToQt_;
}

bool Router::DeliverKey(QObject* receiver, QKeyEvent* ke) {
    QWidget* focus = QApplication::focusWidget();
    QWidget* rw = qobject_cast<QWidget*>(receiver);
    if (!rw || !rw->isEnabled()) return false;
    // Keys travel to the focus widget first; when it ignores one, Qt hands
    // the same event to the parents, which must not see it again.
    if (focus ? rw != focus : !rw->isWindow()) return false;
    TControl* c = ControlAround(rw);
    if (!c) return false;
    WORD key = VirtualKeyOf(ke);
    TShiftState shift = ShiftOf(ke->modifiers(), Qt::NoButton);
    if (ke->type() == QEvent::KeyRelease) {
        if (ke->isAutoRepeat()) return true;
        if (!key) return false;
        TMessage m{WM_KEYUP, WPARAM(key), 0, 0};
        c->passToQt_ = false;
        Dispatch([&] { c->WindowProc(m); });
        return !c->passToQt_;
    }
    bool eaten = false;
    if (key && g_shortCutHook) {
        bool fired = false;
        Dispatch([&] { fired = g_shortCutHook(c, key, shift); });
        if (fired) {
            ScheduleIdle();
            return true;
        }
    }
    TMessage m{WM_KEYDOWN, WPARAM(key), 0, 0};
    c->passToQt_ = false;
    if (key) Dispatch([&] { c->WindowProc(m); });
    else c->passToQt_ = true;
    if (!c->passToQt_) eaten = true;
    char ch = CharOf(ke);
    if (!eaten && ch) {
        TMessage cm{WM_CHAR, WPARAM(static_cast<unsigned char>(ch)), 0, 0};
        c->passToQt_ = false;
        Dispatch([&] { c->WindowProc(cm); });
        char now = char(cm.WParam);
        if (!c->passToQt_ || now == 0) eaten = true;
        else if (now != ch) {
            // The handler changed the character: type the new one instead.
            QKeyEvent typed(QEvent::KeyPress, 0, ke->modifiers(), QString(QChar(Cp1251ToUnicode(static_cast<unsigned char>(now)))));
            QApplication::sendEvent(rw, &typed);
            eaten = true;
        }
    }
    ScheduleIdle();
    return eaten;
}

// ---- window hooks ------------------------------------------------------------------

namespace {

struct HookEntry {
    HHOOK id;
    int kind;
    THookProcedure procedure;
};
std::vector<HookEntry>& Hooks() {
    static std::vector<HookEntry> h;
    return h;
}
HHOOK g_nextHook = 1;

bool HasHooks(int kind) {
    for (const HookEntry& h : Hooks())
        if (h.kind == kind) return true;
    return false;
}

// Calls the hooks of the kind, the one installed last first; false when one
// swallowed the message.
bool CallHooks(int kind, THookMessage& m) {
    std::vector<std::pair<HHOOK, THookProcedure>> calls;
    for (auto it = Hooks().rbegin(); it != Hooks().rend(); ++it)
        if (it->kind == kind) calls.emplace_back(it->id, it->procedure);
    for (auto& [id, procedure] : calls) {
        bool installed = std::any_of(Hooks().begin(), Hooks().end(), [id = id](const HookEntry& h) { return h.id == id; });
        if (!installed) continue;
        Dispatch([&] { procedure(m); });
        if (m.Msg == WM_NULL) return false;
    }
    return true;
}

void Notify(TControl* c, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (!HasHooks(WH_CALLWNDPROC)) return;
    THookMessage m{c, msg, wParam, lParam, TPoint()};
    CallHooks(WH_CALLWNDPROC, m);
}

// ---- the confined cursor ------------------------------------------------------------

std::optional<TRect> g_clipCursor;

// A mouse message from outside the confining rectangle puts the cursor back
// inside; the message is reported from there.
QPoint ConfineCursor(QPoint global) {
    if (!g_clipCursor) return global;
    QPoint inside = ToQPoint(ClipCursorPoint(FromQPoint(global)));
    if (inside != global) QCursor::setPos(inside);
    return inside;
}

// ---- the mouse capture --------------------------------------------------------------

TControl* g_capture = nullptr;
std::weak_ptr<char> g_captureAlive;

TControl* LiveCapture() {
    if (g_capture && g_captureAlive.expired()) g_capture = nullptr;
    return g_capture;
}

// Ends the capture of the present holder; it hears WM_CAPTURECHANGED unless
// it is going away.
void EndCapture(TControl* next, bool tellHolder) {
    TControl* old = LiveCapture();
    g_capture = nullptr;
    g_captureAlive.reset();
    if (QWidget* g = QWidget::mouseGrabber()) g->releaseMouse();
    if (old && old != next && tellHolder) {
        std::weak_ptr<char> alive = old->Alive();
        Dispatch([&] { old->Perform(WM_CAPTURECHANGED, 0, LPARAM(next)); });
        if (!alive.expired()) Notify(old, WM_CAPTURECHANGED, 0, LPARAM(next));
    }
}

// ---- activation of the program ---------------------------------------------------------

bool g_appActive = false;

// Told once for every change, whether the desktop reports it or the windows
// show it first: a report of the state the program is in already (the
// desktop confirming what the windows showed) is no change.
void SetAppActive(bool active) {
    if (active == g_appActive) return;
    g_appActive = active;
    if (TApplication* app = Application) {
        TNotifyEvent handler = active ? app->OnActivate : app->OnDeactivate;
        if (handler) Dispatch([&] { handler(app); });
    }
    Notify(nullptr, WM_ACTIVATEAPP, active ? 1 : 0, 0);
}

// A key event reaches the application's filter once for every widget Qt
// offers it to (the focus widget, then its parents while they ignore it);
// the hooks see it once.
struct KeySeen {
    const QEvent* event = nullptr;
    QPointer<QObject> receiver;
    quint64 timestamp = 0;
    int key = 0;
    QEvent::Type type = QEvent::None;
};
KeySeen g_keySeen;

bool KeyAlreadyHooked(QObject* receiver, QKeyEvent* ke) {
    bool again = g_keySeen.event == ke && g_keySeen.timestamp == ke->timestamp() && g_keySeen.key == ke->key() &&
                 g_keySeen.type == ke->type() && g_keySeen.receiver && receiver->isWidgetType() &&
                 g_keySeen.receiver->isWidgetType() &&
                 static_cast<QWidget*>(g_keySeen.receiver.data())->parentWidget() == receiver;
    g_keySeen = KeySeen{ke, receiver, ke->timestamp(), ke->key(), ke->type()};
    return again;
}

unsigned MouseMessage(const QMouseEvent* me) {
    Qt::MouseButton b = me->button();
    switch (me->type()) {
    case QEvent::MouseButtonPress:
        return b == Qt::LeftButton ? WM_LBUTTONDOWN : b == Qt::RightButton ? WM_RBUTTONDOWN : b == Qt::MiddleButton ? WM_MBUTTONDOWN : 0;
    case QEvent::MouseButtonRelease:
        return b == Qt::LeftButton ? WM_LBUTTONUP : b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : 0;
    case QEvent::MouseButtonDblClick:
        return b == Qt::LeftButton ? WM_LBUTTONDBLCLK : b == Qt::RightButton ? WM_RBUTTONDBLCLK : b == Qt::MiddleButton ? WM_MBUTTONDBLCLK : 0;
    case QEvent::MouseMove: return WM_MOUSEMOVE;
    default: return 0;
    }
}

// The client point of a control for a screen point.
QPoint ClientPointOf(TControl* c, QPoint global) {
    TPoint p = c->ScreenToClient(FromQPoint(global));
    return QPoint(p.x, p.y);
}

} // namespace

bool AppActive() { return g_appActive; }

void WatchApplicationEvents() { Router::Instance(); }

// A control that is a window of its own hears its activation and
// deactivation as WM_ACTIVATE; LParam of an activation names the form that
// was the active one before (as the forms heard it), or is null.
void Router::TellActivation(QObject* o, bool active) {
    if (!o->isWidgetType() || !static_cast<QWidget*>(o)->isWindow()) return;
    auto* w = static_cast<QWidget*>(o);
    auto* wc = dynamic_cast<TWinControl*>(ControlOfWidget(w));
    if (!wc || !wc->popup_ || wc->Widget() != w) return;
    TControl* previous = active ? Screen->ActiveForm() : nullptr;
    Dispatch([&] { wc->Perform(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, LPARAM(previous)); });
}

bool Router::HookInput(QObject* o, QEvent* e) {
    if (!HasHooks(WH_GETMESSAGE) || !o->isWidgetType()) return true;
    auto* w = static_cast<QWidget*>(o);
    THookMessage m;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        m.Msg = MouseMessage(me);
        if (!m.Msg) return true;
        QPoint g = ConfineCursor(me->globalPosition().toPoint());
        m.Control = ControlAround(w);
        m.Pt = FromQPoint(g);
        QPoint local = m.Control ? ClientPointOf(m.Control, g) : me->position().toPoint();
        m.WParam = WPARAM(MouseKeys(me->modifiers(), me->buttons()));
        m.LParam = MakeLParam(local.x(), local.y());
        break;
    }
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        QPoint g = we->globalPosition().toPoint();
        m.Msg = WM_MOUSEWHEEL;
        m.Control = ControlAround(w);
        m.Pt = FromQPoint(g);
        m.WParam = WPARAM(MouseKeys(we->modifiers(), we->buttons()) | (uint32_t(uint16_t(int16_t(we->angleDelta().y()))) << 16));
        QPoint local = m.Control ? ClientPointOf(m.Control, g) : we->position().toPoint();
        m.LParam = MakeLParam(local.x(), local.y());
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (KeyAlreadyHooked(o, ke)) return true;
        m.Msg = e->type() == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
        m.WParam = VirtualKeyOf(ke);
        m.LParam = LPARAM(1) | (ke->isAutoRepeat() ? LPARAM(1) << 30 : 0);
        QWidget* focus = QApplication::focusWidget();
        m.Control = ControlAround(focus ? focus : w);
        break;
    }
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(e);
        m.Msg = WM_CONTEXTMENU;
        m.Control = ControlAround(w);
        m.Pt = FromQPoint(ce->globalPos());
        m.LParam = MakeLParam(m.Pt.x, m.Pt.y);
        break;
    }
    default:
        return true;
    }
    return CallHooks(WH_GETMESSAGE, m);
}

bool Router::RouteToCapture(QWidget* w, QMouseEvent* me) {
    TControl* cap = LiveCapture();
    if (!cap || QApplication::activePopupWidget()) return false;
    if (ControlAround(w) == cap) return false;
    QWidget* base = cap->Widget();
    if (!base) return false;
    QPoint g = me->globalPosition().toPoint();
    QMouseEvent routed(me->type(), QPointF(base->mapFromGlobal(g)), QPointF(g), me->button(), me->buttons(), me->modifiers());
    DeliverMouse(cap, base, &routed, false);
    return true;
}

void Router::WatchWindows(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::ApplicationStateChange:
        if (o == qApp) SetAppActive(static_cast<QApplicationStateChangeEvent*>(e)->applicationState() == Qt::ApplicationActive);
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        // The program's windows may all lose (or one regain) the activation
        // without the desktop reporting a change of the application's state.
        if ((QApplication::activeWindow() != nullptr) != g_appActive) SetAppActive(!g_appActive);
        TellActivation(o, e->type() == QEvent::WindowActivate);
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange: {
        if (!o->isWidgetType() || !HasHooks(WH_CALLWNDPROC)) break;
        auto* w = static_cast<QWidget*>(o);
        TControl* c = nullptr;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) c = ControlOfWidget(sub->widget());
        else if (w->isWindow()) c = ControlOfWidget(w);
        if (!c) break;
        WPARAM flags = e->type() == QEvent::Show ? SWP_SHOWWINDOW : e->type() == QEvent::Hide ? SWP_HIDEWINDOW : SWP_FRAMECHANGED;
        Notify(c, WM_WINDOWPOSCHANGED, flags, 0);
        break;
    }
    default:
        break;
    }
}

bool Router::DeliverDrop(TControl* c, QWidget* w, QEvent* e) {
    auto* wc = dynamic_cast<TWinControl*>(c);
    if (!wc || !wc->AcceptFiles() || !w->isEnabled()) return false;
    auto* de = static_cast<QDropEvent*>(e);
    auto localFiles = [de] {
        std::vector<AnsiString> names;
        if (de->mimeData())
            for (const QUrl& url : de->mimeData()->urls())
                if (url.isLocalFile()) names.push_back(FromFsPath(url.toLocalFile().toStdString()));
        return names;
    };
    std::vector<AnsiString> names = localFiles();
    if (names.empty()) return false;
    de->acceptProposedAction();
    if (e->type() != QEvent::Drop) return true;
    TDropFiles drop{std::move(names), FromQPoint(ClientPointOf(c, w->mapToGlobal(de->position().toPoint())))};
    Dispatch([&] { wc->Perform(WM_DROPFILES, WPARAM(&drop)); });
    ScheduleIdle();
    return true;
}

bool Router::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (!HookInput(o, e)) return true;
        return DeliverKey(o, static_cast<QKeyEvent*>(e));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (!HookInput(o, e)) return true;
        if (o->isWidgetType() && RouteToCapture(static_cast<QWidget*>(o), static_cast<QMouseEvent*>(e))) return true;
        break;
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        if (!HookInput(o, e)) return true;
        break;
    case QEvent::Show:
        // A window of its own is kept above its owner's window.
        if (auto* wc = dynamic_cast<TWinControl*>(ControlOfWidget(o)); wc && wc->popup_ && wc->Widget() == o)
            wc->ApplyPopupOwner();
        WatchWindows(o, e);
        break;
    case QEvent::ApplicationStateChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        WatchWindows(o, e);
        break;
    case QEvent::LocaleChange:
        // The desktop's new locale reaches the application object once (the
        // widgets hear it after); the main window's hooks hear it as the
        // settings message.
        if (o == qApp) {
            TMessage m{WM_SETTINGCHANGE, 0, 0, 0};
            Application->CallMainWindowHooks(m);
        }
        break;
    default:
        break;
    }
    auto it = Widgets().constFind(o);
    if (it == Widgets().constEnd()) return false;
    TControl* c = it->control;
    bool outer = it->outer;
    QWidget* w = static_cast<QWidget*>(o);
    // A control with a frame of its own is entered and left through its
    // outer widget; moves between frame and client stay inside.
    auto* wc = dynamic_cast<TWinControl*>(c);
    bool framed = wc && wc->HasNonClient();
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // Application filters see input even for disabled widgets; a disabled
        // control, or any control of a disabled form, must not hear it.
        if (!w->isEnabled()) return false;
        return DeliverMouse(c, w, static_cast<QMouseEvent*>(e), outer);
    case QEvent::UngrabMouse:
        // The desktop (or a popup menu) took the mouse from the capture control.
        if (LiveCapture() == c && QWidget::mouseGrabber() != w) EndCapture(nullptr, true);
        return false;
    case QEvent::Enter:
        if (framed && w != c->Widget()) return false;
        if (!c->mouseInside_) {
            c->mouseInside_ = true;
            Dispatch([&] { c->Perform(CM_MOUSEENTER, 0, LPARAM(c)); });
        }
        return false;
    case QEvent::Leave:
        if (framed && w != c->Widget()) return false;
        if (c->mouseInside_) {
            c->mouseInside_ = false;
            Dispatch([&] { c->Perform(CM_MOUSELEAVE, 0, LPARAM(c)); });
        }
        return false;
    case QEvent::FocusIn:
        if (auto* wc = dynamic_cast<TWinControl*>(c)) Dispatch([&] { wc->Perform(CM_ENTER); });
        ScheduleIdle();
        return false;
    case QEvent::FocusOut:
        if (auto* wc = dynamic_cast<TWinControl*>(c)) Dispatch([&] { wc->Perform(CM_EXIT); });
        return false;
    case QEvent::Resize:
        if (w == c->Widget()) {
            QSize s = static_cast<QResizeEvent*>(e)->size();
            if (!dynamic_cast<TForm*>(c) && (s.width() != c->width_ || s.height() != c->height_)) {
                c->width_ = s.width();
                c->height_ = s.height();
            }
            Dispatch([&] { c->Perform(WM_SIZE, 0, MakeLParam(s.width(), s.height())); });
        }
        return false;
    case QEvent::Close:
        // A control that is a window of its own, closed from the desktop.
        if (w == c->Widget() && w->isWindow() && !dynamic_cast<TForm*>(c)) {
            c->passToQt_ = false;
            Dispatch([&] { c->Perform(WM_CLOSE); });
            if (!c->passToQt_) {
                e->ignore();
                return true;
            }
        }
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return DeliverDrop(c, w, e);
    case QEvent::ContextMenu:
        if (w->isEnabled() && c->PopupMenu() && c->PopupMenu()->AutoPopup) {
            auto* ce = static_cast<QContextMenuEvent*>(e);
            TPopupMenu* pm = c->PopupMenu();
            pm->PopupComponent = c;
            QPoint gp = ce->globalPos();
            Dispatch([&] { pm->Popup(gp.x(), gp.y()); });
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- surfaces ------------------------------------------------------------------

namespace {
QHash<Surface*, QPointer<QWidget>>& Tracked() {
    static QHash<Surface*, QPointer<QWidget>> h;
    return h;
}
} // namespace

Surface::Surface(TControl* owner) : owner_(owner) {}
Surface::~Surface() { UntrackSurface(this); }

void Surface::BindCanvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        // Drawing outside a paint shows at once (the widget copies the image).
        // A drag draws thousands of pieces: the widget is asked once until it
        // has shown them (and the idle flush asks again for what it missed).
        canvas_->OnChange = [this](TObject*) {
            if (painting_ || updateAsked_) return;
            auto it = Tracked().constFind(this);
            if (it != Tracked().constEnd() && it.value()) {
                updateAsked_ = true;
                it.value()->update();
            }
        };
        canvas_->Font()->Assign(owner_->Font());
        canvas_->Brush()->SetColor(owner_->Color());
    }
    canvas_->SetImage(&image_);
}

// Qt learns the frame around a window by asking the X server for the window
// manager's frame window around it; asked while the manager is still building
// that frame (a 1x1 window at first), it keeps sides below zero and reports a
// frame smaller than the window until the frame changes again. A frame never
// cuts into the window: a side below zero counts as none.
QRect FrameGeometry(const QWidget* w) {
    const QRect inner = w->geometry();
    if (!w->isWindow()) return inner;
    const QRect frame = w->frameGeometry();
    return inner.adjusted(-std::max(inner.left() - frame.left(), 0), -std::max(inner.top() - frame.top(), 0),
                          std::max(frame.right() - inner.right(), 0), std::max(frame.bottom() - inner.bottom(), 0));
}

} // namespace gebridge

bool SurfaceCanHold(long long width, long long height) {
    return width <= kMaxSurfaceSide && height <= kMaxSurfaceSide && width * height <= kMaxSurfacePixels;
}

namespace gebridge {

TCanvas* Surface::Canvas() {
    if (image_.isNull()) Fit(std::max(owner_->Width(), 1), std::max(owner_->Height(), 1));
    if (!canvas_) BindCanvas();
    return canvas_.get();
}

void Surface::Fit(int width, int height) {
    width = std::clamp(width, 1, kMaxSurfaceSide);
    height = std::clamp(height, 1, kMaxSurfaceSide);
    // Too many pixels in all: the rows that fit are kept.
    if (!SurfaceCanHold(width, height)) height = int(kMaxSurfacePixels / width);
    if (!image_.isNull() && image_.width() == width && image_.height() == height) return;
    QImage next(width, height, QImage::Format_RGB32);
    next.fill(ToQRgb(background));
    if (!image_.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
    if (canvas_) BindCanvas();
    dirty_ = true;
}

void Surface::PaintIfDirty() {
    if (!dirty_ || painting_) return;
    if (image_.isNull() || image_.width() != std::max(owner_->ClientWidth(), 1) || image_.height() != std::max(owner_->ClientHeight(), 1))
        Fit(owner_->ClientWidth(), owner_->ClientHeight());
    dirty_ = false;
    painting_ = true;
    if (painter) Dispatch(painter);
    painting_ = false;
}

void Surface::Blit(QWidget* w, const QRect& area) {
    updateAsked_ = false;
    QPainter p(w);
    p.drawImage(area.topLeft(), image_, area);
    shownKey_ = image_.cacheKey();
}

void ControlWidget::paintEvent(QPaintEvent* e) {
    if (surface) {
        surface->PaintIfDirty();
        surface->Blit(this, e->rect());
        return;
    }
    if (customPaint) {
        QPainter p(this);
        customPaint(p);
        return;
    }
    if (fillBackground) {
        QPainter p(this);
        p.fillRect(e->rect(), fill);
    }
}

void ControlWidget::resizeEvent(QResizeEvent* e) {
    if (surface) surface->Fit(e->size().width(), e->size().height());
    QWidget::resizeEvent(e);
}

void TrackSurface(Surface* s, QWidget* w) { Tracked().insert(s, w); }
void UntrackSurface(Surface* s) { Tracked().remove(s); }

void FlushSurfaces() {
    for (auto it = Tracked().begin(); it != Tracked().end(); ++it)
        if (it.value() && it.key()->ChangedSinceShown()) it.value()->update();
}

} // namespace gebridge

using namespace gebridge;

// ---- free functions ------------------------------------------------------------

bool Dispatch(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (Exception& e) {
        Application->HandleException(nullptr, e);
    } catch (const std::exception& e) {
        Exception x(AnsiString(e.what()));
        Application->HandleException(nullptr, x);
    } catch (...) {
        Exception x("Unknown exception");
        Application->HandleException(nullptr, x);
    }
    return false;
}

AnsiString GetShortHint(const AnsiString& hint) {
    int p = hint.Pos("|");
    return p ? hint.SubString(1, p - 1) : hint;
}

AnsiString GetLongHint(const AnsiString& hint) {
    int p = hint.Pos("|");
    return p ? hint.SubString(p + 1, hint.Length()) : hint;
}

TForm* GetParentForm(TControl* control) {
    while (control && !dynamic_cast<TForm*>(control)) control = control->Parent();
    return dynamic_cast<TForm*>(control);
}

void PostCall(std::function<void()> call) {
    QMetaObject::invokeMethod(qApp, [call = std::move(call)] { Dispatch(call); }, Qt::QueuedConnection);
}

namespace {

// Messages posted and not yet delivered, oldest first, so that one can be
// taken out of the queue again.
struct PostedMessage {
    std::uint64_t id;
    TControl* control;
    std::weak_ptr<char> alive;
    TMessage message;
};
std::deque<PostedMessage> g_posted;
std::uint64_t g_nextPosted = 0;

} // namespace

void PostMessage(TControl* control, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (!control) return;
    const std::uint64_t id = ++g_nextPosted;
    g_posted.push_back({id, control, control->Alive(), TMessage{msg, wParam, lParam, 0}});
    PostCall([id] {
        auto it = std::find_if(g_posted.begin(), g_posted.end(), [id](const PostedMessage& p) { return p.id == id; });
        if (it == g_posted.end()) return; // taken out of the queue
        PostedMessage posted = *it;
        g_posted.erase(it);
        if (posted.alive.expired()) return;
        posted.control->WindowProc(posted.message);
    });
}

bool RemovePostedMessage(TControl* control, unsigned msg, TMessage& removed) {
    auto it = std::find_if(g_posted.begin(), g_posted.end(), [control, msg](const PostedMessage& p) {
        return p.control == control && p.message.Msg == msg && !p.alive.expired();
    });
    if (it == g_posted.end()) return false;
    removed = it->message;
    g_posted.erase(it);
    return true;
}

TControl* GetCaptureControl() { return LiveCapture(); }

void SetCaptureControl(TControl* control) {
    if (control && !control->Widget()) control = nullptr;
    if (control == LiveCapture()) {
        if (control && QWidget::mouseGrabber() != control->Widget()) control->Widget()->grabMouse();
        return;
    }
    EndCapture(control, true);
    if (!control) return;
    g_capture = control;
    g_captureAlive = control->Alive();
    control->Widget()->grabMouse();
}

short GetKeyState(int virtualKey) {
    // Qt's state as of the events handled so far. Asking the window system
    // (queryKeyboardModifiers) tells the keys held at this moment, which on
    // a real desktop need not be those of the input being handled.
    Qt::KeyboardModifiers m = QGuiApplication::keyboardModifiers();
    Qt::MouseButtons b = QGuiApplication::mouseButtons();
    bool down = false;
    switch (virtualKey) {
    case VK_SHIFT: down = m & Qt::ShiftModifier; break;
    case VK_CONTROL: down = m & Qt::ControlModifier; break;
    case VK_MENU: down = m & Qt::AltModifier; break;
    case VK_LBUTTON: down = b & Qt::LeftButton; break;
    case VK_RBUTTON: down = b & Qt::RightButton; break;
    case VK_MBUTTON: down = b & Qt::MiddleButton; break;
    default: break;
    }
    return down ? short(-0x8000) : short(0);
}

void Beep() { QApplication::beep(); }

bool GetWindowRect(const TControl* control, TRect& rect) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w) return false;
    QWidget* outer = w;
    if (auto* f = dynamic_cast<const TForm*>(control); f && f->FormStyle() == fsMDIChild && w->parentWidget())
        outer = w->parentWidget(); // the MDI child's frame
    QPoint o = outer->isWindow() ? FrameGeometry(outer).topLeft() : outer->mapToGlobal(QPoint(0, 0));
    QSize size = outer->isWindow() && outer->isVisible() ? FrameGeometry(outer).size() : outer->size();
    rect = Bounds(o.x(), o.y(), size.width(), size.height());
    return true;
}

void BringWindowToTop(TControl* control) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w) return;
    if (auto* f = dynamic_cast<TForm*>(control); f && f->FormStyle() == fsMDIChild && w->parentWidget())
        w = w->parentWidget();
    w->raise();
}

TControl* GetActiveWindow() {
    QWidget* a = QApplication::activeWindow();
    return a ? ControlAround(a) : nullptr;
}

void SetActiveWindow(TControl* control) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w) return;
    // A window a modal one keeps from the user hands the activation to the
    // modal window: made Qt's active window, the window under it would take
    // the keys and the program's notion of what is in front.
    QWidget* win = ActivationTarget(w->window());
    AskActivation(win);
    // Qt's active window at once, as the old desktop did within the thread:
    // a window that hands the activation on and then goes would otherwise
    // leave no active window when the desktop's focus never left the one it
    // hands it to.
    QApplication::setActiveWindow(win);
}

HHOOK SetWindowsHookEx(int idHook, THookProcedure procedure) {
    if ((idHook != WH_GETMESSAGE && idHook != WH_CALLWNDPROC) || !procedure) return 0;
    Router::Instance();
    HHOOK id = g_nextHook++;
    Hooks().push_back(HookEntry{id, idHook, std::move(procedure)});
    return id;
}

bool UnhookWindowsHookEx(HHOOK hook) {
    auto& h = Hooks();
    auto it = std::find_if(h.begin(), h.end(), [hook](const HookEntry& e) { return e.id == hook; });
    if (it == h.end()) return false;
    h.erase(it);
    return true;
}

TControl* FindControlAtScreen(TPoint p) {
    QWidget* w = QApplication::widgetAt(ToQPoint(p));
    return w ? ControlAround(w) : nullptr;
}

TPoint GetCursorPos() { return ClipCursorPoint(FromQPoint(QCursor::pos())); }

void ClipCursor(const TRect* rect) {
    g_clipCursor = rect && !IsRectEmpty(*rect) ? std::optional<TRect>(*rect) : std::nullopt;
    if (!g_clipCursor) return;
    TPoint now = FromQPoint(QCursor::pos());
    TPoint inside = ClipCursorPoint(now);
    if (inside != now) QCursor::setPos(ToQPoint(inside));
}

bool GetClipCursor(TRect& rect) {
    if (!g_clipCursor) return false;
    rect = *g_clipCursor;
    return true;
}

TPoint ClipCursorPoint(TPoint p) {
    if (!g_clipCursor) return p;
    const TRect& r = *g_clipCursor;
    return TPoint(std::clamp(p.x, r.Left, r.Right - 1), std::clamp(p.y, r.Top, r.Bottom - 1));
}

// ---- size limits and tab stops -----------------------------------------------------

void TSizeConstraints::Set(int& field, int v) {
    v = std::max(v, 0);
    if (field == v) return;
    field = v;
    Changed();
}

void TSizeConstraints::SetLimits(int minWidth, int minHeight, int maxWidth, int maxHeight) {
    minWidth_ = std::max(minWidth, 0);
    minHeight_ = std::max(minHeight, 0);
    maxWidth_ = std::max(maxWidth, 0);
    maxHeight_ = std::max(maxHeight, 0);
    Changed();
}

void TSizeConstraints::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TSizeConstraints*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetLimits(other->minWidth_, other->minHeight_, other->maxWidth_, other->maxHeight_);
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (maxWidth_ > 0) width = std::min(width, std::max(maxWidth_, minWidth_));
    if (maxHeight_ > 0) height = std::min(height, std::max(maxHeight_, minHeight_));
    width = std::max(width, minWidth_);
    height = std::max(height, minHeight_);
}

void TSizeConstraints::Changed() {
    if (control_) {
        control_->ApplyConstraints();
        // The present size is brought within the limits.
        control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), control_->Height());
    }
    if (OnChange) OnChange(this);
}

void TControl::ApplyConstraints() {
    QWidget* w = Widget();
    if (!w) return;
    const TSizeConstraints& c = *constraints_;
    w->setMinimumSize(c.MinWidth(), c.MinHeight());
    w->setMaximumSize(c.MaxWidth() > 0 ? std::max(c.MaxWidth(), c.MinWidth()) : QWIDGETSIZE_MAX,
                      c.MaxHeight() > 0 ? std::max(c.MaxHeight(), c.MinHeight()) : QWIDGETSIZE_MAX);
}

TTabStop& TTabStop::operator=(bool v) {
    bool changed = v != value_;
    value_ = v;
    if (changed && control_) control_->TabStopChanged();
    return *this;
}

// ---- TControl ------------------------------------------------------------------

namespace {

// The one drag of the program: its source, whether it has begun, the
// control it is over and whether that one takes it.
struct DragState {
    TControl* source = nullptr;
    std::weak_ptr<char> sourceAlive;
    bool active = false;
    TPoint start;
    int threshold = 5;
    TControl* target = nullptr;
    std::weak_ptr<char> targetAlive;
    bool accepted = false;
    TCursor savedCursor = crDefault;
};
DragState g_drag;

TControl* LiveTarget() { return g_drag.target && !g_drag.targetAlive.expired() ? g_drag.target : nullptr; }

// The control under the point is asked whether it takes the source.
void TrackDrag(TPoint screenPoint) {
    TControl* over = FindControlAtScreen(screenPoint);
    TControl* old = LiveTarget();
    TControl* source = g_drag.source;
    if (old && old != over) {
        bool ignored = false;
        TPoint p = old->ScreenToClient(screenPoint);
        Dispatch([&] { old->DragOver(source, p.x, p.y, dsDragLeave, ignored); });
    }
    bool accept = false;
    if (over) {
        TPoint p = over->ScreenToClient(screenPoint);
        TDragState state = over == old ? dsDragMove : dsDragEnter;
        Dispatch([&] { over->DragOver(source, p.x, p.y, state, accept); });
    }
    g_drag.target = over;
    g_drag.targetAlive = over ? over->Alive() : std::weak_ptr<char>();
    g_drag.accepted = accept;
    Screen->SetCursor(accept ? source->DragCursor : crNoDrop);
}

} // namespace

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(std::make_unique<TFont>()), constraints_(std::make_unique<TSizeConstraints>(this)),
      holder_(std::make_unique<WidgetHolder>()) {
    Router::Instance();
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject*) {
        parentFont_ = false;
        ApplyFont();
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    Destroying();
    if (g_drag.source == this) {
        if (g_drag.active) Screen->SetCursor(g_drag.savedCursor);
        g_drag = DragState();
    }
    if (LiveCapture() == this) EndCapture(nullptr, false);
    actionLink_.reset();
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    DestroyWidget();
}

void TControl::DestroyWidget() {
    if (!holder_->widget) return;
    QWidget* w = holder_->widget;
    holder_->widget = nullptr;
    Unregister(w);
    delete w;
}

QWidget* TControl::Widget() const { return holder_->widget; }

bool TControl::UseRightToLeftReading() const {
    const QWidget* w = holder_->widget;
    return (w ? w->layoutDirection() : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
}

std::weak_ptr<char> TControl::Alive() const { return holder_->alive; }

void TControl::AttachWidget(QWidget* w) {
    holder_->widget = w;
    Register(w, this);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    if (width_ == 0 && height_ == 0) {
        width_ = w->width();
        height_ = w->height();
    } else {
        w->setGeometry(left_, top_, width_, height_);
    }
    ApplyFont();
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) parent_->RemoveControl(this);
    parent_ = parent;
    // A control placed on a parent is no window of its own any more.
    if (auto* wc = dynamic_cast<TWinControl*>(this)) {
        wc->popup_ = false;
        wc->popupOwner_ = nullptr;
    }
    if (QWidget* w = Widget()) {
        w->setParent(parent ? parent->ClientWidget() : nullptr);
        w->setGeometry(left_, top_, width_, height_);
        if (parent) w->setVisible(visible_);
    }
    if (parent_) {
        parent_->InsertControl(this);
        if (parentFont_) ParentFontChanged();
        if (parentColor_) ParentColorChanged();
        UpdateToolTip();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    constraints_->Apply(width, height);
    bool moved = left != left_ || top != top_;
    bool sized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (QWidget* w = Widget()) {
        if (w->geometry() != QRect(left, top, width, height)) w->setGeometry(left, top, width, height);
    }
    if (parent_ && parent_->Width() > 0) {
        anchorRules_ = Rect(left_, top_, parent_->ClientWidth() - (left_ + width_), parent_->ClientHeight() - (top_ + height_));
    }
    if ((moved || sized) && parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
    if ((moved || sized) && parent_) parent_->Perform(CM_CONTROLCHANGE, WPARAM(this), 1);
    if (sized && !Widget()) Perform(WM_SIZE, 0, MakeLParam(width, height));
}

int TControl::ClientWidth() const { return width_; }
int TControl::ClientHeight() const { return height_; }
void TControl::SetClientWidth(int v) { SetWidth(v + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (height_ - ClientHeight())); }

TPoint TControl::ClientOrigin() const {
    if (QWidget* w = Widget()) return FromQPoint(w->mapToGlobal(QPoint(0, 0)));
    TPoint p = parent_ ? parent_->ClientOrigin() : TPoint();
    return TPoint(p.x + left_, p.y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return TPoint(o.x + p.x, o.y + p.y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return TPoint(p.x - o.x, p.y - o.y);
}

void TControl::SetAlign(TAlign a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors a) {
    anchors_ = a;
    if (parent_) anchorRules_ = Rect(left_, top_, parent_->ClientWidth() - (left_ + width_), parent_->ClientHeight() - (top_ + height_));
}

void TControl::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    VisibleChanging();
    if (QWidget* w = Widget())
        if (parent_ || !v) w->setVisible(v);
    Perform(CM_VISIBLECHANGED, v);
    if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const {
    QWidget* w = Widget();
    return w && w->isVisible();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    if (QWidget* w = Widget()) w->setEnabled(v);
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor c) {
    parentColor_ = false;
    if (c == color_) return;
    color_ = c;
    ApplyColor();
    Perform(CM_COLORCHANGED);
    if (auto* wc = dynamic_cast<TWinControl*>(this))
        for (TControl* child : wc->controls_)
            if (child->parentColor_) child->ParentColorChanged();
    Invalidate();
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parent_) return;
    TColor c = parent_->Color();
    if (c == color_) return;
    color_ = c;
    ApplyColor();
    Perform(CM_COLORCHANGED);
    if (auto* wc = dynamic_cast<TWinControl*>(this))
        for (TControl* child : wc->controls_)
            if (child->parentColor_) child->ParentColorChanged();
    Invalidate();
}

void TControl::SetFont(const TFont* f) {
    if (!f) return;
    font_->Assign(const_cast<TFont*>(f));
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parent_) return;
    auto keep = font_->OnChange;
    font_->OnChange = nullptr;
    font_->Assign(parent_->Font());
    font_->OnChange = keep;
    parentFont_ = true;
    ApplyFont();
    Perform(CM_FONTCHANGED);
}

void TControl::ApplyFont() {
    auto apply = [this](QWidget* w) {
        w->setFont(ToQFont(*font_));
        // The font colour is that of a working control: a disabled one keeps
        // the style's grey, so that it looks disabled.
        QPalette pal = w->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                pal.setColor(g, r, ToQColor(font_->Color()));
        w->setPalette(pal);
    };
    if (QWidget* w = Widget()) {
        apply(w);
        // A native control inside a frame of the program's shows the text.
        if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->HasNonClient() && wc->client_ != w &&
                                                         !dynamic_cast<ControlWidget*>(wc->client_))
            apply(wc->client_);
    }
    if (auto* wc = dynamic_cast<TWinControl*>(this))
        for (TControl* child : wc->controls_)
            if (child->parentFont_) child->ParentFontChanged();
}

void TControl::SetText(const AnsiString& s) {
    if (s == GetText()) return;
    text_ = s;
    ApplyText();
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->popup_) wc->ApplyPopupTitle();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetHint(const AnsiString& h) {
    hint_ = h;
    UpdateToolTip();
}

void TControl::SetShowHint(bool v) {
    showHint_ = v;
    parentShowHint_ = false;
    UpdateToolTip();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
    parentShowHint_ = v;
    UpdateToolTip();
}

bool TControl::EffectiveShowHint() const {
    const TControl* c = this;
    while (c && c->parentShowHint_ && c->parent_) c = c->parent_;
    return c && c->showHint_;
}

void TControl::UpdateToolTip() {
    if (QWidget* w = Widget()) w->setToolTip(EffectiveShowHint() && Application->ShowHint ? ToQString(GetShortHint(hint_)) : QString());
    if (auto* wc = dynamic_cast<TWinControl*>(this))
        for (TControl* child : wc->controls_) child->UpdateToolTip();
}

void TControl::SetCursor(TCursor c) {
    cursor_ = c;
    if (QWidget* w = Widget()) {
        if (c == crDefault) w->unsetCursor();
        else w->setCursor(QtCursorOf(c));
        if (auto* wc = dynamic_cast<TWinControl*>(this))
            if (wc->ClientWidget() && wc->ClientWidget() != w) {
                if (c == crDefault) wc->ClientWidget()->unsetCursor();
                else wc->ClientWidget()->setCursor(QtCursorOf(c));
            }
    }
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
    if (QWidget* w = Widget()) w->setContextMenuPolicy(menu ? Qt::DefaultContextMenu : Qt::DefaultContextMenu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == opRemove && actionLink_ && component == actionLink_->Action()) actionLink_->SetAction(nullptr);
}

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
    if (!action) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TControlActionLink>(this);
    actionLink_->SetAction(action);
    actionLink_->Follow.Forget();
    action->FreeNotification(this);
    ActionChange(action, false);
}

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (!a) return;
    // Each property follows the action while the control shows what it took
    // from it last; a value of the control's own is kept. The hint comes
    // from the action alone, never with an accelerator mark.
    TActionProperties now = TActionProperties::Of(*a);
    now.Hint = ActionHint(*a);
    TActionFollow none;
    TActionFollow& f = actionLink_ && actionLink_->Action() == sender ? actionLink_->Follow : none;
    const TActionProperties& was = f.Given();
    if (f.Follows(TActionFollow::pCaption, Caption() == was.Caption) && (!checkDefaults || Caption().IsEmpty()))
        SetCaption(now.Caption);
    if (f.Follows(TActionFollow::pEnabled, enabled_ == was.Enabled) && (!checkDefaults || enabled_))
        SetEnabled(now.Enabled);
    if (f.Follows(TActionFollow::pHint, hint_ == was.Hint) && (!checkDefaults || hint_.IsEmpty())) SetHint(now.Hint);
    if (f.Follows(TActionFollow::pVisible, visible_ == was.Visible) && (!checkDefaults || visible_))
        SetVisible(now.Visible);
    if (!checkDefaults || HelpContext == 0) HelpContext = a->HelpContext;
    f.Remember(now);
}

void TControl::Invalidate() {
    if (QWidget* w = Widget()) w->update();
}

void TControl::Repaint() {
    if (QWidget* w = Widget()) w->repaint();
}

void TControl::Update() {
    if (QWidget* w = Widget())
        if (w->isVisible()) w->repaint();
}

void TControl::BringToFront() {
    if (QWidget* w = Widget()) w->raise();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.push_back(this);
        if (align_ != alNone) parent_->Realign();
    }
}

void TControl::SendToBack() {
    if (QWidget* w = Widget()) w->lower();
    if (parent_) {
        auto& v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.insert(v.begin(), this);
        if (align_ != alNone) parent_->Realign();
    }
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool v) {
    if (v) SetCaptureControl(this);
    else if (MouseCapture()) SetCaptureControl(nullptr);
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::Click() {
    // A handler of its own wins over the linked action.
    if (OnClick) OnClick(this);
    else if (actionLink_ && actionLink_->Action()) actionLink_->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// ---- dragging ---------------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold) {
    if (g_drag.source && !g_drag.sourceAlive.expired() && g_drag.source != this) g_drag.source->EndDrag(false);
    g_drag = DragState();
    g_drag.source = this;
    g_drag.sourceAlive = Alive();
    g_drag.start = GetCursorPos();
    g_drag.threshold = threshold < 0 ? 5 : threshold;
    g_drag.savedCursor = Screen->Cursor();
    SetCaptureControl(this);
    if (immediate) {
        g_drag.active = true;
        TrackDrag(g_drag.start);
    }
}

bool TControl::Dragging() const { return g_drag.source == this && g_drag.active; }

void TControl::EndDrag(bool drop) {
    if (g_drag.source == this) FinishDrag(drop, GetCursorPos());
}

void TControl::FinishDrag(bool drop, TPoint screenPoint) {
    DragState d = g_drag;
    g_drag = DragState();
    TControl* target = d.target && !d.targetAlive.expired() && d.accepted ? d.target : nullptr;
    if (d.active) Screen->SetCursor(d.savedCursor);
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    if (!d.active) return;
    std::weak_ptr<char> alive = Alive();
    if (drop && target) {
        TPoint p = target->ScreenToClient(screenPoint);
        Dispatch([&] { target->DragDrop(this, p.x, p.y); });
        if (alive.expired()) return;
        DoEndDrag(target, p.x, p.y);
        return;
    }
    Dispatch([&] { DragCanceled(); });
    if (alive.expired()) return;
    TPoint p = ScreenToClient(screenPoint);
    DoEndDrag(nullptr, p.x, p.y);
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = bool(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) Dispatch([&] { OnEndDrag(this, target, x, y); });
}

bool TControl::DragMessage(TMessage& m) {
    TPoint at = ClientToScreen(TPoint(LParamX(m.LParam), LParamY(m.LParam)));
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (!g_drag.active) {
            if (std::abs(at.x - g_drag.start.x) < g_drag.threshold && std::abs(at.y - g_drag.start.y) < g_drag.threshold)
                return false;
            g_drag.active = true;
        }
        TrackDrag(at);
        return true;
    case WM_LBUTTONUP:
        if (!g_drag.active) {
            // Released before it began: a plain click.
            FinishDrag(false, at);
            return false;
        }
        FinishDrag(true, at);
        return true;
    case WM_RBUTTONDOWN:
        if (!g_drag.active) return false;
        FinishDrag(false, at);
        return true;
    case WM_KEYDOWN:
        if (!g_drag.active || m.WParam != VK_ESCAPE) return false;
        FinishDrag(false, GetCursorPos());
        return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        FinishDrag(false, GetCursorPos());
        return false;
    default:
        return false;
    }
}

void TControl::SendCancelMode() {
    for (TControl* c = this; c; c = c->Parent()) {
        auto* form = dynamic_cast<TForm*>(c);
        TWinControl* active = form ? form->ActiveControl() : nullptr;
        if (active && active != this) active->Perform(CM_CANCELMODE, 0, LPARAM(this));
    }
}

void TControl::WndProc(TMessage& m) {
    if (g_drag.source == this && DragMessage(m)) return;
    int x = LParamX(m.LParam), y = LParamY(m.LParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
        SendCancelMode();
        break;
    default:
        break;
    }
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        if (ControlStyle & csClickEvents) clicked_ = true;
        MouseDown(mbLeft, ShiftOfKeys(m.WParam), x, y);
        if (DragMode == dmAutomatic && !(ComponentState() & csDesigning)) BeginAutoDrag();
        break;
    case WM_LBUTTONDBLCLK:
        if (ControlStyle & csDoubleClicks) {
            DblClick();
            MouseDown(mbLeft, ShiftOfKeys(m.WParam) | ssDouble, x, y);
        } else {
            if (ControlStyle & csClickEvents) clicked_ = true;
            MouseDown(mbLeft, ShiftOfKeys(m.WParam), x, y);
        }
        break;
    case WM_LBUTTONUP:
        if (clicked_) {
            clicked_ = false;
            if (PtInRect(ClientRect(), TPoint(x, y))) Click();
        }
        MouseUp(mbLeft, ShiftOfKeys(m.WParam), x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
        bool right = m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK;
        bool twice = m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
        MouseDown(right ? mbRight : mbMiddle, ShiftOfKeys(m.WParam) | (twice ? ssDouble : 0), x, y);
        break;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        MouseUp(m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle, ShiftOfKeys(m.WParam), x, y);
        break;
    case WM_MOUSEMOVE:
        if (g_hintHook) g_hintHook(this);
        MouseMove(ShiftOfKeys(m.WParam), x, y);
        break;
    case CM_MOUSEENTER:
        if (g_hintHook) g_hintHook(this);
        if (OnMouseEnter) OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave) OnMouseLeave(this);
        break;
    case WM_SIZE:
        Resize();
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        clicked_ = false;
        if (MouseCapture()) SetMouseCapture(false);
        break;
    default:
        break;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR:
    case WM_CLOSE:
        passToQt_ = true;
        break;
    case WM_NCHITTEST: {
        auto* wc = dynamic_cast<TWinControl*>(this);
        TPoint p = ScreenToClient(TPoint(LParamX(m.LParam), LParamY(m.LParam)));
        if (!wc || !wc->HasNonClient()) m.Result = HTCLIENT;
        else m.Result = PtInRect(ClientRect(), p) ? HTCLIENT : HTNOWHERE;
        break;
    }
    default:
        break;
    }
}

// ---- TWinControl ---------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    TabStop = false;
}

TWinControl::~TWinControl() {
    DestroyChildren();
    if (client_ && client_ != Widget()) Unregister(client_);
}

void TWinControl::DestroyChildren() {
    Destroying();
    // Owned components first, then children that belong to others (a
    // windowed control frees the controls placed on it).
    DestroyComponents();
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        c->parent_ = nullptr;
        delete c;
    }
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return controls_[std::size_t(index)];
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

// Only the part of a child inside the client area counts: a child that
// overflows its parent does not take the points of the parent's frame.
TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
    if (!PtInRect(ClientRect(), p)) return nullptr;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && (allowDisabled || c->Enabled()) && PtInRect(c->BoundsRect(), p)) return c;
    }
    return nullptr;
}

TControl* TWinControl::FindChildControl(const AnsiString& name) const {
    for (TControl* c : controls_)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TWinControl::InsertControl(TControl* c) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) controls_.push_back(c);
    if (c->align_ != alNone) Realign();
    ControlsChanged();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(controls_.begin(), controls_.end(), c);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (!IsDestroying()) {
        if (c->align_ != alNone) Realign();
        ControlsChanged();
    }
}

bool TWinControl::Focused() const {
    QWidget* f = QApplication::focusWidget();
    return f && (f == Widget() || ControlAround(f) == this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (QWidget* w = Widget()) {
        if (QWidget* win = w->window()) {
            if (!win->isActiveWindow()) AskActivation(win);
        }
        w->setFocus(Qt::OtherFocusReason);
    }
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    int n = 0;
    for (TControl* c : parent_->controls_) {
        if (c == this) return n;
        if (dynamic_cast<TWinControl*>(c)) ++n;
    }
    return -1;
}

void TWinControl::SetTabOrder(int v) {
    if (!parent_) return;
    std::vector<QWidget*> order;
    for (TControl* c : parent_->controls_)
        if (c != this && dynamic_cast<TWinControl*>(c) && c->Widget()) order.push_back(c->Widget());
    v = std::clamp(v, 0, int(order.size()));
    order.insert(order.begin() + v, Widget());
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ || aligning_) return;
    TRect r = AlignRect();
    aligning_ = true;
    AlignControls(r);
    aligning_ = false;
}

TRect TWinControl::AlignRect() const {
    TRect r = ClientRect();
    InflateRect(r, -borderWidth_, -borderWidth_);
    return r;
}

void TWinControl::AlignControls(TRect& r) {
    // The classic order: top, bottom, left, right, client; within one kind
    // the list order (BringToFront puts a control last).
    auto place = [&](TAlign kind) {
        for (TControl* c : controls_) {
            if (c->align_ != kind || !c->visible_) continue;
            int w = c->width_, h = c->height_;
            switch (kind) {
            case alTop: c->SetBounds(r.Left, r.Top, r.Width(), h); r.Top += h; break;
            case alBottom: c->SetBounds(r.Left, r.Bottom - h, r.Width(), h); r.Bottom -= h; break;
            case alLeft: c->SetBounds(r.Left, r.Top, w, r.Height()); r.Left += w; break;
            case alRight: c->SetBounds(r.Right - w, r.Top, w, r.Height()); r.Right -= w; break;
            case alClient: c->SetBounds(r.Left, r.Top, r.Width(), r.Height()); break;
            default: break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
    // Anchored controls keep their distances to the right and bottom edges.
    int cw = ClientWidth(), ch = ClientHeight();
    for (TControl* c : controls_) {
        if (c->align_ != alNone) continue;
        TAnchors a = c->anchors_;
        if (a == DefaultAnchors) continue;
        const TRect& k = c->anchorRules_;
        int left = c->left_, top = c->top_, width = c->width_, height = c->height_;
        if (a & akRight) {
            if (a & akLeft) width = cw - k.Right - left;
            else left = cw - k.Right - width;
        }
        if (a & akBottom) {
            if (a & akTop) height = ch - k.Bottom - top;
            else top = ch - k.Bottom - height;
        }
        TRect keep = k;
        c->SetBounds(left, top, width, height);
        c->anchorRules_ = keep;
    }
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::SetBorderWidth(int v) {
    borderWidth_ = std::max(v, 0);
    Realign();
    Invalidate();
}

// ---- dropped files, windows of their own, window scroll bars ------------------------

void TWinControl::SetAcceptFiles(bool v) {
    acceptFiles_ = v;
    if (QWidget* w = Widget()) w->setAcceptDrops(v);
    if (client_ && client_ != Widget()) client_->setAcceptDrops(v);
}

void TWinControl::DoDropFiles(const TDropFiles& drop) {
    if (OnDropFiles) OnDropFiles(this, drop.Files, drop.Point.x, drop.Point.y);
}

void TWinControl::SetPopupWindow(bool popup, TWinControl* owner, bool stayOnTop, bool noActivate) {
    QWidget* w = Widget();
    if (!w) return;
    if (!popup) {
        if (!popup_) return;
        popup_ = false;
        popupOwner_ = nullptr;
        popupOwnerAlive_.reset();
        bool shown = !w->isHidden();
        w->setWindowTitle(QString());
        w->setParent(parent_ ? parent_->ClientWidget() : nullptr, Qt::Widget);
        w->setAttribute(Qt::WA_AlwaysShowToolTips, false);
        w->setGeometry(left_, top_, width_, height_);
        if (shown && parent_) w->show();
        return;
    }
    // A tool-tip window is the one kind that no desktop activates.
    Qt::WindowFlags f = (noActivate ? Qt::ToolTip : Qt::Tool) | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    if (stayOnTop) f |= Qt::WindowStaysOnTopHint;
    if (!popup_ || w->parentWidget() || w->windowFlags() != f) {
        bool shown = !w->isHidden();
        w->setParent(nullptr, f);
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        // Such a window is rarely the active one (it is kept beside its
        // owner): its controls show their hints all the same.
        w->setAttribute(Qt::WA_AlwaysShowToolTips);
        w->setGeometry(left_, top_, width_, height_);
        if (shown) w->show();
    }
    popup_ = true;
    popupOnTop_ = stayOnTop;
    popupOwner_ = owner;
    popupOwnerAlive_ = owner ? owner->Alive() : std::weak_ptr<char>();
    ApplyPopupOwner();
    ApplyPopupTitle();
}

void TWinControl::ApplyPopupTitle() {
    // The desktop lists the window under its title (without one, under the
    // program's file name): a pane's is its caption.
    if (QWidget* w = Widget()) w->setWindowTitle(ToQString(GetText()));
}

void TWinControl::ApplyPopupOwner() {
    QWidget* w = Widget();
    if (!popup_ || !w || !w->windowHandle()) return;
    QWindow* owner = nullptr;
    if (popupOwner_ && !popupOwnerAlive_.expired() && popupOwner_->Widget())
        owner = popupOwner_->Widget()->window()->windowHandle();
    if (w->windowHandle()->transientParent() != owner) w->windowHandle()->setTransientParent(owner);
}

void TWinControl::ShowScrollBar(int bar, bool show) {
    if (bar != SB_HORZ && bar != SB_VERT) return;
    if (!scrollBars_) {
        if (!show) return;
        scrollBars_ = std::make_unique<ScrollBars>();
    }
    EnableNonClient();
    ScrollBars& s = *scrollBars_;
    if (!s.bar[bar]) {
        auto* b = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, Widget());
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        QObject::connect(b, &QScrollBar::valueChanged, [this, bar](int v) {
            if (!scrollBars_ || scrollBars_->syncing) return;
            scrollBars_->info[bar].nPos = v;
            scrollBars_->info[bar].nTrackPos = v;
            unsigned msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
            Dispatch([&] { Perform(msg, WPARAM(SB_THUMBPOSITION | (uint32_t(uint16_t(v)) << 16))); });
            ScheduleIdle();
        });
        s.bar[bar] = b;
        SetScrollInfo(bar, s.info[bar]);
    }
    if (s.shown[bar] == show) return;
    s.shown[bar] = show;
    s.bar[bar]->setVisible(show);
    RecalcNonClient();
}

bool TWinControl::ScrollBarVisible(int bar) const {
    return scrollBars_ && (bar == SB_HORZ || bar == SB_VERT) && scrollBars_->shown[bar];
}

int TWinControl::SetScrollInfo(int bar, const TScrollInfo& info) {
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    if (!scrollBars_) scrollBars_ = std::make_unique<ScrollBars>();
    TScrollInfo& kept = scrollBars_->info[bar];
    if (info.fMask & SIF_RANGE) {
        kept.nMin = info.nMin;
        kept.nMax = std::max(info.nMax, info.nMin);
    }
    if (info.fMask & SIF_PAGE) kept.nPage = info.nPage;
    if (info.fMask & SIF_POS) kept.nPos = info.nPos;
    int top = kept.nPage > 0 ? kept.nMax - int(kept.nPage) + 1 : kept.nMax;
    top = std::max(top, kept.nMin);
    kept.nPos = std::clamp(kept.nPos, kept.nMin, top);
    kept.nTrackPos = kept.nPos;
    if (QScrollBar* b = scrollBars_->bar[bar]) {
        scrollBars_->syncing = true;
        b->setRange(kept.nMin, top);
        b->setPageStep(std::max(int(kept.nPage), 1));
        b->setValue(kept.nPos);
        scrollBars_->syncing = false;
    }
    return kept.nPos;
}

bool TWinControl::GetScrollInfo(int bar, TScrollInfo& info) const {
    if (bar != SB_HORZ && bar != SB_VERT) return false;
    TScrollInfo kept = scrollBars_ ? scrollBars_->info[bar] : TScrollInfo();
    unsigned mask = info.fMask;
    if (mask & SIF_RANGE) {
        info.nMin = kept.nMin;
        info.nMax = kept.nMax;
    }
    if (mask & SIF_PAGE) info.nPage = kept.nPage;
    if (mask & SIF_POS) info.nPos = kept.nPos;
    if (mask & SIF_TRACKPOS) info.nTrackPos = kept.nTrackPos;
    return true;
}

void TWinControl::LayoutScrollBars() {
    if (!scrollBars_) return;
    ScrollBars& s = *scrollBars_;
    const TRect& r = ncClient_;
    if (s.bar[SB_VERT]) s.bar[SB_VERT]->setGeometry(r.Right, r.Top, kWindowScrollBarSize, r.Height());
    if (s.bar[SB_HORZ]) s.bar[SB_HORZ]->setGeometry(r.Left, r.Bottom, r.Width(), kWindowScrollBarSize);
    for (QScrollBar* b : s.bar)
        if (b) b->raise();
}

bool TWinControl::WantsKey(WORD key) const { return key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB; }

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

QWidget* TWinControl::ClientWidget() const { return client_ ? client_ : Widget(); }

void TWinControl::SetClientWidgetOf(QWidget* w) {
    client_ = w;
    if (w != Widget()) Register(w, this);
}

int TWinControl::ClientWidth() const {
    if (nonClient_) return ncClient_.Width();
    if (client_ && client_ != Widget()) return client_->width();
    return width_;
}

int TWinControl::ClientHeight() const {
    if (nonClient_) return ncClient_.Height();
    if (client_ && client_ != Widget()) return client_->height();
    return height_;
}

TPoint TWinControl::ClientOrigin() const {
    if (QWidget* c = ClientWidget()) return FromQPoint(c->mapToGlobal(QPoint(0, 0)));
    return TControl::ClientOrigin();
}

void TWinControl::WndProc(TMessage& m) {
    // Esc ends a drag before the control sees the key.
    if (m.Msg == WM_KEYDOWN && Dragging() && DragMessage(m)) return;
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        // A form that previews keys sees them before the control.
        WORD key = WORD(m.WParam);
        TShiftState shift = ShiftOf(QGuiApplication::keyboardModifiers(), Qt::NoButton);
        TForm* form = GetParentForm(this);
        bool down = m.Msg == WM_KEYDOWN;
        auto send = [&](TWinControl* target) {
            if (down) target->KeyDown(key, shift);
            else target->KeyUp(key, shift);
        };
        if (form && form != this && form->KeyPreview) send(form);
        if (key) send(this);
        m.WParam = key;
        if (key == 0) return;
        if (down && (key == VK_RETURN || key == VK_ESCAPE) && !WantsKey(key) && form) {
            if (form->Perform(CM_DIALOGKEY, key, LPARAM(shift))) return;
        }
        break;
    }
    case WM_CHAR: {
        char ch = char(m.WParam);
        TForm* form = GetParentForm(this);
        if (form && form != this && form->KeyPreview) form->KeyPress(ch);
        if (ch) KeyPress(ch);
        m.WParam = static_cast<unsigned char>(ch);
        if (ch == 0) return;
        break;
    }
    case CM_ENTER:
        DoEnter();
        break;
    case CM_EXIT:
        DoExit();
        break;
    case WM_DROPFILES:
        if (m.WParam) DoDropFiles(*reinterpret_cast<const TDropFiles*>(m.WParam));
        return;
    case WM_SIZE:
        if (nonClient_) LayoutNonClient();
        Realign();
        break;
    case WM_NCCALCSIZE:
        // No frame of its own: the client is the whole window.
        m.Result = 0;
        return;
    case WM_NCPAINT:
        if (nc_ && nc_->canvas) {
            nc_->canvas->Brush()->SetColor(Color());
            nc_->canvas->Brush()->SetStyle(bsSolid);
            TRect whole = Rect(0, 0, width_, height_);
            nc_->canvas->FillRect(whole);
        }
        return;
    default:
        break;
    }
    TControl::WndProc(m);
}

// ---- non-client model ----------------------------------------------------------

void TWinControl::EnableNonClient() {
    if (nonClient_) return;
    nonClient_ = true;
    nc_ = std::make_unique<NonClient>();
    if (!dynamic_cast<ControlWidget*>(Widget())) {
        // A native control (an edit): a frame widget of the program's takes
        // its place, and the native widget becomes the client area inside it.
        QWidget* native = Widget();
        auto* frame = new ControlWidget(native->parentWidget());
        frame->setGeometry(native->geometry());
        frame->setFont(native->font());
        frame->setPalette(native->palette());
        frame->setToolTip(native->toolTip());
        frame->setAcceptDrops(native->acceptDrops());
        bool shown = !native->isHidden();
        native->setParent(frame);
        native->show();
        frame->setFocusProxy(native);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        holder_->widget = frame;
        Register(frame, this, true);
        client_ = native;
        frame->customPaint = [this](QPainter& p) {
            if (nc_) p.drawImage(0, 0, nc_->window);
        };
        if (shown && (parent_ || native->isWindow())) frame->show();
        RecalcNonClient();
        return;
    }
    QWidget* outer = Widget();
    auto* inner = new ControlWidget(outer);
    inner->show();
    // The outer widget now stands only for the frame.
    Register(outer, this, true);
    // Children move into the client widget.
    for (QObject* o : outer->children()) {
        auto* cw = qobject_cast<QWidget*>(o);
        if (cw && cw != inner && ControlOfWidget(cw)) cw->setParent(inner);
    }
    SetClientWidgetOf(inner);
    // A self-painting control paints its client area; the outer widget
    // shows the frame image.
    if (auto* ow = dynamic_cast<ControlWidget*>(outer); ow && ow->surface) {
        inner->surface = ow->surface;
        ow->surface = nullptr;
        TrackSurface(inner->surface, inner);
    }
    if (auto* ow = dynamic_cast<ControlWidget*>(outer)) {
        ow->customPaint = [this](QPainter& p) {
            if (nc_) p.drawImage(0, 0, nc_->window);
        };
    }
    RecalcNonClient();
}

void TWinControl::RecalcNonClient() {
    if (!nonClient_) return;
    LayoutNonClient();
    Realign();
}

void TWinControl::LayoutNonClient() {
    TRect r = Rect(0, 0, width_, height_);
    Perform(WM_NCCALCSIZE, 0, LPARAM(&r));
    // Shown window scroll bars take their room from the client rectangle.
    if (ScrollBarVisible(SB_VERT)) r.Right -= kWindowScrollBarSize;
    if (ScrollBarVisible(SB_HORZ)) r.Bottom -= kWindowScrollBarSize;
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    ncClient_ = r;
    if (client_ && client_ != Widget()) client_->setGeometry(ToQRect(r));
    LayoutScrollBars();
    InvalidateNonClient();
}

void TWinControl::InvalidateNonClient(const TRegion* region) {
    if (!nonClient_ || !nc_ || nc_->painting) return;
    int w = std::max(width_, 1), h = std::max(height_, 1);
    if (nc_->window.width() != w || nc_->window.height() != h) {
        QImage next(w, h, QImage::Format_RGB32);
        next.fill(ToQRgb(Color()));
        if (!nc_->window.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, nc_->window);
        }
        nc_->window = std::move(next);
        if (!nc_->canvas) nc_->canvas = std::make_unique<TCanvas>();
        nc_->canvas->SetImage(&nc_->window);
    }
    TRegion whole(Rect(0, 0, w, h));
    TRegion frame = TRegion::Combine(region ? *region : whole, TRegion(ncClient_), RGN_DIFF);
    nc_->painting = true;
    nc_->canvas->SelectClipRgn(&frame);
    Dispatch([&] { Perform(WM_NCPAINT, WPARAM(&frame)); });
    nc_->canvas->SelectClipRgn(nullptr);
    nc_->painting = false;
    if (QWidget* ow = Widget()) ow->update();
}

TCanvas* TWinControl::NonClientCanvas() { return nc_ ? nc_->canvas.get() : nullptr; }

// ---- TGraphicControl / TCustomControl ----------------------------------------------

namespace {

ControlWidget* MakeSurfaceWidget(TControl* c, Surface*& surface) {
    auto* w = new ControlWidget;
    surface = new Surface(c);
    w->surface = surface;
    TrackSurface(surface, w);
    return w;
}

} // namespace

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
    ControlStyle |= csReplicatable;
    auto* w = MakeSurfaceWidget(this, surface_);
    surface_->painter = [this] { Paint(); };
    w->resize(0, 0);
    AttachWidget(w);
}

TGraphicControl::~TGraphicControl() {
    Destroying();
    DestroyWidget();
    delete surface_;
}

TCanvas* TGraphicControl::Canvas() { return surface_->Canvas(); }

void TGraphicControl::Invalidate() {
    surface_->MarkDirty();
    TControl::Invalidate();
}

void TGraphicControl::Repaint() {
    surface_->MarkDirty();
    surface_->PaintIfDirty();
    TControl::Repaint();
}

void TGraphicControl::Update() {
    surface_->PaintIfDirty();
    TControl::Update();
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
    auto* w = MakeSurfaceWidget(this, surface_);
    surface_->painter = [this] { Paint(); };
    w->resize(0, 0);
    AttachWidget(w);
    TabStop = true;
}

void TCustomControl::TabStopChanged() {
    if (QWidget* w = Widget()) w->setFocusPolicy(TabStop ? Qt::StrongFocus : Qt::NoFocus);
}

TCustomControl::~TCustomControl() {
    DestroyChildren();
    if (client_ && client_ != Widget()) Unregister(client_);
    DestroyWidget();
    delete surface_;
}

TCanvas* TCustomControl::Canvas() { return surface_->Canvas(); }

void TCustomControl::Invalidate() {
    surface_->MarkDirty();
    if (QWidget* c = ClientWidget()) c->update();
}

void TCustomControl::Repaint() {
    surface_->MarkDirty();
    surface_->PaintIfDirty();
    if (QWidget* c = ClientWidget()) c->repaint();
}

void TCustomControl::Update() {
    surface_->PaintIfDirty();
    if (QWidget* c = ClientWidget())
        if (c->isVisible()) c->repaint();
}
