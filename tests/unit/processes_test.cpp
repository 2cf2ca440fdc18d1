// What other processes see of the library: the fatal ends, each in a child
// process (the boxes the user sees, the answers they take, how the process
// ends), and the user lock between processes (the shared block it publishes,
// the same user's second program, another user's block and blocks of another
// layout, the length of an ID).
#include <gtest/gtest.h>

#include <cstring>

#include "dazo/userlock.h"
#include "error_report_env.h"
#include "robot/readable_text.h"
#include "robot/robot_gtest.h"
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

TEST(FatalEnds, EachScenarioShowsItsBoxesAndEndsAsItShould)
{
    const std::string retry = "重大なエラー：プロセスはファイルにアクセスできません。別のプロセスが使用中です。(番号：32)\n\n"
                              "C:\\表\\SHARE.ENV\n\n" + kRetryAdvice;
    const std::vector<int> retryButtons = {IDABORT, IDRETRY, IDIGNORE};
    // A failed resource load asks to retry the call itself: Retry loads
    // again (and fails again here), Abort ends the program (for every
    // caller of FatalRetry). The system's text of its error comes first.
    const std::string wrapper = "重大なエラー：*\n\nアイコンソースをロードできません\n\n" + kRetryAdvice;
    const DWORD kNotZero = 0xFFFFFFFF;
    // A box's text may hold "*"; a box without a caption is FatalAppExitA's,
    // of the system's caption and buttons.
    const struct { const char* scenario; std::vector<robot::BoxAnswer> boxes; DWORD exitCode; } rows[] = {
        {"nomem", {{kTestTitle, "ファイル一覧を読み込み中\n\nメモリが足りません", {IDOK}, IDOK}}, 255},
        {"fatal", {{kTestTitle, "致命的なエラー", {IDOK}, IDOK}}, 255},
        // Ignore asks again.
        {"retry", {{kTestTitle, retry, retryButtons, IDIGNORE}, {kTestTitle, retry, retryButtons, IDRETRY}}, IDRETRY},
        {"wrapper", {{kTestTitle, wrapper, retryButtons, IDRETRY}, {kTestTitle, wrapper, retryButtons, IDABORT}}, 255},
        {"assert",
         {{"", "内部エラーが発生しました。ソフトウェアの製造元にお問い合わせになってください。\r\ndazo/Data *\r\nps", {}, IDOK}},
         kNotZero},
        {"assertloop", {{"", "内部エラー Assert ループエラー", {}, IDOK}}, kNotZero},
        {"queued", {{kTestTitle, "待っていたエラー", {IDOK}, IDOK}, {"", "終わります", {}, IDOK}}, kNotZero},
    };
    for (const auto& row : rows) {
        ChildProcess child(std::string(UNIT_CHILD_EXE) + " " + row.scenario);
        for (const robot::BoxAnswer& answer : row.boxes) {
            robot::MessageBoxInfo box;
            std::string failure;
            HWND hwnd = robot::WaitMessageBox(child.Pid(), 10000, &box, &failure);
            ASSERT_NE(nullptr, hwnd) << row.scenario << ": " << failure;
            EXPECT_TRUE(Matches(answer.text, box.text) &&
                        (answer.caption.empty() || (box.caption == answer.caption && box.buttons == answer.buttons)))
                << row.scenario << ": " << robot::Quoted(box.caption) << robot::ButtonList(box.buttons)
                << robot::Quoted(box.text);
            robot::PressButton(hwnd, answer.press);
            robot::WaitGone(hwnd, 10000);
        }
        DWORD code = 0xDEAD;
        EXPECT_TRUE(child.Wait(10000, &code) && (row.exitCode == kNotZero ? code != 0 : code == row.exitCode))
            << row.scenario << ": " << code;
    }
}

// The ID is of the longest length accepted; one byte more is too long.
TEST(UserLock, FirstProgramPublishesTheBlockAndTheSameUsersSecondMayGoOn)
{
    char user[256];
    DWORD size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    // An ID of its own for every test, so that tests running side by side in
    // other processes never meet. Each test runs in a process of its own,
    // which lets its lock go when it ends.
    std::string id = "UserLockTest publish " + std::to_string(GetCurrentProcessId());
    id.resize(UL_MAXID, 'x');
    std::string mappingName = "Global\\Corva UserLock FileMapping " + id;
    EXPECT_STREQ("", ulGetUser());
    EXPECT_EQ(UL_FAILED, ulInit((id + "y").c_str()));
    EXPECT_EQ(UL_DETAIL_IDTOOLONG, ulGetError()->nDetail);
    EXPECT_STREQ("アプリケーションIDが長すぎます", ulGetErrorText());
    ulFin();
    ASSERT_EQ(UL_FREE, ulInit(id.c_str()));
    EXPECT_STREQ(user, ulGetUser());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName.c_str());
    const char* block = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 136));
    ASSERT_TRUE(mapping && block);
    // The ID text, the version 500, the block's size 136, the user's name.
    std::string expected = std::string("Corva UserLock ShareDataID") + std::string(38, '\0') +
                           std::string("\xF4\x01\0\0\x88\0\0\0", 8) + user + std::string(64 - std::strlen(user), '\0');
    EXPECT_EQ(expected, std::string(block, 136));
    UnmapViewOfFile(block);
    CloseHandle(mapping);

    ChildProcess child(std::string(UNIT_CHILD_EXE) + " userlock \"" + id + "\"");
    DWORD code = 0;
    EXPECT_TRUE(child.Wait(10000, &code) && code == 10u + UL_FREE) << code;
    EXPECT_EQ(UL_FAILED, ulInit(id.c_str()));
    EXPECT_STREQ("既に初期化済みです", ulGetErrorText());
    ulFin();
    EXPECT_EQ(nullptr, OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName.c_str())) << "the block outlived its holders";
}

// A block published without this session's mutex is another session's: its
// user holds the folder, unless the block is of another layout.
TEST(UserLock, BlockOfAnotherSessionOnEachRow)
{
    const char* otherLayout = "ユーザー排他処理で使う共有メモリのバージョンが一致しません";
    const struct {
        const char* layout;  // faults.exe's USER VERSION MS [SIZE [IDTEXT]]
        int state;
        const char* text;  // the holder's name, or the error
    } rows[] = {
        {"経理の山田 500 20000", UL_INUSE, "経理の山田"}, {"someone 400 20000", UL_FAILED, otherLayout},
        {"someone 500 20000 137", UL_FAILED, otherLayout},
        {"someone 500 20000 136 \"Corva UserLock ShareDataIX\"", UL_FAILED, otherLayout},
    };
    const std::string id = "UserLockTest other " + std::to_string(GetCurrentProcessId());
    for (const auto& row : rows) {
        ChildProcess other(std::string(FAULTS_EXE) + " userlock \"" + id + "\" " + row.layout);
        ASSERT_TRUE(other.WaitForOutput("ready", 10000)) << row.layout;
        EXPECT_EQ(row.state, ulInit(id.c_str())) << row.layout;
        EXPECT_STREQ(row.text, row.state == UL_INUSE ? ulGetUser() : ulGetErrorText()) << row.layout;
        EXPECT_EQ(0u, ulGetError()->dwError) << row.layout;
        ulFin();
    }
}

}  // namespace
