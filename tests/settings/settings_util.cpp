#include "settings_util.h"

#include <cstring>

#include "dazo/Func.h"

namespace {

std::string TestFolderName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "_" + info->name() : "settings";
}

void RemoveTree(const std::string& folder)
{
    ErrorFrame quiet;
    PushErrorFrame(&quiet);
    SetErrorFrameMode(ERRMODE_IGNORE);
    DeleteTree(DT_RECURSE, (folder + "*.*").c_str());
    PopErrorFrame();
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    m_path = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() || WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    ok = ok && written == bytes.size();
    return CloseHandle(file) && ok;
}

std::string ReadBytes(const std::string& path, bool* pExists)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (pExists)
        *pExists = file != INVALID_HANDLE_VALUE;
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TextOf(const FEnv2& env)
{
    return std::string(env.GetText(), env.GetTextSize());
}

std::string Lookup(FEnv2& env, const char* section, const char* key)
{
    DataObjStr value;
    int found = -1;
    env.GetString(value, section, key, "<default>", &found);
    if (found == 0) {
        EXPECT_STREQ("<default>", value);
        return "<missing>";
    }
    EXPECT_EQ(1, found);
    return std::string(value);
}

std::vector<std::string> Names(const DataObjStr& list)
{
    std::vector<std::string> names;
    for (const char* p = list; *p; p += std::strlen(p) + 1)
        names.push_back(p);
    return names;
}

HeldError TakeError()
{
    ErrorFrame info;
    GetErrorInfo(&info);
    HeldError held;
    held.code = info.code;
    if (info.code) {
        held.message = info.message;
        held.context = info.context;
    }
    ClearError();
    return held;
}

SettingsTest::SettingsTest() : m_folder(TestFolderName()) {}

void SettingsTest::SetUp()
{
    PushErrorFrame(&m_frame);
}

void SettingsTest::TearDown()
{
    HeldError left = TakeError();
    EXPECT_EQ(0, left.code) << "unexpected error: " << left.message << " / " << left.context;
    PopErrorFrame();
}

std::string SettingsTest::MakeFile(const std::string& name, const std::string& bytes)
{
    std::string path = m_folder.File(name);
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
    return path;
}
