#include "platform/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include <QImage>

#include "platform/Bytes.h"
#include "platform/FileStream.h"
#include "platform/MemoryStream.h"
#include "platform/QtText.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFu;
// The largest picture a file may describe (256 MB of pixels).
constexpr long long kMaxPixels = 64LL * 1024 * 1024;
constexpr int kMaxSide = 65535;
constexpr std::int64_t kMaxFileBytes = 1LL << 30;

const char* const kInvalid = "Bitmap image is not valid";

[[noreturn]] void Invalid() { throw EInvalidGraphic(kInvalid); }

uint32_t* Row(QImage& img, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }
const uint32_t* Row(const QImage& img, int y) { return reinterpret_cast<const uint32_t*>(img.constScanLine(y)); }

// 0xRRGGBB, the order of the image's pixels.
uint32_t Rgb(TColor c) { return ToQRgb(c) & 0xFFFFFFu; }

QImage NewImage(int w, int h) {
    if (w <= 0 || h <= 0) return QImage();
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) throw EOutOfResources("Out of system resources");
    img.fill(QColor(255, 255, 255));
    return img;
}

// Keeps white, turns every other pixel black (or the reverse test: pixels of
// key white, the rest black).
void ToTwoColours(QImage& img, uint32_t key) {
    for (int y = 0; y < img.height(); ++y) {
        uint32_t* row = Row(img, y);
        for (int x = 0; x < img.width(); ++x) row[x] = (row[x] & kWhite) == key ? (kOpaque | kWhite) : kOpaque;
    }
}

std::map<std::string, TBitmapPainter>& Resources() {
    static std::map<std::string, TBitmapPainter> r;
    return r;
}

// ---- Windows BMP ------------------------------------------------------------------

struct Decoded {
    QImage image;
    bool monochrome = false;
};

Decoded DecodeBmp(std::string_view data) {
    ByteReader r(data);
    if (data.size() < 14 + 12 || data[0] != 'B' || data[1] != 'M') Invalid();
    r.Skip(10);
    const uint32_t offBits = r.U32();
    const uint32_t headerSize = r.U32();
    long long width = 0, height = 0;
    int bpp = 0;
    uint32_t planes = 0, compression = 0, colorsUsed = 0;
    int paletteEntry = 4;
    if (headerSize == 12) {
        // The old core header: 16-bit sizes and three-byte palette entries.
        width = r.U16();
        height = r.U16();
        planes = r.U16();
        bpp = r.U16();
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= 256) {
        width = r.I32();
        height = r.I32();
        planes = r.U16();
        bpp = r.U16();
        compression = r.U32();
        r.Skip(12); // image size, resolution
        colorsUsed = r.U32();
        r.Skip(4 + (headerSize - 40));
    } else {
        Invalid();
    }
    if (planes != 1 || width < 0 || height == INT32_MIN) Invalid();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) throw EInvalidGraphic("Bitmap format is not supported");
    if (compression != 0) throw EInvalidGraphic("Bitmap format is not supported");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) Invalid();
    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        const uint32_t maxColors = 1u << bpp;
        const uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (count > maxColors) Invalid();
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t b = r.U8(), g = r.U8(), rd = r.U8();
            if (paletteEntry == 4) r.U8();
            palette.push_back(uint32_t(rd) << 16 | uint32_t(g) << 8 | b);
        }
        palette.resize(maxColors, 0);
    }
    // The pixels begin after the headers and the palette.
    if (r.Position() > offBits) Invalid();
    Decoded out;
    if (width == 0 || height == 0) return out;
    const long long stride = (width * bpp + 31) / 32 * 4;
    // The last row may come without its padding.
    const long long need = stride * (height - 1) + (width * bpp + 7) / 8;
    if (offBits > data.size() || need > (long long)(data.size() - offBits)) Invalid();
    out.image = NewImage(int(width), int(height));
    const auto* bits = reinterpret_cast<const uint8_t*>(data.data()) + offBits;
    for (long long row = 0; row < height; ++row) {
        const uint8_t* src = bits + row * stride;
        uint32_t* dst = Row(out.image, int(topDown ? row : height - 1 - row));
        for (long long x = 0; x < width; ++x) {
            uint32_t p;
            switch (bpp) {
            case 1: p = palette[src[x >> 3] >> (7 - (x & 7)) & 1]; break;
            case 4: p = palette[(x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4]; break;
            case 8: p = palette[src[x]]; break;
            default: p = uint32_t(src[3 * x + 2]) << 16 | uint32_t(src[3 * x + 1]) << 8 | src[3 * x]; break;
            }
            dst[x] = kOpaque | p;
        }
    }
    // A two-colour file of black and white is a monochrome bitmap.
    out.monochrome = bpp == 1 && ((palette[0] == 0 && palette[1] == kWhite) || (palette[0] == kWhite && palette[1] == 0));
    return out;
}

