#pragma once
// TExLabel: a text label that draws its caption twice, first as a shadow in
// ShadowColor moved ShadowSize pixels towards one corner, then the text on
// top. It also has margins, vertical layout, a focus rectangle while its
// focus control has the focus, and mouse enter/leave events (a leave waits
// while the left button is held on the label).

#include "platform/gui/StdCtrls.h"

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// Draws text with its shadow; rect becomes the union of both (so with
// DT_CALCRECT it measures text and shadow together). Returns the height of
// the shadow text plus the shadow size when that height is positive.
int DrawShadowText(TCanvas* canvas, const AnsiString& text, TRect& rect, unsigned format, int shadowSize,
                   TColor shadowColor, TShadowPosition shadowPos);

class TExCustomLabel : public TGraphicControl {
public:
    explicit TExCustomLabel(TComponent* owner);
    ~TExCustomLabel() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int s);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition p);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool v);
    // Not opaque: the parent shows through.
    bool Transparent() const { return !(ControlStyle & csOpaque); }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int v);
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int v);

    bool MouseInside() const { return mouseInside_; }
    // Fits the bounds to the text (with AutoSize).
    void AdjustBounds();
    // Re-evaluates whether the mouse is over the label.
    void UpdateTracking();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetEnabled(bool v) override;
    void SetVisible(bool v) override;
    void WndProc(TMessage& message) override;

protected:
    virtual TColor GetDefaultFontColor() const;
    virtual AnsiString GetLabelCaption() const;
    virtual void MouseEnter();
    virtual void MouseLeave();
    void DoDrawText(TCanvas* canvas, TRect& rect, unsigned flags);
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetMouseInside(bool inside);

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    TTextLayout layout_ = tlTop;
    TColor shadowColor_ = clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = spLeftTop;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    bool wordWrap_ = false;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
    bool mouseInside_ = false;
    bool dragging_ = false;
    bool adjusting_ = false;
};

class TExLabel : public TExCustomLabel {
public:
    explicit TExLabel(TComponent* owner) : TExCustomLabel(owner) {}
};
