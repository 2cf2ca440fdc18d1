// Settings files of any content: binary bytes, no line ends, lone CR or LF,
// names of 100,000 bytes, 0x1A inside, lead bytes at the very end. Each must
// load, answer lookups as the format says (checked against the plain
// statement of the format in env_oracle) and save back byte for byte where
// nothing was written. A seeded random mutation of thousands of inputs
// checks the same, plus a write that may touch only its own line.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "env_oracle.h"
#include "scratch_test.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

// Names to ask for: the given ones, each with the case of its letters turned
// (also inside double-byte characters, where that makes another name), a
// shortened one and one that is nowhere.
std::vector<std::string> Variants(const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    for (const std::string& name : names) {
        out.push_back(name);
        std::string turned = name;
        for (char& c : turned) {
            unsigned char u = (unsigned char)c;
            c = (char)(std::isupper(u) ? std::tolower(u) : std::toupper(u));
        }
        out.push_back(turned);
        if (name.size() > 1)
            out.push_back(name.substr(0, name.size() - 1));
    }
    out.push_back("nowhere");
    return out;
}

// Values may hold NUL bytes: the expected bytes, then the NUL that ends the
// copy.
bool SameValue(const DataObjStr& value, const std::string& expected)
{
    const char* p = value;
    return (size_t)value.GetCapacity() >= expected.size() + 1 &&
           std::memcmp(p, expected.data(), expected.size()) == 0 && p[expected.size()] == '\0';
}

// Every lookup of FEnv2 against the oracle: the key lists of every section
// and of the null section, and the value of every key and its variants,
// forwards and then backwards (so that the walk's place is tested in both
// directions).
void ExpectLookupsAsTheFormatSays(FEnv2& env, const oracle::Text& text, const std::string& label)
{
    std::vector<std::string> sections = Variants(text.HeaderNames());
    std::vector<const char*> names = {nullptr};
    for (const std::string& s : sections)
        names.push_back(s.c_str());
    for (const char* section : names) {
        std::string where = label + " section " + (section ? section : "(null)");
        std::vector<std::string> keys = text.Keys(section);
        ASSERT_EQ(keys, Names(env.EnumKeys(section))) << where;
        std::vector<std::string> asked = Variants(keys);
        for (int pass = 0; pass < 2; ++pass) {
            for (size_t i = 0; i < asked.size(); ++i) {
                const std::string& key = asked[pass == 0 ? i : asked.size() - 1 - i];
                std::string expected;
                bool has = text.Value(section, key.c_str(), &expected);
                DataObjStr value;
                int found = -1;
                env.GetString(value, section, key.c_str(), "<missing>", &found);
                ASSERT_EQ(has ? 1 : 0, found) << where << " key " << key;
                ASSERT_TRUE(SameValue(value, has ? expected : "<missing>")) << where << " key " << key;
            }
        }
    }
}

class BadInput : public ScratchTest {
protected:
    // Loads bytes from a file, checks the text, the lookups and a save.
    void ExpectReadAndSavedAsTheFormatSays(const std::string& bytes, const std::string& label)
    {
        std::string path = MakeFile("BAD.ENV", bytes);
        std::string normalized = oracle::Normalized(bytes);
        FEnv2 env(path.c_str(), 0);
        ASSERT_TRUE(env.GetFlags() & ENV_LOADED) << label;
        ASSERT_EQ(normalized, TextOf(env)) << label;
        ExpectLookupsAsTheFormatSays(env, oracle::Text(normalized), label);
        if (HasFatalFailure())
            return;
        ASSERT_EQ(1, env.Save()) << label;
        ASSERT_EQ(normalized, ReadFileBytes(path)) << label;
        ASSERT_FALSE(env.GetFlags() & ENV_DIRTY) << label;
    }
};

using SettingsBadInput = BadInput;

TEST_F(SettingsBadInput, CraftedFilesOnTheirRows)
{
    std::string everyByte, all, noLineEnd = "a=1";
    for (int b = 0; b < 256; ++b) {
        std::string c(1, (char)b);
        everyByte += "[S" + c + "]\r\nk" + c + "=v" + c + "\r\n" + c + "x=" + c + "\r\n";
        all = c + all;
    }
    for (int i = 0; i < 5000; ++i)
        noLineEnd += "\n[S]\rb=2";
    // 表 in the middle of a name of 100,000 bytes.
    std::string section = std::string(50000, 'S') + "表" + std::string(49998, 'S'), key(100000, 'K');
    const char nul[] = "a\0b=1\r\nc=2\0x\r\n\0=3\r\n[S]\r\nd=4\r\n[T\0]\r\ne=5\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"every byte", everyByte + all + "=" + all + "\r\n" + all},
        {"no line end", noLineEnd},
        {"header with more", "[S]k=v"},
        {"lone CR and LF", "a=1\rb=2\nc=3\r\n\n[N]\r\n[S]\r\n\rd=4\r\nd\n=5\r\n\r\r\n\n\n"},
        {"long names", "[" + section + "]\r\n" + key + "=long\r\nk=" + std::string(100000, 'v') + "\r\n"},
        {"0x1A inside", "a=1\x1A\r\n\x1A\r\n[S\x1A]\r\nb=\x1A\x1A\r\n\x1A"},
        {"NUL bytes", std::string(nul, sizeof(nul) - 1)},
        {"lead byte ending a value", "k=v\x81"},
        {"lead byte alone on the last line", "[S]\r\nk=v\r\n\x81"},
        {"only a lead byte", "\x81"},
        {"lead byte before CR", "k=v\r\n\xFC\r"},
        {"lead byte ending a header", "[\x81"},
        {"lead bytes as names", "[\x81]\r\n\x81\x81=\xE0"},
    };
    for (const auto& row : rows)
        ExpectReadAndSavedAsTheFormatSays(row.bytes, row.name);

    FEnv2 longNames(MakeFile("LONG.ENV", rows[4].bytes).c_str(), 0);
    EXPECT_EQ(1, longNames.WriteString(section.c_str(), (key + "2").c_str(), "new"));
    EXPECT_EQ(rows[4].bytes + key + "2=new\r\n", TextOf(longNames));
}

