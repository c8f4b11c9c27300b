#include "platform/gui/GuiTest.h"

#include "common/Printers.h"

#include <QLineEdit>

#include "controls/gui/DateEdit.h"
#include "controls/gui/PickDate.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

// Today is Tuesday, 10 March 2026; the locale is Russian again after each test.
struct Dates : GuiTest {
    void SetUp() override {
        GuiTest::SetUp();
        ResetFormatSettings();
        FourDigitYear();
        SetClock([] { return EncodeDate(2026, 3, 10) + EncodeTime(9, 30, 0, 0); });
        form = MakeForm();
        form->SetBounds(100, 100, 400, 300);
        edit = NewControl<TDateEdit>(form, form, "DateEdit1");
        edit->SetBounds(20, 20, 120, 21);
    }
    void TearDown() override {
        GuiTest::TearDown();
        SetClock(nullptr);
        ResetFormatSettings();
    }
    void Focus() {
        form->Show();
        edit->SetFocus();
        ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    }
    TPopupCalendar* PopupCal() const { return dynamic_cast<TPopupCalendar*>(edit->Popup()); }
    // A left click in the centre of a day's cell.
    static void ClickDay(TExCalendar* cal, int day) {
        TGridCoord cell = cal->CellOfDay(day);
        TRect r = cal->CellRect(cell.X, cell.Y);
        ClickAt(cal->Widget(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }
    TForm* form = nullptr;
    TDateEdit* edit = nullptr;
};

TEST_F(Dates, MaskAndTextFollowTheLocale) {
    EXPECT_EQ(edit->EditMask(), AnsiString("!99/99/9999;1; "));
    edit->SetDate(EncodeDate(2007, 6, 5) + 0.25);
    EXPECT_EQ(edit->Text(), AnsiString("05.06.2007"));
    EXPECT_EQ(edit->Date(), EncodeDate(2007, 6, 5));
    EXPECT_TRUE(edit->Modified);
    edit->SetDate(EncodeDate(2007, 6, 5));
    EXPECT_FALSE(edit->Modified); // the same date

    // The locale (first the separator becomes '/') or the edit's settings
    // change, one at a time: the edits, also one on a panel, keep their dates.
    TDateEdit* inner = NewControl<TDateEdit>(form, NewControl<TPanel>(form, form, "Panel1"), "DateEdit2");
    inner->SetDate(EncodeDate(2026, 12, 31));
    struct Case { const char* format; TYearDigits digits; char blanks; const char *mask, *text, *empty, *inner; } cases[] = {
        {"dd.mm.yyyy", dyFour, ' ', "!99/99/9999;1; ", "05/06/2007", "  /  /    ", "31/12/2026"},
        {"dd.mm.yyyy", dyFour, '_', "!99/99/9999;1;_", "05/06/2007", "__/__/____", "31/12/2026"},
        {"dd.mm.yyyy", dyTwo, '_', "!99/99/99;1;_", "05/06/07", "__/__/__", "31/12/2026"},
        {"dd.mm.yyyy", dyTwo, ' ', "!99/99/99;1; ", "05/06/07", "  /  /  ", "31/12/2026"},
        {"dd.mm.yyyy", dyFour, ' ', "!99/99/9999;1; ", "05/06/2007", "  /  /    ", "31/12/2026"},
        {"yyyy-mm-dd", dyFour, ' ', "!9999/99/99;1; ", "2007/06/05", "    /  /  ", "2026/12/31"},
    };
    DateSeparator = '/';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        ShortDateFormat = c.format;
        DateFormatChanged();
        edit->SetYearDigits(c.digits);
        edit->SetBlanksChar(c.blanks);
        EXPECT_EQ(edit->EditMask(), AnsiString(c.mask));
        EXPECT_EQ(edit->Text(), AnsiString(c.text));
        EXPECT_EQ(edit->EditText(), AnsiString(c.text));
        EXPECT_EQ(inner->Text(), AnsiString(c.inner));
        EXPECT_EQ(edit->Date(), EncodeDate(2007, 6, 5));
        edit->SetDate(NullDate);
        EXPECT_EQ(edit->EditText(), AnsiString(c.empty));
        edit->SetDate(EncodeDate(2007, 6, 5));
    }
}

// The desktop reporting a new locale makes every date edit read the date
// settings again, while the application follows locale changes; an edit that
// is gone hears nothing.
TEST_F(Dates, ALocaleChangeTheDesktopReportsRebuildsTheMask) {
    struct Following {
        ~Following() { Application->UpdateFormatSettings = true; }
    } restore;
    TDateEdit* inner = NewControl<TDateEdit>(form, NewControl<TPanel>(form, form, "Panel1"), "DateEdit2");
    edit->SetDate(EncodeDate(2007, 6, 5));
    inner->SetDate(EncodeDate(2026, 12, 31));
    QEvent change(QEvent::LocaleChange);
    DateSeparator = '/';
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_EQ(edit->EditText(), AnsiString("05/06/2007"));
    EXPECT_EQ(inner->EditText(), AnsiString("31/12/2026"));
    EXPECT_EQ(edit->Date(), EncodeDate(2007, 6, 5));

    Application->UpdateFormatSettings = false;
    DateSeparator = '-';
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_EQ(edit->EditText(), AnsiString("05/06/2007")) << "the application does not follow";

    Application->UpdateFormatSettings = true;
    delete inner;
    QCoreApplication::sendEvent(qApp, &change);
    EXPECT_EQ(edit->EditText(), AnsiString("05-06-2007"));
}

TEST_F(Dates, BlanksCharNeverGoesBelowABlankAndInvalidDatesBecomeNull) {
    edit->SetBlanksChar('\t');
    EXPECT_EQ(edit->BlanksChar(), ' ');
    edit->SetBlanksChar('*');
    edit->SetDate(EncodeDate(9999, 12, 31) + 5); // beyond the calendar
    EXPECT_EQ(edit->Date(), NullDate);
    EXPECT_EQ(edit->EditText(), AnsiString("**.**.****"));
    edit->DefaultToday = true;
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 3, 10)); // an empty edit reads as today
    edit->SetDate(NullDate);
    EXPECT_EQ(edit->Text(), AnsiString("10.03.2026"));
}

