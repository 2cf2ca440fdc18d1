#include "dazo/servwnd.h"

#include "base/errreport.h"
#include "base/msgbox.h"

static const char s_szSrc[] = "dazo/servwnd";

ServiceWnd* g_pServiceWnd;
HWND g_hwndService;
static int s_cServiceUse;

ServiceWnd::~ServiceWnd()
{
    Detach();
    if (g_pServiceWnd == this)
        g_pServiceWnd = nullptr;
}

void ServiceWnd::Attach()
{
    Wnd::Attach();
    g_hwndService = m_hwnd;
}

void ServiceWnd::Detach()
{
    if ((m_dwWndFlag & WND_ATTACHED) && g_hwndService == m_hwnd)
        g_hwndService = nullptr;
    Wnd::Detach();
}

const char* ServiceWnd::GetClassInfo(WNDCLASSA* wc)
{
    Wnd::GetClassInfo(wc);
    return "DzServiceWnd";
}

void ServiceWnd::OnIdle()
{
    Wnd::OnIdle();
    if (HasQueuedErrors())
        FlushErrorQueue(0);
}

void ServiceWnd::JoinClipboardChain()
{
    if (!m_fInClipboardChain) {
        m_fInClipboardChain = true;
        m_hwndNextViewer = SetClipboardViewer(m_hwnd);
    }
}

LRESULT ServiceWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DESTROY:
        RemoveErrorHooks();
        FlushErrorQueue(1);
        if (m_fInClipboardChain)
            ChangeClipboardChain(m_hwnd, m_hwndNextViewer);
        break;
    case WM_SYSCOLORCHANGE:
        m_evSysColor.Fire(this, 0);
        break;
    case WM_WININICHANGE:
        m_evWinIni.Fire(this, wParam);
        break;
    case WM_DEVMODECHANGE:
        m_evDevMode.Fire(this, wParam);
        break;
    case WM_DRAWCLIPBOARD:
        m_evClipboard.Fire(this, 0);
        if (m_hwndNextViewer)
            SendMessageA(m_hwndNextViewer, msg, wParam, lParam);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wParam) == m_hwndNextViewer)
            m_hwndNextViewer = reinterpret_cast<HWND>(lParam);
        else if (m_hwndNextViewer)
            SendMessageA(m_hwndNextViewer, msg, wParam, lParam);
        return 0;
    case WM_DZ_CALL:
        reinterpret_cast<void (*)(LPARAM)>(wParam)(lParam);
        return 0;
    }
    return Wnd::WndProc(msg, wParam, lParam);
}

ServiceWnd* AcquireServiceWnd()
{
    if (s_cServiceUse++ == 0) {
        g_pServiceWnd = new ServiceWnd;
        g_pServiceWnd->Create(0, g_szAppTitle, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, g_hInstance, nullptr);
    }
    return g_pServiceWnd;
}

void ReleaseServiceWnd()
{
    if (s_cServiceUse > 0 && --s_cServiceUse == 0 && g_pServiceWnd)
        DestroyWindow(g_pServiceWnd->HWnd());
}

void PostToService(void (*function)(LPARAM argument), LPARAM argument)
{
    DZ_ASSERT(s_szSrc, g_pServiceWnd);
    DZ_ASSERT(s_szSrc, g_pServiceWnd->HWnd());
    PostMessageA(g_hwndService, WM_DZ_CALL, reinterpret_cast<WPARAM>(function), argument);
}
