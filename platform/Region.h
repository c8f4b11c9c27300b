#pragma once
// TRegion: a set of pixels held as non-overlapping rectangles, sorted in rows
// of equal height (bands) and from left to right inside a band. It stands in
// for the old platform's region handles: clip regions of a canvas and hit tests
// against rectangles and polygons. A value type; copies are independent.

#include <span>
#include <vector>

#include "platform/Types.h"

// Kinds of region, as the old platform's calls answer them.
enum { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
// Combination modes.
enum { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

class TRegion {
public:
    TRegion() = default;
    // The pixels of r; the corners may come in any order.
    explicit TRegion(const TRect& r);
    // The pixels whose centres lie inside the polygon (ALTERNATE or WINDING).
    static TRegion FromPolygon(std::span<const TPoint> points, int fillMode);

    bool IsEmpty() const { return rects_.empty(); }
    int Kind() const { return rects_.empty() ? NULLREGION : rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION; }
    TRect Bounds() const;
    bool Contains(int x, int y) const;
    const std::vector<TRect>& Rects() const { return rects_; }
    void Offset(int dx, int dy);
    // a AND / OR / XOR / DIFF b; RGN_COPY gives a.
    static TRegion Combine(const TRegion& a, const TRegion& b, int mode);

    friend bool operator==(const TRegion& a, const TRegion& b) { return a.rects_ == b.rects_; }

private:
    // Appends the runs of one band, joining it to the band above when that
    // ends at top and holds the same runs.
    void AddBand(int top, int bottom, const std::vector<std::pair<int, int>>& runs);
    std::vector<TRect> rects_;
};

// The old platform's region calls, on values.
TRegion CreateRectRgn(int left, int top, int right, int bottom);
TRegion CreateRectRgnIndirect(const TRect& r);
TRegion CreatePolygonRgn(std::span<const TPoint> points, int fillMode);
// dst = a combined with b; answers the kind of the result.
int CombineRgn(TRegion& dst, const TRegion& a, const TRegion& b, int mode);
bool PtInRegion(const TRegion& rgn, int x, int y);
int OffsetRgn(TRegion& rgn, int dx, int dy);
int GetRgnBox(const TRegion& rgn, TRect& box);
