// Changing a grid's fixed bands: no column or row may stay scrolled out of
// sight (a dialog that turns its fixed column off must show its first column).
#include "GuiTest.h"
#include "platform/gui/Grids.h"

namespace {

class GridBands : public GuiTest {};

TEST_F(GridBands, ChangingTheFixedBandsStartsAtTheFirstScrollingCell) {
    TForm* f = MakeForm();
    auto* g = NewControl<TStringGrid>(f, f, "TypesGrid");
    g->SetColCount(2);
    g->SetRowCount(3);
    ASSERT_EQ(g->FixedCols(), 1);
    EXPECT_EQ(g->LeftCol(), 1);
    g->SetFixedCols(0);
    EXPECT_EQ(g->LeftCol(), 0);
    EXPECT_EQ(g->Col(), 0);
    g->SetFixedRows(0);
    EXPECT_EQ(g->TopRow(), 0);
    EXPECT_EQ(g->Row(), 0);
    g->SetFixedRows(2);
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(g->Row(), 2);
}

} // namespace
