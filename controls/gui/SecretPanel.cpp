#include "controls/gui/SecretPanel.h"

#include <algorithm>

#include "controls/CtlUtils.h"
#include "platform/Canvas.h"

namespace {

constexpr unsigned kDefaultInterval = 30;
// Between the frame and the text, and between the glyph and the text.
constexpr int kTextMargin = 3;

bool IsBlank(const AnsiString& s) { return s.Trim().IsEmpty(); }

} // namespace

TSecretPanel::TSecretPanel(TComponent* owner)
    : TCustomPanel(owner), lines_(std::make_unique<TStringList>()), glyph_(std::make_unique<TBitmap>()) {
    ControlStyle &= ~csSetCaption;
    SetBevelOuter(bvLowered);
    lines_->OnChange = [this](TObject*) { LinesChanged(); };
    glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
    timer_ = new TExTimer(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(kDefaultInterval);
    timer_->SetSyncEvent(false);
    timer_->SetOnTimer([this](TObject* sender) { TimerExpired(sender); });
}

TSecretPanel::~TSecretPanel() {
    Destroying();
    // The timer goes first: a tick on its way reads the lines and the picture.
    TExTimer* timer = timer_;
    timer_ = nullptr;
    Free(timer);
    SetActive(false);
    lines_->OnChange = nullptr;
    glyph_->OnChange = nullptr;
}

// ---- properties ---------------------------------------------------------------------------

void TSecretPanel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Rebuild(true);
}

void TSecretPanel::SetAsyncDrawing(bool v) { timer_->SetSyncEvent(!v); }

bool TSecretPanel::Cycled() const {
    std::lock_guard lock(mutex_);
    return cycled_;
}

void TSecretPanel::SetCycled(bool v) {
    std::lock_guard lock(mutex_);
    cycled_ = v;
}

void TSecretPanel::SetGlyphLayout(TGlyphLayout layout) {
    if (layout == glyphLayout_) return;
    glyphLayout_ = layout;
    Rebuild(true);
}

void TSecretPanel::SetScrollDirection(TScrollDirection d) {
    if (d == direction_) return;
    direction_ = d;
    Rebuild(true);
}

void TSecretPanel::SetTextStyle(TBevelCut style) {
    if (style == textStyle_) return;
    textStyle_ = style;
    Rebuild(true);
}

int TSecretPanel::ScrollPos() const {
    std::lock_guard lock(mutex_);
    return scrollPos_;
}

int TSecretPanel::ScrollLength() const {
    std::lock_guard lock(mutex_);
    return scrollLength_;
}

void TSecretPanel::LinesChanged() {
    {
        std::lock_guard lock(mutex_);
        scrollPos_ = 0;
    }
    Rebuild(true);
}

void TSecretPanel::GlyphChanged() { Rebuild(true); }

void TSecretPanel::Rebuild(bool repaint) {
    if (!active_) return;
    UpdateMemoryImage();
    if (repaint) Invalidate();
}

void TSecretPanel::SetBounds(int left, int top, int width, int height) {
    bool resized = width != Width() || height != Height();
    TCustomPanel::SetBounds(left, top, width, height);
    if (resized) Rebuild(true);
}

void TSecretPanel::WndProc(TMessage& message) {
    TCustomPanel::WndProc(message);
    switch (message.Msg) {
    case CM_FONTCHANGED:
    case CM_COLORCHANGED: Rebuild(false); break;
    case WM_SIZE: Rebuild(true); break;
    default: break;
    }
}

void TSecretPanel::AlignControls(TRect& rect) {
    TCustomPanel::AlignControls(rect);
    Rebuild(false);
}

// ---- playing ------------------------------------------------------------------------------

