// The fixture of every suite that works on files: a scratch folder of the
// test's own and a collecting error frame around the test, so that a report
// is held for the test to check, never shown; a report the test did not take
// fails it. Suites whose reports must be shown use a ScratchFolder alone.
#pragma once

#include "base/errreport.h"
#include "base/text.h"
#include "dazo/Data.h"
#include "robot/readable_text.h"
#include "robot/robot_gtest.h"

// Byte-for-byte equality of two code page 932 texts, failing with readable
// UTF-8.
#define EXPECT_SAME_TEXT(expected, actual) EXPECT_TRUE(robot::SameText((expected), (actual)))

// A held report; category 0: none.
struct Report { int category = 0; std::string message, context; };

// A folder of the test's own under the temporary folder (other suites run in
// the same Wine prefix at the same time), removed with everything in it,
// read-only entries included, when it goes. Made and removed with plain
// Win32 calls, never with the helpers under test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with its trailing backslash, then relative.
    std::string Path(const std::string& relative = "") const { return m_folder + relative; }
    // Creates a folder (its parent must exist); returns its path.
    std::string MakeFolder(const std::string& relative) const;
    // Creates or overwrites a file with the bytes given; returns its path.
    std::string MakeFile(const std::string& relative, const std::string& bytes = "") const;

private:
    std::string m_folder;
};

// Path, MakeFolder and MakeFile work in the test's scratch folder.
class ScratchTest : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override { PushErrorFrame(&m_frame); }
    void TearDown() override;

    // The report held since the last call, taken out of the frame.
    Report TakeReport();
    // Whether the held report is this one; taken out either way.
    ::testing::AssertionResult Reported(int category, const std::string& message, const std::string& context);

private:
    ErrorFrame m_frame {};
};

inline std::string Text(const DataObjStr& text) { return (const char*)text; }

// The text with its ASCII letters in upper case, double bytes untouched.
inline std::string AsciiUpper(std::string text)
{
    for (size_t i = 0; i < text.size(); i += IsSjisLead((unsigned char)text[i]) ? 2 : 1)
        if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = char(text[i] - 'a' + 'A');
    return text;
}

// The text of a system error as Japanese Windows words it.
inline std::string SystemText(DWORD error)
{
    const char* text = SysErrorString(error);
    return text ? text : "(no text for error " + std::to_string(error) + ")";
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A drive letter that names no drive, from "Y" down; 0 when none is free.
inline char FreeDriveLetter()
{
    for (char letter = 'Y'; letter > 'D'; --letter)
        if (!(GetLogicalDrives() & (1u << (letter - 'A'))))
            return letter;
    return 0;
}

struct Stopwatch {
    DWORD Elapsed() const { return GetTickCount() - m_start; }
    DWORD m_start = GetTickCount();
};
