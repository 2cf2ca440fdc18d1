// An independent statement of the settings-file format for the tests: the
// text split into its lines, and the lookups done on that list the plain
// way. The bad-input tests compare FEnv2 with it.
#pragma once

#include <string>
#include <vector>

namespace oracle {

// The text as a file of any content reads: a trailing 0x1A, then one LF,
// then one CR dropped; a non-empty text ends with CR LF.
std::string Normalized(std::string bytes);

struct Line {
    size_t start;  // offset in the text
    size_t size;   // without its CR LF
};

class Text {
public:
    explicit Text(const std::string& normalized);

    // The first line index of the section's keys, or -1 (null: the lines
    // before the first header).
    long SectionStart(const char* section) const;
    // The line of the key in the section, or -1.
    long KeyLine(const char* section, const char* key) const;
    // The value, or null when missing.
    bool Value(const char* section, const char* key, std::string* value) const;
    std::vector<std::string> Keys(const char* section) const;
    // Names as the headers spell them (up to the first "]"), without NULs.
    std::vector<std::string> HeaderNames() const;

    const std::string& Bytes() const { return m_text; }
    const Line& At(long i) const { return m_lines[i]; }

private:
    std::string Content(long i) const { return m_text.substr(m_lines[i].start, m_lines[i].size); }

    std::string m_text;
    std::vector<Line> m_lines;
};

// Whether content, from offset pos, starts with name followed by the byte
// "after", names compared as the format says.
bool NameAt(const std::string& content, size_t pos, const char* name, char after);

}  // namespace oracle
