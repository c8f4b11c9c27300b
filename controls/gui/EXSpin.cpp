#include "controls/gui/EXSpin.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "controls/Exconst.h"
#include "controls/gui/CtlUtils.h"
#include "platform/ScopeGuard.h"
#include "platform/gui/Actions.h"

namespace {

// The separator of decimal fractions in the texts of the program.
constexpr char kDecimalSeparator = '.';
// The width of the buttons: the scroll-bar width, at most 15.
constexpr int kDefaultButtonWidth = 15;

// The nearest integer, halves to the even neighbour.
long long RoundEven(double v) {
    if (!std::isfinite(v)) return 0;
    double r = std::nearbyint(v); // the default rounding mode rounds halves to even
    if (r > 9.2e18) return INT64_MAX;
    if (r < -9.2e18) return INT64_MIN;
    return static_cast<long long>(r);
}

AnsiString HexText(long long v) {
    // Negative numbers of the 32-bit range are written as their 32-bit pattern.
    unsigned long long bits = (v < 0 && v >= INT32_MIN) ? (unsigned long long)(std::uint32_t(std::int32_t(v)))
                                                         : (unsigned long long)v;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", bits);
    return AnsiString(buf);
}

// The value truncated toward zero, kept in the integer range.
int AsIntegerOf(double v) {
    double t = std::trunc(v);
    if (!std::isfinite(t)) return 0;
    return int(std::clamp(t, double(INT32_MIN), double(INT32_MAX)));
}

void LoadGlyph(TBitmap* b, const char* name) {
    RegisterExResources();
    b->LoadFromResourceName(name);
}

} // namespace

// ---- TExSpinButton -------------------------------------------------------------------

TExSpinButton::TExSpinButton(TComponent* owner) : TGraphicControl(owner) {
    upGlyph_ = std::make_unique<TBitmap>();
    downGlyph_ = std::make_unique<TBitmap>();
    LoadGlyph(upGlyph_.get(), "EXSPINUP");
    LoadGlyph(downGlyph_.get(), "EXSPINDOWN");
    for (auto& b : bitmaps_) b = std::make_unique<TBitmap>();
    SetBounds(0, 0, 20, 20);
}

TExSpinButton::~TExSpinButton() {
    Destroying();
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
}

void TExSpinButton::SetUpGlyph(TBitmap* glyph) {
    if (glyph) upGlyph_->Assign(glyph);
    else LoadGlyph(upGlyph_.get(), "EXSPINUP");
    GlyphsChanged();
}

void TExSpinButton::SetDownGlyph(TBitmap* glyph) {
    if (glyph) downGlyph_->Assign(glyph);
    else LoadGlyph(downGlyph_.get(), "EXSPINDOWN");
    GlyphsChanged();
}

void TExSpinButton::GlyphsChanged() {
    invalid_ = true;
    Invalidate();
}

void TExSpinButton::SetFocusControl(TWinControl* c) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = c;
    if (c) c->FreeNotification(this);
}

void TExSpinButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TExSpinButton::SetEnabled(bool v) {
    TGraphicControl::SetEnabled(v);
    invalid_ = true;
    Invalidate();
}

void TExSpinButton::SetBounds(int left, int top, int width, int height) {
    bool resized = width != Width() || height != Height();
    TGraphicControl::SetBounds(left, top, width, height);
    if (resized) invalid_ = true;
}

bool TExSpinButton::InTopHalf(int x, int y) const {
    int w = std::max(Width(), 1), h = Height();
    // y <= h - x * h / w, without rounding.
    return (long long)y * w <= (long long)h * w - (long long)x * h;
}

void TExSpinButton::SetState(TSpinButtonState s) {
    if (s == state_) return;
    state_ = s;
    Invalidate();
}

void TExSpinButton::TopClick() {
    if (OnTopClick) OnTopClick(this);
    if (!dragging_) SetState(sbNotDown);
}

void TExSpinButton::BottomClick() {
    if (OnBottomClick) OnBottomClick(this);
    if (!dragging_) SetState(sbNotDown);
}

void TExSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (focusControl_ && focusControl_->TabStop && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    dragging_ = true;
    SetMouseCapture(true);
    if (state_ == sbNotDown) {
        downState_ = InTopHalf(x, y) ? sbTopDown : sbBottomDown;
        SetState(downState_);
        if (downState_ == sbTopDown) TopClick();
        else BottomClick();
    }
    Repaint();
    if (!repeatTimer_) {
        repeatTimer_ = new TTimer(this);
        repeatTimer_->OnTimer = [this](TObject*) { TimerExpired(); };
    }
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(400);
    repeatTimer_->SetEnabled(true);
}

void TExSpinButton::TimerExpired() {
    repeatTimer_->SetInterval(100);
    if (state_ != sbNotDown && dragging_) {
        if (state_ == sbTopDown) TopClick();
        else BottomClick();
    }
}

void TExSpinButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    TSpinButtonState next = sbNotDown;
    if (x >= 0 && x < Width() && y >= 0 && y < Height()) {
        TSpinButtonState under = InTopHalf(x, y) ? sbTopDown : sbBottomDown;
        next = under == downState_ ? downState_ : sbNotDown;
    }
    SetState(next);
}

void TExSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !dragging_) return;
    dragging_ = false;
    SetMouseCapture(false);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    if (x >= 0 && x < Width() && y >= 0 && y < Height()) SetState(sbNotDown);
    downState_ = sbNotDown;
    SetState(sbNotDown);
}

TBitmap* TExSpinButton::StateBitmap(TSpinButtonState s) {
    if (invalid_) {
        for (int i = 0; i < 3; ++i) DrawStateBitmap(bitmaps_[i].get(), TSpinButtonState(i));
        invalid_ = false;
    }
    return bitmaps_[s].get();
}

void TExSpinButton::DrawStateBitmap(TBitmap* b, TSpinButtonState s) {
    const int w = Width(), h = Height();
    b->SetSize(std::max(w, 1), std::max(h, 1));
    TCanvas* c = b->Canvas();
    bool top = s == sbTopDown, bottom = s == sbBottomDown;
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, w, h));
    auto line = [c](TColor color, std::initializer_list<TPoint> pts) {
        c->Pen()->SetColor(color);
        auto it = pts.begin();
        c->MoveTo(it->x, it->y);
        for (++it; it != pts.end(); ++it) c->LineTo(it->x, it->y);
    };
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clWindowFrame);
    c->Rectangle(0, 0, w, h);
    line(clWindowFrame, {{-1, h}, {w, -1}});
    line(top ? clBtnShadow : clBtnHighlight, {{1, h - 4}, {1, 1}, {w - 3, 1}});
    if (!top) line(clBtnShadow, {{1, h - 3}, {w - 2, 0}});
    line(bottom ? clBtnHighlight : clBtnShadow, {{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}});
    line(bottom ? clBtnShadow : clBtnHighlight, {{2, h - 2}, {w - 1, 1}});
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    auto glyph = [c](TBitmap* g, int x, int y) {
        if (!g || g->Empty()) return;
        c->BrushCopy(Bounds(x, y, g->Width(), g->Height()), g, Rect(0, 0, g->Width(), g->Height()),
                     g->TransparentColor());
    };
    int ux = int(std::nearbyint(w / 4.0 - upGlyph_->Width() / 2.0)) + (top ? 2 : 1);
    int uy = int(std::nearbyint(h / 4.0 - upGlyph_->Height() / 2.0)) + (top ? 2 : 1);
    glyph(upGlyph_.get(), ux, uy);
    int dx = int(std::nearbyint(3.0 * w / 4.0 - downGlyph_->Width() / 2.0)) - 1;
    int dy = int(std::nearbyint(3.0 * h / 4.0 - downGlyph_->Height() / 2.0)) - 1;
    glyph(downGlyph_.get(), dx, dy);
    if (bottom) line(clBtnShadow, {{3, h - 2}, {w - 1, 2}});
}

void TExSpinButton::Paint() {
    TSpinButtonState shown = (ComponentState() & csDesigning) ? sbNotDown : state_;
    Canvas()->Draw(0, 0, StateBitmap(shown));
}

