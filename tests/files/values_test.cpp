// Values the program reads from the system: INI values of any length, the
// Windows and system folders, the free space of a drive, writable folders and
// the choice of the temporary folder. (Registry strings: the shell records'
// suite.)
#include <cmath>

#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

using FilesValues = ScratchTest;

// Printable bytes that differ along the value, so that a cut or a repeated
// block shows; "表" for every third character when kanji.
std::string LongValue(size_t size, bool kanji = false)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string value;
    for (size_t i = 0; value.size() < size; ++i)
        value += kanji && i % 3 == 0 ? std::string("表") : std::string(1, digits[(i * 13 + i / 36) % 36]);
    return value;
}

TEST_F(FilesValues, IniValuesComeWholeOrAsTheDefault)
{
    // The buffer starts at 10 bytes and doubles: lengths on both sides of
    // each size, and one far beyond.
    const size_t lengths[] = {1, 9, 10, 11, 19, 20, 21, 39, 40, 41, 79, 80, 81, 159, 160, 100000};
    std::string text = "[長い]\r\n空=\r\n";
    for (size_t length : lengths)
        text += "k" + std::to_string(length) + "=" + LongValue(length, length % 2 == 0) + "\r\n";
    std::string ini = MakeFile("設定.INI", text);
    for (size_t length : lengths) {
        DataObjStr read = GetIniString("長い", ("k" + std::to_string(length)).c_str(), "既定", ini.c_str());
        EXPECT_TRUE(LongValue(length, length % 2 == 0) == std::string(read)) << "the value of " << length << " differs";
    }
    // What is missing is Windows' to answer: the default passed on, "" for none.
    const struct { const char *key, *deflt, *expected; } rows[] = {
        {"空", "既定", ""}, {"無い", "既定表", "既定表"}, {"無い", nullptr, ""}};
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, std::string(GetIniString("長い", row.key, row.deflt, ini.c_str()))) << row.key;
}

TEST_F(FilesValues, SystemFoldersAndFreeSpace)
{
    // The install and uninstall runs find these folders through the same
    // functions: only here are they held against what the system says.
    EXPECT_EQ(0, lstrcmpiA("C:\\WINDOWS", GetWindowsDir()));
    EXPECT_EQ(0, lstrcmpiA("C:\\WINDOWS\\SYSTEM32", GetSystemDir()));
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    double expected = (double)available.QuadPart, bytes = -1;
    // A path that does not exist yet, as the setup dialog's folder may be.
    // Other tests write at the same time: a margin of 1%.
    EXPECT_EQ(1, GetFreeSpace(Path("表\\無い.txt").c_str(), &bytes));
    EXPECT_LT(std::fabs(bytes - expected), expected / 100) << bytes << " against " << expected;
    EXPECT_EQ(0, GetFreeSpace((std::string(1, FreeDriveLetter()) + ":\\DIR").c_str(), &bytes));
    EXPECT_EQ(0.0, bytes);
}

TEST_F(FilesValues, WritableFoldersAndTheTempFolder)
{
    std::string tmp = MakeFolder("tmp"), temp = MakeFolder("一時表");
    std::string windowsTemp = std::string(GetWindowsDir()) + "\\TEMP";
    EXPECT_EQ(1, IsWritableFolder(temp.c_str()));
    EXPECT_FALSE(Exists(temp + "\\CorvaVelund$$$.TMP")) << "the test file stays behind";
    EXPECT_EQ(0, IsWritableFolder(Path("無い").c_str()) | IsWritableFolder(MakeFile("file.txt").c_str()));
    // TMP first, then TEMP, then the Windows folder's TEMP; each case has a
    // process of its own, so the environment needs no restoring.
    const struct { std::string tmp, temp, expected; } rows[] = {
        {tmp, temp, tmp + "\\"}, {Path("無い"), temp, temp + "\\"}, {"", Path("無い2"), windowsTemp + "\\"}};
    for (const auto& row : rows) {
        _putenv(("TMP=" + row.tmp).c_str());
        _putenv(("TEMP=" + row.temp).c_str());
        EXPECT_SAME_TEXT(row.expected, std::string(GetTempFolder())) << robot::Quoted(row.tmp);
    }
}

}  // namespace
