#include "platform/Region.h"

#include <algorithm>

namespace {

using Runs = std::vector<std::pair<int, int>>;

// The runs of a banded rectangle list that cover the band [top, bottom); the
// band never straddles a band boundary of the list.
Runs RunsIn(const std::vector<TRect>& rects, int top, int bottom) {
    Runs runs;
    for (const TRect& r : rects) {
        if (r.Top <= top && r.Bottom >= bottom) runs.emplace_back(r.Left, r.Right);
        if (r.Top >= bottom) break;
    }
    return runs;
}

bool Inside(const Runs& runs, std::size_t& i, int x) {
    while (i < runs.size() && runs[i].second <= x) ++i;
    return i < runs.size() && runs[i].first <= x;
}

Runs CombineRuns(const Runs& a, const Runs& b, int mode) {
    std::vector<int> xs;
    for (const auto& [l, r] : a) xs.insert(xs.end(), {l, r});
    for (const auto& [l, r] : b) xs.insert(xs.end(), {l, r});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    Runs out;
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        const bool inA = Inside(a, ia, xs[k]), inB = Inside(b, ib, xs[k]);
        bool in = false;
        switch (mode) {
        case RGN_AND: in = inA && inB; break;
        case RGN_OR: in = inA || inB; break;
        case RGN_XOR: in = inA != inB; break;
        case RGN_DIFF: in = inA && !inB; break;
        default: in = inA; break;
        }
        if (!in) continue;
        if (!out.empty() && out.back().second == xs[k]) {
            out.back().second = xs[k + 1];
        } else {
            out.emplace_back(xs[k], xs[k + 1]);
        }
    }
    return out;
}

} // namespace

TRegion::TRegion(const TRect& r) {
    const TRect n = r.Normalized();
    if (!IsRectEmpty(n)) rects_.push_back(n);
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points, int fillMode) {
    TRegion rgn;
    if (points.size() < 3) return rgn;
    int top = points[0].y, bottom = points[0].y;
    for (const TPoint& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    for (int y = top; y < bottom; ++y) rgn.AddBand(y, y + 1, PolygonRowRuns(points, y, fillMode));
    return rgn;
}

void TRegion::AddBand(int top, int bottom, const Runs& runs) {
    if (runs.empty()) return;
    // The band above: the trailing rectangles that share one Top.
    std::size_t first = rects_.size();
    while (first > 0 && rects_[first - 1].Top == rects_.back().Top) --first;
    const bool joinable = first < rects_.size() && rects_.back().Bottom == top && rects_.size() - first == runs.size() &&
                          std::equal(runs.begin(), runs.end(), rects_.begin() + std::ptrdiff_t(first),
                                     [](const std::pair<int, int>& run, const TRect& r) {
                                         return run.first == r.Left && run.second == r.Right;
                                     });
    if (joinable) {
        for (std::size_t i = first; i < rects_.size(); ++i) rects_[i].Bottom = bottom;
        return;
    }
    for (const auto& [l, r] : runs) rects_.emplace_back(l, top, r, bottom);
}

TRect TRegion::Bounds() const {
    if (rects_.empty()) return {};
    TRect b = rects_.front();
    for (const TRect& r : rects_) UnionRect(b, b, r);
    return b;
}

bool TRegion::Contains(int x, int y) const {
    for (const TRect& r : rects_) {
        if (r.Top > y) break;
        if (PtInRect(r, {x, y})) return true;
    }
    return false;
}

void TRegion::Offset(int dx, int dy) {
    for (TRect& r : rects_) OffsetRect(r, dx, dy);
}

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, int mode) {
    if (mode == RGN_COPY) return a;
    std::vector<int> ys;
    for (const TRect& r : a.rects_) ys.insert(ys.end(), {r.Top, r.Bottom});
    for (const TRect& r : b.rects_) ys.insert(ys.end(), {r.Top, r.Bottom});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    TRegion out;
    for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
        out.AddBand(ys[k], ys[k + 1],
                    CombineRuns(RunsIn(a.rects_, ys[k], ys[k + 1]), RunsIn(b.rects_, ys[k], ys[k + 1]), mode));
    }
    return out;
}

TRegion CreateRectRgn(int left, int top, int right, int bottom) { return TRegion(TRect(left, top, right, bottom)); }

TRegion CreateRectRgnIndirect(const TRect& r) { return TRegion(r); }

TRegion CreatePolygonRgn(std::span<const TPoint> points, int fillMode) { return TRegion::FromPolygon(points, fillMode); }

int CombineRgn(TRegion& dst, const TRegion& a, const TRegion& b, int mode) {
    if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
    dst = TRegion::Combine(a, b, mode);
    return dst.Kind();
}

bool PtInRegion(const TRegion& rgn, int x, int y) { return rgn.Contains(x, y); }

int OffsetRgn(TRegion& rgn, int dx, int dy) {
    rgn.Offset(dx, dy);
    return rgn.Kind();
}

int GetRgnBox(const TRegion& rgn, TRect& box) {
    box = rgn.Bounds();
    return rgn.Kind();
}
