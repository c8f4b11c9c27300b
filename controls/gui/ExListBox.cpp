#include "controls/gui/ExListBox.h"

#include <algorithm>
#include <cmath>

#include "controls/Strutils.h"
#include "controls/gui/CtlUtils.h"
#include "platform/Bitmap.h"
#include "platform/gui/ExtCtrls.h"

namespace {

constexpr int kScrollBarSize = 16;

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

} // namespace

// ---- TExListBoxStrings ------------------------------------------------------------

int TExListBoxStrings::Count() const { return box_->LBGetCount(); }

AnsiString TExListBoxStrings::Get(int index) const { return box_->LBGetText(index); }

void TExListBoxStrings::Put(int index, const AnsiString& s) { box_->LBSetText(index, s); }

TObject* TExListBoxStrings::GetObject(int index) const {
    return reinterpret_cast<TObject*>(box_->GetItemData(index));
}

void TExListBoxStrings::PutObject(int index, TObject* obj) {
    box_->SetItemData(index, reinterpret_cast<std::intptr_t>(obj));
}

void TExListBoxStrings::Insert(int index, const AnsiString& s) {
    if (box_->LBInsertString(index, s) < 0) throw EOutOfResources("Unable to insert a line");
}

int TExListBoxStrings::Add(const AnsiString& s) {
    int index = box_->LBAddString(s);
    if (index < 0) throw EOutOfResources("Unable to insert a line");
    return index;
}

void TExListBoxStrings::Delete(int index) {
    box_->CheckIndex(index);
    box_->DeleteString(index);
}

void TExListBoxStrings::Clear() { box_->ResetContent(); }

void TExListBoxStrings::Exchange(int a, int b) { box_->LBExchange(a, b); }

void TExListBoxStrings::Move(int from, int to) { box_->LBMove(from, to); }

void TExListBoxStrings::SetUpdateState(bool updating) {
    if (updating) {
        ++box_->updating_;
    } else if (box_->updating_ > 0 && --box_->updating_ == 0) {
        box_->UpdateScrollBars();
        box_->Invalidate();
    }
}

// ---- TExCustomListBox -----------------------------------------------------------------

TExCustomListBox::TExCustomListBox(TComponent* owner) : TCustomControl(owner) {
    items_ = std::make_unique<TExListBoxStrings>(this);
    ControlStyle = csCaptureMouse | csSetCaption | csDoubleClicks;
    SetColor(clWindow);
    TabStop = true;
    EnableNonClient();
    // The box's own scroll bars, hidden until the items need them.
    ShowScrollBar(SB_VERT, false);
    ShowScrollBar(SB_HORZ, false);
    barsMade_ = true;
    SetBounds(0, 0, 121, 97);
}

TExCustomListBox::~TExCustomListBox() {
    Destroying();
    rows_.clear();
}

void TExCustomListBox::IndexError(int index) const {
    throw EStringListError(Format("List index out of bounds (%d)", index));
}

void TExCustomListBox::CheckIndex(int index) const {
    if (index < 0 || index >= LBGetCount()) IndexError(index);
}

void TExCustomListBox::SetItems(TStrings* items) { items_->Assign(items); }

void TExCustomListBox::SetBorderStyle(TBorderStyle b) {
    if (b == borderStyle_) return;
    borderStyle_ = b;
    RecalcNonClient();
    UpdateScrollBars();
}

void TExCustomListBox::SetColumns(int n) {
    n = std::max(n, 0);
    if (n == columns_) return;
    columns_ = n;
    topIndex_ = 0;
    hScroll_ = 0;
    RecalcExtent();
    UpdateScrollBars();
    Invalidate();
}

int TExCustomListBox::ColumnWidth() const { return columns_ > 0 ? (Width() + columns_ - 3) / columns_ : 0; }

void TExCustomListBox::SetItemHeight(int h) {
    if (h < 1 || h == itemHeight_) return;
    itemHeight_ = h;
    MeasureRows();
    UpdateScrollBars();
    ApplyIntegralHeight();
    Invalidate();
}

void TExCustomListBox::MeasureRows() {
    for (int i = 0; i < LBGetCount(); ++i) {
        int h = itemHeight_;
        if (style_ == lbOwnerDrawVariable) MeasureItem(i, h);
        rows_[std::size_t(i)].height = h;
    }
}

