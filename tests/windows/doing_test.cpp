// The progress window: its arithmetic, the stop requests that do not need a
// mouse, its owner, its size, and its assertions.
#include <functional>
#include <tuple>

#include "testkit/child_process.h"
#include "window_lib.h"

namespace {

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

// The owner is disabled while the window exists, however it ends, and the
// window is the program's work window meanwhile. The window's close box, Esc
// and Cancel ask to stop and the window stays; CheckCancel lets through ten
// waiting messages of other windows a time.
TEST(DoingStop, OwnerDisabledStopRequestsKeepTheWindowAndTenMessagesGoThroughAtATime)
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
// stock font out of range end the program (window_child.exe) with a box.
TEST(DoingFatal, AssertionsAndTheFontNumberEndTheProgramWithTheirText)
{
    const std::string assertion = "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n";
    const struct { const char* scenario; const char* caption; std::string text; } rows[] = {
        {"eleven-sections", "エラー", assertion + "dazo/Doingwnd 400\r\nm_cSec<IW_MAXSEC"},
        {"setsecpos", "エラー", assertion + "dazo/Doingwnd 413\r\nm_cSec>0"},
        {"stepsec", "エラー", assertion + "dazo/Doingwnd 425\r\nm_cSec>0"},
        {"endsec", "エラー", assertion + "dazo/Doingwnd 432\r\nm_cSec>0"},
        {"font", kTestTitle, "フォント番号範囲外\n\n致命的なエラー"},
    };
    for (const auto& row : rows) {
        ChildProcess child(std::string(WINDOW_CHILD_EXE) + " " + row.scenario);
        EXPECT_TRUE(robot::AnswerBoxesOf(child.Pid(), {{row.caption, row.text, {IDOK}, IDOK}})) << row.scenario;
        DWORD code = 0;
        EXPECT_TRUE(child.Wait(10000, &code) && code != 0) << row.scenario << ": no failure exit";
    }
}

}  // namespace
