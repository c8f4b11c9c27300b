#pragma once
// Shared pieces of the translation-library tests: hand-written work files in a
// temporary folder, written exactly as the translator writes them, a call of
// the library, and the data file taken apart again.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Printers.h"
#include "common/TestEnv.h"
#include "debugger/DebugDataFile.h"
#include "platform/AnsiString.h"
#include "platform/FileIO.h"
#include "translate/TranslateApi.h"

class TVAC;
struct SignalsStr;

namespace trtest {

// An operand word: byte, bit, inversion.
inline uint16_t Op(int addr, int bit, bool inv = false) {
    return uint16_t((addr & 0x0FFF) | (bit & 7) << 12 | (inv ? 0x8000 : 0));
}
inline uint16_t Inv(uint16_t op) { return uint16_t(op ^ 0x8000); }

// The standard layout of the tests: input driver DI (16 bits, bytes 0-1) with
// I0-I15, output driver DO (16 bits, bytes 2-3) with Q0-Q15, then the
// connectors N1-N8 (internal bits 2-9, after the two null pins).
inline uint16_t I(int k) { return Op(k / 8, k % 8); }
inline uint16_t Q(int k) { return Op(2 + k / 8, k % 8); }
inline uint16_t N(int k) { return Op(3072 + (k + 1) / 8, (k + 1) % 8); }
inline const uint16_t kNullIn = Op(3072, 0);
inline const uint16_t kNullOut = Op(3072, 1);

// A pin line as elements write it: the net padded to 15 characters.
inline AnsiString Pin(const AnsiString& net, bool output = false, bool inverseWord = false) {
    AnsiString line = "%" + net;
    if (net.Length() < 15) line += AnsiString::StringOfChar(' ', 15 - net.Length());
    line += output ? " out " : " in ";
    if (inverseWord) line += "inverse";
    return line;
}
inline AnsiString Out(const AnsiString& net, bool inverseWord = false) { return Pin(net, true, inverseWord); }
inline AnsiString In(const AnsiString& net, bool inverseWord = false) { return Pin(net, false, inverseWord); }
// A driver pin's signals line: the name padded to 15 characters, the driver and the bit.
inline AnsiString DriverPin(const AnsiString& name, const AnsiString& driver, int bit) {
    AnsiString line = name;
    if (name.Length() < 15) line += AnsiString::StringOfChar(' ', 15 - name.Length());
    return line + " " + driver + " " + IntToStr(bit);
}

// A connector's signals line: its name padded to 15 characters.
inline AnsiString Connector(const AnsiString& name) {
    return name.Length() < 15 ? name + AnsiString::StringOfChar(' ', 15 - name.Length()) : name;
}

// The five work files as lists of lines.
struct Work {
    std::vector<AnsiString> Types, Drivers, Signals, Comments, Elements;

    // The standard layout, with no elements.
    static Work Standard();
    // Appends a block and the empty line the translator adds after it.
    void Block(const std::vector<AnsiString>& lines);
};

// A record taken apart by the record-size rule: its 16-bit words (a state
// machine's bytes are given as bytes).
struct Record {
    std::vector<uint16_t> Words;
    std::string Bytes;
};

class TranslateTest : public ::testing::Test {
protected:
    testenv::TempDir dir;
    Work work = Work::Standard();

    AnsiString Path(const char* name) const { return dir.File(name); }
    AnsiString DataPath() const { return Path("Debutvca.dat"); }
    AnsiString LogPath() const { return Path("err.log"); }
    // Writes the five work files (Windows-1251, CR LF).
    void WriteWork() const;
    // Writes the work files and runs the library for the data file.
    int Generate(int32_t copyFlag = 0, uint16_t iterations = 1, const AnsiString& data = AnsiString());
    std::string DataBytes() const { return testenv::ReadBytes(ToFsPath(DataPath())); }
    bool DataExists() const { return std::filesystem::exists(ToFsPath(DataPath())); }
    // The lines the library appended to the log.
    std::vector<AnsiString> Log() const;
    DebugDataFile Parsed() const;
    std::vector<Record> Records() const;
};

void WriteLines(const AnsiString& path, const std::vector<AnsiString>& lines);

// ---- the two-scheme project ---------------------------------------------------------------
// Input driver DI (type DIN, user number 1) with A = bit 0 and B = bit 1,
// output driver DO (type DOUT, 2) with Y = bit 0 and Z = bit 1, both of 8
// bits; scheme s1: AND1 = A and B -> Y, and TIMER1, 1,000 ms started by A ->
// connector X; scheme s2: OR1 = X or B -> Z. These are the five work files the
// translator writes for it, every signal with its comment.
Work TwoSchemeWork();
// The loaded debugging copy of that project runs as drawn: A = B = 1 gives
// Y = X = Z = 1 after one scan; with B = 0, Y goes off and X (with Z) stays on
// through 19 ticks of 50 ms and goes off on the 20th.
void CheckTwoSchemeRun(TVAC& vac);
// The same through vacrun on the debugging copy (it runs in dir).
void CheckTwoSchemeVacrun(const testenv::TempDir& dir, const AnsiString& dataFile);
// The signal record of a name of the loaded program, or null.
const SignalsStr* FindSignal(const TVAC& vac, const char* name);
// The bit of a named signal of the loaded program (-1 when it has no such name).
int SignalBit(const TVAC& vac, const char* name);
void SetSignal(TVAC& vac, const char* name, int value);
// The records of a code block by the record-size rule.
std::vector<Record> SplitRecords(const std::vector<uint8_t>& code, int count);
// Printable form of word lists for failure messages.
std::string Hex(const std::vector<uint16_t>& words);

} // namespace trtest
