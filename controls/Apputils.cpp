#include "controls/Apputils.h"

#include <climits>

#include "controls/FileUtil.h"
#include "platform/FileNames.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"

std::function<AnsiString()> OnGetDefaultIniName;
AnsiString DefCompanyName;
bool RegUseAppTitle = false;

namespace {

constexpr int kMaxLine = 4096;

bool QuotedBothEnds(const AnsiString& s) {
    if (s.Length() < 2) return false;
    char first = s[1], last = s[s.Length()];
    return first == last && (first == '"' || first == '\'');
}

// The mask with every "%d" replaced by the number and "%%" by "%".
AnsiString FormatMask(const AnsiString& mask, long long number) {
    std::string r;
    const std::string& m = mask.str();
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (m[i] == '%' && i + 1 < m.size() && m[i + 1] == 'd') {
            r += std::to_string(number);
            ++i;
        } else if (m[i] == '%' && i + 1 < m.size() && m[i + 1] == '%') {
            r += '%';
            ++i;
        } else {
            r += m[i];
        }
    }
    return AnsiString(std::move(r));
}

} // namespace

AnsiString GetDefaultIniName() {
    if (OnGetDefaultIniName) return OnGetDefaultIniName();
    return ChangeFileExt(ExtractFileName(ExecutablePath()), ".INI");
}

AnsiString GetDefaultIniRegKey(const AnsiString& applicationTitle) {
    AnsiString base = (RegUseAppTitle && !applicationTitle.IsEmpty())
                          ? applicationTitle
                          : ChangeFileExt(ExtractFileName(ExecutablePath()), "");
    if (!DefCompanyName.IsEmpty()) base = DefCompanyName + "\\" + base;
    return "Software\\" + base;
}

AnsiString IniReadString(TObject* iniFile, const AnsiString& section, const AnsiString& ident, const AnsiString& def) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) return reg->ReadString(section, ident, def);
    if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) return ini->ReadString(section, ident, def);
    return def;
}

void IniWriteString(TObject* iniFile, const AnsiString& section, const AnsiString& ident, const AnsiString& value) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) {
        reg->WriteString(section, ident, value);
    } else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) {
        ini->WriteString(section, ident, QuotedBothEnds(value) ? "\"" + value + "\"" : value);
    }
}

int IniReadInteger(TObject* iniFile, const AnsiString& section, const AnsiString& ident, int def) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) return reg->ReadInteger(section, ident, def);
    if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) return ini->ReadInteger(section, ident, def);
    return def;
}

void IniWriteInteger(TObject* iniFile, const AnsiString& section, const AnsiString& ident, int value) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) reg->WriteInteger(section, ident, value);
    else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) ini->WriteInteger(section, ident, value);
}

bool IniReadBool(TObject* iniFile, const AnsiString& section, const AnsiString& ident, bool def) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) return reg->ReadBool(section, ident, def);
    if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) return ini->ReadBool(section, ident, def);
    return def;
}

void IniWriteBool(TObject* iniFile, const AnsiString& section, const AnsiString& ident, bool value) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) reg->WriteBool(section, ident, value);
    else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) ini->WriteBool(section, ident, value);
}

void IniEraseSection(TObject* iniFile, const AnsiString& section) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) reg->EraseSection(section);
    else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) ini->EraseSection(section);
}

void IniDeleteKey(TObject* iniFile, const AnsiString& section, const AnsiString& ident) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) reg->DeleteKey(section, ident);
    else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) ini->DeleteKey(section, ident);
}

void IniReadSections(TObject* iniFile, TStrings* strings) {
    if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) reg->ReadSections(strings);
    else if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) ini->ReadSections(strings);
}

AnsiString StrToIniStr(const AnsiString& str) {
    if (str.Length() > kMaxLine) throw Exception("Line too long");
    const std::string& s = str.str();
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\r' || c == '\n') {
            // A CR LF or LF CR pair is one line break.
            if (i + 1 < s.size() && (s[i + 1] == '\r' || s[i + 1] == '\n') && s[i + 1] != c) ++i;
            r += "\\n";
        } else {
            r += c;
        }
    }
    return AnsiString(std::move(r));
}

AnsiString IniStrToStr(const AnsiString& str) {
    if (str.Length() > kMaxLine) throw Exception("Line too long");
    const std::string& s = str.str();
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
            r += "\r\n";
            ++i;
        } else {
            r += s[i];
        }
    }
    return AnsiString(std::move(r));
}

AnsiString GetUniqueFileNameInDir(const AnsiString& path, const AnsiString& fileNameMask) {
    AnsiString dir = NormalDir(path);
    for (long long i = 0; i <= INT_MAX; ++i) {
        AnsiString name = FormatMask(fileNameMask, i);
        if (!FileExists(dir + name)) return name;
        if (name == FormatMask(fileNameMask, i + 1)) break; // the mask has no number
    }
    return AnsiString();
}
