// A copy onto a drive that fills up: a 64 KB tmpfs that tiny_drive.sh maps to
// the drive letter in DARVO_TINY_DRIVE for the run.
#include <cstdlib>
#include <string>

#include "file_test.h"
#include "setup/copyengine.h"
#include "testkit/child_process.h"

namespace {

using EngineDiskFull = FileTest;

TEST_F(EngineDiskFull, FullDriveIsAWriteFailureAndKeepsTheOldTarget)
{
    const char* drive = std::getenv("DARVO_TINY_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no tiny drive: run through tiny_drive.sh";
    std::string source = m_scratch.MakeFile("BIG.DAT", std::string(256 * 1024, 'x'));
    std::string old = m_scratch.MakeFile("OLD.DAT", "old");
    std::string target = std::string(drive) + "\\大きい表.DAT";
    ASSERT_TRUE(CopyFileA(old.c_str(), target.c_str(), FALSE));

    EXPECT_EQ(COPY_FAILED, CopyOneFile(0, source.c_str(), target.c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT(SystemText(ERROR_DISK_FULL), report.message);
    EXPECT_SAME_TEXT("ファイル[" + target + "]へ書き込むことが出来ません", report.context);
    EXPECT_EQ("old", ReadFileBytes(target));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(drive) + "\\*.DAT").c_str(), &found);
    EXPECT_FALSE(FindNextFileA(find, &found)) << "left on the drive: " << found.cFileName;
    FindClose(find);
    DeleteFileA(target.c_str());
}

}  // namespace
