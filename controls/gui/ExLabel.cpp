#include "controls/gui/ExLabel.h"

#include <algorithm>

#include "controls/gui/CtlUtils.h"
#include "platform/Bitmap.h"

int DrawShadowText(TCanvas* canvas, const AnsiString& text, TRect& rect, unsigned format, int shadowSize,
                   TColor shadowColor, TShadowPosition shadowPos) {
    TRect textRect = rect, shadowRect = rect;
    TColor textColor = canvas->Font()->Color();
    canvas->Font()->SetColor(shadowColor);
    int s = shadowSize;
    switch (shadowPos) {
    case spLeftTop: OffsetRect(shadowRect, -s, -s); break;
    case spLeftBottom: OffsetRect(shadowRect, -s, s); break;
    case spRightBottom: OffsetRect(shadowRect, s, s); break;
    case spRightTop: OffsetRect(shadowRect, s, -s); break;
    }
    int result = canvas->DrawText(text, shadowRect, format);
    if (result > 0) result += s;
    canvas->Font()->SetColor(textColor);
    canvas->DrawText(text, textRect, format);
    UnionRect(rect, textRect, shadowRect);
    return result;
}

TExCustomLabel::TExCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle |= csOpaque | csReplicatable;
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
}

TExCustomLabel::~TExCustomLabel() {
    Destroying();
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
}

TColor TExCustomLabel::GetDefaultFontColor() const { return Font()->Color(); }
AnsiString TExCustomLabel::GetLabelCaption() const { return Caption(); }

void TExCustomLabel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TExCustomLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TExCustomLabel::SetFocusControl(TWinControl* c) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = c;
    if (c) c->FreeNotification(this);
    if (showFocus_) Invalidate();
}

void TExCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TExCustomLabel::SetLayout(TTextLayout l) {
    if (l == layout_) return;
    layout_ = l;
    Invalidate();
}

void TExCustomLabel::SetShadowColor(TColor c) {
    if (c == shadowColor_) return;
    shadowColor_ = c;
    Invalidate();
}

void TExCustomLabel::SetShadowSize(int s) {
    s = std::clamp(s, 0, 255);
    if (s == shadowSize_) return;
    shadowSize_ = s;
    AdjustBounds();
    Invalidate();
}

void TExCustomLabel::SetShadowPos(TShadowPosition p) {
    if (p == shadowPos_) return;
    shadowPos_ = p;
    Invalidate();
}

void TExCustomLabel::SetShowAccelChar(bool v) {
    if (v == showAccelChar_) return;
    showAccelChar_ = v;
    Invalidate();
}

void TExCustomLabel::SetShowFocus(bool v) {
    if (v == showFocus_) return;
    showFocus_ = v;
    Invalidate();
}

void TExCustomLabel::SetTransparent(bool v) {
    if (v == Transparent()) return;
    if (v) ControlStyle &= ~csOpaque;
    else ControlStyle |= csOpaque;
    Invalidate();
}

void TExCustomLabel::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TExCustomLabel::SetLeftMargin(int v) {
    leftMargin_ = std::max(v, 0);
    AdjustBounds();
    Invalidate();
}

void TExCustomLabel::SetRightMargin(int v) {
    rightMargin_ = std::max(v, 0);
    AdjustBounds();
    Invalidate();
}

void TExCustomLabel::DoDrawText(TCanvas* canvas, TRect& rect, unsigned flags) {
    AnsiString text = GetLabelCaption();
    if ((flags & DT_CALCRECT) && (text.IsEmpty() || (showAccelChar_ && text == "&"))) text += " ";
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    canvas->SetFont(Font());
    canvas->Font()->SetColor(GetDefaultFontColor());
    TColor shadow = shadowColor_;
    int size = shadowSize_;
    TShadowPosition pos = shadowPos_;
    if (!Enabled()) {
        canvas->Font()->SetColor(clGrayText);
        shadow = clBtnHighlight;
        if (size == 0) { // the etched look of disabled text
            size = 1;
            pos = spRightBottom;
        }
    }
    DrawShadowText(canvas, text, rect, flags, size, ColorToRGB(shadow), pos);
}

void TExCustomLabel::Paint() {
    TCanvas* c = Canvas();
    if (!Enabled()) dragging_ = false;
    if (Transparent()) {
        CopyParentImage(this, c);
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
    }
    c->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    // A pixel is kept free on every side, so a shadow towards the top or
    // the left stays inside the label.
    rect.Left += leftMargin_ + 1;
    rect.Right -= rightMargin_ + 1;
    rect.Top += 1;
    rect.Bottom -= 1;
    unsigned flags = DT_EXPANDTABS | (wordWrap_ ? unsigned(DT_WORDBREAK) : 0u);
    flags |= alignment_ == taRightJustify ? unsigned(DT_RIGHT) : alignment_ == taCenter ? unsigned(DT_CENTER) : 0u;
    if (layout_ != tlTop) {
        TRect measured = rect;
        DoDrawText(c, measured, flags | DT_CALCRECT);
        // Measuring drew nothing; only the height is used.
        int shift = Height() - measured.Bottom;
        OffsetRect(rect, 0, layout_ == tlBottom ? shift : shift / 2);
    }
    DoDrawText(c, rect, flags);
    if (showFocus_ && focusControl_ && focusControl_->Focused() && !(ComponentState() & csDesigning)) {
        InflateRect(rect, 1, 1);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->DrawFocusRect(rect);
    }
}

void TExCustomLabel::AdjustBounds() {
    if (!autoSize_ || adjusting_ || IsLoading()) return;
    adjusting_ = true;
    TBitmap screen;
    screen.SetSize(1, 1);
    TRect rect = ClientRect();
    rect.Left += leftMargin_ + 1;
    rect.Right = std::max(rect.Left, rect.Right - rightMargin_ - 1);
    rect.Top = 1;
    unsigned flags = DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? unsigned(DT_WORDBREAK) : 0u);
    DoDrawText(screen.Canvas(), rect, flags);
    rect.Right += rightMargin_ + 1;
    rect.Bottom += 1;
    int left = Left();
    if (alignment_ == taRightJustify) left += Width() - rect.Right;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
    adjusting_ = false;
}

void TExCustomLabel::SetMouseInside(bool inside) {
    if (inside == mouseInside_) return;
    mouseInside_ = inside;
    if (inside) MouseEnter();
    else MouseLeave();
}

void TExCustomLabel::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExCustomLabel::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExCustomLabel::UpdateTracking() {
    bool inside = Enabled() && MouseIsOver(this);
    SetMouseInside(inside);
}

void TExCustomLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) dragging_ = true;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == mbRight) UpdateTracking();
}

void TExCustomLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == mbLeft) dragging_ = false;
    UpdateTracking();
}

void TExCustomLabel::SetEnabled(bool v) {
    TGraphicControl::SetEnabled(v);
    UpdateTracking();
    Invalidate();
}

void TExCustomLabel::SetVisible(bool v) {
    TGraphicControl::SetVisible(v);
    if (v) UpdateTracking();
}

void TExCustomLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
        if (!mouseInside_ && Enabled() && IsForegroundTask()) SetMouseInside(true);
        return;
    case CM_MOUSELEAVE:
        // Held back while the left button is down on the label.
        if (mouseInside_ && Enabled() && !dragging_) SetMouseInside(false);
        return;
    case CM_DIALOGCHAR: {
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccelerator(message.WParam, GetLabelCaption())) {
            if (focusControl_->CanFocus()) focusControl_->SetFocus();
            message.Result = 1;
            return;
        }
        break;
    }
    case CM_FOCUSCHANGED:
        if (showFocus_) Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
    }
}
