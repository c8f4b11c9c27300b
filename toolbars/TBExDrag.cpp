// Dragging, floating resize and the close button of tool windows.
#include <algorithm>

#include "platform/MulDiv.h"
#include "platform/ScopeGuard.h"
#include "toolbars/TBEx.h"

namespace {

constexpr TDockPosition kPositionOrder[] = {dpTop, dpBottom, dpLeft, dpRight};

TRect ScreenRectOf(const TControl* c) {
    TRect r;
    if (!GetWindowRect(c, r)) r = TRect();
    return Bounds(r.Left, r.Top, c->Width(), c->Height());
}

bool CtrlDown() { return GetKeyState(VK_CONTROL) < 0; }

} // namespace

// ---- candidate docks ---------------------------------------------------------------------

void TCustomToolWindowEx::CollectCandidateDocks(std::vector<TDockEx*>& out) {
    out.clear();
    if (DockMode == dmCannotFloatOrChangeDocks) {
        if (docked_ && dockedTo_) out.push_back(dockedTo_);
        return;
    }
    std::vector<TForm*> forms;
    TForm* own = GetToolWindowParentForm(this);
    if (own) forms.push_back(own);
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (f != own && std::find(dockForms_.begin(), dockForms_.end(), f) != dockForms_.end()) forms.push_back(f);
    }
    std::function<void(TWinControl*)> visit = [&](TWinControl* c) {
        if (!c->Showing()) return;
        if (auto* d = dynamic_cast<TDockEx*>(c)) {
            if (d->AllowDrag() && DockableTo.Contains(d->Position())) out.push_back(d);
        }
        for (TDockPosition p : kPositionOrder)
            for (int i = 0; i < c->ControlCount(); ++i)
                if (auto* d = dynamic_cast<TDockEx*>(c->Controls(i)); d && d->Position() == p) visit(d);
        for (int i = 0; i < c->ControlCount(); ++i) {
            auto* wc = dynamic_cast<TWinControl*>(c->Controls(i));
            if (wc && !dynamic_cast<TDockEx*>(wc)) visit(wc);
        }
    };
    for (TForm* f : forms) visit(f);
}

const TCustomToolWindowEx::DockedSize& TCustomToolWindowEx::SizeFor(TDockEx* dock) const {
    for (const DockedSize& s : dockedSizes_)
        if (s.dock == dock) return s;
    return dockedSizes_.back();
}

// The cursor may be up to 32 pixels beside and 20 pixels above or below the
// dock, split in proportion to where the window was grabbed.
bool TCustomToolWindowEx::CanDockTo(TDockEx* dock, TPoint p, const DockedSize& size) const {
    TRect r = ScreenRectOf(dock);
    bool leftRight = GetDockTypeOf(dock) == dtLeftRight;
    if (r.Width() == 0 || r.Height() == 0) {
        if (leftRight) InflateRect(r, 1, 0);
        else InflateRect(r, 0, 1);
    }
    TRect dr = Bounds(p.x - MulDiv(size.width - 1, dPoint_.x, origSize_.x), p.y - MulDiv(size.height - 1, dPoint_.y, origSize_.y),
                      size.width, size.height);
    int hx = MulDiv(32, dPoint_.x, origSize_.x);
    int hy = MulDiv(20, dPoint_.y, origSize_.y);
    if (!(r.Left - (32 - hx) <= p.x && p.x <= r.Right - 1 + hx)) return false;
    if (leftRight && !(r.Top <= p.y && p.y < r.Bottom)) return false;
    if (!(r.Top - (20 - hy) <= p.y && p.y <= r.Bottom - 1 + hy)) return false;
    TRect common;
    return IntersectRect(common, dr, r);
}

// ---- dragging ------------------------------------------------------------------------------

