// FileData: building the listing of one folder.
#include "dazo/filedata.h"

#include <shellapi.h>

#include <cstring>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Func.h"

static char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// One pattern of patEnd bytes against the whole name.
static bool MatchWild(const char* name, const char* pat, const char* patEnd)
{
    while (pat < patEnd) {
        if (*pat == '*') {
            ++pat;
            for (const char* rest = name;; rest += SjisCharLen(rest)) {
                if (MatchWild(rest, pat, patEnd))
                    return true;
                if (!*rest)
                    return false;
            }
        }
        int nameLen = SjisCharLen(name);
        if (!nameLen)
            return false;
        int patLen = SjisCharLen(pat);
        if (*pat != '?') {
            if (patLen != nameLen)
                return false;
            if (patLen == 2 ? (pat[0] != name[0] || pat[1] != name[1]) : AsciiLower(*pat) != AsciiLower(*name))
                return false;
        }
        name += nameLen;
        pat += *pat == '?' ? 1 : patLen;
    }
    return !*name;
}

bool MatchNamePatterns(const char* name, const char* patterns)
{
    if (!patterns || !std::strcmp(patterns, "*.*"))
        return true;
    DataObjStr dotted = std::strchr(name, '.') ? DataObjStr(name) : DataObjStr(name) + ".";
    const char* p = patterns;
    while (*p) {
        const char* end = p;
        while (*end && *end != ';')
            end += SjisCharLen(end);
        if (MatchWild(dotted, p, end))
            return true;
        p = *end ? end + 1 : end;
    }
    return false;
}

// The shell's name for a drive root or share; the path itself when it has none.
static DataObjStr DisplayName(const DataObjStr& path)
{
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_DISPLAYNAME) && info.szDisplayName[0])
        return DataObjStr(info.szDisplayName);
    return path;
}

FileData::FileData(const char* folder, const char* patterns, int options, HWND hwnd) : m_fOptions(options)
{
    HRESULT hr = SHGetMalloc(&m_pMalloc);
    if (FAILED(hr)) {
        m_pMalloc = nullptr;
        ReportComError(hr, "シェルヒープインターフェースを取得できません");
        return;
    }
    m_strFolder = GetFullPath(folder);
    int level = 0;
    if (options & FD_PATH) {
        AddPath();
        level = GetCount();
    }
    AddContents(patterns, level);
    if (options & FD_SEPARATOR)
        Add(DataObjStr(), DataObjStr(), FE_SEPARATOR, 0);
    if (options & FD_DRIVES)
        AddDrives();
    if (options & FD_SPECIAL)
        AddSpecialFolders(hwnd);
}

FileData::~FileData()
{
    for (FileEntry& e : m_aEntry) {
        if (e.hIcon)
            DestroyIcon(e.hIcon);
        if (e.pidlIcon)
            m_pMalloc->Free(e.pidlIcon);
    }
    if (m_pMalloc)
        m_pMalloc->Release();
}

void FileData::Add(const DataObjStr& path, const DataObjStr& name, int flags, int level)
{
    FileEntry entry;
    entry.strPath = path;
    entry.strName = name;
    entry.fFlags = flags;
    entry.nLevel = static_cast<short>(level);
    m_aEntry.push_back(entry);
}

DataObjStr FileData::GetPath(int index) const
{
    if (index < 0 || index >= GetCount())
        return m_strFolder;
    const FileEntry& e = m_aEntry[index];
    return (e.fFlags & FE_CHILD) ? AddBackslash(m_strFolder) + e.strName : e.strPath;
}

