// The file and folder operations: the classes of file errors, copying (the
// time kept, the reports of what fails), deleting and renaming (with what
// each reports, and that errors outside the retry class are not retried),
// DeleteTree on a real tree, and retries against a real sharing conflict:
// faults.exe holds a file open without sharing, in a process of its own, and
// lets go after a while. The helpers must get through once it lets go, and
// report the conflict at once without retry parameters or after the time
// limit when it holds on. The bytes a copy gives: the install runs, whose
// SETUP.EXE starts its copy and imports a version-4 INI file through it.
#include <functional>
#include <optional>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testkit/child_process.h"
#include "testkit/file_facts.h"

namespace {

constexpr char kSharingText[] = "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";

class FilesOps : public ScratchTest {
protected:
    // OpenFileRetry for reading: its status, or -1 when the handle it gave
    // says otherwise.
    static int Open(const std::string& path, bool retry, int quiet)
    {
        int status = -1;
        HANDLE file = OpenFileRetry(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr, retry ? &DEF_RETRY_TIMEOUT : nullptr,
                                    retry ? &DEF_RETRY_INTERVAL : nullptr, quiet, &status);
        CloseHandle(file);
        return (file != INVALID_HANDLE_VALUE) == (status == OFR_OPENED) ? status : -1;
    }

    struct Row {
        const char* name;
        std::string held;          // the file faults.exe holds while op runs; none when empty
        std::function<bool()> op;  // true when the operation returned what it should
        DWORD minMs, maxMs;
        Report report = {};
    };
    // Runs the row's operation; when the row names a held file, faults.exe
    // holds it for holdMs first, and the conflict must be real.
    void Run(const Row& row, DWORD holdMs)
    {
        std::optional<ChildProcess> holder;
        if (!row.held.empty()) {
            holder.emplace(std::string(FAULTS_EXE) + " hold-file " + Quote(row.held) + " " + std::to_string(holdMs));
            ASSERT_TRUE(holder->WaitForOutput("ready", 10000)) << row.name << ": " << holder->Stderr();
            HANDLE file = CreateFileA(row.held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            ASSERT_TRUE(file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) << row.name;
        }
        Stopwatch watch;
        EXPECT_TRUE(row.op()) << row.name << " returned another result";
        DWORD elapsed = watch.Elapsed();
        EXPECT_TRUE(elapsed >= row.minMs && elapsed <= row.maxMs) << row.name << ": " << elapsed << " ms";
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
    }
};

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
    // Asked for a new file only, the copy leaves the one that is there as it is.
    MakeFile("src", "other bytes");
    int status = 0;
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_NEWONLY, &status));
    EXPECT_TRUE(status == CFD_STATUS_EXISTED && ReadFileBytes(dst) == "new bytes") << status;
    EXPECT_TRUE(Reported(ERR_OPEN2, SystemText(ERROR_FILE_EXISTS), "ファイル " + dst + " をオープンできません."));

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

// Only errors of the retry class are retried.
TEST_F(FilesOps, ErrorClassesAndDeleteAndRenameOnTheirRows)
{
    const struct { DWORD error; int expected; } classes[] = {
        {5, FE_RETRY},     {32, FE_RETRY},    {33, FE_RETRY}, {39, FE_DISKFULL}, {112, FE_DISKFULL}, {2, FE_NOTFOUND},
        {3, FE_NOTFOUND}, {18, FE_NOTFOUND}, {0, 0},        {21, 0},           {80, 0},            {183, 0}};
    for (const auto& row : classes)
        EXPECT_EQ(row.expected, ClassifyFileError(row.error)) << row.error;

    std::string readOnly = MakeFile("読取専用.txt", "x"), folder = MakeFolder("folder");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string from = MakeFile("旧表.txt", "from"), to = MakeFile("新ソ.txt", "to"), missing = Path("無い.txt");
    const Row rows[] = {
        {"delete missing", "", [&] { return DeleteFileRetry(missing.c_str(), 5000, 100) == 1; }, 0, 1000},
        // A read-only file is an access conflict like any other: retried.
        {"delete read-only", "", [&] { return DeleteFileRetry(readOnly.c_str(), 1000, 100) == 0; }, 900, 1900,
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + readOnly + "を削除できません"}},
        {"delete a folder", "", [&] { return DeleteFileRetry(folder.c_str(), 0, 0) == 0; }, 0, 1000,
         {ERR_WRITE, "アクセスが拒否されました。", "ファイル " + folder + "を削除できません"}},
        {"rename onto a file", "", [&] { return RenameFileRetry(from.c_str(), to.c_str(), 5000, 100) == 0; }, 0, 1000,
         {ERR_WRITE, "既に存在するファイルを作成することはできません。", "[" + from + "]から[" + to + "]へファイル名を変更できません"}},
    };
    for (const Row& row : rows)
        Run(row, 0);  // nothing held
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

TEST_F(FilesOps, RetriesGetThroughOnceTheHolderLetsGo)
{
    std::string file = MakeFile("共有表.txt", "data"), src = MakeFile("元.txt", "source bytes");
    MakeFolder("tree");
    MakeFolder("tree\\表");
    MakeFile("tree\\a.txt");
    std::string heldInTree = MakeFile("tree\\表\\held.txt");
    const Row rows[] = {
        {"open", file, [&] { return Open(file, true, 0) == OFR_OPENED; }, 0, 5000},
        {"rename", file, [&] { return RenameFileRetry(file.c_str(), Path("新能.txt").c_str(), 5000, 100) == 1; },
         0, 5000},
        {"delete", src, [&] { return DeleteFileRetry(src.c_str(), 5000, 100) == 1; }, 0, 5000},
        {"delete tree", heldInTree,
         [&] { return DeleteTree(DT_RECURSE | DT_RETRYDELETE, Path("tree\\*.*").c_str()) == 1; }, 0, 5000},
    };
    // Held this long the file comes free well inside the 5000 ms limit.
    for (const Row& row : rows)
        Run(row, 2000);
    EXPECT_EQ("data", ReadFileBytes(Path("新能.txt")));
    EXPECT_FALSE(Exists(src) || Exists(Path("tree\\表")));
}

TEST_F(FilesOps, ConflictIsReportedAtOnceWithoutRetryAndAfterTheLimitWithIt)
{
    std::string file = MakeFile("表ソ能.txt");
    const Report opening {ERR_OPEN2, kSharingText, "ファイル " + file + " をオープンできません."};
    const Row rows[] = {
        // quiet bit 0 spares only a time-out, not a plain failure.
        {"open without retry", file, [&] { return Open(file, false, 1) == OFR_FAILED; }, 0, 1000, opening},
        {"open", file, [&] { return Open(file, true, 0) == OFR_TIMEDOUT; }, 4500, 8000, opening},
        {"quiet open", file, [&] { return Open(file, true, 1) == OFR_TIMEDOUT; }, 4500, 8000},
        {"copy without retry", file, [&] { return CopyFileData(file.c_str(), Path("先").c_str(), 0, nullptr) == -1; },
         0, 1000, opening},
        {"delete", file, [&] { return DeleteFileRetry(file.c_str(), 1000, 100) == 0; }, 900, 4000,
         {ERR_WRITE, kSharingText, "ファイル " + file + "を削除できません"}},
    };
    // Held for this long the file outlasts every limit (the holder ends with the row).
    for (const Row& row : rows)
        Run(row, 30000);
    EXPECT_TRUE(Exists(file));
    EXPECT_FALSE(Exists(Path("先")));
}

}  // namespace
