// The UI robot: finds, reads and drives the windows of a Win32 program, for
// the GUI and end-to-end tests and for demo scripts (through robot.exe).
//
// It works from a separate process and from a second thread of the process
// that shows the windows. It never blocks on the program: window texts are
// read with SendMessageTimeout, clicks are queued without waiting, so a robot
// thread stays free while the program's main thread sits in a modal loop
// (MessageBoxA, DialogBoxParamA).
//
// Texts are code page 932 bytes in std::string, as the program's ANSI calls
// see them. Failure descriptions are UTF-8 for people to read, with window
// texts quoted as readable_text.h's Quoted does. Every Wait function polls
// every kPollMs milliseconds.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace robot {

constexpr DWORD kPollMs = 15;

// ---- Top-level windows ----------------------------------------------------

// Waits for a visible top-level window of process `pid` (0: any process)
// whose class (compared case-insensitively, as Windows does) and caption
// (compared byte for byte) equal the given ones; nullptr matches any. On
// time-out returns nullptr and, if `failure` is given, writes what was
// expected and the top-level windows the process has.
HWND WaitWindow(DWORD pid, const char* className, const char* caption, DWORD timeoutMs, std::string* failure);

// Waits until `window` is destroyed. False on time-out.
bool WaitGone(HWND window, DWORD timeoutMs);

// One line per top-level window of process `pid` (0: every process):
// handle, process (when pid is 0), class, caption as quoted UTF-8, and
// whether it is visible. Used in failure texts and by `robot list`.
std::string DescribeTopLevelWindows(DWORD pid);

// ---- Texts and controls ---------------------------------------------------

// The window's text through WM_GETTEXT (works across processes); "" when the
// window does not answer.
std::string GetText(HWND window);
std::string GetItemText(HWND dlg, int id);

// Clicks the button `id` of `dlg` the way a user's click reaches the dialog:
// WM_COMMAND/BN_CLICKED. The message is queued with SendNotifyMessage, which
// does not wait for the dialog, so a button that opens a modal box or ends
// the dialog never blocks the robot. Unlike a posted message it is handled in
// the order of the robot's other (sent) messages, even while the dialog's
// thread is busy: a GetItemText after a click sees what the click's handler
// wrote. False when there is no such control or it is hidden or disabled (a
// user could not click it either).
bool PressButton(HWND dlg, int id);

// Presses Enter in `dlg` as a user's key would: the dialog's own handling
// presses its default button (the focused push button, else the default
// one). The key is posted, so the dialog must be running its modal loop.
bool PressEnter(HWND dlg);

// Sets the text of an edit control (WM_SETTEXT). True when the control then
// holds exactly `text` (an edit with a length limit may cut it).
bool SetEditText(HWND dlg, int id, const char* text);

// Sets a check box or radio button as a user's click would: BM_SETCHECK,
// then BN_CLICKED to the dialog. Setting an auto radio button also clears
// the other radio buttons of its group, as a click does. A control already
// in the wanted state is left alone (a user would not click it). False when
// the control is missing, hidden or disabled, or does not take the state.
bool SetCheck(HWND dlg, int id, bool checked);

// BM_GETCHECK == BST_CHECKED.
bool IsChecked(HWND dlg, int id);

// The id of the push button of `dlg` that has the default style
// (BS_DEFPUSHBUTTON), which a message box gives the button its MB_DEFBUTTONn
// names; 0 when none has it. Unlike the keyboard focus this does not depend
// on which process is in the foreground: Wine takes the focus from every
// window of a thread whose window loses the foreground to another process
// (another test on the same desktop), and then Enter in a message box
// presses IDOK (DM_GETDEFID answers IDOK whatever the default).
int DefaultButton(HWND dlg);

// Calls done every kPollMs until it answers true (then true) or timeoutMs
// have passed (then false).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Runs call on the thread of `window`, a window of this process, as that
// thread takes a sent message: between two of its messages, so that what
// call reads there is whole. False when the thread did not take it in 30 s.
bool CallOnThreadOf(HWND window, const std::function<void()>& call);

// The window that has the keyboard focus in the thread of `window`, read
// from outside that thread (GetGUIThreadInfo); null when none.
HWND FocusOf(HWND window);
// Waits until `control` has the keyboard focus of its thread. False on
// time-out.
bool WaitFocus(HWND control, DWORD timeoutMs);

// ---- Message boxes --------------------------------------------------------

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    DWORD exStyle = 0;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids of the visible buttons, tab order
    // MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONASTERISK, 0 for
    // none, -1 when it cannot be determined. The icon is recognised by
    // comparing the icon static's STM_GETICON with LoadIcon(NULL, IDI_...).
    // That works in-process (Windows and Wine) and across processes on
    // Windows, whose system icons are shared; Wine gives every process its own
    // handles for them, so there a box of another process that has an icon
    // reads -1 (one without an icon still reads 0).
    int icon = 0;
};

// A message box is a top-level "#32770" window whose children are only
// "Static" and "Button" controls, one of them the text static with id
// 0xFFFF. (A dialog of only labels and buttons, one label with id 0xFFFF,
// would look the same.)
bool IsMessageBox(HWND window);

// False, leaving *out alone, when `box` is no message box or closed while it
// was read.
bool ReadMessageBox(HWND box, MessageBoxInfo* out);

// Waits for a visible, enabled message box of process `pid` (0: any) and reads it;
// with several, the topmost. After pressing a box's button, WaitGone(box)
// before waiting for the next one, or this may find the old box again.
// Windows in `notBoxes` are never taken for one: a dialog of only labels and
// buttons reads as a box, and it is enabled again between the end of a box
// it owns and its own end (a moment that is long on a loaded machine).
HWND WaitMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* out, std::string* failure,
                    const std::vector<HWND>& notBoxes = {});

// Records every message box process `pid` shows, in order, each once, from
// a polling thread. A box that is shown and closed within one poll is
// missed: a robot should WaitForBoxes before pressing a box it wants on
// record.
class BoxRecorder {
public:
    explicit BoxRecorder(DWORD pid);
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<MessageBoxInfo> Boxes() const;
    // Waits until at least `count` boxes have been recorded.
    bool WaitForBoxes(size_t count, DWORD timeoutMs) const;

private:
    void Run();
    void RecordNewBoxes();

    const DWORD m_pid;
    mutable std::mutex m_mutex;
    std::vector<MessageBoxInfo> m_boxes;
    std::vector<HWND> m_present;  // boxes seen at the last poll
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

}  // namespace robot
