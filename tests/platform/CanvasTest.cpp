// The pixel rules of the canvas that drawing code relies on: exclusive end
// points and edges, the raster operations, clipping, text placement.

#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace painttest;

namespace {

constexpr uint32_t kW = 0xFFFFFF;

TEST(Canvas, LineToLeavesOutItsEndPointAndMovesThePen) {
    struct L {
        TPoint a, b;
    };
    for (const L& l : {L{{2, 5}, {10, 5}}, L{{10, 5}, {2, 5}}, L{{4, 1}, {4, 9}}, L{{1, 1}, {8, 8}}, L{{9, 2}, {3, 6}}}) {
        QImage img = Filled(12, 12, kW);
        TCanvas c(&img);
        c.MoveTo(l.a.x, l.a.y);
        c.LineTo(l.b.x, l.b.y);
        EXPECT_EQ(c.PenPos(), l.b);
        EXPECT_EQ(Px(img, l.a.x, l.a.y), 0u);
        EXPECT_EQ(Px(img, l.b.x, l.b.y), kW) << l.b.x << "," << l.b.y;
        // One pixel per step along the longer axis.
        EXPECT_EQ(Count(img, 0), std::max(std::abs(l.b.x - l.a.x), std::abs(l.b.y - l.a.y)));
    }
}

TEST(Canvas, RectangleAndFillRectLeaveTheRightAndBottomEdgesOut) {
    QImage img = Filled(12, 12, kW);
    TCanvas c(&img);
    c.Brush()->SetColor(clRed);
    c.Rectangle(2, 3, 8, 7);
    EXPECT_EQ(InkBox(img, 0), TRect(2, 3, 8, 7));        // the outline: columns 2 and 7, rows 3 and 6
    EXPECT_EQ(InkBox(img, 0xFF0000), TRect(3, 4, 7, 6)); // the inside
    EXPECT_EQ(Count(img, 0), 2 * 6 + 2 * 2);
    // A reversed rectangle is the same rectangle.
    QImage again = Filled(12, 12, kW);
    TCanvas c2(&again);
    c2.Brush()->SetColor(clRed);
    c2.Rectangle(8, 7, 2, 3);
    EXPECT_EQ(again, img);

    img = Filled(12, 12, kW);
    c.FillRect(Rect(1, 1, 4, 3));
    EXPECT_EQ(InkBox(img, 0xFF0000), TRect(1, 1, 4, 3));
    EXPECT_EQ(Count(img, 0xFF0000), 6);
    c.FillRect(Rect(6, 6, 6, 9)); // empty
    EXPECT_EQ(Count(img, 0xFF0000), 6);
}

TEST(Canvas, WithoutPenTheInsideEndsOnePixelShort) {
    QImage img = Filled(12, 12, kW);
    TCanvas c(&img);
    c.Pen()->SetStyle(psClear);
    c.Brush()->SetColor(clBlue);
    c.Rectangle(2, 2, 8, 6);
    EXPECT_EQ(InkBox(img, 0x0000FF), TRect(2, 2, 7, 5));
}

TEST(Canvas, FrameRectDrawsAOnePixelRingWithTheBrush) {
    QImage img = Filled(10, 10, kW);
    TCanvas c(&img);
    c.Brush()->SetColor(clGreen);
    c.FrameRect(Rect(1, 2, 7, 6));
    EXPECT_EQ(InkBox(img, 0x008000), TRect(1, 2, 7, 6));
    EXPECT_EQ(Count(img, 0x008000), 2 * 6 + 2 * 2);
    EXPECT_EQ(Px(img, 3, 4), kW);
}

TEST(Canvas, EllipseStaysInItsBoxAndTouchesEveryEdge) {
    for (const TRect& box : {Rect(3, 2, 30, 20), Rect(0, 0, 7, 5), Rect(10, 10, 12, 40)}) {
        QImage img = Filled(40, 45, kW);
        TCanvas c(&img);
        c.Brush()->SetColor(clYellow);
        c.Ellipse(box);
        EXPECT_EQ(InkBox(img, 0), box);
        // The outline is closed: filling from outside never reaches the inside.
        const TRect inside = InkBox(img, 0xFFFF00);
        if (!IsRectEmpty(inside)) {
            EXPECT_TRUE(inside.Left > box.Left && inside.Right < box.Right);
        }
    }
}

TEST(Canvas, PenModesCombineBitwise) {
    const uint32_t d = 0x5A3C96, p = 0x33CC0F;
    struct M {
        TPenMode mode;
        uint32_t expect;
    };
    const M modes[] = {
        {pmBlack, 0},          {pmWhite, kW},           {pmNop, d},           {pmNot, ~d & kW},
        {pmCopy, p},           {pmNotCopy, ~p & kW},    {pmMergePenNot, (p | ~d) & kW},
        {pmMaskPenNot, p & ~d}, {pmMergeNotPen, (~p | d) & kW}, {pmMaskNotPen, ~p & d},
        {pmMerge, p | d},      {pmNotMerge, ~(p | d) & kW}, {pmMask, p & d},   {pmNotMask, ~(p & d) & kW},
        {pmXor, p ^ d},        {pmNotXor, ~(p ^ d) & kW},
    };
    for (const M& m : modes) {
        QImage img = Filled(4, 1, d);
        TCanvas c(&img);
        c.Pen()->SetMode(m.mode);
        c.Pen()->SetColor(RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF));
        c.MoveTo(0, 0);
        c.LineTo(2, 0);
        EXPECT_EQ(Px(img, 1, 0), m.expect) << "mode " << m.mode;
        EXPECT_EQ(Px(img, 2, 0), d);
        EXPECT_EQ(qAlpha(img.pixel(1, 0)), 255);
    }
}

