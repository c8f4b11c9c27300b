#include <gtest/gtest.h>

#include "common/Printers.h"

#include <memory>

#include "controls/CtlUtils.h"
#include "controls/Exconst.h"
#include "platform/ImageList.h"

namespace {

// A 4 x 2 grid of 3 x 2 cells, each filled with its own colour.
std::unique_ptr<TBitmap> Grid() {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(12, 4);
    for (int i = 0; i < 8; ++i) {
        b->Canvas()->Brush()->SetColor(RGB(i * 30, 10, 200 - i * 20));
        b->Canvas()->FillRect(Bounds(i % 4 * 3, i / 4 * 2, 3, 2));
    }
    return b;
}

TEST(CtlUtils, AssignBitmapCellPicksTheCell) {
    auto source = Grid();
    source->SetTransparentColor(clLime);
    source->SetTransparent(true);
    TBitmap cell;
    for (int i = 0; i < 8; ++i) {
        AssignBitmapCell(source.get(), &cell, 4, 2, i);
        ASSERT_EQ(cell.Width(), 3);
        ASSERT_EQ(cell.Height(), 2);
        EXPECT_EQ(cell.Canvas()->Pixels(2, 1), RGB(i * 30, 10, 200 - i * 20)) << i;
    }
    EXPECT_EQ(cell.TransparentColor(), clLime);
    EXPECT_TRUE(cell.Transparent());
    AssignBitmapCell(source.get(), &cell, 4, 2, 8); // below the grid: an empty area
    EXPECT_EQ(cell.Width(), 3);
    EXPECT_EQ(cell.Canvas()->Pixels(0, 0), clWhite);
    AssignBitmapCell(source.get(), &cell, 0, 0, -3); // counts of 1, index 0: the whole picture
    EXPECT_EQ(cell.Width(), 12);
    EXPECT_EQ(cell.Height(), 4);
    AssignBitmapCell(nullptr, &cell, 1, 1, 0); // nothing happens
    EXPECT_EQ(cell.Width(), 12);
}

TEST(CtlUtils, TransparentDrawingLeavesTheColourOut) {
    TBitmap glyph;
    glyph.SetSize(2, 1);
    glyph.Canvas()->SetPixels(0, 0, clRed);
    glyph.Canvas()->SetPixels(1, 0, clLime);
    TBitmap target;
    target.SetSize(4, 1);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 4, 1));
    DrawBitmapTransparent(target.Canvas(), 0, 0, &glyph, clLime);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clBlue);
    DrawBitmapTransparent(target.Canvas(), 2, 0, &glyph, clNone); // opaque
    EXPECT_EQ(target.Canvas()->Pixels(3, 0), clLime);
    // clDefault: the bottom-left pixel's colour (red here) is left out.
    target.Canvas()->FillRect(Rect(0, 0, 4, 1));
    DrawBitmapTransparent(target.Canvas(), 0, 0, &glyph, clDefault);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clLime);
    // A part, stretched to twice its size.
    StretchBitmapRectTransparent(target.Canvas(), 0, 0, 2, 1, Rect(0, 0, 1, 1), &glyph, clLime);
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clRed);
}

TEST(CtlUtils, DisabledBitmapIsEmbossed) {
    TBitmap glyph;
    glyph.SetSize(3, 3);
    glyph.Canvas()->Brush()->SetColor(clBtnFace);
    glyph.Canvas()->FillRect(Rect(0, 0, 3, 3));
    glyph.Canvas()->SetPixels(0, 0, clRed);
    std::unique_ptr<TBitmap> disabled(CreateDisabledBitmap(&glyph, clBlack));
    ASSERT_EQ(disabled->Width(), 3);
    EXPECT_EQ(disabled->Canvas()->Pixels(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(disabled->Canvas()->Pixels(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(disabled->Canvas()->Pixels(2, 2), ColorToRGB(clBtnFace));
    std::unique_ptr<TBitmap> flat(CreateDisabledBitmapEx(&glyph, clBlack, clBtnFace, clWhite, clGray, false));
    EXPECT_EQ(flat->Canvas()->Pixels(1, 1), ColorToRGB(clBtnFace));
    // A transparent picture's transparent colour is background, not figure.
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 3, 3));
    glyph.Canvas()->SetPixels(1, 0, clRed);
    glyph.SetTransparentColor(clFuchsia);
    glyph.SetTransparent(true);
    std::unique_ptr<TBitmap> clear(CreateDisabledBitmap(&glyph, clBlack));
    const std::vector<TColor> row0 = {ColorToRGB(clBtnFace), ColorToRGB(clBtnShadow), ColorToRGB(clBtnFace)};
    const std::vector<TColor> row1 = {ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), ColorToRGB(clBtnHighlight)};
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(clear->Canvas()->Pixels(x, 0), row0[std::size_t(x)]) << x;
        EXPECT_EQ(clear->Canvas()->Pixels(x, 1), row1[std::size_t(x)]) << x;
    }
}

