#include "setup/filelist.h"

#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "dazo/Func.h"
#include "dazo/envname.h"
#include "dazo/fenv2.h"

// The next field of a list value at *p: spaces skipped, a quoted field up to
// its closing quote (commas inside are part of it), else up to the next
// comma; the comma after the field is consumed. Quotes and commas are never
// the second byte of a double-byte character, so a byte scan is safe.
static DataObjStr NextField(const char** p)
{
    const char* s = *p;
    while (*s == ' ')
        ++s;
    DataObjStr field;
    if (*s == '"') {
        const char* start = ++s;
        while (*s && *s != '"')
            ++s;
        field = DataObjStr(start, (int)(s - start));
        if (*s == '"')
            ++s;
    } else {
        const char* start = s;
        while (*s && *s != ',')
            ++s;
        field = DataObjStr(start, (int)(s - start));
    }
    if (*s == ',')
        ++s;
    *p = s;
    return field;
}

void ParseListLine(const char* value, FileListEntry* entry, const DataObjStr& appPath, const DataObjStr& docPath)
{
    const char* p = value;
    entry->m_nDisk = std::atol(NextField(&p));
    entry->m_fCompressed = std::atol(NextField(&p));
    entry->m_strSource = NextField(&p);
    entry->m_strName = NextField(&p);
    entry->m_strFolder = AddBackslash(ExpandPathMacros(NextField(&p), appPath, docPath));
    for (int unused = 6; unused <= 8; ++unused)
        NextField(&p);
    entry->m_nReserved = std::atol(NextField(&p));
}

int ReadListEntry(FEnv2* list, const char* section, const char* key, const DataObjStr& appPath,
                  const DataObjStr& docPath, FileListEntry* entry)
{
    DataObjStr value;
    int found = 0;
    list->GetString(value, section, key, "", &found);
    if (!found || IsBlankText(value))
        return 0;
    ParseListLine(value, entry, appPath, docPath);
    return 1;
}

int MatchPrefix(const char* text, const char* name)
{
    return MatchNameAt(text, nullptr, name) ? 0 : 1;
}

// The macros in the order they are tried.
static const char* const s_macros[] = {"$(AppPath)", "$(DocPath)", "$(WinPath)", "$(WinSysPath)"};
static const int MACRO_COUNT = sizeof(s_macros) / sizeof(s_macros[0]);

// The folder of macro i, with the trailing-backslash rule. The system folders
// are asked for only when a macro names them: the program ends when the
// system cannot tell them.
static DataObjStr MacroFolder(int i, const DataObjStr& appPath, const DataObjStr& docPath)
{
    switch (i) {
    case 0:
        return AddBackslash(appPath);
    case 1:
        return AddBackslash(docPath);
    case 2:
        return AddBackslash(GetWindowsDir());
    default:
        return AddBackslash(GetSystemDir());
    }
}

DataObjStr ExpandPathMacros(const char* text, const DataObjStr& appPath, const DataObjStr& docPath)
{
    DataObjStr result;
    for (const char* p = text; *p;) {
        int i = 0;
        while (i < MACRO_COUNT && MatchPrefix(p, s_macros[i]) != 0)
            ++i;
        if (i < MACRO_COUNT) {
            result << MacroFolder(i, appPath, docPath);
            p += std::strlen(s_macros[i]);
        } else {
            result << *p++;
        }
    }
    return result;
}

int CreateFolderTree(const DataObjStr& folder)
{
    DataObjStr path(folder);
    RemoveBackslash(path);
    if (GetPathTypeQuiet(path) & PT_DIRLIKE)
        return 1;
    if (CreateDirectoryA(path, nullptr))
        return 1;
    int namePos = GetFileNamePos(path);
    if (namePos >= path.GetLength())
        return 0;
    CreateFolderTree(path.Mid(0, namePos));
    return CreateDirectoryA(path, nullptr) ? 1 : 0;
}
