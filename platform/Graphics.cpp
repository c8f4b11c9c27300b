#include "platform/Graphics.h"

#include <cmath>
#include <map>
#include <mutex>
#include <optional>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "platform/Bitmap.h"
#include "platform/MulDiv.h"
#include "platform/QtText.h"

void TGraphicsObject::Changed() {
    if (ownerHook_) ownerHook_();
    if (OnChange) OnChange(this);
}

// ---- TPen ---------------------------------------------------------------------

void TPen::SetColor(TColor c) { Store(color_, c); }

void TPen::SetWidth(int w) { Store(width_, std::max(w, 0)); }

void TPen::SetStyle(TPenStyle s) { Store(style_, s); }

void TPen::SetMode(TPenMode m) { Store(mode_, m); }

void TPen::Assign(TPersistent* source) {
    auto* p = dynamic_cast<TPen*>(source);
    if (!p) return TPersistent::Assign(source);
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    Changed();
}

// ---- TBrush -------------------------------------------------------------------

void TBrush::SetColor(TColor c) {
    // Choosing a colour makes a clear brush solid, as on the old platform.
    if (c == color_ && style_ != bsClear) return;
    color_ = c;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle s) { Store(style_, s); }

void TBrush::SetBitmap(TBitmap* b) {
    bitmap_ = b;
    hasPattern_ = b && !b->Empty();
    if (hasPattern_) {
        const QImage& img = b->Image();
        const int w = std::min(img.width(), 8), h = std::min(img.height(), 8);
        for (int y = 0; y < 8; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y % h));
            for (int x = 0; x < 8; ++x) pattern_[std::size_t(y * 8 + x)] = row[x % w] & 0xFFFFFF;
        }
    }
    Changed();
}

void TBrush::Assign(TPersistent* source) {
    auto* b = dynamic_cast<TBrush*>(source);
    if (!b) return TPersistent::Assign(source);
    color_ = b->color_;
    style_ = b->style_;
    bitmap_ = b->bitmap_;
    pattern_ = b->pattern_;
    hasPattern_ = b->hasPattern_;
    Changed();
}

// ---- TFont --------------------------------------------------------------------

// Made for one face: name, height, style and pitch.
struct TFont::QtCache {
    AnsiString name;
    int height;
    TFontStyles style;
    TFontPitch pitch;
    QFont font;
    std::optional<TextCell> cell;
    bool Fits(const TFont& f) const {
        return name == f.Name() && height == f.Height() && style == f.Style() && pitch == f.Pitch();
    }
};

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::SetName(const AnsiString& n) { Store(name_, n); }

void TFont::SetHeight(int h) { Store(height_, h); }

int TFont::Size() const { return -MulDiv(height_, 72, ppi_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ppi_, 72)); }

void TFont::SetStyle(TFontStyles s) { Store(style_, s); }

void TFont::SetColor(TColor c) { Store(color_, c); }

void TFont::SetCharset(TFontCharset c) { Store(charset_, c); }

void TFont::SetPitch(TFontPitch p) { Store(pitch_, p); }

void TFont::Assign(TPersistent* source) {
    auto* f = dynamic_cast<TFont*>(source);
    if (!f) return TPersistent::Assign(source);
    name_ = f->name_;
    height_ = f->ppi_ == ppi_ ? f->height_ : -MulDiv(f->Size(), ppi_, 72);
    style_ = f->style_;
    color_ = f->color_;
    charset_ = f->charset_;
    pitch_ = f->pitch_;
    Changed();
}

// The old platform's faces, drawn with the DejaVu families that every machine
// running the program has.
static QString FamilyFor(const TFont& font) {
    const AnsiString& n = font.Name();
    if (SameText(n, "MS Sans Serif") || SameText(n, "Arial")) return QStringLiteral("DejaVu Sans");
    if (SameText(n, "Times New Roman")) return QStringLiteral("DejaVu Serif");
    if (SameText(n, "Courier New")) return QStringLiteral("DejaVu Sans Mono");
    if (n.IsEmpty()) return font.Pitch() == fpFixed ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans");
    return ToQString(n);
}

QFont ToQFont(const TFont& font) {
    if (font.cache_ && font.cache_->Fits(font)) return font.cache_->font;
    QFont f(FamilyFor(font));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    f.setBold(font.Style().Contains(fsBold));
    f.setItalic(font.Style().Contains(fsItalic));
    f.setUnderline(font.Style().Contains(fsUnderline));
    f.setStrikeOut(font.Style().Contains(fsStrikeOut));
    if (font.Pitch() == fpFixed) f.setFixedPitch(true);
    int pixels = 12;
    if (font.Height() < 0) {
        // The character height: Qt's pixel size is the same measure.
        pixels = -font.Height();
    } else if (font.Height() > 0) {
        // The cell height: scale by the face's ascent + descent per em.
        QFont probe = f;
        probe.setPixelSize(100);
        const QFontMetricsF m(probe);
        const double cell = m.ascent() + m.descent();
        pixels = cell > 0 ? int(std::lround(font.Height() * 100.0 / cell)) : font.Height();
    }
    f.setPixelSize(std::max(pixels, 1));
    font.cache_ = std::make_unique<TFont::QtCache>(
        TFont::QtCache{font.Name(), font.Height(), font.Style(), font.Pitch(), f, std::nullopt});
    return f;
}

namespace {

// Draws every printable character of the character set once and takes the
// rows it inks.
TextCell MeasureCell(const QFont& f) {
    const QFontMetrics fm(f);
    TextCell cell{fm.ascent(), fm.descent()};
    std::string all;
    for (int b = 0x20; b < 0x100; ++b) {
        if (b != 0x7F && b != 0x98) all.push_back(char(b));
    }
    const QString text = ToQString(AnsiString(all));
    const int h = fm.height(), baseline = 2 * h;
    QImage img(fm.horizontalAdvance(text) + 2 * h, 4 * h, QImage::Format_ARGB32_Premultiplied);
    if (img.isNull()) return cell;
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setFont(f);
        p.setPen(QColor(Qt::white));
        p.drawText(QPoint(h, baseline), text);
    }
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(row[x]) < 128) continue;
            cell.ascent = std::max(cell.ascent, baseline - y);
            cell.descent = std::max(cell.descent, y + 1 - baseline);
            break;
        }
    }
    return cell;
}

} // namespace

TextCell CellOf(const TFont& font) {
    const QFont f = ToQFont(font);
    if (font.cache_->cell) return *font.cache_->cell;
    // Measured once per face for the whole program (bitmaps come and go with
    // their fonts); canvases may draw from several threads.
    static std::mutex lock;
    static std::map<QString, TextCell> known;
    const QString key = f.key();
    {
        std::lock_guard<std::mutex> guard(lock);
        auto it = known.find(key);
        if (it != known.end()) return *(font.cache_->cell = it->second);
    }
    const TextCell cell = MeasureCell(f);
    {
        std::lock_guard<std::mutex> guard(lock);
        known.emplace(key, cell);
    }
    font.cache_->cell = cell;
    return cell;
}
