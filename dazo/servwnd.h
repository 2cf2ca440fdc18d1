// The service window: one hidden window per process for process-wide duties.
// It passes on the system's notifications as event lists, keeps the
// clipboard viewer chain when asked, shows the errors queued by the message
// functions, and runs functions posted to it from elsewhere.
#pragma once

#include <windows.h>

#include "dazo/Wnd.h"

class ServiceWnd : public Wnd {
public:
    ~ServiceWnd() override;
    void OnIdle() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    const char* GetClassInfo(WNDCLASSA* wc) override;
    void Attach() override;
    void Detach() override;

    // Joins the clipboard viewer chain (once); m_evClipboard then fires on
    // every change of the clipboard.
    void JoinClipboardChain();

    Event2 m_evSysColor;   // WM_SYSCOLORCHANGE
    Event2 m_evWinIni;     // WM_WININICHANGE, with its wParam
    Event2 m_evDevMode;    // WM_DEVMODECHANGE, with its wParam
    Event2 m_evClipboard;  // WM_DRAWCLIPBOARD

private:
    bool m_fInClipboardChain = false;
    HWND m_hwndNextViewer = nullptr;
};

extern ServiceWnd* g_pServiceWnd;
extern HWND g_hwndService;

// Creation with a use count: the first call creates the window (hidden
// WS_POPUP at 0,0, 100x100, titled with the program's title), the last
// release destroys it.
ServiceWnd* AcquireServiceWnd();
void ReleaseServiceWnd();

// Runs function(argument) later, on the service window's thread.
void PostToService(void (*function)(LPARAM argument), LPARAM argument);

// The error hooks of the message functions: reported errors wait in a queue
// and are shown before the next message box, at the service window's idle
// step, when the service window goes and before a fatal exit.
void InstallErrorHooks();
void RemoveErrorHooks();
// Shows the queued errors, oldest first, each in its own box; from the
// thread path (or while a box is open) through the message-box thread.
void FlushErrorQueue(int fromThreadPath);
bool HasQueuedErrors();
