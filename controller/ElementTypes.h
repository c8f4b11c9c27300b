#pragma once
// The element record types of a controller program (word 0 of every element
// record) and the netlist keyword that asks for each. The translation library
// (translate/) writes a record of the type of every netlist block's keyword;
// the emulator core (debugger/) runs records by their type; the translator's
// Boolean-logic text and the scheme's table of element kinds (model/) name
// the same types. Record layouts are in docs/file-formats.md.
//
// The controller library (this header and DriverTable.h) lies at the bottom
// of the layers beside platform/: the translation library and the emulator
// core use platform/ only, so the codes they share cannot live in model/ or
// above.

#include <cstdint>
#include <string_view>

enum TElementType : uint8_t {
    etAnd = 0,
    etOr = 1,
    etTrigger = 2,
    etTimer = 3,
    etDelay = 4, // has a keyword but no record: the translation library refuses it
    etDTrigger = 5,
    etCnt = 6,
    etDcd = 7,
    etDrsTrigger = 8,
    etD8Trigger = 9,
    etD8RsCnt = 10,
    etCByte = 11,
    etXor = 12,
    etPredTimer = 13,
    etCDec = 14,
    etRCnt = 15,
    etIfGoto = 16,
    etCDec16 = 17,
    etCMask = 18,
    etCDiap = 19,
    etCommut = 20,
    etMachine = 21,
    etFilter = 22,
};

inline constexpr int kElementTypeCount = 23;

// The keyword of every type, by type. Types below kKeywordTableTypes form the
// translator's element keyword table (a keyword's index is its type); the
// state machine and the filter come after it.
inline constexpr const char* kElementTypeKeywords[kElementTypeCount] = {
    "and",    "or",        "trigger", "timer",  "delay",  "dtrigger", "cnt",   "dcd",
    "drstrigger", "d8trigger", "d8rscnt", "cbyte", "xor", "predtimer", "cdec", "rcnt",
    "ifgoto", "cdec16",    "cMask",   "cDiap",  "commut", "fsm",      "filter"};
inline constexpr int kKeywordTableTypes = etCommut + 1;

// The type of a keyword (exact, case-sensitive); -1 when no type has it.
constexpr int ElementTypeOf(std::string_view keyword) {
    for (int t = 0; t < kElementTypeCount; ++t)
        if (keyword == kElementTypeKeywords[t])
            return t;
    return -1;
}

// What a record reads of an input besides its present value. A record of the
// scan sees an input as the scan has left it so far; it compares it with the
// value the input had at the end of the last complete scan. An edge (0 then,
// 1 now) clocks the D triggers, counts and loads the counters and starts the
// timers; the filter takes the change of its value bits. An input that only
// the same or a later record of the scan writes holds, when the record reads
// it, what it held at the end of the last scan: for that record it never
// changes. The emulator (debugger/Vac.cpp) reads these inputs so.
enum class TPreviousRead : uint8_t {
    None,   // the present value only
    Edge,   // its rising edge
    Change, // the change of the number it is a bit of
};

// The kind of read of the input at that index (from 0, inputs only) of a
// record of the type with that many inputs.
constexpr TPreviousRead PreviousRead(int type, int input, int inputs) {
    switch (type) {
    case etDTrigger: // D, C
        return input == 1 ? TPreviousRead::Edge : TPreviousRead::None;
    case etDrsTrigger: // S, D, C, R
        return input == 2 ? TPreviousRead::Edge : TPreviousRead::None;
    case etCnt:       // C, R
    case etRCnt:      // C, P, Dir
    case etTimer:     // In, Reset
    case etPredTimer: // In, Reset, factors
        return input == 0 ? TPreviousRead::Edge : TPreviousRead::None;
    case etD8Trigger: // D0-D7, C, R
        return input == 8 ? TPreviousRead::Edge : TPreviousRead::None;
    case etD8RsCnt: // D0-D7, L, R, C
        return input == 8 || input == 10 ? TPreviousRead::Edge : TPreviousRead::None;
    case etFilter: // value bits, Hold
        return input >= 0 && input < inputs - 1 ? TPreviousRead::Change : TPreviousRead::None;
    default:
        return TPreviousRead::None;
    }
}