TEST_F(Dates, KeysAddDaysAndGiveToday) {
    Focus();
    const TDateTime keep = -1;
    struct Case { TDateTime before; int key; TDateTime after; } cases[] = {
        {keep, Qt::Key_Plus, EncodeDate(2026, 3, 11)}, // an empty edit: tomorrow
        {keep, Qt::Key_Plus, EncodeDate(2026, 3, 12)},
        {keep, Qt::Key_Minus, EncodeDate(2026, 3, 11)},
        {NullDate, Qt::Key_Minus, EncodeDate(2026, 3, 9)},
        {EncodeDate(2001, 1, 1), Qt::Key_T, EncodeDate(2026, 3, 10)},
    };
    for (const Case& c : cases) {
        if (c.before != keep) edit->SetDate(c.before);
        QTest::keyClick(edit->LineEdit(), Qt::Key(c.key), c.key == Qt::Key_T ? Qt::NoModifier : Qt::KeypadModifier);
        EXPECT_EQ(edit->Date(), c.after) << &c - cases;
    }
    // Without direct input the keys are the edit's own (the text stays).
    edit->SetDirectInput(false);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 3, 10));
}

TEST_F(Dates, TheCalendarPlacesDayOneByTheFirstDayOfTheWeek) {
    TExCalendar* cal = NewControl<TExCalendar>(form, form, "Calendar1");
    cal->SetBounds(10, 60, 210, 140);
    struct Case { int month; TDayOfWeekName start; int offset; int col; const char* head0; const char* head6; } cases[] = {
        {2, Mon, -5, 6, "Пн", "Вс"}, // 1 February 2026 is a Sunday
        {2, Sun, 1, 0, "Вс", "Сб"},
        {3, Mon, -5, 6, "Пн", "Вс"}, // so is 1 March
        {6, Mon, 1, 0, "Пн", "Вс"},  // 1 June is a Monday
        {4, Sat, -3, 4, "Сб", "Пт"}, // 1 April is a Wednesday
    };
    for (const Case& c : cases) {
        cal->SetStartOfWeek(c.start);
        cal->SetCalendarDate(EncodeDate(2026, c.month, 15));
        EXPECT_EQ(cal->MonthOffset(), c.offset) << c.month;
        EXPECT_EQ(cal->CellText(c.col, 1), AnsiString("1")) << c.month;
        if (c.col > 0) { EXPECT_EQ(cal->CellText(c.col - 1, 1), AnsiString()) << c.month; }
        EXPECT_EQ(cal->CellText(0, 0), Utf8ToAnsi(c.head0));
        EXPECT_EQ(cal->CellText(6, 0), Utf8ToAnsi(c.head6));
        EXPECT_EQ(cal->CellText(cal->Col(), cal->Row()), AnsiString("15")); // the date's day selected
    }
    // February 2026 has 28 days: the cell after the 28th is empty.
    cal->SetStartOfWeek(Mon);
    cal->SetCalendarDate(EncodeDate(2026, 2, 1));
    TGridCoord last = cal->CellOfDay(28);
    EXPECT_EQ(cal->CellText(last.X, last.Y), AnsiString("28"));
    EXPECT_EQ(cal->CellText(last.X + 1, last.Y), AnsiString());
    // Cells without a day cannot be selected.
    cal->SetCol(0);
    EXPECT_EQ(cal->Day(), 1);
    EXPECT_EQ(cal->CellText(cal->Col(), cal->Row()), AnsiString("1"));
}

