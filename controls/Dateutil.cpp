#include "controls/Dateutil.h"

#include <cmath>
#include <cstdlib>
#include <utility>


namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void TodayParts(int& year, int& month, int& day) { DecodeDate(Date(), year, month, day); }

// The time of day of a date (always a fraction of a day, 0 <= t < 1).
double TimeOfDay(TDateTime date) { return std::fabs(date - std::trunc(date)); }

// A date value from whole days and a time of day, the way the platform
// keeps them: days before 30 December 1899 count backwards, times forwards.
TDateTime Combine(TDateTime days, double time) { return days < 0 ? days - time : days + time; }

bool ValidParts(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

// A two-digit year lies within the CenturyOffset years before the current
// year and the years after it.
int ExpandYear(int year) {
    if (year < 0 || year >= 100) return year;
    int base = CurrentYear() - CenturyOffset;
    year += base / 100 * 100;
    if (CenturyOffset > 0 && year < base) year += 100;
    return year;
}

// ---- text typed into a mask: parts read by the positions of the format ----

constexpr int kMissing = -1;
constexpr int kMaxTake = 20;

// The characters of s at the positions of the first run of letter in the
// upper-cased format that starts with pattern (blanks left out); false when
// the format has no such run.
bool TakeAtPattern(const AnsiString& format, const AnsiString& s, const char* pattern, AnsiString& take) {
    int start = format.Pos(pattern);
    if (start == 0) return false;
    char letter = pattern[0];
    int end = start;
    while (end <= format.Length() && format[end] == letter) ++end;
    take = AnsiString();
    for (int i = start; i < end && i <= s.Length() && take.Length() < kMaxTake; ++i)
        if (s[i] != ' ') take += s[i];
    return true;
}

int NumberOrMissing(const AnsiString& take) {
    if (take.IsEmpty()) return kMissing;
    int value = 0;
    return TryStrToInt(take, value) ? value : kMissing;
}

void ScanFixed(const AnsiString& dateFormat, const AnsiString& s, int& year, int& month, int& day) {
    month = 0;
    day = 1;
    year = CurrentYear();
    AnsiString format = dateFormat.UpperCase();
    if (s.Length() > format.Length()) return;
    AnsiString take;
    if (TakeAtPattern(format, s, "MMM", take)) {
        month = take.IsEmpty() ? kMissing : MonthFromName(take, take.Length());
        if (month == 0) month = kMissing;
    }
    if (month == 0 && TakeAtPattern(format, s, "M", take)) month = NumberOrMissing(take);
    if (TakeAtPattern(format, s, "D", take)) day = NumberOrMissing(take);
    if (TakeAtPattern(format, s, "Y", take)) year = ExpandYear(NumberOrMissing(take));
}

// ---- free text: number, separator, number [, separator, number] ----

void SkipBlanks(const AnsiString& s, int& pos) {
    while (pos <= s.Length() && s[pos] == ' ') ++pos;
}

// Digits are read while the value is below 1000, so a number has at most
// four significant digits and "12345" stops before its "5".
bool ScanNumber(const AnsiString& s, int& pos, int& number) {
    SkipBlanks(s, pos);
    int start = pos;
    number = 0;
    while (pos <= s.Length() && IsDigit(s[pos]) && number < 1000) number = number * 10 + (s[pos++] - '0');
    return pos > start;
}

bool ScanChar(const AnsiString& s, int& pos, char c) {
    SkipBlanks(s, pos);
    if (pos > s.Length() || s[pos] != c) return false;
    ++pos;
    return true;
}

bool ScanFree(const AnsiString& dateFormat, const AnsiString& s, int& year, int& month, int& day) {
    int pos = 1;
    // An era name ("g") before the date is not read.
    if (ShortDateFormat.Length() > 0 && (ShortDateFormat[1] == 'g' || ShortDateFormat[1] == 'G'))
        while (pos <= s.Length() && !IsDigit(s[pos])) ++pos;
    int n1 = 0, n2 = 0, n3 = 0;
    if (!ScanNumber(s, pos, n1) || !ScanChar(s, pos, DateSeparator) || !ScanNumber(s, pos, n2)) return false;
    TDateOrder order = GetDateOrder(dateFormat);
    if (ScanChar(s, pos, DateSeparator)) {
        if (!ScanNumber(s, pos, n3)) return false;
        switch (order) {
        case doMDY: month = n1, day = n2, year = n3; break;
        case doDMY: day = n1, month = n2, year = n3; break;
        case doYMD: year = n1, month = n2, day = n3; break;
        }
        year = ExpandYear(year);
    } else {
        year = CurrentYear();
        if (order == doDMY) day = n1, month = n2;
        else month = n1, day = n2;
    }
    ScanChar(s, pos, DateSeparator);
    SkipBlanks(s, pos);
    return pos > s.Length();
}

bool TryStrToDateFmt(const AnsiString& dateFormat, const AnsiString& s, TDateTime& date) {
    if (s.IsEmpty()) {
        date = NullDate;
        return true;
    }
    int year = 0, month = 0, day = 0;
    ScanFixed(dateFormat, s, year, month, day);
    if (!ValidParts(year, month, day) && !(ScanFree(dateFormat, s, year, month, day) && ValidParts(year, month, day)))
        return false;
    date = EncodeDate(year, month, day);
    return true;
}

} // namespace

