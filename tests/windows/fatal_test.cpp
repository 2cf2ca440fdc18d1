// The fatal ends of the window classes, each in a child process: the box the
// user sees, and the process ends.
#include <windows.h>

#include <gtest/gtest.h>

#include "error_report_env.h"
#include "robot/robot_gtest.h"
#include "testkit/child_process.h"

namespace {

const std::string kAssert = "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n";

TEST(WindowFatal, AssertionsAndTheFontNumberEndTheProgramWithTheirText)
{
    const struct { const char* scenario; const char* caption; std::string text; } rows[] = {
        {"eleven-sections", "エラー", kAssert + "dazo/Doingwnd 400\r\nm_cSec<IW_MAXSEC"},
        {"setsecpos", "エラー", kAssert + "dazo/Doingwnd 413\r\nm_cSec>0"},
        {"stepsec", "エラー", kAssert + "dazo/Doingwnd 425\r\nm_cSec>0"},
        {"endsec", "エラー", kAssert + "dazo/Doingwnd 432\r\nm_cSec>0"},
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
