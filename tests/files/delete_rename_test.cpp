// DeleteFileRetry and RenameFileRetry without a conflict: what counts as
// done, what is reported, and that errors outside the retry class are not
// retried.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"
#include "testkit/child_process.h"

namespace {

class FilesDelete : public FileTest {};

TEST_F(FilesDelete, RemovesAFile)
{
    std::string path = m_scratch.MakeFile("表ソ能.txt", "x");
    EXPECT_EQ(1, DeleteFileRetry(path.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_FALSE(Exists(path));
}

TEST_F(FilesDelete, MissingFileCountsAsDoneWithoutReport)
{
    Stopwatch watch;
    EXPECT_EQ(1, DeleteFileRetry((m_scratch / "無い.txt").c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_EQ(1, DeleteFileRetry((m_scratch / "無い\\無い.txt").c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_LT(watch.Elapsed(), 1000u);
}

TEST_F(FilesDelete, ReadOnlyFileIsReportedAsReadOnly)
{
    std::string path = m_scratch.MakeFile("読取専用.txt", "x");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, DeleteFileRetry(path.c_str(), 0, 0));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("ファイルは読み取り専用です。", report.message);
    EXPECT_SAME_TEXT("ファイル " + path + "を削除できません", report.context);
    EXPECT_TRUE(Exists(path));
}

TEST_F(FilesDelete, ReadOnlyFileIsRetriedUntilTheLimitLikeAnyAccessConflict)
{
    std::string path = m_scratch.MakeFile("ro.txt", "x");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Stopwatch watch;
    EXPECT_EQ(0, DeleteFileRetry(path.c_str(), 1000, 100));
    EXPECT_GE(watch.Elapsed(), 900u);
    EXPECT_SAME_TEXT("ファイルは読み取り専用です。", TakeReport().message);
}

TEST_F(FilesDelete, FolderIsReportedWithTheSystemText)
{
    std::string path = m_scratch.MakeFolder("folder");
    EXPECT_EQ(0, DeleteFileRetry(path.c_str(), 0, 0));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("アクセスが拒否されました。", report.message);
    EXPECT_SAME_TEXT("ファイル " + path + "を削除できません", report.context);
}

class FilesRename : public FileTest {};

TEST_F(FilesRename, MovesTheFile)
{
    std::string from = m_scratch.MakeFile("旧表.txt", "data");
    std::string to = m_scratch / "新ソ.txt";
    EXPECT_EQ(1, RenameFileRetry(from.c_str(), to.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ("data", ReadFileBytes(to));
}

TEST_F(FilesRename, ExistingTargetIsReportedAtOnce)
{
    std::string from = m_scratch.MakeFile("旧表.txt", "from");
    std::string to = m_scratch.MakeFile("新ソ.txt", "to");
    Stopwatch watch;
    EXPECT_EQ(0, RenameFileRetry(from.c_str(), to.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    EXPECT_LT(watch.Elapsed(), 1000u);
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("既に存在するファイルを作成することはできません。", report.message);
    EXPECT_SAME_TEXT("[" + from + "]から[" + to + "]へファイル名を変更できません", report.context);
    EXPECT_EQ("from", ReadFileBytes(from));
    EXPECT_EQ("to", ReadFileBytes(to));
}

TEST_F(FilesRename, MissingSourceIsReported)
{
    std::string from = m_scratch / "無い.txt";
    std::string to = m_scratch / "new.txt";
    EXPECT_EQ(0, RenameFileRetry(from.c_str(), to.c_str(), DEF_RETRY_TIMEOUT, DEF_RETRY_INTERVAL));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("指定されたファイルが見つかりません。", report.message);
    EXPECT_SAME_TEXT("[" + from + "]から[" + to + "]へファイル名を変更できません", report.context);
}

}  // namespace
