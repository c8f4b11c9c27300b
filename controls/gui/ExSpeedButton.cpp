#include "controls/gui/ExSpeedButton.h"

#include <algorithm>
#include <map>

#include "controls/CtlUtils.h"
#include "controls/gui/CtlUtils.h"
#include "platform/ScopeGuard.h"
#include "platform/gui/Actions.h"
#include "platform/gui/Forms.h"

// ---- the glyph cache ------------------------------------------------------------------

// An image list whose slots are taken and freed by the glyphs of one size.
class TGlyphList : public TImageList {
public:
    TGlyphList(int w, int h) {
        SetSize(w, h);
    }
    // The first free slot takes the image (the list grows by one when full).
    int AddMasked(TBitmap* image, TColor maskColor) {
        TBitmap mask;
        mask.Assign(image);
        mask.Mask(maskColor);
        // Mask() makes the mask colour white: white is what does not show.
        for (std::size_t i = 0; i < used_.size(); ++i) {
            if (!used_[i]) {
                Replace(int(i), image, &mask);
                used_[i] = true;
                return int(i);
            }
        }
        int index = Add(image, &mask);
        used_.resize(std::size_t(index) + 1, false);
        used_[std::size_t(index)] = true;
        return index;
    }
    void Release(int index) {
        if (index >= 0 && std::size_t(index) < used_.size()) used_[std::size_t(index)] = false;
    }
    int UseCount = 0;

private:
    std::vector<bool> used_;
};

namespace {

struct GlyphCache {
    std::map<std::pair<int, int>, std::unique_ptr<TGlyphList>> lists;
};

std::unique_ptr<GlyphCache>& Cache() {
    static std::unique_ptr<GlyphCache> cache;
    return cache;
}

int g_glyphObjects = 0;
int g_speedButtons = 0;

TGlyphList* TakeList(int w, int h) {
    if (!Cache()) Cache() = std::make_unique<GlyphCache>();
    auto& slot = Cache()->lists[{w, h}];
    if (!slot) slot = std::make_unique<TGlyphList>(w, h);
    ++slot->UseCount;
    return slot.get();
}

void ReturnList(TGlyphList* list) {
    if (!list || !Cache()) return;
    if (--list->UseCount > 0) return;
    for (auto it = Cache()->lists.begin(); it != Cache()->lists.end(); ++it) {
        if (it->second.get() == list) {
            Cache()->lists.erase(it);
            break;
        }
    }
}

void ReleaseCacheIfUnused() {
    if (g_glyphObjects == 0 && Cache() && Cache()->lists.empty()) Cache().reset();
}

} // namespace

int GlyphCacheListCount() { return Cache() ? int(Cache()->lists.size()) : 0; }

TColor GrayedColor(TColor color, TColor transparentColor) {
    TColor rgb = ColorToRGB(color);
    if (rgb == ColorToRGB(transparentColor) || rgb == ColorToRGB(clBtnFace)) return rgb;
    int gray = (77 * GetRValue(rgb) + 150 * GetGValue(rgb) + 29 * GetBValue(rgb)) >> 8;
    return RGB(gray, gray, gray);
}

int SpeedButtonCount() { return g_speedButtons; }

// ---- TExButtonGlyph --------------------------------------------------------------------

TExButtonGlyph::TExButtonGlyph() : glyph_(std::make_unique<TBitmap>()) {
    ++g_glyphObjects;
    glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
}

TExButtonGlyph::~TExButtonGlyph() {
    glyph_->OnChange = nullptr;
    Invalidate();
    --g_glyphObjects;
    ReleaseCacheIfUnused();
}

void TExButtonGlyph::SetGlyph(TBitmap* glyph) {
    if (glyph) glyph_->Assign(glyph);
    else glyph_->Assign(nullptr);
    GlyphChanged();
}

