// Drawn grids with scrolling, selection, column sizing and an in-place editor.
#include "platform/gui/Grids.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "platform/Canvas.h"
#include "platform/gui/Bridge.h"

using namespace gebridge;

namespace {

// Leaving the in-place editor keeps its text (Enter and Esc reach the grid).
class EditorKeys : public QObject {
public:
    // The edit's child, freed with it.
    EditorKeys(QObject* edit, std::function<void(bool)> done) : QObject(edit), done_(std::move(done)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) done_(true);
        return false;
    }

private:
    std::function<void(bool)> done_;
};

// The wheel over the cells turns the scroll bar that is shown, by the
// desktop's lines a notch, as over the bar itself.
class WheelToBars : public QObject {
public:
    // The cells' widget's child, freed with it.
    WheelToBars(QWidget* cells, QScrollBar* vertical, QScrollBar* horizontal)
        : QObject(cells), vertical_(vertical), horizontal_(horizontal) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Wheel) return false;
        auto* wheel = static_cast<QWheelEvent*>(e);
        QScrollBar* bar = wheel->angleDelta().y() != 0 ? vertical_ : horizontal_;
        if (bar->isHidden()) return false;
        QCoreApplication::sendEvent(bar, e);
        return e->isAccepted();
    }

private:
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
};

} // namespace

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks;
    color_ = clWindow;
    QWidget* w = ClientWidget();
    hbar_ = new QScrollBar(Qt::Horizontal, w);
    vbar_ = new QScrollBar(Qt::Vertical, w);
    hbar_->hide();
    vbar_->hide();
    w->installEventFilter(new WheelToBars(w, vbar_, hbar_));
    QObject::connect(hbar_, &QScrollBar::valueChanged, [this](int v) { Dispatch([&] { SetLeftCol(v); }); });
    QObject::connect(vbar_, &QScrollBar::valueChanged, [this](int v) { Dispatch([&] { SetTopRow(v); }); });
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() { Destroying(); }

int TCustomGrid::ColWidths(int col) const {
    auto it = colWidths_.find(col);
    return it == colWidths_.end() ? defaultColWidth_ : it->second;
}

int TCustomGrid::RowHeights(int row) const {
    auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? defaultRowHeight_ : it->second;
}

