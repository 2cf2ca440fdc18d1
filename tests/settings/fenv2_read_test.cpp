// Lookups in a settings file as callers rely on them: which section and key
// win, how names compare, the null section, what a value is, the list of
// keys, and how the end of the file is read.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings_util.h"

namespace {

using SettingsRead = SettingsTest;
using Keys = std::vector<std::string>;

TEST_F(SettingsRead, FirstSectionAndFirstKeyWinWithCaseIgnored)
{
    std::string path = MakeFile("A.ENV", "[A]\r\nKey=1\r\nKEY=3\r\n[a]\r\nkey=2\r\n");
    FEnv2 env(path.c_str(), 0);
    ASSERT_TRUE(env.GetFlags() & ENV_LOADED);
    EXPECT_EQ("1", Lookup(env, "a", "KEY"));
    EXPECT_EQ("1", Lookup(env, "A", "key"));
    EXPECT_EQ("1", Lookup(env, "a", "kEy"));
}

TEST_F(SettingsRead, DoubleByteCharactersCompareExactly)
{
    // "ａ" is 0x82 0x81 and "Ａ" 0x82 0x60; a pair whose trail byte is the
    // letter "a" (0x82 0x61) must not match the pair with "A" (0x82 0x41),
    // though toupper of the second bytes alone would make them equal.
    std::string path = MakeFile("DB.ENV",
                                "[設定\x82" "A]\r\n"
                                "\x82" "Akey=upper\r\n"
                                "[設定\x82" "a]\r\n"
                                "\x82" "akey=lower\r\n"
                                "ａ=full-width small\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("<missing>", Lookup(env, "設定\x82" "A", "\x82" "aKEY"));
    EXPECT_EQ("upper", Lookup(env, "設定\x82" "A", "\x82" "AKEY"));
    EXPECT_EQ("lower", Lookup(env, "設定\x82" "a", "\x82" "aKEY"));
    EXPECT_EQ("full-width small", Lookup(env, "設定\x82" "a", "ａ"));
    EXPECT_EQ("<missing>", Lookup(env, "設定\x82" "a", "Ａ"));
    EXPECT_EQ("<missing>", Lookup(env, "設定\x82" "B", "\x82" "aKEY"));
}

TEST_F(SettingsRead, TrailByteThatLooksLikeABracketOrBackslashIsPartOfTheName)
{
    // "ソ" ends in 0x5C, "ー" in 0x5B, "‐" (0x81 0x5D) in "]".
    std::string path = MakeFile("TB.ENV", "[ソー‐]\r\n表=1\r\n[親\\子]\r\n能=2\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "ソー‐", "表"));
    EXPECT_EQ("2", Lookup(env, "親\\子", "能"));
    EXPECT_EQ("<missing>", Lookup(env, "ソー", "表"));
}

TEST_F(SettingsRead, NamesMatchOnlyInFull)
{
    std::string path = MakeFile("F.ENV", "[Sec]\r\nKey =spaced\r\nKeyLong=long\r\n[SecTwo]\r\nKey=two\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("<missing>", Lookup(env, "Sec", "Key"));
    EXPECT_EQ("spaced", Lookup(env, "Sec", "Key "));
    EXPECT_EQ("long", Lookup(env, "Sec", "keylong"));
    EXPECT_EQ("two", Lookup(env, "SecTwo", "Key"));
    EXPECT_EQ("<missing>", Lookup(env, "Se", "Key "));
}

TEST_F(SettingsRead, ValueIsEverythingAfterTheFirstEquals)
{
    std::string path = MakeFile("V.ENV", "[S]\r\nk= a=b ;c \r\nempty=\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ(" a=b ;c ", Lookup(env, "S", "k"));
    EXPECT_EQ("", Lookup(env, "S", "empty"));
}

TEST_F(SettingsRead, NullSectionIsTheLinesBeforeTheFirstHeader)
{
    std::string path = MakeFile("N.ENV", "top=1\r\n;comment=x\r\n[S]\r\ntop=2\r\ninner=3\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("1", Lookup(env, nullptr, "top"));
    EXPECT_EQ("<missing>", Lookup(env, nullptr, "inner"));
    EXPECT_EQ("2", Lookup(env, "S", "top"));
    EXPECT_EQ((Keys {"top"}), Names(env.EnumKeys(nullptr)));
}

TEST_F(SettingsRead, CommentsAndLinesWithoutEqualsNeverMatch)
{
    std::string path = MakeFile("C.ENV", "[S]\r\n;k=comment\r\nk\r\n\r\n=empty key\r\nk=real\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("real", Lookup(env, "S", "k"));
    EXPECT_EQ("<missing>", Lookup(env, "S", ";k"));
    EXPECT_EQ((Keys {"k"}), Names(env.EnumKeys("S")));
}

TEST_F(SettingsRead, SectionEndsAtTheNextLineThatStartsWithABracket)
{
    std::string path = MakeFile("E.ENV", "[S]\r\na=1\r\n[not a header\r\nb=2\r\n[T]\r\nc=3\r\n");
    FEnv2 env(path.c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "S", "a"));
    EXPECT_EQ("<missing>", Lookup(env, "S", "b"));
    EXPECT_EQ((Keys {"a"}), Names(env.EnumKeys("S")));
    EXPECT_EQ((Keys {"c"}), Names(env.EnumKeys("t")));
}

TEST_F(SettingsRead, EnumKeysListsKeysInFileOrderEndedByAnEmptyName)
{
    std::string path = MakeFile("K.ENV", "[Files]\r\nZ=1\r\nA=2\r\nm=3\r\nA=dup\r\n[Other]\r\nX=4\r\n");
    FEnv2 env(path.c_str(), 0);
    DataObjStr list = env.EnumKeys("files");
    EXPECT_EQ((Keys {"Z", "A", "m", "A"}), Names(list));
    EXPECT_EQ(0, std::memcmp((const char*)list, "Z\0A\0m\0A\0\0", 9));

    DataObjStr missing = env.EnumKeys("Nowhere");
    EXPECT_EQ('\0', ((const char*)missing)[0]);
    EXPECT_TRUE(Names(missing).empty());
}

TEST_F(SettingsRead, GetIntReadsAsAtolDoes)
{
    std::string path = MakeFile("I.ENV", "[S]\r\na=  -42xyz\r\nb=+7\r\nc=abc\r\nd=\r\ne=2147483647\r\n");
    FEnv2 env(path.c_str(), 0);
    int found = -1;
    EXPECT_EQ(-42, env.GetInt("S", "a", 99, &found));
    EXPECT_EQ(1, found);
    EXPECT_EQ(7, env.GetInt("S", "b", 99));
    EXPECT_EQ(0, env.GetInt("S", "c", 99));
    EXPECT_EQ(0, env.GetInt("S", "d", 99));
    EXPECT_EQ(2147483647, env.GetInt("S", "e", 99));
    EXPECT_EQ(99, env.GetInt("S", "none", 99, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ(-5, env.GetInt("None", "a", -5));
}

struct EndCase {
    const char* name;
    std::string file;
    std::string text;
    const char* value;  // of the key "a"
};

TEST_F(SettingsRead, EndOfFileIsReadAsACompleteLine)
{
    const EndCase cases[] = {
        {"no line end", "a=1", "a=1\r\n", "1"},
        {"complete", "a=1\r\n", "a=1\r\n", "1"},
        {"lone LF", "a=1\n", "a=1\r\n", "1"},
        {"lone CR", "a=1\r", "a=1\r\n", "1"},
        {"EOF byte", "a=1\r\n\x1A", "a=1\r\n", "1"},
        {"EOF byte alone", "a=1\x1A", "a=1\r\n", "1"},
        {"two EOF bytes", "a=1\r\n\x1A\x1A", "a=1\r\n\x1A\r\n", "1"},
        {"LF CR", "a=1\n\r", "a=1\n\r\n", "1\n"},
        {"blank last line", "a=1\r\n\r\n", "a=1\r\n\r\n", "1"},
        {"empty", "", "", "<missing>"},
        {"only CR LF", "\r\n", "", "<missing>"},
        {"only EOF byte", "\x1A", "", "<missing>"},
    };
    for (const EndCase& c : cases) {
        std::string path = MakeFile("END.ENV", c.file);
        FEnv2 env(path.c_str(), 0);
        EXPECT_TRUE(env.GetFlags() & ENV_LOADED) << c.name;
        EXPECT_EQ(c.text, TextOf(env)) << c.name;
        EXPECT_EQ(c.value, Lookup(env, nullptr, "a")) << c.name;
    }
}

TEST_F(SettingsRead, MissingFileIsReportedAndReadsGiveDefaults)
{
    std::string path = m_folder.File("NONE.ENV");
    FEnv2 env(path.c_str(), 0);
    EXPECT_FALSE(env.GetFlags() & ENV_LOADED);
    HeldError error = TakeError();
    EXPECT_EQ(ERR_OPEN2, error.code);
    EXPECT_EQ("ファイル " + path + " をオープンできません.", error.context);
    EXPECT_EQ("<missing>", Lookup(env, "S", "k"));
    EXPECT_EQ(3, env.GetInt("S", "k", 3));
    EXPECT_FALSE(FileExists(path));
}

TEST_F(SettingsRead, CreateOpensAMissingFileAsAnEmptyText)
{
    std::string path = m_folder.File("NEW.ENV");
    FEnv2 env(path.c_str(), ENV_CREATE);
    EXPECT_EQ((DWORD)(ENV_CREATE | ENV_LOADED), env.GetFlags());
    EXPECT_EQ(0u, env.GetTextSize());
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(SettingsRead, CreateHiddenMakesTheNewFileHidden)
{
    std::string path = m_folder.File("HIDDEN.ENV");
    FEnv2 env(path.c_str(), ENV_CREATE | ENV_HIDDEN);
    EXPECT_TRUE(env.GetFlags() & ENV_LOADED);
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(SettingsRead, StateBitsGivenByTheCallerAreIgnored)
{
    std::string path = m_folder.File("NONE.ENV");
    FEnv2 env(path.c_str(), ENV_LOADED | ENV_DIRTY);
    EXPECT_EQ(0u, env.GetFlags());
    TakeError();
}

}  // namespace
