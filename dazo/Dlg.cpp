// Dlg: dialogs made from templates, run modeless or in the library's modal
// loop, and the list of modeless dialogs that see the loop's messages first.
#include "dazo/Wnd.h"

#include "base/errreport.h"
#include "base/gdiwrap.h"
#include "dazo/wndinternal.h"

static Dlg* s_pModelessHead;

Dlg::~Dlg()
{
    LeaveModelessList();
}

void Dlg::LeaveModelessList()
{
    for (Dlg** link = &s_pModelessHead; *link; link = &(*link)->m_pNextModeless) {
        if (*link == this) {
            *link = m_pNextModeless;
            break;
        }
    }
    m_pNextModeless = nullptr;
}

void Dlg::Attach()
{
    if (m_dwWndFlag & WND_ATTACHED)
        return;
    Wnd::Attach();
    if (m_dwWndFlag & DLG_MODELESS) {
        m_pNextModeless = s_pModelessHead;
        s_pModelessHead = this;
    }
}

void Dlg::Detach()
{
    LeaveModelessList();
    Wnd::Detach();
}

INT_PTR Dlg::DlgProc(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return 1;
    if (msg == WM_COMMAND && LOWORD(wParam) >= IDOK && LOWORD(wParam) <= 10) {
        EndModalLoop(LOWORD(wParam));
        return 1;
    }
    return 0;
}

int Dlg::PreTranslate(MSG* msg)
{
    return IsDialogMessageA(m_hwnd, msg);
}

INT_PTR CALLBACK FrameworkDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Dlg* dlg = nullptr;
    if (msg == WM_INITDIALOG && lParam) {
        dlg = reinterpret_cast<Dlg*>(lParam);
        dlg->TakeWindow(hwnd);
    } else {
        // Only Dlg objects have this procedure.
        dlg = static_cast<Dlg*>(FindWnd(hwnd));
    }
    if (!dlg)
        return msg == WM_INITDIALOG;
    return dlg->DlgProc(msg, wParam, lParam);
}

static HWND CheckDialog(HWND hwnd)
{
    if (!hwnd)
        ReportErrorCode(ERR_NOMEM, "ダイアログボックスを作成できません");
    return hwnd;
}

HWND Dlg::Create(HINSTANCE hInstance, const char* templateName, HWND parent)
{
    return CheckDialog(DzCreateDialogParamA(hInstance, templateName, parent, FrameworkDlgProc,
                                            reinterpret_cast<LPARAM>(this)));
}

HWND Dlg::CreateIndirect(HINSTANCE hInstance, const DLGTEMPLATE* dlgTemplate, HWND parent)
{
    return CheckDialog(DzCreateDialogIndirectParamA(hInstance, dlgTemplate, parent, FrameworkDlgProc,
                                                    reinterpret_cast<LPARAM>(this)));
}

bool PreTranslateModeless(MSG* msg)
{
    for (Dlg* d = s_pModelessHead; d; d = d->m_pNextModeless)
        if (d->PreTranslate(msg))
            return true;
    return false;
}
