#pragma once
// FindFirst / FindNext / FindClose: the entries of a folder that match a mask
// with the Windows rules: '*' is any run of characters, '?' one character,
// letter case is ignored (Cyrillic included), "*.*" matches every name (with
// or without a point), a mask ending in ".*" also matches the name without
// the extension, and a mask ending in "." matches names without a point.
// Entries come in name order; "." and ".." are never reported.

#include <cstdint>
#include <memory>

#include "platform/AnsiString.h"
#include "platform/DateTime.h"
#include "platform/FileUtils.h"

// Results, as the old platform numbered them.
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int ERROR_NO_MORE_FILES = 18;

struct FindState;

struct TSearchRec {
    AnsiString Name;        // bare name
    std::int64_t Size = 0;  // bytes; 0 for a folder
    int Attr = 0;           // fa* attributes
    TDateTime Time = 0;     // modification time, local
    int ExcludeAttr = 0;    // the special attributes that were not asked for
    std::shared_ptr<FindState> FindHandle;
};

// path is a folder part and a mask ("schemes/*.tvs"; no folder part means the
// current folder). Plain files are always reported; folders, hidden and system
// files only when attr asks for them (faDirectory, faHidden, faSysFile).
// Returns 0 with the first entry in sr, ERROR_FILE_NOT_FOUND when nothing
// matches, ERROR_PATH_NOT_FOUND when the folder cannot be read.
int FindFirst(const AnsiString& path, int attr, TSearchRec& sr);
// 0 with the next entry, ERROR_NO_MORE_FILES after the last.
int FindNext(TSearchRec& sr);
void FindClose(TSearchRec& sr);

// The mask rules above on one name.
bool MatchesMask(const AnsiString& name, const AnsiString& mask);
