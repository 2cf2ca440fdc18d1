// The file list "SETUP.LST": one entry per line of a section, key=value,
// whose value holds nine comma-separated fields (disk, compressed, source,
// target, folder, three unused texts, a reserved number). The folder field
// may hold the path macros $(AppPath), $(DocPath), $(WinPath) and
// $(WinSysPath), in any case.
#pragma once

#include <cstdint>

#include "dazo/Data.h"

class FEnv2;

// One parsed entry.
struct FileListEntry {
    DataObjStr m_strName;    // field 4: target file name, as written
    DataObjStr m_strSource;  // field 3: source file name, as written; blank: delete the target
    DataObjStr m_strFolder;  // field 5: target folder, macros expanded, ending in a backslash
    int32_t m_nDisk = 0;     // field 1: disk number for the disk prompt; 0: none
    int32_t m_nReserved = 0; // field 9: read, used by nobody
    int32_t m_fCompressed = 0; // field 2: not 0: expand while copying
};

// Splits the value of an entry into *entry. Never fails: missing fields are
// empty, malformed numbers 0.
void ParseListLine(const char* value, FileListEntry* entry, const DataObjStr& appPath, const DataObjStr& docPath);

// The entry of key in section of the open list: 1 with *entry filled; 0 when
// the key is missing or its value is blank (such an entry is skipped).
int ReadListEntry(FEnv2* list, const char* section, const char* key, const DataObjStr& appPath,
                  const DataObjStr& docPath, FileListEntry* entry);

// Replaces the path macros of text by their folders, each ending in a
// backslash.
DataObjStr ExpandPathMacros(const char* text, const DataObjStr& appPath, const DataObjStr& docPath);

// 0 when text begins with name (double-byte characters exact, other bytes in
// any case), 1 otherwise.
int MatchPrefix(const char* text, const char* name);

// Creates the folder and every missing parent; non-zero when the folder
// exists afterwards. Shows nothing: the caller reports.
int CreateFolderTree(const DataObjStr& folder);
