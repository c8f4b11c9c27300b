#pragma once
// Picking a date: TExCalendar, a month on a grid of 7 x 7 cells (day names in
// the first row); TLocCalendar, its borderless variant that never takes the
// focus; TPopupCalendar, the drop-down of a date edit; TSelectDateDlg, the
// modal date dialog; TExTimerSpeedButton, the navigation button that repeats
// while it is held; and the routines that make and run them.
//
// The calendar's cells: the first week row starts at StartOfWeek; the day of
// cell (c, r) is MonthOffset + c + (r - 1) * 7, shown when it lies within the
// month. Only cells with a day can be selected.

#include "controls/Dateutil.h"
#include "controls/gui/ExSpeedButton.h"
#include "controls/gui/ToolEdit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"

class TExCalendar : public TCustomGrid {
public:
    explicit TExCalendar(TComponent* owner);

    TDateTime CalendarDate() const { return date_; }
    // Repaints and raises OnChange only when the date differs.
    void SetCalendarDate(TDateTime value);
    // The parts of the date. Setting one (values below 1 ignored; a month
    // cut to 12, a day to the month's length) clears UseCurrentDate, moves
    // the selection and raises OnChange.
    int Day() const;
    void SetDay(int day);
    int Month() const;
    void SetMonth(int month);
    int Year() const;
    void SetYear(int year);
    // The month's day shown in the first cell of the first week row (1 or less).
    int MonthOffset() const { return monthOffset_; }
    // The text of a cell: a short day name in the first row, else the day or "".
    AnsiString CellText(int col, int row) const;
    // The cell that shows a day of the month.
    TGridCoord CellOfDay(int day) const;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName day);
    // True: the date is today's (and not stored with the form).
    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool v);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek days);
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor c);
    TNotifyEvent OnChange;

    // The day is kept, cut to the new month's length (29 February becomes
    // 28 February a year on).
    void NextMonth() { ChangeMonth(1); }
    void PrevMonth() { ChangeMonth(-1); }
    void NextYear() { ChangeMonth(12); }
    void PrevYear() { ChangeMonth(-12); }
    // Recomputes the offset and moves the selection to the date's day.
    void UpdateCalendar();

    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Click() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& m) override;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    virtual void Change();
    // Whether the column shows a weekend day.
    bool IsWeekend(int col) const;
    void ChangeMonth(int delta);
    void SetParts(int year, int month, int day);
    void SizeCells();

    TDateTime date_ = 0;
    int monthOffset_ = 0;
    bool readOnly_ = false;
    TDayOfWeekName startOfWeek_ = Mon;
    bool updating_ = false;
    bool useCurrentDate_ = true;
    TDaysOfWeek weekends_ = DayBit(Sun);
    TColor weekendColor_ = clRed;
};

// The calendar of the popup and the dialog: no border, not a tab stop, only
// the line under the day names, the fixed row in the control's colour, and
// today's cell raised. It is disabled, so it never takes the focus, while its
// window stays enabled for the mouse.
class TLocCalendar : public TExCalendar {
public:
    explicit TLocCalendar(TComponent* owner);
    void SetFocus() override;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void ApplyColor() override;
};

// A speed button of the new style whose click repeats while it is held.
class TExTimerSpeedButton : public TExSpeedButton {
public:
    explicit TExTimerSpeedButton(TComponent* owner);
};

// The title line of the popup and the dialog: previous year, previous month,
// the month and year ("Февраль, 2026"), next month, next year.
class TCalendarTitle : public TObject {
public:
    // Makes the buttons and the title on parent, driving calendar.
    TCalendarTitle(TComponent* owner, TWinControl* parent, TExCalendar* calendar);
    // Places the row at the top of parent's rectangle r (height 18).
    void Place(const TRect& r);
    // Shows the calendar's month.
    void Update();
    TExTimerSpeedButton* Buttons(int index) const { return buttons_[index]; }
    TLabel* Title() const { return title_; }

private:
    TExCalendar* calendar_;
    TExTimerSpeedButton* buttons_[4] = {};
    TLabel* title_ = nullptr;
};

inline constexpr int kPopupCalendarWidth = 187;
inline constexpr int kPopupCalendarHeight = 124;

class TPopupCalendar : public TPopupWindow {
public:
    explicit TPopupCalendar(TCustomComboEdit* editor);
    ~TPopupCalendar() override;

    // The calendar's date (a number).
    Variant GetValue() override;
    // A date (a number) or a text in the date format; a blank text or one
    // that is no date gives today.
    void SetValue(const Variant& value) override;
    TLocCalendar* Calendar() const { return calendar_; }
    TCalendarTitle* TitleRow() const { return title_.get(); }
    bool FourDigitYear = false;

    // Page Up and Page Down change the month (with Ctrl the year); the other
    // keys go to the calendar.
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;

private:
    void Arrange();
    TLocCalendar* calendar_ = nullptr;
    std::unique_ptr<TCalendarTitle> title_;
};

// The modal date dialog.
class TSelectDateDlg : public TForm {
public:
    explicit TSelectDateDlg(TComponent* owner);
    TDateTime Date() const { return calendar_->CalendarDate(); }
    void SetDate(TDateTime date);
    TLocCalendar* Calendar() const { return calendar_; }
    TCalendarTitle* TitleRow() const { return title_.get(); }
    TButton* OkButton() const { return ok_; }
    TButton* CancelButton() const { return cancel_; }
    // Escape cancels, Enter accepts, Page Up and Page Down change the month
    // (with Ctrl the year), Tab goes to the next month and Shift+Tab to the
    // previous one.
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    TPanel* top_ = nullptr;
    TPanel* bottom_ = nullptr;
    TLocCalendar* calendar_ = nullptr;
    std::unique_ptr<TCalendarTitle> title_;
    TButton* ok_ = nullptr;
    TButton* cancel_ = nullptr;
};

// The popup of a date edit (BiDiMode is accepted and has no effect).
TPopupWindow* CreatePopupCalendar(TCustomComboEdit* owner, int biDiMode = 0);
// Gives a popup calendar its settings: the calendar's first day of the week,
// weekend days and colour, the buttons' hints (line i of the first four, when
// not empty, for button i) and the four-digit-year flag.
void SetupPopupCalendar(TPopupWindow* popup, TDayOfWeekName startOfWeek, TDaysOfWeek weekends, TColor weekendColor,
                        TStrings* hints, bool fourDigitYear);
// Runs the date dialog on date (NullDate starts at today); true and the
// chosen date on OK. An empty caption keeps "Выбор даты".
bool SelectDate(TDateTime& date, const AnsiString& caption, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                TColor weekendColor, TStrings* hints);
// The same on a text in the locale's short date format (today when it is no
// date); the chosen date is written back in that format.
bool SelectDateStr(AnsiString& strDate, const AnsiString& caption, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                   TColor weekendColor, TStrings* hints);
// The dialog without caption or border icons, placed under edit with the
// right edges aligned (above it when it would pass the bottom of the screen).
bool PopupDate(TDateTime& date, TWinControl* edit);
