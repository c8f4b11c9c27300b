#include "controls/Strutils.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

const TCharSet WordDelimiters = {' ', '\t', '\r', '\n'};

namespace {

using Str = std::string;

// Code points of the upper half of the DOS Cyrillic code page.
constexpr char16_t kOemHigh[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429,
    0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436,
    0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407,
    0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

// Byte-to-byte tables between the two code pages (both ways).
struct OemTables {
    std::array<char, 256> toOem{};
    std::array<char, 256> toAnsi{};
    OemTables() {
        for (int b = 0; b < 256; ++b) {
            toOem[std::size_t(b)] = b < 128 ? char(b) : '?';
            toAnsi[std::size_t(b)] = b < 128 ? char(b) : '?';
        }
        for (int o = 128; o < 256; ++o) {
            int a = UnicodeToCp1251(kOemHigh[o - 128]);
            if (a < 0) continue;
            toAnsi[std::size_t(o)] = char(a);
            toOem[std::size_t(a)] = char(o);
        }
    }
};

const OemTables& Oem() {
    static const OemTables t;
    return t;
}

AnsiString MapBytes(const AnsiString& s, const std::array<char, 256>& table) {
    Str r = s.str();
    for (char& c : r) c = table[static_cast<unsigned char>(c)];
    return AnsiString(std::move(r));
}

// Collation weights: (primary, case). Symbols sort by code, then digits, then
// Latin letters, then Cyrillic letters in alphabet order with Ё after Е.
struct Weight {
    int primary;
    int lowerFirst; // 0 for lower case and caseless characters, 1 for upper case
};

Weight WeightOf(unsigned char c) {
    unsigned char up = AnsiUpperChar(c);
    int caseKey = (up == c && AnsiLowerChar(c) != c) ? 1 : 0;
    if (c >= '0' && c <= '9') return {1000 + (c - '0'), 0};
    if (up >= 'A' && up <= 'Z') return {2000 + (up - 'A') * 2, caseKey};
    char32_t u = Cp1251ToUnicode(up);
    if (u >= 0x0410 && u <= 0x042F) {
        int index = int(u - 0x0410);
        int rank = index * 2 + (index > 5 ? 2 : 0); // room for Ё after Е (index 5)
        return {3000 + rank, caseKey};
    }
    if (u == 0x0401) return {3000 + 5 * 2 + 1, caseKey};
    if (u >= 0x0400 && u <= 0x04FF) return {3200 + int(u - 0x0400), caseKey};
    return {c, 0};
}

int Collate(const AnsiString& a, const AnsiString& b, bool ignoreCase) {
    const Str& x = a.str();
    const Str& y = b.str();
    std::size_t n = std::min(x.size(), y.size());
    int caseDiff = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Weight wx = WeightOf(static_cast<unsigned char>(x[i]));
        Weight wy = WeightOf(static_cast<unsigned char>(y[i]));
        if (wx.primary != wy.primary) return wx.primary < wy.primary ? -1 : 1;
        if (!caseDiff && wx.lowerFirst != wy.lowerFirst) caseDiff = wx.lowerFirst < wy.lowerFirst ? -1 : 1;
    }
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return ignoreCase ? 0 : caseDiff;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int RomanValue(char c) {
    switch (c) {
    case 'I': return 1;
    case 'V': return 5;
    case 'X': return 10;
    case 'L': return 50;
    case 'C': return 100;
    case 'D': return 500;
    case 'M': return 1000;
    default: return 0;
    }
}

} // namespace

AnsiString StrToOem(const AnsiString& s) { return MapBytes(s, Oem().toOem); }
AnsiString OemToAnsiStr(const AnsiString& s) { return MapBytes(s, Oem().toAnsi); }

bool IsEmptyStr(const AnsiString& s, const TCharSet& emptyChars) {
    for (char c : s.str())
        if (!emptyChars.Contains(c)) return false;
    return true;
}

AnsiString ReplaceStr(const AnsiString& s, const AnsiString& srch, const AnsiString& replace) {
    return StringReplaceAll(s, srch, replace);
}

AnsiString DelChars(const AnsiString& s, char chr) {
    Str r;
    for (char c : s.str())
        if (c != chr) r += c;
    return AnsiString(std::move(r));
}

AnsiString DelSpace(const AnsiString& s) { return DelChars(s, ' '); }

AnsiString DelBSpace(const AnsiString& s) {
    const Str& t = s.str();
    std::size_t i = t.find_first_not_of(' ');
    return i == Str::npos ? AnsiString() : AnsiString(t.substr(i));
}

AnsiString DelESpace(const AnsiString& s) {
    const Str& t = s.str();
    std::size_t i = t.find_last_not_of(' ');
    return i == Str::npos ? AnsiString() : AnsiString(t.substr(0, i + 1));
}

AnsiString DelRSpace(const AnsiString& s) { return DelBSpace(DelESpace(s)); }

AnsiString DelSpace1(const AnsiString& s) {
    Str r;
    for (char c : s.str())
        if (!(c == ' ' && !r.empty() && r.back() == ' ')) r += c;
    return AnsiString(std::move(r));
}

AnsiString Tab2Space(const AnsiString& s, int numb) {
    Str blanks(numb > 0 ? std::size_t(numb) : 0, ' ');
    Str r;
    for (char c : s.str()) {
        if (c == '\t') r += blanks;
        else r += c;
    }
    return AnsiString(std::move(r));
}

AnsiString MakeStr(char c, int n) { return AnsiString::StringOfChar(c, n); }
AnsiString MS(char c, int n) { return MakeStr(c, n); }

int NPos(const AnsiString& c, const AnsiString& s, int n) {
    if (n < 1 || c.IsEmpty()) return 0;
    const Str& t = s.str();
    std::size_t from = 0;
    for (int k = 1;; ++k) {
        std::size_t f = t.find(c.str(), from);
        if (f == Str::npos) return 0;
        if (k == n) return int(f) + 1;
        from = f + 1;
    }
}

AnsiString AddChar(char c, const AnsiString& s, int n) {
    return s.Length() >= n ? s : MakeStr(c, n - s.Length()) + s;
}

AnsiString AddCharR(char c, const AnsiString& s, int n) {
    return s.Length() >= n ? s : s + MakeStr(c, n - s.Length());
}

AnsiString LeftStr(const AnsiString& s, int n) { return AddCharR(' ', s, n); }
AnsiString RightStr(const AnsiString& s, int n) { return AddChar(' ', s, n); }

AnsiString CenterStr(const AnsiString& src, int len) {
    if (src.Length() >= len) return src;
    return AddCharR(' ', MakeStr(' ', len / 2 - src.Length() / 2) + src, len);
}

int CompStr(const AnsiString& s1, const AnsiString& s2) { return Collate(s1, s2, false); }
int CompText(const AnsiString& s1, const AnsiString& s2) { return Collate(s1, s2, true); }

AnsiString Copy2Symb(const AnsiString& s, char symb) {
    std::size_t p = s.str().find(symb);
    return p == Str::npos ? s : AnsiString(s.str().substr(0, p));
}

AnsiString Copy2SymbDel(AnsiString& s, char symb) {
    AnsiString result = Copy2Symb(s, symb);
    s = DelBSpace(AnsiString(s.str().substr(std::size_t(result.Length()))));
    return result;
}

AnsiString Copy2Space(const AnsiString& s) { return Copy2Symb(s, ' '); }
AnsiString Copy2SpaceDel(AnsiString& s) { return Copy2SymbDel(s, ' '); }

AnsiString AnsiProperCase(const AnsiString& s, const TCharSet& wordDelims) {
    Str r = s.AnsiLowerCase().str();
    bool wordStart = true;
    for (char& c : r) {
        if (wordDelims.Contains(c)) {
            wordStart = true;
        } else {
            if (wordStart) c = char(AnsiUpperChar(static_cast<unsigned char>(c)));
            wordStart = false;
        }
    }
    return AnsiString(std::move(r));
}

int WordCount(const AnsiString& s, const TCharSet& wordDelims) {
    int count = 0;
    bool inWord = false;
    for (char c : s.str()) {
        bool delim = wordDelims.Contains(c);
        if (!delim && !inWord) ++count;
        inWord = !delim;
    }
    return count;
}

int WordPosition(int n, const AnsiString& s, const TCharSet& wordDelims) {
    if (n < 1) return 0;
    const Str& t = s.str();
    int count = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (wordDelims.Contains(t[i])) continue;
        if (i == 0 || wordDelims.Contains(t[i - 1])) {
            if (++count == n) return int(i) + 1;
        }
    }
    return 0;
}

