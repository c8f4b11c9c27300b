// Signal-table file speed: loading and saving a table filled to every
// capacity (20 driver types, 200 drivers, 2,000 bits, 2,000 variable
// signals), the largest file the signal-table editor can produce.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "document/DriversInfo.h"
#include "platform/AnsiString.h"

namespace {

// The full table: a file the signal-table editor wrote with every capacity used.
const char* const kFullTable = GE_REGRESSIONS_DIR "/drivers/slow-save-full-capacity-table.btb";

void Fill(TDriversInfo& t) {
    if (!t.LoadFromFile(kFullTable) || t.GetBitCount() != 2000) std::abort();
}

AnsiString Scratch() {
    static const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ge-bench-signal-table";
    std::filesystem::create_directories(dir);
    return (dir / "full.btb").string().c_str();
}

void BM_SaveFullSignalTable(benchmark::State& state) {
    TDriversInfo table;
    Fill(table);
    const AnsiString path = Scratch();
    for (auto _ : state)
        if (!table.SaveToFile(path)) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveFullSignalTable)->Unit(benchmark::kMillisecond);

void BM_LoadFullSignalTable(benchmark::State& state) {
    TDriversInfo table;
    Fill(table);
    const AnsiString path = Scratch();
    table.SaveToFile(path);
    for (auto _ : state) {
        TDriversInfo loaded;
        if (!loaded.LoadFromFile(path)) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadFullSignalTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
