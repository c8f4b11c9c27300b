// TCustomToolbarEx: rows, columns and wrapped rows of controls; TToolbarSepEx.
#include <algorithm>
#include <climits>

#include "platform/Canvas.h"
#include "toolbars/TBExTlbr.h"

struct TCustomToolbarEx::SizeData {
    int hitTest = 0;
    std::vector<TSizeCandidate> candidates;
    int newRightX = 0;
    int sensitivity = 12;
    bool sensitivityOff = false;
    bool lastShrinking = false;
};

namespace {

bool IsSeparator(const TControl* c) { return dynamic_cast<const TToolbarSepEx*>(c) != nullptr; }

bool HorizontalSizing(int hit) { return hit == HTLEFT || hit == HTRIGHT; }

} // namespace

TCustomToolbarEx::TCustomToolbarEx(TComponent* owner) : TCustomToolWindowEx(owner) {
    params_.CallAlignControls = false;
    params_.ResizeEightCorner = false;
    params_.ResizeClipCursor = false;
}

TCustomToolbarEx::~TCustomToolbarEx() { ToolWindowDestroying(); }

bool TCustomToolbarEx::Vertical() const { return Docked() && GetDockTypeOf(DockedTo()) == dtLeftRight; }

// ---- order ------------------------------------------------------------------------------

void TCustomToolbarEx::SyncOrder() {
    // Children join at the end and leave when removed (a child being
    // destroyed has left the list of children before it is gone).
    auto isChild = [this](TControl* c) { return std::find(controls_.begin(), controls_.end(), c) != controls_.end(); };
    order_.erase(std::remove_if(order_.begin(), order_.end(), [&](TControl* c) { return !isChild(c); }), order_.end());
    slaves_.erase(std::remove_if(slaves_.begin(), slaves_.end(), [&](const Slave& s) { return !isChild(s.topBottom) || !isChild(s.leftRight); }),
                  slaves_.end());
    for (TControl* c : controls_) {
        if (std::find(order_.begin(), order_.end(), c) == order_.end()) {
            order_.push_back(c);
            WatchChild(c);
        }
    }
}

void TCustomToolbarEx::ControlsChanged() {
    SyncOrder();
    ArrangeControls();
}

// The layer tells a parent of its children's bounds but not of their
// visibility: the toolbar follows each child's window procedure for it.
void TCustomToolbarEx::WatchChild(TControl* c) {
    watched_.erase(std::remove_if(watched_.begin(), watched_.end(), [](const Watched& w) { return w.alive.expired(); }), watched_.end());
    for (const Watched& w : watched_)
        if (w.control == c) return;
    watched_.push_back(Watched{c, c->Alive()});
    TWndMethod previous = c->WindowProc;
    std::weak_ptr<char> self = Alive();
    c->WindowProc = [this, self, previous, c](TMessage& m) {
        previous(m);
        if (m.Msg == CM_VISIBLECHANGED && !self.expired() && c->Parent() == this) ChildVisibilityChanged();
    };
}

void TCustomToolbarEx::ChildVisibilityChanged() {
    if (updateCount_ == 0) ArrangeControls();
}

int TCustomToolbarEx::GetOrderIndex(TControl* control) const {
    auto it = std::find(order_.begin(), order_.end(), control);
    if (it == order_.end())
        throw EInvalidOperation(Format("Control '%s' is not a child of the toolbar", control ? control->Name() : AnsiString()));
    return int(it - order_.begin());
}

void TCustomToolbarEx::SetOrderIndex(TControl* control, int value) {
    int old = GetOrderIndex(control);
    value = std::clamp(value, 0, int(order_.size()) - 1);
    if (value == old) return;
    order_.erase(order_.begin() + old);
    order_.insert(order_.begin() + value, control);
    ArrangeControls();
}

void TCustomToolbarEx::SetSlaveControl(TControl* topBottom, TControl* leftRight) {
    slaves_.push_back(Slave{topBottom, leftRight});
    ArrangeControls();
}

