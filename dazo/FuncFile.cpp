// Opening, copying, deleting and renaming files with bounded retries, and the
// report of a file error.
#include "base/errreport.h"
#include "dazo/Func.h"

int ClassifyFileError(DWORD err)
{
    switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FE_RETRY;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return FE_DISKFULL;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
        return FE_NOTFOUND;
    default:
        return 0;
    }
}

// The drive part of a path for the not-ready message: "X:", or the
// \\server\share root of a network path.
static DataObjStr DriveOf(const DataObjStr& path)
{
    DataObjStr root = GetRootPart(GetFullPath(path));
    return root.Mid(0, root.GetLength() - 1);
}

int ReportFileError(DWORD err, int category, const DataObjStr& path, const DataObjStr& context)
{
    if (err == ERROR_NOT_READY) {
        DataObjStr message;
        message << "ドライブ " << DriveOf(path) << " の準備ができていません.";
        return ReportError(category, message, context);
    }
    char message[sizeof(ErrorFrame::message)];
    GetSysErrorText(err, message, sizeof(message), 0);
    return ReportError(category, message, context);
}

// Whether an operation that failed with err should be tried again: a sharing
// or access conflict, while no more than *pTimeout ms have passed since start
// (pTimeout null: never).
static bool RetryAfter(DWORD err, DWORD start, const DWORD* pTimeout, DWORD msInterval, bool* timedOut)
{
    *timedOut = false;
    if (!(ClassifyFileError(err) & FE_RETRY) || !pTimeout)
        return false;
    if (GetTickCount() - start > *pTimeout) {
        *timedOut = true;
        return false;
    }
    Sleep(msInterval);
    return true;
}

// The retry parameters of the functions that take them by value: a time-out
// of 0 means no retry.
static const DWORD* TimeoutOrNone(const DWORD& msTimeout)
{
    return msTimeout ? &msTimeout : nullptr;
}

HANDLE OpenFileRetry(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                     DWORD disposition, DWORD attributes, HANDLE templateFile, const DWORD* pTimeout,
                     const DWORD* pInterval, int quiet, int* pStatus)
{
    if (!pInterval)
        pTimeout = nullptr;
    DWORD msInterval = pInterval ? *pInterval : 0;
    DWORD start = GetTickCount();
    DWORD err;
    bool timedOut;
    do {
        SetLastError(0);
        HANDLE file = CreateFileA(path, access, share, security, disposition, attributes, templateFile);
        if (file != INVALID_HANDLE_VALUE) {
            if (pStatus)
                *pStatus = OFR_OPENED;
            return file;
        }
        err = GetLastError();
    } while (RetryAfter(err, start, pTimeout, msInterval, &timedOut));

    if (pStatus)
        *pStatus = timedOut ? OFR_TIMEDOUT : OFR_FAILED;
    if (!timedOut || !(quiet & 1)) {
        DataObjStr context;
        context << "ファイル " << path << " をオープンできません.";
        ReportFileError(err, ERR_OPEN2, path, context);
    }
    // The caller may still ask why (the report may have changed it).
    SetLastError(err);
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const void* data, DWORD size, DWORD* pErr)
{
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr)) {
        *pErr = GetLastError();
        return false;
    }
    if (written != size) {
        *pErr = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

int CopyFileData(const char* src, const char* dst, int flags, int* pStatus)
{
    const DWORD* pTimeout = (flags & CFD_RETRY) ? &DEF_RETRY_TIMEOUT : nullptr;
    const DWORD* pInterval = (flags & CFD_RETRY) ? &DEF_RETRY_INTERVAL : nullptr;
    HANDLE in = OpenFileRetry(src, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr, pTimeout, pInterval, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return -1;
    HANDLE out = OpenFileRetry(dst, GENERIC_WRITE, 0, nullptr, (flags & CFD_NEWONLY) ? CREATE_NEW : CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr, pTimeout, pInterval, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        if (pStatus && GetLastError() == ERROR_FILE_EXISTS)
            *pStatus |= CFD_STATUS_EXISTED;
        CloseHandle(in);
        return -1;
    }

    char block[1024];
    DWORD err = 0;
    bool readFailed = false;
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, block, sizeof(block), &got, nullptr)) {
            err = GetLastError();
            readFailed = true;
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (!WriteAll(out, block, got, &err)) {
            ok = false;
            break;
        }
    }
    if (ok && (flags & CFD_COPYTIME)) {
        FILETIME created, accessed, written;
        if (GetFileTime(in, &created, &accessed, &written))
            SetFileTime(out, &created, &accessed, &written);
    }
    if (ok && (flags & CFD_FLUSH) && !FlushFileBuffers(out)) {
        err = GetLastError();
        ok = false;
    }
    CloseHandle(in);
    if (!CloseHandle(out) && ok) {
        err = GetLastError();
        ok = false;
    }
    if (ok)
        return 0;

    DataObjStr context;
    if (readFailed) {
        context << src << " を読み取ることができません.";
        ReportFileError(err, ERR_READ, src, context);
    } else {
        context << dst << " に書き込むことができません.";
        ReportFileError(err, ERR_WRITE, dst, context);
    }
    return -1;
}

