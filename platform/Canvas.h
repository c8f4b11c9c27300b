#pragma once
// TCanvas: the drawing surface of the program. It draws into an RGB32 image
// that it does not own (a bitmap's, a paint box's, a printer page's) with the
// old platform's rules: right and bottom edges of figures are exclusive, a
// line leaves out its end point, pen modes and copy modes are bitwise
// operations on the 24 colour bits (inverting, with pen mode XOR or copy mode
// SRCINVERT, leaves the unused top byte alone). Every figure is rasterised
// into pixel runs first and each run touches every pixel once, so drawing
// twice in an exclusive-or mode restores the image exactly, also where the
// figure is cut by the image edges or the clip region. No antialiasing
// anywhere.
//
// Coordinates are logical; SetViewport maps them to a part of the image (the
// windowing layer uses it for window-less controls drawn on their parent).

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "platform/Graphics.h"
#include "platform/Region.h"
#include "platform/Types.h"

class QImage;
class TBitmap;

// Raster operations of CopyMode: the old platform's ternary codes. Bit
// (p << 2 | s << 1 | d) of the code's third byte is the result for pattern
// bit p, source bit s and destination bit d.
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;
// The same codes under their system names.
constexpr TCopyMode BLACKNESS = cmBlackness, DSTINVERT = cmDstInvert, MERGECOPY = cmMergeCopy,
                    MERGEPAINT = cmMergePaint, NOTSRCCOPY = cmNotSrcCopy, NOTSRCERASE = cmNotSrcErase,
                    PATCOPY = cmPatCopy, PATINVERT = cmPatInvert, PATPAINT = cmPatPaint, SRCAND = cmSrcAnd,
                    SRCCOPY = cmSrcCopy, SRCERASE = cmSrcErase, SRCINVERT = cmSrcInvert, SRCPAINT = cmSrcPaint,
                    WHITENESS = cmWhiteness;

// Text alignment (SetTextAlign): one horizontal and one vertical flag.
enum : unsigned { TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24 };
// Text background (SetBkMode).
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
// How a picture drawn smaller combines the pixels that one pixel stands for
// (SetStretchBltMode). BLACKONWHITE, the default: a two-colour picture keeps
// its black, a colour picture takes the nearest pixel. WHITEONBLACK: each
// pixel is the bitwise OR of the pixels it stands for, so a figure drawn in
// colour on black keeps every line however thin.
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2 };
// DrawText flags.
enum : unsigned {
    DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_RTLREADING = 0x20000,
};

// Font measures in device pixels.
struct TTextMetric {
    int tmHeight = 0;          // ascent + descent: the line height
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0; // tmHeight minus the character height
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// One piece of text as it was drawn, for a recording backend (a test printer).
struct TCanvasText {
    TRect Box;            // logical cell of the text: left/top and its extent
    AnsiString Text;
    AnsiString FontName;
    int FontHeight = 0;
    TColor FontColor = clBlack;
    TFontStyles FontStyle;
};

class TCanvas : public TPersistent {
public:
    // image: Format_RGB32 (or null); not owned. Its owner may replace the
    // image's contents in place (a resize); the canvas follows. pixelsPerInch:
    // the device's dpi, given to the font so that Size in points gives the
    // right height (a new printer canvas has an 8-point font at its dpi).
    explicit TCanvas(QImage* image = nullptr, int pixelsPerInch = 96);
    ~TCanvas() override;

    QImage* Image() const { return image_; }
    void SetImage(QImage* image);
    int PixelsPerInch() const { return ppi_; }
    void SetPixelsPerInch(int ppi);
    // Logical (0, 0) becomes device point viewport.TopLeft() and nothing is
    // drawn outside the viewport (which may reach beyond the image).
    void SetViewport(const TRect& viewport);
    void ResetViewport();
    TPoint Origin() const { return origin_; }

    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    TFont* Font() { return &font_; }
    // Copy the given tool's settings (the old `Canvas->Font = other`).
    void SetPen(TPen* p) { pen_.Assign(p); }
    void SetBrush(TBrush* b) { brush_.Assign(b); }
    void SetFont(TFont* f) { font_.Assign(f); }

    TCopyMode CopyMode = cmSrcCopy;

