// One file-list entry at a time against real faults: read-only targets,
// damaged and truncated compressed sources, a target held by faults.exe, a
// source that appears while the disk prompt is open. The robot answers every
// box; reports stay in the fixture's collecting frame.
#include <string>
#include <vector>

#include "box_expect.h"
#include "dazo/Func.h"
#include "error_report_env.h"
#include "file_test.h"
#include "robot/box_answers.h"
#include "setup/copyengine.h"
#include "setup/copyreport.h"
#include "setup/filelist.h"
#include "testkit/child_process.h"

namespace {

const std::string kInUse =
    " へ書き込み出来ません。\n実行中のアプリケーションを全て終了して [再試行] をすると書き込みできるかもしれません。";
const robot::BoxAnswer kStopNo {kTestTitle, "セットアップを中止しますか？", {IDYES, IDNO}, IDNO};
const robot::BoxAnswer kStopYes {kTestTitle, "セットアップを中止しますか？", {IDYES, IDNO}, IDYES};
const FILETIME kSourceTime {0x12345600, 0x01C0A000};  // in 2001

class EngineCopy : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_src = m_scratch.MakeFolder("SRC") + "\\";
        m_app = m_scratch.MakeFolder("APP") + "\\";
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
        std::string path = m_scratch.MakeFile(m_src.substr(m_scratch.Path().size()) + name, bytes);
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &kSourceTime));
        CloseHandle(file);
        return path;
    }

    // What the program folder holds: a temporary file left behind shows here.
    std::vector<std::string> AppFiles()
    {
        std::vector<std::string> names;
        FindEntry find;
        for (int found = FindFirstEntry((m_app + "*.*").c_str(), 0, &find); found == 1; found = FindNextEntry(&find))
            names.push_back(find.data.cFileName);
        return names;
    }

    std::string m_src, m_app;
};

TEST_F(EngineCopy, SourceReplacesAReadOnlyTargetOnlyWhenItExpandsInFull)
{
    const std::string plain = ReadFileBytes(PLAIN_FIXTURE), packed = ReadFileBytes(PACKED_FIXTURE);
    ASSERT_EQ("SZDD", packed.substr(0, 4));
    std::string damaged = packed, otherMethod = packed;
    damaged.replace(packed.size() / 2, 64, 64, '\0');
    otherMethod[8] = 'B';
    const struct {
        const char* name;
        int compressed;
        std::string source;
        bool installs;
    } rows[] = {
        {"plain", 0, plain, true},
        {"compressed", 1, packed, true},
        {"marked compressed, read as it is", 1, plain, true},
        {"truncated", 1, packed.substr(0, packed.size() / 2), false},
        {"damaged", 1, damaged, false},
        {"header cut off", 1, packed.substr(0, 12), false},
        {"unknown method", 1, otherMethod, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string source = MakeSource("DATA.TS_", row.source);
        std::string target = m_scratch.MakeFile("APP\\DATA.TSV", "old");
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(row.installs ? 1 : 0, Run("1," + std::to_string(row.compressed) + ",DATA.TS_,DATA.TSV"));
        EXPECT_EQ(row.installs ? plain : "old", ReadFileBytes(target));
        EXPECT_EQ(std::vector<std::string> {"DATA.TSV"}, AppFiles());
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(0u, data.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
        EXPECT_EQ(row.installs, CompareFileTime(&kSourceTime, &data.ftLastWriteTime) == 0);
        Report report = TakeReport();
        EXPECT_EQ(row.installs ? 0 : ERR_READ, report.category);
        if (!row.installs) {
            EXPECT_SAME_TEXT("読み込みに失敗", report.message);
            EXPECT_SAME_TEXT(source, report.context);
        }
    }
}

TEST_F(EngineCopy, ReportsShowTheSystemTextOrTheDriveOverTheFile)
{
    const struct {
        int (*report)(DWORD, const DataObjStr&);
        DWORD error;
        int category;
        std::string message, context;
    } rows[] = {
        {ReportReadFailure, ERROR_NOT_READY, ERR_READ, "ドライブ A: の準備ができていません.",
         "ファイル[A:\\DISK1\\DARVO5.EX_]を読み込むことが出来ません"},
        {ReportWriteFailure, ERROR_DISK_FULL, ERR_WRITE, SystemText(ERROR_DISK_FULL),
         "ファイル[A:\\DISK1\\DARVO5.EX_]へ書き込むことが出来ません"},
        {ReportDeleteFailure, ERROR_SHARING_VIOLATION, ERR_WRITE, SystemText(ERROR_SHARING_VIOLATION),
         "A:\\DISK1\\DARVO5.EX_ を削除できません"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(COPY_FAILED, row.report(row.error, "A:\\DISK1\\DARVO5.EX_"));
        Report report = TakeReport();
        EXPECT_EQ(row.category, report.category);
        EXPECT_SAME_TEXT(row.message, report.message);
        EXPECT_SAME_TEXT(row.context, report.context);
    }
}

TEST_F(EngineCopy, HeldTargetIsAskedAboutUntilItsHolderLetsGo)
{
    MakeSource("NEW.DLL", "new");
    std::string target = m_scratch.MakeFile("APP\\NEW.DLL", "old");
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(target) + " 3000");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    robot::BoxAnswer cancel {kTestTitle, target + kInUse, {IDRETRY, IDCANCEL}, IDCANCEL};
    robot::BoxAnswer retry = cancel;
    retry.press = IDRETRY;
    retry.whileOpen = [&] {
        DWORD code;
        holder.Wait(10000, &code);
    };
    int result = -1;
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Run("1,0,NEW.DLL,NEW.DLL"); }, {cancel, kStopNo, retry}));
    EXPECT_EQ(1, result);
    EXPECT_EQ("new", ReadFileBytes(target));
}

