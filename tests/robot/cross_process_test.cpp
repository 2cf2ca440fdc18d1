// The robot drives the windows of another process: the fixture program.
#include <gtest/gtest.h>

#include "dialog_outcome.h"
#include "fixture_paths.h"
#include "testkit/child_process.h"
#include "fixture_texts.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "test_dialog.h"

namespace {

constexpr DWORD kWaitMs = 10000;

TEST(RobotCrossProcess, ReadsAndPressesTheBoxOfAnotherProcess)
{
    ChildProcess child(Quote(kFixtureExe) + " box");
    ASSERT_TRUE(child.Started());
    robot::MessageBoxInfo box;
    std::string failure;
    ASSERT_NE(nullptr, robot::WaitMessageBox(child.Pid(), kWaitMs, &box, &failure)) << failure;

    EXPECT_TRUE(robot::SameText(kBoxCaption, box.caption));
    EXPECT_TRUE(robot::SameText(kBoxText, box.text));
    EXPECT_EQ((std::vector<int> {IDYES, IDNO, IDCANCEL}), box.buttons);
    // Windows shares the system icons between processes; Wine gives each
    // process its own handles, so there the question icon reads -1.
    EXPECT_TRUE(box.icon == MB_ICONQUESTION || box.icon == -1) << box.icon;

    ASSERT_TRUE(robot::PressButton(box.hwnd, IDNO));
    DWORD exitCode = 0;
    ASSERT_TRUE(child.Wait(kWaitMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDNO), exitCode);
}

TEST(RobotCrossProcess, ABoxWithoutIconReadsNoIcon)
{
    ChildProcess child(Quote(kFixtureExe) + " box 0");
    ASSERT_TRUE(child.Started());
    robot::MessageBoxInfo box;
    std::string failure;
    ASSERT_NE(nullptr, robot::WaitMessageBox(child.Pid(), kWaitMs, &box, &failure)) << failure;
    EXPECT_EQ(0, box.icon);
    ASSERT_TRUE(robot::PressButton(box.hwnd, IDYES));
    DWORD exitCode = 0;
    ASSERT_TRUE(child.Wait(kWaitMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDYES), exitCode);
}

TEST(RobotCrossProcess, FindsOnlyTheBoxesOfTheGivenProcess)
{
    ChildProcess child(Quote(kFixtureExe) + " box");
    ASSERT_TRUE(child.Started());
    HWND box = robot::WaitMessageBox(child.Pid(), kWaitMs, nullptr, nullptr);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(nullptr, robot::WaitMessageBox(GetCurrentProcessId(), 200, nullptr, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(GetCurrentProcessId(), "#32770", kBoxCaption, 200, nullptr));
    EXPECT_EQ(box, robot::WaitWindow(child.Pid(), "#32770", kBoxCaption, kWaitMs, nullptr));
}

TEST(RobotCrossProcess, DrivesTheDialogOfAnotherProcess)
{
    const std::string resultFile = NewTempFile();
    ChildProcess child(Quote(kFixtureExe) + " dialog " + Quote(resultFile));
    ASSERT_TRUE(child.Started());
    std::string failure;
    HWND dlg = robot::WaitWindow(child.Pid(), "#32770", TEST_DIALOG_CAPTION, kWaitMs, &failure);
    ASSERT_NE(nullptr, dlg) << failure;

    const char kFolder[] = "E:\\出納帳\\ソフト表";
    EXPECT_TRUE(robot::SameText(kInitialFolder, robot::GetItemText(dlg, IDC_FOLDER)));
    EXPECT_TRUE(robot::SetCheck(dlg, IDC_CUSTOM, true));
    EXPECT_FALSE(robot::IsChecked(dlg, IDC_TYPICAL));
    EXPECT_TRUE(robot::SameText(kCustomFolder, robot::GetItemText(dlg, IDC_FOLDER)));
    EXPECT_TRUE(robot::SetEditText(dlg, IDC_FOLDER, kFolder));
    EXPECT_TRUE(robot::SameText(kFolder, robot::GetItemText(dlg, IDC_FOLDER)));
    EXPECT_TRUE(robot::SetCheck(dlg, IDC_DESKTOP_ICON, true));
    EXPECT_TRUE(robot::IsChecked(dlg, IDC_DESKTOP_ICON));
    ASSERT_TRUE(robot::PressButton(dlg, IDC_NEXT));
    ExpectFixtureDialogEndedWithNext(child, resultFile, kFolder, kWaitMs);
}

}  // namespace
