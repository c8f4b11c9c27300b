#include "controls/gui/ExCheckListBox.h"

#include <algorithm>

#include "controls/gui/CtlUtils.h"
#include "controls/Exconst.h"
#include "controls/gui/Apputils.h"
#include "platform/ScopeGuard.h"

namespace {

constexpr int kCellWidth = 16;
constexpr int kCellHeight = 13;

} // namespace

TBitmap* CheckBitmap() {
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap) {
        RegisterExResources();
        bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromResourceName("CHECK_IMAGES");
    }
    return bitmap.get();
}

TExCheckListBox::TExCheckListBox(TComponent* owner)
    : TExCustomListBox(owner), iniLink_(std::make_unique<TIniLink>()), cell_(std::make_unique<TBitmap>()) {
    SetAutoScroll(true);
    iniLink_->OnSave = [this](TObject*) {
        if (!Name().IsEmpty() && iniLink_->IniObject())
            IniSave(iniLink_->IniObject(), iniLink_->RootSection() + GetDefaultSection(this));
    };
    iniLink_->OnLoad = [this](TObject*) {
        if (!Name().IsEmpty() && iniLink_->IniObject())
            IniLoad(iniLink_->IniObject(), iniLink_->RootSection() + GetDefaultSection(this));
    };
}

TExCheckListBox::~TExCheckListBox() {
    Destroying();
    iniLink_.reset();
    for (int i = 0; i < LBGetCount(); ++i) FreeCheckObject(i);
}

// ---- check objects ------------------------------------------------------------------

TCheckListBoxItem* TExCheckListBox::CheckObject(int index) const {
    return reinterpret_cast<TCheckListBoxItem*>(LBGetItemData(index));
}

TCheckListBoxItem* TExCheckListBox::MakeCheckObject(int index) {
    TCheckListBoxItem* item = CheckObject(index);
    if (!item) {
        item = new TCheckListBoxItem;
        LBSetItemData(index, reinterpret_cast<std::intptr_t>(item));
    }
    return item;
}

void TExCheckListBox::FreeCheckObject(int index) {
    delete CheckObject(index);
    LBSetItemData(index, 0);
}

std::intptr_t TExCheckListBox::GetItemData(int index) const {
    TCheckListBoxItem* item = CheckObject(index);
    return item ? item->Data : 0;
}

void TExCheckListBox::SetItemData(int index, std::intptr_t data) { MakeCheckObject(index)->Data = data; }

void TExCheckListBox::DeleteString(int index) {
    CheckIndex(index);
    FreeCheckObject(index);
    TExCustomListBox::DeleteString(index);
}

void TExCheckListBox::ResetContent() {
    for (int i = 0; i < LBGetCount(); ++i) FreeCheckObject(i);
    TExCustomListBox::ResetContent();
}

// ---- states -----------------------------------------------------------------------------

bool TExCheckListBox::GetChecked(int index) const {
    TCheckListBoxItem* item = CheckObject(index);
    return item && item->State == cbChecked;
}

void TExCheckListBox::SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }

TCheckBoxState TExCheckListBox::GetState(int index) const {
    TCheckListBoxItem* item = CheckObject(index);
    TCheckBoxState s = item ? item->State : cbUnchecked;
    if (checkKind_ == ckRadioButtons && s != cbChecked) s = cbUnchecked;
    return s;
}

void TExCheckListBox::SetState(int index, TCheckBoxState state) {
    // A radio button has no grayed look: grayed means unchecked there, so it is refused on
    // the checked item like an uncheck and the one checked item always stays.
    if (checkKind_ == ckRadioButtons && state == cbGrayed) state = cbUnchecked;
    if (GetState(index) == state && !normalising_) return;
    if (checkKind_ == ckRadioButtons && state == cbUnchecked && GetCheckedIndex() == index) return;
    MakeCheckObject(index)->State = state;
    if (checkKind_ == ckRadioButtons && state == cbChecked) {
        for (int i = LBGetCount() - 1; i >= 0; --i) {
            if (i == index) continue;
            TCheckListBoxItem* other = CheckObject(i);
            if (other && other->State == cbChecked) other->State = cbUnchecked;
        }
    }
    Invalidate();
    if (!(ComponentState() & csReading)) ChangeItemState(index);
}

