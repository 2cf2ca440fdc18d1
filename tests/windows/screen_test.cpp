// What the user sees on a real X display: the background window's picture
// read back from the screen, its refusal to end the session, and the
// progress window's stop button under real mouse input (SendInput).
#include <atomic>
#include <future>
#include <thread>

#include "setup/background.h"
#include "window_lib.h"

namespace {

int CountIn(const std::vector<DWORD>& pixels, int width, RECT area, DWORD colour)
{
    int n = 0;
    for (int y = std::max<int>(area.top, 0); y < area.bottom; ++y)
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, width); ++x)
            n += pixels[y * width + x] == colour;
    return n;
}

// Row y is painted by the one band that covers it: the first band i whose
// lower edge (i + 1) * cy / 256 lies below y (under 256 rows some bands have
// no row of their own), across the whole width. The title is white on its
// black shadow, with a third line in the uninstall mode. And the window
// refuses the end of the session with its message.
TEST(BackgroundScreen, EachRowHasItsBandsColourUnderTheTitleAndTheSessionMayNotEnd)
{
    // Install: from pure blue to dark olive; uninstall: from dark red to dark blue.
    DWORD (*installBand)(int) = [](int i) -> DWORD { return (i / 2) << 16 | (i / 2) << 8 | (255 - i); };
    DWORD (*uninstallBand)(int) = [](int i) -> DWORD { return ((255 - i) / 2 + (255 - i) / 4) << 16 | i / 2; };
    const struct { bool addRemove; int cx, cy; DWORD (*band)(int); } rows[] = {
        {false, 0, 0, installBand}, {true, 0, 0, uninstallBand}, {false, 200, 100, installBand}};
    int lastWhiteRow[2] = {};  // of the two maximised windows, which have one width
    HWND h = nullptr;          // the last one shown stays for the end of the session
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.addRemove ? "uninstall" : "install") + (row.cx ? " in 200 by 100" : " maximised"));
        DestroyWindow(h);
        auto* background = new BackgroundWindow;
        background->m_fAddRemove = row.addRemove;
        h = background->Create();
        if (row.cx) {
            RECT rc = {0, 0, row.cx, row.cy};
            AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
            SetWindowPos(h, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
        }
        ShowWindow(h, row.cx ? SW_SHOW : SW_SHOWMAXIMIZED);
        PumpFor(300);
        int cx, cy;
        std::vector<DWORD> pixels = ClientPixels(h, &cx, &cy);
        ASSERT_TRUE(row.cx ? cy < 256 : cy > 256) << cy << " rows";
        for (int y = 0; y < cy; ++y)
            EXPECT_EQ(row.band((256 * (y + 1) + cy - 1) / cy - 1), pixels[y * cx]) << "row " << y;
        EXPECT_EQ(cx, CountIn(pixels, cx, {0, cy - 1, cx, cy}, row.band(255))) << "the last row";
        int unit = cx / 10;
        RECT firstLine = {cx / 2 - 5 * unit, cy / 32 - unit / 12, cx / 2 + 5 * unit, cy / 32 + unit};
        EXPECT_GT(CountIn(pixels, cx, firstLine, 0xFFFFFF), unit) << "white title";
        EXPECT_GT(CountIn(pixels, cx, firstLine, 0x000000), unit) << "black shadow";
        for (int y = 0; y < cy && !row.cx; ++y)
            if (CountIn(pixels, cx, {0, y, cx, y + 1}, 0xFFFFFF))
                lastWhiteRow[row.addRemove] = y;
    }
    EXPECT_GT(lastWhiteRow[1] - lastWhiteRow[0], 1024 / 10 / 4) << "no third line in the uninstall mode";
    DWORD_PTR answer = 1;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            auto windows = std::async(std::launch::async, [&] {
                SendMessageTimeoutA(h, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 30000, &answer);
            });
            PumpUntil([&] { return windows.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000);
        },
        {kTestTitle, "セットアップを終了してからウィンドウズを終了してください", {IDOK}, IDOK}));
    EXPECT_EQ(0u, answer);
    DestroyWindow(h);
}

// Released off the button, a press asks for nothing and the mouse is free
// for the other windows. A box asked for while the mouse is captured waits
// for the release, and the waiting request does not keep the release on the
// button, which asks to stop, from coming through.
TEST(StopButtonScreen, OnlyAReleaseOnThePressedButtonAsksToStopAndABoxWaitsForIt)
{
    DoingWnd* doing = MakeDoing(DWS_STOP | DWS_NOGAUGE | DWS_SHOW);
    auto centreOnScreen = [&](const RECT& rc) {
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(doing->HWnd(), &pt);
        return pt;
    };
    const POINT button = centreOnScreen(doing->m_rcStop), text = centreOnScreen(doing->m_rcText);
    // The pointer stays on the progress window, which has settled as the
    // foreground window first: under Wine a window that loses the X focus
    // gets WM_CANCELMODE, which ends a press, and Xvfb, having no window
    // manager, moves the X focus with the pointer.
    SendMouse(MOUSEEVENTF_MOVE, text);
    PumpUntil([&] { return GetForegroundWindow() == doing->HWnd(); }, 3000);
    PumpFor(500);
    // The left button pressed on the stop button, which then shows it
    // pressed and holds the mouse. Each mouse event is waited for up to 5 s:
    // a loaded machine may take a while to hand it on.
    auto press = [&] {
        SendMouse(MOUSEEVENTF_MOVE, button);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(PumpUntil([&] { return doing->m_fPressed; }, 5000));
        EXPECT_EQ(doing->HWnd(), GetCapture());
    };
    press();
    SendMouse(MOUSEEVENTF_MOVE, text);
    ASSERT_TRUE(PumpUntil([&] { return !doing->m_fPressed; }, 5000));
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([] { return !GetCapture(); }, 5000)) << "the capture stays";
    EXPECT_EQ(1, doing->CheckCancel());
    press();
    std::atomic<bool> released {false};
    bool seenAfterRelease = false;
    int answer = 0;
    EXPECT_TRUE(robot::RunAnsweringBox(
        [&] {
            PostMessageBox(nullptr, "捕捉が終わってから出る箱", nullptr, MB_OK, [](int pressed, void* context) {
                *static_cast<int*>(context) = pressed;
                EndModalLoop(0);
            }, &answer);
            std::thread user([&] {
                Sleep(600);
                released = true;
                SendMouse(MOUSEEVENTF_LEFTUP);
            });
            RunModalLoop(0, nullptr, nullptr);
            user.join();
        },
        {kTestTitle, "捕捉が終わってから出る箱", {IDOK}, IDOK}, nullptr, [&](HWND) { seenAfterRelease = released; }));
    EXPECT_TRUE(seenAfterRelease) << "the box did not wait for the release";
    EXPECT_EQ(IDOK, answer);
    EXPECT_EQ(0, doing->CheckCancel()) << "the release on the stop button was lost";
    doing->Close();
}

}  // namespace
