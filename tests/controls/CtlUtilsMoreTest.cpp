#include <gtest/gtest.h>

#include "common/Printers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "common/TestEnv.h"
#include "controls/CtlUtils.h"
#include "controls/Exconst.h"
#include "platform/ExpectMessage.h"
#include "platform/FileUtils.h"
#include "platform/Region.h"

namespace {

// A 4 x 4 picture: a red 2 x 2 square in the middle of fuchsia.
void PaintSquare(TBitmap& b) {
    b.SetSize(4, 4);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, 4, 4));
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(1, 1, 3, 3));
    b.SetTransparentColor(clFuchsia);
}

TEST(CtlUtilsMore, BitmapResourcesLoadOrRaiseWithTheName) {
    RegisterExResources();
    RegisterBitmapResource("#4711", PaintSquare);
    std::unique_ptr<TBitmap> check(MakeBitmap("check_images"));
    TBitmap direct;
    direct.LoadFromResourceName("CHECK_IMAGES");
    EXPECT_EQ(check->Width(), direct.Width());
    EXPECT_EQ(check->Height(), direct.Height());
    std::unique_ptr<TBitmap> numbered(MakeBitmapID(4711));
    EXPECT_EQ(numbered->Canvas()->Pixels(1, 1), clRed);
    struct Case {
        std::function<void()> load;
        const char* message;
    } cases[] = {
        {[] { delete MakeBitmap("NO_SUCH_PICTURE"); }, "Resource NO_SUCH_PICTURE not found"},
        {[] { delete MakeBitmapID(4712); }, "Resource 4712 not found"},
        {[] { delete MakeModuleBitmap(nullptr, "CHECK_IMAGES"); }, "Resource CHECK_IMAGES not found"},
        {[] { ResourceNotFound(12); }, "Resource 12 not found"},
        {[] { ResourceNotFound("EXSPIN"); }, "Resource EXSPIN not found"},
    };
    for (const Case& c : cases) ExpectMessage<EResNotFound>(c.load, c.message);
}