TEST_F(Dates, NavigationKeepsTheDayWithinTheMonth) {
    TExCalendar* cal = NewControl<TExCalendar>(form, form, "Calendar1");
    struct Case { TDateTime from; void (TExCalendar::*move)(); TDateTime to; } cases[] = {
        {EncodeDate(2026, 1, 31), &TExCalendar::NextMonth, EncodeDate(2026, 2, 28)},
        {EncodeDate(2008, 1, 31), &TExCalendar::NextMonth, EncodeDate(2008, 2, 29)},
        {EncodeDate(2008, 2, 29), &TExCalendar::NextYear, EncodeDate(2009, 2, 28)},
        {EncodeDate(2008, 2, 29), &TExCalendar::PrevYear, EncodeDate(2007, 2, 28)},
        {EncodeDate(2026, 3, 31), &TExCalendar::PrevMonth, EncodeDate(2026, 2, 28)},
        {EncodeDate(2026, 12, 15), &TExCalendar::NextMonth, EncodeDate(2027, 1, 15)},
    };
    int changes = 0;
    cal->OnChange = [&](TObject*) { ++changes; };
    for (const Case& c : cases) {
        cal->SetCalendarDate(c.from);
        (cal->*c.move)();
        EXPECT_EQ(cal->CalendarDate(), c.to);
        EXPECT_FALSE(cal->UseCurrentDate());
    }
    // Setting the date it has is no change (the third case starts there).
    EXPECT_EQ(changes, 11);
    cal->SetCalendarDate(cal->CalendarDate());
    EXPECT_EQ(changes, 11);
}

