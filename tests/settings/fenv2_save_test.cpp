// Save: the text goes to path + ".BAK" and then takes the file's place in
// one step. A reader in another process never finds the file missing or
// half written; a failed copy leaves the file as it was; an object whose file
// was not read refuses to save.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dazo/sharedsec.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

using SettingsSave = SettingsTest;

TEST_F(SettingsSave, SaveWritesTheWholeTextAndLeavesNoCopy)
{
    std::string path = MakeFile("DARVO5.ENV", "; kept\r\n[S]\r\nk=1\r\n");
    FEnv2 env(path.c_str(), 0);
    env.WriteString("S", "k", "2");
    env.WriteString("T", "n", "ヴェルンド");
    EXPECT_EQ(1, env.Save());
    EXPECT_EQ("; kept\r\n[S]\r\nk=2\r\n[T]\r\nn=ヴェルンド\r\n", ReadBytes(path));
    EXPECT_FALSE(FileExists(path + ".BAK"));
    EXPECT_TRUE(env.GetFlags() & ENV_DIRTY) << "Save does not clear the dirty state";
}

TEST_F(SettingsSave, SaveWritesEvenWhenNothingChanged)
{
    std::string path = MakeFile("S.ENV", "a=1");
    FEnv2 env(path.c_str(), 0);
    ASSERT_TRUE(WriteBytes(path, "changed by another program\r\n"));
    EXPECT_EQ(1, env.Save());
    EXPECT_EQ("a=1\r\n", ReadBytes(path));
}

TEST_F(SettingsSave, EmptyTextSavesAnEmptyFile)
{
    std::string path = MakeFile("E.ENV", "\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ(1, env.Save());
    bool exists = false;
    EXPECT_EQ("", ReadBytes(path, &exists));
    EXPECT_TRUE(exists);
}

TEST_F(SettingsSave, HiddenFlagDecidesTheSavedFilesAttribute)
{
    std::string path = MakeFile("H.ENV", "a=1\r\n");
    {
        FEnv2 env(path.c_str(), ENV_HIDDEN);
        EXPECT_EQ(1, env.Save());
    }
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    {
        FEnv2 env(path.c_str(), 0);
        EXPECT_EQ(1, env.Save());
    }
    EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ("a=1\r\n", ReadBytes(path));
}

TEST_F(SettingsSave, NotLoadedRefusesToSaveAndWritesNothing)
{
    std::string path = m_folder.File("MISSING.ENV");
    FEnv2 env(path.c_str(), 0);
    TakeError();
    env.WriteString("S", "k", "v");
    EXPECT_EQ(0, env.Save());
    HeldError error = TakeError();
    EXPECT_EQ(ERR_USER, error.code);
    EXPECT_EQ("読み込みに成功していないので保存はできません", error.message);
    EXPECT_EQ(path, error.context);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".BAK"));
}

TEST_F(SettingsSave, FailedCopyLeavesTheSettingsFileUntouched)
{
    std::string text = "[S]\r\nk=old\r\n";
    std::string path = MakeFile("F.ENV", text);
    // A folder where the copy should go: creating the copy fails (access
    // denied, retried for the usual 5 s).
    ASSERT_TRUE(CreateDirectoryA((path + ".BAK").c_str(), nullptr));
    FEnv2 env(path.c_str(), ENV_LOCK);
    env.WriteString("S", "k", "new");
    EXPECT_EQ(0, env.Save());
    HeldError error = TakeError();
    EXPECT_EQ(ERR_OPEN2, error.code);
    EXPECT_EQ("ファイル " + path + ".BAK をオープンできません.", error.context);
    EXPECT_EQ(text, ReadBytes(path));
    EXPECT_FALSE(FileExists(path + ".lc$")) << "the failed save kept its lock";
}

TEST_F(SettingsSave, ReplacementWaitsForAProgramThatHasTheFileOpen)
{
    std::string path = MakeFile("O.ENV", "a=1\r\n");
    FEnv2 env(path.c_str(), 0);
    env.WriteString(nullptr, "a", "2");
    // The system refuses to replace a file that is open without delete
    // sharing; the save waits for it like the other file operations.
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(path) + " 1500");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    DWORD start = GetTickCount();
    EXPECT_EQ(1, env.Save());
    EXPECT_GE(GetTickCount() - start, 500u);
    EXPECT_EQ("a=2\r\n", ReadBytes(path));
}

TEST_F(SettingsSave, ReaderOfAnotherProcessAlwaysFindsAWholeOldOrNewText)
{
    // Two texts of different sizes, saved in turn while another process
    // reads the file as fast as it can.
    std::string textA = "[S]\r\nk=A\r\nfill=" + std::string(3000, 'a') + "\r\n";
    std::string textB = "[S]\r\nk=B\r\nfill=" + std::string(9000, 'b') + "\r\nend=1\r\n";
    std::string path = MakeFile("POLL.ENV", textA);
    std::string fileA = MakeFile("TEXT_A", textA);
    std::string fileB = MakeFile("TEXT_B", textB);

    FEnv2 env(path.c_str(), 0);
    ChildProcess reader(std::string(SETTINGS_CHILD_EXE) + " poll " + Quote(path) + " 4000 " + Quote(fileA) + " " +
                        Quote(fileB));
    int saves = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 3500) {
        bool toB = saves % 2 == 0;
        env.WriteString("S", "k", toB ? "B" : "A");
        env.WriteString("S", "fill", std::string(toB ? 9000 : 3000, toB ? 'b' : 'a').c_str());
        env.WriteString("S", "end", toB ? "1" : nullptr);
        ASSERT_EQ(toB ? textB : textA, TextOf(env));
        ASSERT_EQ(1, env.Save());
        ++saves;
    }
    DWORD code = 1;
    ASSERT_TRUE(reader.Wait(10000, &code));
    std::string report = reader.Stdout();
    EXPECT_NE(std::string::npos, report.find(" missing=0 other=0 ")) << report << saves << " saves";
    EXPECT_EQ(std::string::npos, report.find("reads=0 ")) << report;
    EXPECT_GE(saves, 10) << report;
    std::printf("%d saves; reader: %s", saves, report.c_str());
}

TEST_F(SettingsSave, SharedSecurityIsEveryonesFullAccess)
{
    ASSERT_EQ(1, InitSharedSecurity());
    SECURITY_ATTRIBUTES* shared = GetSharedSecurity();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(1, InitSharedSecurity());
    EXPECT_EQ(shared, GetSharedSecurity());
    EXPECT_TRUE(IsValidSecurityDescriptor(shared->lpSecurityDescriptor));
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(shared->lpSecurityDescriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl);
    ASSERT_EQ(1, acl->AceCount);
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->Header.AceType);
    EXPECT_EQ((DWORD)FILE_ALL_ACCESS, ace->Mask);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    EXPECT_TRUE(EqualSid(&ace->SidStart, everyone));
    FreeSid(everyone);

    // The secure flag passes them to the lock file and the saved file (Wine
    // keeps its own default access list on files, so only the round trip
    // through the calls can be seen here).
    std::string path = MakeFile("SEC.ENV", "a=1\r\n");
    FEnv2 env(path.c_str(), ENV_SECURE | ENV_HOLDLOCK);
    EXPECT_TRUE(env.GetFlags() & ENV_LOADED);
    EXPECT_TRUE(FileExists(path + ".lc$"));
    env.WriteString(nullptr, "a", "2");
    EXPECT_EQ(1, env.Save());
    EXPECT_EQ("a=2\r\n", ReadBytes(path));
}

}  // namespace
