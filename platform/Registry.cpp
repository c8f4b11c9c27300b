#include "platform/Registry.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/FileNames.h"
#include "platform/IniStore.h"
#include "platform/Paths.h"

AnsiString RegistryStoreFile() { return PathJoin(SettingsFolder(), "registry.ini"); }

namespace {

// ---- The store file ------------------------------------------------------------

// The one store of the process, following the settings folder when it moves.
IniStore& StoreFile() {
    static std::shared_ptr<IniStore> store;
    AnsiString path = RegistryStoreFile();
    if (!store || store->Path() != path) store = IniStore::Open(path, true);
    return *store;
}

// ---- Escapes -------------------------------------------------------------------

const char kHex[] = "0123456789ABCDEF";

void PutHexEscape(std::string& out, unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Backslash, control bytes and DEL become escapes; every other byte stays.
// A string value (name false) also escapes '"', which would end it; a value
// name escapes what the key of an ini line cannot hold: '=', a first ';', '['
// or '@' (the mark of the default value), and blanks at either end.
std::string Escape(const std::string& s, bool name) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool edge = i == 0 || i + 1 == s.size();
        if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F) PutHexEscape(out, c);
        else if (!name && c == '"') out += "\\\"";
        else if (name && (c == '=' || (i == 0 && (c == ';' || c == '[' || c == '@')) || (edge && c == ' '))) PutHexEscape(out, c);
        else out += char(c);
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes Escape. Reading stops at an unescaped '"' when `quoted` is set
// (`end` receives its position); an escape that is not one stays as written.
std::string Unescape(const std::string& s, bool quoted, std::size_t* end = nullptr) {
    std::string out;
    std::size_t i = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (quoted && c == '"') break;
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        char e = s[i + 1];
        if (e == '\\' || e == '"') { out += e; ++i; }
        else if (e == 'r') { out += '\r'; ++i; }
        else if (e == 'n') { out += '\n'; ++i; }
        else if (e == 't') { out += '\t'; ++i; }
        else if (e == 'x' && i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 3]) >= 0) {
            out += char(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
            i += 3;
        } else out += c;
    }
    if (end) *end = i;
    return out;
}

// The key an ini line stores a value name under; the empty name (the key's
// default value) is "@".
AnsiString NameKey(const AnsiString& name) { return name.IsEmpty() ? AnsiString("@") : AnsiString(Escape(name.str(), true)); }

AnsiString NameFromKey(const AnsiString& key) { return key == "@" ? AnsiString() : AnsiString(Unescape(key.str(), false)); }

// The key of the line that holds a value: the first key of the section that
// reads back as the name (letter case aside). A line edited by hand may spell
// a name in a way the program would not ("a\q", a raw TAB), so lines are
// matched by the names they read as, never by the spelling NameKey gives.
std::optional<AnsiString> StoredKey(const IniDocument& doc, const AnsiString& section, const AnsiString& name) {
    const AnsiString folded = AnsiUpperCase(name);
    for (const auto& entry : doc.Entries(section))
        if (AnsiUpperCase(NameFromKey(entry.first)) == folded) return entry.first;
    return std::nullopt;
}

AnsiString EncodeValue(TRegDataType type, const AnsiString& text, int number) {
    if (type == rdInteger) return "dword:" + IntToHex(static_cast<unsigned>(number), 8);
    return "\"" + AnsiString(Escape(text.str(), false)) + "\"";
}

// A string ("..."), an integer (dword:hex), or, for a line edited by hand,
// bare text taken as a string.
void DecodeValue(const AnsiString& raw, TRegDataType& type, AnsiString& text, int& number) {
    AnsiString t = raw.TrimLeft();
    if (t.SubString(1, 6).LowerCase() == "dword:") {
        type = rdInteger;
        int v = 0;
        AnsiString digits = t.SubString(7, t.Length()).Trim();
        if (!digits.IsEmpty() && TryStrToInt("$" + digits, v)) number = v;
        else type = rdUnknown;
        return;
    }
    type = rdString;
    if (!t.IsEmpty() && t[1] == '"') text = Unescape(t.str().substr(1), true);
    else text = t.TrimRight();
}

