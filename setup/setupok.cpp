// The setup dialog's OK handler: the checks that can refuse the choices
// before the install touches a file, in the order the user meets them. A
// refusal leaves the dialog open with everything as the user left it.
#include "base/errreport.h"
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "res/resource.h"
#include "setup/filelist.h"
#include "setup/setupdlg.h"

static const char s_szBadFolder[] = "正しいフォルダ名を入力して下さい";

static bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Whether the path names its drive ("X:\") or network share
// ("\\server\share") itself.
static bool HasOwnRoot(const char* path)
{
    unsigned char letter = static_cast<unsigned char>(path[0]) | 0x20;
    if (letter >= 'a' && letter <= 'z' && path[1] == ':')
        return IsSeparator(path[2]);
    if (!IsSeparator(path[0]) || !IsSeparator(path[1]) || !path[2] || IsSeparator(path[2]))
        return false;
    const char* p = path + 2;
    while (*p && !IsSeparator(*p))
        p += SjisCharLen(p);
    return *p && p[1] && !IsSeparator(p[1]);
}

// Full paths compared as Windows compares names: letters in any case,
// double-byte characters exactly.
static bool IsSameFolder(const DataObjStr& a, const DataObjStr& b)
{
    DataObjStr fullA = GetFullPath(a), fullB = GetFullPath(b);
    return fullA.GetLength() == fullB.GetLength() && MatchPrefix(fullA, fullB) == 0;
}

void SetupDlg::Refuse(const char* text, int focusId)
{
    ShowMessage(m_hwnd, text, nullptr, MB_OK | MB_ICONEXCLAMATION);
    if (focusId)
        FocusOn(focusId);
}

// A blank folder, or one without its drive or share, would be stored as
// typed and found against whatever folder is current when the application
// runs: refused like a bad name.
bool SetupDlg::RefuseFolderName(const DataObjStr& folder, int editId)
{
    if (!IsBlankText(folder) && HasOwnRoot(folder))
        return false;
    Refuse(s_szBadFolder, editId);
    return true;
}

void SetupDlg::OnOk()
{
    DataObjStr app = AddBackslash(GetWndText(GetDlgItem(m_hwnd, IDC_SD_APPPATH)));
    DataObjStr doc = AddBackslash(GetWndText(GetDlgItem(m_hwnd, IDC_SD_DOCPATH)));
    int32_t sample = IsDlgButtonChecked(m_hwnd, IDC_SD_SAMPLE) == BST_CHECKED;

    if (IsSameFolder(app, doc)) {
        Refuse("プログラムフォルダとデータ保存フォルダが同じではいけません", 0);
        return;
    }
    if (!CheckFileName(app)) {
        Refuse(s_szBadFolder, IDC_SD_APPPATH);
        return;
    }
    if (RefuseFolderName(app, IDC_SD_APPPATH) || RefuseFolderName(doc, IDC_SD_DOCPATH))
        return;

    double freeBytes = 0;
    if (GetFreeSpace(app, &freeBytes) == 1 && IsLowOnSpace(freeBytes) &&
        Ask("指定のフォルダは空きが足りなさそうです。セットアップを行いますか？",
            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;

    if (GetPathTypeQuiet(app + "DARVO4.EXE") & PT_FILE) {
        Refuse("バージョン４と同じフォルダには組み込めません", 0);
        return;
    }
    if ((GetPathTypeQuiet(app) & PT_DIRLIKE) &&
        Ask(DataObjStr("指定のプログラムフォルダ\n\n  ") + app +
                "\n\nは既に存在します.\n\n同名のファイルは上書きされます。よろしいですか？",
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    DataObjStr docFolder = doc;
    RemoveBackslash(docFolder);
    int docType = GetPathType(docFolder);
    // A name the system refuses has been reported by the classification:
    // going on would only ask and then fail to create it.
    if (docType & PT_ERROR) {
        FocusOn(IDC_SD_DOCPATH);
        return;
    }
    if (docType & PT_FILE) {
        Refuse(doc + "と同名のファイルが存在します。\n別なフォルダを指定してください", IDC_SD_DOCPATH);
        return;
    }
    if (Ask("セットアップを行います。よろしいですか？", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!(docType & PT_DIRLIKE) && !CreateFolderTree(doc)) {
        ReportError(ERR_WRITE, "フォルダを作成できません", doc);
        return;
    }

    m_pParam->m_strAppPath = app;
    m_pParam->m_strDocPath = doc;
    m_pParam->m_fDeskIcon = m_fDeskIcon;
    m_pParam->m_fSample = sample;
    m_pParam->m_fShared = m_fShared;
    EndModalLoop(IDOK);
}
