// The file list: splitting an entry into its fields, the path macros in any
// case, the entries that are skipped, and creating a target folder with all
// its missing parents.
#include "dazo/Func.h"
#include "scratch_test.h"
#include "settings_util.h"
#include "setup/filelist.h"

namespace {

const DataObjStr kApp("C:\\Program Files\\APP");
const DataObjStr kDoc("D:\\データ\\帳簿\\");

std::string Described(const FileListEntry& e)
{
    return std::to_string(e.m_nDisk) + "|" + std::to_string(e.m_fCompressed) + "|" + std::string(e.m_strSource) +
           "|" + std::string(e.m_strName) + "|" + std::string(e.m_strFolder) + "|" + std::to_string(e.m_nReserved);
}

TEST(SettingsFileList, EntriesSplitIntoTheirFieldsAndMacrosExpandInAnyCase)
{
    const std::string system = std::string(GetSystemDir()) + "\\";
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
        EXPECT_SAME_TEXT(row.expected, Described(entry)) << robot::Quoted(row.value);
    }
    const std::string windows = std::string(GetWindowsDir()) + "\\";
    const struct { const char* text; std::string expected; } macros[] = {
        {"$(apppath)DATA", "C:\\Program Files\\APP\\DATA"}, {"$(DOCPATH)", "D:\\データ\\帳簿\\"},
        {"$(winpath)FONTS", windows + "FONTS"}, {"$(winsyspath)", system},
        {"X $(AppPath)$(DocPath) Y", "X C:\\Program Files\\APP\\D:\\データ\\帳簿\\ Y"},
        {"$(AppPat)$(App Path)$(", "$(AppPat)$(App Path)$("}, {"", ""},
    };
    for (const auto& row : macros)
        EXPECT_SAME_TEXT(row.expected, std::string(ExpandPathMacros(row.text, kApp, kDoc))) << row.text;

}

using SettingsFileListEntries = ScratchTest;

TEST_F(SettingsFileListEntries, BlankValuesAndMissingKeysAreSkippedAndEqualKeysGiveTheFirstValue)
{
    std::string path = MakeFile("SETUP.LST", "[Files]\r\nA=1,0,ONE.DLL,ONE.DLL,$(AppPath)\r\nspaces=   \r\nempty=\r\n"
                                             "a=2,0,TWO.DLL,TWO.DLL,$(AppPath)\r\ntab=\t\r\n");
    FEnv2 list(path.c_str(), 0);
    std::vector<std::string> processed;
    for (const std::string& key : Names(list.EnumKeys("Files"))) {
        FileListEntry entry;
        if (ReadListEntry(&list, "Files", key.c_str(), kApp, kDoc, &entry))
            processed.push_back(key + ":" + std::string(entry.m_strName));
    }
    // A tab is not a space: that value is an entry (whose fields are empty).
    EXPECT_EQ((std::vector<std::string> {"A:ONE.DLL", "a:ONE.DLL", "tab:"}), processed);
    FileListEntry entry;
    EXPECT_EQ(0, ReadListEntry(&list, "Files", "missing", kApp, kDoc, &entry));
}

TEST_F(SettingsFileListEntries, FolderTreeIsCreatedLevelByLevelOrFailsQuietly)
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
    EXPECT_EQ(0, TakeReport().category) << "CreateFolderTree reports nothing";
}

}  // namespace
