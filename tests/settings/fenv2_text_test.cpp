// The text of a settings file as callers rely on it beyond what the format
// checks of fenv2_badinput_test cover: a missing file, where a
// changed, new or deleted key goes, which names and values are refused, the
// growth rule, and lookups that follow one another through a long section
// (a walk goes on from where the previous lookup stopped) or meet writes.
#include <algorithm>
#include <cstdio>
#include <random>

#include "scratch_test.h"
#include "settings_util.h"

namespace {

using SettingsText = ScratchTest;

TEST_F(SettingsText, MissingFileIsOpenedOnlyWhenAsked)
{
    // A missing file is opened (as an empty text) only when asked; state
    // bits given by the caller are ignored.
    const struct { DWORD flags, expected; } flags[] = {{0, 0}, {ENV_LOADED | ENV_DIRTY, 0}, {ENV_CREATE, ENV_CREATE | ENV_LOADED},
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
        const char* base = nullptr;
    } rows[] = {
        {"a", "ONE", "eins und mehr", 1, "; head\r\n[A]\r\nONE=eins und mehr\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "two", "", 1, "; head\r\n[A]\r\none=1\r\ntwo=\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "new", "x", 1, "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\nnew=x\r\n[B]\r\nthree=3\r\n"},
        {"B", "four", "4", 1, b + "four=4\r\n"}, {"出納帳", "Version", "5621", 1, b + "[出納帳]\r\nVersion=5621\r\n"},
        {nullptr, "top", "t", 1, "; head\r\ntop=t\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "One", nullptr, 1, "; head\r\n[A]\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"B", "three", nullptr, 1, "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\n"},
        {"A", "none", nullptr, 1}, {"Nowhere", "one", nullptr, 1},
        {"a", "ONE", "1", 1},  // unchanged: the key keeps the file's spelling
        {"記号‐", "ソ表", "値‐", 1, b + "[記号‐]\r\nソ表=値‐\r\n"}, {"S", "key ", " a=b", 1, b + "[S]\r\nkey = a=b\r\n"},
        {"s", "k", "9", 1, "[S]\r\nk=9\r\nk=2\r\n", "[S]\r\nK=1\r\nk=2\r\n"},
        {"S", "n", "-12", 1, "[S]\r\nn=-12\r\n", ""},
        {"A", "k=x", "v", 0},    {"A", "k\rx", "v", 0},  {"A", "k\nx", "v", 0},   {"A", ";k", "v", 0},
        {"A", "[k", "v", 0},     {"A", "k", "v\r\n", 0}, {"A", "k", "v\rw", 0},   {"A", "k", "v\nw", 0},
        {"A]", "k", "v", 0},     {"A\r", "k", "v", 0},   {"A\n", "k", "v", 0},    {"A", "k=", nullptr, 0},
        {"新]", "k", "v", 0},    {"A", "\x81=", "v", 0}, {"A", "k", "\x81\r", 0}, {"A", "k", "\x81\n", 0},
    };
    for (const auto& row : rows) {
        std::string base = row.base ? row.base : kBase, where = std::string(row.section ? row.section : "(null)") + " " + row.key;
        FEnv2 env(MakeFile("W.ENV", base).c_str(), 0);
        Lookup(env, row.section, row.key);  // a walk stands where the write happens
        EXPECT_EQ(row.result, env.WriteString(row.section, row.key, row.value)) << robot::Quoted(where);
        std::string expected = row.expected.empty() ? base : row.expected;
        EXPECT_EQ(expected, TextOf(env)) << robot::Quoted(where);
        EXPECT_EQ(expected != base, (env.GetFlags() & ENV_DIRTY) != 0) << robot::Quoted(where);
        if (row.result) {
            EXPECT_EQ(row.value ? row.value : "<missing>", Lookup(env, row.section, row.key)) << robot::Quoted(where);
        }
    }
    FEnv2 env(MakeFile("W.ENV", kBase).c_str(), 0);
    EXPECT_TRUE(env.WriteInt("B", "three", 3) && env.WriteInt("C", "max", 2147483647));
    EXPECT_EQ(b + "[C]\r\nmax=2147483647\r\n", TextOf(env));
}

TEST_F(SettingsText, GrowthRuleAllocatesTheRequestPlus2048AtLeast10240)
{
    // An empty text filled to 10238 bytes stays in 10240; a new header alone
    // passes it: the request is the text with it.
    FEnv2 small(MakeFile("S.ENV", "").c_str(), 0);
    std::string value(10229, 'v'), big = "[S]\r\nk=" + std::string(20000, 'x') + "\r\n";
    small.WriteString("A", "k", value.c_str());
    EXPECT_TRUE(small.GetTextSize() == 10238 && small.GetAllocSize() == 10240) << small.GetAllocSize();
    EXPECT_EQ(1, small.WriteString("S", "k", "v"));
    EXPECT_EQ(10238u + 5 + 2048, small.GetAllocSize());
    EXPECT_EQ("[A]\r\nk=" + value + "\r\n[S]\r\nk=v\r\n", TextOf(small));
    // Writes within the allocation keep it; one beyond asks for the new size.
    FEnv2 env(MakeFile("B.ENV", big).c_str(), 0);
    EXPECT_EQ(big.size() + 2048, env.GetAllocSize());
    env.WriteString("S", "f", std::string(2000, 'y').c_str());
    EXPECT_EQ(big.size() + 2048, env.GetAllocSize());
    env.WriteString("S", "g", std::string(30000, 'z').c_str());
    EXPECT_EQ(env.GetTextSize() + 2048, env.GetAllocSize());
    EXPECT_TRUE(Lookup(env, "S", "g") == std::string(30000, 'z') && Lookup(env, "S", "k") == std::string(20000, 'x'));
}

// A list of 3000 entries, some keys repeated in the other case (the first
// spelling wins), walked forwards, backwards and shuffled.
TEST_F(SettingsText, EveryWalkFindsTheFirstMatchAndSeesTheWrites)
{
    std::string text = "[Common]\r\nC=common\r\n[Files]\r\n";
    std::vector<std::pair<std::string, std::string>> keys;  // key, value
    char line[64];
    for (int i = 0; i < 3000; ++i) {
        std::snprintf(line, sizeof(line), i % 97 == 5 ? "f%05d" : "F%05d", i % 97 == 5 ? i - 4 : i);
        keys.push_back({line, std::to_string(i % 97 == 5 ? i - 4 : i)});
        text += line + std::string("=") + std::to_string(i) + (i % 500 ? "\r\n" : "\r\n; comment\r\n\r\nno equals\r\n");
    }
    decltype(keys) orders[3] = {keys, {keys.rbegin(), keys.rend()}, keys};
    std::shuffle(orders[2].begin(), orders[2].end(), std::mt19937(7));
    FEnv2 env(MakeFile("W.LST", text + "[Files2]\r\nF00001=other\r\n").c_str(), 0);
    for (auto& order : orders) {
        order.insert(order.end(), {{"missing", "<missing>"}, {"F00001", "1"}});
        for (size_t i = 0; i < order.size(); ++i) {
            ASSERT_EQ(order[i].second, Lookup(env, "Files", order[i].first.c_str())) << order[i].first;
            // Another section in between drops the walk's place.
            if (i % 700 == 0) {
                ASSERT_EQ("common", Lookup(env, "Common", "c"));
            }
        }
    }
    EXPECT_TRUE(Lookup(env, "Files", "f00001") == "1" && Lookup(env, "Files2", "F00001") == "other");
    // Writes before the walk's place must be seen.
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
