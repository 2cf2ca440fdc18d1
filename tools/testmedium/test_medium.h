// Installation media for the tests, made as the vendor makes them: by
// mkmedium from a medium description (README.md, "mkmedium").
#pragma once

#include <string>
#include <vector>

// %TEMP%\<name>_<process id>\ made empty at construction, removed with
// what it holds at destruction.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& name);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // With its trailing backslash.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Writes bytes to path (code page 932); false when it cannot.
bool WriteTestFile(const std::string& path, const std::string& bytes);

// size repeatable bytes that do not compress.
std::string NoiseBytes(size_t size, unsigned seed);

// What LZ32 makes of a file, as the copy engine opens it (LZOpenFileA,
// LZRead): the bytes read, and in *declared the length LZSeek gives.
std::string ExpandWithLz32(const std::string& path, long* declared);

// What one run of mkmedium did and said (UTF-8).
struct MediumRun {
    int status = -1;
    std::string problems;  // one line each
    std::string said;
};

// Runs mkmedium with args (paths in code page 932, as the tests have them).
MediumRun RunMediumTool(const std::vector<std::string>& args);

// Writes descriptionText (code page 932) to work + "medium.txt" and makes
// the medium in work + "out" from it with the SETUP.EXE in setupFolder;
// options go before the arguments (e.g. "--disk-size", "4096"). work ends
// in a backslash.
MediumRun MakeTestMedium(const std::string& work, const std::string& descriptionText, const std::string& setupFolder,
                         const std::vector<std::string>& options = {});
