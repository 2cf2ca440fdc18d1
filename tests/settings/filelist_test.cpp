// The file list: splitting an entry into its fields, the path macros in any
// case, the entries that are skipped, and creating a target folder with all
// its missing parents.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dazo/Func.h"
#include "settings_util.h"
#include "setup/filelist.h"

namespace {

const DataObjStr kApp("C:\\Program Files\\APP");
const DataObjStr kDoc("D:\\データ\\帳簿\\");

std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\";
}

std::string SystemFolder()
{
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\";
}

FileListEntry Parse(const char* value)
{
    FileListEntry entry;
    entry.m_nDisk = entry.m_fCompressed = entry.m_nReserved = 99;
    ParseListLine(value, &entry, kApp, kDoc);
    return entry;
}

TEST(SettingsFileList, NineFieldsFillTheEntry)
{
    FileListEntry e = Parse("2,1,PROGRAM\\DARVO5.EX_,DARVO5.EXE,$(AppPath)BIN,x,y,z,7");
    EXPECT_EQ(2, e.m_nDisk);
    EXPECT_EQ(1, e.m_fCompressed);
    EXPECT_STREQ("PROGRAM\\DARVO5.EX_", e.m_strSource);
    EXPECT_STREQ("DARVO5.EXE", e.m_strName);
    EXPECT_STREQ("C:\\Program Files\\APP\\BIN\\", e.m_strFolder);
    EXPECT_EQ(7, e.m_nReserved);
}

TEST(SettingsFileList, QuotedFieldKeepsItsCommas)
{
    FileListEntry e = Parse("0,0,\"A,B\",next,\"C:\\My, Folder\",,,,1");
    EXPECT_STREQ("A,B", e.m_strSource);
    EXPECT_STREQ("next", e.m_strName);
    EXPECT_STREQ("C:\\My, Folder\\", e.m_strFolder);
    EXPECT_EQ(1, e.m_nReserved);
}

TEST(SettingsFileList, TextAfterAClosingQuoteStartsTheNextField)
{
    FileListEntry e = Parse("1,0,\"SRC\"tail,NAME,C:\\T");
    EXPECT_STREQ("SRC", e.m_strSource);
    EXPECT_STREQ("tail", e.m_strName);
    EXPECT_STREQ("NAME\\", e.m_strFolder);
}

TEST(SettingsFileList, LeadingSpacesAreSkippedTrailingSpacesKept)
{
    FileListEntry e = Parse("  3 ,  1,   SRC  , TGT ,  C:\\TOOLS,,,, -4 ");
    EXPECT_EQ(3, e.m_nDisk);
    EXPECT_EQ(1, e.m_fCompressed);
    EXPECT_STREQ("SRC  ", e.m_strSource);
    EXPECT_STREQ("TGT ", e.m_strName);
    EXPECT_STREQ("C:\\TOOLS\\", e.m_strFolder);
    EXPECT_EQ(-4, e.m_nReserved);
}

TEST(SettingsFileList, MissingAndMalformedFieldsAreEmptyOrZero)
{
    FileListEntry e = Parse("5");
    EXPECT_EQ(5, e.m_nDisk);
    EXPECT_EQ(0, e.m_fCompressed);
    EXPECT_STREQ("", e.m_strSource);
    EXPECT_STREQ("", e.m_strName);
    EXPECT_STREQ("", e.m_strFolder);
    EXPECT_EQ(0, e.m_nReserved);

    e = Parse("x1,\t+2z,\"unclosed,quote");
    EXPECT_EQ(0, e.m_nDisk);
    EXPECT_EQ(2, e.m_fCompressed);
    EXPECT_STREQ("unclosed,quote", e.m_strSource);
    EXPECT_STREQ("", e.m_strName);
}

