#include "base/errreport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/logfile.h"
#include "base/text.h"
#include "base/msgbox.h"

void (*g_pfnErrorHook)(int category, const char* context, const char* message);

static ErrorFrame s_baseFrame = {ERRMODE_SHOW, "", 0, "", 0, nullptr};
static ErrorFrame* s_pFrame = &s_baseFrame;

static bool IsFatal(int category)
{
    return category == ERR_NOMEM || category == ERR_FATAL;
}

const char* ErrorCategoryText(int category, bool useErrno)
{
    switch (category) {
    case ERR_OPEN:
        return useErrno && errno == ENOENT ? "ファイルまたはディレクトリが見つかりません" : "オープンできません";
    case ERR_CLOSE:
        return "クローズできません";
    case ERR_READ:
        return "読み込みに失敗";
    case ERR_WRITE:
        return "書き込みに失敗";
    case ERR_NOMEM:
        return "メモリが足りません";
    case ERR_DISKFULL:
        return "ディスクの空きが足りません";
    case ERR_NOTFOUND:
        return "ファイルが見つかりません";
    case ERR_OPEN2:
        return "オープンできません";
    case ERR_DATA:
        return "入力データエラー";
    case ERR_FATAL:
        return "致命的なエラー";
    default:
        return "エラーです";
    }
}

static void LogError(const char* context, const char* message)
{
    static const char s_szPrefix[] = "FFERROR : ";
    size_t size = sizeof(s_szPrefix) + std::strlen(context) + 1 + std::strlen(message);
    // The log line must not itself need the allocator that may have failed.
    char* line = static_cast<char*>(std::malloc(size));
    if (!line) {
        lf_write("FFERROR : メモリ不足", 1);
        return;
    }
    std::snprintf(line, size, "%s%s %s", s_szPrefix, context, message);
    lf_write(line, 1);
    std::free(line);
}

// Shows one error: the message alone when the context is blank, the context
// alone when the message is blank, else the message, a blank line and the
// context. A fatal category ends the process afterwards.
static void DisplayError(int category, const char* context, const char* message)
{
    LogError(context, message);
    if (g_pfnErrorHook && !IsFatal(category)) {
        g_pfnErrorHook(category, context, message);
        return;
    }
    char text[sizeof(ErrorFrame::message) + 2 + sizeof(ErrorFrame::context)];
    if (IsBlankText(context)) {
        SjisCopyCut(text, sizeof(text), message);
    } else if (IsBlankText(message)) {
        SjisCopyCut(text, sizeof(text), context);
    } else {
        SjisCopyCut(text, sizeof(text), message);
        SjisAppendCut(text, sizeof(text), "\n\n");
        SjisAppendCut(text, sizeof(text), context);
    }
    ShowMessage(nullptr, text, g_szAppTitle, MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
    if (IsFatal(category))
        FatalExit(nullptr);
}

static void DisplayHeldError(ErrorFrame* frame)
{
    DisplayError(frame->code, frame->context, frame->message);
    frame->code = 0;
}

int ReportError(int category, const char* message, const char* context, int detail)
{
    if (message == ERR_MSG_CATEGORY)
        message = ErrorCategoryText(category, false);
    if (!message)
        message = "";
    if (!context)
        context = "";

    if (IsFatal(category)) {
        // Swapped, so that the box reads the context, a blank line, the message.
        char swappedContext[sizeof(ErrorFrame::context)];
        char swappedMessage[sizeof(ErrorFrame::message)];
        SjisCopyCut(swappedContext, sizeof(swappedContext), message);
        SjisCopyCut(swappedMessage, sizeof(swappedMessage), context);
        DisplayError(category, swappedContext, swappedMessage);
    }

    ErrorFrame* frame = s_pFrame;
    if (frame->mode == ERRMODE_IGNORE || frame->code != 0)
        return -1;
    frame->code = (signed char)category;
    SjisCopyCut(frame->message, sizeof(frame->message), message);
    SjisCopyCut(frame->context, sizeof(frame->context), context);
    frame->detail = detail;
    if (frame->mode == ERRMODE_SHOW)
        DisplayHeldError(frame);
    return -1;
}

int ReportErrorCode(int category, const char* context)
{
    return ReportError(category, ErrorCategoryText(category, true), context, 0);
}

int ReportSysError(int category, DWORD sysError, const char* context, int detail)
{
    char message[sizeof(ErrorFrame::message)];
    GetSysErrorText(sysError, message, sizeof(message), 0);
    return ReportError(category, message, context, detail);
}

int ReportErrorText(const char* message, const char* context)
{
    return ReportError(ERR_USER, message, context, 0);
}

void PushErrorFrame(ErrorFrame* frame)
{
    frame->mode = ERRMODE_COLLECT;
    frame->context[0] = '\0';
    frame->code = 0;
    frame->message[0] = '\0';
    frame->detail = 0;
    frame->outer = s_pFrame;
    s_pFrame = frame;
}

void PopErrorFrame()
{
    ErrorFrame* popped = s_pFrame;
    ErrorFrame* outer = popped->outer;
    if (!outer)
        return;  // the base frame stays
    if (outer->code == 0) {
        outer->code = popped->code;
        std::memcpy(outer->context, popped->context, sizeof(outer->context));
        std::memcpy(outer->message, popped->message, sizeof(outer->message));
        outer->detail = popped->detail;
    }
    s_pFrame = outer;
    if (outer->code != 0 && outer->mode == ERRMODE_SHOW)
        DisplayHeldError(outer);
}

int SetErrorFrameMode(int mode)
{
    int old = s_pFrame->mode;
    s_pFrame->mode = (signed char)mode;
    if (mode == ERRMODE_SHOW && s_pFrame->code != 0)
        DisplayHeldError(s_pFrame);
    return old;
}

void ClearError()
{
    s_pFrame->code = 0;
}

int GetError()
{
    if (s_pFrame->code == 0)
        return 0;
    return s_pFrame->detail ? s_pFrame->detail : s_pFrame->code;
}

void GetErrorInfo(ErrorFrame* out)
{
    *out = *s_pFrame;
}