void TExButtonGlyph::SetNumGlyphs(int n) {
    if (n < 1) return;
    n = std::min(n, 5);
    if (n == numGlyphs_) return;
    numGlyphs_ = n;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TExButtonGlyph::GlyphChanged() {
    Invalidate();
    if (!glyph_->Empty()) {
        transparentColor_ = glyph_->TransparentColor();
        int w = glyph_->Width(), h = glyph_->Height();
        if (h > 0 && w % h == 0) {
            int n = w / h;
            numGlyphs_ = n > 5 ? 1 : n;
        }
    }
    if (OnChange) OnChange(this);
}

void TExButtonGlyph::Invalidate() {
    for (int& index : indexes_) {
        if (index >= 0 && list_) list_->Release(index);
        index = -1;
    }
    if (list_) {
        ReturnList(list_);
        list_ = nullptr;
    }
}

TSize TExButtonGlyph::GlyphSize() const {
    if (glyph_->Empty()) return TSize(0, 0);
    return TSize(glyph_->Width() / std::max(numGlyphs_, 1), glyph_->Height());
}

int TExButtonGlyph::CreateButtonGlyph(TExButtonState state) {
    if (glyph_->Empty()) return -1;
    if (state == rbsDown && numGlyphs_ < 3) state = rbsUp;
    if (indexes_[state] >= 0) return indexes_[state];
    TSize cellSize = GlyphSize();
    if (cellSize.cx <= 0) return -1;
    auto cellOf = [&](int cell, TBitmap& out) {
        out.SetSize(cellSize.cx, cellSize.cy);
        out.Canvas()->CopyRect(Rect(0, 0, cellSize.cx, cellSize.cy), glyph_->Canvas(),
                               Bounds(cell * cellSize.cx, 0, cellSize.cx, cellSize.cy));
    };
    TBitmap image;
    TColor mask = transparentColor_;
    switch (state) {
    case rbsDisabled:
        if (numGlyphs_ < 2) {
            TBitmap cell;
            cellOf(0, cell);
            if (transparentColor_ != clNone) {
                cell.SetTransparentColor(transparentColor_);
                cell.SetTransparent(true);
            }
            std::unique_ptr<TBitmap> disabled(CreateDisabledBitmapEx(&cell, clBlack, clBtnFace, clBtnHighlight,
                                                                     clBtnShadow, true));
            image.Assign(disabled.get());
            mask = ColorToRGB(clBtnFace);
        } else {
            cellOf(1, image);
        }
        break;
    case rbsInactive:
        if (numGlyphs_ == 5) {
            cellOf(4, image);
        } else {
            cellOf(0, image);
            for (int y = 0; y < image.Height(); ++y)
                for (int x = 0; x < image.Width(); ++x)
                    image.Canvas()->SetPixels(x, y, GrayedColor(image.Canvas()->Pixels(x, y), transparentColor_));
        }
        break;
    default:
        cellOf(int(state) < numGlyphs_ ? int(state) : 0, image);
        break;
    }
    if (!list_) list_ = TakeList(cellSize.cx, cellSize.cy);
    indexes_[state] = list_->AddMasked(&image, mask);
    glyph_->Dormant();
    return indexes_[state];
}

int TExButtonGlyph::CreateImageGlyph(TExButtonState state, TImageList* images, int index) {
    if (!images || index < 0 || index >= images->Count()) return -1;
    if (state == rbsDown && numGlyphs_ < 3) state = rbsUp;
    if (indexes_[state] >= 0) return indexes_[state];
    TBitmap image;
    image.SetSize(images->Width(), images->Height());
    image.Canvas()->Brush()->SetColor(clBtnFace);
    image.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    if (state == rbsDisabled) ImageListDrawDisabled(images, image.Canvas(), 0, 0, index, clBtnHighlight, clBtnShadow, true);
    else images->Draw(image.Canvas(), 0, 0, index, true);
    if (state == rbsInactive)
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                image.Canvas()->SetPixels(x, y, GrayedColor(image.Canvas()->Pixels(x, y), clBtnFace));
    if (!list_) list_ = TakeList(images->Width(), images->Height());
    indexes_[state] = list_->AddMasked(&image, ColorToRGB(clBtnFace));
    return indexes_[state];
}

void TExButtonGlyph::DrawButtonGlyph(TCanvas* canvas, TPoint pos, TExButtonState state) {
    int index = CreateButtonGlyph(state);
    if (index >= 0 && list_) list_->Draw(canvas, pos.x, pos.y, index);
}

void TExButtonGlyph::DrawButtonImage(TCanvas* canvas, TPoint pos, TExButtonState state, TImageList* images,
                                     int index) {
    int made = CreateImageGlyph(state, images, index);
    if (made >= 0 && list_) list_->Draw(canvas, pos.x, pos.y, made);
}

void TExButtonGlyph::DrawButtonText(TCanvas* canvas, const AnsiString& caption, TRect bounds, TExButtonState state,
                                    unsigned flags) {
    canvas->Brush()->SetStyle(bsClear);
    unsigned format = DT_VCENTER | flags;
    format |= Alignment == taRightJustify ? unsigned(DT_RIGHT) : Alignment == taCenter ? unsigned(DT_CENTER) : 0u;
    if (WordWrap) format |= DT_WORDBREAK;
    TColor saved = canvas->Font()->Color();
    if (state == rbsDisabled) {
        TRect r = bounds;
        OffsetRect(r, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        canvas->DrawText(caption, r, format);
        canvas->Font()->SetColor(clBtnShadow);
        canvas->DrawText(caption, bounds, format);
    } else {
        canvas->DrawText(caption, bounds, format);
    }
    canvas->Font()->SetColor(saved);
}

void TExButtonGlyph::DrawPopupMark(TCanvas* canvas, int x, int y, TExButtonState state) {
    auto triangle = [canvas](int x0, int y0, TColor color) {
        canvas->Pen()->SetColor(color);
        canvas->Pen()->SetMode(pmCopy);
        for (int row = 0; row < 4; ++row) {
            canvas->MoveTo(x0 + row, y0 - 1 + row);
            canvas->LineTo(x0 + 7 - row, y0 - 1 + row);
        }
    };
    if (state == rbsDisabled) {
        triangle(x + 1, y + 1, clBtnHighlight);
        triangle(x, y, clBtnShadow);
    } else {
        triangle(x, y, clBtnText);
    }
}

void TExButtonGlyph::CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, AnsiString& caption,
                                      TButtonLayout layout, int margin, int spacing, bool popupMark,
                                      TPoint& glyphPos, TRect& textBounds, unsigned flags, TImageList* images) {
    TSize glyphSize = images ? TSize(images->Width(), images->Height()) : GlyphSize();
    TSize clientSize(client.Width(), client.Height());
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    bool markBeside = popupMark && (glyphSize.cx == 0 || layout == blGlyphLeft);
    int availW = clientSize.cx, availH = clientSize.cy;
    if (horizontal) {
        availW -= glyphSize.cx + (margin != -1 ? margin : 0) + (spacing != -1 ? spacing : 0);
    } else {
        availH -= glyphSize.cy + (margin != -1 ? margin : 0) + (spacing != -1 ? spacing : 0);
    }
    if (markBeside) availW -= 9;
    availW = std::max(availW, 0);
    availH = std::max(availH, 0);
    TSize textSize(0, 0);
    if (!caption.IsEmpty()) {
        if (!WordWrap) {
            // Each line cut to the room there is.
            TStringList lines;
            lines.SetText(caption);
            AnsiString cut;
            for (int i = 0; i < lines.Count(); ++i) {
                if (i) cut += "\r\n";
                cut += MinimizeText(lines.Get(i), canvas, availW);
            }
            caption = cut;
        }
        TRect measure = Rect(0, 0, availW, 0);
        unsigned format = DT_CALCRECT | DT_CENTER | DT_VCENTER | flags | (WordWrap ? unsigned(DT_WORDBREAK) : 0u);
        canvas->DrawText(caption, measure, format);
        textSize = TSize(std::min(measure.Width(), availW), std::min(measure.Height(), availH));
    }
    if (popupMark) {
        if (markBeside) textSize.cx += 9;
        else glyphSize.cx += 6;
    }
    TPoint textPos;
    if (horizontal) {
        glyphPos.y = (clientSize.cy - glyphSize.cy) / 2;
        textPos.y = (clientSize.cy - textSize.cy) / 2;
    } else {
        glyphPos.x = (clientSize.cx - glyphSize.cx) / 2;
        textPos.x = (clientSize.cx - textSize.cx) / 2;
    }
    if (textSize.cx == 0 || glyphSize.cx == 0) spacing = 0;
    int extent = horizontal ? clientSize.cx : clientSize.cy;
    int g = horizontal ? glyphSize.cx : glyphSize.cy;
    int t = horizontal ? textSize.cx : textSize.cy;
    if (margin == -1) {
        if (spacing == -1) {
            int total = g + t;
            margin = (extent - total) / 3;
            spacing = margin;
        } else {
            int total = g + spacing + t;
            margin = (extent - total) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - (margin + g) - t) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.x = margin;
        textPos.x = glyphPos.x + glyphSize.cx + spacing;
        break;
    case blGlyphRight:
        glyphPos.x = clientSize.cx - margin - glyphSize.cx;
        textPos.x = glyphPos.x - spacing - textSize.cx;
        break;
    case blGlyphTop:
        glyphPos.y = margin;
        textPos.y = glyphPos.y + glyphSize.cy + spacing;
        break;
    case blGlyphBottom:
        glyphPos.y = clientSize.cy - margin - glyphSize.cy;
        textPos.y = glyphPos.y - spacing - textSize.cy;
        break;
    }
    glyphPos.x += client.Left + offset.x;
    glyphPos.y += client.Top + offset.y;
    textBounds = Bounds(textPos.x + client.Left + offset.x, textPos.y + client.Top + offset.y, textSize.cx,
                        textSize.cy);
    if (markBeside) textBounds.Right -= 9;
}

TRect TExButtonGlyph::Draw(TCanvas* canvas, const TRect& client, TPoint offset, const AnsiString& caption,
                           TButtonLayout layout, int margin, int spacing, bool popupMark, TExButtonState state,
                           unsigned flags) {
    return DrawEx(canvas, client, offset, caption, layout, margin, spacing, popupMark, nullptr, -1, state, flags);
}

TRect TExButtonGlyph::DrawEx(TCanvas* canvas, const TRect& client, TPoint offset, const AnsiString& caption,
                             TButtonLayout layout, int margin, int spacing, bool popupMark, TImageList* images,
                             int index, TExButtonState state, unsigned flags) {
    AnsiString text = caption;
    TPoint glyphPos;
    TRect textBounds;
    bool useImages = images && index >= 0 && index < images->Count();
    CalcButtonLayout(canvas, client, offset, text, layout, margin, spacing, popupMark, glyphPos, textBounds, flags,
                     useImages ? images : nullptr);
    if (useImages) DrawButtonImage(canvas, glyphPos, state, images, index);
    else DrawButtonGlyph(canvas, glyphPos, state);
    DrawButtonText(canvas, text, textBounds, state, flags);
    if (popupMark) {
        TSize gs = useImages ? TSize(images->Width(), images->Height()) : GlyphSize();
        int x, y;
        if (gs.cx > 0 && layout != blGlyphLeft) {
            x = glyphPos.x + gs.cx + 1;
            y = glyphPos.y + gs.cy / 2;
        } else {
            x = text.IsEmpty() ? (client.Left + client.Right - 7) / 2 : textBounds.Right + 3;
            y = (textBounds.Top + textBounds.Bottom) / 2;
        }
        DrawPopupMark(canvas, x, y, state);
    }
    return textBounds;
}

// ---- TExSpeedButton ------------------------------------------------------------------------

TExSpeedButton::TExSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TExButtonGlyph>()), drawImage_(std::make_unique<TBitmap>()) {
    ++g_speedButtons;
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    ControlStyle = csCaptureMouse | csOpaque | csDoubleClicks | csReplicatable;
    SetParentShowHint(false);
    SetShowHint(true);
    SetBounds(0, 0, 25, 25);
}

