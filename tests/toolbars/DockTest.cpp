// Dock areas: thickness, rows and positions, the row under a point.
#include "ToolbarTestUtil.h"

namespace {

struct BarSpec {
    const char* name;
    int buttons;
    int row;
    int pos;
    bool fullSize = false;
};

struct BarResult {
    const char* name;
    int row;
    int pos;   // stored DockPos after the arrangement
    int left;  // placement
    int top;
};

struct ArrangeCase {
    const char* what;
    std::vector<BarSpec> bars;
    bool limitToOneRow;
    std::vector<BarResult> expected;
};

} // namespace

TEST_F(ToolbarsTest, DockThicknessFollowsItsBars) {
    TForm* f = MakeForm();
    TDockEx* top = AddDock(f, "Top");
    EXPECT_EQ(top->Height(), 0) << "an empty dock takes no room";
    top->SetFixAlign(true);
    EXPECT_EQ(top->Height(), 1) << "FixAlign keeps one pixel";

    TToolbarEx* bar = AddToolbar(f, top, "Bar", 3);
    Pump();
    EXPECT_EQ(bar->Height(), 26);
    EXPECT_EQ(bar->Width(), DockedBarWidth(3));
    EXPECT_EQ(top->Height(), 22 + 4) << "row size + 4";

    top->SetBoundLines(TDockBoundLines{blTop, blBottom});
    EXPECT_EQ(top->Height(), 22 + 4 + 2) << "each bound line takes a pixel";
    EXPECT_EQ(top->ClientHeight(), 26);
    Pump();
    TCanvas* nc = top->NonClientCanvas();
    ASSERT_NE(nc, nullptr);
    EXPECT_EQ(PixelAt(nc, 10, 0), ColorToRGB(clBtnShadow)) << "top line along the outer edge";
    EXPECT_EQ(PixelAt(nc, 10, top->Height() - 1), ColorToRGB(clBtnHighlight)) << "bottom line along the last row";

    bar->SetVisible(false);
    EXPECT_EQ(top->Height(), 1) << "hidden bar: FixAlign thickness again";
    top->InvalidateNonClient();
    EXPECT_EQ(PixelAt(nc, 10, 0), ColorToRGB(clBtnFace)) << "no lines without visible bars";

    TDockEx* left = AddDock(f, "Left", dpLeft);
    left->SetBoundLines(TDockBoundLines{blRight});
    TToolbarEx* column = AddToolbar(f, left, "Column", 2);
    Pump();
    EXPECT_EQ(column->Width(), 23 + 4);
    EXPECT_EQ(column->Height(), 2 * 22 + 9 + 4) << "handle on top of a column";
    EXPECT_EQ(left->Width(), 23 + 4 + 1);
}

