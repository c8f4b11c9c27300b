#include "controls/gui/PickDate.h"

#include <algorithm>

#include "controls/Exconst.h"
#include "controls/Strutils.h"
#include "platform/gui/EnableWindow.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

constexpr int kTitleHeight = 18;
constexpr int kButtonSize = 14;
constexpr int kMinPopupWidth = 180;
constexpr int kMinPopupHeight = 120;

TDateTime Today() { return ::Date(); }

// The message font of the system, as the popup and the dialog use it.
void SetMessageFont(TControl* control) {
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetSize(8);
    font.SetColor(clWindowText);
    control->SetFont(&font);
}

// The calendar and the title row take the settings of a date edit.
void ApplySettings(TExCalendar* calendar, TCalendarTitle* title, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                   TColor weekendColor, TStrings* hints) {
    calendar->SetStartOfWeek(startOfWeek);
    calendar->SetWeekendColor(weekendColor);
    calendar->SetWeekends(weekends);
    if (hints)
        for (int i = 0; i < std::min(hints->Count(), 4); ++i)
            if (!hints->Strings(i).IsEmpty()) title->Buttons(i)->SetHint(hints->Strings(i));
    title->Update();
}

} // namespace

// ---- TExCalendar ---------------------------------------------------------------------------

TExCalendar::TExCalendar(TComponent* owner) : TCustomGrid(owner) {
    ScrollBars = 0;
    SetColCount(7);
    SetRowCount(7);
    SetFixedCols(0);
    SetFixedRows(1);
    SetOptions((DefaultGridOptions | goDrawFocusSelected) & ~goRangeSelect);
    date_ = Today();
    SizeCells();
    UpdateCalendar();
}

int TExCalendar::Day() const { return ExtractDay(date_); }
int TExCalendar::Month() const { return ExtractMonth(date_); }
int TExCalendar::Year() const { return ExtractYear(date_); }

void TExCalendar::SetCalendarDate(TDateTime value) {
    if (value == date_) return;
    date_ = value;
    UpdateCalendar();
    Change();
}

void TExCalendar::SetParts(int year, int month, int day) {
    useCurrentDate_ = false;
    date_ = EncodeDate(year, month, std::min(day, DaysPerMonth(year, month)));
    UpdateCalendar();
    Change();
}

void TExCalendar::SetDay(int day) {
    if (day < 1) return;
    SetParts(Year(), Month(), day);
}

void TExCalendar::SetMonth(int month) {
    if (month < 1) return;
    SetParts(Year(), std::min(month, 12), Day());
}

void TExCalendar::SetYear(int year) {
    if (year < 1) return;
    SetParts(std::min(year, 9999), Month(), Day());
}

void TExCalendar::ChangeMonth(int delta) {
    TDateTime next = IncMonth(date_, delta);
    SetParts(ExtractYear(next), ExtractMonth(next), ExtractDay(next));
}

void TExCalendar::SetReadOnly(bool v) { readOnly_ = v; }

void TExCalendar::SetStartOfWeek(TDayOfWeekName day) {
    if (day == startOfWeek_) return;
    startOfWeek_ = day;
    UpdateCalendar();
}

void TExCalendar::SetUseCurrentDate(bool v) {
    useCurrentDate_ = v;
    if (v) {
        date_ = Today();
        UpdateCalendar();
    }
}

void TExCalendar::SetWeekends(TDaysOfWeek days) {
    if (days == weekends_) return;
    weekends_ = days;
    Invalidate();
}

void TExCalendar::SetWeekendColor(TColor c) {
    if (c == weekendColor_) return;
    weekendColor_ = c;
    Invalidate();
}

AnsiString TExCalendar::CellText(int col, int row) const {
    if (col < 0 || col > 6 || row < 0 || row > 6) return AnsiString();
    if (row == 0) return ShortDayNames[(startOfWeek_ + col) % 7];
    int day = monthOffset_ + col + (row - 1) * 7;
    if (day < 1 || day > DaysPerMonth(Year(), Month())) return AnsiString();
    return IntToStr(day);
}

