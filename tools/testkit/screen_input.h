// What GUI tests need from the screen and the input queue: letting the
// thread's messages through, reading back what a window shows, and mouse
// input that arrives as a user's does.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Lets the thread's messages through until done() or ms milliseconds have
// passed; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);
void PumpFor(DWORD ms);

// The pixels of a window's client area as 0xRRGGBB, row by row, read back
// from the screen.
std::vector<DWORD> ClientPixels(HWND window, int* width, int* height);

// One mouse event through SendInput, which queues it as the X server's
// input is queued: MOUSEEVENTF_MOVE goes to the screen point `at`, the
// button flags press or release where the pointer is.
void SendMouse(DWORD flags, POINT at = {});
// A left click at the screen point, or in the middle of a window's client
// area (or of rc in it), as the mouse gives it.
void ClickAt(POINT at);
void ClickWindow(HWND window, const RECT* rc = nullptr);
