#include "box_expect.h"

#include <string>

#include "robot/readable_text.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

::testing::AssertionResult RunAnsweringBox(const std::function<void()>& action, const BoxExpectation& box,
                                           robot::MessageBoxInfo* seen,
                                           const std::function<void(HWND box)>& whileOpen)
{
    std::string mismatch;
    robot::RobotThread robot([&](std::string* failure) {
        robot::MessageBoxInfo info;
        HWND hwnd = robot::WaitMessageBox(GetCurrentProcessId(), kBoxWaitMs, &info, failure);
        if (!hwnd)
            return false;
        if (!robot::SameText(box.caption, info.caption))
            mismatch += "caption: " + std::string(robot::SameText(box.caption, info.caption).message()) + "\n";
        if (!robot::SameText(box.text, info.text))
            mismatch += "text: " + std::string(robot::SameText(box.text, info.text).message()) + "\n";
        if (info.buttons != box.buttons)
            mismatch += "buttons differ: " + std::to_string(info.buttons.size()) + " buttons, first " +
                        (info.buttons.empty() ? std::string("none") : robot::ButtonName(info.buttons[0])) + "\n";
        if (seen)
            *seen = info;
        if (whileOpen)
            whileOpen(hwnd);
        if (!robot::PressButton(hwnd, box.press)) {
            *failure = "could not press button " + std::to_string(box.press);
            return false;
        }
        return robot::WaitGone(hwnd, kBoxWaitMs);
    });
    action();
    std::string failure;
    if (!robot.Join(&failure))
        return ::testing::AssertionFailure() << failure;
    if (!mismatch.empty())
        return ::testing::AssertionFailure() << mismatch;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult RunWithoutBox(const std::function<void()>& action, DWORD quietMs)
{
    robot::RobotThread robot([&](std::string* failure) {
        robot::MessageBoxInfo info;
        std::string none;
        HWND hwnd = robot::WaitMessageBox(GetCurrentProcessId(), quietMs, &info, &none);
        if (!hwnd)
            return true;
        *failure = "a message box appeared: " + robot::Quoted(info.caption) + " " + robot::Quoted(info.text);
        robot::PressButton(hwnd, info.buttons.empty() ? IDOK : info.buttons.front());
        return false;
    });
    action();
    std::string failure;
    if (!robot.Join(&failure))
        return ::testing::AssertionFailure() << failure;
    return ::testing::AssertionSuccess();
}
