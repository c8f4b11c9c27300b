// The library's resource loaders, icons, dialog units, polygon hit test,
// rotated fonts, variants, hatching and memory helpers, and its reports of
// the system's errors.

#include <cstring>

#include <sys/utsname.h>

#include "controls/CtlUtils.h"
#include "platform/FileUtils.h"
#include "platform/ImageList.h"
#include "platform/Region.h"

namespace {

// The name under which a numeric resource id is registered.
AnsiString IdName(int id) { return "#" + IntToStr(id); }

// A handle that stands for the program's module; only its address matters.
char g_mainModule;

} // namespace

HINSTANCE HInstance() { return reinterpret_cast<HINSTANCE>(&g_mainModule); }

void ResourceNotFound(const AnsiString& name) { throw EResNotFound(Format("Resource %s not found", name)); }

void ResourceNotFound(int id) { ResourceNotFound(IntToStr(id)); }

TBitmap* MakeModuleBitmap(HINSTANCE module, const AnsiString& name) {
    auto result = std::make_unique<TBitmap>();
    if (module && BitmapResourceExists(name)) result->LoadFromResourceName(name);
    if (result->Empty()) {
        if (name.Length() > 1 && name[1] == '#') {
            int id;
            if (TryStrToInt(name.SubString(2, name.Length()), id)) ResourceNotFound(id);
        }
        ResourceNotFound(name);
    }
    return result.release();
}

TBitmap* MakeBitmap(const AnsiString& name) { return MakeModuleBitmap(HInstance(), name); }

TBitmap* MakeBitmapID(int id) { return MakeModuleBitmap(HInstance(), IdName(id)); }

TIcon* MakeModuleIcon(HINSTANCE module, const AnsiString& name) {
    if (!module || !IconResourceExists(name)) return nullptr;
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromResourceName(name);
    if (icon->Empty()) return nullptr;
    return icon.release();
}

TIcon* MakeIcon(const AnsiString& name) { return MakeModuleIcon(HInstance(), name); }

TIcon* MakeIconID(int id) { return MakeModuleIcon(HInstance(), IdName(id)); }

TBitmap* CreateBitmapFromIcon(TIcon* icon, TColor backColor) {
    auto result = std::make_unique<TBitmap>();
    if (!icon) return result.release();
    result->SetSize(icon->Width(), icon->Height());
    result->Canvas()->Brush()->SetColor(backColor);
    result->Canvas()->FillRect(Rect(0, 0, icon->Width(), icon->Height()));
    icon->Draw(result->Canvas(), 0, 0);
    result->SetTransparentColor(backColor);
    result->SetTransparent(true);
    return result.release();
}

TIcon* CreateIconFromBitmap(TBitmap* bitmap, TColor transparentColor) {
    auto icon = std::make_unique<TIcon>();
    if (!bitmap || bitmap->Empty()) return icon.release();
    TColor leftOut = transparentColor == clDefault ? bitmap->TransparentColor() : transparentColor;
    TImageList list;
    list.SetSize(bitmap->Width(), bitmap->Height());
    int index = list.AddMasked(bitmap, leftOut);
    TBitmap image, mask;
    list.GetBitmap(index, &image);
    list.GetMask(index, &mask);
    icon->SetImage(&image, &mask);
    return icon.release();
}

TSize GetDialogBaseUnits() {
    TBitmap measure;
    TFont font;
    measure.Canvas()->SetFont(&font);
    return GetAveCharSize(measure.Canvas());
}

uint16_t DialogUnitsToPixelsX(uint16_t dlgUnits) { return uint16_t(dlgUnits * GetDialogBaseUnits().cx / 4); }

uint16_t DialogUnitsToPixelsY(uint16_t dlgUnits) { return uint16_t(dlgUnits * GetDialogBaseUnits().cy / 8); }

uint16_t PixelsToDialogUnitsX(uint16_t pixels) {
    int base = GetDialogBaseUnits().cx;
    return base > 0 ? uint16_t(pixels * 4 / base) : 0;
}

uint16_t PixelsToDialogUnitsY(uint16_t pixels) {
    int base = GetDialogBaseUnits().cy;
    return base > 0 ? uint16_t(pixels * 8 / base) : 0;
}

