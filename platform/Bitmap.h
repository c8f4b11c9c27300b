#pragma once
// TBitmap: a picture in memory with its own canvas, read from and written to
// Windows BMP files. A two-colour (monochrome) bitmap holds only black and
// white pixels. Pictures the program ships (glyphs, check boxes) are drawn in
// code and registered by name; LoadFromResourceName paints one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Classes.h"

class QImage;
class TStream;

// A damaged or unreadable picture.
class EInvalidGraphic : public Exception {
public:
    explicit EInvalidGraphic(AnsiString message) : Exception(std::move(message)) {}
};
// A resource name that nobody registered.
class EResNotFound : public Exception {
public:
    explicit EResNotFound(AnsiString message) : Exception(std::move(message)) {}
};

enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TPersistent {
public:
    TBitmap();
    ~TBitmap() override;

    int Width() const;
    int Height() const;
    // Growing keeps the picture and adds white area; shrinking crops it.
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    bool Empty() const { return Width() == 0 || Height() == 0; }
    TCanvas* Canvas() { return canvas_.get(); }

    // Setting it turns white pixels white and every other pixel black; the
    // canvas then draws in black and white only.
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool mono);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t);
    // tmAuto: the colour of the bottom-left pixel (clNone for an empty
    // bitmap); setting a colour switches to tmFixed.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode m);
    // Makes the bitmap a two-colour mask: pixels of color white, all others black.
    void Mask(TColor color);

    // Copies picture and settings of another bitmap (null empties this one).
    void Assign(TPersistent* source) override;

    // Windows BMP: 1, 4, 8 and 24 bits per pixel are read; a monochrome bitmap
    // is written with 1 bit per pixel, any other with 24. Damaged data raises
    // EInvalidGraphic "Bitmap image is not valid" (other well-formed kinds
    // "Bitmap format is not supported") and leaves the bitmap as it was; a
    // file that cannot be read raises EFOpenError, one that cannot be written
    // EFCreateError (the old file stays).
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;
    // From the stream's position: one BMP file image.
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream) const;
    void LoadFromBytes(std::string_view data);
    std::string SaveToBytes() const;

    // Paints the registered resource picture of that name (letter case does not
    // matter); EResNotFound "Resource %s not found" when there is none.
    void LoadFromResourceName(const AnsiString& name);

    // Resource-saving hints of the old platform; nothing to do here.
    void Dormant() {}
    void FreeImage() {}

    // The pixels of a row, left to right, each 32 bits: 0xFFRRGGBB (the top
    // byte stays 0xFF). Code that writes them calls Changed() afterwards.
    // Null for a row outside the picture.
    uint32_t* ScanLine(int row);
    const uint32_t* ScanLine(int row) const;

    // The picture: Format_RGB32 (or null when empty), for the platform layer.
    // Code that replaces or paints it directly keeps that format and calls Changed().
    QImage& Image() { return *image_; }
    const QImage& Image() const { return *image_; }
    // Fires OnChange; for code that changed Image() directly.
    void Changed();

    TNotifyEvent OnChange;

private:
    std::unique_ptr<QImage> image_;
    std::unique_ptr<TCanvas> canvas_;
    bool monochrome_ = false;
    bool transparent_ = false;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
};

// Registers the painter of a named resource picture; the painter gets an
// empty bitmap and sizes and draws it.
using TBitmapPainter = std::function<void(TBitmap& bitmap)>;
void RegisterBitmapResource(const AnsiString& name, TBitmapPainter painter);
bool BitmapResourceExists(const AnsiString& name);