TEST(Canvas, CopyModesCombineSourcePatternAndDestinationBitwise) {
    const uint32_t s = 0xF0CC55, d = 0x3C5AA6, p = 0x0FF00F;
    struct M {
        TCopyMode mode;
        uint32_t expect;
    };
    const M modes[] = {
        {cmSrcCopy, s},          {cmSrcInvert, s ^ d},      {cmSrcAnd, s & d},          {cmSrcPaint, s | d},
        {cmNotSrcCopy, ~s & kW}, {cmSrcErase, s & ~d},      {cmMergePaint, (~s | d) & kW}, {cmNotSrcErase, ~(s | d) & kW},
        {cmPatCopy, p},          {cmPatInvert, p ^ d},      {cmDstInvert, ~d & kW},     {cmBlackness, 0},
        {cmWhiteness, kW},       {cmMergeCopy, p & s},      {cmPatPaint, (p | ~s | d) & kW},
        {0x00E20746, (s & p) | (~s & d & kW)}, // source selects pattern or destination
    };
    QImage src = Filled(2, 2, s);
    TCanvas from(&src);
    for (const M& m : modes) {
        QImage img = Filled(3, 3, d);
        TCanvas c(&img);
        c.Brush()->SetColor(RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF));
        c.CopyMode = m.mode;
        c.CopyRect(Rect(1, 1, 3, 3), &from, Rect(0, 0, 2, 2));
        EXPECT_EQ(Px(img, 2, 2), m.expect) << std::hex << m.mode;
        EXPECT_EQ(Px(img, 0, 0), d);
    }
}

TEST(Canvas, StretchDrawTakesTheNearestPixelAndMirrorsReversedEdges) {
    TBitmap b;
    b.SetSize(2, 2);
    SetPx(b.Image(), 0, 0, 0x111111);
    SetPx(b.Image(), 1, 0, 0x222222);
    SetPx(b.Image(), 0, 1, 0x333333);
    SetPx(b.Image(), 1, 1, 0x444444);
    QImage img = Filled(8, 8, kW);
    TCanvas c(&img);
    c.StretchDraw(Rect(0, 0, 4, 4), &b);
    EXPECT_EQ(InkBox(img, 0x111111), TRect(0, 0, 2, 2));
    EXPECT_EQ(InkBox(img, 0x444444), TRect(2, 2, 4, 4));
    c.StretchDraw(TRect(8, 4, 4, 8), &b); // mirrored in x
    EXPECT_EQ(Px(img, 4, 4), 0x222222u);
    EXPECT_EQ(Px(img, 5, 7), 0x444444u);
    EXPECT_EQ(Px(img, 7, 4), 0x111111u);
    c.StretchDraw(Rect(0, 6, 1, 7), &b); // shrinking samples the middle
    EXPECT_EQ(Px(img, 0, 6), 0x444444u);
}

