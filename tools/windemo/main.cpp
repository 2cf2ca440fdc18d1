// windemo.exe: the setup's windows as the install and uninstall modes will
// show them, for the demo's screenshots while the install driver that shows
// them is still to come.
//
//   windemo install|uninstall [milliseconds]   the background window with the
//                                              progress window over it
//   windemo setup                              the background window with the
//                                              setup dialog, until it ends
//
// It starts as SETUP.EXE starts (CheckStartup). The progress window stays
// for the time given (default 5000 ms) or until its stop button is pressed;
// the setup dialog until the user ends it.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Doingwnd.h"
#include "setup/background.h"
#include "setup/setup.h"
#include "setup/setupdlg.h"
#include "setup/shellreg.h"

static void ShowProgress(HWND background, bool uninstall, DWORD lifetime)
{
    auto* doing = new DoingWnd;
    doing->Create("ヴェルンド！出納帳 セットアップ", -1, -1, 40 * g_nAveCharWidth, g_nCharHeight, background,
                  DWS_STOP | DWS_NOGAUGE | DWS_SHOW | DWS_DISABLEOWNER);
    doing->SetText(uninstall ? "お待ち下さい..." : "コピー中：DARVO5.EXE");
    for (DWORD start = GetTickCount(); GetTickCount() - start < lifetime && doing->CheckCancel();)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    doing->Close();
}

// The choices of a fresh install on this machine, made as the install
// driver makes its defaults.
static void ShowSetupDialog(HWND background)
{
    SetupParams params;
    GetShellFolders(&params);
    params.m_fShared = !IsBlankText(params.m_strMenuShared);
    params.m_strDocBaseShared = params.m_strDeskShared;
    params.m_strDocBasePrivate = params.m_strDeskPrivate;
    params.m_strDocPath =
        (params.m_fShared ? params.m_strDocBaseShared : params.m_strDocBasePrivate) + "ヴェルンド！出納帳データ";
    GetSpecialFolder(&params.m_strAppPath, background, CSIDL_PROGRAM_FILES, 0);
    params.m_strAppPath = params.m_strAppPath + "Darvo5";
    RunSetupDialog(background, &params);
}

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

    if (std::strstr(tail, "setup"))
        ShowSetupDialog(hwndBackground);
    else
        ShowProgress(hwndBackground, uninstall, lifetime);
    work = SafePtr<WorkWnd>();
    DestroyWindow(hwndBackground);
    return 0;
}
