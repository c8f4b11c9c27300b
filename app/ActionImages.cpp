#include "app/ActionImages.h"

#include <array>
#include <initializer_list>
#include <vector>

#include "debugger/ui/DebugGlyphs.h"
#include "platform/Bitmap.h"
#include "platform/ImageList.h"

namespace {

constexpr TColor kClear = clFuchsia;
constexpr TColor kInk = clBlack;
constexpr TColor kPaper = clWhite;
constexpr TColor kBlue = TColor(0x00A05000);
constexpr TColor kRed = TColor(0x000000C0);
constexpr TColor kYellow = TColor(0x0000C0E0);
constexpr TColor kGreen = TColor(0x00008000);

// Drawing helpers on a 16 by 16 cell.
struct Pen {
    TCanvas& c;
    void Color(TColor col, int width = 1) {
        c.Pen()->SetColor(col);
        c.Pen()->SetWidth(width);
    }
    void Fill(TColor col) { c.Brush()->SetColor(col); }
    void Line(std::initializer_list<TPoint> pts) {
        auto it = pts.begin();
        c.MoveTo(it->x, it->y);
        for (++it; it != pts.end(); ++it) c.LineTo(it->x, it->y);
    }
    void Box(int l, int t, int r, int b, TColor fill) {
        Fill(fill);
        c.Rectangle(l, t, r, b);
    }
    void Poly(std::initializer_list<TPoint> pts, TColor fill) {
        Fill(fill);
        std::vector<TPoint> v(pts);
        c.Polygon(v);
    }
    void Oval(int l, int t, int r, int b, TColor fill) {
        Fill(fill);
        c.Ellipse(l, t, r, b);
    }
};

void Page(Pen& p, int l, int t, int r, int b) {
    p.Color(kInk);
    p.Poly({{l, t}, {r - 4, t}, {r - 1, t + 3}, {r - 1, b - 1}, {l, b - 1}}, kPaper);
    p.Line({{r - 4, t}, {r - 4, t + 3}, {r - 1, t + 3}});
}

void Window(Pen& p, int l, int t, int r, int b) {
    p.Color(kInk);
    p.Box(l, t, r, b, kPaper);
    p.c.Brush()->SetColor(kBlue);
    p.c.FillRect(Rect(l + 1, t + 1, r - 1, t + 3));
}

void Magnifier(Pen& p, int x, int y) {
    p.Color(kInk);
    p.Oval(x, y, x + 9, y + 9, kPaper);
    p.Color(kInk, 2);
    p.Line({{x + 8, y + 8}, {x + 13, y + 13}});
    p.Color(kInk);
}

void Arrow(Pen& p, int x1, int y1, int x2, int y2, TColor col) {
    p.Color(col, 2);
    p.Line({{x1, y1}, {x2, y2}});
    p.Color(col);
}

using Painter = void (*)(Pen&);

const std::array<Painter, kActionImageCount> kPainters{{
    // New
    [](Pen& p) { Page(p, 3, 1, 14, 15); },
    // Open
    [](Pen& p) {
        p.Color(kInk);
        p.Poly({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 14}, {1, 14}}, kYellow);
        p.Poly({{1, 14}, {4, 8}, {15, 8}, {13, 14}}, TColor(0x0060E0F0));
    },
    // Save
    [](Pen& p) {
        p.Color(kInk);
        p.Box(1, 1, 15, 15, kBlue);
        p.Box(4, 1, 12, 7, kPaper);
        p.Box(5, 10, 11, 15, TColor(0x00C0C0C0));
    },
    // Preview
    [](Pen& p) {
        Page(p, 1, 1, 12, 15);
        Magnifier(p, 5, 5);
    },
    // Cut
    [](Pen& p) {
        p.Color(kInk);
        p.Line({{4, 1}, {11, 10}});
        p.Line({{11, 1}, {4, 10}});
        p.Oval(1, 9, 7, 15, kPaper);
        p.Oval(9, 9, 15, 15, kPaper);
    },
    // Copy
    [](Pen& p) {
        Page(p, 1, 1, 10, 11);
        Page(p, 6, 5, 15, 15);
    },
    // Paste
    [](Pen& p) {
        p.Color(kInk);
        p.Box(2, 2, 12, 15, TColor(0x004080C0));
        p.Box(5, 1, 9, 4, TColor(0x00C0C0C0));
        Page(p, 7, 6, 15, 15);
    },
    // Undo
    [](Pen& p) {
        p.Color(kBlue, 2);
        p.c.Arc(3, 4, 14, 14, 14, 9, 3, 9);
        p.Color(kBlue);
        p.Poly({{1, 9}, {6, 9}, {3, 12}}, kBlue);
    },
    // Cascade
    [](Pen& p) {
        Window(p, 1, 1, 11, 10);
        Window(p, 5, 5, 15, 15);
    },
    // Tile horizontally
    [](Pen& p) {
        Window(p, 1, 1, 15, 8);
        Window(p, 1, 8, 15, 15);
    },
    // Tile vertically
    [](Pen& p) {
        Window(p, 1, 1, 8, 15);
        Window(p, 8, 1, 15, 15);
    },
    // Redraw
    [](Pen& p) {
        p.Color(kGreen, 2);
        p.c.Arc(2, 2, 14, 14, 14, 8, 8, 2);
        p.Color(kGreen);
        p.Poly({{8, 0}, {8, 5}, {5, 2}}, kGreen);
    },
    // Find
    [](Pen& p) { Magnifier(p, 1, 1); },
    // Check the scheme (F8)
    [](Pen& p) {
        Page(p, 1, 1, 12, 15);
        p.Color(kGreen, 2);
        p.Line({{5, 9}, {8, 12}, {15, 3}});
    },
    // List of elements
    [](Pen& p) {
        Page(p, 2, 1, 14, 15);
        p.Color(kInk);
        for (int y = 5; y < 14; y += 3) p.Line({{5, y}, {11, y}});
    },
    // Chain connections
    [](Pen& p) {
        p.Color(kRed);
        p.Line({{4, 4}, {4, 12}, {12, 12}});
        p.Color(kInk);
        p.Box(1, 1, 7, 7, kPaper);
        p.Box(9, 9, 15, 15, kPaper);
    },
    // Translate the project
    [](Pen& p) {
        p.Color(kInk);
        p.Box(6, 3, 15, 13, TColor(0x00404040));
        for (int y = 5; y < 13; y += 3) p.Line({{4, y}, {6, y}});
        Arrow(p, 0, 8, 4, 8, kRed);
    },
    // Signal table
    [](Pen& p) {
        p.Color(kInk);
        p.Box(4, 2, 12, 14, TColor(0x00404040));
        for (int y = 4; y < 14; y += 3) {
            p.Line({{1, y}, {4, y}});
            p.Line({{12, y}, {15, y}});
        }
    },
    // Select
    [](Pen& p) {
        p.Color(kInk);
        p.Poly({{3, 1}, {3, 13}, {6, 10}, {8, 15}, {10, 14}, {8, 9}, {12, 9}}, kPaper);
    },
    // Element
    [](Pen& p) {
        p.Color(kInk);
        p.Box(4, 1, 12, 15, kPaper);
        p.Line({{1, 5}, {4, 5}});
        p.Line({{1, 11}, {4, 11}});
        p.Line({{12, 8}, {15, 8}});
        p.Line({{7, 4}, {7, 12}});
    },
    // Driver pin
    [](Pen& p) {
        p.Color(kInk);
        p.Poly({{1, 4}, {9, 4}, {13, 8}, {9, 12}, {1, 12}}, TColor(0x00F0D0A0));
        p.Line({{13, 8}, {15, 8}});
    },
    // Wire
    [](Pen& p) {
        p.Color(kRed, 2);
        p.Line({{2, 3}, {8, 3}, {8, 13}, {14, 13}});
        p.Color(kInk);
        p.Oval(6, 1, 11, 6, kRed);
    },
    // Connector
    [](Pen& p) {
        p.Color(kInk);
        p.Line({{1, 8}, {6, 8}});
        p.Oval(6, 4, 14, 12, TColor(0x0080FF80));
    },
    // Symbol
    [](Pen& p) {
        p.Color(kInk);
        p.Box(1, 1, 15, 15, kPaper);
        p.Box(4, 4, 12, 12, TColor(0x00FFC080));
    },
    // State machine
    [](Pen& p) {
        p.Color(kInk);
        p.Oval(0, 1, 8, 9, TColor(0x0080FFFF));
        p.Oval(8, 7, 16, 15, TColor(0x0080FFFF));
        p.Line({{6, 8}, {10, 9}});
    },
    // Zoom mode
    [](Pen& p) {
        Magnifier(p, 1, 1);
        p.Line({{3, 5}, {8, 5}});
        p.Line({{5, 3}, {5, 8}});
    },
    // Exit
    [](Pen& p) {
        p.Color(kInk);
        p.Box(6, 1, 15, 15, TColor(0x00808080));
        Arrow(p, 1, 8, 9, 8, kRed);
    },
    // Debugger
    [](Pen& p) { DrawDebugGlyph(dgDebugger, p.c); },
    // Timing diagram
    [](Pen& p) { DrawDebugGlyph(dgTimers, p.c); },
}};

} // namespace

void FillActionImages(TImageList* list) {
    list->SetSize(16, 16);
    for (Painter paint : kPainters)
        list->AddPainted(kClear, [paint](TCanvas& c) {
            Pen p{c};
            paint(p);
        });
}
