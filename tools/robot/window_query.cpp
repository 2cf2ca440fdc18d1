#include "robot/window_query.h"

#include "robot/readable_text.h"

namespace robot {
namespace detail {
namespace {

struct EnumRequest {
    DWORD pid;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    auto* request = reinterpret_cast<EnumRequest*>(lParam);
    if (request->pid == 0 || ProcessOf(window) == request->pid) {
        request->windows->push_back(window);
    }
    return TRUE;
}

}  // namespace

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    DWORD_PTR ignored = 0;
    DWORD_PTR* answer = result ? result : &ignored;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, answer) != 0;
}

std::vector<HWND> TopLevelWindows(DWORD pid)
{
    std::vector<HWND> windows;
    EnumRequest request {pid, &windows};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&request));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string ProcessName(DWORD pid)
{
    return pid == 0 ? "any process" : "process " + std::to_string(pid);
}

std::string ClassOf(HWND window)
{
    char name[256];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::string CaptionOf(HWND window)
{
    std::wstring caption(256, L'\0');
    for (;;) {
        int length = InternalGetWindowText(window, &caption[0], static_cast<int>(caption.size()));
        if (length < static_cast<int>(caption.size()) - 1) {
            caption.resize(length > 0 ? length : 0);
            return WideToCp932(caption);
        }
        caption.resize(caption.size() * 2);
    }
}

bool HasStyle(HWND window, LONG_PTR style)
{
    return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style;
}

HWND UsableControl(HWND dlg, int id)
{
    HWND control = GetDlgItem(dlg, id);
    if (!control || !HasStyle(control, WS_VISIBLE) || !IsWindowEnabled(control)) {
        return nullptr;
    }
    return control;
}

}  // namespace detail
}  // namespace robot
