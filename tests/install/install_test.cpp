// The install procedure as a user meets it: install_entry.exe runs DoInstall
// as SETUP.EXE will, over a medium of three disks made by mkmedium; the robot
// answers every box from this process, "inserts" a disk by copying it into
// the medium's folder and presses the progress window's stop (WM_CLOSE, as
// its close box) while a disk prompt is open. Then the files, settings
// files, registry values and shortcuts the run left are read back.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <map>

#include "base/text.h"
#include "dazo/Func.h"
#include "file_test.h"
#include "robot/box_answers.h"
#include "robot/robot.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"
#include "testkit/child_process.h"
#include "testkit/shortcut_reader.h"
#include "testmedium/test_medium.h"

namespace {

const char kTitle[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
const char kCompleted[] =
    "セットアップを完了しました。\n「ヴェルンド！出納帳 Version 5」のアイコンをクリックするとヴェルンド出納帳を起動できます。";
const char kStopped[] =
    "セットアップを中止しました。\nセットアップは完了してないのでヴェルンド！出納帳 Version 5.5(ゼノプ版) は使用できません。";

// DARVOSHL.EXE starts disk 2, README.TXT disk 3.
const char kDescription[] =
    "[Medium]\r\nSource=src\r\nDiskSize=20480\r\n"
    "[Common]\r\n$(WinSysPath)DARVO5UI.DLL=, delete\r\n$(AppPath)COMMON.DLL=bin\\COMMON.DLL, compress\r\n"
    "[Files]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "$(AppPath)HELP\\DARVO5.HLP=doc\\DARVO5.HLP\r\n$(AppPath)SETUP.EXE=setup\\SETUP.EXE\r\n"
    "[Setting]\r\n$(AppPath)SHARE.ENV=settings\\SHARE.ENV\r\n$(AppPath)DARVOSHL.ENV=settings\\DARVOSHL.ENV\r\n"
    "$(AppPath)DARVO5.ENV=settings\\DARVO5.ENV\r\n"
    "[Sample]\r\n$(AppPath)サンプル.QLB=sample\\サンプル.QLB, compress\r\n"
    "[Update]\r\n$(AppPath)DARVO5.EXE=bin\\DARVO5.EXE, compress\r\n$(AppPath)DARVOSHL.EXE=bin\\DARVOSHL.EXE, compress\r\n"
    "[Files2]\r\n$(AppPath)README.TXT=doc\\README.TXT, compress\r\n$(DocPath)読んでね.TXT=doc\\DOC.TXT\r\n";

robot::BoxAnswer Stop(int press) { return {kTitle, "セットアップを中止しますか？", {IDYES, IDNO}, press}; }

class InstallE2e : public ::testing::Test {
protected:
    InstallE2e() : m_work("install_e2e")
    {
        const std::pair<const char*, std::string> sources[] = {
            {"setup\\SETUP.EXE", "MZ" + NoiseBytes(998, 1)}, {"bin\\DARVO5.EXE", NoiseBytes(8000, 2)},
            {"bin\\DARVOSHL.EXE", NoiseBytes(8000, 3)}, {"bin\\COMMON.DLL", NoiseBytes(2000, 4)},
            {"doc\\DARVO5.HLP", NoiseBytes(2000, 5)}, {"doc\\README.TXT", NoiseBytes(8000, 6)},
            {"doc\\DOC.TXT", "読んでね\r\n"}, {"settings\\SHARE.ENV", "[出納帳]\r\nVersion=5500\r\n"},
            {"settings\\DARVOSHL.ENV", "[会社選択]\r\n自動起動=0\r\n"},
            {"settings\\DARVO5.ENV", "[GrDarvo]\r\nRowHighlight=1\r\n"}, {"sample\\サンプル.QLB", NoiseBytes(2000, 7)}};
        for (const auto& [path, bytes] : sources) {
            std::string file = m_work.Path() + "src\\" + path;
            std::filesystem::create_directories(file.substr(0, file.rfind('\\')));
            WriteTestFile(file, bytes);
            m_sources[file.substr(file.rfind('\\') + 1)] = bytes;
        }
        MediumRun made = MakeTestMedium(m_work.Path(), kDescription, m_work.Path() + "src\\setup");
        EXPECT_EQ(0, made.status) << made.problems;
        m_system = Text(AddBackslash(GetSystemDir()));
        WriteTestFile(m_system + "DARVO5UI.DLL", "old");
        // Version 4 as its setup registered it.
        CreateDirectoryA("C:\\DARVO4", nullptr);
        WriteTestFile("C:\\DARVO4\\DARVO4.INI", "[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n"
                                                "[SisanhyoPrnDlg]\r\nTitle=\r\n");
        WriteProfileStringA("コルヴァ アプリケーション", "ヴェルンド！出納帳４", "C:\\DARVO4");
        EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }

    std::string Disk(int disk) const { return m_work.Path() + "out\\DISK" + std::to_string(disk); }

    // What a user does when the prompt asks for the disk: after it, the
    // medium's folder holds that disk's files.
    void Insert(int disk)
    {
        for (const auto& file : std::filesystem::directory_iterator(Disk(disk)))
            std::filesystem::copy_file(file.path(), std::filesystem::path(Disk(1)) / file.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
    }

    robot::BoxAnswer DiskPrompt(int disk, const std::string& source, std::function<void()> whileOpen)
    {
        return {source + "のコピー",
                "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスク " + std::to_string(disk) + " を " + Disk(1) +
                    "\\ にセットして [OK] ボタンを押して下さい",
                {IDOK, IDCANCEL}, IDOK, whileOpen};
    }

    // The progress window's close box: a stop request while the section runs.
    void PressStop()
    {
        HWND doing = robot::WaitWindow(m_pid, "DoingWnd", "ヴェルンド！出納帳 セットアップ", 5000, nullptr);
        EXPECT_TRUE(doing && SendMessageTimeoutA(doing, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr));
    }

    // Runs the install with "name=value" arguments while the robot answers
    // the boxes; the exit code is DoInstall's result.
    DWORD Install(const std::vector<std::string>& arguments, const std::vector<robot::BoxAnswer>& boxes)
    {
        std::string command = Quote(INSTALL_ENTRY_EXE) + " " + Quote("source=" + Disk(1));
        // A backslash before the closing quote would escape it: install_entry
        // gives the folders their trailing backslash.
        for (std::string argument : arguments) {
            if (argument.back() == '\\')
                argument.pop_back();
            command += " " + Quote(argument);
        }
        ChildProcess run(command);
        m_pid = run.Pid();
        EXPECT_TRUE(robot::AnswerBoxesOf(m_pid, boxes));
        DWORD code = 0xDEAD;
        EXPECT_TRUE(run.Wait(20000, &code)) << "the install did not end";
        return code;
    }

    // Each installed file against its source on the medium ("" for absent).
    void ExpectFiles(const std::map<std::string, std::string>& files)
    {
        for (const auto& [path, source] : files)
            EXPECT_TRUE(ReadFileBytes(path) == (source.empty() ? "" : m_sources.at(source))) << path;
    }

    WorkFolder m_work;
    std::map<std::string, std::string> m_sources;  // file name: bytes
    std::string m_system;
    DWORD m_pid = 0;
};

std::string AppValue(const char* name)
{
    return Text(ReadRegString(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, name, "(missing)"));
}

TEST_F(InstallE2e, FreshInstallAsksAndRecordsEverything)
{
    // The program folder holds settings already, and is typed in lower case
    // with a short component (Wine's short names are hashed: asked for).
    DataObjStr programFiles;
    ASSERT_EQ(1, GetSpecialFolder(&programFiles, nullptr, CSIDL_PROGRAM_FILES, 1));
    std::string longApp = Text(programFiles) + "Darvo5\\";
    ASSERT_TRUE(CreateDirectoryA(longApp.c_str(), nullptr) && WriteTestFile(longApp + "OLD.ENV", ""));
    char shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(programFiles, shortName, MAX_PATH), 0u);
    std::string app = std::string(CharLowerA(shortName)) + "darvo5\\";
    const std::string doc = "C:\\出納帳 データ\\";
    ASSERT_TRUE(CreateDirectoryA(doc.c_str(), nullptr) && WriteTestFile(doc + "サンプル.QLB", "mine"));

    EXPECT_EQ(1u, Install({"app=" + app, "doc=" + doc, "user=山田 太郎", "company=コルヴァ商会"},
                          {DiskPrompt(2, "DARVOSHL.EX_", [&] {
                               PressStop();
                               Insert(2);
                               Insert(3);
                           }),
                           Stop(IDNO),  // HELP\DARVO5.HLP is copied all the same
                           {kTitle, "現在の設定を引き継ぎますか？", {IDYES, IDNO}, IDNO},
                           {kTitle, "サンプルデータ[" + doc + "サンプル.QLB]と同名のファイルが存在します。上書きしますか？",
                            {IDYES, IDNO}, robot::kEnterKey},
                           {kTitle, "以前のバージョン４の設定を取り込みますか？", {IDYES, IDNO}, IDYES},
                           {kTitle, kCompleted, {IDOK}, IDOK}}));
    ExpectFiles({{longApp + "COMMON.DLL", "COMMON.DLL"}, {longApp + "DARVO5.EXE", "DARVO5.EXE"},
                 {longApp + "DARVOSHL.EXE", "DARVOSHL.EXE"}, {longApp + "HELP\\DARVO5.HLP", "DARVO5.HLP"},
                 {longApp + "SETUP.EXE", "SETUP.EXE"}, {longApp + "DARVOSHL.ENV", "DARVOSHL.ENV"},
                 {longApp + "README.TXT", "README.TXT"}, {doc + "読んでね.TXT", "DOC.TXT"},
                 {m_system + "DARVO5UI.DLL", ""}});
    EXPECT_TRUE(ReadFileBytes(doc + "サンプル.QLB") == "mine") << "Enter replaced the sample";
    EXPECT_EQ(ReadFileBytes("C:\\DARVO4\\DARVO4.INI"), ReadFileBytes(longApp + "DARVO4.INI"));
    EXPECT_SAME_TEXT("[出納帳]\r\nVersion=5621\r\n新規作成=2\r\n[Default]\r\n会社名=コルヴァ商会\r\n名前=山田 太郎\r\n"
                     "[会社選択]\r\nFolder=" + doc + "\r\n",
                     ReadFileBytes(longApp + "SHARE.ENV"));
    EXPECT_SAME_TEXT("[GrDarvo]\r\nRowHighlight=1\r\n[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n",
                     ReadFileBytes(longApp + "DARVO5.ENV"));

    SetupParams shell;
    GetShellFolders(&shell);
    const DataObjStr& menu = IsBlankText(shell.m_strMenuShared) ? shell.m_strMenuPrivate : shell.m_strMenuShared;
    const DataObjStr& desk = IsBlankText(shell.m_strMenuShared) ? shell.m_strDeskPrivate : shell.m_strDeskShared;
    std::string menuLink = Text(menu) + SHELLREG_LINK_NAME, deskLink = Text(desk) + SHELLREG_LINK_NAME;
    EXPECT_EQ(app, AppValue("AppDir"));
    EXPECT_EQ(AsciiUpper(longApp), AppValue("KeyAppDir"));
    EXPECT_EQ(menuLink, AppValue("pathShortcut1"));
    EXPECT_EQ(deskLink, AppValue("pathShortcut2"));
    EXPECT_EQ("CorvaZozuveDocument", Text(ReadRegString(HKEY_CLASSES_ROOT, ".QLB", nullptr, "")));
    EXPECT_EQ("\"" + app + "DARVOSHL.EXE\" \"%1\"",
              Text(ReadRegString(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell\\open\\command", nullptr, "")));
    EXPECT_EQ("\"" + longApp + "SETUP.EXE\" /uninstall",
              Text(ReadRegString(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString", "")));
    std::string launcher = app + "DARVOSHL.EXE";
    for (const std::string& link : {menuLink, deskLink})
        EXPECT_EQ(launcher + " / ヴェルンド！出納帳 Version 5 / " + launcher + ", 0", DescribeShortcut(link)) << link;
}

TEST_F(InstallE2e, StopInFiles2KeepsWhatWasCopiedButTheLauncher)
{
    const std::string app = "C:\\出納帳\\", doc = "C:\\データ\\";
    const std::string settings = "[出納帳]\r\nVersion=5000\r\n";
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr) && WriteTestFile(app + "SHARE.ENV", settings));

    EXPECT_EQ(0u, Install({"app=" + app, "doc=" + doc},
                          {DiskPrompt(2, "DARVOSHL.EX_", [&] { Insert(2); }),
                           {kTitle, "現在の設定を引き継ぎますか？", {IDYES, IDNO}, IDYES},
                           DiskPrompt(3, "README.TX_", [&] {
                               PressStop();
                               Insert(3);
                           }),
                           Stop(IDYES),  // before 読んでね.TXT
                           {kTitle, kStopped, {IDOK}, IDOK}}));
    // The sample's $(AppPath) is the data folder.
    ExpectFiles({{app + "DARVO5.EXE", "DARVO5.EXE"}, {app + "HELP\\DARVO5.HLP", "DARVO5.HLP"},
                 {app + "README.TXT", "README.TXT"}, {doc + "サンプル.QLB", "サンプル.QLB"},
                 {app + "DARVOSHL.EXE", ""}, {app + "DARVOSHL.ENV", ""}, {doc + "読んでね.TXT", ""}});
    EXPECT_EQ(settings, ReadFileBytes(app + "SHARE.ENV"));
    EXPECT_EQ("(missing)", AppValue("AppDir"));
}

TEST_F(InstallE2e, UpdateCopiesItsSectionsMovesTheAutoStartAndRecordsNothing)
{
    const std::string app = "C:\\出納帳\\", doc = "C:\\データ\\";
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr) &&
                WriteTestFile(app + "SHARE.ENV", "[出納帳]\r\nVersion=5019\r\n") &&
                WriteTestFile(app + "DARVOSHL.ENV", "[会社選択]\r\n自動起動=1\r\n"));
    Insert(2);
    Insert(3);

    EXPECT_EQ(1u, Install({"app=" + app, "doc=" + doc, "update=1", "sample=0"}, {{kTitle, kCompleted, {IDOK}, IDOK}}));
    ExpectFiles({{app + "COMMON.DLL", "COMMON.DLL"}, {app + "DARVO5.EXE", "DARVO5.EXE"},
                 {app + "DARVOSHL.EXE", "DARVOSHL.EXE"}, {app + "README.TXT", "README.TXT"},
                 {doc + "読んでね.TXT", "DOC.TXT"}, {app + "HELP\\DARVO5.HLP", ""}, {app + "SETUP.EXE", ""},
                 {app + "DARVO5.ENV", ""}, {doc + "サンプル.QLB", ""}});
    EXPECT_SAME_TEXT("[出納帳]\r\nVersion=5621\r\n[会社選択]\r\n自動起動=1\r\n", ReadFileBytes(app + "SHARE.ENV"));
    EXPECT_SAME_TEXT("[会社選択]\r\n", ReadFileBytes(app + "DARVOSHL.ENV"));
    EXPECT_EQ("(missing)", AppValue("AppDir"));
    EXPECT_EQ("(missing)", Text(ReadRegString(HKEY_CLASSES_ROOT, ".QLB", nullptr, "(missing)")));
    EXPECT_EQ("(missing)",
              Text(ReadRegString(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString", "(missing)")));
}

}  // namespace
