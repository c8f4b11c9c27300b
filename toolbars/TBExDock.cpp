// TDockEx: rows of tool windows along one edge of a form.
#include <algorithm>
#include <climits>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "toolbars/TBEx.h"
#include "toolbars/TBExPaint.h"

namespace {

TCustomToolWindowEx* Bar(void* p) { return static_cast<TCustomToolWindowEx*>(p); }

// Rows first, then positions within a row.
int CompareDockRowPos(void* a, void* b, void*) {
    TCustomToolWindowEx* x = Bar(a);
    TCustomToolWindowEx* y = Bar(b);
    if (x->DockRow() != y->DockRow()) return x->DockRow() - y->DockRow();
    return x->DockPos() - y->DockPos();
}

} // namespace

TDockType GetDockTypeOf(const TDockEx* dock) {
    if (!dock) return dtNotDocked;
    return dock->Position() == dpLeft || dock->Position() == dpRight ? dtLeftRight : dtTopBottom;
}

TDockEx::TDockEx(TComponent* owner) : TCustomControl(owner), background_(std::make_unique<TBitmap>()) {
    ControlStyle = (ControlStyle | csAcceptsControls | csNoStdEvents) & ~(csClickEvents | csCaptureMouse | csOpaque);
    TabStop = false;
    color_ = clBtnFace;
    background_->OnChange = [this](TObject*) { BackgroundChanged(); };
    EnableNonClient();
    SetAlign(alTop);
}

TDockEx::~TDockEx() {
    // The docked bars go first, while the dock's lists still exist.
    DestroyChildren();
}

TCustomToolWindowEx* TDockEx::Toolbars(int index) const { return Bar(visibleList_.Items(index)); }

TCustomToolWindowEx* TDockEx::DockListItems(int index) const { return Bar(dockList_.Items(index)); }

void TDockEx::SetAllowDrag(bool v) {
    if (v == allowDrag_) return;
    allowDrag_ = v;
    // The bars show or hide their drag handles.
    for (TControl* c : controls_)
        if (auto* b = dynamic_cast<TCustomToolWindowEx*>(c)) b->FrameChanged();
    ArrangeToolbars(false);
}

void TDockEx::SetBackground(const TBitmap* b) {
    background_->Assign(const_cast<TBitmap*>(b));
    BackgroundChanged();
}

void TDockEx::SetBackgroundOnToolbars(bool v) {
    if (v == backgroundOnToolbars_) return;
    backgroundOnToolbars_ = v;
    InvalidateBackgrounds();
}

void TDockEx::SetBackgroundTransparent(bool v) {
    if (v == backgroundTransparent_) return;
    backgroundTransparent_ = v;
    BackgroundChanged();
}

void TDockEx::SetBoundLines(TDockBoundLines v) {
    if (v == boundLines_) return;
    boundLines_ = v;
    FrameChanged();
}

void TDockEx::SetFixAlign(bool v) {
    if (v == fixAlign_) return;
    fixAlign_ = v;
    ArrangeToolbars(false);
}

void TDockEx::SetPosition(TDockPosition v) {
    if (ControlCount() > 0) throw EInvalidOperation("Cannot change Position of a TDockEx if it already contains controls");
    position_ = v;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[v]);
    FrameChanged();
}

void TDockEx::SetParent(TWinControl* parent) {
    if (dynamic_cast<TCustomToolWindowEx*>(parent) || dynamic_cast<TDockEx*>(parent))
        throw EInvalidOperation("A TDockEx control cannot be placed inside a tool window or another TDockEx");
    TCustomControl::SetParent(parent);
}

// ---- frame --------------------------------------------------------------------

TRect TDockEx::NCInsets() const {
    return TRect(boundLines_.Contains(blLeft) ? 1 : 0, boundLines_.Contains(blTop) ? 1 : 0, boundLines_.Contains(blRight) ? 1 : 0,
                 boundLines_.Contains(blBottom) ? 1 : 0);
}

