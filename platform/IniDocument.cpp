#include "platform/IniDocument.h"

namespace {

bool IsBlankLine(const AnsiString& text) { return text.Trim().IsEmpty(); }

bool HasLineBreak(const AnsiString& s) { return s.Pos("\r") || s.Pos("\n"); }

} // namespace

bool IniTextToBool(const AnsiString& text, bool def) {
    int v;
    if (TryStrToInt(text, v)) return v != 0;
    if (SameText(text.Trim(), "true")) return true;
    if (SameText(text.Trim(), "false")) return false;
    return def;
}

std::string IniDocument::Fold(const AnsiString& s) { return AnsiUpperCase(s).str(); }

void IniDocument::Clear() {
    preamble_.clear();
    sections_.clear();
    index_.clear();
}

void IniDocument::Parse(std::string_view bytes) {
    Clear();
    std::vector<Line>* target = &preamble_;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        AnsiString text(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size()) pos += bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n' ? 2 : 1;

        AnsiString t = text.TrimLeft();
        Line line;
        line.text = text;
        if (!t.IsEmpty() && t[1] == '[') {
            AnsiString tt = t.TrimRight();
            int close = tt.LastDelimiter("]");
            if (close > 1) {
                AnsiString name = tt.SubString(2, close - 2);
                Section* s = FindSection(name);
                target = s ? &s->lines : &AddSectionRaw(name, text).lines;
                continue;
            }
        } else if (!t.IsEmpty() && t[1] != ';') {
            if (int eq = t.Pos("=")) {
                line.isKey = true;
                line.key = t.SubString(1, eq - 1);
                line.value = t.SubString(eq + 1, t.Length());
            }
        }
        target->push_back(std::move(line));
    }
}

std::string IniDocument::Serialize() const {
    std::string out;
    auto put = [&out](const AnsiString& text) {
        out += text.str();
        out += "\r\n";
    };
    for (const Line& l : preamble_) put(l.text);
    for (const Section& s : sections_) {
        put(s.header);
        for (const Line& l : s.lines) put(l.text);
    }
    return out;
}

IniDocument::Section* IniDocument::FindSection(const AnsiString& name) {
    auto it = index_.find(Fold(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::FindSection(const AnsiString& name) const {
    auto it = index_.find(Fold(name));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section& IniDocument::AddSectionRaw(const AnsiString& name, const AnsiString& header) {
    index_.emplace(Fold(name), sections_.size());
    Section s;
    s.name = name;
    s.header = header;
    sections_.push_back(std::move(s));
    return sections_.back();
}

void IniDocument::Reindex() {
    index_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) index_.emplace(Fold(sections_[i].name), i);
}

const std::unordered_map<std::string, std::size_t>& IniDocument::KeyIndex(const Section& s) {
    if (!s.keysValid) {
        s.keys.clear();
        for (std::size_t i = 0; i < s.lines.size(); ++i)
            if (s.lines[i].isKey) s.keys.emplace(Fold(s.lines[i].key), i);
        s.keysValid = true;
    }
    return s.keys;
}

bool IniDocument::SectionExists(const AnsiString& section) const { return FindSection(section) != nullptr; }

const AnsiString* IniDocument::Find(const AnsiString& section, const AnsiString& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    const auto& keys = KeyIndex(*s);
    auto it = keys.find(Fold(key.TrimLeft()));
    return it == keys.end() ? nullptr : &s->lines[it->second].value;
}

bool IniDocument::AddSection(const AnsiString& section) {
    if (FindSection(section)) return false;
    // A blank line keeps the new section apart from the text before it.
    std::vector<Line>& last = sections_.empty() ? preamble_ : sections_.back().lines;
    bool hasText = !preamble_.empty() || !sections_.empty();
    if (hasText && (last.empty() || !IsBlankLine(last.back().text))) last.push_back(Line{});
    AddSectionRaw(section, "[" + section + "]");
    return true;
}

bool IniDocument::Set(const AnsiString& section, const AnsiString& key, const AnsiString& raw) {
    bool added = AddSection(section);
    Section& s = *FindSection(section);
    AnsiString k = key.TrimLeft();
    const auto& keys = KeyIndex(s);
    if (auto it = keys.find(Fold(k)); it != keys.end()) {
        Line& l = s.lines[it->second];
        if (l.value == raw) return added;
        l.value = raw;
        l.text = l.key + "=" + raw;
        return true;
    }
    Line l;
    l.isKey = true;
    l.key = k;
    l.value = raw;
    l.text = k + "=" + raw;
    std::size_t at = s.lines.size();
    while (at > 0 && !s.lines[at - 1].isKey && IsBlankLine(s.lines[at - 1].text)) --at;
    s.lines.insert(s.lines.begin() + std::ptrdiff_t(at), std::move(l));
    // The index follows the insert: only the lines after it moved (blank
    // lines, as a rule), so a document built key by key stays linear.
    auto& index = s.keys;
    for (std::size_t i = at + 1; i < s.lines.size(); ++i)
        if (s.lines[i].isKey)
            if (auto it = index.find(Fold(s.lines[i].key)); it != index.end() && it->second == i - 1) it->second = i;
    index.emplace(Fold(k), at);
    return true;
}

bool IniDocument::DeleteKey(const AnsiString& section, const AnsiString& key) {
    Section* s = FindSection(section);
    if (!s) return false;
    std::string folded = Fold(key.TrimLeft());
    std::size_t before = s->lines.size();
    std::erase_if(s->lines, [&](const Line& l) { return l.isKey && Fold(l.key) == folded; });
    if (s->lines.size() == before) return false;
    s->keysValid = false;
    return true;
}

bool IniDocument::EraseSection(const AnsiString& section) {
    auto it = index_.find(Fold(section));
    if (it == index_.end()) return false;
    sections_.erase(sections_.begin() + std::ptrdiff_t(it->second));
    Reindex();
    return true;
}

const AnsiString* IniDocument::SectionSpelling(const AnsiString& section) const {
    const Section* s = FindSection(section);
    return s ? &s->name : nullptr;
}

std::vector<AnsiString> IniDocument::SectionNames() const {
    std::vector<AnsiString> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::pair<AnsiString, AnsiString>> IniDocument::Entries(const AnsiString& section) const {
    std::vector<std::pair<AnsiString, AnsiString>> out;
    const Section* s = FindSection(section);
    if (!s) return out;
    const auto& keys = KeyIndex(*s);
    for (std::size_t i = 0; i < s->lines.size(); ++i) {
        const Line& l = s->lines[i];
        if (l.isKey && keys.at(Fold(l.key)) == i) out.emplace_back(l.key, l.value);
    }
    return out;
}

bool IniDocument::ValidSectionName(const AnsiString& section) { return !HasLineBreak(section); }

bool IniDocument::ValidKeyName(const AnsiString& key) {
    AnsiString k = key.TrimLeft();
    return !k.IsEmpty() && !HasLineBreak(k) && !k.Pos("=") && k[1] != ';' && k[1] != '[';
}
