#pragma once
// Runs a program of the build as a separate process, with a text on its
// standard input, and gives back its exit code and both outputs.

#include <string>
#include <vector>

#include "common/TestEnv.h"

namespace testenv {

struct ProcessResult {
    int exit = -1; // -1 when it could not be started or did not exit normally
    std::string out, err;
};

// The files for the three streams are made in dir.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                         const TempDir& dir);

} // namespace testenv
