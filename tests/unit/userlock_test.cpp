// The user lock between processes: the shared block it publishes, the same
// user's second program, another user's block and blocks of another layout,
// the length of an ID.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dazo/userlock.h"
#include "testkit/child_process.h"

namespace {

// An ID of its own for every test, so that tests running side by side in
// other processes never meet. Each test runs in a process of its own, which
// lets its lock go when it ends.
std::string TestId(const char* name)
{
    return std::string("UserLockTest ") + name + " " + std::to_string(GetCurrentProcessId());
}

TEST(UserLock, FirstProgramPublishesTheBlockAndTheSameUsersSecondMayGoOn)
{
    char user[256];
    DWORD size = sizeof(user);
    ASSERT_TRUE(GetUserNameA(user, &size));
    std::string id = TestId("publish"), mappingName = "Global\\Corva UserLock FileMapping " + id;
    EXPECT_STREQ("", ulGetUser());
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
    for (const auto& row : rows) {
        std::string id = TestId("other");
        ChildProcess other(std::string(FAULTS_EXE) + " userlock \"" + id + "\" " + row.layout);
        ASSERT_TRUE(other.WaitForOutput("ready", 10000)) << row.layout;
        EXPECT_EQ(row.state, ulInit(id.c_str())) << row.layout;
        EXPECT_STREQ(row.text, row.state == UL_INUSE ? ulGetUser() : ulGetErrorText()) << row.layout;
        EXPECT_EQ(0u, ulGetError()->dwError) << row.layout;
        ulFin();
    }
}

TEST(UserLock, IdOf220BytesIsAcceptedAnd221TooLong)
{
    std::string id = TestId("long");
    id.resize(UL_MAXID, 'x');
    EXPECT_EQ(UL_FREE, ulInit(id.c_str()));
    ulFin();
    EXPECT_EQ(UL_FAILED, ulInit((id + "y").c_str()));
    EXPECT_EQ(UL_DETAIL_IDTOOLONG, ulGetError()->nDetail);
    EXPECT_STREQ("アプリケーションIDが長すぎます", ulGetErrorText());
}

}  // namespace