TEST(Canvas, TransparentBitmapLeavesItsBottomLeftColourOut) {
    TBitmap b;
    b.SetSize(4, 3);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 4, 3));
    b.Canvas()->SetPixels(1, 1, clNavy);
    b.SetTransparent(true);
    EXPECT_EQ(b.TransparentColor(), clLime);
    QImage img = Noise(6, 6);
    const QImage before = img.copy();
    TCanvas c(&img);
    c.Draw(1, 1, &b);
    EXPECT_EQ(ChangedBox(img, before), TRect(2, 2, 3, 3));
    EXPECT_EQ(Px(img, 2, 2), 0x000080u);
    b.SetTransparentColor(clNavy); // now the other colour is left out
    img = before.copy();
    c.Draw(1, 1, &b);
    EXPECT_EQ(Count(img, 0x00FF00), 11 + Count(before, 0x00FF00));
    EXPECT_EQ(Px(img, 2, 2), Px(before, 2, 2));
}

TEST(Canvas, TwoColourPicturesTakeTheFontAndBrushColours) {
    TBitmap mono;
    mono.SetSize(2, 1);
    mono.Canvas()->SetPixels(0, 0, clBlack);
    mono.SetMonochrome(true);
    QImage img = Filled(2, 1, 0x123456);
    TCanvas c(&img);
    c.Draw(0, 0, &mono);
    EXPECT_EQ(Px(img, 0, 0), 0u);
    EXPECT_EQ(Px(img, 1, 0), kW);
    c.Font()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Draw(0, 0, &mono);
    EXPECT_EQ(Px(img, 0, 0), 0xFF0000u);
    EXPECT_EQ(Px(img, 1, 0), 0x0000FFu);
}

TEST(Canvas, BrushCopyReplacesOneColourByTheBrush) {
    TBitmap b;
    b.SetSize(3, 1);
    b.Canvas()->SetPixels(0, 0, clFuchsia);
    b.Canvas()->SetPixels(1, 0, clBlack);
    b.Canvas()->SetPixels(2, 0, clFuchsia);
    QImage img = Filled(3, 1, kW);
    TCanvas c(&img);
    c.Brush()->SetColor(clSilver);
    c.BrushCopy(Rect(0, 0, 3, 1), &b, Rect(0, 0, 3, 1), clFuchsia);
    EXPECT_EQ(Px(img, 0, 0), 0xC0C0C0u);
    EXPECT_EQ(Px(img, 1, 0), 0u);
    EXPECT_EQ(Px(img, 2, 0), 0xC0C0C0u);
}

TEST(Canvas, HatchBrushesPaintOnlyTheirLines) {
    QImage img = Filled(16, 16, kW);
    TCanvas c(&img);
    c.Brush()->SetStyle(bsHorizontal);
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(0, 0, 16, 16));
    EXPECT_EQ(Count(img, 0), 2 * 16);
    c.Brush()->SetStyle(bsDiagCross);
    c.Brush()->SetColor(clRed);
    c.FrameRect(Rect(0, 0, 16, 16));
    EXPECT_GT(Count(img, 0xFF0000), 0);
    EXPECT_LT(Count(img, 0xFF0000), 60 / 2);
    EXPECT_EQ(Px(img, 5, 5), kW);
}

TEST(Canvas, PatternBrushRepeatsFromTheImageOrigin) {
    TBitmap pattern;
    pattern.SetSize(2, 2);
    pattern.Canvas()->SetPixels(0, 0, clBlack);
    pattern.Canvas()->SetPixels(1, 1, clBlack);
    QImage img = Filled(6, 4, 0x808080);
    TCanvas c(&img);
    c.Brush()->SetBitmap(&pattern);
    c.FillRect(Rect(1, 1, 6, 4));
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 6; ++x) EXPECT_EQ(Px(img, x, y), ((x + y) % 2) ? kW : 0u) << x << "," << y;
    c.Brush()->SetBitmap(nullptr);
    c.FillRect(Rect(0, 0, 6, 4));
    EXPECT_EQ(Count(img, kW), 24);
}

TEST(Canvas, FocusRectangleInvertsEveryOtherPixelOfItsFrame) {
    QImage img = Filled(10, 8, kW);
    TCanvas c(&img);
    c.DrawFocusRect(Rect(1, 1, 9, 7));
    EXPECT_EQ(Count(img, 0), (2 * 8 + 2 * 4) / 2);
    EXPECT_EQ(InkBox(img, 0).Left, 1);
    EXPECT_EQ(Px(img, 4, 4), kW);
    c.DrawFocusRect(Rect(9, 7, 1, 1));
    EXPECT_EQ(Count(img, 0), 0);
}