bool TCustomToolbarEx::ShouldControlBeVisible(TControl* control, bool leftOrRight) const {
    for (const Slave& s : slaves_) {
        if (control == s.leftRight && leftOrRight) return true;
        if (control == s.topBottom && !leftOrRight) return true;
        if (control == s.leftRight || control == s.topBottom) return false;
    }
    return control->Visible();
}

void TCustomToolbarEx::InitializeOrdering() {
    if (!toolbarParams_.InitializeOrderByPosition) return;
    TList list;
    for (TControl* c : order_) list.Add(c);
    bool vertical = Vertical();
    ListSortEx(
        &list,
        [vertical](void* a, void* b, void*) {
            auto* x = static_cast<TControl*>(a);
            auto* y = static_cast<TControl*>(b);
            return vertical ? x->Top() - y->Top() : x->Left() - y->Left();
        },
        nullptr);
    for (int i = 0; i < list.Count(); ++i) order_[std::size_t(i)] = static_cast<TControl*>(list.Items(i));
}

void TCustomToolbarEx::SetFloatingWidth(int v) {
    if (v == floatingRightX_) return;
    floatingRightX_ = v;
    ArrangeControls();
}

// ---- layout -----------------------------------------------------------------------------

int TCustomToolbarEx::GetBarSize(TDockType dockType) {
    bool leftRight = dockType == dtLeftRight;
    int size = 0;
    for (TControl* c : controls_) {
        if (IsSeparator(c) || !ShouldControlBeVisible(c, leftRight)) continue;
        size = std::max(size, leftRight ? c->Width() : c->Height());
    }
    return std::max(size, 8);
}

void TCustomToolbarEx::GetMinimumSize(int& clientWidth, int& clientHeight) {
    clientWidth = 0;
    clientHeight = 0;
}

void TCustomToolbarEx::BuildGroupInfo(std::vector<Group>& groups, bool temp, TDockType visibilityDockType, TDockType orderDockType) {
    (void)orderDockType;
    groups.clear();
    SyncOrder();
    std::vector<TControl*> taken;
    for (TControl* c : order_) {
        bool counts = temp ? ShouldControlBeVisible(c, visibilityDockType == dtLeftRight) : c->Visible();
        if (counts) taken.push_back(c);
    }
    for (TControl* c : taken) {
        if (groups.empty()) groups.emplace_back();
        Group& g = groups.back();
        g.members.push_back(c);
        if (IsSeparator(c)) {
            groups.emplace_back();
        } else {
            g.widthSum += c->Width();
            g.heightSum += c->Height();
        }
    }
    if (!groups.empty() && groups.back().members.empty()) groups.pop_back();
}

