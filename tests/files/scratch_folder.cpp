#include "scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Tells apart the scratch folders of one process.
int s_lastNumber;

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot create " << path << ": error " << GetLastError();
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << "cannot write " << path;
}

}  // namespace

ScratchFolder::ScratchFolder()
{
    char temp[MAX_PATH];
    DWORD len = GetTempPathA(sizeof(temp), temp);
    EXPECT_TRUE(len > 0 && len < sizeof(temp));
    m_path = std::string(temp) + "darvo-files-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_lastNumber);
    RemoveFolderTree(m_path);  // a leftover of an earlier process with the same id
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), nullptr)) << "cannot create " << m_path;
    m_path += "\\";
}

ScratchFolder::~ScratchFolder()
{
    EXPECT_TRUE(RemoveFolderTree(m_path.substr(0, m_path.size() - 1))) << "could not remove " << m_path;
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const
{
    std::string path = m_path + relative;
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << "cannot create " << path << ": error " << GetLastError();
    return path;
}

std::string ScratchFolder::MakeFile(const std::string& relative, const std::string& bytes) const
{
    std::string path = m_path + relative;
    WriteBytes(path, bytes);
    return path;
}

bool RemoveFolderTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveFolderTree(path);
        else
            DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(folder.c_str()) != 0;
}
