#include "base/msgbox.h"

#include "base/errreport.h"

char g_szAppTitle[81];
DWORD g_fInMsgBox;
void (*g_pfnBeforeMsgBox)(int fromThreadPath);

void ShowQueuedReports()
{
    if (g_pfnBeforeMsgBox)
        g_pfnBeforeMsgBox(0);
}

static const char s_szBoxFailed[] = "メモリが足りません.メッセージボックスのエラーです.";

// The top-level window of a child control: a box owned by a control would
// leave the control's dialog enabled behind it.
static HWND TopLevelOf(HWND hwnd)
{
    while (hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(hwnd);
        if (!parent)
            break;
        hwnd = parent;
    }
    return hwnd;
}

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    if (!caption)
        caption = g_szAppTitle;

    // A box asked for while one is open here would nest a second modal loop
    // inside the first; the message-box thread shows it instead.
    if ((flags & MB_SYSTEMMODAL) || (g_fInMsgBox & 1)) {
        if (g_pfnBeforeMsgBox)
            g_pfnBeforeMsgBox(1);
        int result = ThreadMsgBoxShow(text, caption, flags);
        if (result == 0)
            FatalExit(s_szBoxFailed);
        return result;
    }

    ShowQueuedReports();
    if (flags & MB_TASKMODAL)
        owner = nullptr;
    owner = TopLevelOf(owner);
    if (owner && !IsWindowVisible(owner))
        owner = nullptr;
    // Without an owner the box must still come to the front and keep the
    // whole program waiting.
    if (!owner)
        flags = (flags & ~MB_SYSTEMMODAL) | MB_TASKMODAL | MB_TOPMOST;

    g_fInMsgBox |= 1;
    if (owner && IsIconic(owner))
        ShowWindow(owner, SW_RESTORE);
    int result = MessageBoxA(owner, text, caption, flags);
    g_fInMsgBox &= ~1u;

    if (result == 0)
        FatalExit(s_szBoxFailed);
    return result;
}
