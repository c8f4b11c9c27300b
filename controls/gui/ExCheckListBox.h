#pragma once
// TExCheckListBox: a list box with a check image in front of each item and,
// per item, a three-state check (unchecked, checked, grayed) and an enabled
// flag. Kinds: check boxes, radio buttons (exactly one item checked) and
// check marks. The user toggles with the mouse on the check, the space key,
// and "+"/"-" (all enabled items); the states can be saved in the store of a
// form placement ("Count", "Item0", "Item1" ... in the box's section).

#include <functional>
#include <memory>

#include "controls/gui/ExListBox.h"
#include "controls/gui/Placemnt.h"
#include "platform/IniFile.h"
#include "platform/RegIniFile.h"

enum TCheckKind { ckCheckBoxes, ckRadioButtons, ckCheckMarks };

using TChangeStateEvent = std::function<void(TObject* Sender, int Index)>;

// The check state of one item; a new item is unchecked and enabled.
struct TCheckListBoxItem {
    std::intptr_t Data = 0;
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
};

// The shared picture of the check images: 6 columns x 3 rows of 16 x 13
// cells (check boxes, radio buttons, check marks; enabled unchecked,
// checked, grayed, then the disabled ones).
TBitmap* CheckBitmap();

class TExCheckListBox : public TExCustomListBox {
public:
    explicit TExCheckListBox(TComponent* owner);
    ~TExCheckListBox() override;

    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v);
    TCheckKind CheckKind() const { return checkKind_; }
    void SetCheckKind(TCheckKind k);
    TFormPlacement* IniStorage() const { return iniLink_->Storage(); }
    void SetIniStorage(TFormPlacement* storage);
    TNotifyEvent OnClickCheck;
    TChangeStateEvent OnStateChange;

    bool GetChecked(int index) const;
    void SetChecked(int index, bool value);
    TCheckBoxState GetState(int index) const;
    void SetState(int index, TCheckBoxState state);
    bool GetItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    // The checked item of a radio-kind box, else -1.
    int GetCheckedIndex() const;
    void SetCheckedIndex(int value);
    // Every item (or every enabled one) gets the state; not in radio kind.
    void ApplyState(TCheckBoxState state, bool enabledOnly);
    std::intptr_t GetItemData(int index) const override;
    void SetItemData(int index, std::intptr_t data) override;
    void DeleteString(int index) override;
    void ResetContent() override;

    void SaveStates(TIniFile* iniFile);
    void RestoreStates(TIniFile* iniFile);
    void SaveStatesReg(TRegIniFile* iniFile);
    void RestoreStatesReg(TRegIniFile* iniFile);

    // Unchecked -> grayed (when allowed) or checked -> unchecked; grayed ->
    // checked; only for an enabled item inside the list. Fires OnClickCheck.
    void ToggleClickCheck(int index);
    virtual void ClickCheck();
    virtual void ChangeItemState(int index);
    // The width kept for the check in front of each item (18).
    int GetCheckWidth() const;
    int GetItemWidth(int index) override;
    int GetItemHeight() const override;
    // Copies texts and item data; from another check-list box also the states.
    void SetItems(TStrings* items) override;

    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
    void DrawItemAt(int index, const TRect& rect) override;
    void DrawCheck(const TRect& rect, TCheckBoxState state, bool enabled);
    int RowHeight() const override;
    void Loaded() override;

private:
    TCheckListBoxItem* CheckObject(int index) const;
    TCheckListBoxItem* MakeCheckObject(int index);
    void FreeCheckObject(int index);
    bool GrayedAllowed() const;
    void UpdateCheckStates();
    void IniSave(TObject* store, const AnsiString& section);
    void IniLoad(TObject* store, const AnsiString& section);

    bool allowGrayed_ = false;
    TCheckKind checkKind_ = ckCheckBoxes;
    bool normalising_ = false;
    std::unique_ptr<TIniLink> iniLink_;
    std::unique_ptr<TBitmap> cell_;
};
