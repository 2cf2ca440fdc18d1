// install_entry.exe: the install procedure started as SETUP.EXE will start
// it once its install driver exists, for the end-to-end tests and the copy
// benchmark. It starts as SETUP.EXE starts (COM, CheckStartup), puts up the
// background window as the owner, opens SETUP.LST of the source folder and
// runs DoInstall with the choices of its command line:
//
//   install_entry.exe source=FOLDER app=FOLDER doc=FOLDER [user=NAME]
//                     [company=NAME] [update=1] [sample=0] [desk=0]
//
// The shell folders are found as the driver finds them. Exit code: what
// DoInstall returned (1 completed, 0 stopped), -1 when it could not start.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "dazo/Func.h"
#include "dazo/fenv2.h"
#include "setup/background.h"
#include "setup/install.h"
#include "setup/setup.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"

static void UninitializeCom()
{
    CoUninitialize();
}

// Takes one "name=value" argument into params (or *source).
static void TakeArgument(const DataObjStr& argument, SetupParams* params, DataObjStr* source)
{
    const char* text = argument;
    const char* equals = std::strchr(text, '=');
    if (!equals)
        return;
    DataObjStr name(text, (int)(equals - text));
    const char* value = equals + 1;
    struct {
        const char* name;
        DataObjStr* text;
        int32_t* flag;
    } const fields[] = {
        {"source", source, nullptr},
        {"app", &params->m_strAppPath, nullptr},
        {"doc", &params->m_strDocPath, nullptr},
        {"user", &params->m_strUserName, nullptr},
        {"company", &params->m_strCompany, nullptr},
        {"update", nullptr, &params->m_fUpdate},
        {"sample", nullptr, &params->m_fSample},
        {"desk", nullptr, &params->m_fDeskIcon},
    };
    for (const auto& field : fields) {
        if (std::strcmp(name, field.name) != 0)
            continue;
        if (field.flag)
            *field.flag = std::atoi(value);
        else
            *field.text = value;
    }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    if (FAILED(CoInitialize(nullptr)))
        return -1;
    std::atexit(UninitializeCom);
    if (!CheckStartup(hInstance))
        return -1;

    SetupParams params;
    GetShellFolders(&params);
    params.m_fShared = IsBlankText(params.m_strMenuShared) ? 0 : 1;
    DataObjStr source;
    int count = 0;
    // The arguments as Unicode: a Japanese folder arrives whole.
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i)
        TakeArgument(DataObjStr(arguments[i]), &params, &source);
    LocalFree(arguments);
    // The folders as the setup dialog leaves them.
    params.m_strAppPath = AddBackslash(params.m_strAppPath);
    params.m_strDocPath = AddBackslash(params.m_strDocPath);

    auto* background = new BackgroundWindow;
    HWND owner = background->Create();
    ShowWindow(owner, SW_SHOWMAXIMIZED);
    SafePtr<WorkWnd> work(new WorkWnd(owner));
    int result = -1;
    {
        SafePtr<FEnv2> list(new FEnv2(AddBackslash(source) + "SETUP.LST", 0, 10000, 100));
        if (list->GetFlags() & ENV_LOADED)
            result = DoInstall(owner, &params, list.Get(), source);
    }
    work = SafePtr<WorkWnd>();
    DestroyWindow(owner);
    return result;
}
