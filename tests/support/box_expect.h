// In-process GUI test helpers: run the program's code on the test's main
// thread while a robot thread answers the message box it shows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "robot/robot.h"

// Time given to a box to appear.
constexpr DWORD kBoxWaitMs = 10000;

struct BoxExpectation {
    const char* caption;
    const char* text;
    std::vector<int> buttons;
    int press;  // the button the robot presses
};

// Runs action while the robot waits for this process's next message box,
// checks its caption, text and buttons, reads it into *seen (when given),
// calls whileOpen (when given) on the robot thread with the box still open,
// and presses the expected button.
::testing::AssertionResult RunAnsweringBox(const std::function<void()>& action, const BoxExpectation& box,
                                           robot::MessageBoxInfo* seen = nullptr,
                                           const std::function<void(HWND box)>& whileOpen = nullptr);

// Runs action and fails when it shows a message box within quietMs (the box
// is then closed, so the test does not hang).
::testing::AssertionResult RunWithoutBox(const std::function<void()>& action, DWORD quietMs = 500);
