// The lock file between real processes: an exclusive holder (faults.exe
// holds the lock file without sharing) makes ENV_HOLDLOCK, ENV_LOCK and a
// locked Save wait and then report the sharing violation; readers of two
// processes share the lock; whoever lets go last deletes the lock file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dazo/filelock.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

constexpr DWORD kReadyMs = 10000;

class SettingsLock : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        m_path = MakeFile("SHARE.ENV", "[S]\r\nk=v\r\n");
        m_lock = m_path + ".lc$";
    }

    // faults.exe holding the lock file alone for ms.
    std::string HoldExclusive(DWORD ms) const
    {
        return std::string(FAULTS_EXE) + " hold-file " + Quote(m_lock) + " " + std::to_string(ms);
    }
    std::string Child(const std::string& args) const { return std::string(SETTINGS_CHILD_EXE) + " " + args; }

    std::string m_path;
    std::string m_lock;
};

TEST_F(SettingsLock, HoldLockWaitsThenReportsTheSharingViolation)
{
    ChildProcess holder(HoldExclusive(20000));
    ASSERT_TRUE(holder.WaitForOutput("ready", kReadyMs));
    DWORD start = GetTickCount();
    FEnv2 env(m_path.c_str(), ENV_HOLDLOCK, 1000, 100);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_FALSE(env.GetFlags() & ENV_LOADED);
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LT(elapsed, 5000u);
    HeldError error = TakeError();
    EXPECT_EQ(ERR_READ, error.code);
    EXPECT_EQ(m_lock + "の共有違反が発生しました", error.message);
    EXPECT_EQ(m_path + "をロックすることができません", error.context);
    EXPECT_EQ("<missing>", Lookup(env, "S", "k"));
}

TEST_F(SettingsLock, HoldLockSucceedsWhenTheHolderLetsGoInTime)
{
    ChildProcess holder(HoldExclusive(1500));
    ASSERT_TRUE(holder.WaitForOutput("ready", kReadyMs));
    DWORD start = GetTickCount();
    {
        FEnv2 env(m_path.c_str(), ENV_HOLDLOCK, 10000, 100);
        EXPECT_GE(GetTickCount() - start, 500u) << "did not wait for the holder";
        EXPECT_EQ((DWORD)(ENV_HOLDLOCK | ENV_LOADED), env.GetFlags());
        EXPECT_EQ("v", Lookup(env, "S", "k"));

        // Held until destruction: another process's reader cannot get in.
        ChildProcess reader(Child("read " + Quote(m_path) + " 300"));
        DWORD code = 1;
        ASSERT_TRUE(reader.Wait(kReadyMs, &code));
        EXPECT_EQ("loaded=0 k=[] error=[" + m_lock + "の共有違反が発生しました|" + m_path +
                      "を読み込むことができません]\r\n",
                  reader.Stdout());
        EXPECT_EQ(1, env.WriteString("S", "k", "held"));
        EXPECT_EQ(1, env.Save());
        EXPECT_TRUE(FileExists(m_lock));
    }
    EXPECT_FALSE(FileExists(m_lock)) << "the holder must delete the lock file";
    EXPECT_EQ("[S]\r\nk=held\r\n", ReadBytes(m_path));
}

TEST_F(SettingsLock, ReaderWaitsThenReportsTheSharingViolation)
{
    ChildProcess holder(HoldExclusive(20000));
    ASSERT_TRUE(holder.WaitForOutput("ready", kReadyMs));
    FEnv2 env(m_path.c_str(), ENV_LOCK, 500, 100);
    EXPECT_FALSE(env.GetFlags() & ENV_LOADED);
    HeldError error = TakeError();
    EXPECT_EQ(ERR_READ, error.code);
    EXPECT_EQ(m_lock + "の共有違反が発生しました", error.message);
    EXPECT_EQ(m_path + "を読み込むことができません", error.context);
}