void TSecretPanel::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    bool designing = ComponentState() & csDesigning;
    if (v) {
        {
            std::lock_guard lock(mutex_);
            scrollPos_ = 0;
        }
        UpdateMemoryImage();
        if (timer_) timer_->SetEnabled(true);
        StartPlay();
        if (!designing) {
            for (int i = 0; i < ControlCount(); ++i) {
                TControl* c = Controls(i);
                if (!c->Visible()) continue;
                hidden_.emplace_back(c, c->Alive());
                c->SetVisible(false);
            }
        }
        return;
    }
    memoryImage_.reset();
    if (timer_) timer_->SetEnabled(false);
    {
        std::lock_guard lock(mutex_);
        scrollPos_ = 0;
    }
    StopPlay();
    if (!designing)
        for (auto& [control, alive] : hidden_)
            if (!alive.expired()) control->SetVisible(true);
    hidden_.clear();
    if (!IsDestroying()) Invalidate();
}

void TSecretPanel::StartPlay() {
    if (OnStartPlay) OnStartPlay(this);
}

void TSecretPanel::StopPlay() {
    if (OnStopPlay) OnStopPlay(this);
}

void TSecretPanel::TimerExpired(TObject*) {
    if (!active_) return;
    bool stop = false;
    {
        std::lock_guard lock(mutex_);
        if (scrollPos_ < scrollLength_) ++scrollPos_;
        else if (cycled_) scrollPos_ = 0;
        else stop = true;
    }
    if (stop) {
        // On the UI thread; given up when the panel is going away.
        if (timer_) timer_->Synchronize([this] { Stop(); });
        return;
    }
    RequestFrame();
}

void TSecretPanel::RequestFrame() {
    if (IsMainThread()) {
        if (memoryImage_) PaintText();
        return;
    }
    if (framePending_.exchange(true)) return;
    TThread::Queue([this, alive = Alive()] {
        if (alive.expired()) return;
        framePending_ = false;
        if (memoryImage_) PaintText();
    });
}

// ---- layout and drawing -------------------------------------------------------------------

int TSecretPanel::InflateWidth() const {
    int w = BorderWidth();
    if (bevelInner_ != bvNone) w += bevelWidth_;
    if (bevelOuter_ != bvNone) w += bevelWidth_;
    return w;
}

void TSecretPanel::RecalcDrawRect() {
    int inflate = InflateWidth();
    TRect client = ClientRect();
    paintRect_ = client;
    InflateRect(paintRect_, -inflate, -inflate);
    textRect_ = client;
    InflateRect(textRect_, -(inflate + kTextMargin), -(inflate + kTextMargin));
    int gw = glyph_->Width(), gh = glyph_->Height();
    bool hasGlyph = !glyph_->Empty();
    TRect& t = textRect_;
    switch (glyphLayout_) {
    case glGlyphLeft:
        glyphOrigin_ = TPoint(t.Left, std::max((t.Top + t.Bottom - gh) / 2, t.Top));
        if (gw > 0) t.Left = glyphOrigin_.x + kTextMargin + gw + inflate;
        break;
    case glGlyphRight:
        glyphOrigin_ = TPoint(t.Right - gw, std::max((t.Top + t.Bottom - gh) / 2, t.Top));
        if (hasGlyph) {
            glyphOrigin_.x = std::max(glyphOrigin_.x - kTextMargin, t.Left);
            t.Right = glyphOrigin_.x - inflate;
        }
        break;
    case glGlyphTop:
        glyphOrigin_ = TPoint((t.Left + t.Right - gw) / 2, t.Top);
        if (hasGlyph) {
            glyphOrigin_.y += kTextMargin;
            t.Top = glyphOrigin_.y + gh + inflate + kTextMargin;
        }
        break;
    case glGlyphBottom:
        glyphOrigin_ = TPoint((t.Left + t.Right - gw) / 2, t.Bottom - gh);
        if (hasGlyph) {
            glyphOrigin_.y = std::max(glyphOrigin_.y - kTextMargin, t.Top);
            t.Bottom = glyphOrigin_.y - (inflate + kTextMargin);
        }
        break;
    }
    if (direction_ == sdHorizontal) {
        int last = lines_->Count() - 1;
        while (last >= firstLine_ && IsBlank(lines_->Strings(last))) --last;
        int h = std::max(last - firstLine_ + 1, 0) * lineHeight_;
        if (h < t.Height()) {
            t.Top = (t.Top + t.Bottom - h) / 2;
            t.Bottom = t.Top + h;
        }
    }
    if (t.Width() <= 0 || t.Height() <= 0) t = TRect();
}

