// The records of a new installation read back from the real registry and,
// through IShellLinkA, from the shortcut files. Every case runs in a fresh
// prefix, so the records of one case are never another's.
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "file_test.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"

namespace {

const char kMissing[] = "(missing)";

std::string Reg(HKEY root, const char* key, const char* value)
{
    return Text(ReadRegString(root, key, value, kMissing));
}

// Target, description and icon (", index") of a shortcut file.
std::string ReadLink(const std::string& path)
{
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    char target[MAX_PATH] = "", description[MAX_PATH] = "", icon[MAX_PATH] = "";
    int index = -1;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)) && SUCCEEDED(file->Load(wide, STGM_READ))) {
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetDescription(description, MAX_PATH);
        link->GetIconLocation(icon, MAX_PATH, &index);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return std::string(target) + " / " + description + " / " + icon + ", " + std::to_string(index);
}

class ShellRecords : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        GetShellFolders(&m_params);
        // Typed in lower case with a short component (Wine's short names are
        // hashed: take them from the system), holding a comma and 出, whose
        // second byte is the letter o.
        DataObjStr programFiles;
        ASSERT_EQ(1, GetSpecialFolder(&programFiles, nullptr, CSIDL_PROGRAM_FILES, 1));
        m_longFolder = Text(programFiles) + "出納帳 App,X\\";
        ASSERT_TRUE(CreateDirectoryA(m_longFolder.c_str(), nullptr));
        char shortName[MAX_PATH];
        ASSERT_GT(GetShortPathNameA(programFiles, shortName, MAX_PATH), 0u);
        std::string typed = shortName;
        std::transform(typed.begin(), typed.end(), typed.begin(), ::tolower);
        m_params.m_strAppPath = (typed + "出納帳 app,x\\").c_str();
        m_params.m_fShared = 1;
    }
    void TearDown() override
    {
        CoUninitialize();
        FileTest::TearDown();
    }

    SetupParams m_params;
    std::string m_longFolder;
};

TEST_F(ShellRecords, NewInstallationReadsBack)
{
    std::string app = Text(m_params.m_strAppPath);
    // A Start-menu folder that does not exist yet, two levels deep.
    m_params.m_strMenuShared = m_params.m_strMenuShared + "コルヴァ\\出納帳\\";
    std::string menuLink = Text(m_params.m_strMenuShared) + SHELLREG_LINK_NAME;
    std::string deskLink = Text(m_params.m_strDeskShared) + SHELLREG_LINK_NAME;
    ASSERT_EQ(1, RegisterInstallation(m_params));

    EXPECT_EQ(app, Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "AppDir"));
    EXPECT_EQ(AsciiUpper(m_longFolder), Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "KeyAppDir"));
    EXPECT_EQ(menuLink, Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut1"));
    EXPECT_EQ(deskLink, Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut2"));
    EXPECT_EQ("ヴェルンド！出納帳 会計データ(QLB)", Reg(HKEY_CLASSES_ROOT, "CorvaZozuveDocument", nullptr));
    EXPECT_EQ("\"" + app + "DARVO5.EXE\",3", Reg(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\DefaultIcon", nullptr));
    EXPECT_EQ("\"" + app + "DARVOSHL.EXE\" \"%1\"",
              Reg(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell\\open\\command", nullptr));
    EXPECT_EQ("CorvaZozuveDocument", Reg(HKEY_CLASSES_ROOT, ".QLB", nullptr));
    EXPECT_EQ("\"" + m_longFolder + "SETUP.EXE\" /uninstall",
              Reg(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString"));
    EXPECT_EQ("ヴェルンド！出納帳 Version 5", Reg(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "DisplayName"));
    std::string launcher = app + "DARVOSHL.EXE";
    for (const std::string& link : {menuLink, deskLink})
        EXPECT_EQ(launcher + " / ヴェルンド！出納帳 Version 5 / " + launcher + ", 0", ReadLink(link)) << link;
}

TEST_F(ShellRecords, WithoutADesktopShortcutItsPathIsWrittenEmpty)
{
    m_params.m_fDeskIcon = 0;
    ASSERT_EQ(1, RegisterInstallation(m_params));
    EXPECT_EQ("", Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut2"));
    EXPECT_FALSE(Exists(Text(m_params.m_strDeskShared) + SHELLREG_LINK_NAME));
}

TEST_F(ShellRecords, ShortcutFailuresAreReported)
{
    std::string folder = m_scratch.MakeFolder("既存.LNK");
    std::string noDrive = std::string(1, FreeDriveLetter()) + ":\\メニュー\\";
    const struct {
        std::string link;
        int category;
        std::string message, context;
    } rows[] = {
        {noDrive + "x.LNK", ERR_WRITE, "フォルダを作成できません", noDrive},
        {folder, ERR_SYSTEM, "アクセス権がありません", "Windowsショートカットの作成に失敗しました"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(0, CreateShortcut("C:\\A.EXE", "", "A", "C:\\A.EXE", 0, row.link.c_str()));
        Report report = TakeReport();
        EXPECT_EQ(row.category, report.category) << row.link;
        EXPECT_SAME_TEXT(row.message, report.message);
        EXPECT_SAME_TEXT(row.context, report.context);
    }
}

TEST_F(ShellRecords, RegistryStringsAreReadWholeAndOnlyAsText)
{
    const char key[] = "Software\\DarvoEngineTest";
    HKEY hkey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey, nullptr));
    std::string longText(700, 'x');
    RegSetValueExA(hkey, "long", 0, REG_SZ, (const BYTE*)longText.c_str(), (DWORD)longText.size() + 1);
    RegSetValueExA(hkey, "expand", 0, REG_EXPAND_SZ, (const BYTE*)"%TEMP%", 7);
    RegCloseKey(hkey);
    EXPECT_EQ(longText, Reg(HKEY_CURRENT_USER, key, "long"));
    EXPECT_EQ("", Reg(HKEY_CURRENT_USER, key, "expand"));
    EXPECT_EQ(kMissing, Reg(HKEY_CURRENT_USER, key, "none"));
    EXPECT_EQ(kMissing, Reg(HKEY_CURRENT_USER, "Software\\DarvoNoSuchKey", "long"));
}

}  // namespace
