// Writes: where a changed, new or deleted key goes, what leaves the text
// untouched, which names and values are refused, and the growth rule.
#include <gtest/gtest.h>

#include <string>

#include "settings_util.h"

namespace {

using SettingsWrite = SettingsTest;

const char kBase[] = "; head\r\n"
                     "[A]\r\n"
                     "one=1\r\n"
                     "two=2\r\n"
                     "\r\n"
                     "; end of A\r\n"
                     "[B]\r\n"
                     "three=3\r\n";

TEST_F(SettingsWrite, ChangedKeyKeepsItsPlace)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("a", "ONE", "eins und mehr"));
    EXPECT_EQ("; head\r\n[A]\r\nONE=eins und mehr\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n", TextOf(env));
    EXPECT_TRUE(env.GetFlags() & ENV_DIRTY);
    EXPECT_EQ(1, env.WriteString("A", "two", ""));
    EXPECT_EQ("; head\r\n[A]\r\nONE=eins und mehr\r\ntwo=\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n", TextOf(env));
}

TEST_F(SettingsWrite, NewKeyEndsItsSectionAfterBlankAndCommentLines)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("A", "new", "x"));
    EXPECT_EQ("; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\nnew=x\r\n[B]\r\nthree=3\r\n", TextOf(env));
    EXPECT_EQ(1, env.WriteString("B", "four", "4"));
    EXPECT_EQ("; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\nnew=x\r\n[B]\r\nthree=3\r\nfour=4\r\n",
              TextOf(env));
}

TEST_F(SettingsWrite, NewSectionEndsTheFile)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("出納帳", "Version", "5621"));
    EXPECT_EQ(std::string(kBase) + "[出納帳]\r\nVersion=5621\r\n", TextOf(env));
    EXPECT_EQ(1, env.WriteString("出納帳", "次", "2"));
    EXPECT_EQ(std::string(kBase) + "[出納帳]\r\nVersion=5621\r\n次=2\r\n", TextOf(env));
}

TEST_F(SettingsWrite, NullSectionWritesBeforeTheFirstHeader)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString(nullptr, "top", "t"));
    EXPECT_EQ("; head\r\ntop=t\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n", TextOf(env));
    EXPECT_EQ("t", Lookup(env, nullptr, "TOP"));
}

TEST_F(SettingsWrite, WritingIntoAnEmptyFileStartsWithTheSection)
{
    FEnv2 env(MakeFile("W.ENV", "").c_str(), 0);
    EXPECT_EQ(1, env.WriteInt("S", "n", -12));
    EXPECT_EQ(1, env.WriteInt("S", "m", 2147483647));
    EXPECT_EQ("[S]\r\nn=-12\r\nm=2147483647\r\n", TextOf(env));
    EXPECT_EQ(-12, env.GetInt("S", "n", 0));
}

TEST_F(SettingsWrite, DeletingRemovesTheWholeLine)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("A", "One", nullptr));
    EXPECT_EQ("; head\r\n[A]\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n", TextOf(env));
    EXPECT_EQ(1, env.WriteString("B", "three", nullptr));
    EXPECT_EQ("; head\r\n[A]\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\n", TextOf(env));
}

TEST_F(SettingsWrite, DeletingSomethingMissingChangesNothing)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("A", "none", nullptr));
    EXPECT_EQ(1, env.WriteString("Nowhere", "one", nullptr));
    EXPECT_EQ(kBase, TextOf(env));
    EXPECT_FALSE(env.GetFlags() & ENV_DIRTY);
}

TEST_F(SettingsWrite, UnchangedValueLeavesTheTextClean)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ(1, env.WriteString("a", "ONE", "1"));
    EXPECT_EQ(1, env.WriteInt("B", "three", 3));
    EXPECT_EQ(kBase, TextOf(env));
    EXPECT_FALSE(env.GetFlags() & ENV_DIRTY);
    // The key keeps the spelling of the file: only the value is compared.
    EXPECT_EQ("; head\r\n[A]\r\none=1\r\n", TextOf(env).substr(0, 20));
}

TEST_F(SettingsWrite, ForbiddenBytesAreRefusedWithoutChange)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"A", "k=x", "v"},     {"A", "k\rx", "v"},  {"A", "k\nx", "v"},     {"A", ";k", "v"},
        {"A", "[k", "v"},      {"A", "k", "v\r\n"}, {"A", "k", "v\rw"},     {"A", "k", "v\nw"},
        {"A]", "k", "v"},      {"A\r", "k", "v"},   {"A\n", "k", "v"},      {"A", "k=", nullptr},
        {"新]", "k", "v"},     {"A", "\x81=", "v"}, {"A", "k", "\x81\r"},   {"A", "k", "\x81\n"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(0, env.WriteString(r.section, r.key, r.value)) << r.section << "/" << r.key;
    }
    EXPECT_EQ(kBase, TextOf(env));
    EXPECT_FALSE(env.GetFlags() & ENV_DIRTY);
}