int TDockEx::ClientWidth() const {
    TRect i = NCInsets();
    return std::max(Width() - i.Left - i.Right, 0);
}

int TDockEx::ClientHeight() const {
    TRect i = NCInsets();
    return std::max(Height() - i.Top - i.Bottom, 0);
}

void TDockEx::SetBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    bool moved = left != Left() || top != Top();
    TCustomControl::SetBounds(left, top, width, height);
    // The frame follows at once, also while the window is not shown.
    if (sized) LayoutNonClient();
    if (moved && UsingBackground()) InvalidateBackgrounds();
}

void TDockEx::FrameChanged() {
    RecalcNonClient();
    ArrangeToolbars(false);
}

void TDockEx::PaintNonClient() {
    TCanvas* c = NonClientCanvas();
    if (!c) return;
    FillSolid(c, Rect(0, 0, Width(), Height()), Color());
    if (!HasVisibleToolbars()) return;
    // Top and left lines in the shadow colour along the outer edge, bottom
    // and right ones in the highlight colour along the last pixels.
    auto line = [c](const TRect& r, TColor color) { FillSolid(c, r, color); };
    if (boundLines_.Contains(blTop)) line(Rect(0, 0, Width(), 1), clBtnShadow);
    if (boundLines_.Contains(blLeft)) line(Rect(0, 0, 1, Height()), clBtnShadow);
    if (boundLines_.Contains(blBottom)) line(Rect(0, Height() - 1, Width(), Height()), clBtnHighlight);
    if (boundLines_.Contains(blRight)) line(Rect(Width() - 1, 0, Width(), Height()), clBtnHighlight);
}

void TDockEx::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    FillSolid(c, r, Color());
    if (UsingBackground()) {
        TPoint anchor = BackgroundAnchor();
        TPoint origin = ClientOrigin();
        TRect draw = Rect(anchor.x - origin.x, anchor.y - origin.y, r.Right, r.Bottom);
        DrawBackground(c, r, nullptr, draw);
    }
}

void TDockEx::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        ApplyNCInsets(m, NCInsets());
        return;
    case WM_NCPAINT:
        PaintNonClient();
        return;
    case WM_NCHITTEST:
        m.Result = HTCLIENT;
        return;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        ArrangeToolbars(false);
        return;
    case CM_CONTROLCHANGE:
        // A bar changed its bounds on its own: lay the rows out again.
        if (updateCount_ == 0) ArrangeToolbars(false);
        break;
    case CM_COLORCHANGED:
        TCustomControl::WndProc(m);
        if (UsingBackground()) BackgroundChanged();
        InvalidateNonClient();
        return;
    case CM_SYSCOLORCHANGE:
        if (UsingBackground()) BackgroundChanged();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

void TDockEx::Resize() {
    if (!IsLoading()) TCustomControl::Resize();
}

void TDockEx::Loaded() {
    TCustomControl::Loaded();
    ArrangeToolbars(false);
}

void TDockEx::AlignControls(TRect&) { ArrangeToolbars(false); }

void TDockEx::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == opRemove) {
        dockList_.Remove(component);
        visibleList_.Remove(component);
    }
}

// ---- membership ---------------------------------------------------------------------

bool TDockEx::ToolbarVisibleOnDock(const TCustomToolWindowEx* bar) const { return bar->Parent() == this && bar->Visible(); }

bool TDockEx::HasVisibleToolbars() const {
    for (void* p : dockList_.Raw())
        if (ToolbarVisibleOnDock(Bar(p))) return true;
    return false;
}

void TDockEx::ChangeDockList(bool insert, TCustomToolWindowEx* bar) {
    if (insert) {
        if (dockList_.IndexOf(bar) < 0) {
            dockList_.Add(bar);
            bar->FreeNotification(this);
        }
    } else {
        dockList_.Remove(bar);
    }
    ToolbarVisibilityChanged(bar, false);
}

