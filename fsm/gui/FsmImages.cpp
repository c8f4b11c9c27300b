#include "fsm/gui/FsmImages.h"

#include <array>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace {

constexpr TColor kClear = clFuchsia;
constexpr TColor kState = TColor(0x00008000);
constexpr TColor kRed = TColor(0x000000C0);
constexpr TColor kBlue = TColor(0x00A05000);
constexpr TColor kBox = TColor(0x00C0FFFF);

void Lines(TCanvas& c, std::vector<TPoint> pts, TColor color, int width = 1) {
    c.Pen()->SetColor(color);
    c.Pen()->SetWidth(width);
    c.MoveTo(pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) c.LineTo(pts[i].x, pts[i].y);
    c.Pen()->SetWidth(1);
}

void Filled(TCanvas& c, std::vector<TPoint> pts, TColor fill) {
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(fill);
    c.Polygon(pts);
}

// A box with signal lines entering (inputs) or leaving (outputs) on its right.
void SignalBox(TCanvas& c, bool outputs) {
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(kBox);
    c.Rectangle(outputs ? 1 : 7, 2, outputs ? 9 : 15, 14);
    for (int y : {5, 8, 11}) Lines(c, outputs ? std::vector<TPoint>{{9, y}, {15, y}} : std::vector<TPoint>{{1, y}, {7, y}}, kRed);
}

using Painter = void (*)(TCanvas&);

const std::array<Painter, kFsmImageCount> kPainters{{
    // Select: the arrow pointer.
    [](TCanvas& c) { Filled(c, {{3, 1}, {3, 13}, {6, 10}, {9, 15}, {11, 14}, {8, 9}, {12, 9}}, clWhite); },
    // Condition: a box with a leader line.
    [](TCanvas& c) {
        c.Pen()->SetColor(clBlack);
        c.Brush()->SetColor(kBox);
        c.Rectangle(5, 1, 15, 8);
        Lines(c, {{5, 7}, {1, 14}}, clBlack);
        Lines(c, {{7, 4}, {13, 4}}, kRed);
    },
    // Input and output signals.
    [](TCanvas& c) { SignalBox(c, false); },
    [](TCanvas& c) { SignalBox(c, true); },
    // State: a filled circle.
    [](TCanvas& c) {
        c.Pen()->SetColor(clBlack);
        c.Brush()->SetColor(kState);
        c.Ellipse(1, 1, 15, 15);
    },
    // Transition: a line with an arrow head.
    [](TCanvas& c) {
        Lines(c, {{1, 14}, {13, 3}}, kBlue, 2);
        Filled(c, {{14, 1}, {8, 3}, {12, 7}}, kBlue);
    },
    // Simulation running: the stop square; stopped: the start triangle.
    [](TCanvas& c) {
        c.Pen()->SetColor(clBlack);
        c.Brush()->SetColor(kRed);
        c.Rectangle(3, 3, 13, 13);
    },
    [](TCanvas& c) { Filled(c, {{4, 2}, {13, 8}, {4, 14}}, kState); },
    // Reset transition: the reset triangle at the start of a line.
    [](TCanvas& c) {
        Lines(c, {{8, 9}, {15, 9}}, kBlue);
        Filled(c, {{5, 2}, {0, 12}, {10, 12}}, kBlue);
        Lines(c, {{3, 8}, {5, 8}, {5, 11}, {7, 11}}, clWhite);
    },
}};

} // namespace

void FillFsmImages(TImageList* list) {
    list->SetSize(16, 16);
    for (Painter paint : kPainters) list->AddPainted(kClear, paint);
}
