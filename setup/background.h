// The full-screen window behind the setup: a colour gradient with the
// product's name. It is the owner of the setup's dialogs and the program's
// work window, and it keeps Windows from ending the session meanwhile.
//
//   BackgroundWindow* background = new BackgroundWindow;
//   background->m_fAddRemove = 1;       // uninstall mode: other colours, a third line
//   background->Create();
//   ShowWindow(background->HWnd(), SW_SHOWMAXIMIZED);
//   ...
//   DestroyWindow(background->HWnd());  // the object goes with its window
#pragma once

#include "dazo/Wnd.h"

class BackgroundWindow : public Wnd {
public:
    ~BackgroundWindow() override = default;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    const char* GetClassInfo(WNDCLASSA* wc) override;

    // Creates the window (not yet shown) with the application icon.
    HWND Create();

    int m_fAddRemove = 0;  // 1 in the uninstall mode; set before Create

private:
    void Paint(HDC dc, const RECT& rc);
};
