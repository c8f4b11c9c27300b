#pragma once
// The code generator: turns every netlist block into one element record of
// the controller program, in block order. Each keyword has its record type
// and its input order (the order of the element's pin list); word 1 counts
// every word between the three header words and the output operands, so the
// records can be walked by their sizes. Timers get counter indexes in order;
// a jump is sized once every record is written. An unconnected output of a
// counter gets a bit of its own from the memory map.

#include <string>
#include <vector>

#include "translate/Diagnostics.h"
#include "translate/MemoryMap.h"
#include "translate/Netlist.h"

namespace translate {

struct TProgram {
    std::string Code; // the records back to back
    int Records = 0;
    int Timers = 0;
};

constexpr int kMaxTimers = 128;
constexpr int kMaxTimerPreset = 1048575; // 20 bits of 50 ms ticks
constexpr int kMaxCodeBytes = 65535;
constexpr int kMaxMachinePins = 120;

// The record type of a keyword (controller/ElementTypes.h); -1 when the
// keyword is unknown.
int RecordType(const AnsiString& keyword);

// False when a problem was reported; warnings leave it true.
bool GenerateCode(const std::vector<TBlock>& blocks, TMemoryMap& map, TProgram& out, TDiagnostics& diag);

} // namespace translate