void TDockEx::ToolbarVisibilityChanged(TCustomToolWindowEx* bar, bool forceRemove) {
    bool shouldBe = !forceRemove && dockList_.IndexOf(bar) >= 0 && ToolbarVisibleOnDock(bar);
    bool is = visibleList_.IndexOf(bar) >= 0;
    if (shouldBe == is) return;
    if (shouldBe) visibleList_.Add(bar);
    else visibleList_.Remove(bar);
    ArrangeToolbars(false);
    if (OnInsertRemoveBar) OnInsertRemoveBar(this, shouldBe, bar);
}

// ---- rows --------------------------------------------------------------------------

int TDockEx::GetHighestRow() const {
    int highest = -1;
    for (void* p : dockList_.Raw()) highest = std::max(highest, Bar(p)->DockRow());
    return highest;
}

int TDockEx::GetNumberOfToolbarsOnRow(int row, const TCustomToolWindowEx* notIncluding) const {
    int n = 0;
    for (void* p : dockList_.Raw())
        if (Bar(p) != notIncluding && Bar(p)->DockRow() == row) ++n;
    return n;
}

int TDockEx::GetRowSize(int row, TCustomToolWindowEx* defaultToolbar) const {
    int size = row >= 0 && row < int(rowInfo_.size()) ? rowInfo_[std::size_t(row)] : 0;
    if (size == 0 && defaultToolbar) size = defaultToolbar->GetBarSize(GetDockTypeOf(this));
    return size;
}

void TDockEx::InsertRowBefore(int row) {
    for (void* p : dockList_.Raw())
        if (Bar(p)->DockRow() >= row) Bar(p)->dockRow_ = Bar(p)->DockRow() + 1;
}

void TDockEx::RemoveBlankRows() {
    int highest = GetHighestRow();
    int row = 0;
    while (row <= highest) {
        if (GetNumberOfToolbarsOnRow(row, nullptr) == 0) {
            for (void* p : dockList_.Raw())
                if (Bar(p)->DockRow() > row) Bar(p)->dockRow_ = Bar(p)->DockRow() - 1;
            --highest;
        }
        ++row;
    }
}

int TDockEx::GetRowOf(int xy, bool& before) const {
    before = false;
    int highest = GetHighestRow();
    int r = 0;
    for (int row = 0; row <= highest + 1; ++row) {
        int next;
        if (row == highest + 1) {
            next = INT_MAX;
        } else {
            int size = GetRowSize(row, nullptr);
            if (size == 0) continue;
            next = r + size + 4;
        }
        if (xy < r + 5) {
            before = true;
            return row;
        }
        if (next == INT_MAX || xy < next - 5) return row;
        r = next;
    }
    return highest + 1;
}

int TDockEx::GetDesignModeRowOf(int xy) const {
    int highest = GetHighestRow();
    int end = 0;
    for (int row = 0; row <= highest; ++row) {
        int size = GetRowSize(row, nullptr);
        if (size == 0) continue;
        end += size + 4;
        if (end > xy) return row;
    }
    return highest + 1;
}

void TDockEx::BuildRowInfo() {
    rowInfo_.clear();
    int highest = GetHighestRow();
    TDockType type = GetDockTypeOf(this);
    for (int row = 0; row <= highest; ++row) {
        int size = 0;
        bool any = false;
        for (void* p : dockList_.Raw()) {
            TCustomToolWindowEx* b = Bar(p);
            if (b->DockRow() != row || !ToolbarVisibleOnDock(b)) continue;
            any = true;
            size = std::max(size, b->GetBarSize(type));
        }
        if (any && size < 8) size = 8;
        rowInfo_.push_back(any ? size : 0);
    }
}

// ---- layout ------------------------------------------------------------------------

void TDockEx::BeginUpdate() { ++updateCount_; }

