#include "editor/FindGlyph.h"

#include <initializer_list>

namespace {

constexpr int kSize = 24;
constexpr TColor kClear = clFuchsia;
constexpr TColor kInk = clBlack;
constexpr TColor kGlass = TColor(0x00F0E8D8); // a pale blue-grey
constexpr TColor kPulse = TColor(0x00A05000); // the program's blue
constexpr TColor kHandle = TColor(0x00305070); // dark brown

void Polyline(TCanvas& c, std::initializer_list<TPoint> points, TColor color, int width) {
    c.Pen()->SetColor(color);
    c.Pen()->SetWidth(width);
    auto it = points.begin();
    c.MoveTo(it->x, it->y);
    for (++it; it != points.end(); ++it) c.LineTo(it->x, it->y);
}

} // namespace

std::unique_ptr<TBitmap> MakeFindSignalGlyph() {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(kSize, kSize);
    TCanvas& c = *b->Canvas();
    c.Brush()->SetColor(kClear);
    c.FillRect(Rect(0, 0, kSize, kSize));
    // The handle first: the rim of the glass covers its inner end.
    Polyline(c, {{13, 13}, {21, 21}}, kHandle, 4);
    c.Pen()->SetColor(kInk);
    c.Pen()->SetWidth(2);
    c.Brush()->SetColor(kGlass);
    c.Ellipse(1, 1, 17, 17);
    // The signal seen through the glass: one pulse.
    Polyline(c, {{4, 11}, {7, 11}, {7, 6}, {11, 6}, {11, 11}, {14, 11}}, kPulse, 1);
    c.Pen()->SetWidth(1);
    b->SetTransparentColor(kClear);
    return b;
}
