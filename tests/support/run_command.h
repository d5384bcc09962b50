#pragma once

#include <string>
#include <vector>

namespace kadromir::test_support {

struct CommandResult {
    int ExitCode = -1; // -1 when the program did not exit normally
    std::string Output;
    std::string Error;
};

// Runs a program with the given arguments (argv[0] first) and collects its output.
CommandResult RunCommand(const std::vector<std::string>& argv);

} // namespace kadromir::test_support
