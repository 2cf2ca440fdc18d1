// The string type as its callers rely on it: shared text and copy on write,
// ranges that never split a double-byte character, the stream operators that
// build NUL-separated lists, and the growth of the buffer. (How large a
// buffer is, and that equal texts share one, no caller can see: only the
// number of reallocations is checked.) And the command tail parsed into
// strings, as the three ways of starting the setup write it. (The uninstall
// entry's "/uninstall" and a quoted folder are read in every uninstall flow.)
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "dazo/Data.h"
#include "robot/readable_text.h"
#include "setup/setup.h"

namespace {

std::string Bytes(const DataObjStr& s, int n) { return std::string((const char*)s, n); }
bool Shared(const DataObjStr& a, const DataObjStr& b) { return (const char*)a == (const char*)b; }

TEST(StringSharing, CopiesShareOneBufferUntilOneWrites)
{
    DataObjStr a("cash book"), b(a), c, keep("two"), d(keep);
    c = a;
    EXPECT_TRUE(Shared(a, b) && Shared(a, c));
    b.GetBuffer(0)[0] = 'C';
    c.At(1) = 'A';
    EXPECT_EQ("cash book|Cash book|cAsh book", std::string(a) + "|" + std::string(b) + "|" + std::string(c));
    // The sole owner writes in place.
    const char* before = b;
    b.At(2) = 'S';
    b.GetBuffer(3)[3] = 'H';
    EXPECT_TRUE(before == (const char*)b && !std::strcmp("CaSH book", b)) << (const char*)b;
    // Assignment releases the old buffer; a shared one stays with its others,
    // and SetSize leaves it alone.
    d = a;
    d = d;
    d.SetSize(4);
    EXPECT_TRUE(!std::strcmp("two", keep) && Shared(a, d) && !std::strcmp("cash book", d));
}


// "aソ表x": a, then two double-byte characters whose trail byte is 0x5C;
// "表表" taken from its middle must not read 5C 95 as a character.
TEST(StringRanges, EachRangeOnItsRow)
{
    const struct {
        const char* text;
        char op;  // M: Mid, B: MidMbcs, R: Right
        int start, count;
        const char* expected;
    } rows[] = {
        {"0123456789", 'M', 12, 3, ""}, {"0123456789", 'M', 5, -2, ""}, {"0123456789", 'M', -5, 8, "012"},
        {"0123456789", 'M', 7, 100, "789"}, {"0123456789", 'M', 3, 3, "345"}, {"aソ表x", 'R', 0, 1, "x"},
        {"aソ表x", 'R', 0, 4, "表x"}, {"aソ表x", 'R', 0, 5, "ソ表x"}, {"aソ表x", 'B', 0, 2, "a"},
        {"aソ表x", 'B', 0, 3, "aソ"}, {"aソ表x", 'B', 2, 3, "表"}, {"aソ表x", 'B', 2, 1, ""},
        {"出納帳", 'R', 0, 1, ""}, {"表表", 'B', 1, 3, "表"}, {"表表", 'R', 0, 3, "表"},
    };
    for (const auto& row : rows) {
        DataObjStr s(row.text);
        DataObjStr got = row.op == 'M' ? s.Mid(row.start, row.count)
                         : row.op == 'B' ? s.MidMbcs(row.start, row.count) : s.Right(row.count);
        EXPECT_STREQ(row.expected, got) << robot::Quoted(row.text) << " " << row.op << row.start << "," << row.count;
    }
}

TEST(StringStream, BuildsListsAndMessagesFromTheWritePosition)
{
    DataObjStr list, own, left, s("abcdef"), shared(s);
    list << "a" << '\0' << "b" << '\0';
    EXPECT_TRUE(list.GetLength() == 1 && list.GetPos() == 4 && Bytes(list, 5) == std::string("a\0b\0\0", 5));
    // A string made from text is written from its first byte.
    s << "XY";
    EXPECT_EQ(std::string("XY\0def", 6), Bytes(s, 6));
    shared.SetPos(3);
    shared << "Z";
    EXPECT_STREQ("abcZ", shared);
    own << "abc";
    for (int i = 0; i < 6; ++i)
        own << (const char*)own;  // appending its own text is safe
    EXPECT_TRUE(own.GetLength() == 3 * 64 && !std::strncmp("abcabcabc", own, 9));
    left << "C:\\APP";
    DataObjStr joined = left + "\\DARVO5.EXE";
    EXPECT_TRUE(!std::strcmp("C:\\APP\\DARVO5.EXE", joined) && !std::strcmp("C:\\APP", left) && joined.GetPos() == 6);
}

// What the constructors make, how the buffer grows and the buffers callers ask for.
TEST(StringBuffers, ConstructionGrowthAndTheBuffersCallersAskFor)
{
    // Embedded NULs end the text but are kept; single bytes; wide text.
    DataObjStr a("ab\0cd", 5);
    EXPECT_TRUE(a.GetLength() == 2 && Bytes(a, 6) == std::string("ab\0cd\0", 6));
    EXPECT_STREQ("X", DataObjStr('X'));
    EXPECT_EQ(std::string("\x8F\x6F\x94\x5B\x92\xA0 \x83\x5C"), std::string(DataObjStr(L"出納帳 ソ")));
    EXPECT_STREQ("", DataObjStr(L""));
    // Few reallocations while a text grows.
    DataObjStr s;
    std::set<int> capacities;
    for (int i = 0; i < 100000; ++i, capacities.insert(s.GetCapacity()))
        s << 'x';
    EXPECT_LT(capacities.size(), 60u) << "reallocations must be a logarithmic number";
    // A larger buffer asked for keeps the text; SetSize cuts it.
    DataObjStr asked("abc"), cut("0123456789ABCDEF");
    EXPECT_STREQ("abc", asked.GetBuffer(300));
    cut.SetSize(12);
    EXPECT_TRUE(cut.GetLength() == 12 && Bytes(cut, 12) == "0123456789AB");
}

TEST(CommandTail, EachTailOnItsRow)
{
    const struct { const char* tail; bool update, uninstall; const char* source; } rows[] = {
        {"   ", false, false, ""}, {"D:\\SETUP\\", false, false, "D:\\SETUP\\"},
        {"  \"C:\\Program Files\\出納帳 表\\\"  other", false, false, "C:\\Program Files\\出納帳 表\\"},
        {"C:\\SRC /UnInStAlL /update", true, true, "C:\\SRC"}, {"/UPDATEX", true, false, "X"},
        {"/FOO", false, false, "FOO"}, {"/UPDAT", false, false, "UPDAT"}, {"/UNINSTAL", false, false, "UNINSTAL"},
        {"A\tB C", false, false, "A\tB"}, {"\"C:\\A B", false, false, "C:\\A B"},
    };
    for (const auto& row : rows) {
        CommandLine line = ParseCommandTail(row.tail);
        EXPECT_EQ(row.update, line.fUpdate) << robot::Quoted(row.tail);
        EXPECT_EQ(row.uninstall, line.fUninstall) << robot::Quoted(row.tail);
        EXPECT_EQ(row.source, std::string(line.strSource)) << robot::Quoted(row.tail);
    }
}

}  // namespace
