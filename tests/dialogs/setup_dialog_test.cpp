// The dialog templates as SETUP.EXE carries them (the setup, folder and
// uninstall choice dialogs), read back control by control from the exe's
// resources; then the setup dialog run as the install driver runs it, over
// the background window, while the robot types, clicks and answers its boxes
// as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "error_report_env.h"
#include "scratch_test.h"
#include "res/resource.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "setup/background.h"
#include "setup/setupdlg.h"
#include "testkit/dialog_template.h"

namespace {

// The dialog's style, place, caption and font, then a line for each control.
std::vector<std::string> Describe(const DialogTemplate& t)
{
    char line[80];
    std::snprintf(line, sizeof(line), "0x%08lX %d,%d,%d,%d %d ", t.style, t.x, t.y, t.cx, t.cy, t.points);
    std::vector<std::string> lines = {line + t.caption + " " + t.font};
    for (const TemplateControl& c : t.controls) {
        std::snprintf(line, sizeof(line), "%d %s 0x%08lX %d,%d,%d,%d ", c.id, c.cls.c_str(), c.style, c.x, c.y, c.cx,
                      c.cy);
        lines.push_back(line + c.text);
    }
    return lines;
}

const DWORD CV = WS_CHILD | WS_VISIBLE;
const DWORD DLG = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

const DialogTemplate kSetupDlg = {DLG, 37, 33, 239, 160, "ヴェルンド！出納帳 Version 5 のセットアップ", "ＭＳ ゴシック", 11, {
    {1, "button", CV | BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 54, 122, 50, 14},
    {2, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "ｷｬﾝｾﾙ", 134, 122, 50, 14},
    {131, "static", CV | SS_ICON, "#101", 8, 3, 16, 17},
    {201, "static", CV | SS_LEFT, "ヴェルンド！出納帳をおご利用くださり、誠にありがとうございます。", 29, 3, 192, 16},
    {-1, "static", CV | SS_LEFT, "プログラムフォルダ：", 6, 26, 110, 8},
    {121, "edit", CV | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 6, 37, 200, 12},
    {122, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "参照", 210, 35, 26, 14},
    {105, "button", CV | BS_GROUPBOX | WS_GROUP, "登録フォルダ", 6, 53, 86, 26},
    {191, "button", CV | BS_RADIOBUTTON, "共有", 12, 63, 26, 12},
    {192, "button", CV | BS_RADIOBUTTON, "ﾌﾟﾗｲﾍﾞｰﾄ", 44, 63, 42, 12},
    {151, "button", CV | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, "デスクトップへのアイコン登録", 96, 55, 124, 12},
    {171, "button", CV | BS_AUTOCHECKBOX | WS_TABSTOP, "サンプルデータのコピー", 96, 67, 112, 12},
    {-1, "static", CV | SS_LEFT, "データ保存フォルダ：", 6, 83, 158, 8},
    {141, "edit", CV | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 6, 93, 200, 12},
    {142, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "参照", 210, 91, 26, 14},
    {-1, "static", CV | SS_CENTER, "必要なら項目を変更して《ＯＫ》をクリックしてください。", 4, 110, 232, 8},
    {-1, "static", CV | SS_CENTER, "すべてのアプリケーションを終了してから、", 4, 140, 226, 10},
    {-1, "static", CV | SS_CENTER, "セットアップを開始してください。", 32, 150, 170, 10},
}};

const DialogTemplate kFolderDlg = {DLG, 8, 29, 293, 199, "フォルダを選択してください", "ＭＳ ゴシック", 11, {
    {101, "static", CV | SS_LEFT, "101", 4, 3, 136, 161},
    {103, "static", CV | SS_LEFT, "103", 142, 3, 146, 161},
    {102, "static", CV | SS_LEFT, "102", 4, 168, 284, 12},
    {1, "button", CV | BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 6, 183, 50, 14},
    {2, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "ｷｬﾝｾﾙ", 60, 183, 50, 14},
    {104, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "ﾍﾙﾌﾟ", 114, 183, 50, 14},
}};

// The uninstall mode's choice, in the system font.
const DialogTemplate kAddRemoveDlg = {DLG & ~DS_SETFONT, 9, 15, 138, 69, "ヴェルンド！出納帳 Version 5 設定/削除", "", 0, {
    {2, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "ｷｬﾝｾﾙ", 4, 52, 132, 14},
    {-1, "static", CV | SS_CENTER, "処理を選択してください", 5, 4, 128, 8},
    {4, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "自動起動の解除", 4, 16, 132, 14},
    {3, "button", CV | BS_PUSHBUTTON | WS_TABSTOP, "ヴェルンド！出納帳の削除", 4, 34, 132, 14},
}};

TEST(DialogTemplates, SetupFolderAndAddRemoveDialogsControlByControl)
{
    HMODULE exe = LoadLibraryExA(SETUP_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe) << SETUP_EXE;
    const std::pair<const char*, const DialogTemplate*> templates[] = {
        {"SetupDlg", &kSetupDlg}, {"SelectFolderDlg", &kFolderDlg}, {"AddRemoveDlg", &kAddRemoveDlg}};
    for (const auto& [name, expected] : templates) {
        DialogTemplate t;
        ASSERT_TRUE(ReadDialogTemplate(exe, name, &t)) << name;
        std::vector<std::string> want = Describe(*expected), got = Describe(t);
        EXPECT_EQ(want.size(), got.size()) << name;
        for (size_t i = 0; i < want.size() && i < got.size(); ++i)
            EXPECT_TRUE(robot::SameText(want[i], got[i])) << name << " line " << i + 1;
    }
    FreeLibrary(exe);
}

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
        {app, data, Box(kGoAhead, IDYES), 0},
    };
    std::vector<robot::BoxAnswer> answers;
    // The marks are cleared first: they stay through the refusals and are stored.
    std::function<void(HWND)> beforeTyping = [](HWND dlg) {
        EXPECT_TRUE(robot::SetCheck(dlg, IDC_SD_SAMPLE, false) && robot::SetCheck(dlg, IDC_SD_DESKICON, false));
    };
    for (const auto& a : attempts) {
        answers.insert(answers.end(), {TypeAndOk(a.app, a.doc, beforeTyping), a.box});
        beforeTyping = [&a](HWND dlg) {  // the texts and focus the refusal left
            EXPECT_TRUE((!a.focus || robot::WaitFocus(GetDlgItem(dlg, a.focus), 5000)) &&
                        robot::GetItemText(dlg, IDC_SD_APPPATH) == a.app &&
                        robot::GetItemText(dlg, IDC_SD_DOCPATH) == a.doc)
                << "focus or texts after " << robot::Quoted(a.app) << ", " << robot::Quoted(a.doc);
        };
    }
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
