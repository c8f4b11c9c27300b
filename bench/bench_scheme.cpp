// Speed of the scheme document on a generated scheme of 10,000 elements and
// 20,000 wires: loading and saving its file bytes, rebuilding its nets, a
// full repaint at 100 %, the netlist translation (net names, processing
// order, every element's text), and undoing the deletion of 1,000 elements.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cstdlib>

#include "platform/Canvas.h"
#include "platform/StringList.h"

#include "GeneratedScheme.h"
#include "GuiBench.h"

namespace {

using benchscheme::kColumns;
using benchscheme::kPitchX;
using benchscheme::kPitchY;
using benchscheme::kRows;
using benchscheme::SchemeBytes;

class Window : public IEntityOwner {
public:
    Window() : image(kColumns * kPitchX + 40, kRows * kPitchY + 40, QImage::Format_RGB32), canvas(&image) {
        image.fill(0);
    }
    TCanvas* GetCanvas() override { return &canvas; }
    QImage image;
    TCanvas canvas;
};

void BM_Load(benchmark::State& state) {
    const std::string& bytes = SchemeBytes();
    for (auto _ : state) {
        TScheme s;
        s.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(s.Objects().size());
    }
    state.counters["objects"] = 30000;
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Every edit rebuilds the nets of the whole scheme from its drawing.
void BM_RebuildNets(benchmark::State& state) {
    TScheme s;
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        s.RebuildNets();
        benchmark::DoNotOptimize(s.Nets().size());
    }
}
BENCHMARK(BM_RebuildNets)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    TScheme s;
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        std::string bytes = s.SaveToBytes();
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_DrawAll100(benchmark::State& state) {
    Window window;
    TScheme s(&window);
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        window.image.fill(0);
        s.Draw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawAll100)->Unit(benchmark::kMillisecond);

void BM_Translate(benchmark::State& state) {
    TScheme s;
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        TStringList signalLines, elements;
        int counter = s.BuildNetNames(&signalLines, 0);
        for (TElement* e = s.NextByNumber(true); e; e = s.NextByNumber(false)) {
            e->Translate(&elements);
            elements.Add("");
        }
        benchmark::DoNotOptimize(counter);
        benchmark::DoNotOptimize(elements.Count());
    }
}
BENCHMARK(BM_Translate)->Unit(benchmark::kMillisecond);

void SelectFirstDevices(TScheme& s, int count) {
    s.ClearSelection();
    int n = 0;
    for (TElement* e = s.FirstDevice(); e && n < count; e = s.NextDevice(), ++n)
        s.AddToSelection(e, true);
}

void BM_UndoDelete1000(benchmark::State& state) {
    TScheme s;
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        state.PauseTiming();
        SelectFirstDevices(s, 1000);
        s.DeleteSelected();
        state.ResumeTiming();
        s.UndoList()->Undo();
    }
}
BENCHMARK(BM_UndoDelete1000)->Unit(benchmark::kMillisecond);

void BM_Delete1000(benchmark::State& state) {
    TScheme s;
    s.LoadFromBytes(SchemeBytes());
    for (auto _ : state) {
        state.PauseTiming();
        SelectFirstDevices(s, 1000);
        state.ResumeTiming();
        s.DeleteSelected();
        state.PauseTiming();
        s.UndoList()->Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete1000)->Unit(benchmark::kMillisecond);

} // namespace

// Text needs the font database of a GUI application (offscreen without a display).
int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
