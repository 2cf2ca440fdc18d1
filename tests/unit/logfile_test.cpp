// The diagnostic log. Its state is process-wide and lf_init works once per
// process, so each test here expects a process of its own, as ctest runs them.
#include <regex>

#include "base/logfile.h"
#include "scratch_test.h"
#include "testkit/child_process.h"

namespace {

// A scratch folder as the current folder, where the log goes.
class LogFile : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override { ASSERT_TRUE(SetCurrentDirectoryA(Path().c_str())); }
    void TearDown() override { SetCurrentDirectoryA("C:\\"); }
};

TEST_F(LogFile, OffUntilStartedThenLinesAsWrittenWhileEnabled)
{
    lf_write("書かれない", 1);
    EXPECT_FALSE(Exists("CORVA.LOG"));
    MakeFile("CORVA.LOG", "old line\r\n");
    lf_init(nullptr, 2);  // flag 2: the old file goes first
    lf_init("second.log", 0);  // a second start keeps the first name
    lf_write("一行目", 1);
    lf_write("改行なし", 0);
    lf_enable(0);
    EXPECT_EQ(0, lf_isenabled());
    lf_write("消えた", 1);
    lf_enable(1);
    lf_write("", 1);
    // The hook takes a report that is not fatal instead of a box; the line is
    // written before it.
    static std::string s_hooked;
    g_pfnErrorHook = [](int category, const char* context, const char* message) {
        s_hooked = std::to_string(category) + "|" + context + "|" + message;
    };
    EXPECT_TRUE(robot::RunWithoutBox([] { ReportErrorText("書けません", "C:\\表"); }));
    g_pfnErrorHook = nullptr;
    EXPECT_EQ("8|C:\\表|書けません", s_hooked);
    lf_fin();
    std::regex stamp("\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d ");
    EXPECT_EQ("|ログ開始 lf_init\r\n|一行目\r\n|改行なし|\r\n|FFERROR : C:\\表 書けません\r\n|ログ終了 lf_fin\r\n",
              std::regex_replace(ReadFileBytes("CORVA.LOG"), stamp, "|"));
    EXPECT_FALSE(Exists("second.log"));
}

// Without flag 2 lines are appended to an old file; a name of 100 bytes is
// cut to its first 79.
TEST_F(LogFile, AppendsToAnOldFileUnderANameCutTo79Bytes)
{
    std::string name(79, 'n');
    MakeFile(name, "old line\r\n");
    lf_init((name + std::string(21, 'x')).c_str(), 0);
    std::string log = ReadFileBytes(name);
    EXPECT_TRUE(log.find("old line\r\n") == 0 && log.find("ログ開始 lf_init") != std::string::npos) << log;
}

}  // namespace