TPoint TCustomToolbarEx::OrderControls(bool canMoveControls, TDockType previousDockType, TDockEx* dockingTo) {
    TDockType newType = GetDockTypeOf(dockingTo);
    bool docked = dockingTo != nullptr;
    bool vertical = newType == dtLeftRight;
    const int firstRowPos = docked ? 0 : 2;
    const int rowStart = docked ? 0 : 4;
    const int endMargin = docked ? 0 : 4;
    const int bottomMargin = docked ? 0 : 1;

    if (canMoveControls)
        for (const Slave& s : slaves_) {
            s.topBottom->SetVisible(!vertical);
            s.leftRight->SetVisible(vertical);
        }

    int barSize = GetBarSize(newType);
    int rowSize = dockingTo == (Docked() ? DockedTo() : nullptr) ? GetDockRowSize() : barSize;

    std::vector<Group> temp;
    std::vector<Group>& groups = canMoveControls ? groupInfo_ : temp;
    BuildGroupInfo(groups, !canMoveControls, newType, previousDockType);
    if (canMoveControls) lineSeps_.clear();

    int rightX = INT_MAX;
    if (!docked && floatingRightX_ != 0) {
        rightX = floatingRightX_;
        for (const Group& g : groups)
            for (TControl* c : g.members)
                if (!IsSeparator(c)) rightX = std::max(rightX, c->Width() + 8);
    }

    int curRow = firstRowPos;
    int pos = rowStart;
    int maxPos = rowStart;
    bool forceWrap = false;
    int maxBeforeSep = maxPos;
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        const Group& g = groups[gi];
        int groupLen = vertical ? g.heightSum : g.widthSum;
        if (!docked && (forceWrap || pos + groupLen + endMargin > rightX)) {
            forceWrap = false;
            pos = rowStart;
            if (gi > 0 && !groups[gi - 1].members.empty()) {
                curRow += barSize + 6;
                TControl* last = groups[gi - 1].members.back();
                if (auto* sep = dynamic_cast<TToolbarSepEx*>(last)) {
                    maxPos = maxBeforeSep;
                    if (canMoveControls) {
                        sep->SetBounds(sep->Left(), sep->Top(), 0, sep->Height());
                        lineSeps_.push_back(TLineSep{curRow, sep->Blank()});
                    }
                }
            }
        }
        maxPos = std::max(maxPos, pos);
        for (TControl* c : g.members) {
            auto* sep = dynamic_cast<TToolbarSepEx*>(c);
            int len = sep ? (vertical ? sep->SizeVert() : sep->SizeHorz()) : (vertical ? c->Height() : c->Width());
            if (!docked && !sep && pos + len + endMargin > rightX) {
                pos = rowStart;
                curRow += barSize;
                forceWrap = true;
            }
            if (sep) maxBeforeSep = maxPos;
            if (canMoveControls) {
                if (!vertical) {
                    if (sep) sep->SetBounds(pos, curRow, sep->SizeHorz(), rowSize);
                    else c->SetBounds(pos, curRow + (rowSize - c->Height()) / 2, c->Width(), c->Height());
                } else {
                    if (sep) sep->SetBounds(curRow, pos, rowSize, sep->SizeVert());
                    else c->SetBounds(curRow + (rowSize - c->Width()) / 2, pos, c->Width(), c->Height());
                }
            }
            pos += len;
            maxPos = std::max(maxPos, pos);
        }
    }
    if (groups.empty()) maxPos += 8;
    maxPos += endMargin;
    int extent = curRow + barSize + bottomMargin;
    if (canMoveControls) Invalidate();
    return vertical ? TPoint(extent, maxPos) : TPoint(maxPos, extent);
}

// ---- painting ---------------------------------------------------------------------------

void TCustomToolbarEx::PaintChildBackground(TControl* child, TCanvas* canvas) {
    TRect area = Rect(0, 0, child->Width(), child->Height());
    TDockEx* d = Docked() ? DockedTo() : nullptr;
    if (d && d->UsingBackground() && d->BackgroundOnToolbars()) {
        TPoint anchor = d->BackgroundAnchor();
        TPoint origin = child->ClientOrigin();
        d->DrawBackground(canvas, area, nullptr, Rect(anchor.x - origin.x, anchor.y - origin.y, area.Right, area.Bottom));
        return;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(area);
}

void TCustomToolbarEx::Paint() {
    TCustomToolWindowEx::Paint();
    if (!Floating()) return;
    TCanvas* c = Canvas();
    int w = ClientWidth();
    for (const TLineSep& l : lineSeps_) {
        if (l.Blank) continue;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(1, l.Y - 4, w - 1, l.Y - 3));
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(Rect(1, l.Y - 3, w - 1, l.Y - 2));
    }
}

void TCustomToolbarEx::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_CONTROLCHANGE:
        // A child changed its size on its own.
        if (updateCount_ == 0 && !IsDestroying()) ArrangeControls();
        break;
    case WM_SIZE:
        if (Floating()) {
            Invalidate();
            InvalidateNonClient();
        }
        break;
    default:
        break;
    }
    TCustomToolWindowEx::WndProc(m);
}