AnsiString ExtractWordPos(int n, const AnsiString& s, const TCharSet& wordDelims, int& pos) {
    pos = WordPosition(n, s, wordDelims);
    if (pos == 0) return AnsiString();
    const Str& t = s.str();
    std::size_t e = std::size_t(pos) - 1;
    while (e < t.size() && !wordDelims.Contains(t[e])) ++e;
    return AnsiString(t.substr(std::size_t(pos) - 1, e - (std::size_t(pos) - 1)));
}

AnsiString ExtractWord(int n, const AnsiString& s, const TCharSet& wordDelims) {
    int pos;
    return ExtractWordPos(n, s, wordDelims, pos);
}

AnsiString ExtractDelimited(int n, const AnsiString& s, const TCharSet& delims) {
    Str r;
    int field = 0;
    for (char c : s.str()) {
        if (field == n) break;
        if (delims.Contains(c)) ++field;
        else if (field == n - 1) r += c;
    }
    return AnsiString(std::move(r));
}

AnsiString ExtractSubstr(const AnsiString& s, int& pos, const TCharSet& delims) {
    const Str& t = s.str();
    std::size_t start = pos > 1 ? std::size_t(pos) - 1 : 0;
    std::size_t i = start;
    while (i < t.size() && !delims.Contains(t[i])) ++i;
    AnsiString result = start < t.size() ? AnsiString(t.substr(start, i - start)) : AnsiString();
    if (i < t.size()) ++i; // past the delimiter
    pos = int(std::max(i, start)) + 1;
    return result;
}

