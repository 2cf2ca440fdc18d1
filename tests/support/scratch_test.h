// The fixture of every suite that works on files: a folder of the test's own
// under the temporary folder (other suites run in the same Wine prefix at the
// same time), removed with everything in it afterwards, and a collecting
// error frame around the test, so that a report is held for the test to
// check, never shown; a report the test did not take fails it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/errreport.h"
#include "robot/readable_text.h"
#include "robot/robot_gtest.h"

// Byte-for-byte equality of two code page 932 texts, failing with readable
// UTF-8.
#define EXPECT_SAME_TEXT(expected, actual) EXPECT_TRUE(robot::SameText((expected), (actual)))

struct Report {
    int category = 0;  // 0: none
    std::string message;
    std::string context;
};

class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The folder's path with its trailing backslash, then relative.
    std::string Path(const std::string& relative = "") const { return m_folder + relative; }
    std::string MakeFolder(const std::string& relative) const;
    // Creates or overwrites a file with the bytes given; returns its path.
    std::string MakeFile(const std::string& relative, const std::string& bytes = "") const;

    // The report held since the last call, taken out of the frame.
    Report TakeReport();
    // Whether the held report is this one; taken out either way.
    ::testing::AssertionResult Reported(int category, const std::string& message, const std::string& context);

private:
    std::string m_folder;
    ErrorFrame m_frame {};
};

// The text of a system error as Japanese Windows words it.
std::string SystemText(DWORD error);
bool Exists(const std::string& path);
// A drive letter that names no drive, from "Y" down; 0 when none is free.
char FreeDriveLetter();

class Stopwatch {
public:
    DWORD Elapsed() const { return GetTickCount() - m_start; }

private:
    DWORD m_start = GetTickCount();
};
