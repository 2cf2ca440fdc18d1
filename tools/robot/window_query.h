// Building blocks of the robot, shared by its parts: enumerating windows and
// reading their properties without ever blocking on the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "robot/robot.h"

namespace robot {
namespace detail {

// How long a message sent to the program may take. SendMessageTimeout with
// SMTO_ABORTIFHUNG keeps a robot from hanging on a program that does not
// pump messages (or on its own UI thread while that waits for the robot).
constexpr UINT kSendTimeoutMs = 2000;

// SendMessageTimeoutA; false when the window did not answer in time.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result);

// Top-level windows of process `pid` (0: every process), topmost first.
std::vector<HWND> TopLevelWindows(DWORD pid);
// Direct children in Z order, which is a dialog's tab order.
std::vector<HWND> ChildWindows(HWND parent);

DWORD ProcessOf(HWND window);
// "process 1234", or "any process" for 0.
std::string ProcessName(DWORD pid);
std::string ClassOf(HWND window);
// The caption stored with the window (InternalGetWindowText): no message is
// sent, so it answers even while the window's thread is busy.
std::string CaptionOf(HWND window);
bool HasStyle(HWND window, LONG_PTR style);
// The control `id` of `dlg` if it is visible and enabled, as a user needs.
HWND UsableControl(HWND dlg, int id);

// Calls `done` every kPollMs milliseconds until it returns true (then true)
// or `timeoutMs` have passed (then false). `done` runs at least once.
template <class Condition> bool PollUntil(DWORD timeoutMs, Condition done)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
}

}  // namespace detail
}  // namespace robot
