#pragma once
// The debugger windows made as the program makes them (analyser first), and a
// program to debug written into a temporary folder: the data file that says a
// translation ran, and its debugging copy.

#include <string>
#include <vector>

#include "platform/gui/GuiTest.h"

#include "common/TestEnv.h"
#include "controls/gui/EXSpin.h"
#include "controls/gui/ExCheckListBox.h"
#include "debugger/DebugFileBuilder.h"
#include "debugger/Vac.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/InpOutp.h"
#include "debugger/ui/Sharefun.h"
#include "platform/FileIO.h"

namespace dbgui {

using dbgfile::Builder;
using dbgfile::Op;
using Strings = std::vector<std::string>;

// The test program: input driver DI at byte 0 with A (bit 0, "Кнопка A") and
// B (bit 1), output driver DO at byte 1 with Y (bit 0, "Лампа Y") and Z (bit
// 1, "Лампа Z"); the internal signal X (byte 3072 bit 2, "Связь"). Y = A and
// B; X = B; Z = X. A timer started by A drives T (byte 3072 bit 3) for 3 ticks.
inline const uint16_t A = Op(0, 0), B = Op(0, 1), Y = Op(1, 0), Z = Op(1, 1), X = Op(3072, 2), T = Op(3072, 3);

inline Builder Program() {
    Builder b;
    b.Inputs.push_back({1, 0, 1});
    b.Outputs.push_back({2, 1, 1});
    b.Timers = 1;
    b.And({A, B}, {Y});
    b.Or({B}, {X});
    b.Or({X}, {Z});
    b.Timer(A, Op(3072, 0), 3, 0, {T});
    const struct {
        uint16_t op;
        const char *name, *comment;
    } names[] = {{Op(3072, 0), "_null_in_", ""}, {Op(3072, 1), "_null_out_", ""}, {A, "A", "Кнопка A"}, {B, "B", ""},
                 {Y, "Y", "Лампа Y"}, {Z, "Z", "Лампа Z"}, {X, "X", "Связь"}, {T, "T", ""}};
    for (const auto& n : names) b.AddName(n.op, n.name, Utf8ToAnsi(n.comment));
    return b;
}

// The texts of a list's rows.
inline std::vector<std::string> Rows(TStrings* items) {
    std::vector<std::string> out;
    for (int i = 0; i < items->Count(); ++i) out.push_back(AnsiToUtf8(items->Get(i)));
    return out;
}

class DebuggerTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        fmRun = MakeForm<TfmRun>();
        fmDebug = MakeForm<TfmDebug>();
        fmIO = MakeForm<TfmIO>();
    }
    void TearDown() override {
        GuiTest::TearDown();
        DebuggerHooks() = TDebuggerHooks();
    }

    AnsiString DataFile() const { return dir.File("tvca.dat"); }
    AnsiString CopyFile() const { return dir.File("Debutvca.dat"); }
    // Writes the data file and its debugging copy.
    void Write(const Builder& b) {
        testenv::WriteBytes(ToFsPath(DataFile()), "data");
        testenv::WriteBytes(ToFsPath(CopyFile()), b.Build());
    }
    void Open(bool force = false) { OpenDebugData(DataFile(), CopyFile(), force); }
    // Writes the program and opens it.
    void Load(const Builder& b = Program()) {
        Write(b);
        Open(true);
        ASSERT_TRUE(fmDebug->Loaded());
    }
    // The signals become wanted rows and the debugger window shows them.
    void Watch(std::initializer_list<const char*> inputs, std::initializer_list<const char*> outputs) {
        for (const char* name : inputs) AddSignalToDebug(name, 0);
        for (const char* name : outputs) AddSignalToDebug(name, 1);
        ShowDebugWindow(nullptr);
    }
    // Row of a signal's name, -1 when none.
    static int RowOf(TExCheckListBox* list, const char* name) { return list->Items()->IndexOf(name); }
    void Tick(const char* input, bool on = true) {
        const int row = RowOf(fmDebug->in_signal, input);
        ASSERT_GE(row, 0) << input;
        fmDebug->in_signal->SetChecked(row, on);
    }
    bool Shows(const char* output) {
        const int row = RowOf(fmDebug->out_signal, output);
        EXPECT_GE(row, 0) << output;
        return row >= 0 && fmDebug->out_signal->GetChecked(row);
    }
    std::vector<std::string> Memo() const { return Rows(fmDebug->CommentOut->Lines()); }
    // The window shown or hidden, its timer, the running flag and the run
    // button offered: "shown timer running halt", "hidden retry".
    static std::string RunState() {
        return std::string(fmDebug->Visible() ? "shown" : "hidden") + (fmDebug->Timer->Enabled() ? " timer" : "") +
               (fmDebug->Running ? " running" : "") + (fmDebug->btHalt->Visible() ? " halt" : "") +
               (fmDebug->btRetry->Visible() ? " retry" : "");
    }

    testenv::TempDir dir;
};

} // namespace dbgui
