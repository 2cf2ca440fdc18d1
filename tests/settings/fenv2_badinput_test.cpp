// Settings files of any content, checked against the plain statement of the
// format below: names of 100,000 bytes, then a seeded random mutation of
// thousands of inputs (binary bytes, lone CR or LF, NULs, 0x1A inside, lead
// bytes at the very end, names that differ in case or only in a trail byte).
// Each must load, answer every lookup as the format says, save back byte for
// byte where nothing was written, and take a write that changes only its own
// line.
#include <cctype>
#include <cstring>
#include <random>

#include "scratch_test.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

// The format stated plainly, over the text split into its lines.
namespace oracle {

using Lines = std::vector<std::string>;

// A file of any content reads so: a trailing 0x1A, then one LF, then one CR
// dropped; a non-empty text ends with CR LF.
std::string Normalized(std::string bytes)
{
    for (char drop : {'\x1A', '\n', '\r'})
        if (!bytes.empty() && bytes.back() == drop)
            bytes.pop_back();
    return bytes.empty() ? bytes : bytes + "\r\n";
}

Lines Split(const std::string& normalized)
{
    Lines lines;
    for (size_t pos = 0, end; pos < normalized.size(); pos = end + 2)
        lines.push_back(normalized.substr(pos, (end = normalized.find("\r\n", pos)) - pos));
    return lines;
}

bool Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Whether line, from pos, holds name followed by the byte after: a lead byte
// and a trail byte compare exactly as a pair, any other byte without case.
bool NameAt(const std::string& line, size_t pos, const std::string& name, char after)
{
    for (size_t i = 0; i < name.size(); ++i, ++pos) {
        unsigned char c = name[i], next = i + 1 < name.size() ? name[i + 1] : 0;
        bool pair = Lead(c) && next >= 0x40 && next <= 0xFC && next != 0x7F;
        if (pos + pair >= line.size())
            return false;
        if (pair ? line.compare(pos, 2, name, i, 2) != 0 : std::toupper((unsigned char)line[pos]) != std::toupper(c))
            return false;
        pos += pair;
        i += pair;
    }
    return pos < line.size() && line[pos] == after;
}

// The lines of the section's keys, [first, end) (null: the lines before the
// first header); empty when the section is missing.
std::pair<size_t, size_t> Section(const Lines& lines, const char* section)
{
    size_t first = section ? lines.size() : 0, end;
    for (size_t i = 0; section && i < first; ++i)
        if (lines[i][0] == '[' && NameAt(lines[i], 1, section, ']'))
            first = i + 1;
    for (end = first; end < lines.size() && lines[end][0] != '['; ++end) {}
    return {first, end};
}

// The line of the key in the section, or the number of lines.
size_t KeyLine(const Lines& lines, const char* section, const std::string& key)
{
    auto range = Section(lines, section);
    for (size_t i = range.first; i < range.second; ++i)
        if (lines[i][0] != ';' && NameAt(lines[i], 0, key, '='))
            return i;
    return lines.size();
}

std::vector<std::string> Keys(const Lines& lines, const char* section)
{
    std::vector<std::string> keys;
    auto range = Section(lines, section);
    for (size_t i = range.first, equals; i < range.second; ++i)
        if (lines[i][0] != ';' && (equals = lines[i].find('=')) != std::string::npos && equals > 0 &&
            lines[i].find('\0') > equals)
            keys.push_back(lines[i].substr(0, equals));
    return keys;
}

// The names as the headers spell them (up to the first "]"), without NULs.
std::vector<std::string> HeaderNames(const Lines& lines)
{
    std::vector<std::string> names;
    for (const std::string& line : lines)
        if (line[0] == '[' && line.find(']') != std::string::npos && line.find('\0') > line.find(']'))
            names.push_back(line.substr(1, line.find(']') - 1));
    return names;
}

}  // namespace oracle

