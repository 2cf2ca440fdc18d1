// The file operations without a conflict: the classes of file errors and
// their report, copying (bytes, times, a target that must be new), deleting
// and renaming, with what each reports and that errors outside the retry
// class are not retried.
#include <functional>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testkit/child_process.h"

namespace {

using FilesOps = ScratchTest;

TEST(FilesErrorClass, EachCodeInItsClass)
{
    const struct {
        DWORD error;
        int expected;
    } rows[] = {{5, FE_RETRY},    {32, FE_RETRY},    {33, FE_RETRY}, {39, FE_DISKFULL}, {112, FE_DISKFULL},
                {2, FE_NOTFOUND}, {3, FE_NOTFOUND}, {18, FE_NOTFOUND}, {0, 0}, {21, 0}, {80, 0}, {183, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, ClassifyFileError(row.error)) << row.error;
}

TEST_F(FilesOps, FileErrorReportNamesTheDriveThatIsNotReady)
{
    EXPECT_EQ(-1, ReportFileError(ERROR_SHARING_VIOLATION, ERR_OPEN2, "C:\\表\\a.txt", "文脈"));
    EXPECT_TRUE(Reported(ERR_OPEN2, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。", "文脈"));
    ReportFileError(ERROR_NOT_READY, ERR_READ, "a:\\表\\a.txt", "フロッピー");
    EXPECT_TRUE(Reported(ERR_READ, "ドライブ A: の準備ができていません.", "フロッピー"));
    ReportFileError(ERROR_NOT_READY, ERR_WRITE, "\\\\srv\\共有\\a.txt", "");
    EXPECT_TRUE(Reported(ERR_WRITE, "ドライブ \\\\srv\\共有 の準備ができていません.", ""));
}

// Bytes of every value, NUL included, in a pattern that differs per size.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char)((i * 7 + size) % 251);
    return bytes;
}

FILETIME LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

TEST_F(FilesOps, CopyGivesEveryByteAcrossBlockBoundaries)
{
    for (size_t size : {0, 1, 1023, 1024, 1025, 70000}) {
        std::string src = MakeFile("元" + std::to_string(size), Pattern(size)), dst = Path("先表");
        MakeFile("先表", Pattern(4000));  // a longer target is replaced
        EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), size % 2 ? CFD_FLUSH | CFD_RETRY : 0, nullptr)) << size;
        EXPECT_TRUE(Pattern(size) == ReadFileBytes(dst)) << "bytes differ at size " << size;
    }
}

TEST_F(FilesOps, CopyTakesTheLastWriteTimeOnlyWhenAsked)
{
    std::string src = MakeFile("src", "data");
    SYSTEMTIME old = {2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME oldTime;
    SystemTimeToFileTime(&old, &oldTime);
    HANDLE file = CreateFileA(src.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &oldTime));
    CloseHandle(file);
    for (int flags : {(int)CFD_COPYTIME, 0}) {
        std::string dst = Path("dst" + std::to_string(flags));
        EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), flags, nullptr));
        FILETIME copied = LastWriteTime(dst);
        EXPECT_EQ(flags == CFD_COPYTIME, CompareFileTime(&oldTime, &copied) == 0) << flags;
    }
}

TEST_F(FilesOps, CopyFailuresAreReportedAndLeaveTheTarget)
{
    std::string src = MakeFile("src", "new bytes"), kept = MakeFile("既存表", "kept");
    const struct {
        std::string src, dst;
        int flags, status;
        Report report = {};
    } rows[] = {
        {src, kept, CFD_NEWONLY, CFD_STATUS_EXISTED,
         {ERR_OPEN2, SystemText(ERROR_FILE_EXISTS), "ファイル " + kept + " をオープンできません."}},
        {Path("無い表.txt"), Path("dst"), CFD_NEWONLY, 0,
         {ERR_OPEN2, "指定されたファイルが見つかりません。", "ファイル " + Path("無い表.txt") + " をオープンできません."}},
        {src, Path("無いフォルダ\\dst"), CFD_RETRY, 0,
         {ERR_OPEN2, "指定されたパスが見つかりません。", "ファイル " + Path("無いフォルダ\\dst") + " をオープンできません."}},
    };
    for (const auto& row : rows) {
        int status = 0;
        EXPECT_EQ(-1, CopyFileData(row.src.c_str(), row.dst.c_str(), row.flags, &status)) << robot::Quoted(row.dst);
        EXPECT_EQ(row.status, status) << robot::Quoted(row.dst);
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << robot::Quoted(row.dst);
    }
    EXPECT_EQ("kept", ReadFileBytes(kept));
    EXPECT_FALSE(Exists(Path("dst")));
    EXPECT_EQ(0, CopyFileData(src.c_str(), Path("新").c_str(), CFD_NEWONLY, nullptr));
    EXPECT_EQ("new bytes", ReadFileBytes(Path("新")));
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
        {"delete", [&] { return DeleteFileRetry(MakeFile("表ソ能.txt").c_str(), 5000, 100); }, 1},
        {"delete missing", [&] { return DeleteFileRetry(missing.c_str(), 5000, 100); }, 1},
        {"delete in a missing folder", [&] { return DeleteFileRetry(Path("無い\\無い.txt").c_str(), 5000, 100); }, 1},
        // A read-only file is an access conflict like any other: retried.
        {"delete read-only", [&] { return DeleteFileRetry(readOnly.c_str(), 1000, 100); }, 0,
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + readOnly + "を削除できません"}, 900},
        {"delete a folder", [&] { return DeleteFileRetry(folder.c_str(), 0, 0); }, 0,
         {ERR_WRITE, "アクセスが拒否されました。", "ファイル " + folder + "を削除できません"}},
        {"rename onto a file", [&] { return RenameFileRetry(from.c_str(), to.c_str(), 5000, 100); }, 0,
         {ERR_WRITE, "既に存在するファイルを作成することはできません。", renamed(from, to)}},
        {"rename a missing file", [&] { return RenameFileRetry(missing.c_str(), Path("n").c_str(), 5000, 100); }, 0,
         {ERR_WRITE, "指定されたファイルが見つかりません。", renamed(missing, Path("n"))}},
        {"rename", [&] { return RenameFileRetry(from.c_str(), Path("移動表").c_str(), 5000, 100); }, 1},
    };
    for (const auto& row : rows) {
        Stopwatch watch;
        EXPECT_EQ(row.result, row.op()) << row.name;
        EXPECT_GE(watch.Elapsed(), row.minMs) << row.name;
        EXPECT_LT(watch.Elapsed(), row.minMs + 1000) << row.name;
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
    }
    EXPECT_TRUE(Exists(readOnly));
    EXPECT_FALSE(Exists(Path("表ソ能.txt")));
    EXPECT_EQ("to", ReadFileBytes(to));
    EXPECT_EQ("from", ReadFileBytes(Path("移動表")));
}

}  // namespace
