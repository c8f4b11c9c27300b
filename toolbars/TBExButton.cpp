// TToolbarButtonEx: the flat toolbar button.
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/gui/Forms.h"
#include "toolbars/TBEx.h"
#include "toolbars/TBExCtls.h"
#include "toolbars/TBExPaint.h"
#include "toolbars/TBExTlbr.h"

bool TToolbarButtonEx::ButtonsStayDown = true;

namespace {

TToolbarButtonEx* g_lit = nullptr;
TTimer* g_mouseTimer = nullptr;
TBitmap* g_pattern = nullptr;
int g_buttons = 0;
constexpr int kComboWidth = 11;

// The 8 x 8 dither of a button held down in a group.
TBitmap* PatternBitmap() {
    if (!g_pattern) {
        g_pattern = new TBitmap;
        g_pattern->SetSize(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) g_pattern->Canvas()->SetPixels(x, y, (x & 1) == (y & 1) ? ColorToRGB(clBtnHighlight) : ColorToRGB(clBtnFace));
    }
    return g_pattern;
}

TControl* ControlAt(TPoint screen) { return FindControlAtScreen(screen); }

// The drop-down arrow: a triangle 5 pixels wide and 3 high at (4, 0)..(8, 2).
void DrawArrow(TCanvas* c, TPoint o, TColor color) {
    for (int row = 0; row < 3; ++row) FillSolid(c, Rect(o.x + 4 + row, o.y + row, o.x + 9 - row, o.y + row + 1), color);
}

} // namespace

// ---- action link ------------------------------------------------------------------------------

TToolbarButtonExActionLink::TToolbarButtonExActionLink(TToolbarButtonEx* client) : TControlActionLink(client), button_(client) {}

bool TToolbarButtonExActionLink::IsCheckedLinked() const {
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && button_->Down() == a->Checked();
}

bool TToolbarButtonExActionLink::IsHelpContextLinked() const {
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && button_->HelpContext == a->HelpContext;
}

bool TToolbarButtonExActionLink::IsImageIndexLinked() const {
    auto* a = dynamic_cast<TCustomAction*>(Action());
    return a && button_->ImageIndex() == a->ImageIndex();
}

void TToolbarButtonExActionLink::SetChecked(bool v) {
    if (IsCheckedLinked()) button_->SetDown(v);
}

void TToolbarButtonExActionLink::SetHelpContext(int v) {
    if (IsHelpContextLinked()) button_->HelpContext = v;
}

void TToolbarButtonExActionLink::SetImageIndex(int v) {
    if (IsImageIndexLinked()) button_->SetImageIndex(v);
}

// ---- construction -------------------------------------------------------------------------------

TToolbarButtonEx::TToolbarButtonEx(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
    color_ = clBtnFace;
    SetBounds(0, 0, 23, 22);
    if (g_buttons++ == 0) {
        g_mouseTimer = new TTimer(nullptr);
        g_mouseTimer->SetEnabled(false);
        g_mouseTimer->SetInterval(125);
        g_mouseTimer->OnTimer = [](TObject*) {
            if (g_lit && ControlAt(GetCursorPos()) != g_lit) g_lit->Unlight();
        };
    }
    glyph_.OnChange = [this](TObject*) { Redraw(); };
    InstallHookProc(HookProc, THookProcCodes{hpSendActivateApp, hpPostMouseMove}, false);
}

TToolbarButtonEx::~TToolbarButtonEx() {
    Destroying();
    // A lit button lets go of the shared pointer and of the timer it served.
    if (g_lit == this) {
        g_lit = nullptr;
        if (g_mouseTimer) g_mouseTimer->SetEnabled(false);
    }
    repeatTimer_.reset();
    glyph_.OnChange = nullptr;
    UninstallHookProc(HookProc);
    if (--g_buttons == 0) {
        delete g_mouseTimer;
        g_mouseTimer = nullptr;
        delete g_pattern;
        g_pattern = nullptr;
    }
}

TToolbarButtonEx* TToolbarButtonEx::ButtonMouseInControl() { return g_lit; }
TTimer* TToolbarButtonEx::ButtonMouseTimer() { return g_mouseTimer; }
int TToolbarButtonEx::ButtonCount() { return g_buttons; }

