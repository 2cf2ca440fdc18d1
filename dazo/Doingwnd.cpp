// DoingWnd: creation, progress, the stop request and the end of the window.
#include "dazo/Doingwnd.h"

#include <cstdint>

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "base/text.h"

static const char s_szSrc[] = "dazo/Doingwnd";

DoingWnd::~DoingWnd()
{
    // Deleted with its window still there: the work-window role and the
    // disabled owner do not outlive the object.
    m_pWorkWnd = SafePtr<WorkWnd>();
    EnableOwner();
}

const char* DoingWnd::GetClassInfo(WNDCLASSA* wc)
{
    Wnd::GetClassInfo(wc);
    if (wc)
        wc->hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return "DoingWnd";
}

void DoingWnd::Attach()
{
    Wnd::Attach();
    m_pWorkWnd = SafePtr<WorkWnd>(new WorkWnd(m_hwnd));
}

void DoingWnd::Detach()
{
    m_pWorkWnd = SafePtr<WorkWnd>();
    Wnd::Detach();
}

// The top-level window of the owner: a child window cannot be disabled
// alone without leaving its top-level window usable.
static HWND TopLevelOwner(HWND owner)
{
    while (owner && (GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD))
        owner = GetParent(owner);
    return owner;
}

HWND DoingWnd::Create(const char* title, int x, int y, int cxText, int cyText, HWND owner, int style)
{
    m_fStyle = style;
    bool fTitle = title && !IsBlankText(title);
    SIZE size = DoingWindowSize(cxText, cyText, style, fTitle, g_nAveCharWidth, g_nCharHeight);
    if (x == -1 || y == -1) {
        RECT area;
        if (owner)
            GetWindowRect(owner, &area);
        else
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (x == -1)
            x = area.left + (area.right - area.left - size.cx) / 2;
        if (y == -1)
            y = area.top + (area.bottom - area.top - size.cy) / 2;
    }
    DWORD wndStyle = WS_POPUP | (fTitle ? WS_CAPTION : 0) | (style & DWS_STOP ? WS_SYSMENU : 0);
    DWORD exStyle = WS_EX_DLGMODALFRAME | (style & DWS_TOPMOST ? WS_EX_TOPMOST : 0);
    Wnd::Create(exStyle, fTitle ? title : "", wndStyle, x, y, size.cx, size.cy, owner, nullptr, g_hInstance,
                nullptr);

    m_nMin = m_nPos = m_cSec = 0;
    m_nMax = 100;
    Layout();
    ComputeGauge();
    HWND top = TopLevelOwner(owner);
    if ((style & DWS_DISABLEOWNER) && top && IsWindowEnabled(top)) {
        EnableWindow(top, FALSE);
        m_hwndDisabled = top;
    }
    if (style & DWS_SHOW) {
        ShowWindow(m_hwnd, SW_SHOW);
        UpdateWindow(m_hwnd);
    }
    return m_hwnd;
}

void DoingWnd::Layout()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    DoingLayout(client, m_fStyle, g_nAveCharWidth, g_nCharHeight, &m_rcStop, &m_rcGauge, &m_rcText);
}

bool DoingWnd::ComputeGauge()
{
    int percent = m_nPercent, fill = m_cxFill;
    DoingGauge(m_nMin, m_nMax, m_nPos, m_rcGauge.right - m_rcGauge.left, &m_nPercent, &m_cxFill);
    return percent != m_nPercent || fill != m_cxFill;
}

// The text is drawn at once through the window's DC rather than left to a
// paint message: a busy program under Wine spends several times as long on
// the paint message's round of update-region requests as on drawing, and the
// copy engine changes the text for every file. A hidden window is painted
// when it is shown; a part invalid for another reason is painted again, with
// the same text, by the next paint message.
void DoingWnd::SetText(const char* text)
{
    m_strText = text;
    if (!IsWindowVisible(m_hwnd)) {
        InvalidateRect(m_hwnd, &m_rcText, FALSE);
        return;
    }
    HDC dc = GetDC(m_hwnd);
    int saved = SaveDC(dc);
    PaintText(dc);
    RestoreDC(dc, saved);
    ReleaseDC(m_hwnd, dc);
}

void DoingWnd::SetRange(int min, int max)
{
    if (int64_t(max) - min < 1)
        max = min + 1;
    m_nMin = m_nPos = min;
    m_nMax = max;
    ComputeGauge();
    InvalidateRect(m_hwnd, &m_rcGauge, FALSE);
}

