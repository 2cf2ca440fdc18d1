// The settings carried over from version 4: the eighteen values in their
// order, the "*" mark of a missing key, the two titles that need a value, and
// values carried whole however long. (Install runs of tests/install carry an
// empty value and leave the keys missing from the file untouched.)
#include <gtest/gtest.h>

#include <string>

#include "scratch_test.h"
#include "settings_util.h"
#include "setup/v4import.h"

namespace {

using SettingsV4Import = ScratchTest;

TEST_F(SettingsV4Import, EighteenValuesAreWrittenInTheirOrderAndOnlyWhenGiven)
{
    // The INI file holds them in another order, with keys that are not
    // carried over; the result's order is that of the rows.
    std::string ini = MakeFile("DARVO4.INI",
        "[KamoDlg]\r\nTopMargin=18\r\nLeftMargin=17\r\nBottomMargin=99\r\n[GrSiwake]\r\nRowHighlight=0\r\n"
        "[GrDarvo]\r\nRowHighlight=1\r\n[TextoutDlg]\r\nファイル名=C:\\OUT.TXT\r\n[Default]\r\n漢字制御=2\r\n"
        "[SisanhyoPrnDlg]\r\n科目タイトル=科目\r\nTitle=試算表\r\nLeftMargin=16\r\nTopMargin=15\r\n"
        "[SiwakePrnDlg]\r\nLeftMargin=14\r\nTopMargin=13\r\n[SyukeiPrnDlg]\r\nLeftMargin=12\r\nTopMargin=11\r\n"
        "[MotoDlg]\r\nTopMargin=10\r\nTitle=元帳\r\n"
        "[出納帳]\r\n税振替保護除く=1\r\n消費税５％開始日=H09.04.01\r\n会社名=コルヴァ\r\n");
    FEnv2 env(MakeFile("DARVO5.ENV", "").c_str(), 0);
    ImportVersion4Settings(&env, ini.c_str());
    EXPECT_EQ("[出納帳]\r\n消費税５％開始日=H09.04.01\r\n税振替保護除く=1\r\n[MotoDlg]\r\nTitle=元帳\r\nTopMargin=10\r\n"
              "[SyukeiPrnDlg]\r\nTopMargin=11\r\nLeftMargin=12\r\n[SiwakePrnDlg]\r\nTopMargin=13\r\nLeftMargin=14\r\n"
              "[SisanhyoPrnDlg]\r\nTopMargin=15\r\nLeftMargin=16\r\nTitle=試算表\r\n科目タイトル=科目\r\n"
              "[Default]\r\n漢字制御=2\r\n[TextoutDlg]\r\nファイル名=C:\\OUT.TXT\r\n[GrDarvo]\r\nRowHighlight=1\r\n"
              "[GrSiwake]\r\nRowHighlight=0\r\n[KamoDlg]\r\nLeftMargin=17\r\nTopMargin=18\r\n",
              TextOf(env));
    // A value starting with "*" is not copied, an empty title is not, a title
    // starting with "*" is, and a long value comes whole.
    std::string longName;
    while (longName.size() < 5000)
        longName += "C:\\とても長いフォルダ名の出納帳データ\\";
    ini = MakeFile("DARVO4.INI", "[MotoDlg]\r\nTitle=*見出し\r\n[SisanhyoPrnDlg]\r\nTitle=\r\n科目タイトル=*科目\r\n"
                                 "[TextoutDlg]\r\nファイル名=" + longName + "\r\n");
    const std::string before = "[MotoDlg]\r\nTitle=keep\r\n[SisanhyoPrnDlg]\r\nTitle=keep\r\n";
    FEnv2 old(MakeFile("DARVO5.ENV", before).c_str(), 0);
    ImportVersion4Settings(&old, ini.c_str());
    EXPECT_EQ(before + "科目タイトル=*科目\r\n[TextoutDlg]\r\nファイル名=" + longName + "\r\n", TextOf(old));
}

}  // namespace
