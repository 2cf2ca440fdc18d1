// How the fixture dialog ended when a robot in another process (the library
// or robot.exe) set its folder, checked its desktop-icon box once and pressed
// Next: the fixture exits with Next's id and writes what the dialog held.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "robot/robot_gtest.h"
#include "test_dialog.h"
#include "testkit/child_process.h"

inline void ExpectFixtureDialogEndedWithNext(ChildProcess& fixture, const std::string& resultFile,
                                             const char* folder, DWORD waitMs)
{
    DWORD exitCode = 0;
    ASSERT_TRUE(fixture.Wait(waitMs, &exitCode));
    EXPECT_EQ(static_cast<DWORD>(IDC_NEXT), exitCode);
    TestDialogResult expected;
    expected.folder = folder;
    expected.desktopIcon = true;
    expected.custom = true;
    expected.desktopIconClicks = 1;
    EXPECT_TRUE(robot::SameText(Describe(expected), ReadFileBytes(resultFile)));
    DeleteFileA(resultFile.c_str());
}
