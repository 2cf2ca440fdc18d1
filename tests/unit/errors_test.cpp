// Error reporting as the user sees it (the display step's boxes) and as
// callers use it (collecting frames, the first error wins, handing outward).
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "box_expect.h"
#include "error_report_env.h"

namespace {

// A collecting frame holding one error, for the rows that show it later.
ErrorFrame s_held;
void Hold(int category, const char* message, const char* context)
{
    PushErrorFrame(&s_held);
    ReportError(category, message, context);
}

TEST(ErrorDisplay, EachReportShowsItsBoxThroughTheThreadWithAnExclamation)
{
    const char* path = "C:\\存在しない\\なし.ENV";
    const struct {
        const char* name;
        std::function<int()> report;
        const char* text;
        std::function<void()> arrange = nullptr;
        bool popAfter = false;
    } rows[] = {
        {"message and context", [] { return ReportError(ERR_USER, "保存できません", "C:\\表\\SHARE.ENV"); },
         "保存できません\n\nC:\\表\\SHARE.ENV"},
        {"empty context", [] { return ReportError(ERR_USER, "メッセージだけ", ""); }, "メッセージだけ"},
        {"blank context", [] { return ReportError(ERR_USER, "メッセージだけ", "   "); }, "メッセージだけ"},
        {"no context", [] { return ReportError(ERR_USER, "メッセージだけ", nullptr); }, "メッセージだけ"},
        {"blank message", [] { return ReportError(ERR_USER, "  ", "文脈だけ"); }, "文脈だけ"},
        {"category text", [] { return ReportError(ERR_DISKFULL, ERR_MSG_CATEGORY, "D:\\"); },
         "ディスクの空きが足りません\n\nD:\\"},
        {"code", [] { return ReportErrorCode(ERR_DATA, "金額"); }, "入力データエラー\n\n金額"},
        {"unknown code", [] { return ReportErrorCode(99, "何か"); }, "エラーです\n\n何か"},
        {"open after ENOENT", [&] { return errno = ENOENT, ReportErrorCode(ERR_OPEN, path); },
         "ファイルまたはディレクトリが見つかりません\n\nC:\\存在しない\\なし.ENV"},
        {"open after EACCES", [&] { return errno = EACCES, ReportErrorCode(ERR_OPEN, path); },
         "オープンできません\n\nC:\\存在しない\\なし.ENV"},
        {"category text ignores errno", [&] { return errno = ENOENT, ReportError(ERR_OPEN, ERR_MSG_CATEGORY, path); },
         "オープンできません\n\nC:\\存在しない\\なし.ENV"},
        {"system error", [] { return ReportSysError(ERR_SYSTEM, ERROR_SHARING_VIOLATION, "ミューテックスを作成できません"); },
         "プロセスはファイルにアクセスできません。別のプロセスが使用中です。\n\nミューテックスを作成できません"},
        {"popped frame", [] { return PopErrorFrame(), -1; }, "書けません\n\nC:\\DATA",
         [] { Hold(ERR_WRITE, "書けません", "C:\\DATA"); }},
        {"frame set to show", [] { return SetErrorFrameMode(ERRMODE_SHOW), -1; }, "後で見せる\n\ny",
         [] { Hold(ERR_READ, "後で見せる", "y"); }, true},
    };
    for (const auto& row : rows) {
        if (row.arrange)
            row.arrange();
        robot::MessageBoxInfo box;
        int result = 0;
        EXPECT_TRUE(RunAnsweringBox([&] { result = row.report(); }, {kTestTitle, row.text, {IDOK}, IDOK}, &box)) << row.name;
        EXPECT_EQ(-1, result) << row.name;
        EXPECT_EQ(MB_ICONEXCLAMATION, box.icon) << row.name;
        EXPECT_EQ(ThreadMsgBoxWindow(), box.owner) << row.name;
        EXPECT_EQ(0, GetError()) << row.name << ": shown, so no longer held";
        if (row.popAfter)
            PopErrorFrame();
    }
}

TEST(ErrorDisplay, HookTakesNonFatalErrorsInsteadOfABox)
{
    static std::string s_seen;
    g_pfnErrorHook = [](int category, const char* context, const char* message) {
        s_seen = std::to_string(category) + "|" + context + "|" + message;
    };
    EXPECT_TRUE(RunWithoutBox([] { ReportErrorText("待ち行列へ", "文脈"); }));
    g_pfnErrorHook = nullptr;
    EXPECT_EQ("8|文脈|待ち行列へ", s_seen);
}

TEST(ErrorFrames, CollectingFramesKeepTheFirstErrorAndHandItOutward)
{
    ErrorFrame outer, inner, info;
    EXPECT_TRUE(RunWithoutBox([&] {
        PushErrorFrame(&outer);
        PushErrorFrame(&inner);
        ReportError(ERR_READ, "一つ目", "A.ENV", 1234);
        ReportError(ERR_WRITE, "二つ目", "B.ENV");
        EXPECT_EQ(1234, GetError()) << "the detail before the category";
        PopErrorFrame();
        PushErrorFrame(&inner);
        ReportError(ERR_WRITE, "もう一つ", "in2");
        PopErrorFrame();  // the outer frame holds one already
        GetErrorInfo(&info);
        EXPECT_EQ(ERR_READ, info.code);
        EXPECT_STREQ("一つ目", info.message);
        EXPECT_STREQ("A.ENV", info.context);
        ClearError();
        EXPECT_EQ(0, GetError());
        EXPECT_EQ(ERRMODE_COLLECT, SetErrorFrameMode(ERRMODE_IGNORE));
        ReportError(ERR_READ, "無視される", "x");
        EXPECT_EQ(0, GetError());
        PopErrorFrame();
    }));
}

// Over-long texts are cut to 340 bytes, never between the two bytes of a
// double-byte character.
TEST(ErrorFrames, LongTextsAreCutWholeCharacters)
{
    std::string longText = "a";
    for (int i = 0; i < 300; ++i)
        longText += "表";
    ErrorFrame frame, info;
    PushErrorFrame(&frame);
    ReportError(ERR_USER, longText.c_str(), longText.c_str());
    GetErrorInfo(&info);
    ClearError();
    PopErrorFrame();
    EXPECT_EQ(longText.substr(0, 339), info.message);
    EXPECT_EQ(longText.substr(0, 339), info.context);
}

// The system shows no critical-error boxes of its own for missing disks and
// files: the program's messages say it.
TEST(ErrorStartUp, SetsTheErrorMode)
{
    EXPECT_EQ((UINT)(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), GetErrorMode());
}

}  // namespace
