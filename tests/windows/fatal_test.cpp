// The fatal ends of the window classes, each in a child process: the text
// of the box the user sees, and the process ends.
#include <windows.h>

#include <gtest/gtest.h>

#include "robot/readable_text.h"
#include "robot/robot.h"
#include "testkit/child_process.h"

namespace {

const std::string kAssert = "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\n";

TEST(WindowFatal, AssertionsAndTheFontNumberEndTheProgramWithTheirText)
{
    const struct {
        const char* scenario;
        std::string text;
    } rows[] = {
        {"eleven-sections", kAssert + "dazo/Doingwnd 400\r\nm_cSec<IW_MAXSEC"},
        {"setsecpos", kAssert + "dazo/Doingwnd 413\r\nm_cSec>0"},
        {"stepsec", kAssert + "dazo/Doingwnd 425\r\nm_cSec>0"},
        {"endsec", kAssert + "dazo/Doingwnd 432\r\nm_cSec>0"},
        {"font", "フォント番号範囲外\n\n致命的なエラー"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario);
        ChildProcess child(std::string(WINDOW_CHILD_EXE) + " " + row.scenario);
        robot::MessageBoxInfo box;
        std::string failure;
        HWND hwnd = robot::WaitMessageBox(child.Pid(), 10000, &box, &failure);
        ASSERT_NE(nullptr, hwnd) << failure;
        EXPECT_EQ(row.text, box.text) << robot::Quoted(box.text);
        robot::PressButton(hwnd, IDOK);
        DWORD code = 0;
        EXPECT_TRUE(child.Wait(10000, &code) && code != 0) << "the program did not end with a failure";
    }
}

}  // namespace
