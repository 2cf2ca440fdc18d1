// The fatal ends, each in a child process: the boxes the user sees, the
// answers they take, and how the process ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error_report_env.h"
#include "robot/readable_text.h"
#include "robot/robot.h"
#include "testkit/child_process.h"

namespace {

// Whether text matches pattern, where one "*" stands for any run of bytes.
bool Matches(const std::string& pattern, const std::string& text)
{
    size_t star = pattern.find('*');
    if (star == std::string::npos)
        return pattern == text;
    size_t tail = pattern.size() - star - 1;
    return text.size() >= star + tail && !text.compare(0, star, pattern, 0, star) &&
           !text.compare(text.size() - tail, tail, pattern, star + 1, tail);
}

const std::string kRetryAdvice =
    "他のアプリケーションを終了して「再試行」を選択することで問題を回避できる場合があります。\n"
    "なるべくそうすることをお勧めします。\n"
    "「中止」を選択するとアプリケーションは終了します。保存されていないデータは失われます。\n"
    "「無視」は選択できません。\n";

struct Box {
    std::string text;          // may hold "*"
    std::vector<int> buttons;  // none: FatalAppExitA's box, of the system's caption and buttons
    int press;
};

TEST(FatalEnds, EachScenarioShowsItsBoxesAndEndsAsItShould)
{
    const std::string retry = "重大なエラー：プロセスはファイルにアクセスできません。別のプロセスが使用中です。(番号：32)\n\n"
                              "C:\\表\\SHARE.ENV\n\n" + kRetryAdvice;
    const std::vector<int> retryButtons = {IDABORT, IDRETRY, IDIGNORE};
    // A failed resource load asks to retry the call itself: Retry loads
    // again (and fails again here), Abort ends the program. The system's
    // text of its error comes first.
    const std::string wrapper = "重大なエラー：*\n\nアイコンソースをロードできません\n\n" + kRetryAdvice;
    const DWORD kNotZero = 0xFFFFFFFF;
    const struct { const char* scenario; std::vector<Box> boxes; DWORD exitCode; } rows[] = {
        {"nomem", {{"ファイル一覧を読み込み中\n\nメモリが足りません", {IDOK}, IDOK}}, 255},
        {"fatal", {{"致命的なエラー", {IDOK}, IDOK}}, 255},
        {"retry", {{retry, retryButtons, IDIGNORE}, {retry, retryButtons, IDRETRY}}, IDRETRY},  // Ignore asks again
        {"retry", {{retry, retryButtons, IDABORT}}, 255},
        {"wrapper", {{wrapper, retryButtons, IDRETRY}, {wrapper, retryButtons, IDABORT}}, 255},
        {"assert",
         {{"内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\ndazo/Data *\r\nps", {}, IDOK}},
         kNotZero},
        {"assertloop", {{"内部エラー Assert ループエラー", {}, IDOK}}, kNotZero},
        {"queued", {{"待っていたエラー", {IDOK}, IDOK}, {"終わります", {}, IDOK}}, kNotZero},
    };
    for (const auto& row : rows) {
        ChildProcess child(std::string(UNIT_CHILD_EXE) + " " + row.scenario);
        for (const Box& expected : row.boxes) {
            robot::MessageBoxInfo box;
            std::string failure;
            HWND hwnd = robot::WaitMessageBox(child.Pid(), 10000, &box, &failure);
            ASSERT_NE(nullptr, hwnd) << row.scenario << ": " << failure;
            EXPECT_TRUE((expected.buttons.empty() || (box.caption == kTestTitle && box.buttons == expected.buttons)) &&
                        Matches(expected.text, box.text))
                << row.scenario << ": " << robot::Quoted(box.caption) << robot::ButtonList(box.buttons)
                << robot::Quoted(box.text);
            robot::PressButton(hwnd, expected.press);
            robot::WaitGone(hwnd, 10000);
        }
        DWORD code = 0xDEAD;
        EXPECT_TRUE(child.Wait(10000, &code) && (row.exitCode == kNotZero ? code != 0 : code == row.exitCode))
            << row.scenario << ": " << code;
    }
}

}  // namespace