void DoingWnd::SetPosition(int pos)
{
    m_nPos = pos < m_nMin ? m_nMin : pos > m_nMax ? m_nMax : pos;
    if (ComputeGauge())
        InvalidateRect(m_hwnd, &m_rcGauge, FALSE);
}

void DoingWnd::StepIt()
{
    SetPosition(m_nPos < m_nMax ? m_nPos + 1 : m_nMax);
}

void DoingWnd::MoveBySections()
{
    SetPosition(DoingSectionPosition(m_nMin, m_nMax, m_aSec, m_cSec));
}

// The assertions name the lines the program's support staff know them by.
void DoingWnd::BeginSec(int start, int end)
{
    if (!(m_cSec < IW_MAXSEC))
        AssertFail(s_szSrc, 400, "m_cSec<IW_MAXSEC");
    m_aSec[m_cSec++] = {start, start < end ? end : start + 1, start};
    MoveBySections();
}

void DoingWnd::SetSecPos(int pos)
{
    if (!(m_cSec > 0))
        AssertFail(s_szSrc, 413, "m_cSec>0");
    DoingSection& sec = m_aSec[m_cSec - 1];
    sec.pos = pos < sec.start ? sec.start : pos > sec.end ? sec.end : pos;
    MoveBySections();
}

void DoingWnd::StepSec()
{
    if (!(m_cSec > 0))
        AssertFail(s_szSrc, 425, "m_cSec>0");
    SetSecPos(m_aSec[m_cSec - 1].pos + 1);
}

void DoingWnd::EndSec()
{
    if (!(m_cSec > 0))
        AssertFail(s_szSrc, 432, "m_cSec>0");
    --m_cSec;
}

int DoingWnd::CheckCancel()
{
    UpdateWindow(m_hwnd);
    // A bounded number, so that a stream of messages cannot starve the work.
    MSG msg;
    for (int i = 0; i < 10 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return m_fCancel ? 0 : 1;
}

void DoingWnd::EnableOwner()
{
    if (m_hwndDisabled) {
        EnableWindow(m_hwndDisabled, TRUE);
        m_hwndDisabled = nullptr;
    }
}

void DoingWnd::Close()
{
    EnableOwner();
    DestroyWindow(m_hwnd);
}

LRESULT DoingWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = DzBeginPaint(m_hwnd, &ps);
        Paint(dc, ps.rcPaint);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_SIZE:
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)
            Layout();
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(pt);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(pt, wParam);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WM_CANCELMODE:
        OnCancelMode();
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            m_fCancel = 1;
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            m_fCancel = 1;
            return 0;
        }
        break;
    case WM_CLOSE:
        // The close box and Alt+F4 ask to stop; the caller decides.
        m_fCancel = 1;
        return 0;
    case WM_DESTROY:
        EnableOwner();
        break;
    }
    return Wnd::WndProc(msg, wParam, lParam);
}

void DoingWnd::InvalidateStop()
{
    InvalidateRect(m_hwnd, &m_rcStop, FALSE);
}

void DoingWnd::OnLButtonDown(POINT pt)
{
    if ((m_fStyle & DWS_STOP) && PtInRect(&m_rcStop, pt)) {
        m_fPressed = 1;
        InvalidateStop();
        SetCapture(m_hwnd);
    }
}

void DoingWnd::OnMouseMove(POINT pt, WPARAM keys)
{
    if (GetCapture() != m_hwnd || !(keys & MK_LBUTTON))
        return;
    int inside = PtInRect(&m_rcStop, pt) ? 1 : 0;
    if (inside != m_fPressed) {
        m_fPressed = inside;
        InvalidateStop();
    }
}

void DoingWnd::OnLButtonUp()
{
    if (m_fPressed) {
        m_fPressed = 0;
        InvalidateStop();
        SendMessageA(m_hwnd, WM_CANCELMODE, 0, 0);
        m_fCancel = 1;
    } else if (GetCapture() == m_hwnd) {
        // Released off the button: the press is over, and the capture must
        // go with it, or the program's other windows get no clicks.
        ReleaseCapture();
    }
}

void DoingWnd::OnCancelMode()
{
    if (GetCapture() == m_hwnd)
        ReleaseCapture();
    if (m_fPressed) {
        m_fPressed = 0;
        InvalidateStop();
    }
}
