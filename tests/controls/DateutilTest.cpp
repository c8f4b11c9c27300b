#include <gtest/gtest.h>

#include "common/Printers.h"

#include <cmath>
#include <vector>

#include "controls/Dateutil.h"

namespace {

// The clock stands at 14:30 on 10 March 2026 and the locale is Russian at the
// start of each test; both are put back afterwards.
class DateUtil : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFormatSettings();
        FourDigitYear(); // fixed now, as at the program's start
        SetClock([] { return EncodeDate(2026, 3, 10) + EncodeTime(14, 30, 0, 0); });
    }
    void TearDown() override {
        SetClock(nullptr);
        ResetFormatSettings();
        CenturyOffset = 60;
    }
    static AnsiString Ymd(TDateTime d) { return FormatDateTime("yyyy-mm-dd hh:nn", d); }
};

TEST_F(DateUtil, LeapYearsAndMonthLengths) {
    struct Case { int year, february; bool leap; } cases[] = {
        {1900, 28, false}, {2000, 29, true}, {2004, 29, true}, {2005, 28, false}, {2100, 28, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(DaysPerMonth(c.year, 2), c.february) << c.year;
    }
    EXPECT_EQ(DaysPerMonth(2005, 4), 30);
    EXPECT_EQ(DaysPerMonth(2005, 12), 31);
}

TEST_F(DateUtil, AddingMonthsAndYearsCutsTheDayAndKeepsTheTime) {
    TDateTime noon = EncodeTime(12, 15, 0, 0);
    struct Case { TDateTime from; int days, months, years; const char* expect; } cases[] = {
        {EncodeDate(2004, 1, 31) + noon, 0, 1, 0, "2004-02-29 12:15"},
        {EncodeDate(2005, 1, 31) + noon, 0, 1, 0, "2005-02-28 12:15"},
        {EncodeDate(2008, 2, 29), 0, 0, 1, "2009-02-28 00:00"},
        {EncodeDate(2005, 3, 31), 0, -1, 0, "2005-02-28 00:00"},
        {EncodeDate(2005, 1, 15), 0, -1, 0, "2004-12-15 00:00"},
        {EncodeDate(2005, 11, 15), 0, 14, 0, "2007-01-15 00:00"},
        {EncodeDate(2005, 2, 15), 0, -14, 0, "2003-12-15 00:00"},
        {EncodeDate(2005, 1, 31), 3, 1, 0, "2005-03-03 00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ymd(IncDate(c.from, c.days, c.months, c.years)), AnsiString(c.expect)) << c.expect;
    EXPECT_EQ(Ymd(IncMonth(EncodeDate(2004, 1, 31) + noon, 1)), AnsiString("2004-02-29 12:15"));
    EXPECT_EQ(Ymd(IncYear(EncodeDate(2008, 2, 29), 1)), AnsiString("2009-02-28 00:00"));
    EXPECT_EQ(Ymd(IncDay(EncodeDate(2008, 2, 28), 2)), AnsiString("2008-03-01 00:00"));
}

TEST_F(DateUtil, AddingTimeParts) {
    TDateTime t = EncodeTime(23, 0, 0, 0);
    EXPECT_EQ(Ymd(EncodeDate(2026, 1, 1) + IncHour(t, 2)), AnsiString("2026-01-02 01:00"));
    EXPECT_NEAR(IncMinute(t, 90), EncodeTime(0, 30, 0, 0) + 1, 1e-9);
    EXPECT_NEAR(IncHour(t, 49), 3.0, 1e-9);
    // A negative result wraps to the next day.
    EXPECT_NEAR(IncSecond(EncodeTime(0, 0, 10, 0), -20), 1 - 10.0 / SecsPerDay, 1e-9);
    EXPECT_NEAR(IncMSec(EncodeTime(0, 0, 0, 0), 500), 0.5 / SecsPerDay, 1e-12);
}

TEST_F(DateUtil, DifferencesBetweenDates) {
    struct Case { TDateTime a, b; int days, months, years; } cases[] = {
        {EncodeDate(2005, 1, 31), EncodeDate(2005, 3, 1), 1, 1, 0},
        {EncodeDate(2005, 3, 1), EncodeDate(2005, 1, 31), 1, 1, 0},
        {EncodeDate(2005, 6, 5), EncodeDate(2005, 6, 5), 0, 0, 0},
        {EncodeDate(2004, 12, 20), EncodeDate(2005, 1, 10), 21, 0, 0},
        {EncodeDate(2003, 5, 10), EncodeDate(2005, 2, 3), 24, 8, 1},
    };
    for (const Case& c : cases) {
        int d = -1, m = -1, y = -1;
        DateDiff(c.a, c.b, d, m, y);
        EXPECT_EQ((std::vector<int>{d, m, y}), (std::vector<int>{c.days, c.months, c.years})) << &c - cases;
    }
    struct Months { int day2; double expect; } months[] = {
        {2, 1.0}, {3, 1.25}, {7, 1.25}, {8, 1.5}, {15, 1.5}, {16, 1.75}, {21, 1.75}, {22, 2.0},
    };
    // From 1 January: 1 February plus (day2 - 1) days.
    for (const Months& c : months)
        EXPECT_EQ(MonthsBetween(EncodeDate(2005, 1, 1), EncodeDate(2005, 2, c.day2)), c.expect) << c.day2;

    TDateTime d = EncodeDate(2005, 6, 5) + 0.75;
    EXPECT_EQ(DaysBetween(d, d), 1);
    EXPECT_EQ(DaysBetween(d, d - 1), 0);
    EXPECT_EQ(DaysBetween(d, d - 5), 0);
    EXPECT_EQ(DaysBetween(d, d + 9.1), 10);
    EXPECT_EQ(DaysInPeriod(d + 9, d), 10);
    EXPECT_EQ(DaysInPeriod(d, EncodeDate(9999, 12, 31) + 2), 0);
    EXPECT_TRUE(ValidDate(EncodeDate(9999, 12, 31)));
    EXPECT_FALSE(ValidDate(EncodeDate(9999, 12, 31) + 1));
    EXPECT_EQ(CutTime(d), EncodeDate(2005, 6, 5));
    EXPECT_EQ(ExtractDay(d) * 10000 + ExtractMonth(d) * 1000 + ExtractYear(d), 5 * 10000 + 6 * 1000 + 2005);
}

TEST_F(DateUtil, MonthsAroundToday) {
    EXPECT_EQ(CurrentYear(), 2026);
    EXPECT_EQ(FirstDayOfNextMonth(), EncodeDate(2026, 4, 1));
    EXPECT_EQ(FirstDayOfPrevMonth(), EncodeDate(2026, 2, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), EncodeDate(2026, 2, 28));
    SetClock([] { return EncodeDate(2026, 12, 31) + 0.5; });
    EXPECT_EQ(FirstDayOfNextMonth(), EncodeDate(2027, 1, 1));
    SetClock([] { return EncodeDate(2026, 1, 1); });
    EXPECT_EQ(FirstDayOfPrevMonth(), EncodeDate(2025, 12, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), EncodeDate(2025, 12, 31));
}

TEST_F(DateUtil, TextToDate) {
    struct Case { char separator; const char* format; const char* text; TDateTime expect; } cases[] = {
        // Read by the positions of the format's parts.
        {'.', "DD/MM/YYYY", "05.06.2007", EncodeDate(2007, 6, 5)},
        {'.', "DD/MM/YY", "05.06.45", EncodeDate(2045, 6, 5)},
        {'.', "DD/MM/YY", "05.06.70", EncodeDate(1970, 6, 5)},
        {'.', "DD/MM/YYYY", " 5. 6.07  ", EncodeDate(2007, 6, 5)},
        {'.', "MM/DD/YYYY", "06.05.2007", EncodeDate(2007, 6, 5)},
        {'.', "YYYY/MM/DD", "2007.06.05", EncodeDate(2007, 6, 5)},
        {'.', "DD MMM YYYY", "05 июн 2007", EncodeDate(2007, 6, 5)},
        // Free text in the format's date order.
        {'/', "DD/MM/YYYY", "5/6", EncodeDate(2026, 6, 5)},
        {'/', "DD/MM/YYYY", "5/6/07", EncodeDate(2007, 6, 5)},
        {'/', "MM/DD/YYYY", "5/6", EncodeDate(2026, 5, 6)},
        {'/', "YYYY/MM/DD", "2007/6/5/ ", EncodeDate(2007, 6, 5)},
        {'.', "DD/MM/YYYY", " 5 . 6 . 2007", EncodeDate(2007, 6, 5)},
        {'.', "DD/MM/YYYY", "", NullDate},
    };
    for (const Case& c : cases) {
        DateSeparator = c.separator;
        AnsiString text = Utf8ToAnsi(c.text);
        EXPECT_EQ(StrToDateFmt(c.format, text), c.expect) << c.format << " " << c.text;
    }
    DateSeparator = '/';
    const char* bad[] = {"12345/1/1", "5/", "5/6/", "31/2/2007", "5/6/2007x", "x", "1/13"};
    for (const char* text : bad) {
        try {
            StrToDateFmt("DD/MM/YYYY", text);
            ADD_FAILURE() << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + AnsiString(text) + "' is not a valid date");
        }
    }
    // A mask text with an empty month is no date.
    DateSeparator = '.';
    EXPECT_THROW(StrToDateFmt("DD/MM/YYYY", "05.  .20  "), EConvertError);
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "12345/1/1", EncodeDate(2001, 2, 3) + 0.5), EncodeDate(2001, 2, 3));
    DateSeparator = '/';
    ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(StrToDateDef("5/6/2007", 0), EncodeDate(2007, 5, 6));
    // An era name before the date is passed over.
    ShortDateFormat = "gg yyyy/mm/dd";
    EXPECT_EQ(StrToDateFmt("YYYY/MM/DD", "era 2007/6/5"), EncodeDate(2007, 6, 5));
}

