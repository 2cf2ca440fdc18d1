// The shell's special folders: where the shortcuts go and where the default
// program and data folders lie.
#include <objbase.h>
#include <shlobj.h>

#include "base/errreport.h"
#include "dazo/Func.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"

int GetSpecialFolder(DataObjStr* out, HWND owner, int csidl, int report)
{
    static const char s_szNoFolder[] = "スペシャル-フォルダ名の取得に失敗しました";
    if (out)
        *out = DataObjStr();
    IMalloc* shellMalloc = nullptr;
    HRESULT hr = SHGetMalloc(&shellMalloc);
    if (FAILED(hr)) {
        if (report)
            ReportComError(hr, s_szNoFolder);
        return 0;
    }
    int result = 0;
    LPITEMIDLIST idList = nullptr;
    hr = SHGetSpecialFolderLocation(owner, csidl, &idList);
    if (FAILED(hr)) {
        if (report)
            ReportComError(hr, s_szNoFolder);
    } else {
        char path[MAX_PATH + 1];
        if (SHGetPathFromIDListA(idList, path)) {
            if (out)
                *out = AddBackslash(path);
            result = 1;
        } else if (report) {
            ReportErrorCode(ERR_SYSTEM, "フォルダ名を取得できません");
        }
        shellMalloc->Free(idList);
    }
    shellMalloc->Release();
    return result;
}

int GetShellFolders(SetupParams* params)
{
    GetSpecialFolder(&params->m_strMenuShared, nullptr, CSIDL_COMMON_PROGRAMS, 0);
    GetSpecialFolder(&params->m_strDeskShared, nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, 0);
    GetSpecialFolder(&params->m_strMenuPrivate, nullptr, CSIDL_PROGRAMS, 0);
    GetSpecialFolder(&params->m_strDeskPrivate, nullptr, CSIDL_DESKTOPDIRECTORY, 0);
    return 1;
}
