// The robot on a second thread of the process that shows the windows: it
// reads and presses message boxes, drives the test dialog, waits for windows
// and records boxes; a failed script becomes a failed test, not a hang; and
// its texts are readable in failure messages.
#include <gtest/gtest.h>

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"
#include "test_dialog.h"

namespace {

constexpr DWORD kWaitMs = 10000;
const DWORD kPid = GetCurrentProcessId();

// Runs script on the robot thread while this thread shows a box with flags
// (owned by owner); returns the button that ended the box.
int ShowBoxWhile(const robot::RobotThread::Script& script, UINT flags, HWND owner = nullptr)
{
    robot::RobotThread robot(script);
    int pressed = MessageBoxA(owner, kBoxText, kBoxCaption, flags);
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    return pressed;
}

TEST(RobotMessageBox, ReadsAndPressesEachKindOfBox)
{
    HWND owner = CreateWindowExA(0, "Static", "持ち主", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    const struct { UINT flags; int press, icon; std::vector<int> buttons; HWND owner; } rows[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDNO, MB_ICONQUESTION, {IDYES, IDNO, IDCANCEL}, nullptr},
        {MB_YESNOCANCEL, IDYES, 0, {IDYES, IDNO, IDCANCEL}, nullptr},
        {MB_OKCANCEL | MB_ICONHAND, IDCANCEL, MB_ICONHAND, {IDOK, IDCANCEL}, nullptr},
        {MB_OK | MB_ICONEXCLAMATION, IDOK, MB_ICONEXCLAMATION, {IDOK}, nullptr},
        // Wine makes a box WS_EX_TOPMOST for MB_SYSTEMMODAL only, not for
        // MB_TOPMOST as Windows does.
        {MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL, IDOK, MB_ICONASTERISK, {IDOK}, owner},
    };
    // The recorder lists each box once, though several of its polls see it.
    robot::BoxRecorder recorder(kPid);
    size_t shown = 0;
    for (const auto& row : rows) {
        robot::MessageBoxInfo box;
        EXPECT_EQ(row.press, ShowBoxWhile(
                                 [&](std::string* failure) {
                                     HWND hwnd = robot::WaitMessageBox(kPid, kWaitMs, &box, failure);
                                     bool recorded = hwnd && recorder.WaitForBoxes(++shown, kWaitMs);
                                     Sleep(5 * robot::kPollMs);
                                     return recorded && robot::PressButton(hwnd, row.press) && robot::WaitGone(hwnd, kWaitMs);
                                 },
                                 row.flags, row.owner))
            << row.flags;
        EXPECT_TRUE(robot::SameText(kBoxCaption, box.caption) && robot::SameText(kBoxText, box.text)) << row.flags;
        EXPECT_EQ(row.buttons, box.buttons) << row.flags;
        EXPECT_EQ(robot::IconName(row.icon), robot::IconName(box.icon)) << row.flags;
        EXPECT_EQ(row.owner, box.owner) << row.flags;
        EXPECT_EQ(row.owner != nullptr, (box.exStyle & WS_EX_TOPMOST) != 0) << row.flags;
        ASSERT_EQ(shown, recorder.Boxes().size());
        EXPECT_TRUE(recorder.Boxes().back().icon == row.icon && recorder.Boxes().back().buttons == row.buttons);
    }
    DestroyWindow(owner);
}

// NextMessageBoxIs through RunAnsweringBox, which answers the box either way.
TEST(RobotMessageBox, NextMessageBoxIsTellsWhatDiffersReadably)
{
    auto show = [] { MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OKCANCEL); };
    EXPECT_TRUE(robot::RunAnsweringBox(show, {kBoxCaption, kBoxText, {IDOK, IDCANCEL}, IDCANCEL}));
    ::testing::AssertionResult wrong = robot::RunAnsweringBox(show, {"違うキャプション", kBoxText, {IDOK}, IDCANCEL});
    ASSERT_FALSE(wrong);
    const std::string message = wrong.message();
    for (const std::string& part :
         {std::string(u8"expected \"違うキャプション\""), "actual   \"" + robot::Cp932ToUtf8(kBoxCaption) + "\"",
          "actual bytes   " + robot::HexBytes(kBoxCaption), std::string("text as expected"),
          std::string("expected IDOK\n"), std::string("actual   IDOK IDCANCEL\n")})
        EXPECT_NE(std::string::npos, message.find(part)) << part << "\n" << message;
}

