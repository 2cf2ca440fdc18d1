#include "test_dialog.h"

namespace {

INT_PTR CALLBACK TestDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* result = reinterpret_cast<TestDialogResult*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        SetDlgItemTextA(dlg, IDC_FOLDER, kInitialFolder);
        CheckRadioButton(dlg, IDC_TYPICAL, IDC_CUSTOM, IDC_TYPICAL);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DESKTOP_ICON:
            if (HIWORD(wParam) == BN_CLICKED)
                ++result->desktopIconClicks;
            return TRUE;
        case IDC_CUSTOM:
            if (HIWORD(wParam) == BN_CLICKED) {
                SetDlgItemTextA(dlg, IDC_FOLDER, kCustomFolder);
            }
            return TRUE;
        case IDC_CHECK_DISK:
            Sleep(kDiskCheckMs);
            return TRUE;
        case IDC_NEXT:
        case IDCANCEL: {
            char folder[MAX_PATH] = "";
            GetDlgItemTextA(dlg, IDC_FOLDER, folder, sizeof folder);
            result->folder = folder;
            result->desktopIcon = IsDlgButtonChecked(dlg, IDC_DESKTOP_ICON);
            result->typical = IsDlgButtonChecked(dlg, IDC_TYPICAL);
            result->custom = IsDlgButtonChecked(dlg, IDC_CUSTOM);
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

std::string Describe(const TestDialogResult& result)
{
    return "folder=" + result.folder + "\n" + "desktopIcon=" + std::to_string(result.desktopIcon) + "\n"
        + "typical=" + std::to_string(result.typical) + "\n" + "custom=" + std::to_string(result.custom) + "\n"
        + "desktopIconClicks=" + std::to_string(result.desktopIconClicks) + "\n";
}

INT_PTR RunTestDialog(TestDialogResult* result)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ROBOT_TEST), nullptr, TestDialogProc,
        reinterpret_cast<LPARAM>(result));
}