bool SplitPath(const AnsiString& path, std::vector<AnsiString>& parts) {
    parts.clear();
    AnsiString part;
    for (int i = 1; i <= path.Length() + 1; ++i) {
        if (i > path.Length() || path[i] == '\\') {
            if (!part.IsEmpty()) parts.push_back(part);
            part = AnsiString();
        } else if (path[i] == '\r' || path[i] == '\n') {
            return false;
        } else {
            part += path[i];
        }
    }
    return true;
}

AnsiString JoinPath(const std::vector<AnsiString>& parts, std::size_t count) {
    AnsiString r;
    for (std::size_t i = 0; i < count; ++i) r += (i ? "\\" : "") + parts[i];
    return r;
}

bool StartsWithFolded(const AnsiString& s, const AnsiString& prefix) {
    return s.Length() >= prefix.Length() && SameText(s.SubString(1, prefix.Length()), prefix);
}

} // namespace

AnsiString RootKeyName(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    case HKEY_DYN_DATA: return "HKEY_DYN_DATA";
    default: return "";
    }
}

// ---- Keys ----------------------------------------------------------------------

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

bool TRegistry::Resolve(const AnsiString& key, AnsiString& path) const {
    if (RootKeyName(root_).IsEmpty()) return false;
    std::vector<AnsiString> parts;
    bool absolute = !key.IsEmpty() && key[1] == '\\';
    AnsiString full = absolute || path_.IsEmpty() ? key : path_ + "\\" + key;
    if (!SplitPath(full, parts)) return false;
    path = JoinPath(parts, parts.size());
    return true;
}

AnsiString TRegistry::SectionOf(const AnsiString& path) const {
    return path.IsEmpty() ? RootKeyName(root_) : RootKeyName(root_) + "\\" + path;
}

bool TRegistry::KeyPathExists(const AnsiString& path) const {
    if (path.IsEmpty()) return true;
    AnsiString section = SectionOf(path);
    const IniDocument& doc = StoreFile().Current();
    if (doc.SectionExists(section)) return true;
    // A section written by hand for a subkey implies the keys above it.
    AnsiString prefix = section + "\\";
    for (const AnsiString& name : doc.SectionNames())
        if (StartsWithFolded(name, prefix)) return true;
    return false;
}

bool TRegistry::CreateKeyPath(const AnsiString& path) {
    if (ReadOnly()) return false;
    std::vector<AnsiString> parts;
    SplitPath(path, parts);
    return StoreFile().Change([&](IniDocument& doc) {
        bool changed = false;
        AnsiString section = RootKeyName(root_);
        for (const AnsiString& part : parts) {
            section += "\\" + part;
            if (const AnsiString* spelled = doc.SectionSpelling(section)) section = *spelled;
            else changed |= doc.AddSection(section);
        }
        return changed;
    });
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
    AnsiString path;
    if (!Resolve(key, path)) return false;
    if (!KeyPathExists(path) && !(canCreate && CreateKeyPath(path))) return false;
    path_ = path;
    open_ = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& key) { return OpenKey(key, false); }

void TRegistry::CloseKey() {
    path_ = AnsiString();
    open_ = false;
}

bool TRegistry::CreateKey(const AnsiString& key) {
    AnsiString path;
    if (!Resolve(key, path)) return false;
    return KeyPathExists(path) || CreateKeyPath(path);
}

bool TRegistry::KeyExists(const AnsiString& key) const {
    AnsiString path;
    return Resolve(key, path) && KeyPathExists(path);
}

bool TRegistry::DeleteKey(const AnsiString& key) {
    AnsiString path;
    // An empty name would mean the open key itself; deleting that takes its full name.
    if (key.IsEmpty() || ReadOnly() || !Resolve(key, path) || path.IsEmpty() || !KeyPathExists(path)) return false;
    AnsiString section = SectionOf(path);
    return StoreFile().Change([&](IniDocument& doc) {
        bool changed = doc.EraseSection(section);
        for (const AnsiString& name : doc.SectionNames())
            if (StartsWithFolded(name, section + "\\")) changed |= doc.EraseSection(name);
        return changed;
    });
}

std::vector<AnsiString> TRegistry::SubKeysOf(const AnsiString& path) const {
    std::vector<AnsiString> names;
    AnsiString prefix = SectionOf(path) + "\\";
    for (const AnsiString& section : StoreFile().Current().SectionNames()) {
        if (!StartsWithFolded(section, prefix)) continue;
        AnsiString rest = section.SubString(prefix.Length() + 1, section.Length());
        if (int slash = rest.Pos("\\")) rest = rest.SubString(1, slash - 1);
        if (rest.IsEmpty()) continue;
        bool seen = std::any_of(names.begin(), names.end(), [&](const AnsiString& n) { return SameText(n, rest); });
        if (!seen) names.push_back(rest);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) < 0; });
    return names;
}

