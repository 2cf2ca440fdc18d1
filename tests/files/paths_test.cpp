// The path and folder functions: the text ones (file-name part, extension,
// root, trailing backslash, name check), GetFullPath (roots of every kind,
// ".", "..", slashes, the on-disk spelling of existing components typed in
// another case, the rest left as typed from the first wildcard or missing
// component on), and GetPathType on real entries with its reports. Names end
// in characters whose trail byte is 0x5C (表 ソ 能), and "\x81/" is a lead
// byte followed by 0x2F: neither may be taken for a separator.
// Then the values the program reads from the system: INI values of any
// length, the Windows and system folders, the free space of a drive, the
// folders made, found writable and taken as the temporary folder. (Registry
// strings: the shell records' suite.)
#include <cerrno>
#include <cmath>

#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

using FilesPaths = ScratchTest;

// n: file-name position, e: extension position, r: root,
// +: AddBackslash, -: RemoveBackslash, c: CheckFileName ("ok" or its errno).
std::string Apply(char function, const char* path)
{
    DataObjStr text(path);
    errno = 0;
    switch (function) {
    case 'n':
        return std::to_string(GetFileNamePos(path));
    case 'e':
        return std::to_string(GetExtPos(path));
    case 'c':
        return CheckFileName(path) == 1 ? "ok" : std::to_string(errno);
    case 'r':
        return std::string(GetRootPart(text));
    case '+':
        return std::string(AddBackslash(text));
    }
    text.GetBuffer(400);  // the capacity must be trimmed again
    RemoveBackslash(text);
    return text.GetCapacity() < 400 ? std::string(text) : "(capacity not trimmed)";
}

TEST_F(FilesPaths, TextFunctionsOnTheirRows)
{
    const struct { char function; const char* path; const char* expected; } rows[] = {
        {'n', "DIR/FILE", "4"}, {'n', "C:FILE", "2"}, {'n', "C:\\表\\ソ", "6"}, {'n', "DIR\\\x81/X", "4"},
        {'e', "C:\\DIR\\A.B.TXT", "10"}, {'e', "C:\\DIR.X\\FILE", "13"}, {'e', "能.X\\表", "7"},
        {'r', "C:\\DIR\\FILE", "C:\\"}, {'r', "\\\\表\\能表\\DIR", "\\\\表\\能表\\"}, {'r', "DIR\\FILE", ""},
        {'+', "C:\\DIR", "C:\\DIR\\"}, {'+', "C:\\ソ", "C:\\ソ\\"},
        {'+', "C:\\\x81/", "C:\\\x81/\\"}, {'+', "C:\\DIR/", "C:\\DIR/"}, {'+', "C:\\DIR\\  ", "C:\\DIR\\  "},
        {'-', "C:\\DIR\\ ", "C:\\DIR"}, {'-', "C:\\DIR\\\\", "C:\\DIR\\"}, {'-', "C:\\DIR\\表\\", "C:\\DIR\\表"},
        {'-', "C:\\DIR\\ソ  ", "C:\\DIR\\ソ"}, {'-', "能", "能"}, {'-', "C:\\ ", "C:\\"},
        // Angle brackets and the slash are refused; a trail byte 0x5C or a
        // lead byte before 0x2F is no separator.
        {'c', "C:\\A<B", "-3"}, {'c', "C:\\A>B", "-3"}, {'c', "C:\\DIR/FILE", "-3"}, {'c', "C:\\表\\ソ能.TXT", "ok"},
        {'c', "C:\\DIR\\\x81/", "ok"},
    };
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, Apply(row.function, row.path)) << row.function << " " << robot::Quoted(row.path);
}