TEST_F(ToolbarsTest, ArrangeToolbarsRowsAndPositions) {
    const int w1 = DockedBarWidth(1), w3 = DockedBarWidth(3);
    std::vector<ArrangeCase> cases = {
        {"separate rows", {{"A", 3, 0, 0}, {"B", 1, 1, 5}}, false, {{"A", 0, 0, 0, 0}, {"B", 1, 5, 5, 26}}},
        {"overlap pushed apart", {{"A", 3, 0, 0}, {"B", 1, 0, 40}}, false, {{"A", 0, 0, 0, 0}, {"B", 0, w3, w3, 0}}},
        {"gap kept", {{"A", 3, 0, 0}, {"B", 1, 0, 200}}, false, {{"A", 0, 0, 0, 0}, {"B", 0, 200, 200, 0}}},
        {"blank row removed", {{"A", 3, 0, 0}, {"B", 1, 2, 0}}, false, {{"A", 0, 0, 0, 0}, {"B", 1, 0, 0, 26}}},
        {"two blank rows: one pass removes one", {{"A", 3, 0, 0}, {"B", 1, 3, 0}}, false, {{"A", 0, 0, 0, 0}, {"B", 2, 0, 0, 26}}},
        {"limit to one row, in the order of positions", {{"A", 3, 0, 0}, {"B", 1, 1, 300}, {"C", 1, 2, 40}}, true,
         {{"A", 0, 0, 0, 0}, {"C", 0, w3, w3, 0}, {"B", 0, 300, 300, 0}}},
        // Equal keys: the quicksort exchanges the ends around the middle pivot.
        {"same row, same position", {{"A", 3, 0, 0}, {"B", 1, 0, 0}, {"C", 1, 0, 0}}, false,
         {{"C", 0, 0, 0, 0}, {"B", 0, w1, w1, 0}, {"A", 0, 2 * w1, 2 * w1, 0}}},
        {"full-size bar takes its row", {{"F", 2, 0, 0, true}, {"A", 1, 0, 100}, {"B", 1, 1, 0}}, false,
         {{"F", 0, 0, 0, 0}, {"A", 1, 100, 100, 26}, {"B", 2, 0, 0, 52}}},
    };
    for (const ArrangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        TForm* f = MakeForm();
        TDockEx* dock = AddDock(f, "Dock");
        dock->LimitToOneRow = c.limitToOneRow;
        std::vector<TToolbarEx*> bars;
        // One arrangement for the whole set.
        dock->BeginUpdate();
        for (const BarSpec& s : c.bars) {
            TToolbarEx* t = AddToolbar(f, nullptr, s.name, s.buttons, s.row, s.pos);
            t->SetFullSize(s.fullSize);
            t->SetParent(dock);
            bars.push_back(t);
        }
        dock->EndUpdate();
        for (const BarResult& r : c.expected) {
            auto* t = static_cast<TToolbarEx*>(f->FindComponent(r.name));
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->DockRow(), r.row) << r.name;
            EXPECT_EQ(t->DockPos(), r.pos) << r.name;
            EXPECT_EQ(t->Left(), r.left) << r.name;
            EXPECT_EQ(t->Top(), r.top) << r.name;
        }
        if (c.bars[0].fullSize) {
            EXPECT_EQ(bars[0]->Width(), dock->ClientWidth()) << "a full-size bar spans the dock";
        }
        EXPECT_EQ(dock->ToolbarCount(), int(c.bars.size()));
        Free(f);
        forms_.clear();
    }
}

TEST_F(ToolbarsTest, BarPastTheFarEndSlidesBack) {
    TForm* f = MakeForm();
    TDockEx* dock = AddDock(f, "Dock");
    int length = dock->ClientWidth();
    TToolbarEx* a = AddToolbar(f, dock, "A", 3, 0, length - 10);
    EXPECT_EQ(a->Left(), length - a->Width()) << "placed so that it ends at the far end";
    EXPECT_EQ(a->DockPos(), length - 10) << "the stored position changes only with clipping";
    dock->ArrangeToolbars(true);
    EXPECT_EQ(a->DockPos(), length - a->Width());

    // Two bars that do not fit both slide back, and the first never below 0.
    TToolbarEx* b = AddToolbar(f, dock, "B", 1, 0, length);
    EXPECT_EQ(b->Left(), length - b->Width());
    EXPECT_EQ(a->Left(), length - b->Width() - a->Width());
}

TEST_F(ToolbarsTest, GetRowOfAtTheEdges) {
    TForm* f = MakeForm();
    TDockEx* dock = AddDock(f, "Dock");
    AddToolbar(f, dock, "A", 1, 0, 0);
    AddToolbar(f, dock, "B", 1, 1, 0);
    ASSERT_EQ(dock->Height(), 52);
    struct Probe {
        int xy;
        int row;
        bool before;
    };
    const Probe probes[] = {{0, 0, true},  {4, 0, true},  {5, 0, false},  {20, 0, false}, {21, 1, true},  {30, 1, true},
                            {31, 1, false}, {46, 1, false}, {47, 2, true}, {56, 2, true},  {57, 2, false}, {500, 2, false}};
    for (const Probe& p : probes) {
        bool before = !p.before;
        EXPECT_EQ(dock->GetRowOf(p.xy, before), p.row) << "at " << p.xy;
        EXPECT_EQ(before, p.before) << "at " << p.xy;
    }
    EXPECT_EQ(dock->GetDesignModeRowOf(25), 0);
    EXPECT_EQ(dock->GetDesignModeRowOf(26), 1);
    EXPECT_EQ(dock->GetDesignModeRowOf(60), 2);
}

