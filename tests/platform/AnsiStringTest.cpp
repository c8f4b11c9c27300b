#include <clocale>
#include <cstdio>
#include <string>
#include <iconv.h>

#include <gtest/gtest.h>

#include "platform/AnsiString.h"
#include "platform/Exceptions.h"

#include "common/TestEnv.h"

namespace {

// The system's own converter, as a second opinion on our table.
int IconvToUnicode(unsigned char byte, char32_t& out) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    if (cd == (iconv_t)-1) return -2;
    char in[1] = {static_cast<char>(byte)};
    char buf[8] = {};
    char* ip = in;
    char* op = buf;
    size_t il = 1, ol = sizeof buf;
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == (size_t)-1) return -1;
    out = char32_t(static_cast<unsigned char>(buf[0]) | static_cast<unsigned char>(buf[1]) << 8 |
                   static_cast<unsigned char>(buf[2]) << 16);
    return 0;
}

TEST(Cp1251, EveryByteSurvivesRoundTripThroughUnicodeAndUtf8) {
    for (int b = 0; b < 256; ++b) {
        char32_t u = Cp1251ToUnicode(static_cast<unsigned char>(b));
        EXPECT_EQ(UnicodeToCp1251(u), b) << b;
        AnsiString s(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(s)), s) << b;
    }
    EXPECT_EQ(Cp1251ToUnicode(0x98), U'\u0098');
}

TEST(Cp1251, TableAgreesWithSystemIconvOnEveryDefinedByte) {
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        char32_t sys;
        int rc = IconvToUnicode(static_cast<unsigned char>(b), sys);
        ASSERT_NE(rc, -2) << "iconv has no CP1251";
        if (rc != 0) continue; // undefined in the system's table
        EXPECT_EQ(Cp1251ToUnicode(static_cast<unsigned char>(b)), sys) << b;
        ++compared;
    }
    EXPECT_GE(compared, 255);
}

TEST(Cp1251, LiteralHelperAndUnmappableCharacters) {
    AnsiString s = "Ошибка Ё ё №"_a;
    EXPECT_EQ(s.Length(), 12);
    EXPECT_EQ(static_cast<unsigned char>(s[1]), 0xCE);
    EXPECT_EQ(static_cast<unsigned char>(s[8]), 0xA8);
    EXPECT_EQ(static_cast<unsigned char>(s[10]), 0xB8);
    EXPECT_EQ(static_cast<unsigned char>(s[12]), 0xB9);
    EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\x80z"), AnsiString("a?z")); // a CJK character
    EXPECT_EQ(Utf8ToAnsi("a\xD0"), AnsiString("a?"));           // cut-off sequence
}

TEST(AnsiStringCase, FoldsCyrillicIncludingYo) {
    AnsiString lower = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"_a;
    AnsiString upper = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"_a;
    EXPECT_EQ(lower.AnsiUpperCase(), upper);
    EXPECT_EQ(upper.AnsiLowerCase(), lower);
    EXPECT_EQ(AnsiCompareText(lower, upper), 0);
    EXPECT_TRUE(SameText("Выход"_a, "ВЫХОД"_a));
    EXPECT_LT(AnsiCompareText("а"_a, "б"_a), 0);
    // UpperCase touches Latin letters only.
    EXPECT_EQ(("abc"_a + "я"_a).UpperCase(), "ABC"_a + "я"_a);
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
}

TEST(AnsiStringApi, OneBasedOperations) {
    AnsiString s = "c:\\dir\\file.tvs";
    EXPECT_EQ(s.Pos("\\"), 3);
    EXPECT_EQ(s.Pos(""), 0);
    EXPECT_EQ(s.LastDelimiter("\\/:"), 7);
    EXPECT_EQ(s.SubString(8, 100), AnsiString("file.tvs"));
    EXPECT_EQ(s.SubString(0, 3), AnsiString("c:"));
    EXPECT_EQ(s.SubString(50, 3), AnsiString(""));
    EXPECT_EQ(s.SubString(2, -1), AnsiString(""));
    AnsiString t = "abcdef";
    t.Delete(2, 2);
    EXPECT_EQ(t, AnsiString("adef"));
    t.Delete(10, 1);
    EXPECT_EQ(t, AnsiString("adef"));
    t.Insert("XY", 2);
    EXPECT_EQ(t, AnsiString("aXYdef"));
    t.Insert("!", 100);
    EXPECT_EQ(t, AnsiString("aXYdef!"));
    EXPECT_EQ(AnsiString("  \t x y \r\n").Trim(), AnsiString("x y"));
    EXPECT_EQ(AnsiString("  x ").TrimLeft(), AnsiString("x "));
    EXPECT_EQ(AnsiString("  x ").TrimRight(), AnsiString("  x"));
    EXPECT_THROW(t[0], ERangeError);
    EXPECT_THROW(t[8], ERangeError);
    EXPECT_TRUE(AnsiString().IsEmpty());
    EXPECT_EQ(AnsiString::StringOfChar('-', 3), AnsiString("---"));
}

