// The window framework. Every window and dialog of the program is an object
// of a class derived from Wnd (dialogs from Dlg), tied to its Win32 window by
// subclassing: the object replaces the window's procedure and a table maps
// each window handle back to its object, so that messages reach the
// object's virtual WndProc.
//
// Life of a window object: make it with new, give it a window (Wnd::Create,
// Dlg::Create or Dlg::CreateIndirect); the framework deletes it when its
// window receives WM_NCDESTROY. So destroy the window (DestroyWindow), never
// delete the object of a live window yourself. Deleting an object that still
// has its window destroys the window too.
//
// Deriving: override WndProc and pass what you do not handle on to the base
// class's WndProc; override GetClassInfo to name your own window class
// (windows.h turns the name into GetClassInfoA; inside a class call the
// system's as ::GetClassInfoA). A class that overrides Attach or Detach
// also undoes its part in its destructor, where the virtual call no longer
// reaches it. Keep the order of the virtual operations below: later classes
// rely on it.
//
// What Wnd::WndProc does before DefProc (with WND_DEFALLMSG only the first
// two): "CORVA_GETWNDPTR" answers the object's address; WM_NCDESTROY runs
// OnRelease, detaches and deletes the object; the menu key and the right
// button ask OnContextMenu; double clicks come again as button-downs;
// WM_MOUSEWHEEL and "MSWHEEL_ROLLMSG" go to OnWheel; WM_DZ_IDLE runs OnIdle;
// and the WM_DZ_ messages below.
#pragma once

#include <windows.h>

#include "dazo/Data.h"
#include "dazo/Event2.h"
#include "dazo/SafeObject.h"

// m_dwWndFlag bits.
enum : DWORD {
    WND_FUNCKEYS = 0x0002,     // takes function keys in a loop with LOOP_FUNCKEYS
    WND_NOATTACH = 0x0008,     // do not attach automatically after creation
    WND_ATTACHED = 0x0010,     // subclassed and in the window table
    WND_IDLEPENDING = 0x0040,  // an idle request is posted
    DLG_MODELESS = 0x0080,     // (Dlg) in the modeless-dialog list while attached
    WND_DEFALLMSG = 0x0100,    // every message to DefProc; the routing below is off
    WND_MSGBOXOFF = 0x0200,    // disabled for the time of a message box
};

// The framework's own messages.
enum : UINT {
    WM_DZ_MSGBOX = WM_USER + 51,        // a posted message-box request (PostMessageBox)
    WM_DZ_MSGBOXANSWER = WM_USER + 52,  // the same, whose answer goes to a callback
    WM_DZ_TOPARENT = WM_USER + 100,     // sent on to the parent's object
    WM_DZ_SETCURSOR = WM_USER + 117,    // SetCursor(wParam)
    WM_DZ_ENDLOOP = WM_USER + 120,      // ends the running modal loop with wParam
    WM_DZ_IDLE = WM_USER + 124,         // the idle request: OnIdle
    WM_DZ_CALL = WM_USER + 125,         // (service window) PostToService
};

// The registered messages: "CORVA_GETWNDPTR" answers a library window's
// object address (send it with SendMessageSafe); "MSWHEEL_ROLLMSG" is the
// old wheel mice's message. Registered when the first window is attached.
extern UINT g_uMsgGetWndPtr;
extern UINT g_uMsgWheelRoll;

class Wnd : public Event2 {
public:
    Wnd() = default;
    // Slot 0. Destroys a window the object still has.
    ~Wnd() override;

