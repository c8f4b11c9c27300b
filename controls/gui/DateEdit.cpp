#include "controls/gui/DateEdit.h"

#include "controls/Exconst.h"
#include "controls/gui/PickDate.h"
#include "platform/gui/Forms.h"

// ---- TCustomDateEdit -------------------------------------------------------------------------

TCustomDateEdit::TCustomDateEdit(TComponent* owner)
    : TCustomComboEdit(owner), title_(ExLoadStr(SDateDlgTitle)), hints_(std::make_unique<TStringList>()) {
    hints_->OnChange = [this](TObject*) { HintsChanged(); };
    UpdateFormat();
    SetCalendarStyle(csPopup);
    SetGlyphKind(gkDefault);
    if (!(ComponentState() & csDesigning))
        settingsHook_ = Application->HookMainWindow([this](TMessage& m) { return FormatSettingsChange(m); });
}

TCustomDateEdit::~TCustomDateEdit() {
    Destroying();
    if (settingsHook_) Application->UnhookMainWindow(settingsHook_);
    FreePopup();
    hints_->OnChange = nullptr;
}

void TCustomDateEdit::FreePopup() {
    TPopupWindow* popup = Popup();
    if (!popup) return;
    if (PopupVisible()) PopupCloseUp(popup, false);
    popup->OnCloseUp = nullptr;
    SetPopup(nullptr);
    Free(popup);
}

TBitmap* TCustomDateEdit::GetDefaultBitmap() {
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap) {
        RegisterExResources();
        bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromResourceName("DEDITBMP");
    }
    return bitmap.get();
}

bool TCustomDateEdit::FourDigitYear() const {
    switch (yearDigits_) {
    case dyFour: return true;
    case dyTwo: return false;
    case dyDefault: break;
    }
    return ::FourDigitYear();
}

void TCustomDateEdit::UpdateFormat() { dateFormat_ = DefDateFormat(FourDigitYear()); }

AnsiString TCustomDateEdit::GetDateMask() const { return DefDateMask(blanksChar_, FourDigitYear()); }

void TCustomDateEdit::UpdateMask() {
    TDateTime date = Date();
    AnsiString oldFormat = dateFormat_;
    UpdateFormat();
    if (GetDateMask() != EditMask() || oldFormat != dateFormat_) SetEditMask("");
    // Set again also when it is the same: the separators it stands for may
    // have changed.
    SetEditMask(GetDateMask());
    UpdatePopup();
    SetDate(date);
}

bool TCustomDateEdit::FormatSettingsChange(TMessage& message) {
    if (message.Msg == WM_SETTINGCHANGE && Application->UpdateFormatSettings) UpdateMask();
    return false;
}

void TCustomDateEdit::UpdatePopup() {
    SetupPopupCalendar(Popup(), startOfWeek_, weekends_, weekendColor_, hints_.get(), FourDigitYear());
}

TDateTime TCustomDateEdit::Date() const {
    return StrToDateFmtDef(dateFormat_, Text(), DefaultToday ? ::Date() : NullDate);
}

void TCustomDateEdit::SetDate(TDateTime value) {
    if (!ValidDate(value) || value == NullDate) value = DefaultToday ? ::Date() : NullDate;
    TDateTime before = Date();
    SetText(value == NullDate ? AnsiString() : FormatDateTime(dateFormat_, value));
    Modified = before != Date();
}

void TCustomDateEdit::ApplyDate(TDateTime value) {
    SetDate(value);
    SelectAll();
}

void TCustomDateEdit::SetCalendarStyle(TCalendarStyle style) {
    if (style == CalendarStyle()) return;
    if (style == csDialog) {
        FreePopup();
        return;
    }
    TPopupWindow* popup = CreatePopupCalendar(this);
    SetPopup(popup);
    popup->SetColor(popupColor_);
    UpdatePopup();
}

TColor TCustomDateEdit::PopupColor() const { return Popup() ? Popup()->Color() : popupColor_; }

void TCustomDateEdit::SetPopupColor(TColor color) {
    popupColor_ = color;
    if (Popup()) Popup()->SetColor(color);
}

void TCustomDateEdit::SetBlanksChar(char c) {
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
    if (c == blanksChar_) return;
    blanksChar_ = c;
    UpdateMask();
}

void TCustomDateEdit::SetYearDigits(TYearDigits digits) {
    if (digits == yearDigits_) return;
    yearDigits_ = digits;
    UpdateMask();
}

void TCustomDateEdit::SetStartOfWeek(TDayOfWeekName day) {
    if (day == startOfWeek_) return;
    startOfWeek_ = day;
    UpdatePopup();
}

void TCustomDateEdit::SetWeekends(TDaysOfWeek days) {
    if (days == weekends_) return;
    weekends_ = days;
    UpdatePopup();
}

