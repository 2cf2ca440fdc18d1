#include "dazo/filelock.h"

#include "base/errreport.h"
#include "dazo/Func.h"
#include "dazo/sharedsec.h"

static const char s_szSrc[] = "dazo/filelock";

FileLock::~FileLock()
{
    Unlock();
}

int FileLock::Lock(const DataObjStr& path, DWORD flags, DWORD msTimeout, DWORD msInterval)
{
    DZ_ASSERT(s_szSrc, (flags & ~0x0BuL)==0);
    if (IsLocked())
        return 1;

    m_strPath = path;
    m_dwFlags = flags | FL_WAITING;
    bool shared = (flags & FL_SHARED) != 0;
    DWORD access = shared ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD sharing = shared ? FILE_SHARE_READ : 0;
    SECURITY_ATTRIBUTES* security = (flags & FL_SECURE) ? GetSharedSecurity() : nullptr;
    DWORD start = GetTickCount();
    for (;;) {
        m_hFile = CreateFileA(path, access, sharing, security, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (m_hFile != INVALID_HANDLE_VALUE)
            break;
        DWORD err = GetLastError();
        if (!(ClassifyFileError(err) & FE_RETRY)) {
            m_dwFlags &= ~FL_WAITING;
            DataObjStr context;
            context << "ファイル " << path << " をオープンできません.";
            ReportFileError(err, ERR_OPEN2, path, context);
            return 0;
        }
        if (GetTickCount() - start > msTimeout)
            return 0;
        Sleep(msInterval);
    }
    m_dwFlags &= ~FL_WAITING;
    return 1;
}

void FileLock::Unlock()
{
    if (!IsLocked())
        return;
    CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    // Fails while another holder keeps the file open; that holder deletes it.
    if (m_dwFlags & FL_DELETE)
        DeleteFileA(m_strPath);
}
