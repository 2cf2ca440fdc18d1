// The setup dialog run as the install driver runs it, over the background
// window, while the robot types, clicks and answers its boxes as a user
// would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "error_report_env.h"
#include "scratch_test.h"
#include "res/resource.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "setup/background.h"
#include "setup/setupdlg.h"

namespace {

const char kDialog[] = "ヴェルンド！出納帳 Version 5 のセットアップ";
const char kBadFolder[] = "正しいフォルダ名を入力して下さい";
const char kGoAhead[] = "セットアップを行います。よろしいですか？";
const char kStop[] = "セットアップを中止しますか？";

// The dialog over a maximised background window, as the install driver runs
// it, while the robot gives the answers in order; answers the result.
int RunDialog(SetupParams* params, const std::vector<robot::BoxAnswer>& answers)
{
    HWND owner = (new BackgroundWindow)->Create();
    ShowWindow(owner, SW_SHOWMAXIMIZED);
    SafePtr<WorkWnd> work(new WorkWnd(owner));
    int result = 0;
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = RunSetupDialog(owner, params); }, answers));
    DestroyWindow(owner);
    return result;
}

// A notice of the program (press IDOK) or its yes/no question.
robot::BoxAnswer Box(const std::string& text, int press = IDOK)
{
    return {kTestTitle, text, press == IDOK ? std::vector<int> {IDOK} : std::vector<int> {IDYES, IDNO}, press};
}

// The dialog: whileOpen, then both folders typed, then OK.
robot::BoxAnswer TypeAndOk(const std::string& app, const std::string& doc,
                           const std::function<void(HWND)>& whileOpen = nullptr)
{
    return robot::DialogAnswer(kDialog, IDOK, [=](HWND dlg) {
        if (whileOpen)
            whileOpen(dlg);
        EXPECT_TRUE(robot::SetEditText(dlg, IDC_SD_APPPATH, app.c_str()) &&
                    robot::SetEditText(dlg, IDC_SD_DOCPATH, doc.c_str()));
    });
}

// Both Start-menu and desktop folders known, the desktops under base.
SetupParams Params(const std::string& base, int shared)
{
    SetupParams p;
    p.m_strMenuShared = "C:\\共有メニュー\\";
    p.m_strMenuPrivate = "C:\\個人メニュー\\";
    p.m_strDocBaseShared = p.m_strDeskShared = (base + "共有机\\").c_str();
    p.m_strDocBasePrivate = p.m_strDeskPrivate = (base + "個人机\\").c_str();
    p.m_fShared = shared;
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
    // The focus after the box on control `focus`; 0: where it was.
    const struct { std::string app, doc; robot::BoxAnswer box; int focus; } attempts[] = {
        {app, sameAsApp, Box("プログラムフォルダとデータ保存フォルダが同じではいけません"), 0},
        {scratch.Path("Dar<vo5"), data, Box(kBadFolder), IDC_SD_APPPATH},
        {"  ", data, Box(kBadFolder), IDC_SD_APPPATH},
        {app, "データ", Box(kBadFolder), IDC_SD_DOCPATH},
        {v4, data, Box("バージョン４と同じフォルダには組み込めません"), 0},
        {existing, data,
         Box("指定のプログラムフォルダ\n\n  " + existing + "\\\n\nは既に存在します.\n\n同名のファイルは上書きされます。よろしいですか？",
             IDNO), 0},
        {app, scratch.Path("デー*タ"), Box("ファイル名に*や?の文字は使用できません\n\n" + scratch.Path("デー*タ")), IDC_SD_DOCPATH},
        {app, file, Box(file + "\\と同名のファイルが存在します。\n別なフォルダを指定してください"), IDC_SD_DOCPATH},
        {app, data, Box(kGoAhead, IDNO), 0},
    };
    std::vector<robot::BoxAnswer> answers;
    std::function<void(HWND)> leftAsTyped = nullptr;  // by the refusal before
    for (const auto& a : attempts) {
        answers.insert(answers.end(), {TypeAndOk(a.app, a.doc, leftAsTyped), a.box});
        leftAsTyped = [&a](HWND dlg) {
            EXPECT_TRUE((!a.focus || robot::WaitFocus(GetDlgItem(dlg, a.focus), 5000)) &&
                        robot::GetItemText(dlg, IDC_SD_APPPATH) == a.app &&
                        robot::GetItemText(dlg, IDC_SD_DOCPATH) == a.doc)
                << "focus or texts after " << robot::Quoted(a.app) << ", " << robot::Quoted(a.doc);
        };
    }
    answers.insert(answers.end(), {TypeAndOk(app, data, [&](HWND dlg) {
                                       leftAsTyped(dlg);
                                       EXPECT_TRUE(robot::SetCheck(dlg, IDC_SD_SAMPLE, false) &&
                                                   robot::SetCheck(dlg, IDC_SD_DESKICON, false));
                                   }),
                                   Box(kGoAhead, IDYES)});
    SetupParams params = Params(scratch.Path(), 1);
    EXPECT_EQ(IDOK, RunDialog(&params, answers));
    EXPECT_EQ("0 0 1", std::to_string(params.m_fSample) + " " + std::to_string(params.m_fDeskIcon) + " " +
                           std::to_string(params.m_fShared));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(data.c_str())) << "data folder not created";
}

