// Start-up and exit of the message and error functions.
#include "base/errreport.h"
#include "base/text.h"
#include "base/msgbox.h"

HINSTANCE g_hInstance;
int g_nAveCharWidth;
int g_nCharHeight;

static void MeasureDisplayFont()
{
    HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (ic) {
        TEXTMETRICA tm;
        if (GetTextMetricsA(ic, &tm)) {
            g_nAveCharWidth = tm.tmAveCharWidth;
            g_nCharHeight = tm.tmHeight;
            DeleteDC(ic);
            return;
        }
        DeleteDC(ic);
    }
    LONG units = GetDialogBaseUnits();
    g_nAveCharWidth = LOWORD(units);
    g_nCharHeight = HIWORD(units);
}

int InitErrorReport(HINSTANCE hInstance, const char* caption)
{
    g_fInMsgBox = 0;
    // The program shows its own messages for missing disks and files.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    g_hInstance = hInstance;
    SjisCopyCut(g_szAppTitle, sizeof(g_szAppTitle), caption);
    MeasureDisplayFont();
    if (!ThreadMsgBoxStart()) {
        ReportErrorCode(ERR_NOMEM, "エラー処理スレッドの作成に失敗");
        return 0;
    }
    return 1;
}

void FinErrorReport()
{
    if (g_pfnBeforeMsgBox)
        g_pfnBeforeMsgBox(1);
    ThreadMsgBoxStop();
}
