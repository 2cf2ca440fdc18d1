// The window framework under Wine: the window table, the modal loop, the
// automatic timers, the error queue and the event lists.
#include <atomic>
#include <future>

#include "window_lib.h"

namespace {

TEST(WindowTable, WindowsOfOneBucketAreBothFound)
{
    std::vector<HWND> made;
    HWND first = nullptr, second = nullptr;
    while (!second && made.size() < 2000) {
        HWND h = (new ProbeWnd)->Make();
        for (HWND m : made)
            if (reinterpret_cast<UINT_PTR>(m) % 255 == reinterpret_cast<UINT_PTR>(h) % 255)
                first = m, second = h;
        made.push_back(h);
    }
    ASSERT_NE(nullptr, second) << "no two handles in one bucket";
    for (HWND h : {first, second})
        EXPECT_TRUE(FindWnd(h) && FindWnd(h)->HWnd() == h) << h;
    for (HWND h : made)
        DestroyWindow(h);
    EXPECT_EQ(nullptr, FindWnd(first));
}

// With WND_DEFALLMSG the routing is off, but the object still answers for
// itself, also to another thread, and still goes with its window.
TEST(WindowTable, DefAllMsgWindowAnswersItsAddressAndIsDeleted)
{
    bool deleted = false;
    auto* probe = new ProbeWnd(WND_DEFALLMSG, &deleted);
    HWND h = probe->Make();
    EXPECT_EQ(reinterpret_cast<LRESULT>(probe), SendMessageSafe(h, g_uMsgGetWndPtr, 0, 0));
    auto fromThread = std::async(std::launch::async, [h] { return SendMessageSafe(h, g_uMsgGetWndPtr, 0, 0); });
    ASSERT_TRUE(PumpUntil([&] { return fromThread.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                          5000));
    EXPECT_EQ(reinterpret_cast<LRESULT>(probe), fromThread.get());
    EXPECT_FALSE(probe->m_dwWndFlag & WND_IDLEPENDING) << "an idle request was posted";
    DestroyWindow(h);
    EXPECT_TRUE(deleted);
}

TEST(AutoTimers, The33rdReportsTheShortageAndAFreedOneComesBack)
{
    HWND h = (new ProbeWnd)->Make();
    for (UINT_PTR i = 0; i < 32; ++i)
        ASSERT_EQ(65500 + i, SetTimerAuto(h, 0, 60000, nullptr));
    ErrorFrame frame, seen;
    PushErrorFrame(&frame);
    EXPECT_EQ(0u, SetTimerAuto(h, 0, 60000, nullptr));
    GetErrorInfo(&seen);
    ClearError();
    PopErrorFrame();
    EXPECT_STREQ("タイマーが足りません", seen.context);
    EXPECT_EQ(1, KillTimerAuto(h, 65510));
    EXPECT_EQ(65510u, SetTimerAuto(h, 0, 60000, nullptr));
    for (UINT_PTR i = 0; i < 32; ++i)
        KillTimerAuto(h, 65500 + i);
    DestroyWindow(h);
}

// The first end of a loop wins. A modal loop keeps its window's owner
// disabled until it ends. (A dialog's buttons 1 to 10 ending its loop with
// their identifier, and other controls not, the install and uninstall flows
// catch: the choice dialog's buttons, the setup dialog's edit boxes.)
TEST(ModalLoop, FirstEndWinsAndTheOwnerIsDisabledMeanwhile)
{
    EndModalLoop(5);
    EndModalLoop(7);
    EXPECT_EQ(5, RunModalLoop(0, nullptr, nullptr));
    HWND owner = (new ProbeWnd)->Make();
    HWND owned = MakeDoing(0, owner)->HWnd();
    robot::RobotThread robot([&](std::string* failure) {
        *failure = "the owner is enabled";
        return robot::WaitUntil([&] { return !IsWindowEnabled(owner); }, 3000) &&
               PostMessageA(owned, WM_DZ_ENDLOOP, 9, 0);
    });
    EXPECT_EQ(9, RunModalLoop(LOOP_MODAL, owned, nullptr));
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// Reported errors wait for the service window's idle step, each text once.
TEST(ErrorQueue, ErrorsAreShownLaterEachTextOnce)
{
    std::atomic<bool> reported {false};
    bool boxAfterReports = false;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            ReportErrorText("一つ目", "読み込み中");
            ReportErrorText("一つ目", "読み込み中");
            reported = true;
            PumpFor(500);
        },
        {kTestTitle, "一つ目\n\n読み込み中", {IDOK}, IDOK}, nullptr, [&](HWND) { boxAfterReports = reported; }));
    EXPECT_TRUE(boxAfterReports) << "the error was shown at once";
    EXPECT_TRUE(robot::RunWithoutBox([] { PumpFor(300); })) << "the repeated error came again";
}

// Each listener that stays connected hears every firing, also when the one
// before it disconnects itself on the way.
struct Listener {
    Event2* list;
    bool leave;
    int heard;
    static int Hear(void* context, Event2*, LPARAM)
    {
        auto* l = static_cast<Listener*>(context);
        if (++l->heard && l->leave)
            l->list->Disconnect(l, Hear);
        return 1;
    }
};

TEST(Events, AListenerThatLeavesWhileFiredDoesNotSilenceTheNext)
{
    Event2 list;
    Listener leaving {&list, true, 0}, staying {&list, false, 0};
    list.Connect(&leaving, Listener::Hear);
    list.Connect(&staying, Listener::Hear);
    EXPECT_TRUE(list.Fire(&list, 0) == 1 && list.Fire(&list, 0) == 1);
    EXPECT_EQ(1, leaving.heard);
    EXPECT_EQ(2, staying.heard);
    EXPECT_EQ(1, list.GetConnectionCount());
}

}  // namespace
