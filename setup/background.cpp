#include "setup/background.h"

#include <cstring>

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "base/msgbox.h"
#include "res/resource.h"

const char* BackgroundWindow::GetClassInfo(WNDCLASSA* wc)
{
    Wnd::GetClassInfo(wc);
    // The gradient covers the whole client area: nothing to erase first.
    if (wc)
        wc->hbrBackground = nullptr;
    return "BackgroundWindow";
}

HWND BackgroundWindow::Create()
{
    Wnd::Create(0, "ヴェルンド！出納帳 Version 5.5(ゼノプ版) のセットアップ", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                nullptr, g_hInstance, nullptr);
    HICON icon = DzLoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_APP));
    SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return m_hwnd;
}

void RunOverBackground(int fAddRemove, const std::function<void(HWND background)>& body)
{
    auto* background = new BackgroundWindow;  // goes with its window
    background->m_fAddRemove = fAddRemove;
    HWND hwnd = background->Create();
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    {
        SafePtr<WorkWnd> work(new WorkWnd(hwnd));
        body(hwnd);
        ShowQueuedReports();
    }
    DestroyWindow(hwnd);
}

LRESULT BackgroundWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = DzBeginPaint(m_hwnd, &ps);
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        Paint(dc, rc);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_QUERYENDSESSION:
        // Ending the session in the middle of copying would leave a
        // half-installed program behind.
        ShowMessage(nullptr, "セットアップを終了してからウィンドウズを終了してください", nullptr,
                    MB_ICONHAND | MB_TASKMODAL);
        return 0;
    }
    return Wnd::WndProc(msg, wParam, lParam);
}

// Install: from pure blue to dark olive; uninstall: from dark red to dark blue.
static COLORREF BandColor(int i, bool fAddRemove)
{
    if (fAddRemove)
        return RGB((255 - i) / 2 + (255 - i) / 4, 0, i / 2);
    return RGB(i / 2, i / 2, 255 - i);
}

static HFONT CreateTitleFont(int height)
{
    return DzCreateFontA(-height, 0, 0, 0, FW_DONTCARE, TRUE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, "ＭＳ 明朝");
}

// White text with its black shadow down and to the right.
static void DrawShadowed(HDC dc, int x, int y, int unit, const char* text)
{
    int len = static_cast<int>(std::strlen(text));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, x, y, text, len);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, x - unit / 12, y - unit / 12, text, len);
}

static int LineHeight(HDC dc)
{
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

void BackgroundWindow::Paint(HDC dc, const RECT& rc)
{
    // 256 bands; in a client area under 256 pixels high some bands have no
    // row of their own and are skipped, so each row is painted once.
    for (int i = 0; i < 256; ++i) {
        RECT band = {rc.left, ((256 - i) * rc.top + i * rc.bottom) / 256, rc.right,
                     ((256 - (i + 1)) * rc.top + (i + 1) * rc.bottom) / 256};
        if (band.top < band.bottom) {
            HBRUSH brush = DzCreateSolidBrush(BandColor(i, m_fAddRemove));
            FillRect(dc, &band, brush);
            DeleteObject(brush);
        }
    }

    int unit = (rc.right - rc.left) / 10;
    HFONT large = CreateTitleFont(unit);
    HFONT small = CreateTitleFont(unit / 2);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_TOP);
    COLORREF oldColor = GetTextColor(dc);
    HGDIOBJ oldFont = SelectObject(dc, large);

    int y = (rc.bottom - rc.top) / 32;
    DrawShadowed(dc, (rc.left + rc.right) / 2, y, unit, "ヴェルンド！出納帳");
    y += LineHeight(dc);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    SelectObject(dc, small);
    DrawShadowed(dc, rc.right - unit / 4, y, unit, "Version 5 Zenop");
    if (m_fAddRemove) {
        y += LineHeight(dc);
        DrawShadowed(dc, rc.right - unit / 4, y, unit, "の設定/削除");
    }

    SetTextAlign(dc, oldAlign);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
    DeleteObject(large);
    DeleteObject(small);
}
