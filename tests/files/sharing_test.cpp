// Retries against a real sharing conflict: faults.exe holds a file open
// without sharing, in a process of its own, and lets go after a while. The
// helpers must get through once it lets go, and report the conflict at once
// without retry parameters or after the time limit when it holds on.
#include <functional>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testkit/child_process.h"

namespace {

// Held this long the file comes free well inside the 5000 ms limit; held
// for the long time it outlasts every limit (the holder ends with the row).
constexpr DWORD kBriefHoldMs = 2000;
constexpr DWORD kLongHoldMs = 30000;

constexpr char kSharingText[] = "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";

class FilesSharing : public ScratchTest {
protected:
    // OpenFileRetry for reading; true when it opened the file; *pStatus its status.
    static bool Open(const std::string& path, bool retry, int quiet, int* pStatus)
    {
        HANDLE file = OpenFileRetry(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr, retry ? &DEF_RETRY_TIMEOUT : nullptr,
                                    retry ? &DEF_RETRY_INTERVAL : nullptr, quiet, pStatus);
        CloseHandle(file);
        return file != INVALID_HANDLE_VALUE;
    }

    struct Row {
        const char* name;
        std::string held;
        std::function<bool()> op;  // true when the operation succeeded
        int status;                // what Open reports in m_status
        DWORD minMs, maxMs;
        Report report = {};
    };
    void Run(const Row& row, DWORD holdMs)
    {
        // faults.exe holds the file; the conflict must be real.
        ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(row.held) + " " + std::to_string(holdMs));
        ASSERT_TRUE(holder.WaitForOutput("ready", 10000)) << row.name << ": " << holder.Stderr();
        HANDLE file = CreateFileA(row.held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) << row.name;
        m_status = -1;
        Stopwatch watch;
        EXPECT_EQ(holdMs == kBriefHoldMs, row.op()) << row.name;
        DWORD elapsed = watch.Elapsed();
        EXPECT_TRUE(elapsed >= row.minMs && elapsed <= row.maxMs) << row.name << ": " << elapsed << " ms";
        EXPECT_EQ(row.status, m_status) << row.name;
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
    }

    int m_status = -1;
};

TEST_F(FilesSharing, RetriesGetThroughOnceTheHolderLetsGo)
{
    std::string file = MakeFile("共有表.txt", "data"), src = MakeFile("元.txt", "source bytes");
    MakeFolder("tree");
    MakeFolder("tree\\表");
    MakeFile("tree\\a.txt");
    std::string heldInTree = MakeFile("tree\\表\\held.txt");
    const Row rows[] = {
        {"open", file, [&] { return Open(file, true, 0, &m_status); }, OFR_OPENED, 0, 5000},
        {"rename", file, [&] { return RenameFileRetry(file.c_str(), Path("新能.txt").c_str(), 5000, 100) == 1; }, -1, 0, 5000},
        {"delete", src, [&] { return DeleteFileRetry(src.c_str(), 5000, 100) == 1; }, -1, 0, 5000},
        {"delete tree", heldInTree,
         [&] { return DeleteTree(DT_RECURSE | DT_RETRYDELETE, Path("tree\\*.*").c_str()) == 1; }, -1, 0, 5000},
    };
    for (const Row& row : rows)
        Run(row, kBriefHoldMs);
    EXPECT_EQ("data", ReadFileBytes(Path("新能.txt")));
    EXPECT_FALSE(Exists(src) || Exists(Path("tree\\表")));
}

TEST_F(FilesSharing, ConflictIsReportedAtOnceWithoutRetryAndAfterTheLimitWithIt)
{
    std::string file = MakeFile("表ソ能.txt");
    auto opening = [](const std::string& path) { return Report {ERR_OPEN2, kSharingText, "ファイル " + path + " をオープンできません."}; };
    const Row rows[] = {
        // quiet bit 0 spares only a time-out, not a plain failure.
        {"open without retry", file, [&] { return Open(file, false, 1, &m_status); }, OFR_FAILED, 0, 1000, opening(file)},
        {"open", file, [&] { return Open(file, true, 0, &m_status); }, OFR_TIMEDOUT, 4500, 8000, opening(file)},
        {"quiet open", file, [&] { return Open(file, true, 1, &m_status); }, OFR_TIMEDOUT, 4500, 8000},
        {"copy without retry", file, [&] { return CopyFileData(file.c_str(), Path("先").c_str(), 0, nullptr) == 0; },
         -1, 0, 1000, opening(file)},
        {"delete", file, [&] { return DeleteFileRetry(file.c_str(), 1000, 100) == 1; }, -1, 900, 4000,
         {ERR_WRITE, kSharingText, "ファイル " + file + "を削除できません"}},
    };
    for (const Row& row : rows)
        Run(row, kLongHoldMs);
    EXPECT_TRUE(Exists(file));
    EXPECT_FALSE(Exists(Path("先")));
}

}  // namespace