TEST(Canvas, PixelsOutsideTheImageOrClipAreInvalidAndUnwritable) {
    QImage img = Filled(4, 4, kW);
    TCanvas c(&img);
    c.SetPixels(2, 1, RGB(1, 2, 3));
    EXPECT_EQ(c.Pixels(2, 1), RGB(1, 2, 3));
    EXPECT_EQ(Px(img, 2, 1), 0x010203u);
    EXPECT_EQ(c.Pixels(4, 0), -1);
    EXPECT_EQ(c.Pixels(-1, 0), -1);
    c.SetPixels(-1, 0, clBlack);
    c.IntersectClipRect(0, 0, 2, 2);
    EXPECT_EQ(c.Pixels(2, 1), -1);
    c.SetPixels(3, 3, clBlack);
    EXPECT_EQ(Count(img, 0), 0);
    TCanvas none;
    EXPECT_EQ(none.Pixels(0, 0), -1);
    none.LineTo(5, 5); // no image: nothing to do, no failure
    EXPECT_EQ(none.ClipRect(), TRect());
}

TEST(Canvas, ClipRectsRegionsAndExclusion) {
    QImage img = Filled(20, 10, kW);
    TCanvas c(&img);
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 20, 10));
    EXPECT_EQ(c.IntersectClipRect(2, 2, 30, 8), SIMPLEREGION);
    EXPECT_EQ(c.ClipRect(), TRect(2, 2, 20, 8));
    EXPECT_EQ(c.ExcludeClipRect(5, 0, 7, 10), COMPLEXREGION);
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(0, 0, 20, 10));
    EXPECT_EQ(Count(img, 0), (18 - 2) * 6);
    EXPECT_EQ(Px(img, 5, 4), kW);
    EXPECT_EQ(c.SelectClipRgn(nullptr), SIMPLEREGION);
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 20, 10));
    const TRegion tiny = CreateRectRgn(0, 0, 1, 1);
    c.SelectClipRgn(&tiny);
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 20, 10));
    EXPECT_EQ(Count(img, 0xFF0000), 1);
    const TRegion away = CreateRectRgn(50, 50, 60, 60);
    EXPECT_EQ(c.SelectClipRgn(&away), NULLREGION);
}

TEST(Canvas, ViewportMovesTheOriginAndBoundsTheDrawing) {
    QImage img = Filled(20, 20, kW);
    TCanvas c(&img);
    c.SetViewport(TRect(5, 6, 12, 15));
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 7, 9));
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(-10, -10, 100, 100));
    EXPECT_EQ(InkBox(img, 0), TRect(5, 6, 12, 15));
    c.SetPixels(0, 0, clRed);
    EXPECT_EQ(Px(img, 5, 6), 0xFF0000u);
    EXPECT_EQ(c.Pixels(0, 0), clRed);
    const TRegion r = CreateRectRgn(0, 0, 2, 2);
    c.SelectClipRgn(&r); // logical coordinates
    c.Brush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(InkBox(img, 0x0000FF), TRect(5, 6, 7, 8));
    c.ResetViewport();
    EXPECT_EQ(c.Origin(), TPoint());
}

TEST(Canvas, CyrillicTextStaysInsideItsExtentInTheFontColour) {
    for (int height : {-11, -13, -20}) {
        QImage img = Filled(200, 60, kW);
        TCanvas c(&img);
        c.Font()->SetHeight(height);
        c.Font()->SetColor(clNavy);
        c.SetBkMode(TRANSPARENT);
        const AnsiString text = "Щётка Ёж ЖЙ"_a;
        const TSize ext = c.TextExtent(text);
        EXPECT_GE(ext.cy, -height);
        c.TextOut(10, 12, text);
        const TRect ink = InkBox(img, 0x000080);
        ASSERT_FALSE(IsRectEmpty(ink)) << height;
        EXPECT_GE(ink.Left, 10);
        EXPECT_GE(ink.Top, 12);
        EXPECT_LE(ink.Right, 10 + ext.cx);
        EXPECT_LE(ink.Bottom, 12 + ext.cy);
        // Only font-coloured and untouched pixels: no antialiasing.
        EXPECT_EQ(Count(img, 0x000080) + Count(img, kW), 200 * 60);
        EXPECT_GT(ink.Width(), ext.cx * 3 / 4);
    }
}