void TToolbarButtonEx::HookProc(THookProcCode code, TControl*, WPARAM wParam, LPARAM lParam) {
    if (!g_lit) return;
    if (code == hpPostMouseMove) {
        if (ControlAt(TPoint(LParamX(lParam), LParamY(lParam))) != g_lit) g_lit->Unlight();
    } else if (code == hpSendActivateApp && wParam == 0) {
        if (!g_lit->ShowBorderWhenInactive) g_lit->Unlight();
    }
}

// ---- properties -----------------------------------------------------------------------------------

void TToolbarButtonEx::Redraw() { Invalidate(); }

void TToolbarButtonEx::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = v;
    state_ = !Enabled() ? bsDisabled : v ? bsExclusive : bsUp;
    Redraw();
    if (v) UpdateExclusive();
}

void TToolbarButtonEx::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TToolbarButtonEx*>(Parent()->Controls(i));
        if (!b || b == this || b->groupIndex_ != groupIndex_) continue;
        if (down_ && b->down_) {
            b->down_ = false;
            b->state_ = b->Enabled() ? bsUp : bsDisabled;
            b->Redraw();
        }
        b->allowAllUp_ = allowAllUp_;
    }
}

void TToolbarButtonEx::SetAllowAllUp(bool v) {
    allowAllUp_ = v;
    UpdateExclusive();
}

void TToolbarButtonEx::SetGroupIndex(int v) {
    groupIndex_ = v;
    UpdateExclusive();
}

void TToolbarButtonEx::SetImageIndex(int v) {
    if (v == glyph_.ImageIndex()) return;
    glyph_.SetImageIndex(v);
    if (glyph_.Images()) {
        glyph_.Invalidate();
        Redraw();
    }
}

void TToolbarButtonEx::SetImages(TImageList* v) {
    if (v == glyph_.Images()) return;
    if (glyph_.Images()) glyph_.Images()->RemoveFreeNotification(this);
    glyph_.SetImages(v);
    if (v) v->FreeNotification(this);
    Redraw();
}

void TToolbarButtonEx::SetGlyph(const TBitmap* b) {
    glyph_.Invalidate();
    glyph_.Glyph()->Assign(const_cast<TBitmap*>(b));
    Redraw();
}

void TToolbarButtonEx::SetGlyphMask(const TBitmap* b) {
    glyph_.Invalidate();
    glyph_.GlyphMask()->Assign(const_cast<TBitmap*>(b));
    Redraw();
}

void TToolbarButtonEx::SetNumGlyphs(int v) {
    glyph_.SetNumGlyphs(v <= 0 ? 1 : v);
    Redraw();
}

void TToolbarButtonEx::SetOldDisabledStyle(bool v) {
    if (v == glyph_.OldDisabledStyle) return;
    glyph_.OldDisabledStyle = v;
    glyph_.Invalidate();
    Redraw();
}

void TToolbarButtonEx::SetDisplayMode(TButtonDisplayMode v) {
    displayMode_ = v;
    Redraw();
}

void TToolbarButtonEx::SetDropdownAlways(bool v) {
    dropdownAlways_ = v;
    if (dropdownArrow_) Redraw();
}

void TToolbarButtonEx::SetDropdownArrow(bool v) {
    dropdownArrow_ = v;
    Redraw();
}

void TToolbarButtonEx::SetDropdownCombo(bool v) {
    if (v == dropdownCombo_) return;
    dropdownCombo_ = v;
    if (!IsLoading()) {
        if (v) SetWidth(Width() + kComboWidth);
        else SetWidth(std::max(Width() - kComboWidth, 1));
    }
    Redraw();
}

void TToolbarButtonEx::SetDropdownMenu(TPopupMenu* v) {
    if (v == dropdownMenu_) return;
    if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = v;
    if (v) v->FreeNotification(this);
    if (dropdownArrow_) Redraw();
}

void TToolbarButtonEx::SetFlat(bool v) {
    flat_ = v;
    if (opaque_ || !flat_) ControlStyle |= csOpaque;
    else ControlStyle &= ~csOpaque;
    Redraw();
}

void TToolbarButtonEx::SetOpaque(bool v) {
    opaque_ = v;
    if (opaque_ || !flat_) ControlStyle |= csOpaque;
    else ControlStyle &= ~csOpaque;
    Redraw();
}

void TToolbarButtonEx::SetLayout(TButtonLayout v) {
    layout_ = v;
    Redraw();
}

void TToolbarButtonEx::SetMargin(int v) {
    if (v < -1) return;
    margin_ = v;
    Redraw();
}

