// The relaunch: a setup started from the medium (or with options only) runs
// as a copy in the Windows folder, so that the medium can be changed and the
// uninstall can remove the program folder it was started from.
#include "base/errreport.h"
#include "base/msgbox.h"
#include "dazo/Func.h"
#include "setup/setup.h"

int RelaunchCopy(const char* tail)
{
    DataObjStr target = AddBackslash(GetWindowsDir()) + "SETUP1.EXE";
    int result = 0;
    if (CopyFileData(GetProgramPath(), target, CFD_COPYTIME | CFD_FLUSH, nullptr) == 0) {
        DataObjStr command;
        command << target << " " << tail << " \"" << GetProgramDir() << "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        if (CreateProcessA(nullptr, command.GetBuffer(0), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                           nullptr, &startup, &process)) {
            // The copy does the work; this instance does not wait for it.
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            result = 1;
        } else {
            ReportErrorCode(ERR_SYSTEM, target + " を起動できません");
        }
    }
    if (!result)
        ShowQueuedReports();
    return result;
}
