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

// A folder of the test's own as the current folder, where the log goes.
class LogFile : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        m_dir = std::string(temp) + "logtest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);  // or left by an earlier process of the same id
        ASSERT_TRUE(SetCurrentDirectoryA(m_dir.c_str()));
        std::ofstream("old.log", std::ios::binary) << "old line\r\n";
    }
    void TearDown() override
    {
        SetCurrentDirectoryA("C:\\");
        for (std::string name : {"CORVA.LOG", "second.log", "old.log", m_long.c_str()})
            DeleteFileA((m_dir + "\\" + name).c_str());
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
    std::regex stamp("\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d ");
    EXPECT_EQ("|ログ開始 lf_init\r\n|一行目\r\n|改行なし|\r\n|FFERROR : C:\\表 書けません\r\n|ログ終了 lf_fin\r\n",
              std::regex_replace(ReadFileBytes("CORVA.LOG"), stamp, "|"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("second.log"));
}

// 0: lines are appended to the old file; 2: it starts afresh; 1: a name of
// 100 bytes is cut to its first 79.
TEST_P(LogFile, StartsAfreshOnlyWithFlagTwoAndCutsALongName)
{
    std::string name = GetParam() == 1 ? m_long + std::string(21, 'x') : "old.log";
    lf_init(name.c_str(), GetParam() & 2);
    std::string log = ReadFileBytes(name.substr(0, 79));
    EXPECT_TRUE((GetParam() == 0) == (log.find("old line\r\n") == 0) && log.find("ログ開始 lf_init") != std::string::npos)
        << GetParam() << ": " << log;
}
INSTANTIATE_TEST_SUITE_P(Flags, LogFile, ::testing::Values(0, 1, 2));

}  // namespace
