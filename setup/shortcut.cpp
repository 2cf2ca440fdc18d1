// Shortcut files, made and saved through the shell's link object.
#include <objbase.h>
#include <shlobj.h>

#include "base/errreport.h"
#include "dazo/Func.h"
#include "setup/filelist.h"
#include "setup/shellreg.h"

static const char s_szLinkFailed[] = "Windowsショートカットの作成に失敗しました";

// Creates the shortcut's folder when missing and saves the link there; 0
// after a report.
static int SaveLink(IPersistFile* file, const DataObjStr& linkPath)
{
    DataObjStr folder = GetDirPart(linkPath);
    if (!CreateFolderTree(folder)) {
        ReportError(ERR_WRITE, "フォルダを作成できません", folder);
        return 0;
    }
    WCHAR widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH)) {
        ReportSysError(ERR_SYSTEM, GetLastError(), "文字列の変換エラー");
        return 0;
    }
    HRESULT hr = file->Save(widePath, TRUE);
    if (FAILED(hr)) {
        ReportComError(hr, s_szLinkFailed);
        return 0;
    }
    // Without the notice the shell shows the new icon only after a refresh.
    RemoveBackslash(folder);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA, (const char*)folder, nullptr);
    return 1;
}

int CreateShortcut(const char* target, const char* arguments, const char* description, const char* iconFile,
                   int iconIndex, const DataObjStr& linkPath)
{
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr) && target)
        hr = link->SetPath(target);
    if (SUCCEEDED(hr) && description)
        hr = link->SetDescription(description);
    if (SUCCEEDED(hr) && arguments)
        hr = link->SetArguments(arguments);
    if (SUCCEEDED(hr) && iconFile)
        hr = link->SetIconLocation(iconFile, iconIndex);
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));

    int result = 0;
    if (FAILED(hr))
        ReportComError(hr, s_szLinkFailed);
    else
        result = SaveLink(file, linkPath);
    if (file)
        file->Release();
    if (link)
        link->Release();
    return result;
}
