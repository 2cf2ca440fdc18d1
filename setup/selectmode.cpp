// Mode selection under the single-instance mutexes: one setup at a time, and
// none while the application runs.
#include "base/errreport.h"
#include "base/msgbox.h"
#include "setup/setup.h"

static const char s_szShareMutex[] = "Corva Darvo5 ShareMem Mutex 500";
static const char s_szRunningMutex[] = "Corva Darvo5 Running Mutex";
static const char s_szSetupMutex[] = "Corva Darvo5 ShareMem SetupMutex";

// Creates (or opens) a named mutex, not owned; a failure is reported. With
// pExisted, tells whether another process had made it.
static HANDLE OpenNamedMutex(const char* name, bool* pExisted)
{
    SetLastError(0);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (!mutex) {
        ReportSysError(ERR_SYSTEM, GetLastError(), "ミューテックスを作成できません", 0);
        return nullptr;
    }
    if (pExisted)
        *pExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}

// One pass of the mutex sequence; true when the application was found
// running, so that the user may close it and try again.
static bool RunUnderMutexes(bool fUpdate, bool fUninstall, const DataObjStr& source)
{
    bool running = false;
    bool owned = false;
    HANDLE setup = nullptr;
    HANDLE share = OpenNamedMutex(s_szShareMutex, nullptr);
    if (share) {
        while (WaitForSingleObject(share, INFINITE) == WAIT_TIMEOUT) {
        }
        owned = true;

        // The application holds this mutex while it runs; the setup only
        // probes for it.
        bool existed = false;
        HANDLE probe = OpenNamedMutex(s_szRunningMutex, &existed);
        if (probe) {
            CloseHandle(probe);
            running = existed;
        }
        if (probe && !running) {
            setup = OpenNamedMutex(s_szSetupMutex, &existed);
            if (setup && existed) {
                ReportErrorCode(ERR_SYSTEM, "出納帳セットアップがすでに起動中です");
            } else if (setup) {
                // Held open, never owned: its existence tells other setups
                // that this one runs.
                ReleaseMutex(share);
                owned = false;
                if (fUninstall && !fUpdate)
                    RunAddRemove(source);
                else
                    RunInstall(fUpdate, source);
            }
        }
    }
    if (owned)
        ReleaseMutex(share);
    if (share)
        CloseHandle(share);
    if (setup)
        CloseHandle(setup);
    return running;
}

void SelectMode(bool fUpdate, bool fUninstall, const DataObjStr& source)
{
    while (RunUnderMutexes(fUpdate, fUninstall, source)) {
        if (ShowMessage(nullptr,
                        "出納帳が起動中はセットアップを行えません.\n\n出納帳のウィンドウを全て閉じて OK を押してください",
                        nullptr, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            return;
    }
}
