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
