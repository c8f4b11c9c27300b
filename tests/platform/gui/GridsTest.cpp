// Grids as the program's forms use them: the statistics table, the pin
// lists with their fixed header row, whole-row selection and column sizing,
// the signal list edited in place, and a month calendar built on TDrawGrid.
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <map>

#include "GuiTest.h"
#include "platform/Canvas.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StdCtrls.h"

namespace {

class Grids : public GuiTest {
protected:
    // A string grid with c columns and r rows on a shown form.
    TStringGrid* ShownGrid(int cols, int rows, int width = 300, int height = 150) {
        TForm* f = MakeForm();
        f->SetBounds(0, 0, width + 40, height + 40);
        auto* g = NewControl<TStringGrid>(f, f, "Grid");
        g->SetBounds(0, 0, width, height);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        EXPECT_TRUE(ShowActive(f));
        return g;
    }
    static void Press(TCustomGrid* g, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : g->Widget(), Qt::Key(key), mods);
    }
    void ClickCell(TCustomGrid* g, int col, int row) {
        TRect r = g->CellRect(col, row);
        ASSERT_FALSE(IsRectEmpty(r)) << col << "," << row;
        ClickAt(g->ClientWidget(), QPoint(r.Left + 3, r.Top + 3));
    }
    static std::pair<int, int> Current(const TCustomGrid* g) { return {g->Col(), g->Row()}; }
};

using Cell = std::pair<int, int>;

TEST_F(Grids, CellsOfCutColumnsAndRowsComeBackAndTheCurrentCellStaysInside) {
    TStringGrid* g = ShownGrid(6, 6);
    g->SetCells(5, 1, "Бит"_a);
    g->SetCells(2, 5, "X1");
    g->SetCells(0, 0, "Имя"_a);
    g->SetCol(5);
    g->SetRow(5);
    struct Step {
        int cols, rows;
        Cell current;
        int fixedRows;
    };
    // Counts as the element list sets them for a driver pin, an element and a
    // one-row reset, and counts below one; the current cell never points
    // outside the grid, a grid keeps at least one row and column, and a grid
    // cut to one row loses its fixed row.
    const Step steps[] = {{3, 2, {2, 1}, 1}, {6, 7, {2, 1}, 1}, {3, 1, {2, 0}, 0}, {-3, 0, {0, 0}, 0}, {6, 6, {0, 0}, 0}};
    for (const Step& s : steps) {
        g->SetColCount(s.cols);
        g->SetRowCount(s.rows);
        EXPECT_EQ(Current(g), s.current) << s.cols << "x" << s.rows;
        EXPECT_EQ(Cell(g->ColCount(), g->RowCount()), Cell(std::max(s.cols, 1), std::max(s.rows, 1)));
        EXPECT_EQ(g->FixedRows(), s.fixedRows) << s.rows;
    }
    EXPECT_EQ(g->Cells(5, 1), "Бит"_a);
    EXPECT_EQ(g->Cells(2, 5), AnsiString("X1"));
    EXPECT_EQ(g->Cells(0, 0), "Имя"_a);
    EXPECT_EQ(g->Cells(40, 40), AnsiString(""));
    EXPECT_THROW(g->SetRow(6), EInvalidOperation);
    EXPECT_THROW(g->SetCol(-1), EInvalidOperation);
    EXPECT_THROW(g->SetFixedCols(6), EInvalidOperation);
    EXPECT_THROW(g->SetFixedRows(6), EInvalidOperation);
    g->ClearCells();
    EXPECT_EQ(g->Cells(5, 1), AnsiString(""));
}

TEST_F(Grids, ColumnWidthsAndRowHeightsPlaceEveryCellAndHitTestingFollows) {
    // The project statistics table: 2 columns of 281 and 71, 6 rows of 24,
    // nothing fixed, one-pixel grid lines.
    TStringGrid* g = ShownGrid(2, 6, 360, 160);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    g->SetDefaultRowHeight(24);
    g->SetColWidths(0, 281);
    g->SetColWidths(1, 71);
    EXPECT_EQ(g->CellRect(0, 0), Rect(0, 0, 281, 24));
    EXPECT_EQ(g->CellRect(1, 0), Rect(282, 0, 353, 24));
    EXPECT_EQ(g->CellRect(1, 5), Rect(282, 125, 353, 149));
    struct Hit {
        int x, y;
        Cell cell;
    };
    const Hit hits[] = {{0, 0, {0, 0}},     {280, 23, {0, 0}}, {281, 24, {0, 0}}, // the line after a cell is the cell's
                        {282, 25, {1, 1}},  {352, 148, {1, 5}}, {354, 10, {-1, -1}}, {10, 150, {-1, -1}},
                        {-1, 10, {-1, -1}}};
    for (const Hit& h : hits) {
        TGridCoord c = g->MouseCoord(h.x, h.y);
        EXPECT_EQ(Cell(c.X, c.Y), h.cell) << h.x << "," << h.y;
    }
    // A new default width gives every column that width again.
    g->SetDefaultColWidth(50);
    EXPECT_EQ(g->ColWidths(0), 50);
    EXPECT_EQ(g->CellRect(1, 0), Rect(51, 0, 101, 24));
}

