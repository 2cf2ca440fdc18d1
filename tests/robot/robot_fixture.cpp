// The child process of the robot's self-test: shows a real message box or
// the test dialog in a process of its own, for the robot to find by process
// id and drive across processes.
//
//   robot_fixture box [ICON]   kBoxCaption/kBoxText with Yes/No/Cancel and the
//                              MB_ICON... value ICON (default MB_ICONQUESTION)
//   robot_fixture dialog       the test dialog; prints what it held at the end
//
// Exit code: the button that ended the box or dialog; 100 for wrong arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "test_dialog.h"

int main(int argc, char** argv)
{
    if (argc >= 2 && !std::strcmp(argv[1], "box"))
        return MessageBoxA(nullptr, kBoxText, kBoxCaption,
                           MB_YESNOCANCEL | (argc >= 3 ? std::strtoul(argv[2], nullptr, 0) : MB_ICONQUESTION));
    if (argc == 2 && !std::strcmp(argv[1], "dialog")) {
        std::string result;
        INT_PTR button = RunTestDialog(&result);
        std::printf("%s\n", result.c_str());
        return (int)button;
    }
    return 100;
}
