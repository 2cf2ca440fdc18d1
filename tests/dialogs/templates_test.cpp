// The dialog templates as SETUP.EXE carries them (the setup, folder and
// uninstall choice dialogs), read back control by control from the exe's
// resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "robot/robot_gtest.h"
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

}  // namespace
