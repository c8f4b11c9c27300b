#pragma once
// Standard controls on Qt widgets: labels, edits, memos, buttons, check and
// radio buttons, group boxes, combo boxes, list boxes and check-list boxes.
//
// Change events follow the old platform: an edit's OnChange fires on every
// change of its text, programmatic ones included, while Modified is set only
// by the user; a combo box's OnChange fires only on the user's typing or
// picking. Setting Checked of a check box or radio button fires OnClick.

#include <memory>
#include <vector>

#include "platform/StringList.h"
#include "platform/UiPort.h"
#include "platform/gui/Controls.h"

class TBitmap;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QCheckBox;
class QRadioButton;
class QGroupBox;
class QComboBox;
class QListWidget;
class QToolButton;

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowAccelChar = true;
    TWinControl* FocusControl = nullptr;

protected:
    void ApplyText() override;
    void ApplyFont() override;
    void ApplyColor() override;
    void Fit();
    QLabel* label_;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Set when the user changes the text; setting the text clears it.
    bool Modified = false;
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    AnsiString SelText() const;
    void SetSelText(const AnsiString& s);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    bool AutoSelect = true;
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    TEditCharCase CharCase = ecNormal;
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);
    // Where the text lies in the box.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    // Whether the edit offers the desktop's editing menu (cut, copy, paste)
    // and takes text dropped on it; an edit whose text follows rules of its
    // own turns both off.
    bool EditMenuAndDrops() const { return editMenuAndDrops_; }
    void SetEditMenuAndDrops(bool on);
    TNotifyEvent OnChange;
    virtual void Change();
    void DoEnter() override;
    void WndProc(TMessage& message) override;
    QLineEdit* LineEdit() const { return edit_; }
    // The width of the text cursor in pixels (1 unless set; at least 1).
    int CaretWidth() const { return caretWidth_; }
    void SetCaretWidth(int width);

    // The edit mask in the old syntax "mask;save literals;blank character":
    // '0' a required and '9' an optional digit, '#' an optional digit or
    // sign, 'L'/'l' a letter, 'A'/'a' a letter or digit, 'C'/'c' any
    // character (upper case required, lower case optional), '>' and '<'
    // upper and lower case for what follows, "<>" no case change, '\' the
    // next character as it stands, '/' and ':' the date and time separators
    // (as they are when the mask is set: setting the same mask after they
    // changed takes the new ones), '_' a blank, '!' accepted and
    // ignored. ";0" leaves the literal characters out of Text; the last field
    // is the blank character ('_' when missing). Empty: no mask.
    // With a mask, Text keeps every position: the text as shown, each blank
    // character a blank ("05.  .20  " where "05.__.20__" shows), and setting
    // it puts blanks back as unfilled places; EditText is the text as shown.
    const AnsiString& EditMask() const { return editMask_; }
    void SetEditMask(const AnsiString& mask);
    AnsiString EditText() const;

protected:
    AnsiString GetText() const override;
    void ApplyText() override;
    void ApplyColor() override;
    QLineEdit* edit_;
    int maxLength_ = 0;
    bool readOnly_ = false;
    char passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    TAlignment alignment_ = taLeftJustify;
    bool editMenuAndDrops_ = true;
    int caretWidth_ = 1;
    bool settingText_ = false;
    AnsiString editMask_;
    std::vector<bool> maskLiterals_; // per shown position: a literal character
    char maskBlank_ = '_';
    bool maskSavesLiterals_ = true;
    AnsiString maskSeparators_; // the date and time separators the mask was set with
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* s) { lines_->Assign(s); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WantReturns = true;
    bool WantTabs = false;
    bool Modified = false;
    int MaxLength = 0;
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    void Clear() { SetText(""); }
    TBorderStyle BorderStyle = bsSingle;
    TAlignment Alignment = taLeftJustify;
    TNotifyEvent OnChange;
    virtual void Change();
    bool WantsKey(WORD key) const override;
    QPlainTextEdit* TextEdit() const { return edit_; }

protected:
    AnsiString GetText() const override;
    void ApplyText() override;
    void ApplyColor() override;
    QPlainTextEdit* edit_;
    std::unique_ptr<TStrings> lines_;
    bool readOnly_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // Copied to the form before OnClick runs; a handler may clear the form's.
    int ModalResult = mrNone;
    void Click() override;
    void WndProc(TMessage& message) override;
    bool WantsKey(WORD key) const override;

protected:
    void ApplyText() override;
    QPushButton* button_;
    bool default_ = false;
    bool cancel_ = false;
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    TBitBtnKind Kind() const { return kind_; }
    // Sets the result, the default or cancel role and a caption of the kind.
    void SetKind(TBitBtnKind k);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* b);
    int NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    int Spacing = 4;
    int Margin = -1;
    void Click() override;

