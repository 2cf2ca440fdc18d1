// SETUP.EXE at start-up, run under Wine as a user runs it: the relaunch from
// the Windows folder, the refusals, the single-instance rules, the user lock
// and the command tail. Each test has a Wine prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "setup_run.h"

namespace {

const std::string kMedium = "C:\\medium\\";

// Answers the next box of process pid after checking it.
::testing::AssertionResult Answer(DWORD pid, const char* caption, const std::string& text,
                                  std::initializer_list<int> buttons, int press)
{
    HWND box = nullptr;
    ::testing::AssertionResult same = robot::NextMessageBoxIs(pid, caption, text.c_str(), buttons, kE2eWaitMs, &box);
    if (box) {
        robot::PressButton(box, press);
        robot::WaitGone(box, kE2eWaitMs);
    }
    return same;
}

DWORD ExitCode(ChildProcess& process)
{
    DWORD code = 0xDEAD;
    EXPECT_TRUE(process.Wait(kE2eWaitMs, &code)) << "the setup did not end";
    return code;
}

DWORD ExitCode(RunningProcess& process)
{
    DWORD code = 0xDEAD;
    EXPECT_TRUE(process.Wait(kE2eWaitMs, &code)) << "the setup did not end";
    return code;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The stand-in of the install driver names the mode and the source folder.
std::string InstallText(const std::string& source, bool update = false)
{
    return std::string(update ? "UPDATE" : "INSTALL") + " [" + source + "]";
}

TEST(RelaunchE2e, FromTheMediumWithoutArgumentTheCopyInTheWindowsFolderInstalls)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess first(CommandLineOf(setup, ""));
    EXPECT_EQ(0u, ExitCode(first));

    std::string copy = WindowsFolder() + "SETUP1.EXE";
    ASSERT_TRUE(Exists(copy));
    WIN32_FILE_ATTRIBUTE_DATA source, target;
    GetFileAttributesExA(setup.c_str(), GetFileExInfoStandard, &source);
    GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &target);
    EXPECT_EQ(source.nFileSizeLow, target.nFileSizeLow);
    EXPECT_EQ(0, CompareFileTime(&source.ftLastWriteTime, &target.ftLastWriteTime));

    RunningProcess second("SETUP1.EXE", kE2eWaitMs);
    ASSERT_TRUE(second.Found());
    EXPECT_TRUE(Answer(second.Pid(), kSetupTitle, InstallText(kMedium), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(second));
}

TEST(RelaunchE2e, BlanksOnlyAreNoArgument)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess first(CommandLineOf(setup, "   "));
    EXPECT_EQ(0u, ExitCode(first));
    RunningProcess second("SETUP1.EXE", kE2eWaitMs);
    ASSERT_TRUE(second.Found());
    EXPECT_TRUE(Answer(second.Pid(), kSetupTitle, InstallText(kMedium), {IDOK}, IDOK));
}

// The uninstall entry starts the setup with the option only: the copy gets
// the option and the program folder, and its exit code says whether the
// removal completed.
TEST(RelaunchE2e, UninstallOptionIsPassedOnAndSetsTheExitCode)
{
    std::string setup = MakeMedium("C:\\Program Files\\Velund\\");
    for (int press : {IDCANCEL, IDOK}) {
        ChildProcess first(CommandLineOf(setup, "/Uninstall"));
        EXPECT_EQ(0u, ExitCode(first));
        RunningProcess second("SETUP1.EXE", kE2eWaitMs);
        ASSERT_TRUE(second.Found());
        EXPECT_TRUE(Answer(second.Pid(), kSetupTitle, "UNINSTALL [C:\\Program Files\\Velund\\]", {IDOK, IDCANCEL},
                           press));
        EXPECT_EQ(press == IDOK ? 0u : 1u, ExitCode(second));
    }
}