    // Slot 3: the idle step, after an idle request; clears WND_IDLEPENDING.
    virtual void OnIdle();
    // Slot 4: the procedure Attach replaced.
    virtual LRESULT DefProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Slot 5: clears WND_NOATTACH and attaches.
    virtual void Subclass();
    // Slot 6: the routing of the framework's own messages (see Wnd.cpp).
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Slot 7: the window class's name; with wc, also its values (icon
    // IDI_APPLICATION, arrow cursor, background COLOR_WINDOW).
    virtual const char* GetClassInfo(WNDCLASSA* wc);
    // Slot 8: subclasses the window and enters it in the window table.
    virtual void Attach();
    // Slot 9: restores the window's procedure and leaves the table.
    virtual void Detach();
    // Slot 10: the context-menu request (right button, menu key) at the
    // cursor position; the base asks the parent's object. 0: not handled.
    virtual int OnContextMenu();
    // Slot 11: a wheel turn of delta; 0: not handled.
    virtual int OnWheel(int delta);
    // Slot 12: whether the window may become active; 1.
    virtual int IsActiveOk();

    // Creates the window, registering the class of GetClassInfo first when
    // neither the program nor the system has it; then attaches unless
    // WND_NOATTACH. A window the object had before is destroyed. Failures
    // are the critical-error dialog's (retry or end), so the handle is valid.
    HWND Create(DWORD exStyle, const char* windowName, DWORD style, int x, int y, int cx, int cy, HWND parent,
                HMENU menu, HINSTANCE hInstance, void* param);
    HWND HWnd() const { return m_hwnd; }
    // Posts WM_DZ_IDLE unless one is pending.
    void PostIdle();

    Wnd* m_pNextHash = nullptr;  // next object of the same window-table bucket
    WNDPROC m_pfnOldProc = nullptr;
    HWND m_hwnd = nullptr;
    DWORD m_dwWndFlag = 0;
    DWORD m_dwReserved = 0;

protected:
    // Takes hwnd as the object's window, after detaching and destroying a
    // window it had, and attaches unless WND_NOATTACH.
    void TakeWindow(HWND hwnd);
};

// The attached object of a window, or null.
Wnd* FindWnd(HWND hwnd);

class Dlg : public Wnd {
public:
    Dlg() = default;
    ~Dlg() override;
    void Attach() override;
    void Detach() override;

    // Slot 13: the dialog procedure. The base answers 1 to WM_INITDIALOG
    // and ends the modal loop with the identifier of a button from 1 to 10
    // (IDOK, IDCANCEL, ...).
    virtual INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Slot 14: offered each message of a modal loop while the dialog is in
    // the modeless list; non-zero takes it. The base: IsDialogMessage.
    virtual int PreTranslate(MSG* msg);

    // Create the dialog from a template resource or from memory; the object
    // takes the window at WM_INITDIALOG. A dialog that cannot be made is
    // fatal ("ダイアログボックスを作成できません").
    HWND Create(HINSTANCE hInstance, const char* templateName, HWND parent);
    HWND CreateIndirect(HINSTANCE hInstance, const DLGTEMPLATE* dlgTemplate, HWND parent);

    Dlg* m_pNextModeless = nullptr;

private:
    friend INT_PTR CALLBACK FrameworkDlgProc(HWND, UINT, WPARAM, LPARAM);
    void LeaveModelessList();
};

// Runs each message of the dialogs in the modeless list through PreTranslate;
// true when one took it.
bool PreTranslateModeless(MSG* msg);

// ---- Modal loops ------------------------------------------------------------

// RunModalLoop flags.
enum : UINT {
    LOOP_UPDOWN = 0x0001,     // up and down arrow key messages go to hwnd
    LOOP_LEFTRIGHT = 0x0002,  // left and right arrows go to hwnd
    LOOP_PAGEKEYS = 0x0004,   // Page Up and Page Down go to hwnd
    LOOP_NOHELP = 0x0008,     // F1 does not go to the help hook
    LOOP_PUMP = 0x1000,       // only what is waiting: no message ends the loop with 0
    LOOP_DIALOG = 0x2000,     // IsDialogMessage(hwnd) is tried
    LOOP_FUNCKEYS = 0x4000,   // F1-F24 go to the nearest window with WND_FUNCKEYS
    LOOP_MODAL = 0x8000,      // activate hwnd; disable its owner for the loop
};

