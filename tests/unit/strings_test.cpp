// The string type as its callers rely on it: shared text and copy on write,
// ranges that never split a double-byte character, the stream operators that
// build NUL-separated lists, and the growth of the capacity.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "dazo/Data.h"

static std::string Bytes(const DataObjStr& s, int n)
{
    return std::string((const char*)s, n);
}

TEST(StringSharing, EmptyStringsShareOneBuffer)
{
    DataObjStr a, b;
    EXPECT_EQ(0, a.GetLength());
    EXPECT_STREQ("", a);
    EXPECT_EQ((const char*)a, (const char*)b);
    EXPECT_EQ((const char*)a, (const char*)DataObjStr("abc").Mid(1, 0));
}

TEST(StringSharing, CopiesShareUntilOneWrites)
{
    DataObjStr a("cash book");
    DataObjStr b(a);
    DataObjStr c;
    c = a;
    EXPECT_EQ((const char*)a, (const char*)b);
    EXPECT_EQ((const char*)a, (const char*)c);

    b.GetBuffer(0)[0] = 'C';
    EXPECT_STREQ("cash book", a);
    EXPECT_STREQ("Cash book", b);
    EXPECT_NE((const char*)a, (const char*)b);

    c.At(1) = 'A';
    EXPECT_STREQ("cash book", a);
    EXPECT_STREQ("cAsh book", c);
}

TEST(StringSharing, SoleOwnerWritesInPlace)
{
    DataObjStr a("ledger");
    const char* before = a;
    a.At(0) = 'L';
    a.GetBuffer(3)[1] = 'E';
    EXPECT_EQ(before, (const char*)a);
    EXPECT_STREQ("LEdger", a);
}

TEST(StringSharing, AssignmentReleasesTheOldBufferAndKeepsShared)
{
    DataObjStr a("one");
    DataObjStr b("two");
    DataObjStr keep(b);
    b = a;
    b = b;
    EXPECT_STREQ("one", b);
    EXPECT_STREQ("two", keep);
    EXPECT_EQ((const char*)a, (const char*)b);
}

TEST(StringSharing, SetSizeLeavesASharedBufferAlone)
{
    DataObjStr a("twelve bytes");
    DataObjStr b(a);
    b.SetSize(4);
    EXPECT_EQ(13, a.GetCapacity());
    EXPECT_EQ((const char*)a, (const char*)b);
    EXPECT_STREQ("twelve bytes", b);
}

TEST(StringConstruction, TextWithLengthCopiesEmbeddedNuls)
{
    DataObjStr a("ab\0cd", 5);
    EXPECT_EQ(2, a.GetLength());
    EXPECT_EQ(std::string("ab\0cd\0", 6), Bytes(a, 6));
    EXPECT_EQ(10, a.GetCapacity());
    EXPECT_EQ(21, DataObjStr("01234567890123456789").GetCapacity());
}

TEST(StringConstruction, SingleByteAndWideText)
{
    DataObjStr c('X');
    EXPECT_STREQ("X", c);
    EXPECT_EQ(10, c.GetCapacity());

    DataObjStr w(L"出納帳 ソ");
    EXPECT_STREQ("出納帳 ソ", w);
    EXPECT_EQ(std::string("\x8F\x6F\x94\x5B\x92\xA0 \x83\x5C"), std::string(w));
    EXPECT_STREQ("", DataObjStr(L""));
}

TEST(StringRanges, MidClampsItsRange)
{
    DataObjStr ten("0123456789");
    EXPECT_STREQ("", ten.Mid(3, 0));
    EXPECT_STREQ("", ten.Mid(12, 3));
    EXPECT_STREQ("", ten.Mid(5, -2));
    EXPECT_STREQ("012", ten.Mid(-5, 8));
    EXPECT_STREQ("789", ten.Mid(7, 100));
    EXPECT_STREQ("345", ten.Mid(3, 3));
    EXPECT_EQ((const char*)ten, (const char*)ten.Mid(0, 10));
    EXPECT_NE((const char*)ten, (const char*)ten.Mid(0, 9));
}

// "aソ表x": a, then two double-byte characters whose trail byte is 0x5C.
TEST(StringRanges, MidMbcsAndRightNeverSplitADoubleByteCharacter)
{
    DataObjStr s("aソ表x");
    ASSERT_EQ(6, s.GetLength());
    EXPECT_STREQ("x", s.Right(1));
    EXPECT_STREQ("表x", s.Right(3));
    EXPECT_STREQ("表x", s.Right(4));  // would start on the trail byte of ソ
    EXPECT_STREQ("ソ表x", s.Right(5));
    EXPECT_STREQ("a", s.MidMbcs(0, 2));  // would end after the lead byte of ソ
    EXPECT_STREQ("aソ", s.MidMbcs(0, 3));
    EXPECT_STREQ("表", s.MidMbcs(2, 3));
    EXPECT_STREQ("", s.MidMbcs(2, 1));

    DataObjStr kanji("出納帳");
    EXPECT_STREQ("", kanji.Right(1));
    EXPECT_STREQ("帳", kanji.Right(2));
    EXPECT_EQ((const char*)kanji, (const char*)kanji.Right(6));
}