TGridCoord TExCalendar::CellOfDay(int day) const {
    int index = day - monthOffset_;
    return TGridCoord{index % 7, index / 7 + 1};
}

bool TExCalendar::IsWeekend(int col) const {
    return weekends_ & DayBit(TDayOfWeekName((startOfWeek_ + col) % 7));
}

void TExCalendar::UpdateCalendar() {
    int first = DayOfWeek(EncodeDate(Year(), Month(), 1)); // 1 = Sunday
    monthOffset_ = 2 - (first - startOfWeek_ + 7) % 7;
    if (monthOffset_ == 2) monthOffset_ = -5;
    TGridCoord cell = CellOfDay(Day());
    // The calendar places its own selection, read-only or not.
    updating_ = true;
    FocusCell(cell.X, cell.Y);
    updating_ = false;
    Invalidate();
}

void TExCalendar::Change() {
    if (OnChange) OnChange(this);
}

bool TExCalendar::SelectCell(int col, int row) {
    if ((readOnly_ && !updating_) || CellText(col, row).IsEmpty()) return false;
    return TCustomGrid::SelectCell(col, row);
}

void TExCalendar::Click() {
    AnsiString text = CellText(Col(), Row());
    if (!text.IsEmpty() && text.ToInt() != Day()) SetDay(text.ToInt());
    TCustomGrid::Click();
}

void TExCalendar::KeyDown(WORD& key, TShiftState shift) {
    if (shift == 0 && !readOnly_) {
        if (key == VK_LEFT || key == VK_SUBTRACT) {
            SetCalendarDate(date_ - 1);
            key = 0;
            return;
        }
        if (key == VK_RIGHT || key == VK_ADD) {
            SetCalendarDate(date_ + 1);
            key = 0;
            return;
        }
    }
    TCustomGrid::KeyDown(key, shift);
}

void TExCalendar::KeyPress(char& key) {
    if (key == 'T' || key == 't') {
        SetCalendarDate(Today());
        key = 0;
        return;
    }
    TCustomGrid::KeyPress(key);
}

void TExCalendar::SizeCells() {
    int lines = GridLineWidth();
    int w = ClientWidth() - ((Options() & goVertLine) ? 6 * lines : 0);
    int h = ClientHeight() - 6 * lines;
    SetDefaultColWidth(std::max(w / 7, 0));
    SetDefaultRowHeight(std::max(h / 7, 0));
}

void TExCalendar::SetBounds(int left, int top, int width, int height) {
    TCustomGrid::SetBounds(left, top, width, height);
    SizeCells();
}

void TExCalendar::WndProc(TMessage& m) {
    TCustomGrid::WndProc(m);
    if (m.Msg == WM_SIZE) SizeCells();
}

void TExCalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TCanvas* c = Canvas();
    if (IsWeekend(col) && !(state & gdSelected)) c->Font()->SetColor(weekendColor_);
    c->FillRect(rect);
    AnsiString text = CellText(col, row);
    TSize size = c->TextExtent(text);
    c->TextRect(rect, rect.Left + (rect.Width() - size.cx) / 2, rect.Top + (rect.Height() - size.cy) / 2, text);
}

// ---- TLocCalendar --------------------------------------------------------------------------

TLocCalendar::TLocCalendar(TComponent* owner) : TExCalendar(owner) {
    SetOptions(goFixedHorzLine);
    TabStop = false;
    SetParentColor(true);
    FixedColor = Color();
    SetUseCurrentDate(false);
    date_ = Today();
    SizeCells();
    UpdateCalendar();
    SetEnabled(false);
    EnableWindow(this, true);
}

void TLocCalendar::SetFocus() {
    if (CanFocus()) TExCalendar::SetFocus();
}

void TLocCalendar::ApplyColor() {
    FixedColor = Color();
    Invalidate();
}

