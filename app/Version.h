#pragma once
// The program's version: the splash window and the about box show it.
//
// Both windows show this one number, by decision. The old program's splash
// read "Версия 1.2" while its about box read "Версия 1.3" (the splash was
// never updated); two versions of one program in two windows only misleads
// the user, so the newer one is shown in both.

#include "platform/AnsiString.h"

inline constexpr const char* kProgramVersion = "1.3";

// "Версия 1.3".
inline AnsiString VersionText() { return "Версия "_a + kProgramVersion; }
