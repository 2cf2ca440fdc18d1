// Writing onto a drive that fills up: a 64 KB tmpfs that tiny_drive.sh maps
// to the drive letter in DARVO_TINY_DRIVE for the run.
#include <cstdlib>

#include "dazo/Func.h"
#include "dazo/fenv2.h"
#include "scratch_test.h"
#include "testkit/child_process.h"

namespace {

class FilesDiskFull : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        const char* letter = std::getenv("DARVO_TINY_DRIVE");
        if (!letter || !*letter)
            GTEST_SKIP() << "no tiny drive: run through tiny_drive.sh";
        m_drive = letter;
        ASSERT_EQ((UINT)DRIVE_FIXED, GetDriveTypeA((m_drive + "\\").c_str())) << m_drive << " is not mapped";
    }
    std::string m_drive;
};

TEST_F(FilesDiskFull, CopyAndSettingsSaveReportTheFullDiskAndKeepTheOldFile)
{
    double bytes = -1;
    EXPECT_EQ(1, GetFreeSpace((m_drive + "\\any\\file.txt").c_str(), &bytes));
    EXPECT_TRUE(bytes > 0 && bytes <= 65536.0) << bytes;

    const std::string full = "ディスクに十分な空き領域がありません。", big(256 * 1024, 'x');
    std::string src = MakeFile("big.dat", big), dst = m_drive + "\\大きい.dat";
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_RETRY, nullptr));
    EXPECT_TRUE(Reported(ERR_WRITE, full, dst + " に書き込むことができません."));
    DeleteFileA(dst.c_str());

    std::string path = m_drive + "\\設定.ENV";
    ASSERT_TRUE(CopyFileA(MakeFile("small.env", "[S]\r\nk=v\r\n").c_str(), path.c_str(), FALSE));
    {
        FEnv2 env(path.c_str(), 0);
        env.WriteString("S", "big", big.c_str());
        EXPECT_EQ(0, env.Save());
    }
    EXPECT_TRUE(Reported(ERR_WRITE, full, path + ".BAKに書き込みできません"));
    EXPECT_EQ("[S]\r\nk=v\r\n", ReadFileBytes(path));
    DeleteFileA((path + ".BAK").c_str());
    DeleteFileA(path.c_str());
}

}  // namespace
