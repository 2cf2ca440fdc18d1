#include "window_lib.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/errreport.h"
#include "dazo/libstart.h"
#include "error_report_env.h"

namespace {

class WindowLibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(1, InitErrorReport(GetModuleHandleA(nullptr), kTestTitle));
        std::atexit(FinErrorReport);
        LibInitOptions();
        LibInitColors();
        LibInitStockFonts();
        LibInitHintWindow();
        LibInstallErrorHooks();
    }
};

const ::testing::Environment* const s_environment =
    ::testing::AddGlobalTestEnvironment(new WindowLibraryEnvironment);

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

ProbeWnd::ProbeWnd(DWORD flags, bool* deleted) : m_pDeleted(deleted)
{
    m_dwWndFlag = flags;
}

ProbeWnd::~ProbeWnd()
{
    if (m_pDeleted)
        *m_pDeleted = true;
}

LRESULT ProbeWnd::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_USER + 1)
        ++m_cCounted;
    if (msg == WM_LBUTTONDOWN)
        ++m_cClicks;
    return Wnd::WndProc(msg, wParam, lParam);
}

HWND ProbeWnd::Make(int cx, int cy)
{
    return Create(0, "probe", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr, g_hInstance, nullptr);
}

std::vector<DWORD> ClientPixels(HWND window, int* width, int* height)
{
    RECT rc;
    GetClientRect(window, &rc);
    *width = rc.right;
    *height = rc.bottom;
    std::vector<DWORD> pixels(rc.right * rc.bottom);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rc.right, rc.bottom, screen, 0, 0, SRCCOPY);
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = p[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}
