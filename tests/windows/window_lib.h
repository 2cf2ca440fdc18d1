// The window suites start the library as SETUP.EXE does (window_lib.cpp):
// the message functions, then the library's start-up steps, whose clean-ups
// run at exit. Shared helpers of the suites follow.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dazo/Wnd.h"

// Lets the thread's messages through for ms milliseconds.
void PumpFor(DWORD ms);
// Lets messages through until done() or ms milliseconds have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// A popup window that counts the WM_USER + 1 and the left clicks it gets and
// tells when its object is deleted.
class ProbeWnd : public Wnd {
public:
    explicit ProbeWnd(DWORD flags = 0, bool* deleted = nullptr);
    ~ProbeWnd() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A visible popup of cx by cy at 0,0.
    HWND Make(int cx = 40, int cy = 40);

    int m_cCounted = 0;
    int m_cClicks = 0;

private:
    bool* m_pDeleted;
};

// The pixels of a window's client area as 0xRRGGBB, row by row (a real
// render read back from the screen).
std::vector<DWORD> ClientPixels(HWND window, int* width, int* height);
