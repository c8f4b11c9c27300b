#pragma once
// Whole-file reads and atomic writes, and the one conversion of a program path
// (Windows-1251 text) to a file-system path.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/AnsiString.h"

// The file-system path of a program path: its bytes as UTF-8. A '\' is a
// directory separator, as it was where such names were written, so a name
// read from an old project ("схемы\a.tvs") reaches the file it means.
std::filesystem::path ToFsPath(const AnsiString& name);
// A program path from a file-system path.
AnsiString FromFsPath(const std::filesystem::path& path);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const AnsiString& name, std::string& bytes);
// The file that a write to the path reaches: through a symbolic link (or a
// chain of them), the file the link names, whether it exists or not; empty
// for a circle of links.
std::filesystem::path LinkedFile(std::filesystem::path path);
// Writes to a temporary name beside the target and renames it into place, so a
// failed write leaves the old file as it was; through a link it writes the
// linked file (LinkedFile). False on any failure, with errno telling why; a
// read-only file is never replaced. The written file keeps the rights of the
// one it replaces.
bool WriteFileAtomic(const AnsiString& name, const std::string& bytes);

// The program's report of a file it could not write: "Не могу создать файл!"
// and, on the next line, the file.
AnsiString CannotCreateFileText(const AnsiString& name);

// What a file looked like when it was last read: a cached copy of a file is
// stale as soon as the stamp of the file on disk differs.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOf(const AnsiString& name);
