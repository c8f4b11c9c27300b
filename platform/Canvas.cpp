#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "platform/Bitmap.h"
#include "platform/QtText.h"

// Pixels of a figure in device coordinates, as [x0, x1) runs per row: the pen
// part (outline, glyphs) and the brush part (inside, text background). After
// Normalize the runs of each part are sorted and disjoint and the brush part
// leaves out every pen pixel, so each pixel is painted exactly once.
struct TCanvas::Runs {
    struct Run {
        int y, x0, x1;
    };
    std::vector<Run> pen;
    std::vector<Run> fill;

    void Pen(int y, int x0, int x1) { if (x1 > x0) pen.push_back({y, x0, x1}); }
    void Fill(int y, int x0, int x1) { if (x1 > x0) fill.push_back({y, x0, x1}); }
    void FillRect(const TRect& r) { for (int y = r.Top; y < r.Bottom; ++y) Fill(y, r.Left, r.Right); }

    static void Merge(std::vector<Run>& v) {
        auto before = [](const Run& a, const Run& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
        // Lines come in order, or in reverse order; sort only what is mixed.
        if (!std::is_sorted(v.begin(), v.end(), before)) {
            std::reverse(v.begin(), v.end());
            if (!std::is_sorted(v.begin(), v.end(), before)) std::sort(v.begin(), v.end(), before);
        }
        std::size_t out = 0;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (out > 0 && v[out - 1].y == v[i].y && v[i].x0 <= v[out - 1].x1) {
                v[out - 1].x1 = std::max(v[out - 1].x1, v[i].x1);
            } else {
                v[out++] = v[i];
            }
        }
        v.resize(out);
    }

    void Normalize() {
        Merge(pen);
        Merge(fill);
        if (pen.empty() || fill.empty()) return;
        std::vector<Run> rest;
        std::size_t p = 0;
        for (Run f : fill) {
            while (p < pen.size() && (pen[p].y < f.y || (pen[p].y == f.y && pen[p].x1 <= f.x0))) ++p;
            for (std::size_t q = p; q < pen.size() && pen[q].y == f.y && pen[q].x0 < f.x1; ++q) {
                if (pen[q].x0 > f.x0) rest.push_back({f.y, f.x0, pen[q].x0});
                f.x0 = std::max(f.x0, pen[q].x1);
            }
            if (f.x1 > f.x0) rest.push_back(f);
        }
        fill = std::move(rest);
    }

    // Keeps only what lies inside r.
    void Restrict(const TRect& r) {
        for (auto* v : {&pen, &fill}) {
            std::size_t out = 0;
            for (Run run : *v) {
                if (run.y < r.Top || run.y >= r.Bottom) continue;
                run.x0 = std::max(run.x0, r.Left);
                run.x1 = std::min(run.x1, r.Right);
                if (run.x1 > run.x0) (*v)[out++] = run;
            }
            v->resize(out);
        }
    }
};

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFu;

// 0xRRGGBB, the order of the image's pixels.
uint32_t Rgb(TColor c) { return ToQRgb(c) & 0xFFFFFFu; }


// Black or white, whichever is nearer: how a two-colour surface shows a colour.
uint32_t Nearest(uint32_t p) {
    const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? kWhite : 0;
}

uint32_t Rop2(int mode, uint32_t d, uint32_t p) {
    switch (mode) {
    case pmBlack: return 0;
    case pmWhite: return kWhite;
    case pmNop: return d;
    case pmNot: return ~d;
    case pmCopy: return p;
    case pmNotCopy: return ~p;
    case pmMergePenNot: return p | ~d;
    case pmMaskPenNot: return p & ~d;
    case pmMergeNotPen: return ~p | d;
    case pmMaskNotPen: return ~p & d;
    case pmMerge: return p | d;
    case pmNotMerge: return ~(p | d);
    case pmMask: return p & d;
    case pmNotMask: return ~(p & d);
    case pmXor: return p ^ d;
    case pmNotXor: return ~(p ^ d);
    default: return d;
    }
}

// The ternary raster operation: bit (p << 2 | s << 1 | d) of code is the
// result, taken bit by bit over the 24 colour bits.
uint32_t Rop3(uint32_t code, uint32_t p, uint32_t s, uint32_t d) {
    switch (code) {
    case 0xCC: return s;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x33: return ~s;
    case 0xAA: return d;
    default: break;
    }
    uint32_t r = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        if (code >> i & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

void Rop2Span(uint32_t* row, int x0, int x1, uint32_t p, int mode) {
    if (mode == pmCopy) {
        std::fill(row + x0, row + x1, kOpaque | p);
    } else if (mode == pmXor) {
        for (int x = x0; x < x1; ++x) row[x] ^= p;
    } else {
        for (int x = x0; x < x1; ++x) row[x] = kOpaque | (Rop2(mode, row[x], p) & kWhite);
    }
}

bool HatchAt(TBrushStyle s, int x, int y) {
    const bool h = (y & 7) == 0, v = (x & 7) == 0, f = ((x - y) & 7) == 0, b = ((x + y) & 7) == 0;
    switch (s) {
    case bsHorizontal: return h;
    case bsVertical: return v;
    case bsFDiagonal: return f;
    case bsBDiagonal: return b;
    case bsCross: return h || v;
    case bsDiagCross: return f || b;
    default: return true;
    }
}

// Dash patterns of one-pixel pens, in pixels on, off, on, off...
std::span<const int> DashPattern(TPenStyle s) {
    static const int dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6}, dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (s) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return {};
    }
}

// Calls plot(x, y, i) for the pixels of the line from a to b, b left out; i
// counts the steps from a. Only the steps whose pixels can lie in lim are
// visited, so a line far outside the image costs nothing. The pixel of step i
// is the ideal line rounded on the minor axis, the same whatever lim is.
template <class F>
void RasterLine(TPoint a, TPoint b, const TRect& lim, F&& plot) {
    const long long dx = std::llabs((long long)b.x - a.x), dy = std::llabs((long long)b.y - a.y);
    const int sx = b.x >= a.x ? 1 : -1, sy = b.y >= a.y ? 1 : -1;
    const bool xMajor = dx >= dy;
    const long long n = xMajor ? dx : dy, m = xMajor ? dy : dx;
    if (n == 0) return;
    long long lo = 0, hi = n;
    const long long start = xMajor ? a.x : a.y, minV = xMajor ? lim.Left : lim.Top, maxV = xMajor ? lim.Right : lim.Bottom;
    if ((xMajor ? sx : sy) > 0) {
        lo = std::max(lo, minV - start);
        hi = std::min(hi, maxV - start);
    } else {
        lo = std::max(lo, start - maxV + 1);
        hi = std::min(hi, start - minV + 1);
    }
    if (lo >= hi) return;
    // minor(i) = (2 i m + n) div 2n, stepped with its remainder.
    const __int128 first = static_cast<__int128>(2 * lo) * m + n;
    long long minor = static_cast<long long>(first / (2 * n)), rem = static_cast<long long>(first % (2 * n));
    for (long long i = lo; i < hi; ++i, rem += 2 * m) {
        if (rem >= 2 * n) {
            rem -= 2 * n;
            ++minor;
        }
        const long long x = xMajor ? a.x + sx * i : a.x + sx * minor;
        const long long y = xMajor ? a.y + sy * minor : a.y + sy * i;
        if (x < lim.Left || x >= lim.Right || y < lim.Top || y >= lim.Bottom) continue;
        plot(int(x), int(y), i);
    }
}

