// The command tail as the three ways of starting the setup write it. (The
// uninstall entry's "/uninstall" and a quoted folder are read in every
// uninstall flow.)
#include <gtest/gtest.h>

#include "robot/readable_text.h"
#include "setup/setup.h"

namespace {

TEST(CommandTail, EachTailOnItsRow)
{
    const struct { const char* tail; bool update, uninstall; const char* source; } rows[] = {
        {"   ", false, false, ""}, {"D:\\SETUP\\", false, false, "D:\\SETUP\\"},
        {"  \"C:\\Program Files\\出納帳 表\\\"  other", false, false, "C:\\Program Files\\出納帳 表\\"},
        {"C:\\SRC /UnInStAlL /update", true, true, "C:\\SRC"}, {"/UPDATEX", true, false, "X"},
        {"/FOO", false, false, "FOO"}, {"/UPDAT", false, false, "UPDAT"}, {"/UNINSTAL", false, false, "UNINSTAL"},
        {"A\tB C", false, false, "A\tB"}, {"\"C:\\A B", false, false, "C:\\A B"},
    };
    for (const auto& row : rows) {
        CommandLine line = ParseCommandTail(row.tail);
        EXPECT_EQ(row.update, line.fUpdate) << robot::Quoted(row.tail);
        EXPECT_EQ(row.uninstall, line.fUninstall) << robot::Quoted(row.tail);
        EXPECT_EQ(row.source, std::string(line.strSource)) << robot::Quoted(row.tail);
    }
}

}  // namespace
