#pragma once
// Drawing and text helpers of the component library: cells of a bitmap grid,
// transparent and embossed ("disabled") drawing, brush patterns, gradient
// fills, text cut to a width and command-line splitting. The helpers that
// need windows (wait cursor, window placement, parent images) are in
// controls/gui/CtlUtils.h.

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

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