TEST(StringRanges, TrailBytesAreFoundFromTheStartOfTheText)
{
    // 0x95 0x5C is 表; 0x5C 0x95 must not be read as a character boundary
    // inside "表表" taken from the middle.
    DataObjStr s("表表");
    EXPECT_STREQ("表", s.MidMbcs(1, 3));
    EXPECT_STREQ("表", s.Right(3));
}

TEST(StringStream, BuildsNulSeparatedLists)
{
    DataObjStr list;
    list << "a" << '\0' << "b" << '\0';
    EXPECT_EQ(1, list.GetLength());
    EXPECT_EQ(std::string("a\0b\0\0", 5), Bytes(list, 5));
    EXPECT_EQ(4, list.GetPos());

    std::set<std::string> items;
    for (const char* p = list; *p; p += std::strlen(p) + 1)
        items.insert(p);
    EXPECT_EQ((std::set<std::string>{"a", "b"}), items);
}

TEST(StringStream, ChainsTextsIntoAMessage)
{
    DataObjStr msg;
    msg << "ファイル " << "C:\\表\\DATA.ENV" << " をオープンできません.";
    EXPECT_STREQ("ファイル C:\\表\\DATA.ENV をオープンできません.", msg);
}

TEST(StringStream, WritesFromTheFirstByteOfAStringMadeFromText)
{
    DataObjStr s("abcdef");
    s << "XY";
    EXPECT_STREQ("XY", s);
    EXPECT_EQ('d', ((const char*)s)[3]);
}

TEST(StringStream, SetPosMovesTheWritePositionOfAnOwnBuffer)
{
    DataObjStr a("abcdef");
    DataObjStr b(a);
    b.SetPos(3);
    b << "Z";
    EXPECT_STREQ("abcZ", b);
    EXPECT_STREQ("abcdef", a);
}

TEST(StringStream, AppendingItsOwnTextIsSafe)
{
    DataObjStr s;
    s << "abc";
    for (int i = 0; i < 6; ++i)
        s << (const char*)s;
    EXPECT_EQ(3 * 64, s.GetLength());
    EXPECT_EQ(0, std::strncmp("abcabcabc", s, 9));
}

TEST(StringGrowth, CapacityGrowsByAQuarterPlusOne)
{
    DataObjStr s;
    s << "123456789";  // need 10 > 1, the shared empty buffer's capacity
    EXPECT_EQ(13, s.GetCapacity());  // 10 + 10 / 4 + 1
    s << '0';  // need 11 fits 13
    EXPECT_EQ(13, s.GetCapacity());
    s << "abc";  // need 14: 14 + 3 + 1
    EXPECT_EQ(18, s.GetCapacity());
}

TEST(StringGrowth, AppendingCostsALogarithmicNumberOfReallocations)
{
    DataObjStr s;
    std::set<int> capacities;
    for (int i = 0; i < 100000; ++i) {
        s << 'x';
        capacities.insert(s.GetCapacity());
    }
    EXPECT_EQ(100000, s.GetLength());
    EXPECT_LT(capacities.size(), 60u);
}

TEST(StringGrowth, GetBufferBeyondTheCapacityGivesExactlyWhatWasAsked)
{
    DataObjStr s("abc");
    char* p = s.GetBuffer(300);
    EXPECT_EQ(300, s.GetCapacity());
    EXPECT_STREQ("abc", p);
    DataObjStr small;
    small.GetBuffer(3);
    EXPECT_EQ(10, small.GetCapacity());
}

TEST(StringGrowth, SetSizeTrimsAndMayCutTheTerminator)
{
    DataObjStr s;
    std::strcpy(s.GetBuffer(260), "C:\\WINDOWS");
    s.SetSize(s.GetLength() + 1);
    EXPECT_EQ(11, s.GetCapacity());
    EXPECT_STREQ("C:\\WINDOWS", s);

    DataObjStr cut("0123456789ABCDEF");
    cut.SetSize(12);
    EXPECT_EQ(12, cut.GetCapacity());
    EXPECT_EQ(12, cut.GetLength());  // no NUL within the capacity
    EXPECT_EQ(0, std::memcmp("0123456789AB", (const char*)cut, 12));
}

TEST(StringConcatenation, PlusJoinsAndKeepsTheLeftWritePosition)
{
    DataObjStr left;
    left << "C:\\APP";
    DataObjStr joined = left + "\\DARVO5.EXE";
    EXPECT_STREQ("C:\\APP\\DARVO5.EXE", joined);
    EXPECT_STREQ("C:\\APP", left);
    EXPECT_EQ(6, joined.GetPos());
    EXPECT_STREQ("表\\", DataObjStr("表") + "\\");
}