// A robot script for this process's test dialog: waits for it, runs steps on
// it and ends it with Cancel.
std::string DriveTestDialog(const std::function<void(HWND dlg)>& steps, INT_PTR ended = IDCANCEL)
{
    robot::RobotThread robot([&](std::string* failure) {
        HWND dlg = robot::WaitWindow(kPid, "#32770", TEST_DIALOG_CAPTION, kWaitMs, failure);
        if (dlg)
            steps(dlg);
        return dlg && (ended != IDCANCEL || robot::PressButton(dlg, IDCANCEL));
    });
    std::string result;
    EXPECT_EQ(ended, RunTestDialog(&result));
    std::string failure;
    EXPECT_TRUE(robot.Join(&failure)) << failure;
    return result;
}

TEST(RobotDialog, DrivesEditCheckBoxRadioButtonsAndButtonsAsAUserWould)
{
    std::string initial, afterCustom, readBack;
    bool refused = false;
    std::string result = DriveTestDialog(
        [&](HWND dlg) {
            initial = robot::GetItemText(dlg, IDC_FOLDER);
            // The click's handler fills in the folder; it has run before the
            // dialog answers the robot's next message.
            EXPECT_TRUE(robot::SetCheck(dlg, IDC_CUSTOM, true));
            afterCustom = robot::GetItemText(dlg, IDC_FOLDER);
            EXPECT_TRUE(robot::SetEditText(dlg, IDC_FOLDER, "D:\\ソフト\\会計表"));
            readBack = robot::GetItemText(dlg, IDC_FOLDER);
            EXPECT_TRUE(robot::SetCheck(dlg, IDC_DESKTOP_ICON, true) && robot::IsChecked(dlg, IDC_DESKTOP_ICON));
            // What a user could not use: a disabled or missing control, a label.
            refused = !robot::PressButton(dlg, IDC_BROWSE) && !robot::SetCheck(dlg, IDC_BROWSE, true) &&
                      !robot::SetCheck(dlg, 4242, true) && !robot::PressButton(dlg, 4242) &&
                      !robot::SetEditText(dlg, IDC_DESKTOP_ICON, "x");
            EXPECT_FALSE(robot::IsMessageBox(dlg));
            EXPECT_EQ(nullptr, robot::WaitMessageBox(kPid, 200, nullptr, nullptr));
            robot::PressButton(dlg, IDC_NEXT);
        },
        IDC_NEXT);
    EXPECT_TRUE(robot::SameText(kInitialFolder, initial));
    EXPECT_TRUE(robot::SameText(kCustomFolder, afterCustom));
    EXPECT_TRUE(robot::SameText("D:\\ソフト\\会計表", readBack));
    EXPECT_TRUE(refused);
    EXPECT_TRUE(robot::SameText("folder=D:\\ソフト\\会計表 desktopIcon=1 typical=0 custom=1 clicks=1", result));
}

TEST(RobotDialog, ClicksOnlyOnAChangeAndInOrderEvenWhenTheDialogIsBusy)
{
    std::string afterBusyClick;
    std::string result = DriveTestDialog([&](HWND dlg) {
        EXPECT_TRUE(robot::SetCheck(dlg, IDC_DESKTOP_ICON, false));  // already so: no click
        EXPECT_TRUE(robot::SetCheck(dlg, IDC_DESKTOP_ICON, true));
        EXPECT_TRUE(robot::SetCheck(dlg, IDC_DESKTOP_ICON, false));
        // The first click keeps the dialog busy; the second and the read wait
        // behind it in order: the read sees what the second click wrote.
        EXPECT_TRUE(robot::PressButton(dlg, IDC_CHECK_DISK) && robot::PressButton(dlg, IDC_CUSTOM));
        afterBusyClick = robot::GetItemText(dlg, IDC_FOLDER);
    });
    EXPECT_TRUE(robot::SameText(kCustomFolder, afterBusyClick));
    EXPECT_TRUE(result.find(" desktopIcon=0 ") != std::string::npos && result.find(" clicks=2") != std::string::npos)
        << result;
}

