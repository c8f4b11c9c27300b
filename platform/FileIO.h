#pragma once
// Whole-file reads and atomic writes, and the one conversion of a program path
// (Windows-1251 text) to a file-system path.

#include <filesystem>
#include <string>

#include "platform/AnsiString.h"

// The file-system path of a program path: its bytes as UTF-8.
std::filesystem::path ToFsPath(const AnsiString& name);
// A program path from a file-system path.
AnsiString FromFsPath(const std::filesystem::path& path);

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const AnsiString& name, std::string& bytes);
// Writes to a temporary name beside the target and renames it into place, so a
// failed write leaves the old file as it was. False on any failure.
bool WriteFileAtomic(const AnsiString& name, const std::string& bytes);
