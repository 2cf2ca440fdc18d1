// Reading and driving dialog controls.
#include "robot/robot.h"
#include "robot/window_query.h"

namespace robot {
namespace {

// A user's click reaches the dialog as WM_COMMAND/BN_CLICKED, sent by the
// button from inside the dialog thread's message loop. SendNotifyMessage
// delivers it there too, without waiting for the handler (which may run a
// modal loop or end the dialog) and in order with the robot's sent messages.
bool Click(HWND dlg, int id, HWND button)
{
    return SendNotifyMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool CheckStateIs(HWND button, WPARAM state)
{
    DWORD_PTR current = 0;
    return detail::Send(button, BM_GETCHECK, 0, 0, &current) && current == state;
}

bool IsAutoRadioButton(HWND window)
{
    return lstrcmpiA(detail::ClassOf(window).c_str(), "Button") == 0
        && (GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// What the button procedure does when a user clicks an auto radio button.
void ClearOtherRadioButtonsOfGroup(HWND dlg, HWND radio)
{
    for (HWND other = GetNextDlgGroupItem(dlg, radio, FALSE); other && other != radio;
         other = GetNextDlgGroupItem(dlg, other, FALSE)) {
        if (IsAutoRadioButton(other)) {
            detail::Send(other, BM_SETCHECK, BST_UNCHECKED, 0, nullptr);
        }
    }
}

}  // namespace

std::string GetText(HWND window)
{
    // WM_GETTEXT into a buffer that is usually large enough: one round trip,
    // and no WM_GETTEXTLENGTH, which may overstate the length for an ANSI
    // caller. A full buffer means the text may be longer: try a larger one.
    for (size_t size = 1024; size <= (1u << 20); size *= 2) {
        std::string text(size, '\0');
        DWORD_PTR copied = 0;
        if (!detail::Send(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(&text[0]), &copied)) {
            return "";
        }
        // The copy stops short of a double-byte character that does not fit,
        // so a full buffer can hold one byte less than its room.
        if (copied + 2 < size) {
            text.resize(copied);
            return text;
        }
    }
    return "";
}

std::string GetItemText(HWND dlg, int id)
{
    HWND control = GetDlgItem(dlg, id);
    return control ? GetText(control) : std::string();
}

bool PressButton(HWND dlg, int id)
{
    HWND button = detail::UsableControl(dlg, id);
    return button && Click(dlg, id, button);
}

// Posted as the keyboard's messages are, so that the dialog loop's
// IsDialogMessage sees the key; the repeat count 1 in lParam, the key-up with
// its previous-state and transition bits.
bool PressEnter(HWND dlg)
{
    return PostMessageA(dlg, WM_KEYDOWN, VK_RETURN, 1) && PostMessageA(dlg, WM_KEYUP, VK_RETURN, 0xC0000001);
}

bool SetEditText(HWND dlg, int id, const char* text)
{
    HWND edit = detail::UsableControl(dlg, id);
    if (!edit || lstrcmpiA(detail::ClassOf(edit).c_str(), "Edit") != 0 || detail::HasStyle(edit, ES_READONLY)) {
        return false;
    }
    return detail::Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), nullptr) && GetText(edit) == text;
}

bool SetCheck(HWND dlg, int id, bool checked)
{
    HWND button = detail::UsableControl(dlg, id);
    if (!button)
        return false;
    const WPARAM state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (CheckStateIs(button, state))
        return true;
    if (!detail::Send(button, BM_SETCHECK, state, 0, nullptr) || !CheckStateIs(button, state)) {
        return false;
    }
    if (checked && IsAutoRadioButton(button)) {
        ClearOtherRadioButtonsOfGroup(dlg, button);
    }
    return Click(dlg, id, button);
}

bool IsChecked(HWND dlg, int id)
{
    HWND button = GetDlgItem(dlg, id);
    return button && CheckStateIs(button, BST_CHECKED);
}

int DefaultButton(HWND dlg)
{
    for (HWND child : detail::ChildWindows(dlg)) {
        if (lstrcmpiA(detail::ClassOf(child).c_str(), "Button") == 0
            && (GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return GetDlgCtrlID(child);
        }
    }
    return 0;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return detail::PollUntil(timeoutMs, done);
}

bool WaitFocus(HWND control, DWORD timeoutMs)
{
    return WaitUntil([&] { return FocusOf(control) == control; }, timeoutMs);
}

}  // namespace robot