TExSpeedButton::~TExSpeedButton() {
    Destroying();
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    --g_speedButtons;
}

void TExSpeedButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == dropDownMenu_) {
        dropDownMenu_ = nullptr;
        Invalidate();
    }
}

void TExSpeedButton::SetAllowAllUp(bool v) {
    allowAllUp_ = v;
    GroupChanged(false);
}

void TExSpeedButton::SetAllowTimer(bool v) {
    allowTimer_ = v;
    if (!v && repeatTimer_) {
        delete repeatTimer_;
        repeatTimer_ = nullptr;
    }
}

void TExSpeedButton::SetGroupIndex(int v) {
    if (v == groupIndex_) return;
    groupIndex_ = v;
    GroupChanged(false);
}

void TExSpeedButton::GroupChanged(bool wentDown) {
    if (!Parent() || groupIndex_ == 0) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TExSpeedButton*>(Parent()->Controls(i));
        if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
        if (wentDown && other->down_) {
            other->down_ = false;
            other->state_ = rbsUp;
            other->Invalidate();
        }
        other->allowAllUp_ = allowAllUp_;
    }
}

void TExSpeedButton::SetDown(bool v) {
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    if (down_ && !allowAllUp_) return; // a group keeps one button down
    down_ = v;
    if (v) {
        if (state_ == rbsUp) Invalidate();
        state_ = rbsExclusive;
    } else {
        state_ = rbsUp;
    }
    Repaint();
    if (v) GroupChanged(true);
}

