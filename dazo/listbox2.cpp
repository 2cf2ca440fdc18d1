// ListBox2: rows drawn off-screen, selection, scrolling, keyboard and mouse.
#include "dazo/listbox2.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

#include "base/errreport.h"
#include "base/gdiwrap.h"

// The border that shows the keyboard focus.
static const int LB2_BORDER = 2;
static const int LB2_ICON = 16;

const char* ListBox2::GetClassInfo(WNDCLASSA* wc)
{
    Wnd::GetClassInfo(wc);
    // Every pixel is painted by WM_PAINT: nothing to erase first.
    if (wc)
        wc->hbrBackground = nullptr;
    return "ListBox2";
}

HWND ListBox2::Create(DWORD exStyle, DWORD style, const RECT& rc, HWND parent, int id, HFONT font, int options,
                      HWND notify)
{
    m_hFont = font;
    m_fOptions = options;
    m_hwndNotify = notify;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    m_cxChar = tm.tmAveCharWidth;
    m_cyText = tm.tmHeight;
    m_cyRow = std::max(LB2_ICON, m_cyText);
    m_cxRow = LB2_ICON + 80 * m_cxChar;
    Wnd::Create(exStyle, "", style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_hInstance, nullptr);
    UpdateScrollBars();
    return m_hwnd;
}

RECT ListBox2::Inner() const
{
    RECT rc;
    GetClientRect(m_hwnd, &rc);
    InflateRect(&rc, -LB2_BORDER, -LB2_BORDER);
    return rc;
}

int ListBox2::VisibleRows() const
{
    RECT inner = Inner();
    return std::max(1, static_cast<int>(inner.bottom - inner.top) / m_cyRow);
}

RECT ListBox2::GetRowRect(int row) const
{
    RECT inner = Inner();
    int top = inner.top + (row - m_nTop) * m_cyRow;
    return {inner.left, top, inner.right, top + m_cyRow};
}

int ListBox2::RowAt(int y) const
{
    RECT inner = Inner();
    if (y < inner.top || y >= inner.bottom)
        return -1;
    int row = m_nTop + (y - inner.top) / m_cyRow;
    return row < m_nRows ? row : -1;
}

void ListBox2::InvalidateRow(int row)
{
    RECT rc = GetRowRect(row);
    InvalidateRect(m_hwnd, &rc, FALSE);
}

void ListBox2::Paint(HDC dc)
{
    RECT client, inner = Inner();
    GetClientRect(m_hwnd, &client);
    HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
    HBRUSH border = GetSysColorBrush(GetFocus() == m_hwnd ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const RECT strips[4] = {{client.left, client.top, client.right, inner.top},
                            {client.left, inner.bottom, client.right, client.bottom},
                            {client.left, inner.top, inner.left, inner.bottom},
                            {inner.right, inner.top, client.right, inner.bottom}};
    for (const RECT& strip : strips)
        FillRect(dc, &strip, border);
    if (inner.right <= inner.left || inner.bottom <= inner.top)
        return;

    HDC mem = DzCreateCompatibleDC(dc);
    HBITMAP bitmap = DzCreateCompatibleBitmap(dc, m_cxRow, m_cyRow);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    HGDIOBJ oldFont = SelectObject(mem, m_hFont);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    for (int row = m_nTop, y = inner.top; y < inner.bottom; ++row, y += m_cyRow) {
        RECT line = {inner.left, y, inner.right, y + m_cyRow};
        if (row >= m_nRows) {
            FillRect(dc, &line, window);
            continue;
        }
        RECT cell = {0, 0, m_cxRow, m_cyRow};
        FillRect(mem, &cell, window);
        DrawRow(mem, row, cell);
        int x = inner.left - m_xScroll;
        BitBlt(dc, x, y, m_cxRow, m_cyRow, mem, 0, 0, SRCCOPY);
        RECT beyond = {x + m_cxRow, y, inner.right, y + m_cyRow};
        if (beyond.left < beyond.right)
            FillRect(dc, &beyond, window);
        if (row == m_nSel)
            InvertRect(dc, &line);
    }
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

void ListBox2::UpdateScrollBars()
{
    RECT inner = Inner();
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_nRows - 1,
                     static_cast<UINT>(VisibleRows()), m_nTop, 0};
    SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
    si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_cxRow - 1,
          static_cast<UINT>(std::max(0, static_cast<int>(inner.right - inner.left))), m_xScroll, 0};
    SetScrollInfo(m_hwnd, SB_HORZ, &si, TRUE);
}