TEST_F(Grids, FixedRowAndColumnStayInPlaceWhileTheRestScrolls) {
    TStringGrid* g = ShownGrid(5, 30);
    g->SetDefaultRowHeight(24);
    int moves = 0;
    g->OnTopLeftChanged = [&](TObject*) { ++moves; };
    g->SetTopRow(10);
    g->SetLeftCol(2);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(g->CellRect(0, 0), Rect(0, 0, 64, 24));
    EXPECT_EQ(g->CellRect(0, 10), Rect(0, 25, 64, 49));  // first scrolling row under the header
    EXPECT_EQ(g->CellRect(2, 0), Rect(65, 0, 129, 24));  // first scrolling column beside the fixed one
    EXPECT_TRUE(IsRectEmpty(g->CellRect(1, 5)));         // scrolled out of sight
    TGridCoord c = g->MouseCoord(70, 30);
    EXPECT_EQ(Cell(c.X, c.Y), Cell(2, 10));
    g->SetTopRow(500); // held inside the grid: the last row shows
    EXPECT_LE(g->TopRow(), 29);
    EXPECT_FALSE(IsRectEmpty(g->CellRect(2, 29)));
}

TEST_F(Grids, OnDrawCellSeesFixedSelectedAndFocusedCellsAndTheGridDrawsTheTexts) {
    TStringGrid* g = ShownGrid(4, 5);
    auto* other = NewControl<TEdit>(g->Owner(), static_cast<TWinControl*>(g->Owner()), "Edit1");
    other->SetTop(200);
    g->SetCells(1, 1, "AND1");
    g->SetCells(0, 2, "Имя"_a);
    g->SetCells(3, 4, "cut");
    g->SetRowCount(4); // row 4 and its text are cut off
    g->SetSelection(TGridRect{1, 1, 2, 2});
    std::map<Cell, TGridDrawState> states;
    g->OnDrawCell = [&](TObject*, int c, int r, TRect, TGridDrawState s) { states[{c, r}] = s; };
    std::vector<TCanvasText> texts;
    g->Canvas()->OnText = [&](const TCanvasText& t) {
        if (!t.Text.IsEmpty()) texts.push_back(t);
    };
    auto paint = [&] {
        states.clear();
        texts.clear();
        g->Repaint();
    };
    g->SetFocus();
    paint();
    ASSERT_EQ(states.size(), 16u);
    std::map<Cell, TGridDrawState> focused;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) focused[{c, r}] = (r == 0 || c == 0) ? gdFixed : 0;
    focused[{1, 1}] = focused[{2, 1}] = focused[{1, 2}] = gdSelected;
    focused[{2, 2}] = gdFocused;
    EXPECT_EQ(states, focused);
    ASSERT_EQ(texts.size(), 2u);
    for (const TCanvasText& t : texts) {
        Cell cell = t.Text == "AND1" ? Cell(1, 1) : Cell(0, 2);
        TRect r = g->CellRect(cell.first, cell.second);
        EXPECT_EQ(t.Box.Left, r.Left + 2) << t.Text.c_str();
        EXPECT_EQ(t.Box.Top, r.Top + 2) << t.Text.c_str();
    }

    g->SetOptions(g->Options() | goDrawFocusSelected);
    paint();
    EXPECT_EQ(states[Cell(2, 2)], gdSelected | gdFocused);
    other->SetFocus();
    g->SetOptions(g->Options() & ~goDrawFocusSelected);
    paint();
    EXPECT_EQ(states[Cell(2, 2)], gdSelected); // no focus: the current cell is just selected
    g->DefaultDrawing = false;
    paint();
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(states.size(), 16u);
}