bool IsWordPresent(const AnsiString& w, const AnsiString& s, const TCharSet& wordDelims) {
    int count = WordCount(s, wordDelims);
    for (int i = 1; i <= count; ++i)
        if (ExtractWord(i, s, wordDelims) == w) return true;
    return false;
}

AnsiString QuotedString(const AnsiString& s, char quote) {
    Str r(1, quote);
    for (char c : s.str()) {
        r += c;
        if (c == quote) r += c;
    }
    r += quote;
    return AnsiString(std::move(r));
}

AnsiString ExtractQuotedString(const AnsiString& s, char quote) {
    const Str& t = s.str();
    if (t.empty() || t[0] != quote) return s;
    Str r;
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (t[i] == quote) {
            if (i + 1 < t.size() && t[i + 1] == quote) {
                r += quote;
                ++i;
                continue;
            }
            break; // the closing quote
        }
        r += t[i];
    }
    return AnsiString(std::move(r));
}

AnsiString Numb2USA(const AnsiString& s) {
    const Str& t = s.str();
    Str r;
    for (std::size_t i = 0; i < t.size(); ++i) {
        std::size_t fromRight = t.size() - i; // characters from this one to the end
        if (i > 0 && fromRight % 3 == 0) r += ',';
        r += t[i];
    }
    return AnsiString(std::move(r));
}

AnsiString Dec2Hex(long long n, int a) { return IntToHex(n, a); }
AnsiString D2H(long long n, int a) { return Dec2Hex(n, a); }

int Hex2Dec(const AnsiString& s) {
    AnsiString t = s.Pos("$") > 0 ? s : "$" + s;
    return StrToIntDef(t, 0);
}

int H2D(const AnsiString& s) { return Hex2Dec(s); }

