// Speed of the CASE-forming window's choice of the default output over the
// 65,536 entries of 16 inputs, with outputs that repeat every 5 entries and a
// few that stand out.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "document/InitModule.h"
#include "document/Scheme.h"
#include "editor/Case.h"
#include "GuiBench.h"

namespace {

struct Bench {
    Bench() {
        if (!InitModule) new TInitModule(nullptr, "bench_case.ini");
        InitModule->AutoSavePeriod = 0;
        frame = new TForm(nullptr);
        frame->SetFormStyle(fsMDIForm);
        Application->SetMainForm(frame);
        frame->Show();
        window = NewForm<TfmCase>(nullptr);
        // A 16-bit CASE whose every input is fed by a connector.
        TScheme& s = *window->Scheme;
        TElement* e = s.CreateCase16Element(1);
        e->SetX(300);
        e->SetY(100);
        s.AttachElement(e);
        for (int i = 0; i < 16; ++i) {
            TDriver* d = s.CreateVarDriver();
            d->SetName("I" + IntToStr(i));
            d->SetX(e->GetInput(i)->TipX() - d->Terminal()->OffsetX());
            d->SetY(e->GetInput(i)->TipY() - d->Terminal()->OffsetY());
            s.AttachElement(d);
        }
    }
    TForm* frame = nullptr;
    TfmCase* window = nullptr;
};

void BM_DefaultOutputSixteenInputs(benchmark::State& state) {
    static Bench* b = new Bench;
    if (b->window->CountInputs() != 16) state.SkipWithError("the drawing has not 16 inputs");
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < TfmCase::kEntries; ++i) {
            b->window->CaseInputs[std::size_t(i)] = i;
            b->window->CaseOutputs[std::size_t(i)] = i % 997 == 0 ? i : i % 5;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(b->window->DefaultOutput());
    }
}
BENCHMARK(BM_DefaultOutputSixteenInputs)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
