#include "test_dialog.h"

namespace {

int s_desktopIconClicks;

INT_PTR CALLBACK TestDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SetDlgItemTextA(dlg, IDC_FOLDER, kInitialFolder);
        CheckRadioButton(dlg, IDC_TYPICAL, IDC_CUSTOM, IDC_TYPICAL);
        s_desktopIconClicks = 0;
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_DESKTOP_ICON:
        s_desktopIconClicks += HIWORD(wParam) == BN_CLICKED;
        return TRUE;
    case IDC_CUSTOM:
        if (HIWORD(wParam) == BN_CLICKED)
            SetDlgItemTextA(dlg, IDC_FOLDER, kCustomFolder);
        return TRUE;
    case IDC_CHECK_DISK:
        // A page that checks the disk in its click handler keeps its thread busy.
        Sleep(300);
        return TRUE;
    case IDC_NEXT:
    case IDCANCEL: {
        char folder[MAX_PATH] = "";
        GetDlgItemTextA(dlg, IDC_FOLDER, folder, sizeof folder);
        *reinterpret_cast<std::string*>(GetWindowLongPtrA(dlg, DWLP_USER)) =
            std::string("folder=") + folder + " desktopIcon=" + std::to_string(IsDlgButtonChecked(dlg, IDC_DESKTOP_ICON)) +
            " typical=" + std::to_string(IsDlgButtonChecked(dlg, IDC_TYPICAL)) +
            " custom=" + std::to_string(IsDlgButtonChecked(dlg, IDC_CUSTOM)) +
            " clicks=" + std::to_string(s_desktopIconClicks);
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    }
    }
    return FALSE;
}

}  // namespace

INT_PTR RunTestDialog(std::string* result)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ROBOT_TEST), nullptr, TestDialogProc,
                           reinterpret_cast<LPARAM>(result));
}
