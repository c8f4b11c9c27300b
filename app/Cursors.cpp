#include "app/Cursors.h"

#include <array>

#include "platform/Bitmap.h"
#include "platform/gui/Forms.h"

namespace {

// The colour left out of every cursor picture.
constexpr TColor kClear = clFuchsia;
constexpr int kSize = 32;

struct CursorInfo {
    const char* name;
    int hotX, hotY;
    void (*draw)(TCanvas& c);
};

void Begin(TBitmap& b) {
    b.SetSize(kSize, kSize);
    TCanvas& c = *b.Canvas();
    c.Brush()->SetColor(kClear);
    c.FillRect(Rect(0, 0, kSize, kSize));
    b.SetTransparentColor(kClear);
    b.SetTransparent(true);
}

// A line drawn black with a white rim, so it shows on any background.
void RimmedLine(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.Pen()->SetWidth(3);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
    c.Pen()->SetWidth(1);
    c.Pen()->SetColor(clBlack);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

// A magnifying glass with its lens centred at (10, 10).
void Magnifier(TCanvas& c) {
    c.Brush()->SetColor(clWhite);
    c.Pen()->SetColor(clBlack);
    c.Pen()->SetWidth(1);
    c.Ellipse(1, 1, 20, 20);
    c.Ellipse(2, 2, 19, 19);
    c.Pen()->SetWidth(3);
    c.MoveTo(17, 17);
    c.LineTo(27, 27);
    c.Pen()->SetWidth(1);
}

void DrawZoomIn(TCanvas& c) {
    Magnifier(c);
    c.MoveTo(6, 10);
    c.LineTo(15, 10);
    c.MoveTo(10, 6);
    c.LineTo(10, 15);
}

void DrawZoomOut(TCanvas& c) {
    Magnifier(c);
    c.MoveTo(6, 10);
    c.LineTo(15, 10);
}

void DrawSelect(TCanvas& c) {
    const std::array<TPoint, 7> arrow{{{0, 0}, {0, 16}, {4, 12}, {7, 19}, {10, 18}, {7, 11}, {12, 11}}};
    c.Brush()->SetColor(clWhite);
    c.Pen()->SetColor(clBlack);
    c.Pen()->SetWidth(1);
    c.Polygon(arrow);
}

void DrawMove(TCanvas& c) {
    RimmedLine(c, 16, 3, 16, 30);
    RimmedLine(c, 3, 16, 30, 16);
    c.Brush()->SetColor(clBlack);
    c.Pen()->SetColor(clBlack);
    const std::array<TPoint, 3> up{{{16, 1}, {12, 6}, {20, 6}}};
    const std::array<TPoint, 3> down{{{16, 30}, {12, 25}, {20, 25}}};
    const std::array<TPoint, 3> left{{{1, 16}, {6, 12}, {6, 20}}};
    const std::array<TPoint, 3> right{{{30, 16}, {25, 12}, {25, 20}}};
    c.Polygon(up);
    c.Polygon(down);
    c.Polygon(left);
    c.Polygon(right);
}

void DrawInsert(TCanvas& c) {
    RimmedLine(c, 16, 2, 16, 13);
    RimmedLine(c, 16, 19, 16, 30);
    RimmedLine(c, 2, 16, 13, 16);
    RimmedLine(c, 19, 16, 30, 16);
    // The element that will be placed: a small box right of the cross.
    c.Brush()->SetColor(clWhite);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(20, 20, 31, 31);
}

const std::array<CursorInfo, 5> kCursors{{
    {"CR_ZOOMIN", 10, 10, DrawZoomIn},
    {"CR_ZOOMOUT", 10, 10, DrawZoomOut},
    {"CR_SELECT", 0, 0, DrawSelect},
    {"CR_MOVE", 16, 16, DrawMove},
    {"CR_INSERT", 16, 16, DrawInsert},
}};

} // namespace

AnsiString CursorResourceName(int number) {
    if (number < 1 || number > int(kCursors.size())) return AnsiString();
    return kCursors[std::size_t(number - 1)].name;
}

void InstallProgramCursors() {
    for (std::size_t i = 0; i < kCursors.size(); ++i) {
        const CursorInfo& info = kCursors[i];
        if (!BitmapResourceExists(info.name)) {
            RegisterBitmapResource(info.name, [draw = info.draw](TBitmap& b) {
                Begin(b);
                draw(*b.Canvas());
            });
        }
        TBitmap picture;
        picture.LoadFromResourceName(info.name);
        Screen->SetCursors(int(i) + 1, picture, info.hotX, info.hotY);
    }
}
