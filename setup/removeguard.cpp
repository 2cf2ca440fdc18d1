// What a removal must never take: a folder the system or the shell owns
// (named on the command line of a SETUP.EXE copied anywhere, "/UNINSTALL"
// would otherwise empty it), and the user's books inside the program folder.
#include <shlobj.h>

#include <cstring>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "setup/settingsopen.h"
#include "setup/shellreg.h"
#include "setup/uninstall.h"

namespace {

// The special folders of both kinds (the user's and all users') that hold
// what is not the application's. Those the system does not know are left out.
const int s_aProtectedFolders[] = {
    CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_FONTS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS,
    CSIDL_COMMON_PROGRAMS, CSIDL_STARTUP, CSIDL_COMMON_STARTUP, CSIDL_APPDATA, CSIDL_COMMON_APPDATA,
    CSIDL_LOCAL_APPDATA, CSIDL_FAVORITES, CSIDL_COMMON_FAVORITES, CSIDL_TEMPLATES, CSIDL_COMMON_TEMPLATES,
    CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO, CSIDL_SENDTO, CSIDL_RECENT,
};

// Whether folder (comparison form) is protected itself or lies above it.
bool HoldsOrIs(const DataObjStr& folder, const DataObjStr& protectedFolder)
{
    if (IsBlankText(protectedFolder))
        return false;
    DataObjStr form = KeyFolderForm(protectedFolder);
    return std::strncmp(form, folder, folder.GetLength()) == 0;
}

bool IsBook(const char* name)
{
    return lstrcmpiA(name + GetExtPos(name), ".QLB") == 0;
}

bool RemoveFolderKeepingBooks(const DataObjStr& folder, const DataObjStr& dataFolder, bool* kept);

// Deletes what folder holds but the books; *kept is set when one stays.
bool EmptyFolderKeepingBooks(const DataObjStr& folder, const DataObjStr& dataFolder, bool* kept)
{
    const DWORD everything =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
    FindEntry find;
    int found = FindFirstEntry(folder + "\\*.*", everything, &find);
    for (; found == 1; found = FindNextEntry(&find)) {
        const char* name = find.data.cFileName;
        DataObjStr path = find.strFolder + name;
        if (find.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!std::strcmp(name, ".") || !std::strcmp(name, ".."))
                continue;
            if (dataFolder.GetLength() > 0 && std::strcmp(KeyFolderForm(path), dataFolder) == 0)
                *kept = true;
            else if (!RemoveFolderKeepingBooks(path, dataFolder, kept))
                return false;
        } else if (IsBook(name)) {
            *kept = true;
        } else if (!DeleteFileRetry(path, DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL)) {
            return false;
        }
    }
    return found == 0;
}

// The folder with what it holds; it stays, with the books, when one is in it.
bool RemoveFolderKeepingBooks(const DataObjStr& folder, const DataObjStr& dataFolder, bool* kept)
{
    bool keptHere = false;
    if (!EmptyFolderKeepingBooks(folder, dataFolder, &keptHere))
        return false;
    if (keptHere) {
        *kept = true;
        return true;
    }
    if (RemoveDirectoryA(folder))
        return true;
    ReportError(ERR_WRITE, "削除できません", folder);
    return false;
}

}  // namespace

int CheckRemovableFolder(const DataObjStr& programFolder)
{
    DataObjStr folder = KeyFolderForm(programFolder);
    bool refused = std::strcmp(GetRootPart(folder), folder) == 0 || HoldsOrIs(folder, GetWindowsDir()) ||
                   HoldsOrIs(folder, GetSystemDir());
    // A 32-bit program under 64-bit Windows is shown "Program Files (x86)"
    // as its Program Files folder; the native one is only in the environment.
    char native[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("ProgramW6432", native, sizeof(native));
    refused = refused || (length > 0 && length < sizeof(native) && HoldsOrIs(folder, native));
    for (int csidl : s_aProtectedFolders) {
        DataObjStr special;
        refused = refused || (GetSpecialFolder(&special, nullptr, csidl, 0) && HoldsOrIs(folder, special));
    }
    if (!refused)
        return 1;
    ReportError(ERR_WRITE, "削除できません", programFolder);
    return 0;
}

int FindDataFolder(const DataObjStr& programFolder, DataObjStr* dataFolder)
{
    *dataFolder = DataObjStr();
    DataObjStr path = AddBackslash(programFolder) + "SHARE.ENV";
    if (GetPathTypeQuiet(path) == PT_NONE)
        return 1;
    SafePtr<FEnv2> share = OpenSettings(path);
    if (!IsLoaded(share))
        return 0;
    DataObjStr folder;
    share->GetString(folder, "会社選択", "Folder", "");
    if (!IsBlankText(folder))
        *dataFolder = KeyFolderForm(folder);
    return 1;
}

int RemoveProgramFolder(const DataObjStr& programFolder, const DataObjStr& dataFolder)
{
    DataObjStr folder(programFolder);
    RemoveBackslash(folder);
    if (GetPathTypeQuiet(folder) == PT_NONE)
        return 1;
    // Only a data folder inside the program folder is in the way; one that
    // is the program folder itself keeps its books through their name.
    DataObjStr programForm = KeyFolderForm(folder);
    bool inside = dataFolder.GetLength() > programForm.GetLength() &&
                  std::strncmp(dataFolder, programForm, programForm.GetLength()) == 0;
    bool kept = false;
    return RemoveFolderKeepingBooks(folder, inside ? dataFolder : DataObjStr(), &kept);
}
