#pragma once
// Shared pieces of the emulator tests: a host that records what the emulator
// tells it, a signal table, and a fixture that writes a built file and loads it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugFileBuilder.h"
#include "common/TestEnv.h"
#include "debugger/Vac.h"
#include "platform/FileIO.h"

namespace emutest {

class RecordingHost : public IEmulatorHost {
public:
    std::vector<std::string> Events; // "read", "show", "runs N", "ticks N", "msg TEXT"
    std::vector<bool> Rows;          // check marks of the input rows
    bool Visible = false;
    int Asked = 0; // InputChecked calls
    std::vector<AnsiString> Messages;

    void ReadInputs(TVAC&) override { Events.push_back("read"); }
    void ShowOutputs(TVAC&) override { Events.push_back("show"); }
    bool InputChecked(int row) override {
        ++Asked;
        return row >= 0 && row < int(Rows.size()) && Rows[std::size_t(row)];
    }
    bool IsDebuggerVisible() override { return Visible; }
    void ShowRunCount(int runs) override { Events.push_back("runs " + std::to_string(runs)); }
    void ShowTickCount(int ticks) override { Events.push_back("ticks " + std::to_string(ticks)); }
    void Message(const AnsiString& text) override {
        Messages.push_back(text);
        Events.push_back("msg");
    }
};

class FakeDriverTable : public IDriverTable {
public:
    struct Type {
        int UserNumber;
    };
    std::vector<Type> Types;
    std::vector<TDriverTableEntry> Drivers;
    int GetDriverCount() const override { return int(Drivers.size()); }
    TDriverTableEntry GetDriver(int index) const override { return Drivers.at(std::size_t(index)); }
    int GetDriverType(int n) const override {
        return n >= 0 && n < int(Types.size()) ? Types[std::size_t(n)].UserNumber : kNoUserType;
    }
};

// The raw bit an operand word names (inversion not applied).
inline int Raw(const TVAC& vac, uint16_t op) { return vac.GetBit(op & 0xFFF, (op >> 12) & 7) ? 1 : 0; }
inline void SetRaw(TVAC& vac, uint16_t op, int v) { vac.SetBit(op & 0xFFF, (op >> 12) & 7, v); }
// The value of bits, first bit least significant.
inline int RawValue(const TVAC& vac, const std::vector<uint16_t>& ops) {
    int v = 0;
    for (std::size_t j = 0; j < ops.size(); ++j) v |= Raw(vac, ops[j]) << j;
    return v;
}
inline void SetValue(TVAC& vac, const std::vector<uint16_t>& ops, int v) {
    for (std::size_t j = 0; j < ops.size(); ++j) SetRaw(vac, ops[j], (v >> j) & 1);
}

class EmulatorTest : public ::testing::Test {
protected:
    testenv::TempDir dir;
    RecordingHost host;
    TVAC vac{&host};

    // Writes the file under name and loads it.
    int Load(const dbgfile::Builder& b, const AnsiString& name = "Debutvca.dat") { return LoadBytes(b.Build(), name); }
    int LoadBytes(const std::string& bytes, const AnsiString& name = "Debutvca.dat") {
        testenv::WriteBytes(ToFsPath(dir.File(name)), bytes);
        vac.FileName = dir.File(name);
        return vac.Load();
    }
    void LoadOk(const dbgfile::Builder& b) {
        ASSERT_EQ(Load(b), kLoadOk) << (host.Messages.empty() ? std::string() : AnsiToUtf8(host.Messages.back()));
    }
};

} // namespace emutest