AnsiString Dec2Numb(long long n, int a, int b) {
    if (b < 2) return AnsiString();
    // Negative numbers of the 32-bit range are read as their unsigned pattern.
    std::uint64_t number = (n < 0 && n >= INT32_MIN) ? std::uint64_t(std::uint32_t(std::int32_t(n)))
                                                      : std::uint64_t(n);
    Str r;
    if (number == 0) r = "0";
    while (number > 0) {
        int digit = int(number % std::uint64_t(b));
        r.insert(r.begin(), char(digit > 9 ? digit + 55 : digit + 48));
        number /= std::uint64_t(b);
    }
    return AddChar('0', AnsiString(std::move(r)), a);
}

int Numb2Dec(const AnsiString& s, int b) {
    Str t = s.AnsiUpperCase().str();
    std::uint32_t result = 0;
    std::uint32_t power = 1;
    for (std::size_t i = t.size(); i-- > 0;) {
        auto c = static_cast<unsigned char>(t[i]);
        int digit = c > 64 ? c - 55 : c - 48;
        result += std::uint32_t(digit) * power;
        power *= std::uint32_t(b);
    }
    return std::int32_t(result);
}

int RomanToInt(const AnsiString& s) {
    Str t = s.str();
    std::size_t i = 0;
    bool negative = false;
    if (!t.empty() && t[0] == '-') {
        negative = true;
        i = 1;
    }
    int result = 0;
    while (i < t.size()) {
        int v = RomanValue(char(AnsiUpperChar(static_cast<unsigned char>(t[i]))));
        if (v == 0) return 0;
        int next = i + 1 < t.size() ? RomanValue(char(AnsiUpperChar(static_cast<unsigned char>(t[i + 1])))) : 0;
        if (next > v) {
            result += next - v;
            i += 2;
        } else {
            result += v;
            ++i;
        }
    }
    return negative ? -result : result;
}

AnsiString IntToRoman(int value) {
    if (value < 1) return AnsiString();
    Str r(std::size_t(value / 1000), 'M');
    value %= 1000;
    struct Decade {
        int unit;
        const char *nine, *five, *four, *one;
    };
    static const Decade decades[] = {{100, "CM", "D", "CD", "C"}, {10, "XC", "L", "XL", "X"}, {1, "IX", "V", "IV", "I"}};
    for (const Decade& d : decades) {
        int digit = value / d.unit;
        value %= d.unit;
        if (digit == 9) {
            r += d.nine;
        } else if (digit >= 5) {
            r += d.five;
            for (int k = 5; k < digit; ++k) r += d.one;
        } else if (digit == 4) {
            r += d.four;
        } else {
            for (int k = 0; k < digit; ++k) r += d.one;
        }
    }
    return AnsiString(std::move(r));
}

AnsiString IntToBin(long long value, int digits, int spaces) {
    if (digits > 32) digits = 32;
    Str r;
    for (int bit = digits - 1; bit >= 0; --bit) {
        if (spaces > 0 && (bit + 1) % spaces == 0) r += ' ';
        r += ((std::uint64_t(value) >> bit) & 1) ? '1' : '0';
    }
    return AnsiString(std::move(r));
}

int FindPart(const AnsiString& helpWilds, const AnsiString& inputStr) {
    if (helpWilds.Pos("?") == 0) return inputStr.Pos(helpWilds);
    const Str& w = helpWilds.str();
    const Str& in = inputStr.str();
    if (in.size() < w.size()) return 0;
    for (std::size_t at = 0; at + w.size() <= in.size(); ++at) {
        std::size_t j = 0;
        while (j < w.size() && (w[j] == '?' || w[j] == in[at + j])) ++j;
        if (j == w.size()) return int(at) + 1;
    }
    return 0;
}

