#pragma once
// Where the program keeps its settings and where it runs from.

#include "platform/AnsiString.h"

// The settings folder: $XDG_CONFIG_HOME/ge, or ~/.config/ge when that variable
// is unset, empty or not an absolute path. Read from the environment on every
// call, so a test (or a caller) that changes the variable is followed at once.
AnsiString SettingsFolder();
// Creates the settings folder (with its parents) when it is missing; false
// when it cannot be made.
bool EnsureSettingsFolder();
// A bare file name (no directory part) names a file in the settings folder;
// any other name is returned unchanged.
AnsiString SettingsFilePath(const AnsiString& name);

// The full path of the running executable and its folder (no trailing '/').
AnsiString ExecutablePath();
AnsiString ExecutableFolder();