TEST(SetupDialog, SwitchingMovesOnlyADesktopDataFolderAndACancelledBrowseLeavesTheText)
{
    SetupParams params = Params("C:\\", 0);
    params.m_strDocPath = params.m_strDocBasePrivate + "データ";
    const std::string typed = "C:\\windows\\無い\\フォルダ", priv = "C:\\個人机\\データ", elsewhere = "D:\\他\\データ";
    auto atStart = [&](HWND dlg) {
        auto shows = [&](int radio, const std::string& doc) {
            return robot::IsChecked(dlg, radio) && robot::GetItemText(dlg, IDC_SD_DOCPATH) == doc;
        };
        RECT rd, ro;
        GetWindowRect(dlg, &rd);
        GetWindowRect(GetWindow(dlg, GW_OWNER), &ro);
        EXPECT_TRUE(std::abs(rd.left + rd.right - ro.left - ro.right) <= 1 && rd.top >= ro.top) << "not centred";
        EXPECT_TRUE(SendMessageA(dlg, WM_GETICON, ICON_BIG, 0) &&
                    SendDlgItemMessageA(dlg, IDC_SD_ICON, STM_GETICON, 0, 0)) << "no icons";
        EXPECT_SAME_TEXT("ヴェルンド！出納帳 Version 5.5(ゼノプ版) のセットアップを始めます。",
                         robot::GetItemText(dlg, IDC_SD_GREETING));
        EXPECT_TRUE(shows(IDC_SD_PRIVATE, priv)) << "private at start";
        EXPECT_TRUE(robot::PressButton(dlg, IDC_SD_SHARED) && shows(IDC_SD_SHARED, "C:\\共有机\\データ")) << "to shared";
        EXPECT_TRUE(robot::PressButton(dlg, IDC_SD_PRIVATE) && shows(IDC_SD_PRIVATE, priv)) << "back";
        EXPECT_TRUE(robot::SetEditText(dlg, IDC_SD_DOCPATH, elsewhere.c_str()) &&
                    robot::PressButton(dlg, IDC_SD_SHARED) && shows(IDC_SD_SHARED, elsewhere))
            << "a data folder elsewhere moved";
        EXPECT_TRUE(robot::SetEditText(dlg, IDC_SD_APPPATH, typed.c_str()));
    };
    auto afterBrowse = [&](HWND dlg) {
        EXPECT_TRUE(robot::WaitUntil([&] { return IsWindowEnabled(dlg); }, 5000));
        EXPECT_SAME_TEXT(typed, robot::GetItemText(dlg, IDC_SD_APPPATH));
    };
    auto nearestExisting = [](HWND folders) { EXPECT_SAME_TEXT("C:\\windows", robot::GetItemText(folders, 102)); };
    EXPECT_EQ(IDCANCEL, RunDialog(&params, {robot::DialogAnswer(kDialog, IDC_SD_APPBROWSE, atStart),
                                            robot::DialogAnswer("プログラムフォルダを選択してください", IDCANCEL, nearestExisting),
                                            robot::DialogAnswer(kDialog, IDCANCEL, afterBrowse), Box(kStop, IDNO),
                                            robot::DialogAnswer(kDialog, IDCANCEL), Box(kStop, IDYES)}));
    EXPECT_EQ(0, params.m_fShared) << "a cancelled dialog changed the choices";
}

// Without a shared Start menu there is no choice to make, and without the
// private desktop no icon to put there: the marks still show the choice in
// force, and OK keeps it.
TEST(SetupDialog, MissingShellFoldersDisableTheirControlsAndKeepTheChoice)
{
    ScratchFolder scratch;
    SetupParams params = Params(scratch.Path(), 0);
    params.m_strMenuShared = params.m_strDeskPrivate = "";
    auto disabledButChecked = [](HWND dlg) {
        for (int id : {IDC_SD_SHARED, IDC_SD_PRIVATE, IDC_SD_GROUP, IDC_SD_DESKICON})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        EXPECT_TRUE(robot::IsChecked(dlg, IDC_SD_PRIVATE) && robot::IsChecked(dlg, IDC_SD_DESKICON));
    };
    EXPECT_EQ(IDOK, RunDialog(&params, {TypeAndOk(scratch.Path("Darvo5"), scratch.Path("データ"), disabledButChecked),
                                        Box(kGoAhead, IDYES)}));
    EXPECT_EQ(std::make_pair(0, 1), std::make_pair(params.m_fShared, params.m_fDeskIcon));
}

// Run only through tests/files/tiny_drive.sh, which maps a 64 KB drive.
TEST(SetupDialogTinyDrive, LowSpaceAsksWithNoAsDefault)
{
    const char* drive = std::getenv("DARVO_TINY_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no tiny drive: run through tiny_drive.sh";
    ScratchFolder scratch;
    SetupParams params = Params(scratch.Path(), 1);
    const std::string app = std::string(drive) + "\\Darvo5", doc = scratch.Path("データ");
    const std::string low = "指定のフォルダは空きが足りなさそうです。セットアップを行いますか？";
    robot::BoxAnswer lowNoByDefault = Box(low, IDNO);
    lowNoByDefault.whileOpen = [](HWND box) {
        EXPECT_EQ(IDNO, robot::DefaultButton(box)) << "No is not the default";
    };
    EXPECT_EQ(IDCANCEL, RunDialog(&params, {TypeAndOk(app, doc), lowNoByDefault, TypeAndOk(app, doc), Box(low, IDYES),
                                            Box(kGoAhead, IDNO), robot::DialogAnswer(kDialog, IDCANCEL),
                                            Box(kStop, IDYES)}));
}

}  // namespace
