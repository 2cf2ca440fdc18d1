// BoxRecorder lists the message boxes of one process in order, each once.
#include <gtest/gtest.h>

#include "fixture_paths.h"
#include "testkit/child_process.h"
#include "fixture_texts.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"
#include "robot/robot_thread.h"

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr char kFirstText[] = "一つ目の表示です。";
constexpr char kSecondText[] = "二つ目：ソフトの表示能力";

TEST(RobotRecorder, RecordsTwoBoxesShownOneAfterTheOtherInOrder)
{
    robot::BoxRecorder recorder(GetCurrentProcessId());
    size_t recordedWhileFirstWasUp = 0;
    robot::RobotThread robot([&](std::string* failure) {
        for (size_t count = 1; count <= 2; ++count) {
            HWND box = robot::WaitMessageBox(GetCurrentProcessId(), kWaitMs, nullptr, failure);
            if (!box)
                return false;
            if (!recorder.WaitForBoxes(count, kWaitMs)) {
                *failure = "box " + std::to_string(count) + " was not recorded";
                return false;
            }
            if (count == 1) {
                // Several polls see the box: it must still be recorded once.
                Sleep(5 * robot::kPollMs);
                recordedWhileFirstWasUp = recorder.Boxes().size();
            }
            if (!robot::PressButton(box, IDOK) || !robot::WaitGone(box, kWaitMs)) {
                *failure = "could not close box " + std::to_string(count);
                return false;
            }
        }
        return true;
    });
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, kFirstText, kBoxCaption, MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, kSecondText, kBoxCaption, MB_OKCANCEL | MB_ICONHAND));
    std::string failure;
    ASSERT_TRUE(robot.Join(&failure)) << failure;

    EXPECT_EQ(1u, recordedWhileFirstWasUp);
    const std::vector<robot::MessageBoxInfo> boxes = recorder.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_TRUE(robot::SameText(kBoxCaption, boxes[0].caption));
    EXPECT_TRUE(robot::SameText(kFirstText, boxes[0].text));
    EXPECT_EQ(std::vector<int> {IDOK}, boxes[0].buttons);
    EXPECT_EQ(MB_ICONEXCLAMATION, boxes[0].icon);
    EXPECT_TRUE(robot::SameText(kBoxCaption, boxes[1].caption));
    EXPECT_TRUE(robot::SameText(kSecondText, boxes[1].text));
    EXPECT_EQ((std::vector<int> {IDOK, IDCANCEL}), boxes[1].buttons);
    EXPECT_EQ(MB_ICONHAND, boxes[1].icon);
}

TEST(RobotRecorder, RecordsOnlyTheBoxesOfItsProcess)
{
    ChildProcess child(Quote(kFixtureExe) + " box");
    ASSERT_TRUE(child.Started());
    robot::BoxRecorder ownBoxes(GetCurrentProcessId());
    robot::BoxRecorder childBoxes(child.Pid());
    std::string failure;
    HWND box = robot::WaitMessageBox(child.Pid(), kWaitMs, nullptr, &failure);
    ASSERT_NE(nullptr, box) << failure;

    EXPECT_TRUE(childBoxes.WaitForBoxes(1, kWaitMs));
    EXPECT_FALSE(ownBoxes.WaitForBoxes(1, 200));
    ASSERT_EQ(1u, childBoxes.Boxes().size());
    EXPECT_TRUE(robot::SameText(kBoxText, childBoxes.Boxes()[0].text));
    EXPECT_TRUE(robot::PressButton(box, IDCANCEL));
    DWORD exitCode = 0;
    EXPECT_TRUE(child.Wait(kWaitMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDCANCEL), exitCode);
}

}  // namespace
