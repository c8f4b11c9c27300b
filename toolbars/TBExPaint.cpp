#include "toolbars/TBExPaint.h"

void FillSolid(TCanvas* canvas, const TRect& r, TColor color) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(r);
}

void DrawEdgeLines(TCanvas* canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    if (IsRectEmpty(r)) return;
    FillSolid(canvas, Rect(r.Left, r.Top, r.Right, r.Top + 1), topLeft);
    FillSolid(canvas, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), topLeft);
    FillSolid(canvas, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
    FillSolid(canvas, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
}

void DrawButtonEdge(TCanvas* canvas, const TRect& r, bool flat, bool down) {
    if (flat) {
        if (down) DrawEdgeLines(canvas, r, clBtnShadow, clBtnHighlight);
        else DrawEdgeLines(canvas, r, clBtnHighlight, clBtnShadow);
        return;
    }
    TRect in = r;
    InflateRect(in, -1, -1);
    if (down) {
        DrawEdgeLines(canvas, r, clBtnShadow, clBtnHighlight);
        DrawEdgeLines(canvas, in, cl3DDkShadow, cl3DLight);
    } else {
        DrawEdgeLines(canvas, r, cl3DLight, cl3DDkShadow);
        DrawEdgeLines(canvas, in, clBtnHighlight, clBtnShadow);
    }
}

void ApplyNCInsets(TMessage& message, const TRect& insets) {
    auto* r = reinterpret_cast<TRect*>(message.LParam);
    r->Left += insets.Left;
    r->Top += insets.Top;
    r->Right -= insets.Right;
    r->Bottom -= insets.Bottom;
    message.Result = 0;
}
