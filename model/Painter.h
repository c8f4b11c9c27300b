#pragma once
// TPainter: the one drawing routine of the scheme objects, given a canvas, a
// zoom and a mode. Objects describe their pictures in scheme units; the
// painter scales them (value * zoom / 100) and draws them:
//  - Invert: every piece is XOR-ed onto the canvas, so drawing the same
//    picture again restores every pixel. The pictures are laid out so that
//    no two pieces of one object share a pixel (lines leave out their end
//    point, inversion circles keep clear of the box); texts come from a
//    cache of rendered glyphs and are XOR-ed on as small pictures.
//  - Normal: in the given colours, over what is there.
//  - Print: every colour becomes black (the caller's sheet is white).

#include "model/Entity.h"
#include "platform/AnsiString.h"
#include "platform/Color.h"
#include "platform/Types.h"

class TCanvas;
struct TPainterSavedTools;

class TPainter {
public:
    TPainter(TCanvas* canvas, int zoom, TPaintMode mode);
    ~TPainter(); // puts the canvas settings back
    TPainter(const TPainter&) = delete;
    TPainter& operator=(const TPainter&) = delete;

    TPaintMode Mode() const { return mode_; }
    int Zoom() const { return zoom_; }
    // Done wide and kept within +-2^28 pixels (far off any canvas), so that a
    // far position neither overflows nor leaves no room for a few pixels more.
    int Scale(int v) const {
        const long long p = (long long)v * zoom_ / 100;
        return int(p < -kPixelLimit ? -kPixelLimit : p > kPixelLimit ? kPixelLimit : p);
    }

    // A line from (x1, y1) up to, not including, (x2, y2).
    void Line(int x1, int y1, int x2, int y2, TColor color);
    // The outline of the box with corners (left, top) and (right, bottom),
    // every corner drawn once.
    void Frame(int left, int top, int right, int bottom, TColor color);
    // A pin from its tip up to, not including, the box edge at edgeX; an
    // inverted pin ends in a small circle that keeps clear of the edge.
    void Pin(int tipX, int y, int edgeX, bool inverted, TColor color);
    // Filled disc of radius r (at least one pixel) around (cx, cy).
    void Disc(int cx, int cy, int r, TColor color);
    // Text whose top-left corner is (x, y); height in scheme units. Texts
    // smaller than 5 pixels on the canvas are left out.
    void Text(int x, int y, const AnsiString& text, TColor color, int height);
    // Text centred on cx / ending at right.
    void TextCentered(int cx, int y, const AnsiString& text, TColor color, int height);
    void TextRight(int right, int y, const AnsiString& text, TColor color, int height);
    // Nothing is kept between pieces; kept for callers that end a picture.
    void Flush() {}

    // The width in pixels of a text drawn with that height (scheme units) at
    // that zoom; 0 where the painter leaves it out.
    static int TextWidth(const AnsiString& text, int height, int zoom);

private:
    static constexpr long long kPixelLimit = 1LL << 28;
    TColor Ink(TColor color) const { return mode_ == TPaintMode::Print ? clBlack : color; }
    void PixelLine(int x1, int y1, int x2, int y2, TColor color);
    void AlignedText(int x, int y, const AnsiString& text, TColor color, int height, int align);
    void PixelText(int x, int y, const AnsiString& text, TColor color, int pixels, int align);

    TCanvas* canvas_;
    TPainterSavedTools* saved_ = nullptr;
    int zoom_;
    TPaintMode mode_;
};
