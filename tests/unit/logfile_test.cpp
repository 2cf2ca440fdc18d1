// The diagnostic log. Its state is process-wide and lf_init works once per
// process, so each test here expects a process of its own, as ctest runs them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "base/errreport.h"
#include "base/logfile.h"
#include "dazo/Func.h"

namespace {

class LogFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        m_dir = std::string(temp) + "logtest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(m_dir.c_str()));
    }

    void TearDown() override
    {
        SetCurrentDirectoryA("C:\\");
        DeleteTree(0, (m_dir + "\\*.*").c_str());
        RemoveDirectoryA(m_dir.c_str());
    }

    static std::string Read(const std::string& name)
    {
        std::ifstream file(name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }

    // "yy/mm/dd hh:mm:ss " + text + CR LF
    static bool IsLine(const std::string& line, const std::string& text)
    {
        const char* pattern = "99/99/99 99:99:99 ";
        if (line.size() != 18 + text.size() + 2)
            return false;
        for (int i = 0; i < 18; ++i)
            if (pattern[i] == '9' ? !std::isdigit((unsigned char)line[i]) : pattern[i] != line[i])
                return false;
        return line.compare(18, std::string::npos, text + "\r\n") == 0;
    }

    std::string m_dir;
};

TEST_F(LogFile, OffUntilStartedAndWritesNothing)
{
    lf_write("書かれない", 1);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("CORVA.LOG"));
}

TEST_F(LogFile, StartWriteAndFinishLines)
{
    lf_init(nullptr, 0);
    lf_write("一行目", 1);
    lf_write("改行なし", 0);
    lf_write("", 1);
    lf_fin();
    std::string log = Read("CORVA.LOG");
    ASSERT_EQ(18 + 16 + 2 + 18 + 6 + 2 + 18 + 8 + 18 + 2 + 18 + 15 + 2, (int)log.size()) << log;
    EXPECT_TRUE(IsLine(log.substr(0, 36), "ログ開始 lf_init"));
    EXPECT_TRUE(IsLine(log.substr(36, 26), "一行目"));
    EXPECT_EQ("改行なし", log.substr(62 + 18, 8));
    EXPECT_TRUE(IsLine(log.substr(88, 20), ""));
    EXPECT_TRUE(IsLine(log.substr(108), "ログ終了 lf_fin"));
}

TEST_F(LogFile, SecondStartKeepsTheFirstName)
{
    lf_init("first.log", 0);
    lf_init("second.log", 2);
    lf_write("x", 1);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("second.log"));
    std::string log = Read("first.log");
    EXPECT_EQ(2u * 18 + 16 + 2 + 1 + 2, log.size());
}

TEST_F(LogFile, FlagTwoStartsAFreshFile)
{
    std::ofstream("fresh.log", std::ios::binary) << "old line\r\n";
    lf_init("fresh.log", 2);
    EXPECT_EQ(std::string::npos, Read("fresh.log").find("old line"));
}

TEST_F(LogFile, WithoutFlagTwoLinesAreAppended)
{
    std::ofstream("append.log", std::ios::binary) << "old line\r\n";
    lf_init("append.log", 0);
    std::string log = Read("append.log");
    EXPECT_EQ(0u, log.find("old line\r\n"));
    EXPECT_TRUE(IsLine(log.substr(10), "ログ開始 lf_init"));
}

TEST_F(LogFile, LongNameIsCutTo79Bytes)
{
    std::string name(100, 'n');
    lf_init(name.c_str(), 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(name.substr(0, 79).c_str()));
}

TEST_F(LogFile, DisabledLogWritesNothingUntilEnabledAgain)
{
    lf_init("toggle.log", 0);
    lf_enable(0);
    EXPECT_EQ(0, lf_isenabled());
    lf_write("消えた", 1);
    lf_enable(1);
    lf_write("残った", 1);
    std::string log = Read("toggle.log");
    EXPECT_EQ(std::string::npos, log.find("消えた"));
    EXPECT_NE(std::string::npos, log.find("残った"));
}

TEST_F(LogFile, ShownErrorsAreLoggedAsFferrorLines)
{
    lf_init("errors.log", 0);
    // The hook stands in for the box; the line is written before it.
    g_pfnErrorHook = [](int, const char*, const char*) {};
    ReportError(ERR_USER, "書けません", "C:\\表");
    g_pfnErrorHook = nullptr;
    std::string log = Read("errors.log");
    EXPECT_TRUE(IsLine(log.substr(36), "FFERROR : C:\\表 書けません")) << log;
}

}  // namespace
