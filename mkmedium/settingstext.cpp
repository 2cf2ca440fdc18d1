#include "mkmedium/settingstext.h"

#include "mkmedium/cp932.h"

static SettingsLine ClassifyLine(int number, const std::string& line)
{
    SettingsLine parsed;
    parsed.number = number;
    if (TrimBlanks(line).empty()) {
        parsed.kind = SettingsLine::BLANK;
    } else if (line[0] == ';') {
        parsed.kind = SettingsLine::COMMENT;
    } else if (line[0] == '[') {
        // A "]" may be the second byte of a double-byte character.
        parsed.kind = SettingsLine::SECTION;
        size_t i = 1;
        while (i < line.size() && line[i] != ']')
            i += Cp932CharLen(line, i);
        parsed.fOpenHeader = i >= line.size();
        parsed.name = line.substr(1, i - 1);
        parsed.value = parsed.fOpenHeader ? "" : line.substr(i + 1);
    } else {
        // "=" is never the second byte of a double-byte character.
        size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0) {
            parsed.kind = SettingsLine::OTHER;
        } else {
            parsed.kind = SettingsLine::KEY;
            parsed.name = line.substr(0, equals);
            parsed.value = line.substr(equals + 1);
        }
    }
    return parsed;
}

std::vector<SettingsLine> SplitSettingsText(const std::string& text, bool lfEndsLine)
{
    std::vector<SettingsLine> lines;
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = start;
        size_t next = text.size();
        for (; end < text.size(); ++end) {
            if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
                next = end + 2;
                break;
            }
            if (lfEndsLine && text[end] == '\n') {
                next = end + 1;
                break;
            }
        }
        lines.push_back(ClassifyLine(++number, text.substr(start, end - start)));
        start = next;
    }
    return lines;
}

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
