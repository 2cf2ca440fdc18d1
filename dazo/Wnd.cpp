// Wnd: the window table, attaching by subclassing, window creation with class
// registration, and the routing of the framework's own messages.
#include "dazo/Wnd.h"

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "dazo/wndinternal.h"

static const char s_szSrc[] = "dazo/Wnd";

UINT g_uMsgGetWndPtr;
UINT g_uMsgWheelRoll;

// The window table: a window's bucket is its handle value modulo 255; new
// objects go to the head of their bucket.
static const int WND_BUCKETS = 255;
static Wnd* g_aWndHash[WND_BUCKETS];

static Wnd** BucketOf(HWND hwnd)
{
    return &g_aWndHash[reinterpret_cast<UINT_PTR>(hwnd) % WND_BUCKETS];
}

Wnd* FindWnd(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    for (Wnd* w = *BucketOf(hwnd); w; w = w->m_pNextHash)
        if (w->m_hwnd == hwnd)
            return w;
    return nullptr;
}

static LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (Wnd* w = FindWnd(hwnd))
        return w->WndProc(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static void RegisterLibMessages()
{
    if (!g_uMsgGetWndPtr) {
        g_uMsgGetWndPtr = DzRegisterWindowMessageA("CORVA_GETWNDPTR");
        g_uMsgWheelRoll = DzRegisterWindowMessageA("MSWHEEL_ROLLMSG");
    }
}

Wnd::~Wnd()
{
    HWND hwnd = m_hwnd;
    Wnd::Detach();
    m_hwnd = nullptr;
    if (hwnd && IsWindow(hwnd))
        DestroyWindow(hwnd);
}

void Wnd::Attach()
{
    if (m_dwWndFlag & WND_ATTACHED)
        return;
    RegisterLibMessages();
    m_dwWndFlag |= WND_ATTACHED;
    m_pfnOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWndProc)));
    Wnd** bucket = BucketOf(m_hwnd);
    m_pNextHash = *bucket;
    *bucket = this;
    if (!(m_dwWndFlag & (WND_DEFALLMSG | WND_IDLEPENDING)))
        PostIdle();
}

void Wnd::Detach()
{
    if (!(m_dwWndFlag & WND_ATTACHED))
        return;
    SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
    for (Wnd** link = BucketOf(m_hwnd); *link; link = &(*link)->m_pNextHash) {
        if (*link == this) {
            *link = m_pNextHash;
            break;
        }
    }
    m_hwnd = nullptr;
    m_pNextHash = nullptr;
    m_pfnOldProc = nullptr;
    m_dwWndFlag &= ~WND_ATTACHED;
}

void Wnd::Subclass()
{
    m_dwWndFlag &= ~WND_NOATTACH;
    Attach();
}

void Wnd::TakeWindow(HWND hwnd)
{
    HWND previous = m_hwnd;
    Detach();
    if (previous && previous != hwnd && IsWindow(previous))
        DestroyWindow(previous);
    m_hwnd = hwnd;
    if (!(m_dwWndFlag & WND_NOATTACH))
        Subclass();
}

void Wnd::PostIdle()
{
    DZ_ASSERT(s_szSrc, !(m_dwWndFlag & WND_DEFALLMSG));
    if (!(m_dwWndFlag & WND_IDLEPENDING)) {
        m_dwWndFlag |= WND_IDLEPENDING;
        PostMessageA(m_hwnd, WM_DZ_IDLE, 0, 0);
    }
}

void Wnd::OnIdle()
{
    m_dwWndFlag &= ~WND_IDLEPENDING;
}

LRESULT Wnd::DefProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(m_pfnOldProc, m_hwnd, msg, wParam, lParam);
}

const char* Wnd::GetClassInfo(WNDCLASSA* wc)
{
    if (wc) {
        wc->hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        wc->hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc->hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    }
    return "Wnd";
}

int Wnd::OnContextMenu()
{
    Wnd* parent = FindWnd(GetParent(m_hwnd));
    return parent ? parent->OnContextMenu() : 0;
}

int Wnd::OnWheel(int)
{
    return 0;
}

int Wnd::IsActiveOk()
{
    return 1;
}

