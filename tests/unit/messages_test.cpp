// ShowMessage and its thread: which owner a box gets, when it is task-modal,
// and that a box asked for while one is open goes to the thread. (Whether an
// ownerless box is also topmost cannot be seen here: Wine ignores
// MB_TOPMOST.)
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "base/msgbox.h"
#include "error_report_env.h"
#include "robot/robot_gtest.h"
#include "robot/robot.h"

namespace {

// A window for owners, destroyed with the object.
using Window = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;
Window MakeWindow(DWORD style, HWND parent = nullptr, const char* cls = "Static")
{
    return Window(CreateWindowExA(0, cls, "テスト窓", style, 50, 50, 300, 200, parent, nullptr, nullptr, nullptr),
                  DestroyWindow);
}

const robot::BoxAnswer kNotice = {kTestTitle, "お知らせです", {IDOK}, IDOK};

TEST(ShowMessage, OwnerOnEachRow)
{
    Window visible = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE), hidden = MakeWindow(WS_OVERLAPPEDWINDOW);
    Window panel = MakeWindow(WS_CHILD | WS_VISIBLE, visible.get());
    Window button = MakeWindow(WS_CHILD | WS_VISIBLE, panel.get(), "Button");
    Window minimised = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Window bystander = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const struct { const char* name; HWND owner; UINT flags; HWND expected; } rows[] = {
        {"visible", visible.get(), 0, visible.get()}, {"hidden", hidden.get(), 0, nullptr},
        {"child control", button.get(), 0, visible.get()}, {"task-modal", visible.get(), MB_TASKMODAL, nullptr},
        {"minimised", minimised.get(), 0, minimised.get()},
    };
    for (const auto& row : rows) {
        ShowWindow(minimised.get(), SW_MINIMIZE);
        robot::MessageBoxInfo box;
        bool bystanderEnabled = false, iconic = true;
        EXPECT_TRUE(robot::RunAnsweringBox([&] { ShowMessage(row.owner, kNotice.text.c_str(), nullptr, row.flags); },
                                           kNotice, &box, [&](HWND) {
                                               bystanderEnabled = IsWindowEnabled(bystander.get());
                                               iconic = IsIconic(minimised.get());
                                           }))
            << row.name;
        // Without an owner the box is task-modal: the thread's windows are
        // disabled while it is open; a minimised owner is restored first.
        EXPECT_TRUE(box.owner == row.expected && bystanderEnabled == (row.expected != nullptr)) << row.name;
        EXPECT_FALSE(row.owner == minimised.get() && iconic) << row.name;
    }
}

// The second box is asked for from a timer message that the first box's
// modal loop dispatches: it must not nest a modal loop on this thread. (That
// MB_SYSTEMMODAL takes the thread path too, every error box shows.)
int s_nestedAnswer;
void CALLBACK AskFromTheTimer(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    s_nestedAnswer = ShowMessage(hwnd, "二つ目", "別の見出し", MB_YESNO);
}

TEST(ShowMessage, BoxOpenedWhileOneIsOpenGoesToTheThreadWindowUnderItsCaption)
{
    HWND threadWindow = ThreadMsgBoxWindow();
    ASSERT_TRUE(threadWindow && GetWindowThreadProcessId(threadWindow, nullptr) != GetCurrentThreadId());
    static int s_hookCalls[2];  // before a box of the direct path, of the thread path
    g_pfnBeforeMsgBox = [](int fromThread) { ++s_hookCalls[fromThread ? 1 : 0]; };
    Window owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::BoxRecorder recorder(GetCurrentProcessId());
    robot::MessageBoxInfo first, second;
    std::string titleWhileOpen;
    bool visibleWhileOpen = false;
    int firstAnswer = 0;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            SetTimer(owner.get(), 1, 100, AskFromTheTimer);
            firstAnswer = ShowMessage(owner.get(), "一つ目", nullptr, MB_OKCANCEL);
        },
        {kTestTitle, "一つ目", {IDOK, IDCANCEL}, IDCANCEL}, &first, [&](HWND) {
            ASSERT_TRUE(recorder.WaitForBoxes(2, robot::kBoxWaitMs));
            second = recorder.Boxes()[recorder.Boxes()[0].text == "二つ目" ? 0 : 1];
            titleWhileOpen = robot::GetText(threadWindow);
            visibleWhileOpen = IsWindowVisible(threadWindow);
            robot::PressButton(second.hwnd, IDYES);
            robot::WaitGone(second.hwnd, robot::kBoxWaitMs);
        }));
    g_pfnBeforeMsgBox = nullptr;
    EXPECT_TRUE(first.owner == owner.get() && second.owner == threadWindow && second.text == "二つ目");
    EXPECT_TRUE(second.caption == "別の見出し" && titleWhileOpen == "別の見出し" && visibleWhileOpen);
    EXPECT_FALSE(IsWindowVisible(threadWindow));
    EXPECT_TRUE(firstAnswer == IDCANCEL && s_nestedAnswer == IDYES && !(g_fInMsgBox & 1));
    EXPECT_TRUE(s_hookCalls[0] == 1 && s_hookCalls[1] == 1) << "the hook before each box: " << s_hookCalls[0]
                                                            << s_hookCalls[1];
}

}  // namespace
