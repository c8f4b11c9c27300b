#pragma once
// TElementCode: the element records of a loaded program, checked once and
// decoded into a compact form for the scan. Operands become {byte, bit,
// inversion}; CASE, range and state-machine tables become arrays of numbers
// and bit masks; jumps become record indexes. The scan then runs without
// parsing, allocation or string work. What the scan keeps between scans
// (flip-flop states, timer running bits, state numbers, filter offsets) stays
// in the loaded code bytes, whose positions the decoded records hold.

#include <cstdint>
#include <vector>

#include "controller/ElementTypes.h"
#include "platform/AnsiString.h"

namespace emu {

constexpr int kImageSize = 4096;    // bytes of bit memory
constexpr int kTimerCounters = 128; // timer counters
constexpr int kMaxMachinePins = 120;

// Element types are those of controller/ElementTypes.h; a record the scan
// must not run (type 4 and every type above 22) ends the scan there.
using enum TElementType;
constexpr uint8_t etEndOfScan = 255;

// One bit of the image named by an operand word: bits 0-11 byte address,
// 12-14 bit number, 15 inversion. Twelve bits cannot name a byte beyond the
// image, so an operand is always inside it.
struct Operand {
    uint16_t Addr;
    uint8_t Bit;
    uint8_t Inv;
};

inline Operand DecodeOperand(uint16_t word) {
    return Operand{uint16_t(word & 0x0FFF), uint8_t((word >> 12) & 7), uint8_t(word >> 15)};
}

struct Record {
    uint8_t Type = etEndOfScan;
    uint8_t TouchesForced = 0; // an output names a bit held by a forced input (kept by TVAC)
    uint16_t InCount = 0;      // input operands at Ops[In]
    uint16_t OutCount = 0;     // output operands at Ops[Out]
    uint32_t In = 0;
    uint32_t Out = 0;
    uint32_t Aux = 0;   // CASE and range tables: index into Tables; state machine: index into Machines
    uint32_t State = 0; // code byte the scan keeps: flip-flop state byte, timer running byte, filter offset
    uint32_t Param = 0; // timers: preset (bits 0-19) and counter index (20-30); ifgoto: record to go on with
};

// 120 pattern bits of a state machine.
struct Bits128 {
    uint64_t Lo = 0;
    uint64_t Hi = 0;
};

// A pattern with don't-care positions: matches x when (x & Care) == Value.
struct MachineMatch {
    Bits128 Care;
    Bits128 Value;
};

struct MachineRow {
    MachineMatch Match;
    uint8_t Next = 0;
};

struct MachineState {
    uint32_t FirstRow = 0;
    uint32_t RowCount = 0;
    Bits128 Outputs;
};

struct Machine {
    MachineMatch Start;
    MachineMatch Reset;
    uint8_t StartState = 0;
    uint8_t ResetState = 0;
    uint16_t StateCount = 0;
    uint32_t FirstState = 0; // index into States of state 1
};

class TElementCode {
public:
    // Checks and decodes recordCount records that must fill code exactly.
    // False with the reason (Windows-1251 text) when the code cannot be run
    // safely: a record beyond the code or bytes left over, a record whose
    // inputs, outputs or table do not match its size, a timer counter index
    // not below timerCount and 128, a jump that does not land on a record, a
    // state number above the machine's state count.
    bool Decode(const std::vector<uint8_t>& code, int recordCount, int timerCount, AnsiString& error);
    void Clear();

    std::vector<Record> Records;
    std::vector<Operand> Ops;
    std::vector<uint32_t> Tables;
    std::vector<Machine> Machines;
    std::vector<MachineState> States;
    std::vector<MachineRow> Rows;
    // Byte offset of every record in the code, and the code size after them.
    std::vector<uint32_t> Offsets;
};

} // namespace emu
