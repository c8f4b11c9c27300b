#include "debugger/ui/DebugGlyphs.h"

#include <vector>

#include "platform/Bitmap.h"

namespace {

constexpr TColor kClear = clFuchsia;
constexpr TColor kInk = clBlack;
constexpr TColor kGreen = TColor(0x00008000);
constexpr TColor kRed = TColor(0x000000C0);
constexpr TColor kBlue = TColor(0x00A05000);
constexpr TColor kPaper = clWhite;

void Poly(TCanvas& c, std::vector<TPoint> pts, TColor fill) {
    c.Pen()->SetColor(kInk);
    c.Pen()->SetWidth(1);
    c.Brush()->SetColor(fill);
    c.Polygon(pts);
}

void Line(TCanvas& c, std::vector<TPoint> pts, TColor color, int width = 1) {
    c.Pen()->SetColor(color);
    c.Pen()->SetWidth(width);
    c.MoveTo(pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) c.LineTo(pts[i].x, pts[i].y);
}

// A square wave: the picture of a signal trace.
void Trace(TCanvas& c, int y, TColor color) {
    Line(c, {{1, y + 4}, {4, y + 4}, {4, y}, {9, y}, {9, y + 4}, {14, y + 4}}, color);
}

} // namespace

void DrawDebugGlyph(TDebugGlyph glyph, TCanvas& c) {
    switch (glyph) {
    case dgRetry: // run: a green triangle
        Poly(c, {{4, 2}, {12, 8}, {4, 14}}, TColor(0x0000C000));
        break;
    case dgHalt: // halt: a red square
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kRed);
        c.Rectangle(3, 3, 13, 13);
        break;
    case dgStep: // one step: a triangle against a bar
        Poly(c, {{2, 3}, {9, 8}, {2, 13}}, kGreen);
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kBlue);
        c.Rectangle(11, 3, 14, 14);
        break;
    case dgTimers: // the timing diagram: two traces
        Trace(c, 2, kBlue);
        Trace(c, 9, kRed);
        break;
    case dgIncrement: // advance the timers: a clock with a plus
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kPaper);
        c.Ellipse(0, 2, 12, 14);
        Line(c, {{6, 4}, {6, 8}, {9, 8}}, kInk);
        Line(c, {{13, 1}, {13, 6}}, kGreen, 2);
        Line(c, {{11, 3}, {16, 3}}, kGreen, 2);
        break;
    case dgFind: // search: a magnifier
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kPaper);
        c.Ellipse(1, 1, 10, 10);
        Line(c, {{9, 9}, {14, 14}}, kInk, 2);
        break;
    case dgDebugger: // the debugger: a check box beside a trace
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kPaper);
        c.Rectangle(1, 1, 8, 8);
        Line(c, {{2, 4}, {4, 6}, {7, 2}}, kGreen, 2);
        Trace(c, 10, kBlue);
        break;
    case dgAdd: // add: a green plus
        Line(c, {{8, 2}, {8, 14}}, kGreen, 3);
        Line(c, {{2, 8}, {14, 8}}, kGreen, 3);
        break;
    case dgDelete: // delete: a red cross
        Line(c, {{3, 3}, {13, 13}}, kRed, 2);
        Line(c, {{13, 3}, {3, 13}}, kRed, 2);
        break;
    case dgFormula: // formulas: a pulse train over a ruler
        Line(c, {{1, 9}, {3, 9}, {3, 3}, {6, 3}, {6, 9}, {8, 9}, {8, 3}, {10, 3}, {10, 9}, {14, 9}}, kBlue, 2);
        Line(c, {{1, 13}, {15, 13}}, kInk);
        for (int x = 1; x < 16; x += 3) Line(c, {{x, 12}, {x, 15}}, kInk);
        break;
    case dgScheme: // the scheme: two elements and a wire
        c.Pen()->SetColor(kInk);
        c.Brush()->SetColor(kPaper);
        c.Rectangle(1, 2, 7, 9);
        c.Rectangle(9, 7, 15, 14);
        Line(c, {{7, 5}, {12, 5}, {12, 7}}, kRed);
        break;
    case dgFitHeight: // the height fitted to the rows: arrows apart
        Line(c, {{8, 1}, {8, 15}}, kInk);
        Line(c, {{5, 4}, {8, 1}, {11, 4}}, kInk);
        Line(c, {{5, 12}, {8, 15}, {11, 12}}, kInk);
        Line(c, {{2, 6}, {14, 6}}, kBlue);
        Line(c, {{2, 10}, {14, 10}}, kBlue);
        break;
    case dgFirstSize: // back to the first size: arrows together
        Line(c, {{8, 1}, {8, 6}}, kInk);
        Line(c, {{5, 3}, {8, 6}, {11, 3}}, kInk);
        Line(c, {{8, 10}, {8, 15}}, kInk);
        Line(c, {{5, 13}, {8, 10}, {11, 13}}, kInk);
        Line(c, {{2, 8}, {14, 8}}, kBlue);
        break;
    }
}

std::unique_ptr<TBitmap> MakeDebugGlyph(TDebugGlyph glyph) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(16, 16);
    TCanvas& c = *b->Canvas();
    c.Brush()->SetColor(kClear);
    c.FillRect(Rect(0, 0, 16, 16));
    DrawDebugGlyph(glyph, c);
    b->SetTransparentColor(kClear);
    return b;
}
