// Panels, bevels, paint boxes, images, splitters, radio groups, scroll boxes,
// the timer.
#include "platform/gui/ExtCtrls.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/Forms.h"

using namespace gebridge;

void Frame3D(TCanvas* canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Pen()->SetStyle(psSolid);
    --r.Bottom;
    --r.Right;
    while (width-- > 0) {
        canvas->Pen()->SetColor(topColor);
        TPoint top[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        canvas->Polyline(top);
        canvas->Pen()->SetColor(bottomColor);
        TPoint bottom[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        canvas->Polyline(bottom);
        InflateRect(r, -1, -1);
    }
    ++r.Bottom;
    ++r.Right;
}

// ---- TCustomPanel ----------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks | csReplicatable;
    TabStop = false;
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
    bevelInner_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
    bevelOuter_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int w) {
    bevelWidth_ = std::max(w, 1);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle b) {
    borderStyle_ = b;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

TRect TCustomPanel::AlignRect() const {
    TRect r = ClientRect();
    int inset = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    InflateRect(r, -inset, -inset);
    return r;
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color_);
    c->FillRect(r);
    if (borderStyle_ == bsSingle) Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    if (bevelOuter_ != bvNone)
        Frame3D(c, r, bevelOuter_ == bvLowered ? clBtnShadow : clBtnHighlight, bevelOuter_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    InflateRect(r, -borderWidth_, -borderWidth_);
    if (bevelInner_ != bvNone)
        Frame3D(c, r, bevelInner_ == bvLowered ? clBtnShadow : clBtnHighlight, bevelInner_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    if (!text_.IsEmpty()) {
        c->Font()->Assign(Font());
        c->Brush()->SetStyle(bsClear);
        unsigned fmt = DT_SINGLELINE | DT_VCENTER | (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
        c->DrawText(text_, r, fmt);
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- TBevel -------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
    parentColor_ = true;
}

void TBevel::SetShape(TBevelShape s) {
    shape_ = s;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle s) {
    style_ = s;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(parent_ ? parent_->Color() : color_);
    c->FillRect(r);
    TColor a = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor b = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = r.Width(), h = r.Height();
    auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(col);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (shape_) {
    case bsBox: Frame3D(c, r, a, b, 1); break;
    case bsFrame: {
        TRect o = r;
        --o.Right;
        --o.Bottom;
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetColor(a);
        c->Rectangle(o);
        OffsetRect(o, 1, 1);
        c->Pen()->SetColor(b);
        c->Rectangle(o);
        c->Brush()->SetStyle(bsSolid);
        break;
    }
    case bsTopLine: line(a, 0, 0, w, 0); line(b, 0, 1, w, 1); break;
    case bsBottomLine: line(a, 0, h - 2, w, h - 2); line(b, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(a, 0, 0, 0, h); line(b, 1, 0, 1, h); break;
    case bsRightLine: line(a, w - 2, 0, w - 2, h); line(b, w - 1, 0, w - 1, h); break;
    default: break;
    }
}

// ---- TPaintBox ------------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    parentColor_ = true;
}

void TPaintBox::Paint() {
    if (OnPaint) OnPaint(this);
}

// ---- TPicture / TImage ------------------------------------------------------------------------

TPicture::TPicture() : bitmap_(std::make_unique<TBitmap>()) {
    bitmap_->OnChange = [this](TObject*) {
        if (OnChange) OnChange(this);
    };
}

TPicture::~TPicture() = default;

void TPicture::SetBitmap(TBitmap* b) { bitmap_->Assign(b); }
int TPicture::Width() const { return bitmap_->Width(); }
int TPicture::Height() const { return bitmap_->Height(); }
void TPicture::LoadFromFile(const AnsiString& fileName) { bitmap_->LoadFromFile(fileName); }
void TPicture::SaveToFile(const AnsiString& fileName) const { bitmap_->SaveToFile(fileName); }

void TPicture::Assign(TPersistent* source) {
    if (auto* p = dynamic_cast<TPicture*>(source)) bitmap_->Assign(p->Bitmap());
    else if (auto* b = dynamic_cast<TBitmap*>(source)) bitmap_->Assign(b);
    else if (!source) bitmap_->Assign(nullptr);
    else TPersistent::Assign(source);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::SetPicture(TPicture* p) { picture_->Assign(p); }

TCanvas* TImage::Canvas() {
    TBitmap* b = picture_->Bitmap();
    if (b->Empty()) b->SetSize(std::max(width_, 1), std::max(height_, 1));
    b->Canvas()->OnChange = [this](TObject*) { PictureChanged(); };
    return b->Canvas();
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_->Bitmap()->Empty()) SetBounds(left_, top_, picture_->Width(), picture_->Height());
    Invalidate();
}

void TImage::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}

void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

void TImage::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TImage::Paint() {
    TCanvas* c = TGraphicControl::Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(parent_ ? parent_->Color() : color_);
    c->FillRect(ClientRect());
    TBitmap* b = picture_->Bitmap();
    if (b->Empty()) return;
    bool keep = b->Transparent();
    if (transparent_) b->SetTransparent(true);
    c->CopyMode = cmSrcCopy;
    if (stretch_) c->StretchDraw(ClientRect(), b);
    else if (center_) c->Draw((width_ - b->Width()) / 2, (height_ - b->Height()) / 2, b);
    else c->Draw(0, 0, b);
    if (transparent_) b->SetTransparent(keep);
}

// ---- TSplitter ----------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    align_ = alLeft;
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
    parentColor_ = true;
}

TControl* TSplitter::FindControl() const {
    if (!parent_) return nullptr;
    TAlign a = align_;
    TPoint p;
    switch (a) {
    case alLeft: p = TPoint(left_ - 1, top_); break;
    case alRight: p = TPoint(left_ + width_, top_); break;
    case alTop: p = TPoint(left_, top_ - 1); break;
    case alBottom: p = TPoint(left_, top_ + height_); break;
    default: return nullptr;
    }
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        TControl* c = parent_->Controls(i);
        if (c == this || !c->Visible() || c->Align() != a) continue;
        if (PtInRect(Rect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()), p) ||
            ((a == alLeft || a == alRight) && p.x >= c->Left() && p.x < c->Left() + c->Width()) ||
            ((a == alTop || a == alBottom) && p.y >= c->Top() && p.y < c->Top() + c->Height()))
            return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    target_ = FindControl();
    if (!target_) return;
    dragging_ = true;
    down_ = ClientToScreen(TPoint(x, y));
    startSize_ = (align_ == alLeft || align_ == alRight) ? target_->Width() : target_->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_ || !target_) return;
    TPoint p = ClientToScreen(TPoint(x, y));
    int d = (align_ == alLeft || align_ == alRight) ? p.x - down_.x : p.y - down_.y;
    if (align_ == alRight || align_ == alBottom) d = -d;
    int size = std::max(startSize_ + d, MinSize);
    if (align_ == alLeft || align_ == alRight) target_->SetWidth(size);
    else target_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    bool was = dragging_;
    dragging_ = false;
    TGraphicControl::MouseUp(button, shift, x, y);
    if (was && OnMoved) OnMoved(this);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color_);
    c->FillRect(ClientRect());
    if (Beveled) {
        TRect r = ClientRect();
        Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
    }
}

