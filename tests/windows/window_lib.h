// The window suites start the library as SETUP.EXE does (window_lib.cpp):
// the message functions, then the library's start-up steps, whose clean-ups
// run at exit. What every window suite includes; the progress window brings
// the framework (dazo/Wnd.h) with it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "base/errreport.h"
#include "dazo/Doingwnd.h"
#include "dazo/libstart.h"
#include "error_report_env.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"
#include "testkit/screen_input.h"

// A progress window with a text area 30 characters wide, centred.
DoingWnd* MakeDoing(int style, HWND owner = nullptr, const char* title = "進行");
