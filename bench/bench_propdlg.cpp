// Speed of the property dialogs: opening each dialog (fill and modal show
// until the dialog waits for the user) for an element of the generated
// scheme of 10,000 elements in a scheme window; and the CASE table editor
// with 65,536 rows: its fill from the element, a counter fill of the whole
// range, deleting row 0 and storing the table back.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "document/InitModule.h"
#include "editor/ChildWin.h"
#include "editor/DelayDlg.h"
#include "editor/ElementDlg.h"
#include "editor/PropertyDialogs.h"
#include "editor/SymbolDlg.h"
#include "editor/TriggerDlg.h"
#include "editor/Unit10.h"
#include "editor/Unit5.h"
#include "editor/Unit9.h"
#include "editor/gotoparam.h"

#include "GeneratedScheme.h"
#include "GuiBench.h"

namespace {

struct Bench {
    Bench() {
        if (!InitModule) new TInitModule(nullptr, "bench_propdlg.ini");
        InitModule->MaxWidth = 8100;
        InitModule->MaxHeight = 4100;
        InitModule->AutoSavePeriod = 0;
        frame = new TForm(nullptr);
        frame->SetFormStyle(fsMDIForm);
        frame->SetBounds(0, 0, 1200, 900);
        Application->SetMainForm(frame);
        frame->Show();
        for (auto make : std::initializer_list<std::function<void()>>{
                 [] { Form4 = NewForm<TForm4>(nullptr); }, [] { Form2 = NewForm<TForm2>(nullptr); },
                 [] { Form1 = NewForm<TForm1>(nullptr); }, [] { Form8 = NewForm<TForm8>(nullptr); },
                 [] { Form7 = NewForm<TForm7>(nullptr); }, [] { Form3 = NewForm<TForm3>(nullptr); },
                 [] { Form6 = NewForm<TForm6>(nullptr); }, [] { Form5 = NewForm<TForm5>(nullptr); },
                 [] { Form9 = NewForm<TForm9>(nullptr); }, [] { Form10 = NewForm<TForm10>(nullptr); },
                 [] { Form12 = NewForm<TForm12>(nullptr); }})
            make();
        ModelHooks().Dialogs = &dialogs;
        window = static_cast<TMDIChild*>(MakeSchemeWindow(nullptr));
        window->Scheme->LoadFromBytes(benchscheme::SchemeBytes());
        TScheme* s = window->Scheme.get();
        predTimer = s->CreatePredTimerElement(3);
        caseElement = s->CreateCaseElement(8);
        jump = s->CreateGotoElement();
        driver = s->CreateDriver();
        connector = s->CreateVarDriver();
        big = s->CreateCase16Element(16);
        int number = benchscheme::kRows * benchscheme::kColumns;
        for (TElement* e : std::initializer_list<TElement*>{predTimer, caseElement, jump, big}) e->AssignNumber(++number);
        big->Options.SetCount(TForm10::MaxRows);
        for (int i = 0; i < TForm10::MaxRows; ++i) big->Options.Rows()[std::size_t(i)] = {i, i & 0xFF};
        window->PaintBox1->Repaint();
        Application->ProcessMessages();
        // Every modal showing ends once the dialog waits for the user.
        Application->OnModalStart = [](TForm* f) { QTimer::singleShot(0, [f] { f->ModalResult = mrCancel; }); };
    }
    TElement* Device(int index) {
        int i = 0;
        for (TElement* e = window->Scheme->FirstDevice(); e; e = window->Scheme->NextDevice())
            if (i++ == index) return e;
        return nullptr;
    }
    TPropertyDialogs dialogs;
    TMDIChild* window = nullptr;
    TForm* frame = nullptr;
    TPredTimerElement* predTimer = nullptr;
    TCaseElement* caseElement = nullptr;
    TGotoElement* jump = nullptr;
    TDriver* driver = nullptr;
    TVarDriver* connector = nullptr;
    TCase16Element* big = nullptr;
};

Bench& Shared() {
    static Bench* b = new Bench;
    return *b;
}

void Open(benchmark::State& state, const std::function<TEntity*(Bench&)>& pick) {
    TEntity* e = pick(Shared());
    for (auto _ : state) benchmark::DoNotOptimize(e->Properties());
}

// The generated scheme's kinds repeat every six elements: and, or, xor,
// timer, trigger, D-trigger.
BENCHMARK_CAPTURE(Open, Form4_and, [](Bench& b) -> TEntity* { return b.Device(4998); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form2_xor, [](Bench& b) -> TEntity* { return b.Device(5000); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form7_timer, [](Bench& b) -> TEntity* { return b.Device(5001); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form8_trigger, [](Bench& b) -> TEntity* { return b.Device(5002); })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form1_predtimer, [](Bench& b) -> TEntity* { return b.predTimer; })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form10_case, [](Bench& b) -> TEntity* { return b.caseElement; })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form12_jump, [](Bench& b) -> TEntity* { return b.jump; })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form5_driver, [](Bench& b) -> TEntity* { return b.driver; })->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form9_connector, [](Bench& b) -> TEntity* { return b.connector; })
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, Form6_wire, [](Bench& b) -> TEntity* {
    for (TEntity* o = b.window->Scheme->FirstElement(); o; o = b.window->Scheme->NextElement())
        if (o->IsLink()) return o;
    return nullptr;
})->Unit(benchmark::kMillisecond);

void BM_CaseLoad(benchmark::State& state) {
    Bench& b = Shared();
    for (auto _ : state) Form10->LoadEntity(b.big);
}
BENCHMARK(BM_CaseLoad)->Unit(benchmark::kMillisecond);

void BM_CaseCounterFill(benchmark::State& state) {
    Bench& b = Shared();
    Form10->LoadEntity(b.big);
    for (auto _ : state) {
        Form10->sbCou->Click();
        Form10->ExIn->SetValue(0);
        Form10->ExOut->SetValue(65535);
        Form10->exStep->SetValue(1);
        Form10->sbCou->Click();
    }
    if (Form10->Rows.size() != std::size_t(TForm10::MaxRows)) state.SkipWithError("the fill made another table");
}
BENCHMARK(BM_CaseCounterFill)->Unit(benchmark::kMillisecond);

void BM_CaseDeleteRow0(benchmark::State& state) {
    Bench& b = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        Form10->LoadEntity(b.big);
        Form10->Tabl->SetRow(0);
        state.ResumeTiming();
        Form10->Button7->Click();
    }
}
BENCHMARK(BM_CaseDeleteRow0)->Unit(benchmark::kMillisecond);

void BM_CaseStore(benchmark::State& state) {
    Bench& b = Shared();
    Form10->LoadEntity(b.big);
    for (auto _ : state) Form10->StoreEntity(b.big);
}
BENCHMARK(BM_CaseStore)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
