#pragma once
// String routines of the component library: trimming and padding, words and
// delimited fields, number texts in any base, Roman numerals, wildcard
// matching and the reversible scrambling of stored values (XorEncode /
// XorDecode). All of them work on Windows-1251 byte strings with 1-based
// positions (0 means "not found") and leave their arguments unchanged unless
// an argument is documented as changed.

#include <bitset>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/AnsiString.h"

// A set of bytes: delimiters, "empty" characters, switch characters.
class TCharSet {
public:
    TCharSet() = default;
    TCharSet(std::initializer_list<char> chars) {
        for (char c : chars) Include(c);
    }
    // Every byte of the text is a member.
    static TCharSet Of(std::string_view chars) {
        TCharSet s;
        for (char c : chars) s.Include(c);
        return s;
    }
    void Include(char c) { bits_.set(static_cast<unsigned char>(c)); }
    bool Contains(char c) const { return bits_.test(static_cast<unsigned char>(c)); }
    bool Empty() const { return bits_.none(); }

private:
    std::bitset<256> bits_;
};

// Blank, tab, CR and LF, the usual word delimiters.
extern const TCharSet WordDelimiters;

// Windows-1251 <-> the DOS Cyrillic code page (866). A character the other
// code page lacks becomes '?'.
AnsiString StrToOem(const AnsiString& s);
AnsiString OemToAnsiStr(const AnsiString& s);

// True when every character is one of emptyChars (an empty text is empty).
bool IsEmptyStr(const AnsiString& s, const TCharSet& emptyChars);
// Every non-overlapping occurrence of srch, left to right; an empty srch is never found.
AnsiString ReplaceStr(const AnsiString& s, const AnsiString& srch, const AnsiString& replace);
AnsiString DelChars(const AnsiString& s, char chr);
AnsiString DelSpace(const AnsiString& s);
// Leading / trailing / both blanks (code 32 only).
AnsiString DelBSpace(const AnsiString& s);
AnsiString DelESpace(const AnsiString& s);
AnsiString DelRSpace(const AnsiString& s);
// Every run of blanks reduced to one blank.
AnsiString DelSpace1(const AnsiString& s);
// Each tab replaced by numb blanks.
AnsiString Tab2Space(const AnsiString& s, int numb);
// n copies of c (empty for n < 1).
AnsiString MakeStr(char c, int n);
AnsiString MS(char c, int n);
// Position of the n-th occurrence of c in s, overlapping occurrences counted.
int NPos(const AnsiString& c, const AnsiString& s, int n);
// Padded on the left / right with c up to length n; never cut.
AnsiString AddChar(char c, const AnsiString& s, int n);
AnsiString AddCharR(char c, const AnsiString& s, int n);
AnsiString LeftStr(const AnsiString& s, int n);
AnsiString RightStr(const AnsiString& s, int n);
AnsiString CenterStr(const AnsiString& src, int len);
// Locale order (symbols, digits, Latin, Cyrillic with Ё after Е; case only
// breaks ties): -1, 0 or 1. CompText ignores letter case.
int CompStr(const AnsiString& s1, const AnsiString& s2);
int CompText(const AnsiString& s1, const AnsiString& s2);
// The text before the first symb (all of s when absent).
AnsiString Copy2Symb(const AnsiString& s, char symb);
// The same; s becomes the rest from symb on, with leading blanks removed.
AnsiString Copy2SymbDel(AnsiString& s, char symb);
AnsiString Copy2Space(const AnsiString& s);
AnsiString Copy2SpaceDel(AnsiString& s);
// Lower case with the first letter of every word upper case.
AnsiString AnsiProperCase(const AnsiString& s, const TCharSet& wordDelims);

// Words are maximal runs of characters outside wordDelims.
int WordCount(const AnsiString& s, const TCharSet& wordDelims);
int WordPosition(int n, const AnsiString& s, const TCharSet& wordDelims);
AnsiString ExtractWord(int n, const AnsiString& s, const TCharSet& wordDelims);
AnsiString ExtractWordPos(int n, const AnsiString& s, const TCharSet& wordDelims, int& pos);
// The n-th field when every delimiter ends a field (empty fields count).
AnsiString ExtractDelimited(int n, const AnsiString& s, const TCharSet& delims);
// From pos up to the next delimiter; pos moves past that delimiter.
AnsiString ExtractSubstr(const AnsiString& s, int& pos, const TCharSet& delims);
bool IsWordPresent(const AnsiString& w, const AnsiString& s, const TCharSet& wordDelims);

// s in quote characters, each inner quote doubled / the reverse when s
// starts with quote (otherwise s unchanged).
AnsiString QuotedString(const AnsiString& s, char quote);
AnsiString ExtractQuotedString(const AnsiString& s, char quote);

// "1234567" -> "1,234,567".
AnsiString Numb2USA(const AnsiString& s);
// Upper-case hexadecimal with at least a digits.
AnsiString Dec2Hex(long long n, int a);
AnsiString D2H(long long n, int a);
// Hexadecimal text ("$" optional) to a number; 0 when it is not one.
int Hex2Dec(const AnsiString& s);
int H2D(const AnsiString& s);
// n (unsigned) in base b, padded with "0" to a characters. A base below 2
// has no digits and gives the empty text.
AnsiString Dec2Numb(long long n, int a, int b);
// Digits of base b, right to left, without validation.
int Numb2Dec(const AnsiString& s, int b);
int RomanToInt(const AnsiString& s);
AnsiString IntToRoman(int value);
// The lowest digits bits (at most 32), a blank before each group of spaces
// bits; no digits gives the empty text, spaces below 1 no blanks.
AnsiString IntToBin(long long value, int digits, int spaces);

// Position of helpWilds in inputStr, "?" matching any one character.
int FindPart(const AnsiString& helpWilds, const AnsiString& inputStr);
// "?" matches one character and "*" any run, including none.
bool IsWild(const AnsiString& inputStr, const AnsiString& wilds, bool ignoreCase);

// Key applied cyclically by exclusive-or; an empty key changes nothing.
// XorString keeps at most 255 characters, as a short string.
AnsiString XorString(const AnsiString& key, const AnsiString& src);
// Each scrambled byte as two lower-case hexadecimal digits.
AnsiString XorEncode(const AnsiString& key, const AnsiString& source);
// The reverse; a pair that is not hexadecimal counts as a blank, a trailing
// odd character is ignored.
AnsiString XorDecode(const AnsiString& key, const AnsiString& source);

// The argument that follows the switch among the program's arguments (argv
// without the program name); empty when there is none.
AnsiString GetCmdLineArg(const AnsiString& switchName, const TCharSet& switchChars);
AnsiString GetCmdLineArg(const AnsiString& switchName, const TCharSet& switchChars,
                         const std::vector<AnsiString>& args);
// The program's arguments as the system passed them, converted to Windows-1251.
std::vector<AnsiString> ProgramArguments();
