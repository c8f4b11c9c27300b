// The canvas draws common figures (one-pixel lines, plain rectangles, fills,
// copies that only copy or invert) by shortcuts. Each shortcut must give exactly the pixels of
// the general rasteriser: the same random drawings are made both ways on the
// same noisy image, under every kind of clipping, and the bytes compared.

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

using namespace painttest;

namespace {

constexpr int kWidth = 48, kHeight = 40;

bool SameBytes(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.format() == b.format() &&
           std::memcmp(a.constBits(), b.constBits(), std::size_t(a.sizeInBytes())) == 0;
}

// xorshift: the same seed gives the same drawing on both runs.
class Rng {
public:
    explicit Rng(uint32_t seed) : s_(seed * 2654435761u + 1) {}
    uint32_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int In(int lo, int hi) { return lo + int(Next() % uint32_t(hi - lo)); } // [lo, hi)
    bool OneIn(int n) { return Next() % uint32_t(n) == 0; }
    template <class T, std::size_t N>
    T Pick(const std::array<T, N>& a) { return a[Next() % N]; }
    // A coordinate around the image, now and then far outside it.
    int Coord(int size) { return OneIn(12) ? (OneIn(2) ? -1 : 1) * In(1000, 1 << 30) : In(-12, size + 12); }
    TColor Color() { return TColor(Next() & 0xFFFFFF); }

private:
    uint32_t s_;
};

constexpr std::array<TPenMode, 16> kPenModes = {pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                                                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor};
constexpr std::array<TPenStyle, 9> kPenStyles = {psSolid, psSolid, psSolid, psInsideFrame, psDash, psDot, psDashDot, psDashDotDot, psClear};
constexpr std::array<TBrushStyle, 10> kBrushStyles = {bsSolid, bsSolid, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal,
                                                      bsBDiagonal, bsCross, bsDiagCross};
constexpr std::array<TCopyMode, 15> kCopyModes = {cmSrcCopy, cmSrcInvert, cmSrcInvert, cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcErase,
                                                  cmNotSrcCopy, cmNotSrcErase, cmMergeCopy, cmMergePaint, cmPatCopy, cmPatInvert,
                                                  cmDstInvert, cmWhiteness};

// Pictures to copy from: colour noise, a two-colour picture, one with a
// transparent colour, and one mostly black with a figure on it (as the
// state-machine objects draw themselves).
struct Sources {
    TBitmap noise, mono, keyed, pattern, sparse;
    Sources() {
        auto fill = [](TBitmap& b, int w, int h, const QImage& image) {
            b.SetSize(w, h);
            b.Image() = image;
        };
        fill(noise, 40, 30, NoiseWithAlpha(40, 30, 99));
        fill(mono, 30, 20, Noise(30, 20, 7));
        mono.SetMonochrome(true);
        // Noise with a lime disc left out.
        fill(keyed, 20, 16, Noise(20, 16, 4));
        keyed.Canvas()->Pen()->SetStyle(psClear);
        keyed.Canvas()->Brush()->SetColor(clLime);
        keyed.Canvas()->Ellipse(3, 2, 17, 15);
        keyed.SetTransparentColor(clLime);
        keyed.SetTransparent(true);
        fill(pattern, 8, 8, Noise(8, 8, 3));
        fill(sparse, 24, 18, Filled(24, 18, 0));
        sparse.Canvas()->Pen()->SetColor(clWhite);
        sparse.Canvas()->Brush()->SetColor(clTeal);
        sparse.Canvas()->Ellipse(2, 2, 15, 14);
        sparse.Canvas()->MoveTo(0, 17);
        sparse.Canvas()->LineTo(24, 0);
    }
};

// Random tools: pen, brush (now and then a pattern), font colour, copy mode.
void RandomTools(TCanvas& c, Rng& rng, Sources& src) {
    c.Pen()->SetMode(rng.Pick(kPenModes));
    c.Pen()->SetStyle(rng.Pick(kPenStyles));
    c.Pen()->SetWidth(rng.OneIn(6) ? rng.In(2, 4) : rng.In(0, 2));
    c.Pen()->SetColor(rng.Color());
    c.Brush()->SetBitmap(nullptr);
    c.Brush()->SetColor(rng.Color());
    c.Brush()->SetStyle(rng.Pick(kBrushStyles));
    if (rng.OneIn(6)) c.Brush()->SetBitmap(&src.pattern);
    c.Font()->SetColor(rng.Color());
    c.CopyMode = rng.Pick(kCopyModes);
}

TRect RandomRect(Rng& rng) {
    const int l = rng.In(-10, kWidth + 5), t = rng.In(-10, kHeight + 5);
    // Thin and tiny boxes are where the outline meets itself.
    const int w = rng.OneIn(3) ? rng.In(-2, 4) : rng.In(-20, 40), h = rng.OneIn(3) ? rng.In(-2, 4) : rng.In(-20, 40);
    return TRect(l, t, l + w, t + h);
}

struct Drawing {
    const char* name;
    std::function<void(TCanvas&, Rng&, Sources&)> draw;
};

const std::vector<Drawing>& Drawings() {
    static const std::vector<Drawing> drawings = {
        {"lines", [](TCanvas& c, Rng& rng, Sources&) {
             for (int i = 0; i < 4; ++i) {
                 const int x = rng.Coord(kWidth), y = rng.Coord(kHeight);
                 // Level, upright, single-point and slanted lines.
                 switch (rng.In(0, 4)) {
                 case 0: c.LineTo(x, c.PenPos().y); break;
                 case 1: c.LineTo(c.PenPos().x, y); break;
                 case 2: c.LineTo(c.PenPos().x, c.PenPos().y); break;
                 default: c.LineTo(x, y); break;
                 }
                 if (rng.OneIn(3)) c.MoveTo(rng.Coord(kWidth), rng.Coord(kHeight));
             }
         }},
        {"two-point polylines", [](TCanvas& c, Rng& rng, Sources&) {
             const TPoint pts[] = {{rng.Coord(kWidth), rng.Coord(kHeight)}, {rng.In(-5, kWidth + 5), rng.In(-5, kHeight + 5)}};
             c.Polyline(pts);
         }},
        {"rectangles", [](TCanvas& c, Rng& rng, Sources&) {
             c.Rectangle(RandomRect(rng));
             c.Rectangle(RandomRect(rng));
         }},
        {"fills", [](TCanvas& c, Rng& rng, Sources&) {
             c.FillRect(RandomRect(rng));
             c.FillRect(RandomRect(rng));
         }},
        {"copies", [](TCanvas& c, Rng& rng, Sources& src) {
             TCanvas* from = rng.OneIn(4) ? &c : rng.OneIn(3) ? src.mono.Canvas() : src.noise.Canvas();
             const TRect d = RandomRect(rng);
             TRect s = Bounds(rng.In(-8, 36), rng.In(-8, 26), d.Right - d.Left, d.Bottom - d.Top);
             if (rng.OneIn(4)) s.Right += rng.In(-3, 4); // scaled
             if (rng.OneIn(6)) std::swap(s.Left, s.Right); // mirrored
             c.CopyRect(d, from, s);
         }},
        {"stretched pictures", [](TCanvas& c, Rng& rng, Sources& src) {
             TBitmap* pictures[] = {&src.noise, &src.mono, &src.keyed, &src.sparse, &src.sparse};
             TBitmap* b = pictures[rng.In(0, 5)];
             // Enlarged up to four times, reduced, a pixel off, mirrored.
             auto side = [&rng](int n) { return std::max(1, n * rng.In(1, 5) / rng.In(1, 4) + rng.In(-2, 3)); };
             TRect d = Bounds(rng.In(-30, kWidth), rng.In(-30, kHeight), side(b->Width()), side(b->Height()));
             if (rng.OneIn(6)) std::swap(d.Left, d.Right);
             if (rng.OneIn(6)) std::swap(d.Top, d.Bottom);
             c.StretchDraw(d, b);
         }},
        {"pictures", [](TCanvas& c, Rng& rng, Sources& src) {
             TBitmap* pictures[] = {&src.noise, &src.mono, &src.keyed};
             TBitmap* b = pictures[rng.In(0, 3)];
             c.Draw(rng.In(-25, kWidth), rng.In(-20, kHeight), b);
             const int x = rng.In(-10, kWidth), y = rng.In(-10, kHeight), w = rng.In(1, 30), h = rng.In(1, 25);
             c.BrushCopy(Bounds(x, y, w, h), b, Bounds(rng.In(-4, 20), rng.In(-4, 12), w, h), rng.OneIn(2) ? clLime : clBlack);
         }},
    };
    return drawings;
}

enum class Clip { None, Rect, Empty, Columns, Region, Hole, Viewport, ViewportAndRegion };

void ApplyClip(TCanvas& c, Clip clip) {
    // The clip region of two rectangles.
    auto both = [&c](const TRect& a, const TRect& b) {
        TRegion r;
        CombineRgn(r, TRegion(a), TRegion(b), RGN_OR);
        c.SelectClipRgn(&r);
    };
    switch (clip) {
    case Clip::None: break;
    case Clip::Rect: c.IntersectClipRect(6, 5, 40, 31); break;
    case Clip::Empty: c.IntersectClipRect(10, 10, 10, 20); break;
    case Clip::Columns: both(TRect(0, 0, 20, 40), TRect(30, 0, 48, 40)); break; // one band of two
    case Clip::Region: both(TRect(0, 0, 18, 40), TRect(25, 8, 48, 26)); break;
    case Clip::Hole: c.ExcludeClipRect(12, 10, 30, 22); break;
    case Clip::Viewport: c.SetViewport(TRect(5, 4, 41, 35)); break;
    case Clip::ViewportAndRegion: {
        c.SetViewport(TRect(-6, 3, 44, 37));
        const TPoint tri[] = {{2, 0}, {48, 10}, {10, 40}};
        const TRegion r = CreatePolygonRgn(tri, ALTERNATE);
        c.SelectClipRgn(&r);
        break;
    }
    }
}

class FastPaths : public ::testing::Test {
protected:
    void TearDown() override { TCanvas::SetFastPaths(true); }
};

TEST_F(FastPaths, GiveTheSamePixelsAsTheGeneralRasteriser) {
    constexpr int kSeeds = 150;
    Sources sources;
    for (bool mono : {false, true}) {
        for (Clip clip : {Clip::None, Clip::Rect, Clip::Empty, Clip::Columns, Clip::Region, Clip::Hole, Clip::Viewport,
                          Clip::ViewportAndRegion}) {
            for (const Drawing& d : Drawings()) {
                int changed = 0;
                for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
                    SCOPED_TRACE(std::string(d.name) + " / clip " + std::to_string(int(clip)) + (mono ? " / two-colour" : "") +
                                 " / seed " + std::to_string(seed));
                    QImage result[2];
                    for (bool fast : {true, false}) {
                        TCanvas::SetFastPaths(fast);
                        TBitmap target;
                        target.SetSize(kWidth, kHeight);
                        target.Image() = NoiseWithAlpha(kWidth, kHeight, seed);
                        if (mono) target.SetMonochrome(true);
                        TCanvas& c = *target.Canvas();
                        ApplyClip(c, clip);
                        Rng rng(seed);
                        RandomTools(c, rng, sources);
                        c.MoveTo(rng.Coord(kWidth), rng.Coord(kHeight));
                        d.draw(c, rng, sources);
                        result[fast] = target.Image().copy();
                    }
                    ASSERT_TRUE(SameBytes(result[true], result[false]))
                        << "differs in " << ChangedBox(result[true], result[false]).Left << ","
                        << ChangedBox(result[true], result[false]).Top << " - " << ChangedBox(result[true], result[false]).Right
                        << "," << ChangedBox(result[true], result[false]).Bottom;
                    TBitmap untouched;
                    untouched.SetSize(kWidth, kHeight);
                    untouched.Image() = NoiseWithAlpha(kWidth, kHeight, seed);
                    if (mono) untouched.SetMonochrome(true);
                    changed += !SameBytes(result[true], untouched.Image());
                }
                // The drawings reach the image (except through an empty clip).
                if (clip == Clip::Empty) EXPECT_EQ(changed, 0) << d.name;
                else EXPECT_GT(changed, kSeeds / 10) << d.name << " / clip " << int(clip) << (mono ? " / two-colour" : "");
            }
        }
    }
}

