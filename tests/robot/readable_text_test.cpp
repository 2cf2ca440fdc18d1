// The readable forms of code page 932 texts used in failure messages and in
// robot.exe's output. u8"" literals are UTF-8 whatever -fexec-charset says.
#include <gtest/gtest.h>

#include "robot/readable_text.h"

namespace {

TEST(RobotText, QuotedKeepsTrailByte5CInsideItsCharacter)
{
    // ソ 表 能 are 83 5C, 95 5C, 94 5C; the last byte is a lone backslash.
    EXPECT_EQ(u8"\"ソ表能\\\\\"", robot::Quoted("ソ表能\\"));
}

TEST(RobotText, QuotedEscapesWhatCannotBeSeen)
{
    const std::string bytes("a\n\r\t\"\x01\x7F\x83", 8);  // ends in a lone lead byte
    EXPECT_EQ(u8"\"a\\n\\r\\t\\\"\\x01\\x7F\\x83\"", robot::Quoted(bytes));
}

TEST(RobotText, QuotedShowsHalfWidthKatakana)
{
    EXPECT_EQ(u8"\"ｷｬﾝｾﾙ\"", robot::Quoted("ｷｬﾝｾﾙ"));
}

TEST(RobotText, Cp932ToUtf8AndBack)
{
    EXPECT_EQ(u8"出納帳 セットアップ", robot::Cp932ToUtf8("出納帳 セットアップ"));
    EXPECT_EQ("出納帳", robot::WideToCp932(L"\u51FA\u7D0D\u5E33"));
}

TEST(RobotText, HexBytes)
{
    EXPECT_EQ("83 5C 41", robot::HexBytes("ソA"));
    EXPECT_EQ("", robot::HexBytes(""));
}

TEST(RobotText, ButtonNamesAndIds)
{
    EXPECT_EQ("IDYES IDNO 1006", robot::ButtonList({IDYES, IDNO, 1006}));
    int id = 0;
    EXPECT_TRUE(robot::ParseButtonId("IDCANCEL", &id));
    EXPECT_EQ(IDCANCEL, id);
    EXPECT_TRUE(robot::ParseButtonId("0x3EE", &id));
    EXPECT_EQ(1006, id);
    EXPECT_TRUE(robot::ParseButtonId("12", &id));
    EXPECT_EQ(12, id);
    EXPECT_FALSE(robot::ParseButtonId("IDMAYBE", &id));
    EXPECT_FALSE(robot::ParseButtonId("", &id));
    EXPECT_FALSE(robot::ParseButtonId("12x", &id));
}

TEST(RobotText, IconNames)
{
    EXPECT_EQ("MB_ICONEXCLAMATION", robot::IconName(MB_ICONEXCLAMATION));
    EXPECT_EQ("none", robot::IconName(0));
    EXPECT_EQ("unknown", robot::IconName(-1));
}

}  // namespace
