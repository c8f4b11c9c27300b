// Speed of the scheme window on the generated scheme of 10,000 elements and
// 20,000 wires: a full repaint of the sheet; one step of the mouse with the
// rubber band, the rubber line of a wire, a placed element that follows the
// mouse, and a drag of 2,000 objects; the placing press and release of an
// element and the press that adds a wire segment; the release that ends a
// drag of 2,000 objects, and its undo. The handlers are called as the sheet's
// mouse events call them.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

#include "document/InitModule.h"
#include "editor/ChildWin.h"
#include "editor/InsertElement.h"

#include "GeneratedScheme.h"
#include "GuiBench.h"

namespace {

// One MDI frame with one scheme window that holds the generated scheme.
struct Bench {
    Bench() {
        if (!InitModule) new TInitModule(nullptr, "bench_schemewin.ini");
        InitModule->MaxWidth = 8100;
        InitModule->MaxHeight = 4100;
        InitModule->AutoSavePeriod = 0;
        frame = new TForm(nullptr);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 1200, 900);
        Application->SetMainForm(frame);
        frame->Show();
        InsertElementForm = NewForm<TInsertElementForm>(nullptr);
        window = static_cast<TMDIChild*>(MakeSchemeWindow(nullptr));
        window->Scheme->LoadFromBytes(benchscheme::SchemeBytes());
        window->PaintBox1->Repaint();
        Application->ProcessMessages();
    }
    TMDIChild* window = nullptr;
    TForm* frame = nullptr;
};

Bench& Shared() {
    static Bench* b = new Bench;
    return *b;
}

// Sheet pixels of a scheme point at 100 %.
void Down(TMDIChild* w, int x, int y) { w->PaintBox1MouseDown(w->PaintBox1, mbLeft, 0, x, y); }
void MoveTo(TMDIChild* w, int x, int y) { w->PaintBox1MouseMove(w->PaintBox1, 0, x, y); }
void Up(TMDIChild* w, int x, int y) { w->PaintBox1MouseUp(w->PaintBox1, mbLeft, 0, x, y); }

void BM_Repaint(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    for (auto _ : state) w->PaintBox1->Repaint();
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

// The band from the free corner of the sheet over the scheme and back.
void BM_BandStep(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    w->SetModeSelectActionExecute(nullptr);
    MoveTo(w, 8060, 4060);
    Down(w, 8060, 4060);
    int i = 0;
    for (auto _ : state) {
        ++i;
        MoveTo(w, 4000 + (i % 2) * 10, 2000 + (i % 2) * 10);
    }
    Up(w, 8060, 4060);
}
BENCHMARK(BM_BandStep)->Unit(benchmark::kMillisecond);

void BM_RubberLineStep(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    w->SetModeWireActionExecute(nullptr);
    MoveTo(w, 8060, 4060);
    Down(w, 8060, 4060);
    Up(w, 8060, 4060);
    int i = 0;
    for (auto _ : state) {
        ++i;
        MoveTo(w, 100 + (i % 2) * 10, 100);
    }
    w->EscActionExecute(nullptr);
}
BENCHMARK(BM_RubberLineStep)->Unit(benchmark::kMillisecond);

// An element in placement, following the mouse.
void BM_PlacedObjectStep(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    InsertElementForm->ComboBox1->SetItemIndex(0);
    w->SetMode(mdDevice | PlacingFlag);
    MoveTo(w, 4000, 2000);
    Down(w, 4000, 2000);
    int i = 0;
    for (auto _ : state) {
        ++i;
        MoveTo(w, 4000 + (i % 2) * 10, 2000);
    }
    Up(w, 4000, 2000);
    w->UndoExecute(nullptr);
}
BENCHMARK(BM_PlacedObjectStep)->Unit(benchmark::kMillisecond);

// The first 2,000 objects of the document (about 670 elements and their
// wires) selected, and the press on one of them that starts the drag.
void StartDrag(TMDIChild* w) {
    w->SetModeSelectActionExecute(nullptr);
    TScheme* s = w->Scheme.get();
    s->ClearSelection();
    const auto objects = s->LiveObjects();
    for (std::size_t i = 0; i < 2000 && i < objects.size(); ++i) s->AddToSelection(objects[i], true);
    MoveTo(w, 30, 30);
    Down(w, 30, 30);
}

void BM_DragStep2000(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    StartDrag(w);
    int i = 0;
    for (auto _ : state) {
        ++i;
        MoveTo(w, 30 + (i % 2) * 10, 30);
    }
    MoveTo(w, 30, 30);
    Up(w, 30, 30);
    w->UndoExecute(nullptr);
}
BENCHMARK(BM_DragStep2000)->Unit(benchmark::kMillisecond);

void BM_DragRelease2000(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    for (auto _ : state) {
        state.PauseTiming();
        StartDrag(w);
        MoveTo(w, 40, 50);
        state.ResumeTiming();
        Up(w, 40, 50);
        state.PauseTiming();
        w->UndoExecute(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DragRelease2000)->Unit(benchmark::kMillisecond);

void BM_DragUndo2000(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    for (auto _ : state) {
        state.PauseTiming();
        StartDrag(w);
        MoveTo(w, 40, 50);
        Up(w, 40, 50);
        state.ResumeTiming();
        w->UndoExecute(nullptr);
    }
}
BENCHMARK(BM_DragUndo2000)->Unit(benchmark::kMillisecond);

// An AND element placed among the others: its press creates it, its
// release drops it where its output meets a wire.
void BM_PlacingPress(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    InsertElementForm->ComboBox1->SetItemIndex(0);
    for (auto _ : state) {
        state.PauseTiming();
        w->SetMode(mdDevice | PlacingFlag);
        MoveTo(w, 4000, 2000);
        state.ResumeTiming();
        Down(w, 4000, 2000);
        state.PauseTiming();
        Up(w, 4000, 2000);
        w->UndoExecute(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlacingPress)->Unit(benchmark::kMillisecond);

void BM_PlacingRelease(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    InsertElementForm->ComboBox1->SetItemIndex(0);
    for (auto _ : state) {
        state.PauseTiming();
        w->SetMode(mdDevice | PlacingFlag);
        MoveTo(w, 4000, 2000);
        Down(w, 4000, 2000);
        MoveTo(w, 4030, 2000);
        state.ResumeTiming();
        Up(w, 4030, 2000);
        state.PauseTiming();
        w->UndoExecute(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlacingRelease)->Unit(benchmark::kMillisecond);

// A segment from the end of one element's wire down through the row below.
void BM_WireSegment(benchmark::State& state) {
    TMDIChild* w = Shared().window;
    w->SetModeWireActionExecute(nullptr);
    MoveTo(w, 4010, 2030);
    Down(w, 4010, 2030);
    Up(w, 4010, 2030);
    for (auto _ : state) {
        MoveTo(w, 4010, 2110);
        Down(w, 4010, 2110);
        state.PauseTiming();
        Up(w, 4010, 2110);
        w->EscActionExecute(nullptr);
        w->UndoExecute(nullptr);
        MoveTo(w, 4010, 2030);
        Down(w, 4010, 2030);
        Up(w, 4010, 2030);
        state.ResumeTiming();
    }
    w->EscActionExecute(nullptr);
}
BENCHMARK(BM_WireSegment)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
