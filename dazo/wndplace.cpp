// Placing a window over another, and reading a window's text.
#include "dazo/Wnd.h"

void CenterWindow(HWND hwnd, HWND over)
{
    RECT work, base, rc;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (!over || !GetWindowRect(over, &base))
        base = work;
    GetWindowRect(hwnd, &rc);
    int cx = rc.right - rc.left;
    int cy = rc.bottom - rc.top;
    int x = base.left + (base.right - base.left - cx) / 2;
    int y = base.top + (base.bottom - base.top - cy) / 2;

    // A few pixels over the edge are let be: a frame's shadow is no reason
    // to move.
    const int SLACK = 4;
    if (x + cx > work.right + SLACK)
        x = work.right - cx;
    if (x < work.left - SLACK)
        x = work.left;
    if (y + cy > work.bottom + SLACK)
        y = work.bottom - cy;
    if (y < work.top - SLACK)
        y = work.top;
    if (y < base.top)
        y = base.top;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DataObjStr GetWndText(HWND hwnd)
{
    DataObjStr text;
    int len = GetWindowTextLengthA(hwnd);
    GetWindowTextA(hwnd, text.GetBuffer(len + 1), len + 1);
    return text;
}
