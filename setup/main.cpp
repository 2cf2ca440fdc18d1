// The entry point: refuses to run beside version 4, starts COM and the
// start-up checks, then installs, updates or uninstalls as the command tail
// asks, or relaunches a copy from the Windows folder.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "setup/setup.h"

static const char s_szDarvo4Class[] = "CORVA_DARVO4_MainWnd";

static void UninitializeCom()
{
    CoUninitialize();
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR tail, int)
{
    g_nExitCode = 0;

    if (HWND darvo4 = FindWindowA(s_szDarvo4Class, nullptr)) {
        ShowMessage(nullptr, "ヴェルンド！出納帳を終了してもう一度実行してください", "ヴェルンド！出納帳のセットアップ",
                    MB_ICONSTOP);
        SetWindowPos(darvo4, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        return 0;
    }

    if (FAILED(CoInitialize(nullptr))) {
        ShowMessage(nullptr, "COMライブラリ初期化エラー", "エラー！", MB_ICONEXCLAMATION);
        return -1;
    }
    std::atexit(UninitializeCom);

    if (!CheckStartup(hInstance))
        return -1;

    CommandLine line = ParseCommandTail(tail);
    if (!IsBlankText(line.strSource)) {
        SelectMode(line.fUpdate, line.fUninstall, line.strSource);
    } else if (!IsBlankText(tail)) {
        RelaunchCopy(tail);
    } else if (GetPathType(GetProgramDir() + "DARVO5.EXE") == PT_FILE) {
        // Started from an installed program folder, not from the medium.
        ShowMessage(nullptr, "インストールディスクの SETUP.EXE を実行してください", nullptr, MB_OK);
    } else {
        RelaunchCopy(tail);
    }
    return g_nExitCode;
}
