// Error reporting. A failure is recorded where it happens, in the current
// error frame: the base frame shows it at once; a caller that wants to look at
// errors or swallow them pushes a collecting frame around the operation. The
// first error recorded in a frame wins. Every reporting function returns -1,
// or does not return for a fatal category (ERR_NOMEM, ERR_FATAL).
#pragma once

#include <windows.h>

enum {
    ERR_OPEN = 1,
    ERR_CLOSE = 2,
    ERR_READ = 3,
    ERR_WRITE = 4,
    ERR_NOMEM = 5,
    ERR_DISKFULL = 6,
    ERR_SYSTEM = 7,
    ERR_USER = 8,
    ERR_NOTFOUND = 9,
    ERR_OPEN2 = 10,
    ERR_DATA = 11,
    ERR_FATAL = 12,
};

// Frame modes.
enum {
    ERRMODE_COLLECT = 0,  // keep the first error for the caller
    ERRMODE_SHOW = 1,     // show at once
    ERRMODE_IGNORE = 2,   // drop every error
};

// Passed as the message: use the category's own text.
#define ERR_MSG_CATEGORY ((const char*)1)

struct ErrorFrame {
    signed char mode;
    char context[341];  // what was being done, or on what; 340 bytes at most
    signed char code;   // category of the held error; 0 = none
    char message[341];  // 340 bytes at most
    int detail;         // optional detail number; 0 = none
    ErrorFrame* outer;
};

// Replaces the display of non-fatal errors (the window framework queues them).
extern void (*g_pfnErrorHook)(int category, const char* context, const char* message);

// Start-up: error mode, default caption, display metrics, message-box thread.
// Returns 0 when the thread could not be started (after the fatal report).
int InitErrorReport(HINSTANCE hInstance, const char* caption);
// Exit: shows what is still queued, then stops the message-box thread.
void FinErrorReport();

extern HINSTANCE g_hInstance;
extern int g_nAveCharWidth;  // of the display font, measured at start-up
extern int g_nCharHeight;

int ReportError(int category, const char* message, const char* context, int detail = 0);
int ReportErrorCode(int category, const char* context);
int ReportSysError(int category, DWORD sysError, const char* context, int detail = 0);
int ReportErrorText(const char* message, const char* context);
int ReportComError(HRESULT hr, const char* context);

void PushErrorFrame(ErrorFrame* frame);
void PopErrorFrame();
int SetErrorFrameMode(int mode);
void ClearError();
// 0 without an error; else the detail when non-zero, else the category.
int GetError();
// Copies the current frame's code, detail, message and context to *out.
void GetErrorInfo(ErrorFrame* out);

// The category's text ("エラーです" for an unknown one); with useErrno, the
// ERR_OPEN text follows errno 2 (no such file or directory).
const char* ErrorCategoryText(int category, bool useErrno);

// Japanese text of a system error code (also the LZ codes -1 to -8), or null.
const char* SysErrorString(DWORD code);
// Writes the text (flag bit 0: with "(番号：n)") into buf, size bytes at most
// with the NUL; returns the size the whole text needs.
int GetSysErrorText(DWORD code, char* buf, int size, int flags);

// The critical-error dialog: returns IDRETRY or ends the process.
int FatalRetry(DWORD sysError, const char* context);
[[noreturn]] void FatalExit(const char* text);
[[noreturn]] void AssertFail(const char* file, int line, const char* expression);
// The assertion display, replaceable; the default one ends the process.
extern void (*g_pfnAssertDisplay)(const char* file, int line, const char* expression);

// Checks an assertion; src names the module as "dazo/Data" and the like.
#define DZ_ASSERT(src, expr) ((expr) ? (void)0 : AssertFail(src, __LINE__, #expr))

struct CommDlgErrorInfo {
    int category;
    char name[30];
    char text[80];
};
void GetCommDlgError(DWORD code, CommDlgErrorInfo* info);