void TCustomToolWindowEx::BeginMoving(int initX, int initY) {
    if (tracker_ && tracker_->Active()) return;
    TRect ins = NCInsets();
    dPoint_ = TPoint(initX + ins.Left, initY + ins.Top);
    origSize_ = TPoint(Width() - 1, Height() - 1);
    preventDocking_ = CtrlDown();
    preventFloating_ = DockMode != dmCanFloat;
    CollectCandidateDocks(candidates_);
    dockedSizes_.clear();
    for (TDockEx* d : candidates_) {
        bool leftRight = GetDockTypeOf(d) == dtLeftRight;
        TPoint client = d == dockedTo_ && docked_ ? TPoint(ClientWidth(), ClientHeight()) : OrderControls(false, GetDockTypeOf(d), d);
        TPoint tl, br;
        GetDockedNCArea(tl, br, leftRight, closeButtonWhenDocked_, dragHandleStyle_);
        dockedSizes_.push_back(DockedSize{d, client.x + tl.x + br.x, client.y + tl.y + br.y});
    }
    {
        TPoint client = OrderControls(false, dtNotDocked, nullptr);
        TPoint tl, br;
        GetFloatingNCArea(tl, br, resizable_, showCaption_);
        dockedSizes_.push_back(DockedSize{nullptr, client.x + tl.x + br.x, client.y + tl.y + br.y});
    }
    moveRect_ = TRect();
    useNewDock_ = nullptr;
    TMouseTracker::Handlers h;
    h.Moved = [this](TPoint p) { DragMoved(p); };
    h.CtrlChanged = [this](bool down) {
        if (down == preventDocking_) return;
        preventDocking_ = down;
        DragMoved(tracker_->LastPoint());
    };
    h.Finished = [this](bool accepted) { DragFinished(accepted); };
    tracker_ = std::make_unique<TMouseTracker>(this, std::move(h));
    tracker_->Start();
    TPoint start = ClientToScreen(TPoint(initX, initY));
    tracker_->MouseMove(start);
}

void TCustomToolWindowEx::DragMoved(TPoint p) {
    useNewDock_ = nullptr;
    if (!preventDocking_) {
        for (TDockEx* d : candidates_) {
            if (!CanDockTo(d, p, SizeFor(d))) continue;
            bool accept = true;
            if (d->OnRequestDock) d->OnRequestDock(d, this, accept);
            if (!accept) continue;
            useNewDock_ = d;
            break;
        }
    }
    if (!useNewDock_) {
        TRect w = Screen->WorkAreaAt(p);
        p.x = std::clamp(p.x, w.Left, std::max(w.Left, w.Right));
        p.y = std::clamp(p.y, w.Top, std::max(w.Top, w.Bottom));
    }
    const DockedSize& s = SizeFor(useNewDock_);
    moveRect_ = Bounds(p.x - MulDiv(s.width - 1, dPoint_.x, origSize_.x), p.y - MulDiv(s.height - 1, dPoint_.y, origSize_.y), s.width,
                       s.height);
    if (!useNewDock_) {
        TPoint f = FrameSize(resizable_);
        TRect area = Screen->WorkAreaAt(p);
        TRect w = area;
        InflateRect(w, -(f.x + 4), -(f.y + 4));
        if (moveRect_.Bottom < w.Top) OffsetRect(moveRect_, 0, w.Top - moveRect_.Bottom);
        if (moveRect_.Top > w.Bottom) OffsetRect(moveRect_, 0, w.Bottom - moveRect_.Top);
        if (moveRect_.Right < w.Left) OffsetRect(moveRect_, w.Left - moveRect_.Right, 0);
        if (moveRect_.Left > w.Right) OffsetRect(moveRect_, w.Right - moveRect_.Left, 0);
        TPoint tl, br;
        GetFloatingNCArea(tl, br, resizable_, showCaption_);
        int minTop = area.Top + 4 - tl.y;
        if (moveRect_.Top < minTop) OffsetRect(moveRect_, 0, minTop - moveRect_.Top);
    }
    if (preventFloating_ && !useNewDock_) {
        moveRect_ = TRect();
        Screen->SetCursor(crNo);
    } else {
        Screen->SetCursor(crDefault);
    }
    DrawDraggingOutline(moveRect_, useNewDock_ != nullptr);
}

void TCustomToolWindowEx::DrawDraggingOutline(const TRect& newRect, bool newDocking) {
    TRect r = newRect;
    draggingOutline_ = !IsRectEmpty(r);
    TDragOutline::Instance().Draw(draggingOutline_ ? &r : nullptr, newDocking ? 1 : FrameSize(resizable_).x);
}

void TCustomToolWindowEx::DragFinished(bool accepted) {
    TDragOutline::Instance().Hide();
    draggingOutline_ = false;
    Screen->SetCursor(crDefault);
    clicked_ = false;
    TRect r = moveRect_;
    TDockEx* dock = useNewDock_;
    candidates_.clear();
    dockedSizes_.clear();
    if (!accepted || IsRectEmpty(r)) return;
    if (dock) {
        TPoint o = dock->ClientOrigin();
        OffsetRect(r, -o.x, -o.y);
        bool leftRight = GetDockTypeOf(dock) == dtLeftRight;
        int middle = leftRight ? r.Left + r.Width() / 2 : r.Top + r.Height() / 2;
        bool before = false;
        int row = dock->GetRowOf(middle, before);
        if (before) {
            dock->InsertRowBefore(row);
        } else if (fullSize_ && dock->GetNumberOfToolbarsOnRow(row, this) > 0) {
            ++row;
            dock->InsertRowBefore(row);
        }
        dockRow_ = row;
        dockPos_ = leftRight ? r.Top : r.Left;
        SetParent(dock);
        dock->ArrangeToolbars(true);
    } else {
        SetFloatingTopLeft(r.TopLeft());
        if (docked_) SetParent(ValidToolWindowParentForm(this));
        else SetBounds(r.Left, r.Top, Width(), Height());
    }
    MoveOnScreen(true);
}