// The names of a double-NUL list.
std::vector<std::string> Names(const DataObjStr& list)
{
    std::vector<std::string> names;
    for (const char* p = list; *p; p += std::strlen(p) + 1)
        names.push_back(p);
    return names;
}

// Names to ask for: the given ones, each with the case of its letters turned
// (also inside double-byte characters, where that makes another name), a
// shortened one, one behind the ";" of a comment, and one that is nowhere.
std::vector<std::string> Variants(const std::vector<std::string>& names)
{
    std::vector<std::string> out = {"nowhere"};
    for (const std::string& name : names) {
        std::string turned = name;
        for (char& c : turned)
            c = (char)(std::isupper(c & 0xFF) ? std::tolower(c & 0xFF) : std::toupper(c & 0xFF));
        out.insert(out.end(), {name, turned, name.substr(0, std::max<size_t>(name.size() - 1, 1)), ";" + name});
    }
    return out;
}

// Lines of short names from a small pool of characters (so that names repeat
// in other cases and double-byte characters share lead or trail bytes), then
// bytes inserted, erased, replaced, cut off or repeated.
class Mutator {
public:
    explicit Mutator(unsigned seed) : m_rng(seed) {}
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    std::string Input()
    {
        std::string text;
        for (int lines = Pick(0, 30); lines > 0; --lines) {
            int kind = Pick(0, 9);
            text += (kind < 2 ? "[" + Name() + "]" : kind == 2 ? ";" + Name() + "=" + Name() : kind == 3 ? ""
                     : kind == 4 ? Name() : Name() + "=" + Name() + Name()) + "\r\n";
        }
        if (Pick(0, 3) == 0 && !text.empty())
            text.resize(text.size() - Pick(1, 2));
        for (int n = Pick(0, 6); n > 0; --n) {
            size_t size = text.size(), at = size ? (size_t)Pick(0, (int)size) : 0;
            switch (Pick(0, 4)) {
            case 0: text.insert(at, 1, OddByte()); break;
            case 1: text.erase(at, Pick(1, 5)); break;
            case 2: text.replace(at, 1, 1, OddByte()); break;
            case 3: text.resize(at); break;
            default: text.insert(Pick(0, (int)size), text.substr(at, Pick(1, 40)));
            }
        }
        return text;
    }

private:
    std::string Name()
    {
        static const char* const pieces[] = {"a", "A", "b", "B", "key", "KEY", " ", "1", "\x82" "a", "\x82" "A",
                                             "\x82\x81", "表", "ソ", "‐", "\x81", "=", "]", "[", ";", "\x1A"};
        std::string name;
        for (int n = Pick(0, 4); n > 0; --n)
            name += pieces[Pick(0, 13)];
        return Pick(0, 7) == 0 ? name + pieces[Pick(14, 19)] : name;
    }
    char OddByte()
    {
        static const char bytes[] = {'\0', '\r', '\n', '\x1A', '[', ']', '=', ';', '\x81', '\xFC', '\\', 'a', 'A'};
        return Pick(0, 2) == 0 ? (char)Pick(0, 255) : bytes[Pick(0, sizeof(bytes) - 1)];
    }
    std::mt19937 m_rng;
};

