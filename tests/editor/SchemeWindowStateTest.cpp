// The scheme window's state: a new window, snapping, zoom and the sheet, scroll positions, grid dots, status panels
// and the mode table.
#include "editor/SchemeWindowTest.h"

namespace {

using WindowState = SchemeWindowTest;

TEST_F(WindowState, ANewWindowAndItsStatusPanels) {
    EXPECT_EQ(std::tuple(Panel(1), Panel(3), fake.modes.back()), std::tuple("Выбор"_a, AnsiString("Zoom:100"), mdSelect));
    // The loading bar lies over panel 4, hidden until a file loads.
    TProgressBar* bar = window->ProgressBar;
    EXPECT_EQ(std::pair(bar->Left(), bar->Visible()), std::pair(window->StatusBar->PanelRect(4).Left, false));
    // Panel 0 follows the snapped point, panel 2 the driver under it.
    ASSERT_TRUE(DriversInUse().AddVarBit("link1", "связь"_a));
    TDriver* v = Doc()->CreateVarDriver();
    v->SetName("link1"), v->SetX(100), v->SetY(100), Move(30, 40);
    EXPECT_EQ(std::pair(Panel(0), Panel(2)), std::pair(AnsiString("30:40"), AnsiString()));
    Move(110, 110);
    EXPECT_EQ(Panel(2), v->Hint());
    // Moves inside one grid cell change nothing, not even panel 0.
    window->StatusBar->Panels()->Items(0)->SetText("x");
    for (QPoint p : {QPoint(112, 113), QPoint(106, 114)}) {
        GuiTest::Send(window->PaintBox1->Widget(), QEvent::MouseMove, Qt::NoButton, p);
        EXPECT_EQ(Panel(0), AnsiString("x"));
    }
}

TEST_F(WindowState, SnappingAtEveryZoomAndGrid) {
    // The zoom, the grid step, the pixel and the scheme point it snaps to.
    const std::tuple<int, int, int, int, TPoint> cases[] = {
        // The nearest grid point, halves going up.
        {100, 10, 14, 15, {10, 20}}, {100, 10, 4, 5, {0, 10}}, {50, 10, 7, 2, {10, 0}}, {50, 10, 8, 3, {20, 10}},
        {25, 10, 2, 1, {10, 0}}, {25, 10, 4, 3, {20, 10}}, {150, 10, 16, 23, {10, 20}}, {150, 10, 7, 8, {0, 10}},
        // No grid: the scaled pixel itself.
        {100, 0, 13, 7, {13, 7}}, {50, 0, 13, 7, {26, 14}}, {150, 0, 13, 7, {8, 4}},
        // Off the sheet: the nearest grid point on it.
        {100, 10, -30, -1, {0, 0}}, {100, 10, 5000, 5000, {800, 600}}, {50, 10, 399, 299, {800, 600}},
    };
    for (const auto& [zoom, grid, x, y, expected] : cases) {
        window->GridStep = grid, Doc()->SetScale(zoom);
        EXPECT_EQ(window->SchemePoint(x, y), expected) << zoom << " " << grid << " " << x << "," << y;
    }
}

TEST_F(WindowState, ZoomLimitsTheSheetAndScrollPositions) {
    // 50 - 50 and 400 + 50 are refused: the zoom stays.
    const std::pair<void (TMDIChild::*)(TObject*), int> steps[] = {
        {&TMDIChild::ZoomOutActionExecute, 50},  {&TMDIChild::ZoomOutActionExecute, 50},
        {&TMDIChild::ZoomMaxActionExecute, 400}, {&TMDIChild::ZoomInActionExecute, 400},
        {&TMDIChild::ZoomNormalActionExecute, 100}, {&TMDIChild::ZoomInActionExecute, 150}};
    int rules = fake.zoomRules;
    for (auto [command, zoom] : steps) {
        (window->*command)(nullptr);
        EXPECT_EQ(std::tuple(Zoom(), Panel(3), window->PaintBox1->Width(), window->PaintBox1->Height()),
                  std::tuple(zoom, "Zoom:" + IntToStr(zoom), 8 * zoom, 6 * zoom));
        EXPECT_EQ(fake.zoomRules, ++rules) << "the frame's zoom rule runs after every zoom command";
        EXPECT_TRUE(SheetIsClean());
    }
    // The last point stays in view: (100, 50) at 200 % scrolls to 100, 50.
    window->ZoomNormalActionExecute(nullptr), Move(100, 50);
    window->ZoomInActionExecute(nullptr), window->ZoomInActionExecute(nullptr);
    TControlScrollBar* h = window->ScrollBox1->HorzScrollBar();
    EXPECT_EQ(std::pair(h->Position(), window->ScrollBox1->VertScrollBar()->Position()), std::pair(100, 50));
    window->ZoomNormalActionExecute(nullptr);
    EXPECT_EQ(h->Position(), 0);
    // The sheet image stays under its limit: 480,000 pixels at 100 % here.
    const long long limit = TMDIChild::MaxSheetPixels;
    for (auto [pixels, zoom] : {std::pair{480000LL, 100}, {479999LL, 75}, {269999LL, 50}, {119999LL, 25}}) {
        TMDIChild::MaxSheetPixels = pixels;
        TMDIChild* w = OpenWindow();
        EXPECT_EQ(std::pair(w->Scheme->Zoom(), w->PaintBox1->Width()), std::pair(zoom, 8 * zoom)) << pixels;
        w->ZoomInActionExecute(nullptr); // past the limit: refused like 450
        EXPECT_EQ(w->Scheme->Zoom(), zoom) << pixels;
    }
    TMDIChild::MaxSheetPixels = limit;
}

TEST_F(WindowState, GridDotsEveryStepFromFourPixelsOn) {
    const TColor grid = InitModule->GridColor;
    ASSERT_NE(InitModule->BackColor, grid);
    TCanvas* c = window->PaintBox1->Canvas();
    auto dots = [&] {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) n += c->Pixels(x, y) == grid;
        return n;
    };
    window->PaintBox1->Repaint();
    EXPECT_EQ(std::pair(c->Pixels(10, 20), dots()), std::pair(grid, 36));
    window->ZoomOutActionExecute(nullptr); // 50 %: every 5 pixels
    EXPECT_EQ(dots(), 144);
    Doc()->SetScale(25); // 2 pixels apart: none drawn
    EXPECT_EQ(dots(), 0);
    window->ZoomNormalActionExecute(nullptr), InitModule->GridVisible = false, window->PaintBox1->Repaint();
    EXPECT_EQ(dots(), 0);
    InitModule->GridVisible = true;
    // A grid step changed in the settings reaches only windows made after it.
    InitModule->GridStep = 20, window->PaintBox1->Repaint();
    EXPECT_EQ(dots(), 36);
    EXPECT_EQ(OpenWindow()->SchemePoint(29, 31), TPoint(20, 40));
    InitModule->GridStep = 10;
}

