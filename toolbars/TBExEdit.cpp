// TEditEx: the flat edit box.
#include "platform/Canvas.h"
#include "platform/gui/Forms.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExPaint.h"

namespace {

constexpr int kFrame = 3;

} // namespace

// The border lies in the edit's frame: three pixels all round, drawn in its
// non-client paint.
TEditEx::TEditEx(TComponent* owner) : TCustomEdit(owner) {
    SetBorderStyle(bsNone);
    EnableNonClient();
    SetHeight(19);
    RedrawBorder();
}

TEditEx::~TEditEx() = default;

void TEditEx::Loaded() {
    TCustomEdit::Loaded();
    FitHeight();
}

void TEditEx::FitHeight() {
    TBitmap probe;
    probe.Canvas()->Font()->Assign(Font());
    SetHeight(probe.Canvas()->TextHeight("Wg") + 6);
}

bool TEditEx::BorderLit() const {
    if (Focused()) return true;
    if (!mouseInControl_) return false;
    auto* other = dynamic_cast<TEditEx*>(Screen->ActiveControl());
    return !(other && other != this);
}

void TEditEx::RedrawBorder() {
    int w = std::max(Width(), 1), h = std::max(Height(), 1);
    if (!border_) border_ = std::make_unique<TBitmap>();
    border_->SetSize(w, h);
    TCanvas* c = border_->Canvas();
    TRect r = Rect(0, 0, w, h);
    FillSolid(c, r, Color());
    if (BorderLit()) {
        DrawEdgeLines(c, r, clBtnShadow, clBtnHighlight);
        InflateRect(r, -1, -1);
        FillSolid(c, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), clBtnFace);
        FillSolid(c, Rect(r.Left, r.Top, r.Right, r.Top + 1), clBtnFace);
        FillSolid(c, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), cl3DLight);
        FillSolid(c, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), cl3DLight);
        InflateRect(r, -1, -1);
        c->Brush()->SetColor(clWindow);
        c->FrameRect(r);
    } else {
        for (int i = 0; i < 2; ++i) {
            c->Brush()->SetColor(clBtnFace);
            c->FrameRect(r);
            InflateRect(r, -1, -1);
        }
        c->Brush()->SetColor(clWindow);
        c->FrameRect(r);
    }
    InvalidateNonClient();
}

void TEditEx::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<TRect*>(m.LParam);
        InflateRect(*r, -kFrame, -kFrame);
        m.Result = 0;
        return;
    }
    case WM_NCPAINT:
        if (TCanvas* c = NonClientCanvas(); c && border_) c->Draw(0, 0, border_.get());
        m.Result = 0;
        return;
    default:
        break;
    }
    TCustomEdit::WndProc(m);
    switch (m.Msg) {
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        RedrawBorder();
        break;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        RedrawBorder();
        break;
    case CM_ENTER:
    case CM_EXIT:
    case WM_SIZE:
        RedrawBorder();
        break;
    case CM_FONTCHANGED:
        if (!IsLoading()) FitHeight();
        break;
    case CM_ENABLEDCHANGED:
        SetColor(Enabled() ? clWindow : clBtnFace);
        RedrawBorder();
        break;
    default:
        break;
    }
}
