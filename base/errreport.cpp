#include "base/errreport.h"

#include <windows.h>

#include <cstring>

// The fatal paths only, until the message functions take over the display.

int ReportErrorCode(int category, const char* context)
{
    if (category == ERR_NOMEM || category == ERR_FATAL) {
        const char* text = category == ERR_NOMEM ? "メモリが足りません" : "致命的なエラー";
        MessageBoxA(0, context && *context ? context : text, 0, MB_TASKMODAL | MB_TOPMOST | MB_ICONEXCLAMATION);
        ExitProcess(255);
    }
    return -1;
}

void FatalExit(const char* text)
{
    if (text && *text)
        FatalAppExitA(0, text);
    ExitProcess(255);
}

void AssertFail(const char* file, int line, const char* expression)
{
    char text[1024];
    wsprintfA(text, "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n%.400s %d\r\n%.400s",
              file, line, expression);
    FatalExit(text);
}
