// The ends of the program that cannot be recovered from: fatal exits, the
// critical-error dialog and assertions.
#include <cstdio>

#include "base/errreport.h"
#include "base/text.h"
#include "base/msgbox.h"

void FatalExit(const char* text)
{
    if (g_pfnBeforeMsgBox)
        g_pfnBeforeMsgBox(1);
    if (text && *text)
        FatalAppExitA(0, text);
    ExitProcess(255);
}

int FatalRetry(DWORD sysError, const char* context)
{
    static char s_text[2048];
    SjisCopyCut(s_text, sizeof(s_text), "重大なエラー：");
    if (sysError != 0) {
        char error[400];
        GetSysErrorText(sysError, error, sizeof(error), 1);
        SjisAppendCut(s_text, sizeof(s_text), error);
        SjisAppendCut(s_text, sizeof(s_text), "\n\n");
    }
    SjisAppendCut(s_text, sizeof(s_text), context);
    SjisAppendCut(s_text, sizeof(s_text), "\n\n");
    SjisAppendCut(s_text, sizeof(s_text),
                  "他のアプリケーションを終了して「再試行」を選択することで問題を回避できる場合があります。\n"
                  "なるべくそうすることをお勧めします。\n"
                  "「中止」を選択するとアプリケーションは終了します。保存されていないデータは失われます。\n"
                  "「無視」は選択できません。\n");

    int answer;
    do
        answer = ShowMessage(nullptr, s_text, g_szAppTitle,
                             MB_ABORTRETRYIGNORE | MB_ICONHAND | MB_SYSTEMMODAL | MB_TOPMOST);
    while (answer == IDIGNORE);
    if (answer == 0)
        FatalAppExitA(0, context);
    if (answer == IDABORT)
        FatalExit(nullptr);
    return answer;
}

static void DefaultAssertDisplay(const char* file, int line, const char* expression)
{
    static char s_text[1024];
    char number[16];
    std::snprintf(number, sizeof(number), "%d", line);
    SjisCopyCut(s_text, sizeof(s_text), "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n");
    SjisAppendCut(s_text, sizeof(s_text), file);
    SjisAppendCut(s_text, sizeof(s_text), " ");
    SjisAppendCut(s_text, sizeof(s_text), number);
    SjisAppendCut(s_text, sizeof(s_text), "\r\n");
    SjisAppendCut(s_text, sizeof(s_text), expression);
    FatalExit(s_text);
}

void (*g_pfnAssertDisplay)(const char* file, int line, const char* expression) = DefaultAssertDisplay;

void AssertFail(const char* file, int line, const char* expression)
{
    static bool s_fAsserting;
    if (s_fAsserting)
        FatalExit("内部エラー Assert ループエラー");
    s_fAsserting = true;
    g_pfnAssertDisplay(file, line, expression);
    s_fAsserting = false;
    // A replacement display that returns still ends the program: the
    // failed condition leaves nothing safe to go on with.
    FatalExit(nullptr);
}
