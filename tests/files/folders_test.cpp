// Folder enumeration with its attribute mask, DeleteTree and CreateDirTree
// on real trees.
#include <set>

#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

using Names = std::set<std::string>;

// The scratch folder holds plain, read-only, hidden and system files, a
// folder and a hidden folder.
class FilesFolders : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        MakeFile("a.txt");
        MakeFile("表.txt");
        SetAttributes(MakeFile("ro.dat"), FILE_ATTRIBUTE_READONLY);
        SetAttributes(MakeFile("hidden.txt"), FILE_ATTRIBUTE_HIDDEN);
        SetAttributes(MakeFile("system.tmp"), FILE_ATTRIBUTE_SYSTEM);
        MakeFolder("sub");
        SetAttributes(MakeFolder("hidden sub"), FILE_ATTRIBUTE_HIDDEN);
    }

    static void SetAttributes(const std::string& path, DWORD attributes)
    {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes | GetFileAttributesA(path.c_str())));
    }

    // Every name the enumeration returns, or "error" when it ends with one.
    static Names Found(const std::string& pattern, DWORD mask)
    {
        Names names;
        FindEntry find;
        int result = FindFirstEntry(pattern.c_str(), mask, &find);
        for (; result == 1; result = FindNextEntry(&find))
            names.insert(find.data.cFileName);
        if (result != 0)
            names.insert("error");
        return names;
    }
};

TEST_F(FilesFolders, EnumerationReturnsWhatTheMaskAndPatternLetThrough)
{
    const Names plain = {"a.txt", "表.txt", "ro.dat"};
    auto with = [&](Names more) {
        more.insert(plain.begin(), plain.end());
        return more;
    };
    const struct {
        std::string pattern;
        DWORD mask;
        Names expected;
    } rows[] = {
        {Path("*.*"), 0, plain},
        {Path("*.*"), FILE_ATTRIBUTE_DIRECTORY, with({".", "..", "sub"})},
        {Path("*.*"), FILE_ATTRIBUTE_HIDDEN, with({"hidden.txt"})},
        {Path("*.*"), FILE_ATTRIBUTE_SYSTEM, with({"system.tmp"})},
        {Path("*.*"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         with({".", "..", "sub", "hidden.txt", "system.tmp", "hidden sub"})},
        {Path("*.txt"), 0, {"a.txt", "表.txt"}},
        {Path("表.*"), FILE_ATTRIBUTE_HIDDEN, {"表.txt"}},
        {Path("*.none"), 0, {}},
        {Path("missing\\*.*"), 0, {}},
        {Path("hidden.txt"), 0, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Found(row.pattern, row.mask)) << robot::Quoted(row.pattern) << " mask " << row.mask;

    // Looking inside a file fails with an error other than "not found".
    EXPECT_EQ(Names {"error"}, Found(Path("a.txt\\*.*"), 0));
    Report report = TakeReport();
    EXPECT_NE(0, report.category);
    EXPECT_SAME_TEXT("フォルダ " + Path("a.txt\\") + " の読み取りが行えません", report.context);
}

TEST_F(FilesFolders, DeleteTreeTakesWhatItsFlagsAndPatternSay)
{
    MakeFolder("表");
    MakeFolder("表\\ソ");
    MakeFile("表\\ソ\\能.tmp");
    SetAttributes(MakeFolder("表\\ソ\\hidden"), FILE_ATTRIBUTE_HIDDEN);
    MakeFile("表\\ソ\\hidden\\d.txt");
    MakeFolder(".keep");
    MakeFile(".keep\\e.txt");

    EXPECT_EQ(1, DeleteTree(DT_RECURSE | DT_RETRYDELETE, Path("*.tmp").c_str()));
    EXPECT_FALSE(Exists(Path("system.tmp")));
    EXPECT_TRUE(Exists(Path("表\\ソ\\能.tmp"))) << "a pattern of files leads into no folder";

    SetFileAttributesA(Path("ro.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1, DeleteTree(0, Path("*.*").c_str()));
    EXPECT_EQ(Names({".", "..", "sub", "hidden sub", "表", ".keep"}),
              Found(Path("*.*"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    std::string readOnly = MakeFile("表\\ソ\\hidden\\ro.txt");
    SetAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, DeleteTree(DT_RECURSE, Path("*.*").c_str()));
    EXPECT_TRUE(Reported(ERR_WRITE, "削除できません", readOnly));
    EXPECT_TRUE(Exists(readOnly));

    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1, DeleteTree(DT_RECURSE, Path("*.*").c_str()));
    EXPECT_EQ(Names({".", "..", ".keep"}), Found(Path("*.*"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(Exists(Path(".keep\\e.txt"))) << "folders beginning with a dot stay";
    EXPECT_EQ(1, DeleteTree(DT_RECURSE, Path("missing\\*.*").c_str()));
}

TEST_F(FilesFolders, CreateDirTreeMakesEveryMissingLevelOrReportsTheFirstItCannot)
{
    EXPECT_EQ(1, CreateDirTree(Path("新\\表\\ソ\\能\\").c_str()));
    EXPECT_EQ(Names({".", "..", "能"}), Found(Path("新\\表\\ソ\\*.*"), FILE_ATTRIBUTE_DIRECTORY));
    for (const std::string& done : {Path("新\\表\\別"), Path(), std::string("C:\\"), std::string("C:"),
                                    std::string("\\\\srv\\share\\")})
        EXPECT_EQ(1, CreateDirTree(done.c_str())) << robot::Quoted(done);
    EXPECT_TRUE(Exists(Path("新\\表\\別")));

    std::string missingDrive = std::string(1, FreeDriveLetter()) + ":\\新";
    ASSERT_FALSE(CreateDirectoryA(missingDrive.c_str(), nullptr));
    DWORD error = GetLastError();
    EXPECT_EQ(0, CreateDirTree((missingDrive + "\\表\\").c_str()));
    EXPECT_TRUE(Reported(ERR_WRITE, SystemText(error), "フォルダ " + missingDrive + " を作成できません"));
    EXPECT_EQ(0, CreateDirTree(Path("a.txt\\sub").c_str()));
    EXPECT_TRUE(Reported(ERR_WRITE, "既に存在するファイルを作成することはできません。",
                         "フォルダ " + Path("a.txt") + " を作成できません"));
}

}  // namespace