// ---- TRadioGroup ------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    box_ = new QGroupBox;
    width_ = 185;
    height_ = 105;
    TabStop = true;
    AttachWidget(box_);
    items_->OnChange = [this](TObject*) { Rebuild(); };
}

TRadioGroup::~TRadioGroup() {
    Destroying();
    items_->OnChange = nullptr;
}

void TRadioGroup::ApplyText() { box_->setTitle(ToQString(text_)); }

void TRadioGroup::Rebuild() {
    for (QWidget* b : buttons_) delete b;
    buttons_.clear();
    delete box_->layout();
    auto* grid = new QGridLayout(box_);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setSpacing(0);
    int n = items_->Count();
    int cols = std::max(columns_, 1);
    int rows = (n + cols - 1) / cols;
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(ToQString(items_->Get(i)), box_);
        b->setAutoExclusive(true);
        grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
        QObject::connect(b, &QRadioButton::toggled, [this, i](bool on) {
            if (!on || syncing_) return;
            itemIndex_ = i;
            Dispatch([this] { Click(); });
            ScheduleIdle();
        });
        buttons_.push_back(b);
    }
    if (itemIndex_ >= n) itemIndex_ = -1;
    syncing_ = true;
    if (itemIndex_ >= 0) static_cast<QRadioButton*>(buttons_[std::size_t(itemIndex_)])->setChecked(true);
    syncing_ = false;
}

void TRadioGroup::SetItemIndex(int i) {
    if (i < -1 || i >= int(buttons_.size())) i = -1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    syncing_ = true;
    if (i >= 0) static_cast<QRadioButton*>(buttons_[std::size_t(i)])->setChecked(true);
    else
        for (QWidget* b : buttons_) {
            auto* rb = static_cast<QRadioButton*>(b);
            rb->setAutoExclusive(false);
            rb->setChecked(false);
            rb->setAutoExclusive(true);
        }
    syncing_ = false;
    if (i >= 0) Click();
}

void TRadioGroup::SetColumns(int c) {
    columns_ = std::clamp(c, 1, 16);
    Rebuild();
}

// ---- TTimer ----------------------------------------------------------------------------------

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(new QTimer) {
    QObject::connect(timer_, &QTimer::timeout, [this] {
        if (OnTimer) Dispatch([this] { OnTimer(this); });
        ScheduleIdle();
    });
    UpdateTimer();
}

