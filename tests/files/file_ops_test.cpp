// The file and folder operations without a conflict: the classes of file
// errors and their report, copying (bytes, times, a target that must be new),
// deleting and renaming (with what each reports, and that errors outside the
// retry class are not retried), folder enumeration with its attribute mask,
// DeleteTree and CreateDirTree on real trees.
#include <functional>
#include <set>

#include "dazo/Func.h"
#include "scratch_test.h"
#include "testkit/child_process.h"
#include "testkit/file_facts.h"

namespace {

using FilesOps = ScratchTest;

TEST_F(FilesOps, ErrorClassesAndTheReportThatNamesADriveNotReady)
{
    const struct { DWORD error; int expected; } rows[] = {
        {5, FE_RETRY},     {32, FE_RETRY},    {33, FE_RETRY}, {39, FE_DISKFULL}, {112, FE_DISKFULL}, {2, FE_NOTFOUND},
        {3, FE_NOTFOUND}, {18, FE_NOTFOUND}, {0, 0},        {21, 0},           {80, 0},            {183, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, ClassifyFileError(row.error)) << row.error;
    // The sharing conflict's report: the sharing suite; a drive letter's
    // not-ready text: the engine's read-failure case.
    ReportFileError(ERROR_NOT_READY, ERR_WRITE, "\\\\srv\\共有\\a.txt", "");
    EXPECT_TRUE(Reported(ERR_WRITE, "ドライブ \\\\srv\\共有 の準備ができていません.", ""));
}

// Bytes of every value, NUL included, in a pattern that differs per size.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char)((i * 7 + size) % 251);
    return bytes;
}

TEST_F(FilesOps, CopyGivesEveryByteAndTheTimeWhenAskedOrReportsWhyNot)
{
    for (size_t size : {0, 1, 1023, 1024, 1025, 70000}) {
        // A longer target is replaced.
        std::string src = MakeFile("元" + std::to_string(size), Pattern(size)), dst = MakeFile("先表", Pattern(4000));
        EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), size % 2 ? CFD_FLUSH | CFD_RETRY : 0, nullptr)) << size;
        EXPECT_TRUE(Pattern(size) == ReadFileBytes(dst)) << "bytes differ at size " << size;
    }
    std::string src = MakeFile("src", "new bytes"), kept = MakeFile("既存表", "kept");
    const FILETIME oldTime {0x12345600, 0x01C0A000};  // in 2001
    ASSERT_TRUE(SetLastWriteTime(src, oldTime));
    for (int flags : {(int)CFD_COPYTIME, (int)CFD_NEWONLY}) {
        std::string dst = Path("dst" + std::to_string(flags));
        WIN32_FILE_ATTRIBUTE_DATA copied {};
        EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), flags, nullptr));
        GetFileAttributesExA(dst.c_str(), GetFileExInfoStandard, &copied);
        EXPECT_EQ(flags == CFD_COPYTIME, CompareFileTime(&oldTime, &copied.ftLastWriteTime) == 0) << flags;
        EXPECT_EQ("new bytes", ReadFileBytes(dst)) << flags;
    }
    auto opening = [](const std::string& path, const std::string& why) {
        return Report {ERR_OPEN2, why, "ファイル " + path + " をオープンできません."};
    };
    const std::string missing = Path("無い表.txt"), noFolder = Path("無いフォルダ\\dst");
    const struct { std::string src, dst; int flags, status; Report report; } rows[] = {
        {src, kept, CFD_NEWONLY, CFD_STATUS_EXISTED, opening(kept, SystemText(ERROR_FILE_EXISTS))},
        {missing, Path("dst"), CFD_NEWONLY, 0, opening(missing, "指定されたファイルが見つかりません。")},
        {src, noFolder, CFD_RETRY, 0, opening(noFolder, "指定されたパスが見つかりません。")},
    };
    for (const auto& row : rows) {
        int status = 0;
        EXPECT_EQ(-1, CopyFileData(row.src.c_str(), row.dst.c_str(), row.flags, &status)) << robot::Quoted(row.dst);
        EXPECT_EQ(row.status, status) << robot::Quoted(row.dst);
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << robot::Quoted(row.dst);
    }
    EXPECT_EQ("kept", ReadFileBytes(kept));
    EXPECT_FALSE(Exists(Path("dst")));
}

