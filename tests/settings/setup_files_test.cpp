// The files setup reads besides its own settings. The file list: splitting an
// entry into its fields, the path macros in any case, the entries that are
// skipped, and creating a target folder with all its missing parents. The
// settings carried over from version 4: the eighteen values in their order,
// the "*" mark of a missing key, the two titles that need a value, and values
// carried whole however long. (Install runs of tests/install carry an empty
// value and leave the keys missing from the file untouched.)
#include "dazo/Func.h"
#include "scratch_test.h"
#include "settings_util.h"
#include "setup/filelist.h"
#include "setup/v4import.h"

namespace {

using SettingsSetupFiles = ScratchTest;

const DataObjStr kApp("C:\\Program Files\\APP");
const DataObjStr kDoc("D:\\データ\\帳簿\\");

TEST(SettingsFileList, EntriesSplitIntoTheirFieldsAndMacrosExpandInAnyCase)
{
    // disk|compressed|source|target|folder|reserved
    const struct { const char* value; std::string expected; } rows[] = {
        {"2,1,PROGRAM\\DARVO5.EX_,DARVO5.EXE,$(AppPath)BIN,x,y,z,7",
         "2|1|PROGRAM\\DARVO5.EX_|DARVO5.EXE|C:\\Program Files\\APP\\BIN\\|7"},
        {"0,0,\"A,B\",next,\"C:\\My, Folder\",,,,1", "0|0|A,B|next|C:\\My, Folder\\|1"},
        {"1,0,\"SRC\"tail,NAME,C:\\T", "1|0|SRC|tail|NAME\\|0"},
        {"  3 ,  1,   SRC  , TGT ,  C:\\TOOLS,,,, -4 ", "3|1|SRC  |TGT |C:\\TOOLS\\|-4"}, {"5", "5|0||||0"},
        {"x1,\t+2z,\"unclosed,quote", "0|2|unclosed,quote|||0"},
        {"1,0,サンプル\\表.QLB,表.QLB,$(DocPath)ソフト表", "1|0|サンプル\\表.QLB|表.QLB|D:\\データ\\帳簿\\ソフト表\\|0"},
        {"1,0,A,A,$(AppPath)DATA\\", "1|0|A|A|C:\\Program Files\\APP\\DATA\\|0"}, {"1,0,A,A,C:", "1|0|A|A|C:|0"},
    };
    for (const auto& row : rows) {
        FileListEntry entry;
        entry.m_nDisk = entry.m_fCompressed = entry.m_nReserved = 99;
        ParseListLine(row.value, &entry, kApp, kDoc);
        std::string fields = std::to_string(entry.m_nDisk) + "|" + std::to_string(entry.m_fCompressed) + "|" +
                             Text(entry.m_strSource) + "|" + Text(entry.m_strName) + "|" +
                             Text(entry.m_strFolder) + "|" + std::to_string(entry.m_nReserved);
        EXPECT_SAME_TEXT(row.expected, fields) << robot::Quoted(row.value);
    }
    const struct { const char* text; std::string expected; } macros[] = {
        {"$(apppath)DATA", "C:\\Program Files\\APP\\DATA"}, {"$(DOCPATH)", "D:\\データ\\帳簿\\"},
        {"$(winpath)FONTS", std::string(GetWindowsDir()) + "\\FONTS"},
        {"$(winsyspath)", std::string(GetSystemDir()) + "\\"},
        {"X $(AppPath)$(DocPath) Y", "X C:\\Program Files\\APP\\D:\\データ\\帳簿\\ Y"},
        {"$(AppPat)$(App Path)$(", "$(AppPat)$(App Path)$("}, {"", ""},
    };
    for (const auto& row : macros)
        EXPECT_SAME_TEXT(row.expected, std::string(ExpandPathMacros(row.text, kApp, kDoc))) << row.text;

}

TEST_F(SettingsSetupFiles, BlankValuesAndMissingKeysAreSkippedAndEqualKeysGiveTheFirstValue)
{
    std::string path = MakeFile("SETUP.LST", "[Files]\r\nA=1,0,ONE.DLL,ONE.DLL,$(AppPath)\r\nspaces=   \r\nempty=\r\n"
                                             "a=2,0,TWO.DLL,TWO.DLL,$(AppPath)\r\ntab=\t\r\n");
    FEnv2 list(path.c_str(), 0);
    std::vector<std::string> processed;
    for (const char* key : {"A", "spaces", "empty", "a", "tab"}) {
        FileListEntry entry;
        if (ReadListEntry(&list, "Files", key, kApp, kDoc, &entry))
            processed.push_back(key + (":" + Text(entry.m_strName)));
    }
    // A tab is not a space: that value is an entry (whose fields are empty).
    EXPECT_EQ((std::vector<std::string> {"A:ONE.DLL", "a:ONE.DLL", "tab:"}), processed);
    FileListEntry entry;
    EXPECT_EQ(0, ReadListEntry(&list, "Files", "missing", kApp, kDoc, &entry));
}

TEST_F(SettingsSetupFiles, FolderTreeIsCreatedLevelByLevelOrFailsQuietly)
{
    std::string file = MakeFile("FILE", "x"), drive = std::string(1, FreeDriveLetter()) + ":";
    // 表, 能 and ソ end in the byte of a backslash.
    const struct { std::string folder; int created; } rows[] = {
        {Path("A\\B\\C\\"), 1},      {Path("A\\B\\C  "), 1}, {Path("ソフト表\\能\\ソ表"), 1},
        {"C:\\", 1},                 {"C:", 1},              {file + "\\SUB", 0},
        {file, 0},                   {drive + "\\A\\B\\", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.created, CreateFolderTree(row.folder.c_str()) != 0) << robot::Quoted(row.folder);
    for (const char* level : {"A", "A\\B", "A\\B\\C", "ソフト表", "ソフト表\\能", "ソフト表\\能\\ソ表"}) {
        DWORD attributes = GetFileAttributesA(Path(level).c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << robot::Quoted(level);
    }
}

TEST_F(SettingsSetupFiles, EighteenValuesAreWrittenInTheirOrderAndOnlyWhenGiven)
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
    const std::string longName = "C:\\出納帳データ\\" + std::string(5000, 'D');
    ini = MakeFile("DARVO4.INI", "[MotoDlg]\r\nTitle=*見出し\r\n[SisanhyoPrnDlg]\r\nTitle=\r\n科目タイトル=*科目\r\n"
                                 "[TextoutDlg]\r\nファイル名=" + longName + "\r\n");
    const std::string before = "[MotoDlg]\r\nTitle=keep\r\n[SisanhyoPrnDlg]\r\nTitle=keep\r\n";
    FEnv2 old(MakeFile("DARVO5.ENV", before).c_str(), 0);
    ImportVersion4Settings(&old, ini.c_str());
    EXPECT_EQ(before + "科目タイトル=*科目\r\n[TextoutDlg]\r\nファイル名=" + longName + "\r\n", TextOf(old));
}

}  // namespace
