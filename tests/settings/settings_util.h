// Helpers of the settings-file tests: a temporary folder of this process's
// own (other suites run in the same Wine prefix at the same time), raw file
// bytes, the errors that a collecting frame caught, and the text of an FEnv2.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errreport.h"
#include "dazo/Data.h"
#include "dazo/fenv2.h"

// %TEMP%\<name>_<process id>\, made empty at construction and removed with
// everything in it at destruction.
class TempFolder {
public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With its trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

bool WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; *pExists (when given) says whether it could be opened.
std::string ReadBytes(const std::string& path, bool* pExists = nullptr);
bool FileExists(const std::string& path);

// The text of the settings file as it is in memory.
std::string TextOf(const FEnv2& env);
// GetString as a std::string; "<missing>" when not found.
std::string Lookup(FEnv2& env, const char* section, const char* key);
// The names of a double-NUL list.
std::vector<std::string> Names(const DataObjStr& list);

// An error held by the current (collecting) frame, taken out of it.
struct HeldError {
    int code = 0;  // 0: none
    std::string message;
    std::string context;
};
HeldError TakeError();

// Every test runs in a folder of its own and inside a collecting error frame;
// an error that the test did not take out fails it.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest();
    void SetUp() override;
    void TearDown() override;

    // A file in the test's folder with the given bytes; returns its path.
    std::string MakeFile(const std::string& name, const std::string& bytes);

    TempFolder m_folder;

private:
    ErrorFrame m_frame;
};
