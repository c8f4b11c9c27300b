#pragma once
// Status bars, progress bars, gauges, up-down buttons, page controls with
// their tab sheets, and list views in report view.

#include <memory>
#include <vector>

#include "platform/StringList.h"
#include "platform/gui/Controls.h"

class QProgressBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;

// ---- status bar ------------------------------------------------------------------

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel {
public:
    int Width() const { return width_; }
    void SetWidth(int w);
    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& t);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TStatusPanelBevel Bevel = pbLowered;
    int Index() const;

private:
    friend class TStatusPanels;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    TStatusBar* bar_;
    int width_ = 50;
    AnsiString text_;
    TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    ~TStatusPanels();
    int Count() const { return int(panels_.size()); }
    TStatusPanel* Items(int index) const;
    TStatusPanel* operator[](int index) const { return Items(index); }
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TStatusPanel;
    TStatusBar* bar_;
    std::vector<TStatusPanel*> panels_;
};

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    const AnsiString& SimpleText() const { return simpleText_; }
    void SetSimpleText(const AnsiString& t);
    bool SizeGrip = true;
    // The rectangle of a panel in the bar's client coordinates (the last
    // panel reaches the right edge); empty for an index out of range.
    TRect PanelRect(int index) const;

protected:
    void Paint() override;
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    AnsiString simpleText_;
};

// ---- progress --------------------------------------------------------------------

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    int Step = 10;
    void StepIt() { SetPosition(position_ + Step); }
    void StepBy(int delta) { SetPosition(position_ + delta); }
    bool Smooth = false;
    void SetOrientation(TProgressBarOrientation o);

private:
    void Apply();
    QProgressBar* bar_;
    int min_ = 0, max_ = 100, position_ = 0;
};

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// A drawn gauge; a maximum equal to the minimum shows 0 %.
class TGauge : public TGraphicControl {
public:
    explicit TGauge(TComponent* owner);
    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind k);
    int MinValue() const { return minValue_; }
    void SetMinValue(int v);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int v);
    int Progress() const { return progress_; }
    void SetProgress(int v);
    void AddProgress(int v) { SetProgress(progress_ + v); }
    int PercentDone() const;
    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
    bool ShowText = true;

protected:
    void Paint() override;
    TGaugeKind kind_ = gkHorizontalBar;
    int minValue_ = 0, maxValue_ = 100, progress_ = 0;
};

// ---- up-down ---------------------------------------------------------------------

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    int Min() const { return min_; }
    void SetMin(int v) { min_ = v; }
    int Max() const { return max_; }
    void SetMax(int v) { max_ = v; }
    int Position() const { return position_; }
    void SetPosition(int v);
    int Increment = 1;
    bool Wrap = false;
    bool ArrowKeys = true;
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation o);
    // The control whose text shows the position.
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* c);
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    // A press of a button: next steps up, previous down.
    virtual void Click(TUDBtnType button);

protected:
    void Notification(TComponent* c, TOperation op) override;
    void Layout();
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0, max_ = 100, position_ = 0;
    TUDOrientation orientation_ = udVertical;
    TWinControl* associate_ = nullptr;
};

// ---- page control ----------------------------------------------------------------

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* p);
    int PageIndex() const;
    void SetPageIndex(int i);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    int ImageIndex = -1;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void ApplyText() override;
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    int PageCount() const { return int(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* p);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    // Qt shows one row of tabs with scroll arrows instead of several rows.
    bool MultiLine = false;
    TTabSheet* FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible) const;
    void SelectNextPage(bool forward);
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    friend class TTabSheet;
    void InsertPage(TTabSheet* p);
    void RemovePage(TTabSheet* p);
    void Resync();
    QTabWidget* tabs_;
    std::vector<TTabSheet*> pages_;
    bool syncing_ = false;
    int lastIndex_ = -1;
};

// ---- list view -------------------------------------------------------------------

class TListView;
class TListItems;

class TListColumn {
public:
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& s);
    int Width() const;
    void SetWidth(int w);
    // The column takes the width the other columns leave in the view and
    // follows the view's size (the user may still widen the others).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment = taLeftJustify;
    int Index() const { return index_; }

private:
    friend class TListColumns;
    TListColumn(TListView* v, int index) : view_(v), index_(index) {}
    TListView* view_;
    int index_;
    AnsiString caption_;
    int width_ = 50;
    bool autoSize_ = false;
};

class TListColumns {
public:
    explicit TListColumns(TListView* v) : view_(v) {}
    ~TListColumns();
    int Count() const { return int(columns_.size()); }
    TListColumn* Items(int index) const;
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add();
    void Clear();

private:
    friend class TListColumn;
    void Apply();
    TListView* view_;
    std::vector<TListColumn*> columns_;
};

class TListItem {
public:
    ~TListItem();
    AnsiString Caption() const;
    void SetCaption(const AnsiString& s);
    TStrings* SubItems() const { return subItems_.get(); }
    void* Data = nullptr;
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const;
    void SetFocused(bool v);
    bool Checked() const;
    void SetChecked(bool v);
    int ImageIndex = -1;
    int Index() const;
    void MakeVisible(bool partialOK = false);
    void Delete();
    TListView* ListView() const { return view_; }
    QTreeWidgetItem* QtItem() const { return item_; }

private:
    friend class TListItems;
    friend class TListView;
    TListItem(TListView* v, QTreeWidgetItem* item);
    TListView* view_;
    QTreeWidgetItem* item_;
    std::unique_ptr<TStrings> subItems_;
};

class TListItems {
public:
    explicit TListItems(TListView* v) : view_(v) {}
    ~TListItems();
    int Count() const { return int(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListItem;
    friend class TListView;
    TListView* view_;
    std::vector<TListItem*> items_;
    int updating_ = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;
    TListColumns* Columns() const { return columns_.get(); }
    TListItems* Items() const { return items_.get(); }
    // The first selected item, or null; setting selects only that item.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int i);
    int SelCount() const;
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool RowSelect = true;
    bool ReadOnly = true;
    bool Checkboxes = false;
    bool ShowColumnHeaders() const { return showHeaders_; }
    void SetShowColumnHeaders(bool v);
    TViewStyle ViewStyle = vsReport;
    TListItem* ItemFocused() const;
    TListItem* GetItemAt(int x, int y) const;
    void Clear() { items_->Clear(); }
    TLVSelectItemEvent OnSelectItem;
    TNotifyEvent OnChange;
    QTreeWidget* Tree() const { return tree_; }

protected:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumns;
    friend class TListColumn;
    TListItem* ItemOf(QTreeWidgetItem* q) const;
    QTreeWidget* tree_;
    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    bool multiSelect_ = false;
    bool showHeaders_ = true;
    bool syncing_ = false;
};