TEST_F(EngineCopy, DeletionFindsATargetGoneOrStopsAtAHeldOne)
{
    std::string readOnly = m_scratch.MakeFile("APP\\RO.DLL");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(RunWithoutBox([&] { EXPECT_EQ(2, Run("1,0,,RO.DLL") + Run("1,0, ,NONE.DLL")); }));
    EXPECT_FALSE(Exists(readOnly));

    std::string held = m_scratch.MakeFile("APP\\HELD.DLL");
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(held) + " 30000");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    int result = -1;
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Run("1,0,,HELD.DLL"); },
                                         {{kTestTitle, held + kInUse, {IDRETRY, IDCANCEL}, IDCANCEL}, kStopYes}));
    EXPECT_EQ(0, result);
    EXPECT_TRUE(Exists(held));
}

TEST_F(EngineCopy, DiskPromptShowsAgainUntilTheFileIsThere)
{
    // Longer than a fixed prompt area of 200 bytes could take.
    m_src = m_scratch.MakeFolder("ヴェルンド出納帳のセットアップディスク第二巻から読み込むソースファイルを置いたフォルダ") + "\\";
    robot::BoxAnswer cancel {"DARVO5.EX_のコピー",
                             "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスク 2 を " + m_src +
                                 " にセットして [OK] ボタンを押して下さい",
                             {IDOK, IDCANCEL},
                             IDCANCEL};
    robot::BoxAnswer ok = cancel;
    ok.press = IDOK;
    ok.whileOpen = [&] { MakeSource("DARVO5.EX_", "disk 2"); };
    int result = -1;
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Run("2,0,DARVO5.EX_,DARVO5.EXE"); }, {cancel, kStopNo, ok}));
    EXPECT_EQ(1, result);
    EXPECT_EQ("disk 2", ReadFileBytes(m_app + "DARVO5.EXE"));

    std::string noDisk = "ヴェルンド！出納帳 Version 5.5(ゼノプ版) ディスクを " + m_src + " にセットして [OK] ボタンを押して下さい";
    EXPECT_TRUE(robot::RunAnsweringBoxes([&] { result = Run("0,0,MISSING.DLL,MISSING.DLL"); },
                                         {{"MISSING.DLLのコピー", noDisk, {IDOK, IDCANCEL}, IDCANCEL}, kStopYes}));
    EXPECT_EQ(0, result);
}

}  // namespace