TEST_F(Dates, CalendarKeysAndParts) {
    TExCalendar* cal = NewControl<TExCalendar>(form, form, "Calendar1");
    form->Show();
    cal->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return cal->Focused(); }));
    cal->SetCalendarDate(EncodeDate(2026, 3, 1));
    QWidget* w = cal->Widget();
    struct Step { std::function<void()> act; TDateTime expect; } steps[] = {
        {[&] { QTest::keyClick(w, Qt::Key_Left); }, EncodeDate(2026, 2, 28)}, // across the month start
        {[&] { QTest::keyClick(w, Qt::Key_Plus, Qt::KeypadModifier); }, EncodeDate(2026, 3, 1)},
        {[&] { QTest::keyClick(w, Qt::Key_Down); }, EncodeDate(2026, 3, 8)}, // a week on, through the grid
        {[&] { QTest::keyClick(w, Qt::Key_T); }, EncodeDate(2026, 3, 10)},
        // Parts: values below 1 are ignored, large ones cut.
        {[&] { cal->SetDay(0); cal->SetDay(40); }, EncodeDate(2026, 3, 31)},
        {[&] { cal->SetMonth(14); }, EncodeDate(2026, 12, 31)},
        {[&] { cal->SetMonth(2); }, EncodeDate(2026, 2, 28)},
        {[&] { cal->SetYear(2028); cal->SetDay(29); }, EncodeDate(2028, 2, 29)},
        // Read-only: no selection by the user.
        {[&] { cal->SetReadOnly(true); QTest::keyClick(w, Qt::Key_Down); }, EncodeDate(2028, 2, 29)},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(cal->CalendarDate(), s.expect) << &s - steps;
    }
    cal->SetCalendarDate(EncodeDate(2028, 2, 3)); // the program still can
    EXPECT_EQ(cal->CellText(cal->Col(), cal->Row()), AnsiString("3"));
}