TEST(Canvas, OpaqueTextFillsItsCellWithTheBrush) {
    QImage img = Filled(120, 30, kW);
    TCanvas c(&img);
    c.Brush()->SetColor(clYellow);
    EXPECT_EQ(c.BkMode(), OPAQUE);
    c.TextOut(3, 4, "Тест"_a);
    const TSize ext = c.TextExtent("Тест"_a);
    EXPECT_EQ(ChangedBox(img, Filled(120, 30, kW)), Bounds(3, 4, ext.cx, ext.cy));
    EXPECT_EQ(Count(img, 0xFFFF00) + Count(img, 0), ext.cx * ext.cy);
}

TEST(Canvas, TextAlignmentMovesTheReferencePoint) {
    auto inkAt = [](unsigned align, int x, int y) {
        QImage img = Filled(200, 80, kW);
        TCanvas c(&img);
        c.SetBkMode(TRANSPARENT);
        c.SetTextAlign(align);
        c.TextOut(x, y, "Выход"_a);
        return InkBox(img, 0);
    };
    QImage probe(1, 1, QImage::Format_RGB32);
    TCanvas m(&probe);
    const int w = m.TextWidth("Выход"_a), h = m.TextHeight("Выход"_a), ascent = m.TextMetrics().tmAscent;
    const TRect base = inkAt(TA_LEFT | TA_TOP, 50, 20);
    auto shifted = [&](int dx, int dy) { TRect r = base; OffsetRect(r, dx, dy); return r; };
    EXPECT_EQ(inkAt(TA_RIGHT | TA_TOP, 50 + w, 20), base);
    EXPECT_EQ(inkAt(TA_CENTER | TA_TOP, 50 + w / 2, 20), base);
    EXPECT_EQ(inkAt(TA_LEFT | TA_BOTTOM, 50, 20 + h), base);
    EXPECT_EQ(inkAt(TA_LEFT | TA_BASELINE, 50, 20 + ascent), base);
    EXPECT_EQ(inkAt(TA_LEFT | TA_TOP, 53, 25), shifted(3, 5));
    EXPECT_EQ(m.SetTextAlign(TA_RIGHT), TA_LEFT | TA_TOP);
    EXPECT_EQ(m.TextAlign(), TA_RIGHT);
}

TEST(Canvas, TextRectCutsTheTextAndFillsTheRectangle) {
    QImage img = Filled(100, 30, kW);
    TCanvas c(&img);
    c.Brush()->SetColor(clAqua);
    c.TextRect(Rect(10, 5, 30, 25), 5, 5, "Отмена"_a);
    EXPECT_EQ(ChangedBox(img, Filled(100, 30, kW)), TRect(10, 5, 30, 25));
    EXPECT_GT(Count(img, 0), 0);
}

