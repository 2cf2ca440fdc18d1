// Lookups that follow one another through a section (the copy engine's walk
// goes on from where the previous lookup stopped): they must give exactly
// what a scan from the start of the section gives, in any order, with equal
// keys, after writes and across sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "settings_util.h"

namespace {

using SettingsWalk = SettingsTest;

TEST_F(SettingsWalk, LaterEqualKeyInAnyCaseGivesTheFirstValue)
{
    FEnv2 env(MakeFile("L.LST", "[Files]\r\nA=first\r\nb=second\r\na=third\r\nB=fourth\r\n").c_str(), 0);
    std::vector<std::string> keys = Names(env.EnumKeys("Files"));
    ASSERT_EQ((std::vector<std::string> {"A", "b", "a", "B"}), keys);
    std::vector<std::string> values;
    for (const std::string& key : keys)
        values.push_back(Lookup(env, "Files", key.c_str()));
    EXPECT_EQ((std::vector<std::string> {"first", "second", "first", "second"}), values);
}

TEST_F(SettingsWalk, DoubleByteKeysThatDifferOnlyInATrailLetterStayApart)
{
    FEnv2 env(MakeFile("D.LST", "[S]\r\n\x82" "A=upper\r\n\x82" "a=lower\r\n").c_str(), 0);
    EXPECT_EQ("upper", Lookup(env, "S", "\x82" "A"));
    EXPECT_EQ("lower", Lookup(env, "S", "\x82" "a"));
    EXPECT_EQ("upper", Lookup(env, "S", "\x82" "A"));
}

TEST_F(SettingsWalk, KeyHoldingEqualsMatchesAsTheScanDoes)
{
    // The name "a=b" matches the line "a=b=c" (the name, then "="): a lookup
    // after "x" must still find it though the line's own key is "a".
    FEnv2 env(MakeFile("E.ENV", "[S]\r\nx=1\r\na=b=c\r\n").c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "S", "x"));
    EXPECT_EQ("c", Lookup(env, "S", "a=b"));
    EXPECT_EQ("b=c", Lookup(env, "S", "a"));
}

// A list of n entries with some keys repeated in other cases, walked in
// several orders; every answer is compared with a fresh object's first
// lookup, which scans from the start of the section.
TEST_F(SettingsWalk, EveryOrderGivesWhatAFreshScanGives)
{
    std::string text = "[Common]\r\nC=common\r\n[Files]\r\n";
    std::vector<std::string> keys;
    char line[64];
    for (int i = 0; i < 3000; ++i) {
        std::snprintf(line, sizeof(line), i % 97 == 5 ? "f%05d" : "F%05d", i % 97 == 5 ? i - 4 : i);
        keys.push_back(line);
        text += line + std::string("=") + std::to_string(i) + "\r\n";
        if (i % 500 == 0)
            text += "; comment\r\n\r\nno equals\r\n";
    }
    text += "[Files2]\r\nF00001=other\r\n";
    std::string path = MakeFile("W.LST", text);

    auto fresh = [&](const std::string& key) {
        FEnv2 once(path.c_str(), 0);
        return Lookup(once, "Files", key.c_str());
    };
    std::vector<std::string> orders[3] = {keys, keys, keys};
    std::reverse(orders[1].begin(), orders[1].end());
    std::shuffle(orders[2].begin(), orders[2].end(), std::mt19937(7));

    FEnv2 env(path.c_str(), 0);
    for (auto& order : orders) {
        order.push_back("missing");
        order.push_back("F00001");
        for (size_t i = 0; i < order.size(); ++i) {
            const std::string& key = order[i];
            std::string got = Lookup(env, "Files", key.c_str());
            if (i % 50 == 0 || key[0] == 'f' || key == "missing") {
                ASSERT_EQ(fresh(key), got) << key;
            }
            // Another section in between drops the walk's place.
            if (i % 700 == 0) {
                ASSERT_EQ("common", Lookup(env, "Common", "c"));
            }
        }
    }
    // The repeated keys answer the first line's value.
    EXPECT_EQ("1", Lookup(env, "Files", "f00001"));
    EXPECT_EQ("other", Lookup(env, "Files2", "F00001"));
}

TEST_F(SettingsWalk, WritesDuringAWalkAreSeen)
{
    FEnv2 env(MakeFile("R.LST", "[S]\r\na=1\r\nb=2\r\nc=3\r\n").c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "S", "a"));
    EXPECT_EQ("2", Lookup(env, "S", "b"));
    // A new first line "C" ahead of the walk's place must win over "c".
    env.WriteString("S", "a", nullptr);
    env.WriteString(nullptr, "x", "0");
    EXPECT_EQ("2", Lookup(env, "S", "b"));
    EXPECT_EQ("3", Lookup(env, "S", "c"));
    env.WriteString("S", "b", "22");
    EXPECT_EQ("22", Lookup(env, "S", "B"));
    EXPECT_EQ("3", Lookup(env, "S", "C"));
}

TEST_F(SettingsWalk, SameSectionSpelledDifferentlyIsTheSameSection)
{
    FEnv2 env(MakeFile("S.LST", "[Files]\r\na=1\r\nb=2\r\n[FILES]\r\na=other\r\n").c_str(), 0);
    EXPECT_EQ("1", Lookup(env, "Files", "a"));
    EXPECT_EQ("1", Lookup(env, "FILES", "a"));
    EXPECT_EQ("2", Lookup(env, "files", "b"));
    EXPECT_EQ("1", Lookup(env, "Files", "A"));
}

}  // namespace