void TExCustomListBox::SetStyle(TListBoxStyle s) {
    if (s == style_) return;
    style_ = s;
    MeasureRows();
    ApplyIntegralHeight();
    RecalcExtent();
    UpdateScrollBars();
    Invalidate();
}

void TExCustomListBox::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    multiSelect_ = v;
    std::fill(selected_.begin(), selected_.end(), false);
    if (v && itemIndex_ >= 0) selected_[std::size_t(itemIndex_)] = true;
    Invalidate();
}

void TExCustomListBox::SetExtendedSelect(bool v) { extendedSelect_ = v; }

void TExCustomListBox::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (!v || rows_.size() < 2) return;
    // The items are placed again in order; each keeps its data and selection.
    std::vector<std::size_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return CompText(rows_[a].text, rows_[b].text) < 0; });
    std::vector<Row> rows;
    std::vector<bool> selected;
    int current = -1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        rows.push_back(std::move(rows_[order[k]]));
        selected.push_back(selected_[order[k]]);
        if (int(order[k]) == itemIndex_) current = int(k);
    }
    rows_ = std::move(rows);
    selected_ = std::move(selected);
    itemIndex_ = current;
    ItemsChanged();
    Invalidate();
}

void TExCustomListBox::SetTabWidth(int v) {
    v = std::max(v, 0);
    if (v == tabWidth_) return;
    tabWidth_ = v;
    RecalcExtent();
    Invalidate();
}

void TExCustomListBox::SetAutoScroll(bool v) {
    if (v == autoScroll_) return;
    autoScroll_ = v;
    ScrollToLeftEnd();
    RecalcExtent();
}

void TExCustomListBox::SetGraySelection(bool v) {
    if (v == graySelection_) return;
    graySelection_ = v;
    if (!Focused()) Invalidate();
}

void TExCustomListBox::SetOnDrawItem(TDrawItemEvent e) {
    onDrawItem_ = std::move(e);
    ScrollToLeftEnd();
    RecalcExtent();
    Invalidate();
}

void TExCustomListBox::SetOnGetItemWidth(TGetItemWidthEvent e) {
    onGetItemWidth_ = std::move(e);
    ScrollToLeftEnd();
    RecalcExtent();
}

// ---- items --------------------------------------------------------------------------

AnsiString TExCustomListBox::LBGetText(int index) const {
    CheckIndex(index);
    return rows_[std::size_t(index)].text;
}

void TExCustomListBox::LBSetText(int index, const AnsiString& s) {
    CheckIndex(index);
    rows_[std::size_t(index)].text = s;
    RecalcExtent();
    Invalidate();
}

int TExCustomListBox::LBAddString(const AnsiString& s) {
    int index = LBGetCount();
    if (sorted_) {
        index = 0;
        while (index < LBGetCount() && CompText(rows_[std::size_t(index)].text, s) <= 0) ++index;
    }
    return LBInsertString(index, s);
}

int TExCustomListBox::LBInsertString(int index, const AnsiString& s) {
    if (index == -1) index = LBGetCount();
    if (index < 0 || index > LBGetCount()) return -1;
    Row row;
    row.text = s;
    row.height = itemHeight_;
    rows_.insert(rows_.begin() + index, row);
    selected_.insert(selected_.begin() + index, false);
    if (itemIndex_ >= index) ++itemIndex_;
    if (anchor_ >= index) ++anchor_;
    if (style_ == lbOwnerDrawVariable) {
        int h = itemHeight_;
        MeasureItem(index, h);
        rows_[std::size_t(index)].height = h;
    }
    if (AutoScroll()) {
        extent_ = std::max(extent_, GetItemWidth(index));
    }
    ItemsChanged();
    if (!updating_) {
        UpdateScrollBars();
        Invalidate();
    }
    return index;
}

