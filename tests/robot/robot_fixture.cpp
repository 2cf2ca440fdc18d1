// The child process of the robot's self-test: shows the test box, with
// Yes/No/Cancel and no icon, in a process of its own, for the robot to find
// by process id and press across processes. Exit code: the button pressed.
#include <windows.h>

#include "box_texts.h"

int main()
{
    return MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_YESNOCANCEL);
}
