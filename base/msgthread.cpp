// The message-box thread: a hidden top-most window with its own message loop
// that shows message boxes on behalf of the main thread. The main thread
// posts one request at a time and blocks on an auto-reset event until the
// answer is stored, so no modal loop ever runs inside another on the main
// thread.
#include "base/errreport.h"
#include "base/msgbox.h"

static const char s_szClass[] = "ThreadMsgBox";
static const DWORD START_STOP_TIMEOUT = 60000;

static HANDLE s_hThread;
static DWORD s_idThread;
static HWND s_hwnd;
static HANDLE s_hEvent;

// The pending request; valid while the caller waits for the event.
static const char* s_pszText;
static const char* s_pszCaption;
static UINT s_uFlags;
static int s_nResult;

static void ShowRequest()
{
    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(s_hwnd, nullptr, cx / 2, cy / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(s_hwnd, s_pszCaption);
    ShowWindow(s_hwnd, SW_SHOW);
    UpdateWindow(s_hwnd);
    s_nResult = MessageBoxA(s_hwnd, s_pszText, s_pszCaption, s_uFlags);
    ShowWindow(s_hwnd, SW_HIDE);
    SetEvent(s_hEvent);
}

static DWORD WINAPI ThreadMain(void*)
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.cbWndExtra = 4;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = s_szClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return 1;

    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, s_szClass, s_szClass, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 1;
    s_hwnd = hwnd;
    SetEvent(s_hEvent);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == WM_USER) {
            ShowRequest();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyWindow(hwnd);
    return 0;
}

BOOL ThreadMsgBoxStart()
{
    s_hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!s_hEvent)
        return FALSE;
    s_hThread = CreateThread(nullptr, 0, ThreadMain, nullptr, 0, &s_idThread);
    if (!s_hThread) {
        CloseHandle(s_hEvent);
        s_hEvent = nullptr;
        return FALSE;
    }
    // Waits for the window, or for the thread's end when it could not make
    // one (instead of sitting out the whole time-out).
    HANDLE waits[2] = {s_hEvent, s_hThread};
    WaitForMultipleObjects(2, waits, FALSE, START_STOP_TIMEOUT);
    if (!s_hwnd) {
        ThreadMsgBoxStop();
        return FALSE;
    }
    return TRUE;
}

void ThreadMsgBoxStop()
{
    if (s_hThread) {
        PostThreadMessageA(s_idThread, WM_QUIT, 0, 0);
        WaitForSingleObject(s_hThread, START_STOP_TIMEOUT);
        CloseHandle(s_hThread);
    }
    if (s_hEvent)
        CloseHandle(s_hEvent);
    s_hThread = nullptr;
    s_idThread = 0;
    s_hwnd = nullptr;
    s_hEvent = nullptr;
}

int ThreadMsgBoxShow(const char* text, const char* caption, UINT flags)
{
    if (!s_hwnd)
        return MessageBoxA(nullptr, text, caption, flags);
    s_pszText = text;
    s_pszCaption = caption;
    s_uFlags = flags;
    s_nResult = IDCANCEL;
    if (!PostThreadMessageA(s_idThread, WM_USER, 0, 0))
        FatalAppExitA(0, "ポストメッセージに失敗しました");
    WaitForSingleObject(s_hEvent, INFINITE);
    return s_nResult;
}

HWND ThreadMsgBoxWindow()
{
    return s_hwnd;
}