void TDockEx::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0 && arrangeNeeded_) ArrangeToolbars(arrangeClipPoses_);
}

void TDockEx::ChangeWidthHeight(bool isClientSize, int newWidth, int newHeight) {
    if (isClientSize) {
        TRect i = NCInsets();
        newWidth += i.Left + i.Right;
        newHeight += i.Top + i.Bottom;
    }
    switch (Align()) {
    case alTop:
    case alLeft:
        SetBounds(Left(), Top(), newWidth, newHeight);
        break;
    case alBottom:
        SetBounds(Left(), Top() + Height() - newHeight, newWidth, newHeight);
        break;
    case alRight:
        SetBounds(Left() + Width() - newWidth, Top(), newWidth, newHeight);
        break;
    default:
        break;
    }
}

void TDockEx::ArrangeToolbars(bool clipPoses) {
    if (clipPoses) arrangeClipPoses_ = true;
    if (updateCount_ > 0 || IsLoading() || IsDestroying()) {
        arrangeNeeded_ = true;
        return;
    }
    ++updateCount_;
    struct Guard {
        TDockEx* d;
        ~Guard() {
            --d->updateCount_;
            d->arrangeNeeded_ = false;
            d->arrangeClipPoses_ = false;
        }
    } guard{this};
    if (Parent()) BringWindowToTop(this);

    bool leftRight = GetDockTypeOf(this) == dtLeftRight;
    if (!HasVisibleToolbars()) {
        int thickness = fixAlign_ ? 1 : 0;
        if (leftRight) ChangeWidthHeight(false, thickness, Height());
        else ChangeWidthHeight(false, Width(), thickness);
        InvalidateNonClient();
        return;
    }

    if (LimitToOneRow)
        for (void* p : dockList_.Raw()) Bar(p)->dockRow_ = 0;
    RemoveBlankRows();
    ListSortEx(&dockList_, CompareDockRowPos, nullptr);
    ListSortEx(&visibleList_, CompareDockRowPos, nullptr);

    // Full-size bars take a row of their own.
    for (int row = 0; row <= GetHighestRow(); ++row) {
        for (void* p : std::vector<void*>(dockList_.Raw())) {
            TCustomToolWindowEx* b = Bar(p);
            if (b->DockRow() != row || !b->FullSize()) continue;
            if (GetNumberOfToolbarsOnRow(row, b) == 0) continue;
            for (void* q : dockList_.Raw())
                if (Bar(q) != b && Bar(q)->DockRow() >= row) Bar(q)->dockRow_ = Bar(q)->DockRow() + 1;
        }
    }
    BuildRowInfo();

    auto length = [&](TCustomToolWindowEx* b) { return leftRight ? b->Height() : b->Width(); };
    int highest = GetHighestRow();
    // Stored positions: no overlaps within a row.
    for (int row = 0; row <= highest; ++row) {
        int cur = 0;
        for (void* p : dockList_.Raw()) {
            TCustomToolWindowEx* b = Bar(p);
            if (b->DockRow() != row || !ToolbarVisibleOnDock(b)) continue;
            if (b->FullSize()) {
                b->dockPos_ = 0;
            } else {
                if (b->DockPos() <= cur) b->dockPos_ = cur;
                cur = b->DockPos() + length(b);
            }
        }
    }

    // Working positions: pushed back from the far end, then forward again so
    // that nothing overlaps or starts below 0.
    int n = dockList_.Count();
    std::vector<int> pos(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) pos[std::size_t(i)] = DockListItems(i)->DockPos();
    int clientLength = leftRight ? ClientHeight() : ClientWidth();
    for (int row = 0; row <= highest; ++row) {
        int limit = clientLength;
        for (int i = n - 1; i >= 0; --i) {
            TCustomToolWindowEx* b = DockListItems(i);
            if (b->DockRow() != row || !ToolbarVisibleOnDock(b) || b->FullSize()) continue;
            if (limit - length(b) < pos[std::size_t(i)]) pos[std::size_t(i)] = limit - length(b);
            limit = pos[std::size_t(i)];
        }
        int cur = 0;
        for (int i = 0; i < n; ++i) {
            TCustomToolWindowEx* b = DockListItems(i);
            if (b->DockRow() != row || !ToolbarVisibleOnDock(b) || b->FullSize()) continue;
            if (cur >= pos[std::size_t(i)]) pos[std::size_t(i)] = cur;
            cur = pos[std::size_t(i)] + length(b);
        }
    }
    if (arrangeClipPoses_)
        for (int i = 0; i < n; ++i) DockListItems(i)->dockPos_ = pos[std::size_t(i)];

    // Place the bars.
    int across = 0;
    for (int row = 0; row < int(rowInfo_.size()); ++row) {
        int s = rowInfo_[std::size_t(row)];
        if (s != 0) s += 4;
        for (int i = 0; i < n; ++i) {
            TCustomToolWindowEx* b = DockListItems(i);
            if (b->DockRow() != row || !ToolbarVisibleOnDock(b)) continue;
            ++b->updatingBounds_;
            if (leftRight) b->SetBounds(across, pos[std::size_t(i)], s, b->FullSize() ? ClientHeight() : b->Height());
            else b->SetBounds(pos[std::size_t(i)], across, b->FullSize() ? ClientWidth() : b->Width(), s);
            --b->updatingBounds_;
        }
        across += s;
    }
    if (leftRight) ChangeWidthHeight(true, across, ClientHeight());
    else ChangeWidthHeight(true, ClientWidth(), across);
    InvalidateNonClient();
}

