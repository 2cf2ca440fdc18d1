// GoogleTest assertions over the robot's readings, with failure messages a
// person can read: expected and actual texts as quoted UTF-8, plus their
// code page 932 bytes in hex, since different bytes can look alike.
//
//   HWND box;
//   ASSERT_TRUE(robot::NextMessageBoxIs(pid, kCaption, kText, {IDYES, IDNO},
//                                       5000, &box));
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "robot/robot.h"

namespace robot {

// Byte-for-byte equality of two code page 932 texts.
::testing::AssertionResult SameText(const std::string& expected, const std::string& actual);

// Waits for the next message box of process `pid` (see WaitMessageBox) and
// compares its caption, text and button ids (tab order) exactly. *outBox
// receives the box whenever one was found, matching or not, so that the test
// can still close it; nullptr when none came. Windows in notBoxes are passed
// over (see WaitMessageBox).
::testing::AssertionResult NextMessageBoxIs(DWORD pid, const char* caption, const char* text,
    const std::vector<int>& buttons, DWORD timeoutMs, HWND* outBox, const std::vector<HWND>& notBoxes = {});

// NextMessageBoxIs, then presses `press` on the box found (matching or not,
// so that the program goes on) and waits until it is gone.
::testing::AssertionResult AnswerNextBox(DWORD pid, const char* caption, const std::string& text,
    const std::vector<int>& buttons, int press, DWORD timeoutMs);

// In-process GUI tests run the program's code on the test's main thread
// while a robot thread answers the message boxes it shows.
constexpr DWORD kBoxWaitMs = 10000;

// As BoxAnswer::press: the Enter key, which presses the box's default button.
constexpr int kEnterKey = 0;

struct BoxAnswer {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids in tab order
    int press;                 // the button the robot presses, or kEnterKey
    // Called on the robot thread while the box is open, before the press
    // (puts a missing file in place, lets a held file go, reads the box ...).
    std::function<void(HWND box)> whileOpen = nullptr;
    // A dialog of the program rather than a message box (see DialogAnswer).
    bool dialog = false;
};

// A dialog in a sequence of answers: the program's visible "#32770" window of
// this caption. Its text and buttons are not compared; whileOpen fills or
// reads its controls before press, and the press does not wait for the
// dialog to close: a dialog stays open under the question its button asks.
BoxAnswer DialogAnswer(const std::string& caption, int press, std::function<void(HWND dialog)> whileOpen = nullptr);

// Runs action while the robot answers the boxes in order, each checked as
// NextMessageBoxIs does. Fails when a box does not come within kBoxWaitMs or
// differs from its expectation; each difference names the box's place.
//
//   EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Operation(); },
//       {{kCaption, kQuestion, {IDYES, IDNO}, IDNO},
//        {kCaption, kQuestion, {IDYES, IDNO}, IDYES}}));
::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes);

// Answers the boxes of another process, which runs on its own, in order on
// the calling thread; the same checks as RunAnsweringBoxes.
::testing::AssertionResult AnswerBoxesOf(DWORD pid, const std::vector<BoxAnswer>& boxes);

// The same for one box, read into *seen (when given) while it is open.
::testing::AssertionResult RunAnsweringBox(const std::function<void()>& action, const BoxAnswer& box,
    MessageBoxInfo* seen = nullptr, const std::function<void(HWND box)>& whileOpen = nullptr);

// Runs action and fails when it shows a message box within quietMs (the box
// is then closed, so the test does not hang).
::testing::AssertionResult RunWithoutBox(const std::function<void()>& action, DWORD quietMs = 500);

}  // namespace robot