TEST(AnsiStringNumbers, ConversionsAndErrors) {
    EXPECT_EQ(AnsiString(" 42 ").ToInt(), 42);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    try {
        StrToInt("x1");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, AnsiString("'x1' is not a valid integer value"));
    }
    EXPECT_EQ(StrToIntDef("zz", 5), 5);
    EXPECT_EQ(IntToStr(-12), AnsiString("-12"));
    EXPECT_EQ(IntToHex(255, 4), AnsiString("00FF"));
    EXPECT_EQ(IntToHex(-1, 2), AnsiString("FFFFFFFF"));
    EXPECT_EQ(FloatToStr(2.5), AnsiString("2.5"));
    EXPECT_EQ(FloatToStr(0.1), AnsiString("0.1"));
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_THROW(StrToFloat("1.5x"), EConvertError);
}

TEST(AnsiStringNumbers, FractionsReadAndWriteTheSameUnderEveryLocale) {
    // What the C library writes in its own locale is the reference.
    struct Restore {
        std::string name = std::setlocale(LC_NUMERIC, nullptr);
        ~Restore() { std::setlocale(LC_NUMERIC, name.c_str()); }
    } restore;
    std::setlocale(LC_NUMERIC, "C");
    const double values[] = {1.5, -0.25, 0.4, 2.5, 1e20, 1e-10, 123456.789, 3.0};
    std::vector<std::string> general, fixed2, general7;
    for (double v : values) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", v);
        general.push_back(buf);
        std::snprintf(buf, sizeof buf, "%.*f", 2, v);
        fixed2.push_back(buf);
        std::snprintf(buf, sizeof buf, "%.*G", 7, v);
        general7.push_back(buf);
    }
    testenv::CommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << testenv::kCommaLocaleName << " is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_EQ(std::string(probe), "1,5") << "the C library writes this language's comma";
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(FloatToStr(values[i]).str(), general[i]) << i;
        EXPECT_EQ(FloatToFixed(values[i], 2).str(), fixed2[i]) << i;
        EXPECT_EQ(FloatToGeneral(values[i], 7).str(), general7[i]) << i;
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(values[i])), values[i]) << i;
    }
    struct Read {
        const char* text;
        bool ok;
        double value;
    } reads[] = {
        {"1.5", true, 1.5}, {"1,5", true, 1.5}, {" -0.25 ", true, -0.25}, {"+2.5e3", true, 2500},
        {"1e-3", true, 0.001}, {".5", true, 0.5}, {"1e400", false, 0}, {"1.5.1", false, 0},
        {"1,5x", false, 0}, {"+-1", false, 0}, {"", false, 0},
    };
    for (const Read& r : reads) {
        double v = -1;
        EXPECT_EQ(TryStrToFloat(r.text, v), r.ok) << r.text;
        EXPECT_DOUBLE_EQ(r.ok ? v : 0.0, r.value) << r.text;
    }
}

TEST(AnsiStringFormat, PassesAnsiStringsAsBytes) {
    AnsiString name = "Схема"_a;
    EXPECT_EQ(Format("_chain%6.6d", 42), AnsiString("_chain000042"));
    EXPECT_EQ(Format("%-15s|", AnsiString("net")), AnsiString("net            |"));
    EXPECT_EQ(Format("Ошибка в файле %s стр. %d"_a, AnsiString("Scheme"), 12),
              "Ошибка в файле Scheme стр. 12"_a);
    EXPECT_EQ(Format("%s", name).Length(), 5);
    EXPECT_EQ(Format("%%"), AnsiString("%"));
}

} // namespace