TEST_F(Dates, WeekendsAndTodayAreDrawn) {
    TLocCalendar* cal = NewControl<TLocCalendar>(form, form, "Calendar1");
    cal->SetBounds(10, 60, 210, 140);
    cal->SetWeekendColor(clRed);
    cal->SetWeekends(DayBit(Sun) | DayBit(Sat));
    cal->Repaint();
    KeepPicture(cal->Widget(), "calendar-weekends");
    TCanvas* canvas = cal->Canvas();
    auto redIn = [&](int col, int row) {
        TRect r = cal->CellRect(col, row);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += canvas->Pixels(x, y) == clRed;
        return n;
    };
    // March 2026 from Monday: Saturday and Sunday are the last two columns.
    EXPECT_GT(redIn(5, 2), 0);
    EXPECT_GT(redIn(6, 2), 0);
    EXPECT_GT(redIn(6, 0), 0);
    EXPECT_EQ(redIn(2, 2), 0);
    // Today, the 10th, is raised; the 11th is not.
    TGridCoord today = cal->CellOfDay(10), other = cal->CellOfDay(11);
    TRect r = cal->CellRect(today.X, today.Y), o = cal->CellRect(other.X, other.Y);
    EXPECT_EQ(canvas->Pixels(r.Left, r.Top + 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(canvas->Pixels(r.Right - 1, r.Bottom - 2), ColorToRGB(clBtnShadow));
    EXPECT_NE(canvas->Pixels(o.Left, o.Top + 1), ColorToRGB(clBtnHighlight));
    // Cells share the width and height out (no vertical lines: 210 / 7).
    EXPECT_EQ(cal->DefaultColWidth(), 30);
    EXPECT_EQ(cal->DefaultRowHeight(), (140 - 6) / 7);
    EXPECT_FALSE(cal->CanFocus()); // it never takes the focus
}

// The button's picture holds two sheets: the red-headed one while the button
// can be pressed, the grey embossed one while it cannot; the button is as
// wide as one sheet and its margins.
TEST_F(Dates, TheButtonDrawsTheSecondSheetWhenDisabled) {
    EXPECT_EQ(std::pair(edit->Glyph()->Width(), edit->Glyph()->Height()), std::pair(28, 12));
    EXPECT_EQ(edit->NumGlyphs(), 2);
    EXPECT_EQ(edit->ButtonWidth(), 21);
    form->Show();
    TEditButton* button = edit->Button();
    auto count = [&](TColor colour) {
        int n = 0;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x) n += button->Canvas()->Pixels(x, y) == ColorToRGB(colour);
        return n;
    };
    button->Repaint();
    KeepPicture(button->Widget(), "date-button");
    const int redUp = count(clRed);
    const int shadowUp = count(clBtnShadow);
    button->SetEnabled(false);
    button->Repaint();
    KeepPicture(button->Widget(), "date-button-disabled");
    EXPECT_EQ(redUp, 20) << "the header of the enabled sheet";
    EXPECT_EQ(count(clRed), 0);
    EXPECT_GT(count(clBtnShadow), shadowUp + 40) << "the disabled sheet's outline, header and dots";
}

TEST_F(Dates, HintsKeepFourLinesAndReachTheButtonsThatMoveByAMonthOrAYear) {
    TStringList six;
    for (const char* s : {"Год назад", "", "Месяц вперёд", "Год вперёд", "пятая", "шестая"}) six.Add(Utf8ToAnsi(s));
    edit->SetCalendarHints(&six);
    ASSERT_EQ(edit->CalendarHints()->Count(), 4);
    // An empty line keeps the default.
    const char* hints[] = {"Год назад", "Предыдущий месяц|", "Месяц вперёд", "Год вперёд"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(PopupCal()->TitleRow()->Buttons(i)->Hint(), Utf8ToAnsi(hints[i])) << i;
    // Each button moves the calendar its own way, the title following.
    TLocCalendar* shown = PopupCal()->Calendar();
    shown->SetCalendarDate(EncodeDate(2026, 3, 10));
    const struct {
        TDateTime date;
        const char* title;
    } moves[] = {{EncodeDate(2025, 3, 10), "Март, 2025"},
                 {EncodeDate(2025, 2, 10), "Февраль, 2025"},
                 {EncodeDate(2025, 3, 10), "Март, 2025"},
                 {EncodeDate(2026, 3, 10), "Март, 2026"}};
    for (int i = 0; i < 4; ++i) {
        PopupCal()->TitleRow()->Buttons(i)->Click();
        EXPECT_EQ(shown->CalendarDate(), moves[i].date) << i;
        EXPECT_EQ(PopupCal()->TitleRow()->Title()->Caption(), Utf8ToAnsi(moves[i].title)) << i;
    }
    // The other settings reach the popup's calendar, and one made anew after
    // the dialog style (which has no popup).
    edit->SetStartOfWeek(Sun);
    edit->SetWeekends(DayBit(Sat));
    edit->SetWeekendColor(clBlue);
    edit->SetPopupColor(clWindow);
    for (int round = 0; round < 2; ++round) {
        ASSERT_NE(PopupCal(), nullptr) << round;
        TLocCalendar* cal = PopupCal()->Calendar();
        EXPECT_EQ(cal->StartOfWeek(), Sun) << round;
        EXPECT_EQ(cal->Weekends(), DayBit(Sat)) << round;
        EXPECT_EQ(cal->WeekendColor(), clBlue) << round;
        EXPECT_EQ(PopupCal()->Color(), clWindow) << round;
        edit->SetCalendarStyle(csDialog);
        EXPECT_EQ(edit->Popup(), nullptr);
        EXPECT_EQ(edit->PopupColor(), clWindow);
        edit->SetCalendarStyle(csPopup);
    }
}

TEST_F(Dates, AClickedDayIsAccepted) {
    Focus();
    edit->SetDate(EncodeDate(2026, 2, 14));
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->DoClick();
    ASSERT_TRUE(edit->PopupVisible());
    TPopupCalendar* popup = PopupCal();
    TLocCalendar* cal = popup->Calendar();
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2026, 2, 14));
    EXPECT_EQ(popup->TitleRow()->Title()->Caption(), "Февраль, 2026"_a);
    ProcessFor(20);
    KeepPicture(popup->Widget(), "popup-calendar-2026-02");
    EXPECT_TRUE(edit->Focused()); // the edit keeps the focus while the popup is open
    ClickDay(cal, 26);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 26));
    EXPECT_EQ(edit->Text(), AnsiString("26.02.2026"));
    EXPECT_GE(changes, 1);

    // A refusal by OnAcceptDate keeps the old date; a change is taken.
    edit->OnAcceptDate = [](TObject*, TDateTime& d, bool& action) { action = ExtractDay(d) != 3; d += 1; };
    edit->DoClick();
    ClickDay(cal, 3);
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 26));
    edit->DoClick();
    ClickDay(cal, 4);
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 5));
}