TEST(Canvas, DrawTextMeasuresBreaksAndPlacesLines) {
    QImage img = Filled(300, 200, kW);
    TCanvas c(&img);
    const int h = c.TextHeight("X");
    const AnsiString word = "Свойства"_a;
    TRect r(10, 20, 10, 20);
    EXPECT_EQ(c.DrawText(word, r, DT_CALCRECT | DT_SINGLELINE), h);
    EXPECT_EQ(r, TRect(10, 20, 10 + c.TextWidth(word), 20 + h));
    // Accelerator prefixes are not shown (and not measured) unless asked.
    TRect p(0, 0, 0, 0);
    c.DrawText("&Файл"_a, p, DT_CALCRECT);
    EXPECT_EQ(p.Right, c.TextWidth("Файл"_a));
    c.DrawText("&Файл"_a, p, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(p.Right, c.TextWidth("&Файл"_a));
    c.DrawText("A&&B"_a, p, DT_CALCRECT);
    EXPECT_EQ(p.Right, c.TextWidth("A&B"));
    // Word breaks at blanks; lines on CR LF.
    const int wordWidth = c.TextWidth("один два"_a);
    TRect narrow(0, 0, wordWidth, 0);
    EXPECT_EQ(c.DrawText("один два один два"_a, narrow, DT_CALCRECT | DT_WORDBREAK), 2 * h);
    EXPECT_LE(narrow.Right, wordWidth);
    TRect lines(0, 0, 500, 0);
    EXPECT_EQ(c.DrawText("а\r\nб\nв"_a, lines, DT_CALCRECT), 3 * h);
    TRect empty(5, 5, 50, 50);
    EXPECT_EQ(c.DrawText("", empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty, TRect(5, 5, 5, 5));

    // Centred both ways on one line.
    c.SetBkMode(TRANSPARENT);
    TRect box(0, 0, 300, 200);
    const int ret = c.DrawText(word, box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(ret, (200 - h) / 2 + h);
    QImage alone = Filled(300, 200, kW);
    TCanvas c2(&alone);
    c2.SetBkMode(TRANSPARENT);
    c2.TextOut((300 - c.TextWidth(word)) / 2, (200 - h) / 2, word);
    EXPECT_EQ(img, alone);
    // Right alignment and clipping to the rectangle.
    img.fill(QColor(Qt::white));
    TRect right(0, 0, 100, h / 2);
    c.DrawText(word, right, DT_RIGHT);
    const TRect ink = InkBox(img, 0);
    EXPECT_LE(ink.Right, 100);
    EXPECT_LE(ink.Bottom, h / 2);
}

TEST(Canvas, DrawTextUnderlinesTheAcceleratorCharacter) {
    QImage plain = Filled(100, 30, kW), marked = Filled(100, 30, kW);
    TCanvas a(&plain), b(&marked);
    TRect r(0, 0, 100, 30);
    a.DrawText("Файл"_a, r, 0);
    b.DrawText("&Файл"_a, r, 0);
    const TRect extra = ChangedBox(marked, plain);
    ASSERT_FALSE(IsRectEmpty(extra));
    EXPECT_LE(extra.Right, a.TextWidth("Ф"_a));
    EXPECT_GE(extra.Top, a.TextMetrics().tmAscent);
}

TEST(Canvas, TextRecordingSeesEveryPieceOfText) {
    QImage img = Filled(200, 100, kW);
    TCanvas c(&img);
    std::vector<TCanvasText> seen;
    c.OnText = [&](const TCanvasText& t) { seen.push_back(t); };
    c.Font()->SetColor(clMaroon);
    c.TextOut(7, 8, "Печать схемы"_a);
    TRect r(0, 50, 200, 100);
    c.DrawText("Имя\r\nТип"_a, r, 0);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].Text, "Печать схемы"_a);
    EXPECT_EQ(seen[0].Box.TopLeft(), TPoint(7, 8));
    EXPECT_EQ(seen[0].Box.Width(), c.TextWidth("Печать схемы"_a));
    EXPECT_EQ(seen[0].FontColor, clMaroon);
    EXPECT_EQ(seen[0].FontName, AnsiString("MS Sans Serif"));
    EXPECT_EQ(seen[2].Text, "Тип"_a);
    EXPECT_EQ(seen[2].Box.Top, 50 + c.TextHeight("Тип"_a));
}

TEST(Canvas, OnChangeFollowsEveryDrawingAndBrushChangesResetTheBackgroundMode) {
    QImage img = Filled(10, 10, kW);
    TCanvas c(&img);
    int changes = 0;
    c.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &c);
        ++changes;
    };
    c.LineTo(5, 5);
    c.FillRect(Rect(0, 0, 2, 2));
    c.TextOut(0, 0, "x");
    c.SetPixels(1, 1, clRed);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(c.SetBkMode(TRANSPARENT), OPAQUE);
    c.Brush()->SetColor(clRed);
    EXPECT_EQ(c.BkMode(), OPAQUE);
    c.Brush()->SetStyle(bsClear);
    EXPECT_EQ(c.BkMode(), TRANSPARENT);
    c.Brush()->SetColor(clBlue); // a colour makes a clear brush solid
    EXPECT_EQ(c.Brush()->Style(), bsSolid);
    EXPECT_EQ(c.BkMode(), OPAQUE);
}

TEST(Canvas, RefusesImagesOfAnotherFormat) {
    QImage argb(4, 4, QImage::Format_ARGB32);
    EXPECT_THROW(TCanvas c(&argb), EInvalidOperation);
}

TEST(Canvas, FiguresFarOutsideTheImageCostNothing) {
    QImage img = Filled(50, 50, kW);
    TCanvas c(&img);
    const auto start = std::chrono::steady_clock::now();
    c.Pen()->SetWidth(3);
    c.MoveTo(-2000000000, -1999999990);
    c.LineTo(2000000000, 2000000000);
    c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
    c.Rectangle(-1000000000, 10, 1000000000, 20);
    c.StretchDraw(TRect(-1000000000, -1000000000, 1000000000, 1000000000), nullptr);
    TBitmap b;
    b.SetSize(3, 3);
    c.StretchDraw(TRect(-1000000000, -1000000000, 1000000000, 1000000000), &b);
    const TPoint far[] = {{-2000000000, 0}, {2000000000, 10}, {0, 2000000000}};
    c.Polygon(far);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_GT(Count(img, 0), 0);
}

} // namespace
