#include <windows.h>

static const char g_szSetupTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(0, g_szSetupTitle, g_szSetupTitle, MB_OK);
    return 0;
}