TEST_F(Dates, OneAcceptedValueIsOneChange) {
    Focus();
    edit->SetDate(EncodeDate(2026, 2, 14));
    std::vector<AnsiString> changes;
    edit->OnChange = [&](TObject*) { changes.push_back(edit->Text()); };
    edit->DoClick();
    ASSERT_TRUE(edit->PopupVisible());
    ClickDay(PopupCal()->Calendar(), 26);
    EXPECT_FALSE(edit->PopupVisible());
    edit->DoClick();
    QTest::keyClick(edit->LineEdit(), Qt::Key_PageDown);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
    edit->DoClick();
    ClickDay(PopupCal()->Calendar(), 26); // the same day again: no change
    EXPECT_EQ(changes, (std::vector<AnsiString>{"26.02.2026", "26.03.2026"}));
}

TEST_F(Dates, ThePopupClosesOnAPressInTheEditAndOnCancelModeFromElsewhere) {
    TPanel* panel = NewControl<TPanel>(form, form, "Panel1");
    panel->SetBounds(200, 20, 80, 80);
    Focus();
    edit->SetDate(EncodeDate(2026, 2, 14));
    struct Case {
        const char* what;
        std::function<void()> act;
        bool staysOpen;
    } cases[] = {
        {"press in the edit", [&] { Send(edit->LineEdit(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5)); }, false},
        {"press on a panel", [&] { ClickAt(panel->Widget(), QPoint(5, 5)); }, false},
        {"cancel from the panel", [&] { form->ActiveControl()->Perform(CM_CANCELMODE, 0, LPARAM(panel)); }, false},
        {"cancel from the edit", [&] { edit->Perform(CM_CANCELMODE, 0, LPARAM(edit)); }, true},
        {"cancel from the button", [&] { edit->Perform(CM_CANCELMODE, 0, LPARAM(edit->Button())); }, true},
        {"cancel from the popup", [&] { edit->Perform(CM_CANCELMODE, 0, LPARAM(edit->Popup())); }, true},
        {"cancel from the calendar", [&] { edit->Perform(CM_CANCELMODE, 0, LPARAM(PopupCal()->Calendar())); }, true},
    };
    for (const Case& c : cases) {
        edit->DoClick();
        ASSERT_TRUE(edit->PopupVisible()) << c.what;
        QTest::keyClick(edit->LineEdit(), Qt::Key_PageDown);
        c.act();
        EXPECT_EQ(edit->PopupVisible(), c.staysOpen) << c.what;
        EXPECT_EQ(PopupCal()->Visible(), c.staysOpen) << c.what;
        if (edit->PopupVisible()) QTest::keyClick(edit->LineEdit(), Qt::Key_Escape);
        EXPECT_EQ(edit->Date(), EncodeDate(2026, 2, 14)) << c.what; // closing so takes nothing
    }
}

TEST_F(Dates, KeysGoToTheOpenPopup) {
    Focus();
    edit->SetDate(EncodeDate(2026, 1, 31));
    edit->DoClick();
    ASSERT_TRUE(edit->PopupVisible());
    TLocCalendar* cal = PopupCal()->Calendar();
    QLineEdit* line = edit->LineEdit();
    QTest::keyClick(line, Qt::Key_PageDown);
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2026, 2, 28));
    // With a modifier the key is handed over directly: on a real display the
    // layer reads the modifiers from the keyboard, which a test cannot press.
    WORD key = VK_NEXT;
    edit->KeyDown(key, ssCtrl);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2027, 2, 28));
    QTest::keyClick(line, Qt::Key_Right);
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2027, 3, 1));
    QTest::keyClick(line, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(line, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2027, 2, 27));
    QTest::keyClick(line, Qt::Key_T);
    EXPECT_EQ(cal->CalendarDate(), EncodeDate(2026, 3, 10));
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 1, 31)); // not yet taken
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 3, 10));
    edit->DoClick();
    QTest::keyClick(line, Qt::Key_PageUp);
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 3, 10));
}