TEST(SettingsFileList, EntryWithoutSourceDeletesItsTarget)
{
    FileListEntry e = Parse("1,1,,X.DLL,$(WinSysPath)");
    EXPECT_STREQ("", e.m_strSource);
    EXPECT_STREQ("X.DLL", e.m_strName);
    EXPECT_EQ(SystemFolder(), std::string(e.m_strFolder));
}

TEST(SettingsFileList, JapaneseNamesSplitAndKeepTheirBackslashTrailBytes)
{
    FileListEntry e = Parse("1,0,サンプル\\表.QLB,表.QLB,$(DocPath)ソフト表");
    EXPECT_STREQ("サンプル\\表.QLB", e.m_strSource);
    EXPECT_STREQ("表.QLB", e.m_strName);
    EXPECT_STREQ("D:\\データ\\帳簿\\ソフト表\\", e.m_strFolder);
}

TEST(SettingsFileList, MacrosExpandInAnyCase)
{
    EXPECT_STREQ("C:\\Program Files\\APP\\", ExpandPathMacros("$(AppPath)", kApp, kDoc));
    EXPECT_STREQ("C:\\Program Files\\APP\\DATA", ExpandPathMacros("$(apppath)DATA", kApp, kDoc));
    EXPECT_STREQ("D:\\データ\\帳簿\\", ExpandPathMacros("$(DOCPATH)", kApp, kDoc));
    EXPECT_EQ(WindowsFolder() + "FONTS", std::string(ExpandPathMacros("$(winpath)FONTS", kApp, kDoc)));
    EXPECT_EQ(SystemFolder(), std::string(ExpandPathMacros("$(winsyspath)", kApp, kDoc)));
    EXPECT_EQ(SystemFolder(), std::string(ExpandPathMacros("$(WinSysPath)", kApp, kDoc)));
    EXPECT_STREQ("X C:\\Program Files\\APP\\D:\\データ\\帳簿\\ Y",
                 ExpandPathMacros("X $(AppPath)$(DocPath) Y", kApp, kDoc));
    EXPECT_STREQ("$(AppPat)$(App Path)$(", ExpandPathMacros("$(AppPat)$(App Path)$(", kApp, kDoc));
    EXPECT_STREQ("", ExpandPathMacros("", kApp, kDoc));
}

TEST(SettingsFileList, FolderFieldGainsOneTrailingBackslash)
{
    EXPECT_STREQ("C:\\Program Files\\APP\\", Parse("1,0,A,A,$(AppPath)").m_strFolder);
    EXPECT_STREQ("C:\\Program Files\\APP\\DATA\\", Parse("1,0,A,A,$(AppPath)DATA").m_strFolder);
    EXPECT_STREQ("C:\\Program Files\\APP\\DATA\\", Parse("1,0,A,A,$(AppPath)DATA\\").m_strFolder);
    EXPECT_STREQ("C:\\TOOLS\\", Parse("1,0,A,A,C:\\TOOLS").m_strFolder);
    EXPECT_STREQ("C:", Parse("1,0,A,A,C:").m_strFolder);
}

TEST(SettingsFileList, MatchPrefixIsZeroForAMatch)
{
    EXPECT_EQ(0, MatchPrefix("$(AppPath)x", "$(AppPath)"));
    EXPECT_EQ(0, MatchPrefix("$(APPPATH)", "$(AppPath)"));
    EXPECT_EQ(1, MatchPrefix("$(AppPat", "$(AppPath)"));
    EXPECT_EQ(1, MatchPrefix("", "$(AppPath)"));
    EXPECT_EQ(0, MatchPrefix("anything", ""));
    // Double-byte characters compare exactly: the pair 0x82 0x61 is not the
    // pair 0x82 0x41, though their second bytes differ only in case.
    EXPECT_EQ(0, MatchPrefix("表示x", "表示"));
    EXPECT_EQ(1, MatchPrefix("\x82" "A", "\x82" "a"));
    EXPECT_EQ(0, MatchPrefix("\x82" "a", "\x82" "a"));
    EXPECT_EQ(1, MatchPrefix("ａ", "Ａ"));
}