TEST(CtlUtilsMore, IconsLoadOrComeBackNone) {
    RegisterIconResource("SQUARE_ICON", PaintSquare);
    RegisterIconResource("#77", PaintSquare);
    std::unique_ptr<TIcon> icon(MakeIcon("Square_Icon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 4);
    std::unique_ptr<TIcon> numbered(MakeIconID(77));
    EXPECT_NE(numbered, nullptr);
    EXPECT_EQ(MakeIcon("NO_SUCH_ICON"), nullptr);
    EXPECT_EQ(MakeIconID(78), nullptr);
    EXPECT_EQ(MakeModuleIcon(nullptr, "SQUARE_ICON"), nullptr);

    std::unique_ptr<TBitmap> picture(CreateBitmapFromIcon(icon.get(), clBlue));
    EXPECT_EQ(picture->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(picture->Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(picture->TransparentColor(), clBlue);
    EXPECT_TRUE(picture->Transparent());

    // And back: clDefault leaves out the bitmap's transparent colour.
    struct Case {
        TColor leftOut;
        TColor corner, middle;
    } cases[] = {
        {clDefault, clLime, clRed},
        {clRed, clBlue, clLime},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TIcon> back(CreateIconFromBitmap(picture.get(), c.leftOut));
        TBitmap target;
        target.SetSize(4, 4);
        target.Canvas()->Brush()->SetColor(clLime);
        target.Canvas()->FillRect(Rect(0, 0, 4, 4));
        back->Draw(target.Canvas(), 0, 0);
        EXPECT_EQ(target.Canvas()->Pixels(0, 0), c.corner) << c.leftOut;
        EXPECT_EQ(target.Canvas()->Pixels(1, 2), c.middle) << c.leftOut;
    }
}

TEST(CtlUtilsMore, DialogUnitsAndPixelsBothWays) {
    const TSize base = GetDialogBaseUnits();
    ASSERT_GT(base.cx, 3);
    ASSERT_GT(base.cy, 7);
    for (int k : {0, 1, 2, 5, 40}) {
        EXPECT_EQ(DialogUnitsToPixelsX(uint16_t(4 * k)), k * base.cx) << k;
        EXPECT_EQ(DialogUnitsToPixelsY(uint16_t(8 * k)), k * base.cy) << k;
        EXPECT_EQ(PixelsToDialogUnitsX(uint16_t(k * base.cx)), 4 * k) << k;
        EXPECT_EQ(PixelsToDialogUnitsY(uint16_t(k * base.cy)), 8 * k) << k;
    }
    // Fractions are cut off, so a round trip never grows.
    EXPECT_EQ(PixelsToDialogUnitsX(uint16_t(base.cx - 1)), 3);
    for (int p = 0; p < 200; ++p) {
        EXPECT_LE(DialogUnitsToPixelsX(PixelsToDialogUnitsX(uint16_t(p))), p);
        EXPECT_LE(DialogUnitsToPixelsY(PixelsToDialogUnitsY(uint16_t(p))), p);
    }
}

TEST(CtlUtilsMore, PointInPolyRgnFillsByWinding) {
    // A five-pointed star drawn in one line: its middle is wound twice.
    const TPoint star[] = {{60, 10}, {89, 100}, {12, 45}, {108, 45}, {31, 100}};
    struct Case {
        TPoint p;
        bool inside;
    } cases[] = {
        {{60, 60}, true}, {{60, 20}, true}, {{100, 46}, true}, {{20, 20}, false}, {{60, 105}, false}, {{60, 95}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(PointInPolyRgn(c.p, star), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(PtInPolygon(star, TPoint(60, 60), ALTERNATE)); // the middle is out by the other rule
}

TEST(CtlUtilsMore, RotatedFontTakesTheFontsLook) {
    struct Case {
        const char* name;
        TFontStyles style;
        TFontPitch pitch;
        int angle;
        TLogFont expected;
    } cases[] = {
        {"Arial", TFontStyles() << fsBold << fsItalic, fpVariable, 90,
         {-13, 0, 900, 0, FW_BOLD, true, false, false, RUSSIAN_CHARSET, DEFAULT_QUALITY, VARIABLE_PITCH, "Arial"}},
        {"Default", TFontStyles() << fsUnderline << fsStrikeOut, fpFixed, -45,
         {-13, 0, -450, 0, FW_NORMAL, false, true, true, RUSSIAN_CHARSET, DEFAULT_QUALITY, FIXED_PITCH, "MS Sans Serif"}},
    };
    for (const Case& c : cases) {
        TFont font;
        font.SetName(c.name);
        font.SetStyle(c.style);
        font.SetPitch(c.pitch);
        font.SetHeight(-13);
        font.SetCharset(RUSSIAN_CHARSET);
        EXPECT_TRUE(CreateRotatedFont(&font, c.angle) == c.expected) << c.name;
    }
}

TEST(CtlUtilsMore, MakeVariantByCount) {
    const Variant values[] = {Variant(5), Variant("пять"_a), Variant(true)};
    EXPECT_TRUE(MakeVariant(std::span<const Variant>()).IsEmpty());
    EXPECT_EQ(MakeVariant(std::span(values, 1)), Variant(5));
    Variant all = MakeVariant(values);
    ASSERT_TRUE(VarIsArray(all));
    EXPECT_EQ(VarArrayHighBound(all), 2);
    EXPECT_EQ(all.Items()[1], Variant("пять"_a));
    EXPECT_EQ(all.Items()[2], Variant(true));
}

TEST(CtlUtilsMore, ShadeRectBlackensAHatchFromTheOrigin) {
    TBitmap b;
    b.SetSize(16, 9);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 16, 9));
    ShadeRect(b.Canvas(), Rect(1, 0, 16, 9)); // column 0 stays out
    // The black columns of each row: the pattern's set bits, leftmost bit first.
    const std::vector<int> black[] = {{3, 7, 11, 15}, {2, 6, 10, 14}, {1, 5, 9, 13}, {4, 8, 12},
                                      {3, 7, 11, 15}, {2, 6, 10, 14}, {1, 5, 9, 13}, {4, 8, 12},
                                      {3, 7, 11, 15}};
    for (int y = 0; y < 9; ++y) {
        std::vector<int> found;
        for (int x = 0; x < 16; ++x) {
            TColor p = b.Canvas()->Pixels(x, y);
            if (p == clBlack) found.push_back(x);
            else EXPECT_EQ(p, clRed) << x << "," << y;
        }
        EXPECT_EQ(found, black[y]) << "row " << y;
    }
    EXPECT_EQ(b.Canvas()->Brush()->Color(), clRed);
}

TEST(CtlUtilsMore, CompareMemAndStringBuffers) {
    const char a[] = "abcdefghij";
    struct Case {
        const char* b;
        int length;
        bool equal;
    } cases[] = {
        {"abcdefghij", 10, true}, {"abcdefghiX", 9, true}, {"abcdefghiX", 10, false}, {"abcdeXghij", 10, false},
        {"Xbcdefghij", 10, false}, {"abcdefXhij", 7, false}, {"Xbcdefghij", 0, true}, {"Xbcdefghij", -3, true},
    };
    for (const Case& c : cases) EXPECT_EQ(CompareMem(a, c.b, c.length), c.equal) << c.b << " " << c.length;

    AnsiString text = "Текст"_a;
    std::unique_ptr<char[]> copy = StrPAlloc(text);
    ASSERT_EQ(std::strlen(copy.get()), std::size_t(text.Length()));
    EXPECT_EQ(std::memcmp(copy.get(), text.c_str(), std::size_t(text.Length()) + 1), 0);
    copy[0] = 'X';
    EXPECT_EQ(text, "Текст"_a); // a copy
    char* own = StringToPChar(text);
    own[0] = 'X';
    EXPECT_EQ(text[1], 'X'); // the text's own buffer
    EXPECT_EQ(StrPAlloc(AnsiString())[0], '\0');
}

TEST(CtlUtilsMore, SystemErrorsCarryTheirNumberAndText) {
    RaiseWin32Error(0);
    CheckWin32(true);
    ExpectMessage<EWin32Error>([] { RaiseWin32Error(ENOENT); },
                               "Win32 Error.  Code: 2.\nThe system cannot find the file specified");
    ExpectMessage<EWin32Error>([] { RaiseWin32Error(EINVAL); }, "Win32 Error.  Code: 22.\nInvalid argument");
    // The error a failed call left behind, whatever the desktop's language.
    testenv::TempDir dir;
    ASSERT_TRUE(CreateDir(dir.File("sub")));
    ExpectMessage<EWin32Error>([&] { CheckWin32(CreateDir(dir.File("sub"))); },
                               "Win32 Error.  Code: 17.\nThe file exists");
    try {
        CheckWin32(RemoveDir(dir.File("missing")));
        ADD_FAILURE() << "no error raised";
    } catch (const EWin32Error& e) {
        EXPECT_EQ(e.ErrorCode, ENOENT);
        EXPECT_EQ(e.Message, "Win32 Error.  Code: 2.\nThe system cannot find the file specified");
    }
}

// The error of a library that cannot be loaded, or the library.
EWin32Error LoadError(const AnsiString& name) {
    try {
        FreeLibrary(LoadDLL(name));
    } catch (const EWin32Error& e) {
        return e;
    }
    return EWin32Error("loaded", 0);
}

TEST(CtlUtilsMore, LoadDLLLoadsOrRaisesTheLoadersErrorNamingTheLibrary) {
    HMODULE math = LoadDLL("libm.so.6");
    ASSERT_NE(math, nullptr);
    EXPECT_NE(GetProcAddress(math, "cos"), nullptr);
    EXPECT_TRUE(FreeLibrary(math));

    const EWin32Error missing = LoadError("no_such_library_ge.dll");
    EXPECT_EQ(missing.ErrorCode, ENOENT);
    const std::string text = missing.Message.c_str();
    EXPECT_EQ(text.rfind("Win32 Error.  Code: 2.\nlibno_such_library_ge.so: ", 0), 0u) << text;

    // A file of the library's name that is no library.
    testenv::TempDir dir;
    testenv::WriteBytes(dir.Path() / "libbroken.so", "not a library");
    const EWin32Error broken = LoadError(dir.File("broken.dll"));
    EXPECT_EQ(broken.ErrorCode, ENOEXEC);
    const std::string expected = "Win32 Error.  Code: 8.\n" + std::string(dir.File("libbroken.so").c_str()) + ": ";
    EXPECT_EQ(std::string(broken.Message.c_str()).rfind(expected, 0), 0u) << broken.Message.c_str();
}

TEST(CtlUtilsMore, HugePointersStepAndBlocksMoveOverOverlaps) {
    char bytes[16] = "0123456789abcde";
    void* p = bytes;
    HugeInc(p, 10);
    EXPECT_EQ(p, bytes + 10);
    HugeDec(p, 7);
    EXPECT_EQ(p, bytes + 3);
    EXPECT_EQ(HugeOffset(p, -3), static_cast<void*>(bytes));
    // Forward and backward over the block itself.
    HMemCpy(bytes + 2, bytes, 6);
    EXPECT_STREQ(bytes, "0101234589abcde");
    HMemCpy(bytes, bytes + 3, 7);
    EXPECT_STREQ(bytes, "1234589589abcde");
    HMemCpy(bytes, "zz", 0);
    EXPECT_STREQ(bytes, "1234589589abcde");

    // Items of four bytes, by index.
    int32_t items[8] = {10, 11, 12, 13, 14, 15, 16, 17};
    HugeMove(items, 2, 0, 4);
    const int32_t up[8] = {10, 11, 10, 11, 12, 13, 16, 17};
    EXPECT_EQ(std::memcmp(items, up, sizeof items), 0);
    HugeMove(items, 1, 4, 3);
    const int32_t down[8] = {10, 12, 13, 16, 12, 13, 16, 17};
    EXPECT_EQ(std::memcmp(items, down, sizeof items), 0);
}

TEST(CtlUtilsMore, WindowsVersionIsWhatTheSystemReports) {
    std::string reported;
    FILE* uname = popen("uname -srv", "r");
    ASSERT_NE(uname, nullptr);
    char line[512];
    while (std::fgets(line, sizeof line, uname)) reported += line;
    EXPECT_EQ(pclose(uname), 0);
    while (!reported.empty() && (reported.back() == '\n' || reported.back() == ' ')) reported.pop_back();
    EXPECT_EQ(std::string(GetWindowsVersion().c_str()), reported);
}

} // namespace