// ---- background ---------------------------------------------------------------------

bool TDockEx::UsingBackground() const { return background_->Width() != 0 && background_->Height() != 0; }

TBitmap* TDockEx::BackgroundSource() {
    if (!backgroundTransparent_) return background_.get();
    if (!backgroundCache_) {
        auto cache = std::make_unique<TBitmap>();
        cache->SetSize(background_->Width(), background_->Height());
        cache->Canvas()->Brush()->SetColor(Color());
        cache->Canvas()->FillRect(Rect(0, 0, cache->Width(), cache->Height()));
        TBitmap copy;
        copy.Assign(background_.get());
        copy.SetTransparentMode(tmAuto);
        copy.SetTransparent(true);
        cache->Canvas()->Draw(0, 0, &copy);
        backgroundCache_ = std::move(cache);
    }
    return backgroundCache_.get();
}

TPoint TDockEx::BackgroundAnchor() const {
    if (Parent()) return Parent()->ClientOrigin();
    return ClientOrigin();
}

void TDockEx::DrawBackground(TCanvas* canvas, const TRect& intersectClip, const TRect* excludeClip, const TRect& drawRect) {
    if (!UsingBackground() || !canvas) return;
    TBitmap* source = BackgroundSource();
    int w = source->Width(), h = source->Height();
    TRegion clip(intersectClip);
    if (excludeClip) clip = TRegion::Combine(clip, TRegion(*excludeClip), RGN_DIFF);
    canvas->SelectClipRgn(&clip);
    TCopyMode keep = canvas->CopyMode;
    canvas->CopyMode = cmSrcCopy;
    for (int x = drawRect.Left; x < drawRect.Right; x += w)
        for (int y = drawRect.Top; y < drawRect.Bottom; y += h) canvas->Draw(x, y, source);
    canvas->CopyMode = keep;
    canvas->SelectClipRgn(nullptr);
}

void TDockEx::InvalidateBackgrounds() {
    Invalidate();
    for (void* p : visibleList_.Raw()) {
        TCustomToolWindowEx* b = Bar(p);
        b->InvalidateNonClient();
        b->Invalidate();
    }
}

void TDockEx::BackgroundChanged() {
    backgroundCache_.reset();
    InvalidateBackgrounds();
}
