// Speed of the debugger windows on the offscreen platform: one event of the
// debugger's 50 ms timer with 60 rows (30 forced internal inputs, 30 outputs)
// and 700 signal comments (about 350 shown), when nothing changes, when one
// input's 23 comments come or go, and when all 30 inputs flip 700 comments;
// the signature analysis of a 500-record program with 16 inputs run in
// slices, with the longest time the event loop waited ("slice_ms"); one event
// of the timing diagram's timer with the same 60 rows, a formula on every
// input and 8 ticks per event, and a trace that starts again at its end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <unistd.h>

#include "controls/gui/ExCheckListBox.h"
#include "debugger/Vac.h"
#include "debugger/ui/Debuginf.h"
#include "debugger/ui/For.h"
#include "debugger/ui/Formuls.h"
#include "debugger/ui/InGraph.h"
#include "debugger/ui/MT.h"
#include "debugger/ui/OutGraph.h"
#include "debugger/ui/Sharefun.h"
#include "debugger/ui/TimerUn.h"
#include "platform/FileIO.h"
#include "platform/testing/TestUiPort.h"
#include "tests/debugger/DebugFileBuilder.h"
#include "GuiBench.h"

namespace {

using dbgfile::Op;

// The program's files in a private folder, removed at the end.
struct Files {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench_debugger_" + std::to_string(::getpid()));
    Files() { std::filesystem::create_directories(dir); }
    ~Files() { std::filesystem::remove_all(dir); }
    AnsiString Data() const { return FromFsPath(dir / "tvca.dat"); }
    AnsiString Copy() const { return FromFsPath(dir / "Debutvca.dat"); }
    bool Write(const dbgfile::Builder& b) const {
        return WriteFileAtomic(Data(), "data") && WriteFileAtomic(Copy(), b.Build());
    }
};

// The debugger's windows as the program makes them.
struct Windows {
    TestUiPort port;
    Windows() {
        fmRun = new TfmRun(nullptr);
        fmRun->DoCreate();
        fmDebug = new TfmDebug(nullptr);
        fmDebug->DoCreate();
        fmFormuls = new TfmFormuls(nullptr);
        fmFormuls->DoCreate();
        fmMTValue = new TfmMTValue(nullptr);
        fmMTValue->DoCreate();
        TimersForm = new TTimersForm(nullptr);
        TimersForm->DoCreate();
    }
    ~Windows() {
        Free(TimersForm);
        Free(fmMTValue);
        Free(fmFormuls);
        Free(fmDebug);
        Free(fmRun);
        Application->ProcessMessages();
    }
};

uint16_t Internal(int k) { return Op(3072 + k / 8, k % 8); }

// Inputs I0..I29, outputs Qk = Ik, and 700 commented signals Ck = I(k mod 30).
dbgfile::Builder RowsProgram() {
    dbgfile::Builder b;
    for (int k = 0; k < 30; ++k) {
        b.Or({Internal(k)}, {Internal(40 + k)});
        b.AddName(Internal(k), AnsiString("I") + IntToStr(k));
        b.AddName(Internal(40 + k), AnsiString("Q") + IntToStr(k));
    }
    for (int k = 0; k < 700; ++k) {
        b.Or({Internal(k % 30)}, {Internal(80 + k)});
        b.AddName(Internal(80 + k), AnsiString("C") + IntToStr(k), "Комментарий к сигналу "_a + IntToStr(k));
    }
    return b;
}

void BM_TimerEvent(benchmark::State& state) {
    Files files;
    Windows windows;
    if (!files.Write(RowsProgram())) {
        state.SkipWithError("the program was not written");
        return;
    }
    OpenDebugData(files.Data(), files.Copy(), true);
    for (int k = 0; k < 30; ++k) {
        AddSignalToDebug(AnsiString("I") + IntToStr(k), 0);
        AddSignalToDebug(AnsiString("Q") + IntToStr(k), 1);
    }
    ShowDebugWindow(nullptr);
    // Half the inputs on: about 350 comments shown when nothing changes.
    for (int row = 0; row < 15; ++row) fmDebug->in_signal->SetChecked(row, true);
    fmDebug->TimerTimer(fmDebug->Timer);
    Application->ProcessMessages();
    const int changes = int(state.range(0));
    unsigned n = 0;
    for (auto _ : state) {
        for (int k = 0; k < changes; ++k) {
            const int row = int((n + unsigned(k)) % 30);
            fmDebug->in_signal->SetChecked(row, !fmDebug->in_signal->GetChecked(row));
        }
        ++n;
        fmDebug->TimerTimer(fmDebug->Timer);
    }
    state.counters["rows"] = fmDebug->in_signal->Items()->Count() + fmDebug->out_signal->Items()->Count();
    state.counters["comments"] = fmDebug->CommentList()->Count();
    state.counters["shown"] = fmDebug->CommentOut->Lines()->Count();
}
BENCHMARK(BM_TimerEvent)->Arg(0)->Arg(1)->Arg(30)->ArgName("inputs_changed")->Unit(benchmark::kMicrosecond);

// The timing diagram over the 30 inputs and 30 outputs of RowsProgram, every
// input driven by a formula, at the rate of a 10,000 ms interval (200: 8
// ticks and formula steps per event).
bool OpenTimingDiagram(const Files& files) {
    if (!files.Write(RowsProgram())) return false;
    OpenDebugData(files.Data(), files.Copy(), true);
    for (int k = 0; k < 30; ++k) {
        AddSignalToDebug(AnsiString("I") + IntToStr(k), 0);
        AddSignalToDebug(AnsiString("Q") + IntToStr(k), 1);
    }
    ShowTimingDebugWindow(nullptr);
    TimersForm->RebuildRows();
    fmDebug->MinInterval = 10000;
    TimersForm->FormShow(TimersForm);
    TFormulaSet& set = TimersForm->Formulas();
    // Steps of 1 to 3 ticks: most events flip several inputs.
    for (int k = 0; k < 30; ++k)
        set.Set(set.Append(), AnsiString("I") + IntToStr(k), k, IntToStr(1 + k % 3) + "H" + IntToStr(1 + k % 2) + "L",
                TimersForm->FormulaSink());
    Application->ProcessMessages();
    return TimersForm->InCount == 30 && TimersForm->OutCount == 30 && TimersForm->Rate == 200;
}

void BM_TimingEvent(benchmark::State& state) {
    Files files;
    Windows windows;
    if (!OpenTimingDiagram(files)) {
        state.SkipWithError("the timing diagram did not open with its rows");
        return;
    }
    const int ticks = Emulator()->TickCount;
    // With painted set, the event loop also shows the 60 changed rows.
    const bool painted = state.range(0) != 0;
    for (auto _ : state) {
        TimersForm->Timer1Timer(TimersForm->Timer1);
        if (painted) Application->ProcessMessages();
    }
    state.counters["rows"] = TimersForm->InCount + TimersForm->OutCount;
    state.counters["formulas"] = TimersForm->Formulas().Count();
    state.counters["ticks_per_event"] = double(Emulator()->TickCount - ticks) / double(state.iterations());
}
BENCHMARK(BM_TimingEvent)->Arg(0)->Arg(1)->ArgName("painted")->Unit(benchmark::kMicrosecond);

void BM_TraceRestart(benchmark::State& state) {
    Files files;
    Windows windows;
    if (!OpenTimingDiagram(files)) {
        state.SkipWithError("the timing diagram did not open with its rows");
        return;
    }
    TTraceRow* row = state.range(0) ? static_cast<TTraceRow*>(TimersForm->OutRows[0]) : TimersForm->InRows[0];
    for (auto _ : state) {
        row->X = TTraceRow::kLastX + 1;
        row->DrawStep();
    }
}
BENCHMARK(BM_TraceRestart)->Arg(0)->Arg(1)->ArgName("output")->Unit(benchmark::kMicrosecond);

// 16 named inputs ORed each into an output, 484 generated records and, last,
// a timer whose unnamed stop makes 2 the number of extra passes.
dbgfile::Builder AnalysedProgram() {
    dbgfile::Builder b;
    for (int k = 0; k < 16; ++k) {
        b.Or({Internal(k)}, {Internal(40 + k)});
        b.AddName(Internal(k), AnsiString("I") + IntToStr(k));
        b.AddName(Internal(40 + k), AnsiString("Q") + IntToStr(k));
    }
    dbgfile::Builder rest;
    dbgfile::GenerateProgram(rest, 483, 5);
    b.Append(rest);
    b.Timers = rest.Timers;
    b.Timer(Internal(100), Internal(101), 2, 0, {Internal(102)});
    return b;
}

void BM_AnalysisSlices(benchmark::State& state) {
    Files files;
    Windows windows;
    if (!files.Write(AnalysedProgram())) {
        state.SkipWithError("the program was not written");
        return;
    }
    OpenDebugData(files.Data(), files.Copy(), true);
    // The longest wait of the event loop while the analysis runs.
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    for (auto _ : state) {
        clock.start();
        last = 0;
        probe.start();
        RunSignatureAnalysis(files.Data(), files.Copy());
        probe.stop();
    }
    state.counters["slice_ms"] = double(longest);
    state.counters["scans"] = Emulator()->RunCount;
    state.counters["records"] = Emulator()->RecordCount();
    state.counters["finished"] = fmRun->Caption() == TfmRun::DoneCaption() ? 1 : 0;
}
BENCHMARK(BM_AnalysisSlices)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv, [] { DestroyApplication(); });
}
