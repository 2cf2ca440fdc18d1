// Recording the message boxes a process shows.
#include <algorithm>

#include "robot/robot.h"
#include "robot/window_query.h"

namespace robot {

BoxRecorder::BoxRecorder(DWORD pid) : m_pid(pid), m_thread([this] { Run(); })
{
}

BoxRecorder::~BoxRecorder()
{
    m_stop = true;
    m_thread.join();
}

std::vector<MessageBoxInfo> BoxRecorder::Boxes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_boxes;
}

bool BoxRecorder::WaitForBoxes(size_t count, DWORD timeoutMs) const
{
    return detail::PollUntil(timeoutMs, [&] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes.size() >= count;
    });
}

void BoxRecorder::Run()
{
    while (!m_stop) {
        RecordNewBoxes();
        Sleep(kPollMs);
    }
}

// A box is new when its handle was not there at the last poll. A box closed
// and another opened between two polls do not share a handle: Windows and
// Wine both put a reuse count in the upper word of a window handle.
void BoxRecorder::RecordNewBoxes()
{
    std::vector<HWND> present;
    std::vector<MessageBoxInfo> appeared;
    for (HWND window : detail::TopLevelWindows(m_pid)) {
        if (!detail::HasStyle(window, WS_VISIBLE))
            continue;
        const bool known = std::find(m_present.begin(), m_present.end(), window) != m_present.end();
        MessageBoxInfo info;
        if (known) {
            present.push_back(window);
        } else if (ReadMessageBox(window, &info)) {
            present.push_back(window);
            appeared.push_back(std::move(info));
        }
    }
    m_present = std::move(present);
    // EnumWindows lists the topmost first; a box opened over another one
    // came later.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxes.insert(m_boxes.end(), appeared.rbegin(), appeared.rend());
}

}  // namespace robot
