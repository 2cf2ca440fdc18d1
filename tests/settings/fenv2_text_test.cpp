// The text of a settings file as callers rely on it beyond what the format
// checks of fenv2_badinput_test cover: a missing file, where a changed, new
// or deleted key goes, which names and values are refused, the growth rule,
// and lookups that meet writes.
#include "scratch_test.h"
#include "settings_util.h"

namespace {

using SettingsText = ScratchTest;

TEST_F(SettingsText, MissingFileIsOpenedOnlyWhenAsked)
{
    // A missing file is opened (as an empty text) only when asked; state
    // bits given by the caller are ignored.
    const struct { DWORD flags, expected; } flags[] = {
        {0, 0}, {ENV_LOADED | ENV_DIRTY, 0}, {ENV_CREATE, ENV_CREATE | ENV_LOADED},
        {ENV_CREATE | ENV_HIDDEN, ENV_CREATE | ENV_HIDDEN | ENV_LOADED}};
    for (const auto& row : flags) {
        std::string path = Path("NEW" + std::to_string(row.flags) + ".ENV");
        FEnv2 env(path.c_str(), row.flags);
        EXPECT_EQ(row.expected, env.GetFlags()) << row.flags;
        EXPECT_TRUE(env.GetTextSize() == 0 && Lookup(env, "S", "k") == "<missing>" && env.GetInt("S", "k", 3) == 3);
        DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_EQ(row.expected != 0, attributes != INVALID_FILE_ATTRIBUTES) << row.flags;
        EXPECT_EQ((row.flags & ENV_HIDDEN) != 0, row.expected && (attributes & FILE_ATTRIBUTE_HIDDEN)) << row.flags;
        EXPECT_TRUE(row.expected ||
                    Reported(ERR_OPEN2, "指定されたファイルが見つかりません。", "ファイル " + path + " をオープンできません."));
    }
}

const char kBase[] = "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n";

TEST_F(SettingsText, WritesOnTheirRows)
{
    const std::string b = kBase;
    const struct {
        const char *section, *key, *value;
        int result;
        std::string expected = "";  // empty: the text stays as it was
    } rows[] = {
        {"a", "ONE", "eins", 1, "; head\r\n[A]\r\nONE=eins\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "two", "", 1, "; head\r\n[A]\r\none=1\r\ntwo=\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "new", "x", 1, "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\nnew=x\r\n[B]\r\nthree=3\r\n"},
        {nullptr, "top", "t", 1, "; head\r\ntop=t\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "One", nullptr, 1, "; head\r\n[A]\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "none", nullptr, 1}, {"Nowhere", "one", nullptr, 1},
        {"a", "ONE", "1", 1},  // unchanged: the key keeps the file's spelling
        {"記号‐", "ソ表", "値‐", 1, b + "[記号‐]\r\nソ表=値‐\r\n"}, {"S", "key ", " a=b", 1, b + "[S]\r\nkey = a=b\r\n"},
        {"A", "k=x", "v", 0},    {"A", "k\rx", "v", 0},  {"A", "k\nx", "v", 0},   {"A", ";k", "v", 0},
        {"A", "[k", "v", 0},     {"A", "k", "v\r\n", 0}, {"A", "k", "v\rw", 0},   {"A", "k", "v\nw", 0},
        {"A]", "k", "v", 0},     {"A\r", "k", "v", 0},   {"A\n", "k", "v", 0},    {"A", "k=", nullptr, 0},
        {"新]", "k", "v", 0},    {"A", "\x81=", "v", 0}, {"A", "k", "\x81\r", 0}, {"A", "k", "\x81\n", 0},
    };
    for (const auto& row : rows) {
        std::string where = std::string(row.section ? row.section : "(null)") + " " + row.key;
        FEnv2 env(MakeFile("W.ENV", b).c_str(), 0);
        EXPECT_EQ(row.result, env.WriteString(row.section, row.key, row.value)) << robot::Quoted(where);
        std::string expected = row.expected.empty() ? b : row.expected;
        EXPECT_EQ(expected, TextOf(env)) << robot::Quoted(where);
        EXPECT_EQ(expected != b, (env.GetFlags() & ENV_DIRTY) != 0) << robot::Quoted(where);
    }
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_TRUE(env.WriteInt("B", "three", 3) && env.WriteInt("C", "max", 2147483647));
    EXPECT_EQ(b + "[C]\r\nmax=2147483647\r\n", TextOf(env));
}

TEST_F(SettingsText, GrowthRuleAllocatesTheRequestPlus2048)
{
    std::string big = "[S]\r\nk=" + std::string(20000, 'x') + "\r\n";
    // Writes within the allocation keep it; one beyond asks for the new size.
    FEnv2 env(MakeFile("B.ENV", big).c_str(), 0);
    EXPECT_EQ(big.size() + 2048, env.GetAllocSize());
    env.WriteString("S", "f", std::string(2000, 'y').c_str());
    EXPECT_EQ(big.size() + 2048, env.GetAllocSize());
    env.WriteString("S", "g", std::string(30000, 'z').c_str());
    EXPECT_EQ(env.GetTextSize() + 2048, env.GetAllocSize());
    EXPECT_TRUE(Lookup(env, "S", "g") == std::string(30000, 'z') && Lookup(env, "S", "k") == std::string(20000, 'x'));
}

// A lookup goes on from where the previous one in its section stopped:
// writes before that place must be seen.
TEST_F(SettingsText, WalkSeesTheWritesAndNamesHoldingEquals)
{
    FEnv2 small(MakeFile("R.LST", "[S]\r\na=1\r\nb=2\r\nc=3\r\n").c_str(), 0);
    EXPECT_EQ("2", Lookup(small, "S", "b"));
    small.WriteString("S", "a", nullptr);
    small.WriteString(nullptr, "x", "0");
    EXPECT_TRUE(Lookup(small, "S", "b") == "2" && Lookup(small, "S", "c") == "3");
    small.WriteString("S", "b", "22");
    EXPECT_TRUE(Lookup(small, "S", "B") == "22" && Lookup(small, "S", "C") == "3");
    // The name "a=b" matches the line "a=b=c" (the name, then "="), also
    // after the walk has passed that line's own key "a".
    FEnv2 equals(MakeFile("E.ENV", "[S]\r\nx=1\r\na=b=c\r\n").c_str(), 0);
    EXPECT_TRUE(Lookup(equals, "S", "a") == "b=c" && Lookup(equals, "S", "a=b") == "c");
}

}  // namespace
