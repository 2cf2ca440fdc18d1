#include "mkmedium/cli.h"

#include "mkmedium/builder.h"
#include "mkmedium/checker.h"
#include "mkmedium/description.h"
#include "mkmedium/diskfiles.h"

static const char USAGE[] =
    "usage: mkmedium [--disk-size SIZE] DESCRIPTION SETUP-FOLDER OUTPUT-FOLDER\n"
    "       mkmedium --check MEDIUM-FOLDER\n"
    "Makes the installation medium DISK1 ... DISKn in OUTPUT-FOLDER (new or empty) from\n"
    "the medium DESCRIPTION and the SETUP.EXE in SETUP-FOLDER, or checks a medium.\n"
    "SIZE: bytes per disk, or 1.44M; no limit unless given here or in the description.";

static int Usage(Console& console, const std::string& problem)
{
    console.Problem(problem + "\n" + USAGE);
    return 2;
}

int RunMkmedium(const std::vector<std::string>& args, Console& console)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        console.Say(USAGE);
        return 0;
    }
    if (!args.empty() && args[0] == "--check") {
        if (args.size() != 2)
            return Usage(console, "--check takes one medium folder");
        return CheckMedium(PathFromUtf8(args[1]), console);
    }
    BuildRequest request;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--disk-size") {
            if (i + 1 == args.size() || !ParseDiskSize(args[i + 1], &request.diskSize))
                return Usage(console, "--disk-size takes a number of bytes or 1.44M");
            ++i;
        } else if (args[i].compare(0, 2, "--") == 0) {
            return Usage(console, "unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 3)
        return Usage(console, "a description, the folder of SETUP.EXE and an output folder are needed");
    request.description = PathFromUtf8(positional[0]);
    request.setupFolder = PathFromUtf8(positional[1]);
    request.output = PathFromUtf8(positional[2]);
    return BuildMedium(request, console);
}
