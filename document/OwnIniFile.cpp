#include "document/OwnIniFile.h"

#include <algorithm>
#include <limits>

#include "platform/FileIO.h"
#include "platform/FileUtils.h"

namespace ownini {

namespace {

// No file of ours comes near this; anything larger is not read at all.
constexpr std::int64_t kMaxFileSize = 64 << 20;

} // namespace

bool IsPlainText(const AnsiString& s) {
    for (unsigned char c : s.view())
        if (c < ' ' || c == 0x7F) return false;
    return true;
}

OpenResult Open(const AnsiString& path, const AnsiString& headerSection, int maxVersion, IniDocument& doc) {
    doc.Clear();
    if (!FileExists(path)) return DirectoryExists(path) ? OpenResult::Unreadable : OpenResult::Missing;
    std::int64_t size = FileSizeOf(path);
    if (size < 0) return OpenResult::Unreadable;
    if (size > kMaxFileSize) return OpenResult::NotOurs;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return OpenResult::Unreadable;
    doc.Parse(bytes);
    int version = 0;
    if (!doc.SectionExists(headerSection) ||
        !ReadInt(doc, headerSection, "Version", 1, std::numeric_limits<int>::max(), version)) {
        doc.Clear();
        return OpenResult::NotOurs;
    }
    if (version > maxVersion) {
        doc.Clear();
        return OpenResult::Newer;
    }
    return OpenResult::Ok;
}

AnsiString OpenFailureText(OpenResult result, const AnsiString& kind, const AnsiString& name) {
    switch (result) {
    case OpenResult::Unreadable: return "Не могу прочитать файл "_a + kind + " " + name;
    case OpenResult::NotOurs: return Format("Файл %s не является файлом %s"_a, name, kind);
    case OpenResult::Newer: return Format("Файл %s %s записан более новой версией программы"_a, kind, name);
    default: return AnsiString();
    }
}

AnsiString DamageText(const AnsiString& kind, const AnsiString& name) {
    return Format("Файл %s %s повреждён: загружена только его исправная часть"_a, kind, name);
}

bool ReadInt(const IniDocument& doc, const AnsiString& section, const AnsiString& key, int lo, int hi, int& out) {
    const AnsiString* raw = doc.Find(section, key);
    if (!raw || raw->IsEmpty()) return false;
    const std::string& s = raw->str();
    std::size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size() || s.size() - i > 10) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (s[0] == '-') v = -v;
    if (v < lo || v > hi) return false;
    out = int(v);
    return true;
}

bool ReadHex(const IniDocument& doc, const AnsiString& section, const AnsiString& key, unsigned& out) {
    const AnsiString* raw = doc.Find(section, key);
    if (!raw || raw->IsEmpty() || raw->Length() > 8) return false;
    unsigned v = 0;
    for (char c : raw->view()) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        v = v << 4 | unsigned(d);
    }
    out = v;
    return true;
}

bool ReadText(const IniDocument& doc, const AnsiString& section, const AnsiString& key, AnsiString& out) {
    const AnsiString* raw = doc.Find(section, key);
    if (!raw || !IsPlainText(*raw)) return false;
    out = *raw;
    return true;
}

std::vector<int> RowNumbers(const IniDocument& doc, const AnsiString& section, int capacity, bool& damaged) {
    std::vector<int> rows;
    int count = 0;
    if (!doc.SectionExists(section) ||
        !ReadInt(doc, section, "Count", 0, std::numeric_limits<int>::max(), count)) {
        damaged = true;
        return rows;
    }
    for (const auto& entry : doc.Entries(section)) {
        const std::string& key = entry.first.str();
        std::size_t digits = key.find_last_not_of("0123456789") + 1;
        if (digits == key.size() || key.size() - digits > 10) continue;
        long long n = std::stoll(key.substr(digits));
        if (n >= 1 && n <= count) rows.push_back(int(n));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (int(rows.size()) > capacity) rows.resize(std::size_t(capacity));
    if (int(rows.size()) != count) damaged = true;
    return rows;
}

void Begin(IniDocument& doc, const AnsiString& headerSection, int version) {
    doc.Clear();
    doc.Set(headerSection, "Version", IntToStr(version));
}

bool Write(const AnsiString& path, const IniDocument& doc) { return WriteFileAtomic(path, doc.Serialize()); }

} // namespace ownini
