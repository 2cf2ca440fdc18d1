// Resource ids shared by the resource script and the program.
#pragma once

#define IDI_APP 101

// The setup dialog "SETUPDLG" (res/setupdlg.rc).
#define IDC_SD_GROUP 105      // 登録フォルダ
#define IDC_SD_APPPATH 121    // the program folder
#define IDC_SD_APPBROWSE 122  // 参照 of the program folder
#define IDC_SD_ICON 131
#define IDC_SD_DOCPATH 141    // the data folder
#define IDC_SD_DOCBROWSE 142  // 参照 of the data folder
#define IDC_SD_DESKICON 151   // デスクトップへのアイコン登録
#define IDC_SD_SAMPLE 171     // サンプルデータのコピー
#define IDC_SD_SHARED 191     // 共有
#define IDC_SD_PRIVATE 192    // ﾌﾟﾗｲﾍﾞｰﾄ
#define IDC_SD_GREETING 201

// The uninstall mode's choice dialog "ADDREMOVEDLG" (res/addremovedlg.rc).
#define IDC_AR_REMOVE 3     // ヴェルンド！出納帳の削除
#define IDC_AR_AUTOSTART 4  // 自動起動の解除
