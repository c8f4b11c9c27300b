#include "platform/FileNames.h"

namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
}

bool IsPathDelimiter(char c) { return c == '/' || c == '\\' || c == ':'; }

AnsiString ExtractFileName(const AnsiString& name) {
    return name.SubString(name.LastDelimiter(kPathDelimiters) + 1, name.Length());
}

AnsiString ExtractFilePath(const AnsiString& name) { return name.SubString(1, name.LastDelimiter(kPathDelimiters)); }

AnsiString ExtractFileDir(const AnsiString& name) {
    int i = name.LastDelimiter(kPathDelimiters);
    if (i == 0) return {};
    // A root keeps its delimiter: "/", "C:", "C:\".
    if (i == 1 || name[i] == ':' || name[i - 1] == ':') return name.SubString(1, i);
    return name.SubString(1, i - 1);
}

AnsiString ExtractFileExt(const AnsiString& name) {
    int i = name.LastDelimiter(AnsiString(".") + kPathDelimiters);
    if (i == 0 || name[i] != '.') return {};
    return name.SubString(i, name.Length());
}

AnsiString ChangeFileExt(const AnsiString& name, const AnsiString& ext) {
    int i = name.LastDelimiter(AnsiString(".") + kPathDelimiters);
    if (i == 0 || name[i] != '.') i = name.Length() + 1;
    return name.SubString(1, i - 1) + ext;
}

bool IsBareFileName(const AnsiString& name) { return name.LastDelimiter(kPathDelimiters) == 0; }

bool IsAbsoluteFileName(const AnsiString& name) {
    return !name.IsEmpty() && (name[1] == '/' || name[1] == '\\' || (name.Length() >= 2 && name[2] == ':'));
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& dir) {
    if (dir.IsEmpty() || IsSeparator(dir[dir.Length()])) return dir;
    return dir + '/';
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& dir) {
    int n = dir.Length();
    while (n > 1 && IsSeparator(dir[n])) --n;
    return dir.SubString(1, n);
}

AnsiString PathJoin(const AnsiString& dir, const AnsiString& name) {
    if (dir.IsEmpty()) return name;
    int start = 1;
    while (start <= name.Length() && IsSeparator(name[start])) ++start;
    return IncludeTrailingPathDelimiter(dir) + name.SubString(start, name.Length());
}
