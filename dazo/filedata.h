// FileData: the listing of one folder as the folder dialog shows it: the
// components of its path, its sub-folders and files, a separator, the drives
// and the shell's special folders. Built at once from the file system and the
// shell; shared by reference count with the list that shows it.
//
//   SafePtr<FileData> data(new FileData(path, "*.*", FD_PATH | FD_FOLDERS, hwnd));
//   if (data->m_fRead) ... data->GetPath(i) ...
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "dazo/Data.h"
#include "dazo/SafeObject.h"

// What a listing holds.
enum {
    FD_DRIVES = 1,      // one entry per drive
    FD_SPECIAL = 2,     // the special folders (desktop, all users' desktop, documents)
    FD_FOLDERS = 4,     // the folder's sub-folders
    FD_FILES = 8,       // the folder's files
    FD_PATH = 16,       // the components of the folder's path, first
    FD_SEPARATOR = 32,  // a separator line after the folder's contents
};

// Entry flags. As built: a path component is FE_FOLDER | FE_ONPATH, a
// sub-folder FE_CHILD | FE_FOLDER, a file FE_CHILD, a drive FE_FOLDER |
// FE_DRIVE, a special folder FE_FOLDER | FE_SPECIAL.
enum {
    FE_FOLDER = 1,      // a folder that can be opened
    FE_ONPATH = 2,      // a component of the listed path (open-folder icon)
    FE_DRIVE = 4,       // a drive root
    FE_SPECIAL = 8,     // a special shell folder
    FE_CHILD = 16,      // lies in the listed folder: its path is the folder's plus its name
    FE_SEPARATOR = 32,  // a separator line, no path
};

struct FileEntry {
    DataObjStr strPath;  // empty for FE_CHILD entries and separators
    DataObjStr strName;  // what the list shows
    int fFlags = 0;
    short nLevel = 0;                // indentation depth
    HICON hIcon = nullptr;           // loaded later (LoadIcon)
    LPITEMIDLIST pidlIcon = nullptr; // a special folder's item list, for its icon
};

class FileData : public SafeObject {
public:
    // Lists folder (turned into its full path). patterns: names to list,
    // separated by ";" (null or "*.*": every name); hwnd: the owner of what
    // the shell may show.
    FileData(const char* folder, const char* patterns, int options, HWND hwnd);
    ~FileData() override;

    int GetCount() const { return static_cast<int>(m_aEntry.size()); }
    const FileEntry& GetEntry(int i) const { return m_aEntry[i]; }
    // The entry's path; an index outside the entries gives the folder's.
    DataObjStr GetPath(int index) const;
    // Loads the small icon of entry i; true when it has one now that it did
    // not have before (its row is to be drawn again).
    bool LoadIcon(int i);

    DataObjStr m_strFolder;   // the listed folder, full path
    int m_fRead = 0;          // 1 when its contents were read without error
    int m_fOptions;
    int m_nCurrent = -1;      // the listed folder's own entry (last path component)

private:
    void Add(const DataObjStr& path, const DataObjStr& name, int flags, int level);
    void AddPath();
    void AddContents(const char* patterns, int level);
    void AddDrives();
    void AddSpecialFolders(HWND hwnd);

    std::vector<FileEntry> m_aEntry;
    IMalloc* m_pMalloc = nullptr;  // the shell's allocator, for the item lists
};

// Whether name matches one of the ";"-separated patterns: "?" is one
// character, "*" any run, double-byte characters compare exactly and
// single-byte letters in any case. A name without a dot is matched with one
// appended, so that "*." finds names without an extension. Null or "*.*"
// matches every name.
bool MatchNamePatterns(const char* name, const char* patterns);
