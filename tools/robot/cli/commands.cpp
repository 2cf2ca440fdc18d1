#include "commands.h"

#include <cstdlib>

#include "robot/readable_text.h"
#include "robot/robot.h"

namespace robot_cli {

const char kUsage[] = "usage: robot COMMAND [OPTIONS] [--out FILE]\n"
                      "  list      [--pid N]                      top-level windows\n"
                      "  wait      WINDOW                         wait for a window, print its handle\n"
                      "  read-box  [--pid N] [--timeout MS]       wait for a message box, print it\n"
                      "  press     WINDOW --id ID                 click a button\n"
                      "  set-text  WINDOW --id ID --text TEXT     set an edit control's text\n"
                      "  check     WINDOW --id ID [--off]         check (or uncheck) a button\n"
                      "  move      WINDOW --x X --y Y             move a window's corner to X,Y\n"
                      "WINDOW: [--pid N] [--class C] [--caption T] [--timeout MS] selects a\n"
                      "visible top-level window (default time-out 5000 ms). ID: a number or\n"
                      "IDOK, IDCANCEL, IDYES, IDNO, ... Output is UTF-8. Exit code 0: done,\n"
                      "1: time-out or failure, 2: usage error.\n";

namespace {

constexpr DWORD kDefaultTimeoutMs = 5000;

const std::string* Option(const CommandLine& line, const char* name)
{
    auto found = line.options.find(name);
    return found == line.options.end() ? nullptr : &found->second;
}

bool NumberOption(const CommandLine& line, const char* name, DWORD fallback, DWORD* value, std::string* error)
{
    const std::string* text = Option(line, name);
    if (!text) {
        *value = fallback;
        return true;
    }
    char* end = nullptr;
    *value = static_cast<DWORD>(std::strtoul(text->c_str(), &end, 0));
    if (text->empty() || *end != '\0') {
        *error = std::string(name) + " takes a number, not " + robot::Quoted(*text);
        return false;
    }
    return true;
}

const char* OptionalText(const CommandLine& line, const char* name)
{
    const std::string* text = Option(line, name);
    return text ? text->c_str() : nullptr;
}

// --pid (default 0: any process) and --timeout.
bool PidAndTimeout(const CommandLine& line, DWORD* pid, DWORD* timeoutMs, std::string* error)
{
    return NumberOption(line, "--pid", 0, pid, error)
        && NumberOption(line, "--timeout", kDefaultTimeoutMs, timeoutMs, error);
}

// The window a WINDOW selection names, waited for.
ExitCode SelectWindow(const CommandLine& line, HWND* window, std::string* error)
{
    DWORD pid = 0, timeoutMs = 0;
    if (!PidAndTimeout(line, &pid, &timeoutMs, error))
        return kUsageError;
    *window = robot::WaitWindow(pid, OptionalText(line, "--class"), OptionalText(line, "--caption"), timeoutMs, error);
    return *window ? kSucceeded : kFailed;
}

ExitCode List(const CommandLine& line, std::string* output, std::string* error)
{
    DWORD pid = 0;
    if (!NumberOption(line, "--pid", 0, &pid, error))
        return kUsageError;
    *output = robot::DescribeTopLevelWindows(pid);
    return kSucceeded;
}

ExitCode Wait(const CommandLine& line, std::string* output, std::string* error)
{
    HWND window = nullptr;
    ExitCode result = SelectWindow(line, &window, error);
    if (result == kSucceeded)
        *output = robot::HandleText(window) + "\n";
    return result;
}

ExitCode ReadBox(const CommandLine& line, std::string* output, std::string* error)
{
    DWORD pid = 0, timeoutMs = 0;
    if (!PidAndTimeout(line, &pid, &timeoutMs, error))
        return kUsageError;
    robot::MessageBoxInfo box;
    if (!robot::WaitMessageBox(pid, timeoutMs, &box, error))
        return kFailed;
    *output = "hwnd " + robot::HandleText(box.hwnd) + "\n"
        + "caption " + robot::Quoted(box.caption) + "\n"
        + "text " + robot::Quoted(box.text) + "\n"
        + "buttons " + robot::ButtonList(box.buttons) + "\n"
        + "icon " + robot::IconName(box.icon) + "\n";
    return kSucceeded;
}

// press, set-text and check: find the window, then act on its control --id.
using ControlAction = bool (*)(HWND window, int id, const CommandLine& line);

ExitCode ActOnControl(const CommandLine& line, const char* what, ControlAction act, std::string* error)
{
    const std::string* idText = Option(line, "--id");
    int id = 0;
    if (!idText || !robot::ParseButtonId(*idText, &id)) {
        *error = "--id needs a control id (a number or IDOK, IDCANCEL, ...)";
        return kUsageError;
    }
    HWND window = nullptr;
    ExitCode found = SelectWindow(line, &window, error);
    if (found != kSucceeded)
        return found;
    if (act(window, id, line))
        return kSucceeded;
    *error = std::string("could not ") + what + " control " + robot::ButtonName(id) + " of window "
        + robot::HandleText(window) + " (missing, hidden, disabled or refused)";
    return kFailed;
}

ExitCode Press(const CommandLine& line, std::string*, std::string* error)
{
    return ActOnControl(
        line, "press", [](HWND window, int id, const CommandLine&) { return robot::PressButton(window, id); }, error);
}

ExitCode SetText(const CommandLine& line, std::string*, std::string* error)
{
    if (!Option(line, "--text")) {
        *error = "set-text needs --text";
        return kUsageError;
    }
    return ActOnControl(
        line, "set the text of",
        [](HWND window, int id, const CommandLine& line) {
            return robot::SetEditText(window, id, Option(line, "--text")->c_str());
        },
        error);
}

ExitCode Check(const CommandLine& line, std::string*, std::string* error)
{
    return ActOnControl(
        line, line.off ? "uncheck" : "check",
        [](HWND window, int id, const CommandLine& line) { return robot::SetCheck(window, id, !line.off); }, error);
}

// As a user drags a window by its title bar: the size and the stacking stay.
ExitCode Move(const CommandLine& line, std::string*, std::string* error)
{
    DWORD x = 0, y = 0;
    if (!Option(line, "--x") || !Option(line, "--y")) {
        *error = "move needs --x and --y";
        return kUsageError;
    }
    if (!NumberOption(line, "--x", 0, &x, error) || !NumberOption(line, "--y", 0, &y, error))
        return kUsageError;
    HWND window = nullptr;
    ExitCode found = SelectWindow(line, &window, error);
    if (found != kSucceeded)
        return found;
    if (SetWindowPos(window, nullptr, (int)x, (int)y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return kSucceeded;
    *error = "could not move window " + robot::HandleText(window);
    return kFailed;
}

struct Command {
    const char* name;
    ExitCode (*run)(const CommandLine&, std::string*, std::string*);
};

constexpr Command kCommands[] = {
    {"list", List},
    {"wait", Wait},
    {"read-box", ReadBox},
    {"press", Press},
    {"set-text", SetText},
    {"check", Check},
    {"move", Move},
};

}  // namespace

ExitCode RunCommand(const CommandLine& line, std::string* output, std::string* error)
{
    for (const Command& command : kCommands) {
        if (line.command == command.name)
            return command.run(line, output, error);
    }
    *error = "unknown command " + robot::Quoted(line.command);
    return kUsageError;
}

}  // namespace robot_cli