void TExCustomListBox::LBDeleteString(int index) {
    CheckIndex(index);
    bool widest = AutoScroll() && GetItemWidth(index) >= extent_;
    if (widest) ScrollToLeftEnd();
    rows_.erase(rows_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (itemIndex_ == index) itemIndex_ = -1;
    else if (itemIndex_ > index) --itemIndex_;
    if (anchor_ >= index) anchor_ = std::max(-1, anchor_ - 1);
    if (topIndex_ >= LBGetCount()) topIndex_ = std::max(0, LBGetCount() - 1);
    if (widest) RecalcExtent();
    ItemsChanged();
    if (!updating_) {
        UpdateScrollBars();
        Invalidate();
    }
}

void TExCustomListBox::LBResetContent() {
    rows_.clear();
    selected_.clear();
    itemIndex_ = -1;
    anchor_ = -1;
    topIndex_ = 0;
    extent_ = 0;
    ScrollToLeftEnd();
    ItemsChanged();
    if (!updating_) {
        UpdateScrollBars();
        Invalidate();
    }
}

std::intptr_t TExCustomListBox::LBGetItemData(int index) const {
    CheckIndex(index);
    return rows_[std::size_t(index)].data;
}

void TExCustomListBox::LBSetItemData(int index, std::intptr_t data) {
    CheckIndex(index);
    rows_[std::size_t(index)].data = data;
}

void TExCustomListBox::LBExchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(rows_[std::size_t(a)], rows_[std::size_t(b)]);
    bool sa = selected_[std::size_t(a)];
    selected_[std::size_t(a)] = selected_[std::size_t(b)];
    selected_[std::size_t(b)] = sa;
    if (itemIndex_ == a) itemIndex_ = b;
    else if (itemIndex_ == b) itemIndex_ = a;
    ItemsChanged();
    Invalidate();
}

void TExCustomListBox::LBMove(int from, int to) {
    if (from == to) return;
    CheckIndex(from);
    CheckIndex(to);
    Row row = std::move(rows_[std::size_t(from)]);
    bool sel = selected_[std::size_t(from)];
    rows_.erase(rows_.begin() + from);
    selected_.erase(selected_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(row));
    selected_.insert(selected_.begin() + to, sel);
    if (itemIndex_ == from) itemIndex_ = to;
    else if (from < itemIndex_ && to >= itemIndex_) --itemIndex_;
    else if (from > itemIndex_ && to <= itemIndex_) ++itemIndex_;
    ItemsChanged();
    Invalidate();
}

std::intptr_t TExCustomListBox::GetItemData(int index) const { return LBGetItemData(index); }
void TExCustomListBox::SetItemData(int index, std::intptr_t data) { LBSetItemData(index, data); }
void TExCustomListBox::DeleteString(int index) { LBDeleteString(index); }
void TExCustomListBox::ResetContent() { LBResetContent(); }

// ---- selection ------------------------------------------------------------------------

void TExCustomListBox::SetItemIndex(int index) {
    if (index < -1 || index >= LBGetCount()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    if (!multiSelect_) anchor_ = index;
    if (index >= 0) ScrollIntoView(index);
    Invalidate();
}

int TExCustomListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return int(std::count(selected_.begin(), selected_.end(), true));
}

bool TExCustomListBox::GetSelected(int index) const {
    CheckIndex(index);
    return multiSelect_ ? bool(selected_[std::size_t(index)]) : index == itemIndex_;
}

void TExCustomListBox::SetSelected(int index, bool value) {
    if (multiSelect_) {
        CheckIndex(index);
        if (selected_[std::size_t(index)] == value) return;
        selected_[std::size_t(index)] = value;
        Invalidate();
    } else if (value) {
        SetItemIndex(index);
    } else if (itemIndex_ == index) {
        SetItemIndex(-1);
    }
}

void TExCustomListBox::SelectRange(int from, int to, bool value) {
    if (from > to) std::swap(from, to);
    for (int i = std::max(from, 0); i <= to && i < LBGetCount(); ++i) selected_[std::size_t(i)] = value;
}

void TExCustomListBox::NotifySelChange() {
    if (OnChange) OnChange(this);
    Click();
}

void TExCustomListBox::Click() { TCustomControl::Click(); }

