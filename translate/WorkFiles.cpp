#include "translate/WorkFiles.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/FileIO.h"
#include "platform/StringList.h"
#include "translate/TranslateApi.h"

namespace translate {

std::vector<AnsiString> SplitFields(const AnsiString& line) {
    std::vector<AnsiString> fields;
    const std::string& s = line.str();
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) fields.emplace_back(s.substr(start, i - start));
    }
    return fields;
}

bool ParseInteger(const AnsiString& text, long long& value) {
    const std::string& s = text.str();
    std::size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        if (v < 100000000000000000LL) v = v * 10 + (s[i] - '0');
    }
    value = s[0] == '-' ? -v : v;
    return true;
}

std::vector<AnsiString> SplitLines(const std::string& bytes) {
    TStringList list;
    list.SetText(AnsiString(bytes));
    std::vector<AnsiString> lines;
    lines.reserve(std::size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

namespace {

bool IsHexAddress(const AnsiString& text, unsigned& value) {
    if (text.Length() != 8) return false;
    value = 0;
    for (char c : text.str()) {
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) return false;
        value = value << 4 | unsigned(d);
    }
    return true;
}

void BadLine(TDiagnostics& diag, const AnsiString& file, int line, const AnsiString& what) {
    diag.Error(kTranslateUnreadable, Format("Файл %s, строка %d: %s"_a, file, line, what));
}

// Fields first .. last - 1 joined by single blanks: a name that holds blanks
// reads the same in the driver-types and the drivers file.
AnsiString JoinFields(const std::vector<AnsiString>& f, std::size_t first, std::size_t last) {
    AnsiString s;
    for (std::size_t k = first; k < last; ++k) s += (k > first ? " " : "") + f[k];
    return s;
}

// "name number", read from the right: the name may hold blanks.
void ParseDriverTypes(const AnsiString& file, const std::vector<AnsiString>& lines, TWorkFiles& out,
                      TDiagnostics& diag) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<AnsiString> f = SplitFields(lines[i]);
        if (f.empty()) continue;
        TDriverTypeLine t;
        t.Line = int(i) + 1;
        t.Name = JoinFields(f, 0, f.size() - 1);
        t.NumberText = f.back();
        if (f.size() < 2 || !ParseInteger(t.NumberText, t.Number)) {
            BadLine(diag, file, t.Line, "неверная строка типа драйвера"_a);
            continue;
        }
        out.DriverTypes.push_back(t);
    }
}

// "name in|out type address bits interrupt": the last three fields are read
// from the right, and the type name is what lies between.
void ParseDrivers(const AnsiString& file, const std::vector<AnsiString>& lines, TWorkFiles& out, TDiagnostics& diag) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<AnsiString> f = SplitFields(lines[i]);
        if (f.empty()) continue;
        TDriverLine d;
        d.Line = int(i) + 1;
        long long bits = 0, interrupt = 0;
        const std::size_t n = f.size();
        bool ok = n >= 6 && (f[1] == "in" || f[1] == "out") && IsHexAddress(f[n - 3], d.Address) &&
                  ParseInteger(f[n - 2], bits) && bits >= 0 && bits <= 65535 && ParseInteger(f[n - 1], interrupt);
        if (!ok) {
            BadLine(diag, file, d.Line, "неверная строка драйвера"_a);
            continue;
        }
        d.Name = f[0];
        d.Output = f[1] == "out";
        d.TypeName = JoinFields(f, 2, n - 3);
        d.Bits = int(bits);
        d.Interrupt = int(std::clamp<long long>(interrupt, INT_MIN, INT_MAX));
        out.Drivers.push_back(d);
    }
}

// "bit;name;driver;comment": the comment is everything after the third ';'.
void ParseComments(const AnsiString& file, const std::vector<AnsiString>& lines, TWorkFiles& out, TDiagnostics& diag) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& s = lines[i].str();
        if (Trim(lines[i]).IsEmpty()) continue;
        const std::size_t a = s.find(';');
        const std::size_t b = a == std::string::npos ? a : s.find(';', a + 1);
        const std::size_t c = b == std::string::npos ? b : s.find(';', b + 1);
        if (c == std::string::npos || b == a + 1) {
            BadLine(diag, file, int(i) + 1, "неверная строка комментария"_a);
            continue;
        }
        out.Comments.push_back({AnsiString(s.substr(a + 1, b - a - 1)), AnsiString(s.substr(c + 1))});
    }
}

} // namespace

bool ReadWorkFiles(const TWorkFileNames& names, TWorkFiles& out, TDiagnostics& diag) {
    out.Names = names;
    std::vector<AnsiString> text[5];
    const AnsiString* files[5] = {&names.DriverTypes, &names.Drivers, &names.Signals, &names.Comments,
                                  &names.Elements};
    for (int k = 0; k < 5; ++k) {
        std::string bytes;
        if (files[k]->IsEmpty() || !ReadWholeFile(*files[k], bytes)) {
            diag.Error(kTranslateUnreadable, "Не могу прочитать файл "_a + *files[k]);
            continue;
        }
        text[k] = SplitLines(bytes);
    }
    if (diag.Failed()) return false;
    ParseDriverTypes(names.DriverTypes, text[0], out, diag);
    ParseDrivers(names.Drivers, text[1], out, diag);
    out.Signals = std::move(text[2]);
    ParseComments(names.Comments, text[3], out, diag);
    out.Elements = std::move(text[4]);
    return !diag.Failed();
}

} // namespace translate
