#include "controls/CtlUtils.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/ImageList.h"
#include "platform/MulDiv.h"

namespace {

// The colour a bitmap leaves out for a requested transparent colour.
TColor EffectiveTransparent(TBitmap* bitmap, TColor requested) {
    if (bitmap->Monochrome()) return clWhite;
    if (requested == clDefault) return bitmap->Canvas()->Pixels(0, bitmap->Height() - 1);
    return requested;
}

} // namespace

bool PointInRect(const TPoint& p, const TRect& r) {
    return p.x >= r.Left && p.x <= r.Right && p.y >= r.Top && p.y <= r.Bottom;
}

void AssignBitmapCell(TBitmap* source, TBitmap* dest, int cols, int rows, int index) {
    if (!source || !dest) return;
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    index = std::max(index, 0);
    int w = source->Width() / cols;
    int h = source->Height() / rows;
    dest->SetSize(0, 0);
    dest->SetMonochrome(source->Monochrome());
    dest->SetSize(w, h);
    if (w > 0 && h > 0) {
        dest->Canvas()->Brush()->SetColor(clWhite);
        dest->Canvas()->FillRect(Rect(0, 0, w, h));
        TRect cell = Bounds(index % cols * w, index / cols * h, w, h);
        dest->Canvas()->CopyRect(Rect(0, 0, w, h), source->Canvas(), cell);
    }
    dest->SetTransparentColor(source->TransparentColor());
    dest->SetTransparent(source->Transparent());
}

void StretchBitmapRectTransparent(TCanvas* canvas, int x, int y, int w, int h, const TRect& source, TBitmap* bitmap,
                                  TColor transparentColor) {
    if (!canvas || !bitmap || bitmap->Empty()) return;
    TRect part = source;
    if (part.Width() < 1 || part.Height() < 1) part = Rect(0, 0, bitmap->Width(), bitmap->Height());
    if (w < 1 || h < 1) {
        w = part.Width();
        h = part.Height();
    }
    TBitmap piece;
    piece.SetMonochrome(bitmap->Monochrome());
    piece.SetSize(part.Width(), part.Height());
    piece.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), bitmap->Canvas(), part);
    TColor tc = EffectiveTransparent(bitmap, transparentColor);
    if (tc != clNone) {
        piece.SetTransparentColor(tc);
        piece.SetTransparent(true);
    }
    canvas->StretchDraw(Bounds(x, y, w, h), &piece);
}

void DrawBitmapRectTransparent(TCanvas* canvas, int x, int y, const TRect& source, TBitmap* bitmap,
                               TColor transparentColor) {
    StretchBitmapRectTransparent(canvas, x, y, 0, 0, source, bitmap, transparentColor);
}

void DrawBitmapTransparent(TCanvas* canvas, int x, int y, TBitmap* bitmap, TColor transparentColor) {
    StretchBitmapRectTransparent(canvas, x, y, 0, 0, TRect(), bitmap, transparentColor);
}

TBitmap* CreateDisabledBitmapEx(TBitmap* source, TColor /*outlineColor*/, TColor backColor, TColor highlightColor,
                                TColor shadowColor, bool drawHighlight) {
    auto result = std::make_unique<TBitmap>();
    if (!source) return result.release();
    int w = source->Width(), h = source->Height();
    result->SetSize(w, h);
    TCanvas* c = result->Canvas();
    c->Brush()->SetColor(backColor);
    c->FillRect(Rect(0, 0, w, h));
    const TColor back = ColorToRGB(backColor);
    // A transparent picture's transparent colour is background as well: a glyph cell
    // drawn on its own colour would otherwise come out as one solid square.
    const bool transparent = source->Transparent();
    const TColor clear = transparent ? ColorToRGB(source->TransparentColor()) : back;
    std::vector<bool> figure(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            TColor p = source->Canvas()->Pixels(x, y);
            bool background = p == back || p == clear || (source->Monochrome() && p == clWhite);
            figure[std::size_t(y) * std::size_t(w) + std::size_t(x)] = !background;
        }
    }
    auto paint = [&](int dx, int dy, TColor color) {
        TColor rgb = ColorToRGB(color);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (figure[std::size_t(y) * std::size_t(w) + std::size_t(x)] && x + dx < w && y + dy < h)
                    c->SetPixels(x + dx, y + dy, rgb);
    };
    if (drawHighlight) paint(1, 1, highlightColor);
    paint(0, 0, shadowColor);
    return result.release();
}

