// A folder of the test's own under the temporary folder, named after the
// process (other people's tests run in the same Wine prefix at the same
// time), removed with everything in it, read-only entries included, when the
// test ends. It is made and removed with plain Win32 calls, never with the
// helpers under test.
#pragma once

#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with its trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path() + relative.
    std::string operator/(const std::string& relative) const { return m_path + relative; }

    // Creates a folder (its parent must exist) and returns its path.
    std::string MakeFolder(const std::string& relative) const;
    // Creates or overwrites a file with the bytes given and returns its path.
    std::string MakeFile(const std::string& relative, const std::string& bytes = "") const;

private:
    std::string m_path;
};

// Removes a folder with everything in it; false when something stayed.
bool RemoveFolderTree(const std::string& folder);
