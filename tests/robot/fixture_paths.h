// The exes the robot's self-test starts, as Windows paths (Wine maps drive Z:
// to the Linux root); set by tests/robot/CMakeLists.txt.
#pragma once

constexpr char kFixtureExe[] = ROBOT_FIXTURE_EXE;
constexpr char kRobotCliExe[] = ROBOT_CLI_EXE;
