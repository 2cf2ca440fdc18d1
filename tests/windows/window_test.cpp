// The window framework and the progress window under Wine: the window table,
// the automatic timers, the error queue, the event lists, the progress
// window's arithmetic, its owner and the modal loop, the stop requests that do
// not need a mouse, its size, its row breaking and its assertions.
#include <atomic>
#include <cstdlib>
#include <functional>
#include <future>
#include <tuple>

#include "testkit/child_process.h"
#include "window_lib.h"

namespace {

// A popup window that counts the WM_USER + 1 it gets; s_cAlive counts the
// objects not yet deleted.
class ProbeWnd : public Wnd {
public:
    ProbeWnd() { ++s_cAlive; }
    ~ProbeWnd() override { --s_cAlive; }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        m_cCounted += msg == WM_USER + 1;
        return Wnd::WndProc(msg, wParam, lParam);
    }
    // A visible popup of cx by cy at 0,0.
    HWND Make(int cx = 40, int cy = 40)
    {
        return Create(0, "probe", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr, g_hInstance, nullptr);
    }

    int m_cCounted = 0;
    static inline int s_cAlive = 0;
};

// Two windows of one bucket are both found. The first window made has
// WND_DEFALLMSG: the routing is off and it asks for no idle step, but the
// object still answers for itself, also to another thread, and still goes
// with its window.
TEST(WindowTable, WindowsOfOneBucketAreBothFoundAndADefAllMsgWindowStillAnswersForItself)
{
    auto* defAll = new ProbeWnd;
    defAll->m_dwWndFlag = WND_DEFALLMSG;
    std::vector<HWND> made = {defAll->Make()};
    EXPECT_FALSE(defAll->m_dwWndFlag & WND_IDLEPENDING) << "an idle request was posted";
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
    EXPECT_EQ(reinterpret_cast<LRESULT>(defAll), SendMessageSafe(made[0], g_uMsgGetWndPtr, 0, 0));
    auto fromThread = std::async(std::launch::async, [&] { return SendMessageSafe(made[0], g_uMsgGetWndPtr, 0, 0); });
    ASSERT_TRUE(PumpUntil([&] { return fromThread.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                          5000));
    EXPECT_EQ(reinterpret_cast<LRESULT>(defAll), fromThread.get());
    for (HWND h : made)
        DestroyWindow(h);
    EXPECT_EQ(nullptr, FindWnd(first));
    EXPECT_EQ(0, ProbeWnd::s_cAlive) << "objects stay after their windows";
}

// The 33rd automatic timer reports the shortage, and a freed one comes back.
// Reported errors wait for the service window's idle step, each text once.
TEST(AutoTimers, The33rdReportsTheShortageLaterAndOnceAndAFreedOneComesBack)
{
    HWND h = (new ProbeWnd)->Make();
    for (UINT_PTR i = 0; i < 32; ++i)
        ASSERT_EQ(65500 + i, SetTimerAuto(h, 0, 60000, nullptr));
    std::atomic<bool> reported {false};
    bool boxAfterReports = false;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            EXPECT_EQ(0u, SetTimerAuto(h, 0, 60000, nullptr));
            EXPECT_EQ(0u, SetTimerAuto(h, 0, 60000, nullptr));
            reported = true;
            PumpFor(500);
        },
        {kTestTitle, "エラーです\n\nタイマーが足りません", {IDOK}, IDOK}, nullptr,
        [&](HWND) { boxAfterReports = reported; }));
    EXPECT_TRUE(boxAfterReports) << "the error was shown at once";
    EXPECT_TRUE(robot::RunWithoutBox([] { PumpFor(300); })) << "the repeated error came again";
    EXPECT_EQ(1, KillTimerAuto(h, 65510));
    EXPECT_EQ(65510u, SetTimerAuto(h, 0, 60000, nullptr));
    for (UINT_PTR i = 0; i < 32; ++i)
        KillTimerAuto(h, 65500 + i);
    DestroyWindow(h);
}

// Each listener that stays connected hears every firing, also when the one
// before it disconnects itself on the way.
int Hear(void* heard, Event2*, LPARAM)
{
    ++*static_cast<int*>(heard);
    return 1;
}

int HearAndLeave(void* heard, Event2* list, LPARAM)
{
    list->Disconnect(heard, HearAndLeave);
    return Hear(heard, list, 0);
}

