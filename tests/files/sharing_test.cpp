// Retries against a real sharing conflict: faults.exe holds a file open
// without sharing, in a process of its own, and lets go after a while. The
// helpers must get through once it lets go, and report a time-out after about
// 5000 ms when it does not.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"
#include "testkit/child_process.h"

namespace {

constexpr DWORD kReadyMs = 10000;
// Held this long the file comes free well inside the 5000 ms limit.
constexpr DWORD kBriefHoldMs = 2000;
// Held this long it outlasts every limit (the holder is ended with the test).
constexpr DWORD kLongHoldMs = 30000;

constexpr char kSharingText[] = "プロセスはファイルにアクセスできません。別のプロセスが使用中です。";

// faults.exe holding a file open without sharing.
class HeldFile {
public:
    HeldFile(const std::string& path, DWORD ms)
        : m_holder(std::string(FAULTS_EXE) + " hold-file " + Quote(path) + " " + std::to_string(ms)), m_path(path)
    {
    }

    // Waits until the holder has the file open and checks that the conflict
    // is real: opening it now fails with a sharing violation.
    ::testing::AssertionResult Holding() const
    {
        if (!m_holder.WaitForOutput("ready", kReadyMs))
            return ::testing::AssertionFailure() << "the holder did not start: " << m_holder.Stderr();
        HANDLE file = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return ::testing::AssertionFailure() << "the file opens although it is held";
        }
        if (error != ERROR_SHARING_VIOLATION)
            return ::testing::AssertionFailure() << "opening the held file fails with error " << error;
        return ::testing::AssertionSuccess();
    }

private:
    ChildProcess m_holder;
    std::string m_path;
};

class FilesSharing : public FileTest {
protected:
    HANDLE OpenForReading(const std::string& path, const DWORD* pTimeout, const DWORD* pInterval, int quiet,
                          int* pStatus)
    {
        return OpenFileRetry(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr, pTimeout, pInterval, quiet, pStatus);
    }

    void ExpectOpenReport(const std::string& path)
    {
        Report report = TakeReport();
        EXPECT_EQ(ERR_OPEN2, report.category);
        EXPECT_SAME_TEXT(kSharingText, report.message);
        EXPECT_SAME_TEXT("ファイル " + path + " をオープンできません.", report.context);
    }
};

TEST_F(FilesSharing, OpenGetsThroughOnceTheHolderLetsGo)
{
    std::string path = m_scratch.MakeFile("共有表.txt", "data");
    HeldFile held(path, kBriefHoldMs);
    ASSERT_TRUE(held.Holding());

    int status = -1;
    Stopwatch watch;
    HANDLE file = OpenForReading(path, &DEF_RETRY_TIMEOUT, &DEF_RETRY_INTERVAL, 0, &status);
    DWORD elapsed = watch.Elapsed();
    EXPECT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(OFR_OPENED, status);
    EXPECT_LT(elapsed, 5000u);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

TEST_F(FilesSharing, OpenWithoutRetryParametersFailsAtOnce)
{
    std::string path = m_scratch.MakeFile("held.txt");
    HeldFile held(path, kLongHoldMs);
    ASSERT_TRUE(held.Holding());

    int status = -1;
    Stopwatch watch;
    // quiet bit 0 spares only a time-out, not a plain failure.
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenForReading(path, nullptr, nullptr, 1, &status));
    EXPECT_LT(watch.Elapsed(), 1000u);
    EXPECT_EQ(OFR_FAILED, status);
    ExpectOpenReport(path);
}

TEST_F(FilesSharing, OpenTimesOutAfterAboutFiveSecondsWithItsReport)
{
    std::string path = m_scratch.MakeFile("表ソ能.txt");
    HeldFile held(path, kLongHoldMs);
    ASSERT_TRUE(held.Holding());

    int status = -1;
    Stopwatch watch;
    HANDLE file = OpenForReading(path, &DEF_RETRY_TIMEOUT, &DEF_RETRY_INTERVAL, 0, &status);
    DWORD elapsed = watch.Elapsed();
    EXPECT_EQ(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(OFR_TIMEDOUT, status);
    EXPECT_GE(elapsed, 4500u);
    EXPECT_LE(elapsed, 8000u);
    ExpectOpenReport(path);
}

TEST_F(FilesSharing, QuietTimeOutReportsNothing)
{
    std::string path = m_scratch.MakeFile("held.txt");
    HeldFile held(path, kLongHoldMs);
    ASSERT_TRUE(held.Holding());

    int status = -1;
    Stopwatch watch;
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenForReading(path, &DEF_RETRY_TIMEOUT, &DEF_RETRY_INTERVAL, 1, &status));
    EXPECT_GE(watch.Elapsed(), 4500u);
    EXPECT_EQ(OFR_TIMEDOUT, status);
    EXPECT_EQ(0, TakeReport().category);
}

