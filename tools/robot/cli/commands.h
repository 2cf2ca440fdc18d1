// The commands of robot.exe.
#pragma once

#include <string>

#include "command_line.h"

namespace robot_cli {

enum ExitCode { kSucceeded = 0, kFailed = 1, kUsageError = 2 };

extern const char kUsage[];

// Runs line.command. Its result (UTF-8) goes to *output, the reason of a
// failure or usage error (UTF-8) to *error.
ExitCode RunCommand(const CommandLine& line, std::string* output, std::string* error);

}  // namespace robot_cli