void TExSpeedButton::SetDropDownMenu(TPopupMenu* menu) {
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = menu;
    if (menu) menu->FreeNotification(this);
    if (markDropDown_) Invalidate();
}

void TExSpeedButton::SetMarkDropDown(bool v) {
    if (v == markDropDown_) return;
    markDropDown_ = v;
    Invalidate();
}

void TExSpeedButton::SetFlat(bool v) {
    if (v == flat_) return;
    flat_ = v;
    Invalidate();
}

void TExSpeedButton::SetGrayedInactive(bool v) {
    if (v == grayedInactive_) return;
    grayedInactive_ = v;
    Invalidate();
}

void TExSpeedButton::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    Invalidate();
}

void TExSpeedButton::SetGlyph(TBitmap* b) {
    glyph_->SetGlyph(b);
    Invalidate();
}

void TExSpeedButton::SetNumGlyphs(int n) {
    glyph_->SetNumGlyphs(std::min(n, 5));
    Invalidate();
}

void TExSpeedButton::SetLayout(TButtonLayout l) {
    if (l == layout_) return;
    layout_ = l;
    Invalidate();
}

void TExSpeedButton::SetMargin(int m) {
    if (m < -1 || m == margin_) return;
    margin_ = m;
    Invalidate();
}

void TExSpeedButton::SetSpacing(int s) {
    if (s == spacing_) return;
    spacing_ = s;
    Invalidate();
}

