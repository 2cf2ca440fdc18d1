// GetPathType: every result bit on real entries, the reports that go with
// 0x21 and 0x01, and GetPathTypeQuiet, which shows nothing.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

int PathType(const std::string& path)
{
    return GetPathType(path.c_str());
}

int PathTypeQuiet(const std::string& path)
{
    return GetPathTypeQuiet(path.c_str());
}

class FilesPathType : public FileTest {};

TEST_F(FilesPathType, FolderIsFolderLike)
{
    m_scratch.MakeFolder("表ソ能");
    EXPECT_EQ(PT_DIRLIKE | PT_FOLDER, PathType(m_scratch / "表ソ能"));
    EXPECT_EQ(0x0C, PathType(m_scratch / "表ソ能\\"));
    EXPECT_EQ(0x0C, PathType(m_scratch / "表ソ能\\  "));
}

TEST_F(FilesPathType, FileIsAFile)
{
    m_scratch.MakeFile("能.TXT", "x");
    EXPECT_EQ(PT_FILE, PathType(m_scratch / "能.TXT"));
    EXPECT_EQ(0x10, PathType(m_scratch / "能.txt"));
}

TEST_F(FilesPathType, HiddenSystemAndReadOnlyEntriesAreFound)
{
    std::string file = m_scratch.MakeFile("hidden.txt");
    std::string folder = m_scratch.MakeFolder("hidden folder");
    ASSERT_TRUE(
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    ASSERT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "the system keeps no hidden attribute";
    EXPECT_EQ(0x10, PathType(file));
    EXPECT_EQ(0x0C, PathType(folder));
}

TEST_F(FilesPathType, NothingThere)
{
    EXPECT_EQ(PT_NONE, PathType(m_scratch / "missing.txt"));
    EXPECT_EQ(0x02, PathType(m_scratch / "missing\\deeper\\表"));
}

TEST_F(FilesPathType, EmptyPathAndRootsAreFolderLike)
{
    EXPECT_EQ(PT_DIRLIKE, PathType(""));
    EXPECT_EQ(0x04, PathType("   "));
    EXPECT_EQ(0x04, PathType("C:\\"));
    EXPECT_EQ(0x04, PathType("C:"));
    EXPECT_EQ(0x04, PathType("c:\\ "));
    // A share that cannot be reached is not found, which counts as empty.
    EXPECT_EQ(0x04, PathType("\\\\srv\\share\\"));
}

TEST_F(FilesPathType, RootOfAMissingDriveIsFolderLikeWithoutReport)
{
    // Its lookup fails with a not-found error, which counts as an empty root.
    char letter = FreeDriveLetter();
    ASSERT_NE(0, letter);
    EXPECT_EQ(0x04, PathType(std::string(1, letter) + ":\\"));
}

TEST_F(FilesPathType, ForbiddenSymbolIsABadNameWithItsReport)
{
    EXPECT_EQ(PT_ERROR | PT_BADNAME, PathType(m_scratch / "a<b\\"));
    Report report = TakeReport();
    EXPECT_EQ(ERR_SYSTEM, report.category);
    EXPECT_SAME_TEXT("ファイル名に <>/ の記号は使用できません", report.message);
    EXPECT_SAME_TEXT(m_scratch / "a<b", report.context);

    EXPECT_EQ(0x21, PathType(m_scratch / "表>"));
    EXPECT_SAME_TEXT("ファイル名に <>/ の記号は使用できません", TakeReport().message);
    EXPECT_EQ(0x21, PathType("C:/DIR"));
    EXPECT_EQ(ERR_SYSTEM, TakeReport().category);
}

TEST_F(FilesPathType, WildcardIsABadNameWithItsReport)
{
    for (const char* name : {"*.TXT", "表?"}) {
        EXPECT_EQ(0x21, PathType(m_scratch / name)) << name;
        Report report = TakeReport();
        EXPECT_EQ(ERR_SYSTEM, report.category);
        EXPECT_SAME_TEXT("ファイル名に*や?の文字は使用できません", report.message);
        EXPECT_SAME_TEXT(m_scratch / name, report.context);
    }
}

TEST_F(FilesPathType, TrailByte5CAndLeadByteBeforeSlashAreNoSeparators)
{
    // "\x81/" is no slash, so no bad name; 表 is no backslash, so its last
    // byte stays and the folder is found.
    m_scratch.MakeFolder("表");
    EXPECT_EQ(0x0C, PathType(m_scratch / "表"));
    EXPECT_EQ(0x02, PathType(m_scratch / "無い\x81/"));
}

TEST_F(FilesPathType, LookupErrorIsReportedWithOne)
{
    // Looking inside a file fails with an error other than "not found".
    std::string file = m_scratch.MakeFile("plain.txt");
    WIN32_FIND_DATAA data;
    ASSERT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA((file + "\\inside").c_str(), &data));
    DWORD error = GetLastError();
    ASSERT_FALSE(ClassifyFileError(error) & FE_NOTFOUND) << "error " << error;

    EXPECT_EQ(PT_ERROR, PathType(file + "\\inside"));
    Report report = TakeReport();
    EXPECT_EQ(ERR_READ, report.category);
    EXPECT_SAME_TEXT(SystemText(error), report.message);
    EXPECT_SAME_TEXT("フォルダ " + file + "\\ の読み取りが行えません", report.context);
}

TEST_F(FilesPathType, QuietVariantReportsNothing)
{
    EXPECT_EQ(0x21, PathTypeQuiet(m_scratch / "a<b"));
    EXPECT_EQ(0x21, PathTypeQuiet(m_scratch / "*"));
    std::string file = m_scratch.MakeFile("plain.txt");
    EXPECT_EQ(0x01, PathTypeQuiet(file + "\\inside"));
    EXPECT_EQ(0x10, PathTypeQuiet(file));
    EXPECT_EQ(0, TakeReport().category);
}

}  // namespace
