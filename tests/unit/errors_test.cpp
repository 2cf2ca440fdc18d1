// Error reporting as the user sees it (the display step's boxes) and as
// callers use it (collecting frames, the first error wins, handing outward).
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/errreport.h"
#include "base/msgbox.h"
#include "box_expect.h"
#include "error_report_env.h"

namespace {

BoxExpectation ErrorBox(const char* text)
{
    return {kTestTitle, text, {IDOK}, IDOK};
}

TEST(ErrorDisplay, MessageBlankLineContextThroughTheThreadWithAnExclamation)
{
    robot::MessageBoxInfo box;
    int result = 0;
    EXPECT_TRUE(RunAnsweringBox([&] { result = ReportError(ERR_USER, "保存できません", "C:\\表\\SHARE.ENV"); },
                                ErrorBox("保存できません\n\nC:\\表\\SHARE.ENV"), &box));
    EXPECT_EQ(-1, result);
    EXPECT_EQ(MB_ICONEXCLAMATION, box.icon);
    EXPECT_EQ(ThreadMsgBoxWindow(), box.owner);
    EXPECT_EQ(0, GetError());  // shown, so no longer held
}

TEST(ErrorDisplay, BlankContextShowsTheMessageAlone)
{
    EXPECT_TRUE(RunAnsweringBox([] { ReportError(ERR_USER, "メッセージだけ", ""); }, ErrorBox("メッセージだけ")));
    EXPECT_TRUE(RunAnsweringBox([] { ReportError(ERR_USER, "メッセージだけ", "   "); }, ErrorBox("メッセージだけ")));
    EXPECT_TRUE(RunAnsweringBox([] { ReportError(ERR_USER, "メッセージだけ", nullptr); }, ErrorBox("メッセージだけ")));
}

TEST(ErrorDisplay, BlankMessageShowsTheContextAlone)
{
    EXPECT_TRUE(RunAnsweringBox([] { ReportError(ERR_USER, "  ", "文脈だけ"); }, ErrorBox("文脈だけ")));
}

TEST(ErrorDisplay, CategoryTextStandsForAMissingMessage)
{
    EXPECT_TRUE(RunAnsweringBox([] { ReportError(ERR_DISKFULL, ERR_MSG_CATEGORY, "D:\\"); },
                                ErrorBox("ディスクの空きが足りません\n\nD:\\")));
    EXPECT_TRUE(RunAnsweringBox([] { ReportErrorCode(ERR_DATA, "金額"); }, ErrorBox("入力データエラー\n\n金額")));
    EXPECT_TRUE(RunAnsweringBox([] { ReportErrorCode(99, "何か"); }, ErrorBox("エラーです\n\n何か")));
}

TEST(ErrorDisplay, OpenErrorAfterNoSuchFileSaysTheFileIsMissing)
{
    const char* path = "C:\\存在しない\\なし.ENV";
    ASSERT_EQ(nullptr, std::fopen(path, "rb"));
    ASSERT_EQ(ENOENT, errno);
    EXPECT_TRUE(RunAnsweringBox([&] { ReportErrorCode(ERR_OPEN, path); },
                                ErrorBox("ファイルまたはディレクトリが見つかりません\n\nC:\\存在しない\\なし.ENV")));

    errno = EACCES;
    EXPECT_TRUE(RunAnsweringBox([&] { ReportErrorCode(ERR_OPEN, path); },
                                ErrorBox("オープンできません\n\nC:\\存在しない\\なし.ENV")));

    // The category's own text as the message ignores errno.
    errno = ENOENT;
    EXPECT_TRUE(RunAnsweringBox([&] { ReportError(ERR_OPEN, ERR_MSG_CATEGORY, path); },
                                ErrorBox("オープンできません\n\nC:\\存在しない\\なし.ENV")));
}

TEST(ErrorDisplay, ReportSysErrorUsesTheSystemTextWithoutNumber)
{
    EXPECT_TRUE(RunAnsweringBox([] { ReportSysError(ERR_SYSTEM, ERROR_SHARING_VIOLATION, "ミューテックスを作成できません"); },
                                ErrorBox("プロセスはファイルにアクセスできません。別のプロセスが使用中です。\n\n"
                                         "ミューテックスを作成できません")));
}

TEST(ErrorDisplay, HookTakesNonFatalErrorsInsteadOfABox)
{
    static std::string s_seen;
    s_seen.clear();
    g_pfnErrorHook = [](int category, const char* context, const char* message) {
        s_seen = std::to_string(category) + "|" + context + "|" + message;
    };
    EXPECT_TRUE(RunWithoutBox([] { ReportErrorText("待ち行列へ", "文脈"); }));
    g_pfnErrorHook = nullptr;
    EXPECT_EQ("8|文脈|待ち行列へ", s_seen);
}

TEST(ErrorFrames, CollectingFrameKeepsTheFirstErrorAndShowsNothing)
{
    ErrorFrame frame;
    EXPECT_TRUE(RunWithoutBox([&] {
        PushErrorFrame(&frame);
        ReportError(ERR_READ, "一つ目", "A.ENV");
        ReportError(ERR_WRITE, "二つ目", "B.ENV", 42);
        EXPECT_EQ(ERR_READ, GetError());
        ErrorFrame info;
        GetErrorInfo(&info);
        EXPECT_EQ(ERR_READ, info.code);
        EXPECT_STREQ("一つ目", info.message);
        EXPECT_STREQ("A.ENV", info.context);
        ClearError();
        EXPECT_EQ(0, GetError());
        PopErrorFrame();
    }));
}

TEST(ErrorFrames, GetErrorAnswersTheDetailBeforeTheCategory)
{
    ErrorFrame frame;
    PushErrorFrame(&frame);
    ReportError(ERR_SYSTEM, "詳細つき", "", 1234);
    EXPECT_EQ(1234, GetError());
    ClearError();
    PopErrorFrame();
}

TEST(ErrorFrames, PoppedErrorIsShownByTheBaseFrame)
{
    ErrorFrame frame;
    PushErrorFrame(&frame);
    ReportError(ERR_WRITE, "書けません", "C:\\DATA");
    EXPECT_TRUE(RunAnsweringBox([] { PopErrorFrame(); }, ErrorBox("書けません\n\nC:\\DATA")));
    EXPECT_EQ(0, GetError());
}

TEST(ErrorFrames, InnerErrorMovesOutwardUnlessTheOuterHoldsOne)
{
    ErrorFrame outer, inner;
    EXPECT_TRUE(RunWithoutBox([&] {
        PushErrorFrame(&outer);
        PushErrorFrame(&inner);
        ReportError(ERR_READ, "内側", "in");
        PopErrorFrame();
        EXPECT_EQ(ERR_READ, GetError());

        PushErrorFrame(&inner);
        ReportError(ERR_WRITE, "もう一つ", "in2");
        PopErrorFrame();
        ErrorFrame info;
        GetErrorInfo(&info);
        EXPECT_STREQ("内側", info.message);
        ClearError();
        PopErrorFrame();
    }));
}

TEST(ErrorFrames, IgnoringFrameDropsErrorsAndShowModeShowsAHeldOne)
{
    ErrorFrame frame;
    PushErrorFrame(&frame);
    EXPECT_EQ(ERRMODE_COLLECT, SetErrorFrameMode(ERRMODE_IGNORE));
    ReportError(ERR_READ, "無視される", "x");
    EXPECT_EQ(0, GetError());
    SetErrorFrameMode(ERRMODE_COLLECT);
    ReportError(ERR_READ, "後で見せる", "y");
    EXPECT_TRUE(RunAnsweringBox([] { SetErrorFrameMode(ERRMODE_SHOW); }, ErrorBox("後で見せる\n\ny")));
    EXPECT_EQ(0, GetError());
    PopErrorFrame();
}

// Over-long texts are cut to 340 bytes, never between the two bytes of a
// double-byte character.
TEST(ErrorFrames, LongTextsAreCutWholeCharacters)
{
    std::string longText = "a";
    for (int i = 0; i < 300; ++i)
        longText += "表";
    ErrorFrame frame;
    PushErrorFrame(&frame);
    ReportError(ERR_USER, longText.c_str(), longText.c_str());
    ErrorFrame info;
    GetErrorInfo(&info);
    ClearError();
    PopErrorFrame();
    EXPECT_EQ(339u, std::strlen(info.message));
    EXPECT_EQ(longText.substr(0, 339), info.message);
    EXPECT_EQ(longText.substr(0, 339), info.context);
}

}  // namespace
