#pragma once
// The program's version: the splash window and the about box show it.

#include "platform/AnsiString.h"

inline constexpr const char* kProgramVersion = "1.3";

// "Версия 1.3".
inline AnsiString VersionText() { return "Версия "_a + kProgramVersion; }
