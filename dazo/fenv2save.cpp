// FEnv2::Save: the new text goes to path + ".BAK" first, then takes the place
// of the file in one step, so that a program that opens the file at any
// moment finds either the old or the new complete text.
#include "dazo/fenv2.h"

#include "base/errreport.h"
#include "dazo/Func.h"
#include "dazo/sharedsec.h"

int FEnv2::Save()
{
    if (!(m_dwFlags & ENV_LOADED)) {
        ReportErrorText("読み込みに成功していないので保存はできません", m_strPath);
        return 0;
    }
    if (m_dwFlags & ENV_LOCK) {
        DWORD secure = (m_dwFlags & ENV_SECURE) ? FL_SECURE : 0;
        if (!m_pLock->Lock(m_strLockPath, FL_DELETE | secure, m_msTimeout, m_msInterval)) {
            ReportLockTimeout(ERR_WRITE, "へ書き込むことができません");
            return 0;
        }
    }
    // The replacing move takes no heed of a read-only file under Wine (the
    // attribute is lost) and fails on Windows only after its retries: the
    // file is refused first, as deleting it would be.
    DataObjStr bak = m_strPath + ".BAK";
    int saved = CheckNotReadOnly(m_strPath) && WriteCopy(bak) &&
                ReplaceFileRetry(bak, m_strPath, DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL);
    if (m_dwFlags & ENV_LOCK)
        m_pLock->Unlock();
    return saved;
}

int FEnv2::WriteCopy(const DataObjStr& bak)
{
    SECURITY_ATTRIBUTES* security = (m_dwFlags & ENV_SECURE) ? GetSharedSecurity() : nullptr;
    DWORD attributes = (m_dwFlags & ENV_HIDDEN) ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    HANDLE file = OpenFileRetry(bak, GENERIC_WRITE, 0, security, CREATE_ALWAYS, attributes, nullptr,
                                &DEF_RETRY_TIMEOUT, &DEF_RETRY_INTERVAL, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;

    DWORD err = NO_ERROR;
    DWORD written = 0;
    if (m_sizeData > 0 && !WriteFile(file, m_buff, m_sizeData, &written, nullptr))
        err = GetLastError();
    else if (written != m_sizeData)
        err = ERROR_DISK_FULL;
    if (err == NO_ERROR && !FlushFileBuffers(file))
        err = GetLastError();
    if (!CloseHandle(file) && err == NO_ERROR)
        err = GetLastError();
    if (err != NO_ERROR) {
        ReportFileError(err, ERR_WRITE, bak, bak + "に書き込みできません");
        return 0;
    }
    return 1;
}
