// Every file the compressor writes expands through LZ32 (LZOpenFileA,
// LZSeek, LZRead), as the copy engine expands it, to the original bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "mkmedium/szdd.h"
#include "testmedium/test_medium.h"

namespace {

std::string Repeat(const std::string& unit, size_t size)
{
    std::string bytes;
    while (bytes.size() < size)
        bytes += unit;
    return bytes.substr(0, size);
}

TEST(MediumSzdd, EveryFileExpandsThroughLz32ToTheOriginal)
{
    const std::string block = NoiseBytes(4078, 7);
    const struct {
        const char* name;
        std::string data;
        bool fCompresses;  // to less than half
    } rows[] = {
        {"empty", "", false},
        {"one byte", "A", false},
        {"15 bytes", "fifteen bytes..", false},
        {"16 bytes", "sixteen bytes...", false},
        {"4096 bytes", Repeat("SETUP.LST, 1,1,DARVO5.EX_\r\n", 4096), true},
        {"4097 bytes of noise", NoiseBytes(4097, 3), false},
        {"incompressible", NoiseBytes(100000, 11), false},
        {"spaces first (repeats from the window's own spaces)", std::string(4200, ' ') + "end", true},
        {"a long run (overlapping repeats)", std::string(70000, '\0') + "x", true},
        {"repeats from the farthest distance", block + block + block, true},
        {"text", Repeat("ヴェルンド！出納帳 the quick brown fox 0123456789\r\n", 300000), true},
    };
    WorkFolder work("medium_szdd");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Bytes compressed = SzddCompress(Bytes(row.data.begin(), row.data.end()), 'T');
        std::string path = work.Path() + "FILE.TX_";
        ASSERT_TRUE(WriteTestFile(path, std::string(compressed.begin(), compressed.end())));
        long declared = -1;
        std::string expanded = ExpandWithLz32(path, &declared);
        EXPECT_EQ((long)row.data.size(), declared);
        EXPECT_TRUE(expanded == row.data) << "expanded to " << expanded.size() << " bytes of " << row.data.size();
        if (row.fCompresses) {
            EXPECT_LT(compressed.size(), row.data.size() / 2);
        }
    }
}

}  // namespace