// The runs of a round pen tip of width w around the origin, per row offset.
std::vector<TCanvas::Runs::Run> PenTip(int w) {
    std::vector<TCanvas::Runs::Run> tip;
    const double c = (w % 2) ? 0.0 : -0.5, r = w / 2.0;
    for (int dy = int(std::ceil(c - r)); dy <= int(std::floor(c + r)); ++dy) {
        const double t = dy - c;
        if (std::abs(t) > r) continue;
        const double h = std::sqrt(r * r - t * t);
        const int x0 = int(std::ceil(c - h)), x1 = int(std::floor(c + h)) + 1;
        if (x1 > x0) tip.push_back({dy, x0, x1});
    }
    return tip;
}

// The rows of the ellipse inscribed in box (pixel centres inside it) from row
// first to row last - 1.
std::vector<std::pair<int, int>> EllipseRows(const TRect& box, int first, int last) {
    std::vector<std::pair<int, int>> rows;
    const double a = (double(box.Right) - box.Left) / 2.0, b = (double(box.Bottom) - box.Top) / 2.0;
    const double cx = (double(box.Left) + box.Right) / 2.0, cy = (double(box.Top) + box.Bottom) / 2.0;
    for (int y = first; y < last; ++y) {
        const double t = (y + 0.5 - cy) / b;
        if (a <= 0 || b <= 0 || std::abs(t) > 1) {
            rows.emplace_back(0, 0);
            continue;
        }
        const double dx = a * std::sqrt(1 - t * t);
        // Every row of the box keeps at least its middle pixel (two for an
        // even width), so that narrow ellipses reach the top and bottom edges.
        const int x0 = std::max(box.Left, std::min(int(std::ceil(cx - dx - 0.5)), int(std::ceil(cx - 1))));
        const int x1 = std::min(box.Right, std::max(int(std::floor(cx + dx - 0.5)) + 1, int(std::floor(cx)) + 1));
        rows.emplace_back(x0, std::max(x0, x1));
    }
    return rows;
}

// The outline of a row set: its pixels with a neighbour (left, right, up,
// down) outside, which is a closed line without gaps.
template <class F>
void OutlineOfRows(const std::vector<std::pair<int, int>>& rows, int top, F&& add) {
    const int n = int(rows.size());
    auto row = [&](int i) { return i < 0 || i >= n ? std::pair<int, int>(0, 0) : rows[std::size_t(i)]; };
    for (int i = 0; i < n; ++i) {
        const auto [a, b] = rows[std::size_t(i)];
        if (b <= a) continue;
        const auto up = row(i - 1), down = row(i + 1);
        int lo = std::max({a + 1, up.first, down.first}), hi = std::min({b - 1, up.second, down.second});
        if (up.second <= up.first || down.second <= down.first || hi <= lo) lo = hi = b;
        add(top + i, a, lo);
        add(top + i, hi, b);
    }
}

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxPenWidth = 1024;

} // namespace

// ---- set-up -------------------------------------------------------------------

TCanvas::TCanvas(QImage* image, int pixelsPerInch) {
    SetImage(image);
    brush_.ownerHook_ = [this] { BrushChanged(); };
    SetPixelsPerInch(pixelsPerInch);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetImage(QImage* image) {
    if (image && !image->isNull() && image->format() != QImage::Format_RGB32)
        throw EInvalidOperation("Canvas needs an RGB32 image");
    image_ = image;
}

void TCanvas::SetPixelsPerInch(int ppi) {
    ppi_ = ppi > 0 ? ppi : 96;
    if (font_.PixelsPerInch() == ppi_) return;
    const int size = font_.Size();
    font_.SetPixelsPerInch(ppi_);
    font_.SetSize(size);
}

void TCanvas::SetViewport(const TRect& viewport) {
    viewport_ = viewport.Normalized();
    origin_ = viewport_->TopLeft();
}

void TCanvas::ResetViewport() {
    viewport_.reset();
    origin_ = {};
}

void TCanvas::BrushChanged() { bkMode_ = brush_.Style() == bsSolid ? OPAQUE : TRANSPARENT; }

void TCanvas::Changed() {
    if (ownerHook_) ownerHook_();
    if (OnChange) OnChange(this);
}

bool TCanvas::Drawable() const {
    return image_ && !image_->isNull() && image_->format() == QImage::Format_RGB32;
}

TRect TCanvas::DeviceBounds() const {
    if (!Drawable()) return {};
    TRect b(0, 0, image_->width(), image_->height());
    if (viewport_) IntersectRect(b, b, *viewport_);
    return b;
}

uint32_t TCanvas::MapColor(TColor c) const {
    const uint32_t p = Rgb(c);
    return monochrome_ ? Nearest(p) : p;
}

unsigned TCanvas::SetTextAlign(unsigned align) {
    const unsigned old = textAlign_;
    textAlign_ = align;
    return old;
}

int TCanvas::SetBkMode(int mode) {
    const int old = bkMode_;
    if (mode == TRANSPARENT || mode == OPAQUE) bkMode_ = mode;
    return old;
}

int TCanvas::SetStretchBltMode(int mode) {
    const int old = stretchMode_;
    if (mode == BLACKONWHITE || mode == WHITEONBLACK) stretchMode_ = mode;
    return old;
}

// ---- painting runs --------------------------------------------------------------

namespace {

bool fastPaths = true;

// Where one drawing operation writes: the rows of the image, the device
// bounds (the image cut to the viewport) and the clip region, which is folded
// into the bounds when it is one rectangle. The rows are fetched on the first
// write, so an operation that changes nothing leaves a shared image shared.
class Surface {
public:
    Surface(QImage* image, const TRect& bounds, const std::optional<TRegion>& clip) : image_(image), bounds_(bounds) {
        if (clip && clip->Rects().size() <= 1) {
            if (!clip->IsEmpty()) IntersectRect(bounds_, bounds_, clip->Rects().front());
            else bounds_ = TRect();
        } else if (clip) {
            rects_ = &clip->Rects();
        }
        if (IsRectEmpty(bounds_)) bounds_ = TRect();
    }
    const TRect& Bounds() const { return bounds_; }
    uint32_t* Row(int y) {
        if (!bits_) {
            bits_ = reinterpret_cast<uint32_t*>(image_->bits());
            stride_ = image_->bytesPerLine() / 4;
        }
        return bits_ + qsizetype(y) * stride_;
    }
    // Calls f(y, a, b) for the parts [a, b) of the run [x0, x1) of row y
    // inside the bounds and the clip region.
    template <class F>
    void Each(int y, int x0, int x1, F&& f) const {
        if (y < bounds_.Top || y >= bounds_.Bottom) return;
        x0 = std::max(x0, bounds_.Left);
        x1 = std::min(x1, bounds_.Right);
        if (x0 >= x1) return;
        if (!rects_) return f(y, x0, x1);
        // The region's rectangles come in bands from top to bottom.
        auto r = std::partition_point(rects_->begin(), rects_->end(), [y](const TRect& q) { return q.Bottom <= y; });
        for (; r != rects_->end() && r->Top <= y; ++r) {
            const int a = std::max(x0, r->Left), b = std::min(x1, r->Right);
            if (a < b) f(y, a, b);
        }
    }

private:
    QImage* image_;
    TRect bounds_;
    const std::vector<TRect>* rects_ = nullptr;
    uint32_t* bits_ = nullptr;
    qsizetype stride_ = 0;
};

// Paints the pixels of a one-pixel figure as they come, joining neighbours on
// a row into one run. Only for figures that never give a pixel twice (a single
// straight line does not).
class DirectPen {
public:
    DirectPen(Surface& surface, uint32_t color, int mode) : s_(surface), color_(color), mode_(mode) {}
    ~DirectPen() { Flush(); }
    void operator()(int y, int x0, int x1) {
        if (x1 <= x0) return;
        if (y == y_ && x0 == x1_) {
            x1_ = x1;
        } else if (y == y_ && x1 == x0_) {
            x0_ = x0;
        } else {
            Flush();
            y_ = y;
            x0_ = x0;
            x1_ = x1;
        }
    }

private:
    void Flush() {
        if (x1_ > x0_) s_.Each(y_, x0_, x1_, [this](int y, int a, int b) { Rop2Span(s_.Row(y), a, b, color_, mode_); });
        x1_ = x0_;
    }
    Surface& s_;
    uint32_t color_;
    int mode_;
    int y_ = 0, x0_ = 0, x1_ = 0;
};

// Four at a time, so that the compiler combines them.
void InvertSpan(uint32_t* p, int n, uint32_t v) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        p[i] ^= v;
        p[i + 1] ^= v;
        p[i + 2] ^= v;
        p[i + 3] ^= v;
    }
    for (; i < n; ++i) p[i] ^= v;
}

