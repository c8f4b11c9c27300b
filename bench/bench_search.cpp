// Speed of the frame's walks over a project's schemes: the signal search of
// 50 schemes of 1,000 elements each, read from their files, and "Искать
// соседние" over 20 such schemes joined in a ring through 5 connectors.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include "app/AutoForms.h"
#include "app/Main.h"
#include "document/InitModule.h"
#include "document/Project.h"
#include "document/Scheme.h"
#include "document/UndoList.h"
#include "editor/FindSign.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/StringList.h"
#include "platform/testing/TestUiPort.h"
#include "GuiBench.h"

namespace {

// 10 rows of 100 AND elements, each output wired on; the first element's
// input on the driver pin X1; with connectors, a chain from the last
// element's output through the two connectors named.
void WriteScheme(const AnsiString& file, const AnsiString& left, const AnsiString& right) {
    TScheme s;
    s.BeginUpdate();
    TElement* first = nullptr;
    TElement* last = nullptr;
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 100; ++col) {
            TElement* e = s.CreateAndElement();
            const int x = 40 + col * 80, y = 40 + row * 60;
            e->SetX(x);
            e->SetY(y);
            e->SetName("E" + IntToStr(row * 100 + col));
            e->AssignNumber(row * 100 + col + 1);
            TInOut* out = e->GetOutput(0);
            s.AddObject(new TLink(&s, out->TipX(), out->TipY(), out->TipX() + 20, out->TipY()));
            if (!first) first = e;
            last = e;
        }
    s.EndUpdate();
    auto driverOn = [&](TDriver* d, const AnsiString& name, int x, int y) {
        d->SetName(name);
        d->SetX(x - d->Terminal()->OffsetX());
        d->SetY(y - d->Terminal()->OffsetY());
        s.AttachElement(d);
    };
    driverOn(s.CreateDriver(), "X1", first->GetInput(0)->TipX(), first->GetInput(0)->TipY());
    if (!left.IsEmpty()) {
        TInOut* out = last->GetOutput(0);
        const int x = out->TipX() + 20, y = out->TipY();
        s.CreateWire(x, y, x, y + 40);
        driverOn(s.CreateVarDriver(), left, x, y + 40);
        s.CreateWire(x, y + 40, x + 60, y + 40);
        driverOn(s.CreateVarDriver(), right, x + 60, y + 40);
    }
    s.UndoList()->Clear();
    s.SetFileName(file);
    s.SaveToFile();
}

struct Bench {
    explicit Bench(int schemes, bool ring) {
        // Written beside the current folder's other scratch files.
        folder = PathJoin(GetCurrentDir(), ring ? "ge_bench_ring" : "ge_bench_search");
        std::filesystem::create_directories(ToFsPath(folder));
        if (!MainForm) CreateAutoForms();
        project = new TProject(nullptr);
        project->SetFileName(PathJoin(folder, "p.tvp"));
        for (int i = 0; i < schemes; ++i) {
            const AnsiString file = PathJoin(folder, "s" + IntToStr(i) + ".tvs");
            // A ring: scheme i joins connector K(i % 5) to K((i + 1) % 5).
            if (ring) WriteScheme(file, "K" + IntToStr(i % 5), "K" + IntToStr((i + 1) % 5));
            else WriteScheme(file, "", "");
            project->AddFile(file);
        }
    }
    AnsiString folder;
    TProject* project = nullptr;
};

void BM_ProjectSignalSearch(benchmark::State& state) {
    static Bench* b = new Bench(50, false);
    // The frame is lent the bench's project and gives it back at the end.
    MainForm->CurrentProject.reset(b->project);
    FindSignalDlg->RadioGroup->SetItemIndex(0);
    Application->OnModalStart = [](TForm* f) {
        QTimer::singleShot(0, [f] {
            FindSignalDlg->ComboBox->SetText("X1");
            f->ModalResult = mrOk;
        });
    };
    for (auto _ : state) MainForm->FindActionExecute(nullptr);
    Application->OnModalStart = nullptr;
    if (MainForm->FindSignalListView->Items()->Count() != 50) state.SkipWithError("not every scheme was found");
    (void)MainForm->CurrentProject.release();
}
BENCHMARK(BM_ProjectSignalSearch)->Unit(benchmark::kMillisecond);

void BM_NeighboursThroughConnectors(benchmark::State& state) {
    static Bench* b = new Bench(20, true);
    // The frame is lent the bench's project and gives it back at the end.
    MainForm->CurrentProject.reset(b->project);
    TScheme first;
    first.SetFileName(b->project->GetFile(0));
    first.LoadFromFile();
    TStringList chains;
    first.ListChainNames(&chains);
    AnsiString chain;
    for (int i = 0; i < chains.Count(); ++i) {
        TStringList connectors;
        first.ChainTouchesConnections(&connectors, chains.Get(i));
        if (connectors.Count() > 0) chain = chains.Get(i);
    }
    int found = 0;
    for (auto _ : state) {
        found = 0;
        MainForm->SearchSignalInProject("s0.tvs", chain, [&](TStrings*, TStrings*, const AnsiString&) { ++found; });
    }
    if (found < 19) state.SkipWithError("the ring was not followed");
    (void)MainForm->CurrentProject.release();
}
BENCHMARK(BM_NeighboursThroughConnectors)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    TestUiPort port;
    return RunGuiBenchmarks(argc, argv);
}