TEST_F(SettingsWrite, TrailBytesAreNeverTakenForForbiddenBytes)
{
    // "‐" ends in "]" (0x5D); "ソ" and "表" end in 0x5C.
    FEnv2 env(MakeFile("W.ENV", "").c_str(), 0);
    EXPECT_EQ(1, env.WriteString("記号‐", "ソ表", "値‐"));
    EXPECT_EQ("[記号‐]\r\nソ表=値‐\r\n", TextOf(env));
    EXPECT_EQ("値‐", Lookup(env, "記号‐", "ソ表"));
}

TEST_F(SettingsWrite, KeyWithBlankAndValueWithEqualsAreKeptAsGiven)
{
    FEnv2 env(MakeFile("W.ENV", "").c_str(), 0);
    EXPECT_EQ(1, env.WriteString("S", "key ", " a=b"));
    EXPECT_EQ("[S]\r\nkey = a=b\r\n", TextOf(env));
    EXPECT_EQ(" a=b", Lookup(env, "S", "key "));
    EXPECT_EQ("<missing>", Lookup(env, "S", "key"));
}

TEST_F(SettingsWrite, WriteFindsTheFirstOfTwoEqualKeys)
{
    FEnv2 env(MakeFile("W.ENV", "[S]\r\nK=1\r\nk=2\r\n").c_str(), 0);
    EXPECT_EQ(1, env.WriteString("s", "k", "9"));
    EXPECT_EQ("[S]\r\nk=9\r\nk=2\r\n", TextOf(env));
}

TEST_F(SettingsWrite, LookupsSeeEveryWrite)
{
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "A", "one"));
    EXPECT_EQ("2", Lookup(env, "A", "two"));
    env.WriteString("A", "one", nullptr);
    EXPECT_EQ("<missing>", Lookup(env, "A", "one"));
    EXPECT_EQ("2", Lookup(env, "A", "two"));
    env.WriteString("A", "one", "again");
    EXPECT_EQ("again", Lookup(env, "A", "one"));
    env.WriteString("A", "two", "22");
    EXPECT_EQ("22", Lookup(env, "A", "two"));
}

TEST_F(SettingsWrite, GrowthRuleAllocatesTheRequestPlus2048AtLeast10240)
{
    FEnv2 small(MakeFile("S.ENV", "a=1\r\n").c_str(), 0);
    EXPECT_EQ(10240u, small.GetAllocSize());

    std::string big = "[S]\r\nk=" + std::string(20000, 'x') + "\r\n";
    FEnv2 env(MakeFile("B.ENV", big).c_str(), 0);
    EXPECT_EQ(big.size() + 2048, env.GetAllocSize());

    // Writes within the allocation keep it; one beyond asks for the new size.
    uint32_t alloc = env.GetAllocSize();
    std::string fits(2000, 'y');
    env.WriteString("S", "f", fits.c_str());
    EXPECT_EQ(alloc, env.GetAllocSize());
    std::string more(30000, 'z');
    env.WriteString("S", "g", more.c_str());
    EXPECT_EQ(env.GetTextSize() + 2048, env.GetAllocSize());
    EXPECT_EQ(more, Lookup(env, "S", "g"));
    EXPECT_EQ(std::string(20000, 'x'), Lookup(env, "S", "k"));
}

TEST_F(SettingsWrite, NewSectionThatOutgrowsTheBufferKeepsTheText)
{
    FEnv2 env(MakeFile("G.ENV", "").c_str(), 0);
    std::string value(10229, 'v');
    env.WriteString("A", "k", value.c_str());
    ASSERT_EQ(10238u, env.GetTextSize());
    ASSERT_EQ(10240u, env.GetAllocSize());
    // The header alone passes the allocation: the request is the text with it.
    EXPECT_EQ(1, env.WriteString("S", "k", "v"));
    EXPECT_EQ(10238u + 5 + 2048, env.GetAllocSize());
    EXPECT_EQ("[A]\r\nk=" + value + "\r\n[S]\r\nk=v\r\n", TextOf(env));
}

}  // namespace
