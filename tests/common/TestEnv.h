#pragma once
// The test environment: every test binary runs in a private current directory
// with a private settings folder ($XDG_CONFIG_HOME), both removed at exit.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/AnsiString.h"

namespace testenv {

// The binary's private root folder.
const std::filesystem::path& Root();

// A fresh empty folder under the root, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // A program path (Windows-1251) of a file in this folder.
    AnsiString File(const AnsiString& name) const;

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& p);
void WriteBytes(const std::filesystem::path& p, const std::string& bytes);

// The bytes of a file kept in tests/regressions (damaged and hostile inputs
// that once broke a loader); path relative to that folder.
std::string RegressionFile(const std::string& relative);

// Numbers written in the language of a desktop whose decimal separator is a
// comma: the C library's number formatting follows it while the object lives.
// Ok() is false when that language is not installed (scripts/setup.sh
// installs it).
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool Ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_ = false;
};

// The language every test binary also runs under (ctest's "_ru" variants).
inline constexpr const char* kCommaLocaleName = "ru_RU.UTF-8";

void Init();
// Every test from here on runs in a fresh working folder with a fresh
// settings folder (after InitGoogleTest).
void InstallFreshFolders();
// A step that puts a binary's shared state back after every test.
void AfterEachTest(std::function<void()> step);
// Runs those steps now, as the end of a test does.
void RunAfterEachTestSteps();
void Cleanup();

} // namespace testenv