// The folder's path as the file system spells it, asked of the system
// through an open handle.
std::string OnDiskSpelling(const std::string& folder)
{
    HANDLE handle = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    char path[MAX_PATH] = "";
    GetFinalPathNameByHandleA(handle, path, sizeof(path), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    std::string text = path;
    return text.compare(0, 4, "\\\\?\\") == 0 ? text.substr(4) : text;
}

TEST_F(FilesPaths, FullPathOfEveryKindOnItsRow)
{
    for (const char* folder : {"MixedCase", "MixedCase\\データFolder表", "Other", "表"})
        MakeFolder(folder);
    MakeFile("MixedCase\\データFolder表\\Read Me.Txt");
    const std::string b = OnDiskSpelling(Path()) + "\\";
    ASSERT_EQ("C:\\", b.substr(0, 3));
    ASSERT_TRUE(SetCurrentDirectoryA(b.c_str()));
    // A folder in the root of C:, for the rows that climb to the root;
    // removed at the end.
    const std::string root = "DarvoFiles" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(("C:\\" + root).c_str(), nullptr));
    char free = FreeDriveLetter();
    const std::string drive = std::string(1, free) + ":", lower = std::string(1, (char)std::tolower(free)) + ":";

    const struct { std::string typed, expected; } rows[] = {
        {AsciiUpper(b) + "mixedcase\\データfolder表\\READ ME.TXT", b + "MixedCase\\データFolder表\\Read Me.Txt"},
        {b + "表", b + "表"}, {b + "表\\", b + "表\\"}, {b + "mixedcase\\\\", b + "MixedCase\\"},
        {b + "mixedcase/データfolder表/", b + "MixedCase\\データFolder表\\"},
        {b + "無い\x81/x/y", b + "無い\x81/x\\y"},
        {b + ".\\mixedcase\\.\\データfolder表\\.", b + "MixedCase\\データFolder表"},
        {b + "mixedcase\\データfolder表\\..\\..\\other\\", b + "Other\\"},
        {b + "mixedcase\\Missing\\..\\データfolder表", b + "MixedCase\\Missing\\..\\データfolder表"},
        {b + "mixedcase\\*.TXT", b + "MixedCase\\*.TXT"}, {"  mixedcase\\  ", b + "MixedCase\\"},
        {b + "mixedcase\\デ?タfolder表\\read me.txt", b + "MixedCase\\デ?タfolder表\\read me.txt"},
        {"c:mixedcase\\データfolder表", b + "MixedCase\\データFolder表"}, {"c:", b},
        {b.substr(2) + "mixedcase", b + "MixedCase"}, {"c:/", "C:\\"}, {"//Srv/表/dir", "\\\\Srv\\表\\dir"},
        {"C:\\" + root + "\\..\\B", "C:\\B"}, {"C:\\..\\" + root, "C:\\..\\" + root},
        {lower + "abc/Def", drive + "\\abc\\Def"},
    };
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, std::string(GetFullPath(row.typed.c_str()))) << robot::Quoted(row.typed);
    SetCurrentDirectoryA("C:\\");
    RemoveDirectoryA(("C:\\" + root).c_str());
}

TEST_F(FilesPaths, PathTypeOfEveryKindOnItsRow)
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

    const struct { std::string path; int type; Report report = {}; } rows[] = {
        {Path("表ソ能"), PT_DIRLIKE | PT_FOLDER}, {Path("表ソ能\\  "), 0x0C}, {Path("能.txt"), PT_FILE}, {hidden, 0x10},
        {hiddenFolder, 0x0C}, {Path("missing\\deeper\\表"), PT_NONE}, {Path("無い\x81/"), 0x02}, {"", PT_DIRLIKE},
        {"C:", 0x04}, {std::string(1, FreeDriveLetter()) + ":\\", 0x04},
        {Path("a<b\\"), PT_ERROR | PT_BADNAME, {ERR_SYSTEM, symbols, Path("a<b")}},
        {"C:/DIR", 0x21, {ERR_SYSTEM, symbols, "C:/DIR"}}, {Path("表?"), 0x21, {ERR_SYSTEM, wildcards, Path("表?")}},
        {Path("*.TXT"), 0x21, {ERR_SYSTEM, wildcards, Path("*.TXT")}},
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

TEST_F(FilesPaths, IniValuesComeWholeOrAsTheDefault)
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
    EXPECT_SAME_TEXT("", std::string(GetIniString("長い", "空", "既定", ini.c_str())));
    EXPECT_SAME_TEXT("既定表", std::string(GetIniString("長い", "無い", "既定表", ini.c_str())));
    EXPECT_SAME_TEXT("", std::string(GetIniString("長い", "無い", nullptr, ini.c_str())));
}

TEST_F(FilesPaths, SystemFoldersAndFreeSpace)
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

// CreateDirTree makes the folder that IsWritableFolder then finds writable
// and GetTempFolder takes.
TEST_F(FilesPaths, FolderHelpers)
{
    const std::string made = Path("新\\表\\ソ\\能"), temp = MakeFolder("一時表"), file = MakeFile("a.txt");
    EXPECT_EQ(1, CreateDirTree((made + "\\").c_str()));
    EXPECT_EQ(1, IsWritableFolder(made.c_str()));
    EXPECT_FALSE(Exists(made + "\\CorvaVelund$$$.TMP")) << "the test file stays behind";
    EXPECT_EQ(0, IsWritableFolder(Path("無い").c_str()) | IsWritableFolder(file.c_str()));
    for (const std::string& done : {Path(), std::string("C:\\"), std::string("\\\\srv\\share\\")})
        EXPECT_EQ(1, CreateDirTree(done.c_str())) << robot::Quoted(done);
    EXPECT_EQ(0, CreateDirTree((file + "\\sub").c_str()));
    EXPECT_TRUE(Reported(ERR_WRITE, "既に存在するファイルを作成することはできません。", "フォルダ " + file + " を作成できません"));
    // TMP first, then TEMP, then the Windows folder's TEMP; each case has a
    // process of its own, so the environment needs no restoring.
    const std::string windowsTemp = std::string(GetWindowsDir()) + "\\TEMP\\";
    const struct { std::string tmp, temp, expected; } rows[] = {
        {made, temp, made + "\\"}, {Path("無い"), temp, temp + "\\"}, {"", Path("無い2"), windowsTemp}};
    for (const auto& row : rows) {
        _putenv(("TMP=" + row.tmp).c_str());
        _putenv(("TEMP=" + row.temp).c_str());
        EXPECT_SAME_TEXT(row.expected, std::string(GetTempFolder())) << robot::Quoted(row.tmp);
    }
}

}  // namespace
