#include "scratch_test.h"

// Made and removed with plain Win32 calls, never with the helpers under test.
static bool RemoveFolderTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data)) {
        std::string name = data.cFileName, path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA(path.c_str());
        else if (name != "." && name != "..")
            RemoveFolderTree(path);
    }
    FindClose(find);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(folder.c_str()) || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

static std::string Describe(const Report& report)
{
    return std::to_string(report.category) + " " + robot::Quoted(report.message) + " / " +
           robot::Quoted(report.context);
}

ScratchFolder::ScratchFolder()
{
    static int s_count;
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    m_folder = std::string(temp) + "darvo-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_count);
    RemoveFolderTree(m_folder);  // a leftover of an earlier process with the same id
    EXPECT_TRUE(CreateDirectoryA(m_folder.c_str(), nullptr)) << m_folder;
    m_folder += "\\";
}

ScratchFolder::~ScratchFolder()
{
    EXPECT_TRUE(RemoveFolderTree(m_folder.substr(0, m_folder.size() - 1))) << "could not remove " << m_folder;
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const
{
    EXPECT_TRUE(CreateDirectoryA(Path(relative).c_str(), nullptr)) << Path(relative) << ": error " << GetLastError();
    return Path(relative);
}

std::string ScratchFolder::MakeFile(const std::string& relative, const std::string& bytes) const
{
    HANDLE file = CreateFileA(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size())
        << "cannot write " << Path(relative) << ": error " << GetLastError();
    CloseHandle(file);
    return Path(relative);
}

void ScratchTest::TearDown()
{
    EXPECT_TRUE(Reported(0, "", "")) << "a report nobody expected";
    PopErrorFrame();
}

Report ScratchTest::TakeReport()
{
    ErrorFrame held;
    GetErrorInfo(&held);
    ClearError();
    return held.code ? Report {held.code, held.message, held.context} : Report {};
}

::testing::AssertionResult ScratchTest::Reported(int category, const std::string& message, const std::string& context)
{
    Report held = TakeReport();
    if (held.category == category && held.message == message && held.context == context)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n  expected report " << Describe({category, message, context})
                                         << "\n  held            " << Describe(held);
}
