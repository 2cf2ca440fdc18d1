// Uninstalls as a user meets them (tools/testuninstall): an installation is
// made, then SETUP.EXE is started through the uninstall entry it wrote; it
// relaunches itself, and the robot answers the choice dialog and every box.
// Each run is one case with a Wine prefix of its own and checks what it
// shows and leaves: its boxes, the exit code, the records of the
// installation, the temporary folders, the program folder, SHARE.ENV and
// the books.
#include "dazo/Func.h"
#include "scratch_test.h"
#include "setup/shellreg.h"
#include "testinstall/install_run.h"
#include "testuninstall/uninstall_run.h"

namespace {

using Run = UninstallRun;

const std::string kApp = "C:\\出納帳 app\\", kDoc = "C:\\データ\\", kInside = kApp + "データ\\";
const std::string kWindows = Text(AddBackslash(GetWindowsDir()));
const std::string kInstalled = "DARVO5.EXE\nDARVOSHL.ENV\nDARVOSHL.EXE\nHELP\\\nHELP\\DARVO5.HLP\nSETUP.EXE\nSHARE.ENV\n";
const char kUnchanged[] = "as after the install", kKeyOnly[] = "the application's key\n";
const robot::BoxAnswer kRemoved = Run::Removal("削除しました"), kFailed = Run::Removal("削除に失敗しました");

std::unique_ptr<ChildProcess> g_holder;  // a file of the program folder held open

struct Pass {
    std::function<void()> before;
    std::string command;  // "": the uninstall entry's
    bool relaunch;        // the command starts the copy that does the work
    std::vector<robot::BoxAnswer> boxes;
    DWORD exitCode;
};

struct Flow {
    const char* name;
    std::string doc;                // the data folder installed
    std::function<void()> prepare;  // after the install
    std::vector<Pass> passes;
    std::string records;            // DescribeInstallation afterwards
    bool temporaryStays;
    std::string tree;               // what stays of the program folder
};

void PrintTo(const Flow& flow, std::ostream* os) { *os << flow.name; }

const Flow kFlows[] = {
    // An extension's key goes with the keys the shell adds below it.
    {"RemovalConfirmed", kDoc, [] { EXPECT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, ".QLB\\OpenWithProgids", REG_SZ, "", 0)); },
     {{nullptr, "", true, Run::Remove(kApp, {kRemoved}), 0}}, kKeyOnly, false, "(none)"},
    {"NoThenCancelRemovesNothing", kDoc, nullptr,
     {{nullptr, "", true, {Run::Choice(3), Run::Confirm(kApp, IDNO), Run::Choice(IDCANCEL)}, 1}}, kUnchanged, true, kInstalled},
    {"AutoStartCancelled", kDoc, [] { PutFiles({{kApp + "SHARE.ENV", ReadFileBytes(kApp + "SHARE.ENV") + "自動起動=1\r\n"}}); },
     {{nullptr, "", true, {Run::Choice(4), Run::Setup("自動起動を解除しますか", IDYES), Run::Setup("自動起動を解除しました")}, 1}},
     kUnchanged, true, kInstalled},
    {"AutoStartNotSet", kDoc, nullptr, {{nullptr, "", true, {Run::Choice(4), Run::Setup("自動起動は設定されていません")}, 1}},
     kUnchanged, true, kInstalled},
    // The data folder inside the program folder stays with all it holds, and
    // so does a book anywhere else in it.
    {"BooksInsideTheProgramFolderStay", kInside,
     [] { PutFiles({{kInside + "メモ.TXT", "memo"}, {kApp + "HELP\\古い帳簿.QLB", "old"}, {kApp + "LOG\\A.LOG", "log"}}); },
     {{nullptr, "", true, Run::Remove(kApp, {kRemoved}), 0}}, kKeyOnly, false,
     "HELP\\\nHELP\\古い帳簿.QLB\nデータ\\\nデータ\\サンプル.QLB\nデータ\\メモ.TXT\n"},
    // A file held open stops the first removal after the records have gone;
    // the second, from the copy the first left in the Windows folder, finds
    // them gone and completes.
    {"SecondRemovalCompletesAPartialOne", kDoc, [] { g_holder = HoldOpen(kApp + "DARVO5.EXE"); },
     {{nullptr, "", true, Run::Remove(kApp, {Run::Setup(SystemText(ERROR_SHARING_VIOLATION) + "\n\nファイル " + kApp +
                                                        "DARVO5.EXEを削除できません"), kFailed}), 1},
      {[] { g_holder.reset(); }, Quote(kWindows + "SETUP1.EXE") + " /uninstall " + Quote(kApp), false,
       Run::Remove(kApp, {kRemoved}), 0}},
     kKeyOnly, false, "(none)"},
    // SETUP.EXE copied to the root or the Windows folder and started with
    // /UNINSTALL names that folder: nothing at all is removed.
    {"DriveRootIsRefused", kDoc, [] { EXPECT_TRUE(CopyFileA((kApp + "SETUP.EXE").c_str(), "C:\\SETUP.EXE", FALSE)); },
     {{nullptr, "C:\\SETUP.EXE /UNINSTALL", true, Run::Remove("C:\\", {Run::Setup("削除できません\n\nC:\\"), kFailed}), 1}},
     kUnchanged, true, kInstalled},
    {"WindowsFolderIsRefused", kDoc, [] { EXPECT_TRUE(CopyFileA((kApp + "SETUP.EXE").c_str(), (kWindows + "SETUP.EXE").c_str(), FALSE)); },
     {{nullptr, Quote(kWindows + "SETUP.EXE") + " /UNINSTALL", true,
       Run::Remove(kWindows, {Run::Setup("削除できません\n\n" + kWindows), kFailed}), 1}},
     kUnchanged, true, kInstalled},
    // The records name another installation: only the temporary folders and
    // the program folder go.
    {"RecordsOfAnotherFolderStay", kDoc, [] { SetAppValue("KeyAppDir", "C:\\OTHER\\"); },
     {{nullptr, "", true, Run::Remove(kApp, {kRemoved}), 0}}, kUnchanged, false, "(none)"},
    // Without the application's key the shortcuts are not known and stay,
    // and the rest goes; a ".QLB" of another program's type stays.
    {"NoApplicationKeyAndAForeignQlb", kDoc,
     [] { EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY));
          EXPECT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, ".QLB", REG_SZ, "OtherDocument", 13)); },
     {{nullptr, "", true, Run::Remove(kApp, {kRemoved}), 0}}, ".QLB=OtherDocument\nmenu shortcut\ndesktop shortcut\n", false,
     "(none)"},
};

