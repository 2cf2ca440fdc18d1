// One file copied or expanded into the place of its target.
//
// The new bytes go into a temporary file beside the target, which gets the
// source's last-write time, is flushed, and then replaces the target in one
// step. Writing over the target directly would leave it empty or half
// written after a damaged source, a full disk or a killed process: a working
// DARVO5.EXE would turn into a broken one during an update. A target that
// another program holds shows when the new file cannot take its place; the
// temporary file is then deleted and the caller asks the user to retry.
#include <windows.h>
#include <lzexpand.h>

#include <cstdio>
#include <cstring>

#include "base/errreport.h"
#include "dazo/Func.h"
#include "setup/copyengine.h"
#include "setup/copyreport.h"
#include "setup/filelist.h"

static const DWORD COPY_BLOCK = 16384;
// The one transfer buffer of every copy: the engine runs on one thread.
static BYTE g_abCopyBuffer[COPY_BLOCK];

namespace {

// What one copy holds open. Everything is closed, and an unfinished
// temporary file deleted, on every way out.
struct CopyHandles {
    HANDLE hSource = INVALID_HANDLE_VALUE;
    INT hExpand = -1;  // once set, it owns hSource: LZClose closes both
    HANDLE hTemp = INVALID_HANDLE_VALUE;
    DataObjStr strTemp;  // the temporary file until it takes the target's place

    CopyHandles() = default;
    CopyHandles(const CopyHandles&) = delete;
    CopyHandles& operator=(const CopyHandles&) = delete;
    ~CopyHandles()
    {
        if (hExpand >= 0)
            LZClose(hExpand);
        else if (hSource != INVALID_HANDLE_VALUE)
            CloseHandle(hSource);
        if (hTemp != INVALID_HANDLE_VALUE)
            CloseHandle(hTemp);
        if (strTemp.GetLength() > 0)
            DeleteFileA(strTemp);
    }
};

// The header of a compressed file: the magic, the method 'A', the last
// character of the original name, the expanded length (little-endian).
const BYTE SZDD_MAGIC[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
const DWORD SZDD_HEADER_SIZE = 14;

}  // namespace

// A new file in folder, created exclusively so that no other file is ever
// overwritten; true with h->hTemp and h->strTemp set, else false with the
// system error in *pErr. The name is too long for a short (8.3) name: Wine
// looks for a new name that could be a short name by working out the short
// name of every file in the folder, which in a folder of a thousand files
// makes the look-up half as dear again.
static bool CreateTempIn(CopyHandles* h, const DataObjStr& folder, DWORD* pErr)
{
    DWORD seed = GetTickCount() ^ GetCurrentProcessId();
    *pErr = ERROR_FILE_EXISTS;
    for (DWORD i = 0; i < 0x10000 && *pErr == ERROR_FILE_EXISTS; ++i) {
        char name[24];
        std::snprintf(name, sizeof(name), "DZCOPY%04X.TMP", (unsigned)((seed + i) & 0xFFFF));
        DataObjStr path = folder + name;
        h->hTemp = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h->hTemp != INVALID_HANDLE_VALUE) {
            h->strTemp = path;
            return true;
        }
        *pErr = GetLastError();
    }
    return false;
}

// The temporary file beside the target. The target's folder is made (with
// its parents) only when it turns out to be missing: looking for it first
// would cost every file a look-up. A folder that cannot be made shows as
// the failure to write the target.
static int CreateTempBeside(CopyHandles* h, const DataObjStr& target)
{
    DataObjStr folder = GetDirPart(target);
    DWORD err;
    if (CreateTempIn(h, folder, &err))
        return COPY_DONE;
    if (err == ERROR_PATH_NOT_FOUND) {
        CreateFolderTree(folder);
        if (CreateTempIn(h, folder, &err))
            return COPY_DONE;
    }
    return ReportWriteFailure(err, target);
}

static int OpenSource(CopyHandles* h, const DataObjStr& source)
{
    h->hSource = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return h->hSource != INVALID_HANDLE_VALUE ? COPY_DONE : ReportReadFailure(GetLastError(), source);
}

// Writes a block of the new content; a short write counts as a full disk.
static int WriteBlock(CopyHandles* h, DWORD size, const DataObjStr& target)
{
    DWORD err;
    return WriteAll(h->hTemp, g_abCopyBuffer, size, &err) ? COPY_DONE : ReportWriteFailure(err, target);
}

static int CopyPlain(CopyHandles* h, const DataObjStr& source, const DataObjStr& target)
{
    int result = OpenSource(h, source);
    while (result == COPY_DONE) {
        DWORD got = 0;
        if (!ReadFile(h->hSource, g_abCopyBuffer, COPY_BLOCK, &got, nullptr))
            return ReportReadFailure(GetLastError(), source);
        if (got == 0)
            break;
        result = WriteBlock(h, got, target);
    }
    return result;
}

