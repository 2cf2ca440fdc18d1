// ShowMessage and its thread: which owner a box gets, when it is task-modal,
// and that a box asked for while one is open goes to the thread. (Whether an
// ownerless box is also topmost cannot be seen here: Wine ignores
// MB_TOPMOST.)
#include <windows.h>

#include <gtest/gtest.h>

#include "base/msgbox.h"
#include "error_report_env.h"
#include "robot/robot_gtest.h"
#include "robot/robot.h"

namespace {

// A window for owners, destroyed with the object.
struct TestWindow {
    explicit TestWindow(DWORD style, HWND parent = nullptr, const char* cls = "Static")
        : handle(CreateWindowExA(0, cls, "テスト窓", style, 50, 50, 300, 200, parent, nullptr, nullptr, nullptr))
    {
    }
    ~TestWindow() { DestroyWindow(handle); }
    HWND Handle() const { return handle; }
    HWND handle;
};

const robot::BoxAnswer kNotice = {kTestTitle, "お知らせです", {IDOK}, IDOK};

TEST(ShowMessage, OwnerOnEachRow)
{
    TestWindow visible(WS_OVERLAPPEDWINDOW | WS_VISIBLE), hidden(WS_OVERLAPPEDWINDOW);
    TestWindow panel(WS_CHILD | WS_VISIBLE, visible.Handle());
    TestWindow button(WS_CHILD | WS_VISIBLE, panel.Handle(), "Button");
    TestWindow minimised(WS_OVERLAPPEDWINDOW | WS_VISIBLE), bystander(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(minimised.Handle(), SW_MINIMIZE);
    const struct { const char* name; HWND owner; UINT flags; HWND expected; } rows[] = {
        {"visible", visible.Handle(), 0, visible.Handle()}, {"hidden", hidden.Handle(), 0, nullptr},
        {"child control", button.Handle(), 0, visible.Handle()},
        {"task-modal", visible.Handle(), MB_TASKMODAL, nullptr},
        {"minimised", minimised.Handle(), 0, minimised.Handle()},
    };
    for (const auto& row : rows) {
        robot::MessageBoxInfo box;
        bool bystanderEnabled = false, iconic = true;
        EXPECT_TRUE(robot::RunAnsweringBox([&] { ShowMessage(row.owner, kNotice.text.c_str(), nullptr, row.flags); }, kNotice, &box,
                                    [&](HWND) {
                                        bystanderEnabled = IsWindowEnabled(bystander.Handle());
                                        iconic = IsIconic(minimised.Handle());
                                    }))
            << row.name;
        EXPECT_EQ(row.expected, box.owner) << row.name;
        // Without an owner the box is task-modal: the thread's windows are
        // disabled while it is open; a minimised owner is restored first.
        EXPECT_EQ(row.expected != nullptr, bystanderEnabled) << row.name;
        EXPECT_FALSE(row.owner == minimised.Handle() && iconic) << row.name;
        EXPECT_TRUE(IsWindowEnabled(bystander.Handle()) && IsWindowEnabled(visible.Handle())) << row.name;
        ShowWindow(minimised.Handle(), SW_MINIMIZE);
    }
    int answer = 0;
    EXPECT_TRUE(robot::RunAnsweringBox([&] { answer = ShowMessage(nullptr, "続けますか？", nullptr, 0x24); },
                                {kTestTitle, "続けますか？", {IDYES, IDNO}, IDNO}));
    EXPECT_EQ(IDNO, answer);
}

TEST(ShowMessage, SystemModalFlagGoesThroughTheThreadWindow)
{
    HWND threadWindow = ThreadMsgBoxWindow();
    char className[32] = "";
    ASSERT_TRUE(threadWindow && GetClassNameA(threadWindow, className, sizeof(className)));
    EXPECT_STREQ("ThreadMsgBox", className);
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(threadWindow, nullptr));
    static int s_calls[2];
    g_pfnBeforeMsgBox = [](int fromThread) { ++s_calls[fromThread ? 1 : 0]; };

    robot::MessageBoxInfo box;
    std::string titleWhileOpen;
    bool visibleWhileOpen = false;
    int answer = 0;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] { answer = ShowMessage(nullptr, "スレッドから", "別の見出し", MB_SYSTEMMODAL | MB_OKCANCEL); },
        {"別の見出し", "スレッドから", {IDOK, IDCANCEL}, IDCANCEL}, &box, [&](HWND) {
            titleWhileOpen = robot::GetText(threadWindow);
            visibleWhileOpen = IsWindowVisible(threadWindow);
        }));
    EXPECT_TRUE(robot::RunAnsweringBox([&] { ShowMessage(nullptr, kNotice.text.c_str(), nullptr, 0); }, kNotice));
    g_pfnBeforeMsgBox = nullptr;
    EXPECT_TRUE(answer == IDCANCEL && box.owner == threadWindow);
    EXPECT_TRUE(titleWhileOpen == "別の見出し" && visibleWhileOpen && !IsWindowVisible(threadWindow)) << titleWhileOpen;
    EXPECT_TRUE(s_calls[0] == 1 && s_calls[1] == 1) << "the hook before a box on each path: " << s_calls[0] << s_calls[1];
}

// The second box is asked for from a timer message that the first box's
// modal loop dispatches: it must not nest a modal loop on this thread.
int s_nestedAnswer;
void CALLBACK AskFromTheTimer(HWND hwnd, UINT, UINT_PTR id, DWORD)
{
    KillTimer(hwnd, id);
    s_nestedAnswer = ShowMessage(hwnd, "二つ目", nullptr, MB_YESNO);
}

TEST(ShowMessage, BoxOpenedWhileOneIsOpenGoesToTheThread)
{
    TestWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::BoxRecorder recorder(GetCurrentProcessId());
    robot::MessageBoxInfo first, second;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            SetTimer(owner.Handle(), 1, 100, AskFromTheTimer);
            ShowMessage(owner.Handle(), "一つ目", nullptr, 0);
        },
        {kTestTitle, "一つ目", {IDOK}, IDOK}, &first, [&](HWND) {
            ASSERT_TRUE(recorder.WaitForBoxes(2, robot::kBoxWaitMs));
            second = recorder.Boxes()[recorder.Boxes()[0].text == "二つ目" ? 0 : 1];
            robot::PressButton(second.hwnd, IDYES);
            robot::WaitGone(second.hwnd, robot::kBoxWaitMs);
        }));
    EXPECT_EQ(owner.Handle(), first.owner);
    EXPECT_EQ("二つ目", second.text);
    EXPECT_EQ(ThreadMsgBoxWindow(), second.owner);
    EXPECT_EQ(IDYES, s_nestedAnswer);
    EXPECT_EQ(0u, g_fInMsgBox & 1);
}

}  // namespace
