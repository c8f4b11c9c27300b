// Speed of the emulator's scan: generated programs of 50, 500 and about 4,000
// records with every record type (100 timers, 32-row CASE tables, 16-state
// machines), with 0 and 77 forced inputs, and a program at the 64 KB code
// limit. Each iteration is one tick and one scan, as the debugger's timer does.
// Also the signature analysis of a 500-record program with 16 inputs and
// timer value 2 (1.18 M scans) against the same number of bare scans, and the
// CASE check of that program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <unistd.h>

#include "debugger/SignatureAnalysis.h"
#include "debugger/Vac.h"
#include "platform/FileIO.h"
#include "tests/debugger/DebugFileBuilder.h"

namespace {

// Stands in for the debugger window: a few inputs change every scan.
class BenchHost : public IEmulatorHost {
public:
    void ReadInputs(TVAC& vac) override {
        ++n;
        for (int k = 0; k < 8; ++k) vac.SetBit(int((n * 131 + unsigned(k) * 977) % 2048), k, int((n >> k) & 1));
    }
    void ShowOutputs(TVAC& vac) override { sink += unsigned(vac.GetBit(3000, 1)); }
    bool InputChecked(int row) override { return ((unsigned(row) + n) & 1) != 0; }
    bool IsDebuggerVisible() override { return false; }
    void ShowRunCount(int) override {}
    void ShowTickCount(int) override {}
    void Message(const AnsiString&) override {}
    unsigned n = 0, sink = 0;
};

// Writes the program to a temporary file and loads it.
bool LoadProgram(TVAC& vac, const dbgfile::Builder& b) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("bench_emulator_" + std::to_string(::getpid()) + ".dat");
    if (!WriteFileAtomic(FromFsPath(path), b.Build())) return false;
    vac.FileName = FromFsPath(path);
    const int rc = vac.Load();
    std::filesystem::remove(path);
    return rc == kLoadOk;
}

// Forced inputs on bits that elements write: the last output of evenly spread records.
void AddForcedInputs(TVAC& vac, int count) {
    const int records = vac.RecordCount();
    for (int i = 0; i < count; ++i) {
        int r = int(int64_t(i) * records / count);
        while (r < records && (vac.Code()[std::size_t(vac.RecordOffset(r))] == 16)) ++r; // a jump has no outputs
        if (r >= records) r = 0;
        const std::size_t last = std::size_t(vac.RecordOffset(r) + vac.RecordSize(r) - 2);
        const int op = vac.Code()[last] | vac.Code()[last + 1] << 8;
        vac.AddForcedInput(op & 0xFFF, (op >> 12) & 7, i);
    }
}

