#pragma once
// The debugging data file that the translation library writes and the
// emulator runs: the 32-byte header, the input and output driver records, the
// element code, a 32-bit word, and an optional section of signal names.
// ReadDebugDataFile takes the file apart with every read bounds-checked; it
// does not judge the element code (TElementCode does that).

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/AnsiString.h"

// The result codes of loading a debugging data file.
enum : int {
    kLoadOk = 0,
    kLoadBadData = 1,  // a part of the file is short, or the names or the code are damaged
    kLoadNoMemory = 2,
    kLoadCannotOpen = 3,
    kLoadNoFile = 7,
};

struct DebugDataHeader {
    static constexpr int kSize = 32;
    uint16_t InputDriverCount = 0;  // offset 0
    uint16_t OutputDriverCount = 0; // offset 2
    uint16_t CodeSize = 0;          // offset 4: bytes of element code
    uint16_t RecordCount = 0;       // offset 6: records one scan executes
    uint16_t TimerCount = 0;        // offset 8: counters a tick decrements
    uint16_t NamesFlag = 0;         // offset 24: non-zero when signal names follow
};

// One driver record (16 bytes in the file; the words not listed are unused).
struct DebugDriverRecord {
    static constexpr int kSize = 16;
    int16_t TypeCode = 0;   // word 0: the user type number of its driver type
    uint16_t FirstByte = 0; // word 3: first byte of its area in the bit image
    uint16_t ByteCount = 0; // word 4: bytes of that area
};

// One record of the signal-name section.
struct SignalNameRecord {
    uint16_t Operand = 0; // bits 0-11 byte address, 12-14 bit, 15 inversion
    AnsiString Name;
    AnsiString Comment;
};

struct DebugDataFile {
    DebugDataHeader Header;
    std::vector<DebugDriverRecord> InputDrivers;
    std::vector<DebugDriverRecord> OutputDrivers;
    std::vector<uint8_t> Code;
    bool HasNames = false;
    std::vector<SignalNameRecord> Names;
};

// Parses a whole file. Returns kLoadOk, or kLoadBadData when the header, a
// driver record, the code or the 32-bit word after it is short, when the name
// section is announced but empty, or when it ends inside an operand word or a
// name. A section that ends after a complete record, inside a comment or
// inside a record's two trailing bytes is complete.
int ReadDebugDataFile(std::string_view bytes, DebugDataFile& out);
