#pragma once
// The Qt edge of the platform layer: program text (Windows-1251 AnsiString)
// to and from QString through the program's own table, so that every byte
// survives the round trip (0x98 travels as U+0098); colours, rectangles and
// fonts to their Qt counterparts. Only platform/ and window code include this.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/AnsiString.h"
#include "platform/Color.h"
#include "platform/Types.h"

class TFont;

QString ToQString(const AnsiString& s);
// Characters without a Windows-1251 byte become '?'.
AnsiString FromQString(const QString& s);

// 0x00BBGGRR (system colours resolved) to an opaque QColor / QRgb and back.
QColor ToQColor(TColor c);
QRgb ToQRgb(TColor c);
TColor FromQColor(const QColor& c);
TColor FromQRgb(QRgb c);

// QRect holds an inclusive right and bottom; TRect an exclusive one.
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return TRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }
inline QPoint ToQPoint(const TPoint& p) { return QPoint(p.x, p.y); }
inline TPoint FromQPoint(const QPoint& p) { return TPoint(p.x(), p.y()); }

// The Qt font that draws a TFont: the old face names mapped to the DejaVu
// families, the pixel height kept, no antialiasing, no kerning.
QFont ToQFont(const TFont& font);

// The text cell of a font as the canvas lays text out: above and below the
// baseline, tall enough for every character of the program's character set
// as drawn (accents and underline included), as the old platform's cells were.
struct TextCell {
    int ascent = 0;
    int descent = 0;
    int Height() const { return ascent + descent; }
};
TextCell CellOf(const TFont& font);
