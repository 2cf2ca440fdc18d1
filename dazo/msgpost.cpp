// Messages between windows: sends that cannot hang on another thread, and
// message boxes asked for by posting.
#include "dazo/Wnd.h"

#include "base/errreport.h"
#include "base/msgbox.h"
#include "dazo/Data.h"
#include "dazo/servwnd.h"
#include "dazo/wndinternal.h"

LRESULT SendMessageSafe(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hwnd != HWND_BROADCAST && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
        return SendMessageA(hwnd, msg, wParam, lParam);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_BLOCK, 2147483647, &answer))
        return 0;
    return static_cast<LRESULT>(answer);
}

// A posted request: the texts are copied, so the poster's may go at once.
struct MsgBoxRequest {
    DataObjStr text;
    DataObjStr caption;
    UINT flags;
    void (*pfnAnswer)(int answer, void* context);
    void* context;
};

void PostMessageBox(HWND hwnd, const char* text, const char* caption, UINT flags,
                    void (*pfnAnswer)(int answer, void* context), void* context)
{
    if (!hwnd)
        hwnd = g_hwndService;
    DZ_ASSERT("dazo/Wnd", hwnd);
    auto* request = new MsgBoxRequest {text, caption ? caption : g_szAppTitle, flags, pfnAnswer, context};
    PostMessageA(hwnd, pfnAnswer ? WM_DZ_MSGBOXANSWER : WM_DZ_MSGBOX, 0, reinterpret_cast<LPARAM>(request));
}

// How long a request waits before it looks at the capture again. Posting it
// again at once would keep a posted message always waiting, and Windows
// hands out posted messages before mouse input: the button-up that ends the
// capture would never come.
static const UINT MSGBOX_RETRY_MS = 50;

static void CALLBACK RetryPostedBox(HWND hwnd, UINT, UINT_PTR id, DWORD);

LRESULT ShowPostedMessageBox(HWND hwnd, UINT msg, LPARAM lParam)
{
    auto* request = reinterpret_cast<MsgBoxRequest*>(lParam);
    if (GetCapture()) {
        // Keyed by the request: several may wait at once.
        SetTimer(hwnd, reinterpret_cast<UINT_PTR>(request), MSGBOX_RETRY_MS, RetryPostedBox);
        return 0;
    }
    int answer = ShowMessage(GetFirstVisibleMainWnd(), request->text, request->caption, request->flags);
    if (msg == WM_DZ_MSGBOXANSWER && request->pfnAnswer)
        request->pfnAnswer(answer, request->context);
    delete request;
    return 0;
}

static void CALLBACK RetryPostedBox(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    auto* request = reinterpret_cast<MsgBoxRequest*>(id);
    PostMessageA(hwnd, request->pfnAnswer ? WM_DZ_MSGBOXANSWER : WM_DZ_MSGBOX, 0, static_cast<LPARAM>(id));
}