TEST(CtlUtils, PatternsAndColourChanges) {
    std::unique_ptr<TBitmap> pattern(CreateTwoColorsBrushPattern(clWhite, clBlack));
    ASSERT_EQ(pattern->Width(), 8);
    EXPECT_EQ(pattern->Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(pattern->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(pattern->Canvas()->Pixels(1, 1), clBlack);
    TBitmap two;
    two.SetSize(2, 1);
    two.Canvas()->SetPixels(0, 0, clRed);
    two.Canvas()->SetPixels(1, 0, clGreen);
    std::unique_ptr<TBitmap> changed(ChangeBitmapColor(&two, clRed, clYellow));
    EXPECT_EQ(changed->Canvas()->Pixels(0, 0), clYellow);
    EXPECT_EQ(changed->Canvas()->Pixels(1, 0), clGreen);
}

TEST(CtlUtils, GradientBandsAreExact) {
    TBitmap b;
    b.SetSize(1, 10);
    GradientFillRect(b.Canvas(), Rect(0, 0, 1, 10), RGB(0, 0, 0), RGB(90, 180, 9), fdTopToBottom, 255);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(b.Canvas()->Pixels(0, y), RGB(y * 10, y * 20, y)) << y;
    GradientFillRect(b.Canvas(), Rect(0, 0, 1, 10), RGB(0, 0, 0), RGB(90, 180, 9), fdBottomToTop, 255);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), RGB(90, 180, 9));
    EXPECT_EQ(b.Canvas()->Pixels(0, 9), RGB(0, 0, 0));
    // 3 bands over 10 pixels: 3 of 3 pixels, the last pixel in the end colour.
    GradientFillRect(b.Canvas(), Rect(0, 0, 1, 10), clBlack, clWhite, fdTopToBottom, 3);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(b.Canvas()->Pixels(0, 4), RGB(128, 128, 128));
    EXPECT_EQ(b.Canvas()->Pixels(0, 8), clWhite);
    EXPECT_EQ(b.Canvas()->Pixels(0, 9), clWhite);
    GradientFillRect(b.Canvas(), Rect(0, 0, 1, 10), clRed, clWhite, fdTopToBottom, 1);
    EXPECT_EQ(b.Canvas()->Pixels(0, 9), clRed);
}

TEST(CtlUtils, MinimizeTextCutsFromTheEnd) {
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.Canvas();
    AnsiString text = "Длинное название файла"_a;
    EXPECT_EQ(MinimizeText(text, c, c->TextWidth(text)), text);
    AnsiString cut = MinimizeText(text, c, c->TextWidth(text) / 2);
    EXPECT_LE(c->TextWidth(cut), c->TextWidth(text) / 2);
    EXPECT_EQ(cut.SubString(cut.Length() - 2, 3), AnsiString("..."));
    EXPECT_EQ(cut.SubString(1, cut.Length() - 3), text.SubString(1, cut.Length() - 3));
    EXPECT_EQ(MinimizeText(text, c, 1), AnsiString("..."));
}

TEST(CtlUtils, SplitCommandLineHasNoTokenLimit) {
    AnsiString exe, params;
    SplitCommandLine("prog \"my file.tvp\" -x", exe, params);
    EXPECT_EQ(exe, AnsiString("prog"));
    EXPECT_EQ(params, AnsiString("\"my file.tvp\" -x"));
    SplitCommandLine("  \"\" \"C:\\Program Files\\ge.exe\"  a\"b c\"d  ", exe, params);
    EXPECT_EQ(exe, AnsiString("C:\\Program Files\\ge.exe"));
    EXPECT_EQ(params, AnsiString("\"ab cd\""));
    AnsiString longToken = AnsiString::StringOfChar('z', 5000);
    SplitCommandLine("p " + longToken, exe, params);
    EXPECT_EQ(params, longToken);
    SplitCommandLine("", exe, params);
    EXPECT_EQ(exe, AnsiString());
    EXPECT_EQ(params, AnsiString());
    SplitCommandLine("\"unclosed name", exe, params);
    EXPECT_EQ(exe, AnsiString("unclosed name"));
}