TEST_F(ToolbarsTest, DockMisuseRaisesAndChangesNothing) {
    TForm* f = MakeForm();
    TDockEx* dock = AddDock(f, "Dock");
    AddToolbar(f, dock, "A", 1);
    try {
        dock->SetPosition(dpLeft);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot change Position of a TDockEx if it already contains controls");
    }
    EXPECT_EQ(dock->Position(), dpTop);
    EXPECT_EQ(dock->Align(), alTop);

    TToolbarEx* bar = static_cast<TToolbarEx*>(f->FindComponent("A"));
    auto* inner = NewControl<TDockEx>(f, nullptr, "Inner");
    for (TWinControl* bad : std::initializer_list<TWinControl*>{dock, bar}) {
        try {
            inner->SetParent(bad);
            FAIL() << "no exception";
        } catch (const EInvalidOperation& e) {
            EXPECT_STREQ(e.what(), "A TDockEx control cannot be placed inside a tool window or another TDockEx");
        }
        EXPECT_EQ(inner->Parent(), nullptr);
    }
}

TEST_F(ToolbarsTest, InsertRemoveEventsFollowVisibility) {
    TForm* f = MakeForm();
    TDockEx* dock = AddDock(f, "Dock");
    std::vector<std::string> log;
    dock->OnInsertRemoveBar = [&](TObject*, bool inserting, TCustomToolWindowEx* bar) {
        log.push_back(std::string(inserting ? "+" : "-") + bar->Name().c_str());
    };
    TToolbarEx* a = AddToolbar(f, dock, "A", 1);
    a->SetVisible(false);
    a->SetVisible(true);
    delete a;
    EXPECT_EQ(log, (std::vector<std::string>{"+A", "-A", "+A", "-A"}));
    EXPECT_EQ(dock->DockListCount(), 0);
    EXPECT_EQ(dock->Height(), 0);
    CloseForms();
}

TEST_F(ToolbarsTest, BackgroundTilesContinueAcrossDockAndBars) {
    TForm* f = MakeForm();
    TDockEx* dock = AddDock(f, "Dock");
    TBitmap tile;
    tile.SetSize(2, 1);
    tile.Canvas()->SetPixels(0, 0, clRed);
    tile.Canvas()->SetPixels(1, 0, clBlue);
    dock->SetBackground(&tile);
    EXPECT_TRUE(dock->UsingBackground());
    TToolbarEx* bar = AddToolbar(f, dock, "A", 1, 0, 0);
    bar->SetDockPos(50);
    Pump();
    dock->Repaint();
    TCanvas* c = dock->Canvas();
    EXPECT_EQ(PixelAt(c, 0, 0), clRed) << "the grid starts at the parent's client origin";
    EXPECT_EQ(PixelAt(c, 1, 3), clBlue);
    EXPECT_EQ(PixelAt(c, 2, 5), clRed);
    bar->Repaint();
    // The bar's client area starts 50 + 11 pixels into the dock: an odd column.
    EXPECT_EQ(PixelAt(bar->Canvas(), 0, 0), clBlue);
    EXPECT_EQ(PixelAt(bar->Canvas(), 1, 0), clRed);

    dock->SetBackgroundOnToolbars(false);
    bar->Repaint();
    EXPECT_EQ(PixelAt(bar->Canvas(), 0, 0), ColorToRGB(clBtnFace));
    dock->SetBackgroundTransparent(true);
    dock->SetColor(clLime);
    dock->Repaint();
    EXPECT_EQ(PixelAt(dock->Canvas(), 0, 0), clLime) << "the bottom-left colour shows the dock's colour";
    EXPECT_EQ(PixelAt(dock->Canvas(), 1, 0), clBlue);
}
