// SETUP.EXE at start-up, run under Wine as a user runs it: the relaunch from
// the Windows folder, the refusals, the single-instance rules, the user lock
// and the command tail. Each run is one case with a Wine prefix of its own,
// and checks everything the run shows: its boxes, the copy in the Windows
// folder and the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dazo/Func.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "testkit/child_process.h"

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr char kSetupTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
constexpr char kProductTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版)";
const std::string kMedium = "C:\\medium\\";
const char kNoPath[] = "指定されたパスが見つかりません。";
const std::string kCopy = std::string(AddBackslash(GetWindowsDir())) + "SETUP1.EXE";

DWORD ExitCode(HANDLE process)
{
    DWORD code = 0xDEAD;
    EXPECT_TRUE(WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code))
        << "the setup did not end";
    return code;
}

// The install driver's first word about a source folder without a file
// list: the report that names the folder it was given.
robot::BoxAnswer Install(const std::string& source, const char* systemText = "指定されたファイルが見つかりません。")
{
    return {kSetupTitle, std::string(systemText) + "\n\nファイル " + source + "SETUP.LST をオープンできません.", {IDOK}, IDOK};
}

struct SetupRun {
    const char* name;
    std::string medium, tail;
    bool relaunches;  // the copy in the Windows folder does the work
    std::vector<robot::BoxAnswer> boxes;
    DWORD exitCode;
    std::string fault = "";  // faults.exe's arguments: what stands while the setup runs
    std::string emptyFile = "";  // made, with its folder, before the run
    bool copyRuns = false;   // a first setup's copy in the Windows folder shows its first box
};

std::unique_ptr<ChildProcess> g_fault;  // the run's fault, while it stands

// The application runs (holds its mutex): the user is asked to close it;
// whileOpen may end the application.
const std::string kApplication = "hold-mutex \"Corva Darvo5 Running Mutex\" 60000";
robot::BoxAnswer CloseTheApplication(int press, std::function<void(HWND)> whileOpen = nullptr)
{
    return {kSetupTitle, "出納帳が起動中はセットアップを行えません.\n\n出納帳のウィンドウを全て閉じて OK を押してください",
            {IDOK, IDCANCEL}, press, whileOpen};
}

// The user lock's ID of the folder "C:\表ソ計\": letters upper-cased and
// backslashes turned to slashes, but not the trail bytes 5C of 表 and ソ or
// the trail byte "v" of 計.
const std::string kLockId = "\"VelundDarvo5 C:/\x95\x5C\x83\x5C\x8Cv/\"";
const std::string kLongFolder = "C:\\" + std::string(40, 'a') + "\\" + std::string(40, 'b') + "\\" +
                                std::string(40, 'c') + "\\" + std::string(40, 'd') + "\\" + std::string(40, 'e') + "\\";

const SetupRun kRuns[] = {
    {"BlanksOnlyAreNoArgument", kMedium, "   ", true, {Install(kMedium)}, 0},
    // The uninstall entry starts the setup with the option only.
    // The choice dialog of labels and buttons reads as a box.
    {"UninstallAutoStartWithoutInstallation", "C:\\Program Files\\Velund\\", "/Uninstall", true,
     {{"ヴェルンド！出納帳 Version 5 設定/削除", "処理を選択してください", {IDCANCEL, 4, 3}, 4},
      {kSetupTitle, "エラーです\n\nヴェルンド！出納帳は正しくセットアップされていません", {IDOK}, IDOK}}, 1},
    {"InstalledProgramFolderAsksForTheMedium", "C:\\出納帳\\", "", false,
     {{kSetupTitle, "インストールディスクの SETUP.EXE を実行してください", {IDOK}, IDOK}}, 0, "", "C:\\出納帳\\DARVO5.EXE"},
    {"Version4WindowIsRefused", kMedium, "\"" + kMedium + "\"", false,
     {{"ヴェルンド！出納帳のセットアップ", "ヴェルンド！出納帳を終了してもう一度実行してください", {IDOK}, IDOK}}, 0,
     "window CORVA_DARVO4_MainWnd 60000"},
    {"RunningApplicationCancelled", kMedium, kMedium, false, {CloseTheApplication(IDCANCEL)}, 0, kApplication},
    // Each OK runs the whole mutex sequence again; once the application has
    // ended the setup goes on.
    {"RunningApplicationAskedUntilItEnds", kMedium, kMedium, false,
     {CloseTheApplication(IDOK), CloseTheApplication(IDOK, [](HWND) { g_fault.reset(); }), Install(kMedium)}, 0,
     kApplication},
    {"FolderInUseByAnotherUser", "C:\\表ソ計\\", kMedium, false,
     {{kProductTitle, "[経理の山田]が「ヴェルンド！出納帳」または「セットアップ」を既に使用中です.", {IDOK}, IDOK}},
     (DWORD)-1, "userlock " + kLockId + " 経理の山田 500 60000"},
    {"LockBlockOfAnotherVersion", "C:\\表ソ計\\", kMedium, false,
     {{kProductTitle, "エラー！ユーザー排他処理で使う共有メモリのバージョンが一致しません", {IDOK}, IDOK}}, (DWORD)-1,
     "userlock " + kLockId + " someone 499 60000"},
    // "VelundDarvo5 " and a folder of more than 207 bytes exceed the 220
    // bytes of an ID.
    {"ProgramFolderTooLongForTheLock", kLongFolder, kMedium, false,
     {{kProductTitle, "フォルダ名が長すぎます！\n\n" + kLongFolder, {IDOK}, IDOK}}, (DWORD)-1},
    {"QuotedFolderWithBlanksAndAFurtherWord", kMedium, "\"D:\\my medium\\\" extra", false,
     {Install("D:\\my medium\\", kNoPath)}, 0},
    // With a file list and nothing registered, an update ends at once.
    {"UpdateWithUninstallUpdates", kMedium, "/UNINSTALL /update C:\\SRC", false,
     {{kSetupTitle, "ヴェルンド！出納帳 Version 5.5(ゼノプ版)が見つかりません", {IDOK}, IDOK}}, 0, "",
     "C:\\SRC\\SETUP.LST"},
    {"GluedLettersAfterUpdateBecomeTheFolder", kMedium, "/UPDATEX", false, {Install("X\\", kNoPath)}, 0},
    {"UnknownOptionBecomesTheFolder", kMedium, "/FOO", false, {Install("FOO\\", kNoPath)}, 0},
    // The running copy cannot be replaced; nothing else is started.
    {"CopyInUseCannotBeReplaced", kMedium, "", false,
     {{kSetupTitle, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。\n\nファイル " + kCopy + " をオープンできません.",
       {IDOK}, IDOK}}, 0, "", "", true},
    {"SecondSetupIsRefused", kMedium, kMedium, false,
     {{kSetupTitle, "エラーです\n\n出納帳セットアップがすでに起動中です", {IDOK}, IDOK}}, 0, "", "", true},
};