void TCustomGrid::SetColWidths(int col, int w) {
    if (col < 0) return;
    colWidths_[col] = std::max(w, 0);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowHeights(int row, int h) {
    if (row < 0) return;
    rowHeights_[row] = std::max(h, 0);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int w) {
    defaultColWidth_ = std::max(w, 0);
    colWidths_.clear();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(h, 0);
    rowHeights_.clear();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int w) {
    lineWidth_ = std::max(w, 0);
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions o) {
    options_ = o;
    if (!(o & goEditing)) HideEditor(true);
    Invalidate();
}

void TCustomGrid::SetColCount(int n) {
    n = std::max(n, 1);
    // An editor open on a column that goes is closed; its text has no cell.
    if (EditorMode() && editor_->property("geCol").toInt() >= n) HideEditor(false);
    colCount_ = n;
    if (fixedCols_ >= n) fixedCols_ = n - 1;
    col_ = std::clamp(col_, fixedCols_, n - 1);
    anchorCol_ = std::clamp(anchorCol_, fixedCols_, n - 1);
    leftCol_ = std::clamp(leftCol_, fixedCols_, n - 1);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int n) {
    n = std::max(n, 1);
    if (EditorMode() && editor_->property("geRow").toInt() >= n) HideEditor(false);
    rowCount_ = n;
    if (fixedRows_ >= n) fixedRows_ = n - 1;
    row_ = std::clamp(row_, fixedRows_, n - 1);
    anchorRow_ = std::clamp(anchorRow_, fixedRows_, n - 1);
    topRow_ = std::clamp(topRow_, fixedRows_, n - 1);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int n) {
    if (n < 0 || n >= colCount_) throw EInvalidOperation("Fixed column count must be less than column count");
    // A new fixed band starts the grid over at its first scrolling column, so
    // a column that was fixed before never stays scrolled out of sight.
    fixedCols_ = n;
    col_ = n;
    anchorCol_ = n;
    leftCol_ = n;
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int n) {
    if (n < 0 || n >= rowCount_) throw EInvalidOperation("Fixed row count must be less than row count");
    fixedRows_ = n;
    row_ = n;
    anchorRow_ = n;
    topRow_ = n;
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRow(int r) {
    if (r < 0 || r >= rowCount_) throw EInvalidOperation("Grid index out of range");
    FocusCell(col_, r);
}

void TCustomGrid::SetCol(int c) {
    if (c < 0 || c >= colCount_) throw EInvalidOperation("Grid index out of range");
    FocusCell(c, row_);
}

void TCustomGrid::SetTopRow(int r) {
    r = std::clamp(r, fixedRows_, rowCount_ - 1);
    if (r == topRow_) return;
    topRow_ = r;
    SyncBar(vbar_, r);
    HideEditor(true);
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::SetLeftCol(int c) {
    c = std::clamp(c, fixedCols_, colCount_ - 1);
    if (c == leftCol_) return;
    leftCol_ = c;
    SyncBar(hbar_, c);
    HideEditor(true);
    Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// A bar counts while it is meant to show, also in a window not shown yet.
int TCustomGrid::DataWidth() const { return ClientWidth() - (vbar_->isHidden() ? 0 : vbar_->width()); }
int TCustomGrid::DataHeight() const { return ClientHeight() - (hbar_->isHidden() ? 0 : hbar_->height()); }

void TCustomGrid::SyncBar(QScrollBar* bar, int value) {
    // A top row set by the program may lie past the bar's end; the bar then
    // shows its end and never sets the row back.
    QSignalBlocker quiet(bar);
    bar->setValue(value);
}

namespace {
// The last first line (row or column) of a scroll that leaves no room unused
// after the last line: the one that shows the last line whole at the end of
// the view, the last itself when it does not fit.
int LastFirstLine(int room, int fixed, int count, int lineWidth, const std::function<int(int)>& size) {
    for (int i = 0; i < fixed; ++i) room -= size(i) + lineWidth;
    int first = count - 1;
    int used = size(first) + lineWidth;
    while (first - 1 >= fixed && used + size(first - 1) + lineWidth <= room) used += size(--first) + lineWidth;
    return std::max(first, fixed);
}
} // namespace

int TCustomGrid::MaxTopRow() const {
    return LastFirstLine(DataHeight(), fixedRows_, rowCount_, lineWidth_, [this](int r) { return RowHeights(r); });
}

int TCustomGrid::MaxLeftCol() const {
    return LastFirstLine(DataWidth(), fixedCols_, colCount_, lineWidth_, [this](int c) { return ColWidths(c); });
}

int TCustomGrid::VisibleRowCount() const {
    int y = 0;
    for (int r = 0; r < fixedRows_; ++r) y += RowHeights(r) + lineWidth_;
    int n = 0;
    for (int r = topRow_; r < rowCount_; ++r) {
        y += RowHeights(r) + lineWidth_;
        if (y > DataHeight()) break;
        ++n;
    }
    return n;
}

int TCustomGrid::VisibleColCount() const {
    int x = 0;
    for (int c = 0; c < fixedCols_; ++c) x += ColWidths(c) + lineWidth_;
    int n = 0;
    for (int c = leftCol_; c < colCount_; ++c) {
        x += ColWidths(c) + lineWidth_;
        if (x > DataWidth()) break;
        ++n;
    }
    return n;
}

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return TRect();
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return TRect();
    int x = 0;
    for (int c = 0; c < std::min(col, fixedCols_); ++c) x += ColWidths(c) + lineWidth_;
    if (col >= fixedCols_)
        for (int c = leftCol_; c < col; ++c) x += ColWidths(c) + lineWidth_;
    int y = 0;
    for (int r = 0; r < std::min(row, fixedRows_); ++r) y += RowHeights(r) + lineWidth_;
    if (row >= fixedRows_)
        for (int r = topRow_; r < row; ++r) y += RowHeights(r) + lineWidth_;
    if (x >= DataWidth() || y >= DataHeight()) return TRect();
    return Rect(x, y, std::min(x + ColWidths(col), DataWidth()), std::min(y + RowHeights(row), DataHeight()));
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    TGridCoord r{-1, -1};
    auto find = [&](int p, int fixed, int first, int count, auto size) {
        int pos = 0;
        for (int i = 0; i < fixed; ++i) {
            int s = size(i) + lineWidth_;
            if (p < pos + s) return i;
            pos += s;
        }
        for (int i = first; i < count; ++i) {
            int s = size(i) + lineWidth_;
            if (p < pos + s) return i;
            pos += s;
        }
        return -1;
    };
    if (x < 0 || y < 0 || x >= DataWidth() || y >= DataHeight()) return r;
    r.X = find(x, fixedCols_, leftCol_, colCount_, [this](int i) { return ColWidths(i); });
    r.Y = find(y, fixedRows_, topRow_, rowCount_, [this](int i) { return RowHeights(i); });
    if (r.X < 0 || r.Y < 0) r.X = r.Y = -1;
    return r;
}

void TCustomGrid::InvalidateCell(int, int) { Invalidate(); }

TGridRect TCustomGrid::Selection() const {
    TGridRect s;
    s.Left = std::min(anchorCol_, col_);
    s.Right = std::max(anchorCol_, col_);
    s.Top = std::min(anchorRow_, row_);
    s.Bottom = std::max(anchorRow_, row_);
    if (options_ & goRowSelect) {
        s.Left = fixedCols_;
        s.Right = colCount_ - 1;
    }
    return s;
}

void TCustomGrid::SetSelection(const TGridRect& r) {
    anchorCol_ = std::clamp(r.Left, fixedCols_, colCount_ - 1);
    anchorRow_ = std::clamp(r.Top, fixedRows_, rowCount_ - 1);
    col_ = std::clamp(r.Right, fixedCols_, colCount_ - 1);
    row_ = std::clamp(r.Bottom, fixedRows_, rowCount_ - 1);
    Invalidate();
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, col, row, can);
    return can;
}

bool TCustomGrid::FocusCell(int col, int row, bool keepAnchor) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    if (col == col_ && row == row_) {
        if (!keepAnchor) {
            anchorCol_ = col;
            anchorRow_ = row;
        }
        return true;
    }
    if (!SelectCell(col, row)) return false;
    HideEditor(true);
    col_ = col;
    row_ = row;
    if (!keepAnchor || !(options_ & goRangeSelect)) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    ScrollIntoView(col, row);
    Invalidate();
    if (options_ & goAlwaysShowEditor) ShowEditor();
    return true;
}

void TCustomGrid::ScrollIntoView(int col, int row) {
    if (row < topRow_) SetTopRow(row);
    else if (row >= topRow_ + std::max(VisibleRowCount(), 1)) {
        // The smallest top row that shows the row whole (the row itself when
        // it is higher than the grid), found from the row upwards: a jump
        // across many rows costs what one screen of rows costs.
        int y = RowHeights(row) + lineWidth_;
        for (int r = 0; r < fixedRows_; ++r) y += RowHeights(r) + lineWidth_;
        int top = row;
        while (top - 1 > topRow_ && y + RowHeights(top - 1) + lineWidth_ <= DataHeight())
            y += RowHeights(--top) + lineWidth_;
        SetTopRow(top);
    }
    if (col < leftCol_) SetLeftCol(col);
    else
        while (col >= leftCol_ + std::max(VisibleColCount(), 1) && leftCol_ < col) SetLeftCol(leftCol_ + 1);
}

void TCustomGrid::UpdateScrollBars() {
    if (!hbar_) return;
    int totalW = 0, totalH = 0;
    for (int c = 0; c < colCount_; ++c) totalW += ColWidths(c) + lineWidth_;
    for (int r = 0; r < rowCount_; ++r) totalH += RowHeights(r) + lineWidth_;
    int cw = ClientWidth(), ch = ClientHeight();
    bool needV = (ScrollBars & 2) && totalH > ch;
    bool needH = (ScrollBars & 1) && totalW > cw - (needV ? vbar_->sizeHint().width() : 0);
    if (needH && !needV) needV = (ScrollBars & 2) && totalH > ch - hbar_->sizeHint().height();
    int vw = vbar_->sizeHint().width(), hh = hbar_->sizeHint().height();
    vbar_->setVisible(needV);
    hbar_->setVisible(needH);
    if (needV) vbar_->setGeometry(cw - vw, 0, vw, ch - (needH ? hh : 0));
    if (needH) hbar_->setGeometry(0, ch - hh, cw - (needV ? vw : 0), hh);
    // After a resize (or rows that went) the rows fill the view from the top
    // row down: a top row past the last one that fills it moves up, so rows
    // above it never stay out of sight while the view has room for them (a
    // dialog maximized with its last row in view).
    const int maxTop = MaxTopRow(), maxLeft = MaxLeftCol();
    if (topRow_ > maxTop) SetTopRow(maxTop);
    if (leftCol_ > maxLeft) SetLeftCol(maxLeft);
    QSignalBlocker b1(hbar_), b2(vbar_);
    vbar_->setRange(fixedRows_, maxTop);
    vbar_->setPageStep(std::max(VisibleRowCount(), 1));
    vbar_->setValue(topRow_);
    hbar_->setRange(fixedCols_, maxLeft);
    hbar_->setPageStep(std::max(VisibleColCount(), 1));
    hbar_->setValue(leftCol_);
}

void TCustomGrid::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color_);
    c->FillRect(ClientRect());
    TGridRect sel = Selection();
    bool focused = Focused();
    auto drawRange = [&](int r0, int r1, int c0, int c1) {
        for (int r = r0; r < r1; ++r) {
            for (int col = c0; col < c1; ++col) {
                TRect rect = CellRect(col, r);
                if (IsRectEmpty(rect)) continue;
                TGridDrawState st = 0;
                bool fixed = r < fixedRows_ || col < fixedCols_;
                if (fixed) st |= gdFixed;
                else {
                    bool inSel = col >= sel.Left && col <= sel.Right && r >= sel.Top && r <= sel.Bottom;
                    bool isCurrent = col == col_ && r == row_;
                    if (inSel && (!isCurrent || (options_ & (goDrawFocusSelected | goRowSelect)) || !focused)) st |= gdSelected;
                    if (isCurrent && focused) st |= gdFocused;
                }
                c->Font()->Assign(Font());
                c->Brush()->SetStyle(bsSolid);
                c->Brush()->SetColor(fixed ? FixedColor : (st & gdSelected) ? clHighlight : color_);
                if ((st & gdSelected) && !fixed) c->Font()->SetColor(clHighlightText);
                DrawCell(col, r, rect, st);
                if ((st & gdFocused) && !(options_ & goRowSelect)) {
                    c->Brush()->SetColor(color_);
                    c->DrawFocusRect(rect);
                }
                if (lineWidth_ > 0) {
                    bool v = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
                    bool h = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
                    c->Brush()->SetColor(fixed ? clBlack : clSilver);
                    if (v) c->FillRect(Rect(rect.Right, rect.Top, rect.Right + lineWidth_, rect.Bottom + lineWidth_));
                    if (h) c->FillRect(Rect(rect.Left, rect.Bottom, rect.Right + lineWidth_, rect.Bottom + lineWidth_));
                }
            }
        }
    };
    // Only the rows and columns on the screen, the last one shown in part
    // included: a grid of many rows paints what one screen holds.
    const int lastRow = std::min(rowCount_, topRow_ + VisibleRowCount() + 1);
    const int lastCol = std::min(colCount_, leftCol_ + VisibleColCount() + 1);
    drawRange(0, fixedRows_, 0, fixedCols_);
    drawRange(0, fixedRows_, leftCol_, lastCol);
    drawRange(topRow_, lastRow, 0, fixedCols_);
    drawRange(topRow_, lastRow, leftCol_, lastCol);
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing) Canvas()->FillRect(rect);
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