private:
    void ApplyGlyph();
    TBitBtnKind kind_ = bkCustom;
    std::unique_ptr<TBitmap> glyph_;
};

// A button that stays down in a group (GroupIndex > 0) or acts as a plain
// button (GroupIndex 0).
class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* b);
    int NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    int ModalResult = mrNone;
    void Click() override;

protected:
    void ApplyText() override;
    void ApplyGlyph();
    QToolButton* button_;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    std::unique_ptr<TBitmap> glyph_;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v);
    TAlignment Alignment = taRightJustify;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;
    // Never narrower than its caption needs (box, spacing and text in its
    // font), so the text is never cut; an aligned box takes what it is given.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void ApplyText() override;
    void ApplyFont() override;
    QCheckBox* box_;
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    bool syncing_ = false;
};

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    // Never narrower than its caption needs (see TCheckBox).
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void ApplyText() override;
    void ApplyFont() override;
    QRadioButton* button_;
    bool checked_ = false;
    bool syncing_ = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void ApplyText() override;
    TRect AlignRect() const override;
    QGroupBox* box_;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    // IndexOf ignores letter case, as every text list does.
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* s) { items_->Assign(s); }
    // -1 when nothing is chosen.
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n);
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    void SelectAll();
    void Clear();
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnSelect;
    virtual void Change();
    bool WantsKey(WORD key) const override;
    QComboBox* Combo() const { return combo_; }

protected:
    AnsiString GetText() const override;
    void ApplyText() override;
    QComboBox* combo_;
    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    int maxLength_ = 0;
    int dropDownCount_ = 8;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
using TOwnerDrawState = unsigned;
constexpr unsigned odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// An item on its way into a list box (LB_INSERTSTRING).
struct TListBoxItem;

// A list box. Its item operations reach its window procedure as list-box
// messages (LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT), so a box
// can follow its items. Once given a horizontal extent
// (LB_SETHORIZONTALEXTENT) it scrolls sideways over that width only.
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    void WndProc(TMessage& message) override;
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* s) { items_->Assign(s); }
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool v);
    int SelCount() const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    int TopIndex() const;
    void SetTopIndex(int i);
    int Columns = 0;
    int TabWidth = 0;
    void Clear();
    // The item at a client point; -1 outside, or (existingOnly false) the
    // index after the last item below the items.
    int ItemAtPos(TPoint p, bool existingOnly) const;
    TRect ItemRect(int index) const;
    // The canvas that owner drawing draws on (valid inside OnDrawItem).
    TCanvas* Canvas();
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    // Owner drawing: fills the rectangle and draws the text unless OnDrawItem draws.
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    QListWidget* List() const { return list_; }

protected:
    friend class ListDelegate;
    QListWidget* list_;
    std::unique_ptr<TStrings> items_;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    std::unique_ptr<TCanvas> drawCanvas_;

private:
    void ApplyHorizontalExtent();
    int hExtent_ = -1; // -1: the items' own width
    bool applyingExtent_ = false;
};

class TCheckListBox : public TListBox {
public:
    explicit TCheckListBox(TComponent* owner);
    bool Checked(int index) const { return State(index) == cbChecked; }
    void SetChecked(int index, bool v) { SetState(index, v ? cbChecked : cbUnchecked); }
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState s);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool v);
    bool AllowGrayed = false;
    TNotifyEvent OnClickCheck;
    virtual void ClickCheck();

private:
    bool syncing_ = false;
};
