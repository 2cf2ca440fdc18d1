// The command tail as the three ways of starting the setup write it.
#include <gtest/gtest.h>

#include "setup/setup.h"

namespace {

struct Parsed {
    bool update, uninstall;
    std::string source;
};

Parsed Parse(const char* tail)
{
    CommandLine line = ParseCommandTail(tail);
    return {line.fUpdate, line.fUninstall, (const char*)line.strSource};
}

TEST(CommandTail, EmptyAndBlanksOnlyGiveNothing)
{
    for (const char* tail : {"", "   "}) {
        Parsed p = Parse(tail);
        EXPECT_FALSE(p.update);
        EXPECT_FALSE(p.uninstall);
        EXPECT_EQ("", p.source);
    }
}

TEST(CommandTail, BareFolderIsTheSource)
{
    Parsed p = Parse("D:\\SETUP\\");
    EXPECT_FALSE(p.update);
    EXPECT_FALSE(p.uninstall);
    EXPECT_EQ("D:\\SETUP\\", p.source);
}

TEST(CommandTail, QuotedFolderWithBlanksThenAFurtherWordIgnored)
{
    Parsed p = Parse("  \"C:\\Program Files\\出納帳 表\\\"  other");
    EXPECT_EQ("C:\\Program Files\\出納帳 表\\", p.source);
}

TEST(CommandTail, RelaunchLineOfTheUninstallEntry)
{
    // What the copy in the Windows folder receives: the options as written,
    // then the quoted folder of the first instance.
    Parsed p = Parse("/uninstall \"C:\\APP\\\"");
    EXPECT_TRUE(p.uninstall);
    EXPECT_FALSE(p.update);
    EXPECT_EQ("C:\\APP\\", p.source);
}

TEST(CommandTail, OptionsInAnyCaseAndOrder)
{
    Parsed p = Parse("C:\\SRC /UnInStAlL /update");
    EXPECT_TRUE(p.update);
    EXPECT_TRUE(p.uninstall);
    EXPECT_EQ("C:\\SRC", p.source);
}

TEST(CommandTail, OptionsArePrefixesAndGluedLettersBecomeAWord)
{
    Parsed p = Parse("/UPDATEX");
    EXPECT_TRUE(p.update);
    EXPECT_EQ("X", p.source);
}

TEST(CommandTail, UnknownOptionLosesItsSlashAndBecomesTheSource)
{
    Parsed p = Parse("/FOO");
    EXPECT_FALSE(p.update);
    EXPECT_FALSE(p.uninstall);
    EXPECT_EQ("FOO", p.source);
}

TEST(CommandTail, TabDoesNotSeparateWords)
{
    EXPECT_EQ("A\tB", Parse("A\tB C").source);
}

TEST(CommandTail, UnclosedQuoteRunsToTheEnd)
{
    EXPECT_EQ("C:\\A B", Parse("\"C:\\A B").source);
}

TEST(CommandTail, OptionCutShortByTheEndIsNoOption)
{
    Parsed p = Parse("/UPDAT");
    EXPECT_FALSE(p.update);
    EXPECT_EQ("UPDAT", p.source);
}

}  // namespace
