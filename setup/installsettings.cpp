// The install procedure's work on settings files: the keys it writes into
// SHARE.ENV and DARVOSHL.ENV, and the import of version 4's settings into
// DARVO5.ENV. Each file is opened with its lock held for the whole change,
// so that no other program reads it half written.
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "dazo/fenv2.h"
#include "setup/install.h"
#include "setup/installsteps.h"
#include "setup/settingsopen.h"
#include "setup/setupparams.h"
#include "setup/v4import.h"

namespace {

// Kept settings older than this hold the automatic start in DARVOSHL.ENV.
const long AUTOSTART_IN_SHARE_VERSION = 5020;

}  // namespace

int WriteSettingsKeys(const SetupParams& params, bool settingsKept)
{
    // DARVOSHL.ENV is not checked here: its Save refuses to run, and says
    // so, when it could not be read.
    SafePtr<FEnv2> shell = OpenSettings(params.m_strAppPath + "DARVOSHL.ENV", ENV_HOLDLOCK);
    SafePtr<FEnv2> share = OpenSettings(params.m_strAppPath + "SHARE.ENV", ENV_HOLDLOCK);
    if (!IsLoaded(share))
        return 0;
    if (!params.m_fUpdate) {
        share->WriteString("Default", "会社名", params.m_strCompany);
        share->WriteString("Default", "名前", params.m_strUserName);
        share->WriteInt("出納帳", "新規作成", 1);
        share->WriteString("会社選択", "Folder", AddBackslash(params.m_strDocPath));
    }
    if (settingsKept && share->GetInt("出納帳", "Version", SETUP_VERSION) < AUTOSTART_IN_SHARE_VERSION) {
        DataObjStr autoStart;
        shell->GetString(autoStart, "会社選択", "自動起動", "");
        share->WriteString("会社選択", "自動起動", autoStart);
        shell->WriteString("会社選択", "自動起動", nullptr);
    }
    share->WriteInt("出納帳", "Version", SETUP_VERSION);
    return share->Save() && shell->Save();
}

int OfferVersion4Import(HWND owner, const DataObjStr& appPath)
{
    DataObjStr v4Folder = GetIniString("コルヴァ アプリケーション", "ヴェルンド！出納帳４", "", nullptr);
    if (IsBlankText(v4Folder))
        return 1;
    DataObjStr v4Ini = AddBackslash(v4Folder) + "DARVO4.INI";
    if (GetPathType(v4Ini) != PT_FILE ||
        ShowMessage(owner, "以前のバージョン４の設定を取り込みますか？", nullptr, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    // The settings are read from a copy in the program folder.
    DataObjStr copy = appPath + "DARVO4.INI";
    if (CopyFileData(v4Ini, copy, CFD_COPYTIME | CFD_FLUSH, nullptr) != 0)
        return 0;
    {
        SafePtr<FEnv2> darvo5 = OpenSettings(appPath + "DARVO5.ENV", ENV_HOLDLOCK);
        if (!IsLoaded(darvo5))
            return 0;
        ImportVersion4Settings(darvo5.Get(), copy);
        if (!darvo5->Save())
            return 0;
    }
    SafePtr<FEnv2> share = OpenSettings(appPath + "SHARE.ENV", ENV_HOLDLOCK);
    share->WriteInt("出納帳", "新規作成", 2);
    return share->Save();
}
