// The user lock between processes: the shared block it publishes, the same
// user's second program, another user's block, a block of another layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "testkit/child_process.h"
#include "dazo/userlock.h"

namespace {

constexpr DWORD kWaitMs = 10000;

// An ID of its own for every test, so that tests running side by side in
// other processes never meet.
std::string TestId(const char* name)
{
    return std::string("UserLockTest ") + name + " " + std::to_string(GetCurrentProcessId());
}

struct Block {
    char szId[64];
    uint32_t dwVersion;
    uint32_t dwSize;
    char szUser[64];
};

std::string CurrentUser()
{
    char name[256];
    DWORD size = sizeof(name);
    GetUserNameA(name, &size);
    return name;
}

class UserLock : public ::testing::Test {
protected:
    void TearDown() override { ulFin(); }
};

TEST_F(UserLock, FirstProgramPublishesTheBlockWithItsUserName)
{
    std::string id = TestId("publish");
    ASSERT_EQ(UL_FREE, ulInit(id.c_str()));
    EXPECT_EQ(CurrentUser(), ulGetUser());

    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, ("Global\\Corva UserLock FileMapping " + id).c_str());
    ASSERT_NE(nullptr, mapping);
    auto block = static_cast<const Block*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(Block)));
    ASSERT_NE(nullptr, block);
    EXPECT_STREQ("Corva UserLock ShareDataID", block->szId);
    EXPECT_EQ(500u, block->dwVersion);
    EXPECT_EQ(136u, block->dwSize);
    EXPECT_EQ(CurrentUser(), block->szUser);
    UnmapViewOfFile(block);
    CloseHandle(mapping);

    ulFin();
    EXPECT_EQ(nullptr, OpenFileMappingA(FILE_MAP_READ, FALSE, ("Global\\Corva UserLock FileMapping " + id).c_str()))
        << "the block outlived its last holder";
}

TEST_F(UserLock, SameUsersSecondProgramMayGoOn)
{
    std::string id = TestId("second");
    ASSERT_EQ(UL_FREE, ulInit(id.c_str()));
    ChildProcess child(std::string(USERLOCK_CHILD_EXE) + " \"" + id + "\"");
    DWORD code = 0;
    ASSERT_TRUE(child.Wait(kWaitMs, &code));
    EXPECT_EQ(10u + UL_FREE, code) << child.Stdout();
    EXPECT_NE(std::string::npos, child.Stdout().find("user [" + CurrentUser() + "]"));
}

// A block published without this session's mutex is another session's: its
// user holds the folder.
TEST_F(UserLock, AnotherUsersBlockMeansInUseWithTheirName)
{
    std::string id = TestId("other");
    ChildProcess other(std::string(FAULTS_EXE) + " userlock \"" + id + "\" 経理の山田 500 20000");
    ASSERT_TRUE(other.WaitForOutput("ready", kWaitMs));
    EXPECT_EQ(UL_INUSE, ulInit(id.c_str()));
    EXPECT_STREQ("経理の山田", ulGetUser());
}

TEST_F(UserLock, BlockOfAnotherLayoutVersionIsAnError)
{
    std::string id = TestId("version");
    ChildProcess other(std::string(FAULTS_EXE) + " userlock \"" + id + "\" someone 400 20000");
    ASSERT_TRUE(other.WaitForOutput("ready", kWaitMs));
    EXPECT_EQ(UL_FAILED, ulInit(id.c_str()));
    EXPECT_STREQ("ユーザー排他処理で使う共有メモリのバージョンが一致しません", ulGetErrorText());
    EXPECT_EQ(0u, ulGetError()->dwError);
}

TEST_F(UserLock, IdOf220BytesIsAcceptedAnd221TooLong)
{
    std::string id = TestId("long");
    id.resize(UL_MAXID, 'x');
    EXPECT_EQ(UL_FREE, ulInit(id.c_str()));
    ulFin();
    id += "y";
    EXPECT_EQ(UL_FAILED, ulInit(id.c_str()));
    EXPECT_EQ(UL_DETAIL_IDTOOLONG, ulGetError()->nDetail);
    EXPECT_STREQ("アプリケーションIDが長すぎます", ulGetErrorText());
}

TEST_F(UserLock, SecondInitInOneProcessIsRefused)
{
    ASSERT_EQ(UL_FREE, ulInit(TestId("twice").c_str()));
    EXPECT_EQ(UL_FAILED, ulInit(TestId("twice").c_str()));
    EXPECT_STREQ("既に初期化済みです", ulGetErrorText());
}

TEST_F(UserLock, NoLockNoUser)
{
    EXPECT_STREQ("", ulGetUser());
}

}  // namespace
