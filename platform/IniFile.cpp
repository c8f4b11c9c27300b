#include "platform/IniFile.h"

#include "platform/FileNames.h"
#include "platform/Paths.h"

namespace {

void CheckNames(const AnsiString& section, const AnsiString* ident) {
    if (!IniDocument::ValidSectionName(section))
        throw EIniFileException("Invalid section name \"" + section + "\" for an ini file");
    if (ident && !IniDocument::ValidKeyName(*ident))
        throw EIniFileException("Invalid key name \"" + *ident + "\" for an ini file");
}

// The value as the old profile reader gave it: trimmed, one pair of matching
// enclosing quotes removed.
AnsiString Unquote(const AnsiString& raw) {
    AnsiString v = raw.Trim();
    int n = v.Length();
    if (n >= 2 && (v[1] == '"' || v[1] == '\'') && v[n] == v[1]) return v.SubString(2, n - 2);
    return v;
}

} // namespace

TIniFile::TIniFile(const AnsiString& fileName)
    : store_(IniStore::Open(SettingsFilePath(fileName), IsBareFileName(fileName))) {}

TIniFile::~TIniFile() = default;

const IniDocument& TIniFile::Doc() const { return store_->Current(); }

void TIniFile::Change(const std::function<bool(IniDocument&)>& f) {
    if (!store_->Change(f)) throw EIniFileException("Unable to write to " + store_->Path());
}

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) const {
    const AnsiString* raw = Doc().Find(section, ident);
    return raw ? Unquote(*raw) : def;
}

void TIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
    CheckNames(section, &ident);
    if (value.Pos("\r") || value.Pos("\n"))
        throw EIniFileException("The value of \"" + ident + "\" holds a line break and cannot be written to an ini file");
    Change([&](IniDocument& d) { return d.Set(section, ident, value); });
}

int TIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const {
    return StrToIntDef(ReadString(section, ident, ""), def);
}

void TIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const {
    return IniTextToBool(ReadString(section, ident, ""), def);
}

void TIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::ReadSection(const AnsiString& section, TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    for (const auto& [key, raw] : Doc().Entries(section)) strings->Add(key);
    strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    for (const AnsiString& name : Doc().SectionNames()) strings->Add(name);
    strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    for (const auto& [key, raw] : Doc().Entries(section)) strings->Add(key + "=" + Unquote(raw));
    strings->EndUpdate();
}

void TIniFile::EraseSection(const AnsiString& section) {
    Change([&](IniDocument& d) { return d.EraseSection(section); });
}

void TIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
    Change([&](IniDocument& d) { return d.DeleteKey(section, ident); });
}

bool TIniFile::SectionExists(const AnsiString& section) const { return Doc().SectionExists(section); }

bool TIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) const {
    return Doc().Find(section, ident) != nullptr;
}

// ---- TMemIniFile -------------------------------------------------------------------

TMemIniFile::TMemIniFile(const AnsiString& fileName) : TIniFile(fileName) { doc_ = Store().Current(); }

void TMemIniFile::Change(const std::function<bool(IniDocument&)>& f) {
    if (f(doc_)) modified_ = true;
}

void TMemIniFile::UpdateFile() {
    if (!modified_) return;
    if (!Store().Commit(doc_)) throw EIniFileException("Unable to write to " + Store().Path());
    modified_ = false;
}
