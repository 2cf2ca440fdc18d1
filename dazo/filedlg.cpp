// The folder selection dialog and its entry function.
#include "dazo/filedlg.h"

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "dazo/filedlgids.h"

// What the folder list holds: the path, the sub-folders, a separator, the
// drives and the special folders.
static const int FOLDER_LISTING = FD_PATH | FD_FOLDERS | FD_SEPARATOR | FD_DRIVES | FD_SPECIAL;

// The path field: the user types whole paths into it.
static const int PATH_FIELD_LIMIT = 260;

static void ShowWaitCursor()
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

// The start folder itself when it exists, else its nearest existing parent.
static DataObjStr NearestFolder(const char* start)
{
    DataObjStr path;
    if (IsBlankText(start)) {
        GetCurrentDirectoryA(MAX_PATH, path.GetBuffer(MAX_PATH));
        return path;
    }
    path = start;
    RemoveBackslash(path);
    while (!(GetPathTypeQuiet(path) & PT_DIRLIKE) && GetFileNamePos(path) < path.GetLength()) {
        path = GetDirPart(path);
        RemoveBackslash(path);
    }
    return path;
}

// Whether path is a folder (or a drive or share root); when something else
// is there, or nothing, reports message with the path. A path that could
// not be examined has been reported by the classification.
static bool IsFolderElseReport(const DataObjStr& path, const char* message)
{
    int type = GetPathType(path);
    if (!(type & (PT_ERROR | PT_DIRLIKE)))
        ReportErrorText(message, path);
    return (type & PT_DIRLIKE) != 0;
}

