// The robot on a second thread drives the test dialog that the main thread
// shows with DialogBoxParamA.
#include <gtest/gtest.h>

#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"
#include "test_dialog.h"

namespace {

constexpr DWORD kWaitMs = 10000;
// 表 at the end: its trail byte 0x5C must not be taken for a backslash.
constexpr char kNewFolder[] = "D:\\ソフト\\会計表";

// A robot script for this process's test dialog: waits for it, then runs
// `steps` on it.
template <class Steps> robot::RobotThread::Script OnTestDialog(Steps steps)
{
    return [steps](std::string* failure) {
        HWND dlg = robot::WaitWindow(GetCurrentProcessId(), "#32770", TEST_DIALOG_CAPTION, kWaitMs, failure);
        return dlg && steps(dlg, failure);
    };
}

bool Fail(std::string* failure, const char* what)
{
    *failure = what;
    return false;
}

TEST(RobotDialog, DrivesEditCheckBoxRadioButtonsAndButtons)
{
    std::string initialFolder, folderAfterCustom, readBack;
    bool checkedBefore = true, pressedDisabled = true;
    robot::RobotThread robot(OnTestDialog([&](HWND dlg, std::string* failure) {
        initialFolder = robot::GetItemText(dlg, IDC_FOLDER);
        checkedBefore = robot::IsChecked(dlg, IDC_DESKTOP_ICON);
        if (!robot::SetCheck(dlg, IDC_CUSTOM, true)) {
            return Fail(failure, "SetCheck(IDC_CUSTOM) failed");
        }
        // The click's handler fills in the folder; it has run before the dialog
        // answers the next message of the robot.
        folderAfterCustom = robot::GetItemText(dlg, IDC_FOLDER);
        if (!robot::SetEditText(dlg, IDC_FOLDER, kNewFolder)) {
            return Fail(failure, "SetEditText failed");
        }
        readBack = robot::GetItemText(dlg, IDC_FOLDER);
        if (!robot::SetCheck(dlg, IDC_DESKTOP_ICON, true)) {
            return Fail(failure, "SetCheck(IDC_DESKTOP_ICON) failed");
        }
        pressedDisabled = robot::PressButton(dlg, IDC_BROWSE);
        return robot::PressButton(dlg, IDC_NEXT) || Fail(failure, "PressButton(IDC_NEXT) failed");
    }));
    TestDialogResult result;
    const INT_PTR ended = RunTestDialog(&result);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;

    EXPECT_EQ(IDC_NEXT, ended);
    EXPECT_TRUE(robot::SameText(kInitialFolder, initialFolder));
    EXPECT_FALSE(checkedBefore);
    EXPECT_TRUE(robot::SameText(kCustomFolder, folderAfterCustom));
    EXPECT_TRUE(robot::SameText(kNewFolder, readBack));
    EXPECT_FALSE(pressedDisabled) << "a disabled button must not be pressed";
    EXPECT_TRUE(robot::SameText(kNewFolder, result.folder));
    EXPECT_TRUE(result.desktopIcon);
    EXPECT_EQ(1, result.desktopIconClicks);
    EXPECT_TRUE(result.custom);
    EXPECT_FALSE(result.typical) << "checking a radio button clears its group";
}

TEST(RobotDialog, SetCheckClicksOnlyWhenTheStateChanges)
{
    bool uncheckUnchecked = false, check = false, uncheck = false;
    robot::RobotThread robot(OnTestDialog([&](HWND dlg, std::string* failure) {
        uncheckUnchecked = robot::SetCheck(dlg, IDC_DESKTOP_ICON, false);
        check = robot::SetCheck(dlg, IDC_DESKTOP_ICON, true);
        uncheck = robot::SetCheck(dlg, IDC_DESKTOP_ICON, false);
        return robot::PressButton(dlg, IDCANCEL) || Fail(failure, "PressButton(IDCANCEL) failed");
    }));
    TestDialogResult result;
    const INT_PTR ended = RunTestDialog(&result);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;

    EXPECT_EQ(IDCANCEL, ended);
    EXPECT_TRUE(uncheckUnchecked);
    EXPECT_TRUE(check);
    EXPECT_TRUE(uncheck);
    EXPECT_EQ(2, result.desktopIconClicks);
    EXPECT_FALSE(result.desktopIcon);
    EXPECT_TRUE(result.typical);
}

TEST(RobotDialog, ClicksAndSentMessagesReachABusyDialogInOrder)
{
    std::string folderAfterClick;
    robot::RobotThread robot(OnTestDialog([&](HWND dlg, std::string* failure) {
        // The first click keeps the dialog's thread busy; the second click and
        // the read wait behind it and must be handled in the order given: the
        // read must see what the click's handler wrote.
        if (!robot::PressButton(dlg, IDC_CHECK_DISK) || !robot::PressButton(dlg, IDC_CUSTOM)) {
            return Fail(failure, "a PressButton failed");
        }
        folderAfterClick = robot::GetItemText(dlg, IDC_FOLDER);
        return robot::PressButton(dlg, IDCANCEL) || Fail(failure, "PressButton(IDCANCEL) failed");
    }));
    TestDialogResult result;
    EXPECT_EQ(IDCANCEL, RunTestDialog(&result));
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_TRUE(robot::SameText(kCustomFolder, folderAfterClick));
}

TEST(RobotDialog, RefusesControlsAUserCouldNotUse)
{
    bool setLabel = true, setDisabled = true, checkMissing = true, pressMissing = true;
    robot::RobotThread robot(OnTestDialog([&](HWND dlg, std::string* failure) {
        setLabel = robot::SetEditText(dlg, IDC_DESKTOP_ICON, "x");  // not an edit
        setDisabled = robot::SetCheck(dlg, IDC_BROWSE, true);
        checkMissing = robot::SetCheck(dlg, 4242, true);
        pressMissing = robot::PressButton(dlg, 4242);
        return robot::PressButton(dlg, IDCANCEL) || Fail(failure, "PressButton(IDCANCEL) failed");
    }));
    TestDialogResult result;
    EXPECT_EQ(IDCANCEL, RunTestDialog(&result));
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_FALSE(setLabel);
    EXPECT_FALSE(setDisabled);
    EXPECT_FALSE(checkMissing);
    EXPECT_FALSE(pressMissing);
    EXPECT_EQ(0, result.desktopIconClicks);
}

TEST(RobotDialog, ADialogIsNotTakenForAMessageBox)
{
    bool isBox = true;
    HWND foundBox = reinterpret_cast<HWND>(1);
    robot::RobotThread robot(OnTestDialog([&](HWND dlg, std::string* failure) {
        isBox = robot::IsMessageBox(dlg);
        foundBox = robot::WaitMessageBox(GetCurrentProcessId(), 200, nullptr, nullptr);
        return robot::PressButton(dlg, IDCANCEL) || Fail(failure, "PressButton(IDCANCEL) failed");
    }));
    TestDialogResult result;
    RunTestDialog(&result);
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;
    EXPECT_FALSE(isBox);
    EXPECT_EQ(nullptr, foundBox);
}

}  // namespace
