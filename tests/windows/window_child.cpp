// A child process for the fatal ends of the window classes: it starts the
// message functions and breaks the rule its argument names.
#include <windows.h>

#include <cstring>

#include "base/errreport.h"
#include "dazo/Doingwnd.h"
#include "dazo/libstart.h"
#include "error_report_env.h"

int main(int argc, char** argv)
{
    if (argc < 2 || !InitErrorReport(GetModuleHandleA(nullptr), kTestTitle))
        return 100;
    auto* d = new DoingWnd;
    d->Create("進行", -1, -1, 200, 20, nullptr, 0);
    const char* scenario = argv[1];
    if (!std::strcmp(scenario, "eleven-sections"))
        for (int i = 0; i < 11; ++i)
            d->BeginSec(0, 10);
    else if (!std::strcmp(scenario, "setsecpos"))
        d->SetSecPos(1);
    else if (!std::strcmp(scenario, "stepsec"))
        d->StepSec();
    else if (!std::strcmp(scenario, "endsec"))
        d->EndSec();
    else if (!std::strcmp(scenario, "font"))
        GetStockFontObj(-5);
    return 0;
}
