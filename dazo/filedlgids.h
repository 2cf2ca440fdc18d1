// Control identifiers of the folder selection dialog "SELECTFOLDERDLG",
// shared by its template (res/folderdlg.rc) and dazo/filedlg.cpp.
#pragma once

#define IDC_FD_FOLDERS 101  // placeholder of the folder list
#define IDC_FD_PATH 102     // placeholder of the path field
#define IDC_FD_FILES 103    // placeholder of the file list
#define IDC_FD_HELP 104     // ﾍﾙﾌﾟ, hidden without a help context