bool TRegistry::HasSubKeys() const { return !SubKeysOf(path_).empty(); }

void TRegistry::GetKeyNames(TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    for (const AnsiString& n : SubKeysOf(path_)) strings->Add(n);
    strings->EndUpdate();
}

// ---- Values --------------------------------------------------------------------

std::vector<AnsiString> TRegistry::ValueNamesOf(const AnsiString& path) const {
    // Each name once: two lines that read as the same name are one value, the first.
    std::vector<AnsiString> names;
    std::vector<AnsiString> folded;
    for (const auto& entry : StoreFile().Current().Entries(SectionOf(path))) {
        AnsiString name = NameFromKey(entry.first);
        AnsiString f = AnsiUpperCase(name);
        if (std::find(folded.begin(), folded.end(), f) != folded.end()) continue;
        folded.push_back(f);
        names.push_back(name);
    }
    return names;
}

void TRegistry::GetValueNames(TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    for (const AnsiString& n : ValueNamesOf(path_)) strings->Add(n);
    strings->EndUpdate();
}

bool TRegistry::ReadValue(const AnsiString& path, const AnsiString& name, Value& value) const {
    const IniDocument& doc = StoreFile().Current();
    const AnsiString section = SectionOf(path);
    std::optional<AnsiString> key = StoredKey(doc, section, name);
    const AnsiString* raw = key ? doc.Find(section, *key) : nullptr;
    if (!raw) return false;
    DecodeValue(*raw, value.type, value.text, value.number);
    return true;
}

void TRegistry::WriteValue(const AnsiString& path, const AnsiString& name, const Value& value) {
    AnsiString raw = EncodeValue(value.type, value.text, value.number);
    const AnsiString section = SectionOf(path);
    std::optional<AnsiString> key = StoredKey(StoreFile().Current(), section, name);
    // A new name whose line would fold together with a line that reads as
    // another name ("\T" and "\t") cannot be stored apart from it.
    bool storable = key || !StoreFile().Current().Find(section, NameKey(name));
    bool ok = storable && !ReadOnly() && KeyPathExists(path) && StoreFile().Change([&](IniDocument& doc) {
        return doc.Set(section, key ? *key : NameKey(name), raw);
    });
    if (!ok) throw ERegistryException("Failed to set data for '" + name + "'");
}

bool TRegistry::DeleteValueAt(const AnsiString& path, const AnsiString& name) {
    if (ReadOnly()) return false;
    const AnsiString section = SectionOf(path);
    bool existed = false;
    bool ok = StoreFile().Change([&](IniDocument& doc) {
        // Every line that reads as the name goes.
        while (std::optional<AnsiString> key = StoredKey(doc, section, name)) {
            if (!doc.DeleteKey(section, *key)) break;
            existed = true;
        }
        return existed;
    });
    return ok && existed;
}

bool TRegistry::ValueExists(const AnsiString& name) const {
    Value v;
    return ReadValue(path_, name, v);
}

TRegDataType TRegistry::GetDataType(const AnsiString& name) const {
    Value v;
    return ReadValue(path_, name, v) ? v.type : rdUnknown;
}

bool TRegistry::DeleteValue(const AnsiString& name) { return DeleteValueAt(path_, name); }

AnsiString TRegistry::ReadString(const AnsiString& name) const {
    Value v;
    if (!ReadValue(path_, name, v)) return AnsiString();
    if (v.type != rdString) throw ERegistryException("Invalid data type for '" + name + "'");
    return v.text;
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) {
    WriteValue(path_, name, Value{rdString, value, 0});
}

int TRegistry::ReadInteger(const AnsiString& name) const {
    Value v;
    if (!ReadValue(path_, name, v)) throw ERegistryException("Failed to get data for '" + name + "'");
    if (v.type != rdInteger) throw ERegistryException("Invalid data type for '" + name + "'");
    return v.number;
}

void TRegistry::WriteInteger(const AnsiString& name, int value) {
    WriteValue(path_, name, Value{rdInteger, AnsiString(), value});
}
