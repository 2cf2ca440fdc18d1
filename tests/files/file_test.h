// The fixture of the file-helper tests. A collecting error frame stands
// around the whole test, so that a report is never shown (no one would
// answer its box) but held for the test to read with TakeReport; a report
// that the test did not take fails it. Every test has a scratch folder of its
// own.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/errreport.h"
#include "dazo/Data.h"
#include "robot/robot_gtest.h"
#include "scratch_folder.h"

// One report as the error frame holds it; category 0 when there is none.
struct Report {
    int category = 0;
    std::string message;
    std::string context;
};

class FileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The report held since the last call, which is then cleared.
    Report TakeReport();

    ScratchFolder m_scratch;

private:
    ErrorFrame m_frame {};
};

inline std::string Text(const DataObjStr& text)
{
    return std::string((const char*)text);
}

// The Japanese text of a system error as Japanese Windows words it.
std::string SystemText(DWORD error);

bool Exists(const std::string& path);
// The text with its ASCII letters in upper case (double bytes untouched).
std::string AsciiUpper(std::string text);
// A drive letter that names no drive, searched from "Y" down; 0 when none.
char FreeDriveLetter();

// Byte-for-byte equality of two code page 932 texts, failing with readable
// UTF-8.
#define EXPECT_SAME_TEXT(expected, actual) EXPECT_TRUE(robot::SameText((expected), (actual)))

// Milliseconds since construction.
class Stopwatch {
public:
    Stopwatch() : m_start(GetTickCount()) {}
    DWORD Elapsed() const { return GetTickCount() - m_start; }

private:
    DWORD m_start;
};
