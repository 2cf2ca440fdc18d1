// The listings of the folder dialog, built from real folders and the shell.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dazo/filedata.h"
#include "scratch_test.h"

namespace {

// Each entry of data: its flags and path.
std::vector<std::string> Entries(FileData* data)
{
    std::vector<std::string> rows;
    for (int i = 0; i < data->GetCount(); ++i)
        rows.push_back(std::to_string(data->GetEntry(i).fFlags) + " " + Text(data->GetPath(i)));
    return rows;
}

TEST(FileDataListing, PathThenHiddenButNotSystemFoldersThenFilesThenSeparator)
{
    ScratchFolder scratch;
    scratch.MakeFolder("見える");
    SetFileAttributesA(scratch.MakeFolder("隠し").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(scratch.MakeFolder("システム").c_str(), FILE_ATTRIBUTE_SYSTEM);
    scratch.MakeFile("表.txt");
    SafePtr<FileData> data(new FileData(scratch.Path().c_str(), "*.*", FD_PATH | FD_FOLDERS | FD_FILES | FD_SEPARATOR,
                                        nullptr));
    ASSERT_EQ(1, data->m_fRead);
    // The path from C:\ down, a level deeper each; the folder's entries (in
    // byte order here) one level below it; a separator.
    const int depth = data->m_nCurrent + 1;
    std::vector<std::string> expected, rows = Entries(data.Get());
    const std::string folder = scratch.Path().substr(0, scratch.Path().size() - 1);
    for (size_t end = 2; end != std::string::npos; end = folder.find('\\', end + 1))
        expected.push_back("3 " + folder.substr(0, end == 2 ? 3 : end));
    expected.push_back("3 " + folder);
    ASSERT_EQ(depth + 4, (int)rows.size());
    std::sort(rows.begin() + depth, rows.end() - 1);
    expected.insert(expected.end(), {"16 " + scratch.Path("表.txt"), "17 " + scratch.Path("隠し"),
                                     "17 " + scratch.Path("見える"), "32 "});
    EXPECT_EQ(expected, rows);
    for (int i = 0; i < depth + 3; ++i)
        EXPECT_EQ(std::min(i, depth), data->GetEntry(i).nLevel) << i;
}

// A missing folder reads as empty: its path, then the drives and the
// special folders, named.
TEST(FileDataListing, MissingFolderThenDrivesThenSpecialFoldersInTableOrder)
{
    SafePtr<FileData> data(new FileData("C:\\無い", "*.*", FD_PATH | FD_FOLDERS | FD_DRIVES | FD_SPECIAL, nullptr));
    EXPECT_EQ(1, data->m_fRead);
    std::vector<std::string> rows = Entries(data.Get()), expected = {"3 C:\\", "3 C:\\無い", "5 C:\\"};
    ASSERT_GE(rows.size(), 6u);
    for (auto [csidl, name] : {std::make_pair(CSIDL_DESKTOPDIRECTORY, "デスクトップ"),
                               std::make_pair(CSIDL_COMMON_DESKTOPDIRECTORY, "デスクトップ(共用)"),
                               std::make_pair(CSIDL_PERSONAL, "マイドキュメント")}) {
        char path[MAX_PATH];
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) << csidl;
        expected.push_back("9 " + std::string(path) + " " + name);
    }
    for (int i = 1; i <= 3; ++i)
        rows.end()[-i] += " " + Text(data->GetEntry(data->GetCount() - i).strName);
    rows.erase(rows.begin() + 3, rows.end() - 3);  // the other drives
    EXPECT_EQ(expected, rows);
}

TEST(FileDataListing, NamePatterns)
{
    const struct { const char* name; const char* patterns; bool matches; } rows[] = {
        {"README", "*.", true},        {"read.me", "*.", false},      {"Setup.LST", "*.lst", true},
        {"表.TXT", "*.txt;*.doc", true}, {"表.doc", "*.txt;*.doc", true}, {"表示.txt", "表?.txt", true},
        {"表.txt", "表?.txt", false},   {"ab", "a?.", true},            {"表", "*.*", true},
        {"ＡＢ.txt", "ａｂ.txt", false},  {"a.b.c", "*.c", true},        {"x.txt", "*.doc", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.matches, MatchNamePatterns(row.name, row.patterns)) << row.name << " against " << row.patterns;
}

}  // namespace
