// ShowMessage and its thread: which owner a box gets, when it is task-modal
// and topmost, and that a box asked for while one is open goes to the thread.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/msgbox.h"
#include "box_expect.h"
#include "error_report_env.h"
#include "robot/robot.h"

namespace {

// A plain top-level window for owners; destroyed with the object.
class TestWindow {
public:
    explicit TestWindow(DWORD style, HWND parent = nullptr, const char* cls = nullptr)
    {
        static ATOM s_class = Register();
        m_hwnd = CreateWindowExA(0, cls ? cls : MAKEINTATOM(s_class), "テスト窓", style, 50, 50, 300, 200, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }

    // Called for WM_TIMER, inside whatever modal loop runs at the time.
    static void (*s_onTimer)(HWND hwnd);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_TIMER) {
            KillTimer(hwnd, wp);
            if (s_onTimer)
                s_onTimer(hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    static ATOM Register()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MessagesTestOwner";
        return RegisterClassA(&wc);
    }

    HWND m_hwnd;
};

void (*TestWindow::s_onTimer)(HWND hwnd);

const BoxExpectation kNotice = {kTestTitle, "お知らせです", {IDOK}, IDOK};

// Whether this platform makes an ownerless task-modal box with MB_TOPMOST a
// topmost window. Windows does; Wine 8 raises such a box only to the top of
// the ordinary windows and ignores MB_TOPMOST there.
bool PlatformMakesTaskModalBoxesTopmost()
{
    static int s_answer = -1;
    if (s_answer < 0) {
        robot::MessageBoxInfo probe;
        EXPECT_TRUE(RunAnsweringBox([] { MessageBoxA(nullptr, "probe", "probe", MB_TASKMODAL | MB_TOPMOST); },
                                    {"probe", "probe", {IDOK}, IDOK}, &probe));
        s_answer = (probe.exStyle & WS_EX_TOPMOST) != 0;
    }
    return s_answer == 1;
}

TEST(ShowMessage, NullCaptionMeansTheProgramTitle)
{
    int answer = 0;
    EXPECT_TRUE(RunAnsweringBox([&] { answer = ShowMessage(nullptr, "続けますか？", nullptr, 0x24); },
                                {kTestTitle, "続けますか？", {IDYES, IDNO}, IDNO}));
    EXPECT_EQ(IDNO, answer);
}

TEST(ShowMessage, VisibleOwnerOwnsTheBox)
{
    TestWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::MessageBoxInfo box;
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(owner.Handle(), kNotice.text, nullptr, 0); }, kNotice, &box));
    EXPECT_EQ(owner.Handle(), box.owner);
    EXPECT_EQ(0u, box.exStyle & WS_EX_TOPMOST);
}

TEST(ShowMessage, HiddenOwnerIsDroppedAndTheBoxIsTaskModalAndTopmost)
{
    TestWindow hidden(WS_OVERLAPPEDWINDOW);
    TestWindow other(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::MessageBoxInfo box;
    bool otherEnabled = true;
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(hidden.Handle(), kNotice.text, nullptr, 0); }, kNotice, &box,
                                [&](HWND) { otherEnabled = IsWindowEnabled(other.Handle()); }));
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(PlatformMakesTaskModalBoxesTopmost(), (box.exStyle & WS_EX_TOPMOST) != 0);
    // Task-modal: the thread's other windows are disabled while it is open.
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
}

TEST(ShowMessage, ChildControlOwnerIsReplacedByItsTopLevelWindow)
{
    TestWindow top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    TestWindow panel(WS_CHILD | WS_VISIBLE, top.Handle());
    TestWindow button(WS_CHILD | WS_VISIBLE, panel.Handle(), "BUTTON");
    robot::MessageBoxInfo box;
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(button.Handle(), kNotice.text, nullptr, 0); }, kNotice, &box));
    EXPECT_EQ(top.Handle(), box.owner);
}

TEST(ShowMessage, TaskModalFlagDropsEvenAVisibleOwner)
{
    TestWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    robot::MessageBoxInfo box;
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(owner.Handle(), kNotice.text, nullptr, MB_TASKMODAL); }, kNotice,
                                &box));
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(PlatformMakesTaskModalBoxesTopmost(), (box.exStyle & WS_EX_TOPMOST) != 0);
}