void TLocCalendar::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TExCalendar::DrawCell(col, row, rect, state);
    if (row == 0) return;
    AnsiString text = CellText(col, row);
    TDateTime today = Today();
    if (!text.IsEmpty() && Year() == ExtractYear(today) && Month() == ExtractMonth(today) &&
        text.ToInt() == ExtractDay(today)) {
        TRect r = rect;
        Frame3D(Canvas(), r, clBtnHighlight, clBtnShadow, 1);
    }
}

// ---- TExTimerSpeedButton -------------------------------------------------------------------

TExTimerSpeedButton::TExTimerSpeedButton(TComponent* owner) : TExSpeedButton(owner) {
    SetStyle(bsNew);
    SetAllowTimer(true);
}

// ---- TCalendarTitle ------------------------------------------------------------------------

TCalendarTitle::TCalendarTitle(TComponent* owner, TWinControl* parent, TExCalendar* calendar) : calendar_(calendar) {
    RegisterExResources();
    struct Button {
        const char* name;
        const char* glyph;
        int hint;
        void (*move)(TExCalendar&);
    } const buttons[4] = {
        {"PrevYearBtn", "PREV2", SPrevYear, [](TExCalendar& c) { c.PrevYear(); }},
        {"PrevMonthBtn", "PREV1", SPrevMonth, [](TExCalendar& c) { c.PrevMonth(); }},
        {"NextMonthBtn", "NEXT1", SNextMonth, [](TExCalendar& c) { c.NextMonth(); }},
        {"NextYearBtn", "NEXT2", SNextYear, [](TExCalendar& c) { c.NextYear(); }},
    };
    for (int i = 0; i < 4; ++i) {
        TExTimerSpeedButton* b = NewControl<TExTimerSpeedButton>(owner, parent, buttons[i].name);
        TBitmap glyph;
        glyph.LoadFromResourceName(buttons[i].glyph);
        b->SetGlyph(&glyph);
        b->SetHint(ExLoadStr(buttons[i].hint));
        auto move = buttons[i].move;
        b->OnClick = [this, move](TObject*) { move(*calendar_); };
        b->SetBounds(0, 0, kButtonSize, kButtonSize);
        buttons_[i] = b;
    }
    title_ = NewControl<TLabel>(owner, parent, "TitleLabel");
    title_->SetAutoSize(false);
    title_->SetAlignment(taCenter);
    title_->SetLayout(tlCenter);
    title_->SetTransparent(true);
    title_->OnDblClick = [this](TObject*) { calendar_->SetCalendarDate(Today()); };
    calendar_->OnChange = [this](TObject*) { Update(); };
    Update();
}

void TCalendarTitle::Place(const TRect& r) {
    int y = r.Top + (kTitleHeight - kButtonSize) / 2;
    buttons_[0]->SetBounds(r.Left + 2, y, kButtonSize, kButtonSize);
    buttons_[1]->SetBounds(r.Left + 2 + kButtonSize, y, kButtonSize, kButtonSize);
    buttons_[2]->SetBounds(r.Right - 2 - 2 * kButtonSize, y, kButtonSize, kButtonSize);
    buttons_[3]->SetBounds(r.Right - 2 - kButtonSize, y, kButtonSize, kButtonSize);
    int left = r.Left + 2 + 2 * kButtonSize;
    title_->SetBounds(left, r.Top, std::max(r.Right - 2 - 2 * kButtonSize - left, 0), kTitleHeight);
}

void TCalendarTitle::Update() { title_->SetCaption(FormatDateTime("MMMM, YYYY", calendar_->CalendarDate())); }

// ---- TPopupCalendar ------------------------------------------------------------------------

TPopupCalendar::TPopupCalendar(TCustomComboEdit* editor) : TPopupWindow(editor) {
    SetColor(clBtnFace);
    SetMessageFont(this);
    calendar_ = NewControl<TLocCalendar>(this, this, "Calendar");
    calendar_->SetParentFont(true);
    // A release on a day closes the popup with that day (the click that
    // selected it has already run).
    calendar_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        if (button != mbLeft) return;
        TGridCoord cell = calendar_->MouseCoord(x, y);
        if (cell.Y > 0 && !calendar_->CellText(cell.X, cell.Y).IsEmpty()) CloseUp(true);
    };
    title_ = std::make_unique<TCalendarTitle>(this, this, calendar_);
    SetBounds(0, 0, kPopupCalendarWidth, kPopupCalendarHeight);
}

