// robot.exe: drives the windows of a running program from a shell script.
// See kUsage in commands.cpp.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "command_line.h"
#include "commands.h"

namespace {

// Output is written as bytes: Wine passes them to the Linux side unchanged,
// and a script wants "\n", not the "\r\n" of a text-mode stream.
bool WriteAll(std::FILE* stream, const std::string& text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

bool WriteOutput(const robot_cli::CommandLine& line, const std::string& text)
{
    auto out = line.options.find("--out");
    if (out == line.options.end())
        return WriteAll(stdout, text);
    std::FILE* file = std::fopen(out->second.c_str(), "wb");
    if (!file)
        return false;
    bool written = WriteAll(file, text);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    robot_cli::CommandLine line;
    std::string output, error;
    robot_cli::ExitCode result = robot_cli::kUsageError;
    if (robot_cli::ParseCommandLine(robot_cli::Cp932Arguments(), &line, &error)) {
        result = robot_cli::RunCommand(line, &output, &error);
    }
    if (result == robot_cli::kSucceeded && !WriteOutput(line, output)) {
        error = "could not write the output\n";
        result = robot_cli::kFailed;
    }
    if (result != robot_cli::kSucceeded) {
        if (!error.empty() && error.back() != '\n')
            error += '\n';
        WriteAll(stderr, "robot: " + error);
        if (result == robot_cli::kUsageError)
            WriteAll(stderr, robot_cli::kUsage);
    }
    return result;
}
