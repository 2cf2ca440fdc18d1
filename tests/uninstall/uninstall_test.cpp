// Uninstalls as a user meets them (tools/testuninstall): an installation is
// made, then SETUP.EXE is started through the uninstall entry it wrote; it
// relaunches itself, and the robot answers the choice dialog and every box.
// Each run is one case with a Wine prefix of its own and checks what it
// shows and leaves: its boxes, the exit code, the records of the
// installation, the program folder, the books and SHARE.ENV.
#include <memory>

#include "dazo/Func.h"
#include "setup/shellreg.h"
#include "scratch_test.h"
#include "testinstall/install_run.h"
#include "testkit/child_process.h"
#include "testuninstall/uninstall_run.h"

namespace {

using Run = UninstallRun;

const std::string kApp = "C:\\出納帳 app\\", kDoc = "C:\\データ\\", kInside = kApp + "データ\\";
const std::string kWindows = Text(AddBackslash(GetWindowsDir()));
const char kRemoved[] = "削除しました";
const char kFailed[] = "削除に失敗しました";
const std::string kInstalledTree = "DARVO5.EXE\nDARVOSHL.ENV\nDARVOSHL.EXE\nHELP\\\nHELP\\DARVO5.HLP\nSETUP.EXE\nSHARE.ENV\n";
const std::string kTemporary = "temp CorvaVelundDarvo5\ntemp CorvaVelundDarvo5Shell\n";

std::string InstalledRecords(const std::string& keyAppDir = AsciiUpper(kApp))
{
    return "AppDir=" + kApp + "\nKeyAppDir=" + keyAppDir + "\npathShortcut1=" + ShortcutPath(false) +
           "\npathShortcut2=" + ShortcutPath(true) + "\nthe application's key\n.QLB=CorvaZozuveDocument\n"
           "CorvaZozuveDocument=ヴェルンド！出納帳 会計データ(QLB)\nuninstall=\"" + kApp + "SETUP.EXE\" /uninstall\n"
           "menu shortcut\ndesktop shortcut\n";
}

std::string ShareEnv(const std::string& doc, const std::string& autoStart = "")
{
    return "[出納帳]\r\nVersion=5621\r\n新規作成=1\r\n[Default]\r\n会社名=\r\n名前=\r\n[会社選択]\r\nFolder=" + doc + "\r\n" + autoStart;
}

// A helper process of tools/faults that holds a file open, for the run that
// must fail.
std::unique_ptr<ChildProcess> g_holder;

struct Pass {
    std::function<void()> before;  // right before the run
    std::string command;           // "": the uninstall entry's
    bool relaunch;                 // the command starts a copy that does the work
    std::vector<robot::BoxAnswer> boxes;
    DWORD exitCode;
};

struct Flow {
    const char* name;
    std::string doc;                       // the data folder installed
    std::function<void()> prepare;         // after the install
    std::vector<Pass> passes;
    std::string records;                   // what stays (DescribeInstallation)
    std::string tree;                      // what stays of the program folder
    std::string shareEnv;                  // what SHARE.ENV holds, when it stays
};

void PrintTo(const Flow& flow, std::ostream* os) { *os << flow.name; }

std::vector<robot::BoxAnswer> Remove(const std::string& folder, std::vector<robot::BoxAnswer> then)
{
    then.insert(then.begin(), {Run::Choice(3), Run::Confirm(folder, IDYES)});
    return then;
}

void PutTemporaryFolders()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    PutFiles({{std::string(temp) + "CorvaVelundDarvo5\\work\\a.tmp", "a"}, {std::string(temp) + "CorvaVelundDarvo5Shell\\b.tmp", "b"}});
}

// Another installation's folder in the records.
void RegisterKeyAppDir(const std::string& folder)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, 0, KEY_SET_VALUE, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "KeyAppDir", 0, REG_SZ, (const BYTE*)folder.c_str(), (DWORD)folder.size() + 1));
    RegCloseKey(key);
}

void Copy(const std::string& from, const std::string& to)
{
    EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << to;
}

