#include "file_test.h"

#include "robot/readable_text.h"

void FileTest::SetUp()
{
    PushErrorFrame(&m_frame);
}

void FileTest::TearDown()
{
    Report left = TakeReport();
    EXPECT_EQ(0, left.category) << "a report nobody expected: " << robot::Quoted(left.message) << " / "
                                << robot::Quoted(left.context);
    PopErrorFrame();
}

Report FileTest::TakeReport()
{
    ErrorFrame held;
    GetErrorInfo(&held);
    Report report;
    report.category = held.code;
    if (held.code != 0) {
        report.message = held.message;
        report.context = held.context;
    }
    ClearError();
    return report;
}

std::string SystemText(DWORD error)
{
    const char* text = SysErrorString(error);
    return text ? text : "(no text for error " + std::to_string(error) + ")";
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string AsciiUpper(std::string text)
{
    // Trail bytes of double-byte characters can be letters too.
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = (unsigned char)text[i];
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))
            ++i;
        else if (c >= 'a' && c <= 'z')
            text[i] = (char)(c - 'a' + 'A');
    }
    return text;
}

char FreeDriveLetter()
{
    for (char letter = 'Y'; letter > 'D'; --letter)
        if (!(GetLogicalDrives() & (1u << (letter - 'A'))))
            return letter;
    return 0;
}
