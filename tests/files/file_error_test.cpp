// The classes of file errors and ReportFileError's message: the system text,
// or the drive for a device that is not ready.
#include "dazo/Func.h"
#include "file_test.h"

namespace {

TEST(FilesErrorClass, ConflictsDiskFullAndNotFound)
{
    for (DWORD error : {5, 32, 33})
        EXPECT_EQ(FE_RETRY, ClassifyFileError(error)) << error;
    for (DWORD error : {39, 112})
        EXPECT_EQ(FE_DISKFULL, ClassifyFileError(error)) << error;
    for (DWORD error : {2, 3, 18})
        EXPECT_EQ(FE_NOTFOUND, ClassifyFileError(error)) << error;
    for (DWORD error : {0, 1, 4, 21, 80, 183, 123})
        EXPECT_EQ(0, ClassifyFileError(error)) << error;
}

class FilesFileError : public FileTest {};

TEST_F(FilesFileError, SystemTextWithoutTheNumber)
{
    EXPECT_EQ(-1, ReportFileError(ERROR_SHARING_VIOLATION, ERR_OPEN2, "C:\\表\\a.txt", "文脈"));
    Report report = TakeReport();
    EXPECT_EQ(ERR_OPEN2, report.category);
    EXPECT_SAME_TEXT("プロセスはファイルにアクセスできません。別のプロセスが使用中です。", report.message);
    EXPECT_SAME_TEXT("文脈", report.context);
}

TEST_F(FilesFileError, DeviceNotReadyNamesTheDrive)
{
    ReportFileError(ERROR_NOT_READY, ERR_READ, "a:\\表\\a.txt", "フロッピー");
    Report report = TakeReport();
    EXPECT_EQ(ERR_READ, report.category);
    EXPECT_SAME_TEXT("ドライブ A: の準備ができていません.", report.message);
    EXPECT_SAME_TEXT("フロッピー", report.context);

    ReportFileError(ERROR_NOT_READY, ERR_WRITE, "\\\\srv\\共有\\a.txt", "");
    EXPECT_SAME_TEXT("ドライブ \\\\srv\\共有 の準備ができていません.", TakeReport().message);
}

}  // namespace
