// The pictures of the state-machine objects. Each object builds its picture
// in a bitmap with a black background and stretches it onto the view canvas
// in the exclusive-or copy mode: black leaves the canvas as it is, every other
// pixel is inverted against it, so a second drawing erases the first exactly.
// Drawn smaller than it was built (a zoom below 100 %), a picture keeps every
// lit pixel: its lines are one pixel wide and would lose the rows and columns
// that a plain reduction leaves out.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "document/InitModule.h"
#include "fsm/FSMCondBox.h"
#include "fsm/FSMElement.h"
#include "fsm/FSMLink.h"
#include "fsm/FsmSettings.h"
#include "fsm/fsmScheme.h"
#include "platform/Bitmap.h"

namespace {

constexpr double kPi = 3.141592653;
constexpr TColor kAqua = 16776960;
constexpr TColor kResetBlue = 16711680;
// An object on the largest sheet, with its margins, names and texts, has a
// picture no side of which is twice the sheet's; a larger one comes only from
// a damaged file and is not drawn.
constexpr long long kMaxPictureSide = 2LL * TInitModule::MaxSheetSize;
// A picture of more pixels than this is built and drawn in square pieces,
// each only where it lands on the canvas: a transition across the largest
// sheet would otherwise need a bitmap of gigabytes.
constexpr long long kWholePicturePixels = 1LL << 22;
constexpr int kPieceSide = 2048;

bool Drawable(long long w, long long h) { return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide; }

void StartPicture(TBitmap* b, int w, int h) {
    b->SetSize(w, h);
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(0, 0, w, h));
}

int Scaled(long long v, int zoom) { return int(v * zoom / 100); }

TRect ScaledRect(int left, int top, int right, int bottom, int zoom) {
    return TRect(Scaled(left, zoom), Scaled(top, zoom), Scaled(right, zoom), Scaled(bottom, zoom));
}

void SelectionFrame(TCanvas* c, int w, int h) {
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsDiagCross);
    c->FrameRect(TRect(0, 0, w - 1, h - 1));
    c->Brush()->SetStyle(bsSolid);
}

// Draws a picture of w by h pixels onto canvas. paint draws the whole
// picture in its own coordinates on a black bitmap; put stretches a bitmap
// holding the part piece of the picture onto the canvas, and place answers
// where on the canvas that part lands. A small picture is one piece; in a
// larger one each piece's bitmap shows only its part (the part's corner is
// the bitmap's origin) and pieces that land off the canvas are not built.
// Neighbouring pieces land on neighbouring canvas pixels, none on the same.
void DrawPicture(TCanvas* canvas, int w, int h, const std::function<TRect(const TRect&)>& place,
                 const std::function<void(TBitmap*)>& paint, const std::function<void(TBitmap*, const TRect&)>& put) {
    if ((long long)w * h <= kWholePicturePixels) {
        TBitmap b;
        StartPicture(&b, w, h);
        paint(&b);
        put(&b, TRect(0, 0, w, h));
        return;
    }
    const TRect area = canvas->ClipRect();
    for (int top = 0; top < h; top += kPieceSide) {
        for (int left = 0; left < w; left += kPieceSide) {
            const TRect piece(left, top, std::min(w, left + kPieceSide), std::min(h, top + kPieceSide));
            TRect seen;
            if (!IntersectRect(seen, place(piece), area)) continue;
            TBitmap b;
            StartPicture(&b, piece.Width(), piece.Height());
            b.Canvas()->SetViewport(TRect(-left, -top, w - left, h - top));
            paint(&b);
            put(&b, piece);
        }
    }
}

} // namespace

// ---- base ------------------------------------------------------------------------------

void TfsmEntity::DrawSelectionFrame(TBitmap* picture) const {
    if (selected_ && !changed_) SelectionFrame(picture->Canvas(), picture->Width(), picture->Height());
}

void TfsmEntity::StretchToCanvas(TBitmap* picture, int left, int top, int right, int bottom) const {
    TCanvas* canvas = GetCanvas();
    if (!canvas) return;
    const int z = GetZoom();
    const TCopyMode old = canvas->CopyMode;
    canvas->CopyMode = cmSrcInvert;
    const int oldStretch = canvas->SetStretchBltMode(WHITEONBLACK);
    canvas->StretchDraw(TRect(Scaled(left, z), Scaled(top, z), Scaled(right, z), Scaled(bottom, z)), picture);
    canvas->SetStretchBltMode(oldStretch);
    canvas->CopyMode = old;
}

// ---- state -------------------------------------------------------------------------------

int TfsmElement::PictureWidth(TBitmap* b) const {
    const int w = b->Canvas()->TextWidth(name_) + 2;
    return w < 2 * radius_ ? 2 * radius_ : w;
}