// Runs the library's message loop until EndModalLoop, WM_QUIT or
// WM_DZ_ENDLOOP, and answers the end code. Before a message is dispatched
// it goes, in this order, to: windows taking function keys
// (LOOP_FUNCKEYS), hwnd for the keys of LOOP_UPDOWN and the like, the help
// hook (F1), IsDialogMessage (LOOP_DIALOG), the modeless dialogs'
// PreTranslate, and the accelerators hAccel of hwnd. The loop also ends
// (code 0) when hwnd is destroyed under it.
//
// A modal dialog is a modeless one run in this loop:
//   Dlg* dlg = new MyDlg;          // flags such as DLG_MODELESS before Create
//   HWND hwnd = dlg->Create(g_hInstance, "MYDLG", owner);
//   ShowWindow(hwnd, SW_SHOW);
//   int code = RunModalLoop(LOOP_MODAL | LOOP_DIALOG, hwnd, nullptr);  // IDOK, ...
//   DestroyWindow(hwnd);           // the object goes with it
int RunModalLoop(UINT flags, HWND hwnd, HACCEL hAccel);
// Ends the running loop with code; when it was already ended, the first
// code stays.
void EndModalLoop(int code);
// The optional F1 handler of modal loops (none in the setup).
extern void (*g_pfnHelpHook)(MSG* msg);

// ---- Timers -------------------------------------------------------------------

// For a window hwnd: with id 0, picks a free identifier from 65500 up to
// 65531 and answers it; with another id, sets that timer. No free identifier, or a failed
// SetTimer, reports "タイマーが足りません" and answers 0.
UINT_PTR SetTimerAuto(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc);
// Kills the timer and frees an automatic identifier; 1 for id 0. A failed
// KillTimer reports "KillTimer : 無効なＩＤ" and answers 0.
int KillTimerAuto(HWND hwnd, UINT_PTR id);

// ---- Messages between windows ---------------------------------------------------

// SendMessage to a window of this thread; to another thread's window (and
// to HWND_BROADCAST) a blocking SendMessageTimeout without a real time
// limit, whose failure answers 0.
LRESULT SendMessageSafe(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Asks the library window hwnd (null: the service window, which must exist
// then) to show a message box once no window has the mouse capture (a box in the middle of a drag
// would leave the drag half done), owned by the first visible main window.
// With pfnAnswer, the answer is handed to it with context.
void PostMessageBox(HWND hwnd, const char* text, const char* caption, UINT flags,
                    void (*pfnAnswer)(int answer, void* context) = nullptr, void* context = nullptr);

// ---- Main windows --------------------------------------------------------------

// An entry of the work-window list: the program's main windows, newest
// first. The first visible one owns the queued error boxes, the posted
// message boxes and the questions that name no owner. Held through SafePtr;
// the entry leaves the list when released.
class WorkWnd : public SafeObject {
public:
    explicit WorkWnd(HWND hwnd);
    ~WorkWnd() override;
    HWND HWnd() const { return m_hwnd; }

private:
    friend HWND GetFirstVisibleMainWnd();
    HWND m_hwnd;
    WorkWnd* m_pNext;
};

// The window of the first work-window entry whose window is visible, or null.
HWND GetFirstVisibleMainWnd();

// Disables a window for the object's life; releasing it enables the window
// again and activates it.
class DisableWnd : public SafeObject {
public:
    explicit DisableWnd(HWND hwnd);
    ~DisableWnd() override;

private:
    HWND m_hwnd;
};

// ---- Placement and texts --------------------------------------------------------

// Centres hwnd over the window `over` (over the work area when null), then
// moves it back inside the work area on each side where it sticks out by
// more than 4 pixels, and down so that its top is not above over's top.
void CenterWindow(HWND hwnd, HWND over);

// The window's text (a control's, a caption).
DataObjStr GetWndText(HWND hwnd);
