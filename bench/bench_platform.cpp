// Canvas speed: exclusive-or drawing over a whole sheet, as the scheme window
// does while the user drags, and picture copies with the inverting copy mode.

#include <cstdlib>

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "GuiBench.h"

namespace {

struct Sheet {
    QImage image{800, 600, QImage::Format_RGB32};
    TCanvas canvas{&image};
    Sheet() {
        image.fill(Qt::white);
        canvas.Pen()->SetMode(pmXor);
        canvas.Pen()->SetColor(clWhite);
        canvas.Brush()->SetColor(clTeal);
    }
};

// Deterministic end points spread over the sheet and a little beyond it.
TPoint P(unsigned i) { return {int(i * 7919u % 900u) - 50, int(i * 104729u % 700u) - 50}; }

void BM_XorLines(benchmark::State& state) {
    Sheet s;
    for (auto _ : state) {
        for (unsigned i = 0; i < 1000; ++i) {
            s.canvas.MoveTo(P(i).x, P(i).y);
            s.canvas.LineTo(P(i + 1).x, P(i + 1).y);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_XorLines);

void BM_XorRectangles(benchmark::State& state) {
    Sheet s;
    for (auto _ : state) {
        for (unsigned i = 0; i < 200; ++i) {
            const TPoint a = P(i), b = P(i + 3);
            s.canvas.Rectangle(a.x, a.y, a.x + (b.x & 127) + 2, a.y + (b.y & 63) + 2);
        }
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_XorRectangles);

void BM_XorEllipses(benchmark::State& state) {
    Sheet s;
    for (auto _ : state) {
        for (unsigned i = 0; i < 200; ++i) s.canvas.Ellipse(P(i).x, P(i).y, P(i).x + 60, P(i).y + 60);
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_XorEllipses);

void BM_XorFullSheetPicture(benchmark::State& state) {
    Sheet s;
    TBitmap picture;
    picture.SetSize(800, 600);
    picture.Canvas()->Ellipse(0, 0, 800, 600);
    s.canvas.CopyMode = cmSrcInvert;
    for (auto _ : state) s.canvas.Draw(0, 0, &picture);
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_XorFullSheetPicture);

void BM_XorText(benchmark::State& state) {
    Sheet s;
    for (auto _ : state) {
        for (unsigned i = 0; i < 100; ++i) s.canvas.TextOut(P(i).x, P(i).y, "Элемент И-НЕ");
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_XorText);

} // namespace

int main(int argc, char** argv) {
    return RunGuiBenchmarks(argc, argv);
}
