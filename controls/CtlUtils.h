#pragma once
// Drawing and text helpers of the component library: cells of a bitmap grid,
// transparent and embossed ("disabled") drawing, brush patterns, gradient
// fills, text cut to a width and command-line splitting. The helpers that
// need windows (wait cursor, window placement, parent images) are in
// controls/gui/CtlUtils.h.

#include <cstddef>
#include <memory>
#include <span>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/DynamicLibrary.h"
#include "platform/Icon.h"
#include "platform/Variant.h"

class TImageList;

enum TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };
enum TVertAlignment { vaTopJustify, vaCenter, vaBottomJustify };

inline int WidthOf(const TRect& r) { return r.Right - r.Left; }
inline int HeightOf(const TRect& r) { return r.Bottom - r.Top; }
// All four edges inside.
bool PointInRect(const TPoint& p, const TRect& r);

// dest becomes cell index of a grid of cols x rows cells of source (cell
// size: source size divided by the counts), with source's transparent colour
// and transparency flag. Counts below 1 count as 1, a negative index as 0; a
// cell beyond the grid is an empty (white) area of the cell size.
void AssignBitmapCell(TBitmap* source, TBitmap* dest, int cols, int rows, int index);

// Draws a bitmap with one colour left out: clNone draws it opaque, clDefault
// leaves out the colour of its bottom-left pixel; a monochrome bitmap always
// leaves out white.
void DrawBitmapTransparent(TCanvas* canvas, int x, int y, TBitmap* bitmap, TColor transparentColor);
// The same for a part of the bitmap (an empty source rectangle: the whole),
// scaled to w x h (w or h below 1: the part's own size).
void StretchBitmapRectTransparent(TCanvas* canvas, int x, int y, int w, int h, const TRect& source, TBitmap* bitmap,
                                  TColor transparentColor);
void DrawBitmapRectTransparent(TCanvas* canvas, int x, int y, const TRect& source, TBitmap* bitmap,
                               TColor transparentColor);

// A new bitmap of the same size showing the figure of the source (every pixel
// not of backColor, and for a monochrome source not white) embossed: in
// shadowColor with, when drawHighlight, a highlightColor edge one pixel below
// right, on backColor. The caller owns the result.
TBitmap* CreateDisabledBitmapEx(TBitmap* source, TColor outlineColor, TColor backColor, TColor highlightColor,
                                TColor shadowColor, bool drawHighlight);
// = CreateDisabledBitmapEx(source, outlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true).
TBitmap* CreateDisabledBitmap(TBitmap* source, TColor outlineColor);
// Draws one image-list picture in the embossed look, directly on the canvas:
// the picture's figure (its shown pixels that are not white) in grayColor
// with, when drawHighlight, a highlightColor edge one pixel below right. The
// canvas's brush colour is kept.
void ImageListDrawDisabled(TImageList* images, TCanvas* canvas, int x, int y, int index,
                           TColor highlightColor = clBtnHighlight, TColor grayColor = clBtnShadow,
                           bool drawHighlight = true);
// A new bitmap of the same size, in newColor where the source has color.
TBitmap* ChangeBitmapColor(TBitmap* source, TColor color, TColor newColor);
// A new 8 x 8 checkerboard: color1 with color2 where x mod 2 = y mod 2.
TBitmap* CreateTwoColorsBrushPattern(TColor color1, TColor color2);

// Fills the rectangle with colour bands from startColor to endColor.
void GradientFillRect(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor,
                      TFillDirection direction, int colors);

// The text cut from its end, with "..." appended, until it fits maxWidth
// ("..." alone when nothing fits); a text that fits comes back unchanged.
AnsiString MinimizeText(const AnsiString& text, TCanvas* canvas, int maxWidth);

// Splits a command line: the first token is the program, the others are
// joined with single blanks (a token holding a blank quoted again). Double
// quotes group blanks into a token and are not copied. Tokens of any length.
void SplitCommandLine(const AnsiString& cmdLine, AnsiString& exeName, AnsiString& params);

// The hook through which the library reads its message texts: the text itself.
AnsiString ResStr(const AnsiString& s);
// s without a leading "T" (either case) when it is longer than one character.
AnsiString DropT(const AnsiString& s);
// Lower case with the first character upper case.
AnsiString AnsiUpperFirstChar(const AnsiString& s);
// The value of an environment variable, or "".
AnsiString GetEnvVar(const AnsiString& name);
// Average character width (of "A".."Z" and "a".."z") and the text height.
TSize GetAveCharSize(TCanvas* canvas);

// ---- resources -------------------------------------------------------------------------
// Resources are the pictures registered by name (bitmaps, icons); a numeric
// id stands for the name "#<id>". The program's own module holds them; module
// null stands for the desktop's own pictures, of which there are none here.