TBitmap* CreateDisabledBitmap(TBitmap* source, TColor outlineColor) {
    return CreateDisabledBitmapEx(source, outlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

void ImageListDrawDisabled(TImageList* images, TCanvas* canvas, int x, int y, int index, TColor highlightColor,
                           TColor grayColor, bool drawHighlight) {
    if (!images || !canvas || index < 0 || index >= images->Count()) return;
    const int w = images->Width(), h = images->Height();
    // The picture on a white two-colour bitmap: black where its figure is.
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(w, h);
    mono.Canvas()->Brush()->SetColor(clWhite);
    mono.Canvas()->FillRect(Rect(0, 0, w, h));
    images->Draw(mono.Canvas(), 0, 0, index, true);
    TColor brush = canvas->Brush()->Color();
    auto paint = [&](int dx, int dy, TColor color) {
        TColor rgb = ColorToRGB(color);
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px)
                if (mono.Canvas()->Pixels(px, py) == clBlack) canvas->SetPixels(x + px + dx, y + py + dy, rgb);
    };
    if (drawHighlight) paint(1, 1, highlightColor);
    paint(0, 0, grayColor);
    canvas->Brush()->SetColor(brush);
}

TBitmap* ChangeBitmapColor(TBitmap* source, TColor color, TColor newColor) {
    auto result = std::make_unique<TBitmap>();
    if (!source) return result.release();
    result->SetSize(source->Width(), source->Height());
    TCanvas* c = result->Canvas();
    TRect all = Rect(0, 0, source->Width(), source->Height());
    c->Brush()->SetColor(newColor);
    c->FillRect(all);
    c->BrushCopy(all, source, all, color);
    return result.release();
}

TBitmap* CreateTwoColorsBrushPattern(TColor color1, TColor color2) {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(8, 8);
    TCanvas* c = result->Canvas();
    c->Brush()->SetColor(color1);
    c->FillRect(Rect(0, 0, 8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (x % 2 == y % 2) c->SetPixels(x, y, ColorToRGB(color2));
    return result.release();
}

void GradientFillRect(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor,
                      TFillDirection direction, int colors) {
    if (!canvas || IsRectEmpty(rect)) return;
    if (colors < 2) {
        canvas->Brush()->SetColor(startColor);
        canvas->FillRect(rect);
        return;
    }
    bool forward = direction == fdTopToBottom || direction == fdLeftToRight;
    bool vertical = direction == fdTopToBottom || direction == fdBottomToTop;
    TColor begin = ColorToRGB(forward ? startColor : endColor);
    TColor end = ColorToRGB(forward ? endColor : startColor);
    int diff[3] = {GetRValue(end) - GetRValue(begin), GetGValue(end) - GetGValue(begin),
                   GetBValue(end) - GetBValue(begin)};
    int extent = vertical ? rect.Height() : rect.Width();
    int bands = std::max(2, std::min(colors, extent));
    int size = extent / bands;
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    auto band = [&](int from, int to, TColor color) {
        canvas->Brush()->SetColor(color);
        canvas->FillRect(vertical ? Rect(rect.Left, from, rect.Right, to) : Rect(from, rect.Top, to, rect.Bottom));
    };
    int start = vertical ? rect.Top : rect.Left;
    if (size > 0) {
        for (int i = 0; i < bands; ++i) {
            TColor c = RGB(GetRValue(begin) + MulDiv(i, diff[0], bands - 1),
                           GetGValue(begin) + MulDiv(i, diff[1], bands - 1),
                           GetBValue(begin) + MulDiv(i, diff[2], bands - 1));
            band(start + i * size, start + (i + 1) * size, c);
        }
    }
    int rest = extent % bands;
    if (rest > 0 || size == 0) {
        int from = start + bands * size;
        band(from, start + extent, forward ? endColor : startColor);
    }
}

AnsiString MinimizeText(const AnsiString& text, TCanvas* canvas, int maxWidth) {
    if (!canvas || canvas->TextWidth(text) <= maxWidth) return text;
    AnsiString result;
    for (int cut = 1; cut <= text.Length(); ++cut) {
        result = text.SubString(1, text.Length() - cut) + "...";
        if (canvas->TextWidth(result) <= maxWidth) break;
    }
    return result;
}

void SplitCommandLine(const AnsiString& cmdLine, AnsiString& exeName, AnsiString& params) {
    const std::string& s = cmdLine.str();
    std::vector<std::string> tokens;
    std::size_t i = 0;
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (i < s.size()) {
        if (blank(s[i])) {
            ++i;
            continue;
        }
        if (s[i] == '"' && i + 1 < s.size() && s[i + 1] == '"') { // an empty quote pair
            i += 2;
            continue;
        }
        std::string token;
        while (i < s.size() && !blank(s[i])) {
            if (s[i] == '"') {
                ++i;
                while (i < s.size() && s[i] != '"') token += s[i++];
                if (i < s.size()) ++i;
            } else {
                token += s[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
    exeName = tokens.empty() ? AnsiString() : AnsiString(tokens[0]);
    std::string joined;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        if (t > 1) joined += ' ';
        bool quote = tokens[t].find(' ') != std::string::npos;
        if (quote) joined += '"';
        joined += tokens[t];
        if (quote) joined += '"';
    }
    params = AnsiString(std::move(joined));
}

AnsiString ResStr(const AnsiString& s) { return s; }

AnsiString DropT(const AnsiString& s) {
    if (s.Length() > 1 && (s[1] == 'T' || s[1] == 't')) return s.SubString(2, s.Length());
    return s;
}

AnsiString AnsiUpperFirstChar(const AnsiString& s) {
    AnsiString r = s.AnsiLowerCase();
    if (!r.IsEmpty()) r[1] = char(AnsiUpperChar(static_cast<unsigned char>(r[1])));
    return r;
}

AnsiString GetEnvVar(const AnsiString& name) {
    const char* v = std::getenv(name.c_str());
    return v ? AnsiString(v) : AnsiString();
}

TSize GetAveCharSize(TCanvas* canvas) {
    AnsiString letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    TSize extent = canvas->TextExtent(letters);
    return TSize(extent.cx / 52, extent.cy);
}
