// Speed of the emulator's scan: generated programs of 50, 500 and about 4,000
// records with every record type (100 timers, 32-row CASE tables, 16-state
// machines), with 0 and 77 forced inputs, and a program at the 64 KB code
// limit. Each iteration is one tick and one scan, as the debugger's timer does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <unistd.h>

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

} // namespace

BENCHMARK_MAIN();
