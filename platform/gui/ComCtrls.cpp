// Status bars, progress bars, gauges, up-down buttons, page controls, list views.
#include "platform/gui/ComCtrls.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/gui/Bridge.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

using namespace gebridge;

// ---- TStatusBar ------------------------------------------------------------------------

void TStatusPanel::SetWidth(int w) {
    width_ = std::max(w, 0);
    bar_->Invalidate();
}

void TStatusPanel::SetText(const AnsiString& t) {
    if (t == text_) return;
    text_ = t;
    bar_->Invalidate();
}

void TStatusPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    bar_->Invalidate();
}

int TStatusPanel::Index() const {
    auto& v = bar_->Panels()->panels_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

TStatusPanels::~TStatusPanels() { Clear(); }

TStatusPanel* TStatusPanels::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return panels_[std::size_t(index)];
}

TStatusPanel* TStatusPanels::Add() {
    auto* p = new TStatusPanel(bar_);
    panels_.push_back(p);
    bar_->Invalidate();
    return p;
}

void TStatusPanels::Delete(int index) {
    delete Items(index);
    panels_.erase(panels_.begin() + index);
    bar_->Invalidate();
}

void TStatusPanels::Clear() {
    for (TStatusPanel* p : panels_) delete p;
    panels_.clear();
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque | csAcceptsControls;
    TabStop = false;
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 300, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() { Destroying(); }

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& t) {
    simpleText_ = t;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) const {
    if (index < 0 || index >= panels_->Count()) return TRect();
    int x = 0;
    for (int i = 0; i < index; ++i) x += panels_->Items(i)->Width() + 2;
    int right = index == panels_->Count() - 1 ? std::max(ClientWidth(), x + 1) : x + panels_->Items(index)->Width();
    return Rect(x, 2, right, ClientHeight());
}

void TStatusBar::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color_);
    c->FillRect(ClientRect());
    c->Font()->Assign(Font());
    auto panel = [&](TRect r, const AnsiString& text, TAlignment a, TStatusPanelBevel bevel) {
        TRect frame = r;
        if (bevel != pbNone) Frame3D(c, frame, bevel == pbLowered ? clBtnShadow : clBtnHighlight, bevel == pbLowered ? clBtnHighlight : clBtnShadow, 1);
        c->Brush()->SetStyle(bsClear);
        InflateRect(frame, -1, 0);
        unsigned fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (a == taCenter ? DT_CENTER : a == taRightJustify ? DT_RIGHT : DT_LEFT);
        c->DrawText(text, frame, fmt);
        c->Brush()->SetStyle(bsSolid);
    };
    if (simplePanel_) {
        panel(Rect(0, 2, ClientWidth(), ClientHeight()), simpleText_, taLeftJustify, pbLowered);
        return;
    }
    for (int i = 0; i < panels_->Count(); ++i) {
        TStatusPanel* p = panels_->Items(i);
        panel(PanelRect(i), p->Text(), p->Alignment(), p->Bevel);
    }
}

// ---- TProgressBar ------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    bar_ = new QProgressBar;
    bar_->setTextVisible(false);
    width_ = 150;
    height_ = 16;
    AttachWidget(bar_);
    Apply();
}

void TProgressBar::Apply() {
    bar_->setRange(min_, std::max(max_, min_));
    bar_->setValue(std::clamp(position_, min_, std::max(max_, min_)));
}

void TProgressBar::SetMin(int v) {
    min_ = v;
    Apply();
}

void TProgressBar::SetMax(int v) {
    max_ = v;
    Apply();
}

void TProgressBar::SetPosition(int v) {
    position_ = std::clamp(v, min_, std::max(max_, min_));
    Apply();
}

void TProgressBar::SetOrientation(TProgressBarOrientation o) { bar_->setOrientation(o == pbVertical ? Qt::Vertical : Qt::Horizontal); }

// ---- TGauge ------------------------------------------------------------------------------

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 100, 100); }

void TGauge::SetKind(TGaugeKind k) {
    kind_ = k;
    Invalidate();
}

void TGauge::SetMinValue(int v) {
    minValue_ = v;
    progress_ = std::max(progress_, v);
    Invalidate();
}

void TGauge::SetMaxValue(int v) {
    maxValue_ = v;
    Invalidate();
}

void TGauge::SetProgress(int v) {
    v = std::max(v, minValue_);
    if (maxValue_ > minValue_) v = std::min(v, maxValue_);
    if (v == progress_) return;
    progress_ = v;
    Invalidate();
}

int TGauge::PercentDone() const {
    long long span = (long long)maxValue_ - minValue_;
    if (span <= 0) return 0;
    return int(((long long)progress_ - minValue_) * 100 / span);
}

