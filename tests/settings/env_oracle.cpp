#include "env_oracle.h"

#include <cctype>
#include <cstring>

namespace oracle {

std::string Normalized(std::string bytes)
{
    for (char drop : {'\x1A', '\n', '\r'})
        if (!bytes.empty() && bytes.back() == drop)
            bytes.pop_back();
    if (!bytes.empty())
        bytes += "\r\n";
    return bytes;
}

Text::Text(const std::string& normalized) : m_text(normalized)
{
    size_t pos = 0;
    while (pos < m_text.size()) {
        size_t end = m_text.find("\r\n", pos);
        if (end == std::string::npos)
            end = m_text.size();
        m_lines.push_back({pos, end - pos});
        pos = end + 2;
    }
}

static bool Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

static bool Trail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

bool NameAt(const std::string& content, size_t pos, const char* name, char after)
{
    size_t n = std::strlen(name);
    size_t i = 0;
    while (i < n) {
        if (pos + i >= content.size())
            return false;
        if (Lead(name[i]) && i + 1 < n && Trail(name[i + 1])) {
            if (pos + i + 1 >= content.size() || content[pos + i] != name[i] || content[pos + i + 1] != name[i + 1])
                return false;
            i += 2;
        } else {
            if (std::toupper((unsigned char)content[pos + i]) != std::toupper((unsigned char)name[i]))
                return false;
            i += 1;
        }
    }
    return pos + n < content.size() && content[pos + n] == after;
}

long Text::SectionStart(const char* section) const
{
    if (!section)
        return 0;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string content = Content(i);
        if (!content.empty() && content[0] == '[' && NameAt(content, 1, section, ']'))
            return (long)i + 1;
    }
    return -1;
}

long Text::KeyLine(const char* section, const char* key) const
{
    long start = SectionStart(section);
    if (start < 0)
        return -1;
    for (size_t i = start; i < m_lines.size(); ++i) {
        std::string content = Content(i);
        if (!content.empty() && content[0] == '[')
            return -1;
        if ((content.empty() || content[0] != ';') && NameAt(content, 0, key, '='))
            return (long)i;
    }
    return -1;
}

bool Text::Value(const char* section, const char* key, std::string* value) const
{
    long line = KeyLine(section, key);
    if (line < 0)
        return false;
    *value = Content(line).substr(std::strlen(key) + 1);
    return true;
}

std::vector<std::string> Text::Keys(const char* section) const
{
    std::vector<std::string> keys;
    long start = SectionStart(section);
    for (size_t i = start < 0 ? m_lines.size() : start; i < m_lines.size(); ++i) {
        std::string content = Content(i);
        if (!content.empty() && content[0] == '[')
            break;
        size_t equals = content.find('=');
        if (content.empty() || content[0] == ';' || equals == std::string::npos || equals == 0)
            continue;
        std::string key = content.substr(0, equals);
        if (key.find('\0') == std::string::npos)
            keys.push_back(key);
    }
    return keys;
}

std::vector<std::string> Text::HeaderNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string content = Content(i);
        size_t close = content.find(']');
        if (!content.empty() && content[0] == '[' && close != std::string::npos) {
            std::string name = content.substr(1, close - 1);
            if (name.find('\0') == std::string::npos)
                names.push_back(name);
        }
    }
    return names;
}

}  // namespace oracle