void RunScans(benchmark::State& state, const dbgfile::Builder& b, int forced) {
    BenchHost host;
    TVAC vac(&host);
    if (!LoadProgram(vac, b)) {
        state.SkipWithError("the generated program did not load");
        return;
    }
    std::mt19937 rng(7);
    for (int a = 0; a < 4096; ++a)
        for (int bit = 0; bit < 8; ++bit) vac.SetBit(a, bit, int(rng() & 1));
    AddForcedInputs(vac, forced);
    for (auto _ : state) {
        vac.Tick();
        vac.Run();
    }
    benchmark::DoNotOptimize(host.sink);
    state.SetItemsProcessed(int64_t(state.iterations()) * vac.RecordCount());
    state.counters["records"] = vac.RecordCount();
    state.counters["code_bytes"] = vac.Header().CodeSize;
    state.counters["scans/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Scan(benchmark::State& state) {
    dbgfile::Builder b;
    dbgfile::GenerateProgram(b, int(state.range(0)), 1);
    RunScans(state, b, int(state.range(1)));
}
BENCHMARK(BM_Scan)->ArgsProduct({{50, 500, 4000}, {0, 77}})->ArgNames({"records", "forced"});

void BM_ScanAtCodeLimit(benchmark::State& state) {
    dbgfile::Builder b;
    dbgfile::GenerateProgram(b, 100000, 2, 65535);
    RunScans(state, b, int(state.range(0)));
}
BENCHMARK(BM_ScanAtCodeLimit)->Arg(0)->Arg(77)->ArgName("forced");

void BM_LoadAtCodeLimit(benchmark::State& state) {
    dbgfile::Builder b;
    dbgfile::GenerateProgram(b, 100000, 2, 65535);
    for (int i = 0; i < 500; ++i) b.AddName(dbgfile::Op(2048 + i, i % 8), AnsiString("signal_") + IntToStr(i), "comment");
    const std::string bytes = b.Build();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("bench_emulator_load_" + std::to_string(::getpid()) + ".dat");
    WriteFileAtomic(FromFsPath(path), bytes);
    TVAC vac;
    vac.FileName = FromFsPath(path);
    for (auto _ : state)
        if (vac.Load() != kLoadOk) state.SkipWithError("load failed");
    std::filesystem::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadAtCodeLimit);

// A generated program of 500 records whose first 16 records are ORs of the
// named inputs I0..I15 (an input driver's two bytes), with a name on every
// output bit that no record reads, so that exactly 16 inputs are analysed.
bool LoadAnalysedProgram(TVAC& vac) {
    dbgfile::Builder b;
    b.Inputs.push_back({1, 0, 2});
    for (int k = 0; k < 16; ++k) b.Or({dbgfile::Op(k / 8, k % 8)}, {dbgfile::Op(2048 + k / 8, k % 8)});
    dbgfile::Builder rest;
    dbgfile::GenerateProgram(rest, 484, 3);
    // Take the generated records over word by word (the builder keeps them
    // as a program of its own): load it once to learn its operands.
    TVAC probe;
    if (!LoadProgram(probe, rest)) return false;
    const std::vector<uint8_t>& code = probe.Code();
    std::vector<uint16_t> words;
    for (std::size_t i = 0; i + 1 < code.size(); i += 2) words.push_back(uint16_t(code[i] | code[i + 1] << 8));
    b.RawWords(words, probe.RecordCount());
    b.Timers = rest.Timers;
    std::vector<bool> read(4096 * 8, false);
    const emu::TElementCode& program = probe.Program();
    for (const emu::Record& r : program.Records)
        for (int j = 0; j < r.InCount; ++j) read[program.Ops[r.In + j].Addr * 8u + program.Ops[r.In + j].Bit] = true;
    for (int k = 0; k < 16; ++k) b.AddName(dbgfile::Op(k / 8, k % 8), AnsiString("I") + IntToStr(k));
    int named = 0;
    std::vector<bool> taken(4096 * 8, false);
    for (const emu::Record& r : program.Records)
        for (int j = 0; j < r.OutCount; ++j) {
            const emu::Operand& o = program.Ops[r.Out + j];
            const std::size_t at = o.Addr * 8u + o.Bit;
            if (read[at] || taken[at] || o.Addr < 2) continue;
            taken[at] = true;
            b.AddName(dbgfile::Op(o.Addr, o.Bit), AnsiString("Q") + IntToStr(named++));
        }
    return LoadProgram(vac, b);
}

// The whole analysis, run in slices as the window runs it; "slice_ms" is the
// longest slice of about 2 ms of work each.
void BM_Analysis(benchmark::State& state) {
    TVAC vac;
    if (!LoadAnalysedProgram(vac)) {
        state.SkipWithError("the program did not load");
        return;
    }
    TSignalLists lists;
    double longest = 0;
    uint64_t scans = 0;
    for (auto _ : state) {
        lists.BuildSignalLists(vac);
        vac.AnalysisTimerValue = 2;
        TSignatureAnalysis a(lists);
        a.Begin(vac);
        scans = a.Estimate();
        bool done = false;
        while (!done) {
            const auto t0 = std::chrono::steady_clock::now();
            done = a.Step(4000);
            longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        benchmark::DoNotOptimize(a.Constants().Count());
    }
    state.counters["inputs"] = double(lists.InputRecords.size());
    state.counters["outputs"] = double(lists.OutputRecords.size());
    state.counters["scans"] = double(scans);
    state.counters["slice_ms"] = longest;
}
BENCHMARK(BM_Analysis)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same number of scans and ticks without the analysis around them.
void BM_AnalysisRawScans(benchmark::State& state) {
    TVAC vac;
    if (!LoadAnalysedProgram(vac)) {
        state.SkipWithError("the program did not load");
        return;
    }
    const uint64_t scans = 2 + 6 * ((uint64_t(1) << 16) - 1) * 3;
    vac.SuppressDisplay = true;
    for (auto _ : state) {
        for (uint64_t i = 0; i < scans; ++i) {
            vac.SetBit(0, int(i & 7), int(i >> 3) & 1);
            vac.Run();
            if (i % 3 == 2) vac.Tick();
        }
    }
    state.counters["scans"] = double(scans);
}
BENCHMARK(BM_AnalysisRawScans)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CaseCheck(benchmark::State& state) {
    TVAC vac;
    if (!LoadAnalysedProgram(vac)) {
        state.SkipWithError("the program did not load");
        return;
    }
    TSignalLists lists;
    lists.BuildSignalLists(vac);
    std::vector<int32_t> words;
    for (auto _ : state) CompareOutputs(vac, lists, words);
    benchmark::DoNotOptimize(words.data());
}
BENCHMARK(BM_CaseCheck)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