// A scaled copy of a plain picture (no mask, no transparent colour, the same
// kind of canvas) that only copies or inverts. Each source row becomes runs
// of equal source pixels across the destination columns once, and every
// destination row showing that source row applies the runs: a whole span of
// equal pixels at a time, and under inversion a black span is not touched at
// all. Gives exactly the general way's pixels.
void ScaledBlit(Surface& surface, const QImage& src, const std::vector<long long>& sxs, const TRect& vis,
                const TRect& dn, const TRect& sn, long long sh, long long dh, bool flipY, bool invert) {
    struct Run {
        int x0, x1;
        uint32_t value;
    };
    // Destination columns by source column: spans that read one source pixel
    // (columns outside the source are left alone).
    std::vector<Run> columns;
    for (int x = vis.Left; x < vis.Right; ++x) {
        const long long sx = sxs[std::size_t(x - vis.Left)];
        if (sx < 0 || sx >= src.width()) continue;
        if (!columns.empty() && columns.back().x1 == x && columns.back().value == uint32_t(sx)) ++columns.back().x1;
        else columns.push_back({x, x + 1, uint32_t(sx)});
    }
    std::vector<Run> runs;
    long long builtFor = -1;
    for (int y = vis.Top; y < vis.Bottom; ++y) {
        const long long j = (long long)y - dn.Top, k = (2 * j + 1) * sh / (2 * dh);
        const long long sy = sn.Top + (flipY ? sh - 1 - k : k);
        if (sy < 0 || sy >= src.height()) continue;
        if (sy != builtFor) {
            builtFor = sy;
            runs.clear();
            const auto* srow = reinterpret_cast<const uint32_t*>(src.constScanLine(int(sy)));
            for (const Run& c : columns) {
                const uint32_t v = srow[c.value] & kWhite;
                if (!runs.empty() && runs.back().x1 == c.x0 && runs.back().value == v) runs.back().x1 = c.x1;
                else runs.push_back({c.x0, c.x1, v});
            }
        }
        surface.Each(y, vis.Left, vis.Right, [&](int row, int a, int b) {
            uint32_t* out = surface.Row(row);
            for (const Run& r : runs) {
                const int x0 = std::max(r.x0, a), x1 = std::min(r.x1, b);
                if (x0 >= x1) continue;
                const uint32_t v = r.value;
                if (!invert) std::fill(out + x0, out + x1, kOpaque | v);
                else if (v != 0) InvertSpan(out + x0, x1 - x0, v);
            }
        });
    }
}

} // namespace

void TCanvas::SetFastPaths(bool on) { fastPaths = on; }

void TCanvas::BrushSpan(uint32_t* row, int y, int a, int b, int mode, uint32_t color) const {
    const TBrushStyle style = brush_.Style();
    if (style == bsClear) return;
    if (brush_.HasPattern()) {
        for (int x = a; x < b; ++x) {
            const uint32_t p = brush_.PatternPixel(x, y);
            Rop2Span(row, x, x + 1, monochrome_ ? Nearest(p) : p, mode);
        }
    } else if (style != bsSolid) {
        for (int x = a; x < b; ++x) {
            if (HatchAt(style, x, y)) Rop2Span(row, x, x + 1, color, mode);
        }
    } else {
        Rop2Span(row, a, b, color, mode);
    }
}

// Pen runs in penColor; brush runs with the brush (useBrush) or in backColor.
void TCanvas::Paint(const Runs& runs, int mode, uint32_t penColor, bool useBrush, uint32_t backColor) {
    if (!Drawable()) return;
    Surface s(image_, DeviceBounds(), clip_);
    for (const Runs::Run& r : runs.pen) {
        s.Each(r.y, r.x0, r.x1, [&](int y, int a, int b) { Rop2Span(s.Row(y), a, b, penColor, mode); });
    }
    if (!useBrush) {
        for (const Runs::Run& r : runs.fill) {
            s.Each(r.y, r.x0, r.x1, [&](int y, int a, int b) { Rop2Span(s.Row(y), a, b, backColor, mode); });
        }
        return;
    }
    const uint32_t color = MapColor(brush_.Color());
    for (const Runs::Run& r : runs.fill) {
        s.Each(r.y, r.x0, r.x1, [&](int y, int a, int b) { BrushSpan(s.Row(y), y, a, b, mode, color); });
    }
}

// The pixels of the pen along a line through points, given to pen(y, x0, x1)
// as runs. One-pixel pens follow the dash pattern and leave out the last
// point of an open line; wider pens are solid with round tips.
template <class Sink>
void TCanvas::PenPixels(std::span<const TPoint> points, bool closed, bool lastPoint, Sink&& pen) {
    if (pen_.Style() == psClear || points.empty()) return;
    const int w = std::clamp(pen_.Width(), 1, kMaxPenWidth);
    const std::span<const int> dash = w == 1 ? DashPattern(pen_.Style()) : std::span<const int>();
    int dashLen = 0;
    for (int d : dash) dashLen += d;
    const auto tip = w > 1 ? PenTip(w) : std::vector<Runs::Run>();
    TRect lim = DeviceBounds();
    InflateRect(lim, w, w);
    long long base = 0;
    auto stamp = [&](int x, int y, long long step) {
        if (dashLen > 0) {
            long long pos = step % dashLen;
            std::size_t k = 0;
            while (pos >= dash[k]) pos -= dash[k++];
            if (k % 2) return;
        }
        if (w == 1) return pen(y, x, x + 1);
        for (const auto& t : tip) pen(y + t.y, x + t.x0, x + t.x1);
    };
    auto segment = [&](TPoint a, TPoint b) {
        RasterLine(a, b, lim, [&](int x, int y, long long i) { stamp(x, y, base + i); });
        base += std::max(std::llabs((long long)b.x - a.x), std::llabs((long long)b.y - a.y));
    };
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) segment(points[i], points[i + 1]);
    if (closed && n > 1) {
        segment(points[n - 1], points[0]);
    } else if (lastPoint || w > 1) {
        if (PtInRect(lim, points[n - 1])) stamp(points[n - 1].x, points[n - 1].y, base);
    }
}