// ---- TExUpDown ------------------------------------------------------------------------

TExUpDown::TExUpDown(TComponent* owner) : TUpDown(owner) {
    SetMin(-1);
    SetMax(1);
    SetPosition(0);
    ArrowKeys = false;
}

void TExUpDown::Click(TUDBtnType button) {
    if (OnClick) OnClick(this, button);
    SetPosition(0);
}

// ---- TExSpinEdit ----------------------------------------------------------------------

TExSpinEdit::TExSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetText("0");
    RecreateButtons();
}

TExSpinEdit::~TExSpinEdit() {
    changing_ = true; // destruction raises no change notification
    Destroying();
}

void TExSpinEdit::Change() {
    if (!changing_) TCustomEdit::Change();
}

bool TExSpinEdit::ReadValue(TValueType type, double& v) const {
    AnsiString text = Text();
    switch (type) {
    case vtFloat: return TryStrToFloat(text, v);
    case vtHex: {
        int i;
        if (text.Trim().IsEmpty() || !TryStrToInt("$" + text.Trim(), i)) return false;
        v = i;
        return true;
    }
    case vtInt: {
        int i;
        if (!TryStrToInt(text, i)) return false;
        v = i;
        return true;
    }
    }
    return false;
}

bool TExSpinEdit::TextIsNumber() const {
    double v;
    return ReadValue(valueType_, v);
}

double TExSpinEdit::Value() const {
    double v;
    if (ReadValue(valueType_, v)) return v;
    return valueType_ == vtFloat ? MinValue : std::trunc(MinValue);
}

int TExSpinEdit::AsInteger() const { return AsIntegerOf(Value()); }

double TExSpinEdit::CheckValue(double v) const {
    if (MinValue != MaxValue) {
        if (v < MinValue) return MinValue;
        if (v > MaxValue) return MaxValue;
    }
    return v;
}

void TExSpinEdit::SetValue(double v) {
    double c = CheckValue(v);
    AnsiString text;
    switch (valueType_) {
    case vtInt: text = IntToStr(RoundEven(c)); break;
    case vtHex: text = HexText(RoundEven(c)); break;
    case vtFloat: {
        text = FloatToFixed(c, decimal_);
        for (int i = 1; i <= text.Length(); ++i)
            if (text[i] == '.') text[i] = kDecimalSeparator;
        break;
    }
    }
    SetText(text);
}

void TExSpinEdit::SetValueType(TValueType t) {
    if (t == valueType_) return;
    valueType_ = t;
    SetValue(Value());
    if (t == vtInt || t == vtHex) {
        Increment = double(RoundEven(Increment));
        if (Increment == 0) Increment = 1;
    }
}

void TExSpinEdit::SetDecimal(int d) {
    d = std::clamp(d, 0, 255);
    if (d == decimal_) return;
    decimal_ = d;
    SetValue(Value());
}

void TExSpinEdit::SetEditorEnabled(bool v) {
    editorEnabled_ = v;
    SetEditMenuAndDrops(v);
}

void TExSpinEdit::Step(double delta, const TNotifyEvent& after) {
    if (ReadOnly()) {
        Beep();
        return;
    }
    {
        AnsiString old = Text();
        changing_ = true;
        {
            TScopeGuard changed([this] { changing_ = false; });
            SetValue(Value() + delta);
        }
        if (AnsiCompareText(Text(), old) != 0) {
            Modified = true;
            Change();
        }
    }
    if (after) after(this);
}

void TExSpinEdit::UpClick(TObject*) { Step(Increment, OnTopClick); }
void TExSpinEdit::DownClick(TObject*) { Step(-Increment, OnBottomClick); }

