// The values of a registered installation, read back by the install driver
// (is version 5 already installed, and where) and by the uninstall.
#include "base/errreport.h"
#include "dazo/Func.h"
#include "setup/shellreg.h"

// The first size asked for; RegQueryString grows it while the system answers
// that the value is longer.
static const DWORD APPKEY_FIRST_SIZE = 260;

LONG ReadRegSz(HKEY key, const char* name, DataObjStr* out)
{
    DWORD type = REG_SZ, size = APPKEY_FIRST_SIZE;
    *out = DataObjStr();
    DataObjStr value;
    LONG status = RegQueryString(key, name, &type, &value, &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ)
        return ERROR_FILE_NOT_FOUND;
    *out = value;
    return ERROR_SUCCESS;
}

// One value into *out: the text of a REG_SZ value, empty for a value of
// another type or one that is missing. 0 after reporting any other failure.
static int ReadAppValue(HKEY key, const char* name, DataObjStr* out)
{
    LONG status = ReadRegSz(key, name, out);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
        return 1;
    ReportSysError(ERR_SYSTEM, status, "レジストリ読み取りエラー");
    return 0;
}

int ReadAppKeys(AppKeys* keys)
{
    *keys = AppKeys();
    // Created when missing: merely looking for an installation needs, and
    // so checks, the right to write the application's key.
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, SHELLREG_APP_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        ReportSysError(ERR_SYSTEM, status, "レジストリの読み取りに失敗。管理者権限で実行してください。");
        return 0;
    }
    int ok = ReadAppValue(key, "KeyAppDir", &keys->KeyAppDir) && ReadAppValue(key, "AppDir", &keys->AppDir) &&
             ReadAppValue(key, "pathShortcut1", &keys->pathShortcut1) &&
             ReadAppValue(key, "pathShortcut2", &keys->pathShortcut2);
    RegCloseKey(key);
    return ok;
}