bool TCustomToolbarEx::ChildControlTransparent(TControl* control) { return IsSeparator(control); }

// ---- stored position ----------------------------------------------------------------------

void TCustomToolbarEx::ReadPositionData(const TPositionReader& reader) {
    TCustomToolWindowEx::ReadPositionData(reader);
    floatingRightX_ = reader.ReadInt(Name(), "FloatRightX", 0, reader.ExtraData);
}

void TCustomToolbarEx::WritePositionData(const TPositionWriter& writer) {
    TCustomToolWindowEx::WritePositionData(writer);
    writer.WriteInt(Name(), "FloatRightX", floatingRightX_, writer.ExtraData);
}

// ---- floating resize ----------------------------------------------------------------------

void TCustomToolbarEx::ResizeBegin(int hitTest) {
    sizeData_ = std::make_unique<SizeData>();
    SizeData& sd = *sizeData_;
    sd.hitTest = hitTest;
    sd.newRightX = floatingRightX_;
    TRect nc = NCInsetsFor(nullptr, true);
    auto outer = [&](TPoint client) { return TSize(client.x + nc.Left + nc.Right, client.y + nc.Top + nc.Bottom); };
    int least = GetBarSize(dtNotDocked);
    int saved = floatingRightX_;
    floatingRightX_ = 0;
    TPoint single = OrderControls(false, dtNotDocked, nullptr);
    sd.candidates.push_back(TSizeCandidate{outer(single), true});
    int last = single.x;
    for (int x = single.x - 1; x >= least + 8; --x) {
        if (x > last) continue;
        floatingRightX_ = x;
        TPoint s = OrderControls(false, dtNotDocked, nullptr);
        last = s.x;
        if (s.x != x) continue;
        TSize o = outer(s);
        TSizeCandidate& prev = sd.candidates.back();
        if (prev.Size.cy == o.cy && !prev.SingleRow) {
            prev.Size = o;
        } else if (std::none_of(sd.candidates.begin(), sd.candidates.end(), [&](const TSizeCandidate& c) { return c.Size == o; })) {
            sd.candidates.push_back(TSizeCandidate{o, false});
        }
    }
    floatingRightX_ = saved;
    bool horizontal = HorizontalSizing(hitTest);
    auto key = [horizontal](const TSizeCandidate& c) { return horizontal ? c.Size.cx : c.Size.cy; };
    std::stable_sort(sd.candidates.begin(), sd.candidates.end(), [&](const TSizeCandidate& a, const TSizeCandidate& b) { return key(a) > key(b); });
    int cur = horizontal ? Width() : Height();
    for (const TSizeCandidate& c : sd.candidates)
        if (key(c) != cur) sd.sensitivity = std::min(sd.sensitivity, std::abs(key(c) - cur) - 1);
    sd.sensitivity = std::max(sd.sensitivity, 0);
}

