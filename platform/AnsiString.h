#pragma once
// AnsiString: the program's text type. It holds Windows-1251 bytes; every
// count, index and fixed-width field is in those bytes. Indexes are 1-based as
// in the code the program was written in. Conversion to Unicode happens only at
// the edges (display through QtText.h, file-system paths through PathToUtf8).

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class AnsiString {
public:
    AnsiString() = default;
    AnsiString(const char* s) : s_(s ? s : "") {}
    AnsiString(const char* s, int len) : s_(s, len > 0 ? std::size_t(len) : 0) {}
    AnsiString(std::string s) : s_(std::move(s)) {}
    AnsiString(std::string_view s) : s_(s) {}
    explicit AnsiString(char c) : s_(1, c) {}
    explicit AnsiString(int v);
    explicit AnsiString(unsigned v);
    explicit AnsiString(long v);
    explicit AnsiString(long long v);
    explicit AnsiString(double v);

    int Length() const { return int(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    const char* c_str() const { return s_.c_str(); }
    const char* data() const { return s_.data(); }
    const std::string& str() const& { return s_; }
    std::string& str() & { return s_; }
    std::string str() && { return std::move(s_); }
    std::string_view view() const& { return s_; }
    void SetLength(int len) { s_.resize(len > 0 ? std::size_t(len) : 0); }

    // 1-based access; index 1..Length(). Out of range throws ERangeError.
    char& operator[](int index);
    char operator[](int index) const;

    // Count bytes from 1-based index; out-of-range parts are clipped.
    AnsiString SubString(int index, int count) const;
    // 1-based position of the first occurrence, 0 when absent or sub is empty.
    int Pos(const AnsiString& sub) const;
    AnsiString& Insert(const AnsiString& str, int index);
    AnsiString& Delete(int index, int count);

    AnsiString Trim() const;      // strips bytes <= ' ' at both ends
    AnsiString TrimLeft() const;
    AnsiString TrimRight() const;
    AnsiString UpperCase() const; // Latin letters only
    AnsiString LowerCase() const;
    AnsiString AnsiUpperCase() const; // Latin and Cyrillic letters, Ё included
    AnsiString AnsiLowerCase() const;

    // 1-based index of the last byte that is one of delimiters, 0 when none.
    int LastDelimiter(const AnsiString& delimiters) const;
    bool IsDelimiter(const AnsiString& delimiters, int index) const;

    int ToInt() const; // throws EConvertError
    int ToIntDef(int def) const;
    double ToDouble() const; // throws EConvertError

    // Comparison that folds letter case (Cyrillic included).
    int AnsiCompareIC(const AnsiString& other) const;
    int AnsiCompare(const AnsiString& other) const;

    static AnsiString StringOfChar(char c, int count);

    AnsiString& operator+=(const AnsiString& o) { s_ += o.s_; return *this; }
    AnsiString& operator+=(const char* o) { s_ += o ? o : ""; return *this; }
    AnsiString& operator+=(char c) { s_ += c; return *this; }

    friend AnsiString operator+(const AnsiString& a, const AnsiString& b) { return AnsiString(a.s_ + b.s_); }
    friend AnsiString operator+(const AnsiString& a, const char* b) { return AnsiString(a.s_ + (b ? b : "")); }
    friend AnsiString operator+(const char* a, const AnsiString& b) { return AnsiString((a ? a : "") + b.s_); }
    friend AnsiString operator+(const AnsiString& a, char b) { return AnsiString(a.s_ + b); }
    friend AnsiString operator+(char a, const AnsiString& b) { return AnsiString(std::string(1, a) + b.s_); }

    // Byte-wise comparison, as unsigned bytes.
    friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.s_ == b.s_; }
    friend bool operator==(const AnsiString& a, const char* b) { return a.s_ == (b ? b : ""); }
    friend std::strong_ordering operator<=>(const AnsiString& a, const AnsiString& b);

private:
    std::string s_;
};

struct AnsiStringHash {
    std::size_t operator()(const AnsiString& s) const { return std::hash<std::string>()(s.str()); }
};

// Source files are UTF-8; this turns a Russian literal into Windows-1251 bytes:
// "Ошибка"_a. Characters without a Windows-1251 byte become '?'.
AnsiString operator""_a(const char* utf8, std::size_t len);

// ---- Windows-1251 <-> Unicode -------------------------------------------------
// Every byte maps to one code point and back; 0x98 (unassigned) maps to U+0098.
char32_t Cp1251ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1251 has none.
int UnicodeToCp1251(char32_t cp);
AnsiString Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(const AnsiString& s);

// Letter-case folding of single Windows-1251 bytes.
unsigned char AnsiUpperChar(unsigned char c);
unsigned char AnsiLowerChar(unsigned char c);

// ---- Number and text routines ------------------------------------------------
AnsiString IntToStr(long long v);
AnsiString IntToHex(long long v, int digits);
int StrToInt(const AnsiString& s);           // throws EConvertError
int StrToIntDef(const AnsiString& s, int def);
bool TryStrToInt(const AnsiString& s, int& out);
// Fractional numbers are written with '.' and read with '.' or ',' whatever
// the desktop's language: stored settings and typed values mean the same
// number under every locale.
double StrToFloat(const AnsiString& s);      // throws EConvertError; '.' or ','
bool TryStrToFloat(const AnsiString& s, double& out);
AnsiString FloatToStr(double v);             // up to 15 significant digits
AnsiString FloatToFixed(double v, int decimals);   // as printf "%.*f" in the C locale
AnsiString FloatToGeneral(double v, int digits);   // as printf "%.*G" in the C locale
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
AnsiString AnsiUpperCase(const AnsiString& s);
AnsiString AnsiLowerCase(const AnsiString& s);
// Case-insensitive comparison that folds Cyrillic; <0, 0, >0.
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
// Case-sensitive comparison by byte value.
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);
AnsiString StringReplaceAll(const AnsiString& s, const AnsiString& from, const AnsiString& to);

// printf-style formatting; AnsiString arguments are passed as their bytes.
AnsiString FormatRaw(const char* fmt, ...);

namespace ge_detail {
inline const char* FormatArg(const AnsiString& s) { return s.c_str(); }
template <class T>
inline T FormatArg(T v) { return v; }
}

template <class... Args>
AnsiString Format(const AnsiString& fmt, const Args&... args) {
    return FormatRaw(fmt.c_str(), ge_detail::FormatArg(args)...);
}
