// Exclusive-or drawing must be exactly self-inverse: whatever is drawn twice in
// an inverting pen mode or copy mode leaves every byte of the image as it was,
// also where the figure leaves the image or the clip region.

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/ImageList.h"

using namespace painttest;

namespace {

bool SameBytes(const QImage& a, const QImage& b) {
    return a.size() == b.size() && a.format() == b.format() && std::memcmp(a.constBits(), b.constBits(), std::size_t(a.sizeInBytes())) == 0;
}

struct Pictures {
    TBitmap noise, keyed, pattern;
    TImageList list;
    Pictures() {
        noise.SetSize(40, 30);
        noise.Image() = Noise(40, 30, 77);
        keyed.SetSize(20, 20);
        keyed.Canvas()->Brush()->SetColor(clLime);
        keyed.Canvas()->FillRect(Rect(0, 0, 20, 20));
        keyed.Canvas()->Brush()->SetColor(clNavy);
        keyed.Canvas()->Ellipse(2, 2, 18, 18);
        keyed.SetTransparent(true);
        pattern.SetSize(8, 8);
        pattern.Image() = Noise(8, 8, 5);
        list.SetSize(20, 20);
        list.AddMasked(&keyed, clLime);
    }
};

struct Case {
    const char* name;
    std::function<void(TCanvas&, Pictures&)> draw;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"lines", [](TCanvas& c, Pictures&) {
             c.Pen()->SetColor(RGB(0x12, 0x34, 0x56));
             c.MoveTo(-10, 5);
             c.LineTo(80, 40);
             c.MoveTo(30, -5);
             c.LineTo(31, 60);
             c.LineTo(-20, -3);
         }},
        {"wide self-crossing polyline", [](TCanvas& c, Pictures&) {
             c.Pen()->SetWidth(3);
             const TPoint pts[] = {{-5, 10}, {70, 30}, {60, -8}, {20, 52}, {30, 0}};
             c.Polyline(pts);
         }},
        {"dotted polyline", [](TCanvas& c, Pictures&) {
             c.Pen()->SetStyle(psDashDot);
             const TPoint pts[] = {{0, 0}, {63, 47}, {0, 47}, {63, 0}};
             c.Polyline(pts);
         }},
        {"rectangle, solid brush", [](TCanvas& c, Pictures&) {
             c.Brush()->SetColor(RGB(200, 100, 50));
             c.Rectangle(-5, -5, 30, 30);
             c.Rectangle(40, 20, 90, 70);
         }},
        {"rectangle, hatch and wide pen", [](TCanvas& c, Pictures&) {
             c.Pen()->SetWidth(4);
             c.Brush()->SetStyle(bsDiagCross);
             c.Brush()->SetColor(clYellow);
             c.Rectangle(10, 5, 58, 50);
         }},
        {"ellipses", [](TCanvas& c, Pictures&) {
             c.Brush()->SetColor(clTeal);
             c.Ellipse(20, 10, 90, 70);
             c.Pen()->SetWidth(5);
             c.Ellipse(-20, -10, 30, 25);
         }},
        {"inside-frame ellipse, no brush", [](TCanvas& c, Pictures&) {
             c.Pen()->SetWidth(3);
             c.Pen()->SetStyle(psInsideFrame);
             c.Brush()->SetStyle(bsClear);
             c.Ellipse(5, 5, 60, 44);
         }},
        {"self-crossing polygon", [](TCanvas& c, Pictures&) {
             c.Brush()->SetColor(clFuchsia);
             const TPoint star[] = {{32, -10}, {45, 60}, {-5, 15}, {75, 15}, {20, 60}};
             c.Polygon(star);
         }},
        {"arc and bezier", [](TCanvas& c, Pictures&) {
             c.Arc(4, 4, 70, 50, 60, 0, 0, 30);
             const TPoint bez[] = {{0, 40}, {20, -30}, {50, 90}, {70, 10}};
             c.PolyBezier(bez);
         }},
        {"opaque Cyrillic text", [](TCanvas& c, Pictures&) {
             c.Brush()->SetColor(clGreen);
             c.Font()->SetColor(clRed);
             c.TextOut(-3, 20, "Проверка XOR"_a);
         }},
        {"transparent text and DrawText", [](TCanvas& c, Pictures&) {
             c.SetBkMode(TRANSPARENT);
             c.Font()->SetHeight(-16);
             c.TextOut(30, 35, "Жёлтый"_a);
             TRect r(2, 2, 50, 40);
             c.DrawText("Длинная строка текста с переносами"_a, r, DT_WORDBREAK | DT_CENTER);
         }},
        {"Draw and mirrored StretchDraw", [](TCanvas& c, Pictures& p) {
             c.CopyMode = cmSrcInvert;
             c.Draw(40, 30, &p.noise);
             c.StretchDraw(TRect(70, -10, 10, 50), &p.noise);
         }},
        {"transparent bitmap", [](TCanvas& c, Pictures& p) {
             c.CopyMode = cmSrcInvert;
             c.Draw(-2, 24, &p.keyed);
         }},
        {"CopyRect within the canvas", [](TCanvas& c, Pictures&) {
             c.CopyMode = cmSrcInvert;
             c.CopyRect(Rect(-5, -5, 20, 15), &c, Rect(30, 20, 55, 40));
         }},
        {"destination and pattern inversion", [](TCanvas& c, Pictures& p) {
             c.CopyMode = cmDstInvert;
             c.CopyRect(Rect(10, 10, 70, 30), &c, Rect(0, 0, 60, 20));
             c.CopyMode = cmPatInvert;
             c.Brush()->SetBitmap(&p.pattern);
             c.CopyRect(Rect(-4, 20, 50, 60), &c, Rect(0, 0, 54, 40));
         }},
        {"focus rectangles", [](TCanvas& c, Pictures&) {
             c.Brush()->SetColor(RGB(0x80, 0x40, 0xC0));
             c.DrawFocusRect(Rect(-2, 3, 70, 40));
             c.DrawFocusRect(Rect(30, 30, 31, 31));
             c.DrawFocusRect(Rect(50, 10, 40, 20));
         }},
        {"not and not-xor pen modes", [](TCanvas& c, Pictures&) {
             c.Pen()->SetMode(pmNot);
             c.Rectangle(8, 8, 40, 40);
             c.Pen()->SetMode(pmNotXor);
             c.Brush()->SetColor(clAqua);
             c.Ellipse(30, 2, 70, 46);
         }},
        {"image list", [](TCanvas& c, Pictures& p) {
             c.CopyMode = cmSrcInvert;
             p.list.Draw(&c, 50, -5, 0);
             p.list.Draw(&c, 5, 33, 0, false);
         }},
    };
    return cases;
}