int CenturyOffset = 60;
bool FourDigitYear() {
    static const bool four = ShortDateFormat.UpperCase().Pos("YYYY") > 0;
    return four;
}

TDateTime FirstDayOfNextMonth() {
    int y, m, d;
    TodayParts(y, m, d);
    if (++m > 12) m = 1, ++y;
    return EncodeDate(y, m, 1);
}

TDateTime FirstDayOfPrevMonth() {
    int y, m, d;
    TodayParts(y, m, d);
    if (--m < 1) m = 12, --y;
    return EncodeDate(y, m, 1);
}

TDateTime LastDayOfPrevMonth() {
    int y, m, d;
    TodayParts(y, m, d);
    return EncodeDate(y, m, 1) - 1;
}

int ExtractDay(TDateTime date) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    return d;
}

int ExtractMonth(TDateTime date) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    return m;
}

int ExtractYear(TDateTime date) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    return y;
}

TDateTime IncDate(TDateTime date, int days, int months, int years) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    y += years + months / 12;
    m += months % 12;
    if (m < 1) m += 12, --y;
    else if (m > 12) m -= 12, ++y;
    d = std::min(d, DaysInMonth(y, m));
    return Combine(EncodeDate(y, m, d), TimeOfDay(date)) + days;
}

TDateTime IncDay(TDateTime date, int delta) { return date + delta; }
TDateTime IncMonth(TDateTime date, int delta) { return IncDate(date, 0, delta, 0); }
TDateTime IncYear(TDateTime date, int delta) { return IncDate(date, 0, 0, delta); }

TDateTime IncTime(TDateTime time, int hours, int minutes, int seconds, int msecs) {
    long long ms = (long long)(hours % 24) * 3600000 + (long long)minutes * 60000 + (long long)seconds * 1000 + msecs;
    TDateTime result = time + hours / 24 + double(ms) / MSecsPerDay;
    if (result < 0) result += 1;
    return result;
}

TDateTime IncHour(TDateTime time, int delta) { return IncTime(time, delta, 0, 0, 0); }
TDateTime IncMinute(TDateTime time, int delta) { return IncTime(time, 0, delta, 0, 0); }
TDateTime IncSecond(TDateTime time, int delta) { return IncTime(time, 0, 0, delta, 0); }
TDateTime IncMSec(TDateTime time, int delta) { return IncTime(time, 0, 0, 0, delta); }

void DateDiff(TDateTime date1, TDateTime date2, int& days, int& months, int& years) {
    if (date1 > date2) std::swap(date1, date2);
    int ly, lm, ld, ey, em, ed;
    DecodeDate(date2, ly, lm, ld);
    DecodeDate(date1, ey, em, ed);
    years = ly - ey;
    months = 0;
    days = 0;
    if (lm < em) {
        months += 12;
        --years;
    }
    months += lm - em;
    if (ld < ed) {
        days += DaysInMonth(ey, em);
        if (months == 0) {
            --years;
            months = 11;
        } else {
            --months;
        }
    }
    days += ld - ed;
}

