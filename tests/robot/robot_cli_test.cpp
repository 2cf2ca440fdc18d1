// robot.exe, run as a child process against the fixture program, the way a
// shell script runs it. Its output is UTF-8: the expected texts are u8"".
#include <gtest/gtest.h>

#include "dialog_outcome.h"
#include "fixture_paths.h"
#include "testkit/child_process.h"
#include "fixture_texts.h"
#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "test_dialog.h"

namespace {

constexpr DWORD kWaitMs = 10000;

struct CliRun {
    DWORD exitCode = 0xDEAD;
    std::string out;
    std::string err;
};

// Runs robot.exe with `arguments` (code page 932) to its end.
CliRun RunRobotCli(const std::string& arguments)
{
    CliRun run;
    ChildProcess cli(Quote(kRobotCliExe) + " " + arguments);
    if (cli.Wait(30000, &run.exitCode)) {
        run.out = cli.Stdout();
        run.err = cli.Stderr();
    }
    return run;
}

std::string PidOption(const ChildProcess& child)
{
    return "--pid " + std::to_string(child.Pid());
}

TEST(RobotCli, ReadBoxWritesTheBoxAsUtf8AndPressPressesIt)
{
    ChildProcess fixture(Quote(kFixtureExe) + " box 0");
    ASSERT_TRUE(fixture.Started());
    const std::string outFile = NewTempFile();

    CliRun read = RunRobotCli("read-box " + PidOption(fixture) + " --timeout 10000 --out " + Quote(outFile));
    ASSERT_EQ(0u, read.exitCode) << read.err;
    EXPECT_EQ("", read.out) << "--out takes the output";
    const std::string printed = ReadFileBytes(outFile);
    DeleteFileA(outFile.c_str());
    const std::string hwndLine = printed.substr(0, printed.find('\n') + 1);
    EXPECT_EQ(0u, hwndLine.find("hwnd 0x")) << printed;
    EXPECT_EQ(u8"caption \"ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ\"\n"
              u8"text \"ソフトウェアの使用許諾契約書を表示します。\\n\\n"
              u8"この機能は後から使用できます。\"\n"
              u8"buttons IDYES IDNO IDCANCEL\n"
              u8"icon none\n",
        printed.substr(hwndLine.size()));

    CliRun press = RunRobotCli(
        "press " + PidOption(fixture) + " --class #32770 --caption " + Quote(kBoxCaption) + " --id IDYES");
    EXPECT_EQ(0u, press.exitCode) << press.err;
    DWORD exitCode = 0;
    ASSERT_TRUE(fixture.Wait(kWaitMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDYES), exitCode);
}

TEST(RobotCli, SetsTextChecksAndPressesInTheDialogOfAnotherProcess)
{
    const std::string resultFile = NewTempFile();
    ChildProcess fixture(Quote(kFixtureExe) + " dialog " + Quote(resultFile));
    ASSERT_TRUE(fixture.Started());
    const std::string window = PidOption(fixture) + " --caption " + Quote(TEST_DIALOG_CAPTION) + " --timeout 10000";
    // 表 right before the closing quote of the argument.
    const char kFolder[] = "D:\\ソフト\\会計表";

    CliRun radio = RunRobotCli("check " + window + " --id " + std::to_string(IDC_CUSTOM));
    EXPECT_EQ(0u, radio.exitCode) << radio.err;
    CliRun setText
        = RunRobotCli("set-text " + window + " --id " + std::to_string(IDC_FOLDER) + " --text " + Quote(kFolder));
    EXPECT_EQ(0u, setText.exitCode) << setText.err;
    CliRun check = RunRobotCli("check " + window + " --id " + std::to_string(IDC_DESKTOP_ICON));
    EXPECT_EQ(0u, check.exitCode) << check.err;
    CliRun press = RunRobotCli("press " + window + " --id " + std::to_string(IDC_NEXT));
    EXPECT_EQ(0u, press.exitCode) << press.err;

    ExpectFixtureDialogEndedWithNext(fixture, resultFile, kFolder, kWaitMs);
}

TEST(RobotCli, PressRefusesADisabledButton)
{
    const std::string resultFile = NewTempFile();
    ChildProcess fixture(Quote(kFixtureExe) + " dialog " + Quote(resultFile));
    ASSERT_TRUE(fixture.Started());
    CliRun press = RunRobotCli("press " + PidOption(fixture) + " --caption " + Quote(TEST_DIALOG_CAPTION) + " --id "
        + std::to_string(IDC_BROWSE));
    EXPECT_EQ(1u, press.exitCode);
    EXPECT_NE(std::string::npos, press.err.find("could not press control 1005")) << press.err;
    DeleteFileA(resultFile.c_str());
}

TEST(RobotCli, WaitTimeOutExitsOneAndSaysWhatItExpectedAndFound)
{
    ChildProcess fixture(Quote(kFixtureExe) + " box");
    ASSERT_TRUE(fixture.Started());
    ASSERT_NE(nullptr, robot::WaitWindow(fixture.Pid(), "#32770", kBoxCaption, kWaitMs, nullptr));

    CliRun wait = RunRobotCli(
        "wait " + PidOption(fixture) + " --class #32770 --caption " + Quote("存在しない窓") + " --timeout 300");
    EXPECT_EQ(1u, wait.exitCode);
    EXPECT_EQ("", wait.out);
    EXPECT_NE(std::string::npos, wait.err.find(u8"with class \"#32770\" and caption \"存在しない窓\"")) << wait.err;
    EXPECT_NE(std::string::npos,
        wait.err.find(u8"class \"#32770\" caption \"ヴェルンド！出納帳 "
                      u8"Version 5.5(ゼノプ版) セットアップ\" visible"))
        << wait.err;
}

TEST(RobotCli, WaitAndListShowTheWindowOfAProcess)
{
    ChildProcess fixture(Quote(kFixtureExe) + " box");
    ASSERT_TRUE(fixture.Started());
    HWND box = robot::WaitWindow(fixture.Pid(), "#32770", kBoxCaption, kWaitMs, nullptr);
    ASSERT_NE(nullptr, box);

    CliRun wait = RunRobotCli("wait " + PidOption(fixture) + " --caption " + Quote(kBoxCaption));
    EXPECT_EQ(0u, wait.exitCode) << wait.err;
    EXPECT_EQ(robot::HandleText(box) + "\n", wait.out);

    CliRun list = RunRobotCli("list " + PidOption(fixture));
    EXPECT_EQ(0u, list.exitCode) << list.err;
    EXPECT_NE(std::string::npos,
        list.out.find("  " + robot::HandleText(box)
            + u8" class \"#32770\" caption \"ヴェルンド！出納帳 "
              u8"Version 5.5(ゼノプ版) セットアップ\" visible\n"))
        << list.out;
}

TEST(RobotCli, UsageErrorsExitTwo)
{
    for (const char* arguments :
        {"", "frobnicate", "press --caption x", "press --id", "wait --pid x", "wait --colour red"}) {
        CliRun run = RunRobotCli(arguments);
        EXPECT_EQ(2u, run.exitCode) << "robot " << arguments << "\n" << run.err;
        EXPECT_NE(std::string::npos, run.err.find("usage: robot COMMAND")) << "robot " << arguments;
    }
}

}  // namespace
