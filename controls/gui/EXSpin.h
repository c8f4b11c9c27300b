#pragma once
// A numeric edit with spin buttons. TExSpinEdit keeps its number as the text
// of the edit and converts on every access: Value is a floating-point number
// whatever the ValueType. Steps clamp to [MinValue, MaxValue] (no clamping
// while the two are equal); a text that is not a number reads as MinValue and
// is rewritten to that value when the field is left. Buttons: the platform's
// up-down control (bkStandard) or a drawn square button split along its
// diagonal (bkDiagonal) that repeats while held (400 ms, then every 100 ms).

#include <memory>

#include "platform/Bitmap.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

enum TValueType { vtInt, vtFloat, vtHex };
enum TSpinButtonKind { bkStandard, bkDiagonal };
enum TSpinButtonState { sbNotDown, sbTopDown, sbBottomDown };

// The drawn spin button: the top half above the diagonal from the
// bottom-left to the top-right corner, the bottom half below it.
class TExSpinButton : public TGraphicControl {
public:
    explicit TExSpinButton(TComponent* owner);
    ~TExSpinButton() override;

    TBitmap* UpGlyph() const { return upGlyph_.get(); }
    // Null loads the library's arrow again.
    void SetUpGlyph(TBitmap* glyph);
    TBitmap* DownGlyph() const { return downGlyph_.get(); }
    void SetDownGlyph(TBitmap* glyph);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c);
    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

    TSpinButtonState State() const { return state_; }
    // Whether a point lies in the top half.
    bool InTopHalf(int x, int y) const;
    // Fires a half's click (and releases the button unless it is held).
    void TopClick();
    void BottomClick();
    // The repeat timer (made on the first press).
    TTimer* RepeatTimer() const { return repeatTimer_; }
    // The picture of a state, as Paint shows it.
    TBitmap* StateBitmap(TSpinButtonState s);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void SetEnabled(bool v) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetState(TSpinButtonState s);
    void DrawStateBitmap(TBitmap* b, TSpinButtonState s);
    void TimerExpired();
    void GlyphsChanged();

    std::unique_ptr<TBitmap> upGlyph_;
    std::unique_ptr<TBitmap> downGlyph_;
    TWinControl* focusControl_ = nullptr;
    TSpinButtonState state_ = sbNotDown;
    TSpinButtonState downState_ = sbNotDown;
    bool dragging_ = false;
    std::unique_ptr<TBitmap> bitmaps_[3];
    bool invalid_ = true;
    TTimer* repeatTimer_ = nullptr;
};

// The up-down buttons of bkStandard: each press reports "next" or
// "previous", the position itself always stays 0.
class TExUpDown : public TUpDown {
public:
    explicit TExUpDown(TComponent* owner);
    void Click(TUDBtnType button) override;
};

class TExSpinEdit : public TCustomEdit {
public:
    explicit TExSpinEdit(TComponent* owner);
    ~TExSpinEdit() override;

    double Value() const;
    void SetValue(double v);
    int AsInteger() const;
    void SetAsInteger(int v) { SetValue(v); }
    // v clamped to the range (unchanged while MinValue equals MaxValue).
    double CheckValue(double v) const;
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType t);
    // Plain limits: setting them does not change the value.
    double MinValue = 0;
    double MaxValue = 0;
    double Increment = 1;
    int Decimal() const { return decimal_; }
    void SetDecimal(int d);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool v);
    bool ArrowKeys = true;
    TSpinButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TSpinButtonKind k);
    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

    // One step up / down (a beep only on a read-only edit).
    virtual void UpClick(TObject* sender);
    virtual void DownClick(TObject* sender);
    // Whether the character may be typed now.
    bool IsValidChar(char key) const;
    // The text reads as a number of the current type.
    bool TextIsNumber() const;

    TExUpDown* UpDown() const { return upDown_; }
    TExSpinButton* SpinButton() const { return spinButton_; }
    // The width kept free for the buttons at the right of the text.
    int ButtonWidth() const;
    int MinHeight() const;

    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoExit() override;
    void SetEnabled(bool v) override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

private:
    bool ReadValue(TValueType type, double& v) const;
    void Step(double delta, const TNotifyEvent& after);
    void RecreateButtons();
    void LayoutButtons();

    TValueType valueType_ = vtInt;
    int decimal_ = 2;
    bool editorEnabled_ = true;
    TSpinButtonKind buttonKind_ = bkDiagonal;
    bool changing_ = false;
    TExUpDown* upDown_ = nullptr;
    TExSpinButton* spinButton_ = nullptr;
};
