// Create-or-report wrappers of GDI, window and resource calls. A failed call
// shows the critical-error dialog (FatalRetry) and is tried again, until it
// succeeds or the user ends the program; so they never return failure.
#pragma once

#include <windows.h>

HRGN DzCreateRectRgnIndirect(const RECT* rect);
int DzCombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
HBITMAP DzCreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBRUSH DzCreateSolidBrush(COLORREF color);
HPEN DzCreatePen(int style, int width, COLORREF color);
HDC DzCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
HDC DzCreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode);
HDC DzCreateCompatibleDC(HDC dc);
HBITMAP DzCreateCompatibleBitmap(HDC dc, int width, int height);
HDC DzGetDC(HWND hwnd);
HDC DzBeginPaint(HWND hwnd, PAINTSTRUCT* paint);
HFONT DzCreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                    DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                    DWORD quality, DWORD pitchAndFamily, LPCSTR face);
HFONT DzCreateFontIndirectA(const LOGFONTA* font);
ATOM DzRegisterClassA(const WNDCLASSA* wc);
ATOM DzRegisterClassExA(const WNDCLASSEXA* wc);
HWND DzCreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC proc, LPARAM param);
HWND DzCreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dlg, HWND parent, DLGPROC proc,
                                  LPARAM param);
HWND DzCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
HBRUSH DzCreateHatchBrush(int hatch, COLORREF color);
HBRUSH DzCreatePatternBrush(HBITMAP bitmap);
UINT_PTR DzSetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
HBITMAP DzLoadBitmapA(HINSTANCE instance, LPCSTR name);
HICON DzLoadIconA(HINSTANCE instance, LPCSTR name);
HACCEL DzLoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
UINT DzRegisterWindowMessageA(LPCSTR name);
HMENU DzLoadMenuA(HINSTANCE instance, LPCSTR name);
ATOM DzGlobalAddAtomA(LPCSTR name);
