// Where Windows and the program live, free disk space, writable folders and
// the choice of the temporary folder.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

TEST(FilesPlaces, WindowsSystemAndProgramFolders)
{
    EXPECT_EQ("C:\\WINDOWS", AsciiUpper(Text(GetWindowsDir())));
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM32", AsciiUpper(Text(GetSystemDir())));
    std::string program = Text(GetProgramPath());
    std::string folder = Text(GetProgramDir());
    EXPECT_EQ("FILES_VALUES_TEST.EXE", AsciiUpper(program.substr(program.find_last_of('\\') + 1)));
    EXPECT_EQ(program.substr(0, program.find_last_of('\\') + 1), folder);
}

class FilesFreeSpace : public FileTest {};

TEST_F(FilesFreeSpace, OfDriveCAsTheSystemCountsIt)
{
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    double expected = (double)available.QuadPart;
    ASSERT_GT(expected, 0.0);
    // Other tests write at the same time: a margin of 1%.
    for (const std::string& path : {std::string("C:\\"), std::string("c:"), m_scratch / "表\\無い.txt"}) {
        double bytes = -1;
        EXPECT_EQ(1, GetFreeSpace(path.c_str(), &bytes)) << path;
        EXPECT_LT(std::fabs(bytes - expected), expected / 100) << path << ": " << bytes << " against " << expected;
    }
}

TEST_F(FilesFreeSpace, OfAMissingDriveFails)
{
    char letter = FreeDriveLetter();
    ASSERT_NE(0, letter);
    double bytes = 12345;
    EXPECT_EQ(0, GetFreeSpace((std::string(1, letter) + ":\\DIR").c_str(), &bytes));
    EXPECT_EQ(0.0, bytes);
}

class FilesWritable : public FileTest {};

TEST_F(FilesWritable, ScratchFolderIsWritableAndKeepsNoTestFile)
{
    EXPECT_EQ(1, IsWritableFolder(m_scratch.Path().c_str()));
    std::string folder = m_scratch.Path();
    folder.pop_back();
    EXPECT_EQ(1, IsWritableFolder(folder.c_str()));
    EXPECT_EQ(1, IsWritableFolder(m_scratch.MakeFolder("表ソ").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_scratch / "CorvaVelund$$$.TMP").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_scratch / "表ソ\\CorvaVelund$$$.TMP").c_str()));
}

TEST_F(FilesWritable, MissingFolderOrAFileIsNot)
{
    EXPECT_EQ(0, IsWritableFolder((m_scratch / "無い").c_str()));
    EXPECT_EQ(0, IsWritableFolder(m_scratch.MakeFile("file.txt").c_str()));
}

// TMP and TEMP set for the test and put back afterwards. _putenv changes the
// C runtime's copy and the process's environment alike.
class FilesTempFolder : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        for (const char* name : {"TMP", "TEMP"}) {
            const char* value = std::getenv(name);
            m_saved.push_back(std::string(name) + "=" + (value ? value : ""));
        }
    }
    void TearDown() override
    {
        for (const std::string& assignment : m_saved)
            _putenv(assignment.c_str());
        FileTest::TearDown();
    }

    static void Set(const char* name, const std::string& value)
    {
        ASSERT_EQ(0, _putenv((std::string(name) + "=" + value).c_str()));
    }

private:
    std::vector<std::string> m_saved;
};

TEST_F(FilesTempFolder, TmpComesFirstWithABackslash)
{
    std::string tmp = m_scratch.MakeFolder("tmp");
    Set("TMP", tmp);
    Set("TEMP", m_scratch.MakeFolder("temp"));
    EXPECT_SAME_TEXT(tmp + "\\", Text(GetTempFolder()));
    Set("TMP", tmp + "\\");
    EXPECT_SAME_TEXT(tmp + "\\", Text(GetTempFolder()));
}

TEST_F(FilesTempFolder, MissingTmpFallsBackToTemp)
{
    std::string temp = m_scratch.MakeFolder("一時表");
    Set("TMP", m_scratch / "無い");
    Set("TEMP", temp);
    EXPECT_SAME_TEXT(temp + "\\", Text(GetTempFolder()));
    Set("TMP", "");
    EXPECT_SAME_TEXT(temp + "\\", Text(GetTempFolder()));
}

TEST_F(FilesTempFolder, NeitherWritableFallsBackToTheWindowsTempFolder)
{
    std::string windowsTemp = Text(GetWindowsDir()) + "\\TEMP";
    ASSERT_EQ(1, IsWritableFolder(windowsTemp.c_str())) << "the prefix has no writable " << windowsTemp;
    Set("TMP", m_scratch / "無い");
    Set("TEMP", m_scratch / "無い2");
    EXPECT_SAME_TEXT(windowsTemp + "\\", Text(GetTempFolder()));
}

}  // namespace
