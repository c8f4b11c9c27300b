// Speed of the state-machine drawing on generated machines: a full repaint
// of the window's sheet (background fill, then every object) and one step of
// a drag (the selected states hidden, moved and shown again), at several
// zooms. Every object draws by stretching its picture onto the sheet, so at
// zooms other than 100 % the canvas's scaled copy carries the load.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "fsm/fsmScheme.h"
#include "platform/Canvas.h"
#include "GuiBench.h"

namespace {

constexpr int kPitch = 150;
constexpr int kMargin = 100;

// The window as its document sees it: a sheet of the zoomed size.
class Sheet : public IFsmView {
public:
    Sheet(int width, int height) : image(width, height, QImage::Format_RGB32), canvas(&image) { Fill(); }
    TCanvas* FsmCanvas() override { return &canvas; }
    void Fill() {
        canvas.Brush()->SetColor(clWhite);
        canvas.FillRect(TRect(0, 0, image.width(), image.height()));
    }
    QImage image;
    TCanvas canvas;
};

struct Machine {
    std::unique_ptr<Sheet> sheet;
    std::unique_ptr<TFSMScheme> doc;
};

// States on a square grid; transitions from each state to its right, lower,
// lower-right and (curved) left neighbours in turn until there are enough.
Machine Generate(int states, int transitions, int zoom) {
    const int cols = int(std::ceil(std::sqrt(double(states))));
    const int rows = (states + cols - 1) / cols;
    const int w = 2 * kMargin + (cols - 1) * kPitch, h = 2 * kMargin + (rows - 1) * kPitch;
    Machine m;
    m.sheet = std::make_unique<Sheet>(w * zoom / 100, h * zoom / 100);
    m.doc = std::make_unique<TFSMScheme>(m.sheet.get());
    m.doc->SetZoom(zoom);
    std::vector<TfsmElement*> s;
    for (int i = 0; i < states; ++i) {
        TfsmElement* e = m.doc->CreateState();
        e->SetX(kMargin + (i % cols) * kPitch);
        e->SetY(kMargin + (i / cols) * kPitch);
        e->SetName("State" + IntToStr(i));
        e->EndDrag();
        s.push_back(e);
    }
    const int steps[4][2] = {{1, 0}, {0, 1}, {1, 1}, {-1, 0}};
    int made = 0;
    for (int round = 0; made < transitions; ++round) {
        for (int i = 0; i < states && made < transitions; ++i) {
            const int c = i % cols + steps[round % 4][0], r = i / cols + steps[round % 4][1] + round / 4;
            if (c < 0 || c >= cols || r >= rows || r * cols + c >= states) continue;
            TfsmElement *a = s[std::size_t(i)], *b = s[std::size_t(r * cols + c)];
            const int ax = a->GetX(), ay = a->GetY(), bx = b->GetX(), by = b->GetY();
            TfsmLink* t = round % 4 == 3
                              ? m.doc->CreateTransition4(ax, ay, ax - 30, ay + 50, bx + 30, by + 50, bx, by)
                              : m.doc->CreateTransition2(ax, ay, bx, by);
            t->EndDrag();
            ++made;
        }
    }
    for (TfsmEntity* e : m.doc->Entities()) e->Show();
    return m;
}

void BM_Repaint(benchmark::State& state) {
    const int states = int(state.range(0)), zoom = int(state.range(2));
    Machine m = Generate(states, int(state.range(1)), zoom);
    for (auto _ : state) {
        m.sheet->Fill();
        m.doc->Paint();
        benchmark::ClobberMemory();
    }
    state.counters["objects"] = double(m.doc->Entities().size());
}
BENCHMARK(BM_Repaint)
    ->ArgNames({"states", "transitions", "zoom"})
    ->Args({50, 135, 100})
    ->Args({50, 135, 200})
    ->Args({50, 135, 400})
    ->Args({255, 1020, 100})
    ->Args({255, 1020, 400})
    ->Unit(benchmark::kMillisecond);

void BM_DragStep(benchmark::State& state) {
    const int dragged = int(state.range(0)), zoom = int(state.range(1));
    Machine m = Generate(255, 1020, zoom);
    std::vector<TfsmElement*> s = m.doc->States();
    for (int i = 0; i < dragged; ++i) m.doc->AddToSelection(s[std::size_t(i * 5 % 255)], true);
    m.doc->CommitSelection();
    int step = 10;
    for (auto _ : state) {
        m.doc->MoveSelection(step, step);
        step = -step;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DragStep)
    ->ArgNames({"dragged", "zoom"})
    ->Args({1, 25})
    ->Args({1, 100})
    ->Args({1, 400})
    ->Args({50, 25})
    ->Args({50, 100})
    ->Args({50, 200})
    ->Args({50, 400})
    ->Unit(benchmark::kMillisecond);

} // namespace

// Text needs the font database of a GUI application (offscreen without a display).
int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