void TCanvas::PenRuns(Runs& runs, std::span<const TPoint> points, bool closed, bool lastPoint) {
    PenPixels(points, closed, lastPoint, [&runs](int y, int x0, int x1) { runs.Pen(y, x0, x1); });
}

TRect TCanvas::Visible(const TRect& r) const {
    TRect lim = DeviceBounds(), out;
    InflateRect(lim, 1, 1);
    IntersectRect(out, r, lim);
    return out;
}

void TCanvas::Figure(Runs& runs, bool useBrush) {
    runs.Normalize();
    Paint(runs, pen_.Mode(), MapColor(pen_.Color()), useBrush, 0);
    Changed();
}

// ---- figures --------------------------------------------------------------------

namespace {
std::vector<TPoint> Shifted(std::span<const TPoint> points, TPoint by) {
    std::vector<TPoint> out(points.begin(), points.end());
    for (TPoint& p : out) {
        p.x += by.x;
        p.y += by.y;
    }
    return out;
}
} // namespace

// A line of a one-pixel pen goes straight to the image: a single segment
// never gives a pixel twice, so its pixels need no gathering and merging.
// Answers false when the pen needs the general way.
bool TCanvas::OnePixelLine(TPoint a, TPoint b) {
    if (!fastPaths || pen_.Width() > 1 || pen_.Style() == psClear) return false;
    if (Drawable()) {
        Surface s(image_, DeviceBounds(), clip_);
        const uint32_t color = MapColor(pen_.Color());
        const int mode = pen_.Mode();
        auto span = [&](int y, int x0, int x1) { Rop2Span(s.Row(y), x0, x1, color, mode); };
        // Solid level and upright lines are runs of known ends; the end
        // point is left out.
        auto from = [](int p, int q) { return q > p ? (long long)p : (long long)q + 1; };
        auto to = [](int p, int q) { return q > p ? (long long)q : (long long)p + 1; };
        auto clamp = [](long long v, int lo, int hi) { return int(std::clamp<long long>(v, lo, hi)); };
        const TRect& lim = s.Bounds();
        if (!DashPattern(pen_.Style()).empty() || (a.x != b.x && a.y != b.y)) {
            DirectPen pen(s, color, mode);
            const TPoint pts[] = {a, b};
            PenPixels(pts, false, false, pen);
        } else if (a.x != b.x) {
            s.Each(a.y, clamp(from(a.x, b.x), lim.Left, lim.Right), clamp(to(a.x, b.x), lim.Left, lim.Right), span);
        } else if (a.x >= lim.Left && a.x < lim.Right) {
            const int y0 = clamp(from(a.y, b.y), lim.Top, lim.Bottom), y1 = clamp(to(a.y, b.y), lim.Top, lim.Bottom);
            for (int y = y0; y < y1; ++y) s.Each(y, a.x, a.x + 1, span);
        }
    }
    Changed();
    return true;
}

void TCanvas::LineTo(int x, int y) {
    const TPoint pts[] = {penPos_, {x, y}};
    penPos_ = {x, y};
    Polyline(pts);
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.size() == 2 && OnePixelLine({points[0].x + origin_.x, points[0].y + origin_.y},
                                           {points[1].x + origin_.x, points[1].y + origin_.y}))
        return;
    Runs runs;
    PenRuns(runs, Shifted(points, origin_), false, false);
    Figure(runs, false);
}

void TCanvas::PolyBezier(std::span<const TPoint> points) {
    if (points.empty()) return;
    std::vector<TPoint> line{points[0]};
    for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
        const TPoint p0 = points[i], p1 = points[i + 1], p2 = points[i + 2], p3 = points[i + 3];
        const double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                           std::hypot(p3.x - p2.x, p3.y - p2.y);
        const int steps = std::clamp(int(len / 3), 4, 1000);
        for (int k = 1; k <= steps; ++k) {
            const double t = double(k) / steps, u = 1 - t;
            const double bx = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
            const double by = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
            const TPoint q(int(std::lround(bx)), int(std::lround(by)));
            if (!(q == line.back())) line.push_back(q);
        }
    }
    Polyline(line);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    const auto pts = Shifted(points, origin_);
    Runs runs;
    int top = pts[0].y, bottom = pts[0].y;
    for (const TPoint& p : pts) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const TRect bounds = DeviceBounds();
    for (int y = std::max(top, bounds.Top); y < std::min(bottom, bounds.Bottom); ++y) {
        for (const auto& [x0, x1] : PolygonRowRuns(pts, y, ALTERNATE)) runs.Fill(y, x0, x1);
    }
    PenRuns(runs, pts, true, false);
    Figure(runs, true);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    TRect box = TRect(left, top, right, bottom).Normalized();
    OffsetRect(box, origin_.x, origin_.y);
    Runs runs;
    const int w = std::clamp(pen_.Width(), 1, kMaxPenWidth);
    if (pen_.Style() == psClear) {
        // Without a pen the inside ends one pixel short, as on the old platform.
        runs.FillRect(Visible(TRect(box.Left, box.Top, box.Right - 1, box.Bottom - 1)));
    } else if (w == 1) {
        if (IsRectEmpty(box)) return;
        if (fastPaths && DashPattern(pen_.Style()).empty() && box.Width() >= 2 && box.Height() >= 2) return PlainRectangle(box);
        const TPoint corners[] = {box.TopLeft(), {box.Right - 1, box.Top}, {box.Right - 1, box.Bottom - 1}, {box.Left, box.Bottom - 1}};
        PenRuns(runs, corners, true, false);
        runs.FillRect(Visible(TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1)));
    } else {
        // A wide pen is centred on the outline unless it must stay inside.
        TRect outer = box;
        if (pen_.Style() != psInsideFrame) InflateRect(outer, w / 2, w / 2);
        TRect inner = outer;
        InflateRect(inner, -w, -w);
        const TRect rows = Visible(outer);
        for (int y = rows.Top; y < rows.Bottom; ++y) {
            if (y < inner.Top || y >= inner.Bottom || IsRectEmpty(inner)) {
                runs.Pen(y, outer.Left, outer.Right);
            } else {
                runs.Pen(y, outer.Left, inner.Left);
                runs.Pen(y, inner.Right, outer.Right);
            }
        }
        runs.FillRect(Visible(inner));
    }
    Figure(runs, true);
}