void TGauge::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(BackColor);
    c->FillRect(r);
    int pct = PercentDone();
    TRect done = r;
    if (kind_ == gkVerticalBar) done.Top = r.Bottom - r.Height() * pct / 100;
    else if (kind_ != gkText) done.Right = r.Left + r.Width() * pct / 100;
    if (kind_ != gkText) {
        c->Brush()->SetColor(ForeColor);
        c->FillRect(done);
    }
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(r);
    if (ShowText) {
        c->Font()->Assign(Font());
        AnsiString t = IntToStr(pct) + "%";
        TRect box = r;
        c->Pen()->SetMode(pmCopy);
        c->DrawText(t, box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    c->Brush()->SetStyle(bsSolid);
}

// ---- TUpDown ------------------------------------------------------------------------------

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    auto* w = new ControlWidget;
    up_ = new QToolButton(w);
    down_ = new QToolButton(w);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAutoRepeat(true);
    down_->setAutoRepeat(true);
    up_->setFocusPolicy(Qt::NoFocus);
    down_->setFocusPolicy(Qt::NoFocus);
    width_ = 15;
    height_ = 21;
    AttachWidget(w);
    QObject::connect(up_, &QToolButton::clicked, [this] { Dispatch([this] { Click(btNext); }); });
    QObject::connect(down_, &QToolButton::clicked, [this] { Dispatch([this] { Click(btPrev); }); });
    Layout();
}

void TUpDown::Layout() {
    int w = std::max(width_, 1), h = std::max(height_, 1);
    if (orientation_ == udVertical) {
        up_->setGeometry(0, 0, w, h / 2);
        down_->setGeometry(0, h / 2, w, h - h / 2);
    } else {
        down_->setGeometry(0, 0, w / 2, h);
        up_->setGeometry(w / 2, 0, w - w / 2, h);
    }
}

void TUpDown::SetOrientation(TUDOrientation o) {
    orientation_ = o;
    up_->setArrowType(o == udVertical ? Qt::UpArrow : Qt::RightArrow);
    down_->setArrowType(o == udVertical ? Qt::DownArrow : Qt::LeftArrow);
    Layout();
}

void TUpDown::SetPosition(int v) {
    position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
    if (associate_) associate_->SetText(IntToStr(position_));
}

void TUpDown::SetAssociate(TWinControl* c) {
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = c;
    if (c) {
        c->FreeNotification(this);
        c->SetText(IntToStr(position_));
    }
}

void TUpDown::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == opRemove && c == associate_) associate_ = nullptr;
}

void TUpDown::Click(TUDBtnType button) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (allow) {
        int next = position_ + (button == btNext ? Increment : -Increment);
        int lo = std::min(min_, max_), hi = std::max(min_, max_);
        if (next > hi) next = Wrap ? lo : hi;
        if (next < lo) next = Wrap ? hi : lo;
        SetPosition(next);
    }
    if (OnClick) OnClick(this, button);
}

// ---- TTabSheet / TPageControl -----------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    auto* w = new ControlWidget;
    ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    AttachWidget(w);
    visible_ = true;
}

TTabSheet::~TTabSheet() {
    DestroyChildren();
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::ApplyText() {
    if (pageControl_) pageControl_->Resync();
}

void TTabSheet::SetPageControl(TPageControl* p) {
    if (p == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = p;
    if (p) p->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& v = pageControl_->pages_;
    return int(std::find(v.begin(), v.end(), this) - v.begin());
}

void TTabSheet::SetPageIndex(int i) {
    if (!pageControl_) return;
    auto& v = pageControl_->pages_;
    v.erase(std::find(v.begin(), v.end(), this));
    i = std::clamp(i, 0, int(v.size()));
    v.insert(v.begin() + i, this);
    pageControl_->Resync();
}

void TTabSheet::SetTabVisible(bool v) {
    tabVisible_ = v;
    if (pageControl_) pageControl_->Resync();
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    tabs_ = new QTabWidget;
    tabs_->setUsesScrollButtons(true);
    width_ = 289;
    height_ = 193;
    TabStop = true;
    AttachWidget(tabs_);
    QObject::connect(tabs_, &QTabWidget::currentChanged, [this](int qi) {
        if (syncing_) return;
        TTabSheet* next = nullptr;
        if (qi >= 0)
            for (TTabSheet* p : pages_)
                if (p->Widget() == tabs_->widget(qi)) next = p;
        Dispatch([&] {
            if (lastIndex_ >= 0 && lastIndex_ < PageCount() && pages_[std::size_t(lastIndex_)] != next && pages_[std::size_t(lastIndex_)]->OnHide)
                pages_[std::size_t(lastIndex_)]->OnHide(pages_[std::size_t(lastIndex_)]);
            lastIndex_ = next ? next->PageIndex() : -1;
            if (next && next->OnShow) next->OnShow(next);
            if (OnChange) OnChange(this);
        });
        ScheduleIdle();
    });
}

TPageControl::~TPageControl() {
    Destroying();
    for (TTabSheet* p : std::vector<TTabSheet*>(pages_)) p->pageControl_ = nullptr;
    pages_.clear();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return pages_[std::size_t(index)];
}

void TPageControl::InsertPage(TTabSheet* p) {
    pages_.push_back(p);
    p->SetParent(this);
    Resync();
}

void TPageControl::RemovePage(TTabSheet* p) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), p), pages_.end());
    if (!IsDestroying()) Resync();
}