std::string EncodeBmp(const QImage& img, bool mono) {
    const int w = img.isNull() ? 0 : img.width(), h = img.isNull() ? 0 : img.height();
    const int bpp = mono ? 1 : 24;
    const uint32_t stride = uint32_t((w * bpp + 31) / 32 * 4);
    const uint32_t paletteSize = mono ? 8 : 0;
    const uint32_t offBits = 14 + 40 + paletteSize;
    ByteWriter out;
    out.Bytes("BM");
    out.U32(offBits + stride * uint32_t(h));
    out.U32(0);
    out.U32(offBits);
    out.U32(40);
    out.I32(w);
    out.I32(h);
    out.U16(1);
    out.U16(uint16_t(bpp));
    out.U32(0);
    out.U32(stride * uint32_t(h));
    out.U32(0);
    out.U32(0);
    out.U32(mono ? 2 : 0);
    out.U32(0);
    if (mono) {
        out.U32(0);
        out.U32(kWhite);
    }
    std::string row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), '\0');
        const uint32_t* src = Row(img, y);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = src[x] & kWhite;
            if (mono) {
                if (p == kWhite) row[std::size_t(x >> 3)] = char(uint8_t(row[std::size_t(x >> 3)]) | (0x80 >> (x & 7)));
            } else {
                row[std::size_t(3 * x)] = char(p & 0xFF);
                row[std::size_t(3 * x + 1)] = char(p >> 8 & 0xFF);
                row[std::size_t(3 * x + 2)] = char(p >> 16 & 0xFF);
            }
        }
        out.Bytes(row);
    }
    return out.Take();
}

} // namespace

// ---- TBitmap ----------------------------------------------------------------------

TBitmap::TBitmap() : image_(std::make_unique<QImage>()), canvas_(std::make_unique<TCanvas>(image_.get())) {
    canvas_->ownerHook_ = [this] { Changed(); };
}

TBitmap::~TBitmap() = default;

uint32_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height()) return nullptr;
    return Row(*image_, row);
}

const uint32_t* TBitmap::ScanLine(int row) const {
    if (row < 0 || row >= Height()) return nullptr;
    return Row(std::as_const(*image_), row);
}

int TBitmap::Width() const { return image_->isNull() ? 0 : image_->width(); }

int TBitmap::Height() const { return image_->isNull() ? 0 : image_->height(); }

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

void TBitmap::SetSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == Width() && h == Height()) return;
    QImage img = NewImage(w, h);
    const int cw = std::min(w, Width()), ch = std::min(h, Height());
    for (int y = 0; cw > 0 && y < ch; ++y) std::memcpy(Row(img, y), Row(std::as_const(*image_), y), std::size_t(cw) * 4);
    *image_ = std::move(img);
    Changed();
}

void TBitmap::SetMonochrome(bool mono) {
    if (mono == monochrome_) return;
    monochrome_ = mono;
    canvas_->monochrome_ = mono;
    if (mono) ToTwoColours(*image_, kWhite);
    Changed();
}