class UninstallE2e : public ::testing::TestWithParam<Flow> {};

TEST_P(UninstallE2e, ShowsItsBoxesAndLeavesWhatItMust)
{
    const Flow& flow = GetParam();
    UninstallRun run(kApp, flow.doc);
    std::string shareEnv = ReadFileBytes(kApp + "SHARE.ENV");
    PutTemporaryFolders();
    if (flow.prepare)
        flow.prepare();
    std::string records = DescribeInstallation();
    for (size_t i = 0; i < flow.passes.size(); ++i) {
        const Pass& pass = flow.passes[i];
        if (pass.before)
            pass.before();
        std::string command = pass.command.empty() ? Run::UninstallCommand() : pass.command;
        EXPECT_EQ(pass.exitCode, Run::Run(command, pass.relaunch, pass.boxes)) << "run " << i + 1;
    }
    g_holder.reset();
    EXPECT_SAME_TEXT(flow.records == kUnchanged ? records : flow.records, DescribeInstallation());
    EXPECT_EQ(flow.temporaryStays, TemporaryFoldersThere());
    EXPECT_SAME_TEXT(flow.tree, ListTree(kApp));
    if (flow.tree == kInstalled) {
        EXPECT_SAME_TEXT(shareEnv, ReadFileBytes(kApp + "SHARE.ENV"));
    }
    // The books are never touched.
    EXPECT_TRUE(ReadFileBytes(flow.doc + "サンプル.QLB") == run.Sample()) << "the sample book changed";
}

INSTANTIATE_TEST_SUITE_P(Flows, UninstallE2e, ::testing::ValuesIn(kFlows),
                         [](const ::testing::TestParamInfo<Flow>& info) { return std::string(info.param.name); });

}  // namespace
