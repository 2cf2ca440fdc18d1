// A dialog with the kinds of controls the setup program's pages have (edit,
// check box, radio group, disabled, slow and default buttons) and Japanese
// texts, and the message box of the robot's self-test. Included by
// test_dialog.rc too.
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

// The folder the dialog starts with (表 ends in the byte 0x5C), and what a
// click on the custom radio button puts into the folder edit, as setup pages
// do: a robot that sets the folder after that click must see its own text.
constexpr char kInitialFolder[] = "C:\\Program Files\\ゼノプ\\出納帳表";
constexpr char kCustomFolder[] = "C:\\カスタム\\出納帳";

// The caption of the setup program's boxes; ソ, 表 and 能 end in the byte
// 0x5C, and a blank line stands between the two sentences.
constexpr char kBoxCaption[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
constexpr char kBoxText[] = "ソフトウェアの使用許諾契約書を表示します。\n\nこの機能は後から使用できます。";

// Shows the dialog modally on this thread; returns the id of the button that
// ended it, and in *result what the dialog held then: the folder, the check
// box, the radio buttons and how many clicks the check box reported.
INT_PTR RunTestDialog(std::string* result);
#endif