AnsiString TCustomGrid::GetEditText(int col, int row) {
    AnsiString v;
    if (OnGetEditText) OnGetEditText(this, col, row, v);
    return v;
}

void TCustomGrid::SetEditText(int col, int row, const AnsiString& value) {
    if (OnSetEditText) OnSetEditText(this, col, row, value);
}

bool TCustomGrid::EditorMode() const { return editor_ && editor_->isVisible(); }

void TCustomGrid::SetEditorMode(bool v) {
    if (v) ShowEditor();
    else HideEditor(true);
}

void TCustomGrid::ShowEditor(const AnsiString* typed) {
    if (!(options_ & goEditing) || (options_ & goRowSelect)) return;
    if (!editor_) {
        editor_ = new QLineEdit(ClientWidget());
        editor_->setFrame(false);
        editor_->installEventFilter(new EditorKeys(editor_, [this](bool commit) { PostCall([this, commit, alive = Alive()] {
            if (!alive.expired()) HideEditor(commit);
        }); }));
        editor_->hide();
    }
    TRect r = CellRect(col_, row_);
    if (IsRectEmpty(r)) return;
    editor_->setGeometry(ToQRect(r));
    editor_->setFont(ToQFont(*Font()));
    editor_->setText(ToQString(typed ? *typed : GetEditText(col_, row_)));
    editor_->setProperty("geCol", col_);
    editor_->setProperty("geRow", row_);
    editor_->show();
    editor_->setFocus();
    if (!typed) editor_->selectAll();
}