TEST_F(Grids, AGridOfManyRowsPaintsAndScrollsWhatOneScreenHolds) {
    TStringGrid* g = ShownGrid(2, 100000, 300, 150);
    g->SetRowHeights(3, 40);
    std::map<Cell, int> drawn;
    g->OnDrawCell = [&](TObject*, int c, int r, TRect, TGridDrawState) { ++drawn[{c, r}]; };
    auto rowsDrawn = [&] {
        drawn.clear();
        g->Repaint();
        std::vector<int> rows;
        for (auto& [cell, n] : drawn)
            if (cell.first == 1) rows.push_back(cell.second);
        return rows;
    };
    // 150 pixels: the header and rows 1 to 4 whole (25, 25, 25, 41 and 25
    // with their lines); row 5, shown in part, is painted too.
    EXPECT_EQ(g->VisibleRowCount(), 4);
    EXPECT_EQ(rowsDrawn(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // A jump to the last row shows it at the bottom, the rows above it whole.
    g->SetRow(99999);
    EXPECT_EQ(g->TopRow(), 99995);
    EXPECT_EQ(rowsDrawn(), (std::vector<int>{0, 99995, 99996, 99997, 99998, 99999}));
    g->SetRow(5);
    EXPECT_EQ(g->TopRow(), 5);
    g->SetRow(8);
    EXPECT_EQ(g->TopRow(), 5) << "a visible row does not scroll";
    g->SetRow(10);
    EXPECT_EQ(g->TopRow(), 6);
    // A row higher than the grid is put at the top.
    g->SetRowHeights(500, 400);
    g->SetRow(500);
    EXPECT_EQ(g->TopRow(), 500);
}

// A grid made larger (a dialog maximized) never keeps rows out of sight above
// a view with room for them: after any resize the rows fill the view from the
// top row down, the last row at the bottom at most, with a scroll bar while
// they do not all fit; the wheel over the cells moves them along the bar.
TEST_F(Grids, AResizedGridFillsItsViewFromTheTopRowWithABarWhileTheRowsDoNotFit) {
    TStringGrid* g = ShownGrid(4, 30);
    g->SetDefaultRowHeight(20);
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : g->ClientWidget()->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical) bar = b;
    ASSERT_NE(bar, nullptr);
    g->SetRow(29);
    ASSERT_EQ(g->TopRow(), 24); // 150 pixels: a header of 21 and six rows of 21
    const int lines = QApplication::wheelScrollLines();
    struct Step {
        int width, height; // the grid's new size, or a wheel turn when 0
        int notches;       // down when positive
        int top, left;
        bool bar;
    };
    const Step steps[] = {
        {300, 300, 0, 17, 1, true},        // 13 rows fit: row 29 at the bottom
        {300, 700, 0, 1, 1, false},        // all 30 rows fit
        {300, 150, 0, 1, 1, true},         // the top row stays in view
        {0, 0, 1, 1 + lines, 1, true},     // the wheel scrolls by the desktop's lines
        {0, 0, -1, 1, 1, true},
        {0, 0, 20, 24, 1, true},           // the last row stops at the bottom
        {120, 150, 0, 24, 1, true},        // narrower: columns scroll, rows stay
    };
    for (const Step& s : steps) {
        if (s.width) g->SetBounds(0, 0, s.width, s.height);
        for (int i = 0; i < std::abs(s.notches); ++i) {
            QPointF at(10, 40);
            QWheelEvent wheel(at, g->ClientWidget()->mapToGlobal(at), QPoint(), QPoint(0, s.notches > 0 ? -120 : 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(g->ClientWidget(), &wheel);
        }
        EXPECT_EQ(g->TopRow(), s.top) << s.width << "x" << s.height << " " << s.notches;
        EXPECT_EQ(g->LeftCol(), s.left) << s.width << "x" << s.height;
        EXPECT_EQ(!bar->isHidden(), s.bar) << s.width << "x" << s.height;
    }
    // Columns likewise: scrolled to the last one, a wider grid shows them all.
    g->SetLeftCol(3);
    g->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(g->LeftCol(), 1);
}

TEST_F(Grids, KeysMoveTheCurrentCellScrollItIntoViewAndClickEachMove) {
    TStringGrid* g = ShownGrid(4, 20);
    g->SetDefaultRowHeight(20);
    ASSERT_EQ(g->VisibleRowCount(), 6); // 150 pixels: a header of 21 and six rows of 21
    int clicks = 0;
    g->OnClick = [&](TObject*) { ++clicks; };
    g->SetFocus();
    struct Step {
        int key;
        Qt::KeyboardModifiers mods;
        Cell current;
        int top;
    };
    const Step steps[] = {
        {Qt::Key_Right, Qt::NoModifier, {2, 1}, 1},   {Qt::Key_End, Qt::NoModifier, {3, 1}, 1},
        {Qt::Key_Home, Qt::NoModifier, {1, 1}, 1},    {Qt::Key_Left, Qt::NoModifier, {1, 1}, 1}, // the fixed column stops it
        {Qt::Key_Up, Qt::NoModifier, {1, 1}, 1},      {Qt::Key_PageDown, Qt::NoModifier, {1, 7}, 2},
        {Qt::Key_PageDown, Qt::NoModifier, {1, 13}, 8}, {Qt::Key_End, Qt::ControlModifier, {1, 19}, 14},
        {Qt::Key_PageUp, Qt::NoModifier, {1, 13}, 13}, {Qt::Key_Home, Qt::ControlModifier, {1, 1}, 1},
        {Qt::Key_Down, Qt::NoModifier, {1, 2}, 1},
    };
    int expectedClicks = 0;
    Cell before = Current(g);
    for (const Step& s : steps) {
        Press(g, s.key, s.mods);
        EXPECT_EQ(Current(g), s.current) << std::hex << s.key;
        EXPECT_EQ(g->TopRow(), s.top) << std::hex << s.key;
        EXPECT_EQ(QApplication::focusWidget(), g->Widget());
        if (Current(g) != before) ++expectedClicks;
        before = Current(g);
    }
    EXPECT_EQ(clicks, expectedClicks);

    // Tab moves between cells only with goTabs; Shift with an arrow widens
    // the selection only with goRangeSelect.
    Press(g, Qt::Key_Tab);
    EXPECT_EQ(Current(g), Cell(1, 2));
    g->SetOptions(g->Options() | goTabs);
    Press(g, Qt::Key_Tab);
    Press(g, Qt::Key_Tab);
    EXPECT_EQ(Current(g), Cell(3, 2));
    Press(g, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Current(g), Cell(2, 2));
    Press(g, Qt::Key_Down, Qt::ShiftModifier);
    Press(g, Qt::Key_Right, Qt::ShiftModifier);
    TGridRect s = g->Selection();
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}), (std::vector<int>{2, 2, 3, 3}));
    g->SetOptions(g->Options() & ~goRangeSelect);
    Press(g, Qt::Key_Down, Qt::ShiftModifier);
    s = g->Selection();
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}), (std::vector<int>{3, 4, 3, 4}));

    // A cell the program refuses in OnSelectCell is not entered.
    std::vector<Cell> asked;
    g->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
        asked.push_back({c, r});
        can = r != 5;
    };
    Press(g, Qt::Key_Down);
    EXPECT_EQ(Current(g), Cell(3, 4));
    EXPECT_EQ(asked, std::vector<Cell>{Cell(3, 5)});
}

