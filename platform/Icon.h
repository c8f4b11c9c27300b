#pragma once
// TIcon: a small picture with a mask (the pixels that show), as windows and
// buttons use them. The icons the program ships are drawn in code and
// registered by name, like its bitmap resources; LoadFromResourceName paints
// one.

#include <memory>

#include "platform/Bitmap.h"

class TIcon : public TPersistent {
public:
    TIcon();
    ~TIcon() override;

    int Width() const { return image_->Width(); }
    int Height() const { return image_->Height(); }
    bool Empty() const { return image_->Empty(); }
    // The picture and its mask: a monochrome bitmap, white where the picture
    // does not show.
    TBitmap* Image() const { return image_.get(); }
    TBitmap* MaskBitmap() const { return mask_.get(); }
    // Takes copies of a picture and its mask (the sizes must agree; a null or
    // different mask shows every pixel).
    void SetImage(TBitmap* image, TBitmap* mask);
    // Draws the pixels that show with the icon's top-left corner at (x, y).
    void Draw(TCanvas* canvas, int x, int y) const;
    void Assign(TPersistent* source) override;

    // Paints the registered icon of that name (letter case does not matter);
    // EResNotFound "Resource %s not found" when there is none.
    void LoadFromResourceName(const AnsiString& name);

private:
    std::unique_ptr<TBitmap> image_;
    std::unique_ptr<TBitmap> mask_;
};

// Registers the painter of a named icon: it gets an empty bitmap, sizes and
// draws it, and sets its transparent colour; the pixels of that colour are
// the ones that do not show.
void RegisterIconResource(const AnsiString& name, TBitmapPainter painter);
bool IconResourceExists(const AnsiString& name);