// The shortcuts keep the exclusive-or rules: a sequence of inverting
// drawings undone in reverse order restores the image, and drawings that lie
// wholly outside the clip leave a shared image shared (nothing is written, so
// nothing is copied).
TEST_F(FastPaths, XorUndoneRestoresAndClippedDrawingsWriteNothing) {
    QImage img = Noise(kWidth, kHeight, 5);
    const QImage before = img.copy();
    TCanvas c(&img);
    c.Pen()->SetMode(pmXor);
    c.Pen()->SetColor(RGB(0x35, 0x9A, 0xE1));
    c.Brush()->SetColor(RGB(0x11, 0x22, 0x33));
    c.CopyMode = cmSrcInvert;
    TBitmap noise;
    noise.SetSize(20, 20);
    noise.Image() = Noise(20, 20, 8);
    auto line = [&c](int x1, int y1, int x2, int y2) {
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    const std::vector<std::function<void()>> steps = {
        [&] { line(-5, 7, 60, 7); },
        [&] { line(60, 7, 60, 8); }, // outside
        [&] { line(9, -3, 9, 50); },
        [&] { line(47, 39, -2, 0); },
        [&] { c.Rectangle(3, 3, 30, 25); },
        [&] { c.Rectangle(20, 30, 22, 32); },
        [&] { c.Draw(35, 30, &noise); },
        [&] { c.CopyRect(Rect(-3, -3, 12, 12), &c, Rect(30, 20, 45, 35)); },
    };
    for (const auto& step : steps) step();
    EXPECT_FALSE(SameBytes(img, before));
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) (*it)();
    EXPECT_TRUE(SameBytes(img, before)) << "residue at " << ChangedBox(img, before).Left << "," << ChangedBox(img, before).Top;
    // Wholly outside the clip: the image stays shared with its copy.
    const QImage shared = img;
    c.IntersectClipRect(0, 0, 10, 10);
    c.MoveTo(20, 20);
    c.LineTo(40, 20);
    c.Rectangle(20, 20, 40, 30);
    c.CopyRect(Rect(30, 30, 40, 40), &c, Rect(0, 0, 10, 10));
    EXPECT_EQ(img.constBits(), shared.constBits());
}

} // namespace
