// The setup dialog run as the install driver runs it, over the background
// window, while the robot types, clicks and answers its boxes as a user
// would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>

#include "error_report_env.h"
#include "scratch_test.h"
#include "res/resource.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"
#include "setup/background.h"
#include "setup/setupdlg.h"

namespace {

const char kBadFolder[] = "正しいフォルダ名を入力して下さい";
const char kGoAhead[] = "セットアップを行います。よろしいですか？";
const char kStop[] = "セットアップを中止しますか？";

// The dialog over a maximised background window, as the install driver runs
// it, while script drives it from a robot thread; answers the result.
int RunDriven(SetupParams* params, const std::function<bool(HWND dlg, std::string* failure)>& script)
{
    HWND owner = (new BackgroundWindow)->Create();
    ShowWindow(owner, SW_SHOWMAXIMIZED);
    SafePtr<WorkWnd> work(new WorkWnd(owner));
    robot::RobotThread robot([&](std::string* failure) {
        HWND dlg = robot::WaitWindow(GetCurrentProcessId(), "#32770", "ヴェルンド！出納帳 Version 5 のセットアップ",
                                     10000, failure);
        return dlg && script(dlg, failure);
    });
    int result = RunSetupDialog(owner, params);
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    DestroyWindow(owner);
    return result;
}

// A box the robot expects with the program's caption: a notice (answered
// IDOK) or a yes/no question.
struct Box {
    std::string text;
    int press = IDOK;
    bool noIsDefault = false;
};

bool Check(bool ok, const std::string& what, std::string* failure)
{
    if (!ok)
        *failure = what;
    return ok;
}

bool Answer(const std::vector<Box>& boxes, std::string* failure)
{
    for (const Box& b : boxes) {
        HWND box = nullptr;
        DWORD pid = GetCurrentProcessId();
        auto same = b.press == IDOK ? robot::NextMessageBoxIs(pid, kTestTitle, b.text.c_str(), {IDOK}, 10000, &box)
                                    : robot::NextMessageBoxIs(pid, kTestTitle, b.text.c_str(), {IDYES, IDNO}, 10000, &box);
        bool noIsDefault = box && (!b.noIsDefault || robot::WaitFocus(GetDlgItem(box, IDNO), 2000));
        if (!Check(box && robot::PressButton(box, b.press) && robot::WaitGone(box, 10000), "no box answered", failure) ||
            !Check(same, same.message(), failure) || !Check(noIsDefault, "No is not the default", failure))
            return false;
    }
    return true;
}

// Types both folders, clicks OK and answers the boxes that follow.
bool TryOk(HWND dlg, const std::string& app, const std::string& doc, const std::vector<Box>& boxes, std::string* failure)
{
    *failure = "could not type the folders or click OK";
    return robot::SetEditText(dlg, IDC_SD_APPPATH, app.c_str()) &&
           robot::SetEditText(dlg, IDC_SD_DOCPATH, doc.c_str()) && robot::PressButton(dlg, IDOK) &&
           Answer(boxes, failure);
}

// Both Start-menu and desktop folders known, shared chosen, the desktops
// under base.
SetupParams Params(const std::string& base)
{
    SetupParams p;
    p.m_strMenuShared = "C:\\共有メニュー\\";
    p.m_strMenuPrivate = "C:\\個人メニュー\\";
    p.m_strDocBaseShared = p.m_strDeskShared = (base + "共有机\\").c_str();
    p.m_strDocBasePrivate = p.m_strDeskPrivate = (base + "個人机\\").c_str();
    p.m_fShared = 1;
    return p;
}

TEST(SetupDialog, OkRefusesInOrderThenCreatesTheDataFolderAndStoresTheChoices)
{
    ScratchFolder scratch;
    const std::string app = scratch.Path("Darvo5"), data = scratch.Path("データ\\帳簿");
    const std::string existing = scratch.MakeFolder("既存"), v4 = scratch.MakeFolder("v4"), file = scratch.MakeFile("同名");
    scratch.MakeFile("v4\\DARVO4.EXE");
    std::string sameAsApp = scratch.Path("DARVO5");
    std::replace(sameAsApp.begin(), sameAsApp.end(), '\\', '/');
    // The focus afterwards on control `focus`; 0: where it was.
    const struct { std::string app, doc; Box box; int focus; } attempts[] = {
        {app, sameAsApp, Box{"プログラムフォルダとデータ保存フォルダが同じではいけません"}, 0},
        {scratch.Path("Dar<vo5"), data, Box{kBadFolder}, IDC_SD_APPPATH},
        {"  ", data, Box{kBadFolder}, IDC_SD_APPPATH},
        {app, "", Box{kBadFolder}, IDC_SD_DOCPATH},
        {"Darvo5", data, Box{kBadFolder}, IDC_SD_APPPATH},
        {app, "データ", Box{kBadFolder}, IDC_SD_DOCPATH},
        {v4, data, Box{"バージョン４と同じフォルダには組み込めません"}, 0},
        {existing, data,
         Box{"指定のプログラムフォルダ\n\n  " + existing +
                      "\\\n\nは既に存在します.\n\n同名のファイルは上書きされます。よろしいですか？", IDNO}, 0},
        {app, scratch.Path("デー*タ"), Box{"ファイル名に*や?の文字は使用できません\n\n" + scratch.Path("デー*タ")}, IDC_SD_DOCPATH},
        {app, file, Box{file + "\\と同名のファイルが存在します。\n別なフォルダを指定してください"}, IDC_SD_DOCPATH},
        {app, data, Box{kGoAhead, IDNO}, 0},
    };
    SetupParams params = Params(scratch.Path());
    int result = RunDriven(&params, [&](HWND dlg, std::string* failure) {
        for (const auto& a : attempts) {
            if (!TryOk(dlg, a.app, a.doc, {a.box}, failure) ||
                !Check(!a.focus || robot::WaitFocus(GetDlgItem(dlg, a.focus), 5000), "focus", failure) ||
                !Check(robot::GetItemText(dlg, IDC_SD_APPPATH) == a.app &&
                           robot::GetItemText(dlg, IDC_SD_DOCPATH) == a.doc, "texts changed", failure)) {
                *failure = "attempt \"" + a.app + "\", \"" + a.doc + "\": " + *failure;
                return false;
            }
        }
        return robot::SetCheck(dlg, IDC_SD_SAMPLE, false) && robot::SetCheck(dlg, IDC_SD_DESKICON, false) &&
               TryOk(dlg, app, data, {Box{kGoAhead, IDYES}}, failure);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_SAME_TEXT(app + "\\", Text(params.m_strAppPath));
    EXPECT_SAME_TEXT(data + "\\", Text(params.m_strDocPath));
    EXPECT_EQ(std::make_tuple(0, 0, 1), std::make_tuple(params.m_fSample, params.m_fDeskIcon, params.m_fShared));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(data.c_str())) << "data folder not created";
}

TEST(SetupDialog, SwitchingMovesOnlyADesktopDataFolderAndACancelledBrowseLeavesTheText)
{
    SetupParams params = Params("C:\\");
    params.m_fShared = 0;
    params.m_strDocPath = params.m_strDocBasePrivate + "データ";
    const std::string typed = "C:\\windows\\無い\\フォルダ", shared = "C:\\共有机\\データ", priv = "C:\\個人机\\データ", elsewhere = "D:\\他\\データ";
    int result = RunDriven(&params, [&](HWND dlg, std::string* failure) {
        auto shows = [&](int radio, const std::string& doc) {
            return robot::IsChecked(dlg, radio) && robot::GetItemText(dlg, IDC_SD_DOCPATH) == doc;
        };
        RECT rd, ro;
        HWND folders = nullptr;
        GetWindowRect(dlg, &rd);
        GetWindowRect(GetWindow(dlg, GW_OWNER), &ro);
        return Check(std::abs(rd.left + rd.right - ro.left - ro.right) <= 1 && rd.top >= ro.top, "centred", failure) &&
               Check(SendMessageA(dlg, WM_GETICON, ICON_BIG, 0) &&
                         SendDlgItemMessageA(dlg, IDC_SD_ICON, STM_GETICON, 0, 0), "icons", failure) &&
               Check(robot::GetItemText(dlg, IDC_SD_GREETING) ==
                         "ヴェルンド！出納帳 Version 5.5(ゼノプ版) のセットアップを始めます。", "greeting", failure) &&
               Check(shows(IDC_SD_PRIVATE, priv), "private at start", failure) &&
               Check(robot::PressButton(dlg, IDC_SD_SHARED) && shows(IDC_SD_SHARED, shared), "to shared", failure) &&
               Check(robot::PressButton(dlg, IDC_SD_PRIVATE) && shows(IDC_SD_PRIVATE, priv), "back", failure) &&
               Check(robot::SetEditText(dlg, IDC_SD_DOCPATH, elsewhere.c_str()) &&
                         robot::PressButton(dlg, IDC_SD_SHARED) && shows(IDC_SD_SHARED, elsewhere), "elsewhere", failure) &&
               robot::SetEditText(dlg, IDC_SD_APPPATH, typed.c_str()) && robot::PressButton(dlg, IDC_SD_APPBROWSE) &&
               (folders = robot::WaitWindow(GetCurrentProcessId(), "#32770", "プログラムフォルダを選択してください",
                                            10000, failure)) &&
               Check(robot::GetItemText(folders, 102) == "C:\\windows", "nearest existing folder", failure) &&
               robot::PressButton(folders, IDCANCEL) && robot::WaitGone(folders, 5000) &&
               Check(robot::GetItemText(dlg, IDC_SD_APPPATH) == typed, "browse changed the text", failure) &&
               robot::PressButton(dlg, IDCANCEL) && Answer({Box{kStop, IDNO}}, failure) &&
               robot::PressButton(dlg, IDCANCEL) && Answer({Box{kStop, IDYES}}, failure);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(0, params.m_fShared) << "a cancelled dialog changed the choices";
}

TEST(SetupDialog, MissingShellFoldersDisableTheirControlsAndKeepTheChoice)
{
    ScratchFolder scratch;
    const struct { const char* name; bool noSharedMenu; std::vector<int> disabled; } rows[] = {
        {"no shared Start menu", true, {IDC_SD_SHARED, IDC_SD_PRIVATE, IDC_SD_GROUP}},
        {"no private desktop", false, {IDC_SD_DESKICON}},
    };
    for (const auto& row : rows) {
        SetupParams params = Params(scratch.Path());
        params.m_fShared = 0;
        (row.noSharedMenu ? params.m_strMenuShared : params.m_strDeskPrivate) = "";
        int result = RunDriven(&params, [&](HWND dlg, std::string* failure) {
            for (int id : row.disabled)
                if (!Check(!IsWindowEnabled(GetDlgItem(dlg, id)), "enabled: " + std::to_string(id), failure))
                    return false;
            return Check(robot::IsChecked(dlg, IDC_SD_PRIVATE) && robot::IsChecked(dlg, IDC_SD_DESKICON),
                         "marks", failure) &&
                   TryOk(dlg, scratch.Path("Darvo5"), scratch.Path("データ"), {Box{kGoAhead, IDYES}}, failure);
        });
        EXPECT_EQ(IDOK, result) << row.name;
        EXPECT_EQ(std::make_pair(0, 1), std::make_pair(params.m_fShared, params.m_fDeskIcon)) << row.name;
    }
}

TEST(SetupDialog, LowSpaceIsBelowTenMillionBytes)
{
    EXPECT_TRUE(IsLowOnSpace(9999999.0));
    EXPECT_FALSE(IsLowOnSpace(10000000.0));
}

// Run only through tests/files/tiny_drive.sh, which maps a 64 KB drive.
TEST(SetupDialogTinyDrive, LowSpaceAsksWithNoAsDefault)
{
    const char* drive = std::getenv("DARVO_TINY_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no tiny drive: run through tiny_drive.sh";
    ScratchFolder scratch;
    SetupParams params = Params(scratch.Path());
    const std::string app = std::string(drive) + "\\Darvo5", doc = scratch.Path("データ"), low = "指定のフォルダは空きが足りなさそうです。セットアップを行いますか？";
    int result = RunDriven(&params, [&](HWND dlg, std::string* failure) {
        return TryOk(dlg, app, doc, {{low, IDNO, true}}, failure) &&
               TryOk(dlg, app, doc, {{low, IDYES}, {kGoAhead, IDNO}}, failure) &&
               robot::PressButton(dlg, IDCANCEL) && Answer({Box{kStop, IDYES}}, failure);
    });
    EXPECT_EQ(IDCANCEL, result);
}

}  // namespace
