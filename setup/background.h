// The full-screen window behind the setup: a colour gradient with the
// product's name. It is the owner of the setup's dialogs and the program's
// work window, and it keeps Windows from ending the session meanwhile.
//
// Each mode runs in RunOverBackground.
#pragma once

#include <functional>

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

// Shows the background window maximised (fAddRemove: in the uninstall's
// colours) as the program's work window, the owner of every box that names
// none, and runs body with it. The reports still queued are shown while it
// owns them; then it goes.
void RunOverBackground(int fAddRemove, const std::function<void(HWND background)>& body);
