#include "platform/RegIniFile.h"

#include "platform/IniDocument.h"

TRegIniFile::TRegIniFile(const AnsiString& fileName) : TRegIniFile(fileName, KEY_ALL_ACCESS) {}

TRegIniFile::TRegIniFile(const AnsiString& fileName, REGSAM access) : TRegistry(access), fileName_(fileName) {
    OpenKey(fileName, !ReadOnly());
}

bool TRegIniFile::SectionPath(const AnsiString& section, AnsiString& path) const {
    if (!KeyOpen()) return false;
    int start = 1;
    while (start <= section.Length() && section[start] == '\\') ++start;
    return Resolve(section.SubString(start, section.Length()), path);
}

bool TRegIniFile::ReadText(const AnsiString& section, const AnsiString& ident, AnsiString& text) const {
    AnsiString path;
    Value v;
    if (!SectionPath(section, path) || !ReadValue(path, ident, v)) return false;
    if (v.type == rdInteger) text = IntToStr(v.number);
    else if (v.type == rdString) text = v.text;
    else return false;
    return true;
}

AnsiString TRegIniFile::ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def) const {
    AnsiString text;
    return ReadText(section, ident, text) ? text : def;
}

void TRegIniFile::WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
    AnsiString path;
    if (!SectionPath(section, path) || !(KeyPathExists(path) || CreateKeyPath(path)))
        throw ERegistryException("Failed to set data for '" + ident + "'");
    WriteValue(path, ident, Value{rdString, value, 0});
}

int TRegIniFile::ReadInteger(const AnsiString& section, const AnsiString& ident, int def) const {
    AnsiString text;
    return ReadText(section, ident, text) ? StrToIntDef(text, def) : def;
}

void TRegIniFile::WriteInteger(const AnsiString& section, const AnsiString& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TRegIniFile::ReadBool(const AnsiString& section, const AnsiString& ident, bool def) const {
    AnsiString text;
    return ReadText(section, ident, text) ? IniTextToBool(text, def) : def;
}

void TRegIniFile::WriteBool(const AnsiString& section, const AnsiString& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TRegIniFile::ReadSection(const AnsiString& section, TStrings* strings) const {
    AnsiString path;
    strings->BeginUpdate();
    strings->Clear();
    if (SectionPath(section, path))
        for (const AnsiString& n : ValueNamesOf(path)) strings->Add(n);
    strings->EndUpdate();
}

void TRegIniFile::ReadSections(TStrings* strings) const {
    strings->BeginUpdate();
    strings->Clear();
    if (KeyOpen())
        for (const AnsiString& n : SubKeysOf(CurrentPath())) strings->Add(n);
    strings->EndUpdate();
}

void TRegIniFile::ReadSectionValues(const AnsiString& section, TStrings* strings) const {
    AnsiString path;
    strings->BeginUpdate();
    strings->Clear();
    if (SectionPath(section, path))
        for (const AnsiString& n : ValueNamesOf(path)) strings->Add(n + "=" + ReadString(section, n, ""));
    strings->EndUpdate();
}

void TRegIniFile::EraseSection(const AnsiString& section) {
    AnsiString path;
    if (SectionPath(section, path) && !path.IsEmpty() && path != CurrentPath()) TRegistry::DeleteKey("\\" + path);
}

void TRegIniFile::DeleteKey(const AnsiString& section, const AnsiString& ident) {
    AnsiString path;
    if (SectionPath(section, path)) DeleteValueAt(path, ident);
}

bool TRegIniFile::SectionExists(const AnsiString& section) const {
    AnsiString path;
    return SectionPath(section, path) && KeyPathExists(path);
}

bool TRegIniFile::ValueExists(const AnsiString& section, const AnsiString& ident) const {
    AnsiString path;
    Value v;
    return SectionPath(section, path) && ReadValue(path, ident, v);
}
