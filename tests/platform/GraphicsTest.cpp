// Pen, brush and font: change events, the point-size arithmetic through the
// device's dpi, and the mapping of the old faces to the fonts drawn here.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/QtText.h"

namespace {

TEST(Graphics, ToolsReportEachRealChangeOnce) {
    TPen pen;
    TBrush brush;
    TFont font;
    int n = 0;
    auto count = [&](TObject*) { ++n; };
    pen.OnChange = brush.OnChange = font.OnChange = count;
    pen.SetColor(clRed);
    pen.SetColor(clRed);
    pen.SetWidth(2);
    pen.SetStyle(psDot);
    pen.SetMode(pmXor);
    EXPECT_EQ(n, 4);
    brush.SetColor(clWhite); // unchanged
    brush.SetStyle(bsCross);
    brush.SetColor(clBlue);
    EXPECT_EQ(n, 6);
    font.SetName("Arial");
    font.SetSize(font.Size());
    font.SetStyle(TFontStyles() << fsBold << fsItalic);
    font.SetColor(clRed);
    font.SetCharset(RUSSIAN_CHARSET);
    font.SetPitch(fpFixed);
    EXPECT_EQ(n, 11);
    EXPECT_TRUE(font.Style().Contains(fsItalic));
    EXPECT_FALSE((TFontStyles() << fsBold >> fsBold).Contains(fsBold));

    TPen copy;
    copy.Assign(&pen);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Mode(), pmXor);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_THROW(copy.Assign(&brush), EConvertError);
}

TEST(Graphics, FontSizeGoesThroughTheDevicesDpi) {
    TFont f;
    EXPECT_EQ(f.Name(), AnsiString("MS Sans Serif"));
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -11);
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetHeight(-13);
    EXPECT_EQ(f.Size(), 10);

    QImage page(10, 10, QImage::Format_RGB32);
    TCanvas printer(&page, 600);
    EXPECT_EQ(printer.Font()->Size(), 8);
    EXPECT_EQ(printer.Font()->Height(), -67);
    printer.Font()->SetSize(14);
    EXPECT_EQ(printer.Font()->Height(), -117);
    // A screen font given to the printer keeps its point size.
    TFont screen;
    screen.SetSize(10);
    printer.SetFont(&screen);
    EXPECT_EQ(printer.Font()->Size(), 10);
    EXPECT_EQ(printer.Font()->Height(), -83);
    EXPECT_GT(printer.TextHeight("Hi there!"), 80);
}

TEST(Graphics, OldFacesMapToDejaVuAtTheSamePixelHeight) {
    struct F {
        const char* name;
        const char* family;
    };
    for (const F& m : {F{"MS Sans Serif", "DejaVu Sans"}, F{"Arial", "DejaVu Sans"}, F{"Times New Roman", "DejaVu Serif"},
                       F{"Courier New", "DejaVu Sans Mono"}, F{"courier new", "DejaVu Sans Mono"}}) {
        TFont f;
        f.SetName(m.name);
        f.SetHeight(-15);
        const QFont q = ToQFont(f);
        EXPECT_EQ(QFontInfo(q).family(), QString(m.family)) << m.name;
        EXPECT_EQ(q.pixelSize(), 15);
        EXPECT_TRUE(q.styleStrategy() & QFont::NoAntialias);
        EXPECT_FALSE(q.kerning());
    }
    // A positive height is the whole cell: the text height comes out equal.
    QImage img(4, 4, QImage::Format_RGB32);
    TCanvas c(&img);
    for (int cell : {13, 16, 24}) {
        c.Font()->SetHeight(cell);
        EXPECT_NEAR(c.TextHeight("Ж"_a), cell, 1) << cell;
    }
    c.Font()->SetHeight(-16);
    c.Font()->SetName("Courier New");
    EXPECT_EQ(c.TextWidth("iiii"), c.TextWidth("WWWW"));
    EXPECT_EQ(c.TextWidth("ab") , c.TextWidth("a") + c.TextWidth("b"));
    c.Font()->SetStyle(TFontStyles() << fsBold);
    EXPECT_TRUE(ToQFont(*c.Font()).bold());
}

TEST(Graphics, BrushPatternIsCopiedWhenSet) {
    TBitmap b;
    b.SetSize(8, 8);
    b.Canvas()->SetPixels(3, 2, clRed);
    TBrush brush;
    brush.SetBitmap(&b);
    EXPECT_TRUE(brush.HasPattern());
    EXPECT_EQ(brush.Bitmap(), &b);
    b.Canvas()->SetPixels(3, 2, clBlue); // later changes do not reach the brush
    EXPECT_EQ(brush.PatternPixel(3 + 8, 2 - 8), 0xFF0000u);
    EXPECT_EQ(brush.PatternPixel(0, 0), 0xFFFFFFu);
    brush.SetBitmap(nullptr);
    EXPECT_FALSE(brush.HasPattern());
}

} // namespace
