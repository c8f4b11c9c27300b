#pragma once
// Images for drawing tests: noisy backgrounds (so that an operation that
// misses or doubles a pixel shows), pixel reads and ink boxes.

#include <algorithm>
#include <cstdint>

#include <QImage>

#include "platform/Types.h"

namespace painttest {

inline QImage Filled(int w, int h, uint32_t rgb) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(QRgb(0xFF000000u | rgb)));
    return img;
}

// Every pixel a different-looking colour, the same for the same seed.
inline QImage Noise(int w, int h, uint32_t seed = 12345) {
    QImage img(w, h, QImage::Format_RGB32);
    uint32_t s = seed ? seed : 1;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            row[x] = 0xFF000000u | (s & 0xFFFFFFu);
        }
    }
    return img;
}

// Noise also in the unused top byte of the pixels, which copies must set and
// inverting pens and copies must keep.
inline QImage NoiseWithAlpha(int w, int h, uint32_t seed) {
    QImage img = Noise(w, h, seed);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) row[x] ^= (uint32_t(x * 7 + y * 13) & 0xFF) << 24;
    }
    return img;
}

inline uint32_t Px(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] & 0xFFFFFFu;
}

inline void SetPx(QImage& img, int x, int y, uint32_t rgb) {
    reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = 0xFF000000u | rgb;
}

// The smallest rectangle holding every pixel (x, y) for which pred holds;
// empty when there is none.
template <class Pred>
TRect BoxWhere(int w, int h, Pred pred) {
    TRect box;
    bool any = false;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!pred(x, y)) continue;
            box = any ? TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1))
                      : TRect(x, y, x + 1, y + 1);
            any = true;
        }
    }
    return box;
}

// Where the pixels of colour rgb lie.
inline TRect InkBox(const QImage& img, uint32_t rgb) {
    return BoxWhere(img.width(), img.height(), [&](int x, int y) { return Px(img, x, y) == rgb; });
}

// Where now differs from before.
inline TRect ChangedBox(const QImage& now, const QImage& before) {
    return BoxWhere(now.width(), now.height(), [&](int x, int y) { return Px(now, x, y) != Px(before, x, y); });
}

inline int Count(const QImage& img, uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += Px(img, x, y) == rgb;
    return n;
}

} // namespace painttest
