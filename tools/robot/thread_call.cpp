// Running a robot's function on the thread of a window of the same process.
#include "robot/robot.h"

namespace robot {
namespace {

UINT CallMessage()
{
    static const UINT message = RegisterWindowMessageA("DarvoRobotThreadCall");
    return message;
}

// A hook of the window's thread sees the sent message before the window
// does, on that thread: the window itself need not know the message.
LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == CallMessage())
        (*reinterpret_cast<const std::function<void()>*>(sent->lParam))();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool CallOnThreadOf(HWND window, const std::function<void()>& call)
{
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CallHook, nullptr, GetWindowThreadProcessId(window, nullptr));
    if (!hook)
        return false;
    DWORD_PTR result = 0;
    bool called = SendMessageTimeoutA(window, CallMessage(), 0, reinterpret_cast<LPARAM>(&call), SMTO_BLOCK, 30000,
                                      &result) != 0;
    // Unhooked, a call that timed out can no longer run later.
    UnhookWindowsHookEx(hook);
    return called;
}

}  // namespace robot
