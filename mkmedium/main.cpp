// mkmedium: makes and checks the setup's installation medium (cli.h).
#include <string>
#include <vector>

#include "mkmedium/cli.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(size > 0 ? size - 1 : 0, '\0');
        if (size > 1)
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, &arg[0], size, nullptr, nullptr);
        args.push_back(arg);
    }
    StdConsole console;
    return RunMkmedium(args, console);
}

#else

int main(int argc, char** argv)
{
    // A Linux command line is UTF-8, as the tool's paths are.
    std::vector<std::string> args(argv + 1, argv + argc);
    StdConsole console;
    return RunMkmedium(args, console);
}

#endif