// ---- Random mutation -----------------------------------------------------

class Mutator {
public:
    explicit Mutator(unsigned seed) : m_rng(seed) {}

    std::string Input()
    {
        std::string text;
        int lines = Pick(0, 30);
        for (int i = 0; i < lines; ++i) {
            switch (Pick(0, 9)) {
            case 0:
            case 1:
                text += "[" + Name() + "]";
                break;
            case 2:
                text += ";" + Name() + "=" + Name();
                break;
            case 3:
                break;
            case 4:
                text += Name();
                break;
            default:
                text += Name() + "=" + Name() + Name();
            }
            text += "\r\n";
        }
        if (Pick(0, 3) == 0 && !text.empty())
            text.resize(text.size() - Pick(1, 2));
        for (int n = Pick(0, 6); n > 0; --n)
            Mutate(&text);
        return text;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

private:
    // Short names from a small pool of characters, so that names repeat in
    // other cases and double-byte characters share lead or trail bytes.
    std::string Name()
    {
        static const char* const pieces[] = {"a", "A", "b", "B", "key", "KEY", " ", "1", "\x82" "a", "\x82" "A",
                                             "\x82\x81", "表", "ソ", "‐", "\x81", "=", "]", "[", ";", "\x1A"};
        std::string name;
        for (int n = Pick(0, 4); n > 0; --n)
            name += pieces[Pick(0, 13)];
        if (Pick(0, 7) == 0)
            name += pieces[Pick(14, 19)];
        return name;
    }

    char OddByte()
    {
        static const char bytes[] = {'\0', '\r', '\n', '\x1A', '[', ']', '=', ';', '\x81', '\xFC', '\\', 'a', 'A'};
        return Pick(0, 2) == 0 ? (char)Pick(0, 255) : bytes[Pick(0, sizeof(bytes) - 1)];
    }

    void Mutate(std::string* text)
    {
        size_t size = text->size();
        size_t at = size ? (size_t)Pick(0, (int)size) : 0;
        switch (Pick(0, 4)) {
        case 0:
            text->insert(at, 1, OddByte());
            break;
        case 1:
            if (at < size)
                text->erase(at, Pick(1, 5));
            break;
        case 2:
            if (at < size)
                (*text)[at] = OddByte();
            break;
        case 3:
            text->resize(at);
            break;
        default:
            if (at < size)
                text->insert(Pick(0, (int)size), text->substr(at, Pick(1, 40)));
        }
    }

    std::mt19937 m_rng;
};

using SettingsMutation = BadInput;

// Also one write per input: a key of the first section that has one gets a
// new value, and only that line may change.
TEST_F(SettingsMutation, ThousandsOfMutatedFilesReadSaveAndWriteAsTheFormatSays)
{
    const int kInputs = 3000;
    Mutator mutator(20240501);
    int withKeys = 0;
    for (int n = 0; n < kInputs; ++n) {
        std::string bytes = mutator.Input();
        std::string label = "input " + std::to_string(n);
        ExpectReadAndSavedAsTheFormatSays(bytes, label);
        if (HasFatalFailure())
            return;

        std::string normalized = oracle::Normalized(bytes);
        oracle::Text text(normalized);
        std::vector<std::string> sections = text.HeaderNames();
        std::vector<std::string> keys;
        const char* section = nullptr;
        for (size_t i = 0; i <= sections.size() && keys.empty(); ++i) {
            section = i == 0 ? nullptr : sections[i - 1].c_str();
            keys = text.Keys(section);
        }
        if (keys.empty())
            continue;
        ++withKeys;
        const std::string& key = keys[mutator.Pick(0, (int)keys.size() - 1)];
        std::string path = Path("BAD.ENV");
        FEnv2 env(path.c_str(), 0);
        bool refused = key.find_first_of("\r\n") != std::string::npos ||
                       (section && std::string(section).find_first_of("\r\n") != std::string::npos);
        ASSERT_EQ(refused ? 0 : 1, env.WriteString(section, key.c_str(), "NEW")) << label;
        std::string expected = normalized;
        if (!refused) {
            const oracle::Line& line = text.At(text.KeyLine(section, key.c_str()));
            expected = normalized.substr(0, line.start) + key + "=NEW\r\n" +
                       normalized.substr(line.start + line.size + 2);
            ASSERT_EQ("NEW", Lookup(env, section, key.c_str())) << label;
        }
        ASSERT_EQ(expected, TextOf(env)) << label;
        ASSERT_EQ(1, env.Save()) << label;
        ASSERT_EQ(expected, ReadFileBytes(path)) << label;
    }
    // The inputs must have exercised the writes, not only the reads.
    EXPECT_GT(withKeys, kInputs / 3);
}

}  // namespace
