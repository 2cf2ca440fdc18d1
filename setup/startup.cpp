// The start-up checks, in the order the user sees their messages: Windows
// version, version 4 running, the message functions, the user lock; around
// the user lock, the library's start-up steps that the windows need.
#include <cstdlib>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "dazo/libstart.h"
#include "dazo/userlock.h"
#include "setup/setup.h"

const char g_szSetupTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
int g_nExitCode;

int CheckStartup(HINSTANCE hInstance)
{
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        // Before the message functions exist: the system's box directly.
        MessageBoxA(nullptr, "Windows95 または WindowsNT4.0 以降で実行してください", g_szSetupTitle, MB_ICONSTOP);
        return 0;
    }

    SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    if (FindWindowA("CORVA_DARVO4_MainWnd", nullptr)) {
        ShowMessage(nullptr, "ヴェルンド！出納帳 Version4 実行中はセットアップを実行できません", g_szSetupTitle,
                    MB_ICONSTOP);
        return 0;
    }

    if (!InitErrorReport(hInstance, g_szSetupTitle))
        return 0;
    std::atexit(FinErrorReport);

    LibInitOptions();
    LibInitColors();
    LibInitStockFonts();
    if (!ulLockAppFolder())
        return 0;
    LibInitHintWindow();
    LibInstallErrorHooks();
    return 1;
}
