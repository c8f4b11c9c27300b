#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/FileNames.h"

namespace {

std::filesystem::path HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

} // namespace

AnsiString SettingsFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base = xdg && xdg[0] == '/' ? std::filesystem::path(xdg) : HomeFolder() / ".config";
    return FromFsPath(base / "ge");
}

bool EnsureSettingsFolder() {
    std::error_code ec;
    auto dir = ToFsPath(SettingsFolder());
    if (std::filesystem::is_directory(dir, ec)) return true;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}

AnsiString SettingsFilePath(const AnsiString& name) {
    return IsBareFileName(name) ? PathJoin(SettingsFolder(), name) : name;
}

AnsiString ExecutablePath() {
    std::error_code ec;
    auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? AnsiString() : FromFsPath(p);
}

AnsiString ExecutableFolder() { return ExtractFileDir(ExecutablePath()); }
