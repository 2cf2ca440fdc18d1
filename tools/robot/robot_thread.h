// Runs a robot script on a second thread while the calling thread shows the
// program's modal UI (MessageBoxA, DialogBoxParamA), the way in-process GUI
// tests work:
//
//   robot::RobotThread robot([&](std::string* failure) {
//     ... WaitMessageBox(GetCurrentProcessId(), ...), PressButton(...) ...
//   });
//   int pressed = MessageBoxA(...);          // ended by the robot
//   std::string failure;
//   ASSERT_TRUE(robot.Join(&failure)) << failure;
//
// When the script fails (returns false) it cannot be trusted to have closed
// the UI, so the UI thread is sent WM_QUIT: the modal loops of MessageBox and
// DialogBox end on WM_QUIT (and post it again), which turns a failed script
// into a failed test instead of a test that hangs. The same happens when the
// script succeeds but the UI thread has not come to Join `uiGraceMs` later
// (the script pressed a button that did not end the UI): then Join reports
// that as the failure.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace robot {

class RobotThread {
public:
    // `script` returns true on success; on failure it describes what went
    // wrong in *failure.
    using Script = std::function<bool(std::string* failure)>;

    static constexpr DWORD kUiGraceMs = 20000;

    explicit RobotThread(Script script, DWORD uiGraceMs = kUiGraceMs);
    ~RobotThread();  // joins
    RobotThread(const RobotThread&) = delete;
    RobotThread& operator=(const RobotThread&) = delete;

    // Waits for the script, removes the WM_QUIT a failed script left for the
    // UI thread (so that the next modal loop is not ended by it), and returns
    // the script's result and failure text. Call it on the UI thread.
    bool Join(std::string* failure);

private:
    void Run(const Script& script);

    const DWORD m_uiThreadId;
    const DWORD m_uiGraceMs;
    const HANDLE m_joining;  // manual-reset event, set when the UI thread joins
    bool m_succeeded = false;
    std::string m_failure;
    std::thread m_thread;
};

}  // namespace robot
