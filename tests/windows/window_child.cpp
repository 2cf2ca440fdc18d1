// A child process for the fatal ends of the window classes: it starts the
// message functions and breaks the rule its argument names.
#include <windows.h>

#include <functional>
#include <map>
#include <string>

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
    const std::map<std::string, std::function<void()>> scenarios = {
        {"eleven-sections", [d] { for (int i = 0; i < 11; ++i) d->BeginSec(0, 10); }},
        {"setsecpos", [d] { d->SetSecPos(1); }},
        {"stepsec", [d] { d->StepSec(); }},
        {"endsec", [d] { d->EndSec(); }},
        {"font", [] { GetStockFontObj(-5); }},
    };
    scenarios.at(argv[1])();
    return 0;
}