// The handle of the program's own module.
HINSTANCE HInstance();
// Raises EResNotFound "Resource %s not found" (a numeric id in decimal).
[[noreturn]] void ResourceNotFound(const AnsiString& name);
[[noreturn]] void ResourceNotFound(int id);
// A new bitmap of the named bitmap resource; EResNotFound when there is none.
// The caller owns the result.
TBitmap* MakeModuleBitmap(HINSTANCE module, const AnsiString& name);
TBitmap* MakeBitmap(const AnsiString& name);
TBitmap* MakeBitmapID(int id);
// A new icon of the named icon resource, or null when there is none.
TIcon* MakeModuleIcon(HINSTANCE module, const AnsiString& name);
TIcon* MakeIcon(const AnsiString& name);
TIcon* MakeIconID(int id);
// A bitmap of the icon's size: backColor with the icon drawn on it, backColor
// being its transparent colour and transparent drawing on.
TBitmap* CreateBitmapFromIcon(TIcon* icon, TColor backColor);
// An icon of the bitmap in which the pixels of transparentColor do not show
// (clDefault: the bitmap's own transparent colour).
TIcon* CreateIconFromBitmap(TBitmap* bitmap, TColor transparentColor);

// ---- dialog units ----------------------------------------------------------------------
// The dialog base units: the average character width and the line height of
// the default font. A horizontal dialog unit is a quarter of the width, a
// vertical one an eighth of the height; the values are 16-bit.
TSize GetDialogBaseUnits();
uint16_t DialogUnitsToPixelsX(uint16_t dlgUnits);
uint16_t DialogUnitsToPixelsY(uint16_t dlgUnits);
uint16_t PixelsToDialogUnitsX(uint16_t pixels);
uint16_t PixelsToDialogUnitsY(uint16_t pixels);

// ---- shapes, fonts, values -------------------------------------------------------------
// Whether the point lies in the polygon of the points (winding fill: parts
// that the outline wraps twice are inside too).
bool PointInPolyRgn(const TPoint& p, std::span<const TPoint> points);

// A logical font: what a font handle is made from.
enum : uint8_t { DEFAULT_QUALITY = 0 };
enum : uint8_t { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : int { FW_NORMAL = 400, FW_BOLD = 700 };
struct TLogFont {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;  // tenths of a degree, counter-clockwise
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    TFontCharset lfCharSet = DEFAULT_CHARSET;
    uint8_t lfQuality = DEFAULT_QUALITY;
    uint8_t lfPitchAndFamily = DEFAULT_PITCH;
    AnsiString lfFaceName;
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};
// The font turned by angle degrees: escapement angle x 10, weight bold or
// normal, the style's italic, underline and strike-out, the font's height,
// charset and face ("Default" stands for the default face), default quality
// and the pitch of the font.
TLogFont CreateRotatedFont(TFont* font, int angle);

// No value: an unassigned variant; one value: the value; more: an array.
Variant MakeVariant(std::span<const Variant> values);

// Blackens the pixels of a diagonal hatch over the rectangle (the pattern
// rows 0x11, 0x22, 0x44, 0x88 repeat from the device origin; set bits, the
// leftmost pixel being the high bit, turn black); the others stay.
void ShadeRect(TCanvas* canvas, const TRect& rect);

// ---- memory and text -------------------------------------------------------------------
// Whether length bytes at p1 and p2 are equal (true for a length below 1).
bool CompareMem(const void* p1, const void* p2, int length);
// Pointer steps of bytes: p moved forward or back by amount, and a pointer
// amount bytes from p.
void HugeInc(void*& p, std::ptrdiff_t amount);
void HugeDec(void*& p, std::ptrdiff_t amount);
void* HugeOffset(void* p, std::ptrdiff_t amount);
// Copies size bytes from source to dest; the blocks may overlap.
void HMemCpy(void* dest, const void* source, std::ptrdiff_t size);
// Moves size 4-byte items of the array at base from index source to index
// dest; the two runs may overlap.
void HugeMove(void* base, int dest, int source, int size);
// A zero-terminated copy of the text.
std::unique_ptr<char[]> StrPAlloc(const AnsiString& s);
// The text's own zero-terminated buffer.
char* StringToPChar(AnsiString& s);

// ---- the system --------------------------------------------------------------------------

// A failed call of the operating system: its error number in ErrorCode.
class EWin32Error : public Exception {
public:
    EWin32Error(AnsiString message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};
// Raises EWin32Error "Win32 Error.  Code: %d.\n%s" with the error number
// and the system's text of it; nothing for 0.
void RaiseWin32Error(int errorCode);
// Raises the error the last failed system call left (errno) when ok is false.
void CheckWin32(bool ok);
// Loads a library by its name (see platform/DynamicLibrary.h); when it
// cannot be loaded raises EWin32Error with the system's error number and the
// loader's text, which names the library's file.
HMODULE LoadDLL(const AnsiString& name);
// The running system's name, release and version, as it reports them
// (what "uname -srv" prints).
AnsiString GetWindowsVersion();