// A rectangle of at least 2 x 2 pixels with a solid one-pixel pen: its
// outline is the ring of border pixels and the brush fills what is inside,
// row by row straight into the image.
void TCanvas::PlainRectangle(const TRect& box) {
    if (Drawable()) {
        Surface s(image_, DeviceBounds(), clip_);
        const uint32_t penColor = MapColor(pen_.Color()), brushColor = MapColor(brush_.Color());
        const int mode = pen_.Mode();
        auto pen = [&](int y, int a, int b) { Rop2Span(s.Row(y), a, b, penColor, mode); };
        auto brush = [&](int y, int a, int b) { BrushSpan(s.Row(y), y, a, b, mode, brushColor); };
        const int top = std::max(box.Top, s.Bounds().Top), bottom = std::min(box.Bottom, s.Bounds().Bottom);
        for (int y = top; y < bottom; ++y) {
            if (y == box.Top || y == box.Bottom - 1) {
                s.Each(y, box.Left, box.Right, pen);
            } else {
                s.Each(y, box.Left, box.Left + 1, pen);
                s.Each(y, box.Left + 1, box.Right - 1, brush);
                s.Each(y, box.Right - 1, box.Right, pen);
            }
        }
    }
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    TRect box = TRect(left, top, right, bottom).Normalized();
    OffsetRect(box, origin_.x, origin_.y);
    const int w = std::clamp(pen_.Width(), 1, kMaxPenWidth);
    if (pen_.Style() == psClear) {
        // Without a pen the inside ends one pixel short, as for rectangles.
        box.Right -= 1;
        box.Bottom -= 1;
    } else if (w > 1 && pen_.Style() != psInsideFrame) {
        InflateRect(box, w / 2, w / 2);
    }
    // Only the rows that can show (and one more each side for the outline).
    const TRect shown = Visible(box);
    if (IsRectEmpty(shown)) return Changed();
    const auto rows = EllipseRows(box, shown.Top, shown.Bottom);
    Runs runs;
    for (std::size_t i = 0; i < rows.size(); ++i) runs.Fill(shown.Top + int(i), rows[i].first, rows[i].second);
    if (pen_.Style() != psClear) {
        OutlineOfRows(rows, shown.Top, [&runs](int y, int a, int b) { runs.Pen(y, a, b); });
        if (w > 1) {
            // The ring between the ellipse and the one w pixels inside it.
            TRect inner = box;
            InflateRect(inner, -w, -w);
            const auto innerRows = EllipseRows(inner, shown.Top, shown.Bottom);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const int y = shown.Top + int(i);
                if (innerRows[i].second <= innerRows[i].first) {
                    runs.Pen(y, rows[i].first, rows[i].second);
                } else {
                    runs.Pen(y, rows[i].first, innerRows[i].first);
                    runs.Pen(y, innerRows[i].second, rows[i].second);
                }
            }
        }
    }
    Figure(runs, true);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (pen_.Style() == psClear) return;
    TRect box = TRect(x1, y1, x2, y2).Normalized();
    OffsetRect(box, origin_.x, origin_.y);
    // Angles counter-clockwise as seen on the screen (y grows downwards),
    // measured from the centre of the box.
    const double cx = (double(box.Left) + box.Right) / 2.0, cy = (double(box.Top) + box.Bottom) / 2.0;
    auto angle = [](double dx, double dy) {
        const double a = std::atan2(-dy, dx);
        return a < 0 ? a + 2 * kPi : a;
    };
    const double start = angle(x3 + origin_.x - cx, y3 + origin_.y - cy), end = angle(x4 + origin_.x - cx, y4 + origin_.y - cy);
    const bool whole = end == start;
    const double span = end > start ? end - start : end - start + 2 * kPi;
    const TRect shown = Visible(box);
    Runs runs;
    if (!IsRectEmpty(shown)) {
        OutlineOfRows(EllipseRows(box, shown.Top, shown.Bottom), shown.Top, [&](int y, int a, int b) {
            for (int x = a; x < b; ++x) {
                double rel = angle(x + 0.5 - cx, y + 0.5 - cy) - start;
                if (rel < 0) rel += 2 * kPi;
                if (whole || rel <= span) runs.Pen(y, x, x + 1);
            }
        });
    }
    Figure(runs, false);
}

// ---- brush-only drawing -----------------------------------------------------------

void TCanvas::FillRect(const TRect& r) {
    if (IsRectEmpty(r)) return;
    TRect box = r;
    OffsetRect(box, origin_.x, origin_.y);
    if (fastPaths) {
        if (Drawable()) {
            Surface s(image_, DeviceBounds(), clip_);
            const uint32_t color = MapColor(brush_.Color());
            const int top = std::max(box.Top, s.Bounds().Top), bottom = std::min(box.Bottom, s.Bounds().Bottom);
            for (int y = top; y < bottom; ++y)
                s.Each(y, box.Left, box.Right, [&](int row, int a, int b) { BrushSpan(s.Row(row), row, a, b, pmCopy, color); });
        }
        return Changed();
    }
    Runs runs;
    runs.FillRect(Visible(box));
    runs.Normalize();
    Paint(runs, pmCopy, 0, true, 0);
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    if (IsRectEmpty(r)) return;
    TRect box = r;
    OffsetRect(box, origin_.x, origin_.y);
    Runs runs;
    const TRect rows = Visible(box);
    for (int y = rows.Top; y < rows.Bottom; ++y) {
        if (y == box.Top || y == box.Bottom - 1) {
            runs.Fill(y, box.Left, box.Right);
        } else {
            runs.Fill(y, box.Left, box.Left + 1);
            runs.Fill(y, box.Right - 1, box.Right);
        }
    }
    runs.Normalize();
    Paint(runs, pmCopy, 0, true, 0);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    TRect box = r.Normalized();
    if (IsRectEmpty(box) || !Drawable()) return;
    OffsetRect(box, origin_.x, origin_.y);
    const uint32_t even = MapColor(brush_.Color()), odd = MapColor(font_.Color());
    Surface s(image_, DeviceBounds(), clip_);
    const TRect rows = Visible(box);
    auto invert = [&](int y, int a, int b) {
        uint32_t* row = s.Row(y);
        for (int x = a; x < b; ++x) row[x] ^= ((x + y) & 1) ? odd : even;
    };
    for (int y = rows.Top; y < rows.Bottom; ++y) {
        if (y == box.Top || y == box.Bottom - 1) {
            s.Each(y, box.Left, box.Right, invert);
        } else {
            s.Each(y, box.Left, box.Left + 1, invert);
            if (box.Right - 1 > box.Left) s.Each(y, box.Right - 1, box.Right, invert);
        }
    }
    Changed();
}

// ---- text -------------------------------------------------------------------------

