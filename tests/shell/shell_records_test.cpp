// The records of a new installation read back from the real registry and,
// through IShellLinkA, from the shortcut files. Every case runs in a fresh
// prefix, so the records of one case are never another's.
#include <objbase.h>
#include <shlobj.h>

#include "scratch_test.h"
#include "setup/setupparams.h"
#include "setup/shellreg.h"

namespace {

std::string Reg(HKEY root, const char* key, const char* value)
{
    return Text(ReadRegString(root, key, value, "(missing)"));
}

using ShellRecords = ScratchTest;

TEST_F(ShellRecords, NewInstallationReadsBackAndAFailedShortcutSaveIsReported)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    // Typed in lower case with a short component (Wine's short names are
    // hashed: taken from the system), with a comma and 出 (second byte "o").
    DataObjStr programFiles;
    ASSERT_EQ(1, GetSpecialFolder(&programFiles, nullptr, CSIDL_PROGRAM_FILES, 1));
    std::string longFolder = Text(programFiles) + "出納帳 App,X\\";
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    char shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(programFiles, shortName, MAX_PATH), 0u);
    std::string app = std::string(CharLowerA(shortName)) + "出納帳 app,x\\";
    SetupParams params;
    GetShellFolders(&params);
    params.m_strAppPath = app.c_str();
    params.m_fShared = 1;
    params.m_fDeskIcon = 0;  // first without the desktop shortcut: its path is written empty
    std::string deskLink = Text(params.m_strDeskShared) + SHELLREG_LINK_NAME;
    ASSERT_EQ(1, RegisterInstallation(params));
    EXPECT_TRUE(Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "pathShortcut2").empty() && !Exists(deskLink));

    // A Start-menu folder that does not exist yet, two levels deep.
    params.m_strMenuShared = params.m_strMenuShared + "コルヴァ\\出納帳\\";
    std::string menuLink = Text(params.m_strMenuShared) + SHELLREG_LINK_NAME;
    params.m_fDeskIcon = 1;
    ASSERT_EQ(1, RegisterInstallation(params));
    // The application's values, the open command and the shortcuts' targets
    // and icons: the install runs check them.
    EXPECT_TRUE(Exists(menuLink) && Exists(deskLink));
    EXPECT_EQ(AsciiUpper(longFolder), Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "KeyAppDir"));
    EXPECT_EQ("ヴェルンド！出納帳 会計データ(QLB)", Reg(HKEY_CLASSES_ROOT, "CorvaZozuveDocument", nullptr));
    EXPECT_EQ("\"" + app + "DARVO5.EXE\",3", Reg(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\DefaultIcon", nullptr));
    EXPECT_EQ("\"" + longFolder + "SETUP.EXE\" /uninstall",
              Reg(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "UninstallString"));
    EXPECT_EQ("ヴェルンド！出納帳 Version 5", Reg(HKEY_LOCAL_MACHINE, SHELLREG_UNINSTALL_KEY, "DisplayName"));

    // A folder where the shortcut file should go: the save fails with its COM status.
    std::string folder = MakeFolder("既存.LNK");
    EXPECT_EQ(0, CreateShortcut("C:\\A.EXE", "", "A", "C:\\A.EXE", 0, folder.c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_SYSTEM, report.category);
    EXPECT_SAME_TEXT("アクセス権がありません\nWindowsショートカットの作成に失敗しました",
                     report.message + "\n" + report.context);
}

// What the install driver and the uninstall find of a registered
// installation: a string stored without its NUL, one longer than the first
// size asked for, another type and a missing value as empty; ReadRegString
// likewise reads another type as empty.
TEST_F(ShellRecords, AppKeysReadBackAsStored)
{
    const std::string longLink = std::string(600, 'L') + "表";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, &key));
    RegSetValueExA(key, "AppDir", 0, REG_SZ, (const BYTE*)"c:\\表\\", 6);
    RegSetValueExA(key, "KeyAppDir", 0, REG_EXPAND_SZ, (const BYTE*)"%X%", 4);
    RegSetValueExA(key, "pathShortcut1", 0, REG_SZ, (const BYTE*)longLink.c_str(), (DWORD)longLink.size() + 1);
    RegCloseKey(key);
    AppKeys keys;
    keys.pathShortcut2 = "old";
    ASSERT_EQ(1, ReadAppKeys(&keys));
    EXPECT_EQ("c:\\表\\||" + longLink + "|",
              Text(keys.AppDir) + "|" + Text(keys.KeyAppDir) + "|" + Text(keys.pathShortcut1) + "|" +
                  Text(keys.pathShortcut2));
    EXPECT_EQ("", Reg(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, "KeyAppDir"));
}

}  // namespace
