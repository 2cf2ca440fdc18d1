// The install procedure as a user meets it (tools/testinstall): DoInstall
// started as SETUP.EXE will start it, over a medium of three disks; the robot
// answers every box, inserts a disk by copying it into the medium's folder
// and presses the progress window's stop (WM_CLOSE, as its close box) while a
// disk prompt is open. Then the files, settings and records left are read.
#include "dazo/Func.h"
#include "scratch_test.h"
#include "testinstall/install_run.h"
#include "testkit/child_process.h"

namespace {

const char kCompleted[] =
    "セットアップを完了しました。\n「ヴェルンド！出納帳 Version 5」のアイコンをクリックするとヴェルンド出納帳を起動できます。";
const char kStopped[] =
    "セットアップを中止しました。\nセットアップは完了してないのでヴェルンド！出納帳 Version 5.5(ゼノプ版) は使用できません。";
const std::string kApp = "C:\\出納帳 app\\", kDoc = "C:\\データ\\";

robot::BoxAnswer Stop(int press) { return InstallRun::Question("セットアップを中止しますか？", press); }

class InstallE2e : public ::testing::Test {
protected:
    InstallRun m_run {INSTALL_ENTRY_EXE};
};

TEST_F(InstallE2e, FreshInstallAsksAndRecordsEverything)
{
    // Settings in the program folder, the user's own sample, version 4.
    ASSERT_TRUE(CreateDirectoryA(kApp.c_str(), nullptr) && WriteTestFile(kApp + "OLD.ENV", ""));
    ASSERT_TRUE(CreateDirectoryA(kDoc.c_str(), nullptr) && WriteTestFile(kDoc + "サンプル.QLB", "mine"));
    ASSERT_TRUE(CreateDirectoryA("C:\\DARVO4", nullptr) &&
                WriteTestFile("C:\\DARVO4\\DARVO4.INI", "[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n"));
    WriteProfileStringA("コルヴァ アプリケーション", "ヴェルンド！出納帳４", "C:\\DARVO4");
    std::string oldDll = Text(AddBackslash(GetSystemDir())) + "DARVO5UI.DLL";
    WriteTestFile(oldDll, "old");

    EXPECT_EQ(1u, m_run.Install({"app=" + kApp, "doc=" + kDoc, "user=山田 太郎", "company=コルヴァ商会"},
        {m_run.DiskPrompt(2, "DARVOSHL.EX_", [&](HWND) { m_run.PressStop(); m_run.Insert(2); m_run.Insert(3); }),
         Stop(IDNO),  // HELP\DARVO5.HLP is copied all the same
         InstallRun::Question("現在の設定を引き継ぎますか？", IDNO),
         InstallRun::Question("サンプルデータ[" + kDoc + "サンプル.QLB]と同名のファイルが存在します。上書きしますか？",
                              robot::kEnterKey),
         InstallRun::Question("以前のバージョン４の設定を取り込みますか？", IDYES), InstallRun::Notice(kCompleted)}));
    EXPECT_EQ("", m_run.Differences({{kApp + "COMMON.DLL", "COMMON.DLL"}, {kApp + "DARVO5.EXE", "DARVO5.EXE"},
        {kApp + "DARVOSHL.EXE", "DARVOSHL.EXE"}, {kApp + "HELP\\DARVO5.HLP", "DARVO5.HLP"}, {kApp + "SETUP.EXE", "SETUP.EXE"},
        {kApp + "DARVOSHL.ENV", "DARVOSHL.ENV"}, {kApp + "README.TXT", "README.TXT"}, {kDoc + "読んでね.TXT", "DOC.TXT"},
        {oldDll, ""}}));
    EXPECT_TRUE(ReadFileBytes(kDoc + "サンプル.QLB") == "mine") << "Enter replaced the sample";
    EXPECT_EQ(ReadFileBytes("C:\\DARVO4\\DARVO4.INI"), ReadFileBytes(kApp + "DARVO4.INI"));
    EXPECT_SAME_TEXT("[出納帳]\r\nVersion=5621\r\n新規作成=2\r\n[Default]\r\n会社名=コルヴァ商会\r\n名前=山田 太郎\r\n"
                     "[会社選択]\r\nFolder=" + kDoc + "\r\n", ReadFileBytes(kApp + "SHARE.ENV"));
    EXPECT_SAME_TEXT("[GrDarvo]\r\nRowHighlight=1\r\n[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n",
                     ReadFileBytes(kApp + "DARVO5.ENV"));
    std::string launcher = kApp + "DARVOSHL.EXE", link = launcher + " / ヴェルンド！出納帳 Version 5 / " + launcher + ", 0\n";
    EXPECT_SAME_TEXT("AppDir=" + kApp + "\nKeyAppDir=" + AsciiUpper(kApp) + "\npathShortcut1=" + ShortcutPath(false) +
                     "\npathShortcut2=" + ShortcutPath(true) + "\n.QLB=CorvaZozuveDocument\nopen=\"" + launcher +
                     "\" \"%1\"\nuninstall=\"" + kApp + "SETUP.EXE\" /uninstall\nmenu: " + link + "desktop: " + link,
                     DescribeRecords());
}

TEST_F(InstallE2e, UpdateCopiesItsSectionsMovesTheAutoStartAndRecordsNothing)
{
    ASSERT_TRUE(CreateDirectoryA(kApp.c_str(), nullptr) &&
                WriteTestFile(kApp + "SHARE.ENV", "[出納帳]\r\nVersion=5019\r\n") &&
                WriteTestFile(kApp + "DARVOSHL.ENV", "[会社選択]\r\n自動起動=1\r\n"));
    for (int disk : {2, 3})
        m_run.Insert(disk);
    EXPECT_EQ(1u, m_run.Install({"app=" + kApp, "doc=" + kDoc, "update=1", "sample=0"}, {InstallRun::Notice(kCompleted)}));
    EXPECT_EQ("", m_run.Differences({{kApp + "COMMON.DLL", "COMMON.DLL"}, {kApp + "DARVO5.EXE", "DARVO5.EXE"},
        {kApp + "DARVOSHL.EXE", "DARVOSHL.EXE"}, {kApp + "README.TXT", "README.TXT"}, {kDoc + "読んでね.TXT", "DOC.TXT"},
        {kApp + "HELP\\DARVO5.HLP", ""}, {kApp + "SETUP.EXE", ""}, {kApp + "DARVO5.ENV", ""}, {kDoc + "サンプル.QLB", ""}}));
    EXPECT_SAME_TEXT("[出納帳]\r\nVersion=5621\r\n[会社選択]\r\n自動起動=1\r\n", ReadFileBytes(kApp + "SHARE.ENV"));
    EXPECT_SAME_TEXT("[会社選択]\r\n", ReadFileBytes(kApp + "DARVOSHL.ENV"));
    EXPECT_EQ("", DescribeRecords());
}

TEST_F(InstallE2e, StopInFiles2KeepsWhatWasCopiedButTheLauncher)
{
    EXPECT_EQ(0u, m_run.Install({"app=" + kApp, "doc=" + kDoc, "update=1", "sample=0"},
        {m_run.DiskPrompt(2, "DARVOSHL.EX_", [&](HWND) { m_run.Insert(2); }),
         m_run.DiskPrompt(3, "README.TX_", [&](HWND) { m_run.PressStop(); m_run.Insert(3); }),
         Stop(IDYES),  // before 読んでね.TXT
         InstallRun::Notice(kStopped)}));
    EXPECT_EQ("", m_run.Differences({{kApp + "DARVO5.EXE", "DARVO5.EXE"}, {kApp + "README.TXT", "README.TXT"},
        {kApp + "DARVOSHL.EXE", ""}, {kDoc + "読んでね.TXT", ""}}));
}

}  // namespace
