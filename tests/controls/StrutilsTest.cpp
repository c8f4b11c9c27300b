#include <gtest/gtest.h>

#include "common/Printers.h"

#include "controls/Strutils.h"

namespace {

const TCharSet kComma = {','};
const TCharSet kBlank = {' '};

TEST(Strutils, XorRoundTripForEveryByteAndKey) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const AnsiString source(all);
    for (const AnsiString& key : {AnsiString(), AnsiString("k"), "Ключ"_a, AnsiString(std::string("\0\xff", 2))}) {
        AnsiString encoded = XorEncode(key, source);
        ASSERT_EQ(encoded.Length(), 2 * source.Length());
        for (char c : encoded.str()) ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << c;
        EXPECT_EQ(XorDecode(key, encoded), source);
        EXPECT_EQ(XorDecode(key, encoded.UpperCase()), source); // upper-case digits are read too
    }
}

TEST(Strutils, XorEncodeExamplesAndDamagedText) {
    EXPECT_EQ(XorEncode("", "abc"), AnsiString("616263"));
    EXPECT_EQ(XorDecode("", "616263"), AnsiString("abc"));
    // 'a' ^ 'k' = 0x0a, 'b' ^ 'k' = 0x09: the key repeats.
    EXPECT_EQ(XorEncode("k", "ab"), AnsiString("0a09"));
    EXPECT_EQ(XorEncode("key", ""), AnsiString());
    // An odd trailing character is ignored; a pair that is not hexadecimal is a blank.
    EXPECT_EQ(XorDecode("", "6162x"), AnsiString("ab"));
    EXPECT_EQ(XorDecode("", "zz41"), AnsiString(" A"));
    EXPECT_EQ(XorDecode("k", "zz"), AnsiString(char(' ' ^ 'k')));
    EXPECT_EQ(XorDecode("", "-1"), AnsiString(" "));
}

TEST(Strutils, XorStringKeepsAShortString) {
    AnsiString longText = AnsiString::StringOfChar('x', 300);
    EXPECT_EQ(XorString("", longText).Length(), 255);
    EXPECT_EQ(XorString("", "abc"), AnsiString("abc"));
    EXPECT_EQ(XorString("ab", XorString("ab", "hello")), AnsiString("hello"));
    EXPECT_EQ(XorString("\x01", "A"), AnsiString("@"));
}

