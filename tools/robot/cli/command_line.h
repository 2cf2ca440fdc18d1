// The command line of robot.exe: "robot COMMAND --option value ... [--off]".
#pragma once

#include <map>
#include <string>
#include <vector>

namespace robot_cli {

struct CommandLine {
    std::string command;
    std::map<std::string, std::string> options;  // "--caption" -> its value
    bool off = false;                            // --off (for "check")
};

// The arguments after the program name, in code page 932. Wine turns the
// UTF-8 arguments of the Linux shell into Unicode; they are split as Unicode
// (CommandLineToArgvW) and only then converted, so the trail byte 0x5C of a
// character such as 表 is never parsed as a backslash before a quote,
// whatever C runtime splits the ANSI command line.
std::vector<std::string> Cp932Arguments();

// False with a message in *error for an unknown option or a missing value.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine* out, std::string* error);

}  // namespace robot_cli