void TExCustomListBox::ChangeSelection(int index, TShiftState shift, bool fromMouse) {
    if (index < 0 || index >= LBGetCount()) return;
    std::vector<bool> before = selected_;
    int oldIndex = itemIndex_;
    if (!multiSelect_) {
        itemIndex_ = index;
        anchor_ = index;
    } else if (!extendedSelect_) {
        if (fromMouse) selected_[std::size_t(index)] = !selected_[std::size_t(index)];
        itemIndex_ = index;
    } else if (shift & ssShift) {
        if (!(shift & ssCtrl)) std::fill(selected_.begin(), selected_.end(), false);
        SelectRange(anchor_ < 0 ? index : anchor_, index, true);
        itemIndex_ = index;
    } else if ((shift & ssCtrl) && fromMouse) {
        selected_[std::size_t(index)] = !selected_[std::size_t(index)];
        itemIndex_ = index;
        anchor_ = index;
    } else if (shift & ssCtrl) {
        itemIndex_ = index; // Ctrl with the keys moves the caret only
    } else {
        std::fill(selected_.begin(), selected_.end(), false);
        selected_[std::size_t(index)] = true;
        itemIndex_ = index;
        anchor_ = index;
    }
    ScrollIntoView(itemIndex_);
    Invalidate();
    if (before != selected_ || (!multiSelect_ && oldIndex != itemIndex_)) NotifySelChange();
}

// ---- geometry -------------------------------------------------------------------------

int ListTabStop(TCanvas* canvas, int tabWidth) { return RoundHalfEven(canvas->TextWidth("0") * tabWidth / 4.0); }

int ListTextWidth(TCanvas* canvas, const AnsiString& text, int tabWidth) {
    if (tabWidth < 1) return canvas->TextWidth(text);
    int stop = ListTabStop(canvas, tabWidth);
    int x = 0;
    int start = 1;
    for (int i = 1; i <= text.Length() + 1; ++i) {
        if (i <= text.Length() && text[i] != '\t') continue;
        x += canvas->TextWidth(text.SubString(start, i - start));
        if (i <= text.Length() && stop > 0) x = (x / stop + 1) * stop;
        start = i + 1;
    }
    return x;
}

int TExCustomListBox::TextExtentOf(const AnsiString& text) {
    TCanvas* c = ItemCanvas();
    c->SetFont(Font());
    return ListTextWidth(c, text, tabWidth_);
}

int TExCustomListBox::TabStopPixels() {
    TCanvas* c = ItemCanvas();
    c->SetFont(Font());
    return ListTabStop(c, tabWidth_);
}

int TExCustomListBox::RowHeight() const {
    if (style_ != lbStandard) return itemHeight_;
    return FontTextHeight(Font(), "Wg");
}

int TExCustomListBox::GetItemHeight() const { return style_ == lbStandard ? RowHeight() : itemHeight_; }

int TExCustomListBox::RowsPerColumn() const { return std::max(1, ClientHeight() / std::max(RowHeight(), 1)); }

int TExCustomListBox::VisibleRows() const { return std::max(1, ClientHeight() / std::max(RowHeight(), 1)); }

TRect TExCustomListBox::ItemRect(int index) const {
    int count = LBGetCount();
    if (index < 0 || index > count) return TRect();
    if (index == count && count > 0) {
        TRect last = ItemRect(count - 1);
        OffsetRect(last, 0, last.Height());
        return last;
    }
    int h = RowHeight();
    if (columns_ > 0) {
        int rows = RowsPerColumn();
        int offset = index - topIndex_;
        int col = offset >= 0 ? offset / rows : -((-offset + rows - 1) / rows);
        int row = offset - col * rows;
        int cw = ColumnWidth();
        return Rect(col * cw, row * h, col * cw + cw, row * h + h);
    }
    int right = std::max(ClientWidth(), extent_) - hScroll_;
    if (style_ == lbOwnerDrawVariable) {
        int top = 0;
        if (index >= topIndex_)
            for (int i = topIndex_; i < index; ++i) top += rows_[std::size_t(i)].height;
        else
            for (int i = index; i < topIndex_; ++i) top -= rows_[std::size_t(i)].height;
        int rh = index < count ? rows_[std::size_t(index)].height : itemHeight_;
        return Rect(-hScroll_, top, right, top + rh);
    }
    int top = (index - topIndex_) * h;
    return Rect(-hScroll_, top, right, top + h);
}

