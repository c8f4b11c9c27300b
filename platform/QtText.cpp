#include "platform/QtText.h"

QString ToQString(const AnsiString& s) {
    QString out(s.Length(), Qt::Uninitialized);
    QChar* d = out.data();
    for (int i = 0; i < s.Length(); ++i) d[i] = QChar(char16_t(Cp1251ToUnicode(static_cast<unsigned char>(s.data()[i]))));
    return out;
}

AnsiString FromQString(const QString& s) {
    std::string out;
    out.reserve(std::size_t(s.size()));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        // A character outside the basic plane is one '?', not two.
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ++i;
        const int b = c.isSurrogate() ? -1 : UnicodeToCp1251(c.unicode());
        out.push_back(b < 0 ? '?' : char(b));
    }
    return AnsiString(std::move(out));
}

QRgb ToQRgb(TColor c) {
    const TColor v = ColorToRGB(c);
    return qRgb(GetRValue(v), GetGValue(v), GetBValue(v));
}

QColor ToQColor(TColor c) { return QColor(ToQRgb(c)); }

TColor FromQRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

TColor FromQColor(const QColor& c) { return FromQRgb(c.rgb()); }
