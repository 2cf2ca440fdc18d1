#include "testkit/shortcut_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

std::string DescribeShortcut(const std::string& path)
{
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    char target[MAX_PATH] = "", description[MAX_PATH] = "", icon[MAX_PATH] = "";
    int index = -1;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        // The path as stored, not resolved against what the disk holds now.
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetDescription(description, MAX_PATH);
        link->GetIconLocation(icon, MAX_PATH, &index);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return std::string(target) + " / " + description + " / " + icon + ", " + std::to_string(index);
}