const Flow kFlows[] = {
    {"RemovalConfirmed", kDoc, PutTemporaryFolders,
     {{nullptr, "", true, Remove(kApp, {Run::Removal(kRemoved)}), 0}},
     "the application's key\n", "(none)", ""},
    {"NoThenCancelRemovesNothing", kDoc, PutTemporaryFolders,
     {{nullptr, "", true, {Run::Choice(3), Run::Confirm(kApp, IDNO), Run::Choice(IDCANCEL)}, 1}},
     InstalledRecords() + kTemporary, kInstalledTree, ShareEnv(kDoc)},
    {"AutoStartCancelled", kDoc, [] { PutFiles({{kApp + "SHARE.ENV", ShareEnv(kDoc, "自動起動=1\r\n")}}); },
     {{nullptr, "", true, {Run::Choice(4), Run::Setup("自動起動を解除しますか", IDYES), Run::Setup("自動起動を解除しました")}, 1}},
     InstalledRecords(), kInstalledTree, ShareEnv(kDoc)},
    {"AutoStartNotSet", kDoc, nullptr,
     {{nullptr, "", true, {Run::Choice(4), Run::Setup("自動起動は設定されていません")}, 1}},
     InstalledRecords(), kInstalledTree, ShareEnv(kDoc)},
    // The data folder inside the program folder stays with all it holds, and
    // so does a book anywhere else in it.
    {"BooksInsideTheProgramFolderStay", kInside,
     [] { PutFiles({{kInside + "メモ.TXT", "memo"}, {kApp + "HELP\\古い帳簿.QLB", "old"}, {kApp + "LOG\\A.LOG", "log"}}); },
     {{nullptr, "", true, Remove(kApp, {Run::Removal(kRemoved)}), 0}},
     "the application's key\n", "HELP\\\nHELP\\古い帳簿.QLB\nデータ\\\nデータ\\サンプル.QLB\nデータ\\メモ.TXT\n", ""},
    // A file held open stops the first removal after the records have gone;
    // the second, from the copy the first left in the Windows folder, finds
    // the records gone and completes.
    {"SecondRemovalCompletesAPartialOne", kDoc,
     [] { g_holder.reset(new ChildProcess(std::string(FAULTS_EXE) + " hold-file " + Quote(kApp + "DARVO5.EXE") + " 60000"));
          EXPECT_TRUE(g_holder->WaitForOutput("ready", 10000)); },
     {{nullptr, "", true,
       Remove(kApp, {Run::Setup(SystemText(ERROR_SHARING_VIOLATION) + "\n\nファイル " + kApp + "DARVO5.EXE" + "を削除できません"),
                     Run::Removal(kFailed)}), 1},
      {[] { g_holder.reset(); }, Quote(kWindows + "SETUP1.EXE") + " /uninstall " + Quote(kApp), false,
       Remove(kApp, {Run::Removal(kRemoved)}), 0}},
     "the application's key\n", "(none)", ""},
    // SETUP.EXE copied to the root or the Windows folder and started with
    // /UNINSTALL names that folder: nothing at all is removed.
    {"DriveRootIsRefused", kDoc, [] { PutTemporaryFolders(); Copy(kApp + "SETUP.EXE", "C:\\SETUP.EXE"); },
     {{nullptr, "C:\\SETUP.EXE /UNINSTALL", true, Remove("C:\\", {Run::Setup("削除できません\n\nC:\\"), Run::Removal(kFailed)}), 1}},
     InstalledRecords() + kTemporary, kInstalledTree, ShareEnv(kDoc)},
    {"WindowsFolderIsRefused", kDoc, [] { Copy(kApp + "SETUP.EXE", kWindows + "SETUP.EXE"); },
     {{nullptr, Quote(kWindows + "SETUP.EXE") + " /UNINSTALL", true,
       Remove(kWindows, {Run::Setup("削除できません\n\n" + kWindows), Run::Removal(kFailed)}), 1}},
     InstalledRecords(), kInstalledTree, ShareEnv(kDoc)},
    // The records name another installation: only the temporary folders and
    // the program folder go.
    {"RecordsOfAnotherFolderStay", kDoc,
     [] { PutTemporaryFolders(); RegisterKeyAppDir("C:\\OTHER\\"); },
     {{nullptr, "", true, Remove(kApp, {Run::Removal(kRemoved)}), 0}},
     InstalledRecords("C:\\OTHER\\"), "(none)", ""},
    // Without the application's key the shortcuts are not known and stay,
    // and the rest goes; a ".QLB" of another program's type stays.
    {"NoApplicationKeyAndAForeignQlb", kDoc,
     [] { EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY));
          EXPECT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, ".QLB", REG_SZ, "OtherDocument", 13)); },
     {{nullptr, "", true, Remove(kApp, {Run::Removal(kRemoved)}), 0}},
     ".QLB=OtherDocument\nmenu shortcut\ndesktop shortcut\n", "(none)", ""},
};

class UninstallE2e : public ::testing::TestWithParam<Flow> {};

TEST_P(UninstallE2e, ShowsItsBoxesAndLeavesWhatItMust)
{
    const Flow& flow = GetParam();
    UninstallRun run(kApp, flow.doc);
    if (flow.prepare)
        flow.prepare();
    for (size_t i = 0; i < flow.passes.size(); ++i) {
        const Pass& pass = flow.passes[i];
        if (pass.before)
            pass.before();
        std::string command = pass.command.empty() ? Run::UninstallCommand() : pass.command;
        EXPECT_EQ(pass.exitCode, Run::Run(command, pass.relaunch, pass.boxes)) << "run " << i + 1;
    }
    g_holder.reset();
    EXPECT_SAME_TEXT(flow.records, DescribeInstallation());
    EXPECT_SAME_TEXT(flow.tree, ListTree(kApp));
    if (!flow.shareEnv.empty()) {
        EXPECT_SAME_TEXT(flow.shareEnv, ReadFileBytes(kApp + "SHARE.ENV"));
    }
    // The books are never touched.
    EXPECT_TRUE(ReadFileBytes(flow.doc + "サンプル.QLB") == run.Sample()) << "the sample book changed";
}

INSTANTIATE_TEST_SUITE_P(Flows, UninstallE2e, ::testing::ValuesIn(kFlows),
                         [](const ::testing::TestParamInfo<Flow>& info) { return std::string(info.param.name); });

}  // namespace
