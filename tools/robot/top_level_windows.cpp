// Waiting for top-level windows, and describing them when they do not come.
#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/window_query.h"

namespace robot {
namespace {

bool Matches(HWND window, const char* className, const char* caption)
{
    if (!detail::HasStyle(window, WS_VISIBLE))
        return false;
    if (className && lstrcmpiA(detail::ClassOf(window).c_str(), className) != 0) {
        return false;
    }
    return !caption || detail::CaptionOf(window) == caption;
}

std::string DescribeExpectation(DWORD pid, const char* className, const char* caption)
{
    return "a visible top-level window of " + detail::ProcessName(pid) + " with class "
        + (className ? Quoted(className) : "(any)") + " and caption " + (caption ? Quoted(caption) : "(any)");
}

}  // namespace

HWND WaitWindow(DWORD pid, const char* className, const char* caption, DWORD timeoutMs, std::string* failure)
{
    HWND found = nullptr;
    detail::PollUntil(timeoutMs, [&] {
        for (HWND window : detail::TopLevelWindows(pid)) {
            if (Matches(window, className, caption)) {
                found = window;
                return true;
            }
        }
        return false;
    });
    if (!found && failure) {
        *failure = "waited " + std::to_string(timeoutMs) + " ms for " + DescribeExpectation(pid, className, caption)
            + "; top-level windows of " + detail::ProcessName(pid) + ":\n" + DescribeTopLevelWindows(pid);
    }
    return found;
}

bool WaitGone(HWND window, DWORD timeoutMs)
{
    return detail::PollUntil(timeoutMs, [&] { return !IsWindow(window); });
}

std::string DescribeTopLevelWindows(DWORD pid)
{
    std::string lines;
    for (HWND window : detail::TopLevelWindows(pid)) {
        lines += "  " + HandleText(window);
        if (pid == 0)
            lines += " process " + std::to_string(detail::ProcessOf(window));
        lines += " class " + Quoted(detail::ClassOf(window)) + " caption " + Quoted(detail::CaptionOf(window))
            + (detail::HasStyle(window, WS_VISIBLE) ? " visible\n" : " hidden\n");
    }
    return lines.empty() ? "  (none)\n" : lines;
}

}  // namespace robot