// The placeholder's rectangle in the dialog's client area.
static RECT PlaceholderRect(HWND dlg, int id)
{
    RECT rc;
    GetWindowRect(GetDlgItem(dlg, id), &rc);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Puts window in the placeholder's place in the tab order and removes the
// placeholder.
static void ReplacePlaceholder(HWND dlg, int id, HWND window)
{
    HWND placeholder = GetDlgItem(dlg, id);
    SetWindowPos(window, placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(placeholder);
}

HWND FolderDlg2::Create(HWND owner, const char* startFolder, DWORD helpContext)
{
    Dlg::Create(g_hInstance, "SelectFolderDlg", owner);
    if (!helpContext)
        ShowWindow(GetDlgItem(m_hwnd, IDC_FD_HELP), SW_HIDE);
    DataObjStr start = NearestFolder(startFolder);

    auto font = reinterpret_cast<HFONT>(SendMessageA(m_hwnd, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    m_pFolders = new FileListBox2;
    m_pFolders->Create(WS_EX_CLIENTEDGE, listStyle, PlaceholderRect(m_hwnd, IDC_FD_FOLDERS), m_hwnd,
                       IDC_FD_FOLDERS, font, 0, m_hwnd);
    ReplacePlaceholder(m_hwnd, IDC_FD_FOLDERS, m_pFolders->HWnd());
    m_pFiles = new FileListBox2;
    m_pFiles->Create(WS_EX_CLIENTEDGE, listStyle, PlaceholderRect(m_hwnd, IDC_FD_FILES), m_hwnd, IDC_FD_FILES,
                     font, LB2_NOSELECT, m_hwnd);
    ReplacePlaceholder(m_hwnd, IDC_FD_FILES, m_pFiles->HWnd());

    // ES_AUTOHSCROLL: a path longer than the field is still typed whole.
    RECT rc = PlaceholderRect(m_hwnd, IDC_FD_PATH);
    m_hwndPath = DzCreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "",
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, rc.left, rc.top,
                                   rc.right - rc.left, rc.bottom - rc.top, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FD_PATH)), g_hInstance, nullptr);
    SendMessageA(m_hwndPath, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(m_hwndPath, EM_LIMITTEXT, PATH_FIELD_LIMIT, 0);
    ReplacePlaceholder(m_hwnd, IDC_FD_PATH, m_hwndPath);

    ShowFolder(new FileData(start, "*.*", FOLDER_LISTING, m_hwnd));
    return m_hwnd;
}

void FolderDlg2::SetPathField(const char* text)
{
    SetWindowTextA(m_hwndPath, text);
    SendMessageA(m_hwndPath, EM_SETSEL, 0, -1);
}

// The file list follows the folder list; a folder that could not be read
// shows no files.
void FolderDlg2::RefreshFiles()
{
    FileData* folders = m_pFolders->GetData();
    m_pFiles->SetData(folders->m_fRead ? new FileData(folders->m_strFolder, "*.*", FD_FILES, m_hwnd) : nullptr,
                      FLB_GRAY);
}

void FolderDlg2::ShowFolder(FileData* data)
{
    m_pFolders->SetData(data, 0);
    RefreshFiles();
    SetPathField(data->m_strFolder);
}

// Lists path in place of the current listing; false when it could not be
// read (reported while building), the current listing then stays.
bool FolderDlg2::OpenFolder(const char* path)
{
    SafePtr<FileData> data(new FileData(path, "*.*", FOLDER_LISTING, m_hwnd));
    if (!data->m_fRead)
        return false;
    ShowFolder(data.Get());
    return true;
}

void FolderDlg2::OpenSelected()
{
    ShowWaitCursor();
    FileData* data = m_pFolders->GetData();
    int sel = m_pFolders->GetSel();
    if (sel < 0 || (data->GetEntry(sel).fFlags & FE_SEPARATOR))
        return;
    DataObjStr path = data->GetPath(sel);
    if (!IsBlankText(path) && IsFolderElseReport(path, "パスが見つかりません"))
        OpenFolder(path);
}

// Enter in the path field opens what was typed; OK clicked (or Enter in a
// list) answers it.
void FolderDlg2::OnOk()
{
    DataObjStr text = GetWndText(m_hwndPath);
    if (GetFocus() == m_hwndPath) {
        ShowWaitCursor();
        if (OpenFolder(text))
            SendMessageA(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_pFolders->HWnd()), TRUE);
        return;
    }
    if (IsBlankText(text))
        return;
    if ((m_fOptions & SF_MUSTEXIST) && !IsFolderElseReport(text, "フォルダが見つかりません"))
        return;
    m_strChosen = text;
    ShowWaitCursor();
    EndModalLoop(IDOK);
}

LRESULT FolderDlg2::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDC_FD_FOLDERS:
            if (HIWORD(wParam) == LB2N_SELCHANGE)
                SetPathField(m_pFolders->GetData()->GetPath(m_pFolders->GetSel()));
            else if (HIWORD(wParam) == LB2N_OPEN || HIWORD(wParam) == LB2N_CLICKUP)
                OpenSelected();
            return 0;
        case IDOK:
            OnOk();
            return 0;
        case IDCANCEL:
            ShowWaitCursor();
            EndModalLoop(IDCANCEL);
            return 0;
        }
    }
    return Dlg::WndProc(msg, wParam, lParam);
}

DataObjStr SelectFolder(HWND owner, const char* startFolder, const char* title, int options, DWORD helpContext)
{
    ShowWaitCursor();
    auto* dlg = new FolderDlg2(options);
    HWND hwnd = dlg->Create(owner, startFolder, helpContext);
    if (title && *title)
        SetWindowTextA(hwnd, title);
    if (options & SF_CENTER)
        CenterWindow(hwnd, owner);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SendMessageA(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dlg->m_hwndPath), TRUE);

    DataObjStr chosen;
    int code = RunModalLoop(LOOP_MODAL | LOOP_DIALOG, hwnd, nullptr);
    // A dialog destroyed under the loop took its object with it.
    if (code == IDOK && IsWindow(hwnd))
        chosen = dlg->m_strChosen;
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return chosen;
}
