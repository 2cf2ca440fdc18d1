// The one message-box function, and the thread that shows boxes for the main
// thread when the main thread must not run a modal loop of its own.
#pragma once

#include <windows.h>

// Default caption of every box (80 bytes at most), set at start-up.
extern char g_szAppTitle[81];

// Bit 0 is set while ShowMessage has a box open on the calling thread's
// direct path; a box asked for meanwhile goes through the thread.
extern DWORD g_fInMsgBox;

// Called before every message box (fromThreadPath 1 on the thread path) and
// before a fatal exit; installed by the window framework to show its queued
// errors first.
extern void (*g_pfnBeforeMsgBox)(int fromThreadPath);
// Shows the queued errors now, as a box of the direct path would first: for
// a caller about to end or to destroy the window that owns them.
void ShowQueuedReports();

// Flags read as requests: MB_SYSTEMMODAL (0x1000) shows the box through the
// message-box thread; MB_TASKMODAL (0x2000) drops the owner window. Returns
// the MessageBoxA result; a box that cannot be shown ends the process.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);

BOOL ThreadMsgBoxStart();
void ThreadMsgBoxStop();
int ThreadMsgBoxShow(const char* text, const char* caption, UINT flags);

// The thread's window, or null when the thread is not running.
HWND ThreadMsgBoxWindow();
