#pragma once
// The transition table of a state-machine block, read from its "%~" and "%%"
// lines and written as the middle of the machine's record: state and row
// counts, the start and reset patterns with their states, and one block per
// state with its output pattern and its rows. Patterns are texts of '0' and
// '1' padded to whole bytes, bit 7 of the first byte first, so they are the
// record's big-endian bytes as they stand.

#include "platform/Bytes.h"
#include "translate/Diagnostics.h"
#include "translate/Netlist.h"

namespace translate {

// The most states a table may have: a target is written as one byte.
constexpr int kMaxMachineStates = 255;

// Appends the table of block b (inputs and outputs: its pin counts) to w.
// False, with the problem reported, when the table is missing, a line has the
// wrong form or length, the counts disagree, or a target lies beyond the
// state count.
bool WriteMachineTable(const TBlock& b, int inputs, int outputs, ByteWriter& w, TDiagnostics& diag);

} // namespace translate
