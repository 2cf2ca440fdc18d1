// GetFullPath: roots of every kind, ".", "..", slashes, the on-disk spelling
// of existing components (real folders with mixed case and Japanese names,
// looked up typed in another case), and the rest of the input left as typed
// from the first wildcard or missing component on.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

// The folder's path as the file system spells it, asked of the system
// through an open handle, without a trailing backslash.
std::string OnDiskSpelling(const std::string& folder)
{
    HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    char path[MAX_PATH] = "";
    if (handle != INVALID_HANDLE_VALUE) {
        GetFinalPathNameByHandleA(handle, path, sizeof(path), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        CloseHandle(handle);
    }
    std::string text = path;
    return text.compare(0, 4, "\\\\?\\") == 0 ? text.substr(4) : text;
}

std::string FullPath(const std::string& path)
{
    return Text(GetFullPath(path.c_str()));
}

// The scratch folder holds MixedCase\データFolder表\Read Me.Txt, Other and
// 表; m_base is its on-disk spelling with a backslash.
class FilesFullPath : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_scratch.MakeFolder("MixedCase");
        m_scratch.MakeFolder("MixedCase\\データFolder表");
        m_scratch.MakeFile("MixedCase\\データFolder表\\Read Me.Txt");
        m_scratch.MakeFolder("Other");
        m_scratch.MakeFolder("表");
        m_base = OnDiskSpelling(m_scratch.Path()) + "\\";
        ASSERT_GT(m_base.size(), 3u);
        GetCurrentDirectoryA(sizeof(m_savedCurrent), m_savedCurrent);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_savedCurrent);
        FileTest::TearDown();
    }

    std::string m_base;

private:
    char m_savedCurrent[MAX_PATH] = "";
};

TEST_F(FilesFullPath, ExistingComponentsTakeTheirOnDiskSpelling)
{
    EXPECT_SAME_TEXT(m_base + "MixedCase\\データFolder表\\Read Me.Txt",
                     FullPath(AsciiUpper(m_base) + "mixedcase\\データfolder表\\READ ME.TXT"));
    EXPECT_SAME_TEXT(m_base + "MixedCase\\データFolder表", FullPath(m_base + "MIXEDCASE\\データFOLDER表"));
    EXPECT_SAME_TEXT(m_base + "表", FullPath(m_base + "表"));
}

TEST_F(FilesFullPath, TrailingBackslashOnlyWhenTheInputHasOne)
{
    EXPECT_SAME_TEXT(m_base + "MixedCase", FullPath(m_base + "mixedcase"));
    EXPECT_SAME_TEXT(m_base + "MixedCase\\", FullPath(m_base + "mixedcase\\"));
    EXPECT_SAME_TEXT(m_base + "MixedCase\\", FullPath(m_base + "mixedcase\\\\"));
    EXPECT_SAME_TEXT(m_base + "表\\", FullPath(m_base + "表\\"));
    EXPECT_SAME_TEXT(m_base + "表", FullPath(m_base + "表"));
}

TEST_F(FilesFullPath, SlashesBecomeBackslashesButTrailBytesStay)
{
    // base is ASCII: its backslashes can be swapped byte by byte.
    for (char c : m_base)
        ASSERT_EQ(0, c & 0x80) << m_base;
    std::string typed = m_base;
    for (char& c : typed)
        if (c == '\\')
            c = '/';
    typed += "mixedcase/データfolder表/";
    EXPECT_SAME_TEXT(m_base + "MixedCase\\データFolder表\\", FullPath(typed));
    // 0x2F after a lead byte is part of the character, not a slash.
    EXPECT_SAME_TEXT(m_base + "無い\x81/x\\y", FullPath(m_base + "無い\x81/x/y"));
}

TEST_F(FilesFullPath, SeveralBackslashesSeparateLikeOne)
{
    EXPECT_SAME_TEXT(m_base + "MixedCase\\データFolder表", FullPath(m_base + "mixedcase\\\\\\データfolder表"));
}

TEST_F(FilesFullPath, OneDotComponentsAreDropped)
{
    EXPECT_SAME_TEXT(m_base + "MixedCase\\データFolder表", FullPath(m_base + ".\\mixedcase\\.\\データfolder表\\."));
}

TEST_F(FilesFullPath, TwoDotsRemoveTheComponentBefore)
{
    EXPECT_SAME_TEXT(m_base + "Other", FullPath(m_base + "mixedcase\\..\\other"));
    EXPECT_SAME_TEXT(m_base + "Other\\", FullPath(m_base + "mixedcase\\データfolder表\\..\\..\\other\\"));
    EXPECT_SAME_TEXT(m_base + "表\\Missing", FullPath(m_base + "mixedcase\\..\\表\\Missing"));
}

// A folder right under the root of C:, so that ".." has only the root left.
class FilesFullPathAtRoot : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_name = "DarvoFiles" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(("C:\\" + m_name).c_str(), nullptr));
    }
    void TearDown() override
    {
        RemoveDirectoryA(("C:\\" + m_name).c_str());
        FileTest::TearDown();
    }

    std::string m_name;
};

