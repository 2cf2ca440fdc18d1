// The path text functions: the file-name part, the extension, the folder
// part, the trailing backslash and the name check. Names end in characters
// whose second byte is 0x5C (表 ソ 能), and "\x81/" is a lead byte followed
// by 0x2F: neither may be taken for a separator.
#include <cerrno>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

// A lead byte and 0x2F: one double-byte unit, not a slash.
constexpr char kLeadSlash[] = "\x81/";

TEST(FilesPathParts, FileNameStartsAfterTheLastSeparatorOrTheDrive)
{
    EXPECT_EQ(7, GetFileNamePos("C:\\DIR\\FILE.TXT"));
    EXPECT_EQ(7, GetFileNamePos("C:\\DIR\\"));
    EXPECT_EQ(4, GetFileNamePos("DIR/FILE"));
    EXPECT_EQ(2, GetFileNamePos("C:FILE"));
    EXPECT_EQ(2, GetFileNamePos("C:"));
    EXPECT_EQ(0, GetFileNamePos("FILE"));
    EXPECT_EQ(0, GetFileNamePos(""));
    EXPECT_EQ(12, GetFileNamePos("\\\\srv\\share\\FILE"));
}

TEST(FilesPathParts, FileNamePosStepsOverDoubleByteCharacters)
{
    EXPECT_EQ(7, GetFileNamePos("C:\\DIR\\表"));
    EXPECT_EQ(7, GetFileNamePos("C:\\DIR\\ソ能表"));
    EXPECT_EQ(6, GetFileNamePos("C:\\表\\ソ"));
    EXPECT_EQ(4, GetFileNamePos((std::string("DIR\\") + kLeadSlash + "X").c_str()));
}

TEST(FilesPathParts, ExtensionIsTheLastDotOfTheFileName)
{
    EXPECT_EQ(10, GetExtPos("C:\\DIR\\A.B.TXT"));
    EXPECT_EQ(9, GetExtPos("C:\\DIR\\表.TXT"));
    EXPECT_EQ(11, GetExtPos("C:\\DIR\\表ソ.能"));
    // No dot in the name: the end, even when a folder has one.
    EXPECT_EQ(13, GetExtPos("C:\\DIR.X\\FILE"));
    EXPECT_EQ(9, GetExtPos("C:\\DIR\\表"));
    EXPECT_EQ(7, GetExtPos("能.X\\表"));
    EXPECT_EQ(0, GetExtPos(""));
}

TEST(FilesPathParts, FolderPartIsThePathUpToTheFileName)
{
    EXPECT_SAME_TEXT("C:\\DIR\\", Text(GetDirPart("C:\\DIR\\表")));
    EXPECT_SAME_TEXT("C:\\表\\", Text(GetDirPart("C:\\表\\ソ.TXT")));
    EXPECT_SAME_TEXT("C:", Text(GetDirPart("C:FILE")));
    EXPECT_SAME_TEXT("", Text(GetDirPart("FILE")));
    EXPECT_SAME_TEXT("A/", Text(GetDirPart(DataObjStr((std::string("A/") + kLeadSlash).c_str()))));
}

TEST(FilesPathParts, RootOfDrivesAndShares)
{
    EXPECT_SAME_TEXT("C:\\", Text(GetRootPart("C:\\DIR\\FILE")));
    EXPECT_SAME_TEXT("\\\\srv\\share\\", Text(GetRootPart("\\\\srv\\share\\DIR")));
    EXPECT_SAME_TEXT("\\\\srv\\share\\", Text(GetRootPart("\\\\srv\\share")));
    // 表 inside the server and share names ends neither.
    EXPECT_SAME_TEXT("\\\\表\\能表\\", Text(GetRootPart("\\\\表\\能表\\DIR")));
    EXPECT_SAME_TEXT("", Text(GetRootPart("DIR\\FILE")));
}