TEST(StartupE2e, WithoutArgumentInAnInstalledProgramFolderAsksForTheMedium)
{
    std::string setup = MakeMedium("C:\\出納帳\\");
    std::ofstream("C:\\出納帳\\DARVO5.EXE") << "x";
    ChildProcess run(CommandLineOf(setup, ""));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, "インストールディスクの SETUP.EXE を実行してください", {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
    EXPECT_FALSE(Exists(WindowsFolder() + "SETUP1.EXE"));
}

TEST(StartupE2e, Version4WindowIsRefusedWithExitZero)
{
    ChildProcess darvo4(CommandLineOf(FAULTS_EXE, "window CORVA_DARVO4_MainWnd 30000"));
    ASSERT_TRUE(darvo4.WaitForOutput("ready", kE2eWaitMs));
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, "\"" + kMedium + "\""));
    EXPECT_TRUE(Answer(run.Pid(), "ヴェルンド！出納帳のセットアップ",
                       "ヴェルンド！出納帳を終了してもう一度実行してください", {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
}

TEST(SingleInstanceE2e, SecondSetupWhileOneRunsIsRefused)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess first(CommandLineOf(setup, kMedium));
    HWND firstBox = nullptr;
    ASSERT_TRUE(robot::NextMessageBoxIs(first.Pid(), kSetupTitle, InstallText(kMedium).c_str(), {IDOK}, kE2eWaitMs,
                                        &firstBox));

    ChildProcess second(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(second.Pid(), kSetupTitle, "エラーです\n\n出納帳セットアップがすでに起動中です", {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(second));

    robot::PressButton(firstBox, IDOK);
    EXPECT_EQ(0u, ExitCode(first));
}

const char kRunningQuestion[] =
    "出納帳が起動中はセットアップを行えません.\n\n出納帳のウィンドウを全て閉じて OK を押してください";

// Each OK runs the whole mutex sequence again; once the application has
// ended the setup goes on.
TEST(SingleInstanceE2e, RunningApplicationIsAskedAboutUntilItEnds)
{
    auto application = std::make_unique<ChildProcess>(
        CommandLineOf(FAULTS_EXE, "hold-mutex \"Corva Darvo5 Running Mutex\" 60000"));
    ASSERT_TRUE(application->WaitForOutput("ready", kE2eWaitMs));
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, kRunningQuestion, {IDOK, IDCANCEL}, IDOK));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, kRunningQuestion, {IDOK, IDCANCEL}, IDOK));
    application.reset();  // the application ends
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, kRunningQuestion, {IDOK, IDCANCEL}, IDOK));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, InstallText(kMedium), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
}

TEST(SingleInstanceE2e, RunningApplicationCancelEndsWithExitZero)
{
    ChildProcess application(CommandLineOf(FAULTS_EXE, "hold-mutex \"Corva Darvo5 Running Mutex\" 60000"));
    ASSERT_TRUE(application.WaitForOutput("ready", kE2eWaitMs));
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, kRunningQuestion, {IDOK, IDCANCEL}, IDCANCEL));
    EXPECT_EQ(0u, ExitCode(run));
}

const char kProductTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版)";

// Another user's session published the lock block of this program folder.
TEST(UserLockE2e, FolderInUseByAnotherUserStopsWithTheirName)
{
    ChildProcess other(CommandLineOf(FAULTS_EXE, "userlock \"VelundDarvo5 C:/MEDIUM/\" 経理の山田 500 60000"));
    ASSERT_TRUE(other.WaitForOutput("ready", kE2eWaitMs));
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(run.Pid(), kProductTitle,
                       "[経理の山田]が「ヴェルンド！出納帳」または「セットアップ」を既に使用中です.", {IDOK}, IDOK));
    EXPECT_EQ((DWORD)-1, ExitCode(run));
}

TEST(UserLockE2e, BlockOfAnotherVersionStopsWithTheMismatchError)
{
    ChildProcess other(CommandLineOf(FAULTS_EXE, "userlock \"VelundDarvo5 C:/MEDIUM/\" someone 499 60000"));
    ASSERT_TRUE(other.WaitForOutput("ready", kE2eWaitMs));
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(run.Pid(), kProductTitle,
                       "エラー！ユーザー排他処理で使う共有メモリのバージョンが一致しません", {IDOK}, IDOK));
    EXPECT_EQ((DWORD)-1, ExitCode(run));
}

TEST(UserLockE2e, ProgramFolderTooLongForTheLockStops)
{
    // "VelundDarvo5 " and a folder of more than 207 bytes exceed the 220
    // bytes of an application ID.
    std::string folder = "C:\\";
    for (int i = 0; i < 5; ++i)
        folder += std::string(40, (char)('a' + i)) + "\\";
    std::string setup = MakeMedium(folder);
    ChildProcess run(CommandLineOf(setup, kMedium));
    EXPECT_TRUE(Answer(run.Pid(), kProductTitle, "フォルダ名が長すぎます！\n\n" + folder, {IDOK}, IDOK));
    EXPECT_EQ((DWORD)-1, ExitCode(run));
}

TEST(CommandTailE2e, QuotedFolderWithBlanksAndAFurtherWord)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, "\"D:\\my medium\\\" extra"));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, InstallText("D:\\my medium\\"), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
}

TEST(CommandTailE2e, UpdateWithUninstallUpdates)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, "/UNINSTALL /update C:\\SRC"));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, InstallText("C:\\SRC", true), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
}

TEST(CommandTailE2e, GluedLettersAfterUpdateBecomeTheFolder)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, "/UPDATEX"));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, InstallText("X", true), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
    EXPECT_FALSE(Exists(WindowsFolder() + "SETUP1.EXE"));
}

TEST(CommandTailE2e, UnknownOptionBecomesTheFolder)
{
    std::string setup = MakeMedium(kMedium);
    ChildProcess run(CommandLineOf(setup, "/FOO"));
    EXPECT_TRUE(Answer(run.Pid(), kSetupTitle, InstallText("FOO"), {IDOK}, IDOK));
    EXPECT_EQ(0u, ExitCode(run));
}

}  // namespace