// On a dialog with default and cancel buttons, Enter and Escape close an
// open drop-down (taking or dropping its date) and go no further; with the
// drop-down closed they press the buttons.
TEST_F(Dates, EnterAndEscapeCloseTheOpenDropDownBeforeTheDialogsButtons) {
    TButton* ok = NewControl<TButton>(form, form, "OkButton");
    ok->SetBounds(200, 200, 75, 25);
    ok->SetDefault(true);
    TButton* cancel = NewControl<TButton>(form, form, "CancelButton");
    cancel->SetBounds(290, 200, 75, 25);
    cancel->SetCancel(true);
    int oks = 0;
    int cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    Focus();
    edit->SetDate(EncodeDate(2026, 2, 14));
    QLineEdit* line = edit->LineEdit();
    struct Case {
        Qt::Key key;
        bool dropped;
        TDateTime date;
        int oks, cancels;
    } cases[] = {
        {Qt::Key_Return, true, EncodeDate(2026, 3, 14), 0, 0},
        {Qt::Key_Escape, true, EncodeDate(2026, 3, 14), 0, 0},
        {Qt::Key_Return, false, EncodeDate(2026, 3, 14), 1, 0},
        {Qt::Key_Escape, false, EncodeDate(2026, 3, 14), 1, 1},
    };
    for (const Case& c : cases) {
        if (c.dropped) {
            edit->DoClick();
            ASSERT_TRUE(edit->PopupVisible());
            QTest::keyClick(line, Qt::Key_PageDown);
        }
        QTest::keyClick(line, c.key);
        EXPECT_FALSE(edit->PopupVisible()) << c.key;
        EXPECT_EQ(edit->Date(), c.date) << c.key;
        EXPECT_EQ(oks, c.oks) << c.key;
        EXPECT_EQ(cancels, c.cancels) << c.key;
        EXPECT_TRUE(edit->Focused()) << c.key;
    }
}