TEST_F(SettingsLock, LockedSaveWaitsThenReportsAndLeavesTheFile)
{
    FEnv2 env(m_path.c_str(), ENV_LOCK, 500, 100);
    ASSERT_TRUE(env.GetFlags() & ENV_LOADED);
    EXPECT_FALSE(FileExists(m_lock)) << "the read lock outlived the read";
    env.WriteString("S", "k", "new");
    {
        ChildProcess holder(HoldExclusive(20000));
        ASSERT_TRUE(holder.WaitForOutput("ready", kReadyMs));
        EXPECT_EQ(0, env.Save());
        HeldError error = TakeError();
        EXPECT_EQ(ERR_WRITE, error.code);
        EXPECT_EQ(m_lock + "の共有違反が発生しました", error.message);
        EXPECT_EQ(m_path + "へ書き込むことができません", error.context);
        EXPECT_EQ("[S]\r\nk=v\r\n", ReadBytes(m_path));
        EXPECT_FALSE(FileExists(m_path + ".BAK"));
    }
    // The holder has ended (its lock file stays behind, as a crashed
    // program's would); now the save goes through and removes it.
    EXPECT_EQ(1, env.Save());
    EXPECT_EQ("[S]\r\nk=new\r\n", ReadBytes(m_path));
    EXPECT_FALSE(FileExists(m_lock));
}

TEST_F(SettingsLock, ReadersShareAndTheLastOneDeletesTheLockFile)
{
    ChildProcess other(Child("hold-shared " + Quote(m_lock) + " 3000"));
    ASSERT_TRUE(other.WaitForOutput("ready", kReadyMs));

    DWORD start = GetTickCount();
    FEnv2 reader(m_path.c_str(), ENV_LOCK, 2000, 100);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_TRUE(reader.GetFlags() & ENV_LOADED);
    EXPECT_EQ("v", Lookup(reader, "S", "k"));
    EXPECT_TRUE(FileExists(m_lock)) << "deleted while the other reader holds it";

    // A writer must wait for the reader of the other process.
    FEnv2 writer(m_path.c_str(), ENV_HOLDLOCK, 300, 100);
    EXPECT_FALSE(writer.GetFlags() & ENV_LOADED);
    EXPECT_EQ(m_lock + "の共有違反が発生しました", TakeError().message);

    DWORD code = 1;
    ASSERT_TRUE(other.Wait(kReadyMs, &code));
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(FileExists(m_lock)) << "the last reader must delete the lock file";
}

TEST_F(SettingsLock, ReaderOfAnotherProcessSharesOurLock)
{
    SafePtr<FileLock> ours(new FileLock);
    ASSERT_EQ(1, ours->Lock(m_lock.c_str(), FL_SHARED | FL_DELETE, 1000, 100));
    ChildProcess reader(Child("read " + Quote(m_path) + " 2000"));
    DWORD code = 1;
    ASSERT_TRUE(reader.Wait(kReadyMs, &code));
    EXPECT_EQ("loaded=1 k=[v] error=[]\r\n", reader.Stdout());
    EXPECT_TRUE(FileExists(m_lock)) << "the other reader deleted the lock file we hold";
    ours->Unlock();
    EXPECT_FALSE(FileExists(m_lock));
}

TEST_F(SettingsLock, LockFailureOfAnotherKindIsReportedByTheLock)
{
    std::string path = m_folder.File("NO FOLDER\\SHARE.ENV");
    FEnv2 env(path.c_str(), ENV_HOLDLOCK, 1000, 100);
    EXPECT_FALSE(env.GetFlags() & ENV_LOADED);
    HeldError error = TakeError();
    EXPECT_EQ(ERR_OPEN2, error.code);
    EXPECT_EQ("ファイル " + path + ".lc$ をオープンできません.", error.context);
}

TEST_F(SettingsLock, FileLockStatesAndRelocking)
{
    SafePtr<FileLock> lock(new FileLock);
    EXPECT_FALSE(lock->IsLocked());
    ASSERT_EQ(1, lock->Lock(m_lock.c_str(), FL_DELETE, 1000, 100));
    EXPECT_NE(0u, GetFileAttributesA(m_lock.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ((DWORD)FL_DELETE, lock->GetFlags());
    EXPECT_EQ(1, lock->Lock(m_lock.c_str(), FL_SHARED, 1000, 100)) << "a held lock answers at once";
    EXPECT_EQ((DWORD)FL_DELETE, lock->GetFlags());

    SafePtr<FileLock> second(new FileLock);
    EXPECT_EQ(0, second->Lock(m_lock.c_str(), FL_SHARED, 200, 50));
    EXPECT_EQ((DWORD)(FL_SHARED | FL_WAITING), second->GetFlags());
    lock = SafePtr<FileLock>();
    EXPECT_FALSE(FileExists(m_lock)) << "the destructor unlocks";

    // Without FL_DELETE the file stays.
    ASSERT_EQ(1, second->Lock(m_lock.c_str(), FL_SHARED, 200, 50));
    EXPECT_EQ((DWORD)FL_SHARED, second->GetFlags());
    second->Unlock();
    EXPECT_TRUE(FileExists(m_lock));
}

}  // namespace