void TPageControl::Resync() {
    syncing_ = true;
    TTabSheet* active = ActivePage();
    while (tabs_->count()) tabs_->removeTab(0);
    for (TTabSheet* p : pages_) {
        if (!p->tabVisible_) {
            p->Widget()->hide();
            continue;
        }
        tabs_->addTab(p->Widget(), ToQString(p->Caption()));
    }
    if (active && active->tabVisible_) tabs_->setCurrentWidget(active->Widget());
    syncing_ = false;
    TTabSheet* now = ActivePage();
    lastIndex_ = now ? now->PageIndex() : -1;
}

TTabSheet* TPageControl::ActivePage() const {
    QWidget* w = tabs_->currentWidget();
    for (TTabSheet* p : pages_)
        if (p->Widget() == w) return p;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* p) {
    if (!p || p->pageControl_ != this || !p->tabVisible_) return;
    tabs_->setCurrentWidget(p->Widget());
}

int TPageControl::ActivePageIndex() const {
    TTabSheet* p = ActivePage();
    return p ? p->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int i) {
    if (i >= 0 && i < PageCount()) SetActivePage(pages_[std::size_t(i)]);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible) const {
    int n = PageCount();
    if (!n) return nullptr;
    int start = current ? current->PageIndex() : (forward ? n - 1 : 0);
    for (int k = 1; k <= n; ++k) {
        int i = ((start + (forward ? k : -k)) % n + n) % n;
        if (!checkTabVisible || pages_[std::size_t(i)]->tabVisible_) return pages_[std::size_t(i)];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (allow) SetActivePage(FindNextPage(ActivePage(), forward, true));
}

// ---- TListView --------------------------------------------------------------------------------

namespace {

class SubItemStrings : public TStringList {
public:
    explicit SubItemStrings(TListItem* item) : item_(item) {}

protected:
    void Changed() override {
        TStringList::Changed();
        QTreeWidgetItem* q = item_->QtItem();
        int cols = std::max(q->columnCount(), Count() + 1);
        for (int i = 1; i < cols; ++i) q->setText(i, i - 1 < Count() ? ToQString(Get(i - 1)) : QString());
    }

private:
    TListItem* item_;
};

} // namespace

void TListColumn::SetCaption(const AnsiString& s) {
    caption_ = s;
    view_->columns_->Apply();
}

int TListColumn::Width() const { return view_->tree_->columnWidth(index_); }

void TListColumn::SetWidth(int w) {
    width_ = w;
    view_->tree_->setColumnWidth(index_, w);
}

void TListColumn::SetAutoSize(bool v) {
    autoSize_ = v;
    view_->columns_->Apply();
}

TListColumns::~TListColumns() { Clear(); }

TListColumn* TListColumns::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return columns_[std::size_t(index)];
}

TListColumn* TListColumns::Add() {
    auto* c = new TListColumn(view_, Count());
    columns_.push_back(c);
    Apply();
    view_->tree_->setColumnWidth(c->index_, c->width_);
    return c;
}

void TListColumns::Clear() {
    for (TListColumn* c : columns_) delete c;
    columns_.clear();
}

void TListColumns::Apply() {
    QStringList labels;
    for (TListColumn* c : columns_) labels << ToQString(c->caption_);
    view_->tree_->setColumnCount(std::max(1, Count()));
    view_->tree_->setHeaderLabels(labels);
    QHeaderView* header = view_->tree_->header();
    // The last column fills the view by stretching, which keeps the other
    // columns under the user's hand; another column that fills is stretched
    // with the view.
    header->setStretchLastSection(!columns_.empty() && columns_.back()->autoSize_);
    for (TListColumn* c : columns_) {
        const bool stretch = c->autoSize_ && c != columns_.back();
        header->setSectionResizeMode(c->index_, stretch ? QHeaderView::Stretch : QHeaderView::Interactive);
        if (!c->autoSize_) view_->tree_->setColumnWidth(c->index_, c->width_);
    }
}

TListItem::TListItem(TListView* v, QTreeWidgetItem* item) : view_(v), item_(item), subItems_(std::make_unique<SubItemStrings>(this)) {}

TListItem::~TListItem() = default;

AnsiString TListItem::Caption() const { return FromQString(item_->text(0)); }
void TListItem::SetCaption(const AnsiString& s) { item_->setText(0, ToQString(s)); }
bool TListItem::Selected() const { return item_->isSelected(); }

