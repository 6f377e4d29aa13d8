#pragma once
// Runs an external program (an encoder, an independent reader) without a shell.
#include <string>
#include <vector>

namespace fixtures {

struct CommandResult {
    int exitCode = -1;      // -1 when the program could not be started or did not exit normally
    std::string output;     // standard output; standard error too when asked
};

// argv[0] is looked up on PATH.
CommandResult RunCommand(const std::vector<std::string>& argv, bool captureStderr = false);

} // namespace fixtures
