#pragma once
// Date and time text in the user's locale: the format settings (Russian by
// default, changeable by the program and by tests) and FormatDateTime.

#include "platform/AnsiString.h"
#include "platform/DateTime.h"

// Format settings. In formats '/' stands for DateSeparator and ':' for
// TimeSeparator.
extern AnsiString ShortDateFormat; // "dd.mm.yyyy"
extern AnsiString LongDateFormat;  // "d mmmm yyyy 'г.'"
extern AnsiString ShortTimeFormat; // "h:mm"
extern AnsiString LongTimeFormat;  // "h:mm:ss"
extern char DateSeparator;         // '.'
extern char TimeSeparator;         // ':'
extern AnsiString TimeAMString;    // "" (the Russian clock has no AM/PM)
extern AnsiString TimePMString;
extern AnsiString ShortMonthNames[12]; // "янв" ..
extern AnsiString LongMonthNames[12];  // "Январь" ..
// The month names as they stand after a day number ("5 июня").
extern AnsiString LongMonthNamesGenitive[12];
extern AnsiString ShortDayNames[7]; // "Вс" .. "Сб", Sunday first
extern AnsiString LongDayNames[7];  // "воскресенье" ..
// Puts every setting above back to its Russian default.
void ResetFormatSettings();

// Formats a date and time. Letters are read in either case:
//   c       ShortDateFormat, then a blank and LongTimeFormat when the time is not 0
//   d dd    day without / with leading zero;  ddd dddd  short / long day name
//   ddddd   ShortDateFormat;  dddddd  LongDateFormat
//   m mm    month number (minutes right after an hour);  mmm  short month name
//   mmmm    long month name (its genitive form when the format also has a day number)
//   yy yyyy two- / four-digit year
//   h hh    hour (12-hour clock when the format has am/pm, a/p or ampm)
//   n nn    minute;  s ss  second;  z zzz  millisecond
//   t tt    ShortTimeFormat / LongTimeFormat
//   am/pm a/p ampm   the half of the day ("am"/"pm" in the format's letter
//                    case; ampm gives TimeAMString / TimePMString)
//   / :     DateSeparator / TimeSeparator;  "..." '...'  literal text
// Any other character is copied.
AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime);