void TExSpeedButton::SetAlignment(TAlignment a) {
    glyph_->Alignment = a;
    Invalidate();
}

void TExSpeedButton::SetWordWrap(bool v) {
    glyph_->WordWrap = v;
    Invalidate();
}

void TExSpeedButton::SetStyle(TButtonStyle s) {
    if (s == style_) return;
    style_ = s;
    Invalidate();
}

void TExSpeedButton::SetEnabled(bool v) {
    TGraphicControl::SetEnabled(v);
    if (!v) dragging_ = false;
    glyph_->CreateButtonGlyph(!v ? rbsDisabled : flat_ ? rbsInactive : rbsUp);
    UpdateTracking();
    Invalidate();
}

void TExSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    glyph_->CreateButtonGlyph(!Enabled() ? rbsDisabled : flat_ ? rbsInactive : rbsUp);
}

TExButtonState TExSpeedButton::PaintState() const {
    if (flat_ && !mouseInside_ && !(ComponentState() & csDesigning)) return rbsInactive;
    return state_;
}

TRect TExSpeedButton::DrawButtonFrame(TCanvas* canvas, TRect r, bool pressed) {
    bool newStyle = NewStyle();
    if (!pressed) {
        if (newStyle) {
            if (!flat_) Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
            Frame3D(canvas, r, flat_ ? clBtnHighlight : clBtnFace, clBtnShadow, 1);
        } else if (flat_) {
            Frame3D(canvas, r, clBtnHighlight, clWindowFrame, 1);
        } else {
            Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
            Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
        }
    } else {
        if (newStyle) {
            Frame3D(canvas, r, clWindowFrame, clBtnHighlight, 1);
            if (!flat_) Frame3D(canvas, r, clBtnShadow, clBtnFace, 1);
        } else if (flat_) {
            Frame3D(canvas, r, clWindowFrame, clBtnHighlight, 1);
        } else {
            Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
            canvas->Pen()->SetColor(clBtnShadow);
            canvas->MoveTo(r.Left, r.Bottom - 1);
            canvas->LineTo(r.Left, r.Top);
            canvas->LineTo(r.Right, r.Top);
        }
    }
    InflateRect(r, -1, -1);
    return r;
}

