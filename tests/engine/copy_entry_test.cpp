// One file-list entry at a time against real faults: read-only targets,
// damaged and truncated compressed sources, a target held by faults.exe, a
// source that appears while the disk prompt is open, a full drive (met by the
// plain copy helper and a settings save as well). The robot
// answers every box; reports stay in the fixture's collecting frame.
#include <cstdlib>

#include "dazo/Func.h"
#include "dazo/fenv2.h"
#include "error_report_env.h"
#include "scratch_test.h"
#include "robot/robot_gtest.h"
#include "setup/copyengine.h"
#include "setup/copyreport.h"
#include "setup/filelist.h"
#include "testkit/child_process.h"
#include "testkit/file_facts.h"

namespace {

const std::string kInUse = " へ書き込み出来ません。\n実行中のアプリケーションを全て終了して [再試行] をすると書き込みできるかもしれません。";

// The stop question, answered with press.
robot::BoxAnswer Stop(int press) { return {kTestTitle, "セットアップを中止しますか？", {IDYES, IDNO}, press}; }

class EngineCopy : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        m_src = MakeFolder("SRC") + "\\";
        m_app = MakeFolder("APP") + "\\";
    }

    // The entry of a list line "disk,compressed,source,target" into m_app.
    int Run(const std::string& fields)
    {
        FileListEntry entry;
        ParseListLine((fields + "," + m_app).c_str(), &entry, "", "");
        return CopyListEntry(entry, m_src.c_str(), nullptr);
    }

    std::string MakeSource(const std::string& name, const std::string& bytes)
    {
        return MakeFile(m_src.substr(Path().size()) + name, bytes);
    }

    std::string m_src, m_app;
};

// The installed file's time: the install runs check it.
TEST_F(EngineCopy, ReadOnlyTargetIsReplacedOnlyBySourceThatExpandsInFullAndDeletedByItsEntry)
{
    const std::string plain = ReadFileBytes(PLAIN_FIXTURE), packed = ReadFileBytes(PACKED_FIXTURE);
    std::string damaged = packed, otherMethod = packed;
    damaged.replace(packed.size() / 2, 64, 64, '\0');
    otherMethod[8] = 'B';
    const struct { const char* name; int compressed; std::string source; bool installs; } rows[] = {
        {"plain", 0, plain, true}, {"compressed", 1, packed, true}, {"marked compressed, read plain", 1, plain, true},
        {"truncated", 1, packed.substr(0, packed.size() / 2), false}, {"damaged", 1, damaged, false},
        {"header cut off", 1, packed.substr(0, 12), false}, {"unknown method", 1, otherMethod, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string source = MakeSource("DATA.TS_", row.source);
        std::string target = MakeFile("APP\\DATA.TSV", "old");
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(row.installs ? 1 : 0, Run("1," + std::to_string(row.compressed) + ",DATA.TS_,DATA.TSV"));
        EXPECT_EQ(row.installs ? plain : "old", ReadFileBytes(target));
        EXPECT_EQ(std::vector<std::string> {"DATA.TSV"}, FolderEntries(m_app));
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(row.installs ? 0u : FILE_ATTRIBUTE_READONLY,
                  data.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        const Report failure = row.installs ? Report {} : Report {ERR_READ, "読み込みに失敗", source};
        EXPECT_TRUE(Reported(failure.category, failure.message, failure.context));
    }
    // The last row left the read-only target: a deletion entry removes it, and
    // finds a missing one gone, without a box for the robot to answer.
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { EXPECT_EQ(2, Run("1,0,,DATA.TSV") + Run("1,0, ,NONE.DLL")); }, {}));
    EXPECT_FALSE(Exists(m_app + "DATA.TSV"));
}

TEST_F(EngineCopy, HeldTargetIsAskedAboutUntilItsHolderLetsGo)
{
    MakeSource("NEW.DLL", "new");
    std::string target = MakeFile("APP\\NEW.DLL", "old");
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(target) + " 3000");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { EXPECT_EQ(1, Run("1,0,NEW.DLL,NEW.DLL")); },
        {{kTestTitle, target + kInUse, {IDRETRY, IDCANCEL}, IDCANCEL}, Stop(IDNO),
         {kTestTitle, target + kInUse, {IDRETRY, IDCANCEL}, IDRETRY, [&](HWND) { DWORD code; holder.Wait(10000, &code); }}}));
    EXPECT_EQ("new", ReadFileBytes(target));
}