TEST_F(WindowState, TheModeTable) {
    // The mode, its panel text, the menu item ticked and the sheet's cursor.
    const std::tuple<int, const char*, TMenuItem* TMDIChild::*, int> rows[] = {
        {mdSelect, "Выбор", &TMDIChild::N12, crDefault},
        {mdMove, "Перемещение", nullptr, crDefault},
        {mdWire, "Связь", &TMDIChild::N8, TMDIChild::crInsertCursor},
        {mdPin, "Вывод", &TMDIChild::N7, crDefault},
        {mdDevice, "Элемент", &TMDIChild::N6, crDefault},
        {mdConnect, "Соединитель", &TMDIChild::N1, crDefault},
        {mdPaste, "Вставка из буфера", nullptr, TMDIChild::crInsertCursor},
        {mdOrder, "Элемент № 1", nullptr, crHandPoint},
        {mdSymbol, "Символ", &TMDIChild::N19, crDefault},
        {mdFSM, "машина состояний", nullptr, crDefault},
        {3, "Не знаю", nullptr, crDefault}};
    TMenuItem* TMDIChild::*items[] = {&TMDIChild::N12, &TMDIChild::N6, &TMDIChild::N7,
                                      &TMDIChild::N8,  &TMDIChild::N1, &TMDIChild::N19};
    for (auto [mode, text, ticked, cursor] : rows) {
        SCOPED_TRACE(mode);
        window->SetMode(mode);
        EXPECT_EQ(Panel(1), Utf8ToAnsi(text));
        for (auto item : items) EXPECT_EQ((window->*item)->Checked(), item == ticked);
        EXPECT_EQ(std::tuple(window->ScrollBox1->Cursor(), window->PaintBox1->PopupMenu(), fake.modes.back()),
                  std::tuple(cursor, window->PopupMenu1, mode));
        // A placement: the insert cursor, the menu with "Отмена", the frame hears the mode without its flags.
        window->SetMode(mode | PlacingFlag);
        EXPECT_EQ(std::tuple(window->ScrollBox1->Cursor(), window->PaintBox1->PopupMenu(), fake.modes.back()),
                  std::tuple(int(TMDIChild::crInsertCursor), window->PopupMenu3, mode));
    }
    // The drag mode sets only the screen cursor; the select mode resets it.
    window->SetMode(mdSymbol), window->SetMode(mdDrag);
    EXPECT_EQ(std::pair(Screen->Cursor(), window->ScrollBox1->Cursor()), std::pair(TMDIChild::crMoveCursor, int(crDefault)));
    window->SetMode(mdSelect);
    const TCursor reset = Screen->Cursor();
    window->N19->Click();
    EXPECT_EQ(std::pair(reset, window->GetMode()), std::pair(int(crDefault), mdSymbol)) << "\"Символ\" selects the symbol mode";
}

} // namespace
