// FEnv2 construction: the lock, reading the file whole, the growth rule.
#include "dazo/fenv2.h"

#include <cstring>

#include "base/errreport.h"
#include "base/memory.h"
#include "dazo/Func.h"

// The largest buffer: beyond it the sizes would no longer fit the 32-bit
// fields, so the request counts as running out of memory.
static const uint64_t MAX_ALLOC = 0x7FFFFFFF;

FEnv2::FEnv2(const DataObjStr& path, DWORD flags, DWORD msTimeout, DWORD msInterval)
    : m_dwFlags(flags & ~(ENV_LOADED | ENV_DIRTY)),
      m_pLock(new FileLock),
      m_strPath(path),
      m_strLockPath(path + ".lc$"),
      m_msTimeout(msTimeout),
      m_msInterval(msInterval)
{
    // Even an object whose file could not be read answers lookups (with the
    // defaults) and takes writes, so it always has a buffer.
    Reserve(0);

    DWORD secure = (m_dwFlags & ENV_SECURE) ? FL_SECURE : 0;
    if (m_dwFlags & ENV_HOLDLOCK) {
        m_dwFlags &= ~ENV_LOCK;
        if (!m_pLock->Lock(m_strLockPath, FL_DELETE | secure, m_msTimeout, m_msInterval)) {
            ReportLockTimeout(ERR_READ, "をロックすることができません");
            return;
        }
    } else if (m_dwFlags & ENV_LOCK) {
        if (!m_pLock->Lock(m_strLockPath, FL_SHARED | FL_DELETE | secure, m_msTimeout, m_msInterval)) {
            ReportLockTimeout(ERR_READ, "を読み込むことができません");
            return;
        }
    }
    Read();
    if (m_dwFlags & ENV_LOCK)
        m_pLock->Unlock();
}

FEnv2::~FEnv2()
{
    DzFree(m_buff);
}

void FEnv2::ReportLockTimeout(int category, const char* contextTail)
{
    // Any other lock failure has been reported by the lock itself.
    if (m_pLock->GetFlags() & FL_WAITING)
        ReportError(category, m_strLockPath + "の共有違反が発生しました", m_strPath + contextTail);
}

void FEnv2::Reserve(uint64_t size)
{
    if (m_buff && size <= m_sizeAlloc)
        return;
    uint64_t alloc = size + m_sizeGrow > m_sizeMin ? size + m_sizeGrow : m_sizeMin;
    if (alloc > MAX_ALLOC)
        ReportErrorCode(ERR_NOMEM, "");
    char* buff = static_cast<char*>(DzAlloc((size_t)alloc));
    if (m_buff)
        std::memcpy(buff, m_buff, m_sizeData);
    DzFree(m_buff);
    m_buff = buff;
    m_sizeAlloc = (uint32_t)alloc;
}

void FEnv2::Read()
{
    DWORD disposition = (m_dwFlags & ENV_CREATE) ? OPEN_ALWAYS : OPEN_EXISTING;
    DWORD attributes = (m_dwFlags & ENV_HIDDEN) ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    HANDLE file = OpenFileRetry(m_strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, disposition, attributes, nullptr,
                                &DEF_RETRY_TIMEOUT, &DEF_RETRY_INTERVAL, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;

    DWORD err = NO_ERROR;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE)
        err = GetLastError();
    if (err == NO_ERROR) {
        Reserve(((uint64_t)high << 32) + size);
        DWORD got = 0;
        if (!ReadFile(file, m_buff, size, &got, nullptr))
            err = GetLastError();
        else if (got != size)
            err = ERROR_HANDLE_EOF;  // the file shrank under us
    }
    CloseHandle(file);
    if (err != NO_ERROR) {
        ReportFileError(err, ERR_OPEN2, m_strPath, m_strPath + "を読み込むことができません");
        return;
    }
    m_dwFlags |= ENV_LOADED;
    m_sizeData = size;
    TrimEnd();
}

// Drops a trailing 0x1A, then one LF, then one CR, and ends a non-empty text
// with CR LF, so that the text always ends with a complete line.
void FEnv2::TrimEnd()
{
    if (m_sizeData > 0 && m_buff[m_sizeData - 1] == 0x1A)
        --m_sizeData;
    if (m_sizeData > 0 && m_buff[m_sizeData - 1] == '\n')
        --m_sizeData;
    if (m_sizeData > 0 && m_buff[m_sizeData - 1] == '\r')
        --m_sizeData;
    if (m_sizeData > 0) {
        Reserve((uint64_t)m_sizeData + 2);
        m_buff[m_sizeData++] = '\r';
        m_buff[m_sizeData++] = '\n';
    }
}
