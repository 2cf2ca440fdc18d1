// The window suites start the library as SETUP.EXE does (window_lib.cpp):
// the message functions, then the library's start-up steps, whose clean-ups
// run at exit. What every window suite includes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "base/errreport.h"
#include "dazo/Doingwnd.h"
#include "dazo/Wnd.h"
#include "error_report_env.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"
#include "testkit/screen_input.h"

// A popup window that counts the WM_USER + 1 it gets and tells when its
// object is deleted.
class ProbeWnd : public Wnd {
public:
    explicit ProbeWnd(DWORD flags = 0, bool* deleted = nullptr) : m_pDeleted(deleted) { m_dwWndFlag = flags; }
    ~ProbeWnd() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        m_cCounted += msg == WM_USER + 1;
        return Wnd::WndProc(msg, wParam, lParam);
    }
    // A visible popup of cx by cy at 0,0.
    HWND Make(int cx = 40, int cy = 40)
    {
        return Create(0, "probe", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr, g_hInstance, nullptr);
    }

    int m_cCounted = 0;

private:
    bool* m_pDeleted;
};

// A progress window with a text area 30 characters wide, centred.
DoingWnd* MakeDoing(int style, HWND owner = nullptr, const char* title = "進行");
