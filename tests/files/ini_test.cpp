// GetIniString: values of any length returned whole, the default for what is
// missing, and WIN.INI for a blank file name.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

// Printable bytes that differ along the value, so that a cut or a repeated
// block shows.
std::string LongValue(size_t size)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string value(size, ' ');
    for (size_t i = 0; i < size; ++i)
        value[i] = digits[(i * 13 + i / 36) % 36];
    return value;
}

class FilesIni : public FileTest {
protected:
    std::string Read(const char* section, const char* key, const char* deflt)
    {
        return Text(GetIniString(section, key, deflt, m_ini.c_str()));
    }

    std::string m_ini;
};

TEST_F(FilesIni, ValueOf100000BytesIsReturnedWhole)
{
    std::string value = LongValue(100000);
    m_ini = m_scratch.MakeFile("long.m_ini", "[前]\r\nk=x\r\n[長い]\r\n値=" + value + "\r\n次=y\r\n");
    DataObjStr read = GetIniString("長い", "値", "既定", m_ini.c_str());
    EXPECT_EQ(value.size(), (size_t)read.GetLength());
    EXPECT_TRUE(value == Text(read)) << "the value read differs from the one written";
    EXPECT_EQ(read.GetLength() + 1, read.GetCapacity());
    EXPECT_EQ("y", Read("長い", "次", "既定"));
}

TEST_F(FilesIni, ValuesAroundEveryBufferSizeAreWhole)
{
    // The buffer starts at 10 bytes and doubles: lengths on both sides of
    // each size, in single and double bytes.
    for (size_t length : {1, 8, 9, 10, 11, 19, 20, 21, 39, 40, 41, 79, 80, 81, 159, 160}) {
        std::string ascii = LongValue(length);
        std::string kanji;
        while (kanji.size() < length)
            kanji += "表";
        m_ini = m_scratch.MakeFile("sizes.m_ini", "[s]\r\nascii=" + ascii + "\r\nkanji=" + kanji + "\r\n");
        EXPECT_EQ(ascii, Read("s", "ascii", "")) << length;
        EXPECT_SAME_TEXT(kanji, Read("s", "kanji", ""));
    }
}

TEST_F(FilesIni, MissingFileSectionOrKeyGivesTheDefault)
{
    m_ini = m_scratch.MakeFile("some.m_ini", "[設定]\r\nある=値\r\n空=\r\n");
    EXPECT_SAME_TEXT("値", Read("設定", "ある", "既定"));
    EXPECT_SAME_TEXT("既定", Read("設定", "ない", "既定"));
    EXPECT_SAME_TEXT("既定", Read("無い節", "ある", "既定"));
    EXPECT_SAME_TEXT("", Read("設定", "ない", nullptr));
    // A key with an empty value is there: no default.
    EXPECT_SAME_TEXT("", Read("設定", "空", "既定"));
    m_ini = m_scratch / "無い.m_ini";
    EXPECT_SAME_TEXT("既定表", Read("設定", "ある", "既定表"));
}

// A section of WIN.INI of this process's own.
class FilesWinIni : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_section = "DarvoFilesTest" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(WriteProfileStringA(m_section.c_str(), "キー", "WIN.INI の値表"));
    }
    void TearDown() override
    {
        WriteProfileStringA(m_section.c_str(), nullptr, nullptr);
        FileTest::TearDown();
    }

    std::string m_section;
};

TEST_F(FilesWinIni, BlankFileNameMeansWinIni)
{
    for (const char* file : {"", "   ", static_cast<const char*>(nullptr)})
        EXPECT_SAME_TEXT("WIN.INI の値表", Text(GetIniString(m_section.c_str(), "キー", "既定", file)));
    EXPECT_SAME_TEXT("既定", Text(GetIniString(m_section.c_str(), "無いキー", "既定", "")));
}

}  // namespace
