// The program's main windows (the work-window list) and the windows disabled
// for a while.
#include "dazo/Wnd.h"

#include "base/errreport.h"

static WorkWnd* s_pWorkHead;

WorkWnd::WorkWnd(HWND hwnd) : m_hwnd(hwnd), m_pNext(s_pWorkHead)
{
    s_pWorkHead = this;
}

WorkWnd::~WorkWnd()
{
    WorkWnd** link = &s_pWorkHead;
    while (*link && *link != this)
        link = &(*link)->m_pNext;
    DZ_ASSERT("dazo/Func", *link == this);
    *link = m_pNext;
}

HWND GetFirstVisibleMainWnd()
{
    for (WorkWnd* w = s_pWorkHead; w; w = w->m_pNext)
        if (IsWindowVisible(w->m_hwnd))
            return w->m_hwnd;
    return nullptr;
}

DisableWnd::DisableWnd(HWND hwnd) : m_hwnd(hwnd)
{
    EnableWindow(hwnd, FALSE);
}

DisableWnd::~DisableWnd()
{
    EnableWindow(m_hwnd, TRUE);
    SetActiveWindow(m_hwnd);
}