TEST(CtlUtils, SmallTextHelpers) {
    EXPECT_EQ(DropT("TMainForm"), AnsiString("MainForm"));
    EXPECT_EQ(DropT("T"), AnsiString("T"));
    EXPECT_EQ(DropT("Form"), AnsiString("Form"));
    EXPECT_EQ(AnsiUpperFirstChar("сХЕМА"_a), "Схема"_a);
    EXPECT_EQ(ResStr("x"), AnsiString("x"));
    EXPECT_TRUE(PointInRect(TPoint(10, 10), Rect(0, 0, 10, 10)));
    EXPECT_FALSE(PointInRect(TPoint(11, 10), Rect(0, 0, 10, 10)));
    EXPECT_EQ(WidthOf(Rect(2, 3, 7, 9)), 5);
    EXPECT_EQ(HeightOf(Rect(2, 3, 7, 9)), 6);
}

TEST(Exconst, StringTableAndPictures) {
    EXPECT_EQ(ExLoadStr(SBrowse), "Список"_a);
    EXPECT_EQ(ExLoadStr(SDefaultFilter), "Все файлы (*.*)|*.*"_a);
    EXPECT_EQ(ExLoadStr(SNotImplemented), "Функция не реализована"_a);
    EXPECT_EQ(ExLoadStr(SInformation), "Сведения"_a);
    EXPECT_EQ(ExLoadStr(61253), AnsiString());
    RegisterExResources();
    struct Picture {
        const char* name;
        int w, h;
    } pictures[] = {{"CHECK_IMAGES", 96, 39}, {"EXSPINUP", 7, 4},     {"EXSPINDOWN", 7, 4}, {"FEDITBMP", 14, 12},
                    {"DEDITBMP", 28, 12},     {"EX_HANDCUR", 32, 32}, {"EX_DRAGCUR", 32, 32}};
    for (const Picture& p : pictures) {
        TBitmap b;
        b.LoadFromResourceName(p.name);
        EXPECT_EQ(b.Width(), p.w) << p.name;
        EXPECT_EQ(b.Height(), p.h) << p.name;
        EXPECT_EQ(b.TransparentColor(), clFuchsia) << p.name; // the background is left out
    }
    // The check images: an unchecked box shows no tick, a checked one does.
    TBitmap checks;
    checks.LoadFromResourceName("CHECK_IMAGES");
    TBitmap unchecked, checked;
    AssignBitmapCell(&checks, &unchecked, 6, 3, 0);
    AssignBitmapCell(&checks, &checked, 6, 3, 1);
    int differ = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 16; ++x) differ += unchecked.Canvas()->Pixels(x, y) != checked.Canvas()->Pixels(x, y);
    EXPECT_EQ(differ, 21); // the 7 x 3 tick
}

TEST(Exconst, CalendarArrowsAreMirroredTwoColourPictures) {
    EXPECT_EQ(ExLoadStr(SPrevYear), "Предыдущий год|"_a);
    EXPECT_EQ(ExLoadStr(SPrevMonth), "Предыдущий месяц|"_a);
    EXPECT_EQ(ExLoadStr(SNextMonth), "Следующий месяц|"_a);
    EXPECT_EQ(ExLoadStr(SNextYear), "Следующий год|"_a);
    EXPECT_EQ(ExLoadStr(SDateDlgTitle), "Выбор даты"_a);
    RegisterExResources();
    struct Pair { const char* left; const char* right; int black; } pairs[] = {{"PREV1", "NEXT1", 12}, {"PREV2", "NEXT2", 24}};
    for (const Pair& p : pairs) {
        TBitmap left, right;
        left.LoadFromResourceName(p.left);
        right.LoadFromResourceName(p.right);
        ASSERT_EQ(left.Width(), 8);
        ASSERT_EQ(left.Height(), 6);
        EXPECT_TRUE(left.Monochrome() && right.Monochrome());
        // White is left out, whatever colour a corner has.
        EXPECT_EQ(left.TransparentColor(), clWhite) << p.left;
        EXPECT_EQ(right.TransparentColor(), clWhite) << p.right;
        int black = 0;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                black += left.Canvas()->Pixels(x, y) == clBlack;
                EXPECT_EQ(left.Canvas()->Pixels(x, y), right.Canvas()->Pixels(7 - x, y)) << p.left << x << "," << y;
            }
        EXPECT_EQ(black, p.black) << p.left;
    }
}

} // namespace
