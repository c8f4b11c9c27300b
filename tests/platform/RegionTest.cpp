// Rectangles, polygons and regions: the edge rules and the set operations,
// checked against a pixel-by-pixel model.

#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "platform/Region.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels PixelsOf(const TRegion& r) {
    Pixels p;
    for (const TRect& rc : r.Rects())
        for (int y = rc.Top; y < rc.Bottom; ++y)
            for (int x = rc.Left; x < rc.Right; ++x) EXPECT_TRUE(p.insert({x, y}).second) << "overlapping rectangles";
    return p;
}

Pixels Box(int l, int t, int r, int b) { return PixelsOf(CreateRectRgn(l, t, r, b)); }

TEST(Types, PointInRectangleKeepsLeftAndTopEdgesOnly) {
    const TRect r(10, 20, 30, 40);
    EXPECT_TRUE(PtInRect(r, {10, 20}));
    EXPECT_TRUE(PtInRect(r, {29, 39}));
    EXPECT_FALSE(PtInRect(r, {30, 25}));
    EXPECT_FALSE(PtInRect(r, {15, 40}));
    EXPECT_FALSE(PtInRect(r, {9, 25}));
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(Bounds(1, 2, 3, 4), Rect(1, 2, 4, 6));
    TRect out;
    EXPECT_TRUE(IntersectRect(out, r, Rect(25, 0, 50, 22)));
    EXPECT_EQ(out, Rect(25, 20, 30, 22));
    EXPECT_FALSE(IntersectRect(out, r, Rect(30, 20, 40, 40)));
    EXPECT_EQ(out, TRect());
    EXPECT_TRUE(UnionRect(out, r, Rect(0, 0, 1, 1)));
    EXPECT_EQ(out, Rect(0, 0, 30, 40));
    EXPECT_TRUE(UnionRect(out, TRect(), r));
    EXPECT_EQ(out, r);
    OffsetRect(out, -10, 5);
    InflateRect(out, 2, -1);
    EXPECT_EQ(out, Rect(-2, 26, 22, 44));
    EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 5, 9)));
}

TEST(Region, CombinationsMatchThePixelModel) {
    const TRegion a = CreateRectRgn(0, 0, 10, 6), b = CreateRectRgn(4, 3, 14, 12);
    TRegion ab;
    CombineRgn(ab, a, b, RGN_OR);
    const TRegion c = CreatePolygonRgn(std::vector<TPoint>{{2, 2}, {12, 4}, {5, 11}}, ALTERNATE);
    const Pixels pa = PixelsOf(a), pb = PixelsOf(b);
    struct Op {
        int mode;
        bool (*in)(bool, bool);
    };
    const Op ops[] = {
        {RGN_AND, [](bool x, bool y) { return x && y; }},  {RGN_OR, [](bool x, bool y) { return x || y; }},
        {RGN_XOR, [](bool x, bool y) { return x != y; }},  {RGN_DIFF, [](bool x, bool y) { return x && !y; }},
        {RGN_COPY, [](bool x, bool) { return x; }},
    };
    for (const auto& [left, right] : {std::pair{a, b}, std::pair{ab, c}, std::pair{c, a}}) {
        const Pixels pl = PixelsOf(left), pr = PixelsOf(right);
        for (const Op& op : ops) {
            TRegion out;
            const int kind = CombineRgn(out, left, right, op.mode);
            Pixels expect;
            for (int y = -2; y < 16; ++y)
                for (int x = -2; x < 16; ++x)
                    if (op.in(pl.count({x, y}) > 0, pr.count({x, y}) > 0)) expect.insert({x, y});
            EXPECT_EQ(PixelsOf(out), expect) << "mode " << op.mode;
            EXPECT_EQ(kind, expect.empty() ? NULLREGION : out.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION);
            for (int y = -2; y < 16; ++y)
                for (int x = -2; x < 16; ++x) ASSERT_EQ(PtInRegion(out, x, y), expect.count({x, y}) > 0);
        }
    }
    // Bands with the same runs are joined: an L shape is two rectangles.
    TRegion l;
    CombineRgn(l, CreateRectRgn(0, 0, 4, 10), CreateRectRgn(0, 6, 9, 10), RGN_OR);
    EXPECT_EQ(l.Rects().size(), 2u);
    EXPECT_EQ(l.Bounds(), Rect(0, 0, 9, 10));
    TRegion again;
    CombineRgn(again, l, CreateRectRgn(0, 0, 4, 6), RGN_OR);
    EXPECT_EQ(again, l);
    EXPECT_EQ(CombineRgn(again, l, l, 99), RGN_ERROR);
    EXPECT_EQ(pa.size(), 60u);
    EXPECT_EQ(pb.size(), 90u);
}

TEST(Region, PolygonRegionAgreesWithThePointTestAndTheFillRule) {
    const std::vector<TPoint> star = {{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
    for (int mode : {ALTERNATE, WINDING}) {
        const TRegion r = CreatePolygonRgn(star, mode);
        for (int y = -1; y < 40; ++y)
            for (int x = -1; x < 42; ++x) ASSERT_EQ(PtInRegion(r, x, y), PtInPolygon(star, {x, y}, mode)) << x << "," << y;
    }
    // The star's middle is inside only under the winding rule.
    EXPECT_FALSE(PtInPolygon(star, {20, 20}, ALTERNATE));
    EXPECT_TRUE(PtInPolygon(star, {20, 20}, WINDING));
    EXPECT_TRUE(PtInPolygon(star, {20, 5}, ALTERNATE));
    // A square polygon covers the same pixels as the rectangle.
    const std::vector<TPoint> sq = {{2, 3}, {7, 3}, {7, 9}, {2, 9}};
    EXPECT_EQ(PixelsOf(CreatePolygonRgn(sq, ALTERNATE)), Box(2, 3, 7, 9));
    EXPECT_TRUE(CreatePolygonRgn(std::vector<TPoint>{{0, 0}, {5, 5}}, WINDING).IsEmpty());
}

TEST(Region, OffsetBoxAndReversedCorners) {
    TRegion r = CreateRectRgn(8, 9, 2, 3);
    EXPECT_EQ(r.Bounds(), Rect(2, 3, 8, 9));
    EXPECT_EQ(OffsetRgn(r, 10, -3), SIMPLEREGION);
    TRect box;
    EXPECT_EQ(GetRgnBox(r, box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(12, 0, 18, 6));
    EXPECT_EQ(CreateRectRgn(1, 1, 1, 5).Kind(), NULLREGION);
}

} // namespace
