#pragma once
// The work-file reader: reads the five text work files the translator wrote
// and takes apart the lines of the driver-types, drivers and comments files.
// Signal and element lines are kept as read: their meaning depends on the
// drivers (memory map) and on the element kinds (netlist parser).

#include <vector>

#include "platform/AnsiString.h"
#include "translate/Diagnostics.h"

namespace translate {

// "name number": a driver type and its user type number.
struct TDriverTypeLine {
    AnsiString Name;
    long long Number = 0; // checked against 16 bits by the memory map
    AnsiString NumberText;
    int Line = 0;
};

// "name in|out type address bits interrupt".
struct TDriverLine {
    AnsiString Name;
    bool Output = false;
    AnsiString TypeName;
    unsigned Address = 0;
    int Bits = 0;
    int Interrupt = 0;
    int Line = 0;
};

// "bit;name;driver;comment": the comment shown with a signal when debugging.
struct TCommentLine {
    AnsiString Name;
    AnsiString Comment;
};

struct TWorkFileNames {
    AnsiString DriverTypes, Drivers, Signals, Comments, Elements;
};

struct TWorkFiles {
    TWorkFileNames Names;
    std::vector<TDriverTypeLine> DriverTypes;
    std::vector<TDriverLine> Drivers;
    std::vector<AnsiString> Signals;
    std::vector<TCommentLine> Comments;
    std::vector<AnsiString> Elements;
};

// Reads all five files. False (result 1 in diag) when a file cannot be read
// or a driver-type, driver or comment line has the wrong form; every such
// problem is reported.
bool ReadWorkFiles(const TWorkFileNames& names, TWorkFiles& out, TDiagnostics& diag);

// ---- Text helpers shared by the readers of the work files --------------------------

// The fields of a line separated by blanks and tabs.
std::vector<AnsiString> SplitFields(const AnsiString& line);
// An optional '-' and decimal digits. Values beyond 18 digits saturate, so a
// huge number is still seen as a number that does not fit.
bool ParseInteger(const AnsiString& text, long long& value);
// Lines of a Windows-1251 text, split at CR LF, CR or LF.
std::vector<AnsiString> SplitLines(const std::string& bytes);

} // namespace translate
