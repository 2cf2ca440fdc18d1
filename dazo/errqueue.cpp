// The error queue behind the message functions' hooks. While the service
// window exists, a reported error does not interrupt what the program is
// doing: it waits here and is shown at the next quiet moment, each text once.
#include <cstring>

#include "base/errreport.h"
#include "base/memory.h"
#include "base/msgbox.h"
#include "dazo/libstart.h"
#include "dazo/servwnd.h"
#include "dazo/wndinternal.h"

struct QueuedError {
    QueuedError* pNext;
    char text[1];  // allocated to the text's length
};

static QueuedError* s_pHead;

bool HasQueuedErrors()
{
    return s_pHead != nullptr;
}

static void QueueError(int, const char* context, const char* message)
{
    const char* separator = *message && *context ? "\n\n" : "";
    size_t size = std::strlen(message) + std::strlen(separator) + std::strlen(context) + 1;
    auto* entry = static_cast<QueuedError*>(DzAlloc(sizeof(QueuedError) + size));
    entry->pNext = nullptr;
    std::strcpy(entry->text, message);
    std::strcat(entry->text, separator);
    std::strcat(entry->text, context);

    QueuedError** tail = &s_pHead;
    for (; *tail; tail = &(*tail)->pNext) {
        if (!std::strcmp((*tail)->text, entry->text)) {
            DzFree(entry);
            return;
        }
    }
    *tail = entry;
    if (g_pServiceWnd)
        g_pServiceWnd->PostIdle();
}

void FlushErrorQueue(int fromThreadPath)
{
    if (!s_pHead || (g_dwLibOption & LIBOPT_SHOWINGERRORS))
        return;
    g_dwLibOption |= LIBOPT_SHOWINGERRORS;
    UINT flags = MB_ICONEXCLAMATION | (fromThreadPath || (g_fInMsgBox & 1) ? MB_SYSTEMMODAL : 0);
    while (QueuedError* entry = s_pHead) {
        s_pHead = entry->pNext;
        HWND active = GetActiveWindow();
        EnableLibraryWindows(false);
        ShowMessage(GetFirstVisibleMainWnd(), entry->text, g_szAppTitle, flags);
        EnableLibraryWindows(true);
        if (active)
            SetActiveWindow(active);
        DzFree(entry);
    }
    g_dwLibOption &= ~LIBOPT_SHOWINGERRORS;
}

void InstallErrorHooks()
{
    g_pfnErrorHook = QueueError;
    g_pfnBeforeMsgBox = FlushErrorQueue;
}

void RemoveErrorHooks()
{
    g_pfnErrorHook = nullptr;
    g_pfnBeforeMsgBox = nullptr;
}
