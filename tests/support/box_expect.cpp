#include "box_expect.h"

#include "robot/readable_text.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

::testing::AssertionResult RunAnsweringBox(const std::function<void()>& action, const BoxExpectation& box,
                                           robot::MessageBoxInfo* seen,
                                           const std::function<void(HWND box)>& whileOpen)
{
    ::testing::AssertionResult same = ::testing::AssertionFailure();
    robot::RobotThread robot([&](std::string* failure) {
        HWND hwnd = nullptr;
        same = robot::NextMessageBoxIs(GetCurrentProcessId(), box.caption, box.text, box.buttons, kBoxWaitMs, &hwnd);
        if (!hwnd)
            return *failure = same.message(), false;
        if (seen)
            robot::ReadMessageBox(hwnd, seen);
        if (whileOpen)
            whileOpen(hwnd);
        return robot::PressButton(hwnd, box.press) && robot::WaitGone(hwnd, kBoxWaitMs);
    });
    action();
    std::string failure;
    if (!robot.Join(&failure))
        return ::testing::AssertionFailure() << failure;
    return same;
}

::testing::AssertionResult RunWithoutBox(const std::function<void()>& action, DWORD quietMs)
{
    robot::RobotThread robot([&](std::string* failure) {
        robot::MessageBoxInfo info;
        HWND hwnd = robot::WaitMessageBox(GetCurrentProcessId(), quietMs, &info, nullptr);
        if (!hwnd)
            return true;
        *failure = "a message box appeared: " + robot::Quoted(info.caption) + " " + robot::Quoted(info.text);
        robot::PressButton(hwnd, info.buttons.empty() ? IDOK : info.buttons.front());
        return false;
    });
    action();
    std::string failure;
    return robot.Join(&failure) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << failure;
}
