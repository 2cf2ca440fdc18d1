// RegQueryString: a value longer than the size first offered comes whole; a
// value stored without its NUL still ends there; a missing value is empty.
#include <string>

#include "dazo/Func.h"
#include "file_test.h"

namespace {

// A key under HKEY_CURRENT_USER\Software of this process's own, deleted
// afterwards.
class FilesRegistry : public FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        m_name = "Software\\DarvoFilesTest" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &m_key, nullptr));
    }
    void TearDown() override
    {
        RegCloseKey(m_key);
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, m_name.c_str()));
        FileTest::TearDown();
    }

    void SetValue(const char* name, DWORD type, const std::string& bytes)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(m_key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                                (DWORD)bytes.size()));
    }

    HKEY m_key = nullptr;

private:
    std::string m_name;
};

std::string LongText(size_t size)
{
    std::string text;
    for (size_t i = 0; text.size() < size; ++i)
        text += (i % 3 == 0) ? "表" : std::string(1, (char)('a' + i % 26));
    return text;
}

TEST_F(FilesRegistry, SmallSizeGrowsToALongValue)
{
    std::string value = LongText(5000);
    SetValue("長い", REG_SZ, value + '\0');
    DWORD type = 0;
    DWORD cb = 10;
    DataObjStr out;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryString(m_key, "長い", &type, &out, &cb));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_SAME_TEXT(value, Text(out));
    EXPECT_EQ(value.size() + 1, cb);
}

TEST_F(FilesRegistry, NoSizeAtAllAlsoGrows)
{
    SetValue("値", REG_SZ, std::string("短い表\0", 7));
    DataObjStr out;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryString(m_key, "値", nullptr, &out, nullptr));
    EXPECT_SAME_TEXT("短い表", Text(out));
}

TEST_F(FilesRegistry, ExactSizeIsEnough)
{
    SetValue("値", REG_SZ, std::string("abc\0", 4));
    DWORD cb = 4;
    DataObjStr out;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryString(m_key, "値", nullptr, &out, &cb));
    EXPECT_SAME_TEXT("abc", Text(out));
    EXPECT_EQ(4u, cb);
}

TEST_F(FilesRegistry, ValueStoredWithoutItsNulEndsThere)
{
    SetValue("bin", REG_BINARY, "xyz表");
    DWORD type = 0;
    DWORD cb = 64;
    DataObjStr out("previous text that is longer");
    EXPECT_EQ(ERROR_SUCCESS, RegQueryString(m_key, "bin", &type, &out, &cb));
    EXPECT_EQ((DWORD)REG_BINARY, type);
    EXPECT_SAME_TEXT("xyz表", Text(out));
    EXPECT_EQ(5u, cb);
}

TEST_F(FilesRegistry, SizeAloneWithoutAString)
{
    SetValue("値", REG_SZ, LongText(300) + '\0');
    DWORD cb = 1;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryString(m_key, "値", nullptr, nullptr, &cb));
    EXPECT_EQ(LongText(300).size() + 1, cb);
}

TEST_F(FilesRegistry, MissingValueGivesItsErrorAndAnEmptyString)
{
    DataObjStr out("old");
    DWORD cb = 100;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryString(m_key, "無い", nullptr, &out, &cb));
    EXPECT_SAME_TEXT("", Text(out));
}

}  // namespace
