// FileLock: a lock file beside a settings file, through which programs that
// use the same file take turns. Holding the lock means holding the lock file
// open: readers share it (read access, read sharing), a writer has it alone
// (read and write access, no sharing). Whoever closes it last can delete it,
// because the system refuses to delete a file that another holder keeps open.
#pragma once

#include <windows.h>

#include "dazo/Data.h"
#include "dazo/SafeObject.h"

enum {
    FL_SHARED = 0x01,   // one of several readers; without it, the only holder
    FL_DELETE = 0x02,   // delete the lock file when unlocking
    FL_WAITING = 0x04,  // state: attempts are being made; left set when they ran out of time
    FL_SECURE = 0x08,   // create the lock file with the shared security attributes
};

class FileLock : public SafeObject {
public:
    ~FileLock() override;

    // Opens the lock file at path, retrying while another holder is in the
    // way, for up to msTimeout ms with msInterval ms between attempts.
    // Non-zero when the lock is held. A time-out is silent (FL_WAITING stays
    // set, so that the caller can name the file it wanted); any other failure
    // is reported.
    int Lock(const DataObjStr& path, DWORD flags, DWORD msTimeout, DWORD msInterval);
    void Unlock();

    bool IsLocked() const { return m_hFile != INVALID_HANDLE_VALUE; }
    DWORD GetFlags() const { return m_dwFlags; }

private:
    DWORD m_dwFlags = 0;
    DataObjStr m_strPath;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
