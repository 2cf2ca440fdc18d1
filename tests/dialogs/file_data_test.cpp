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
    const int depth = data->m_nCurrent + 1, end = data->GetCount() - 1;
    EXPECT_TRUE(robot::SameText(scratch.Path().substr(0, scratch.Path().size() - 1), Text(data->GetPath(depth - 1))));
    EXPECT_TRUE(robot::SameText("C:\\", Text(data->GetPath(0))));
    std::vector<std::string> contents;
    for (int i = 0; i < end; ++i) {
        const FileEntry& e = data->GetEntry(i);
        EXPECT_EQ(std::min(i, depth), e.nLevel) << i;
        if (i < depth) {
            EXPECT_EQ(FE_FOLDER | FE_ONPATH, e.fFlags) << i;
            continue;
        }
        EXPECT_TRUE(robot::SameText(scratch.Path(Text(e.strName)), Text(data->GetPath(i))));
        contents.push_back(Text(e.strName) + " " + std::to_string(e.fFlags));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(std::vector<std::string>({"隠し 17", "見える 17", "表.txt 16"}), contents);  // in byte order
    EXPECT_EQ(FE_SEPARATOR, data->GetEntry(end).fFlags);
}

// A missing folder reads as empty: its path, then the drives and the
// special folders.
TEST(FileDataListing, MissingFolderThenDrivesThenSpecialFoldersInTableOrder)
{
    SafePtr<FileData> data(new FileData("C:\\無い", "*.*", FD_PATH | FD_FOLDERS | FD_DRIVES | FD_SPECIAL, nullptr));
    EXPECT_EQ(1, data->m_fRead);
    EXPECT_EQ(std::vector<std::string>({"C:\\", "C:\\無い"}), std::vector<std::string>({Text(data->GetPath(0)), Text(data->GetPath(1))}));
    std::vector<std::string> rows, expected, names;
    for (int i = 2; i < data->GetCount(); ++i) {
        rows.push_back(std::to_string(data->GetEntry(i).fFlags) + " " + Text(data->GetPath(i)));
        names.push_back(Text(data->GetEntry(i).strName));
    }
    EXPECT_EQ("5 C:\\", rows[0]);
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL}) {
        char path[MAX_PATH];
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) << csidl;
        expected.push_back("9 " + std::string(path));
    }
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(expected, std::vector<std::string>(rows.end() - 3, rows.end()));
    EXPECT_EQ(std::vector<std::string>({"デスクトップ", "デスクトップ(共用)", "マイドキュメント"}),
              std::vector<std::string>(names.end() - 3, names.end()));
}

TEST(FileDataListing, NamePatterns)
{
    const struct {
        const char* name;
        const char* patterns;
        bool matches;
    } rows[] = {
        {"README", "*.", true},        {"read.me", "*.", false},      {"Setup.LST", "*.lst", true},
        {"表.TXT", "*.txt;*.doc", true}, {"表.doc", "*.txt;*.doc", true}, {"表示.txt", "表?.txt", true},
        {"表.txt", "表?.txt", false},   {"ab", "a?.", true},            {"表", "*.*", true},
        {"ＡＢ.txt", "ａｂ.txt", false},  {"a.b.c", "*.c", true},        {"x.txt", "*.doc", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.matches, MatchNamePatterns(row.name, row.patterns)) << row.name << " against " << row.patterns;
}

}  // namespace
