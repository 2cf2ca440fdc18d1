// GetPathType on real entries, the reports that go with 0x21 and 0x01, and
// GetPathTypeQuiet, which answers the same and reports nothing.
#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

using FilesPathType = ScratchTest;

TEST_F(FilesPathType, EveryResultOnItsRow)
{
    MakeFolder("表ソ能");
    MakeFile("能.TXT", "x");
    std::string hidden = MakeFile("hidden.txt"), hiddenFolder = MakeFolder("hidden folder");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(hiddenFolder.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    // Looking inside a file fails with an error other than "not found".
    WIN32_FIND_DATAA data;
    ASSERT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(Path("能.TXT\\inside").c_str(), &data));
    DWORD insideError = GetLastError();
    ASSERT_FALSE(ClassifyFileError(insideError) & FE_NOTFOUND) << insideError;
    const std::string symbols = "ファイル名に <>/ の記号は使用できません", wildcards = "ファイル名に*や?の文字は使用できません";

    const struct {
        std::string path;
        int type;
        Report report = {};
    } rows[] = {
        {Path("表ソ能"), PT_DIRLIKE | PT_FOLDER},
        {Path("表ソ能\\  "), 0x0C},
        {Path("能.txt"), PT_FILE},
        {hidden, 0x10},
        {hiddenFolder, 0x0C},
        {Path("missing.txt"), PT_NONE},
        {Path("missing\\deeper\\表"), 0x02},
        {Path("無い\x81/"), 0x02},
        {"", PT_DIRLIKE},
        {"   ", 0x04},
        {"c:\\ ", 0x04},
        {"C:", 0x04},
        {std::string(1, FreeDriveLetter()) + ":\\", 0x04},
        {Path("a<b\\"), PT_ERROR | PT_BADNAME, {ERR_SYSTEM, symbols, Path("a<b")}},
        {Path("表>"), 0x21, {ERR_SYSTEM, symbols, Path("表>")}},
        {"C:/DIR", 0x21, {ERR_SYSTEM, symbols, "C:/DIR"}},
        {Path("*.TXT"), 0x21, {ERR_SYSTEM, wildcards, Path("*.TXT")}},
        {Path("表?"), 0x21, {ERR_SYSTEM, wildcards, Path("表?")}},
        {Path("能.TXT\\inside"), PT_ERROR,
         {ERR_READ, SystemText(insideError), "フォルダ " + Path("能.TXT\\") + " の読み取りが行えません"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.type, GetPathType(row.path.c_str())) << robot::Quoted(row.path);
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << robot::Quoted(row.path);
        EXPECT_EQ(row.type, GetPathTypeQuiet(row.path.c_str())) << robot::Quoted(row.path);
        EXPECT_EQ(0, TakeReport().category) << "the quiet variant reported: " << robot::Quoted(row.path);
    }
}

}  // namespace
