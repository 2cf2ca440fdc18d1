// A dialog with the kinds of controls the setup program's pages have (edit,
// check box, radio group, disabled, slow and default buttons) and Japanese
// texts, for the robot's self-test. Included by test_dialog.rc too.
#pragma once

#define IDD_ROBOT_TEST 100
#define IDC_FOLDER 1001
#define IDC_DESKTOP_ICON 1002
#define IDC_TYPICAL 1003
#define IDC_CUSTOM 1004
#define IDC_BROWSE 1005
#define IDC_NEXT 1006
#define IDC_CHECK_DISK 1007

#define TEST_DIALOG_CAPTION "インストール先の選択 - ヴェルンド！出納帳"

#ifndef RC_INVOKED
#include <windows.h>

#include <string>

// The folder the dialog starts with (表 ends in the byte 0x5C).
constexpr char kInitialFolder[] = "C:\\Program Files\\ゼノプ\\出納帳表";

// What a click on the custom radio button puts into the folder edit, as
// setup pages do; a robot that sets the folder after that click must see its
// own text win.
constexpr char kCustomFolder[] = "C:\\カスタム\\出納帳";

// How long a click on the disk check button keeps the dialog's thread busy,
// as a page that checks the disk in its click handler does.
constexpr DWORD kDiskCheckMs = 300;

// What the dialog held when a button ended it.
struct TestDialogResult {
    std::string folder;
    bool desktopIcon = false;
    bool typical = false;
    bool custom = false;
    int desktopIconClicks = 0;  // BN_CLICKED notifications the check box sent
};

// One line per field, the folder as its code page 932 bytes.
std::string Describe(const TestDialogResult& result);

// Shows the dialog modally on this thread; returns the id of the button that
// ended it (or what DialogBoxParamA returns on failure).
INT_PTR RunTestDialog(TestDialogResult* result);
#endif
