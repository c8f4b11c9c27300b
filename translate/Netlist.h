#pragma once
// The netlist parser: cuts the elements file into blocks, one per element.
// A block is a header line ("name keyword [parameters]"), then pin lines
// ("%" + net name + blanks + "in" or "out" [+ "inverse"]) and table lines
// ("%%..." rows of CASE and state-machine tables, "%~..." counts of a
// state-machine table), and ends at an empty line.

#include <vector>

#include "platform/AnsiString.h"
#include "translate/Diagnostics.h"

namespace translate {

struct TPinLine {
    AnsiString Net;
    bool Output = false;
    bool InverseWord = false; // the word "inverse" (on a null pin it means NOT inverted)
};

struct TBlock {
    AnsiString Name;
    AnsiString Keyword;
    std::vector<AnsiString> Params; // the fields after the keyword
    int Line = 0;                   // of the header, from 1
    std::vector<TPinLine> Pins;     // in line order
    std::vector<AnsiString> Rows;   // "%%" and "%~" lines in line order, as written
    bool Damaged = false;           // a line of it was reported: no record is made of it
};

// Parses every block. Lines that fit no form are reported (result 2) and the
// block is still returned, so later blocks are checked too.
void ParseNetlist(const std::vector<AnsiString>& lines, const AnsiString& fileName, std::vector<TBlock>& blocks,
                  TDiagnostics& diag);

} // namespace translate