bool TExCheckListBox::GetItemEnabled(int index) const {
    TCheckListBoxItem* item = CheckObject(index);
    return !item || item->Enabled;
}

void TExCheckListBox::SetItemEnabled(int index, bool value) {
    if (GetItemEnabled(index) == value) return;
    MakeCheckObject(index)->Enabled = value;
    Invalidate();
}

int TExCheckListBox::GetCheckedIndex() const {
    if (checkKind_ != ckRadioButtons) return -1;
    for (int i = 0; i < LBGetCount(); ++i)
        if (GetState(i) == cbChecked) return i;
    return -1;
}

void TExCheckListBox::SetCheckedIndex(int value) {
    if (checkKind_ == ckRadioButtons && LBGetCount() > 0)
        SetState(std::max(value, 0), cbChecked); // past the end: the list's index error
}

void TExCheckListBox::ApplyState(TCheckBoxState state, bool enabledOnly) {
    if (checkKind_ == ckRadioButtons) return;
    for (int i = 0; i < LBGetCount(); ++i)
        if (!enabledOnly || GetItemEnabled(i)) SetState(i, state);
}

bool TExCheckListBox::GrayedAllowed() const {
    return allowGrayed_ && (checkKind_ == ckCheckBoxes || checkKind_ == ckCheckMarks);
}

void TExCheckListBox::SetAllowGrayed(bool v) {
    if (v == allowGrayed_) return;
    allowGrayed_ = v;
    Invalidate();
}

void TExCheckListBox::UpdateCheckStates() {
    if (checkKind_ != ckRadioButtons || LBGetCount() == 0) return;
    normalising_ = true;
    TScopeGuard normalised([this] { normalising_ = false; });
    SetState(std::max(GetCheckedIndex(), 0), cbChecked);
}

void TExCheckListBox::SetCheckKind(TCheckKind k) {
    if (k == checkKind_) return;
    checkKind_ = k;
    UpdateCheckStates();
    Invalidate();
}

void TExCheckListBox::Loaded() {
    TExCustomListBox::Loaded();
    UpdateCheckStates();
}

void TExCheckListBox::ToggleClickCheck(int index) {
    if (index < 0 || index >= LBGetCount() || !GetItemEnabled(index)) return;
    TCheckBoxState next;
    switch (GetState(index)) {
    case cbUnchecked: next = GrayedAllowed() ? cbGrayed : cbChecked; break;
    case cbChecked: next = cbUnchecked; break;
    default: next = cbChecked; break;
    }
    SetState(index, next);
    ClickCheck();
}

void TExCheckListBox::ClickCheck() {
    if (OnClickCheck) OnClickCheck(this);
}

void TExCheckListBox::ChangeItemState(int index) {
    if (OnStateChange) OnStateChange(this, index);
}

void TExCheckListBox::SetItems(TStrings* items) {
    Items()->BeginUpdate();
    TScopeGuard endUpdate([this] { Items()->EndUpdate(); });
    Items()->Assign(items);
    // From another check-list box the states and enabled flags come along.
    auto* strings = dynamic_cast<TExListBoxStrings*>(items);
    if (auto* other = strings ? dynamic_cast<TExCheckListBox*>(strings->Box()) : nullptr) {
        for (int i = 0; i < other->LBGetCount() && i < LBGetCount(); ++i) {
            TCheckListBoxItem* item = MakeCheckObject(i);
            item->State = other->GetState(i);
            item->Enabled = other->GetItemEnabled(i);
        }
    }
}

// ---- input --------------------------------------------------------------------------------

void TExCheckListBox::KeyPress(char& key) {
    TExCustomListBox::KeyPress(key);
    switch (key) {
    case ' ':
        ToggleClickCheck(ItemIndex());
        key = 0;
        break;
    case '+':
    case '-':
        ApplyState(key == '+' ? cbChecked : cbUnchecked, true);
        ClickCheck();
        break;
    default:
        break;
    }
}

void TExCheckListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TExCustomListBox::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    int index = ItemAtPos(TPoint(x, y), true);
    if (index < 0) return;
    TRect r = ItemRect(index);
    if (x - r.Left < GetCheckWidth()) ToggleClickCheck(index);
}

// ---- drawing --------------------------------------------------------------------------------

