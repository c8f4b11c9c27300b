#pragma once
// Points, sizes and rectangles in the old platform's convention: a rectangle
// holds the pixels from (Left, Top) up to but not including (Right, Bottom), so
// Width() is Right - Left and a point on the right or bottom edge lies outside.

#include <span>
#include <utility>
#include <vector>

struct TPoint {
    int x = 0;
    int y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int ax, int ay) : x(ax), y(ay) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint topLeft, TPoint bottomRight)
        : Left(topLeft.x), Top(topLeft.y), Right(bottomRight.x), Bottom(bottomRight.y) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    // The same rectangle with Left <= Right and Top <= Bottom.
    constexpr TRect Normalized() const {
        return {Left < Right ? Left : Right, Top < Bottom ? Top : Bottom,
                Left < Right ? Right : Left, Top < Bottom ? Bottom : Top};
    }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// Left and top edges inside, right and bottom edges outside.
constexpr bool PtInRect(const TRect& r, TPoint p) {
    return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}
constexpr bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
constexpr bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

// dst = the common part; an empty result is (0, 0, 0, 0) and gives false.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// dst = the smallest rectangle holding both; empty inputs are ignored.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
void OffsetRect(TRect& r, int dx, int dy);
void InflateRect(TRect& r, int dx, int dy);

// Polygon fill rules.
enum { ALTERNATE = 1, WINDING = 2 };

// The pixels of row y that a polygon covers, as [x0, x1) runs in increasing
// order. A pixel is covered when its centre lies inside the outline under the
// fill rule. Canvas polygons, polygon regions and PtInPolygon all use this, so
// a hit test agrees with what is drawn.
std::vector<std::pair<int, int>> PolygonRowRuns(std::span<const TPoint> points, int y, int fillMode);

// Whether the pixel p belongs to the polygon (fill rule as above).
bool PtInPolygon(std::span<const TPoint> points, TPoint p, int fillMode = ALTERNATE);