void TCustomToolbarEx::ResizeTrack(TRect& rect, const TRect& origRect) {
    if (!sizeData_) return;
    SizeData& sd = *sizeData_;
    int hit = sd.hitTest;
    bool horizontal = HorizontalSizing(hit);
    if (!horizontal && hit != HTTOP && hit != HTBOTTOM) return;
    TPoint cursor = SizingCursor();
    int x = cursor.x - origRect.Left, y = cursor.y - origRect.Top;
    int d = horizontal ? (hit == HTLEFT ? origRect.Width() - x : x) : (hit == HTTOP ? origRect.Height() - y : y);
    int cur = horizontal ? origRect.Width() : origRect.Height();
    bool shrinking = d < cur;
    if (!(sd.sensitivityOff && shrinking == sd.lastShrinking)) {
        sd.sensitivityOff = false;
        sd.lastShrinking = shrinking;
        if (d >= cur - sd.sensitivity && d < cur + sd.sensitivity) d = cur;
    }
    rect = origRect;
    auto key = [horizontal](const TSizeCandidate& c) { return horizontal ? c.Size.cx : c.Size.cy; };
    int n = int(sd.candidates.size());
    int match = -1;
    if (d > cur) {
        for (int i = 0; i < n; ++i)
            if (i == 0 || key(sd.candidates[std::size_t(i)]) > d) match = i;
    } else {
        for (int i = n - 1; i >= 0; --i)
            if (i == n - 1 || key(sd.candidates[std::size_t(i)]) <= d) match = i;
    }
    if (match >= 0) {
        const TSizeCandidate& c = sd.candidates[std::size_t(match)];
        TPoint frame = FrameSize(Resizable());
        sd.newRightX = c.SingleRow ? 0 : c.Size.cx - 2 * frame.x;
        if (horizontal) {
            if (hit == HTLEFT) rect.Left = rect.Right - c.Size.cx;
            else rect.Right = rect.Left + c.Size.cx;
            rect.Bottom = rect.Top + c.Size.cy;
        } else {
            if (hit == HTTOP) rect.Top = rect.Bottom - c.Size.cy;
            else rect.Bottom = rect.Top + c.Size.cy;
            rect.Right = rect.Left + c.Size.cx;
        }
    }
    sd.sensitivityOff = rect != origRect;
}

void TCustomToolbarEx::ResizeEnd(bool accept) {
    if (accept && sizeData_) floatingRightX_ = sizeData_->newRightX;
    sizeData_.reset();
}

std::vector<TCustomToolbarEx::TSizeCandidate> TCustomToolbarEx::SizeCandidates() const {
    return sizeData_ ? sizeData_->candidates : std::vector<TSizeCandidate>();
}

int TCustomToolbarEx::SizeSensitivity() const { return sizeData_ ? sizeData_->sensitivity : 0; }

// ---- separator ------------------------------------------------------------------------------

TToolbarSepEx::TToolbarSepEx(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle &= ~(csCaptureMouse | csOpaque);
    SetBounds(0, 0, sizeHorz_, 22);
}

void TToolbarSepEx::SetParent(TWinControl* parent) {
    if (parent && !dynamic_cast<TCustomToolbarEx*>(parent)) throw EInvalidOperation("TToolbarSepEx can only be placed on a TToolbarEx");
    TGraphicControl::SetParent(parent);
}

void TToolbarSepEx::SetBlank(bool v) {
    if (v == blank_) return;
    blank_ = v;
    Invalidate();
}

void TToolbarSepEx::SetSizeHorz(int v) {
    v = std::max(v, 1);
    if (v == sizeHorz_) return;
    sizeHorz_ = v;
    if (auto* t = dynamic_cast<TCustomToolbarEx*>(Parent())) t->ArrangeControls();
}

void TToolbarSepEx::SetSizeVert(int v) {
    v = std::max(v, 1);
    if (v == sizeVert_) return;
    sizeVert_ = v;
    if (auto* t = dynamic_cast<TCustomToolbarEx*>(Parent())) t->ArrangeControls();
}

void TToolbarSepEx::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    // A press on a separator drags the toolbar.
    if (auto* t = dynamic_cast<TCustomToolbarEx*>(Parent())) t->MouseDown(button, shift, x + Left(), y + Top());
}

void TToolbarSepEx::Paint() {
    auto* t = dynamic_cast<TCustomToolbarEx*>(Parent());
    if (!t) return;
    TCanvas* c = Canvas();
    t->PaintChildBackground(this, c);
    if (blank_) return;
    int w = Width(), h = Height();
    c->Brush()->SetStyle(bsSolid);
    if (t->Docked() && GetDockTypeOf(t->DockedTo()) == dtLeftRight) {
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(0, h / 2 - 1, w, h / 2));
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(Rect(0, h / 2, w, h / 2 + 1));
    } else {
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(w / 2 - 1, 0, w / 2, h));
        c->Brush()->SetColor(clBtnHighlight);
        c->FillRect(Rect(w / 2, 0, w / 2 + 1, h));
    }
}