TEST_F(Dates, CheckOnExitRejectsABadTextAndKeepsIt) {
    TEdit* other = NewControl<TEdit>(form, form, "Other");
    other->SetBounds(20, 60, 100, 21);
    std::vector<AnsiString> messages;
    Application->OnException = [&](TObject*, Exception* e) { messages.push_back(e->Message); };
    edit->CheckOnExit = true;
    Focus();
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->LineEdit()->home(false);
    QTest::keyClicks(edit->LineEdit(), "32132026");
    EXPECT_EQ(edit->Text(), AnsiString("32.13.2026"));
    other->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0], AnsiString("'32.13.2026' is not a valid date"));
    EXPECT_EQ(edit->Text(), AnsiString("32.13.2026"));
    // A good partial text is written back in full, without a change event.
    edit->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return edit->Focused(); }));
    edit->SetText(" 5.06.07  ");
    changes = 0;
    other->SetFocus();
    ASSERT_TRUE(ProcessUntil([&] { return other->Focused(); }));
    EXPECT_EQ(edit->Text(), AnsiString("05.06.2007"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Dates, TheDateDialogKeys) {
    // Keys with Ctrl or Shift go to the form's handler directly (see above):
    // `vk` with `shift` first, then the plain keys.
    using Keys = std::vector<std::pair<int, Qt::KeyboardModifiers>>;
    const Keys ret = {{Qt::Key_Return, Qt::NoModifier}};
    struct Case { WORD vk; TShiftState shift; Keys keys; int result; TDateTime date; } cases[] = {
        {0, {}, ret, mrOk, EncodeDate(2026, 1, 31)},
        {0, {}, {{Qt::Key_PageUp, Qt::NoModifier}, ret[0]}, mrOk, EncodeDate(2025, 12, 31)},
        {VK_NEXT, ssCtrl, {{Qt::Key_Enter, Qt::KeypadModifier}}, mrOk, EncodeDate(2027, 1, 31)},
        {0, {}, {{Qt::Key_Tab, Qt::NoModifier}, ret[0]}, mrOk, EncodeDate(2026, 2, 28)},
        {VK_TAB, ssShift, ret, mrOk, EncodeDate(2025, 12, 31)},
        {0, {}, {{Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier}}, mrCancel, EncodeDate(2026, 2, 28)},
    };
    for (const Case& c : cases) {
        auto* dlg = MakeForm<TSelectDateDlg>();
        dlg->SetDate(EncodeDate(2026, 1, 31));
        std::vector<std::function<void()>> steps;
        if (&c == cases) steps.push_back([&] { KeepPicture(dlg->Widget(), "date-dialog-2026-01"); });
        if (c.vk) steps.push_back([dlg, &c] { WORD k = c.vk; dlg->KeyDown(k, c.shift); });
        for (auto [key, mods] : c.keys) steps.push_back([key = key, mods = mods] { Key(key, mods); });
        EXPECT_EQ(RunModal(dlg, steps), c.result) << &c - cases;
        EXPECT_EQ(dlg->Date(), c.date) << &c - cases;
    }
}

TEST_F(Dates, SelectDateRunsTheDialog) {
    TStringList hints;
    hints.Add("Назад на год"_a);
    std::vector<AnsiString> seen;
    Application->OnModalStart = [&](TForm* f) {
        QTimer::singleShot(0, [&, f] {
            auto* dlg = dynamic_cast<TSelectDateDlg*>(f);
            ASSERT_NE(dlg, nullptr);
            seen.push_back(dlg->Caption());
            seen.push_back(dlg->TitleRow()->Title()->Caption());
            seen.push_back(dlg->TitleRow()->Buttons(0)->Hint());
            dlg->Calendar()->NextMonth();
            ClickAt(dlg->OkButton()->Widget(), QPoint(5, 5));
        });
    };
    TDateTime d = NullDate; // starts at today
    EXPECT_TRUE(SelectDate(d, "Срок"_a, Mon, DayBit(Sun), clRed, &hints));
    EXPECT_EQ(d, EncodeDate(2026, 4, 10));
    AnsiString text = "05.06.2007";
    EXPECT_TRUE(SelectDateStr(text, "", Mon, DayBit(Sun), clRed, nullptr));
    EXPECT_EQ(text, AnsiString("05.07.2007"));
    EXPECT_EQ(seen, (std::vector<AnsiString>{"Срок"_a, "Март, 2026"_a, "Назад на год"_a, "Выбор даты"_a,
                                             "Июнь, 2007"_a, "Предыдущий год|"_a}));

    // The edit in dialog style asks through its button.
    edit->SetCalendarStyle(csDialog);
    edit->SetDate(EncodeDate(2026, 5, 20));
    edit->OnAcceptDate = [](TObject*, TDateTime& date, bool&) { date += 2; };
    edit->DoClick();
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 6, 22));
    edit->OnAcceptDate = [](TObject*, TDateTime&, bool& action) { action = false; };
    edit->DoClick();
    EXPECT_EQ(edit->Date(), EncodeDate(2026, 6, 22));
}

TEST_F(Dates, PopupDateSitsUnderTheEdit) {
    form->Show();
    // Placed and active: a window manager may still move a window that
    // only shows.
    ASSERT_TRUE(testenv::WaitActive(form));
    TRect placed;
    Application->OnModalStart = [&](TForm* f) {
        QTimer::singleShot(0, [&, f] {
            placed = f->BoundsRect();
            f->ModalResult = mrOk;
        });
    };
    TDateTime d = EncodeDate(2026, 8, 1);
    EXPECT_TRUE(PopupDate(d, edit));
    EXPECT_EQ(d, EncodeDate(2026, 8, 1));
    TPoint p = edit->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(placed.Right, p.x + edit->Width());
    EXPECT_EQ(placed.Top, p.y + edit->Height() - 1);
}

} // namespace