// The pin grid of the element dialogs: a header row, whole-row selection,
// columns the user may resize, "cells editable" that row selection keeps shut.
TEST_F(Grids, RowSelectionTakesWholeRowsAndColumnEdgesInTheHeaderResizeColumns) {
    TStringGrid* g = ShownGrid(3, 4);
    g->SetFixedCols(0);
    g->SetOptions(g->Options() | goRowSelect | goEditing | goColSizing);
    g->SetCells(0, 0, "Имя"_a);
    g->SetCells(0, 2, "x2");
    std::vector<Cell> clicked;
    g->OnClick = [&](TObject*) { clicked.push_back(Current(g)); };
    ClickCell(g, 1, 2);
    EXPECT_EQ(clicked, std::vector<Cell>{Cell(1, 2)});
    TGridRect s = g->Selection();
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}), (std::vector<int>{0, 2, 2, 2}));
    g->SetFocus();
    Press(g, Qt::Key_Q);
    Press(g, Qt::Key_Return);
    Press(g, Qt::Key_F2);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(0, 2), AnsiString("x2"));

    // Dragging the right edge of column 0 in the header by 30 pixels.
    QWidget* w = g->ClientWidget();
    auto drag = [&](int x, int y, int dx) {
        Send(w, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(x, y));
        QMouseEvent move(QEvent::MouseMove, QPointF(x + dx, y), QPointF(w->mapToGlobal(QPoint(x + dx, y))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        Send(w, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(x + dx, y));
    };
    int edge = g->CellRect(0, 0).Right;
    drag(edge, 5, 30);
    EXPECT_EQ(g->ColWidths(0), 94);
    EXPECT_EQ(g->ColWidths(1), 64);
    EXPECT_EQ(Current(g), Cell(1, 2)); // sizing moves no current cell
    // The same edge in a data row, or without goColSizing, sizes nothing.
    edge = g->CellRect(0, 0).Right;
    drag(edge, g->CellRect(0, 1).Top + 5, 30);
    EXPECT_EQ(g->ColWidths(0), 94);
    g->SetOptions(g->Options() & ~goColSizing);
    drag(edge, 5, -40);
    EXPECT_EQ(g->ColWidths(0), 94);
}

TEST_F(Grids, TheEditorStartsFromTheCellEscDropsTheTypingAndLeavingTheCellKeepsIt) {
    TStringGrid* g = ShownGrid(1, 3);
    g->SetFixedRows(0);
    g->SetOptions(g->Options() | goEditing);
    g->SetCells(0, 0, "x1");
    g->SetCells(0, 1, "x2");
    std::vector<std::string> log;
    g->OnGetEditText = [&](TObject*, int c, int r, AnsiString& v) { log.push_back("get " + std::to_string(c) + "," + std::to_string(r) + " " + v.c_str()); };
    g->OnSetEditText = [&](TObject*, int c, int r, const AnsiString& v) { log.push_back("set " + std::to_string(c) + "," + std::to_string(r) + " " + v.c_str()); };
    g->SetFocus();
    ASSERT_EQ(Current(g), Cell(0, 0));
    auto editor = [] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); };

    Press(g, Qt::Key_F2);
    ASSERT_TRUE(g->EditorMode());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QString("x1"));
    EXPECT_EQ(editor()->selectedText(), QString("x1"));
    QTest::keyClicks(editor(), "zz");
    QTest::keyClick(editor(), Qt::Key_Escape);
    Application->ProcessMessages();
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(0, 0), AnsiString("x1"));
    EXPECT_EQ(QApplication::focusWidget(), g->Widget());

    Press(g, Qt::Key_Return); // opens with the text selected: typing replaces it
    QTest::keyClicks(editor(), "A1");
    ClickCell(g, 0, 2); // leaving the cell keeps the typing
    Application->ProcessMessages();
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->Cells(0, 0), AnsiString("A1"));
    EXPECT_EQ(Current(g), Cell(0, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"get 0,0 x1", "get 0,0 x1", "set 0,0 A1"}));
}

