#pragma once
// The writer: lays out the data file (header, driver records, code, a 32-bit
// word, and in the debugging copy the name section) and puts it on disk
// through a temporary name, so a reader never sees a partial file.

#include <cstdint>
#include <string>

#include "platform/AnsiString.h"
#include "translate/CodeGenerator.h"
#include "translate/MemoryMap.h"

namespace translate {

constexpr uint16_t kDataFileVersion = 1;

// The whole file. names is the name section; empty for the controller copy.
std::string BuildDataFile(const TMemoryMap& map, const TProgram& program, uint16_t iterations, bool controllerCopy,
                          const std::string& names);

// Writes atomically; false when the file could not be written.
bool WriteDataFile(const AnsiString& path, const std::string& bytes);
// Removes the file of an earlier run, so that a failed run leaves none.
void RemoveDataFile(const AnsiString& path);

} // namespace translate