void TfsmElement::PaintPicture(TBitmap* b, TColor fill, TColor font, bool withName, bool activeFrame) const {
    const int w = PictureWidth(b), h = 2 * radius_;
    StartPicture(b, w, h);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clWhite);
    c->Font()->SetColor(font);
    c->Brush()->SetColor(fill);
    c->Ellipse(0, 0, 2 * radius_, 2 * radius_);
    if (withName) {
        c->SetBkMode(TRANSPARENT);
        c->SetTextAlign(TA_LEFT | TA_TOP);
        c->TextOut(0, 0, name_);
    } else {
        // While dragged the name gives way to a frame that marks its place.
        c->Brush()->SetColor(clWhite);
        c->FrameRect(TRect(1, 1, c->TextWidth(name_), c->TextHeight(name_)));
    }
    if (activeFrame) {
        c->Brush()->SetColor(kAqua);
        c->FrameRect(TRect(0, 0, w, h));
    }
    DrawSelectionFrame(b);
}

void TfsmElement::Draw() {
    if (!GetCanvas() || !Drawable(2LL * radius_, 2LL * radius_)) return;
    TBitmap b;
    PaintPicture(&b, active_ ? activeColor_ : color_, CurrentFsmSettings().StateNameColor, !changed_, active_);
    StretchToCanvas(&b, x_ - radius_, y_ - radius_, x_ + b.Width() - radius_, y_ + radius_);
}

void TfsmElement::DrawTo(TCanvas* canvas) {
    if (!canvas || !Drawable(2LL * radius_, 2LL * radius_)) return;
    TBitmap b;
    // Printing shows the name even while dragged, and no simulation highlight.
    PaintPicture(&b, clBlack, clWhite, true, false);
    const int z = GetZoom();
    canvas->StretchDraw(TRect(Scaled(x_ - radius_, z), Scaled(y_ - radius_, z), Scaled(x_ + b.Width() - radius_, z),
                              Scaled(y_ + radius_, z)),
                        &b);
}

// ---- transition --------------------------------------------------------------------------

void TfsmLink::PictureSize(int* w, int* h) const {
    *w = int(std::llabs((long long)GetRight() - GetX()) + 20);
    *h = int(std::llabs((long long)GetBottom() - GetY()) + 20);
}

void TfsmLink::DrawFreeEndMarker(TBitmap* b, int x, int y) {
    TCanvas* c = b->Canvas();
    c->Ellipse(x - 5, y - 5, x + 5, y + 5);
    c->MoveTo(x, y - 1);
    c->LineTo(x, y + 1);
    c->MoveTo(x - 1, y);
    c->LineTo(x + 1, y);
}

void TfsmLink::DrawArrow(TBitmap* b) {
    double ax, ay, ex, ey;
    BezierPoint(0.9, &ax, &ay, true);
    BezierPoint(1, &ex, &ey, true);
    double slope;
    if (ex == ax) slope = ey < ay ? 100000 : -100000;
    else slope = (ay - ey) / (ex - ax);
    double a = std::atan(slope);
    if (ex < ax) a += kPi;
    const double d = kPi / 9;
    TCanvas* c = b->Canvas();
    c->MoveTo(int(ex - 20 * std::cos(a - d)), int(ey + 20 * std::sin(a - d)));
    c->LineTo(px_[3] - GetX() + 10, py_[3] - GetY() + 10);
    c->LineTo(int(ex - 20 * std::cos(a + d)), int(ey + 20 * std::sin(a + d)));
    c->Brush()->SetColor(kAqua);
}

void TfsmLink::PicturePoints(TPoint p[4]) const {
    const int L = GetX(), T = GetY();
    for (int i = 0; i < 4; ++i) p[i] = TPoint(px_[i] - L + 10, py_[i] - T + 10);
}

void TfsmLink::DrawHandles(TBitmap* b) {
    TCanvas* c = b->Canvas();
    TPoint p[4];
    PicturePoints(p);
    for (const TPoint& q : p) c->Rectangle(q.x - 5, q.y - 5, q.x + 5, q.y + 5);
    c->MoveTo(p[0].x, p[0].y);
    c->LineTo(p[1].x, p[1].y);
    c->MoveTo(p[3].x, p[3].y);
    c->LineTo(p[2].x, p[2].y);
}

void TfsmLink::DrawCurve(TBitmap* b) {
    TPoint p[4];
    PicturePoints(p);
    b->Canvas()->PolyBezier(std::span<const TPoint>(p, 4));
}

