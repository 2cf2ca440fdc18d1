// The file and folder operations without a conflict: the classes of file
// errors, copying (the time kept, the reports of what fails), deleting and
// renaming (with what each reports, and that errors outside the retry class
// are not retried), and DeleteTree on a real tree. The bytes a copy gives:
// the install runs, whose SETUP.EXE starts its copy and imports a version-4
// INI file through it.
#include <functional>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testkit/child_process.h"
#include "testkit/file_facts.h"

namespace {

using FilesOps = ScratchTest;

TEST_F(FilesOps, ErrorClasses)
{
    const struct { DWORD error; int expected; } rows[] = {
        {5, FE_RETRY},     {32, FE_RETRY},    {33, FE_RETRY}, {39, FE_DISKFULL}, {112, FE_DISKFULL}, {2, FE_NOTFOUND},
        {3, FE_NOTFOUND}, {18, FE_NOTFOUND}, {0, 0},        {21, 0},           {80, 0},            {183, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, ClassifyFileError(row.error)) << row.error;
}

TEST_F(FilesOps, CopyKeepsTheTimeOrReportsWhyNot)
{
    std::string src = MakeFile("src", "new bytes"), dst = Path("先表");
    const FILETIME oldTime {0x12345600, 0x01C0A000};  // in 2001
    ASSERT_TRUE(SetLastWriteTime(src, oldTime));
    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), CFD_COPYTIME | CFD_FLUSH, nullptr));
    WIN32_FILE_ATTRIBUTE_DATA copied {};
    GetFileAttributesExA(dst.c_str(), GetFileExInfoStandard, &copied);
    EXPECT_EQ(0, CompareFileTime(&oldTime, &copied.ftLastWriteTime));
    EXPECT_EQ("new bytes", ReadFileBytes(dst));

    const std::string missing = Path("無い表.txt"), noFolder = Path("無いフォルダ\\dst");
    const struct { std::string src, dst, why, opened; } rows[] = {
        {missing, Path("dst"), "指定されたファイルが見つかりません。", missing},
        {src, noFolder, "指定されたパスが見つかりません。", noFolder},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(-1, CopyFileData(row.src.c_str(), row.dst.c_str(), CFD_COPYTIME | CFD_FLUSH, nullptr)) << row.opened;
        EXPECT_TRUE(Reported(ERR_OPEN2, row.why, "ファイル " + row.opened + " をオープンできません.")) << row.opened;
    }
    EXPECT_FALSE(Exists(Path("dst")));
}

TEST_F(FilesOps, DeleteAndRenameOnTheirRows)
{
    std::string readOnly = MakeFile("読取専用.txt", "x"), folder = MakeFolder("folder");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string from = MakeFile("旧表.txt", "from"), to = MakeFile("新ソ.txt", "to"), missing = Path("無い.txt");
    auto renamed = [](const std::string& a, const std::string& b) { return "[" + a + "]から[" + b + "]へファイル名を変更できません"; };
    const struct {
        const char* name;
        std::function<int()> op;
        int result;
        Report report = {};
        DWORD minMs = 0;
    } rows[] = {
        {"delete missing", [&] { return DeleteFileRetry(missing.c_str(), 5000, 100); }, 1},
        // A read-only file is an access conflict like any other: retried.
        {"delete read-only", [&] { return DeleteFileRetry(readOnly.c_str(), 1000, 100); }, 0,
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + readOnly + "を削除できません"}, 900},
        {"delete a folder", [&] { return DeleteFileRetry(folder.c_str(), 0, 0); }, 0,
         {ERR_WRITE, "アクセスが拒否されました。", "ファイル " + folder + "を削除できません"}},
        {"rename onto a file", [&] { return RenameFileRetry(from.c_str(), to.c_str(), 5000, 100); }, 0,
         {ERR_WRITE, "既に存在するファイルを作成することはできません。", renamed(from, to)}},
    };
    for (const auto& row : rows) {
        Stopwatch watch;
        EXPECT_EQ(row.result, row.op()) << row.name;
        EXPECT_GE(watch.Elapsed(), row.minMs) << row.name;
        EXPECT_LT(watch.Elapsed(), row.minMs + 1000) << row.name;
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
    }
    EXPECT_TRUE(Exists(readOnly) && Exists(from));
    EXPECT_EQ("to", ReadFileBytes(to));
}

// As the uninstall deletes its temporary folders: recursing, retrying, with
// hidden and system entries.
TEST_F(FilesOps, DeleteTreeTakesWhatThePatternNamesButFoldersBeginningWithADot)
{
    const int flags = DT_RECURSE | DT_RETRYDELETE;
    for (const char* folder : {"表", "表\\ソ", "表\\ソ\\hidden", ".keep"})
        MakeFolder(folder);
    for (const char* file : {"a.txt", "表\\ソ\\能.tmp", "表\\ソ\\hidden\\d.txt", ".keep\\e.txt"})
        MakeFile(file);
    SetFileAttributesA(MakeFile("system.tmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(MakeFile("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(Path("表\\ソ\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(1, DeleteTree(flags, Path("*.tmp").c_str()));
    EXPECT_FALSE(Exists(Path("system.tmp")));
    EXPECT_TRUE(Exists(Path("表\\ソ\\能.tmp"))) << "a pattern of files leads into no folder";
    EXPECT_EQ(1, DeleteTree(flags, Path("*.*").c_str()));
    EXPECT_EQ(std::vector<std::string> {".keep"}, FolderEntries(Path()));
    EXPECT_TRUE(Exists(Path(".keep\\e.txt"))) << "folders beginning with a dot stay";
    EXPECT_EQ(1, DeleteTree(flags, Path("missing\\*.*").c_str()));
}

TEST_F(FilesOps, CreateDirTreeMakesEveryMissingLevelOrReportsTheFirstItCannot)
{
    EXPECT_EQ(1, CreateDirTree(Path("新\\表\\ソ\\能\\").c_str()));
    EXPECT_TRUE(Exists(Path("新\\表\\ソ\\能")));
    for (const std::string& done : {Path(), std::string("C:\\"), std::string("\\\\srv\\share\\")})
        EXPECT_EQ(1, CreateDirTree(done.c_str())) << robot::Quoted(done);
    std::string file = MakeFile("a.txt");
    EXPECT_EQ(0, CreateDirTree((file + "\\sub").c_str()));
    EXPECT_TRUE(Reported(ERR_WRITE, "既に存在するファイルを作成することはできません。", "フォルダ " + file + " を作成できません"));
}

}  // namespace
