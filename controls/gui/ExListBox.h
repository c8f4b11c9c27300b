#pragma once
// TExCustomListBox: a list box that draws its own items (the base of the
// check-list box). It scrolls vertically, in columns (Columns > 0) or
// horizontally as far as its widest item (AutoScroll), draws tabbed text,
// shows a gray selection while it has no focus (GraySelection), and lets its
// owner draw, measure and size the items. Items keep a text and an integer of
// item data; sorting, exchanging and moving carry the data with the text.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/StringList.h"
#include "platform/gui/StdCtrls.h"

class TExCustomListBox;

// The tab stop of list-box text: TabWidth quarters of the width of "0",
// rounded to the nearest pixel (ties to even).
int ListTabStop(TCanvas* canvas, int tabWidth);
// The width of list-box text in the canvas's font: plain with TabWidth
// below 1, else with its tabs expanded to the stops.
int ListTextWidth(TCanvas* canvas, const AnsiString& text, int tabWidth);

using TGetItemWidthEvent = std::function<void(TWinControl* Control, int Index, int& Width)>;

// The item list of a box: every operation acts on the box.
class TExListBoxStrings : public TStrings {
public:
    explicit TExListBoxStrings(TExCustomListBox* box) : box_(box) {}
    TExCustomListBox* Box() const { return box_; }
    int Count() const override;
    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const AnsiString& s) override;
    int Add(const AnsiString& s) override;
    void Delete(int index) override;
    void Clear() override;
    // Both carry the item's data (and everything kept with it) to its new place.
    void Exchange(int a, int b) override;
    void Move(int from, int to) override;

protected:
    void SetUpdateState(bool updating) override;

private:
    TExCustomListBox* box_;
};

class TExCustomListBox : public TCustomControl {
public:
    explicit TExCustomListBox(TComponent* owner);
    ~TExCustomListBox() override;

    TStrings* Items() const { return items_.get(); }
    virtual void SetItems(TStrings* items);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);
    int Columns() const { return columns_; }
    void SetColumns(int n);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    // The box's height holds whole rows only (not in lbOwnerDrawVariable).
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool v);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int v);
    // Horizontal extent tracking; always false while Columns > 0.
    bool AutoScroll() const { return autoScroll_ && columns_ == 0; }
    void SetAutoScroll(bool v);
    bool GraySelection() const { return graySelection_; }
    void SetGraySelection(bool v);
    TDrawItemEvent OnDrawItem() const { return onDrawItem_; }
    void SetOnDrawItem(TDrawItemEvent e);
    TMeasureItemEvent OnMeasureItem;
    TGetItemWidthEvent OnGetItemWidth() const { return onGetItemWidth_; }
    void SetOnGetItemWidth(TGetItemWidthEvent e);
    // The selection changed (the platform's change notification).
    TNotifyEvent OnChange;

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int SelCount() const;
    bool GetSelected(int index) const;
    void SetSelected(int index, bool value);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    // Item data: an integer wide enough for a pointer (the Objects of Items).
    virtual std::intptr_t GetItemData(int index) const;
    virtual void SetItemData(int index, std::intptr_t data);
    virtual void DeleteString(int index);
    virtual void ResetContent();
    void Clear() { items_->Clear(); }
    // The item under a client point: -1 outside the client area; below the
    // items -1 (existingOnly) or the index after the last item examined.
    int ItemAtPos(TPoint pos, bool existingOnly) const;
    // An existing item's rectangle; the place below the last one for Count;
    // an empty rectangle beyond.
    TRect ItemRect(int index) const;
    // Plain text, or tabbed text with one stop every TabWidth quarter-"0"s.
    void DefaultDrawText(int x, int y, const AnsiString& text);
    virtual int GetItemHeight() const;
    virtual int GetItemWidth(int index);
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    int HorizontalExtent() const { return extent_; }
    int HorizontalPosition() const { return hScroll_; }
    // Pixel width of a column with Columns > 0.
    int ColumnWidth() const;

    void SetBounds(int left, int top, int width, int height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void WndProc(TMessage& message) override;

    // The list-box operations behind the item list.
    int LBGetCount() const { return int(rows_.size()); }
    AnsiString LBGetText(int index) const;
    void LBSetText(int index, const AnsiString& s);
    int LBAddString(const AnsiString& s);
    int LBInsertString(int index, const AnsiString& s);
    void LBDeleteString(int index);
    void LBResetContent();
    std::intptr_t LBGetItemData(int index) const;
    void LBSetItemData(int index, std::intptr_t data);
    void LBExchange(int a, int b);
    void LBMove(int from, int to);

protected:
    void Paint() override;
    // A press with dmAutomatic is handled in WndProc, by the rules of the selection.
    void BeginAutoDrag() override {}
    // The box takes a plain press and release at the cursor, which ends
    // whatever the press that began the drag had started.
    void DragCanceled() override;
    // A left press with dmAutomatic: in multi-select mode a press on a
    // selected item (without Shift, or with Ctrl) drags the selection at
    // once; any other press selects first and then waits for the mouse to
    // move, unless Shift or Ctrl is held.
    void AutoDragPress(TMessage& message);
    // Draws one item with the selection colours (and its focus rectangle).
    virtual void DrawItemAt(int index, const TRect& rect);
    // The item's text (or nothing beyond the items) on its filled rectangle.
    void DefaultItemDraw(int index, const TRect& rect);
    // The text of an item as the canvas measures it.
    int TextExtentOf(const AnsiString& text);
    // The base of the item rows' height.
    virtual int RowHeight() const;
    virtual void ItemsChanged() {}
    // Raises the list-index error "List index out of bounds (%d)".
    [[noreturn]] void IndexError(int index) const;
    void CheckIndex(int index) const;
    void Click() override;
    TCanvas* ItemCanvas() { return Canvas(); }
    friend class TExListBoxStrings;

    struct Row {
        AnsiString text;
        std::intptr_t data = 0;
        int height = 0; // variable style only
    };
    std::vector<Row> rows_;
    std::unique_ptr<TStrings> items_;
    int updating_ = 0;

private:
    void ChangeSelection(int index, TShiftState shift, bool fromMouse);
    void SelectRange(int from, int to, bool value);
    void ScrollIntoView(int index);
    int VisibleRows() const;
    int RowsPerColumn() const;
    void UpdateScrollBars();
    void RecalcExtent();
    // Every row's height again (ItemHeight, or what the owner measures).
    void MeasureRows();
    void ScrollToLeftEnd();
    int TabStopPixels();
    // The height of whole rows nearest below height, with the frame.
    int IntegralBoxHeight(int height) const;
    void ApplyIntegralHeight();
    void NotifySelChange();
    bool HasFocusForDrawing() const;

    TBorderStyle borderStyle_ = bsSingle;
    int columns_ = 0;
    int itemHeight_ = 16;
    TListBoxStyle style_ = lbStandard;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    int tabWidth_ = 0;
    bool autoScroll_ = false;
    bool graySelection_ = false;
    bool integralHeight_ = false;
    TDrawItemEvent onDrawItem_;
    TGetItemWidthEvent onGetItemWidth_;
    int itemIndex_ = -1;
    int anchor_ = -1;
    int topIndex_ = 0;
    int extent_ = 0;
    int hScroll_ = 0;
    std::vector<bool> selected_;
    bool barsMade_ = false;
};
