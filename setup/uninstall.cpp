// The uninstall mode: over the background window the user chooses between
// cancelling the application's automatic start and removing the
// application; the removal takes the temporary folders, the records of the
// installation and the program folder, and leaves the books.
#include "setup/uninstall.h"

#include <cstring>
#include <initializer_list>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "dazo/Wnd.h"
#include "res/resource.h"
#include "setup/background.h"
#include "setup/settingsopen.h"
#include "setup/setup.h"
#include "setup/shellreg.h"

namespace {

const char s_szRemoveCaption[] = "ヴェルンド！出納帳 Version 5 の削除";
const char s_szDocumentType[] = "CorvaZozuveDocument";

// A registry call's status: a key or value that is gone already counts as
// removed. Any other failure is reported.
bool RegDone(LONG status)
{
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
        return true;
    ReportSysError(ERR_SYSTEM, status, "レジストリ読み書きエラー");
    return false;
}

// An open key, closed on every way out.
struct OpenKey {
    HKEY hKey = nullptr;
    ~OpenKey()
    {
        if (hKey)
            RegCloseKey(hKey);
    }
};

// Deletes the key at path with the keys below it, which RegDeleteKeyA of
// Windows NT refuses to delete with them: the shell adds its own under an
// extension's key (OpenWithProgids and the like). The registry's status.
LONG DeleteKeyTree(HKEY root, const char* path)
{
    HKEY key;
    LONG status = RegOpenKeyExA(root, path, 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    char name[256];
    // Each deletion moves the next key to index 0.
    while ((status = RegEnumKeyA(key, 0, name, sizeof(name))) == ERROR_SUCCESS &&
           (status = DeleteKeyTree(key, name)) == ERROR_SUCCESS) {
    }
    RegCloseKey(key);
    return status == ERROR_NO_MORE_ITEMS ? RegDeleteKeyA(root, path) : status;
}

// The application's temporary folders in the system's temporary folder and
// in %TEMP%; a folder that is not there counts as deleted.
bool DeleteTemporaryFolders()
{
    char places[2][MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof(places[0]), places[0]);
    if (length >= sizeof(places[0]))
        places[0][0] = '\0';
    length = GetEnvironmentVariableA("TEMP", places[1], sizeof(places[1]));
    if (length >= sizeof(places[1]))
        places[1][0] = '\0';
    for (const char* place : places) {
        if (!*place)
            continue;
        for (const char* name : {"CorvaVelundDarvo5", "CorvaVelundDarvo5Shell"})
            if (!DeleteTree(DT_RECURSE | DT_RETRYDELETE, AddBackslash(place) + name))
                return false;
    }
    return true;
}

// Whether the registry's records are those of programFolder: a "KeyAppDir"
// string that names another folder belongs to another installation.
bool RecordsAreOurs(HKEY dataKey, const DataObjStr& programFolder)
{
    DataObjStr keyAppDir;
    return ReadRegSz(dataKey, "KeyAppDir", &keyAppDir) != ERROR_SUCCESS ||
           std::strcmp(keyAppDir, KeyFolderForm(programFolder)) == 0;
}

// ".QLB" when it names the application's document type; one of another
// type stays.
bool RemoveQlbExtension()
{
    HKEY key;
    LONG status = RegOpenKeyExA(HKEY_CLASSES_ROOT, ".QLB", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return RegDone(status);
    DataObjStr type;
    status = ReadRegSz(key, nullptr, &type);
    bool ours = status == ERROR_SUCCESS && std::strcmp(type, s_szDocumentType) == 0;
    LONG closed = RegCloseKey(key);
    if (!RegDone(status))
        return false;
    if (closed != ERROR_SUCCESS) {
        ReportSysError(ERR_SYSTEM, closed, "レジストリ読み書きエラー");
        return false;
    }
    return !ours || RegDone(DeleteKeyTree(HKEY_CLASSES_ROOT, ".QLB"));
}

// The shortcut file whose path the value name holds; a value that cannot be
// read names none, and a file already gone is no error.
bool DeleteShortcut(HKEY dataKey, const char* name)
{
    DataObjStr path;
    if (ReadRegSz(dataKey, name, &path) != ERROR_SUCCESS || IsBlankText(path))
        return true;
    if (DeleteFileA(path) || (ClassifyFileError(GetLastError()) & FE_NOTFOUND))
        return true;
    ReportError(ERR_WRITE, "削除できません", path);
    return false;
}

// The records of the installation: the document type, the uninstall entry,
// the shortcuts and the application's values (its key stays). Without the
// application's key there are no values and no shortcuts to look up.
bool RemoveRecords(const DataObjStr& programFolder)
{
    OpenKey data;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &data.hKey);
    if (status != ERROR_SUCCESS) {
        data.hKey = nullptr;
        if (!RegDone(status))
            return false;
    }
    if (data.hKey && !RecordsAreOurs(data.hKey, programFolder))
        return true;
    if (!RemoveQlbExtension() || !RegDone(DeleteKeyTree(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY)))
        return false;
    for (const char* key : {"CorvaZozuveDocument\\DefaultIcon", "CorvaZozuveDocument\\shell\\open\\command",
                            "CorvaZozuveDocument\\shell\\open", "CorvaZozuveDocument\\shell", "CorvaZozuveDocument"})
        if (!RegDone(RegDeleteKeyA(HKEY_CLASSES_ROOT, key)))
            return false;
    if (!data.hKey)
        return true;
    if (!DeleteShortcut(data.hKey, "pathShortcut1") || !DeleteShortcut(data.hKey, "pathShortcut2"))
        return false;
    for (const char* name : {"pathShortcut1", "pathShortcut2", "AppDir", "KeyAppDir"})
        if (!RegDone(RegDeleteValueA(data.hKey, name)))
            return false;
    return true;
}

// Takes the key "自動起動" out of SHARE.ENV of the registered installation,
// when the user agrees.
void CancelAutoStart(HWND owner)
{
    AppKeys keys;
    if (!ReadAppKeys(&keys))
        return;
    if (IsBlankText(keys.AppDir)) {
        ReportErrorCode(ERR_SYSTEM, "ヴェルンド！出納帳は正しくセットアップされていません");
        return;
    }
    SafePtr<FEnv2> share = OpenSettings(AddBackslash(keys.AppDir) + "SHARE.ENV");
    if (!IsLoaded(share))
        return;
    DataObjStr autoStart;
    share->GetString(autoStart, "会社選択", "自動起動", "");
    if (IsBlankText(autoStart)) {
        ShowMessage(owner, "自動起動は設定されていません", nullptr, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (ShowMessage(owner, "自動起動を解除しますか", nullptr, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    share->WriteString("会社選択", "自動起動", nullptr);
    if (share->Save())
        ShowMessage(owner, "自動起動を解除しました", nullptr, MB_OK | MB_ICONINFORMATION);
}

// The choice dialog over the background window until the user has chosen:
// Cancel, the automatic start, or the removal confirmed (No asks again).
int ChooseAction(HWND background, const DataObjStr& programFolder)
{
    Dlg* dialog = new Dlg;
    HWND hwnd = dialog->Create(g_hInstance, "AddRemoveDlg", background);
    CenterWindow(hwnd, background);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    DataObjStr question;
    question << "ヴェルンド！出納帳 Version 5 をこのコンピュータから削除しますか？\n\n"
             << "（フォルダ[" << programFolder << "]が削除されます）";
    int choice;
    for (;;) {
        choice = RunModalLoop(LOOP_MODAL | LOOP_DIALOG, hwnd, nullptr);
        if (choice == IDC_AR_REMOVE &&
            ShowMessage(hwnd, question, s_szRemoveCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
            break;
        if (choice == IDCANCEL || choice == IDC_AR_AUTOSTART)
            break;
        // A dialog gone from under the loop cannot be asked again: as Cancel.
        if (!IsWindow(hwnd)) {
            choice = IDCANCEL;
            break;
        }
    }
    if (IsWindow(hwnd))
        DestroyWindow(hwnd);
    return choice;
}

}  // namespace

int RemoveApplication(HWND owner, const DataObjStr& programFolder)
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    DataObjStr dataFolder;
    // Nothing is touched before the folder is known to be the application's
    // to take and the books in it are known.
    int removed = CheckRemovableFolder(programFolder) && FindDataFolder(programFolder, &dataFolder) &&
                  DeleteTemporaryFolders() && RemoveRecords(programFolder) &&
                  RemoveProgramFolder(programFolder, dataFolder);
    NotifyShellOfChanges();
    if (removed)
        ShowMessage(owner, "削除しました", s_szRemoveCaption, MB_OK | MB_ICONINFORMATION);
    else
        ShowMessage(owner, "削除に失敗しました", s_szRemoveCaption, MB_OK);
    return removed;
}

void RunAddRemove(DataObjStr programFolder)
{
    g_nExitCode = 1;
    RunOverBackground(1, [&](HWND background) {
        int choice = ChooseAction(background, programFolder);
        if (choice == IDC_AR_REMOVE && RemoveApplication(background, programFolder))
            g_nExitCode = 0;
        else if (choice == IDC_AR_AUTOSTART)
            CancelAutoStart(background);
    });
}
