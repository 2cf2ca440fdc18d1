// What is at a path, folder enumeration, deleting a tree and creating one.
#include <cstring>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Func.h"

static const DWORD ALL_ENTRIES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;

static bool HasWildcard(const char* text)
{
    for (int i = 0, n; (n = SjisCharLen(text + i)) != 0; i += n)
        if (text[i] == '*' || text[i] == '?')
            return true;
    return false;
}

// A drive or share root: "X:", "X:\" or "\\server\share" (without the
// trailing backslash that RemoveBackslash took): the root with or without its
// backslash. (AddBackslash leaves "X:" as it is, so comparing its result with
// the root "X:\" would miss the bare drive.)
static bool IsRoot(const DataObjStr& path)
{
    DataObjStr root = GetRootPart(path);
    int len = path.GetLength();
    int rootLen = root.GetLength();
    return rootLen > 0 && (len == rootLen || len == rootLen - 1) && std::strncmp(path, root, len) == 0;
}

FindEntry::~FindEntry()
{
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
}

static bool Wanted(const FindEntry* find)
{
    const DWORD optional = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (find->data.dwFileAttributes & optional & ~find->dwMask) == 0;
}

static int ReportFindError(DWORD err, const FindEntry* find)
{
    DataObjStr context;
    context << "フォルダ " << find->strFolder << " の読み取りが行えません";
    ReportFileError(err, ERR_READ, find->strFolder, context);
    return -1;
}

// Moves to the next entry the mask wants.
static int NextWanted(FindEntry* find)
{
    while (!Wanted(find)) {
        if (!FindNextFileA(find->hFind, &find->data)) {
            DWORD err = GetLastError();
            return (ClassifyFileError(err) & FE_NOTFOUND) ? 0 : ReportFindError(err, find);
        }
    }
    return 1;
}

int FindFirstEntry(const char* pattern, DWORD attributeMask, FindEntry* find)
{
    if (find->hFind != INVALID_HANDLE_VALUE)
        FindClose(find->hFind);
    find->dwMask = attributeMask;
    find->strFolder = GetDirPart(pattern);
    find->hFind = FindFirstFileA(pattern, &find->data);
    if (find->hFind == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        return (ClassifyFileError(err) & FE_NOTFOUND) ? 0 : ReportFindError(err, find);
    }
    return NextWanted(find);
}

int FindNextEntry(FindEntry* find)
{
    if (!FindNextFileA(find->hFind, &find->data)) {
        DWORD err = GetLastError();
        return (ClassifyFileError(err) & FE_NOTFOUND) ? 0 : ReportFindError(err, find);
    }
    return NextWanted(find);
}

int GetPathType(const DataObjStr& path)
{
    DataObjStr p(path);
    RemoveBackslash(p);
    if (!CheckFileName(p)) {
        ReportError(ERR_SYSTEM, "ファイル名に <>/ の記号は使用できません", p);
        return PT_ERROR | PT_BADNAME;
    }
    if (HasWildcard(p)) {
        ReportError(ERR_SYSTEM, "ファイル名に*や?の文字は使用できません", p);
        return PT_ERROR | PT_BADNAME;
    }
    if (p.GetLength() == 0)
        return PT_DIRLIKE;

    if (IsRoot(p)) {
        WIN32_FIND_DATAA data;
        HANDLE hFind = FindFirstFileA(AddBackslash(p) + "*.*", &data);
        if (hFind != INVALID_HANDLE_VALUE) {
            FindClose(hFind);
            return PT_DIRLIKE;
        }
        DWORD err = GetLastError();
        if (ClassifyFileError(err) & FE_NOTFOUND)
            return PT_DIRLIKE;
        DataObjStr context;
        context << "フォルダ[" << p << "]の読み取りが行えません.";
        ReportFileError(err, ERR_READ, p, context);
        return PT_ERROR;
    }

    FindEntry find;
    switch (FindFirstEntry(p, ALL_ENTRIES, &find)) {
    case 1:
        return (find.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PT_DIRLIKE | PT_FOLDER : PT_FILE;
    case 0:
        return PT_NONE;
    default:
        return PT_ERROR;
    }
}

int GetPathTypeQuiet(const DataObjStr& path)
{
    ErrorFrame frame;
    PushErrorFrame(&frame);
    int type = GetPathType(path);
    ClearError();
    PopErrorFrame();
    return type;
}

// Deletes one entry of an enumeration; a failure is reported.
static bool DeleteEntry(int flags, const DataObjStr& path, bool isFolder)
{
    if (isFolder) {
        if (!DeleteTree(flags, path + "\\*.*"))
            return false;
        if (RemoveDirectoryA(path))
            return true;
    } else if (flags & DT_RETRYDELETE) {
        return DeleteFileRetry(path, DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL) != 0;
    } else if (DeleteFileA(path)) {
        return true;
    }
    ReportError(ERR_WRITE, "削除できません", path);
    return false;
}

int DeleteTree(int flags, const char* pattern)
{
    FindEntry find;
    int found = FindFirstEntry(pattern, ALL_ENTRIES, &find);
    for (; found == 1; found = FindNextEntry(&find)) {
        bool isFolder = (find.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && (find.data.cFileName[0] == '.' || !(flags & DT_RECURSE)))
            continue;
        if (!DeleteEntry(flags, find.strFolder + find.data.cFileName, isFolder))
            return 0;
    }
    return found == 0;
}

int CreateDirTree(const DataObjStr& path)
{
    DataObjStr p(path);
    RemoveBackslash(p);
    if (p.GetLength() == 0 || IsRoot(p))
        return 1;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(p, &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        FindClose(hFind);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return 1;
    }
    if (CreateDirectoryA(p, nullptr))
        return 1;

    DataObjStr parent = GetDirPart(p);
    RemoveBackslash(parent);
    if (parent.GetLength() > 0 && std::strcmp(parent, p) != 0 && !CreateDirTree(parent))
        return 0;
    if (CreateDirectoryA(p, nullptr))
        return 1;
    DataObjStr context;
    context << "フォルダ " << p << " を作成できません";
    ReportFileError(GetLastError(), ERR_WRITE, p, context);
    return 0;
}
