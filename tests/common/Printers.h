#pragma once
// Lets test failures show texts as readable UTF-8.

#include <ostream>

#include "platform/AnsiString.h"

inline void PrintTo(const AnsiString& s, std::ostream* os) { *os << '"' << AnsiToUtf8(s) << '"'; }