void TCustomDateEdit::SetWeekendColor(TColor color) {
    if (color == weekendColor_) return;
    weekendColor_ = color;
    UpdatePopup();
}

void TCustomDateEdit::HintsChanged() {
    if (hints_->Count() > 4) {
        hints_->OnChange = nullptr;
        while (hints_->Count() > 4) hints_->Delete(4);
        hints_->OnChange = [this](TObject*) { HintsChanged(); };
    }
    if (!(ComponentState() & csDesigning)) UpdatePopup();
}

bool TCustomDateEdit::TextStored() const {
    AnsiString text = Text();
    for (int i = 1; i <= text.Length(); ++i)
        if (text[i] != ' ' && text[i] != blanksChar_ && text[i] != DateSeparator) return true;
    return false;
}

void TCustomDateEdit::CheckValidDate() {
    if (!TextStored()) return;
    TDateTime date = StrToDateFmt(dateFormat_, Text());
    formatting_ = true;
    SetDate(date);
    formatting_ = false;
}

void TCustomDateEdit::Change() {
    if (!formatting_) TCustomComboEdit::Change();
}

void TCustomDateEdit::DoExit() {
    if (CheckOnExit && !(ComponentState() & csDesigning)) {
        try {
            CheckValidDate();
        } catch (...) {
            TCustomComboEdit::DoExit();
            throw;
        }
    }
    TCustomComboEdit::DoExit();
}

void TCustomDateEdit::KeyDown(WORD& key, TShiftState shift) {
    bool popupKey = key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP || key == VK_RIGHT ||
                    key == VK_DOWN || key == VK_ADD || key == VK_SUBTRACT;
    if (popupKey && PopupVisible()) {
        Popup()->KeyDown(key, shift);
        key = 0;
    } else if (shift == 0 && DirectInput() && (key == VK_ADD || key == VK_SUBTRACT)) {
        TDateTime date = Date();
        if (date == NullDate) date = Now();
        ApplyDate(date + (key == VK_ADD ? 1 : -1));
        key = 0;
    }
    TCustomComboEdit::KeyDown(key, shift);
}

void TCustomDateEdit::KeyPress(char& key) {
    bool popupChar = key == '+' || key == '-' || key == 'T' || key == 't';
    if (popupChar && PopupVisible()) {
        Popup()->KeyPress(key);
        key = 0;
    } else if (DirectInput()) {
        if (key == '+' || key == '-') {
            key = 0;
        } else if (key == 'T' || key == 't') {
            ApplyDate(::Date());
            key = 0;
        }
    }
    TCustomComboEdit::KeyPress(key);
}

void TCustomDateEdit::ButtonClick() {
    TCustomComboEdit::ButtonClick();
    if (CalendarStyle() != csDialog) return;
    TDateTime date = Date();
    bool action = SelectDate(date, title_, startOfWeek_, weekends_, weekendColor_, hints_.get());
    if (CanFocus()) SetFocus();
    if (!action) return;
    if (OnAcceptDate) OnAcceptDate(this, date, action);
    if (!action) return;
    SetDate(date);
    if (Focused()) SelectAll();
}

TDateTime TCustomDateEdit::DateOfValue(const Variant& value) const {
    if (value.IsNull() || value.IsEmpty()) return NullDate;
    if (value.VarType() == varDouble || value.VarType() == varInteger) return value.AsDouble();
    AnsiString text = VarToStr(value);
    if (text.IsEmpty()) return NullDate;
    return StrToDateFmtDef(dateFormat_, text, ::Date());
}

void TCustomDateEdit::SetPopupValue(const Variant& value) {
    TCustomComboEdit::SetPopupValue(Variant(double(StrToDateFmtDef(dateFormat_, VarToStr(value), ::Date()))));
}

bool TCustomDateEdit::AcceptPopup(Variant& value) {
    bool action = true;
    if (OnAcceptDate) {
        TDateTime date = DateOfValue(value);
        OnAcceptDate(this, date, action);
        if (action) value = Variant(double(date));
    }
    return action;
}

void TCustomDateEdit::AcceptValue(const Variant& value) {
    AnsiString before = Text();
    SetDate(DateOfValue(value));
    UpdatePopupVisible();
    if (Text() != before) Change();
}

// ---- TDateEdit ----------------------------------------------------------------------------------

TDateEdit::TDateEdit(TComponent* owner) : TCustomDateEdit(owner) { UpdateMask(); }

// ---- DateFormatChanged ----------------------------------------------------------------------------

namespace {

void UpdateDateEdits(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* edit = dynamic_cast<TCustomDateEdit*>(c)) edit->UpdateMask();
        else if (auto* container = dynamic_cast<TWinControl*>(c)) UpdateDateEdits(container);
    }
}

} // namespace

void DateFormatChanged() {
    for (int i = 0; i < Screen->FormCount(); ++i) UpdateDateEdits(Screen->Forms(i));
}