TEST_F(FilesSharing, DeleteGetsThroughOnceTheHolderLetsGo)
{
    std::string path = m_scratch.MakeFile("削除表.txt", "data");
    HeldFile held(path, kBriefHoldMs);
    ASSERT_TRUE(held.Holding());

    EXPECT_EQ(1, DeleteFileRetry(path.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_FALSE(Exists(path));
}

TEST_F(FilesSharing, DeleteTimesOutWithItsReport)
{
    std::string path = m_scratch.MakeFile("held.txt");
    HeldFile held(path, kLongHoldMs);
    ASSERT_TRUE(held.Holding());

    Stopwatch watch;
    EXPECT_EQ(0, DeleteFileRetry(path.c_str(), 1000, 100));
    DWORD elapsed = watch.Elapsed();
    EXPECT_GE(elapsed, 900u);
    EXPECT_LE(elapsed, 4000u);
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT(kSharingText, report.message);
    EXPECT_SAME_TEXT("ファイル " + path + "を削除できません", report.context);
    EXPECT_TRUE(Exists(path));
}

TEST_F(FilesSharing, RenameGetsThroughOnceTheHolderLetsGo)
{
    std::string from = m_scratch.MakeFile("旧表.txt", "data");
    std::string to = m_scratch / "新能.txt";
    HeldFile held(from, kBriefHoldMs);
    ASSERT_TRUE(held.Holding());

    EXPECT_EQ(1, RenameFileRetry(from.c_str(), to.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ("data", ReadFileBytes(to));
}

TEST_F(FilesSharing, CopyWithRetryGetsThroughAHeldSource)
{
    std::string src = m_scratch.MakeFile("元.txt", "source bytes");
    std::string dst = m_scratch / "先.txt";
    HeldFile held(src, kBriefHoldMs);
    ASSERT_TRUE(held.Holding());

    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), CFD_RETRY, nullptr));
    EXPECT_EQ("source bytes", ReadFileBytes(dst));
}

TEST_F(FilesSharing, CopyWithRetryGetsThroughAHeldTarget)
{
    std::string src = m_scratch.MakeFile("元.txt", "source bytes");
    std::string dst = m_scratch.MakeFile("先.txt", "old");
    HeldFile held(dst, kBriefHoldMs);
    ASSERT_TRUE(held.Holding());

    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), CFD_RETRY, nullptr));
    EXPECT_EQ("source bytes", ReadFileBytes(dst));
}

TEST_F(FilesSharing, CopyWithoutRetryFailsAtOnce)
{
    std::string src = m_scratch.MakeFile("元.txt", "source bytes");
    std::string dst = m_scratch / "先.txt";
    HeldFile held(src, kLongHoldMs);
    ASSERT_TRUE(held.Holding());

    Stopwatch watch;
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), 0, nullptr));
    EXPECT_LT(watch.Elapsed(), 1000u);
    ExpectOpenReport(src);
    EXPECT_FALSE(Exists(dst));
}

// A tree with a held file in a subfolder.
class FilesSharingTree : public FilesSharing {
protected:
    void SetUp() override
    {
        FilesSharing::SetUp();
        m_scratch.MakeFolder("tree");
        m_scratch.MakeFolder("tree\\表");
        m_scratch.MakeFile("tree\\a.txt");
        m_scratch.MakeFile("tree\\表\\b.txt");
        m_held = m_scratch.MakeFile("tree\\表\\held.txt");
    }

    std::string m_held;
};

TEST_F(FilesSharingTree, DeleteTreeWithRetriesGetsThroughAHeldFile)
{
    HeldFile holder(m_held, kBriefHoldMs);
    ASSERT_TRUE(holder.Holding());

    EXPECT_EQ(1, DeleteTree(DT_RECURSE | DT_RETRYDELETE, (m_scratch / "tree\\*.*").c_str()));
    EXPECT_FALSE(Exists(m_scratch / "tree\\表"));
    EXPECT_FALSE(Exists(m_scratch / "tree\\a.txt"));
}

TEST_F(FilesSharingTree, DeleteTreeWithoutRetriesStopsAtAHeldFile)
{
    HeldFile holder(m_held, kLongHoldMs);
    ASSERT_TRUE(holder.Holding());

    Stopwatch watch;
    EXPECT_EQ(0, DeleteTree(DT_RECURSE, (m_scratch / "tree\\*.*").c_str()));
    EXPECT_LT(watch.Elapsed(), 1000u);
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("削除できません", report.message);
    EXPECT_SAME_TEXT(m_held, report.context);
    EXPECT_TRUE(Exists(m_held));
}

}  // namespace
