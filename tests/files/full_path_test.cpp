// GetFullPath: roots of every kind, ".", "..", slashes, the on-disk spelling
// of existing components (real folders with mixed case and Japanese names,
// typed in another case), and the rest of the input left as typed from the
// first wildcard or missing component on.
#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

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

// ASCII letters upper-cased, double-byte characters untouched; slashes for
// backslashes. (The base path is ASCII.)
std::string Retyped(std::string path, bool slashes)
{
    for (char& c : path)
        c = (char)(slashes && c == '\\' ? '/' : std::toupper((unsigned char)c));
    return path;
}

class FilesFullPath : public ScratchTest {
protected:
    void TearDown() override
    {
        SetCurrentDirectoryA("C:\\");
        RemoveDirectoryA(m_root.c_str());
        ScratchTest::TearDown();
    }
    std::string m_root = "C:\\DarvoFiles" + std::to_string(GetCurrentProcessId());
};

TEST_F(FilesFullPath, EveryKindOfPathOnItsRow)
{
    MakeFolder("MixedCase");
    MakeFolder("MixedCase\\データFolder表");
    MakeFile("MixedCase\\データFolder表\\Read Me.Txt");
    MakeFolder("Other");
    MakeFolder("表");
    ASSERT_TRUE(CreateDirectoryA(m_root.c_str(), nullptr));
    const std::string b = OnDiskSpelling(Path()) + "\\", root = m_root.substr(3);
    ASSERT_EQ("C:\\", b.substr(0, 3));
    ASSERT_TRUE(SetCurrentDirectoryA(b.c_str()));
    char free = FreeDriveLetter();
    const std::string drive = std::string(1, free) + ":", lower = std::string(1, (char)std::tolower(free)) + ":";

    const struct {
        std::string typed, expected;
    } rows[] = {
        {Retyped(b, false) + "mixedcase\\データfolder表\\READ ME.TXT", b + "MixedCase\\データFolder表\\Read Me.Txt"},
        {b + "MIXEDCASE\\データFOLDER表", b + "MixedCase\\データFolder表"},
        {b + "表", b + "表"},
        {b + "表\\", b + "表\\"},
        {b + "mixedcase\\\\", b + "MixedCase\\"},
        {Retyped(b, true) + "mixedcase/データfolder表/", b + "MixedCase\\データFolder表\\"},
        {b + "無い\x81/x/y", b + "無い\x81/x\\y"},
        {b + "mixedcase\\\\\\データfolder表", b + "MixedCase\\データFolder表"},
        {b + ".\\mixedcase\\.\\データfolder表\\.", b + "MixedCase\\データFolder表"},
        {b + "mixedcase\\データfolder表\\..\\..\\other\\", b + "Other\\"},
        {b + "mixedcase\\..\\表\\Missing", b + "表\\Missing"},
        {b + "mixedcase\\Missing\\..\\データfolder表", b + "MixedCase\\Missing\\..\\データfolder表"},
        {b + "表\\ソ能", b + "表\\ソ能"},
        {b + "mixedcase\\*.TXT", b + "MixedCase\\*.TXT"},
        {b + "mixedcase\\デ?タfolder表\\read me.txt", b + "MixedCase\\デ?タfolder表\\read me.txt"},
        {"  mixedcase  ", b + "MixedCase"},
        {"Nothing Here\\mixedcase/x", b + "Nothing Here\\mixedcase\\x"},
        {"c:mixedcase\\データfolder表", b + "MixedCase\\データFolder表"},
        {"c:", b},
        {b.substr(2) + "mixedcase", b + "MixedCase"},
        {"c:/", "C:\\"},
        {"  C:\\  ", "C:\\"},
        {"C:\\" + root + "\\..\\B", "C:\\B"},
        {"c:\\" + Retyped(root, false) + "\\..\\" + Retyped(root, false), "C:\\" + root},
        {"C:/" + root + "/../" + root + "/", "C:\\" + root + "\\"},
        {"C:\\..\\" + root, "C:\\..\\" + root},
        {"\\\\Srv\\Share\\dir/sub/", "\\\\Srv\\Share\\dir\\sub\\"},
        {"//Srv/表/dir", "\\\\Srv\\表\\dir"},
        {lower + "abc/Def", drive + "\\abc\\Def"},
        {lower + "\\abc", drive + "\\abc"},
    };
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, std::string(GetFullPath(row.typed.c_str()))) << robot::Quoted(row.typed);
}

}  // namespace