class SettingsFileListEntries : public SettingsTest {
protected:
    int Read(const char* key, FileListEntry* entry)
    {
        return ReadListEntry(m_list.Get(), "Files", key, kApp, kDoc, entry);
    }
    SafePtr<FEnv2> m_list;
};

TEST_F(SettingsFileListEntries, BlankValuesAndMissingKeysAreSkippedAndEqualKeysGiveTheFirstValue)
{
    m_list = SafePtr<FEnv2>(new FEnv2(MakeFile("SETUP.LST", "[Files]\r\n"
                                                            "A=1,0,ONE.DLL,ONE.DLL,$(AppPath)\r\n"
                                                            "spaces=   \r\n"
                                                            "empty=\r\n"
                                                            "a=2,0,TWO.DLL,TWO.DLL,$(AppPath)\r\n"
                                                            "tab=\t\r\n")
                                           .c_str(),
                                       0));
    std::vector<std::string> keys = Names(m_list->EnumKeys("Files"));
    ASSERT_EQ((std::vector<std::string> {"A", "spaces", "empty", "a", "tab"}), keys);
    std::vector<std::string> processed;
    for (const std::string& key : keys) {
        FileListEntry entry;
        if (Read(key.c_str(), &entry))
            processed.push_back(key + ":" + std::string(entry.m_strName));
    }
    // A tab is not a space: that value is an entry (whose fields are empty).
    EXPECT_EQ((std::vector<std::string> {"A:ONE.DLL", "a:ONE.DLL", "tab:"}), processed);
    FileListEntry entry;
    EXPECT_EQ(0, Read("missing", &entry));
}

class SettingsFolderTree : public SettingsTest {};

TEST_F(SettingsFolderTree, CreatesEveryMissingLevel)
{
    std::string base = m_folder.Path();
    std::string deep = base + "A\\B\\C\\";
    EXPECT_NE(0, CreateFolderTree(deep.c_str()));
    for (const char* level : {"A", "A\\B", "A\\B\\C"}) {
        DWORD attributes = GetFileAttributesA((base + level).c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << level;
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY) << level;
    }
    EXPECT_NE(0, CreateFolderTree(deep.c_str())) << "an existing folder";
    EXPECT_NE(0, CreateFolderTree((base + "A\\B\\C  ").c_str())) << "trailing blanks";
}

TEST_F(SettingsFolderTree, DoubleByteNamesEndingIn0x5CAreNotSplit)
{
    // "表", "能" and "ソ" end in the byte of a backslash.
    std::string base = m_folder.Path();
    EXPECT_NE(0, CreateFolderTree((base + "ソフト表\\能\\ソ表").c_str()));
    for (const char* level : {"ソフト表", "ソフト表\\能", "ソフト表\\能\\ソ表"}) {
        DWORD attributes = GetFileAttributesA((base + level).c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << level;
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY) << level;
    }
}

TEST_F(SettingsFolderTree, FailsQuietlyWhereNoFolderCanBe)
{
    std::string file = MakeFile("FILE", "x");
    EXPECT_EQ(0, CreateFolderTree((file + "\\SUB").c_str()));
    EXPECT_EQ(0, CreateFolderTree(file.c_str()));

    DWORD drives = GetLogicalDrives();
    char letter = 0;
    for (char c = 'Q'; c <= 'Y' && !letter; ++c)
        if (!(drives & (1u << (c - 'A'))))
            letter = c;
    ASSERT_NE(0, letter) << "no free drive letter";
    EXPECT_EQ(0, CreateFolderTree((std::string(1, letter) + ":\\A\\B\\").c_str()));
    EXPECT_EQ(0, GetError()) << "CreateFolderTree reports nothing";
}

TEST_F(SettingsFolderTree, DriveRootExists)
{
    EXPECT_NE(0, CreateFolderTree("C:\\"));
    EXPECT_NE(0, CreateFolderTree("C:"));
}

}  // namespace