void TCustomGrid::HideEditor(bool commit) {
    if (!editor_ || !editor_->isVisible()) return;
    int c = editor_->property("geCol").toInt(), r = editor_->property("geRow").toInt();
    AnsiString text = FromQString(editor_->text());
    editor_->hide();
    if (commit && c < colCount_ && r < rowCount_) SetEditText(c, r, text);
    Invalidate();
    if (Widget()) Widget()->setFocus();
}

bool TCustomGrid::WantsKey(WORD key) const {
    if (EditorMode() && (key == VK_RETURN || key == VK_ESCAPE)) return true;
    if (key == VK_TAB) return options_ & goTabs;
    if (key == VK_RETURN) return (options_ & goEditing) != 0;
    return TCustomControl::WantsKey(key);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (!key) return;
    if (EditorMode()) {
        // The in-place editor has the keys; Enter keeps its text, Esc drops it.
        if (key == VK_RETURN || key == VK_ESCAPE) {
            HideEditor(key == VK_RETURN);
            key = 0;
        }
        return;
    }
    bool keep = shift & ssShift;
    int page = std::max(VisibleRowCount(), 1);
    int c = col_, r = row_;
    switch (key) {
    case VK_UP: --r; break;
    case VK_DOWN: ++r; break;
    case VK_LEFT: --c; break;
    case VK_RIGHT: ++c; break;
    case VK_PRIOR: r -= page; break;
    case VK_NEXT: r += page; break;
    case VK_HOME: (shift & ssCtrl) ? (r = fixedRows_) : (c = fixedCols_); break;
    case VK_END: (shift & ssCtrl) ? (r = rowCount_ - 1) : (c = colCount_ - 1); break;
    case VK_TAB:
        if (!(options_ & goTabs)) return;
        c += (shift & ssShift) ? -1 : 1;
        keep = false;
        break;
    case VK_F2:
    case VK_RETURN:
        if (options_ & goEditing) {
            ShowEditor();
            key = 0;
        }
        return;
    default:
        return;
    }
    key = 0;
    c = std::clamp(c, fixedCols_, colCount_ - 1);
    r = std::clamp(r, fixedRows_, rowCount_ - 1);
    if ((c != col_ || r != row_) && FocusCell(c, r, keep)) Click();
}