namespace {

// A font ready for drawing: the Qt font, its metrics and the cell.
struct TextFace {
    explicit TextFace(const TFont& f) : font(ToQFont(f)), fm(font), cell(CellOf(f)) {}
    QFont font;
    QFontMetrics fm;
    TextCell cell;
};

// One line of text laid out: pieces at their x offsets (tabs expanded), the
// width, and the character to underline (an accelerator).
struct LineLayout {
    struct Piece {
        QString text;
        int x = 0;
    };
    std::vector<Piece> pieces;
    int width = 0;
    int underlineX = -1, underlineW = 0;
    AnsiString plain; // the text as shown, for recording
};

LineLayout Layout(const QFontMetrics& fm, const AnsiString& line, bool prefix, bool expandTabs) {
    LineLayout out;
    // Accelerator prefixes: "&&" shows "&", "&x" underlines x.
    std::string shown;
    int underline = -1;
    for (int i = 0; i < line.Length(); ++i) {
        const char c = line.data()[i];
        if (prefix && c == '&') {
            if (i + 1 < line.Length() && line.data()[i + 1] == '&') {
                shown.push_back('&');
                ++i;
            } else if (i + 1 < line.Length()) {
                underline = int(shown.size());
            }
            continue;
        }
        shown.push_back(c);
    }
    out.plain = AnsiString(shown);
    const int tab = std::max(1, 8 * fm.averageCharWidth());
    int x = 0, start = 0;
    auto flush = [&](int end) {
        const QString piece = ToQString(AnsiString(shown.substr(std::size_t(start), std::size_t(end - start))));
        if (underline >= start && underline < end) {
            const QString before = piece.left(underline - start);
            out.underlineX = x + fm.horizontalAdvance(before);
            out.underlineW = fm.horizontalAdvance(piece.mid(underline - start, 1));
        }
        if (!piece.isEmpty()) out.pieces.push_back({piece, x});
        x += fm.horizontalAdvance(piece);
    };
    for (int i = 0; i < int(shown.size()); ++i) {
        if (expandTabs && shown[std::size_t(i)] == '\t') {
            flush(i);
            x = (x / tab + 1) * tab;
            start = i + 1;
        }
    }
    flush(int(shown.size()));
    out.width = x;
    return out;
}

// The glyph pixels of a laid-out line whose cell starts at (left, top); only
// the part near the visible device rectangle vis is rendered.
void GlyphRuns(TCanvas::Runs& runs, const TextFace& face, const LineLayout& line, int left, int top, const TRect& vis) {
    const QFontMetrics& fm = face.fm;
    const int h = face.cell.Height(), margin = h;
    const long long from = std::max<long long>((long long)left - margin, (long long)vis.Left - margin);
    const long long to = std::min<long long>((long long)left + line.width + margin, (long long)vis.Right + margin);
    const bool rowsShow = (long long)top + h + margin > vis.Top && (long long)top - margin < vis.Bottom;
    if (!line.pieces.empty() && rowsShow && to > from) {
        const int x0 = int(from), w = int(to - from);
        QImage img(w, h + 2 * margin, QImage::Format_ARGB32_Premultiplied);
        if (img.isNull()) return;
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setFont(face.font);
            p.setPen(QColor(Qt::white));
            for (const auto& piece : line.pieces) {
                const long long px = (long long)left + piece.x - x0;
                if (px > -(1LL << 30)) p.drawText(QPoint(int(px), margin + face.cell.ascent), piece.text);
            }
        }
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
            for (int x = 0; x < w;) {
                if (qAlpha(row[x]) < 128) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < w && qAlpha(row[x]) >= 128) ++x;
                runs.Pen(top - margin + y, x0 + start, x0 + x);
            }
        }
    }
    if (line.underlineX >= 0) {
        const int uy = top + face.cell.ascent + std::max(1, fm.underlinePos());
        for (int k = 0; k < std::max(1, fm.lineWidth()); ++k)
            runs.Pen(uy + k, left + line.underlineX, left + line.underlineX + line.underlineW);
    }
}

} // namespace

int TCanvas::TextWidth(const AnsiString& text) { return QFontMetrics(ToQFont(font_)).horizontalAdvance(ToQString(text)); }

int TCanvas::TextHeight(const AnsiString&) { return CellOf(font_).Height(); }

TSize TCanvas::TextExtent(const AnsiString& text) { return {TextWidth(text), TextHeight(text)}; }

TTextMetric TCanvas::TextMetrics() {
    const TextFace face(font_);
    TTextMetric m;
    m.tmHeight = face.cell.Height();
    m.tmAscent = face.cell.ascent;
    m.tmDescent = face.cell.descent;
    m.tmInternalLeading = std::max(0, m.tmHeight - face.font.pixelSize());
    m.tmExternalLeading = std::max(0, face.fm.leading());
    m.tmAveCharWidth = face.fm.averageCharWidth();
    m.tmMaxCharWidth = face.fm.maxWidth();
    return m;
}

// One line of text at the logical reference point (x, y), placed by the text
// alignment. The cell is filled with the brush colour when the background is
// opaque; with a box the text is cut to it and, when opaque, the whole box is
// filled instead.
void TCanvas::DrawTextRuns(const AnsiString& text, int x, int y, const TRect* box) {
    const TextFace face(font_);
    const LineLayout line = Layout(face.fm, text, false, false);
    x += origin_.x;
    y += origin_.y;
    if ((textAlign_ & TA_CENTER) == TA_CENTER) x -= line.width / 2;
    else if (textAlign_ & TA_RIGHT) x -= line.width;
    if ((textAlign_ & TA_BASELINE) == TA_BASELINE) y -= face.cell.ascent;
    else if (textAlign_ & TA_BOTTOM) y -= face.cell.Height();
    Runs runs;
    GlyphRuns(runs, face, line, x, y, DeviceBounds());
    TRect clip;
    if (box) {
        clip = *box;
        OffsetRect(clip, origin_.x, origin_.y);
    }
    if (bkMode_ == OPAQUE) runs.FillRect(Visible(box ? clip : TRect(x, y, x + line.width, y + face.cell.Height())));
    if (box) runs.Restrict(clip);
    runs.Normalize();
    Paint(runs, pen_.Mode(), MapColor(font_.Color()), false, MapColor(brush_.Color()));
    if (OnText) {
        OnText(TCanvasText{TRect(x - origin_.x, y - origin_.y, x - origin_.x + line.width, y - origin_.y + face.cell.Height()),
                           text, font_.Name(), font_.Height(), font_.Color(), font_.Style()});
    }
    Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) { DrawTextRuns(text, x, y, nullptr); }

void TCanvas::TextRect(const TRect& r, int x, int y, const AnsiString& text) { DrawTextRuns(text, x, y, &r); }

