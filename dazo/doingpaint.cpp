// DoingWnd's painting: the stop button, the text and the gauge. The 3D
// frames are the system's edges, two pixels on each side: four in all.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Doingwnd.h"

int DoingRowLength(HDC dc, const char* text, int cxRow)
{
    int n = 0;
    while (text[n] && text[n] != '\r' && text[n] != '\n') {
        int len = SjisCharLen(text + n);
        SIZE size;
        GetTextExtentPoint32A(dc, text, n + len, &size);
        if (size.cx > cxRow && n > 0)
            break;
        n += len;
    }
    return n;
}

// A part that the invalid rectangle misses is left alone: a press of the
// stop button repaints the button, not the text and the gauge.
void DoingWnd::Paint(HDC dc, const RECT& invalid)
{
    RECT common;
    int saved = SaveDC(dc);
    if ((m_fStyle & DWS_STOP) && IntersectRect(&common, &m_rcStop, &invalid))
        PaintStop(dc);
    if (IntersectRect(&common, &m_rcText, &invalid))
        PaintText(dc);
    if (!(m_fStyle & DWS_NOGAUGE) && IntersectRect(&common, &m_rcGauge, &invalid))
        PaintGauge(dc);
    RestoreDC(dc, saved);
}

void DoingWnd::PaintStop(HDC dc)
{
    RECT rc = m_rcStop;
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &rc, m_fPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, "中止", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DoingWnd::PaintText(HDC dc)
{
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const RECT& area = m_rcText;
    const char* text = m_strText;
    if (!(m_fStyle & DWS_MULTILINE)) {
        bool centre = m_fStyle & DWS_CENTER;
        SetTextAlign(dc, (centre ? TA_CENTER : TA_LEFT) | TA_TOP);
        int x = centre ? (area.left + area.right) / 2 : area.left;
        ExtTextOutA(dc, x, area.top, ETO_CLIPPED | ETO_OPAQUE, &area, text, std::strlen(text), nullptr);
        return;
    }
    // Rows of one character height; those after the text's end are blank.
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (int y = area.top; y < area.bottom; y += g_nCharHeight) {
        RECT row = {area.left, y, area.right, std::min<int>(y + g_nCharHeight, area.bottom)};
        int n = DoingRowLength(dc, text, area.right - area.left);
        ExtTextOutA(dc, area.left, y, ETO_CLIPPED | ETO_OPAQUE, &row, text, n, nullptr);
        text += n;
        if (*text == '\r')
            ++text;
        if (*text == '\n')
            ++text;
    }
}

// The percentage twice, each clipped to its part of the bar, so that the
// number turns inverse exactly where the fill has reached.
void DoingWnd::PaintGauge(HDC dc)
{
    RECT rc = m_rcGauge;
    DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
    RECT inner = {rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
    RECT filled = {inner.left, inner.top, inner.left + m_cxFill, inner.bottom};
    RECT rest = {filled.right, inner.top, inner.right, inner.bottom};
    char percent[16];
    int len = std::snprintf(percent, sizeof(percent), "%d%%", m_nPercent);
    int x = (inner.left + inner.right) / 2;
    int y = (rc.top + rc.bottom - g_nCharHeight) / 2;
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    ExtTextOutA(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rest, percent, len, nullptr);
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    ExtTextOutA(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &filled, percent, len, nullptr);
}