int TExCustomListBox::ItemAtPos(TPoint pos, bool existingOnly) const {
    if (!PtInRect(Rect(0, 0, ClientWidth(), ClientHeight()), pos)) return -1;
    int count = LBGetCount();
    int i = topIndex_;
    for (; i < count; ++i) {
        TRect r = ItemRect(i);
        if (PtInRect(r, pos)) return i;
        bool beyond = columns_ > 0 ? r.Left >= ClientWidth() : r.Top >= ClientHeight();
        if (beyond) break;
    }
    return existingOnly ? -1 : i;
}

void TExCustomListBox::SetTopIndex(int index) {
    int count = LBGetCount();
    index = std::clamp(index, 0, std::max(0, count - 1));
    if (columns_ > 0) index -= index % RowsPerColumn();
    if (index == topIndex_) return;
    topIndex_ = index;
    UpdateScrollBars();
    Invalidate();
}

void TExCustomListBox::ScrollIntoView(int index) {
    if (index < 0) return;
    if (columns_ > 0) {
        int rows = RowsPerColumn();
        int visibleCols = std::max(1, ClientWidth() / std::max(ColumnWidth(), 1));
        if (index < topIndex_) SetTopIndex(index - index % rows);
        else if (index >= topIndex_ + visibleCols * rows) SetTopIndex((index / rows - visibleCols + 1) * rows);
        return;
    }
    if (index < topIndex_) {
        SetTopIndex(index);
        return;
    }
    while (topIndex_ < index && ItemRect(index).Bottom > ClientHeight()) SetTopIndex(topIndex_ + 1);
}

void TExCustomListBox::RecalcExtent() {
    int extent = 0;
    if (AutoScroll())
        for (int i = 0; i < LBGetCount(); ++i) extent = std::max(extent, GetItemWidth(i));
    extent_ = extent;
    if (!updating_) UpdateScrollBars();
}

void TExCustomListBox::ScrollToLeftEnd() {
    hScroll_ = 0;
    Invalidate();
}

int TExCustomListBox::GetItemWidth(int index) {
    if (style_ != lbStandard && onGetItemWidth_ && onDrawItem_) {
        int width = 0;
        onGetItemWidth_(this, index, width);
        return width;
    }
    return TextExtentOf(LBGetText(index) + "x");
}

void TExCustomListBox::UpdateScrollBars() {
    if (!barsMade_ || updating_) return;
    bool wantV = false, wantH = false;
    int count = LBGetCount();
    // Twice: a bar that appears takes room from the other direction.
    for (int pass = 0; pass < 2; ++pass) {
        int border = borderStyle_ == bsSingle ? 2 : 0;
        int cw = Width() - 2 * border - (wantV ? kScrollBarSize : 0);
        int ch = Height() - 2 * border - (wantH ? kScrollBarSize : 0);
        int h = std::max(RowHeight(), 1);
        if (columns_ > 0) {
            int rows = std::max(1, ch / h);
            int totalCols = (count + rows - 1) / rows;
            int visibleCols = std::max(1, cw / std::max(ColumnWidth(), 1));
            wantH = totalCols > visibleCols;
            wantV = false;
        } else {
            int total = 0;
            for (int i = 0; i < count; ++i)
                total += style_ == lbOwnerDrawVariable ? rows_[std::size_t(i)].height : h;
            wantV = total > ch;
            wantH = AutoScroll() && extent_ > cw;
        }
    }
    ShowScrollBar(SB_VERT, wantV);
    ShowScrollBar(SB_HORZ, wantH);
    // A bar's range runs from 0 to the last position, a page at a time.
    auto setBar = [this](int bar, int last, int page, int pos) {
        TScrollInfo si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nPage = unsigned(page);
        si.nMax = last + page - 1;
        si.nPos = pos;
        SetScrollInfo(bar, si);
    };
    int h = std::max(RowHeight(), 1);
    if (columns_ > 0) {
        int rows = RowsPerColumn();
        int totalCols = (count + rows - 1) / rows;
        int visibleCols = std::max(1, ClientWidth() / std::max(ColumnWidth(), 1));
        setBar(SB_HORZ, std::max(0, totalCols - visibleCols), visibleCols, topIndex_ / rows);
    } else {
        setBar(SB_VERT, std::max(0, count - ClientHeight() / h), std::max(1, ClientHeight() / h), topIndex_);
        int range = std::max(0, extent_ - ClientWidth());
        hScroll_ = std::min(hScroll_, range);
        setBar(SB_HORZ, range, std::max(1, ClientWidth()), hScroll_);
    }
}