// The number of bytes the source must expand to: the length in its header,
// or its size when it is not in the compressed format (LZ32 reads such a
// file as it is). 1 with *pLength set; 0 for a header that is cut off or
// names another method, which LZ32 would also read as a plain file and so
// install the compressed bytes; -1 when the source cannot be read.
static int ExpandedLength(HANDLE source, DWORD* pLength)
{
    BYTE header[SZDD_HEADER_SIZE];
    DWORD got = 0;
    if (!ReadFile(source, header, sizeof(header), &got, nullptr))
        return -1;
    if (got < sizeof(SZDD_MAGIC) || std::memcmp(header, SZDD_MAGIC, sizeof(SZDD_MAGIC)) != 0) {
        *pLength = GetFileSize(source, nullptr);
        return 1;
    }
    if (got < SZDD_HEADER_SIZE || header[8] != 'A')
        return 0;
    *pLength = header[10] | (DWORD)header[11] << 8 | (DWORD)header[12] << 16 | (DWORD)header[13] << 24;
    return 1;
}

// The source is opened here and handed to LZInit rather than opened by
// LZOpenFileA, whose OFSTRUCT holds 128 bytes of path: a source deeper than
// that (a medium copied into a folder with a long name) would not open. The
// platform's expander reports no error for a cut-off or damaged file (Wine's
// does not, nor does every Windows one): the count of bytes expanded must
// match the header's length.
static int CopyExpanded(CopyHandles* h, const DataObjStr& source, const DataObjStr& target)
{
    int result = OpenSource(h, source);
    if (result != COPY_DONE)
        return result;
    DWORD expected = 0;
    switch (ExpandedLength(h->hSource, &expected)) {
    case -1:
        return ReportReadFailure(GetLastError(), source);
    case 0:
        return ReportExpandFailure(source);
    }
    SetFilePointer(h->hSource, 0, nullptr, FILE_BEGIN);
    // Handles fit in 32 bits on 64-bit Windows too.
    h->hExpand = LZInit((HFILE)(INT_PTR)h->hSource);
    if (h->hExpand < 0)
        return ReportExpandFailure(source);
    DWORD total = 0;
    for (;;) {
        INT got = LZRead(h->hExpand, reinterpret_cast<char*>(g_abCopyBuffer), COPY_BLOCK);
        if (got == 0)
            break;
        if (got < 0 || (DWORD)got > expected - total)
            return ReportExpandFailure(source);
        total += (DWORD)got;
        if ((result = WriteBlock(h, (DWORD)got, target)) != COPY_DONE)
            return result;
    }
    return total == expected ? COPY_DONE : ReportExpandFailure(source);
}

// Gives the new content the source's last-write time (creation and access
// times stay as the system sets them), flushes and closes it.
static int FinishTemp(CopyHandles* h, const DataObjStr& source, const DataObjStr& target)
{
    FILETIME written;
    if (!GetFileTime(h->hSource, nullptr, nullptr, &written))
        return ReportReadFailure(GetLastError(), source);
    if (!SetFileTime(h->hTemp, nullptr, nullptr, &written))
        return ReportWriteFailure(GetLastError(), target);
    HANDLE temp = h->hTemp;
    h->hTemp = INVALID_HANDLE_VALUE;
    bool ok = FlushFileBuffers(temp) != 0;
    DWORD err = GetLastError();
    if (!CloseHandle(temp) && ok) {
        ok = false;
        err = GetLastError();
    }
    return ok ? COPY_DONE : ReportWriteFailure(err, target);
}

// Moves the temporary file over the target in one step; false with the
// system error in *pErr. The move's own report (a rename failure) is not the
// one the user is to see: it is swallowed, and the caller makes the copy's.
static bool MoveOverTarget(const DataObjStr& temp, const DataObjStr& target, DWORD* pErr)
{
    ErrorFrame frame;
    PushErrorFrame(&frame);
    bool moved = ReplaceFileRetry(temp, target, 0, 0) != 0;
    *pErr = GetLastError();
    ClearError();
    PopErrorFrame();
    return moved;
}

// Puts the finished file in the target's place. Another program holding the
// target makes the move fail (access denied or a sharing violation): that is
// COPY_INUSE, and the user is asked to end the program and retry.
static int ReplaceTarget(CopyHandles* h, const DataObjStr& target)
{
    DWORD err;
    bool moved = MoveOverTarget(h->strTemp, target, &err);
    // Windows refuses to move a file over a read-only one (Wine does not): a
    // read-only, hidden or system target gives way and the move is tried
    // again. Only then, so that a failed copy leaves the target as it was.
    if (!moved && err == ERROR_ACCESS_DENIED && SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL))
        moved = MoveOverTarget(h->strTemp, target, &err);
    if (moved) {
        h->strTemp = DataObjStr();
        return COPY_DONE;
    }
    if (ClassifyFileError(err) & FE_RETRY)
        return COPY_INUSE;
    return ReportWriteFailure(err, target);
}

int CopyOneFile(int fCompressed, const DataObjStr& source, const DataObjStr& target)
{
    CopyHandles h;
    int result = CreateTempBeside(&h, target);
    if (result == COPY_DONE)
        result = fCompressed ? CopyExpanded(&h, source, target) : CopyPlain(&h, source, target);
    if (result == COPY_DONE)
        result = FinishTemp(&h, source, target);
    if (result == COPY_DONE)
        result = ReplaceTarget(&h, target);
    return result;
}