TEST(Events, AListenerThatLeavesWhileFiredDoesNotSilenceTheNext)
{
    Event2 list;
    int leaving = 0;
    int staying = 0;
    list.Connect(&leaving, HearAndLeave);
    list.Connect(&staying, Hear);
    EXPECT_TRUE(list.Fire(&list, 0) == 1 && list.Fire(&list, 0) == 1);
    EXPECT_EQ(1, leaving);
    EXPECT_EQ(2, staying);
    EXPECT_EQ(1, list.GetConnectionCount());
}

TEST(DoingGauge, RangesPositionsAndSections)
{
    const struct { const char* name; std::function<void(DoingWnd*)> steps; int min, max, pos, percent; } rows[] = {
        {"range 5..5", [](DoingWnd* d) { d->SetRange(5, 5); }, 5, 6, 5, 0},
        {"below the range", [](DoingWnd* d) { d->SetPosition(-5); }, 0, 100, 0, 0},
        {"above the range", [](DoingWnd* d) { d->SetPosition(200); }, 0, 100, 100, 100},
        {"steps stop at the end", [](DoingWnd* d) { d->SetRange(0, 2); for (int i = 0; i < 3; ++i) d->StepIt(); },
         0, 2, 2, 100},
        {"wide range in thousands",
         [](DoingWnd* d) { d->SetRange(0, 1000000); d->SetPosition(500500); }, 0, 1000000, 500500, 50},
        {"section 1 of 0..4, inner 5 of 0..10",
         [](DoingWnd* d) { d->BeginSec(0, 4); d->SetSecPos(1); d->BeginSec(0, 10); d->SetSecPos(5); },
         0, 100, 37, 37},
        {"section 3..3 is 3..4, stepped to its end",
         [](DoingWnd* d) { d->BeginSec(3, 3); d->StepSec(); d->StepSec(); }, 0, 100, 100, 100},
    };
    for (const auto& row : rows) {
        DoingWnd* d = MakeDoing(0);
        row.steps(d);
        int inner = d->m_rcGauge.right - d->m_rcGauge.left - 4;
        EXPECT_EQ(std::make_tuple(row.min, row.max, row.pos, row.percent, row.percent * inner / 100),
                  std::make_tuple(d->m_nMin, d->m_nMax, d->m_nPos, d->m_nPercent, d->m_cxFill))
            << row.name << " (min, max, position, percent, fill)";
        d->Close();
    }
}

// The owner is disabled while a progress window with DWS_DISABLEOWNER exists,
// however it ends, and the window is the program's work window meanwhile. Its
// close box, Esc and Cancel ask to stop and the window stays; CheckCancel lets
// through ten waiting messages of other windows a time. A modal loop, whose
// first end wins, keeps its window's owner disabled until it ends. (A dialog's
// buttons 1 to 10 ending its loop with their identifier, and other controls
// not, the install and uninstall flows catch: the choice dialog's buttons, the
// setup dialog's edit boxes.)
TEST(OwnedWindows, TheOwnerIsDisabledWhileAProgressWindowOrAModalLoopRunsAndStopRequestsKeepTheWindow)
{
    auto* probe = new ProbeWnd;
    HWND owner = probe->Make(300, 200);
    DoingWnd* d = MakeDoing(DWS_STOP | DWS_SHOW | DWS_DISABLEOWNER, owner);
    HWND h = d->HWnd();
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(h, GetFirstVisibleMainWnd());
    PumpFor(100);
    for (int i = 0; i < 15; ++i)
        PostMessageA(owner, WM_USER + 1, 0, 0);
    EXPECT_EQ(1, d->CheckCancel());
    EXPECT_EQ(10, probe->m_cCounted);
    d->CheckCancel();
    EXPECT_EQ(15, probe->m_cCounted);
    const UINT messages[][2] = {{WM_CLOSE, 0}, {WM_KEYDOWN, VK_ESCAPE}, {WM_COMMAND, IDCANCEL}};
    for (const auto& m : messages) {
        PostMessageA(h, m[0], m[1], 0);
        EXPECT_EQ(0, d->CheckCancel()) << "message " << m[0];
        EXPECT_EQ(0, d->CheckCancel()) << "the request stays until cleared";
        ASSERT_TRUE(IsWindow(h));
        d->m_fCancel = 0;
    }
    d->Close();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(IsWindowEnabled(owner)) << "after Close";
    EXPECT_EQ(nullptr, GetFirstVisibleMainWnd());
    DestroyWindow(MakeDoing(DWS_STOP | DWS_SHOW | DWS_DISABLEOWNER, owner)->HWnd());
    EXPECT_TRUE(IsWindowEnabled(owner)) << "after DestroyWindow";
    EXPECT_EQ(nullptr, GetFirstVisibleMainWnd());
    EndModalLoop(5);
    EndModalLoop(7);
    EXPECT_EQ(5, RunModalLoop(0, nullptr, nullptr));
    HWND owned = MakeDoing(0, owner)->HWnd();
    robot::RobotThread robot([&](std::string* failure) {
        *failure = "the modal loop left the owner enabled";
        return robot::WaitUntil([&] { return !IsWindowEnabled(owner); }, 3000) &&
               PostMessageA(owned, WM_DZ_ENDLOOP, 9, 0);
    });
    EXPECT_EQ(9, RunModalLoop(LOOP_MODAL, owned, nullptr));
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_TRUE(IsWindowEnabled(owner)) << "after the modal loop";
    DestroyWindow(owner);
}

