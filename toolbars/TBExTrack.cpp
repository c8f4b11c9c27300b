#include "toolbars/TBExTrack.h"

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "platform/QtText.h"
#include "platform/gui/Bridge.h"

class TMouseTracker::Filter : public QObject {
public:
    explicit Filter(TMouseTracker* t) : tracker(t) {}
    TMouseTracker* tracker;

    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            tracker->MouseMove(FromQPoint(me->globalPosition().toPoint()));
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton) tracker->LeftButtonDown(FromQPoint(me->globalPosition().toPoint()));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton) tracker->LeftButtonUp(FromQPoint(me->globalPosition().toPoint()));
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(e);
            if (ke->isAutoRepeat() && ke->key() == Qt::Key_Control) return true;
            WORD key = gebridge::VirtualKeyOf(ke);
            if (e->type() == QEvent::KeyPress) tracker->KeyDown(key);
            else tracker->KeyUp(key);
            return true;
        }
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::UngrabMouse:
            if (o == tracker->grabber_) tracker->CaptureLost();
            return false;
        case QEvent::ApplicationStateChange:
            // Another program took over: the gesture ends as if the capture went.
            if (o == qApp && static_cast<QApplicationStateChangeEvent*>(e)->applicationState() != Qt::ApplicationActive)
                tracker->CaptureLost();
            return false;
        default:
            return false;
        }
    }
};

TMouseTracker::TMouseTracker(QWidget* grabber, Handlers handlers) : grabber_(grabber), handlers_(std::move(handlers)) {}

TMouseTracker::~TMouseTracker() {
    // A gesture cut short by the tool window's destruction reports nothing.
    handlers_ = Handlers{};
    if (active_) End(false);
}

void TMouseTracker::Start() {
    if (active_) return;
    active_ = true;
    accepted_ = false;
    filter_ = std::make_unique<Filter>(this);
    qApp->installEventFilter(filter_.get());
    if (grabber_) {
        grabber_->grabMouse();
        grabber_->grabKeyboard();
    }
}

void TMouseTracker::MouseMove(TPoint screen) {
    if (!active_) return;
    last_ = screen;
    if (handlers_.Moved) handlers_.Moved(screen);
}

void TMouseTracker::LeftButtonUp(TPoint screen) {
    if (!active_) return;
    last_ = screen;
    End(true);
}

void TMouseTracker::LeftButtonDown(TPoint screen) {
    if (!active_) return;
    last_ = screen;
    End(false);
}

void TMouseTracker::KeyDown(WORD key) {
    if (!active_) return;
    if (key == VK_ESCAPE && handlers_.EscapeEnds) End(false);
    else if (key == VK_CONTROL && handlers_.CtrlChanged) handlers_.CtrlChanged(true);
}

void TMouseTracker::KeyUp(WORD key) {
    if (!active_) return;
    if (key == VK_ESCAPE && handlers_.EscapeEnds) End(false);
    else if (key == VK_CONTROL && handlers_.CtrlChanged) handlers_.CtrlChanged(false);
}

void TMouseTracker::CaptureLost() {
    if (active_ && !ending_) End(false);
}

void TMouseTracker::End(bool accepted) {
    if (!active_ || ending_) return;
    ending_ = true;
    accepted_ = accepted;
    if (filter_ && qApp) qApp->removeEventFilter(filter_.get());
    if (grabber_) {
        if (QWidget::mouseGrabber() == grabber_) grabber_->releaseMouse();
        if (QWidget::keyboardGrabber() == grabber_) grabber_->releaseKeyboard();
    }
    active_ = false;
    ending_ = false;
    auto finished = handlers_.Finished;
    if (finished) finished(accepted);
}

// ---- the outline overlay ------------------------------------------------------

TRegion OutlineRing(const TRect& rect, int thickness) {
    TRect r = rect.Normalized();
    if (IsRectEmpty(r)) return TRegion();
    TRect inner = r;
    InflateRect(inner, -thickness, -thickness);
    TRegion ring(r);
    if (!IsRectEmpty(inner)) ring = TRegion::Combine(ring, TRegion(inner), RGN_DIFF);
    return ring;
}

// A frameless window above everything that takes no input; its mask is the
// ring, painted in a half-tone of alternating pixels.
class TDragOutline::Window : public QWidget {
public:
    Window() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage pattern(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) pattern.setPixel(x, y, ((x + y) & 1) ? 0xFFFFFF : 0x000000);
        QPainter p(this);
        p.fillRect(rect(), QBrush(pattern));
    }
};

TDragOutline& TDragOutline::Instance() {
    static TDragOutline* o = new TDragOutline;
    return *o;
}

TRegion TDragOutline::Ring() const { return visible_ ? OutlineRing(rect_, thickness_) : TRegion(); }

void TDragOutline::Draw(const TRect* rect, int thickness) {
    if (!rect || IsRectEmpty(rect->Normalized()) || thickness <= 0) {
        visible_ = false;
        rect_ = TRect();
        thickness_ = 0;
        if (window_) window_->hide();
        return;
    }
    TRect r = rect->Normalized();
    if (visible_ && r == rect_ && thickness == thickness_) return;
    if (!window_) window_ = new Window;
    rect_ = r;
    thickness_ = thickness;
    visible_ = true;
    TRegion ring = OutlineRing(r, thickness);
    ring.Offset(-r.Left, -r.Top);
    QRegion mask;
    for (const TRect& part : ring.Rects()) mask += QRect(part.Left, part.Top, part.Width(), part.Height());
    window_->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    window_->setMask(mask);
    window_->show();
    window_->update();
}