void TCustomGrid::KeyPress(char& key) {
    TCustomControl::KeyPress(key);
    if (EditorMode()) return;
    if (key && (options_ & goEditing) && static_cast<unsigned char>(key) >= 32 && !EditorMode()) {
        AnsiString t(key);
        ShowEditor(&t);
        key = 0;
    }
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (Widget() && !Focused()) SetFocus();
    if (button == mbLeft) {
        // Sizing a column on the line at its right edge in a fixed row.
        if ((options_ & goColSizing) && fixedRows_ > 0) {
            TGridCoord cell = MouseCoord(x, y);
            if (cell.Y >= 0 && cell.Y < fixedRows_)
                for (int col = 0; col < colCount_; ++col) {
                    TRect r = CellRect(col, cell.Y);
                    if (!IsRectEmpty(r) && std::abs(x - r.Right) <= 2) {
                        sizingCol_ = col;
                        sizingStartX_ = x;
                        sizingStartW_ = ColWidths(col);
                        TCustomControl::MouseDown(button, shift, x, y);
                        return;
                    }
                }
        }
        if ((options_ & goRowSizing) && fixedCols_ > 0) {
            TGridCoord cell = MouseCoord(x, y);
            if (cell.X >= 0 && cell.X < fixedCols_)
                for (int row = 0; row < rowCount_; ++row) {
                    TRect r = CellRect(cell.X, row);
                    if (!IsRectEmpty(r) && std::abs(y - r.Bottom) <= 2) {
                        sizingRow_ = row;
                        sizingStartY_ = y;
                        sizingStartH_ = RowHeights(row);
                        TCustomControl::MouseDown(button, shift, x, y);
                        return;
                    }
                }
        }
        TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
            bool wasCurrent = cell.X == col_ && cell.Y == row_;
            if (FocusCell(cell.X, cell.Y, (shift & ssShift) != 0)) selecting_ = (options_ & goRangeSelect) != 0;
            if (wasCurrent && !(shift & ssDouble) && (options_ & goEditing)) ShowEditor();
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (sizingCol_ >= 0) SetColWidths(sizingCol_, std::max(sizingStartW_ + x - sizingStartX_, 0));
    else if (sizingRow_ >= 0) SetRowHeights(sizingRow_, std::max(sizingStartH_ + y - sizingStartY_, 0));
    else if (selecting_ && (shift & ssLeft)) {
        TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) FocusCell(cell.X, cell.Y, true);
    }
    if ((options_ & goColSizing) && sizingCol_ < 0) {
        TGridCoord cell = MouseCoord(x, y);
        bool edge = false;
        if (cell.Y >= 0 && cell.Y < fixedRows_)
            for (int col = 0; col < colCount_ && !edge; ++col) {
                TRect r = CellRect(col, cell.Y);
                edge = !IsRectEmpty(r) && std::abs(x - r.Right) <= 2;
            }
        if (QWidget* w = ClientWidget()) {
            if (edge) w->setCursor(Qt::SplitHCursor);
            else if (cursor_ == crDefault) w->unsetCursor();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    sizingCol_ = -1;
    sizingRow_ = -1;
    selecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::WndProc(TMessage& m) {
    if (m.Msg == WM_SIZE) UpdateScrollBars();
    TCustomControl::WndProc(m);
}

// ---- TStringGrid ---------------------------------------------------------------------------

AnsiString TStringGrid::Cells(int col, int row) const {
    auto it = cells_.find({col, row});
    return it == cells_.end() ? AnsiString() : it->second;
}

void TStringGrid::SetCells(int col, int row, const AnsiString& s) {
    if (col < 0 || row < 0) return;
    if (s.IsEmpty()) cells_.erase({col, row});
    else cells_[{col, row}] = s;
    // An editor open on the cell shows the new text, so that leaving it later
    // does not write the old one back (rows moved up under an open editor).
    if (EditorMode() && editor_->property("geCol").toInt() == col && editor_->property("geRow").toInt() == row)
        editor_->setText(ToQString(GetEditText(col, row)));
    Invalidate();
}

TObject* TStringGrid::Objects(int col, int row) const {
    auto it = objects_.find({col, row});
    return it == objects_.end() ? nullptr : it->second;
}

void TStringGrid::SetObjects(int col, int row, TObject* o) {
    if (col < 0 || row < 0) return;
    if (o) objects_[{col, row}] = o;
    else objects_.erase({col, row});
}

void TStringGrid::ClearCells() {
    cells_.clear();
    objects_.clear();
    Invalidate();
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TCanvas* c = Canvas();
    if (DefaultDrawing) {
        c->TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
    }
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

AnsiString TStringGrid::GetEditText(int col, int row) {
    AnsiString v = Cells(col, row);
    if (OnGetEditText) OnGetEditText(this, col, row, v);
    return v;
}

void TStringGrid::SetEditText(int col, int row, const AnsiString& value) {
    SetCells(col, row, value);
    TCustomGrid::SetEditText(col, row, value);
}
