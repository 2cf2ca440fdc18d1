// Pieces the framework's files share among themselves; not for other code.
#pragma once

#include <windows.h>

// WM_DZ_MSGBOX and WM_DZ_MSGBOXANSWER: shows the posted request, or posts it
// again while a window has the mouse capture.
LRESULT ShowPostedMessageBox(HWND hwnd, UINT msg, LPARAM request);

// The dialog procedure of every Dlg.
INT_PTR CALLBACK FrameworkDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Disables every enabled top-level window of the library for the time of a
// message box (marking it WND_MSGBOXOFF), or enables the marked ones again.
void EnableLibraryWindows(bool enable);