TEST_F(FilesFullPathAtRoot, TwoDotsAfterTheRootKeepTheRootWithOneBackslash)
{
    EXPECT_SAME_TEXT("C:\\B", FullPath("C:\\" + m_name + "\\..\\B"));
    EXPECT_SAME_TEXT("C:\\" + m_name, FullPath("c:\\" + AsciiUpper(m_name) + "\\..\\" + AsciiUpper(m_name)));
    EXPECT_SAME_TEXT("C:\\" + m_name + "\\", FullPath("C:/" + m_name + "/../" + m_name + "/"));
}

TEST_F(FilesFullPathAtRoot, TwoDotsWithNothingToRemoveAreAnOrdinaryComponent)
{
    // The root stays whole; "C:\.." is not found, so the rest stays as typed.
    EXPECT_SAME_TEXT("C:\\..\\" + m_name, FullPath("C:\\..\\" + m_name));
}

TEST_F(FilesFullPath, DriveRootTakesAnUpperCaseLetter)
{
    EXPECT_SAME_TEXT("C:\\", FullPath("c:\\"));
    EXPECT_SAME_TEXT("C:\\", FullPath("c:/"));
    EXPECT_SAME_TEXT("C:\\", FullPath("  C:\\  "));
}

TEST_F(FilesFullPath, DriveRelativePathStartsAtThatDrivesCurrentFolder)
{
    ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));
    // The current folder is taken as the system gives it; what follows is
    // looked up.
    EXPECT_SAME_TEXT(m_scratch / "MixedCase\\データFolder表", FullPath("c:mixedcase\\データfolder表"));
    EXPECT_SAME_TEXT(m_scratch.Path(), FullPath("c:"));
}

TEST_F(FilesFullPath, LeadingBackslashStartsAtTheCurrentDrivesRoot)
{
    ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));
    ASSERT_EQ("C:\\", m_base.substr(0, 3));
    EXPECT_SAME_TEXT(m_base + "MixedCase", FullPath(m_base.substr(2) + "mixedcase"));
}

TEST_F(FilesFullPath, RelativePathStartsAtTheCurrentFolder)
{
    ASSERT_TRUE(SetCurrentDirectoryA((m_scratch / "MixedCase").c_str()));
    EXPECT_SAME_TEXT(m_scratch / "MixedCase\\データFolder表\\Read Me.Txt", FullPath("データfolder表\\read me.txt"));
    EXPECT_SAME_TEXT(m_scratch / "MixedCase\\データFolder表", FullPath("  データFOLDER表  "));
}

TEST_F(FilesFullPath, RelativePathWhoseFirstComponentIsMissingKeepsTheRestAsTyped)
{
    ASSERT_TRUE(SetCurrentDirectoryA(m_scratch.Path().c_str()));
    EXPECT_SAME_TEXT(m_scratch / "Nothing Here\\mixedcase\\x", FullPath("Nothing Here\\mixedcase/x"));
}

TEST_F(FilesFullPath, MissingComponentLeavesTheRestAsTyped)
{
    // Even a later component that exists keeps its typed spelling.
    EXPECT_SAME_TEXT(m_base + "MixedCase\\Missing\\..\\データfolder表",
                     FullPath(m_base + "mixedcase\\Missing\\..\\データfolder表"));
    EXPECT_SAME_TEXT(m_base + "表\\ソ能", FullPath(m_base + "表\\ソ能"));
}

TEST_F(FilesFullPath, WildcardLeavesTheRestAsTyped)
{
    EXPECT_SAME_TEXT(m_base + "MixedCase\\*.TXT", FullPath(m_base + "mixedcase\\*.TXT"));
    EXPECT_SAME_TEXT(m_base + "MixedCase\\デ?タfolder表\\read me.txt",
                     FullPath(m_base + "mixedcase\\デ?タfolder表\\read me.txt"));
}

TEST(FilesFullPathOfShares, ServerAndShareAreCopiedAsWritten)
{
    EXPECT_SAME_TEXT("\\\\Srv\\Share\\dir\\sub\\", Text(GetFullPath("\\\\Srv\\Share\\dir/sub/")));
    EXPECT_SAME_TEXT("\\\\Srv\\表\\dir", Text(GetFullPath("//Srv/表/dir")));
    EXPECT_SAME_TEXT("\\\\Srv\\Share\\", Text(GetFullPath("\\\\Srv\\Share\\")));
}

TEST(FilesFullPathOfDrives, DriveWithoutACurrentFolderStartsAtItsRoot)
{
    char letter = FreeDriveLetter();
    ASSERT_NE(0, letter) << "no free drive letter";
    std::string drive = std::string(1, letter) + ":";
    std::string lower = std::string(1, (char)(letter - 'A' + 'a')) + ":";
    EXPECT_SAME_TEXT(drive + "\\abc\\Def", Text(GetFullPath((lower + "abc/Def").c_str())));
    EXPECT_SAME_TEXT(drive + "\\abc", Text(GetFullPath((lower + "\\abc").c_str())));
}

}  // namespace
