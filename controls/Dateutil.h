#pragma once
// Date arithmetic and date text of the component library, in the user's
// locale (the platform's format settings): month lengths, adding days, months,
// years and time parts, differences between dates, the locale's date order,
// the default date formats and edit masks of date edits, and typed text to a
// date, both text typed into a fixed-position mask and free text with
// separators. "Today" and the current year come from the platform's clock.

#include "platform/AnsiString.h"
#include "platform/DateFormat.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

// The value that means "no date"; an empty text converts to it.
inline constexpr TDateTime NullDate = 0;
// How far back from the current year a two-digit year may lie.
extern int CenturyOffset; // 60
// Whether the locale's short date format, as it stood when first asked (at
// start-up), has a four-digit year ("YYYY" in any letter case).
bool FourDigitYear();

enum TDateOrder { doMDY, doDMY, doYMD };
enum TDayOfWeekName { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
// A set of days of the week: bit (1 << day).
using TDaysOfWeek = unsigned;
constexpr TDaysOfWeek DayBit(TDayOfWeekName d) { return 1u << d; }

// IsLeapYear comes from the platform; DaysPerMonth is its month length.
inline int DaysPerMonth(int year, int month) { return DaysInMonth(year, month); }
// Day 1 of the month after / before today's month; the last day of the
// month before today's.
TDateTime FirstDayOfNextMonth();
TDateTime FirstDayOfPrevMonth();
TDateTime LastDayOfPrevMonth();
int ExtractDay(TDateTime date);
int ExtractMonth(TDateTime date);
int ExtractYear(TDateTime date);

// Months move the year as well (13 months is one year and a month); a day
// beyond the new month's length is cut to its last day; the time of day is
// kept.
TDateTime IncDate(TDateTime date, int days, int months, int years);
TDateTime IncDay(TDateTime date, int delta);
TDateTime IncMonth(TDateTime date, int delta);
TDateTime IncYear(TDateTime date, int delta);
// Adds time parts; a result below 0 wraps to the next day.
TDateTime IncTime(TDateTime time, int hours, int minutes, int seconds, int msecs);
TDateTime IncHour(TDateTime time, int delta);
TDateTime IncMinute(TDateTime time, int delta);
TDateTime IncSecond(TDateTime time, int delta);
TDateTime IncMSec(TDateTime time, int delta);

// The difference of two dates in either order, as whole years, months and
// days (31 January to 1 March 2005 is 1 month and 1 day).
void DateDiff(TDateTime date1, TDateTime date2, int& days, int& months, int& years);
// Months between two dates, the remaining days counted in quarters.
double MonthsBetween(TDateTime date1, TDateTime date2);
// Year 1-9999, month 1-12, day within the month.
bool ValidDate(TDateTime date);
// The days from one date to the other, both counted (0 for an invalid date).
int DaysInPeriod(TDateTime date1, TDateTime date2);
// Whole days of date2 - whole days of date1 + 1, or 0 when that is below 0.
int DaysBetween(TDateTime date1, TDateTime date2);
TDateTime CutTime(TDateTime date);
int CurrentYear();

// The order of day, month and year in a format: the first of D, M and Y (or
// E, an era year) decides; doDMY when there is none.
TDateOrder GetDateOrder(const AnsiString& dateFormat);
// 1-12 for the first month whose long name starts like s (the first maxLen
// characters, letter case ignored); 0 when there is none or s is empty.
int MonthFromName(const AnsiString& s, int maxLen);

// Text to a date. The text is first read by the positions of the format's
// parts (text typed into a mask: "05.06.20  " is read as 5 June 2020), then,
// when that is no date, freely as number, separator, number [, separator,
// number] in the format's date order. Two-digit years are taken within the
// century that ends CenturyOffset years before the current year. An empty
// text is NullDate. EConvertError "'<text>' is not a valid date" when the
// text is no date.
TDateTime StrToDateFmt(const AnsiString& dateFormat, const AnsiString& s);
// The same with the locale's short date format; the whole days of def when
// the text is no date.
TDateTime StrToDateDef(const AnsiString& s, TDateTime def);
TDateTime StrToDateFmtDef(const AnsiString& dateFormat, const AnsiString& s, TDateTime def);

// The format and the edit mask of a date edit in the locale's date order
// ("DD/MM/YYYY" and "!99/99/9999;1;_" for day-month-year with four digits).
AnsiString DefDateFormat(bool fourDigitYear);
AnsiString DefDateMask(char blanksChar, bool fourDigitYear);

// The date in the locale's long format, trailing blanks removed; with the
// long time after it (empty for NullDate).
AnsiString FormatLongDate(TDateTime date);
AnsiString FormatLongDateTime(TDateTime date);
