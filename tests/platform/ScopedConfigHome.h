#pragma once
// Points $XDG_CONFIG_HOME at a fresh folder for one test and puts the old
// value back afterwards.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "common/TestEnv.h"

class ScopedConfigHome {
public:
    ScopedConfigHome() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        ::setenv("XDG_CONFIG_HOME", dir_.Path().c_str(), 1);
    }
    ~ScopedConfigHome() {
        if (old_) ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
    // The settings folder that goes with it (not created).
    std::filesystem::path SettingsDir() const { return dir_.Path() / "ge"; }

private:
    testenv::TempDir dir_;
    std::optional<std::string> old_;
};
