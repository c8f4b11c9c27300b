#pragma once
// File and folder functions on program paths (Windows-1251 text, converted
// with ToFsPath, so '\' separates folders as '/' does). Each reports failure
// through its result, never by an exception.

#include <cstdint>

#include "platform/AnsiString.h"
#include "platform/DateTime.h"

// File attributes as the program tests them. On this system a file is
// read-only when nobody may write it, hidden when its name starts with '.',
// and anything that is neither a file nor a folder counts as a system file.
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

// True for an existing file (a folder is not a file).
bool FileExists(const AnsiString& name);
bool DirectoryExists(const AnsiString& name);
// Deletes a file (never a folder).
bool DeleteFile(const AnsiString& name);
// Renames or moves a file or folder; fails when newName already exists, so a
// rename never replaces another file by accident.
bool RenameFile(const AnsiString& oldName, const AnsiString& newName);
// Creates one folder (its parent must exist).
bool CreateDir(const AnsiString& dir);
// Removes an empty folder.
bool RemoveDir(const AnsiString& dir);
// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const AnsiString& dir);

// The absolute form of a name: relative names are taken from the current
// folder, '\' becomes '/', and "." and ".." parts are resolved (links are not
// followed). A trailing separator is kept. An empty name gives "".
AnsiString ExpandFileName(const AnsiString& name);
// Whether two names stand for one file: the same file on disk (links and
// relative names followed) or, while either is missing, the same expanded
// name. An empty name is no file.
bool SameFile(const AnsiString& a, const AnsiString& b);
AnsiString GetCurrentDir();
bool SetCurrentDir(const AnsiString& dir);

// The modification time of a file or folder in local time.
bool FileAge(const AnsiString& name, TDateTime& age);
bool FileSetDate(const AnsiString& name, TDateTime age);
// The attributes of a file or folder, -1 when it does not exist.
int FileGetAttr(const AnsiString& name);
// Applies faReadOnly (clears or restores the write permission); the other
// attributes cannot be set here and are ignored. 0 or the system error number.
int FileSetAttr(const AnsiString& name, int attr);
// The size of a file in bytes, -1 when it is missing or a folder.
std::int64_t FileSizeOf(const AnsiString& name);

// The text of a system error number (errno): the old platform's words for
// the errors of files, the system's own (untranslated) text for the others.
AnsiString SysErrorMessage(int error);
// The error number the last failed system call of this thread left (errno),
// and setting it, as a routine does that reports its failure so.
int GetLastError();
void SetLastError(int error);
