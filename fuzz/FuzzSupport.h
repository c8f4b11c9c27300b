#pragma once
// What every fuzz target shares: a private scratch folder that is the current
// folder and the settings folder, the recording user-interface port (so a
// message never waits for a click), an offscreen application for drawing,
// and FUZZ_CHECK, which turns a broken promise of a loader into a finding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AnsiString.h"
#include "platform/testing/TestUiPort.h"

namespace fuzz {

// Reports the broken promise and aborts, so libFuzzer keeps the input.
[[noreturn]] void Fail(const char* file, int line, const char* what);

// The recording port; its calls are cleared before each input.
TestUiPort& Ui();
// Clears the port's record (call at the start of each input).
void BeginInput();

// The scratch folder (program path, ending in '/').
const AnsiString& Scratch();
// A file in the scratch folder: its program path, its bytes.
AnsiString File(const std::string& name);
void Write(const std::string& name, std::string_view bytes);
std::string Read(const std::string& name); // empty when missing
bool Exists(const std::string& name);
void Remove(const std::string& name);

} // namespace fuzz

#define FUZZ_CHECK(cond)                                    \
    do {                                                    \
        if (!(cond)) ::fuzz::Fail(__FILE__, __LINE__, #cond); \
    } while (0)
