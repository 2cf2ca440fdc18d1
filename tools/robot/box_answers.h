// In-process answers to a sequence of message boxes: the program's code runs
// on the test's thread while a robot thread waits for each box in turn,
// compares it with what is expected and presses the given button.
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

struct BoxAnswer {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids in tab order
    int press;
    // Called on the robot thread while the box is open, before the press
    // (puts a missing file in place, lets a held file go, ...).
    std::function<void()> whileOpen = nullptr;
};

// Runs action while the robot answers the boxes in order. Fails when a box
// does not come within 10 s or differs from its expectation (each difference
// names the box's place in the sequence).
::testing::AssertionResult RunAnsweringBoxes(const std::function<void()>& action, const std::vector<BoxAnswer>& boxes);

}  // namespace robot