TEST(Strutils, IsWildCases) {
    struct Case {
        AnsiString input;
        AnsiString wilds;
        bool ignoreCase;
        bool match;
    } cases[] = {
        {"abc", "a*", false, true},
        {"ABC", "a?c", true, true},
        {"ABC", "a?c", false, false},
        {"", "*", false, true},          // "*" matches before the empty test
        {"", "a", false, false},
        {"abc", "", false, false},
        {"abc", "abc", false, true},
        {"abc", "a**c", false, true},    // "**" is "*"
        {"abc", "*c", false, true},
        {"abc", "*b", false, false},
        {"a", "a*a", false, false},      // pattern left over
        {"ab", "a*ab", false, false},    // the end segment may not reuse read input
        {"b", "*abc", false, false},     // input shorter than the end segment
        {"abxcdyef", "ab*cd*ef", false, true},
        {"abxcdyef", "ab*cd*eg", false, false},
        {"abxcdyef", "ab*c?*ef", false, true},
        {"abcd", "ab?", false, false},   // input left over
        {"ab", "ab*", false, true},
        {"ab", "abc*", false, false},    // pattern left over that is not only "*"
        {"ab", "ab**", false, true},
        {"tmainform.mruman", "tmainform.*", false, true},
        {"TMainForm\\MRU", "TMainForm\\*", false, true},
        {"файл.tvs"_a, "ФАЙЛ.*"_a, true, true},
        {"a*c", "a*", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWild(c.input, c.wilds, c.ignoreCase), c.match) << AnsiToUtf8(c.input) << " ~ " << AnsiToUtf8(c.wilds);
}

TEST(Strutils, FindPartWithAndWithoutQuestionMarks) {
    EXPECT_EQ(FindPart("cd", "abcde"), 3);
    EXPECT_EQ(FindPart("c?e", "abcde"), 3);
    EXPECT_EQ(FindPart("??", "a"), 0);
    EXPECT_EQ(FindPart("x?", "abc"), 0);
    EXPECT_EQ(FindPart("", "abc"), 0);
}

TEST(Strutils, RomanNumerals) {
    EXPECT_EQ(RomanToInt("mcmxcix"), 1999);
    EXPECT_EQ(RomanToInt("-XL"), -40);
    EXPECT_EQ(RomanToInt("XIIA"), 0);
    EXPECT_EQ(RomanToInt("IIII"), 4);
    EXPECT_EQ(RomanToInt("IIV"), 5);
    EXPECT_EQ(RomanToInt(""), 0);
    EXPECT_EQ(IntToRoman(1994), AnsiString("MCMXCIV"));
    EXPECT_EQ(IntToRoman(0), AnsiString());
    EXPECT_EQ(IntToRoman(-5), AnsiString());
    for (int v : {1, 4, 9, 14, 40, 90, 400, 888, 1999, 2024, 3999}) EXPECT_EQ(RomanToInt(IntToRoman(v)), v) << v;
}

TEST(Strutils, NumberTexts) {
    EXPECT_EQ(Numb2USA("123"), AnsiString("123"));
    EXPECT_EQ(Numb2USA("1234"), AnsiString("1,234"));
    EXPECT_EQ(Numb2USA("1234567"), AnsiString("1,234,567"));
    EXPECT_EQ(Numb2USA(""), AnsiString());
    EXPECT_EQ(Dec2Hex(255, 4), AnsiString("00FF"));
    EXPECT_EQ(D2H(-1, 1), AnsiString("FFFFFFFF"));
    EXPECT_EQ(Hex2Dec("ff"), 255);
    EXPECT_EQ(H2D("$10"), 16);
    EXPECT_EQ(Hex2Dec("xyz"), 0);
    EXPECT_EQ(Dec2Numb(255, 10, 2), AnsiString("0011111111"));
    EXPECT_EQ(Dec2Numb(35, 0, 36), AnsiString("Z"));
    EXPECT_EQ(Dec2Numb(0, 3, 16), AnsiString("000"));
    EXPECT_EQ(Dec2Numb(-1, 0, 16), AnsiString("FFFFFFFF"));
    EXPECT_EQ(Dec2Numb(10, 0, 1), AnsiString()); // no base below 2
    EXPECT_EQ(Dec2Numb(10, 0, 0), AnsiString());
    EXPECT_EQ(Numb2Dec("ff", 16), 255);
    EXPECT_EQ(Numb2Dec("777", 8), 511);
    EXPECT_EQ(IntToBin(5, 8, 4), AnsiString(" 0000 0101"));
    EXPECT_EQ(IntToBin(5, 3, 4), AnsiString("101"));
    EXPECT_EQ(IntToBin(-1, 40, 0), AnsiString::StringOfChar('1', 32)); // cut to 32, no blanks
    EXPECT_EQ(IntToBin(5, 0, 4), AnsiString());
}

TEST(Strutils, WordsAndFields) {
    EXPECT_EQ(ExtractDelimited(2, "a,,b", kComma), AnsiString());
    EXPECT_EQ(ExtractDelimited(3, "a,,b", kComma), AnsiString("b"));
    EXPECT_EQ(ExtractWord(2, "a,,b", kComma), AnsiString("b"));
    EXPECT_EQ(WordCount(",a,,b,", kComma), 2);
    EXPECT_EQ(WordPosition(2, ",a,,bc", kComma), 5);
    EXPECT_EQ(WordPosition(3, ",a,,bc", kComma), 0);
    int pos = -1;
    EXPECT_EQ(ExtractWordPos(1, "  xy z", kBlank, pos), AnsiString("xy"));
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(ExtractWordPos(5, "  xy z", kBlank, pos), AnsiString());
    EXPECT_EQ(pos, 0);
    EXPECT_TRUE(IsWordPresent("b", "a b c", kBlank));
    EXPECT_FALSE(IsWordPresent("B", "a b c", kBlank));
    int p = 1;
    EXPECT_EQ(ExtractSubstr("ab;cd", p, TCharSet{';'}), AnsiString("ab"));
    EXPECT_EQ(p, 4);
    EXPECT_EQ(ExtractSubstr("ab;cd", p, TCharSet{';'}), AnsiString("cd"));
    EXPECT_EQ(p, 6);
    EXPECT_EQ(ExtractSubstr("ab;cd", p, TCharSet{';'}), AnsiString());
    EXPECT_EQ(AnsiProperCase("иВАН пЕТРОВ"_a, kBlank), "Иван Петров"_a);
}

TEST(Strutils, PaddingTrimmingAndSearching) {
    EXPECT_EQ(AddChar('0', "12345", 3), AnsiString("12345"));
    EXPECT_EQ(AddChar('0', "5", 3), AnsiString("005"));
    EXPECT_EQ(AddCharR('.', "5", 3), AnsiString("5.."));
    EXPECT_EQ(LeftStr("ab", 4), AnsiString("ab  "));
    EXPECT_EQ(RightStr("ab", 4), AnsiString("  ab"));
    EXPECT_EQ(CenterStr("ab", 7), AnsiString("  ab   "));
    EXPECT_EQ(CenterStr("abcdef", 3), AnsiString("abcdef"));
    EXPECT_EQ(NPos("aa", "aaaa", 2), 2);
    EXPECT_EQ(NPos("aa", "aaaa", 4), 0);
    EXPECT_EQ(NPos("aa", "aaaa", 0), 0);
    EXPECT_EQ(DelSpace1("a   b  c "), AnsiString("a b c "));
    EXPECT_EQ(DelRSpace("  a b \t "), AnsiString("a b \t"));
    EXPECT_EQ(DelBSpace("\t a"), AnsiString("\t a")); // only code 32
    EXPECT_EQ(Tab2Space("a\tb", 3), AnsiString("a   b"));
    EXPECT_EQ(ReplaceStr("aaa", "aa", "b"), AnsiString("ba"));
    EXPECT_EQ(ReplaceStr("abc", "", "x"), AnsiString("abc"));
    EXPECT_EQ(MakeStr('z', 0), AnsiString());
    EXPECT_TRUE(IsEmptyStr("", kBlank));
    EXPECT_TRUE(IsEmptyStr("   ", kBlank));
    EXPECT_FALSE(IsEmptyStr(" x ", kBlank));
    AnsiString s = "first  second third";
    EXPECT_EQ(Copy2SpaceDel(s), AnsiString("first"));
    EXPECT_EQ(s, AnsiString("second third"));
    AnsiString t = "key=value";
    EXPECT_EQ(Copy2SymbDel(t, '='), AnsiString("key"));
    EXPECT_EQ(t, AnsiString("=value"));
    EXPECT_EQ(Copy2Symb("nosymbol", '='), AnsiString("nosymbol"));
}

TEST(Strutils, QuotesCodePagesAndOrder) {
    EXPECT_EQ(QuotedString("it's", '\''), AnsiString("'it''s'"));
    EXPECT_EQ(ExtractQuotedString("'it''s' tail", '\''), AnsiString("it's"));
    EXPECT_EQ(ExtractQuotedString("plain", '\''), AnsiString("plain"));
    // Windows-1251 <-> 866: Cyrillic letters keep their meaning, ASCII stays.
    AnsiString text = "Привет, Ёж!"_a;
    AnsiString oem = StrToOem(text);
    EXPECT_EQ(static_cast<unsigned char>(oem[1]), 0x8F); // П in code page 866
    EXPECT_EQ(OemToAnsiStr(oem), text);
    EXPECT_LT(CompStr("a", "B"), 0);
    EXPECT_GT(CompStr("B", "a"), 0);
    EXPECT_LT(CompStr("a", "A"), 0); // case breaks the tie only
    EXPECT_EQ(CompText("a", "A"), 0);
    EXPECT_LT(CompStr("Е"_a, "Ё"_a), 0);
    EXPECT_LT(CompStr("Ё"_a, "Ж"_a), 0);
    EXPECT_LT(CompStr("z", "а"_a), 0);
    EXPECT_LT(CompStr("9", "a"), 0);
}

TEST(Strutils, CommandLineArgument) {
    std::vector<AnsiString> args = {"-ini", "a.ini", "/Log", "x", "-last"};
    EXPECT_EQ(GetCmdLineArg("ini", TCharSet{'-', '/'}, args), AnsiString("a.ini"));
    EXPECT_EQ(GetCmdLineArg("LOG", TCharSet{'-', '/'}, args), AnsiString("x"));
    EXPECT_EQ(GetCmdLineArg("last", TCharSet{'-'}, args), AnsiString()); // the last argument
    EXPECT_EQ(GetCmdLineArg("log", TCharSet{'-'}, args), AnsiString());  // '/' is not a switch here
    EXPECT_EQ(GetCmdLineArg("Log", TCharSet(), args), AnsiString("x")); // any first character
}

} // namespace
