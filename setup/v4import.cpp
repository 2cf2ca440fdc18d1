#include "setup/v4import.h"

#include "dazo/Func.h"
#include "dazo/fenv2.h"

namespace {

// A value read with the default "*" is copied unless it begins with "*"
// (the mark of a missing key; so an empty value present in the file is
// copied); a value read with the empty default is copied unless it is empty.
struct V4Setting {
    const char* section;
    const char* key;
    const char* deflt;
};

const V4Setting s_v4Settings[] = {
    {"出納帳", "消費税５％開始日", "*"},
    {"出納帳", "税振替保護除く", "*"},
    {"MotoDlg", "Title", "*"},
    {"MotoDlg", "TopMargin", "*"},
    {"SyukeiPrnDlg", "TopMargin", "*"},
    {"SyukeiPrnDlg", "LeftMargin", "*"},
    {"SiwakePrnDlg", "TopMargin", "*"},
    {"SiwakePrnDlg", "LeftMargin", "*"},
    {"SisanhyoPrnDlg", "TopMargin", "*"},
    {"SisanhyoPrnDlg", "LeftMargin", "*"},
    {"SisanhyoPrnDlg", "Title", ""},
    {"SisanhyoPrnDlg", "科目タイトル", ""},
    {"Default", "漢字制御", "*"},
    {"TextoutDlg", "ファイル名", "*"},
    {"GrDarvo", "RowHighlight", "*"},
    {"GrSiwake", "RowHighlight", "*"},
    {"KamoDlg", "LeftMargin", "*"},
    {"KamoDlg", "TopMargin", "*"},
};

bool IsPresent(const V4Setting& setting, const char* value)
{
    return *setting.deflt ? value[0] != '*' : value[0] != '\0';
}

}  // namespace

void ImportVersion4Settings(FEnv2* env, const DataObjStr& iniPath)
{
    for (const V4Setting& setting : s_v4Settings) {
        DataObjStr value = GetIniString(setting.section, setting.key, setting.deflt, iniPath);
        if (IsPresent(setting, value))
            env->WriteString(setting.section, setting.key, value);
    }
}