void TListItem::SetSelected(bool v) {
    view_->syncing_ = true;
    if (v && !view_->multiSelect_) view_->tree_->clearSelection();
    item_->setSelected(v);
    if (v) view_->tree_->setCurrentItem(item_, 0, QItemSelectionModel::NoUpdate);
    view_->syncing_ = false;
}

bool TListItem::Focused() const { return view_->tree_->currentItem() == item_; }
void TListItem::SetFocused(bool v) {
    if (v) view_->tree_->setCurrentItem(item_, 0, QItemSelectionModel::NoUpdate);
}
bool TListItem::Checked() const { return item_->checkState(0) == Qt::Checked; }
void TListItem::SetChecked(bool v) { item_->setCheckState(0, v ? Qt::Checked : Qt::Unchecked); }
int TListItem::Index() const { return view_->items_->IndexOf(this); }
void TListItem::MakeVisible(bool) { view_->tree_->scrollToItem(item_); }
void TListItem::Delete() { view_->items_->Delete(Index()); }

TListItems::~TListItems() {
    for (TListItem* i : items_) delete i;
    items_.clear();
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) throw EListError(FormatRaw("List index out of bounds (%d)", index));
    return items_[std::size_t(index)];
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto* q = new QTreeWidgetItem;
    if (view_->Checkboxes) q->setCheckState(0, Qt::Unchecked);
    view_->syncing_ = true;
    view_->tree_->insertTopLevelItem(index, q);
    view_->syncing_ = false;
    auto* item = new TListItem(view_, q);
    items_.insert(items_.begin() + index, item);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    items_.erase(items_.begin() + index);
    view_->syncing_ = true;
    // Qt hands the selection of a removed row to a neighbour; here the other
    // rows keep the selection they had, so deleting the selected row leaves
    // nothing selected.
    std::vector<bool> selected;
    for (TListItem* i : items_) selected.push_back(i->item_->isSelected());
    delete view_->tree_->takeTopLevelItem(view_->tree_->indexOfTopLevelItem(item->item_));
    for (std::size_t k = 0; k < items_.size(); ++k) items_[k]->item_->setSelected(selected[k]);
    view_->syncing_ = false;
    delete item;
}

void TListItems::Clear() {
    view_->syncing_ = true;
    view_->tree_->clear();
    view_->syncing_ = false;
    for (TListItem* i : items_) delete i;
    items_.clear();
}

void TListItems::BeginUpdate() {
    if (updating_++ == 0) view_->tree_->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (updating_ > 0 && --updating_ == 0) view_->tree_->setUpdatesEnabled(true);
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    tree_ = new QTreeWidget;
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->header()->setStretchLastSection(false);
    tree_->setHeaderLabels({});
    width_ = 250;
    height_ = 150;
    color_ = clWindow;
    TabStop = true;
    AttachWidget(tree_);
    Register(tree_->viewport(), this);
    columns_ = std::make_unique<TListColumns>(this);
    items_ = std::make_unique<TListItems>(this);
    QObject::connect(tree_, &QTreeWidget::itemSelectionChanged, [this] {
        if (syncing_) return;
        Dispatch([this] {
            TListItem* s = Selected();
            if (OnSelectItem) OnSelectItem(this, s, s != nullptr);
            if (OnChange) OnChange(this);
        });
        ScheduleIdle();
    });
}

TListView::~TListView() {
    Destroying();
    Unregister(tree_->viewport());
    items_.reset();
    columns_.reset();
}

TListItem* TListView::ItemOf(QTreeWidgetItem* q) const {
    for (TListItem* i : items_->items_)
        if (i->item_ == q) return i;
    return nullptr;
}

TListItem* TListView::Selected() const {
    for (TListItem* i : items_->items_)
        if (i->item_->isSelected()) return i;
    return nullptr;
}

void TListView::SetSelected(TListItem* item) {
    syncing_ = true;
    tree_->clearSelection();
    syncing_ = false;
    if (item) item->SetSelected(true);
}

int TListView::ItemIndex() const {
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TListView::SetItemIndex(int i) { SetSelected(i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr); }

int TListView::SelCount() const { return int(tree_->selectedItems().size()); }

void TListView::SetMultiSelect(bool v) {
    multiSelect_ = v;
    tree_->setSelectionMode(v ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TListView::SetShowColumnHeaders(bool v) {
    showHeaders_ = v;
    tree_->setHeaderHidden(!v);
}

TListItem* TListView::ItemFocused() const { return ItemOf(tree_->currentItem()); }

TListItem* TListView::GetItemAt(int x, int y) const {
    QPoint vp = tree_->viewport()->mapFrom(tree_, QPoint(x, y));
    return ItemOf(tree_->itemAt(vp));
}
