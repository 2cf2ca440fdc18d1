// The library's folder selection dialog: the path of the current folder as
// an indented chain with its sub-folders, the drives and the special
// folders on the left, its files greyed on the right, and the path field
// below. Clicking a folder opens it, a path typed and Enter opens that path,
// OK answers the path field's text.
//
//   DataObjStr folder = SelectFolder(owner, start, "フォルダを選んでください", 0, 0);
//   if (!IsBlankText(folder)) ...   // empty: cancelled
#pragma once

#include <windows.h>

#include "dazo/Data.h"
#include "dazo/Wnd.h"
#include "dazo/listbox2.h"

// SelectFolder options.
enum {
    SF_MUSTEXIST = 1,  // OK accepts only an existing folder
    SF_CENTER = 2,     // centre over the owner (else the template's place)
};

// Runs the dialog modally over owner, starting at the nearest existing
// folder of startFolder (blank: the current folder). title replaces the
// caption when given; without a help context the ﾍﾙﾌﾟ button is hidden.
// Answers the chosen folder as typed, or empty when cancelled.
DataObjStr SelectFolder(HWND owner, const char* startFolder, const char* title, int options, DWORD helpContext);

class FolderDlg2 : public Dlg {
public:
    explicit FolderDlg2(int options) : m_fOptions(options) {}
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the dialog from "SelectFolderDlg" owned by owner, its lists
    // and path field in the places of the template's placeholders, and
    // lists the start folder.
    HWND Create(HWND owner, const char* startFolder, DWORD helpContext);

    int m_fOptions;
    FileListBox2* m_pFolders = nullptr;  // the path, sub-folders, drives, special folders
    FileListBox2* m_pFiles = nullptr;    // the folder's files, grey
    HWND m_hwndPath = nullptr;           // the path field
    DataObjStr m_strChosen;

private:
    void ShowFolder(FileData* data);
    bool OpenFolder(const char* path);
    void RefreshFiles();
    void SetPathField(const char* text);
    void OpenSelected();
    void OnOk();
};
