#pragma once
// File-name helpers on program paths (Windows-1251 text). Names read from
// files may have been written on Windows, so '/', '\' and ':' all end a
// directory part: the bare file name is the text after the last of them.

#include "platform/AnsiString.h"

// The delimiters that end a directory part.
inline constexpr const char* kPathDelimiters = "/\\:";

bool IsPathDelimiter(char c);
// "dir/a.tvs" -> "a.tvs"; "C:\x\a.tvs" -> "a.tvs".
AnsiString ExtractFileName(const AnsiString& name);
// The directory part with its final delimiter: "dir/a.tvs" -> "dir/".
AnsiString ExtractFilePath(const AnsiString& name);
// The directory part without its final delimiter, except for a root ("/" or "C:\").
AnsiString ExtractFileDir(const AnsiString& name);
// The extension with its point, from the last point of the bare name: ".tvs"; "" without one.
AnsiString ExtractFileExt(const AnsiString& name);
// Replaces the extension (or appends ext when there is none); ext includes its point.
AnsiString ChangeFileExt(const AnsiString& name, const AnsiString& ext);
// True when the name has no directory part.
bool IsBareFileName(const AnsiString& name);
// True when the name starts at a root: "/", "\" or a drive ("C:").
bool IsAbsoluteFileName(const AnsiString& name);
// Appends '/' unless the name is empty or already ends in '/' or '\'.
AnsiString IncludeTrailingPathDelimiter(const AnsiString& dir);
// Removes every trailing '/' or '\' except the one of a root ("/").
AnsiString ExcludeTrailingPathDelimiter(const AnsiString& dir);
// Joins a directory and a name with exactly one separator between them: no
// separator is doubled whether or not dir ends in one or name starts with one.
// An empty dir gives the name unchanged.
AnsiString PathJoin(const AnsiString& dir, const AnsiString& name);