// ---- floating resize --------------------------------------------------------------------

void TCustomToolWindowEx::BeginSizing(int hitTest, TPoint startScreen) {
    if (tracker_ && tracker_->Active()) return;
    int mw = 0, mh = 0;
    GetMinimumSize(mw, mh);
    sizingMin_ = TPoint(mw + Width() - ClientWidth(), mh + Height() - ClientHeight());
    sizingHit_ = hitTest;
    sizingOrig_ = BoundsRect();
    sizingRect_ = sizingOrig_;
    ResizeBegin(hitTest);
    TMouseTracker::Handlers h;
    h.Moved = [this](TPoint p) { SizeMoved(p); };
    h.Finished = [this](bool accepted) { SizeFinished(accepted); };
    // With one monitor the cursor stays in the work area, so that the frame
    // being dragged cannot be taken out of reach.
    if (params_.ResizeClipCursor && Screen->MonitorCount() == 1) h.ClipCursorTo = Screen->WorkAreaRect();
    tracker_ = std::make_unique<TMouseTracker>(this, std::move(h));
    tracker_->Start();
    draggingOutline_ = true;
    TDragOutline::Instance().Draw(&sizingRect_, FrameSize(resizable_).x);
    sizingStart_ = startScreen;
    lastSizingPos_ = startScreen;
    sizingCursor_ = startScreen;
}

void TCustomToolWindowEx::SizeMoved(TPoint p) {
    if (p == lastSizingPos_) return;
    lastSizingPos_ = p;
    sizingCursor_ = p;
    int dx = p.x - sizingStart_.x, dy = p.y - sizingStart_.y;
    TRect r = sizingOrig_;
    int h = sizingHit_;
    bool leftEdge = h == HTLEFT || h == HTTOPLEFT || h == HTBOTTOMLEFT;
    bool rightEdge = h == HTRIGHT || h == HTTOPRIGHT || h == HTBOTTOMRIGHT;
    bool topEdge = h == HTTOP || h == HTTOPLEFT || h == HTTOPRIGHT;
    bool bottomEdge = h == HTBOTTOM || h == HTBOTTOMLEFT || h == HTBOTTOMRIGHT;
    if (leftEdge) r.Left += dx;
    if (rightEdge) r.Right += dx;
    if (topEdge) r.Top += dy;
    if (bottomEdge) r.Bottom += dy;
    // Below the minimum the dragged edge stops; the other one never moves.
    if (r.Width() < sizingMin_.x) {
        if (leftEdge) r.Left = r.Right - sizingMin_.x;
        else r.Right = r.Left + sizingMin_.x;
    }
    if (r.Height() < sizingMin_.y) {
        if (topEdge) r.Top = r.Bottom - sizingMin_.y;
        else r.Bottom = r.Top + sizingMin_.y;
    }
    ResizeTrack(r, sizingOrig_);
    sizingRect_ = r;
    TDragOutline::Instance().Draw(&sizingRect_, FrameSize(resizable_).x);
}

void TCustomToolWindowEx::SizeFinished(bool accepted) {
    TDragOutline::Instance().Hide();
    draggingOutline_ = false;
    clicked_ = false;
    ResizeEnd(accepted);
    if (!accepted) return;
    TRect r = sizingRect_;
    BeginUpdate();
    {
        TScopeGuard endUpdate([this] { EndUpdate(); });
        SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    MoveOnScreen(true);
}

// ---- the close button ---------------------------------------------------------------------

void TCustomToolWindowEx::BeginCloseButton() {
    if (tracker_ && tracker_->Active()) return;
    closeButtonDown_ = true;
    InvalidateNonClient();
    TMouseTracker::Handlers h;
    h.EscapeEnds = false;
    h.Moved = [this](TPoint p) {
        bool over = HitTest(p) == HTCLOSE;
        if (over != closeButtonDown_) {
            closeButtonDown_ = over;
            InvalidateNonClient();
        }
    };
    h.Finished = [this](bool accepted) {
        bool close = accepted && closeButtonDown_;
        if (closeButtonDown_) {
            closeButtonDown_ = false;
            InvalidateNonClient();
        }
        if (close) CloseByUser();
    };
    tracker_ = std::make_unique<TMouseTracker>(this, std::move(h));
    tracker_->Start();
}

void TCustomToolWindowEx::CloseByUser() {
    SetVisible(false);
    if (OnClose) OnClose(this);
}
