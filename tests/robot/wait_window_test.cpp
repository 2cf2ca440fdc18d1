// WaitWindow, WaitGone and the failure text of a WaitWindow that times out,
// on top-level windows this test makes ("Static" popups).
#include <gtest/gtest.h>

#include "robot/readable_text.h"
#include "robot/robot.h"

namespace {

// A top-level "Static" window, destroyed with the object.
class TestWindow {
public:
    TestWindow(const char* caption, bool visible)
        : m_hwnd(CreateWindowExA(0, "Static", caption, WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 200, 100, nullptr,
            nullptr, nullptr, nullptr))
    {
    }
    ~TestWindow()
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
    }
    HWND hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

const DWORD kPid = GetCurrentProcessId();

TEST(RobotWaitWindow, FindsAVisibleWindowByClassAndCaption)
{
    TestWindow other("別の窓", true);
    TestWindow wanted("見える窓", true);
    ASSERT_NE(nullptr, wanted.hwnd());
    // Window classes compare case-insensitively, as Windows compares them.
    EXPECT_EQ(wanted.hwnd(), robot::WaitWindow(kPid, "static", "見える窓", 1000, nullptr));
    EXPECT_EQ(other.hwnd(), robot::WaitWindow(kPid, nullptr, "別の窓", 1000, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Button", "見える窓", 100, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "見える", 100, nullptr)) << "captions must match whole";
}

TEST(RobotWaitWindow, IgnoresAHiddenWindowUntilItIsShown)
{
    TestWindow window("後で見える窓", false);
    ASSERT_NE(nullptr, window.hwnd());
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "後で見える窓", 100, nullptr));
    ShowWindow(window.hwnd(), SW_SHOWNA);
    EXPECT_EQ(window.hwnd(), robot::WaitWindow(kPid, "Static", "後で見える窓", 1000, nullptr));
}

TEST(RobotWaitWindow, TimeOutNamesTheExpectationAndListsTheWindowsFound)
{
    TestWindow hidden("隠れた窓", false);
    TestWindow shown("見える窓", true);
    std::string failure;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "#32770", "存在しない窓", 200, &failure));
    EXPECT_GE(GetTickCount64() - start, 190u);

    const std::string process = "process " + std::to_string(kPid);
    EXPECT_NE(std::string::npos,
        failure.find(u8"waited 200 ms for a visible top-level window of " + process
            + u8" with class \"#32770\" and caption \"存在しない窓\""))
        << failure;
    EXPECT_NE(std::string::npos,
        failure.find(robot::HandleText(hidden.hwnd()) + u8" class \"Static\" caption \"隠れた窓\" hidden\n"))
        << failure;
    EXPECT_NE(std::string::npos,
        failure.find(robot::HandleText(shown.hwnd()) + u8" class \"Static\" caption \"見える窓\" visible\n"))
        << failure;
}

TEST(RobotWaitWindow, WaitGoneSeesTheWindowDestroyed)
{
    TestWindow window("消える窓", true);
    EXPECT_FALSE(robot::WaitGone(window.hwnd(), 100));
    DestroyWindow(window.hwnd());
    EXPECT_TRUE(robot::WaitGone(window.hwnd(), 100));
}

}  // namespace
