// CopyFileData onto a drive that fills up: a 64 KB tmpfs that tiny_drive.sh
// maps to the drive letter in DARVO_TINY_DRIVE for the run.
#include <cstdlib>
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

class FilesDiskFull : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        const char* letter = std::getenv("DARVO_TINY_DRIVE");
        if (!letter || !*letter)
            GTEST_SKIP() << "no tiny drive: run through tiny_drive.sh";
        m_drive = letter;
        ASSERT_EQ((UINT)DRIVE_FIXED, GetDriveTypeA((m_drive + "\\").c_str())) << m_drive << " is not mapped";
    }

    std::string m_drive;
};

TEST_F(FilesDiskFull, FreeSpaceIsTheTinyDrives)
{
    double bytes = -1;
    EXPECT_EQ(1, GetFreeSpace((m_drive + "\\any\\file.txt").c_str(), &bytes));
    EXPECT_GT(bytes, 0.0);
    EXPECT_LE(bytes, 65536.0);
}

TEST_F(FilesDiskFull, CopyOntoAFullDriveIsReportedAsAWriteFailure)
{
    std::string src = m_scratch.MakeFile("big.dat", std::string(256 * 1024, 'x'));
    std::string dst = m_drive + "\\大きい.dat";
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_RETRY, nullptr));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("ディスクに十分な空き領域がありません。", report.message);
    EXPECT_SAME_TEXT(dst + " に書き込むことができません.", report.context);
    DeleteFileA(dst.c_str());
}

}  // namespace