TEST_F(EngineCopy, DiskPromptShowsAgainUntilTheFileIsThereAndADriveNotReadyIsNamed)
{
    // With the fixed text, more than a prompt area of 200 bytes could take;
    // the compressed source's path is more than LZOpenFileA takes.
    m_src = MakeFolder("ヴェルンド出納帳のセットアップディスク第二巻から読み込むソースファイルを置いたフォルダ") + "\\";
    std::string disk2 = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスク 2 を " + m_src + " にセットして [OK] ボタンを押して下さい";
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { EXPECT_EQ(1, Run("2,1,DARVO5.EX_,DARVO5.EXE")); },
        {{"DARVO5.EX_のコピー", disk2, {IDOK, IDCANCEL}, IDCANCEL}, Stop(IDNO),
         {"DARVO5.EX_のコピー", disk2, {IDOK, IDCANCEL}, IDOK,
          [&](HWND) { MakeSource("DARVO5.EX_", ReadFileBytes(PACKED_FIXTURE)); }}}));
    EXPECT_EQ(ReadFileBytes(PLAIN_FIXTURE), ReadFileBytes(m_app + "DARVO5.EXE"));

    std::string noNumber = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスクを " + m_src + " にセットして [OK] ボタンを押して下さい";
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { EXPECT_EQ(0, Run("0,0,X.DLL,X.DLL")); },
                                         {{"X.DLLのコピー", noNumber, {IDOK, IDCANCEL}, IDCANCEL}, Stop(IDYES)}));

    // A drive without a medium cannot be made under Wine (a missing folder is
    // "not found"): the not-ready text is checked where the report is made.
    EXPECT_EQ(COPY_FAILED, ReportReadFailure(ERROR_NOT_READY, "A:\\DISK1\\DARVO5.EX_"));
    EXPECT_TRUE(Reported(ERR_READ, "ドライブ A: の準備ができていません.",
                         "ファイル[A:\\DISK1\\DARVO5.EX_]を読み込むことが出来ません"));
}

// Run through tests/files/tiny_drive.sh, which maps a 64 KB drive: the
// engine, the plain copy helper and a settings save each meet the full drive
// and keep the old file.
TEST_F(EngineCopy, FullDriveIsAWriteFailureAndKeepsTheOldFiles)
{
    const char* drive = std::getenv("DARVO_TINY_DRIVE");
    ASSERT_TRUE(drive && *drive) << "run through tiny_drive.sh";
    m_app = std::string(drive) + "\\";
    const std::string big(256 * 1024, 'x'), full = "ディスクに十分な空き領域がありません。";
    std::string source = MakeSource("BIG.DAT", big), copy = m_app + "大きい.dat", env = m_app + "設定.ENV";
    ASSERT_TRUE(CopyFileA(MakeFile("OLD.DAT", "old").c_str(), (m_app + "表.DAT").c_str(), FALSE));
    EXPECT_EQ(0, Run("1,0,BIG.DAT,表.DAT"));
    EXPECT_TRUE(Reported(ERR_WRITE, full, "ファイル[" + m_app + "表.DAT]へ書き込むことが出来ません"));
    EXPECT_EQ(std::vector<std::string> {"表.DAT"}, FolderEntries(m_app));
    EXPECT_EQ("old", ReadFileBytes(m_app + "表.DAT"));

    EXPECT_EQ(-1, CopyFileData(source.c_str(), copy.c_str(), CFD_RETRY, nullptr));
    EXPECT_TRUE(Reported(ERR_WRITE, full, copy + " に書き込むことができません."));
    DeleteFileA(copy.c_str());

    ASSERT_TRUE(CopyFileA(MakeFile("small.env", "[S]\r\nk=v\r\n").c_str(), env.c_str(), FALSE));
    {
        FEnv2 settings(env.c_str(), 0);
        settings.WriteString("S", "big", big.c_str());
        EXPECT_EQ(0, settings.Save());
    }
    EXPECT_TRUE(Reported(ERR_WRITE, full, env + ".BAKに書き込みできません"));
    EXPECT_EQ("[S]\r\nk=v\r\n", ReadFileBytes(env));
}

}  // namespace