class SettingsBadInput : public ScratchTest {
protected:
    // Loads bytes from a file and checks the text, every lookup against the
    // oracle (the key lists of every section, the value of every key and its
    // variants, forwards and then backwards, so that the walk's place is
    // tested in both directions) and a save.
    void ExpectReadAndSavedAsTheFormatSays(const std::string& bytes, const std::string& label)
    {
        std::string path = MakeFile("BAD.ENV", bytes), normalized = oracle::Normalized(bytes);
        FEnv2 env(path.c_str(), 0);
        ASSERT_TRUE(env.GetFlags() & ENV_LOADED) << label;
        ASSERT_EQ(normalized, TextOf(env)) << label;
        oracle::Lines lines = oracle::Split(normalized);
        std::vector<std::string> sections = Variants(oracle::HeaderNames(lines));
        for (size_t s = 0; s <= sections.size(); ++s) {
            const char* section = s ? sections[s - 1].c_str() : nullptr;
            std::string where = label + " section " + robot::Quoted(section ? section : "(null)");
            ASSERT_EQ(oracle::Keys(lines, section), Names(env.EnumKeys(section))) << where;
            std::vector<std::string> asked = Variants(oracle::Keys(lines, section));
            for (size_t i = 0; i < 2 * asked.size(); ++i) {
                const std::string& key = asked[i < asked.size() ? i : 2 * asked.size() - 1 - i];
                size_t line = oracle::KeyLine(lines, section, key);
                std::string expected = line < lines.size() ? lines[line].substr(key.size() + 1) : "<missing>";
                DataObjStr value;
                int found = -1;
                env.GetString(value, section, key.c_str(), "<missing>", &found);
                ASSERT_EQ(line < lines.size(), found == 1) << where << " key " << robot::Quoted(key);
                // Values may hold NUL bytes: the expected bytes, then the NUL
                // that ends the copy.
                ASSERT_TRUE(value.GetCapacity() > (int)expected.size() && !((const char*)value)[expected.size()] &&
                            expected.compare(0, std::string::npos, value, expected.size()) == 0)
                    << where << " key " << robot::Quoted(key);
            }
        }
        ASSERT_EQ(1, env.Save()) << label;
        ASSERT_EQ(normalized, ReadFileBytes(path)) << label;
        ASSERT_FALSE(env.GetFlags() & ENV_DIRTY) << label;
    }

    // A key of the first section that has one gets a new value: only that
    // line may change. False when the text has no key.
    bool ExpectWriteChangesItsLineOnly(const std::string& bytes, int pick, const std::string& label)
    {
        oracle::Lines lines = oracle::Split(oracle::Normalized(bytes));
        std::vector<std::string> sections = oracle::HeaderNames(lines), keys;
        const char* section = nullptr;
        for (size_t i = 0; i <= sections.size() && keys.empty(); ++i)
            keys = oracle::Keys(lines, section = i ? sections[i - 1].c_str() : nullptr);
        if (keys.empty())
            return false;
        const std::string& key = keys[pick % keys.size()];
        FEnv2 env(Path("BAD.ENV").c_str(), 0);
        bool refused = (key + (section ? section : "")).find_first_of("\r\n") != std::string::npos;
        EXPECT_EQ(refused ? 0 : 1, env.WriteString(section, key.c_str(), "NEW")) << label;
        if (!refused)
            lines[oracle::KeyLine(lines, section, key)] = key + "=NEW";
        std::string expected;
        for (const std::string& line : lines)
            expected += line + "\r\n";
        EXPECT_EQ(expected, TextOf(env)) << label;
        return true;
    }
};

TEST_F(SettingsBadInput, LongNamesAndThousandsOfMutatedFilesReadSaveAndWriteAsTheFormatSays)
{
    // 表 in the middle of a name of 100,000 bytes.
    std::string section = std::string(50000, 'S') + "表" + std::string(49998, 'S'), key(100000, 'K');
    std::string longNames = "[" + section + "]\r\n" + key + "=long\r\nk=" + std::string(100000, 'v') + "\r\n";
    ExpectReadAndSavedAsTheFormatSays(longNames, "long names");
    ExpectWriteChangesItsLineOnly(longNames, 0, "long names");

    const int kInputs = 3000;
    Mutator mutator(20240501);
    int withKeys = 0;
    for (int n = 0; n < kInputs && !HasFailure(); ++n) {
        std::string bytes = mutator.Input(), label = "input " + std::to_string(n);
        ExpectReadAndSavedAsTheFormatSays(bytes, label);
        withKeys += !HasFatalFailure() && ExpectWriteChangesItsLineOnly(bytes, mutator.Pick(0, 99), label);
    }
    // The inputs must have exercised the writes, not only the reads.
    EXPECT_GT(withKeys, kInputs / 3);
}

}  // namespace
