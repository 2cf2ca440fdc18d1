// windemo.exe: the setup's background window with the progress window over
// it, as the install and uninstall modes will show them, for the demo's
// screenshots while the install driver that shows them is still to come.
//
//   windemo install|uninstall [milliseconds]
//
// It starts as SETUP.EXE starts (CheckStartup), shows both windows, lets
// their messages through for the time given (default 5000 ms) or until the
// stop button is pressed, and takes them down again.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "base/errreport.h"
#include "dazo/Doingwnd.h"
#include "setup/background.h"
#include "setup/setup.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR tail, int)
{
    if (!CheckStartup(hInstance))
        return 1;
    bool uninstall = std::strstr(tail, "uninstall") != nullptr;
    const char* number = std::strpbrk(tail, "0123456789");
    DWORD lifetime = number ? std::strtoul(number, nullptr, 10) : 5000;

    auto* background = new BackgroundWindow;
    background->m_fAddRemove = uninstall;
    HWND hwndBackground = background->Create();
    ShowWindow(hwndBackground, SW_SHOWMAXIMIZED);
    UpdateWindow(hwndBackground);
    SafePtr<WorkWnd> work(new WorkWnd(hwndBackground));

    auto* doing = new DoingWnd;
    doing->Create("ヴェルンド！出納帳 セットアップ", -1, -1, 40 * g_nAveCharWidth, g_nCharHeight, hwndBackground,
                  DWS_STOP | DWS_NOGAUGE | DWS_SHOW | DWS_DISABLEOWNER);
    doing->SetText(uninstall ? "お待ち下さい..." : "コピー中：DARVO5.EXE");
    for (DWORD start = GetTickCount(); GetTickCount() - start < lifetime && doing->CheckCancel();)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    doing->Close();
    work = SafePtr<WorkWnd>();
    DestroyWindow(hwndBackground);
    return 0;
}
