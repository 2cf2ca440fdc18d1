#include "base/logfile.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "base/text.h"

static char s_szName[80];
static bool s_fOn;
// Set when the file could not be opened once: the log is given up for good.
static bool s_fOpenFailed;

void lf_init(const char* name, int flags)
{
    if (s_szName[0])
        return;
    SjisCopyCut(s_szName, sizeof(s_szName), name ? name : "CORVA.LOG");
    if (flags & 2)
        DeleteFileA(s_szName);
    s_fOn = true;
    lf_write("ログ開始 lf_init", 1);
}

void lf_fin()
{
    lf_write("ログ終了 lf_fin", 1);
}

void lf_write(const char* text, int flags)
{
    if (!s_szName[0] || !s_fOn || s_fOpenFailed)
        return;
    int fd = _open(s_szName, _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        s_fOpenFailed = true;
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    int n = std::snprintf(stamp, sizeof(stamp), "%02d/%02d/%02d %02d:%02d:%02d ", now.wYear % 100, now.wMonth,
                          now.wDay, now.wHour, now.wMinute, now.wSecond);
    _write(fd, stamp, n);
    _write(fd, text, (unsigned)std::strlen(text));
    if (flags & 1)
        _write(fd, "\r\n", 2);
    _close(fd);
}

void lf_enable(int on)
{
    s_fOn = on != 0;
}

int lf_isenabled()
{
    return s_fOn;
}