// ---- painting -------------------------------------------------------------------------

bool TExCustomListBox::HasFocusForDrawing() const { return Focused(); }

void TExCustomListBox::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    int count = LBGetCount();
    for (int i = topIndex_; i < count; ++i) {
        TRect r = ItemRect(i);
        bool beyond = columns_ > 0 ? r.Left >= ClientWidth() : r.Top >= ClientHeight();
        if (beyond) break;
        DrawItemAt(i, r);
    }
}

void TExCustomListBox::DrawItemAt(int index, const TRect& rect) {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    TOwnerDrawState state = 0;
    bool focused = HasFocusForDrawing();
    if (GetSelected(index)) state |= odSelected;
    if (index == itemIndex_ && focused) state |= odFocused;
    if (!Enabled()) state |= odDisabled;
    if (state & odSelected) {
        if ((ComponentState() & csDesigning) || !graySelection_ || focused) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Brush()->SetColor(clBtnFace);
            if (c->Font()->Color() == clBtnFace) c->Font()->SetColor(clBtnText);
        }
    }
    if (index >= 0 && index < LBGetCount()) DrawItem(index, rect, state);
    else c->FillRect(rect);
    if (state & odFocused) c->DrawFocusRect(rect);
}

void TExCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (onDrawItem_) onDrawItem_(this, index, rect, state);
    else DefaultItemDraw(index, rect);
}

void TExCustomListBox::DefaultItemDraw(int index, const TRect& rect) {
    TCanvas* c = Canvas();
    c->FillRect(rect);
    if (index < LBGetCount()) {
        int y = std::max(rect.Top, (rect.Top + rect.Bottom - c->TextHeight("Wy")) / 2);
        c->SetBkMode(TRANSPARENT);
        c->IntersectClipRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
        DefaultDrawText(rect.Left + 2, y, LBGetText(index));
        c->SelectClipRgn(nullptr);
    }
}

void TExCustomListBox::DefaultDrawText(int x, int y, const AnsiString& text) {
    TCanvas* c = Canvas();
    if (tabWidth_ == 0) {
        c->TextOut(x, y, text);
        return;
    }
    int stop = TabStopPixels();
    int pos = 0, start = 1;
    for (int i = 1; i <= text.Length() + 1; ++i) {
        if (i <= text.Length() && text[i] != '\t') continue;
        AnsiString part = text.SubString(start, i - start);
        c->TextOut(x + pos, y, part);
        pos += c->TextWidth(part);
        if (i <= text.Length() && stop > 0) pos = (pos / stop + 1) * stop;
        start = i + 1;
    }
}

void TExCustomListBox::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

// ---- input ----------------------------------------------------------------------------

void TExCustomListBox::SetIntegralHeight(bool v) {
    if (v == integralHeight_) return;
    integralHeight_ = v;
    ApplyIntegralHeight();
}

int TExCustomListBox::IntegralBoxHeight(int height) const {
    int frame = (borderStyle_ == bsSingle ? 4 : 0) + (ScrollBarVisible(SB_HORZ) ? kScrollBarSize : 0);
    int row = std::max(RowHeight(), 1);
    return frame + std::max(1, (height - frame) / row) * row;
}

void TExCustomListBox::ApplyIntegralHeight() {
    if (integralHeight_ && style_ != lbOwnerDrawVariable) SetBounds(Left(), Top(), Width(), Height());
}

void TExCustomListBox::SetBounds(int left, int top, int width, int height) {
    if (integralHeight_ && style_ != lbOwnerDrawVariable && barsMade_) height = IntegralBoxHeight(height);
    TCustomControl::SetBounds(left, top, width, height);
    // The client area follows at once, also while the box is not shown.
    if (barsMade_) {
        RecalcNonClient();
        UpdateScrollBars();
    }
}

void TExCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (TabStop && CanFocus() && !Focused()) SetFocus();
        int index = ItemAtPos(TPoint(x, y), true);
        if (index >= 0) ChangeSelection(index, shift, true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TExCustomListBox::DblClick() { TCustomControl::DblClick(); }

void TExCustomListBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    int count = LBGetCount();
    if (count == 0 || key == 0) return;
    int current = std::max(itemIndex_, 0);
    int page = columns_ > 0 ? RowsPerColumn() : VisibleRows();
    int next = -1;
    switch (key) {
    case VK_UP: next = itemIndex_ < 0 ? 0 : current - 1; break;
    case VK_DOWN: next = itemIndex_ < 0 ? 0 : current + 1; break;
    case VK_LEFT: next = columns_ > 0 ? current - RowsPerColumn() : -1; break;
    case VK_RIGHT: next = columns_ > 0 ? current + RowsPerColumn() : -1; break;
    case VK_PRIOR: next = current - page + 1; break;
    case VK_NEXT: next = current + page - 1; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = count - 1; break;
    case VK_SPACE:
        if (multiSelect_ && !extendedSelect_ && itemIndex_ >= 0) {
            ChangeSelection(itemIndex_, 0, true);
            key = 0;
        }
        return;
    default: return;
    }
    if (key == VK_LEFT || key == VK_RIGHT) {
        if (next < 0 && key == VK_RIGHT) return;
    }
    ChangeSelection(std::clamp(next, 0, count - 1), shift, false);
    key = 0;
}

void TExCustomListBox::DoEnter() {
    Invalidate();
    TCustomControl::DoEnter();
}

void TExCustomListBox::DoExit() {
    Invalidate();
    TCustomControl::DoExit();
}

void TExCustomListBox::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
        // The user moved a scroll bar: the box follows its position.
        TScrollInfo si;
        si.fMask = SIF_POS;
        bool vertical = message.Msg == WM_VSCROLL;
        GetScrollInfo(vertical ? SB_VERT : SB_HORZ, si);
        if (vertical) {
            SetTopIndex(si.nPos);
        } else if (columns_ > 0) {
            SetTopIndex(si.nPos * RowsPerColumn());
        } else {
            hScroll_ = si.nPos;
            Invalidate();
        }
        message.Result = 0;
        return;
    }
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<TRect*>(message.LParam);
        int border = borderStyle_ == bsSingle ? 2 : 0;
        InflateRect(*r, -border, -border);
        message.Result = 0;
        return;
    }
    case WM_NCPAINT:
        if (TCanvas* c = NonClientCanvas()) {
            TRect whole = Rect(0, 0, Width(), Height());
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(whole);
            if (borderStyle_ == bsSingle) {
                Frame3D(c, whole, clBtnShadow, clBtnHighlight, 1);
                Frame3D(c, whole, cl3DDkShadow, cl3DLight, 1);
            }
        }
        message.Result = 0;
        return;
    default:
        break;
    }
    if (message.Msg == WM_LBUTTONDOWN && DragMode == dmAutomatic && !(ComponentState() & csDesigning)) {
        AutoDragPress(message);
        return;
    }
    TCustomControl::WndProc(message);
    if (message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) {
        if (message.Msg == CM_FONTCHANGED) {
            RecalcExtent();
            ApplyIntegralHeight();
        }
        UpdateScrollBars();
        Invalidate();
    }
}

// ---- dragging -------------------------------------------------------------------------

void TExCustomListBox::AutoDragPress(TMessage& message) {
    const bool shift = message.WParam & MK_SHIFT;
    const bool ctrl = message.WParam & MK_CONTROL;
    if (multiSelect_) {
        int index = ItemAtPos(TPoint(LParamX(message.LParam), LParamY(message.LParam)), true);
        // The selection itself is dragged: the press leaves it as it is.
        if (index >= 0 && GetSelected(index) && (!shift || ctrl)) {
            BeginDrag(true);
            return;
        }
    }
    TCustomControl::WndProc(message);
    if (!shift && !ctrl) BeginDrag(false);
}

void TExCustomListBox::DragCanceled() {
    TPoint p = ScreenToClient(GetCursorPos());
    TMessage down{WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(p.x, p.y), 0};
    TMessage up{WM_LBUTTONUP, 0, MakeLParam(p.x, p.y), 0};
    TCustomControl::WndProc(down);
    TCustomControl::WndProc(up);
}