void TExSpeedButton::Paint() {
    if (Enabled() && state_ == rbsDisabled) state_ = (down_ && groupIndex_ != 0) ? rbsExclusive : rbsUp;
    if (!Enabled()) {
        state_ = rbsDisabled;
        dragging_ = false;
    }
    TExButtonState paintState = PaintState();
    int w = std::max(Width(), 1), h = std::max(Height(), 1);
    drawImage_->SetSize(w, h);
    TCanvas* c = drawImage_->Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, w, h));
    if (transparent_) CopyParentImage(this, c);
    TRect content = Rect(0, 0, w, h);
    bool pressed = state_ == rbsDown || state_ == rbsExclusive;
    if (!(paintState == rbsInactive && state_ != rbsExclusive)) content = DrawButtonFrame(c, content, pressed);
    else InflateRect(content, -2, -2);
    if (state_ == rbsExclusive && !transparent_ && (!flat_ || paintState == rbsInactive)) {
        std::unique_ptr<TBitmap> pattern(CreateTwoColorsBrushPattern(clBtnFace, clBtnHighlight));
        c->Brush()->SetBitmap(pattern.get());
        c->FillRect(content);
        c->Brush()->SetBitmap(nullptr);
    }
    TPoint offset = pressed ? TPoint(1, 1) : TPoint(0, 0);
    TExButtonState glyphState = !Enabled() ? rbsDisabled : grayedInactive_ ? paintState : state_;
    glyph_->Draw(c, content, offset, Caption(), layout_, margin_, spacing_, markDropDown_ && dropDownMenu_,
                 glyphState, 0);
    Canvas()->Draw(0, 0, drawImage_.get());
}

void TExSpeedButton::Click() {
    if (ModalResult != 0)
        if (TForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
    TGraphicControl::Click();
}

TPoint TExSpeedButton::GetDropDownMenuPos() const {
    TPopupAlignment a = dropDownMenu_ ? dropDownMenu_->Alignment : paLeft;
    if (MenuPosition == dmpBottom) {
        switch (a) {
        case paLeft: return TPoint(-1, Height());
        case paRight: return TPoint(Width() + 1, Height());
        default: return TPoint(Width() / 2, Height());
        }
    }
    switch (a) {
    case paLeft: return TPoint(Width(), -1);
    case paRight: return TPoint(-1, -1);
    default: return TPoint(Width() / 2, Height());
    }
}

bool TExSpeedButton::CheckMenuDropDown(TPoint pos, bool manual) {
    if (ComponentState() & csDesigning) return false;
    if (!dropDownMenu_ || !(dropDownMenu_->AutoPopup || manual)) return false;
    if (TForm* form = GetParentForm(this)) form->SetMouseCapture(false);
    dropDownMenu_->PopupComponent = this;
    TPoint screen = ClientToScreen(pos);
    dropDownMenu_->Popup(screen.x, screen.y);
    return true;
}

bool TExSpeedButton::CheckBtnMenuDropDown(bool manual) { return CheckMenuDropDown(GetDropDownMenuPos(), manual); }

void TExSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (menuTracking_) return;
    if (dropPresses_ && button == mbLeft && PtInRect(ClientRect(), TPoint(x, y))) return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (Enabled()) mouseInside_ = true;
    if (button != mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = rbsDown;
        Repaint();
    }
    dragging_ = true;
    menuTracking_ = true;
    if (dropDownMenu_ && dropDownMenu_->AutoPopup) {
        std::weak_ptr<char> alive = Alive();
        if (CheckMenuDropDown(GetDropDownMenuPos(), false)) {
            if (alive.expired()) return;
            DoMouseUp(button, shift, -1, -1);
            // The click that closed the menu on this button must not open it
            // again: left presses already waiting are dropped.
            dropPresses_ = true;
            PostCall([this, alive] {
                if (!alive.expired()) dropPresses_ = false;
            });
        }
    }
    menuTracking_ = false;
    if (allowTimer_) {
        if (!repeatTimer_) {
            repeatTimer_ = new TTimer(this);
            repeatTimer_->OnTimer = [this](TObject*) { TimerExpired(); };
        }
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(unsigned(std::max(InitPause, 1)));
        repeatTimer_->SetEnabled(true);
    }
}

void TExSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    bool inside = PtInRect(ClientRect(), TPoint(x, y));
    TExButtonState next = inside ? (down_ ? rbsExclusive : rbsDown) : (down_ ? rbsExclusive : rbsUp);
    if (next != state_) {
        state_ = next;
        Invalidate();
    }
}

void TExSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    DoMouseUp(button, shift, x, y);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TExSpeedButton::DoMouseUp(TMouseButton button, TShiftState, int x, int y) {
    if (button != mbLeft || !dragging_) return;
    dragging_ = false;
    bool inside = PtInRect(ClientRect(), TPoint(x, y));
    if (groupIndex_ == 0) {
        state_ = rbsUp;
        mouseInside_ = false;
        Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_) state_ = rbsExclusive;
        else state_ = rbsUp;
        Invalidate();
    } else if (down_) {
        state_ = rbsExclusive;
        Invalidate();
    } else {
        state_ = rbsUp;
        Invalidate();
    }
    if (inside && !menuTracking_) Click();
    UpdateTracking();
}

void TExSpeedButton::TimerExpired() {
    repeatTimer_->SetInterval(unsigned(std::max(RepeatInterval, 1)));
    if (state_ == rbsDown && dragging_) {
        // A click that fails stops the repeating.
        TScopeGuard failed([this] { repeatTimer_->SetEnabled(false); });
        Click();
        failed.Dismiss();
    }
}

void TExSpeedButton::ButtonClick() {
    if (menuTracking_ || !Enabled() || (dropDownMenu_ && dropDownMenu_->AutoPopup)) return;
    if (!down_) {
        state_ = rbsDown;
        Repaint();
    }
    // The pressed picture shows for a moment before the click runs; painting
    // and timers go on meanwhile, the user's input waits.
    std::weak_ptr<char> alive = Alive();
    Delay(20);
    if (alive.expired()) return;
    if (groupIndex_ == 0) {
        Click();
        state_ = rbsUp;
        Repaint();
    } else {
        SetDown(!down_);
        Click();
    }
}

void TExSpeedButton::DblClick() {
    if (down_) TGraphicControl::DblClick();
}

void TExSpeedButton::MouseEnter() {
    if (flat_) Repaint();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExSpeedButton::MouseLeave() {
    if (flat_) Invalidate();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExSpeedButton::UpdateTracking() {
    bool inside = Enabled() && MouseIsOver(this);
    if (inside == mouseInside_) return;
    if (!inside && dragging_) return; // no leave while the button is held
    mouseInside_ = inside;
    if (inside) MouseEnter();
    else MouseLeave();
}

void TExSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
        if (!mouseInside_ && Enabled() && IsForegroundTask()) {
            mouseInside_ = true;
            MouseEnter();
        }
        return;
    case CM_MOUSELEAVE:
        if (mouseInside_ && Enabled() && !dragging_) {
            mouseInside_ = false;
            MouseLeave();
        }
        return;
    case CM_DIALOGCHAR: {
        if (Enabled() && IsAccelerator(message.WParam, Caption())) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    }
    case CM_SYSCOLORCHANGE:
        glyph_->Invalidate();
        Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_FONTCHANGED || message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TExSpeedButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (groupIndex_ != 0 && (!checkDefaults || !down_)) SetDown(action->Checked());
    auto* images = action->ActionList() ? dynamic_cast<TImageList*>(action->ActionList()->Images) : nullptr;
    if (Glyph()->Empty() && images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count()) {
        TBitmap picture;
        picture.SetSize(images->Width(), images->Height());
        picture.Canvas()->Brush()->SetColor(clFuchsia);
        picture.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
        images->Draw(picture.Canvas(), 0, 0, action->ImageIndex());
        picture.SetTransparentColor(clFuchsia);
        SetGlyph(&picture);
    }
}

// ---- TButtonImage ---------------------------------------------------------------------------

TButtonImage::TButtonImage() : glyph_(std::make_unique<TExButtonGlyph>()) {}

void TButtonImage::Draw(TCanvas* canvas, int x, int y, int margin, int spacing, TButtonLayout layout, TFont* font,
                        unsigned flags, const AnsiString& caption) {
    TColor brush = canvas->Brush()->Color();
    TFont savedFont;
    savedFont.Assign(canvas->Font());
    TRect r = Bounds(x, y, ButtonSize.cx, ButtonSize.cy);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    Frame3D(canvas, r, clBtnShadow, clWindowFrame, 1);
    Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    if (font) canvas->SetFont(font);
    glyph_->DrawEx(canvas, r, TPoint(0, 0), caption, layout, margin, spacing, false, nullptr, -1, rbsUp, flags);
    canvas->SetFont(&savedFont);
    canvas->Brush()->SetColor(brush);
}
