#include "command_line.h"

#include <windows.h>
#include <shellapi.h>

#include "robot/readable_text.h"

namespace robot_cli {
namespace {

bool TakesValue(const std::string& option)
{
    static const char* const kValueOptions[]
        = {"--pid", "--class", "--caption", "--timeout", "--id", "--text", "--out", "--x", "--y"};
    for (const char* name : kValueOptions) {
        if (option == name)
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> Cp932Arguments()
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(robot::WideToCp932(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine* out, std::string* error)
{
    if (arguments.empty()) {
        *error = "no command given";
        return false;
    }
    out->command = arguments[0];
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--off") {
            out->off = true;
        } else if (!TakesValue(option)) {
            *error = "unknown option " + robot::Quoted(option);
            return false;
        } else if (i + 1 == arguments.size()) {
            *error = "option " + option + " needs a value";
            return false;
        } else {
            out->options[option] = arguments[++i];
        }
    }
    return true;
}

}  // namespace robot_cli