TPopupCalendar::~TPopupCalendar() {
    Destroying();
    calendar_->OnChange = nullptr;
}

void TPopupCalendar::SetBounds(int left, int top, int width, int height) {
    TPopupWindow::SetBounds(left, top, std::max(width, kMinPopupWidth), std::max(height, kMinPopupHeight));
    if (calendar_) Arrange();
}

void TPopupCalendar::Arrange() {
    TRect r = ClientRect();
    InflateRect(r, -1, -1);
    title_->Place(Rect(r.Left, r.Top, r.Right, r.Top + kTitleHeight));
    calendar_->SetBounds(r.Left, r.Top + kTitleHeight, r.Width(), r.Height() - kTitleHeight);
}

void TPopupCalendar::Paint() {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(ClientRect());
}

Variant TPopupCalendar::GetValue() { return Variant(double(calendar_->CalendarDate())); }

void TPopupCalendar::SetValue(const Variant& value) {
    TDateTime date = Today();
    if (value.VarType() == varDouble || value.VarType() == varInteger) {
        TDateTime d = CutTime(value.AsDouble());
        if (d != NullDate && ValidDate(d)) date = d;
    } else {
        AnsiString text = VarToStr(value);
        if (!Trim(DelChars(text, DateSeparator)).IsEmpty())
            date = StrToDateFmtDef(DefDateFormat(FourDigitYear), text, Today());
    }
    calendar_->SetCalendarDate(date);
}

void TPopupCalendar::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_PRIOR || key == VK_NEXT) {
        bool year = shift & ssCtrl;
        if (key == VK_PRIOR) year ? calendar_->PrevYear() : calendar_->PrevMonth();
        else year ? calendar_->NextYear() : calendar_->NextMonth();
        key = 0;
        return;
    }
    calendar_->KeyDown(key, shift);
}

void TPopupCalendar::KeyPress(char& key) { calendar_->KeyPress(key); }

// ---- TSelectDateDlg ------------------------------------------------------------------------

TSelectDateDlg::TSelectDateDlg(TComponent* owner) : TForm(owner) {
    SetCaption(ExLoadStr(SDateDlgTitle));
    SetBorderStyle(bsToolWindow);
    SetColor(clBtnFace);
    SetMessageFont(this);
    SetPosition(poScreenCenter);
    SetShowHint(true);
    KeyPreview = true;
    SetClientWidth(222);
    SetClientHeight(154);

    top_ = NewControl<TPanel>(this, this, "TopPanel");
    top_->SetBevelOuter(bvNone);
    top_->SetHeight(kTitleHeight + 4);
    top_->SetAlign(alTop);
    bottom_ = NewControl<TPanel>(this, this, "BottomPanel");
    bottom_->SetBevelOuter(bvNone);
    bottom_->SetHeight(33);
    bottom_->SetAlign(alBottom);
    calendar_ = NewControl<TLocCalendar>(this, this, "Calendar");
    calendar_->SetAlign(alClient);
    title_ = std::make_unique<TCalendarTitle>(this, top_, calendar_);
    title_->Place(Rect(0, 2, ClientWidth(), 2 + kTitleHeight));

    auto* ok = NewControl<TBitBtn>(this, bottom_, "OkBtn");
    ok->SetKind(bkOK);
    auto* cancel = NewControl<TBitBtn>(this, bottom_, "CancelBtn");
    cancel->SetKind(bkCancel);
    ok->SetBounds(ClientWidth() - 2 * 77 - 10, 4, 75, 25);
    cancel->SetBounds(ClientWidth() - 77 - 4, 4, 75, 25);
    ok_ = ok;
    cancel_ = cancel;

    calendar_->OnDblClick = [this](TObject*) { ModalResult = mrOk; };
    top_->OnDblClick = [this](TObject*) { calendar_->SetCalendarDate(::Date()); };
    title_->Title()->OnDblClick = top_->OnDblClick;
}

