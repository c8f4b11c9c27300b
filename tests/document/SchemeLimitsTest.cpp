// Positions at and beyond the limits a scheme keeps: damaged files and
// clipboard fragments that once overflowed the geometry, the bound itself,
// and drawing far out at the largest zoom.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "common/TestEnv.h"
#include "document/Scheme.h"
#include "model/Link.h"
#include "model/Painter.h"
#include "platform/Bitmap.h"
#include "platform/TestUiPort.h"

namespace {

void PutClipboard(const std::string& bytes) {
    testenv::WriteBytes(std::filesystem::current_path() / "clip.brd", bytes);
}

TEST(SchemeLimits, FilesPlacingObjectsFarOutAreDamaged) {
    for (const char* file : {"scheme/ub-load-pin-tip-overflow.tvs", "scheme/ub-link-bounds-overflow.tvs",
                             "scheme/ub-extent-overflow.tvs", "scheme/ub-draw-far-element.tvs"}) {
        TestUiPort ui;
        TScheme s;
        s.SetFileName("x.tvs");
        EXPECT_FALSE(s.LoadFromBytes(testenv::RegressionFile(file))) << file;
        ASSERT_EQ(ui.Messages().size(), 1u) << file;
        EXPECT_EQ(ui.Messages()[0], "Файл разрушен!!"_a) << file;
        EXPECT_TRUE(s.LiveObjects().empty()) << file;
        EXPECT_FALSE(s.IsModified()) << file;
    }
}

TEST(SchemeLimits, EveryStoredPositionIsCheckedAgainstTheBound) {
    struct Case {
        int value;
        bool loads;
    } cases[] = {{kMaxCoord, true},      {-kMaxCoord, true}, {kMaxCoord + 1, false},
                 {-kMaxCoord - 1, false}, {INT_MAX, false},   {INT_MIN, false}};
    // Which position takes the value: element X or Y, or one wire coordinate.
    for (int field = 0; field < 6; ++field) {
        for (const Case& c : cases) {
            TScheme s;
            TAndElement* a = s.CreateAndElement();
            a->SetX(field == 0 ? c.value : 10);
            a->SetY(field == 1 ? c.value : 10);
            int w[4] = {0, 500, 40, 500};
            if (field >= 2) w[field - 2] = c.value;
            s.CreateWire(w[0], w[1], w[2], w[3]);
            TestUiPort ui;
            TScheme t;
            EXPECT_EQ(t.LoadFromBytes(s.SaveToBytes()), c.loads) << field << " " << c.value;
            EXPECT_EQ(t.LiveObjects().size(), c.loads ? 2u : 0u) << field << " " << c.value;
            EXPECT_EQ(ui.Messages().size(), c.loads ? 0u : 1u) << field << " " << c.value;
        }
    }
}

TEST(SchemeLimits, GeometryAndDrawingAtTheBound) {
    TScheme s;
    TAndElement* a = s.CreateAndElement();
    a->SetX(kMaxCoord);
    a->SetY(kMaxCoord);
    s.CreateWire(-kMaxCoord, -kMaxCoord, kMaxCoord, kMaxCoord);
    TScheme t;
    ASSERT_TRUE(t.LoadFromBytes(s.SaveToBytes()));
    int maxX = 0, maxY = 0;
    t.GetExtent(maxX, maxY);
    EXPECT_EQ(maxX, kMaxCoord + a->GetWidth());
    EXPECT_EQ(maxY, kMaxCoord + a->GetHeight());
    for (TEntity* e : t.LiveObjects()) {
        if (e->IsLink()) {
            const TRect b = e->Bounds();
            EXPECT_EQ(b.Left, -kMaxCoord);
            EXPECT_EQ(b.Bottom, kMaxCoord);
            EXPECT_EQ(b.Width(), 2 * kMaxCoord);
        }
    }
    // The pin tips lie beyond the bound by their offsets; drawing at 400 %
    // still fits (the sanitizer build would stop on an overflow).
    TBitmap bitmap;
    bitmap.SetSize(64, 64);
    for (TEntity* e : t.LiveObjects())
        e->DrawTo(bitmap.Canvas(), false, 400);
}

TEST(SchemeLimits, PainterScalesWide) {
    TPainter large(nullptr, 400, TPaintMode::Normal);
    TPainter small(nullptr, 25, TPaintMode::Normal);
    struct Case {
        const TPainter& painter;
        int value;
        int pixels;
    } cases[] = {{large, kMaxCoord + 100000, 4400000}, {large, -7, -28},        {large, INT_MAX, 1 << 28},
                 {large, INT_MIN, -(1 << 28)},         {small, 3, 0},          {small, -kMaxCoord, -250000},
                 {small, INT_MAX, 1 << 28}};
    for (const Case& c : cases)
        EXPECT_EQ(c.painter.Scale(c.value), c.pixels) << c.value << " at " << c.painter.Zoom();
}

TEST(SchemeLimits, PasteRefusesFragmentsThatLandOutside) {
    TScheme s;
    s.CreateAndElement()->SetX(500);
    TScheme source;
    TAndElement* a = source.CreateAndElement();
    a->SetX(500);
    a->SetY(300);
    source.AddToSelection(a, true);
    ASSERT_TRUE(source.Copy());
    const std::string fragment = testenv::ReadBytes(std::filesystem::current_path() / "clip.brd");
    struct Case {
        const char* what;
        std::string clip;
        int x;
        bool pastes;
    } cases[] = {
        {"minimum X of INT_MIN", testenv::RegressionFile("clip/ub-scheme-paste-minx.clip.brd"), 10, false},
        {"lands on the bound", fragment, kMaxCoord, true},
        {"lands beyond the bound", fragment, kMaxCoord + 1, false},
        {"paste point far out", fragment, INT_MAX, false},
    };
    for (const Case& c : cases) {
        PutClipboard(c.clip);
        TScheme t;
        t.CreateAndElement()->SetX(40);
        t.SetModified(false);
        const std::string before = t.SaveToBytes();
        TestUiPort ui;
        EXPECT_EQ(t.Paste(c.x, 0), c.pastes) << c.what;
        if (c.pastes) {
            EXPECT_TRUE(ui.Messages().empty()) << c.what;
            ASSERT_EQ(t.Selection().size(), 1u) << c.what;
            EXPECT_EQ(t.Selection()[0]->GetX(), c.x) << c.what;
        } else {
            ASSERT_EQ(ui.Messages().size(), 1u) << c.what;
            EXPECT_EQ(ui.Messages()[0], "Файл разрушен!!"_a) << c.what;
            EXPECT_EQ(t.SaveToBytes(), before) << c.what;
            EXPECT_FALSE(t.IsModified()) << c.what;
        }
    }
}

} // namespace