void TBitmap::SetTransparent(bool t) {
    if (t == transparent_) return;
    transparent_ = t;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (Empty()) return clNone;
    return FromQRgb(Row(*image_, Height() - 1)[0]);
}

void TBitmap::SetTransparentColor(TColor c) {
    transparentColor_ = c;
    transparentMode_ = c == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
    if (m == transparentMode_) return;
    // Fixing the mode keeps the colour that was in use.
    transparentColor_ = m == tmAuto ? clDefault : TransparentColor();
    transparentMode_ = m;
    Changed();
}

void TBitmap::Mask(TColor color) {
    ToTwoColours(*image_, Rgb(color));
    monochrome_ = true;
    canvas_->monochrome_ = true;
    Changed();
}

void TBitmap::Assign(TPersistent* source) {
    auto* b = dynamic_cast<TBitmap*>(source);
    if (source && !b) return TPersistent::Assign(source);
    if (b == this) return;
    *image_ = b ? *b->image_ : QImage();
    monochrome_ = b && b->monochrome_;
    canvas_->monochrome_ = monochrome_;
    transparent_ = b && b->transparent_;
    transparentMode_ = b ? b->transparentMode_ : tmAuto;
    transparentColor_ = b ? b->transparentColor_ : clDefault;
    Changed();
}

void TBitmap::LoadFromBytes(std::string_view data) {
    Decoded d;
    try {
        d = DecodeBmp(data);
    } catch (const EReadError&) {
        throw EInvalidGraphic(kInvalid);
    }
    *image_ = std::move(d.image);
    monochrome_ = d.monochrome;
    canvas_->monochrome_ = monochrome_;
    Changed();
}

std::string TBitmap::SaveToBytes() const { return EncodeBmp(*image_, monochrome_); }

void TBitmap::LoadFromStream(TStream* stream) {
    // The file header's size field tells where the picture ends when it is
    // plausible; otherwise the picture runs to the end of the stream.
    std::string bytes(14, '\0');
    if (stream->Read(bytes.data(), 14) != 14) throw EInvalidGraphic(kInvalid);
    const uint32_t fileSize = ByteReader(bytes.substr(2, 4)).U32();
    const std::int64_t remaining = stream->Size() - stream->Position();
    std::int64_t rest = fileSize >= 26 && fileSize - 14 <= remaining ? fileSize - 14 : remaining;
    if (rest < 0 || rest > kMaxFileBytes) throw EInvalidGraphic(kInvalid);
    bytes.resize(std::size_t(14 + rest));
    for (std::int64_t done = 0; done < rest;) {
        const int chunk = int(std::min<std::int64_t>(rest - done, 1 << 24));
        const int got = stream->Read(bytes.data() + 14 + done, chunk);
        if (got <= 0) throw EInvalidGraphic(kInvalid);
        done += got;
    }
    LoadFromBytes(bytes);
}

void TBitmap::SaveToStream(TStream* stream) const {
    const std::string bytes = SaveToBytes();
    for (std::size_t done = 0; done < bytes.size();) {
        const int chunk = int(std::min<std::size_t>(bytes.size() - done, 1 << 24));
        stream->WriteBuffer(bytes.data() + done, chunk);
        done += std::size_t(chunk);
    }
}

void TBitmap::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(&file);
}

void TBitmap::SaveToFile(const AnsiString& fileName) const {
    TMemoryStream data;
    SaveToStream(&data);
    data.SaveToFile(fileName);
}

void TBitmap::LoadFromResourceName(const AnsiString& name) {
    auto it = Resources().find(AnsiUpperCase(name).str());
    if (it == Resources().end()) throw EResNotFound(Format("Resource %s not found", name));
    TBitmap painted;
    it->second(painted);
    Assign(&painted);
}

void RegisterBitmapResource(const AnsiString& name, TBitmapPainter painter) {
    Resources()[AnsiUpperCase(name).str()] = std::move(painter);
}

bool BitmapResourceExists(const AnsiString& name) { return Resources().count(AnsiUpperCase(name).str()) > 0; }
