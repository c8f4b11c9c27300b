#include <array>

#include <gtest/gtest.h>

#include "ExpectMessage.h"

#include "platform/DateFormat.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace {

// Every test here runs on a fixed clock and the default format settings.
class DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFormatSettings(); }
    void TearDown() override {
        SetClock(nullptr);
        ResetFormatSettings();
    }
};

TEST_F(DateTimeTest, EncodeAndDecodeAgreeWithTheCalendar) {
    struct Case {
        int y, m, d;
        double serial;
        int dow;
    } cases[] = {
        {1899, 12, 30, 0, 7},      {1899, 12, 31, 1, 1},     {1900, 1, 1, 2, 2},
        {1900, 3, 1, 61, 5},       {2000, 2, 29, 36585, 3},  {2007, 6, 5, 39238, 3},
        {2026, 1, 1, 46023, 5},    {1, 1, 1, -693593, 2},    {9999, 12, 31, 2958465, 6},
        {1899, 12, 29, -1, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        int y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
        // The time of day never changes the day (before the base date it counts forwards too).
        EXPECT_EQ(DayOfWeek(c.serial + (c.serial < 0 ? -0.75 : 0.75)), c.dow) << c.serial;
    }
    for (auto bad : {std::array{1900, 2, 29}, std::array{2001, 13, 1}, std::array{0, 1, 1}, std::array{2001, 4, 31}})
        ExpectMessage<EConvertError>([&] { EncodeDate(bad[0], bad[1], bad[2]); }, "Invalid argument to date encode");
    ExpectMessage<EConvertError>([] { EncodeTime(24, 0, 0, 0); }, "Invalid argument to time encode");
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2004, 2), 29);
    EXPECT_EQ(DaysInMonth(2005, 2), 28);
    EXPECT_EQ(DaysInMonth(2005, 13), 0);
}

TEST_F(DateTimeTest, TimeRoundsToTheMillisecondAcrossMidnight) {
    int h, n, s, ms;
    DecodeTime(EncodeTime(13, 14, 15, 678), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 131415678);
    TDateTime almost = EncodeDate(2007, 12, 31) + 0.9999999999;
    int y, m, d;
    DecodeDate(almost, y, m, d);
    DecodeTime(almost, h, n, s, ms);
    EXPECT_EQ(y, 2008);
    EXPECT_EQ(m * 100 + d, 101);
    EXPECT_EQ(h + n + s + ms, 0);
    // Before the base date the fraction still counts forwards.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
}

TEST_F(DateTimeTest, TheClockCanBeSet) {
    TDateTime fixed = EncodeDate(2026, 3, 14) + EncodeTime(9, 26, 53, 589);
    SetClock([fixed] { return fixed; });
    EXPECT_EQ(Now(), fixed);
    EXPECT_EQ(Date(), EncodeDate(2026, 3, 14));
    EXPECT_NEAR(Time(), EncodeTime(9, 26, 53, 589), 1e-9);
    SetClock(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST_F(DateTimeTest, FormatDateTime) {
    TDateTime t = EncodeDate(2007, 6, 5) + EncodeTime(14, 3, 9, 7);
    TDateTime midnight = EncodeDate(2024, 1, 1);
    struct Case {
        const char* format;
        TDateTime value;
        const char* expected;
    } cases[] = {
        {"dd.mm.yyyy", t, "05.06.2007"},
        {"d/m/yy", t, "5.6.07"},
        {"MMMM, YYYY", t, "Июнь, 2007"},
        {"d mmmm yyyy", t, "5 июня 2007"},
        {"dddddd", t, "5 июня 2007 г."},
        {"ddddd", t, "05.06.2007"},
        {"ddd dddd mmm", t, "Вт вторник июн"},
        {"hh:mm:ss.zzz", t, "14:03:09.007"},
        {"h:n:s z", t, "14:3:9 7"},
        {"h:mm AM/PM", t, "2:03 PM"},
        {"hh a/p", midnight, "12 a"},
        {"t | tt", t, "14:03 | 14:03:09"},
        {"c", t, "05.06.2007 14:03:09"},
        {"c", midnight, "01.01.2024"},
        {"'dd' \"mm\" yyyy", t, "dd mm 2007"},
        {"yyyy-mm-dd_x", t, "2007-06-05_x"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value), Utf8ToAnsi(c.expected)) << c.format;

    DateSeparator = '/';
    TimeSeparator = '-';
    ShortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(FormatDateTime("ddddd hh:nn", t), "05/06/2007 14-03");
    ShortDateFormat = "ddddd";  // a setting that names itself ends without looping
    EXPECT_EQ(FormatDateTime("c", midnight), "");
}

} // namespace
