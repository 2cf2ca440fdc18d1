// CopyFileData: the bytes, the file times (flag 1), a target that must be new
// (flag 8) and the reports of a missing source or target folder.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"
#include "testkit/child_process.h"

namespace {

// Bytes of every value, NUL included, in a pattern that differs per size.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = (char)((i * 7 + size) % 251);
    return bytes;
}

FILETIME LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 0;
}

class FilesCopy : public FileTest {};

TEST_F(FilesCopy, CopiesEveryByteAcrossBlockBoundaries)
{
    for (size_t size : {0, 1, 1023, 1024, 1025, 3000, 70000}) {
        std::string src = m_scratch.MakeFile("元" + std::to_string(size), Pattern(size));
        std::string dst = m_scratch / ("先" + std::to_string(size));
        EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), 0, nullptr)) << size;
        EXPECT_TRUE(Pattern(size) == ReadFileBytes(dst)) << "bytes differ at size " << size;
    }
}

TEST_F(FilesCopy, EveryFlagButNewOnlyStillCopiesTheBytes)
{
    std::string src = m_scratch.MakeFile("元表", Pattern(5000));
    std::string dst = m_scratch / "先表";
    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), CFD_COPYTIME | CFD_FLUSH | CFD_RETRY, nullptr));
    EXPECT_TRUE(Pattern(5000) == ReadFileBytes(dst));
}

TEST_F(FilesCopy, ReplacesALongerTarget)
{
    std::string src = m_scratch.MakeFile("src", "short");
    std::string dst = m_scratch.MakeFile("dst", Pattern(4000));
    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), 0, nullptr));
    EXPECT_EQ("short", ReadFileBytes(dst));
}

TEST_F(FilesCopy, TimeFlagCopiesTheLastWriteTime)
{
    std::string src = m_scratch.MakeFile("src", "data");
    SYSTEMTIME old = {2001, 2, 0, 3, 4, 5, 6, 0};
    FILETIME oldTime;
    ASSERT_TRUE(SystemTimeToFileTime(&old, &oldTime));
    HANDLE file = CreateFileA(src.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &oldTime));
    CloseHandle(file);
    ASSERT_TRUE(SameTime(oldTime, LastWriteTime(src)));

    std::string withTimes = m_scratch / "with times";
    std::string withoutTimes = m_scratch / "without times";
    EXPECT_EQ(0, CopyFileData(src.c_str(), withTimes.c_str(), CFD_COPYTIME, nullptr));
    EXPECT_EQ(0, CopyFileData(src.c_str(), withoutTimes.c_str(), 0, nullptr));
    EXPECT_TRUE(SameTime(oldTime, LastWriteTime(withTimes)));
    EXPECT_FALSE(SameTime(oldTime, LastWriteTime(withoutTimes)));
}

TEST_F(FilesCopy, NewOnlyFlagRefusesAnExistingTarget)
{
    std::string src = m_scratch.MakeFile("src", "new bytes");
    std::string dst = m_scratch.MakeFile("既存表", "kept");
    int status = 0;
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_NEWONLY, &status));
    EXPECT_EQ(CFD_STATUS_EXISTED, status & CFD_STATUS_EXISTED);
    EXPECT_EQ("kept", ReadFileBytes(dst));
    Report report = TakeReport();
    EXPECT_EQ(ERR_OPEN2, report.category);
    EXPECT_SAME_TEXT(SystemText(ERROR_FILE_EXISTS), report.message);
    EXPECT_SAME_TEXT("ファイル " + dst + " をオープンできません.", report.context);
}

TEST_F(FilesCopy, NewOnlyFlagCreatesAMissingTarget)
{
    std::string src = m_scratch.MakeFile("src", "new bytes");
    std::string dst = m_scratch / "new";
    int status = 0;
    EXPECT_EQ(0, CopyFileData(src.c_str(), dst.c_str(), CFD_NEWONLY, &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ("new bytes", ReadFileBytes(dst));
}

TEST_F(FilesCopy, MissingSourceIsReported)
{
    std::string src = m_scratch / "無い表.txt";
    std::string dst = m_scratch / "dst";
    int status = 0;
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_NEWONLY, &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dst.c_str()));
    Report report = TakeReport();
    EXPECT_EQ(ERR_OPEN2, report.category);
    EXPECT_SAME_TEXT("指定されたファイルが見つかりません。", report.message);
    EXPECT_SAME_TEXT("ファイル " + src + " をオープンできません.", report.context);
}

TEST_F(FilesCopy, TargetInAMissingFolderIsReported)
{
    std::string src = m_scratch.MakeFile("src", "data");
    std::string dst = m_scratch / "無いフォルダ\\dst";
    EXPECT_EQ(-1, CopyFileData(src.c_str(), dst.c_str(), CFD_RETRY, nullptr));
    Report report = TakeReport();
    EXPECT_EQ(ERR_OPEN2, report.category);
    EXPECT_SAME_TEXT("指定されたパスが見つかりません。", report.message);
    EXPECT_SAME_TEXT("ファイル " + dst + " をオープンできません.", report.context);
}

}  // namespace