int TCanvas::DrawText(const AnsiString& text, TRect& rect, unsigned format) {
    const TextFace face(font_);
    const QFontMetrics& fm = face.fm;
    const bool prefix = !(format & DT_NOPREFIX), tabs = format & DT_EXPANDTABS;
    const int lineHeight = face.cell.Height() + ((format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    if (text.IsEmpty()) {
        if (format & DT_CALCRECT) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top;
        }
        return 0;
    }
    // Paragraphs, then lines broken at blanks to fit the width.
    std::vector<AnsiString> paragraphs;
    {
        std::string cur;
        const std::string& s = text.str();
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\r' || s[i] == '\n') {
                if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
                if (!(format & DT_SINGLELINE)) {
                    paragraphs.emplace_back(cur);
                    cur.clear();
                }
                continue;
            }
            cur.push_back(s[i]);
        }
        paragraphs.emplace_back(cur);
    }
    std::vector<LineLayout> lines;
    const int maxWidth = rect.Width();
    for (const AnsiString& para : paragraphs) {
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE)) {
            lines.push_back(Layout(fm, para, prefix, tabs));
            continue;
        }
        const std::string& s = para.str();
        std::string line;
        std::size_t i = 0;
        bool any = false;
        while (i < s.size()) {
            // The next word with the blanks before it.
            std::size_t j = i;
            while (j < s.size() && s[j] == ' ') ++j;
            while (j < s.size() && s[j] != ' ') ++j;
            const std::string word = s.substr(i, j - i);
            const std::string candidate = line + word;
            if (!line.empty() && Layout(fm, AnsiString(candidate), prefix, tabs).width > maxWidth) {
                lines.push_back(Layout(fm, AnsiString(line), prefix, tabs));
                const std::size_t k = word.find_first_not_of(' ');
                line = k == std::string::npos ? std::string() : word.substr(k);
            } else {
                line = candidate;
            }
            any = true;
            i = j;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (!line.empty() || !any) lines.push_back(Layout(fm, AnsiString(line), prefix, tabs));
    }
    int widest = 0;
    for (const LineLayout& l : lines) widest = std::max(widest, l.width);
    const int height = int(lines.size()) * lineHeight;
    if (format & DT_CALCRECT) {
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + height;
        return height;
    }
    TRect box = rect;
    OffsetRect(box, origin_.x, origin_.y);
    int top = box.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = box.Top + (box.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM) top = box.Bottom - lineHeight;
    }
    Runs runs;
    int y = top;
    for (const LineLayout& l : lines) {
        int x = box.Left;
        if (format & DT_CENTER) x = box.Left + (box.Width() - l.width) / 2;
        else if (format & DT_RIGHT) x = box.Right - l.width;
        GlyphRuns(runs, face, l, x, y, DeviceBounds());
        if (bkMode_ == OPAQUE) runs.FillRect(Visible(TRect(x, y, x + l.width, y + lineHeight)));
        if (OnText && !l.plain.IsEmpty()) {
            OnText(TCanvasText{TRect(x - origin_.x, y - origin_.y, x - origin_.x + l.width, y - origin_.y + lineHeight),
                               l.plain, font_.Name(), font_.Height(), font_.Color(), font_.Style()});
        }
        y += lineHeight;
    }
    if (!(format & DT_NOCLIP)) runs.Restrict(box);
    runs.Normalize();
    Paint(runs, pen_.Mode(), MapColor(font_.Color()), false, MapColor(brush_.Color()));
    Changed();
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top - box.Top + lineHeight : height;
}

// ---- pixels -----------------------------------------------------------------------

TColor TCanvas::Pixels(int x, int y) const {
    x += origin_.x;
    y += origin_.y;
    if (!PtInRect(DeviceBounds(), {x, y}) || (clip_ && !clip_->Contains(x, y))) return -1;
    return FromQRgb(reinterpret_cast<const uint32_t*>(image_->constScanLine(y))[x]);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    x += origin_.x;
    y += origin_.y;
    if (!PtInRect(DeviceBounds(), {x, y}) || (clip_ && !clip_->Contains(x, y))) return;
    reinterpret_cast<uint32_t*>(image_->scanLine(y))[x] = kOpaque | MapColor(color);
    Changed();
}

// ---- pictures -----------------------------------------------------------------------

