#include "platform/AnsiString.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/Exceptions.h"

namespace {

// Code points of bytes 0x80..0xFF. 0x98 is unassigned in Windows-1251 and is
// kept as U+0098 so that every byte survives a round trip.
constexpr char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

char32_t UnicodeUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
    if (c == 0x0491) return 0x0490;
    return c;
}

char32_t UnicodeLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    if (c == 0x0490) return 0x0491;
    return c;
}

struct Tables {
    std::unordered_map<char32_t, unsigned char> toByte;
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    Tables() {
        for (int b = 0; b < 256; ++b) toByte[Cp1251ToUnicode(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
        for (int b = 0; b < 256; ++b) {
            char32_t u = Cp1251ToUnicode(static_cast<unsigned char>(b));
            auto up = toByte.find(UnicodeUpper(u));
            auto lo = toByte.find(UnicodeLower(u));
            upper[b] = up != toByte.end() ? up->second : static_cast<unsigned char>(b);
            lower[b] = lo != toByte.end() ? lo->second : static_cast<unsigned char>(b);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool ParseInt(const std::string& raw, long long& out) {
    // Leading and trailing blanks are accepted; "$ff" and "0x" are hexadecimal.
    std::size_t b = 0, e = raw.size();
    while (b < e && IsBlank(raw[b])) ++b;
    while (e > b && IsBlank(raw[e - 1])) --e;
    if (b == e) return false;
    std::string t = raw.substr(b, e - b);
    bool neg = false;
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-') { neg = t[i] == '-'; ++i; }
    int base = 10;
    if (i < t.size() && t[i] == '$') { base = 16; ++i; }
    else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) { base = 16; i += 2; }
    if (i >= t.size()) return false;
    unsigned long long v = 0;
    for (; i < t.size(); ++i) {
        int d;
        char c = t[i];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFull) return false;
    }
    long long r = static_cast<long long>(v);
    if (base == 10) {
        if (neg) r = -r;
        if (r < INT32_MIN || r > INT32_MAX) return false;
    } else {
        r = static_cast<int32_t>(static_cast<uint32_t>(v)); // hexadecimal wraps to 32 bits
        if (neg) r = -r;
    }
    out = r;
    return true;
}

} // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char32_t(byte) : char32_t(kHigh[byte - 0x80]);
}

int UnicodeToCp1251(char32_t cp) {
    if (cp < 0x80) return int(cp);
    const auto& m = tables().toByte;
    auto it = m.find(cp);
    return it == m.end() ? -1 : it->second;
}

unsigned char AnsiUpperChar(unsigned char c) { return tables().upper[c]; }
unsigned char AnsiLowerChar(unsigned char c) { return tables().lower[c]; }

AnsiString Utf8ToAnsi(std::string_view u) {
    std::string out;
    out.reserve(u.size());
    std::size_t i = 0;
    while (i < u.size()) {
        unsigned char c = static_cast<unsigned char>(u[i]);
        char32_t cp;
        int extra;
        if (c < 0x80) { cp = c; extra = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
        else { out += '?'; ++i; continue; }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= u.size() || (static_cast<unsigned char>(u[i + k]) & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (static_cast<unsigned char>(u[i + k]) & 0x3F);
        }
        if (!ok) { out += '?'; ++i; continue; }
        i += extra + 1;
        int b = UnicodeToCp1251(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return AnsiString(std::move(out));
}

std::string AnsiToUtf8(const AnsiString& s) {
    std::string out;
    out.reserve(s.Length() * 2);
    for (unsigned char c : s.str()) {
        char32_t cp = Cp1251ToUnicode(c);
        if (cp < 0x80) out += static_cast<char>(cp);
        else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

AnsiString operator""_a(const char* utf8, std::size_t len) { return Utf8ToAnsi(std::string_view(utf8, len)); }

// ---- AnsiString members -------------------------------------------------------

AnsiString::AnsiString(int v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(unsigned v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(long v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(long long v) : s_(std::to_string(v)) {}
AnsiString::AnsiString(double v) : s_(FloatToStr(v).str()) {}

char& AnsiString::operator[](int index) {
    if (index < 1 || index > Length()) throw ERangeError(FormatRaw("String index out of range (%d)", index));
    return s_[std::size_t(index - 1)];
}

char AnsiString::operator[](int index) const {
    if (index < 1 || index > Length()) throw ERangeError(FormatRaw("String index out of range (%d)", index));
    return s_[std::size_t(index - 1)];
}

AnsiString AnsiString::SubString(int index, int count) const {
    if (count <= 0) return {};
    if (index < 1) { count += index - 1; index = 1; }
    if (index > Length() || count <= 0) return {};
    return AnsiString(s_.substr(std::size_t(index - 1), std::size_t(count)));
}

int AnsiString::Pos(const AnsiString& sub) const {
    if (sub.IsEmpty()) return 0;
    auto p = s_.find(sub.s_);
    return p == std::string::npos ? 0 : int(p) + 1;
}

AnsiString& AnsiString::Insert(const AnsiString& str, int index) {
    if (index < 1) index = 1;
    if (index > Length() + 1) index = Length() + 1;
    s_.insert(std::size_t(index - 1), str.s_);
    return *this;
}

AnsiString& AnsiString::Delete(int index, int count) {
    if (index < 1 || index > Length() || count <= 0) return *this;
    s_.erase(std::size_t(index - 1), std::size_t(count));
    return *this;
}

AnsiString AnsiString::Trim() const { return TrimLeft().TrimRight(); }

AnsiString AnsiString::TrimLeft() const {
    std::size_t b = 0;
    while (b < s_.size() && IsBlank(s_[b])) ++b;
    return AnsiString(s_.substr(b));
}

AnsiString AnsiString::TrimRight() const {
    std::size_t e = s_.size();
    while (e > 0 && IsBlank(s_[e - 1])) --e;
    return AnsiString(s_.substr(0, e));
}

AnsiString AnsiString::UpperCase() const {
    std::string r = s_;
    for (char& c : r) if (c >= 'a' && c <= 'z') c = char(c - 32);
    return AnsiString(std::move(r));
}

AnsiString AnsiString::LowerCase() const {
    std::string r = s_;
    for (char& c : r) if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return AnsiString(std::move(r));
}

AnsiString AnsiString::AnsiUpperCase() const {
    std::string r = s_;
    for (char& c : r) c = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(c)));
    return AnsiString(std::move(r));
}

AnsiString AnsiString::AnsiLowerCase() const {
    std::string r = s_;
    for (char& c : r) c = static_cast<char>(AnsiLowerChar(static_cast<unsigned char>(c)));
    return AnsiString(std::move(r));
}

int AnsiString::LastDelimiter(const AnsiString& delimiters) const {
    for (int i = Length(); i >= 1; --i)
        if (delimiters.s_.find(s_[std::size_t(i - 1)]) != std::string::npos) return i;
    return 0;
}

bool AnsiString::IsDelimiter(const AnsiString& delimiters, int index) const {
    if (index < 1 || index > Length()) return false;
    return delimiters.s_.find(s_[std::size_t(index - 1)]) != std::string::npos;
}

int AnsiString::ToInt() const { return StrToInt(*this); }
int AnsiString::ToIntDef(int def) const { return StrToIntDef(*this, def); }
double AnsiString::ToDouble() const { return StrToFloat(*this); }

int AnsiString::AnsiCompareIC(const AnsiString& other) const { return AnsiCompareText(*this, other); }
int AnsiString::AnsiCompare(const AnsiString& other) const { return AnsiCompareStr(*this, other); }

AnsiString AnsiString::StringOfChar(char c, int count) {
    return AnsiString(std::string(count > 0 ? std::size_t(count) : 0, c));
}

std::strong_ordering operator<=>(const AnsiString& a, const AnsiString& b) {
    int c = AnsiCompareStr(a, b);
    return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

// ---- Free routines -------------------------------------------------------------

AnsiString IntToStr(long long v) { return AnsiString(std::to_string(v)); }

AnsiString IntToHex(long long v, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                  static_cast<unsigned long long>(v) & (v < 0 && v >= INT32_MIN ? 0xFFFFFFFFull : ~0ull));
    return AnsiString(buf);
}

bool TryStrToInt(const AnsiString& s, int& out) {
    long long v;
    if (!ParseInt(s.str(), v)) return false;
    out = int(v);
    return true;
}

int StrToInt(const AnsiString& s) {
    int v;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const AnsiString& s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

bool TryStrToFloat(const AnsiString& s, double& out) {
    std::string t = s.Trim().str();
    if (t.empty()) return false;
    for (char& c : t) if (c == ',') c = '.';
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
    // The reader of the C library follows the locale: this one never does.
    const char* first = t.c_str();
    const char* last = first + t.size();
    if (*first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+') ++first;
    double v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || !std::isfinite(v)) return false;
    out = v;
    return true;
}

double StrToFloat(const AnsiString& s) {
    double v;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

namespace {

AnsiString FloatText(double v, std::chars_format format, int precision) {
    char buf[1024];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, format, precision);
    if (ec != std::errc()) return AnsiString();
    return AnsiString(std::string(buf, end));
}

} // namespace

AnsiString FloatToStr(double v) { return FloatText(v, std::chars_format::general, 15); }

AnsiString FloatToFixed(double v, int decimals) {
    return FloatText(v, std::chars_format::fixed, std::clamp(decimals, 0, 255));
}

AnsiString FloatToGeneral(double v, int digits) {
    return FloatText(v, std::chars_format::general, std::clamp(digits, 1, 255)).UpperCase();
}

AnsiString Trim(const AnsiString& s) { return s.Trim(); }
AnsiString TrimLeft(const AnsiString& s) { return s.TrimLeft(); }
AnsiString TrimRight(const AnsiString& s) { return s.TrimRight(); }
AnsiString UpperCase(const AnsiString& s) { return s.UpperCase(); }
AnsiString LowerCase(const AnsiString& s) { return s.LowerCase(); }
AnsiString AnsiUpperCase(const AnsiString& s) { return s.AnsiUpperCase(); }
AnsiString AnsiLowerCase(const AnsiString& s) { return s.AnsiLowerCase(); }

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
    const std::string& x = a.str();
    const std::string& y = b.str();
    std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        int cx = AnsiUpperChar(static_cast<unsigned char>(x[i]));
        int cy = AnsiUpperChar(static_cast<unsigned char>(y[i]));
        if (cx != cy) return cx - cy;
    }
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b) {
    const std::string& x = a.str();
    const std::string& y = b.str();
    std::size_t n = std::min(x.size(), y.size());
    int c = n ? std::memcmp(x.data(), y.data(), n) : 0;
    if (c) return c;
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

bool SameText(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) == 0; }

AnsiString StringReplaceAll(const AnsiString& s, const AnsiString& from, const AnsiString& to) {
    if (from.IsEmpty()) return s;
    std::string r;
    const std::string& src = s.str();
    std::size_t pos = 0;
    for (;;) {
        std::size_t f = src.find(from.str(), pos);
        if (f == std::string::npos) break;
        r.append(src, pos, f - pos);
        r += to.str();
        pos = f + from.str().size();
    }
    r.append(src, pos, std::string::npos);
    return AnsiString(std::move(r));
}

AnsiString FormatRaw(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    std::string out;
    if (n > 0) {
        out.resize(std::size_t(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(std::size_t(n));
    }
#pragma GCC diagnostic pop
    va_end(ap2);
    va_end(ap);
    return AnsiString(std::move(out));
}

[[noreturn]] void Abort() { throw EAbort(); }