void ListBox2::ScrollTo(int top, int x)
{
    RECT inner = Inner();
    top = std::max(0, std::min(top, m_nRows - VisibleRows()));
    x = std::max(0, std::min(x, m_cxRow - static_cast<int>(inner.right - inner.left)));
    if (top == m_nTop && x == m_xScroll)
        return;
    m_nTop = top;
    m_xScroll = x;
    UpdateScrollBars();
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void ListBox2::SetRows(int count, int selected)
{
    ++m_nListing;
    m_nRows = count;
    m_nSel = (m_fOptions & LB2_NOSELECT) ? -1 : selected;
    m_nTop = 0;
    m_xScroll = 0;
    UpdateScrollBars();
    if (m_nSel >= VisibleRows())
        ScrollTo(m_nSel - VisibleRows() / 2, 0);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

// Selects row, brings it into view and tells the notify window.
void ListBox2::MoveSel(int row)
{
    if (m_nRows == 0)
        return;
    row = std::max(0, std::min(row, m_nRows - 1));
    if (row == m_nSel)
        return;
    if (m_nSel >= 0)
        InvalidateRow(m_nSel);
    m_nSel = row;
    InvalidateRow(row);
    if (row < m_nTop)
        ScrollTo(row, m_xScroll);
    else if (row >= m_nTop + VisibleRows())
        ScrollTo(row - VisibleRows() + 1, m_xScroll);
    Notify(LB2N_SELCHANGE);
}

void ListBox2::Notify(WORD code)
{
    if (m_hwndNotify)
        SendMessageA(m_hwndNotify, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code),
                     reinterpret_cast<LPARAM>(m_hwnd));
}

bool ListBox2::OnKey(WPARAM key)
{
    RECT inner = Inner();
    int quarter = std::max(1, static_cast<int>(inner.right - inner.left) / 4);
    int halfPage = std::max(1, VisibleRows() / 2);
    int step = 0;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        ScrollTo(m_nTop, m_xScroll + (key == VK_LEFT ? -quarter : quarter));
        return true;
    case VK_SPACE:
        Notify(LB2N_OPEN);
        return true;
    case VK_UP:
        step = -1;
        break;
    case VK_DOWN:
        step = 1;
        break;
    case VK_PRIOR:
        step = -halfPage;
        break;
    case VK_NEXT:
        step = halfPage;
        break;
    case VK_HOME:
        step = -m_nRows;
        break;
    case VK_END:
        step = m_nRows;
        break;
    default:
        return false;
    }
    if (m_fOptions & LB2_NOSELECT)
        ScrollTo(m_nTop + step, m_xScroll);
    else
        MoveSel(m_nSel + step);
    return true;
}

void ListBox2::OnPress(LPARAM lParam, bool secondOfDoubleClick)
{
    SetFocus(m_hwnd);
    if (secondOfDoubleClick && m_nPressListing != m_nListing)
        return;
    m_fPressed = true;
    m_nPressListing = m_nListing;
    SetCapture(m_hwnd);
    int row = RowAt(GET_Y_LPARAM(lParam));
    if (row < 0 || (m_fOptions & LB2_NOSELECT))
        return;
    if (row != m_nSel) {
        MoveSel(row);
        if (!secondOfDoubleClick) {
            Notify(LB2N_CLICK);
            return;
        }
    }
    Notify(LB2N_OPEN);
}

void ListBox2::OnRelease(LPARAM lParam)
{
    if (!m_fPressed)
        return;
    m_fPressed = false;
    ReleaseCapture();
    int x = GET_X_LPARAM(lParam);
    RECT inner = Inner();
    if (x >= inner.left && x < inner.right && RowAt(GET_Y_LPARAM(lParam)) >= 0)
        Notify(LB2N_CLICKUP);
}

int ListBox2::ScrollTarget(int bar, WPARAM request, int pos, int line, int page)
{
    switch (LOWORD(request)) {
    case SB_LINEUP:
        return pos - line;
    case SB_LINEDOWN:
        return pos + line;
    case SB_PAGEUP:
        return pos - page;
    case SB_PAGEDOWN:
        return pos + page;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return INT_MAX / 2;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(m_hwnd, bar, &si);
        return si.nTrackPos;
    }
    }
    return pos;
}

int ListBox2::OnWheel(int delta)
{
    ScrollTo(m_nTop - delta * 3 / WHEEL_DELTA, m_xScroll);
    return 1;
}

LRESULT ListBox2::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = DzBeginPaint(m_hwnd, &ps);
        Paint(dc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_SIZE:
        UpdateScrollBars();
        ScrollTo(m_nTop, m_xScroll);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        if (OnKey(wParam))
            return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(lParam, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_LBUTTONUP:
        OnRelease(lParam);
        return 0;
    case WM_CAPTURECHANGED:
        m_fPressed = false;
        return 0;
    case WM_VSCROLL:
        ScrollTo(ScrollTarget(SB_VERT, wParam, m_nTop, 1, VisibleRows()), m_xScroll);
        return 0;
    case WM_HSCROLL: {
        RECT inner = Inner();
        ScrollTo(m_nTop, ScrollTarget(SB_HORZ, wParam, m_xScroll, m_cxChar, inner.right - inner.left));
        return 0;
    }
    }
    return Wnd::WndProc(msg, wParam, lParam);
}
