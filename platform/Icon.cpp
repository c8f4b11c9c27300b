#include "platform/Icon.h"

#include <map>
#include <string>

namespace {

std::map<std::string, TBitmapPainter>& Icons() {
    static std::map<std::string, TBitmapPainter> icons;
    return icons;
}

} // namespace

TIcon::TIcon() : image_(std::make_unique<TBitmap>()), mask_(std::make_unique<TBitmap>()) {
    mask_->SetMonochrome(true);
}

TIcon::~TIcon() = default;

void TIcon::SetImage(TBitmap* image, TBitmap* mask) {
    image_->Assign(image);
    mask_->SetSize(0, 0);
    mask_->SetMonochrome(true);
    mask_->SetSize(image_->Width(), image_->Height());
    mask_->Canvas()->Brush()->SetColor(clBlack);
    mask_->Canvas()->FillRect(Rect(0, 0, mask_->Width(), mask_->Height()));
    if (mask && mask->Width() == image_->Width() && mask->Height() == image_->Height()) {
        for (int y = 0; y < mask->Height(); ++y)
            for (int x = 0; x < mask->Width(); ++x)
                if (mask->Canvas()->Pixels(x, y) == clWhite) mask_->Canvas()->SetPixels(x, y, clWhite);
    }
}

void TIcon::Draw(TCanvas* canvas, int x, int y) const {
    if (!canvas || Empty()) return;
    for (int py = 0; py < Height(); ++py)
        for (int px = 0; px < Width(); ++px)
            if (mask_->Canvas()->Pixels(px, py) != clWhite)
                canvas->SetPixels(x + px, y + py, image_->Canvas()->Pixels(px, py));
}

void TIcon::Assign(TPersistent* source) {
    if (auto* icon = dynamic_cast<TIcon*>(source)) {
        SetImage(icon->image_.get(), icon->mask_.get());
        return;
    }
    if (!source) {
        SetImage(nullptr, nullptr);
        return;
    }
    TPersistent::Assign(source);
}

void TIcon::LoadFromResourceName(const AnsiString& name) {
    auto it = Icons().find(AnsiUpperCase(name).str());
    if (it == Icons().end()) throw EResNotFound(Format("Resource %s not found", name));
    TBitmap picture;
    it->second(picture);
    TBitmap mask;
    mask.Assign(&picture);
    mask.Mask(picture.TransparentColor());
    SetImage(&picture, &mask);
}

void RegisterIconResource(const AnsiString& name, TBitmapPainter painter) {
    Icons()[AnsiUpperCase(name).str()] = std::move(painter);
}

bool IconResourceExists(const AnsiString& name) { return Icons().count(AnsiUpperCase(name).str()) > 0; }
