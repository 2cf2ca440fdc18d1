// A child process of the unit tests: it starts the message functions and runs
// the scenario named by its argument. The test reads and answers the boxes it
// shows and checks how it ends.
#include <windows.h>

#include <cstring>

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "base/msgbox.h"
#include "dazo/Data.h"
#include "dazo/userlock.h"
#include "error_report_env.h"

int main(int argc, char** argv)
{
    if (argc < 2 || !InitErrorReport(GetModuleHandleA(nullptr), kTestTitle))
        return 100;
    // The window framework's queue takes every error that is not fatal; a
    // fatal one must pass it by, be shown and end the process.
    g_pfnErrorHook = [](int, const char*, const char*) {};
    const char* scenario = argv[1];
    if (!std::strcmp(scenario, "userlock") && argc == 3)
        return ulInit(argv[2]) + 10;  // a second program of the user lock: its state + 10
    else if (!std::strcmp(scenario, "nomem"))
        ReportError(ERR_NOMEM, ERR_MSG_CATEGORY, "ファイル一覧を読み込み中");
    else if (!std::strcmp(scenario, "fatal"))
        ReportErrorCode(ERR_FATAL, "");
    else if (!std::strcmp(scenario, "retry"))
        return FatalRetry(ERROR_SHARING_VIOLATION, "C:\\表\\SHARE.ENV");
    else if (!std::strcmp(scenario, "wrapper"))
        return DzLoadIconA(GetModuleHandleA(nullptr), "NOSUCHICON") ? 50 : 51;
    else if (!std::strcmp(scenario, "assert"))
        DataObjStr bad(static_cast<const char*>(nullptr));
    else if (!std::strcmp(scenario, "assertloop")) {
        g_pfnAssertDisplay = [](const char*, int, const char*) { DZ_ASSERT("tests/fatal", 1 + 1 == 3); };
        DZ_ASSERT("tests/fatal", argc == 1);
    } else if (!std::strcmp(scenario, "queued")) {
        // The window framework shows its queued errors before a fatal exit.
        g_pfnBeforeMsgBox = [](int) {
            g_pfnBeforeMsgBox = nullptr;
            MessageBoxA(nullptr, "待っていたエラー", kTestTitle, MB_OK);
        };
        FatalExit("終わります");
    }
    FinErrorReport();
    return 0;
}
