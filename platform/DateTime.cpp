#include "platform/DateTime.h"

#include <chrono>
#include <cmath>

#include "platform/Exceptions.h"

namespace {

TClock& Clock() {
    static TClock clock;
    return clock;
}

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kUnixDayOfZero = -25569;

// The date's whole days and its time of day in milliseconds, rounded to the
// millisecond. Negative dates count days backwards with the time forwards
// (-1.25 is 29 December 1899, 06:00), as the old platform had it.
void Split(TDateTime dt, std::int64_t& days, std::int64_t& msec) {
    double whole = std::trunc(dt);
    std::int64_t ms = std::llround(std::fabs(dt - whole) * MSecsPerDay);
    days = std::int64_t(whole);
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        days += dt < 0 ? -1 : 1;
    }
    msec = ms;
}

TDateTime SystemNow() {
    using namespace std::chrono;
    auto now = system_clock::now();
    auto secs = time_point_cast<seconds>(now);
    long ns = long(duration_cast<nanoseconds>(now - secs).count());
    return DateTimeFromUnix(system_clock::to_time_t(secs), ns);
}

} // namespace

void SetClock(TClock clock) { Clock() = std::move(clock); }

TDateTime Now() { return Clock() ? Clock()() : SystemNow(); }

TDateTime Date() { return std::floor(Now()); }

TDateTime Time() {
    TDateTime n = Now();
    return n - std::floor(n);
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year));
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
    date = TDateTime(DaysFromCivil(year, month, day) - kUnixDayOfZero);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
    if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
        return false;
    time = (((hour * 60 + min) * 60 + sec) * 1000 + msec) / double(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
    return d;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime t;
    if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
    return t;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    std::int64_t days, ms;
    Split(date, days, ms);
    CivilFromDays(days + kUnixDayOfZero, year, month, day);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
    std::int64_t days, ms;
    Split(time, days, ms);
    msec = int(ms % 1000);
    sec = int(ms / 1000 % 60);
    min = int(ms / 60000 % 60);
    hour = int(ms / 3600000);
}

int DayOfWeek(TDateTime date) {
    std::int64_t days, ms;
    Split(date, days, ms);
    // Day 0 (1899-12-30) was a Saturday.
    return int(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime DateTimeFromUnix(std::time_t seconds, long nanoseconds) {
    std::tm tm{};
    localtime_r(&seconds, &tm);
    TDateTime d = TDateTime(DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) - kUnixDayOfZero);
    double t = ((tm.tm_hour * 60.0 + tm.tm_min) * 60.0 + tm.tm_sec + nanoseconds / 1e9) / SecsPerDay;
    return d < 0 ? d - t : d + t;
}

std::time_t DateTimeToUnix(TDateTime date) {
    int y, m, d, h, n, s, ms;
    DecodeDate(date, y, m, d);
    DecodeTime(date, h, n, s, ms);
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = n;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}
