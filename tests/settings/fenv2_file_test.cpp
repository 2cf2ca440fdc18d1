// A settings file on disk. Save: the text goes to path + ".BAK" and then
// takes the file's place in one step, so that a reader never finds the file
// missing or half written; a failed save leaves the file as it was. The lock
// file: an exclusive holder in another process (faults.exe holds the lock
// file without sharing) makes ENV_HOLDLOCK, ENV_LOCK and a locked Save wait
// and then report the sharing violation; readers share the lock, and the last
// one deletes the lock file.
#include <atomic>
#include <functional>
#include <thread>

#include "dazo/filelock.h"
#include "dazo/sharedsec.h"
#include "scratch_test.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

// SHARE.ENV holding [S] k=v, and its lock file.
class SettingsFile : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        m_path = MakeFile("SHARE.ENV", "[S]\r\nk=v\r\n");
        m_lock = m_path + ".lc$";
    }
    std::string m_path, m_lock;
};

TEST_F(SettingsFile, SaveWritesTheWholeTextEvenUnchangedWithTheAttributeAsked)
{
    // file, flags, saved text: nothing written, and another program changed
    // the file in between.
    const struct { std::string file; DWORD flags; std::string saved; } rows[] = {
        {"a=1", ENV_HIDDEN, "a=1\r\n"}, {"\r\n", 0, ""},
    };
    for (const auto& row : rows) {
        std::string path = MakeFile("DARVO5.ENV", row.file);
        FEnv2 env(path.c_str(), row.flags);
        MakeFile("DARVO5.ENV", "changed by another program\r\n");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(1, env.Save()) << robot::Quoted(row.file);
        EXPECT_EQ(row.saved, Exists(path) ? ReadFileBytes(path) : "(no file)") << robot::Quoted(row.file);
        EXPECT_EQ(row.flags == ENV_HIDDEN, (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
        EXPECT_FALSE(Exists(path + ".BAK"));
        DeleteFileA(path.c_str());
    }
}

TEST_F(SettingsFile, FailedSaveLeavesTheFileAndItsAttributesAsTheyWere)
{
    const struct { const char* name; std::function<void()> arrange; Report report; DWORD minMs, maxMs; } rows[] = {
        // The system refuses to replace a read-only file (Windows, after
        // retries) or replaces it and drops the attribute (Wine).
        {"read-only", [&] { SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_READONLY); },
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + m_path + "を削除できません"}, 0, 1000},
        // A folder where the copy should go: access denied, retried for 5 s.
        {".BAK in the way", [&] { CreateDirectoryA((m_path + ".BAK").c_str(), nullptr); },
         {ERR_OPEN2, "アクセスが拒否されました。", "ファイル " + m_path + ".BAK をオープンできません."}, 4500, 8000},
    };
    for (const auto& row : rows) {
        row.arrange();
        DWORD attributes = GetFileAttributesA(m_path.c_str());
        FEnv2 env(m_path.c_str(), ENV_LOCK);
        env.WriteString("S", "k", "new");
        Stopwatch watch;
        EXPECT_EQ(0, env.Save()) << row.name;
        EXPECT_TRUE(watch.Elapsed() >= row.minMs && watch.Elapsed() <= row.maxMs) << row.name << " " << watch.Elapsed();
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
        EXPECT_EQ("[S]\r\nk=v\r\n", ReadFileBytes(m_path)) << row.name;
        EXPECT_EQ(attributes, GetFileAttributesA(m_path.c_str())) << row.name;
        EXPECT_FALSE(Exists(m_lock)) << row.name << ": the failed save kept its lock";
        SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    FEnv2 unread(Path("MISSING.ENV").c_str(), 0);
    TakeReport();
    unread.WriteString("S", "k", "v");
    EXPECT_EQ(0, unread.Save());
    EXPECT_TRUE(Reported(ERR_USER, "読み込みに成功していないので保存はできません", Path("MISSING.ENV")));
    EXPECT_FALSE(Exists(Path("MISSING.ENV")) || Exists(Path("MISSING.ENV.BAK")));
}

TEST_F(SettingsFile, ReaderAlwaysFindsAWholeOldOrNewText)
{
    // Two texts of different sizes, saved in turn while a thread reads the
    // file as fast as it can. The system refuses to replace a file that is
    // open without delete sharing: the saves must wait for the reader.
    const std::string texts[2] = {"[S]\r\nk=A\r\nfill=" + std::string(3000, 'a') + "\r\n",
                                  "[S]\r\nk=B\r\nfill=" + std::string(9000, 'b') + "\r\nend=1\r\n"};
    const std::string path = MakeFile("POLL.ENV", texts[0]);
    FEnv2 env(path.c_str(), 0);
    std::atomic<bool> saving {true};
    int reads = 0;
    std::string torn;  // the first read that found neither text
    // The reader is an FEnv2, which waits out the moment of the replace as
    // the program's other users do. Only a failed read reports (to the test's
    // frame, which fails the test).
    std::thread reader([&] {
        for (; saving; ++reads) {
            FEnv2 copy(path.c_str(), 0);
            std::string text = TextOf(copy);
            if (torn.empty() && text != texts[0] && text != texts[1])
                torn = copy.GetFlags() & ENV_LOADED ? "a text of " + std::to_string(text.size()) + " bytes" : "no text";
            // A moment between reads, in which the saver can replace the file.
            Sleep(1);
        }
    });
    int saves = 0;
    for (Stopwatch watch; watch.Elapsed() < 3500 && !HasFailure(); ++saves) {
        bool toB = saves % 2 == 0;
        env.WriteString("S", "k", toB ? "B" : "A");
        env.WriteString("S", "fill", std::string(toB ? 9000 : 3000, toB ? 'b' : 'a').c_str());
        env.WriteString("S", "end", toB ? "1" : nullptr);
        EXPECT_TRUE(texts[toB] == TextOf(env) && env.Save());
    }
    saving = false;
    reader.join();
    EXPECT_TRUE(env.GetFlags() & ENV_DIRTY) << "Save does not clear the dirty state";
    EXPECT_TRUE(torn.empty() && reads > 0) << torn << "; " << reads << " reads, " << saves << " saves";
    EXPECT_GE(saves, 10);
}

// A held lock waits for a holder in another process and keeps readers out
// until it goes; readers share the lock and keep writers out, and the last
// one to let go deletes the lock file. A wait that runs out reports the
// sharing violation.
TEST_F(SettingsFile, HeldLockKeepsOthersOutAndReadersShareTheLastDeletingIt)
{
    // faults.exe holds the lock file for 1.5 s and leaves it behind, as a
    // crashed program would; the held lock then takes it over.
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(m_lock) + " 1500");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    {
        Stopwatch watch;
        FEnv2 env(m_path.c_str(), ENV_HOLDLOCK, 10000, 100);
        EXPECT_GE(watch.Elapsed(), 500u) << "did not wait for the holder";
        EXPECT_EQ((DWORD)(ENV_HOLDLOCK | ENV_LOADED), env.GetFlags());
        EXPECT_EQ(0u, FEnv2(m_path.c_str(), ENV_LOCK, 300, 100).GetFlags() & ENV_LOADED);
        EXPECT_TRUE(Reported(ERR_READ, m_lock + "の共有違反が発生しました", m_path + "を読み込むことができません"));
        EXPECT_TRUE(env.WriteString("S", "k", "held") && env.Save() && Exists(m_lock));
    }
    EXPECT_FALSE(Exists(m_lock)) << "the holder must delete the lock file";
    EXPECT_EQ("[S]\r\nk=held\r\n", ReadFileBytes(m_path));
    std::string nowhere = Path("NO FOLDER\\SHARE.ENV");
    EXPECT_EQ(0u, FEnv2(nowhere.c_str(), ENV_HOLDLOCK, 1000, 100).GetFlags() & ENV_LOADED);
    EXPECT_TRUE(Reported(ERR_OPEN2, "指定されたパスが見つかりません。", "ファイル " + nowhere + ".lc$ をオープンできません."));

    SafePtr<FileLock> other(new FileLock);
    ASSERT_EQ(1, other->Lock(m_lock.c_str(), FL_SHARED | FL_DELETE, 1000, 100));
    EXPECT_NE(0u, GetFileAttributesA(m_lock.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    FEnv2 reader(m_path.c_str(), ENV_LOCK, 300, 100);
    EXPECT_EQ("held", Lookup(reader, "S", "k"));
    EXPECT_TRUE(Exists(m_lock)) << "deleted while the other reader holds it";
    Stopwatch watch;
    EXPECT_EQ(0u, FEnv2(m_path.c_str(), ENV_HOLDLOCK, 1000, 100).GetFlags() & ENV_LOADED);
    EXPECT_TRUE(watch.Elapsed() >= 1000 && watch.Elapsed() < 5000) << watch.Elapsed();
    EXPECT_TRUE(Reported(ERR_READ, m_lock + "の共有違反が発生しました", m_path + "をロックすることができません"));
    EXPECT_TRUE(reader.WriteString("S", "k", "new") && !reader.Save());
    EXPECT_TRUE(Reported(ERR_WRITE, m_lock + "の共有違反が発生しました", m_path + "へ書き込むことができません"));
    EXPECT_TRUE(ReadFileBytes(m_path) == "[S]\r\nk=held\r\n" && !Exists(m_path + ".BAK"));
    other->Unlock();
    EXPECT_FALSE(Exists(m_lock)) << "the last reader must delete the lock file";
    EXPECT_TRUE(reader.Save() && !Exists(m_lock)) << "a locked save must delete its lock file";
    EXPECT_EQ("[S]\r\nk=new\r\n", ReadFileBytes(m_path));
}

TEST(SettingsSharedSecurity, IsEveryonesFullAccess)
{
    ASSERT_EQ(1, InitSharedSecurity());
    SECURITY_ATTRIBUTES* shared = GetSharedSecurity();
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(shared && InitSharedSecurity() == 1 && GetSharedSecurity() == shared &&
                GetSecurityDescriptorDacl(shared->lpSecurityDescriptor, &present, &acl, &defaulted) && present && acl &&
                acl->AceCount == 1 && GetAce(acl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_TRUE(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ace->Mask == FILE_ALL_ACCESS) << ace->Mask;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPECT_TRUE(EqualSid(&ace->SidStart, everyone));
    FreeSid(everyone);
}

}  // namespace
