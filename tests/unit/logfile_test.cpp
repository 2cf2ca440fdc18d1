// The diagnostic log. Its state is process-wide and lf_init works once per
// process, so each test here expects a process of its own, as ctest runs them.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "base/errreport.h"
#include "base/logfile.h"
#include "testkit/child_process.h"

namespace {

class LogFile : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        m_dir = std::string(temp) + "logtest" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_dir.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(m_dir.c_str()));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA("C:\\");
        for (const char* name : {"CORVA.LOG", "second.log", "old.log", m_long.c_str()})
            DeleteFileA((m_dir + name).c_str());
        EXPECT_TRUE(RemoveDirectoryA(m_dir.c_str())) << "a file nobody expected in " << m_dir;
    }

    std::string m_dir, m_long = std::string(79, 'n');
};

TEST_F(LogFile, OffUntilStartedThenLinesAsWrittenWhileEnabled)
{
    lf_write("書かれない", 1);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("CORVA.LOG"));
    lf_init(nullptr, 0);
    lf_init("second.log", 2);  // a second start keeps the first name
    lf_write("一行目", 1);
    lf_write("改行なし", 0);
    lf_enable(0);
    EXPECT_EQ(0, lf_isenabled());
    lf_write("消えた", 1);
    lf_enable(1);
    lf_write("", 1);
    // The hook stands in for the box; the line is written before it.
    g_pfnErrorHook = [](int, const char*, const char*) {};
    ReportError(ERR_USER, "書けません", "C:\\表");
    g_pfnErrorHook = nullptr;
    lf_fin();
    std::regex line("\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d ");
    EXPECT_EQ("|ログ開始 lf_init\r\n|一行目\r\n|改行なし|\r\n|FFERROR : C:\\表 書けません\r\n|ログ終了 lf_fin\r\n",
              std::regex_replace(ReadFileBytes("CORVA.LOG"), line, "|"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("second.log"));
}

class LogFileFlags : public LogFile {};

TEST_P(LogFileFlags, FlagTwoStartsAFreshFileWithoutItLinesAreAppended)
{
    std::ofstream("old.log", std::ios::binary) << "old line\r\n";
    lf_init("old.log", GetParam());
    EXPECT_EQ(GetParam() == 2 ? std::string::npos : 0, ReadFileBytes("old.log").find("old line\r\n"));
}
INSTANTIATE_TEST_SUITE_P(Flags, LogFileFlags, ::testing::Values(0, 2));

TEST_F(LogFile, LongNameIsCutTo79Bytes)
{
    lf_init((m_long + std::string(21, 'n')).c_str(), 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_long.c_str()));
}

}  // namespace