void TToolbarButtonEx::SetNoBorder(bool v) {
    noBorder_ = v;
    Redraw();
}

void TToolbarButtonEx::SetSpacing(int v) {
    spacing_ = v;
    Redraw();
}

void TToolbarButtonEx::SetWordWrap(bool v) {
    wordWrap_ = v;
    Redraw();
}

void TToolbarButtonEx::SetAlignment(TAlignment v) {
    alignment_ = v;
    Redraw();
}

void TToolbarButtonEx::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == dropdownMenu_) dropdownMenu_ = nullptr;
    if (component == glyph_.Images()) glyph_.SetImages(nullptr);
}

// ---- actions ----------------------------------------------------------------------------------

void TToolbarButtonEx::SetAction(TBasicAction* action) {
    if (action && !actionLink_) actionLink_ = std::make_unique<TToolbarButtonExActionLink>(this);
    TGraphicControl::SetAction(action);
}

void TToolbarButtonEx::ActionChange(TBasicAction* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* a = dynamic_cast<TCustomAction*>(sender);
    if (!a) return;
    if (!checkDefaults || !down_) SetDown(a->Checked());
    if (!checkDefaults || HelpContext == 0) HelpContext = a->HelpContext;
    if (!checkDefaults || ImageIndex() == -1) SetImageIndex(a->ImageIndex());
}

void TToolbarButtonEx::AssignTo(TPersistent* dest) {
    auto* a = dynamic_cast<TCustomAction*>(dest);
    if (!a) throw EConvertError("Cannot assign");
    a->SetCaption(Caption());
    a->SetEnabled(Enabled());
    a->SetHint(Hint());
    a->SetVisible(Visible());
    a->HelpContext = HelpContext;
    a->SetImageIndex(ImageIndex());
    a->SetChecked(down_);
}

// ---- mouse ---------------------------------------------------------------------------------------

void TToolbarButtonEx::Light() {
    if (g_lit == this) return;
    if (g_lit) g_lit->Unlight();
    if (!ShowBorderWhenInactive && !ApplicationIsActive()) return;
    g_lit = this;
    g_mouseTimer->SetEnabled(true);
    MouseEntered();
}

void TToolbarButtonEx::Unlight() {
    if (g_lit == this) {
        g_lit = nullptr;
        g_mouseTimer->SetEnabled(false);
    }
    MouseLeft();
}