enum class Clip { None, Rect, Region, Viewport };

TEST(CanvasXor, EveryDrawingMadeTwiceRestoresTheImage) {
    for (Clip clip : {Clip::None, Clip::Rect, Clip::Region, Clip::Viewport}) {
        for (const Case& k : Cases()) {
            SCOPED_TRACE(std::string(k.name) + " / clip " + std::to_string(int(clip)));
            Pictures pictures;
            QImage img = Noise(64, 48);
            TCanvas c(&img);
            TRect outside; // device pixels that must never change
            switch (clip) {
            case Clip::None: break;
            case Clip::Rect: c.IntersectClipRect(10, 8, 50, 40); break;
            case Clip::Region: {
                TRegion r;
                CombineRgn(r, CreateRectRgn(0, 0, 20, 48), CreateRectRgn(35, 10, 64, 30), RGN_OR);
                c.SelectClipRgn(&r);
                break;
            }
            case Clip::Viewport: c.SetViewport(TRect(5, 4, 60, 44)); break;
            }
            // Every drawing starts from the same tools.
            auto reset = [&c] {
                c.Pen()->SetMode(pmXor);
                c.Pen()->SetColor(RGB(0x5A, 0xC3, 0x3C));
                c.Pen()->SetWidth(1);
                c.Pen()->SetStyle(psSolid);
                c.Brush()->SetBitmap(nullptr);
                c.Brush()->SetStyle(bsSolid);
                c.Brush()->SetColor(RGB(0x21, 0x43, 0x65));
                c.Font()->SetColor(RGB(0xF0, 0x0F, 0x77));
                c.Font()->SetHeight(-11);
                c.SetBkMode(OPAQUE);
                c.CopyMode = cmSrcCopy;
            };
            const QImage before = img.copy();
            reset();
            k.draw(c, pictures);
            const QImage once = img.copy();
            EXPECT_FALSE(SameBytes(once, before)) << "nothing was drawn";
            if (clip == Clip::Viewport) {
                EXPECT_TRUE(PtInRect(TRect(5, 4, 61, 45), ChangedBox(once, before).TopLeft()));
                EXPECT_LE(ChangedBox(once, before).Right, 60);
                EXPECT_LE(ChangedBox(once, before).Bottom, 44);
            }
            if (clip == Clip::Rect) {
                const TRect changed = ChangedBox(once, before);
                EXPECT_GE(changed.Left, 10);
                EXPECT_GE(changed.Top, 8);
                EXPECT_LE(changed.Right, 50);
                EXPECT_LE(changed.Bottom, 40);
            }
            if (clip == Clip::Region) {
                // Nothing outside the two rectangles changes.
                for (int y = 0; y < 48; ++y)
                    for (int x = 20; x < 64; ++x)
                        if (!(x >= 35 && y >= 10 && y < 30)) {
                            ASSERT_EQ(Px(once, x, y), Px(before, x, y)) << x << "," << y;
                        }
            }
            reset();
            k.draw(c, pictures);
            EXPECT_TRUE(SameBytes(img, before)) << "the second drawing left residue at " << ChangedBox(img, before).Left
                                                << "," << ChangedBox(img, before).Top;
        }
    }
}

