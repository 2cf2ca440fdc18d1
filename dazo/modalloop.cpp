// The library's message loop: modal dialogs, pumps, and what each message
// passes through before it is dispatched.
#include "dazo/Wnd.h"

#include <cstdlib>

void (*g_pfnHelpHook)(MSG* msg);

// The loop state: the first end wins until the loop has looked.
static bool s_fEnd;
static int s_nEndCode;

void EndModalLoop(int code)
{
    if (!s_fEnd) {
        s_fEnd = true;
        s_nEndCode = code;
        // A message sent from another thread is handled inside GetMessage,
        // which then goes on waiting: an empty posted message wakes the loop
        // to look at the flag. Left over, it ends nothing.
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    }
}

static bool IsKeyMessage(UINT msg)
{
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

// Function keys (without Alt) go to the nearest enabled window, from the
// message's window up through its parents, whose object takes them.
static bool SendFunctionKey(MSG* msg)
{
    const LPARAM ALT_STATE = 1 << 29;
    if (!IsKeyMessage(msg->message) || msg->wParam < VK_F1 || msg->wParam > VK_F24 || (msg->lParam & ALT_STATE))
        return false;
    for (HWND h = msg->hwnd; h; h = GetParent(h)) {
        Wnd* w = FindWnd(h);
        if (w && (w->m_dwWndFlag & WND_FUNCKEYS) && IsWindowEnabled(h)) {
            MSG plain = *msg;
            plain.hwnd = h;
            if (plain.message == WM_SYSKEYDOWN)
                plain.message = WM_KEYDOWN;
            else if (plain.message == WM_SYSKEYUP)
                plain.message = WM_KEYUP;
            DispatchMessageA(&plain);
            return true;
        }
    }
    return false;
}

// Arrow and paging keys that the loop's flags send to its window.
static bool IsLoopKey(UINT flags, WPARAM key)
{
    return ((flags & LOOP_UPDOWN) && (key == VK_UP || key == VK_DOWN)) ||
           ((flags & LOOP_LEFTRIGHT) && (key == VK_LEFT || key == VK_RIGHT)) ||
           ((flags & LOOP_PAGEKEYS) && (key == VK_PRIOR || key == VK_NEXT));
}

static bool PreTranslate(UINT flags, HWND hwnd, MSG* msg)
{
    if ((flags & LOOP_FUNCKEYS) && SendFunctionKey(msg))
        return true;
    if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && hwnd && IsLoopKey(flags, msg->wParam)) {
        SendMessageA(hwnd, msg->message, msg->wParam, msg->lParam);
        return true;
    }
    if (!(flags & LOOP_NOHELP) && msg->message == WM_KEYDOWN && msg->wParam == VK_F1) {
        if (g_pfnHelpHook)
            g_pfnHelpHook(msg);
        return true;
    }
    if ((flags & LOOP_DIALOG) && hwnd && IsDialogMessageA(hwnd, msg))
        return true;
    return PreTranslateModeless(msg);
}

// Windows of classes without CS_DBLCLKS get no double clicks from the
// system; the loop makes them from the double-click time and rectangle for
// the library's windows, whose WndProc reads a double click as a second
// button-down unless the class handles it.
static void DetectDoubleClick(MSG* msg)
{
    static MSG s_last;
    UINT m = msg->message;
    if (m != WM_LBUTTONDOWN && m != WM_RBUTTONDOWN && m != WM_MBUTTONDOWN)
        return;
    if (!FindWnd(msg->hwnd) || (GetClassLongPtrA(msg->hwnd, GCL_STYLE) & CS_DBLCLKS))
        return;
    if (s_last.message == m && s_last.hwnd == msg->hwnd && msg->time - s_last.time <= GetDoubleClickTime() &&
        std::abs(msg->pt.x - s_last.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(msg->pt.y - s_last.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
        msg->message = m + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
        s_last = MSG();
        return;
    }
    s_last = *msg;
}

int RunModalLoop(UINT flags, HWND hwnd, HACCEL hAccel)
{
    SafePtr<DisableWnd> disabledOwner;
    if ((flags & LOOP_MODAL) && hwnd) {
        SetActiveWindow(hwnd);
        HWND owner = GetWindow(hwnd, GW_OWNER);
        if (owner && IsWindowEnabled(owner))
            disabledOwner = SafePtr<DisableWnd>(new DisableWnd(owner));
    }

    const int PUMP_IDLE_LIMIT = 100;
    int idleMessages = 0;
    while (!s_fEnd) {
        MSG msg;
        if (flags & LOOP_PUMP) {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                EndModalLoop(0);
                break;
            }
        } else if (GetMessageA(&msg, nullptr, 0, 0) == -1) {
            EndModalLoop(0);
            break;
        }
        if (msg.message == WM_QUIT || msg.message == WM_DZ_ENDLOOP) {
            EndModalLoop(static_cast<int>(msg.wParam));
            break;
        }
        DetectDoubleClick(&msg);
        if (!PreTranslate(flags, hwnd, &msg) && !(hAccel && TranslateAcceleratorA(hwnd, hAccel, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if ((flags & LOOP_PUMP) && (msg.message == WM_TIMER || msg.message == WM_ENTERIDLE) &&
            ++idleMessages >= PUMP_IDLE_LIMIT)
            EndModalLoop(0);
        // A loop whose window is gone would wait for an end that never comes.
        if (hwnd && !IsWindow(hwnd))
            EndModalLoop(0);
    }
    disabledOwner = SafePtr<DisableWnd>();

    int code = s_nEndCode;
    s_fEnd = false;
    s_nEndCode = 0;
    return code;
}
