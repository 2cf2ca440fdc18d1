// The install procedure: the sections in the order of the mode, the
// questions between them, the settings files, and the records of a new
// installation, under the progress window; then the closing message.
#include "setup/install.h"

#include "base/errreport.h"
#include "base/msgbox.h"
#include "dazo/Doingwnd.h"
#include "dazo/Func.h"
#include "setup/copyengine.h"
#include "setup/installsteps.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"

namespace {

const char s_szCompleted[] =
    "セットアップを完了しました。\n「ヴェルンド！出納帳 Version 5」のアイコンをクリックするとヴェルンド出納帳を起動できます。";
const char s_szStopped[] =
    "セットアップを中止しました。\nセットアップは完了してないのでヴェルンド！出納帳 Version 5.5(ゼノプ版) は使用できません。";

// The steps that run under the progress window, which owns every question.
class InstallProcedure {
public:
    InstallProcedure(DoingWnd* doing, SetupParams* params, FEnv2* list, const DataObjStr& source)
        : m_pDoing(doing), m_pParams(params), m_pList(list), m_strSource(source)
    {
    }

    // 1 when every step is done, 0 at the first stop.
    int Run()
    {
        SetupParams& p = *m_pParams;
        if (!Copy("Common") || !Copy(p.m_fUpdate ? "Update" : "Files"))
            return 0;
        bool settingsInstalled = false;
        if (!p.m_fUpdate) {
            settingsInstalled = !HasSettingsFiles() || !Ask("現在の設定を引き継ぎますか？", MB_YESNO | MB_ICONQUESTION);
            if (settingsInstalled && !Copy("Setting"))
                return 0;
            if (!CopySample())
                return 0;
        }
        if (!Copy("Files2"))
            return 0;
        m_pDoing->SetText("お待ち下さい...");
        UpdateWindow(m_pDoing->HWnd());
        if (!WriteSettingsKeys(p, !settingsInstalled))
            return 0;
        if (settingsInstalled && !OfferVersion4Import(m_pDoing->HWnd(), p.m_strAppPath))
            return 0;
        return p.m_fUpdate ? 1 : RegisterInstallation(p);
    }

private:
    int Copy(const char* section, const DataObjStr* appPath = nullptr)
    {
        return CopyFileList(m_pList, m_pDoing, section, m_strSource, appPath ? *appPath : m_pParams->m_strAppPath,
                            m_pParams->m_strDocPath);
    }

    bool Ask(const char* question, UINT flags)
    {
        return ShowMessage(m_pDoing->HWnd(), question, nullptr, flags) == IDYES;
    }

    // Settings files of an earlier installation in the program folder.
    bool HasSettingsFiles()
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(m_pParams->m_strAppPath + "*.ENV", &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        FindClose(find);
        return true;
    }

    // The sample data, unless the user keeps a file of the same name (No is
    // the default answer). In this section $(AppPath) is the data folder too.
    int CopySample()
    {
        SetupParams& p = *m_pParams;
        DataObjStr sample = AddBackslash(p.m_strDocPath) + "サンプル.QLB";
        if (p.m_fSample && GetPathType(sample) == PT_FILE) {
            DataObjStr question;
            question << "サンプルデータ[" << sample << "]と同名のファイルが存在します。上書きしますか？";
            if (!Ask(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2))
                p.m_fSample = 0;
        }
        return !p.m_fSample || Copy("Sample", &p.m_strDocPath);
    }

    DoingWnd* m_pDoing;
    SetupParams* m_pParams;
    FEnv2* m_pList;
    DataObjStr m_strSource;
};

}  // namespace

int DoInstall(HWND owner, SetupParams* params, FEnv2* list, const DataObjStr& source)
{
    auto* doing = new DoingWnd;
    doing->Create("ヴェルンド！出納帳 セットアップ", -1, -1, 40 * g_nAveCharWidth, g_nCharHeight, owner,
                  DWS_STOP | DWS_NOGAUGE | DWS_SHOW | DWS_DISABLEOWNER);
    int result = InstallProcedure(doing, params, list, source).Run();
    doing->Close();

    NotifyShellOfChanges();
    if (result) {
        ShowMessage(owner, s_szCompleted, nullptr, 0);
    } else {
        // Without its launcher the half-installed application cannot be
        // started; what else was copied stays.
        DeleteFileA(params->m_strAppPath + "DARVOSHL.EXE");
        ShowMessage(owner, s_szStopped, nullptr, 0);
    }
    return result;
}