void TfsmLink::DrawParts(TBitmap* b, bool handles, bool resetSymbol) {
    if (handles) DrawHandles(b);
    DrawArrow(b);
    TPoint p[4];
    PicturePoints(p);
    if (resetSymbol) {
        const int x = p[0].x, y = p[0].y;
        TCanvas* c = b->Canvas();
        c->Brush()->SetColor(kResetBlue);
        const TPoint triangle[3] = {{x, y - 9}, {x - 10, y + 6}, {x + 10, y + 6}};
        c->Polygon(triangle);
        const TPoint step[4] = {{x - 4, y - 2}, {x, y - 2}, {x, y + 4}, {x + 4, y + 4}};
        c->Polyline(step);
    } else if (!source_) {
        DrawFreeEndMarker(b, p[0].x - 1, p[0].y - 1);
    }
    if (!target_) DrawFreeEndMarker(b, p[3].x - 1, p[3].y - 1);
}

void TfsmLink::DrawFigure(TBitmap* b) { DrawParts(b, selected_, false); }

void TfsmResetLink::DrawFigure(TBitmap* b) { DrawParts(b, selected_, true); }

void TfsmLink::Draw() {
    TCanvas* canvas = GetCanvas();
    int w, h;
    PictureSize(&w, &h);
    if (!canvas || !Drawable(w, h)) return;
    const int left = GetX() - 10, top = GetY() - 10, z = GetZoom();
    DrawPicture(
        canvas, w, h,
        [&](const TRect& r) { return ScaledRect(left + r.Left, top + r.Top, left + r.Right, top + r.Bottom, z); },
        [&](TBitmap* b) {
            b->Canvas()->Pen()->SetColor(color_);
            DrawFigure(b);
            DrawCurve(b);
            if (selected_ && !changed_) SelectionFrame(b->Canvas(), w, h);
        },
        [&](TBitmap* b, const TRect& r) { StretchToCanvas(b, left + r.Left, top + r.Top, left + r.Right, top + r.Bottom); });
}

void TfsmLink::DrawTo(TCanvas* canvas) {
    int w, h;
    PictureSize(&w, &h);
    if (!canvas || !Drawable(w, h)) return;
    const int left = std::min(GetX(), GetRight()) - 5, top = std::min(GetY(), GetBottom()) - 5;
    auto place = [&](const TRect& r) { return TRect(left + r.Left, top + r.Top, left + r.Right, top + r.Bottom); };
    DrawPicture(
        canvas, w, h, place,
        [&](TBitmap* b) {
            b->Canvas()->Pen()->SetColor(clWhite);
            // A selected transition prints with its handles; no reset symbol.
            DrawParts(b, selected_, false);
            DrawCurve(b);
        },
        [&](TBitmap* b, const TRect& r) { canvas->StretchDraw(place(r), b); });
}

// ---- condition box ----------------------------------------------------------------------------

void TfsmCond::MeasureText() {
    TCanvas* c = GetCanvas();
    if (!c) return;
    width_ = c->TextWidth(text_) + 15;
    height_ = c->TextHeight(text_) + 10;
}

void TfsmCond::Draw() {
    TCanvas* canvas = GetCanvas();
    if (!canvas || !boxOwner_ || !(boxOwner_->IsSelected() || selected_)) return;
    const long long pw = std::llabs((long long)x_ - anchorX_) + width_;
    const long long ph = std::llabs((long long)y_ - anchorY_) + height_;
    if (!Drawable(pw, ph)) return;
    const int left = std::min(x_, anchorX_), top = std::min(y_, anchorY_), z = GetZoom();
    const int bx = x_ <= anchorX_ ? 1 : x_ - anchorX_;
    const int by = y_ <= anchorY_ ? 1 : y_ - anchorY_;
    DrawPicture(
        canvas, int(pw), int(ph),
        [&](const TRect& r) { return ScaledRect(left + r.Left, top + r.Top, left + r.Right, top + r.Bottom, z); },
        [&](TBitmap* b) {
            TCanvas* c = b->Canvas();
            c->Pen()->SetColor(boxOwner_->IsSelected() ? selectedColor_ : color_);
            const TPoint outline[4] = {
                {bx, by}, {bx + width_ - 2, by}, {bx + width_ - 2, by + height_ - 2}, {bx, by + height_ - 2}};
            c->Polygon(outline);
            if (x_ != anchorX_ && y_ != anchorY_) {
                c->MoveTo(bx, by);
                c->LineTo(std::abs(anchorX_ - x_ + bx), std::abs(anchorY_ - y_ + by));
            }
            c->SetBkMode(TRANSPARENT);
            c->SetTextAlign(TA_LEFT | TA_TOP);
            c->Font()->SetColor(textColor_);
            c->TextOut(bx + 5, by + 4, text_);
            if (selected_ && !changed_) SelectionFrame(c, int(pw), int(ph));
        },
        [&](TBitmap* b, const TRect& r) { StretchToCanvas(b, left + r.Left, top + r.Top, left + r.Right, top + r.Bottom); });
}
