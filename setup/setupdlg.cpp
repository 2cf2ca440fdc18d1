// The setup dialog: its initialisation, the shared/private choice with the
// data folder that follows it, the desktop-icon box, browsing and Cancel.
// The OK handler is in setupok.cpp.
#include "setup/setupdlg.h"

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/filedlg.h"
#include "res/resource.h"
#include "setup/filelist.h"

SetupDlg::SetupDlg(HWND parent, SetupParams* params) : m_pParam(params)
{
    Create(g_hInstance, "SetupDlg", parent);
    Initialise(parent);
}

void SetupDlg::Initialise(HWND parent)
{
    HICON icon = DzLoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_APP));
    SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendDlgItemMessageA(m_hwnd, IDC_SD_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);

    SetDlgItemTextA(m_hwnd, IDC_SD_APPPATH, m_pParam->m_strAppPath);
    SetDlgItemTextA(m_hwnd, IDC_SD_DOCPATH, m_pParam->m_strDocPath);
    m_fShared = m_fSharedPrev = m_pParam->m_fShared ? 1 : 0;
    m_fDeskIcon = m_pParam->m_fDeskIcon;
    CheckDlgButton(m_hwnd, IDC_SD_SAMPLE, m_pParam->m_fSample ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_SD_DESKICON, m_fDeskIcon ? BST_CHECKED : BST_UNCHECKED);
    Refresh();
    for (int id : {IDC_SD_SHARED, IDC_SD_PRIVATE, IDC_SD_GROUP})
        EnableWindow(GetDlgItem(m_hwnd, id), m_fCanChoose);
    SetDlgItemTextA(m_hwnd, IDC_SD_GREETING, "ヴェルンド！出納帳 Version 5.5(ゼノプ版) のセットアップを始めます。");

    CenterWindow(m_hwnd, parent);
    ShowWindow(m_hwnd, SW_SHOW);
}

// After a change of the shared/private choice: a data folder under the old
// choice's desktop moves under the new one's (one the user put elsewhere
// stays), and the controls follow the choice.
void SetupDlg::Refresh()
{
    if (m_fShared != m_fSharedPrev) {
        DataObjStr text = GetWndText(GetDlgItem(m_hwnd, IDC_SD_DOCPATH));
        const DataObjStr& oldBase = m_fSharedPrev ? m_pParam->m_strDocBaseShared : m_pParam->m_strDocBasePrivate;
        const DataObjStr& newBase = m_fShared ? m_pParam->m_strDocBaseShared : m_pParam->m_strDocBasePrivate;
        if (MatchPrefix(text, oldBase) == 0)
            SetDlgItemTextA(m_hwnd, IDC_SD_DOCPATH, newBase + (static_cast<const char*>(text) + oldBase.GetLength()));
    }
    m_fCanChoose = !IsBlankText(m_pParam->m_strMenuShared) && !IsBlankText(m_pParam->m_strMenuPrivate);
    m_fSharedPrev = m_fShared;
    // The mark shows the choice in force, also when it cannot be changed.
    CheckRadioButton(m_hwnd, IDC_SD_SHARED, IDC_SD_PRIVATE, m_fShared ? IDC_SD_SHARED : IDC_SD_PRIVATE);
    const DataObjStr& desk = m_fShared ? m_pParam->m_strDeskShared : m_pParam->m_strDeskPrivate;
    EnableWindow(GetDlgItem(m_hwnd, IDC_SD_DESKICON), !IsBlankText(desk));
}

void SetupDlg::FocusOn(int id)
{
    SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hwnd, id)), TRUE);
}

void SetupDlg::ChooseShared(int32_t shared)
{
    if (IsBlankText(shared ? m_pParam->m_strMenuShared : m_pParam->m_strMenuPrivate)) {
        FocusOn(IDOK);
        ReportErrorText(shared ? "共有メニューフォルダを検出できません" : "メニューフォルダを検出できません", "");
        return;
    }
    m_fShared = shared;
    Refresh();
}

void SetupDlg::ToggleDeskIcon()
{
    if (!m_fDeskIcon && IsBlankText(m_fShared ? m_pParam->m_strDeskShared : m_pParam->m_strDeskPrivate)) {
        FocusOn(IDOK);
        ReportErrorText(m_fShared ? "共有デスクトップを検出できません" : "プライベートデスクトップを検出できません", "");
    } else {
        m_fDeskIcon = !m_fDeskIcon;
    }
    // The box ticked itself when clicked: it shows the flag again.
    CheckDlgButton(m_hwnd, IDC_SD_DESKICON, m_fDeskIcon ? BST_CHECKED : BST_UNCHECKED);
}

void SetupDlg::Browse(int editId, const char* title)
{
    DataObjStr start = GetWndText(GetDlgItem(m_hwnd, editId));
    DataObjStr folder = SelectFolder(m_hwnd, start, title, 0, 0);
    if (!IsBlankText(folder)) {
        SetDlgItemTextA(m_hwnd, editId, folder);
        FocusOn(IDOK);
    }
}

int SetupDlg::Ask(const char* text, UINT flags)
{
    return ShowMessage(m_hwnd, text, nullptr, flags);
}

void SetupDlg::AskCancel()
{
    if (Ask("セットアップを中止しますか？", MB_YESNO | MB_ICONQUESTION) == IDYES)
        EndModalLoop(IDCANCEL);
}

bool SetupDlg::OnCommand(int id)
{
    switch (id) {
    case IDOK:
        OnOk();
        return true;
    case IDCANCEL:
        AskCancel();
        return true;
    case IDC_SD_APPBROWSE:
        Browse(IDC_SD_APPPATH, "プログラムフォルダを選択してください");
        return true;
    case IDC_SD_DOCBROWSE:
        Browse(IDC_SD_DOCPATH, "データ保存フォルダを選択してください");
        return true;
    case IDC_SD_DESKICON:
        ToggleDeskIcon();
        return true;
    case IDC_SD_SHARED:
    case IDC_SD_PRIVATE:
        ChooseShared(id == IDC_SD_SHARED);
        return true;
    }
    return false;
}

// Only commands have handlers of their own; which notification a control
// sent is not looked at.
LRESULT SetupDlg::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && OnCommand(LOWORD(wParam)))
        return 0;
    return Dlg::WndProc(msg, wParam, lParam);
}

int RunSetupDialog(HWND parent, SetupParams* params)
{
    HWND hwnd = (new SetupDlg(parent, params))->HWnd();
    if (parent)
        EnableWindow(parent, FALSE);
    int result = RunModalLoop(LOOP_DIALOG, hwnd, nullptr);
    if (parent)
        EnableWindow(parent, TRUE);
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return result;
}
