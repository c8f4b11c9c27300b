#include "platform/DateFormat.h"

#include <cmath>
#include <cstdio>

AnsiString ShortDateFormat;
AnsiString LongDateFormat;
AnsiString ShortTimeFormat;
AnsiString LongTimeFormat;
char DateSeparator;
char TimeSeparator;
AnsiString TimeAMString;
AnsiString TimePMString;
AnsiString ShortMonthNames[12];
AnsiString LongMonthNames[12];
AnsiString LongMonthNamesGenitive[12];
AnsiString ShortDayNames[7];
AnsiString LongDayNames[7];

void ResetFormatSettings() {
    ShortDateFormat = "dd.mm.yyyy";
    LongDateFormat = "d mmmm yyyy 'г.'"_a;
    ShortTimeFormat = "h:mm";
    LongTimeFormat = "h:mm:ss";
    DateSeparator = '.';
    TimeSeparator = ':';
    TimeAMString = "";
    TimePMString = "";
    const char* const shortMonths[12] = {"янв", "фев", "мар", "апр", "май", "июн",
                                         "июл", "авг", "сен", "окт", "ноя", "дек"};
    const char* const longMonths[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                        "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    const char* const genitive[12] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                      "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    const char* const shortDays[7] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    const char* const longDays[7] = {"воскресенье", "понедельник", "вторник", "среда",
                                     "четверг",     "пятница",     "суббота"};
    for (int i = 0; i < 12; ++i) {
        ShortMonthNames[i] = Utf8ToAnsi(shortMonths[i]);
        LongMonthNames[i] = Utf8ToAnsi(longMonths[i]);
        LongMonthNamesGenitive[i] = Utf8ToAnsi(genitive[i]);
    }
    for (int i = 0; i < 7; ++i) {
        ShortDayNames[i] = Utf8ToAnsi(shortDays[i]);
        LongDayNames[i] = Utf8ToAnsi(longDays[i]);
    }
}

namespace {

const bool kDefaultsSet = (ResetFormatSettings(), true);

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool StartsWithIC(const AnsiString& s, int at, const char* text) {
    for (int k = 0; text[k]; ++k)
        if (at + k > s.Length() || Upper(s[at + k]) != Upper(text[k])) return false;
    return true;
}

// The length of the run of the letter at `at` (either case).
int RunLength(const AnsiString& f, int at) {
    int n = 1;
    while (at + n <= f.Length() && Upper(f[at + n]) == Upper(f[at])) ++n;
    return n;
}

AnsiString Num(int v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", digits, v);
    return buf;
}

// What the whole format asks for, found before formatting: a 12-hour clock
// (any am/pm specifier) and a day number (month names then take the genitive).
struct Scan {
    bool twelveHour = false;
    bool dayNumber = false;
};

Scan ScanFormat(const AnsiString& f) {
    Scan s;
    for (int i = 1; i <= f.Length();) {
        char c = f[i];
        if (c == '"' || c == '\'') {
            int j = i + 1;
            while (j <= f.Length() && f[j] != c) ++j;
            i = j + 1;
            continue;
        }
        if (StartsWithIC(f, i, "am/pm") || StartsWithIC(f, i, "a/p") || StartsWithIC(f, i, "ampm")) s.twelveHour = true;
        int run = RunLength(f, i);
        if (Upper(c) == 'D' && run <= 2) s.dayNumber = true;
        i += run;
    }
    return s;
}

struct Parts {
    int year, month, day, hour, min, sec, msec, dow;
    bool hasTime;
};

void Append(AnsiString& out, const AnsiString& format, const Parts& p, int depth);

void AppendNested(AnsiString& out, const AnsiString& format, const Parts& p, int depth) {
    // Formats nest only through the settings; a setting that names itself stops here.
    if (depth < 3) Append(out, format, p, depth + 1);
}

void Append(AnsiString& out, const AnsiString& f, const Parts& p, int depth) {
    Scan scan = ScanFormat(f);
    char last = 0;
    for (int i = 1; i <= f.Length();) {
        char c = f[i];
        char token = Upper(c);
        if (c == '"' || c == '\'') {
            int j = i + 1;
            while (j <= f.Length() && f[j] != c) out += f[j++];
            i = j + 1;
            continue;
        }
        if (token == 'A') {
            bool pm = p.hour >= 12;
            if (StartsWithIC(f, i, "am/pm")) {
                AnsiString part = f.SubString(pm ? i + 3 : i, 2);
                out += part;
                i += 5;
            } else if (StartsWithIC(f, i, "a/p")) {
                out += f[pm ? i + 2 : i];
                i += 3;
            } else if (StartsWithIC(f, i, "ampm")) {
                out += pm ? TimePMString : TimeAMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        if (token < 'A' || token > 'Z') {
            out += c == '/' ? DateSeparator : c == ':' ? TimeSeparator : c;
            ++i;
            continue;
        }
        int run = RunLength(f, i);
        if (token == 'M' && last == 'H') token = 'N';
        last = token;
        switch (token) {
        case 'C':
            AppendNested(out, ShortDateFormat, p, depth);
            if (p.hasTime) {
                out += ' ';
                AppendNested(out, LongTimeFormat, p, depth);
            }
            run = 1;
            break;
        case 'D':
            if (run == 1) out += IntToStr(p.day);
            else if (run == 2) out += Num(p.day, 2);
            else if (run == 3) out += ShortDayNames[p.dow - 1];
            else if (run == 4) out += LongDayNames[p.dow - 1];
            else AppendNested(out, run == 5 ? ShortDateFormat : LongDateFormat, p, depth);
            break;
        case 'M':
            if (run == 1) out += IntToStr(p.month);
            else if (run == 2) out += Num(p.month, 2);
            else if (run == 3) out += ShortMonthNames[p.month - 1];
            else out += scan.dayNumber ? LongMonthNamesGenitive[p.month - 1] : LongMonthNames[p.month - 1];
            break;
        case 'Y':
            out += run <= 2 ? Num(p.year % 100, 2) : Num(p.year, 4);
            break;
        case 'H': {
            int h = scan.twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            out += run == 1 ? IntToStr(h) : Num(h, 2);
            break;
        }
        case 'N':
            out += run == 1 ? IntToStr(p.min) : Num(p.min, 2);
            break;
        case 'S':
            out += run == 1 ? IntToStr(p.sec) : Num(p.sec, 2);
            break;
        case 'Z':
            out += run == 1 ? IntToStr(p.msec) : Num(p.msec, 3);
            break;
        case 'T':
            AppendNested(out, run == 1 ? ShortTimeFormat : LongTimeFormat, p, depth);
            break;
        default:
            out += f.SubString(i, run);
            break;
        }
        i += run;
    }
}

} // namespace

AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime) {
    (void)kDefaultsSet;
    Parts p{};
    DecodeDate(dateTime, p.year, p.month, p.day);
    DecodeTime(dateTime, p.hour, p.min, p.sec, p.msec);
    p.dow = DayOfWeek(dateTime);
    p.hasTime = p.hour || p.min || p.sec || p.msec;
    AnsiString out;
    Append(out, format, p, 0);
    return out;
}
