#include "platform/Types.h"

#include <algorithm>
#include <climits>
#include <cmath>

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
    TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
    if (IsRectEmpty(r)) {
        dst = TRect();
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
    if (IsRectEmpty(a)) {
        dst = IsRectEmpty(b) ? TRect() : b;
    } else if (IsRectEmpty(b)) {
        dst = a;
    } else {
        dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
    }
    return !IsRectEmpty(dst);
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

std::vector<std::pair<int, int>> PolygonRowRuns(std::span<const TPoint> points, int y, int fillMode) {
    std::vector<std::pair<int, int>> runs;
    const std::size_t n = points.size();
    if (n < 3) return runs;
    // The scan line runs through the pixel centres; vertices lie on whole
    // numbers, so it never passes exactly through one.
    const double yc = y + 0.5;
    struct Crossing {
        double x;
        int dir;
    };
    std::vector<Crossing> xs;
    for (std::size_t i = 0; i < n; ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % n];
        if (a.y == b.y) continue;
        const int lo = std::min(a.y, b.y), hi = std::max(a.y, b.y);
        if (yc < lo || yc > hi) continue;
        const double x = a.x + (yc - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
        xs.push_back({x, b.y > a.y ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    // Pixel x is inside when its centre x + 0.5 lies in [from, to).
    auto toInt = [](double v) { return int(std::clamp(v, double(INT_MIN), double(INT_MAX))); };
    auto add = [&](double from, double to) {
        const int x0 = toInt(std::ceil(from - 0.5)), x1 = toInt(std::ceil(to - 0.5));
        if (x1 <= x0) return;
        if (!runs.empty() && runs.back().second >= x0) {
            runs.back().second = std::max(runs.back().second, x1);
        } else {
            runs.emplace_back(x0, x1);
        }
    };
    if (fillMode == WINDING) {
        int winding = 0;
        double start = 0;
        for (const Crossing& c : xs) {
            const int before = winding;
            winding += c.dir;
            if (before == 0 && winding != 0) start = c.x;
            if (before != 0 && winding == 0) add(start, c.x);
        }
    } else {
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2) add(xs[i].x, xs[i + 1].x);
    }
    return runs;
}

bool PtInPolygon(std::span<const TPoint> points, TPoint p, int fillMode) {
    for (const auto& [x0, x1] : PolygonRowRuns(points, p.y, fillMode)) {
        if (p.x >= x0 && p.x < x1) return true;
    }
    return false;
}
