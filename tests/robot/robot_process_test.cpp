// The robot against the box of another process (the fixture program),
// through the library and through robot.exe run as a shell script runs it.
// robot.exe's output is UTF-8: the expected texts are u8"".
#include <gtest/gtest.h>

#include "box_texts.h"
#include "robot/robot.h"
#include "testkit/child_process.h"

namespace {

constexpr DWORD kWaitMs = 10000;
const std::string kFixture = Quote(ROBOT_FIXTURE_EXE);

struct CliRun {
    DWORD exitCode = 0xDEAD;
    std::string out, err;
};

// robot.exe with arguments (code page 932), run to its end; "PID" stands
// for "--pid N" of the child.
CliRun RunRobotCli(std::string arguments, const ChildProcess* child = nullptr)
{
    if (child && arguments.find("PID") != std::string::npos)
        arguments.replace(arguments.find("PID"), 3, "--pid " + std::to_string(child->Pid()));
    CliRun run;
    ChildProcess cli(Quote(ROBOT_CLI_EXE) + " " + arguments);
    if (cli.Wait(30000, &run.exitCode)) {
        run.out = cli.Stdout();
        run.err = cli.Stderr();
    }
    return run;
}

// The box of the child process read through the library, which finds it
// only there, and through robot.exe, whose failures exit 1 and usage errors
// 2; robot.exe's press ends the box with its button.
TEST(RobotCrossProcess, ReadsAndPressesTheBoxOfThatProcessOnlyAlsoThroughTheCli)
{
    ChildProcess box(kFixture);
    robot::BoxRecorder childBoxes(box.Pid()), ownBoxes(GetCurrentProcessId());
    robot::MessageBoxInfo read;
    std::string failure;
    ASSERT_NE(nullptr, robot::WaitMessageBox(box.Pid(), kWaitMs, &read, &failure)) << failure;
    EXPECT_TRUE(read.caption == kBoxCaption && read.text == kBoxText && read.icon == 0);
    EXPECT_EQ(std::vector<int>({IDYES, IDNO, IDCANCEL}), read.buttons);
    EXPECT_EQ(nullptr, robot::WaitMessageBox(GetCurrentProcessId(), 200, nullptr, nullptr));
    EXPECT_TRUE(childBoxes.WaitForBoxes(1, kWaitMs) && !ownBoxes.WaitForBoxes(1, 200));
    const std::string outFile = NewTempFile();
    CliRun readBox = RunRobotCli("read-box PID --timeout 10000 --out " + Quote(outFile), &box);
    ASSERT_EQ(0u, readBox.exitCode) << readBox.err;
    EXPECT_EQ("", readBox.out) << "--out takes the output";
    std::string printed = ReadFileBytes(outFile);
    DeleteFileA(outFile.c_str());
    EXPECT_EQ(0u, printed.find("hwnd 0x")) << printed;
    EXPECT_EQ(u8"caption \"ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ\"\n"
              u8"text \"ソフトウェアの使用許諾契約書を表示します。\\n\\nこの機能は後から使用できます。\"\n"
              u8"buttons IDYES IDNO IDCANCEL\nicon none\n",
              printed.substr(printed.find('\n') + 1));
    CliRun press = RunRobotCli("press PID --caption " + Quote(kBoxCaption) + " --id 1005", &box);
    EXPECT_EQ(1u, press.exitCode);
    EXPECT_NE(std::string::npos, press.err.find("could not press control 1005")) << press.err;
    CliRun wait = RunRobotCli("wait PID --caption " + Quote("存在しない窓") + " --timeout 300", &box);
    EXPECT_EQ(1u, wait.exitCode);
    EXPECT_NE(std::string::npos, wait.err.find(u8"caption \"ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ\" visible"))
        << wait.err;
    CliRun yes = RunRobotCli("press PID --class #32770 --caption " + Quote(kBoxCaption) + " --id IDYES", &box);
    EXPECT_EQ(0u, yes.exitCode) << yes.err;
    DWORD exitCode = 0;
    EXPECT_TRUE(box.Wait(kWaitMs, &exitCode) && exitCode == IDYES) << exitCode;
    for (const char* arguments : {"", "frobnicate", "press --id", "wait --pid x", "wait --colour red"}) {
        CliRun run = RunRobotCli(arguments);
        EXPECT_EQ(2u, run.exitCode) << "robot " << arguments << "\n" << run.err;
        EXPECT_NE(std::string::npos, run.err.find("usage: robot COMMAND")) << "robot " << arguments;
    }
}

}  // namespace
