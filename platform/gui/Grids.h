#pragma once
// Grids drawn by the program: TCustomGrid lays out cells, scrolls, selects
// and edits; TDrawGrid leaves the cells to OnDrawCell; TStringGrid holds a
// text per cell. RowCount and ColCount never go below 1, and the cells of
// rows or columns cut off by a smaller count are kept (they come back when
// the count grows again).

#include <map>
#include <utility>
#include <vector>

#include "platform/gui/Controls.h"

class QLineEdit;
class QScrollBar;

using TGridOptions = unsigned;
constexpr unsigned goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
                   goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
                   goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11,
                   goRowSelect = 1u << 12, goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14;
constexpr TGridOptions DefaultGridOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

using TGridDrawState = unsigned;
constexpr unsigned gdSelected = 1, gdFocused = 2, gdFixed = 4;

struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct TGridCoord {
    int X = 0, Y = 0;
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const AnsiString& Value)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, AnsiString& Value)>;
using TGridScrollStyle = int; // 0 none, 1 horizontal, 2 vertical, 3 both

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return colCount_; }
    void SetColCount(int n);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int col) const;
    void SetColWidths(int col, int w);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int h);
    int GridLineWidth() const { return lineWidth_; }
    void SetGridLineWidth(int w);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o);
    int Row() const { return row_; }
    void SetRow(int r);
    int Col() const { return col_; }
    void SetCol(int c);
    int TopRow() const { return topRow_; }
    void SetTopRow(int r);
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int c);
    int VisibleRowCount() const;
    int VisibleColCount() const;
    TGridRect Selection() const;
    void SetSelection(const TGridRect& r);
    TColor FixedColor = clBtnFace;
    bool DefaultDrawing = true;
    TGridScrollStyle ScrollBars = 3;
    bool EditorMode() const;
    void SetEditorMode(bool v);

    // The cell rectangle in client coordinates (empty when not visible).
    TRect CellRect(int col, int row) const;
    void MouseToCell(int x, int y, int& col, int& row) const;
    TGridCoord MouseCoord(int x, int y) const;
    void InvalidateCell(int col, int row);

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TSetEditEvent OnSetEditText;
    TGetEditEvent OnGetEditText;

    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& m) override;
    bool WantsKey(WORD key) const override;

protected:
    void Paint() override;
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual AnsiString GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const AnsiString& value);
    // Moves the current cell (through SelectCell); false when refused.
    bool FocusCell(int col, int row, bool keepAnchor = false);
    void ScrollIntoView(int col, int row);
    void UpdateScrollBars();
    void ShowEditor(const AnsiString* typed = nullptr);
    void HideEditor(bool commit);
    int DataWidth() const;
    int DataHeight() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    static void SyncBar(QScrollBar* bar, int value);

    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    std::map<int, int> colWidths_, rowHeights_;
    int lineWidth_ = 1;
    TGridOptions options_ = DefaultGridOptions;
    int row_ = 1, col_ = 1, anchorRow_ = 1, anchorCol_ = 1;
    int topRow_ = 1, leftCol_ = 1;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QLineEdit* editor_ = nullptr;
    int sizingCol_ = -1, sizingStartX_ = 0, sizingStartW_ = 0;
    int sizingRow_ = -1, sizingStartY_ = 0, sizingStartH_ = 0;
    bool selecting_ = false;
};

class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
    AnsiString Cells(int col, int row) const;
    void SetCells(int col, int row, const AnsiString& s);
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* o);
    // Removes every stored cell.
    void ClearCells();

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    AnsiString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const AnsiString& value) override;
    std::map<std::pair<int, int>, AnsiString> cells_;
    std::map<std::pair<int, int>, TObject*> objects_;
};
