#include "robot/robot_thread.h"

#include <utility>

namespace robot {

RobotThread::RobotThread(Script script, DWORD uiGraceMs)
    : m_uiThreadId(GetCurrentThreadId()),
      m_uiGraceMs(uiGraceMs),
      m_joining(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_thread([this, script = std::move(script)] { Run(script); })
{
}

RobotThread::~RobotThread()
{
    if (m_thread.joinable()) {
        SetEvent(m_joining);
        m_thread.join();
    }
    CloseHandle(m_joining);
}

void RobotThread::Run(const Script& script)
{
    m_succeeded = script(&m_failure);
    if (m_succeeded && WaitForSingleObject(m_joining, m_uiGraceMs) == WAIT_TIMEOUT) {
        m_succeeded = false;
        m_failure = "the robot script succeeded, but the UI thread was still busy " + std::to_string(m_uiGraceMs)
            + " ms later (did the script's last action end the UI?); its modal loop was ended with WM_QUIT";
    }
    if (!m_succeeded)
        PostThreadMessageA(m_uiThreadId, WM_QUIT, 0, 0);
}

bool RobotThread::Join(std::string* failure)
{
    if (m_thread.joinable()) {
        SetEvent(m_joining);
        m_thread.join();
    }
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) { }
    if (failure)
        *failure = m_failure;
    return m_succeeded;
}

}  // namespace robot