TEST_F(DateUtil, ACenturyOffsetOfZeroKeepsTheCurrentCentury) {
    CenturyOffset = 0;
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "05.06.99"), EncodeDate(2099, 6, 5));
    CenturyOffset = 10;
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "05.06.15"), EncodeDate(2115, 6, 5));
    EXPECT_EQ(StrToDateFmt("DD/MM/YY", "05.06.16"), EncodeDate(2016, 6, 5));
}

TEST_F(DateUtil, FormatsAndMasksFollowTheDateOrder) {
    struct Case { const char* shortFormat; TDateOrder order; const char* four; const char* two; const char* mask4; } cases[] = {
        {"dd.mm.yyyy", doDMY, "DD/MM/YYYY", "DD/MM/YY", "!99/99/9999;1;_"},
        {"M/d/yy", doMDY, "MM/DD/YYYY", "MM/DD/YY", "!99/99/9999;1;_"},
        {"yyyy-MM-dd", doYMD, "YYYY/MM/DD", "YY/MM/DD", "!9999/99/99;1;_"},
        {"ee/mm/dd", doYMD, "YYYY/MM/DD", "YY/MM/DD", "!9999/99/99;1;_"},
        {"hh:nn", doDMY, "DD/MM/YYYY", "DD/MM/YY", "!99/99/9999;1;_"},
    };
    for (const Case& c : cases) {
        ShortDateFormat = c.shortFormat;
        EXPECT_EQ(GetDateOrder(c.shortFormat), c.order) << c.shortFormat;
        EXPECT_EQ(DefDateFormat(true), AnsiString(c.four));
        EXPECT_EQ(DefDateFormat(false), AnsiString(c.two));
        EXPECT_EQ(DefDateMask('_', true), AnsiString(c.mask4));
        EXPECT_EQ(DefDateMask(' ', false), AnsiString("!99/99/99;1; "));
    }
    // The Russian locale at start-up has four-digit years.
    EXPECT_TRUE(FourDigitYear());
}

TEST_F(DateUtil, MonthNames) {
    struct Case { const char* text; int maxLen; int month; } cases[] = {
        {"Июнь", 4, 6}, {"июн", 3, 6}, {"ИЮЛЬ", 3, 7}, {"ма", 2, 3}, {"май", 3, 5},
        {"дек", 3, 12}, {"Jun", 3, 0}, {"", 3, 0}, {"янв", 0, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(MonthFromName(Utf8ToAnsi(c.text), c.maxLen), c.month) << c.text;
    LongMonthNames[0] = "";
    EXPECT_EQ(MonthFromName("x", 0), 2); // an empty name never matches
}

TEST_F(DateUtil, LongDates) {
    TDateTime d = EncodeDate(2007, 6, 5) + EncodeTime(9, 5, 7, 0);
    EXPECT_EQ(FormatLongDate(d), "5 июня 2007 г."_a);
    EXPECT_EQ(FormatLongDateTime(d), "5 июня 2007 г. 9:05:07"_a);
    EXPECT_EQ(FormatLongDateTime(NullDate), AnsiString());
    LongDateFormat = "d mmmm   ";
    EXPECT_EQ(FormatLongDate(d), "5 июня"_a);
}

} // namespace
