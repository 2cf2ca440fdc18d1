// The install driver: install mode from start to end. It puts up the
// background window, works out the default folders, opens the medium's file
// list, finds out whether version 5 is installed and is to be updated in
// place, lets the user confirm a fresh install's choices in the setup dialog,
// runs the install procedure, and takes everything down again on every way
// out. Every outcome has been shown to the user when it returns.
#include "setup/driver.h"

#include <shlobj.h>

#include <initializer_list>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "setup/background.h"
#include "setup/install.h"
#include "setup/settingsopen.h"
#include "setup/setup.h"
#include "setup/setupdlg.h"

namespace {

const char s_szProductName[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版)";
const char s_szAlreadyInstalled[] =
    "ヴェルンド！出納帳 Version 5 は既にインストールされています。\n\n"
    "このままセットアップを続けると、既存の出納帳のアンインストールが出来なくなります。\n\n"
    "別な場所に出納帳をセットアップしたい場合は、既存の出納帳をアンインストールしてからにすることをお勧めします。\n\n"
    "セットアップを中止しますか？\n\n"
    "[いいえ]を選択してセットアップを強行することもできます。\n\n";

// path, whose first character is a drive letter, on the drive of the Windows
// folder, the letter written as the Windows folder writes it.
DataObjStr OnWindowsDrive(const char* path)
{
    DataObjStr onDrive(path);
    onDrive.At(0) = GetWindowsDir()[0];
    return onDrive;
}

// The update of the registered installation: it must be there and older than
// this setup, and the user confirms it unless the offer was already accepted.
// true when params is set for the update.
bool PrepareUpdate(HWND owner, const AppKeys& keys, bool confirmed, SetupParams* params)
{
    if (IsBlankText(keys.AppDir)) {
        DataObjStr missing;
        missing << s_szProductName << "が見つかりません";
        ReportErrorText(missing, "");
        ShowQueuedReports();
        return false;
    }
    DataObjStr appPath = AddBackslash(keys.AppDir);
    {
        SafePtr<FEnv2> share = OpenSettings(appPath + "SHARE.ENV");
        if (!IsLoaded(share))
            return false;
        if (share->GetInt("出納帳", "Version", 0) >= SETUP_VERSION) {
            DataObjStr folder;
            folder << "フォルダ:" << keys.AppDir;
            ReportErrorText("組み込まれている「ヴェルンド！出納帳 Version 5.5(ゼノプ版)」は同じかより新しいバージョンです。"
                            "更新は必要ありません。",
                            folder);
            ShowQueuedReports();
            return false;
        }
    }
    params->m_strAppPath = appPath;
    params->m_fUpdate = 1;
    params->m_fSample = 0;
    if (confirmed)
        return true;
    DataObjStr question, caption;
    question << "以下のフォルダに組み込まれている" << s_szProductName << "を更新します。よろしいですか？\n\n" << appPath;
    caption << s_szProductName << " セットアップ／サービスパック(5.621)";
    return ShowMessage(owner, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The defaults of a fresh install that the system gives, then the setup
// dialog over the disabled background window; true after its OK.
bool PrepareFreshInstall(HWND owner, SetupParams* params)
{
    DataObjStr programFiles;
    if (!GetSpecialFolder(&programFiles, owner, CSIDL_PROGRAM_FILES, 0) || IsBlankText(programFiles))
        programFiles = OnWindowsDrive("C:\\Program Files");
    params->m_strAppPath = AddBackslash(programFiles) + "Darvo5";

    // Windows 95 and 98 (the high bit of the version set) keep the owner
    // where NT keeps its own.
    const char* versionKey = (GetVersion() & 0x80000000) ? "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
                                                          : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    params->m_strUserName = ReadRegString(HKEY_LOCAL_MACHINE, versionKey, "RegisteredOwner", "");
    params->m_strCompany = ReadRegString(HKEY_LOCAL_MACHINE, versionKey, "RegisteredOrganization", "");

    SetForegroundWindow(owner);
    return RunSetupDialog(owner, params) == IDOK;
}

// Everything between the background window's creation and its end.
void PrepareAndInstall(HWND owner, bool fUpdate, const DataObjStr& source)
{
    SetupParams params;
    GetShellFolders(&params);
    if (IsBlankText(params.m_strMenuShared) && IsBlankText(params.m_strMenuPrivate)) {
        ShowMessage(owner, "スタートメニューのプログラムフォルダを検出できません", nullptr, MB_ICONHAND);
        return;
    }
    SetDefaultDataFolder(&params);

    SafePtr<FEnv2> list = OpenSettings(AddBackslash(source) + "SETUP.LST");
    if (!IsLoaded(list))
        return;
    AppKeys keys;
    if (!ReadAppKeys(&keys))
        return;

    bool confirmed = false;
    if (!fUpdate && !IsBlankText(keys.AppDir)) {
        if (ConfirmUpdate(keys))
            fUpdate = confirmed = true;
        else if (ShowMessage(owner, s_szAlreadyInstalled, nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES)
            return;
    }
    if (fUpdate ? !PrepareUpdate(owner, keys, confirmed, &params) : !PrepareFreshInstall(owner, &params))
        return;
    DoInstall(owner, &params, list.Get(), source);
}

}  // namespace

void SetDefaultDataFolder(SetupParams* params)
{
    params->m_fShared = IsBlankText(params->m_strMenuShared) ? 0 : 1;
    auto base = [](const DataObjStr& desktop) {
        return IsBlankText(desktop) ? OnWindowsDrive("c:\\") : AddBackslash(desktop);
    };
    params->m_strDocBaseShared = base(params->m_strDeskShared);
    params->m_strDocBasePrivate = base(params->m_strDeskPrivate);
    params->m_strDocPath =
        (params->m_fShared ? params->m_strDocBaseShared : params->m_strDocBasePrivate) + "ヴェルンド！出納帳データ";
}

int ConfirmUpdate(const AppKeys& keys)
{
    DataObjStr folder = AddBackslash(keys.AppDir);
    for (const char* name : {"DARVO5.EXE", "DARVOSHL.EXE", "SHARE.ENV"})
        if (GetPathType(folder + name) != PT_FILE)
            return 0;
    DataObjStr question;
    question << "以下のフォルダに「ヴェルンド！出納帳 Ver.5」を見つけました。この出納帳を更新（上書きインストール）しますか？\n\n"
             << keys.AppDir << "\n\n（更新しても、すでに存在する帳簿データや設定はそのまま残ります）";
    return ShowMessage(GetFirstVisibleMainWnd(), question, nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void RunInstall(bool fUpdate, DataObjStr source)
{
    RunOverBackground(0, [&](HWND background) { PrepareAndInstall(background, fUpdate, source); });
}
