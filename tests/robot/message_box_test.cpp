// The robot on a second thread reads and presses the message boxes that the
// test's main thread shows with MessageBoxA, as the GUI tests will do with
// the program's message-box code.
#include <gtest/gtest.h>

#include "fixture_texts.h"
#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace {

constexpr DWORD kWaitMs = 10000;

// A robot script: waits for this process's next message box, reads it into
// *read and presses `button`.
robot::RobotThread::Script ReadAndPress(robot::MessageBoxInfo* read, int button)
{
    return [read, button](std::string* failure) {
        HWND box = robot::WaitMessageBox(GetCurrentProcessId(), kWaitMs, read, failure);
        if (!box)
            return false;
        if (robot::PressButton(box, button))
            return true;
        *failure = "could not press " + robot::ButtonName(button);
        return false;
    };
}

TEST(RobotMessageBox, TheTextsReallyHoldTrailBytes5CAndABlankLine)
{
    const std::string text = kBoxText;
    EXPECT_NE(std::string::npos, text.find("\x83\x5C"));  // ソ
    EXPECT_NE(std::string::npos, text.find("\x95\x5C"));  // 表
    EXPECT_NE(std::string::npos, text.find("\x94\x5C"));  // 能
    EXPECT_NE(std::string::npos, text.find("\n\n"));
}

TEST(RobotMessageBox, ReadsCaptionTextButtonsAndIconAsCp932Bytes)
{
    robot::MessageBoxInfo box;
    robot::RobotThread robot(ReadAndPress(&box, IDNO));
    const int pressed = MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;

    EXPECT_EQ(IDNO, pressed);
    EXPECT_NE(nullptr, box.hwnd);
    EXPECT_TRUE(robot::SameText(kBoxCaption, box.caption));
    EXPECT_TRUE(robot::SameText(kBoxText, box.text));
    EXPECT_EQ((std::vector<int> {IDYES, IDNO, IDCANCEL}), box.buttons);
    EXPECT_EQ(MB_ICONQUESTION, box.icon);
    EXPECT_EQ(nullptr, box.owner);
}

TEST(RobotMessageBox, PressesTheButtonItIsAskedFor)
{
    for (int button : {IDYES, IDNO, IDCANCEL}) {
        robot::MessageBoxInfo box;
        robot::RobotThread robot(ReadAndPress(&box, button));
        const int pressed = MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_YESNOCANCEL);
        std::string failure;
        ASSERT_TRUE(robot.Join(&failure)) << failure;
        EXPECT_EQ(button, pressed) << "asked to press " << robot::ButtonName(button);
    }
}

TEST(RobotMessageBox, RecognisesEachIconInProcess)
{
    for (int icon : std::initializer_list<int> {MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONASTERISK, 0}) {
        robot::MessageBoxInfo box;
        robot::RobotThread robot(ReadAndPress(&box, IDOK));
        MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OK | icon);
        std::string failure;
        ASSERT_TRUE(robot.Join(&failure)) << failure;
        EXPECT_EQ(robot::IconName(icon), robot::IconName(box.icon));
        EXPECT_EQ(std::vector<int> {IDOK}, box.buttons);
    }
}

TEST(RobotMessageBox, ReadsOwnerAndExtendedStyle)
{
    HWND owner = CreateWindowExA(
        0, "Static", "持ち主", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    robot::MessageBoxInfo box;
    robot::RobotThread robot(ReadAndPress(&box, IDOK));
    // Wine makes a box WS_EX_TOPMOST for MB_SYSTEMMODAL only, not for
    // MB_TOPMOST as Windows does.
    MessageBoxA(owner, kBoxText, kBoxCaption, MB_OK | MB_SYSTEMMODAL);
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    DestroyWindow(owner);

    EXPECT_EQ(owner, box.owner);
    EXPECT_TRUE(box.exStyle & WS_EX_TOPMOST) << std::hex << box.exStyle;
}

TEST(RobotMessageBox, NextMessageBoxIsAcceptsTheExpectedBox)
{
    ::testing::AssertionResult matched = ::testing::AssertionFailure();
    robot::RobotThread robot([&](std::string* failure) {
        HWND box = nullptr;
        matched
            = robot::NextMessageBoxIs(GetCurrentProcessId(), kBoxCaption, kBoxText, {IDOK, IDCANCEL}, kWaitMs, &box);
        if (box && robot::PressButton(box, IDCANCEL))
            return true;
        *failure = "no box to press";
        return false;
    });
    const int pressed = MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OKCANCEL);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_EQ(IDCANCEL, pressed);
    EXPECT_TRUE(matched);
}

TEST(RobotMessageBox, NextMessageBoxIsShowsExpectedAndActualReadably)
{
    ::testing::AssertionResult matched = ::testing::AssertionSuccess();
    robot::RobotThread robot([&](std::string* failure) {
        HWND box = nullptr;
        matched = robot::NextMessageBoxIs(GetCurrentProcessId(), "違うキャプション", kBoxText, {IDOK}, kWaitMs, &box);
        if (box && robot::PressButton(box, IDOK))
            return true;
        *failure = "no box to press";
        return false;
    });
    MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OKCANCEL);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;

    ASSERT_FALSE(matched);
    const std::string message = matched.message();
    const std::string actualCaption = robot::Cp932ToUtf8(kBoxCaption);
    EXPECT_NE(std::string::npos, message.find(u8"expected \"違うキャプション\"")) << message;
    EXPECT_NE(std::string::npos, message.find("actual   \"" + actualCaption + "\"")) << message;
    EXPECT_NE(std::string::npos, message.find("actual bytes   " + robot::HexBytes(kBoxCaption))) << message;
    EXPECT_NE(std::string::npos, message.find("text as expected")) << message;
    EXPECT_NE(std::string::npos, message.find("expected IDOK\n")) << message;
    EXPECT_NE(std::string::npos, message.find("actual   IDOK IDCANCEL\n")) << message;
}

TEST(RobotMessageBox, WaitMessageBoxTimesOutWithADescription)
{
    std::string failure;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(nullptr, robot::WaitMessageBox(GetCurrentProcessId(), 200, nullptr, &failure));
    EXPECT_GE(GetTickCount64() - start, 190u);
    EXPECT_NE(std::string::npos,
        failure.find("waited 200 ms for a message box of process " + std::to_string(GetCurrentProcessId())))
        << failure;
}

}  // namespace
