// The fatal ends, each in a child process: the box the user sees, the
// answers it takes, and how the process ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "testkit/child_process.h"
#include "error_report_env.h"
#include "robot/readable_text.h"
#include "robot/robot.h"
#include "robot/robot_gtest.h"

namespace {

constexpr DWORD kWaitMs = 10000;

class FatalChild {
public:
    explicit FatalChild(const char* scenario) : m_child(std::string(FATAL_CHILD_EXE) + " " + scenario) {}

    // The next box, checked and answered.
    ::testing::AssertionResult Answer(const char* caption, const char* text, std::initializer_list<int> buttons,
                                      int press)
    {
        HWND box = nullptr;
        ::testing::AssertionResult same = robot::NextMessageBoxIs(m_child.Pid(), caption, text, buttons, kWaitMs, &box);
        if (box) {
            robot::PressButton(box, press);
            robot::WaitGone(box, kWaitMs);
        }
        return same;
    }

    // The next box's text, answered with OK.
    std::string NextText()
    {
        robot::MessageBoxInfo info;
        std::string failure;
        HWND box = robot::WaitMessageBox(m_child.Pid(), kWaitMs, &info, &failure);
        if (!box)
            return "(no box: " + failure + ")";
        robot::PressButton(box, IDOK);
        robot::WaitGone(box, kWaitMs);
        return info.text;
    }

    DWORD ExitCode()
    {
        DWORD code = 0xDEAD;
        EXPECT_TRUE(m_child.Wait(kWaitMs, &code)) << "the child did not end";
        return code;
    }

    ChildProcess m_child;
};

const std::string kRetryAdvice =
    "他のアプリケーションを終了して「再試行」を選択することで問題を回避できる場合があります。\n"
    "なるべくそうすることをお勧めします。\n"
    "「中止」を選択するとアプリケーションは終了します。保存されていないデータは失われます。\n"
    "「無視」は選択できません。\n";

TEST(FatalCategory, OutOfMemoryShowsContextThenMessageAndEnds255)
{
    FatalChild child("nomem");
    EXPECT_TRUE(child.Answer(kTestTitle, "ファイル一覧を読み込み中\n\nメモリが足りません", {IDOK}, IDOK));
    EXPECT_EQ(255u, child.ExitCode());
}

TEST(FatalCategory, FatalErrorWithoutContextShowsItsTextAndEnds255)
{
    FatalChild child("fatal");
    EXPECT_TRUE(child.Answer(kTestTitle, "致命的なエラー", {IDOK}, IDOK));
    EXPECT_EQ(255u, child.ExitCode());
}

TEST(FatalRetryDialog, IgnoreComesBackUntilRetry)
{
    FatalChild child("retry");
    const std::string text = "重大なエラー：プロセスはファイルにアクセスできません。別のプロセスが使用中です。(番号：32)\n\n"
                             "C:\\表\\SHARE.ENV\n\n" + kRetryAdvice;
    const auto buttons = {IDABORT, IDRETRY, IDIGNORE};
    EXPECT_TRUE(child.Answer(kTestTitle, text.c_str(), buttons, IDIGNORE));
    EXPECT_TRUE(child.Answer(kTestTitle, text.c_str(), buttons, IDIGNORE));
    EXPECT_TRUE(child.Answer(kTestTitle, text.c_str(), buttons, IDRETRY));
    EXPECT_EQ((DWORD)IDRETRY, child.ExitCode());
}

TEST(FatalRetryDialog, AbortEndsTheProcessWith255)
{
    FatalChild child("retry");
    robot::MessageBoxInfo info;
    std::string failure;
    HWND box = robot::WaitMessageBox(child.m_child.Pid(), kWaitMs, &info, &failure);
    ASSERT_NE(nullptr, box) << failure;
    robot::PressButton(box, IDABORT);
    EXPECT_EQ(255u, child.ExitCode());
}

// A failed resource load asks to retry the call itself: Retry loads again
// (and fails again here), Abort ends the program.
TEST(FatalRetryDialog, WrapperRetriesTheFailedCallUntilAbort)
{
    FatalChild child("wrapper");
    for (int attempt = 0; attempt < 2; ++attempt) {
        robot::MessageBoxInfo info;
        std::string failure;
        HWND box = robot::WaitMessageBox(child.m_child.Pid(), kWaitMs, &info, &failure);
        ASSERT_NE(nullptr, box) << failure;
        EXPECT_EQ(0u, info.text.find("重大なエラー：")) << robot::Quoted(info.text);
        EXPECT_NE(std::string::npos, info.text.find("(番号：18")) << robot::Quoted(info.text);
        const std::string tail = "\n\nアイコンソースをロードできません\n\n" + kRetryAdvice;
        EXPECT_EQ(tail, info.text.substr(info.text.size() - std::min(info.text.size(), tail.size())));
        robot::PressButton(box, attempt == 0 ? IDRETRY : IDABORT);
        robot::WaitGone(box, kWaitMs);
    }
    EXPECT_EQ(255u, child.ExitCode());
}

TEST(Assertion, FailedAssertionNamesSourceLineAndExpression)
{
    FatalChild child("assert");
    std::string text = child.NextText();
    const std::string head = "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\ndazo/Data ";
    EXPECT_EQ(0u, text.find(head)) << robot::Quoted(text);
    EXPECT_EQ("\r\nps", text.substr(text.size() - std::min<size_t>(text.size(), 4)));
    EXPECT_NE(0u, child.ExitCode());
}

TEST(Assertion, AssertionInsideTheDisplayEndsWithTheLoopMessage)
{
    FatalChild child("assertloop");
    EXPECT_EQ("内部エラー Assert ループエラー", child.NextText());
    EXPECT_NE(0u, child.ExitCode());
}

TEST(FatalExitPath, QueuedErrorsComeBeforeTheFinalMessage)
{
    FatalChild child("queued");
    EXPECT_EQ("待っていたエラー", child.NextText());
    EXPECT_EQ("終わります", child.NextText());
    EXPECT_NE(0u, child.ExitCode());
}

}  // namespace