int TExCheckListBox::GetCheckWidth() const { return kCellWidth + 2; }

int TExCheckListBox::GetItemWidth(int index) { return TExCustomListBox::GetItemWidth(index) + GetCheckWidth(); }

int TExCheckListBox::RowHeight() const {
    // The rows follow the font and the check cell only while the box draws
    // its text itself; an owner that draws or measures keeps ItemHeight.
    bool automatic = Style() == lbStandard || (Style() == lbOwnerDrawFixed && !OnDrawItem());
    if (!automatic) return ItemHeight();
    int h = std::max(FontTextHeight(Font(), "Wg"), kCellHeight);
    if (Style() == lbOwnerDrawFixed) h = std::max(h, ItemHeight());
    return h;
}

int TExCheckListBox::GetItemHeight() const { return RowHeight(); }

void TExCheckListBox::DrawItemAt(int index, const TRect& rect) {
    // The check sits in front of the item: the item itself starts after it.
    TRect r = rect;
    r.Left += GetCheckWidth();
    TExCustomListBox::DrawItemAt(index, r);
}

void TExCheckListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (index < LBGetCount()) {
        TRect check = Rect(rect.Left - GetCheckWidth(), rect.Top, rect.Left, rect.Bottom);
        TColor brush = Canvas()->Brush()->Color();
        DrawCheck(check, GetState(index), GetItemEnabled(index));
        Canvas()->Brush()->SetColor(brush);
        if (!GetItemEnabled(index)) Canvas()->Font()->SetColor((state & odSelected) ? clInactiveCaptionText : clGrayText);
    }
    // Standard-style boxes always draw their text themselves.
    if (Style() == lbStandard) DefaultItemDraw(index, rect);
    else TExCustomListBox::DrawItem(index, rect, state);
}

void TExCheckListBox::DrawCheck(const TRect& rect, TCheckBoxState state, bool enabled) {
    TBitmap* checks = CheckBitmap();
    int cell = int(checkKind_) * 6 + (enabled ? 0 : 3) + int(state);
    AssignBitmapCell(checks, cell_.get(), 6, 3, cell);
    int x = rect.Left + (rect.Width() - kCellWidth) / 2;
    int y = rect.Top + (rect.Height() - kCellHeight) / 2;
    TCanvas* c = Canvas();
    TColor saved = c->Brush()->Color();
    c->Brush()->SetColor(Color());
    c->BrushCopy(Bounds(x, y, kCellWidth, kCellHeight), cell_.get(), Rect(0, 0, kCellWidth, kCellHeight),
                 checks->TransparentColor());
    c->Brush()->SetColor(saved);
}

// ---- saved states ---------------------------------------------------------------------------

void TExCheckListBox::SetIniStorage(TFormPlacement* storage) { iniLink_->SetStorage(storage); }

void TExCheckListBox::IniSave(TObject* store, const AnsiString& section) {
    IniEraseSection(store, section);
    IniWriteInteger(store, section, "Count", LBGetCount());
    for (int i = 0; i < LBGetCount(); ++i) IniWriteInteger(store, section, "Item" + IntToStr(i), int(GetState(i)));
}

void TExCheckListBox::IniLoad(TObject* store, const AnsiString& section) {
    int count = std::min(IniReadInteger(store, section, "Count", 0), LBGetCount());
    for (int i = 0; i < count; ++i) {
        int state = IniReadInteger(store, section, "Item" + IntToStr(i), 0);
        if (state < cbUnchecked || state > cbGrayed) continue; // a damaged value changes nothing
        SetState(i, TCheckBoxState(state));
        if (checkKind_ == ckRadioButtons && state == cbChecked) break;
    }
}

void TExCheckListBox::SaveStates(TIniFile* iniFile) { IniSave(iniFile, GetDefaultSection(this)); }
void TExCheckListBox::RestoreStates(TIniFile* iniFile) { IniLoad(iniFile, GetDefaultSection(this)); }
void TExCheckListBox::SaveStatesReg(TRegIniFile* iniFile) { IniSave(iniFile, GetDefaultSection(this)); }
void TExCheckListBox::RestoreStatesReg(TRegIniFile* iniFile) { IniLoad(iniFile, GetDefaultSection(this)); }