// The signal list dialog deletes the current row while its editor may still
// be open: the rows below move up and the grid loses its last row.
TEST_F(Grids, AnOpenEditorNeverWritesBackTextOfARowThatMovedUpOrWent) {
    TStringGrid* g = ShownGrid(1, 3);
    g->SetFixedRows(0);
    g->SetOptions(g->Options() | goEditing | goRangeSelect);
    for (int r = 0; r < 3; ++r) g->SetCells(0, r, "in" + IntToStr(r));
    g->SetFocus();
    auto deleteRow = [&](int row) {
        for (int r = row; r + 1 < g->RowCount(); ++r) g->SetCells(0, r, g->Cells(0, r + 1));
        g->SetRowCount(g->RowCount() - 1);
    };

    // Editing row 1, then deleting it: "in2" moves into row 1 and stays.
    ClickCell(g, 0, 1);
    Press(g, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "X");
    ASSERT_TRUE(g->EditorMode());
    deleteRow(g->Row());
    ClickCell(g, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(g->Cells(0, 1), AnsiString("in2"));
    EXPECT_EQ(g->Cells(0, 0), AnsiString("in0"));

    // Editing the last row, then deleting it: the editor goes with its row.
    ClickCell(g, 0, 1);
    Press(g, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "Y");
    deleteRow(1);
    EXPECT_FALSE(g->EditorMode());
    EXPECT_EQ(g->RowCount(), 1);
    g->SetRowCount(2);
    Application->ProcessMessages();
    EXPECT_EQ(g->Cells(0, 1), AnsiString("in2")); // kept, not "Y"
    EXPECT_EQ(g->Cells(0, 0), AnsiString("in0"));
}

// A month calendar the way the date controls build one on TDrawGrid: 7 x 7
// cells, the day names in a fixed row, no scroll bars, only cells holding a
// day selectable, Left and Right stepping by days across week rows.
class MonthGrid : public TDrawGrid {
public:
    explicit MonthGrid(TComponent* owner) : TDrawGrid(owner) {
        ScrollBars = 0;
        SetColCount(7);
        SetRowCount(7);
        SetFixedCols(0);
        SetFixedRows(1);
        SetOptions(goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected);
    }
    int first = -2; // the day number shown in the first cell of week row 1
    int days = 31;
    int Day(int col, int row) const {
        int d = first + col + (row - 1) * 7;
        return row >= 1 && d >= 1 && d <= days ? d : 0;
    }
    void FitCells() {
        SetDefaultColWidth((Width() - 6) / 7);
        SetDefaultRowHeight((Height() - 6) / 7);
    }
    void GoToDay(int d) {
        int i = d - first;
        FocusCell(i % 7, i / 7 + 1);
    }
    std::map<Cell, TGridDrawState> drawn;
    void KeyDown(WORD& key, TShiftState shift) override {
        int d = Day(Col(), Row());
        if ((key == VK_LEFT && d > 1) || (key == VK_RIGHT && d < days)) {
            GoToDay(key == VK_LEFT ? d - 1 : d + 1);
            key = 0;
        }
        TDrawGrid::KeyDown(key, shift);
    }

protected:
    bool SelectCell(int col, int row) override { return Day(col, row) != 0 && TDrawGrid::SelectCell(col, row); }
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override {
        drawn[{col, row}] = state;
        TDrawGrid::DrawCell(col, row, rect, state);
    }
};

TEST_F(Grids, ADrawGridCalendarSelectsOnlyDaysStepsAcrossWeeksAndDrawsEveryCell) {
    TForm* f = MakeForm();
    auto* cal = NewControl<MonthGrid>(f, f, "Calendar");
    cal->SetBounds(0, 0, 181, 118);
    cal->FitCells();
    ASSERT_TRUE(ShowActive(f));
    EXPECT_EQ(cal->DefaultColWidth(), 25);
    EXPECT_EQ(cal->DefaultRowHeight(), 16);
    // No scroll bars: the last column and row end at the control's edges.
    EXPECT_EQ(cal->CellRect(6, 6), Rect(156, 102, 181, 118));
    cal->GoToDay(1);
    ASSERT_EQ(Current(cal), Cell(3, 1));

    std::vector<Cell> refused = {{0, 1}, {2, 1}, {6, 5}, {0, 6}};
    for (Cell c : refused) {
        ClickCell(cal, c.first, c.second);
        EXPECT_EQ(Current(cal), Cell(3, 1)) << c.first << "," << c.second;
    }
    cal->SetCol(0); // the code is refused the same way
    EXPECT_EQ(Current(cal), Cell(3, 1));
    ClickCell(cal, 5, 3); // day 17
    EXPECT_EQ(cal->Day(cal->Col(), cal->Row()), 17);

    cal->SetFocus();
    struct Step {
        int key;
        int day;
    };
    const Step steps[] = {{Qt::Key_Right, 18}, {Qt::Key_Right, 19}, {Qt::Key_Right, 20}, {Qt::Key_Left, 19},
                          {Qt::Key_Down, 26},  {Qt::Key_Down, 26},  {Qt::Key_Up, 19}};
    for (const Step& s : steps) {
        QTest::keyClick(cal->Widget(), Qt::Key(s.key));
        EXPECT_EQ(cal->Day(cal->Col(), cal->Row()), s.day) << std::hex << s.key;
    }
    // Day 18 ends a week row (column 6): Right from it went to column 0 below;
    // Down from 26 would land on an empty cell, which is refused.

    cal->drawn.clear();
    cal->Repaint();
    ASSERT_EQ(cal->drawn.size(), 49u);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(cal->drawn[Cell(c, 0)], gdFixed);
    EXPECT_EQ(cal->drawn[Current(cal)], gdSelected | gdFocused);
    EXPECT_EQ(cal->drawn[Cell(0, 1)], 0u);

    // A release over a day reports the cell under the mouse.
    std::vector<int> released;
    cal->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        int c = 0, r = 0;
        cal->MouseToCell(x, y, c, r);
        released.push_back(cal->Day(c, r));
    };
    ClickCell(cal, 0, 2); // day 5
    EXPECT_EQ(released, std::vector<int>{5});
}

} // namespace
