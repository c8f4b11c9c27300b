#pragma once
// The date edit: a combo edit whose text is a date in a fixed-position edit
// mask of the locale's date order ("05.06.2007" in a Russian locale), with a
// button that opens a popup calendar (csPopup) or the modal date dialog
// (csDialog).
//
// Keys: keypad "+" and "-" add and take a day (from now when the edit holds
// no date), "T" gives today; while the popup is open those keys, Page Up,
// Page Down and the arrows go to it. Each date edit hooks the main window
// and rebuilds its mask when the desktop reports a new locale (while the
// application follows locale changes); DateFormatChanged does it for every
// date edit on the screen's forms when the program changes the date
// settings itself.

#include <memory>

#include "controls/Dateutil.h"
#include "controls/gui/ToolEdit.h"

enum TCalendarStyle { csPopup, csDialog };
enum TYearDigits { dyDefault, dyFour, dyTwo };

// Sender, the date (may be changed) and whether to take it (may be cleared).
using TExecDateDialog = std::function<void(TObject* Sender, TDateTime& Date, bool& Action)>;

class TCustomDateEdit : public TCustomComboEdit {
public:
    explicit TCustomDateEdit(TComponent* owner);
    ~TCustomDateEdit() override;

    // The text as a date: NullDate (or today with DefaultToday) when it is
    // no date.
    TDateTime Date() const;
    // NullDate or a value that is no valid date becomes NullDate (today with
    // DefaultToday); NullDate shows as an empty mask. Modified tells whether
    // the date changed.
    void SetDate(TDateTime value);
    // SetDate, then the text is selected.
    virtual void ApplyDate(TDateTime value);
    // Rebuilds format and mask from the locale, keeping the date.
    virtual void UpdateMask();

    AnsiString GetDateFormat() const { return dateFormat_; }
    AnsiString GetDateMask() const;
    bool FourDigitYear() const;

    TCalendarStyle CalendarStyle() const { return Popup() ? csPopup : csDialog; }
    void SetCalendarStyle(TCalendarStyle style);
    const AnsiString& DialogTitle() const { return title_; }
    void SetDialogTitle(const AnsiString& title) { title_ = title; }
    TColor PopupColor() const;
    void SetPopupColor(TColor color);
    char BlanksChar() const { return blanksChar_; }
    // A character below the blank is taken as a blank.
    void SetBlanksChar(char c);
    // At most four lines: the hints of the popup's four buttons.
    TStrings* CalendarHints() const { return hints_.get(); }
    void SetCalendarHints(TStrings* hints) { hints_->Assign(hints); }
    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName day);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek days);
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor color);
    TYearDigits YearDigits() const { return yearDigits_; }
    void SetYearDigits(TYearDigits digits);
    bool DefaultToday = false;
    bool CheckOnExit = false;
    TExecDateDialog OnAcceptDate;

    // Whether the text holds more than blanks and separators.
    bool TextStored() const;
    // A stored text is read strictly and written back formatted;
    // EConvertError "'<text>' is not a valid date" leaves it as typed.
    void CheckValidDate();

    void ButtonClick() override;
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoExit() override;

protected:
    // "DEDITBMP": the calendar sheet, and its grey copy for a disabled edit.
    TBitmap* GetDefaultBitmap() override;
    int DefaultNumGlyphs() const override { return 2; }
    bool AcceptPopup(Variant& value) override;
    void AcceptValue(const Variant& value) override;
    void SetPopupValue(const Variant& value) override;
    void UpdateFormat();
    void UpdatePopup();

private:
    void FreePopup();
    void HintsChanged();
    // The main window's hook: a settings change rebuilds the mask.
    bool FormatSettingsChange(TMessage& message);
    // A popup value (a date number, or a text in the date format) as a date.
    TDateTime DateOfValue(const Variant& value) const;

    AnsiString title_;
    TColor popupColor_ = clBtnFace;
    char blanksChar_ = ' ';
    std::unique_ptr<TStringList> hints_;
    TDayOfWeekName startOfWeek_ = Mon;
    TDaysOfWeek weekends_ = DayBit(Sun);
    TColor weekendColor_ = clRed;
    TYearDigits yearDigits_ = dyDefault;
    AnsiString dateFormat_;
    bool formatting_ = false;
    int settingsHook_ = 0; // the main window's hook, 0 when not hooked
};

class TDateEdit : public TCustomDateEdit {
public:
    explicit TDateEdit(TComponent* owner);
};

// Every date edit on the screen's forms (also inside panels) runs UpdateMask.
void DateFormatChanged();
