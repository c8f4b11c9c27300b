// Positions at and beyond the limits a scheme keeps: damaged files and
// clipboard fragments that once overflowed the geometry, the bound itself,
// and drawing far out at the largest zoom.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>

#include "common/TestEnv.h"
#include "document/Scheme.h"
#include "model/Link.h"
#include "model/Painter.h"
#include "platform/Bitmap.h"
#include "platform/testing/TestUiPort.h"

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

uint32_t GetU32(const std::string& b, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(b[at + std::size_t(i)]);
    return v;
}

void PutI32(std::string& b, std::size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = char((uint32_t(v) >> (8 * i)) & 0xFF);
}

TEST(SchemeLimits, EveryStoredPositionIsCheckedAgainstTheBound) {
    // An element and a wire; each stored position in turn takes the value.
    TScheme s;
    TAndElement* a = s.CreateAndElement();
    a->SetName("A");
    a->SetX(10);
    a->SetY(10);
    s.CreateWire(0, 500, 40, 500)->SetName("W");
    const std::string good = s.SaveToBytes();
    const std::size_t element = 128 + 9; // after the headers and the scheme record
    const std::size_t wire = element + 5 + GetU32(good, element + 1);
    ASSERT_EQ(good[wire], 27);
    // Body offsets: a one-letter name (3 bytes) and the mirrored flag, then X, Y;
    // a wire then has its ends.
    const std::size_t fields[] = {element + 5 + 4, element + 5 + 8, wire + 5 + 4,  wire + 5 + 8,
                                  wire + 5 + 12,   wire + 5 + 16,   wire + 5 + 20, wire + 5 + 24};
    struct Case {
        int value;
        bool loads;
    } cases[] = {{kMaxCoord, true},      {-kMaxCoord, true}, {kMaxCoord + 1, false},
                 {-kMaxCoord - 1, false}, {INT_MAX, false},   {INT_MIN, false}};
    for (std::size_t field : fields) {
        for (const Case& c : cases) {
            std::string bytes = good;
            PutI32(bytes, field, c.value);
            TestUiPort ui;
            TScheme t;
            EXPECT_EQ(t.LoadFromBytes(bytes), c.loads) << field << " " << c.value;
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
