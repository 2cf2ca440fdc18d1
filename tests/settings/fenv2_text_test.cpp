// The text of a settings file as callers rely on it: which section and key
// win, how names compare, what a value is, the list of keys, how the end of
// the file is read, where a changed, new or deleted key goes, which names and
// values are refused, the growth rule, and lookups that follow one another
// through a section (a walk goes on from where the previous lookup stopped)
// giving what a scan from the start gives.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

#include "scratch_test.h"
#include "settings_util.h"

namespace {

using Keys = std::vector<std::string>;
using SettingsText = ScratchTest;

// 計 (8C 76) and 祁 (8C 56) differ only in a trail byte that is a letter in
// either case, as do ヂ (83 61) and ア (83 41): double-byte characters compare
// exactly, single bytes without regard to case.
const char kCase[] = "[A]\r\nKey=1\r\nKEY=3\r\n[a]\r\nkey=2\r\n";
const char kDouble[] = "[設定計]\r\n計=kei\r\nア=a\r\n[設定祁]\r\n祁=ki\r\nヂ=di\r\n";
// ソ ends in 0x5C, ー in 0x5B, ‐ (81 5D) in "]".
const char kTrail[] = "[ソー‐]\r\n表=1\r\n[親\\子]\r\n能=2\r\n";
const char kFull[] = "[Sec]\r\nKey =spaced\r\nKeyLong=long\r\n[SecTwo]\r\nKey=two\r\n";
const char kValue[] = "[S]\r\nk= a=b ;c \r\nempty=\r\n";
const char kNull[] = "top=1\r\n;comment=x\r\n[S]\r\ntop=2\r\ninner=3\r\n";
const char kComment[] = "[S]\r\n;k=comment\r\nk\r\n\r\n=empty key\r\nk=real\r\n";
const char kEnd[] = "[S]\r\na=1\r\n[not a header\r\nb=2\r\n[T]\r\nc=3\r\n";
const char kLone[] = "a=1\rb=2\nc=3\r\n\n[N]\r\n[S]\r\n\rd=4\r\nd\n=5\r\n";
const char kKeys[] = "[Files]\r\nZ=1\r\nA=2\r\nm=3\r\nA=dup\r\n[Other]\r\nX=4\r\n";

TEST_F(SettingsText, LookupsOnTheirRows)
{
    const struct { const char *text, *section, *key, *expected; } rows[] = {
        {kCase, "a", "KEY", "1"},          {kCase, "A", "key", "1"},
        {kDouble, "設定計", "計", "kei"},  {kDouble, "設定計", "祁", "<missing>"},
        {kDouble, "設定計", "ヂ", "<missing>"}, {kDouble, "設定祁", "祁", "ki"},
        {kDouble, "設定祁", "ヂ", "di"},   {kDouble, "設定祁", "計", "<missing>"},
        {kTrail, "ソー‐", "表", "1"},      {kTrail, "親\\子", "能", "2"},
        {kTrail, "ソー", "表", "<missing>"}, {kFull, "Sec", "Key", "<missing>"},
        {kFull, "Sec", "Key ", "spaced"},  {kFull, "Sec", "keylong", "long"},
        {kFull, "SecTwo", "Key", "two"},   {kFull, "Se", "Key ", "<missing>"},
        {kValue, "S", "k", " a=b ;c "},    {kValue, "S", "empty", ""},
        {kNull, nullptr, "top", "1"},      {kNull, nullptr, "inner", "<missing>"},
        {kNull, "S", "top", "2"},          {kComment, "S", "k", "real"},
        {kComment, "S", ";k", "<missing>"}, {kEnd, "S", "b", "<missing>"},
        {kEnd, "S", "a", "1"},             {kLone, nullptr, "a", "1\rb=2\nc=3"},
        {kLone, nullptr, "b", "<missing>"}, {kLone, "N", "a", "<missing>"},
        {kLone, "S", "\rd", "4"},          {kLone, "S", "d\n", "5"},
    };
    // One object per text, asked in the order of the rows: the later lookups
    // go on from the earlier ones.
    std::unique_ptr<FEnv2> env;
    const char* text = nullptr;
    for (const auto& row : rows) {
        if (row.text != text)
            env.reset(new FEnv2(MakeFile("T.ENV", text = row.text).c_str(), 0));
        EXPECT_SAME_TEXT(row.expected, Lookup(*env, row.section, row.key))
            << robot::Quoted(row.section ? row.section : "(null)") << " " << robot::Quoted(row.key);
    }
}

TEST_F(SettingsText, KeyListsAndNumbersOnTheirRows)
{
    const struct { const char *text, *section; Keys expected; } rows[] = {
        {kNull, nullptr, {"top"}}, {kComment, "S", {"k"}},           {kEnd, "S", {"a"}},   {kEnd, "t", {"c"}},
        {kLone, nullptr, {"a"}},   {kKeys, "files", {"Z", "A", "m", "A"}}, {kKeys, "Nowhere", {}},
    };
    for (const auto& row : rows) {
        FEnv2 env(MakeFile("K.ENV", row.text).c_str(), 0);
        EXPECT_EQ(row.expected, Names(env.EnumKeys(row.section))) << robot::Quoted(row.text);
    }
    FEnv2 env(MakeFile("K.ENV", kKeys).c_str(), 0);
    EXPECT_EQ(0, std::memcmp((const char*)env.EnumKeys("Files"), "Z\0A\0m\0A\0\0", 9));

    FEnv2 numbers(MakeFile("I.ENV", "[S]\r\na=  -42xyz\r\nb=+7\r\nc=abc\r\nd=\r\ne=2147483647\r\n").c_str(), 0);
    const struct { const char *section, *key; long expected; int found; } ints[] = {
        {"S", "a", -42, 1},        {"S", "b", 7, 1},         {"S", "c", 0, 1},        {"S", "d", 0, 1},
        {"S", "e", 2147483647, 1}, {"S", "none", 99, 0},     {"None", "a", 99, 0}};
    for (const auto& row : ints) {
        int found = -1;
        EXPECT_EQ(row.expected, numbers.GetInt(row.section, row.key, 99, &found)) << row.section << " " << row.key;
        EXPECT_EQ(row.found, found) << row.section << " " << row.key;
    }
}

TEST_F(SettingsText, EndOfFileIsReadAsACompleteLineAndAMissingFileAsNone)
{
    // file, text in memory, the value of the key "a"
    const std::string rows[][3] = {
        {"a=1", "a=1\r\n", "1"},     {"a=1\r\n", "a=1\r\n", "1"},          {"a=1\n", "a=1\r\n", "1"},
        {"a=1\r", "a=1\r\n", "1"},  {"a=1\r\n\x1A", "a=1\r\n", "1"},       {"a=1\x1A", "a=1\r\n", "1"},
        {"a=1\n\r", "a=1\n\r\n", "1\n"}, {"a=1\r\n\x1A\x1A", "a=1\r\n\x1A\r\n", "1"}, {"a=1\r\n\r\n", "a=1\r\n\r\n", "1"},
        {"", "", "<missing>"},      {"\r\n", "", "<missing>"},             {"\x1A", "", "<missing>"},
    };
    for (const auto& row : rows) {
        FEnv2 env(MakeFile("END.ENV", row[0]).c_str(), 0);
        EXPECT_TRUE(env.GetFlags() & ENV_LOADED) << robot::Quoted(row[0]);
        EXPECT_EQ(row[1], TextOf(env)) << robot::Quoted(row[0]);
        EXPECT_EQ(row[2], Lookup(env, nullptr, "a")) << robot::Quoted(row[0]);
    }
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
        if (!row.expected) {
            EXPECT_TRUE(Reported(ERR_OPEN2, "指定されたファイルが見つかりません。", "ファイル " + path + " をオープンできません."));
        }
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
    EXPECT_EQ(1, env.WriteInt("B", "three", 3));
    EXPECT_EQ(1, env.WriteInt("C", "max", 2147483647));
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
    EXPECT_EQ(std::string(30000, 'z'), Lookup(env, "S", "g"));
    EXPECT_EQ(std::string(20000, 'x'), Lookup(env, "S", "k"));
}

// A list of 3000 entries with some keys repeated in the other case, walked
// in several orders; every answer is compared with a fresh object's first
// lookup, which scans from the start of the section.
TEST_F(SettingsText, EveryWalkGivesWhatAFreshScanGives)
{
    std::string text = "[Common]\r\nC=common\r\n[Files]\r\n";
    Keys keys;
    char line[64];
    for (int i = 0; i < 3000; ++i) {
        std::snprintf(line, sizeof(line), i % 97 == 5 ? "f%05d" : "F%05d", i % 97 == 5 ? i - 4 : i);
        keys.push_back(line);
        text += line + std::string("=") + std::to_string(i) + "\r\n";
        if (i % 500 == 0)
            text += "; comment\r\n\r\nno equals\r\n";
    }
    std::string path = MakeFile("W.LST", text + "[Files2]\r\nF00001=other\r\n");
    Keys orders[3] = {keys, keys, keys};
    std::reverse(orders[1].begin(), orders[1].end());
    std::shuffle(orders[2].begin(), orders[2].end(), std::mt19937(7));

    FEnv2 env(path.c_str(), 0);
    for (Keys& order : orders) {
        order.insert(order.end(), {"missing", "F00001"});
        for (size_t i = 0; i < order.size(); ++i) {
            std::string got = Lookup(env, "Files", order[i].c_str());
            if (i % 50 == 0 || order[i][0] == 'f' || order[i] == "missing") {
                FEnv2 fresh(path.c_str(), 0);
                ASSERT_EQ(Lookup(fresh, "Files", order[i].c_str()), got) << order[i];
            }
            // Another section in between drops the walk's place.
            if (i % 700 == 0) {
                ASSERT_EQ("common", Lookup(env, "Common", "c"));
            }
        }
    }
    EXPECT_EQ("1", Lookup(env, "Files", "f00001"));
    EXPECT_EQ("other", Lookup(env, "Files2", "F00001"));

    // Writes before the walk's place must be seen.
    FEnv2 small(MakeFile("R.LST", "[S]\r\na=1\r\nb=2\r\nc=3\r\n").c_str(), 0);
    EXPECT_EQ("2", Lookup(small, "S", "b"));
    small.WriteString("S", "a", nullptr);
    small.WriteString(nullptr, "x", "0");
    EXPECT_EQ("2", Lookup(small, "S", "b"));
    EXPECT_EQ("3", Lookup(small, "S", "c"));
    small.WriteString("S", "b", "22");
    EXPECT_EQ("22", Lookup(small, "S", "B"));
    EXPECT_EQ("3", Lookup(small, "S", "C"));
    // The name "a=b" matches the line "a=b=c" (the name, then "="), also
    // after the walk has passed that line's own key "a".
    FEnv2 equals(MakeFile("E.ENV", "[S]\r\nx=1\r\na=b=c\r\n").c_str(), 0);
    EXPECT_EQ("b=c", Lookup(equals, "S", "a"));
    EXPECT_EQ("c", Lookup(equals, "S", "a=b"));
}

}  // namespace