// Combines the source rectangle, scaled to dest (logical; either may be
// reversed to mirror), into the image through CopyMode. With brushReplace the
// pixels of that colour take the brush instead and the rest is copied.
void TCanvas::Blit(const TRect& dest, const BlitSource& from) {
    if (!Drawable() || !from.image || from.image->isNull()) return;
    TRect d = dest;
    OffsetRect(d, origin_.x, origin_.y);
    const bool flipX = (d.Right < d.Left) != (from.rect.Right < from.rect.Left);
    const bool flipY = (d.Bottom < d.Top) != (from.rect.Bottom < from.rect.Top);
    const TRect dn = d.Normalized(), sn = from.rect.Normalized();
    const long long dw = (long long)dn.Right - dn.Left, dh = (long long)dn.Bottom - dn.Top;
    const long long sw = (long long)sn.Right - sn.Left, sh = (long long)sn.Bottom - sn.Top;
    TRect vis;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || !IntersectRect(vis, dn, DeviceBounds())) return;
    Surface surface(image_, vis, clip_);
    const uint32_t code = uint32_t(CopyMode) >> 16 & 0xFF;
    const uint32_t fontColor = MapColor(font_.Color()), brushColor = MapColor(brush_.Color());
    const TBrushStyle style = brush_.Style();
    auto pattern = [&](int x, int y) -> uint32_t {
        if (!brush_.HasPattern()) return brushColor;
        const uint32_t p = brush_.PatternPixel(x, y);
        return monochrome_ ? Nearest(p) : p;
    };
    auto mapSource = [&](uint32_t s) -> uint32_t {
        if (from.monochrome && !monochrome_) return s == 0 ? fontColor : s == kWhite ? brushColor : s;
        if (!from.monochrome && monochrome_) return s == kWhite ? kWhite : 0;
        return s;
    };
    const uint32_t replace = from.brushReplace ? Rgb(*from.brushReplace) : 0;
    // Source pixel s (0xRRGGBB) onto device pixel x of out, which is row y.
    auto put = [&](uint32_t* out, int x, int y, uint32_t s) {
        if (from.transparent && s == from.transparentColor) return;
        if (!from.brushReplace && code == 0x66) {
            // Inverting changes the colour bits only, as an inverting pen does:
            // a black source pixel leaves the pixel as it is.
            out[x] ^= mapSource(s);
        } else if (!from.brushReplace) {
            out[x] = kOpaque | (Rop3(code, pattern(x, y), mapSource(s), out[x]) & kWhite);
        } else if (s != replace) {
            out[x] = kOpaque | mapSource(s);
        } else if (style != bsClear && (brush_.HasPattern() || style == bsSolid || HatchAt(style, x, y))) {
            out[x] = kOpaque | pattern(x, y);
        }
    };
    if (fastPaths && dw == sw && dh == sh && !flipX && !flipY && !from.mask) {
        // Unscaled: device pixel (x, y) takes source pixel (x + ox, y + oy).
        const long long ox = (long long)sn.Left - dn.Left, oy = (long long)sn.Top - dn.Top;
        const long long left = std::max<long long>(vis.Left, -ox), right = std::min<long long>(vis.Right, from.image->width() - ox);
        const long long top = std::max<long long>(vis.Top, -oy), bottom = std::min<long long>(vis.Bottom, from.image->height() - oy);
        if (left >= right || top >= bottom) return Changed();
        const int x0 = int(left), x1 = int(right), y0 = int(top), y1 = int(bottom);
        // Drawing a canvas onto itself reads from a copy of the part it reads.
        QImage piece;
        const QImage* src = from.image;
        long long px = ox, py = oy;
        if (from.image == image_) {
            piece = from.image->copy(int(x0 + ox), int(y0 + oy), x1 - x0, y1 - y0);
            src = &piece;
            px = -x0;
            py = -y0;
        }
        const bool plain = !from.transparent && !from.brushReplace && from.monochrome == monochrome_;
        for (int y = y0; y < y1; ++y) {
            const uint32_t* srow = reinterpret_cast<const uint32_t*>(src->constScanLine(int(y + py)));
            surface.Each(y, x0, x1, [&](int row, int a, int b) {
                uint32_t* line = surface.Row(row);
                uint32_t* out = line + a;
                const uint32_t* in = srow + (a + px);
                const int n = b - a;
                if (plain && code == 0x66) {
                    for (int i = 0; i < n; ++i) out[i] ^= in[i] & kWhite;
                } else if (plain && code == 0xCC) {
                    for (int i = 0; i < n; ++i) out[i] = in[i] | kOpaque;
                } else {
                    for (int i = 0; i < n; ++i) put(line, a + i, row, in[i] & kWhite);
                }
            });
        }
        return Changed();
    }
    // A two-colour picture drawn smaller keeps its black, as the old
    // platform's default stretching mode (black on white) does: each pixel
    // of the smaller picture is black when any pixel it stands for is. In
    // the white-on-black mode each pixel is the OR of those it stands for.
    // Lines thinner than the reduction would vanish otherwise.
    const bool orScans = stretchMode_ == WHITEONBLACK;
    if ((from.monochrome || orScans) && (sw > dw || sh > dh) && !flipX && !flipY && !from.mask &&
        !from.transparent && !from.brushReplace && sn.Left >= 0 && sn.Top >= 0 && sn.Right <= from.image->width() &&
        sn.Bottom <= from.image->height()) {
        const int rw = int(std::min(sw, dw)), rh = int(std::min(sh, dh));
        QImage reduced(rw, rh, QImage::Format_RGB32);
        reduced.fill(orScans ? QColor(0, 0, 0) : QColor(255, 255, 255));
        std::vector<int> column(static_cast<std::size_t>(sw));
        for (long long x = 0; x < sw; ++x) column[std::size_t(x)] = int(x * rw / sw);
        for (long long y = 0; y < sh; ++y) {
            const auto* in = reinterpret_cast<const uint32_t*>(from.image->constScanLine(int(sn.Top + y))) + sn.Left;
            auto* out = reinterpret_cast<uint32_t*>(reduced.scanLine(int(y * rh / sh)));
            if (orScans) {
                for (long long x = 0; x < sw; ++x) out[column[std::size_t(x)]] |= in[x] & kWhite;
            } else {
                for (long long x = 0; x < sw; ++x) out[column[std::size_t(x)]] &= in[x] | ~kWhite;
            }
        }
        BlitSource smaller = from;
        smaller.image = &reduced;
        smaller.rect = TRect(0, 0, rw, rh);
        TRect back = dn;
        OffsetRect(back, -origin_.x, -origin_.y);
        return Blit(back, smaller);
    }
    // Drawing a canvas onto itself reads from a copy.
    const QImage src = (from.image == image_) ? from.image->copy() : *from.image;
    // Nearest neighbour by pixel centres, for the visible columns only.
    std::vector<long long> sxs(std::size_t(vis.Width()), 0);
    for (int x = vis.Left; x < vis.Right; ++x) {
        const long long i = (long long)x - dn.Left, k = (2 * i + 1) * sw / (2 * dw);
        sxs[std::size_t(x - vis.Left)] = sn.Left + (flipX ? sw - 1 - k : k);
    }
    const bool plain = !from.transparent && !from.brushReplace && !from.mask && from.monochrome == monochrome_;
    if (fastPaths && plain && (code == 0x66 || code == 0xCC)) {
        ScaledBlit(surface, src, sxs, vis, dn, sn, sh, dh, flipY, code == 0x66);
        return Changed();
    }
    for (int y = vis.Top; y < vis.Bottom; ++y) {
        const long long j = (long long)y - dn.Top, k = (2 * j + 1) * sh / (2 * dh);
        const long long sy = sn.Top + (flipY ? sh - 1 - k : k);
        if (sy < 0 || sy >= src.height()) continue;
        const auto* srow = reinterpret_cast<const uint32_t*>(src.constScanLine(int(sy)));
        const uint8_t* mrow = from.mask ? from.mask + sy * src.width() : nullptr;
        surface.Each(y, vis.Left, vis.Right, [&](int row, int a, int b) {
            uint32_t* out = surface.Row(row);
            for (int x = a; x < b; ++x) {
                const long long sx = sxs[std::size_t(x - vis.Left)];
                if (sx < 0 || sx >= src.width() || (mrow && !mrow[sx])) continue;
                put(out, x, row, srow[sx] & kWhite);
            }
        });
    }
    Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) return;
    StretchDraw(Bounds(x, y, bitmap->Width(), bitmap->Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) return;
    BlitSource from;
    from.image = &bitmap->Image();
    from.rect = TRect(0, 0, bitmap->Width(), bitmap->Height());
    from.monochrome = bitmap->Monochrome();
    const TColor tc = bitmap->TransparentColor();
    from.transparent = bitmap->Transparent() && tc != clNone;
    if (from.transparent) from.transparentColor = Rgb(tc);
    Blit(dest, from);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas || !canvas->Drawable()) return;
    BlitSource from;
    from.image = canvas->image_;
    from.rect = source;
    OffsetRect(from.rect, canvas->origin_.x, canvas->origin_.y);
    from.monochrome = canvas->monochrome_;
    Blit(dest, from);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor color) {
    if (!bitmap || bitmap->Empty()) return;
    BlitSource from;
    from.image = &bitmap->Image();
    from.rect = source;
    from.monochrome = bitmap->Monochrome();
    from.brushReplace = color;
    Blit(dest, from);
}

// ---- clipping -------------------------------------------------------------------------

namespace {
int KindOf(const TRect& bounds, const std::optional<TRegion>& clip) {
    const TRegion b(bounds);
    return clip ? TRegion::Combine(*clip, b, RGN_AND).Kind() : b.Kind();
}
} // namespace

TRect TCanvas::ClipRect() const {
    TRect r = DeviceBounds();
    if (clip_) IntersectRect(r, r, clip_->Bounds());
    if (IsRectEmpty(r)) return {};
    OffsetRect(r, -origin_.x, -origin_.y);
    return r;
}

int TCanvas::IntersectClipRect(int left, int top, int right, int bottom) {
    TRegion r(TRect(left, top, right, bottom));
    r.Offset(origin_.x, origin_.y);
    clip_ = clip_ ? TRegion::Combine(*clip_, r, RGN_AND) : r;
    return KindOf(DeviceBounds(), clip_);
}

int TCanvas::ExcludeClipRect(int left, int top, int right, int bottom) {
    TRegion r(TRect(left, top, right, bottom));
    r.Offset(origin_.x, origin_.y);
    clip_ = TRegion::Combine(clip_ ? *clip_ : TRegion(DeviceBounds()), r, RGN_DIFF);
    return KindOf(DeviceBounds(), clip_);
}

int TCanvas::SelectClipRgn(const TRegion* rgn) {
    if (!rgn) {
        clip_.reset();
    } else {
        clip_ = *rgn;
        clip_->Offset(origin_.x, origin_.y);
    }
    return KindOf(DeviceBounds(), clip_);
}
