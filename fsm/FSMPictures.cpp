// The pictures of the state-machine objects. Each object builds its picture
// in a bitmap with a black background and stretches it onto the view canvas
// in the exclusive-or copy mode: black leaves the canvas as it is, every other
// pixel is inverted against it, so a second drawing erases the first exactly.
// Drawn smaller than it was built (a zoom below 100 %), a picture keeps every
// lit pixel: its lines are one pixel wide and would lose the rows and columns
// that a plain reduction leaves out.

#include <cmath>
#include <cstdlib>

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
// A picture side beyond this (in document units) comes only from a damaged
// file; such an object is not drawn rather than allocate a giant bitmap.
constexpr long long kMaxPictureSide = 16384;

bool Drawable(long long w, long long h) { return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide; }

void StartPicture(TBitmap* b, int w, int h) {
    b->SetSize(w, h);
    TCanvas* c = b->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(0, 0, w, h));
}

int Scaled(long long v, int zoom) { return int(v * zoom / 100); }

} // namespace

// ---- base ------------------------------------------------------------------------------

void TfsmEntity::DrawSelectionFrame(TBitmap* picture) const {
    if (!selected_ || changed_) return;
    TCanvas* c = picture->Canvas();
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsDiagCross);
    c->FrameRect(TRect(0, 0, picture->Width() - 1, picture->Height() - 1));
    c->Brush()->SetStyle(bsSolid);
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

bool TfsmLink::StartCurvePicture(TBitmap* b, TColor pen) const {
    int w, h;
    PictureSize(&w, &h);
    if (!Drawable(w, h)) return false;
    StartPicture(b, w, h);
    b->Canvas()->Pen()->SetColor(pen);
    return true;
}

void TfsmLink::Draw() {
    TBitmap b;
    if (!GetCanvas() || !StartCurvePicture(&b, color_)) return;
    DrawFigure(&b);
    DrawCurve(&b);
    DrawSelectionFrame(&b);
    const int L = GetX(), T = GetY();
    StretchToCanvas(&b, L - 10, T - 10, L + b.Width() - 10, T + b.Height() - 10);
}

void TfsmLink::DrawTo(TCanvas* canvas) {
    TBitmap b;
    if (!canvas || !StartCurvePicture(&b, clWhite)) return;
    // A selected transition prints with its handles; no reset symbol.
    DrawParts(&b, selected_, false);
    DrawCurve(&b);
    const int m = std::min(GetX(), GetRight()), n = std::min(GetY(), GetBottom());
    canvas->StretchDraw(TRect(m - 5, n - 5, m + b.Width() - 5, n + b.Height() - 5), &b);
}

// ---- condition box ----------------------------------------------------------------------------

void TfsmCond::MeasureText() {
    TCanvas* c = GetCanvas();
    if (!c) return;
    width_ = c->TextWidth(text_) + 15;
    height_ = c->TextHeight(text_) + 10;
}

void TfsmCond::Draw() {
    if (!GetCanvas() || !boxOwner_ || !(boxOwner_->IsSelected() || selected_)) return;
    const long long pw = std::llabs((long long)x_ - anchorX_) + width_;
    const long long ph = std::llabs((long long)y_ - anchorY_) + height_;
    if (!Drawable(pw, ph)) return;
    const int left = std::min(x_, anchorX_), top = std::min(y_, anchorY_);
    const int bx = x_ <= anchorX_ ? 1 : x_ - anchorX_;
    const int by = y_ <= anchorY_ ? 1 : y_ - anchorY_;
    TBitmap b;
    StartPicture(&b, int(pw), int(ph));
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(boxOwner_->IsSelected() ? selectedColor_ : color_);
    const TPoint outline[4] = {{bx, by}, {bx + width_ - 2, by}, {bx + width_ - 2, by + height_ - 2}, {bx, by + height_ - 2}};
    c->Polygon(outline);
    if (x_ != anchorX_ && y_ != anchorY_) {
        c->MoveTo(bx, by);
        c->LineTo(std::abs(anchorX_ - x_ + bx), std::abs(anchorY_ - y_ + by));
    }
    c->SetBkMode(TRANSPARENT);
    c->SetTextAlign(TA_LEFT | TA_TOP);
    c->Font()->SetColor(textColor_);
    c->TextOut(bx + 5, by + 4, text_);
    DrawSelectionFrame(&b);
    StretchToCanvas(&b, left, top, int(left + pw), int(top + ph));
}