    // ---- figures: outline with the pen, inside with the brush, both through
    // the pen mode.
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { penPos_ = p; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // Draws from the pen position up to, not including, (x, y).
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    // 3n + 1 points: a start point and n cubic segments of control, control, end.
    void PolyBezier(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // The part of the ellipse in the box from the ray through (x3, y3) to the
    // ray through (x4, y4), counter-clockwise; equal rays give the whole ellipse.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    // ---- brush only, always copied (the pen mode does not apply).
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    // A dotted frame combined by exclusive-or (brush colour on one half of the
    // pixels, font colour on the other): drawing it twice removes it.
    void DrawFocusRect(const TRect& r);

    // ---- text in the font colour, on the brush colour when the background
    // mode is OPAQUE; combined through the pen mode like figures.
    void TextOut(int x, int y, const AnsiString& text);
    // Text at (x, y) cut to r; with an opaque background r is filled first.
    void TextRect(const TRect& r, int x, int y, const AnsiString& text);
    int TextWidth(const AnsiString& text);
    int TextHeight(const AnsiString& text);
    TSize TextExtent(const AnsiString& text);
    TTextMetric TextMetrics();
    // The old DrawText: formats text in rect by the DT_ flags and answers the
    // height of the text; with DT_CALCRECT it only measures and sets rect's
    // right and bottom.
    int DrawText(const AnsiString& text, TRect& rect, unsigned format);
    unsigned TextAlign() const { return textAlign_; }
    unsigned SetTextAlign(unsigned align);  // answers the previous alignment
    int BkMode() const { return bkMode_; }
    // Answers the previous mode. A later change of the brush sets the mode
    // from the brush again (OPAQUE for a solid brush), as on the old platform.
    int SetBkMode(int mode);
    int StretchBltMode() const { return stretchMode_; }
    // Answers the previous mode; an unknown mode changes nothing.
    int SetStretchBltMode(int mode);

    // ---- pixels; -1 for a pixel outside the image or the clip region.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    // ---- pictures, combined through CopyMode with the brush as pattern.
    // A transparent bitmap leaves its transparent colour out. A two-colour
    // bitmap drawn on a colour canvas takes the font colour for black and the
    // brush colour for white; a colour picture drawn on a two-colour canvas
    // keeps white and turns every other colour black.
    void Draw(int x, int y, const TBitmap* bitmap);
    // Nearest-neighbour scaling (drawn smaller, as StretchBltMode says);
    // reversed edges mirror the picture.
    void StretchDraw(const TRect& dest, const TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies (and scales) source of the bitmap, with the pixels of color
    // replaced by the brush.
    void BrushCopy(const TRect& dest, const TBitmap* bitmap, const TRect& source, TColor color);

    // ---- clipping, in logical coordinates. Each answers the region kind.
    TRect ClipRect() const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    // A copy of rgn becomes the clip region; null removes the clip.
    int SelectClipRgn(const TRegion* rgn);

    // Serialises drawing from several threads.
    void Lock() { lock_.lock(); ++lockCount_; }
    void Unlock() { --lockCount_; lock_.unlock(); }
    int LockCount() const { return lockCount_; }

    // After every drawing operation.
    TNotifyEvent OnChange;
    // Every piece of text drawn (TextOut, TextRect, each line of DrawText).
    std::function<void(const TCanvasText&)> OnText;
    // Reports a change made to the image from outside (a QPainter on Image()).
    void Changed();

    struct Runs; // the pixels of a figure, in rows (Canvas.cpp)

    // One-pixel lines, plain rectangles, fills, unscaled copies and scaled
    // copies that only copy or invert take shortcuts that give exactly the
    // pixels of the general rasteriser; tests turn them off to compare the two.
    static void SetFastPaths(bool on);

private:
    friend class TBitmap;
    friend class TImageList;
    bool Drawable() const;
    TRect DeviceBounds() const;
    TRect Visible(const TRect& deviceRect) const;
    void PenRuns(Runs& runs, std::span<const TPoint> points, bool closed, bool lastPoint);
    template <class Sink>
    void PenPixels(std::span<const TPoint> points, bool closed, bool lastPoint, Sink&& pen);
    void BrushSpan(uint32_t* row, int y, int a, int b, int mode, uint32_t color) const;
    bool OnePixelLine(TPoint a, TPoint b);
    void PlainRectangle(const TRect& box);
    void Figure(Runs& runs, bool useBrush);
    void Paint(const Runs& runs, int mode, uint32_t penColor, bool useBrush, uint32_t backColor);
    void DrawTextRuns(const AnsiString& text, int x, int y, const TRect* box);
    // What Blit reads: a rectangle of an image, with the pixels to leave out.
    struct BlitSource {
        const QImage* image = nullptr;
        TRect rect;
        bool monochrome = false;
        bool transparent = false;
        uint32_t transparentColor = 0;      // 0xRRGGBB
        const uint8_t* mask = nullptr;       // per source pixel, 0 = leave out
        std::optional<TColor> brushReplace;  // pixels of this colour take the brush
    };
    void Blit(const TRect& dest, const BlitSource& source);
    uint32_t MapColor(TColor c) const;
    void BrushChanged();

    QImage* image_ = nullptr;
    int ppi_ = 96;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
    TPoint origin_;
    std::optional<TRect> viewport_;      // device
    std::optional<TRegion> clip_;        // device
    unsigned textAlign_ = TA_LEFT | TA_TOP;
    int bkMode_ = OPAQUE;
    int stretchMode_ = BLACKONWHITE;
    bool monochrome_ = false;            // the image is a two-colour bitmap's
    std::function<void()> ownerHook_;    // the bitmap that owns the image
    std::recursive_mutex lock_;
    int lockCount_ = 0;
};