TEST(ShowMessage, MinimisedOwnerIsRestoredFirst)
{
    TestWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(owner.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(owner.Handle()));
    bool iconicWhileOpen = true;
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(owner.Handle(), kNotice.text, nullptr, 0); }, kNotice, nullptr,
                                [&](HWND) { iconicWhileOpen = IsIconic(owner.Handle()); }));
    EXPECT_FALSE(iconicWhileOpen);
}

TEST(ShowMessage, SystemModalFlagGoesThroughTheThreadWindow)
{
    HWND threadWindow = ThreadMsgBoxWindow();
    ASSERT_NE(nullptr, threadWindow);
    char className[32] = "";
    GetClassNameA(threadWindow, className, sizeof(className));
    EXPECT_STREQ("ThreadMsgBox", className);
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(threadWindow, nullptr));

    robot::MessageBoxInfo box;
    std::string titleWhileOpen;
    bool visibleWhileOpen = false;
    int answer = 0;
    EXPECT_TRUE(RunAnsweringBox(
        [&] { answer = ShowMessage(nullptr, "スレッドから", "別の見出し", MB_SYSTEMMODAL | MB_OKCANCEL); },
        {"別の見出し", "スレッドから", {IDOK, IDCANCEL}, IDCANCEL}, &box, [&](HWND) {
            titleWhileOpen = robot::GetText(threadWindow);
            visibleWhileOpen = IsWindowVisible(threadWindow);
        }));
    EXPECT_EQ(IDCANCEL, answer);
    EXPECT_EQ(threadWindow, box.owner);
    EXPECT_EQ("別の見出し", titleWhileOpen);
    EXPECT_TRUE(visibleWhileOpen);
    EXPECT_FALSE(IsWindowVisible(threadWindow));
}

// The second box is asked for from a timer message that the first box's
// modal loop dispatches: it must not nest a modal loop on this thread.
TEST(ShowMessage, BoxOpenedWhileOneIsOpenGoesToTheThread)
{
    TestWindow owner(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    static int s_nestedAnswer;
    s_nestedAnswer = 0;
    TestWindow::s_onTimer = [](HWND hwnd) { s_nestedAnswer = ShowMessage(hwnd, "二つ目", nullptr, MB_YESNO); };

    robot::BoxRecorder recorder(GetCurrentProcessId());
    robot::MessageBoxInfo first, second;
    EXPECT_TRUE(RunAnsweringBox(
        [&] {
            SetTimer(owner.Handle(), 1, 100, nullptr);
            ShowMessage(owner.Handle(), "一つ目", nullptr, 0);
        },
        {kTestTitle, "一つ目", {IDOK}, IDOK}, &first, [&](HWND) {
            ASSERT_TRUE(recorder.WaitForBoxes(2, kBoxWaitMs));
            for (const robot::MessageBoxInfo& box : recorder.Boxes())
                if (box.text == "二つ目")
                    second = box;
            robot::PressButton(second.hwnd, IDYES);
            robot::WaitGone(second.hwnd, kBoxWaitMs);
        }));
    TestWindow::s_onTimer = nullptr;

    EXPECT_EQ(owner.Handle(), first.owner);
    EXPECT_EQ("二つ目", second.text);
    EXPECT_EQ(ThreadMsgBoxWindow(), second.owner);
    EXPECT_EQ(IDYES, s_nestedAnswer);
    EXPECT_EQ(0u, g_fInMsgBox & 1);
}

TEST(ShowMessage, BeforeMsgBoxHookSeesWhichPath)
{
    static int s_calls[2];
    s_calls[0] = s_calls[1] = 0;
    g_pfnBeforeMsgBox = [](int fromThread) { ++s_calls[fromThread ? 1 : 0]; };
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(nullptr, kNotice.text, nullptr, 0); }, kNotice));
    EXPECT_TRUE(RunAnsweringBox([&] { ShowMessage(nullptr, kNotice.text, nullptr, MB_SYSTEMMODAL); }, kNotice));
    g_pfnBeforeMsgBox = nullptr;
    EXPECT_EQ(1, s_calls[0]);
    EXPECT_EQ(1, s_calls[1]);
}

}  // namespace
