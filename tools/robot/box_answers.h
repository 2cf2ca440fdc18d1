// Answers to a sequence of message boxes: the robot waits for each box in
// turn, compares it with what is expected and presses the given button. In
// process, the program's code runs on the test's thread while a robot thread
// answers; another process is answered from the test's thread.
//
//   EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Operation(); },
//       {{kCaption, kQuestion, {IDYES, IDNO}, IDNO},
//        {kCaption, kQuestion, {IDYES, IDNO}, IDYES}}));
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace robot {

// As BoxAnswer::press: the Enter key, which presses the box's default button.
constexpr int kEnterKey = 0;

struct BoxAnswer {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids in tab order
    int press;  // a button id, or kEnterKey
    // Called on the robot thread while the box is open, before the press
    // (puts a missing file in place, lets a held file go, ...).
    std::function<void()> whileOpen = nullptr;
};

// Runs action while the robot answers the boxes in order. Fails when a box
// does not come within 10 s or differs from its expectation (each difference
// names the box's place in the sequence).
::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes);

// Answers the boxes of another process, which runs on its own, in order on
// the calling thread; the same checks as RunAnsweringBoxes.
::testing::AssertionResult AnswerBoxesOf(DWORD pid, const std::vector<BoxAnswer>& boxes);

}  // namespace robot
