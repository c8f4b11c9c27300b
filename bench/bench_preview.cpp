// Speed of the print preview on the generated scheme of 10,000 elements and
// 20,000 wires: a repaint of the page that keeps its picture, and a page
// painted afresh (the magnification changed), which draws the scheme, makes
// it two-coloured and reduces it onto the page.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "document/InitModule.h"
#include "editor/ChildWin.h"
#include "editor/qrprint.h"
#include "platform/gui/Dialogs.h"
#include "platform/testing/TestPrinter.h"

#include "GeneratedScheme.h"
#include "GuiBench.h"

namespace {

struct Bench {
    Bench() {
        if (!InitModule) new TInitModule(nullptr, "bench_preview.ini");
        InitModule->MaxWidth = 8100;
        InitModule->MaxHeight = 4100;
        InitModule->AutoSavePeriod = 0;
        Printer()->SetBackend(std::make_unique<TestPrinterBackend>(150, TSize(1240, 1754)));
        frame = new TForm(nullptr);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 1200, 900);
        Application->SetMainForm(frame);
        frame->Show();
        window = static_cast<TMDIChild*>(MakeSchemeWindow(nullptr));
        window->Scheme->LoadFromBytes(benchscheme::SchemeBytes());
        Report1 = NewForm<TReport1>(nullptr);
        Report1->PreviewScheme(window);
        Application->ProcessMessages();
    }
    TMDIChild* window = nullptr;
    TForm* frame = nullptr;
};

Bench& Shared() {
    static Bench* b = new Bench;
    return *b;
}

void BM_PreviewRepaint(benchmark::State& state) {
    Shared();
    for (auto _ : state) Report1->PaintBox1->Repaint();
}
BENCHMARK(BM_PreviewRepaint)->Unit(benchmark::kMillisecond);

void BM_PreviewNewPicture(benchmark::State& state) {
    Shared();
    int k = 0;
    for (auto _ : state) {
        Report1->ComboBox3->SetItemIndex(k ^= 1);
        Report1->ComboBox3Change(Report1->ComboBox3);
    }
}
BENCHMARK(BM_PreviewNewPicture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