HWND Wnd::Create(DWORD exStyle, const char* windowName, DWORD style, int x, int y, int cx, int cy, HWND parent,
                 HMENU menu, HINSTANCE hInstance, void* param)
{
    const char* className = GetClassInfo(nullptr);
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(g_hInstance, className, &wc) && !::GetClassInfoA(nullptr, className, &wc)) {
        wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = g_hInstance;
        wc.lpszClassName = className;
        GetClassInfo(&wc);
        DzRegisterClassA(&wc);
    }
    HWND hwnd = DzCreateWindowExA(exStyle, className, windowName, style, x, y, cx, cy, parent, menu, hInstance, param);
    TakeWindow(hwnd);
    return hwnd;
}

// The wheel message of old mouse drivers goes to the focus window or the
// nearest enabled ancestor whose object takes it.
static LRESULT RouteWheelRoll(WPARAM wParam)
{
    for (HWND h = GetFocus(); h; h = GetParent(h)) {
        Wnd* w = IsWindowEnabled(h) ? FindWnd(h) : nullptr;
        if (w && w->OnWheel(static_cast<int>(wParam)))
            return 1;
    }
    return 0;
}

// The menu key asks for the context menu as a right click at the window's
// bottom centre would; the cursor is put there for the time of the request.
static int ContextMenuFromKey(Wnd* w)
{
    RECT rc;
    POINT saved;
    GetWindowRect(w->m_hwnd, &rc);
    GetCursorPos(&saved);
    SetCursorPos((rc.left + rc.right) / 2, rc.bottom);
    int handled = w->OnContextMenu();
    SetCursorPos(saved.x, saved.y);
    return handled;
}

LRESULT Wnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_uMsgGetWndPtr)
        return reinterpret_cast<LRESULT>(this);
    if (msg == WM_NCDESTROY) {
        HWND hwnd = m_hwnd;
        WNDPROC oldProc = m_pfnOldProc;
        OnRelease();
        Detach();
        delete this;
        return CallWindowProcA(oldProc, hwnd, msg, wParam, lParam);
    }
    if (m_dwWndFlag & WND_DEFALLMSG)
        return DefProc(msg, wParam, lParam);
    if (msg == g_uMsgWheelRoll)
        return RouteWheelRoll(wParam);

    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_APPS && ContextMenuFromKey(this))
            return 0;
        break;
    case WM_LBUTTONDBLCLK:
        return WndProc(WM_LBUTTONDOWN, wParam, lParam);
    case WM_RBUTTONDOWN:
        if (OnContextMenu())
            return 0;
        break;
    case WM_RBUTTONDBLCLK:
        return WndProc(WM_RBUTTONDOWN, wParam, lParam);
    case WM_MBUTTONDBLCLK:
        return WndProc(WM_MBUTTONDOWN, wParam, lParam);
    case WM_MOUSEWHEEL:
        if (OnWheel(static_cast<short>(HIWORD(wParam))))
            return 0;
        break;
    case WM_DZ_MSGBOX:
    case WM_DZ_MSGBOXANSWER:
        return ShowPostedMessageBox(m_hwnd, msg, lParam);
    case WM_DZ_TOPARENT:
        if (HWND parent = GetParent(m_hwnd))
            if (FindWnd(parent))
                return SendMessageA(parent, msg, wParam, lParam);
        break;
    case WM_DZ_SETCURSOR:
        SetCursor(reinterpret_cast<HCURSOR>(wParam));
        return 0;
    case WM_DZ_IDLE:
        OnIdle();
        return 0;
    }
    return DefProc(msg, wParam, lParam);
}

void EnableLibraryWindows(bool enable)
{
    for (Wnd* bucket : g_aWndHash) {
        for (Wnd* w = bucket; w; w = w->m_pNextHash) {
            HWND h = w->m_hwnd;
            if (enable && (w->m_dwWndFlag & WND_MSGBOXOFF)) {
                w->m_dwWndFlag &= ~WND_MSGBOXOFF;
                EnableWindow(h, TRUE);
            } else if (!enable && !(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && IsWindowEnabled(h)) {
                w->m_dwWndFlag |= WND_MSGBOXOFF;
                EnableWindow(h, FALSE);
            }
        }
    }
}
