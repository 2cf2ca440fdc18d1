// The robot on a second thread of the process that shows the windows: what
// it reads from a box, that a box other than the expected one fails the test
// and says how, that it will not drive a control a user could not use, and
// that a script claiming a success it did not see fails rather than hangs.
#include <gtest/gtest.h>

#include "box_texts.h"
#include "robot/readable_text.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace {

constexpr DWORD kWaitMs = 10000;
const DWORD kPid = GetCurrentProcessId();

HWND Popup(const char* caption, DWORD style = WS_VISIBLE)
{
    return CreateWindowExA(0, "Static", caption, WS_POPUP | style, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(RobotMessageBox, ReadsAndPressesEachKindOfBox)
{
    HWND owner = Popup("持ち主");
    const struct { UINT flags; int press; std::vector<int> buttons; HWND owner; } rows[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDNO, {IDYES, IDNO, IDCANCEL}, nullptr},
        {MB_OKCANCEL | MB_ICONHAND, IDCANCEL, {IDOK, IDCANCEL}, nullptr},
        {MB_OK, IDOK, {IDOK}, nullptr},
        {MB_OK | MB_ICONASTERISK, IDOK, {IDOK}, owner},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("flags " + std::to_string(row.flags));
        int pressed = 0;
        robot::MessageBoxInfo box;
        EXPECT_TRUE(robot::RunAnsweringBox([&] { pressed = MessageBoxA(row.owner, kBoxText, kBoxCaption, row.flags); },
                                           {kBoxCaption, kBoxText, row.buttons, row.press}, &box));
        EXPECT_EQ(row.press, pressed);
        EXPECT_EQ(robot::IconName(row.flags & MB_ICONMASK), robot::IconName(box.icon));
        EXPECT_EQ(row.owner, box.owner);
    }
    DestroyWindow(owner);
}

// A wrong caption, text or button list each fails the answer, which still
// presses the box, and the message shows both sides readably.
TEST(RobotMessageBox, ABoxOtherThanTheExpectedOneFailsAndSaysHow)
{
    const std::string shortText = "ソフトウェアの使用許諾契約書を表示します。";
    const struct { robot::BoxAnswer expected; std::vector<std::string> says; } rows[] = {
        {{"違うキャプション", kBoxText, {IDOK, IDCANCEL}, IDCANCEL},
         {u8"expected \"違うキャプション\"", "actual   \"" + robot::Cp932ToUtf8(kBoxCaption) + "\"",
          "actual bytes   " + robot::HexBytes(kBoxCaption), "text as expected"}},
        {{kBoxCaption, shortText, {IDOK, IDCANCEL}, IDCANCEL}, {"expected " + robot::Quoted(shortText)}},
        {{kBoxCaption, kBoxText, {IDOK}, IDCANCEL}, {"expected IDOK\n", "actual   IDOK IDCANCEL\n"}},
    };
    auto show = [] { MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OKCANCEL); };
    for (const auto& row : rows) {
        ::testing::AssertionResult wrong = robot::RunAnsweringBox(show, row.expected);
        ASSERT_FALSE(wrong) << row.says[0];
        const std::string message = wrong.message();
        for (const std::string& part : row.says)
            EXPECT_NE(std::string::npos, message.find(part)) << part << "\n" << message;
    }
    EXPECT_TRUE(robot::RunAnsweringBox(show, {kBoxCaption, kBoxText, {IDOK, IDCANCEL}, IDCANCEL}));
}

// A missing, disabled or hidden control, a text set into a button or a
// read-only edit: what a user could not do, the robot refuses.
TEST(RobotControls, DrivesOnlyWhatAUserCouldUse)
{
    enum { CHECK = 1, DISABLED, HIDDEN, EDIT, READONLY, MISSING };
    HWND dlg = Popup("操作窓");
    const struct { const char* cls; int id; DWORD style; } controls[] = {
        {"Button", CHECK, BS_AUTOCHECKBOX | WS_VISIBLE},
        {"Button", DISABLED, BS_AUTOCHECKBOX | WS_VISIBLE | WS_DISABLED},
        {"Button", HIDDEN, BS_AUTOCHECKBOX},
        {"Edit", EDIT, WS_VISIBLE},
        {"Edit", READONLY, ES_READONLY | WS_VISIBLE}};
    for (const auto& c : controls)
        CreateWindowExA(0, c.cls, "", WS_CHILD | c.style, 0, 0, 50, 20, dlg, (HMENU)(INT_PTR)c.id, nullptr, nullptr);
    EXPECT_TRUE(robot::SetCheck(dlg, CHECK, true) && robot::IsChecked(dlg, CHECK));
    // Reads the text back: 表 ends in the byte 0x5C.
    EXPECT_TRUE(robot::SetEditText(dlg, EDIT, "D:\\ソフト\\会計表"));
    for (int id : {DISABLED, HIDDEN, MISSING})
        EXPECT_FALSE(robot::PressButton(dlg, id) || robot::SetCheck(dlg, id, true)) << "control " << id;
    for (int id : {CHECK, READONLY, MISSING})
        EXPECT_FALSE(robot::SetEditText(dlg, id, "x")) << "control " << id;
    DestroyWindow(dlg);
}

TEST(RobotWindows, FindsOnlyAVisibleWindowOfItsClassAndWholeCaption)
{
    HWND shown = Popup("見える窓"), hidden = Popup("隠れた窓", 0);
    // Window classes compare case-insensitively, as Windows compares them.
    EXPECT_EQ(shown, robot::WaitWindow(kPid, "static", "見える窓", 1000, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Button", "見える窓", 100, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "見える", 100, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "隠れた窓", 200, nullptr));
    EXPECT_EQ(nullptr, robot::WaitMessageBox(kPid, 200, nullptr, nullptr)) << "a popup taken for a box";
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

}  // namespace