TEST(RobotWindows, WaitsForVisibleWindowsAndSaysWhatItFoundOnATimeOut)
{
    auto popup = [](const char* caption, bool visible) {
        return CreateWindowExA(0, "Static", caption, WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    };
    HWND shown = popup("見える窓", true), hidden = popup("隠れた窓", false);
    // Window classes compare case-insensitively, as Windows compares them;
    // captions must match whole.
    EXPECT_EQ(shown, robot::WaitWindow(kPid, "static", "見える窓", 1000, nullptr));
    EXPECT_EQ(shown, robot::WaitWindow(kPid, nullptr, "見える窓", 1000, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Button", "見える窓", 100, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "見える", 100, nullptr));
    std::string failure, boxFailure;
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "隠れた窓", 200, &failure));
    EXPECT_EQ(nullptr, robot::WaitMessageBox(kPid, 200, nullptr, &boxFailure));
    for (const std::string& part :
         {u8"waited 200 ms for a visible top-level window of process " + std::to_string(kPid) +
              u8" with class \"Static\" and caption \"隠れた窓\"",
          robot::HandleText(hidden) + u8" class \"Static\" caption \"隠れた窓\" hidden\n",
          robot::HandleText(shown) + u8" class \"Static\" caption \"見える窓\" visible\n"})
        EXPECT_NE(std::string::npos, failure.find(part)) << part << "\n" << failure;
    EXPECT_NE(std::string::npos, boxFailure.find("waited 200 ms for a message box of process " + std::to_string(kPid)));
    ShowWindow(hidden, SW_SHOWNA);
    EXPECT_EQ(hidden, robot::WaitWindow(kPid, "Static", "隠れた窓", 1000, nullptr));
    EXPECT_FALSE(robot::WaitGone(shown, 100));
    DestroyWindow(shown);
    DestroyWindow(hidden);
    EXPECT_TRUE(robot::WaitGone(shown, 100));
}

TEST(RobotThread, AFailedScriptOrOneThatLeavesTheUiOpenEndsItAndSaysWhy)
{
    const struct { robot::RobotThread::Script script; DWORD graceMs; const char* says; } rows[] = {
        {[](std::string* failure) { return robot::WaitWindow(kPid, "#32770", "来ない窓", 200, failure) != nullptr; },
         robot::RobotThread::kUiGraceMs, u8"caption \"来ない窓\""},
        // Claims success without pressing anything.
        {[](std::string*) { return true; }, 300, "still busy 300 ms later"},
    };
    for (const auto& row : rows) {
        robot::RobotThread robot(row.script, row.graceMs);
        MessageBoxA(nullptr, "誰も押さない", "RobotThread", MB_OK);  // only the robot's WM_QUIT ends it
        std::string failure;
        EXPECT_FALSE(robot.Join(&failure));
        EXPECT_NE(std::string::npos, failure.find(row.says)) << failure;
        MSG quit;
        EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "Join must remove the WM_QUIT";
    }
}

TEST(RobotText, ReadableFormsKeepTrailBytesAndEscapeWhatCannotBeSeen)
{
    // ソ 表 能 are 83 5C, 95 5C, 94 5C; the last byte is a lone backslash.
    EXPECT_EQ(u8"\"ソ表能\\\\\"", robot::Quoted("ソ表能\\"));
    EXPECT_EQ(u8"\"ｷｬﾝｾﾙa\\n\\r\\t\\\"\\x01\\x7F\\x83\"", robot::Quoted(std::string("ｷｬﾝｾﾙa\n\r\t\"\x01\x7F\x83", 13)));
    int id = 0;
    EXPECT_TRUE(robot::ParseButtonId("0x3EE", &id) && id == 1006);
    EXPECT_FALSE(robot::ParseButtonId("IDMAYBE", &id) || robot::ParseButtonId("", &id) || robot::ParseButtonId("12x", &id));
}

}  // namespace
