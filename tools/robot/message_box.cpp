// Recognising and reading message boxes.
#include "robot/robot.h"

#include <algorithm>

#include "robot/window_query.h"

namespace robot {
namespace {

constexpr int kTextId = 0xFFFF;

bool IsClass(HWND window, const char* name)
{
    return lstrcmpiA(detail::ClassOf(window).c_str(), name) == 0;
}

// The icon static is found by its SS_ICON style rather than its id:
// Windows gives it id 0x14, Wine 1088 (stc1).
HWND IconStatic(HWND box)
{
    for (HWND child : detail::ChildWindows(box)) {
        if (IsClass(child, "Static") && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

int IconOf(HWND box)
{
    HWND iconStatic = IconStatic(box);
    // Windows leaves the icon static out of a box without an icon; Wine keeps
    // it, empty.
    if (!iconStatic)
        return 0;
    DWORD_PTR shown = 0;
    if (!detail::Send(iconStatic, STM_GETICON, 0, 0, &shown))
        return -1;
    if (shown == 0)
        return 0;
    struct {
        int style;
        LPCSTR resource;
    } const kIcons[] = {
        {MB_ICONHAND, IDI_HAND},
        {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
        {MB_ICONQUESTION, IDI_QUESTION},
        {MB_ICONASTERISK, IDI_ASTERISK},
    };
    for (const auto& icon : kIcons) {
        if (reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, icon.resource)) {
            return icon.style;
        }
    }
    return -1;
}

std::vector<int> VisibleButtons(HWND box)
{
    std::vector<int> ids;
    for (HWND child : detail::ChildWindows(box)) {
        if (IsClass(child, "Button") && detail::HasStyle(child, WS_VISIBLE)) {
            ids.push_back(GetDlgCtrlID(child));
        }
    }
    return ids;
}

}  // namespace

bool IsMessageBox(HWND window)
{
    if (!IsClass(window, "#32770"))
        return false;
    bool hasText = false;
    for (HWND child : detail::ChildWindows(window)) {
        const bool isStatic = IsClass(child, "Static");
        if (!isStatic && !IsClass(child, "Button"))
            return false;
        hasText = hasText || (isStatic && GetDlgCtrlID(child) == kTextId);
    }
    return hasText;
}

bool ReadMessageBox(HWND box, MessageBoxInfo* out)
{
    if (!IsMessageBox(box))
        return false;
    MessageBoxInfo info;
    info.hwnd = box;
    info.owner = GetWindow(box, GW_OWNER);
    info.exStyle = static_cast<DWORD>(GetWindowLongPtrA(box, GWL_EXSTYLE));
    info.caption = detail::CaptionOf(box);
    info.text = GetItemText(box, kTextId);
    info.buttons = VisibleButtons(box);
    info.icon = IconOf(box);
    // A box closed while it was read gives empty texts: not a reading.
    if (!IsWindow(box))
        return false;
    *out = std::move(info);
    return true;
}

HWND WaitMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* out, std::string* failure,
                    const std::vector<HWND>& notBoxes)
{
    HWND found = nullptr;
    MessageBoxInfo info;
    detail::PollUntil(timeoutMs, [&] {
        for (HWND window : detail::TopLevelWindows(pid)) {
            // A disabled one waits under a box of its own, or is a dialog
            // that reads as a box, held under the box it asked for.
            if (detail::HasStyle(window, WS_VISIBLE) && !detail::HasStyle(window, WS_DISABLED) &&
                std::find(notBoxes.begin(), notBoxes.end(), window) == notBoxes.end() &&
                ReadMessageBox(window, &info)) {
                found = window;
                return true;
            }
        }
        return false;
    });
    if (found && out)
        *out = std::move(info);
    if (!found && failure) {
        *failure = "waited " + std::to_string(timeoutMs) + " ms for a message box of " + detail::ProcessName(pid)
            + " (a visible \"#32770\" window of Static and Button controls with the text static 0xFFFF);"
              " top-level windows:\n"
            + DescribeTopLevelWindows(pid);
    }
    return found;
}

}  // namespace robot
