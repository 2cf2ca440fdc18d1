// The setup dialog: the user confirms or changes the program folder, the data
// folder and the options of a fresh install. Everything that can be refused
// before a file is touched is checked by its OK handler, so that the install
// starts from folders that are valid and distinct, with the data folder
// already created. Only after OK (result 1) does SetupParams hold the
// choices; Cancel (2) leaves it alone.
//
// The install driver runs it over the background window:
//   int result = RunSetupDialog(background, &params);
#pragma once

#include <windows.h>

#include <cstdint>

#include "dazo/Wnd.h"
#include "setup/setupparams.h"

// Below this many free bytes on the program folder's drive the user is
// asked whether to go on (ten million, not 10 MiB).
const double SETUP_LOW_SPACE = 10000000.0;
inline bool IsLowOnSpace(double freeBytes)
{
    return freeBytes < SETUP_LOW_SPACE;
}

class SetupDlg : public Dlg {
public:
    // Creates the dialog over parent (a popup owned by it), fills it from
    // params and shows it.
    SetupDlg(HWND parent, SetupParams* params);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    SetupParams* m_pParam;       // the driver's record, which outlives the dialog
    int32_t m_fShared = 0;       // 1: shared (共有), 0: private (ﾌﾟﾗｲﾍﾞｰﾄ)
    int32_t m_fDeskIcon = 0;     // the desktop-icon check box
    int32_t m_fSharedPrev = 0;   // the choice the data folder text was last adjusted to
    int32_t m_fCanChoose = 0;    // both Start-menu folders are known

private:
    void Initialise(HWND parent);
    void Refresh();
    bool OnCommand(int id);
    void ChooseShared(int32_t shared);
    void ToggleDeskIcon();
    void Browse(int editId, const char* title);
    void AskCancel();
    void OnOk();
    bool RefuseFolderName(const DataObjStr& folder, int editId);
    void Refuse(const char* text, int focusId);
    int Ask(const char* text, UINT flags);
    void FocusOn(int id);
};

// Creates the dialog over parent, runs it with parent disabled, destroys it
// and answers its result: 1 (OK, params updated) or 2 (cancelled).
int RunSetupDialog(HWND parent, SetupParams* params);