static DataObjStr DeleteContext(const char* path)
{
    DataObjStr context;
    context << "ファイル " << path << "を削除できません";
    return context;
}

int CheckNotReadOnly(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
        return 1;
    ReportError(ERR_WRITE, "ファイルは読み取り専用です。", DeleteContext(path));
    return 0;
}

int DeleteFileRetry(const char* path, DWORD msTimeout, DWORD msInterval)
{
    DWORD start = GetTickCount();
    DWORD err;
    bool timedOut;
    do {
        if (DeleteFileA(path))
            return 1;
        err = GetLastError();
        if (ClassifyFileError(err) & FE_NOTFOUND)
            return 1;
    } while (RetryAfter(err, start, TimeoutOrNone(msTimeout), msInterval, &timedOut));

    if (err != ERROR_ACCESS_DENIED || CheckNotReadOnly(path))
        ReportFileError(err, ERR_WRITE, path, DeleteContext(path));
    return 0;
}

// MoveFileA, or MoveFileExA with moveFlags, with the retry rule; a failure is
// reported as a rename.
static int MoveRetry(const char* from, const char* to, DWORD moveFlags, DWORD msTimeout, DWORD msInterval)
{
    DWORD start = GetTickCount();
    DWORD err;
    bool timedOut;
    do {
        if (moveFlags ? MoveFileExA(from, to, moveFlags) : MoveFileA(from, to))
            return 1;
        err = GetLastError();
    } while (RetryAfter(err, start, TimeoutOrNone(msTimeout), msInterval, &timedOut));

    DataObjStr context;
    context << "[" << from << "]から[" << to << "]へファイル名を変更できません";
    ReportSysError(ERR_WRITE, err, context);
    SetLastError(err);
    return 0;
}

int RenameFileRetry(const char* from, const char* to, DWORD msTimeout, DWORD msInterval)
{
    return MoveRetry(from, to, 0, msTimeout, msInterval);
}

int ReplaceFileRetry(const char* from, const char* to, DWORD msTimeout, DWORD msInterval)
{
    // Windows 95, 98 and Me have no replacing move: there the old file is
    // deleted first, and a crash in between leaves the new text only at from.
    if (GetVersion() & 0x80000000)
        return DeleteFileRetry(to, msTimeout, msInterval) && RenameFileRetry(from, to, msTimeout, msInterval);
    return MoveRetry(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, msTimeout, msInterval);
}

int GetFreeSpace(const char* path, double* pBytes)
{
    *pBytes = 0;
    DataObjStr root = GetRootPart(GetFullPath(path));

    using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    auto getEx = reinterpret_cast<GetDiskFreeSpaceExFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
    if (getEx) {
        ULARGE_INTEGER available, total, free;
        if (!getEx(root, &available, &total, &free))
            return 0;
        *pBytes = (double)available.LowPart + (double)available.HighPart * 4294967296.0;
        return 1;
    }

    // Windows 95 before OSR2 has no Ex call and cannot tell the free space of
    // a network share.
    const char* r = root;
    if (r[0] == '\\' && r[1] == '\\') {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        GetVersionExA(&version);
        if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMajorVersion < 5)
            return -1;
    }
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return 0;
    *pBytes = (double)freeClusters * sectorsPerCluster * bytesPerSector;
    return 1;
}