bool TExSpinEdit::IsValidChar(char key) const {
    auto k = static_cast<unsigned char>(key);
    if (!editorEnabled_) return k < 32 && k != 8;
    if (k < 32) return true;
    if (key == '+' || key == '-' || (key >= '0' && key <= '9')) return true;
    if (valueType_ == vtFloat) {
        AnsiString text = Text();
        if (key == kDecimalSeparator && text.Pos(AnsiString(kDecimalSeparator)) == 0) return true;
        if ((key == 'E' || key == 'e') && text.UpperCase().Pos("E") == 0) return true;
    }
    if (valueType_ == vtHex && ((key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f'))) return true;
    return false;
}

void TExSpinEdit::KeyDown(WORD& key, TShiftState shift) {
    // Paste and cut reach the text only while it may be edited.
    bool pasteOrCut = ((shift & ssCtrl) && (key == 'V' || key == 'X')) ||
                      ((shift & ssShift) && (key == VK_INSERT || key == VK_DELETE));
    if (pasteOrCut && (!editorEnabled_ || ReadOnly())) {
        key = 0;
        return;
    }
    TCustomEdit::KeyDown(key, shift);
    if (ArrowKeys && (key == VK_UP || key == VK_DOWN)) {
        if (key == VK_UP) UpClick(this);
        else DownClick(this);
        key = 0;
    }
}

void TExSpinEdit::KeyPress(char& key) {
    if (!IsValidChar(key)) {
        key = 0;
        Beep();
        return;
    }
    TCustomEdit::KeyPress(key);
    // Enter has reached the form's default button already (as a dialog key).
    if (key == char(VK_RETURN)) key = 0;
}

void TExSpinEdit::DoExit() {
    // A number outside the range is clamped, a text that is not a number is
    // replaced by the value it reads as.
    double v = Value();
    if (!TextIsNumber() || CheckValue(v) != v) SetValue(v);
    TCustomEdit::DoExit();
}

void TExSpinEdit::SetEnabled(bool v) {
    TCustomEdit::SetEnabled(v);
    if (upDown_) upDown_->SetEnabled(v);
    if (spinButton_) spinButton_->SetEnabled(v);
}

void TExSpinEdit::SetButtonKind(TSpinButtonKind k) {
    if (k == buttonKind_) return;
    buttonKind_ = k;
    RecreateButtons();
}

int TExSpinEdit::ButtonWidth() const {
    if (upDown_) return upDown_->Width();
    if (spinButton_) return spinButton_->Width();
    return kDefaultButtonWidth;
}

int TExSpinEdit::MinHeight() const {
    return EditMinHeight(Font());
}

void TExSpinEdit::RecreateButtons() {
    delete upDown_;
    upDown_ = nullptr;
    delete spinButton_;
    spinButton_ = nullptr;
    if (buttonKind_ == bkStandard) {
        upDown_ = new TExUpDown(this);
        upDown_->SetParent(this);
        upDown_->OnClick = [this](TObject*, TUDBtnType b) {
            if (TabStop && CanFocus() && !Focused()) SetFocus();
            if (b == btNext) UpClick(this);
            else DownClick(this);
        };
        upDown_->SetEnabled(Enabled());
    } else {
        spinButton_ = new TExSpinButton(this);
        spinButton_->SetParent(this);
        spinButton_->SetFocusControl(this);
        spinButton_->OnTopClick = [this](TObject*) { UpClick(this); };
        spinButton_->OnBottomClick = [this](TObject*) { DownClick(this); };
        spinButton_->SetEnabled(Enabled());
    }
    LayoutButtons();
}

void TExSpinEdit::LayoutButtons() {
    int w = Width(), h = Height();
    if (upDown_) {
        upDown_->SetBounds(w - kDefaultButtonWidth - 2, 2, kDefaultButtonWidth, std::max(h - 4, 1));
    } else if (spinButton_) {
        int side = std::max(h - 3, 1);
        spinButton_->SetBounds(w - side - 3, (h - side) / 2, side, side);
    }
    Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(0, ButtonWidth() + 2));
}

void TExSpinEdit::SetBounds(int left, int top, int width, int height) {
    TCustomEdit::SetBounds(left, top, width, std::max(height, MinHeight()));
    LayoutButtons();
}

void TExSpinEdit::WndProc(TMessage& message) {
    TCustomEdit::WndProc(message);
    if (message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) LayoutButtons();
}