bool PointInPolyRgn(const TPoint& p, std::span<const TPoint> points) {
    TRegion region = CreatePolygonRgn(points, WINDING);
    return PtInRegion(region, p.x, p.y);
}

TLogFont CreateRotatedFont(TFont* font, int angle) {
    TLogFont lf;
    if (!font) return lf;
    lf.lfHeight = font->Height();
    lf.lfEscapement = angle * 10;
    lf.lfWeight = font->Style().Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font->Style().Contains(fsItalic);
    lf.lfUnderline = font->Style().Contains(fsUnderline);
    lf.lfStrikeOut = font->Style().Contains(fsStrikeOut);
    lf.lfCharSet = font->Charset();
    lf.lfFaceName = SameText(font->Name(), "Default") ? TFont().Name() : font->Name();
    lf.lfQuality = DEFAULT_QUALITY;
    switch (font->Pitch()) {
    case fpFixed: lf.lfPitchAndFamily = FIXED_PITCH; break;
    case fpVariable: lf.lfPitchAndFamily = VARIABLE_PITCH; break;
    default: lf.lfPitchAndFamily = DEFAULT_PITCH; break;
    }
    return lf;
}

Variant MakeVariant(std::span<const Variant> values) {
    if (values.empty()) return Variant();
    if (values.size() == 1) return values[0];
    return Variant::Array(values);
}

void ShadeRect(TCanvas* canvas, const TRect& rect) {
    if (!canvas || IsRectEmpty(rect)) return;
    static const uint8_t rows[8] = {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88};
    const TPoint origin = canvas->Origin();
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        for (int x = rect.Left; x < rect.Right; ++x) {
            const int dx = (x + origin.x) & 7, dy = (y + origin.y) & 7;
            // A set bit ANDs the pixel with black; a clear one with white, which keeps it.
            if (rows[dy] & (0x80 >> dx)) canvas->SetPixels(x, y, clBlack);
        }
    }
}

bool CompareMem(const void* p1, const void* p2, int length) {
    if (length <= 0) return true;
    return std::memcmp(p1, p2, std::size_t(length)) == 0;
}

std::unique_ptr<char[]> StrPAlloc(const AnsiString& s) {
    auto buffer = std::make_unique<char[]>(std::size_t(s.Length()) + 1);
    std::memcpy(buffer.get(), s.c_str(), std::size_t(s.Length()) + 1);
    return buffer;
}

char* StringToPChar(AnsiString& s) { return s.str().data(); }

void HugeInc(void*& p, std::ptrdiff_t amount) { p = HugeOffset(p, amount); }

void HugeDec(void*& p, std::ptrdiff_t amount) { p = HugeOffset(p, -amount); }

void* HugeOffset(void* p, std::ptrdiff_t amount) { return static_cast<char*>(p) + amount; }

void HMemCpy(void* dest, const void* source, std::ptrdiff_t size) {
    if (size > 0) std::memmove(dest, source, std::size_t(size));
}

void HugeMove(void* base, int dest, int source, int size) {
    const std::ptrdiff_t item = 4;
    HMemCpy(HugeOffset(base, dest * item), HugeOffset(base, source * item), size * item);
}

namespace {

[[noreturn]] void RaiseWin32Text(int errorCode, const AnsiString& text) {
    throw EWin32Error(Format("Win32 Error.  Code: %d.\n%s", errorCode, text), errorCode);
}

} // namespace

void RaiseWin32Error(int errorCode) {
    if (errorCode != 0) RaiseWin32Text(errorCode, SysErrorMessage(errorCode));
}

void CheckWin32(bool ok) {
    if (!ok) RaiseWin32Error(GetLastError());
}

HMODULE LoadDLL(const AnsiString& name) {
    HMODULE module = LoadLibraryA(name);
    if (!module) {
        const int error = GetLastError();
        RaiseWin32Text(error, LastLibraryError());
    }
    return module;
}

AnsiString GetWindowsVersion() {
    struct utsname u;
    if (::uname(&u) != 0) return AnsiString();
    return Trim(Format("%s %s %s", AnsiString(u.sysname), AnsiString(u.release), AnsiString(u.version)));
}