double MonthsBetween(TDateTime date1, TDateTime date2) {
    int d, m, y;
    DateDiff(date1, date2, d, m, y);
    double result = y * 12 + m;
    if (d >= 21) result += 1.0;
    else if (d >= 15) result += 0.75;
    else if (d >= 7) result += 0.5;
    else if (d >= 2) result += 0.25;
    return result;
}

bool ValidDate(TDateTime date) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    return ValidParts(y, m, d);
}

int DaysInPeriod(TDateTime date1, TDateTime date2) {
    if (!ValidDate(date1) || !ValidDate(date2)) return 0;
    return int(std::llabs((long long)std::trunc(date2) - (long long)std::trunc(date1))) + 1;
}

int DaysBetween(TDateTime date1, TDateTime date2) {
    long long n = (long long)std::trunc(date2) - (long long)std::trunc(date1) + 1;
    return n < 0 ? 0 : int(n);
}

TDateTime CutTime(TDateTime date) { return std::trunc(date); }

int CurrentYear() { return ExtractYear(Now()); }

TDateOrder GetDateOrder(const AnsiString& dateFormat) {
    for (int i = 1; i <= dateFormat.Length(); ++i) {
        switch (dateFormat[i]) {
        case 'D':
        case 'd': return doDMY;
        case 'E':
        case 'e':
        case 'Y':
        case 'y': return doYMD;
        case 'M':
        case 'm': return doMDY;
        default: break;
        }
    }
    return doDMY;
}

int MonthFromName(const AnsiString& s, int maxLen) {
    if (s.IsEmpty()) return 0;
    AnsiString head = s.SubString(1, maxLen);
    for (int m = 1; m <= 12; ++m) {
        const AnsiString& name = LongMonthNames[m - 1];
        if (!name.IsEmpty() && name.SubString(1, maxLen).AnsiCompareIC(head) == 0) return m;
    }
    return 0;
}

TDateTime StrToDateFmt(const AnsiString& dateFormat, const AnsiString& s) {
    TDateTime date = NullDate;
    if (!TryStrToDateFmt(dateFormat, s, date)) throw EConvertError(Format("'%s' is not a valid date", s));
    return date;
}

TDateTime StrToDateFmtDef(const AnsiString& dateFormat, const AnsiString& s, TDateTime def) {
    TDateTime date = NullDate;
    return TryStrToDateFmt(dateFormat, s, date) ? date : std::trunc(def);
}

TDateTime StrToDateDef(const AnsiString& s, TDateTime def) { return StrToDateFmtDef(ShortDateFormat, s, def); }

AnsiString DefDateFormat(bool fourDigitYear) {
    switch (GetDateOrder(ShortDateFormat)) {
    case doMDY: return fourDigitYear ? "MM/DD/YYYY" : "MM/DD/YY";
    case doYMD: return fourDigitYear ? "YYYY/MM/DD" : "YY/MM/DD";
    case doDMY: break;
    }
    return fourDigitYear ? "DD/MM/YYYY" : "DD/MM/YY";
}

AnsiString DefDateMask(char blanksChar, bool fourDigitYear) {
    AnsiString mask;
    if (!fourDigitYear) mask = "!99/99/99;1;";
    else if (GetDateOrder(ShortDateFormat) == doYMD) mask = "!9999/99/99;1;";
    else mask = "!99/99/9999;1;";
    return mask + blanksChar;
}

AnsiString FormatLongDate(TDateTime date) {
    constexpr int kMaxLength = 1023;
    return FormatDateTime(LongDateFormat, date).SubString(1, kMaxLength).TrimRight();
}

AnsiString FormatLongDateTime(TDateTime date) {
    if (date == NullDate) return AnsiString();
    return FormatLongDate(date) + FormatDateTime(" tt", date);
}
