#pragma once
// TDateTime: days since 1899-12-30 as a double; the fraction is the time of
// day. Calendar dates are proleptic Gregorian, years 1 to 9999. "Now" comes
// from a clock that tests can replace (SetClock), so nothing that shows or
// stores a date depends on when a test runs.

#include <cstdint>
#include <ctime>
#include <functional>

using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = 24 * 60;
inline constexpr int SecsPerDay = 24 * 60 * 60;
inline constexpr int MSecsPerDay = SecsPerDay * 1000;

// The clock: local date and time as a TDateTime. An empty function puts the
// system clock back.
using TClock = std::function<TDateTime()>;
void SetClock(TClock clock);

TDateTime Now();
TDateTime Date(); // today, no time of day
TDateTime Time(); // the time of day only

bool IsLeapYear(int year);
// 28..31; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// EConvertError "Invalid argument to date encode" / "Invalid argument to time
// encode" when a part is out of range.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
// Both round to the millisecond first, so 23:59:59.9996 belongs to the next day.
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);

// Local time of a system time and back (file times).
TDateTime DateTimeFromUnix(std::time_t seconds, long nanoseconds = 0);
std::time_t DateTimeToUnix(TDateTime date);
