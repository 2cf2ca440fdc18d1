// The child process of the robot's self-test: shows the test box in a
// process of its own, for the robot to find by process id and press across
// processes.
//
//   robot_fixture ICON   kBoxCaption/kBoxText with Yes/No/Cancel and the
//                        MB_ICON... value ICON
//
// Exit code: the button that ended the box.
#include <windows.h>

#include <cstdlib>

#include "box_texts.h"

int main(int argc, char** argv)
{
    UINT icon = argc >= 2 ? std::strtoul(argv[1], nullptr, 0) : 0;
    return MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_YESNOCANCEL | icon);
}