void TToolbarButtonEx::MouseEntered() {
    if (!Enabled() || mouseInControl_) return;
    mouseInControl_ = true;
    if (state_ == bsUp) state_ = bsMouseIn;
    if (flat_ || NumGlyphs() >= 5) Redraw();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TToolbarButtonEx::MouseLeft() {
    if (!Enabled() || !mouseInControl_ || mouseIsDown_) return;
    mouseInControl_ = false;
    if (g_lit == this) {
        g_lit = nullptr;
        g_mouseTimer->SetEnabled(false);
    }
    TButtonStateEx old = state_;
    if (state_ == bsMouseIn || (state_ == bsDown && !inClick_)) state_ = down_ && groupIndex_ ? bsExclusive : bsUp;
    if (flat_ || NumGlyphs() >= 5 || old != state_) Redraw();
    if (OnMouseExit) OnMouseExit(this);
}

void TToolbarButtonEx::UpdateTracking() {
    if (!Enabled()) return;
    if (ControlAt(GetCursorPos()) == this) Light();
    else Unlight();
}

TRect TToolbarButtonEx::MainPart() const {
    TRect r = Rect(0, 0, Width(), Height());
    if (dropdownCombo_ && UsesDropdown()) r.Right -= kComboWidth;
    return r;
}

// The combo part's edge leaves the button's last two columns to the
// background, and the arrow (5 pixels from width - 9) stands at its middle.
TRect TToolbarButtonEx::ComboPart() const { return Rect(Width() - kComboWidth, 0, Width() - 2, Height()); }

// Down, the main part is drawn pushed and its content one pixel further,
// unless the press that holds it down was on the combo part.
bool TToolbarButtonEx::MainPartPushed() const {
    const bool isDown = state_ == bsDown || state_ == bsExclusive;
    return isDown && !(dropdownCombo_ && UsesDropdown() && menuIsDown_);
}

void TToolbarButtonEx::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (Enabled() && !dropPresses_) {
        if (button == mbLeft) {
            std::weak_ptr<char> alive = Alive();
            MouseEntered();
            menuIsDown_ = UsesDropdown() && (!dropdownCombo_ || x >= Width() - kComboWidth);
            if (!down_) {
                state_ = bsDown;
                Redraw();
            } else if (allowAllUp_) {
                Redraw();
            }
            if (!menuIsDown_) mouseIsDown_ = true;
            if (menuIsDown_) {
                Click();
            } else if (Repeating) {
                Click();
                if (alive.expired()) return;
                if (!repeatTimer_) {
                    repeatTimer_ = std::make_unique<TTimer>(nullptr);
                    repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
                }
                repeatTimer_->SetInterval(unsigned(std::max(RepeatDelay, 1)));
                repeatTimer_->SetEnabled(true);
            }
            if (alive.expired()) return;
            menuIsDown_ = false;
        } else {
            MouseEntered();
        }
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TToolbarButtonEx::RepeatTick() {
    if (!repeatTimer_) return;
    repeatTimer_->SetInterval(unsigned(std::max(RepeatInterval, 1)));
    TPoint p = ScreenToClient(GetCursorPos());
    bool inside = PtInRect(MainPart(), p);
    if (Repeating && mouseIsDown_ && inside) Click();
    else repeatTimer_->SetEnabled(false);
}

void TToolbarButtonEx::MouseMove(TShiftState shift, int x, int y) {
    if (!mouseInControl_ || g_lit != this) {
        if (ControlAt(ClientToScreen(TPoint(x, y))) == this) Light();
    }
    if (mouseIsDown_) {
        bool inside = PtInRect(MainPart(), TPoint(x, y));
        if (inside && repeatTimer_) repeatTimer_->SetEnabled(true);
        TButtonStateEx s = down_ ? bsExclusive : inside ? bsDown : bsUp;
        if (s != state_) {
            state_ = s;
            Redraw();
        }
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TToolbarButtonEx::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    repeatTimer_.reset();
    std::weak_ptr<char> alive = Alive();
    if (button == mbRight && Enabled()) {
        mouseIsDown_ = false;
        Unlight();
    } else if (button == mbLeft && mouseIsDown_) {
        mouseIsDown_ = false;
        bool inside = PtInRect(Rect(0, 0, Width(), Height()), TPoint(x, y));
        if (inside && !Repeating) Click();
        else MouseLeft();
    }
    if (alive.expired()) return;
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolbarButtonEx::DblClick() {
    TGraphicControl::DblClick();
    if (down_) Click();
}

void TToolbarButtonEx::Click() {
    std::weak_ptr<char> alive = Alive();
    if (Repeating && !menuIsDown_) {
        TGraphicControl::Click();
        return;
    }
    inClick_ = true;
    if (groupIndex_ && !menuIsDown_) SetDown(!down_);
    if (ButtonsStayDown) {
        if (state_ == bsUp || state_ == bsMouseIn) {
            state_ = bsDown;
            Redraw();
        }
    } else if (state_ == bsDown) {
        state_ = down_ && groupIndex_ ? bsExclusive : bsUp;
        Redraw();
    }
    MouseLeft();
    if (UsesDropdown() && (!dropdownCombo_ || menuIsDown_)) {
        if (!dropdownCombo_) TGraphicControl::Click();
        if (alive.expired()) return;
        Repaint();
        ShowDropdown();
    } else {
        if (TForm* f = GetToolWindowParentForm(this)) f->ModalResult = ModalResult;
        TGraphicControl::Click();
    }
    if (alive.expired()) return;
    inClick_ = false;
    if (state_ == bsDown) state_ = bsUp;
    if (!IsDestroying()) {
        Redraw();
        UpdateTracking();
    }
}

void TToolbarButtonEx::ShowDropdown() {
    bool showMenu = dropdownMenu_ != nullptr;
    bool removeClicks = true;
    if (OnDropdown) OnDropdown(this, showMenu, removeClicks);
    if (!dropdownMenu_ || !showMenu) return;
    auto* toolbar = dynamic_cast<TCustomToolbarEx*>(Parent());
    TDockEx* dock = toolbar && toolbar->Docked() ? toolbar->DockedTo() : nullptr;
    TPoint at;
    TPopupAlignment align = paLeft;
    if (dock && dock->Position() == dpLeft) {
        at = ClientToScreen(TPoint(Width(), 0));
    } else if (dock && dock->Position() == dpRight) {
        at = ClientToScreen(TPoint(0, 0));
        align = paRight;
    } else {
        at = ClientToScreen(TPoint(0, Height()));
    }
    TPopupMenu* menu = dropdownMenu_;
    TPopupAlignment keep = menu->Alignment;
    menu->Alignment = align;
    menu->PopupComponent = this;
    std::weak_ptr<char> alive = Alive();
    // The press that closes the menu must not open it again: presses on the
    // button are dropped until the events of the closing click are through.
    if (removeClicks) dropPresses_ = true;
    menu->Popup(at.x, at.y);
    menu->Alignment = keep;
    if (alive.expired()) return;
    if (removeClicks)
        PostCall([this, alive] {
            if (!alive.expired()) dropPresses_ = false;
        });
}

// ---- messages --------------------------------------------------------------------------------------

void TToolbarButtonEx::EnabledChanged() {
    if (!Enabled()) {
        state_ = bsDisabled;
        if (g_lit == this) {
            g_lit = nullptr;
            g_mouseTimer->SetEnabled(false);
        }
        mouseInControl_ = false;
        mouseIsDown_ = false;
        repeatTimer_.reset();
        SetMouseCapture(false);
    } else if (state_ == bsDisabled) {
        state_ = down_ && groupIndex_ ? bsExclusive : bsUp;
    }
    Redraw();
}

void TToolbarButtonEx::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
        EnabledChanged();
        break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Redraw();
        break;
    case CM_SYSCOLORCHANGE:
        delete g_pattern;
        g_pattern = nullptr;
        glyph_.Invalidate();
        Redraw();
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        repeatTimer_.reset();
        if (mouseIsDown_) {
            mouseIsDown_ = false;
            Unlight();
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // Lighting follows the control under the cursor, not these.
        return;
    case CM_DIALOGKEY: {
        WORD key = WORD(m.WParam);
        bool noShift = (TShiftState(m.LParam) & (ssShift | ssCtrl | ssAlt)) == 0;
        if (noShift && ((key == VK_RETURN && Default) || (key == VK_ESCAPE && Cancel)) && Enabled() && Visible()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR: {
        char ch = char(m.WParam);
        AnsiString caption = Caption();
        int amp = caption.Pos("&");
        bool matches = amp > 0 && amp < caption.Length() && AnsiUpperChar((unsigned char)caption[amp + 1]) == AnsiUpperChar((unsigned char)ch);
        auto* parent = Parent();
        if (matches && displayMode_ != dmGlyphOnly && Enabled() && Visible() && parent && parent->CanFocus()) {
            Click();
            m.Result = 1;
            return;
        }
        break;
    }
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

// ---- painting -----------------------------------------------------------------------------------

TButtonContentLayout TToolbarButtonEx::ContentLayout() {
    TButtonContentLayout L;
    TRect content = MainPart();
    if (!noBorder_) InflateRect(content, flat_ ? -1 : -2, flat_ ? -1 : -2);
    L.ContentArea = content;
    int cw = content.Width(), ch = content.Height();
    L.ShowGlyph = displayMode_ != dmTextOnly;
    L.ShowText = displayMode_ != dmGlyphOnly;
    L.ShowArrow = dropdownArrow_ && !dropdownCombo_ && UsesDropdown();
    TSize g = L.ShowGlyph ? glyph_.GlyphSize() : TSize(0, 0);
    int gw = g.cx, gh = g.cy;
    int aw = L.ShowArrow ? 9 : 0, ah = L.ShowArrow ? 3 : 0;
    TButtonLayout layout = layout_;
    if ((layout == blGlyphTop || layout == blGlyphBottom) && gw == 0) layout = blGlyphLeft;
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    int spacing = spacing_, margin = margin_;
    AnsiString text = L.ShowText ? Caption() : AnsiString();
    int tw = 0, th = 0;
    unsigned align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    unsigned flags = align | DT_VCENTER | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (!text.IsEmpty()) {
        int box = cw - (horizontal ? aw : 0);
        if (wordWrap_ && horizontal && gw > 0)
            box -= gw + (spacing == -1 ? 4 : spacing) + 2 * (margin != -1 ? margin : spacing != -1 ? spacing : 4);
        TRect r = Rect(0, 0, std::max(box, 0), 0);
        TCanvas* c = Canvas();
        c->Font()->Assign(Font());
        c->DrawText(text, r, flags | DT_CALCRECT);
        tw = r.Width();
        th = r.Height();
    }
    TPoint gp, tp, ap;
    if (horizontal) {
        gp.y = (ch - gh + 1) / 2;
        tp.y = (ch - th + 1) / 2;
    } else {
        gp.x = (cw - gw - aw + 1) / 2;
        tp.x = (cw - tw + 1) / 2;
    }
    if (tw == 0 || gw == 0) spacing = 0;
    int total = horizontal ? gw + tw + aw : gh + th;
    int avail = horizontal ? cw : ch;
    if (margin == -1) {
        if (spacing != -1) {
            margin = (avail - (total + spacing) + 1) / 2;
        } else {
            margin = (avail - total) / 3;
            spacing = margin;
        }
    } else if (spacing == -1) {
        spacing = (avail - margin - total) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        gp.x = margin;
        tp.x = margin + gw + spacing;
        ap.x = tp.x + tw;
        break;
    case blGlyphRight:
        ap.x = cw - margin - aw;
        gp.x = ap.x - gw;
        tp.x = gp.x - spacing - tw;
        break;
    case blGlyphTop:
        gp.y = margin;
        tp.y = margin + gh + spacing;
        break;
    case blGlyphBottom:
        gp.y = ch - margin - gh;
        tp.y = gp.y - spacing - th;
        break;
    }
    if (!horizontal) ap.x = gw ? gp.x + gw : tp.x + tw;
    ap.y = gw ? gp.y + (gh - ah) / 2 : tp.y + (th - ah) / 2;
    int off = MainPartPushed() ? 1 : 0;
    TPoint o(content.Left + off, content.Top + off);
    L.GlyphSize = TSize(gw, gh);
    L.GlyphPos = TPoint(gp.x + o.x, gp.y + o.y);
    L.TextRect = Bounds(tp.x + o.x, tp.y + o.y, tw, th);
    L.ArrowPos = TPoint(ap.x + o.x, ap.y + o.y);
    L.ShowText = !text.IsEmpty();
    return L;
}

void TToolbarButtonEx::Paint() {
    TCanvas* c = Canvas();
    TRect whole = Rect(0, 0, Width(), Height());
    if (opaque_ || !flat_) FillSolid(c, whole, Color());
    else if (auto* t = dynamic_cast<TCustomToolbarEx*>(Parent())) t->PaintChildBackground(this, c);
    else FillSolid(c, whole, Parent() ? Parent()->Color() : Color());

    bool isDown = state_ == bsDown || state_ == bsExclusive;
    bool lit = mouseInControl_ && Enabled();
    bool combo = dropdownCombo_ && UsesDropdown();
    TRect main = MainPart();
    bool border = !noBorder_ && (!flat_ || isDown || lit);
    if (border) {
        DrawButtonEdge(c, main, flat_, MainPartPushed());
        if (combo) DrawButtonEdge(c, ComboPart(), flat_, isDown && menuIsDown_);
    }
    TButtonContentLayout L = ContentLayout();
    if (state_ == bsExclusive && !(flat_ && lit)) {
        c->Brush()->SetBitmap(PatternBitmap());
        c->FillRect(L.ContentArea);
        c->Brush()->SetBitmap(nullptr);
    }
    if (L.ShowGlyph) glyph_.DrawGlyph(c, L.GlyphPos, state_);
    if (L.ShowText) {
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsClear);
        unsigned align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
        unsigned flags = align | DT_VCENTER | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
        TRect r = L.TextRect;
        if (state_ == bsDisabled) {
            TRect shifted = r;
            OffsetRect(shifted, 1, 1);
            c->Font()->SetColor(clBtnHighlight);
            c->DrawText(Caption(), shifted, flags);
            c->Font()->SetColor(clBtnShadow);
        }
        c->DrawText(Caption(), r, flags);
        c->Brush()->SetStyle(bsSolid);
    }
    auto arrow = [&](TPoint at) {
        if (state_ == bsDisabled) {
            DrawArrow(c, TPoint(at.x + 1, at.y + 1), clBtnHighlight);
            DrawArrow(c, at, clBtnShadow);
        } else {
            DrawArrow(c, at, Font()->Color());
        }
    };
    if (L.ShowArrow) arrow(L.ArrowPos);
    if (combo) arrow(TPoint(Width() - 13, Height() / 2 - 1));
}
