// Installs and updates as a user meets them (tools/testinstall): SETUP.EXE
// started from a medium of three disks relaunches itself; the robot answers
// every box and the setup dialog, inserts a disk by copying it into the
// medium's folder, and presses the progress window's stop (WM_CLOSE, as its
// close box) while a disk prompt is open. Each run is one case with a Wine
// prefix of its own and checks what it shows and leaves: its boxes, the files
// with their bytes and times, the settings, the records and the exit code.
#include <shlobj.h>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testinstall/install_run.h"
#include "testkit/child_process.h"

namespace {

using Run = InstallRun;

const char kCompleted[] =
    "セットアップを完了しました。\n「ヴェルンド！出納帳 Version 5」のアイコンをクリックするとヴェルンド出納帳を起動できます。";
const char kStopped[] =
    "セットアップを中止しました。\nセットアップは完了してないのでヴェルンド！出納帳 Version 5.5(ゼノプ版) は使用できません。";
const std::string kApp = "C:\\出納帳 app\\", kDoc = "C:\\データ\\";
const std::string kDefaultApp = ShellFolder(CSIDL_PROGRAM_FILES) + "Darvo5\\";
const std::string kDefaultDoc = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "ヴェルンド！出納帳データ\\";
const std::string kOldDll = Text(AddBackslash(GetSystemDir())) + "DARVO5UI.DLL";

const robot::BoxAnswer kStopNo = Run::Question("セットアップを中止しますか？", IDNO);
const robot::BoxAnswer kStopYes = Run::Question("セットアップを中止しますか？", IDYES);
const robot::BoxAnswer kGo = Run::Question("セットアップを行います。よろしいですか？", IDYES);
robot::BoxAnswer Offer(int press)
{
    return Run::Question("以下のフォルダに「ヴェルンド！出納帳 Ver.5」を見つけました。この出納帳を更新（上書きインス"
    "トール）しますか？\n\n" + kApp + "\n\n（更新しても、すでに存在する帳簿データや設定はそのまま残ります）", press);
}
const char kNoVersion[] = "[Default]\r\n名前=山田 太郎\r\n";
const char kAlreadyInstalled[] = "ヴェルンド！出納帳 Version 5 は既にインストールされています。\n\nこのままセットアップを続けると、既存の"
    "出納帳のアンインストールが出来なくなります。\n\n別な場所に出納帳をセットアップしたい場合は、既存の出納帳をアンインストール"
    "してからにすることをお勧めします。\n\nセットアップを中止しますか？\n\n[いいえ]を選択してセットアップを強行することもできます。\n\n";
const std::map<std::string, std::string> kInstalled = {{"DARVO5.EXE", "old"}, {"DARVOSHL.EXE", "old"}};

// Every file of a fresh install in app, by its source on the medium.
std::map<std::string, std::string> FreshFiles(const std::string& app)
{
    return In(app, {{"COMMON.DLL", "COMMON.DLL"}, {"DARVO5.EXE", "DARVO5.EXE"}, {"DARVOSHL.EXE", "DARVOSHL.EXE"},
        {"HELP\\DARVO5.HLP", "DARVO5.HLP"}, {"SETUP.EXE", "SETUP.EXE"}, {"README.TXT", "README.TXT"}}) + In("", {{kOldDll, ""}});
}

std::string FreshRecords(const std::string& app)
{
    std::string launcher = app + "DARVOSHL.EXE", link = launcher + " / ヴェルンド！出納帳 Version 5 / " + launcher + ", 0\n";
    return "AppDir=" + app + "\nKeyAppDir=" + AsciiUpper(app) + "\npathShortcut1=" + ShortcutPath(false) + "\npathShortcut2=" +
           ShortcutPath(true) + "\n.QLB=CorvaZozuveDocument\nopen=\"" + launcher + "\" \"%1\"\nuninstall=\"" + app +
           "SETUP.EXE\" /uninstall\nmenu: " + link + "desktop: " + link;
}

std::string FreshShareEnv(int created, const std::string& doc)
{
    return "[出納帳]\r\nVersion=5621\r\n新規作成=" + std::to_string(created) +
           "\r\n[Default]\r\n会社名=コルヴァ商会\r\n名前=山田 太郎\r\n[会社選択]\r\nFolder=" + doc + "\r\n";
}

struct Flow {
    const char* name;
    std::string tail;                              // after SETUP.EXE on the medium
    std::string registered;                        // "AppDir" before the run
    std::map<std::string, std::string> before;     // files before the run: path, bytes
    std::vector<robot::BoxAnswer> boxes;
    std::map<std::string, std::string> installed;  // path: its source, or "" for none
    std::map<std::string, std::string> texts;      // path: its bytes after the run
    std::string records;
};

void PrintTo(const Flow& flow, std::ostream* os) { *os << flow.name; }

const Flow kFlows[] = {
    {"FreshInstallWithTheDefaults", "", "", {In("", {{kOldDll, "old"}})},
     {Run::SetupDialog([](HWND dialog) {
          EXPECT_EQ(kDefaultApp.substr(0, kDefaultApp.size() - 1), robot::GetItemText(dialog, 121));
          EXPECT_EQ(kDefaultDoc.substr(0, kDefaultDoc.size() - 1), robot::GetItemText(dialog, 141));
      }),
      kGo, Run::DiskPrompt(2, "DARVOSHL.EX_"), Run::DiskPrompt(3, "README.TX_"), Run::Notice(kCompleted)},
     FreshFiles(kDefaultApp) + In(kDefaultApp, {{"DARVO5.ENV", "DARVO5.ENV"}}) +
         In(kDefaultDoc, {{"サンプル.QLB", "サンプル.QLB"}, {"読んでね.TXT", "DOC.TXT"}}),
     {{kDefaultApp + "SHARE.ENV", FreshShareEnv(1, kDefaultDoc)}, {kDefaultApp + "DARVOSHL.ENV", "[会社選択]\r\n自動起動=0\r\n"}},
     FreshRecords(kDefaultApp)},
    // Settings in the program folder, the user's own sample, version 4.
    {"FreshInstallAsksAndRecordsEverything", "", "",
     {{kApp + "OLD.ENV", ""}, {kDoc + "サンプル.QLB", "mine"}, {"C:\\windows\\win.ini", "[コルヴァ アプリケーション]\r\nヴェルンド！出納帳４=C:\\DARVO4\r\n"},
      {"C:\\DARVO4\\DARVO4.INI", "[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n"}, {kOldDll, "old"}},
     {Run::SetupDialog([](HWND dialog) {
          EXPECT_TRUE(robot::SetEditText(dialog, 121, "C:\\出納帳 app") && robot::SetEditText(dialog, 141, "C:\\データ"));
      }),
      Run::Question("指定のプログラムフォルダ\n\n  " + kApp + "\n\nは既に存在します.\n\n同名のファイルは上書きされます。よろしいですか？", IDYES),
      kGo, Run::DiskPrompt(2, "DARVOSHL.EX_", [](HWND) { Run::PressStop(); Run::Insert(2); Run::Insert(3); }),
      kStopNo,  // HELP\DARVO5.HLP is copied all the same
      Run::Question("現在の設定を引き継ぎますか？", IDNO),
      Run::Question("サンプルデータ[" + kDoc + "サンプル.QLB]と同名のファイルが存在します。上書きしますか？", robot::kEnterKey),
      Run::Question("以前のバージョン４の設定を取り込みますか？", IDYES), Run::Notice(kCompleted)},
     FreshFiles(kApp) + In(kDoc, {{"読んでね.TXT", "DOC.TXT"}}),
     {{kApp + "SHARE.ENV", FreshShareEnv(2, kDoc)}, {kDoc + "サンプル.QLB", "mine"},
      {kApp + "DARVO4.INI", "[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n"},
      {kApp + "DARVO5.ENV", "[GrDarvo]\r\nRowHighlight=1\r\n[出納帳]\r\n消費税５％開始日=1997/04/01\r\n[MotoDlg]\r\nTopMargin=\r\n"}},
     FreshRecords(kApp)},
    // Accepting the offer asks nothing more; the automatic start of settings
    // older than 5020 moves to SHARE.ENV; the data folder of an update is the
    // default one.
    {"UpdateOfferedAndAccepted", "", kApp,
     In(kApp, kInstalled + std::map<std::string, std::string> {{"SHARE.ENV", "[出納帳]\r\nVersion=5019\r\n"},
                                                               {"DARVOSHL.ENV", "[会社選択]\r\n自動起動=1\r\n"}}),
     {Offer(IDYES), Run::DiskPrompt(2, "DARVOSHL.EX_"), Run::DiskPrompt(3, "README.TX_"), Run::Notice(kCompleted)},
     In(kApp, {{"COMMON.DLL", "COMMON.DLL"}, {"DARVO5.EXE", "DARVO5.EXE"}, {"DARVOSHL.EXE", "DARVOSHL.EXE"},
               {"README.TXT", "README.TXT"}, {"HELP\\DARVO5.HLP", ""}, {"SETUP.EXE", ""}, {"DARVO5.ENV", ""}}) +
         In(kDefaultDoc, {{"読んでね.TXT", "DOC.TXT"}, {"サンプル.QLB", ""}}),
     {{kApp + "SHARE.ENV", "[出納帳]\r\nVersion=5621\r\n[会社選択]\r\n自動起動=1\r\n"}, {kApp + "DARVOSHL.ENV", "[会社選択]\r\n"}},
     "AppDir=" + kApp + "\n"},
    // Settings without a version read as version 0, which is updated.
    {"UpdateOptionAsksAndIsStoppedInFiles2", "/UPDATE", kApp, In(kApp, {{"SHARE.ENV", kNoVersion}}),
     {{"ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ／サービスパック(5.621)",
       "以下のフォルダに組み込まれているヴェルンド！出納帳 Version 5.5(ゼノプ版)を更新します。よろしいですか？\n\n" + kApp,
       {IDYES, IDNO}, IDYES},
      Run::DiskPrompt(2, "DARVOSHL.EX_"), Run::DiskPrompt(3, "README.TX_", [](HWND) { Run::PressStop(); Run::Insert(3); }),
      kStopYes,  // before 読んでね.TXT
      Run::Notice(kStopped)},
     In(kApp, {{"DARVO5.EXE", "DARVO5.EXE"}, {"README.TXT", "README.TXT"}, {"DARVOSHL.EXE", ""}}) +
         In(kDefaultDoc, {{"読んでね.TXT", ""}}),
     {{kApp + "SHARE.ENV", kNoVersion}}, "AppDir=" + kApp + "\n"},
    {"SameVersionIsNotUpdated", "", kApp, In(kApp, kInstalled + std::map<std::string, std::string> {{"SHARE.ENV", "[出納帳]\r\nVersion=5621\r\n"}}),
     {Offer(IDYES), Run::Notice("組み込まれている「ヴェルンド！出納帳 Version 5.5(ゼノプ版)」は同じかより新しいバージョンです。更新は必要あり"
                          "ません。\n\nフォルダ:" + kApp)},
     In(kApp, {{"COMMON.DLL", ""}}), In(kApp, kInstalled), "AppDir=" + kApp + "\n"},
    {"UpdateOptionWithNothingRegistered", "/update", "", {},
     {Run::Notice("ヴェルンド！出納帳 Version 5.5(ゼノプ版)が見つかりません")}, In(kDefaultApp, {{"COMMON.DLL", ""}}), {}, ""},
    {"UpdateOptionWithoutSettings", "/UPDATE", kApp, In(kApp, kInstalled),
     {Run::Notice("指定されたファイルが見つかりません。\n\nファイル " + kApp + "SHARE.ENV をオープンできません.")},
     In(kApp, {{"COMMON.DLL", ""}}), In(kApp, kInstalled), "AppDir=" + kApp + "\n"},
    // Declining the offer and insisting is a fresh install: the setup dialog comes.
    {"OfferDeclinedInstallsAfresh", "", kApp, In(kApp, kInstalled + std::map<std::string, std::string> {{"SHARE.ENV", ""}}),
     {Offer(IDNO), Run::Question(kAlreadyInstalled, IDNO), robot::DialogAnswer(kSetupDialogTitle, IDCANCEL), kStopYes},
     In(kApp, {{"COMMON.DLL", ""}}), In(kApp, kInstalled), "AppDir=" + kApp + "\n"},
    // Without SHARE.ENV no update is offered.
    {"RegisteredWithoutSettingsIsNotOffered", "", kApp, In(kApp, kInstalled),
     {Run::Question(kAlreadyInstalled, IDYES)},
     In(kApp, {{"COMMON.DLL", ""}}), In(kApp, kInstalled), "AppDir=" + kApp + "\n"},
};

class InstallE2e : public ::testing::TestWithParam<Flow> {};

TEST_P(InstallE2e, ShowsItsBoxesAndLeavesItsFilesAndRecords)
{
    const Flow& flow = GetParam();
    InstallRun run;
    RegisterOwner("山田 太郎", "コルヴァ商会");
    RegisterAppDir(flow.registered);
    PutFiles(flow.before);
    EXPECT_EQ(0u, run.Setup(flow.tail, flow.boxes));
    EXPECT_EQ("", run.Differences(flow.installed));
    for (const auto& [path, bytes] : flow.texts)
        EXPECT_SAME_TEXT(bytes, ReadFileBytes(path)) << path;
    EXPECT_SAME_TEXT(flow.records, DescribeRecords());
}

INSTANTIATE_TEST_SUITE_P(Flows, InstallE2e, ::testing::ValuesIn(kFlows),
                         [](const ::testing::TestParamInfo<Flow>& info) { return std::string(info.param.name); });

}  // namespace
