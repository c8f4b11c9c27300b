#include "toolbars/TBExTrack.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Overlay.h"

TMouseTracker::TMouseTracker(TControl* grabber, Handlers handlers)
    : grabber_(grabber), grabberAlive_(grabber ? grabber->Alive() : std::weak_ptr<char>()), handlers_(std::move(handlers)) {}

TMouseTracker::~TMouseTracker() {
    // A gesture cut short by the tool window's destruction reports nothing.
    handlers_ = Handlers{};
    if (active_) End(false);
}

void TMouseTracker::Start() {
    if (active_) return;
    active_ = true;
    accepted_ = false;
    if (grabber_) SetCaptureControl(grabber_);
    if (handlers_.ClipCursorTo) {
        ClipCursor(&*handlers_.ClipCursorTo);
        clipping_ = true;
    }
    inputHook_ = SetWindowsHookEx(WH_GETMESSAGE, [this](THookMessage& m) { Input(m); });
    noticeHook_ = SetWindowsHookEx(WH_CALLWNDPROC, [this](THookMessage& m) { Notice(m); });
}

void TMouseTracker::Input(THookMessage& m) {
    // Every input of the mouse and the keyboard belongs to the gesture.
    THookMessage seen = m;
    m.Msg = WM_NULL;
    bool repeat = (seen.LParam >> 30) & 1;
    switch (seen.Msg) {
    case WM_MOUSEMOVE: MouseMove(seen.Pt); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: LeftButtonDown(seen.Pt); break;
    case WM_LBUTTONUP: LeftButtonUp(seen.Pt); break;
    case WM_KEYDOWN:
        if (!(repeat && seen.WParam == VK_CONTROL)) KeyDown(WORD(seen.WParam));
        break;
    case WM_KEYUP: KeyUp(WORD(seen.WParam)); break;
    default: break;
    }
}

void TMouseTracker::Notice(const THookMessage& m) {
    // The capture went elsewhere, or another program took over.
    if ((m.Msg == WM_CAPTURECHANGED && m.Control == grabber_) || (m.Msg == WM_ACTIVATEAPP && m.WParam == 0)) CaptureLost();
}

void TMouseTracker::MouseMove(TPoint screen) {
    if (!active_) return;
    if (clipping_) screen = ClipCursorPoint(screen);
    last_ = screen;
    if (handlers_.Moved) handlers_.Moved(screen);
}

void TMouseTracker::LeftButtonUp(TPoint screen) {
    if (!active_) return;
    if (clipping_) screen = ClipCursorPoint(screen);
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
    UnhookWindowsHookEx(inputHook_);
    UnhookWindowsHookEx(noticeHook_);
    inputHook_ = noticeHook_ = 0;
    if (clipping_) {
        ClipCursor(nullptr);
        clipping_ = false;
    }
    if (grabber_ && !grabberAlive_.expired() && GetCaptureControl() == grabber_) SetCaptureControl(nullptr);
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

TDragOutline::TDragOutline() = default;
TDragOutline::~TDragOutline() = default;

TDragOutline& TDragOutline::Instance() {
    static TDragOutline* o = new TDragOutline;
    return *o;
}

TRegion TDragOutline::Ring() const { return visible_ ? OutlineRing(rect_, thickness_) : TRegion(); }

void TDragOutline::Invert(const TRect& rect, int thickness) {
    if (!overlay_) {
        overlay_ = std::make_unique<TOverlay>();
        // The classic half-tone: every other pixel.
        halftone_ = std::make_unique<TBitmap>();
        halftone_->SetSize(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) halftone_->Canvas()->SetPixels(x, y, (x + y) & 1 ? clWhite : clBlack);
    }
    TCanvas* c = overlay_->Canvas();
    c->Brush()->SetBitmap(halftone_.get());
    c->CopyMode = cmPatInvert;
    TRegion ring = OutlineRing(rect, thickness);
    for (const TRect& part : ring.Rects()) c->CopyRect(part, c, part);
}

void TDragOutline::Draw(const TRect* rect, int thickness) {
    if (!rect || IsRectEmpty(rect->Normalized()) || thickness <= 0) {
        if (visible_) Invert(rect_, thickness_);
        visible_ = false;
        rect_ = TRect();
        thickness_ = 0;
        return;
    }
    TRect r = rect->Normalized();
    if (visible_ && r == rect_ && thickness == thickness_) return;
    if (visible_) Invert(rect_, thickness_);
    rect_ = r;
    thickness_ = thickness;
    visible_ = true;
    Invert(rect_, thickness_);
}
