// The registry records of an installation: the application's values, the
// document type and the uninstall entry, and the sequence that writes them
// with the shortcuts for a new installation.
#include "setup/shellreg.h"

#include <shlobj.h>

#include <cstring>
#include <initializer_list>

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Func.h"
#include "setup/setupparams.h"

const char SHELLREG_APP_KEY[] = "software\\corva\\darvo5\\data";
const char SHELLREG_UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corva-Darvo5";
const char SHELLREG_DISPLAY_NAME[] = "ヴェルンド！出納帳 Version 5";
const char SHELLREG_LINK_NAME[] = "ヴェルンド！出納帳 Version 5.LNK";

DataObjStr ReadRegString(HKEY root, const char* keyPath, const char* valueName, const char* deflt)
{
    HKEY key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return DataObjStr(deflt);
    DWORD type = REG_SZ;
    DWORD size = 256;
    DataObjStr value;
    LONG status = RegQueryString(key, valueName, &type, &value, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return DataObjStr(deflt);
    return type == REG_SZ ? value : DataObjStr();
}

// The folder absolute, in long names, with its trailing backslash.
static DataObjStr LongFolderForm(const DataObjStr& folder)
{
    return AddBackslash(GetFullPath(folder));
}

DataObjStr KeyFolderForm(const DataObjStr& folder)
{
    DataObjStr form = LongFolderForm(folder);
    // The second byte of a double-byte character may be a letter (出 is
    // 0x8F 0x6F): only single-byte characters are folded.
    char* p = form.GetBuffer(0);
    for (int i = 0, n; (n = SjisCharLen(p + i)) != 0; i += n)
        if (n == 1 && p[i] >= 'a' && p[i] <= 'z')
            p[i] = (char)(p[i] - 'a' + 'A');
    return form;
}

// One REG_SZ value; a null name is the key's default value.
struct RegText {
    const char* name;
    const char* data;
};

// Creates the key path under root and writes the values in order, the NUL
// counted in each length; 0 after a report. Values written before a failure
// stay written.
static int WriteRegKey(HKEY root, const char* path, std::initializer_list<RegText> values)
{
    HKEY key;
    LONG status = RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                                  nullptr);
    if (status == ERROR_SUCCESS) {
        for (const RegText& value : values) {
            status = RegSetValueExA(key, value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data),
                                    (DWORD)std::strlen(value.data) + 1);
            if (status != ERROR_SUCCESS)
                break;
        }
        LONG closed = RegCloseKey(key);
        if (status == ERROR_SUCCESS)
            status = closed;
    }
    if (status == ERROR_SUCCESS)
        return 1;
    ReportSysError(ERR_SYSTEM, (DWORD)status, "レジストリ書き込みエラー");
    return 0;
}

static bool HasComma(const char* text)
{
    for (int n; (n = SjisCharLen(text)) != 0; text += n)
        if (n == 1 && *text == ',')
            return true;
    return false;
}

int RegisterDocumentType(const DataObjStr& programFolder)
{
    static const char s_szDocType[] = "CorvaZozuveDocument";
    // A comma would end the file name of an unquoted icon reference.
    DataObjStr icon;
    if (HasComma(programFolder))
        icon << "\"" << programFolder << "DARVO5.EXE\",3";
    else
        icon << programFolder << "DARVO5.EXE,3";
    DataObjStr command;
    command << "\"" << programFolder << "DARVOSHL.EXE\" \"%1\"";
    return WriteRegKey(HKEY_CLASSES_ROOT, s_szDocType, {{nullptr, "ヴェルンド！出納帳 会計データ(QLB)"}}) &&
           WriteRegKey(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\DefaultIcon", {{nullptr, icon}}) &&
           WriteRegKey(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell", {}) &&
           WriteRegKey(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell\\open", {}) &&
           WriteRegKey(HKEY_CLASSES_ROOT, "CorvaZozuveDocument\\shell\\open\\command", {{nullptr, command}}) &&
           WriteRegKey(HKEY_CLASSES_ROOT, ".QLB", {{nullptr, s_szDocType}});
}

int WriteAppKeys(AppKeys* keys)
{
    keys->KeyAppDir = KeyFolderForm(keys->AppDir);
    return WriteRegKey(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY,
                       {{"AppDir", keys->AppDir},
                        {"KeyAppDir", keys->KeyAppDir},
                        {"pathShortcut1", keys->pathShortcut1},
                        {"pathShortcut2", keys->pathShortcut2}});
}

int WriteUninstallEntry(const char* keyPath, const char* displayName, const DataObjStr& command)
{
    return WriteRegKey(HKEY_LOCAL_MACHINE, keyPath, {{"UninstallString", command}, {"DisplayName", displayName}});
}

int RegisterInstallation(const SetupParams& params)
{
    const DataObjStr& menuFolder = params.m_fShared ? params.m_strMenuShared : params.m_strMenuPrivate;
    const DataObjStr& deskFolder = params.m_fShared ? params.m_strDeskShared : params.m_strDeskPrivate;
    AppKeys keys;
    keys.AppDir = params.m_strAppPath;
    keys.pathShortcut1 = menuFolder + SHELLREG_LINK_NAME;
    if (params.m_fDeskIcon && !IsBlankText(deskFolder))
        keys.pathShortcut2 = deskFolder + SHELLREG_LINK_NAME;
    DataObjStr launcher = params.m_strAppPath + "DARVOSHL.EXE";
    // The installed SETUP.EXE receives the option and no folder, and so
    // relaunches itself for the uninstall.
    DataObjStr uninstall;
    uninstall << "\"" << LongFolderForm(params.m_strAppPath) << "SETUP.EXE\" /uninstall";

    return WriteAppKeys(&keys) && RegisterDocumentType(params.m_strAppPath) &&
           CreateShortcut(launcher, "", SHELLREG_DISPLAY_NAME, launcher, 0, keys.pathShortcut1) &&
           (keys.pathShortcut2.GetLength() == 0 ||
            CreateShortcut(launcher, "", SHELLREG_DISPLAY_NAME, launcher, 0, keys.pathShortcut2)) &&
           WriteUninstallEntry(SHELLREG_UNINSTALL_KEY, SHELLREG_DISPLAY_NAME, uninstall);
}

void NotifyShellOfChanges()
{
    SHChangeNotify(SHCNE_ALLEVENTS, SHCNF_DWORD, nullptr, nullptr);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_DWORD, nullptr, nullptr);
}