TTimer::~TTimer() {
    Destroying();
    delete timer_;
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    timer_->stop();
    if (enabled_ && interval_ > 0) timer_->start(int(std::min<unsigned>(interval_, 0x7FFFFFFF)));
}

// ---- TScrollBox ---------------------------------------------------------------------------------

QScrollBar* TControlScrollBar::Bar() const { return horizontal_ ? area_->horizontalScrollBar() : area_->verticalScrollBar(); }
int TControlScrollBar::Position() const { return Bar()->value(); }
void TControlScrollBar::SetPosition(int v) { Bar()->setValue(std::clamp(v, Bar()->minimum(), Bar()->maximum())); }
int TControlScrollBar::Range() const { return range_; }
void TControlScrollBar::SetRange(int v) {
    range_ = std::max(v, 0);
    AutoRange = false;
    QWidget* content = area_->widget();
    if (horizontal_) content->resize(std::max(range_, area_->viewport()->width()), content->height());
    else content->resize(content->width(), std::max(range_, area_->viewport()->height()));
}
int TControlScrollBar::Increment() const { return Bar()->singleStep(); }
void TControlScrollBar::SetIncrement(int v) { Bar()->setSingleStep(std::max(v, 1)); }
void TControlScrollBar::SetVisible(bool v) {
    visible_ = v;
    if (horizontal_) area_->setHorizontalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    else area_->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

namespace {

// The box's range follows its viewport's size: the box hears of its own
// resize before the viewport has its new size, and content kept at the old
// size would show scroll bars with nothing to scroll.
class ViewportWatch : public QObject {
public:
    explicit ViewportWatch(TScrollBox* box, QObject* parent) : QObject(parent), box_(box) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize && box_) box_->UpdateRange();
        return false;
    }
    TScrollBox* box_;
};

} // namespace

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    area_ = new QScrollArea;
    area_->setWidgetResizable(false);
    auto* content = new ControlWidget;
    content->fillBackground = true;
    content->fill = ToQColor(color_);
    area_->setWidget(content);
    width_ = 185;
    height_ = 41;
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    AttachWidget(area_);
    SetClientWidgetOf(content);
    Register(area_->viewport(), this);
    viewportWatch_ = new ViewportWatch(this, area_);
    area_->viewport()->installEventFilter(viewportWatch_);
    horz_ = std::make_unique<TControlScrollBar>(area_, true);
    vert_ = std::make_unique<TControlScrollBar>(area_, false);
    horz_->SetIncrement(8);
    vert_->SetIncrement(8);
    content->resize(1, 1);
}

TScrollBox::~TScrollBox() {
    static_cast<ViewportWatch*>(viewportWatch_)->box_ = nullptr;
    DestroyChildren();
    Unregister(area_->viewport());
}

void TScrollBox::ApplyColor() {
    auto* content = static_cast<ControlWidget*>(ClientWidget());
    content->fill = ToQColor(color_);
    content->update();
    QPalette p = area_->viewport()->palette();
    p.setColor(QPalette::Window, ToQColor(color_));
    area_->viewport()->setPalette(p);
}

TPoint TScrollBox::ClientOrigin() const { return FromQPoint(area_->viewport()->mapToGlobal(QPoint(0, 0))); }
int TScrollBox::ClientWidth() const { return area_->viewport()->width(); }
int TScrollBox::ClientHeight() const { return area_->viewport()->height(); }

TRect TScrollBox::AlignRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

void TScrollBox::UpdateRange() {
    int w = 0, h = 0;
    for (TControl* c : controls_) {
        if (!c->Visible()) continue;
        w = std::max(w, c->Left() + c->Width());
        h = std::max(h, c->Top() + c->Height());
    }
    QWidget* content = ClientWidget();
    if (horz_->AutoRange) horz_->range_ = w;
    if (vert_->AutoRange) vert_->range_ = h;
    int rw = horz_->Range(), rh = vert_->Range();
    content->resize(std::max(rw, area_->viewport()->width()), std::max(rh, area_->viewport()->height()));
}

void TScrollBox::ControlsChanged() { UpdateRange(); }

void TScrollBox::WndProc(TMessage& m) {
    if (m.Msg == CM_CONTROLCHANGE || m.Msg == WM_SIZE) UpdateRange();
    TWinControl::WndProc(m);
    // The box has no keyboard scrolling of its own: the window's key handlers
    // move it, and Qt's scroll area must not move it a second time.
    if (m.Msg != WM_KEYDOWN) return;
    switch (m.WParam) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
        passToQt_ = false;
        break;
    default:
        break;
    }
}

void TScrollBox::ScrollInView(TControl* c) {
    if (c) area_->ensureVisible(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2, c->Width() / 2, c->Height() / 2);
}