bool IsWild(const AnsiString& inputStr, const AnsiString& wilds, bool ignoreCase) {
    if (inputStr == wilds) return true;
    Str w = wilds.str();
    for (std::size_t p; (p = w.find("**")) != Str::npos;) w.erase(p, 1);
    if (w == "*") return true;
    Str in = inputStr.str();
    if (ignoreCase) {
        in = AnsiString(in).AnsiUpperCase().str();
        w = AnsiString(w).AnsiUpperCase().str();
    }
    if (in.empty() || w.empty()) return false;
    std::size_t ci = 0, cw = 0; // 0-based input and pattern positions
    while (ci < in.size() && cw < w.size()) {
        if (w[cw] == '*') {
            std::size_t next = w.find('*', cw + 1);
            Str segment = w.substr(cw + 1, next == Str::npos ? Str::npos : next - cw - 1);
            if (next == Str::npos) {
                if (segment.empty()) return true;
                // The segment must match the end of the input that is still unread.
                if (in.size() - ci < segment.size()) return false;
                std::size_t base = in.size() - segment.size();
                for (std::size_t k = 0; k < segment.size(); ++k)
                    if (segment[k] != '?' && segment[k] != in[base + k]) return false;
                return true;
            }
            cw = next; // onto the following '*'
            int found = FindPart(AnsiString(segment), AnsiString(in.substr(ci)));
            if (found == 0) return false;
            ci += std::size_t(found) - 1 + segment.size();
            continue;
        }
        if (w[cw] == '?' || w[cw] == in[ci]) {
            ++cw;
            ++ci;
            continue;
        }
        return false;
    }
    if (ci < in.size()) return false;
    // Pattern left over matches only when it is nothing but "*".
    return w.find_first_not_of('*', cw) == Str::npos;
}

AnsiString XorString(const AnsiString& key, const AnsiString& src) {
    Str r = src.str().substr(0, 255);
    const Str& k = key.str();
    if (!k.empty())
        for (std::size_t i = 0; i < r.size(); ++i) r[i] = char(r[i] ^ k[i % k.size()]);
    return AnsiString(std::move(r));
}

AnsiString XorEncode(const AnsiString& key, const AnsiString& source) {
    static const char digits[] = "0123456789abcdef";
    const Str& k = key.str();
    const Str& s = source.str();
    Str r;
    r.reserve(s.size() * 2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto b = static_cast<unsigned char>(k.empty() ? s[i] : s[i] ^ k[i % k.size()]);
        r += digits[b >> 4];
        r += digits[b & 15];
    }
    return AnsiString(std::move(r));
}

AnsiString XorDecode(const AnsiString& key, const AnsiString& source) {
    const Str& k = key.str();
    const Str& s = source.str();
    Str r;
    r.reserve(s.size() / 2);
    for (std::size_t i = 0; i < s.size() / 2; ++i) {
        int hi = HexDigit(s[2 * i]);
        int lo = HexDigit(s[2 * i + 1]);
        int b = (hi < 0 || lo < 0) ? ' ' : hi * 16 + lo;
        if (!k.empty()) b ^= static_cast<unsigned char>(k[i % k.size()]);
        r += char(b);
    }
    return AnsiString(std::move(r));
}

AnsiString GetCmdLineArg(const AnsiString& switchName, const TCharSet& switchChars,
                         const std::vector<AnsiString>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const AnsiString& a = args[i];
        bool qualifies = switchChars.Empty() || (a.Length() >= 2 && switchChars.Contains(a[1]));
        if (!qualifies || AnsiCompareText(a.SubString(2, a.Length()), switchName) != 0) continue;
        return i + 1 < args.size() ? args[i + 1] : AnsiString();
    }
    return AnsiString();
}

AnsiString GetCmdLineArg(const AnsiString& switchName, const TCharSet& switchChars) {
    return GetCmdLineArg(switchName, switchChars, ProgramArguments());
}

std::vector<AnsiString> ProgramArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    Str all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<AnsiString> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] != '\0') continue;
        args.push_back(Utf8ToAnsi(std::string_view(all).substr(start, i - start)));
        start = i + 1;
    }
    if (!args.empty()) args.erase(args.begin()); // the program itself
    return args;
}