void PrintTo(const SetupRun& run, std::ostream* os) { *os << run.name; }

class StartupE2e : public ::testing::TestWithParam<SetupRun> {};

TEST_P(StartupE2e, ShowsItsBoxesAndEndsWithItsCode)
{
    const SetupRun& run = GetParam();
    g_fault.reset(run.fault.empty() ? nullptr : new ChildProcess(Quote(FAULTS_EXE) + " " + run.fault));
    ASSERT_TRUE(!g_fault || g_fault->WaitForOutput("ready", kWaitMs));
    const std::string setup = run.medium + "SETUP.EXE";
    CreateDirTree(run.medium.c_str());
    CopyFileA(SETUP_EXE, setup.c_str(), FALSE);
    std::unique_ptr<ChildProcess> before(run.copyRuns ? new ChildProcess(Quote(setup)) : nullptr);
    HANDLE runningCopy = before ? WaitForProcess("SETUP1.EXE", kWaitMs) : nullptr;
    HWND copyBox = nullptr;
    ASSERT_TRUE(!before || (runningCopy && robot::NextMessageBoxIs(GetProcessId(runningCopy), kSetupTitle,
                                                                   Install(kMedium).text.c_str(), {IDOK}, kWaitMs,
                                                                   &copyBox)));
    if (!run.emptyFile.empty() && CreateDirTree(run.emptyFile.substr(0, run.emptyFile.rfind('\\') + 1).c_str()))
        std::ofstream(run.emptyFile).close();
    std::unique_ptr<ChildProcess> first(new ChildProcess(Quote(setup) + (run.tail.empty() ? "" : " " + run.tail)));
    HANDLE worker = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, first->Pid());
    if (run.relaunches) {
        EXPECT_EQ(0u, ExitCode(worker)) << "the first instance";
        worker = WaitForProcess("SETUP1.EXE", kWaitMs);
        ASSERT_NE(nullptr, worker) << "no SETUP1.EXE runs";
    }
    EXPECT_TRUE(robot::AnswerBoxesOf(GetProcessId(worker), run.boxes));
    EXPECT_EQ(run.exitCode, ExitCode(worker));
    WIN32_FILE_ATTRIBUTE_DATA source {}, copy {};
    GetFileAttributesExA(setup.c_str(), GetFileExInfoStandard, &source);
    bool copied = GetFileAttributesExA(kCopy.c_str(), GetFileExInfoStandard, &copy);
    EXPECT_EQ(run.relaunches || run.copyRuns, copied) << kCopy;
    EXPECT_TRUE(!copied || (source.nFileSizeLow == copy.nFileSizeLow &&
                            CompareFileTime(&source.ftLastWriteTime, &copy.ftLastWriteTime) == 0))
        << "the copy keeps the size and time of the program";
    EXPECT_EQ(run.copyRuns ? 1u : 0u, ProcessIds("SETUP1.EXE").size()) << "SETUP1.EXE processes";
    if (copyBox) {
        robot::PressButton(copyBox, IDOK);
        EXPECT_EQ(0u, ExitCode(runningCopy)) << "the copy that ran first";
    }
    g_fault.reset();
}

INSTANTIATE_TEST_SUITE_P(Runs, StartupE2e, ::testing::ValuesIn(kRuns),
                         [](const ::testing::TestParamInfo<SetupRun>& info) { return std::string(info.param.name); });

}  // namespace
