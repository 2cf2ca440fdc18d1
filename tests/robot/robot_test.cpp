// The robot on a second thread of the process that shows the windows: what
// it reads from a box, that a box other than the expected one fails the
// answer, and that it will not drive a control a user could not use or find
// a window a user could not see.
#include <gtest/gtest.h>

#include <iterator>

#include "robot/readable_text.h"
#include "robot/robot_gtest.h"

namespace {

const DWORD kPid = GetCurrentProcessId();
// The caption of the setup program's boxes; ソ, 表 and 能 end in the byte
// 0x5C, and a blank line stands between the two sentences.
constexpr char kBoxCaption[] = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) セットアップ";
constexpr char kBoxText[] = "ソフトウェアの使用許諾契約書を表示します。\n\nこの機能は後から使用できます。";

HWND Popup(const char* caption, DWORD style = WS_VISIBLE)
{
    return CreateWindowExA(0, "Static", caption, WS_POPUP | style, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

// The icon and the owner read here are what the message-box tests compare.
TEST(RobotMessageBox, ReadsAndPressesEachKindOfBox)
{
    HWND owner = Popup("持ち主");
    const struct { UINT flags; int press; std::vector<int> buttons; HWND owner; } rows[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION, IDNO, {IDYES, IDNO, IDCANCEL}, nullptr},
        {MB_OKCANCEL | MB_ICONHAND, IDCANCEL, {IDOK, IDCANCEL}, nullptr},
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

// A wrong caption, a text that is only the start of the box's, or a button
// list that is only part of the box's each fail the answer, and so does a
// box that never comes (after the robot's wait of kBoxWaitMs).
TEST(RobotMessageBox, ABoxOtherThanTheExpectedOneFailsTheAnswer)
{
    const robot::BoxAnswer wrong[] = {
        {"違うキャプション", kBoxText, {IDOK, IDCANCEL}, IDCANCEL},
        {kBoxCaption, "ソフトウェアの使用許諾契約書を表示します。", {IDOK, IDCANCEL}, IDCANCEL},
        {kBoxCaption, kBoxText, {IDOK}, IDCANCEL},
    };
    auto show = [] { MessageBoxA(nullptr, kBoxText, kBoxCaption, MB_OKCANCEL); };
    for (size_t i = 0; i < std::size(wrong); ++i)
        EXPECT_FALSE(robot::RunAnsweringBox(show, wrong[i])) << "wrong answer " << i + 1 << " passed";
    EXPECT_FALSE(robot::RunAnsweringBox([] {}, {kBoxCaption, kBoxText, {IDOK}, IDOK})) << "a box that never came";
    EXPECT_TRUE(robot::RunAnsweringBox(show, {kBoxCaption, kBoxText, {IDOK, IDCANCEL}, IDCANCEL}));
}

// A missing, disabled or hidden control, a text set into a button or a
// read-only edit: what a user could not do, the robot refuses. A window is
// found only visible and by its whole caption, and gone only once destroyed.
TEST(RobotControls, DrivesOnlyWhatAUserCouldUseAndFindsOnlyWhatAUserCouldSee)
{
    enum { CHECK = 1, DISABLED, HIDDEN, READONLY, MISSING };
    HWND dlg = Popup("操作窓");
    HWND hidden = Popup("隠れた窓", 0);
    const struct { const char* cls; int id; DWORD style; } controls[] = {
        {"Button", CHECK, BS_AUTOCHECKBOX | WS_VISIBLE},
        {"Button", DISABLED, BS_AUTOCHECKBOX | WS_VISIBLE | WS_DISABLED},
        {"Button", HIDDEN, BS_AUTOCHECKBOX},
        {"Edit", READONLY, ES_READONLY | WS_VISIBLE}};
    for (const auto& c : controls)
        CreateWindowExA(0, c.cls, "", WS_CHILD | c.style, 0, 0, 50, 20, dlg, (HMENU)(INT_PTR)c.id, nullptr, nullptr);
    EXPECT_TRUE(robot::SetCheck(dlg, CHECK, true) && robot::IsChecked(dlg, CHECK));
    for (int id : {DISABLED, HIDDEN, MISSING})
        EXPECT_FALSE(robot::PressButton(dlg, id) || robot::SetCheck(dlg, id, true)) << "control " << id;
    for (int id : {CHECK, READONLY, MISSING})
        EXPECT_FALSE(robot::SetEditText(dlg, id, "x")) << "control " << id;
    EXPECT_EQ(dlg, robot::WaitWindow(kPid, "Static", "操作窓", 1000, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "操作", 100, nullptr));
    EXPECT_EQ(nullptr, robot::WaitWindow(kPid, "Static", "隠れた窓", 200, nullptr));
    EXPECT_FALSE(robot::WaitGone(dlg, 100));
    DestroyWindow(dlg);
    DestroyWindow(hidden);
    EXPECT_TRUE(robot::WaitGone(dlg, 100));
}

}  // namespace