TEST_F(FilesOps, DeleteAndRenameOnTheirRows)
{
    std::string readOnly = MakeFile("読取専用.txt", "x"), folder = MakeFolder("folder");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string from = MakeFile("旧表.txt", "from"), to = MakeFile("新ソ.txt", "to"), missing = Path("無い.txt");
    auto renamed = [](const std::string& a, const std::string& b) { return "[" + a + "]から[" + b + "]へファイル名を変更できません"; };
    const struct {
        const char* name;
        std::function<int()> op;
        int result;
        Report report = {};
        DWORD minMs = 0;
    } rows[] = {
        {"delete missing", [&] { return DeleteFileRetry(missing.c_str(), 5000, 100); }, 1},
        {"delete in a missing folder", [&] { return DeleteFileRetry(Path("無い\\無い.txt").c_str(), 5000, 100); }, 1},
        // A read-only file is an access conflict like any other: retried.
        {"delete read-only", [&] { return DeleteFileRetry(readOnly.c_str(), 1000, 100); }, 0,
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + readOnly + "を削除できません"}, 900},
        {"delete a folder", [&] { return DeleteFileRetry(folder.c_str(), 0, 0); }, 0,
         {ERR_WRITE, "アクセスが拒否されました。", "ファイル " + folder + "を削除できません"}},
        {"rename onto a file", [&] { return RenameFileRetry(from.c_str(), to.c_str(), 5000, 100); }, 0,
         {ERR_WRITE, "既に存在するファイルを作成することはできません。", renamed(from, to)}},
        {"rename a missing file", [&] { return RenameFileRetry(missing.c_str(), Path("n").c_str(), 5000, 100); }, 0,
         {ERR_WRITE, "指定されたファイルが見つかりません。", renamed(missing, Path("n"))}},
    };
    for (const auto& row : rows) {
        Stopwatch watch;
        EXPECT_EQ(row.result, row.op()) << row.name;
        EXPECT_GE(watch.Elapsed(), row.minMs) << row.name;
        EXPECT_LT(watch.Elapsed(), row.minMs + 1000) << row.name;
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
    }
    EXPECT_TRUE(Exists(readOnly) && Exists(from));
    EXPECT_EQ("to", ReadFileBytes(to));
}

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
        SetFileAttributesA(MakeFile("ro.dat").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA(MakeFile("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA(MakeFile("system.tmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
        MakeFolder("sub");
        SetFileAttributesA(MakeFolder("hidden sub").c_str(), FILE_ATTRIBUTE_HIDDEN);
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
    const struct { std::string pattern; DWORD mask; Names expected; } rows[] = {
        {Path("*.*"), 0, plain}, {Path("*.*"), FILE_ATTRIBUTE_DIRECTORY, with({".", "..", "sub"})},
        {Path("*.*"), FILE_ATTRIBUTE_HIDDEN, with({"hidden.txt"})},
        {Path("*.*"), FILE_ATTRIBUTE_SYSTEM, with({"system.tmp"})},
        {Path("*.*"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         with({".", "..", "sub", "hidden.txt", "system.tmp", "hidden sub"})},
        {Path("*.txt"), 0, {"a.txt", "表.txt"}}, {Path("表.*"), FILE_ATTRIBUTE_HIDDEN, {"表.txt"}},
        {Path("*.none"), 0, {}}, {Path("missing\\*.*"), 0, {}}, {Path("hidden.txt"), 0, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Found(row.pattern, row.mask)) << robot::Quoted(row.pattern) << " mask " << row.mask;
    // An enumeration that ends in an error other than "not found" (inside a
    // file): GetPathType's rows, which enumerate.
}

TEST_F(FilesFolders, DeleteTreeTakesWhatItsFlagsAndPatternSay)
{
    for (const char* folder : {"表", "表\\ソ", "表\\ソ\\hidden", ".keep"})
        MakeFolder(folder);
    for (const char* file : {"表\\ソ\\能.tmp", "表\\ソ\\hidden\\d.txt", ".keep\\e.txt"})
        MakeFile(file);
    SetFileAttributesA(Path("表\\ソ\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(1, DeleteTree(DT_RECURSE | DT_RETRYDELETE, Path("*.tmp").c_str()));
    EXPECT_FALSE(Exists(Path("system.tmp")));
    EXPECT_TRUE(Exists(Path("表\\ソ\\能.tmp"))) << "a pattern of files leads into no folder";

    SetFileAttributesA(Path("ro.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1, DeleteTree(0, Path("*.*").c_str()));
    EXPECT_EQ(Names({".", "..", "sub", "hidden sub", "表", ".keep"}),
              Found(Path("*.*"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    std::string readOnly = MakeFile("表\\ソ\\hidden\\ro.txt");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
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
