// Where Windows and the program live, and a writable temporary folder.
#include <cstdlib>
#include <initializer_list>

#include "base/errreport.h"
#include "dazo/Func.h"

const DWORD DEF_RETRY_TIMEOUT = 5000;
const DWORD DEF_RETRY_INTERVAL = 100;

// Reads a system folder with a buffer of 262 characters, repeated with the
// length the system asks for when that is not enough; the program cannot go
// on without it.
static DataObjStr SystemFolder(UINT (WINAPI* get)(LPSTR, UINT), const char* fatalText)
{
    DataObjStr folder;
    UINT len = get(folder.GetBuffer(262), 262);
    if (len > 260)
        len = get(folder.GetBuffer(len + 2), len + 2);
    if (len == 0)
        FatalExit(fatalText);
    folder.SetSize(folder.GetLength() + 1);
    return folder;
}

DataObjStr GetWindowsDir()
{
    return SystemFolder(GetWindowsDirectoryA, "致命的なエラー：Windows ディレクトリを取得できません");
}

DataObjStr GetSystemDir()
{
    return SystemFolder(GetSystemDirectoryA, "致命的なエラー：Windows システムディレクトリを取得できません");
}

DataObjStr GetProgramPath()
{
    // A path that fills the buffer was cut short: ask again with more room.
    DataObjStr path;
    for (DWORD size = MAX_PATH;; size *= 2) {
        DWORD len = GetModuleFileNameA(nullptr, path.GetBuffer(size), size);
        if (len == 0 || size > 32768)
            FatalExit("致命的なエラー！プログラムパス名を取得できません");
        if (len < size)
            break;
    }
    path.SetSize(path.GetLength() + 1);
    return path;
}

DataObjStr GetProgramDir()
{
    return GetDirPart(GetProgramPath());
}

int IsWritableFolder(const DataObjStr& folder)
{
    DataObjStr test = AddBackslash(folder) + "CorvaVelund$$$.TMP";
    HANDLE file = CreateFileA(test, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);
    DeleteFileA(test);
    return 1;
}

DataObjStr GetTempFolder()
{
    for (const char* name : {"TMP", "TEMP"}) {
        const char* value = std::getenv(name);
        if (value && *value && IsWritableFolder(value))
            return AddBackslash(value);
    }
    DataObjStr windowsTemp = AddBackslash(GetWindowsDir()) + "TEMP";
    if (IsWritableFolder(windowsTemp))
        return AddBackslash(windowsTemp);
    return DataObjStr();
}
