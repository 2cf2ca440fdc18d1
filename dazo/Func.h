// File and folder helpers over DataObjStr paths. A file operation that meets
// a sharing or access conflict retries for a bounded time; every failure is
// reported where it happens, with the path in the message, and the function
// then returns its failure value. All path scans step over the two bytes of a
// code page 932 double-byte character, so a trail byte 0x5C or 0x2F is never
// taken for a separator.
#pragma once

#include <windows.h>

#include "dazo/Data.h"

// The library's default retry: 5000 ms in all, 100 ms between attempts.
extern const DWORD DEF_RETRY_TIMEOUT;
extern const DWORD DEF_RETRY_INTERVAL;

// ---- Places (these end the program when the system cannot answer) --------

DataObjStr GetWindowsDir();
DataObjStr GetSystemDir();
DataObjStr GetProgramPath();
DataObjStr GetProgramDir();  // with its trailing backslash
// The first writable of %TMP%, %TEMP% and the Windows folder's TEMP, with a
// trailing backslash; empty when none is writable.
DataObjStr GetTempFolder();
int IsWritableFolder(const DataObjStr& folder);

// ---- Path text ------------------------------------------------------------

// Offset of the file-name part: after a leading drive letter and colon, or
// after the last backslash or slash, whichever is later.
int GetFileNamePos(const char* path);
// Offset of the last "." of the file-name part, or of the end.
int GetExtPos(const char* path);
DataObjStr GetDirPart(const DataObjStr& path);
// The root of a full path: "X:\" or "\\server\share\"; empty for any other.
DataObjStr GetRootPart(const DataObjStr& fullPath);
// Appends "\" unless the file-name part is empty or blank.
DataObjStr AddBackslash(const DataObjStr& path);
// Removes trailing blanks, then one trailing backslash unless it follows a
// colon; trims the capacity.
void RemoveBackslash(DataObjStr& path);
// An absolute path with every existing component spelled as on disk.
DataObjStr GetFullPath(const DataObjStr& path);
// 0 (with errno -3) when the path holds "<", ">" or "/"; else 1.
int CheckFileName(const char* path);

// ---- Existence and kind ---------------------------------------------------

enum {
    PT_ERROR = 0x01,     // could not be examined (reported)
    PT_NONE = 0x02,      // nothing exists at the path
    PT_DIRLIKE = 0x04,   // empty path, drive or share root, or folder
    PT_FOLDER = 0x08,    // with PT_DIRLIKE
    PT_FILE = 0x10,
    PT_BADNAME = 0x20,   // with PT_ERROR
};
int GetPathType(const DataObjStr& path);
// The same with nothing shown.
int GetPathTypeQuiet(const DataObjStr& path);

// ---- Files ----------------------------------------------------------------

enum {
    FE_RETRY = 1,     // 5, 32, 33: another program holds the file
    FE_DISKFULL = 2,  // 39, 112
    FE_NOTFOUND = 4,  // 2, 3, 18
};
int ClassifyFileError(DWORD err);

// OpenFileRetry statuses.
enum { OFR_FAILED = 0, OFR_OPENED = 1, OFR_TIMEDOUT = 2 };

// CreateFileA, retried for sharing and access conflicts when pTimeout and
// pInterval are given. A failure is reported ("ファイル <path> をオープンでき
// ません."), a time-out only when quiet bit 0 is clear.
HANDLE OpenFileRetry(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                     DWORD disposition, DWORD attributes, HANDLE templateFile, const DWORD* pTimeout,
                     const DWORD* pInterval, int quiet, int* pStatus);

// Writes all of data; a short write counts as a full disk (*pErr 112).
bool WriteAll(HANDLE file, const void* data, DWORD size, DWORD* pErr);

// CopyFileData flags and status bit.
enum {
    CFD_COPYTIME = 1,
    CFD_FLUSH = 2,
    CFD_RETRY = 4,
    CFD_NEWONLY = 8,
    CFD_STATUS_EXISTED = 1,
};
// 0 on success, -1 on failure.
int CopyFileData(const char* src, const char* dst, int flags, int* pStatus);
// 1 unless path is a read-only file; then 0, reported as its delete would be
// ("ファイルは読み取り専用です。").
int CheckNotReadOnly(const char* path);
// 1 when the file is gone (also when it was not there), 0 on failure.
int DeleteFileRetry(const char* path, DWORD msTimeout, DWORD msInterval);
// MoveFileA; the target must not exist. 1 on success, 0 on failure.
int RenameFileRetry(const char* from, const char* to, DWORD msTimeout, DWORD msInterval);
// Puts from in the place of to in one step (to may exist), so that a reader
// of to finds either the old or the new file at every moment; reported as a
// rename. A file that another program holds open holds the move up: retried.
int ReplaceFileRetry(const char* from, const char* to, DWORD msTimeout, DWORD msInterval);
// 1 with the free bytes, 0 on failure, -1 when the system cannot tell.
// (winbase.h still defines the 16-bit GetFreeSpace as a macro.)
#undef GetFreeSpace
int GetFreeSpace(const char* path, double* pBytes);

// Reports err on path: "ドライブ X: の準備ができていません." for a drive that
// is not ready, else the system's text.
int ReportFileError(DWORD err, int category, const DataObjStr& path, const DataObjStr& context);

// ---- Folders --------------------------------------------------------------

// An enumeration of FindFirstEntry/FindNextEntry; closes itself.
struct FindEntry {
    HANDLE hFind = INVALID_HANDLE_VALUE;
    DWORD dwMask = 0;  // hidden, system and folder entries are returned only when in the mask
    DataObjStr strFolder;
    WIN32_FIND_DATAA data;

    FindEntry() = default;
    FindEntry(const FindEntry&) = delete;
    FindEntry& operator=(const FindEntry&) = delete;
    ~FindEntry();
};
// 1: an entry in find->data; 0: no (more) entries; -1: an error (reported).
int FindFirstEntry(const char* pattern, DWORD attributeMask, FindEntry* find);
int FindNextEntry(FindEntry* find);

enum { DT_RECURSE = 1, DT_RETRYDELETE = 2 };
// Deletes what matches pattern ("C:\APP\*.*"); 1 when the enumeration ran to
// its end.
int DeleteTree(int flags, const char* pattern);
// 1 when the folder exists afterwards (created with its parents); reports.
int CreateDirTree(const DataObjStr& path);

// ---- Profile and registry -------------------------------------------------

// One value of an INI file (blank file: WIN.INI), however long; the default
// for a missing file, section or key. Reports nothing.
DataObjStr GetIniString(const char* section, const char* key, const char* deflt, const char* file);
// RegQueryValueExA into a string, growing on ERROR_MORE_DATA (10 attempts).
LONG RegQueryString(HKEY key, const char* name, DWORD* pType, DataObjStr* pOut, DWORD* pcb);