TEST(DoingSize, WithoutTitleNoCaptionAndShorterByTheCaption)
{
    int heights[3];
    const char* titles[] = {"ヴェルンド！出納帳 セットアップ", nullptr, "   "};
    for (int i = 0; i < 3; ++i) {
        DoingWnd* d = MakeDoing(DWS_STOP | DWS_NOGAUGE, nullptr, titles[i]);
        RECT rc;
        GetWindowRect(d->HWnd(), &rc);
        heights[i] = rc.bottom - rc.top;
        EXPECT_EQ(i == 0, (GetWindowLongPtrA(d->HWnd(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION) << i;
        d->Close();
    }
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), heights[0] - heights[1]);
    EXPECT_EQ(heights[1], heights[2]);
}

// Rows of multi-line text end at line breaks and never cut a double-byte
// character in two, however narrow the row.
TEST(DoingRows, RowsBreakAtLineEndsAndBetweenCharacters)
{
    const struct { const char* text; int cx; std::vector<int> rows; } cases[] = {
        {"aあb", 1, {1, 2, 1}},
        {"\r\nあ\n\nい", 1000, {0, 2, 0, 2}},
    };
    HDC dc = GetDC(nullptr);
    for (const auto& c : cases) {
        std::vector<int> rows;
        for (const char* p = c.text; *p;) {
            int n = DoingRowLength(dc, p, c.cx);
            rows.push_back(n);
            p += n;
            p += *p == '\r';
            p += *p == '\n';
        }
        EXPECT_EQ(c.rows, rows) << c.text << " in " << c.cx << " pixels";
    }
    ReleaseDC(nullptr, dc);
}

// A section moved or closed with none open, or an eleventh opened, and a
// stock font out of range end the program with a box. Each rule is broken in
// a second run of this test program, the child, which WINDOW_FATAL_SCENARIO
// tells which one to break.
TEST(DoingFatal, AssertionsAndTheFontNumberEndTheProgramWithTheirText)
{
    const std::string assertion = "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n";
    const struct {
        const char* scenario;
        std::function<void(DoingWnd*)> breakRule;
        const char* caption;
        std::string text;
    } rows[] = {
        {"eleven-sections", [](DoingWnd* d) { for (int i = 0; i < 11; ++i) d->BeginSec(0, 10); },
         "エラー", assertion + "dazo/Doingwnd 400\r\nm_cSec<IW_MAXSEC"},
        {"setsecpos", [](DoingWnd* d) { d->SetSecPos(1); }, "エラー", assertion + "dazo/Doingwnd 413\r\nm_cSec>0"},
        {"stepsec", [](DoingWnd* d) { d->StepSec(); }, "エラー", assertion + "dazo/Doingwnd 425\r\nm_cSec>0"},
        {"endsec", [](DoingWnd* d) { d->EndSec(); }, "エラー", assertion + "dazo/Doingwnd 432\r\nm_cSec>0"},
        {"font", [](DoingWnd*) { GetStockFontObj(-5); }, kTestTitle, "フォント番号範囲外\n\n致命的なエラー"},
    };
    if (const char* childScenario = std::getenv("WINDOW_FATAL_SCENARIO")) {
        for (const auto& row : rows)
            if (row.scenario == std::string(childScenario))
                row.breakRule(MakeDoing(0));
        return;
    }
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    for (const auto& row : rows) {
        SetEnvironmentVariableA("WINDOW_FATAL_SCENARIO", row.scenario);
        ChildProcess child(Quote(exe) + " --gtest_filter=DoingFatal.*");
        EXPECT_TRUE(robot::AnswerBoxesOf(child.Pid(), {{row.caption, row.text, {IDOK}, IDOK}})) << row.scenario;
        DWORD code = 0;
        EXPECT_TRUE(child.Wait(10000, &code) && code != 0) << row.scenario << ": no failure exit";
    }
    SetEnvironmentVariableA("WINDOW_FATAL_SCENARIO", nullptr);
}

}  // namespace
