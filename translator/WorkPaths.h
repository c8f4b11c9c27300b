#pragma once
// The names of the translation's files: the work-file names of the settings
// (their defaults when no settings module exists), the debugging copy's
// "Debu" prefix and the paths of a single-scheme run.

#include "platform/AnsiString.h"
#include "translator/TranslationLibrary.h"

// The bare file names from the settings module.
struct TWorkFileNames {
    AnsiString DriverTypes; // "Типы драйверов", "1.$$$"
    AnsiString Drivers;     // "Драйвера", "2.$$$"
    AnsiString Signals;     // "Сигналы", "3.$$$"
    AnsiString Elements;    // "Элементы", "4.$$$"
    AnsiString Comments;    // "Комментарии", "5.$$$"
    AnsiString DataFile;    // "TVCA файл", "tvca.dat"
    AnsiString LogicFile;   // "Файл булевой логики", "tvca.txt"
};
TWorkFileNames CurrentWorkFileNames();
// "Инкремент таймера" (50 by default).
int CurrentTimerIncrement();

// The prefix of the debugging copy of a data file and of a scheme run's log.
inline constexpr const char* kDebugPrefix = "Debu";
// "Debu" put right after the last folder separator of the path ('/' or '\'),
// or in front of a path without one: "/p/err.log" -> "/p/Debuerr.log".
AnsiString WithDebugPrefix(const AnsiString& path);

// A scheme's base name: its file name without folder, cut before its last
// point when it has one ("main.tvs" -> "main", "a.b.tvs" -> "a.b", "main" stays).
AnsiString SchemeBaseName(const AnsiString& fileName);

// The files of a single-scheme run: the project directory + base name + the
// work-file name; the debugging data file with the "Debu" prefix.
struct TSchemeRunPaths {
    TWorkFilePaths Work;
    AnsiString Logic;
    AnsiString DebugData;
};
TSchemeRunPaths SchemeRunPaths(const AnsiString& projectDir, const AnsiString& baseName, const TWorkFileNames& names);

// The work files of a project run in the translator's directory.
TWorkFilePaths ProjectWorkPaths(const AnsiString& directory, const TWorkFileNames& names);
