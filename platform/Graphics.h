#pragma once
// The drawing tools of a canvas: pen, brush and font. Each reports every change
// through OnChange, as the old platform's tools did, so that the owner of a
// tool (a canvas, a control) can follow it.

#include <array>
#include <cstdint>
#include <memory>

#include "platform/Classes.h"
#include "platform/Color.h"

class QFont;
class TBitmap;
class TCanvas;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen (and the brush of filled figures) combines with the pixels
// below; the order is the old platform's.
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor,
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset RUSSIAN_CHARSET = 204;

// A set of font styles: TFontStyles() << fsBold << fsItalic.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles& operator<<(TFontStyle s) { bits_ |= 1u << s; return *this; }
    constexpr TFontStyles& operator>>(TFontStyle s) { bits_ &= ~(1u << s); return *this; }
    constexpr bool Contains(TFontStyle s) const { return bits_ & (1u << s); }
    constexpr bool Empty() const { return bits_ == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    unsigned bits_ = 0;
};

// Base of the three tools: the change event and the hook of the owning canvas.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    // Reports a change to the owning canvas, then through OnChange.
    void Changed();
    // Stores v and reports the change when it differs from the field.
    template <class T>
    void Store(T& field, const T& v) {
        if (field == v) return;
        field = v;
        Changed();
    }

private:
    friend class TCanvas;
    std::function<void()> ownerHook_;
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    // 0 and 1 both draw one pixel wide.
    int Width() const { return width_; }
    void SetWidth(int w);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m);
    void Assign(TPersistent* source) override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    // Setting a colour makes a clear brush solid, as on the old platform.
    void SetColor(TColor c);
    // Hatches paint their lines in the colour and leave the gaps alone.
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    // A pattern brush: the top-left 8 x 8 pixels of the bitmap (a smaller
    // bitmap repeats at its own size) are copied when it is set, and fill in
    // place of the colour until the bitmap is set to null. The pointer is kept
    // only to be answered by Bitmap(); the brush does not own the bitmap.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* b);
    void Assign(TPersistent* source) override;

    // The pattern's pixel (0xRRGGBB, as Qt orders it) for device pixel (x, y);
    // the pattern repeats from the device's origin.
    bool HasPattern() const { return hasPattern_; }
    uint32_t PatternPixel(int x, int y) const { return pattern_[std::size_t((y & 7) * 8 + (x & 7))]; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    std::array<uint32_t, 64> pattern_{};
    bool hasPattern_ = false;
};

// A font. Height is in device pixels: a negative value is the character
// height, a positive one the cell height (character plus internal leading),
// as on the old platform. Size is in points through PixelsPerInch, the dpi of
// the device the font draws on (96 for screens and bitmaps, the printer's for
// a printer canvas): Height = -Size * PixelsPerInch / 72.
class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& n);
    int Height() const { return height_; }
    void SetHeight(int h);
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset c);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch p);
    int PixelsPerInch() const { return ppi_; }
    // Changes the device dpi; the pixel height stays, so Size follows.
    void SetPixelsPerInch(int ppi) { ppi_ = ppi > 0 ? ppi : 96; }
    // Copies another font; across devices of different dpi the point size is
    // kept, as the old platform did.
    void Assign(TPersistent* source) override;

    struct QtCache; // the Qt font made from this one, rebuilt when the face changes

private:
    friend QFont ToQFont(const TFont& font);
    friend struct TextCell CellOf(const TFont& font);
    AnsiString name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int ppi_ = 96;
    mutable std::unique_ptr<QtCache> cache_;
};
