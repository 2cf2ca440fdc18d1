// RobotThread turns a failed robot script into a failed test, not a hang.
#include <gtest/gtest.h>

#include "robot/robot.h"
#include "robot/robot_thread.h"

namespace {

bool QuitMessagePending()
{
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

TEST(RobotThread, AFailedScriptEndsTheModalLoopAndSaysWhy)
{
    robot::RobotThread robot([](std::string* failure) {
        return robot::WaitWindow(GetCurrentProcessId(), "#32770", "来ない窓", 200, failure) != nullptr;
    });
    // Nobody presses this box: only the robot's WM_QUIT ends it.
    MessageBoxA(nullptr, "誰も押さない", "RobotThread", MB_OK);
    std::string failure;
    EXPECT_FALSE(robot.Join(&failure));
    EXPECT_NE(std::string::npos, failure.find(u8"caption \"来ない窓\"")) << failure;
    EXPECT_FALSE(QuitMessagePending()) << "Join must remove the WM_QUIT";
}

TEST(RobotThread, AScriptThatLeavesTheUiOpenBecomesAFailure)
{
    robot::RobotThread robot([](std::string*) { return true; }, 300);
    // Nobody presses this box either: the script claims success without.
    MessageBoxA(nullptr, "誰も押さない", "RobotThread", MB_OK);
    std::string failure;
    EXPECT_FALSE(robot.Join(&failure));
    EXPECT_NE(std::string::npos, failure.find("still busy 300 ms later")) << failure;
    EXPECT_FALSE(QuitMessagePending());
}

TEST(RobotThread, ASucceedingScriptLeavesNoQuitMessage)
{
    robot::RobotThread robot([](std::string* failure) {
        HWND box = robot::WaitMessageBox(GetCurrentProcessId(), 10000, nullptr, failure);
        return box && robot::PressButton(box, IDCANCEL);
    });
    const int pressed = MessageBoxA(nullptr, "押される", "RobotThread", MB_OKCANCEL);
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_EQ(IDCANCEL, pressed);
    EXPECT_FALSE(QuitMessagePending());
}

}  // namespace