// The root first (a share as written, a drive with the shell's name), then
// each folder of the path, whose path runs up to and including it.
void FileData::AddPath()
{
    const char* path = m_strFolder;
    int len = m_strFolder.GetLength();
    DataObjStr root = GetRootPart(m_strFolder);
    int pos = root.GetLength() < len ? root.GetLength() : len;
    if (path[0] == '\\' && path[1] == '\\') {
        DataObjStr share = root.Mid(0, root.GetLength() - 1);
        Add(share, share, FE_FOLDER | FE_ONPATH, GetCount());
    } else if (pos) {
        Add(root, DisplayName(root), FE_FOLDER | FE_ONPATH, GetCount());
    }
    while (pos < len) {
        while (path[pos] == '\\')
            ++pos;
        int end = pos;
        while (path[end] && path[end] != '\\')
            end += SjisCharLen(path + end);
        if (end > pos)
            Add(DataObjStr(path, end), DataObjStr(path + pos, end - pos), FE_FOLDER | FE_ONPATH, GetCount());
        pos = end;
    }
    m_nCurrent = GetCount() - 1;
}

// A folder that is missing reads as empty: not found ends the listing as no
// more entries does.
void FileData::AddContents(const char* patterns, int level)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(AddBackslash(m_strFolder) + "*.*", &found);
    DWORD err = hFind == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const char* name = found.cFileName;
            if (name[std::strspn(name, ".")] == '\0' || (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM))
                continue;
            bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if ((m_fOptions & (folder ? FD_FOLDERS : FD_FILES)) && MatchNamePatterns(name, patterns))
                Add(DataObjStr(), name, folder ? FE_CHILD | FE_FOLDER : FE_CHILD, level);
        } while (FindNextFileA(hFind, &found));
        err = GetLastError();
        FindClose(hFind);
    }
    if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND && err != ERROR_NO_MORE_FILES) {
        ReportSysError(ERR_READ, err, DataObjStr("フォルダ ") + m_strFolder + "を読み取りできません");
        return;
    }
    m_fRead = 1;
}

void FileData::AddDrives()
{
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i)) {
            const char root[4] = {static_cast<char>('A' + i), ':', '\\', '\0'};
            Add(root, DisplayName(root), FE_FOLDER | FE_DRIVE, 0);
        }
    }
}

// A special folder the system does not have, or whose path it cannot tell,
// is left out.
void FileData::AddSpecialFolders(HWND hwnd)
{
    static const struct {
        int csidlPath;
        const char* name;
        int csidlIcon;
    } s_special[] = {
        {CSIDL_DESKTOPDIRECTORY, "デスクトップ", CSIDL_DESKTOP},
        {CSIDL_COMMON_DESKTOPDIRECTORY, "デスクトップ(共用)", CSIDL_DESKTOP},
        {CSIDL_PERSONAL, "マイドキュメント", CSIDL_PERSONAL},
    };
    for (const auto& special : s_special) {
        LPITEMIDLIST pidl = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(hwnd, special.csidlPath, &pidl)))
            continue;
        char path[MAX_PATH];
        BOOL found = SHGetPathFromIDListA(pidl, path);
        m_pMalloc->Free(pidl);
        if (!found)
            continue;
        // Wine answers the documents folder with a trailing backslash and
        // the desktops without: the path field shows them alike.
        DataObjStr folder(path);
        RemoveBackslash(folder);
        Add(folder, special.name, FE_FOLDER | FE_SPECIAL, 0);
        if (FAILED(SHGetSpecialFolderLocation(hwnd, special.csidlIcon, &m_aEntry.back().pidlIcon)))
            m_aEntry.back().pidlIcon = nullptr;
    }
}

bool FileData::LoadIcon(int i)
{
    FileEntry& e = m_aEntry[i];
    if (e.hIcon || (e.fFlags & FE_SEPARATOR))
        return false;
    SHFILEINFOA info = {};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | ((e.fFlags & FE_ONPATH) ? SHGFI_OPENICON : 0);
    if (e.pidlIcon)
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(e.pidlIcon), 0, &info, sizeof(info), flags | SHGFI_PIDL);
    else
        SHGetFileInfoA(GetPath(i), 0, &info, sizeof(info), flags);
    e.hIcon = info.hIcon;
    return e.hIcon != nullptr;
}