TEST(FilesPathParts, AddBackslashAfterANonBlankName)
{
    EXPECT_SAME_TEXT("C:\\DIR\\", Text(AddBackslash("C:\\DIR")));
    EXPECT_SAME_TEXT("DIR\\", Text(AddBackslash("DIR")));
    EXPECT_SAME_TEXT("C:\\DIR\\表\\", Text(AddBackslash("C:\\DIR\\表")));
    EXPECT_SAME_TEXT("C:\\ソ\\", Text(AddBackslash("C:\\ソ")));
    std::string leadSlash = std::string("C:\\") + kLeadSlash;
    EXPECT_SAME_TEXT(leadSlash + "\\", Text(AddBackslash(leadSlash.c_str())));
}

TEST(FilesPathParts, AddBackslashLeavesPathsWithoutAName)
{
    EXPECT_SAME_TEXT("C:\\DIR\\", Text(AddBackslash("C:\\DIR\\")));
    EXPECT_SAME_TEXT("C:\\DIR/", Text(AddBackslash("C:\\DIR/")));
    EXPECT_SAME_TEXT("C:\\", Text(AddBackslash("C:\\")));
    EXPECT_SAME_TEXT("C:", Text(AddBackslash("C:")));
    EXPECT_SAME_TEXT("", Text(AddBackslash("")));
    // A blank name counts as none.
    EXPECT_SAME_TEXT("C:\\DIR\\  ", Text(AddBackslash("C:\\DIR\\  ")));
    EXPECT_SAME_TEXT("  ", Text(AddBackslash("  ")));
}

std::string Removed(const char* path)
{
    DataObjStr text(path);
    RemoveBackslash(text);
    return Text(text);
}

TEST(FilesPathParts, RemoveBackslashTakesBlanksAndOneBackslash)
{
    EXPECT_SAME_TEXT("C:\\DIR", Removed("C:\\DIR\\"));
    EXPECT_SAME_TEXT("C:\\DIR", Removed("C:\\DIR\\ "));
    EXPECT_SAME_TEXT("C:\\DIR", Removed("C:\\DIR   "));
    EXPECT_SAME_TEXT("C:\\DIR\\", Removed("C:\\DIR\\\\"));
    EXPECT_SAME_TEXT("C:\\DIR\\表", Removed("C:\\DIR\\表\\"));
    EXPECT_SAME_TEXT("", Removed("\\"));
    EXPECT_SAME_TEXT("", Removed("   "));
    EXPECT_SAME_TEXT("", Removed(""));
}

TEST(FilesPathParts, RemoveBackslashKeepsDriveRootsAndTrailBytes)
{
    EXPECT_SAME_TEXT("C:\\", Removed("C:\\"));
    EXPECT_SAME_TEXT("C:\\", Removed("C:\\ "));
    EXPECT_SAME_TEXT("C:\\DIR\\表", Removed("C:\\DIR\\表"));
    EXPECT_SAME_TEXT("C:\\DIR\\ソ", Removed("C:\\DIR\\ソ  "));
    EXPECT_SAME_TEXT("能", Removed("能"));
}

TEST(FilesPathParts, RemoveBackslashTrimsTheCapacity)
{
    DataObjStr text("C:\\DIR\\SUB\\  ");
    text.GetBuffer(400);
    RemoveBackslash(text);
    EXPECT_SAME_TEXT("C:\\DIR\\SUB", Text(text));
    EXPECT_EQ(text.GetLength() + 1, text.GetCapacity());
}

TEST(FilesPathParts, NameCheckRefusesAngleBracketsAndSlash)
{
    for (const char* bad : {"C:\\A<B", "C:\\A>B", "C:\\DIR/FILE", "表<", "/"}) {
        errno = 0;
        EXPECT_EQ(0, CheckFileName(bad)) << bad;
        EXPECT_EQ(-3, errno) << bad;
    }
}

TEST(FilesPathParts, NameCheckTakesDoubleByteNames)
{
    EXPECT_EQ(1, CheckFileName("C:\\表\\ソ能.TXT"));
    EXPECT_EQ(1, CheckFileName((std::string("C:\\DIR\\") + kLeadSlash).c_str()));
    EXPECT_EQ(1, CheckFileName(""));
}

}  // namespace
