#include "platform/ImageList.h"

#include <algorithm>

#include <QImage>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/QtText.h"

namespace {
constexpr uint32_t kWhite = 0xFFFFFFu;

// 0xRRGGBB, the order of the image's pixels.
uint32_t Rgb(TColor c) { return ToQRgb(c) & 0xFFFFFFu; }

uint32_t PixelAt(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] & kWhite;
}
} // namespace

struct TImageList::Entry {
    QImage image;               // the picture as added
    std::vector<uint8_t> mask;  // 1 where it shows
};

TChangeLink::~TChangeLink() {
    if (sender_) sender_->UnRegisterChanges(this);
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    for (TChangeLink* l : links_) l->sender_ = nullptr;
}

int TImageList::Count() const { return int(images_.size()); }

void TImageList::SetSize(int w, int h) {
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (w == width_ && h == height_) return;
    width_ = w;
    height_ = h;
    images_.clear();
    Changed();
}

void TImageList::Check(int index) const {
    if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
    const std::vector<TChangeLink*> links = links_;
    for (TChangeLink* l : links) {
        if (l->OnChange) l->OnChange(this);
    }
}

// Picture number cell of the strip image; pixels beyond the image do not show.
TImageList::Entry TImageList::Cut(TBitmap* image, int cell, const std::function<bool(int, int, uint32_t)>& shows) const {
    Entry e;
    e.image = QImage(width_, height_, QImage::Format_RGB32);
    e.image.fill(QColor(255, 255, 255));
    e.mask.assign(std::size_t(width_) * std::size_t(height_), 0);
    const QImage& src = image->Image();
    for (int y = 0; y < height_ && y < image->Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(e.image.scanLine(y));
        for (int x = 0; x < width_; ++x) {
            const int sx = cell * width_ + x;
            if (sx >= image->Width()) break;
            const uint32_t p = PixelAt(src, sx, y);
            row[x] = 0xFF000000u | p;
            e.mask[std::size_t(y * width_ + x)] = shows(sx, y, p) ? 1 : 0;
        }
    }
    return e;
}

namespace {
// Shows a pixel unless the mask bitmap is white there.
std::function<bool(int, int, uint32_t)> ByMask(TBitmap* mask) {
    return [mask](int x, int y, uint32_t) {
        return !mask || x >= mask->Width() || y >= mask->Height() || PixelAt(mask->Image(), x, y) != kWhite;
    };
}
} // namespace

int TImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image) return -1;
    const int first = Count();
    const int n = std::max(1, image->Width() / width_);
    for (int k = 0; k < n; ++k) images_.push_back(std::make_unique<Entry>(Cut(image, k, ByMask(mask))));
    Changed();
    return first;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image) return -1;
    const uint32_t key = Rgb(maskColor);
    const int first = Count();
    const int n = std::max(1, image->Width() / width_);
    for (int k = 0; k < n; ++k) {
        images_.push_back(std::make_unique<Entry>(Cut(image, k, [key](int, int, uint32_t p) { return p != key; })));
    }
    Changed();
    return first;
}

int TImageList::AddPainted(TColor clear, const std::function<void(TCanvas& canvas)>& paint) {
    TBitmap cell;
    cell.SetSize(width_, height_);
    TCanvas& c = *cell.Canvas();
    c.Brush()->SetColor(clear);
    c.FillRect(TRect(0, 0, width_, height_));
    if (paint) paint(c);
    return AddMasked(&cell, clear);
}

void TImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    Check(index);
    if (!image) return;
    *images_[std::size_t(index)] = Cut(image, 0, ByMask(mask));
    Changed();
}

void TImageList::Delete(int index) {
    Check(index);
    images_.erase(images_.begin() + index);
    Changed();
}

void TImageList::Clear() {
    images_.clear();
    Changed();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (!canvas || index < 0 || index >= Count()) return;
    const Entry& e = *images_[std::size_t(index)];
    TCanvas::BlitSource from;
    from.rect = TRect(0, 0, width_, height_);
    if (enabled) {
        from.image = &e.image;
        from.mask = e.mask.data();
        canvas->Blit(Bounds(x, y, width_, height_), from);
        return;
    }
    std::vector<uint8_t> shape(e.mask.size(), 0);
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            const std::size_t i = std::size_t(py * width_ + px);
            shape[i] = e.mask[i] && PixelAt(e.image, px, py) != kWhite;
        }
    }
    QImage tone(width_, height_, QImage::Format_RGB32);
    from.image = &tone;
    from.mask = shape.data();
    const uint32_t highlight = Rgb(clBtnHighlight), shadow = Rgb(clBtnShadow);
    tone.fill(QColor(QRgb(highlight)));
    canvas->Blit(Bounds(x + 1, y + 1, width_, height_), from);
    tone.fill(QColor(QRgb(shadow)));
    canvas->Blit(Bounds(x, y, width_, height_), from);
}

void TImageList::GetBitmap(int index, TBitmap* image) const {
    Check(index);
    if (!image) return;
    image->SetMonochrome(false);
    image->Image() = images_[std::size_t(index)]->image.copy();
    image->Changed();
}

void TImageList::GetMask(int index, TBitmap* mask) const {
    Check(index);
    if (!mask) return;
    const Entry& e = *images_[std::size_t(index)];
    QImage m(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(m.scanLine(y));
        for (int x = 0; x < width_; ++x) row[x] = e.mask[std::size_t(y * width_ + x)] ? 0xFF000000u : 0xFFFFFFFFu;
    }
    mask->SetMonochrome(false);
    mask->Image() = m;
    mask->SetMonochrome(true);
}

void TImageList::RegisterChanges(TChangeLink* link) {
    if (!link) return;
    if (link->sender_ && link->sender_ != this) link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
    if (link && link->sender_ == this) link->sender_ = nullptr;
}