void TSecretPanel::UpdateMemoryImage() {
    firstLine_ = 0;
    while (firstLine_ < lines_->Count() && IsBlank(lines_->Strings(firstLine_))) ++firstLine_;
    auto measure = std::make_unique<TBitmap>();
    measure->Canvas()->SetFont(Font());
    TTextMetric tm = measure->Canvas()->TextMetrics();
    lineHeight_ = tm.tmHeight + tm.tmExternalLeading + (textStyle_ != bvNone ? 1 : 0);
    RecalcDrawRect();
    widest_ = 0;
    for (int i = firstLine_; i < lines_->Count(); ++i)
        widest_ = std::max(widest_, measure->Canvas()->TextWidth(lines_->Strings(i)));
    int length = direction_ == sdVertical ? textRect_.Height() + (lines_->Count() - firstLine_) * lineHeight_
                                          : widest_ + textRect_.Width();
    {
        std::lock_guard lock(mutex_);
        scrollLength_ = length;
    }
    if (!memoryImage_) memoryImage_ = std::make_unique<TBitmap>();
    memoryImage_->SetSize(std::max(textRect_.Width(), 0), std::max(textRect_.Height(), 0));
    TCanvas* c = memoryImage_->Canvas();
    c->SetFont(Font());
    c->Brush()->SetColor(Color());
    c->SetBkMode(TRANSPARENT);
}

void TSecretPanel::PaintClient(TCanvas* canvas, const TRect& rect) {
    if (OnPaintClient) {
        OnPaintClient(this, canvas, rect);
        return;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
}

void TSecretPanel::PaintText() {
    if (lines_->Count() == 0 || IsRectEmpty(textRect_) || !memoryImage_) return;
    TCanvas* c = memoryImage_->Canvas();
    // The panel's own background, seen through the text rectangle.
    c->SetViewport(Rect(-textRect_.Left, -textRect_.Top, ClientWidth() - textRect_.Left, ClientHeight() - textRect_.Top));
    PaintClient(c, textRect_);
    c->ResetViewport();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    int pos = ScrollPos();
    int w = textRect_.Width(), h = textRect_.Height();
    // Sideways the text comes in from the side where reading starts: from
    // the right edge, or for right-to-left reading from the left one.
    int x = 0;
    if (direction_ == sdHorizontal) x = UseRightToLeftReading() ? pos - (ScrollLength() - w) : w - pos;
    int y = direction_ == sdVertical ? h - pos : 0;
    unsigned format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS |
                      (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
    TColor textColor = Font()->Color();
    for (int i = firstLine_; i <= lines_->Count(); ++i) {
        if (direction_ == sdVertical && y >= h) break;
        AnsiString line = i < lines_->Count() ? lines_->Strings(i) : AnsiString();
        if (y + lineHeight_ > 0) {
            // Sideways the lines move as one block as wide as the widest.
            TRect r = Rect(x, y, direction_ == sdHorizontal ? x + widest_ : w, y + lineHeight_);
            if (textStyle_ != bvNone) {
                int d = textStyle_ == bvLowered ? 1 : -1;
                TRect shadow = r;
                OffsetRect(shadow, d, d);
                c->Font()->SetColor(clBtnHighlight);
                c->DrawText(line, shadow, format);
            }
            c->Font()->SetColor(textColor);
            c->DrawText(line, r, format);
        }
        y += lineHeight_;
    }
    c->Brush()->SetStyle(bsSolid);
    Canvas()->Draw(textRect_.Left, textRect_.Top, memoryImage_.get());
}

void TSecretPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        bool lowered = cut == bvLowered;
        Frame3D(c, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    };
    bevel(bevelOuter_);
    Frame3D(c, r, Color(), Color(), BorderWidth());
    bevel(bevelInner_);
    c->IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    PaintClient(c, r);
    if (active_ && !glyph_->Empty())
        DrawBitmapTransparent(c, glyphOrigin_.x, glyphOrigin_.y, glyph_.get(), glyph_->TransparentColor());
    c->SelectClipRgn(nullptr);
    if (active_) PaintText();
}
