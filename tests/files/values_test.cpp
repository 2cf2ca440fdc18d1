// Values the program reads from the system: INI values of any length,
// registry strings, where Windows and the program live, free disk space,
// writable folders and the choice of the temporary folder.
#include <algorithm>
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
    std::string text = "[長い]\r\n空=\r\n";
    std::vector<std::string> values;
    for (size_t length : {1, 9, 10, 11, 19, 20, 21, 39, 40, 41, 79, 80, 81, 159, 160, 100000}) {
        values.push_back(LongValue(length, length % 2 == 0));
        text += "k" + std::to_string(length) + "=" + values.back() + "\r\n";
    }
    std::string ini = MakeFile("設定.INI", text + "次=y\r\n");
    for (const std::string& value : values) {
        DataObjStr read = GetIniString("長い", ("k" + std::to_string(value.size())).c_str(), "既定", ini.c_str());
        EXPECT_TRUE(value == std::string(read)) << "the value of " << value.size() << " bytes differs";
        EXPECT_EQ(std::max(read.GetLength() + 1, 10), read.GetCapacity()) << value.size();
    }
    const struct { const char *section, *key, *deflt; std::string file; const char* expected; } rows[] = {
        {"長い", "次", "既定", ini, "y"},       {"長い", "空", "既定", ini, ""},
        {"長い", "無い", "既定", ini, "既定"},   {"無い節", "次", "既定", ini, "既定"},
        {"長い", "無い", nullptr, ini, ""},     {"長い", "次", "既定表", Path("無い.INI"), "既定表"},
    };
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, std::string(GetIniString(row.section, row.key, row.deflt, row.file.c_str())))
            << robot::Quoted(row.key) << " in " << robot::Quoted(row.file);

    // A blank file name means WIN.INI.
    std::string section = "DarvoFilesTest" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(WriteProfileStringA(section.c_str(), "キー", "WIN.INI の値表"));
    for (const char* file : {"", "   ", static_cast<const char*>(nullptr)})
        EXPECT_SAME_TEXT("WIN.INI の値表", std::string(GetIniString(section.c_str(), "キー", "既定", file)));
    WriteProfileStringA(section.c_str(), nullptr, nullptr);
}

// Every caller passes a type, a text and a first size, as these rows do.
TEST_F(FilesValues, RegistryStringsGrowToTheirLengthAndEndAtTheirData)
{
    std::string name = "Software\\DarvoFilesTest" + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, name.c_str(), &key));
    // stored: the value's bytes (REG_BINARY: without a NUL); offered: the first size.
    const struct { std::string stored; DWORD type, offered; std::string expected; } rows[] = {
        {LongValue(5000, true) + '\0', REG_SZ, 10, LongValue(5000, true)},
        {std::string("abc\0", 4), REG_SZ, 4, "abc"}, {"xyz表", REG_BINARY, 64, "xyz表"},
    };
    for (const auto& row : rows) {
        RegSetValueExA(key, "値", 0, row.type, (const BYTE*)row.stored.data(), (DWORD)row.stored.size());
        DWORD type = 0, cb = row.offered;
        DataObjStr out("previous text that is longer");
        EXPECT_EQ(ERROR_SUCCESS, RegQueryString(key, "値", &type, &out, &cb));
        EXPECT_EQ(row.type, type);
        EXPECT_SAME_TEXT(row.expected, std::string(out));
        EXPECT_EQ(row.stored.size(), cb) << robot::Quoted(row.expected);
    }
    DataObjStr out("old");
    DWORD type = 0, cb = 10;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryString(key, "無い", &type, &out, &cb));
    EXPECT_SAME_TEXT("", std::string(out));
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, name.c_str());
}

TEST_F(FilesValues, PlacesFreeSpaceWritableFoldersAndTheTempFolder)
{
    std::string program(GetProgramPath()), windowsTemp = std::string(GetWindowsDir()) + "\\TEMP";
    EXPECT_EQ(0, lstrcmpiA("C:\\WINDOWS", GetWindowsDir()) | lstrcmpiA("C:\\WINDOWS\\SYSTEM32", GetSystemDir()));
    EXPECT_EQ(0, lstrcmpiA("FILES_VALUES_TEST.EXE", program.substr(program.rfind('\\') + 1).c_str()));
    EXPECT_EQ(program.substr(0, program.rfind('\\') + 1), std::string(GetProgramDir()));

    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    double expected = (double)available.QuadPart, bytes = -1;
    // Other tests write at the same time: a margin of 1%.
    for (const std::string& path : {std::string("C:\\"), std::string("c:"), Path("表\\無い.txt")}) {
        EXPECT_EQ(1, GetFreeSpace(path.c_str(), &bytes)) << robot::Quoted(path);
        EXPECT_LT(std::fabs(bytes - expected), expected / 100) << robot::Quoted(path) << ": " << bytes << " against " << expected;
    }
    EXPECT_EQ(0, GetFreeSpace((std::string(1, FreeDriveLetter()) + ":\\DIR").c_str(), &bytes));
    EXPECT_EQ(0.0, bytes);

    std::string tmp = MakeFolder("tmp"), temp = MakeFolder("一時表");
    for (const std::string& folder : {Path(), tmp, temp, windowsTemp})
        EXPECT_EQ(1, IsWritableFolder(folder.c_str())) << robot::Quoted(folder);
    EXPECT_FALSE(Exists(Path("CorvaVelund$$$.TMP")) || Exists(temp + "\\CorvaVelund$$$.TMP"));
    EXPECT_EQ(0, IsWritableFolder(Path("無い").c_str()) | IsWritableFolder(MakeFile("file.txt").c_str()));

    // Each case has a process of its own: the environment needs no restoring.
    const struct { std::string tmp, temp, expected; } rows[] = {
        {tmp, temp, tmp + "\\"},          {tmp + "\\", temp, tmp + "\\"},       {Path("無い"), temp, temp + "\\"},
        {"", temp, temp + "\\"},          {Path("無い"), Path("無い2"), windowsTemp + "\\"},
    };
    // _putenv changes the C runtime's copy and the process's environment alike.
    for (const auto& row : rows) {
        _putenv(("TMP=" + row.tmp).c_str());
        _putenv(("TEMP=" + row.temp).c_str());
        EXPECT_SAME_TEXT(row.expected, std::string(GetTempFolder())) << robot::Quoted(row.tmp) << " / " << robot::Quoted(row.temp);
    }
}

}  // namespace
