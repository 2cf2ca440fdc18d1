// Folder enumeration with its attribute mask, DeleteTree and CreateDirTree
// on real trees.
#include <set>
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

using Names = std::set<std::string>;

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetAttributes(const std::string& path, DWORD attributes)
{
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
    ASSERT_EQ(attributes, GetFileAttributesA(path.c_str()) & attributes) << "the system keeps no such attribute";
}

// The scratch folder holds plain, read-only, hidden and system files, a
// folder and a hidden folder.
class FilesFind : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_scratch.MakeFile("a.txt");
        m_scratch.MakeFile("表.txt");
        SetAttributes(m_scratch.MakeFile("ro.dat"), FILE_ATTRIBUTE_READONLY);
        SetAttributes(m_scratch.MakeFile("hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
        SetAttributes(m_scratch.MakeFile("system.txt"), FILE_ATTRIBUTE_SYSTEM);
        m_scratch.MakeFolder("sub");
        SetAttributes(m_scratch.MakeFolder("hidden sub"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    }

    // Every name the enumeration returns; it must end with 0, not an error.
    Names Found(const std::string& pattern, DWORD mask)
    {
        Names names;
        FindEntry find;
        int result = FindFirstEntry(pattern.c_str(), mask, &find);
        for (; result == 1; result = FindNextEntry(&find))
            names.insert(find.data.cFileName);
        EXPECT_EQ(0, result) << pattern;
        return names;
    }
};

TEST_F(FilesFind, MaskZeroGivesPlainAndReadOnlyFilesOnly)
{
    EXPECT_EQ(Names({"a.txt", "表.txt", "ro.dat"}), Found(m_scratch / "*.*", 0));
}

TEST_F(FilesFind, EachMaskBitAddsItsEntries)
{
    EXPECT_EQ(Names({".", "..", "a.txt", "表.txt", "ro.dat", "sub"}),
              Found(m_scratch / "*.*", FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Names({"a.txt", "表.txt", "ro.dat", "hidden.txt"}), Found(m_scratch / "*.*", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Names({"a.txt", "表.txt", "ro.dat", "system.txt"}), Found(m_scratch / "*.*", FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(Names({".", "..", "a.txt", "表.txt", "ro.dat", "hidden.txt", "system.txt", "sub", "hidden sub"}),
              Found(m_scratch / "*.*", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

TEST_F(FilesFind, PatternSelects)
{
    EXPECT_EQ(Names({"a.txt", "表.txt"}), Found(m_scratch / "*.txt", 0));
    EXPECT_EQ(Names({"表.txt"}), Found(m_scratch / "表.*", FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(FilesFind, NothingFoundIsZeroWithoutReport)
{
    FindEntry find;
    EXPECT_EQ(0, FindFirstEntry((m_scratch / "*.none").c_str(), 0, &find));
    EXPECT_EQ(0, FindFirstEntry((m_scratch / "missing\\*.*").c_str(), 0, &find));
    // Only entries the mask hides.
    EXPECT_EQ(0, FindFirstEntry((m_scratch / "hidden.txt").c_str(), 0, &find));
}

TEST_F(FilesFind, LookupErrorIsMinusOneWithItsReport)
{
    std::string folder = m_scratch / "a.txt\\";
    WIN32_FIND_DATAA data;
    ASSERT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA((folder + "*.*").c_str(), &data));
    DWORD error = GetLastError();
    ASSERT_FALSE(ClassifyFileError(error) & FE_NOTFOUND) << "error " << error;

    FindEntry find;
    EXPECT_EQ(-1, FindFirstEntry((folder + "*.*").c_str(), 0, &find));
    Report report = TakeReport();
    EXPECT_NE(0, report.category);
    EXPECT_SAME_TEXT(SystemText(error), report.message);
    EXPECT_SAME_TEXT("フォルダ " + folder + " の読み取りが行えません", report.context);
}

// A tree under scratch\tree: files of every attribute but read-only, a
// folder beginning with a dot, and three levels of folders with Japanese
// names.
class FilesDeleteTree : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_tree = m_scratch.MakeFolder("tree") + "\\";
        m_scratch.MakeFile("tree\\a.txt");
        m_scratch.MakeFile("tree\\b.tmp");
        SetAttributes(m_scratch.MakeFile("tree\\hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
        SetAttributes(m_scratch.MakeFile("tree\\system.tmp"), FILE_ATTRIBUTE_SYSTEM);
        m_scratch.MakeFolder("tree\\表");
        m_scratch.MakeFile("tree\\表\\c.txt");
        m_scratch.MakeFolder("tree\\表\\ソ");
        m_scratch.MakeFile("tree\\表\\ソ\\能.txt");
        SetAttributes(m_scratch.MakeFolder("tree\\表\\ソ\\hidden"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
        m_scratch.MakeFile("tree\\表\\ソ\\hidden\\d.txt");
        m_scratch.MakeFolder("tree\\.keep");
        m_scratch.MakeFile("tree\\.keep\\e.txt");
    }

    std::string m_tree;
};

TEST_F(FilesDeleteTree, WithoutRecursionDeletesTheFilesOnly)
{
    EXPECT_EQ(1, DeleteTree(0, (m_tree + "*.*").c_str()));
    EXPECT_FALSE(Exists(m_tree + "a.txt"));
    EXPECT_FALSE(Exists(m_tree + "hidden.txt"));
    EXPECT_FALSE(Exists(m_tree + "system.tmp"));
    EXPECT_TRUE(Exists(m_tree + "表\\c.txt"));
    EXPECT_TRUE(Exists(m_tree + "表\\ソ\\能.txt"));
}

TEST_F(FilesDeleteTree, RecursionRemovesEveryFolderButThoseBeginningWithADot)
{
    EXPECT_EQ(1, DeleteTree(DT_RECURSE, (m_tree + "*.*").c_str()));
    EXPECT_FALSE(Exists(m_tree + "a.txt"));
    EXPECT_FALSE(Exists(m_tree + "hidden.txt"));
    EXPECT_FALSE(Exists(m_tree + "表"));
    EXPECT_TRUE(Exists(m_tree + ".keep\\e.txt"));
    EXPECT_TRUE(IsFolder(m_tree));
}

TEST_F(FilesDeleteTree, PatternSelectsTheFiles)
{
    EXPECT_EQ(1, DeleteTree(DT_RECURSE | DT_RETRYDELETE, (m_tree + "*.tmp").c_str()));
    EXPECT_FALSE(Exists(m_tree + "b.tmp"));
    EXPECT_FALSE(Exists(m_tree + "system.tmp"));
    EXPECT_TRUE(Exists(m_tree + "a.txt"));
    EXPECT_TRUE(Exists(m_tree + "表\\c.txt"));
}

TEST_F(FilesDeleteTree, ReadOnlyFileStopsItWithAReport)
{
    std::string readOnly = m_scratch.MakeFile("tree\\表\\ソ\\ro.txt");
    SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, DeleteTree(DT_RECURSE, (m_tree + "*.*").c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("削除できません", report.message);
    EXPECT_SAME_TEXT(readOnly, report.context);
    EXPECT_TRUE(Exists(readOnly));
}

TEST_F(FilesDeleteTree, MissingFolderIsAnEmptyEnumeration)
{
    EXPECT_EQ(1, DeleteTree(DT_RECURSE, (m_scratch / "missing\\*.*").c_str()));
}

class FilesCreateDirTree : public FileTest {};

TEST_F(FilesCreateDirTree, CreatesSeveralMissingLevels)
{
    std::string path = m_scratch / "新\\表\\ソ\\能\\";
    EXPECT_EQ(1, CreateDirTree(path.c_str()));
    EXPECT_TRUE(IsFolder(m_scratch / "新\\表"));
    EXPECT_TRUE(IsFolder(path));
    EXPECT_EQ(1, CreateDirTree((m_scratch / "新\\表\\別").c_str()));
    EXPECT_TRUE(IsFolder(m_scratch / "新\\表\\別"));
}

TEST_F(FilesCreateDirTree, ExistingFoldersAndRootsAreDone)
{
    EXPECT_EQ(1, CreateDirTree(m_scratch.Path().c_str()));
    EXPECT_EQ(1, CreateDirTree("C:\\"));
    EXPECT_EQ(1, CreateDirTree("C:"));
    EXPECT_EQ(1, CreateDirTree("\\\\srv\\share\\"));
}

TEST_F(FilesCreateDirTree, MissingDriveFailsWithItsReport)
{
    char letter = FreeDriveLetter();
    ASSERT_NE(0, letter);
    std::string first = std::string(1, letter) + ":\\新";
    ASSERT_FALSE(CreateDirectoryA(first.c_str(), nullptr));
    DWORD error = GetLastError();

    EXPECT_EQ(0, CreateDirTree((first + "\\表\\").c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT(SystemText(error), report.message);
    // The first level that could not be made is the one reported.
    EXPECT_SAME_TEXT("フォルダ " + first + " を作成できません", report.context);
}

TEST_F(FilesCreateDirTree, FileInTheWayFailsWithItsReport)
{
    std::string file = m_scratch.MakeFile("file");
    EXPECT_EQ(0, CreateDirTree((file + "\\sub").c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_WRITE, report.category);
    EXPECT_SAME_TEXT("既に存在するファイルを作成することはできません。", report.message);
    EXPECT_SAME_TEXT("フォルダ " + file + " を作成できません", report.context);
}

}  // namespace