TEST(CanvasXor, InvertingCopiesChangeOnlyTheColourBitsWhereTheSourceIsNotBlack) {
    // A mostly black picture with a figure, as the state-machine objects draw.
    TBitmap figure;
    figure.SetSize(30, 20);
    figure.Canvas()->Brush()->SetColor(clBlack);
    figure.Canvas()->FillRect(Rect(0, 0, 30, 20));
    figure.Canvas()->Pen()->SetColor(clWhite);
    figure.Canvas()->Brush()->SetColor(clTeal);
    figure.Canvas()->Ellipse(4, 3, 20, 17);
    const TRect targets[] = {Rect(5, 5, 35, 25), Rect(-7, 2, 113, 82), Rect(60, 40, 10, 5), Rect(3, 3, 18, 13)};
    for (bool fast : {true, false}) {
        TCanvas::SetFastPaths(fast);
        for (const TRect& d : targets) {
            SCOPED_TRACE(std::to_string(d.Left) + "," + std::to_string(d.Top) + (fast ? " fast" : " general"));
            // Noise in the unused top byte too: inverting keeps it.
            QImage img = NoiseWithAlpha(96, 72, 31);
            const QImage before = img.copy();
            TCanvas c(&img);
            c.CopyMode = cmSrcInvert;
            c.StretchDraw(d, &figure);
            int changed = 0;
            for (int y = 0; y < img.height(); ++y) {
                const auto* now = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
                const auto* was = reinterpret_cast<const uint32_t*>(before.constScanLine(y));
                for (int x = 0; x < img.width(); ++x) {
                    ASSERT_EQ(now[x] >> 24, was[x] >> 24) << x << "," << y;
                    changed += now[x] != was[x];
                }
            }
            EXPECT_GT(changed, 20);
            EXPECT_LT(changed, std::abs(d.Width() * d.Height()));
            c.StretchDraw(d, &figure);
            EXPECT_TRUE(SameBytes(img, before));
        }
    }
    TCanvas::SetFastPaths(true);
}

TEST(CanvasXor, MonochromeBitmapCanvasStaysTwoColouredAndRestores) {
    TBitmap b;
    b.SetSize(40, 30);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->Ellipse(5, 5, 35, 25);
    b.SetMonochrome(true);
    const QImage before = b.Image().copy();
    TCanvas& c = *b.Canvas();
    c.Pen()->SetMode(pmXor);
    c.Pen()->SetColor(clRed); // nearer black than white: no change under xor
    c.MoveTo(0, 15);
    c.LineTo(40, 15);
    EXPECT_TRUE(SameBytes(b.Image(), before));
    c.Pen()->SetColor(clYellow); // nearer white: inverts
    for (int pass = 0; pass < 2; ++pass) {
        c.MoveTo(40, 15);
        c.LineTo(0, 0);
        c.Brush()->SetColor(clSilver);
        c.Rectangle(10, 10, 30, 20);
        EXPECT_EQ(Count(b.Image(), 0) + Count(b.Image(), 0xFFFFFF), 40 * 30);
        EXPECT_EQ(SameBytes(b.Image(), before), pass == 1);
    }
}

} // namespace
