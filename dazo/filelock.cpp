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
    // Quiet: a time-out is left to the caller, who names the file it wanted;
    // any other failure is reported by the open.
    int status;
    m_hFile = OpenFileRetry(path, access, sharing, security, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr, &msTimeout,
                            &msInterval, 1, &status);
    if (status != OFR_TIMEDOUT)
        m_dwFlags &= ~FL_WAITING;
    return IsLocked();
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