void TSelectDateDlg::SetDate(TDateTime date) { calendar_->SetCalendarDate(CutTime(date == NullDate ? ::Date() : date)); }

void TSelectDateDlg::KeyDown(WORD& key, TShiftState shift) {
    switch (key) {
    case VK_RETURN: ModalResult = mrOk; break;
    case VK_ESCAPE: ModalResult = mrCancel; break;
    case VK_NEXT: (shift & ssCtrl) ? calendar_->NextYear() : calendar_->NextMonth(); break;
    case VK_PRIOR: (shift & ssCtrl) ? calendar_->PrevYear() : calendar_->PrevMonth(); break;
    case VK_TAB: (shift & ssShift) ? calendar_->PrevMonth() : calendar_->NextMonth(); break;
    default: TForm::KeyDown(key, shift); return;
    }
    key = 0;
}

// ---- routines ---------------------------------------------------------------------------------

TPopupWindow* CreatePopupCalendar(TCustomComboEdit* owner, int) { return new TPopupCalendar(owner); }

void SetupPopupCalendar(TPopupWindow* popup, TDayOfWeekName startOfWeek, TDaysOfWeek weekends, TColor weekendColor,
                        TStrings* hints, bool fourDigitYear) {
    auto* calendar = dynamic_cast<TPopupCalendar*>(popup);
    if (!calendar) return;
    calendar->FourDigitYear = fourDigitYear;
    ApplySettings(calendar->Calendar(), calendar->TitleRow(), startOfWeek, weekends, weekendColor, hints);
}

namespace {

TSelectDateDlg* MakeDialog(TDateTime date, TDayOfWeekName startOfWeek, TDaysOfWeek weekends, TColor weekendColor,
                           TStrings* hints) {
    auto* dlg = NewForm<TSelectDateDlg>(Application);
    dlg->SetDate(date);
    ApplySettings(dlg->Calendar(), dlg->TitleRow(), startOfWeek, weekends, weekendColor, hints);
    return dlg;
}

// Runs the dialog and frees it; true and the date on OK.
bool RunDialog(TSelectDateDlg* dlg, TDateTime& date) {
    bool ok = dlg->ShowModal() == mrOk;
    if (ok) date = dlg->Date();
    Free(dlg);
    return ok;
}

} // namespace

bool SelectDate(TDateTime& date, const AnsiString& caption, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                TColor weekendColor, TStrings* hints) {
    TSelectDateDlg* dlg = MakeDialog(date, startOfWeek, weekends, weekendColor, hints);
    if (!caption.IsEmpty()) dlg->SetCaption(caption);
    return RunDialog(dlg, date);
}

bool SelectDateStr(AnsiString& strDate, const AnsiString& caption, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                   TColor weekendColor, TStrings* hints) {
    TDateTime date = StrToDateFmtDef(ShortDateFormat, strDate, ::Date());
    if (!SelectDate(date, caption, startOfWeek, weekends, weekendColor, hints)) return false;
    strDate = FormatDateTime(ShortDateFormat, date);
    return true;
}

bool PopupDate(TDateTime& date, TWinControl* edit) {
    TSelectDateDlg* dlg = MakeDialog(date, Mon, DayBit(Sun), clRed, nullptr);
    dlg->SetCaption("");
    dlg->SetBorderIcons(0);
    dlg->SetPosition(poDesigned);
    TPoint p = edit->ClientToScreen(TPoint(0, 0));
    TRect screen = Screen->WorkAreaAt(p);
    int w = dlg->Width(), h = dlg->Height();
    int x = p.x + edit->Width() - w;
    if (x < screen.Left) x = p.x;
    int y = p.y + edit->Height() - 1;
    if (y + h > screen.Bottom) y = p.y - h + 1;
    if (y < screen.Top) y = p.y + edit->Height() - 1;
    dlg->SetBounds(x, y, w, h);
    return RunDialog(dlg, date);
}
