// FEnv2 lookups: every one a scan of the text, line by line.
#include "dazo/fenv2.h"

#include <cstdlib>
#include <cstring>

#include "base/errreport.h"
#include "dazo/envname.h"

static const char s_szSrc[] = "dazo/fenv2";

FEnv2::Pos FEnv2::LineEnd(Pos pos) const
{
    const char* end = m_buff + m_sizeData;
    for (const char* p = m_buff + pos;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\r', end - p));
        if (!p || p + 1 >= end)
            return m_sizeData;
        if (p[1] == '\n')
            return (Pos)(p - m_buff);
    }
}

FEnv2::Pos FEnv2::NextLine(Pos lineEnd) const
{
    return lineEnd < m_sizeData ? lineEnd + 2 : m_sizeData;
}

// The line at pos starts with name, directly followed by the byte "after".
bool FEnv2::LineStartsWith(Pos pos, Pos lineEnd, const char* name, char after, Pos* pNext) const
{
    const char* end = m_buff + lineEnd;
    const char* p = MatchNameAt(m_buff + pos, end, name);
    if (!p || p == end || *p != after)
        return false;
    *pNext = (Pos)(p + 1 - m_buff);
    return true;
}

bool FEnv2::FindSection(const char* section, Pos* pData) const
{
    if (!section) {
        *pData = 0;
        return true;
    }
    for (Pos line = 0; line < m_sizeData;) {
        Pos end = LineEnd(line);
        Pos ignored;
        if (m_buff[line] == '[' && LineStartsWith(line + 1, end, section, ']', &ignored)) {
            *pData = NextLine(end);
            return true;
        }
        line = NextLine(end);
    }
    *pData = m_sizeData;
    return false;
}

bool FEnv2::FindKey(Pos data, const char* key, Pos* pLine, Pos* pValue) const
{
    Pos line = data;
    while (line < m_sizeData && m_buff[line] != '[') {
        Pos end = LineEnd(line);
        if (m_buff[line] != ';' && LineStartsWith(line, end, key, '=', pValue)) {
            *pLine = line;
            return true;
        }
        line = NextLine(end);
    }
    *pLine = line;
    return false;
}

void FEnv2::GetString(DataObjStr& out, const char* section, const char* key, const char* deflt, int* pFound)
{
    Pos value;
    bool found = FindKeyHinted(section, key, &value);
    if (found) {
        const char* p = m_buff + LineEnd(value);
        DZ_ASSERT(s_szSrc, p<=m_buff+m_sizeData);
        out = DataObjStr(m_buff + value, (int)(p - (m_buff + value)));
    } else {
        out = DataObjStr(deflt);
    }
    if (pFound)
        *pFound = found ? 1 : 0;
}

long FEnv2::GetInt(const char* section, const char* key, long deflt, int* pFound)
{
    DataObjStr value;
    int found;
    GetString(value, section, key, "", &found);
    if (pFound)
        *pFound = found;
    return found ? std::atol(value) : deflt;
}

DataObjStr FEnv2::EnumKeys(const char* section)
{
    DataObjStr list;
    Pos line;
    if (FindSection(section, &line)) {
        while (line < m_sizeData && m_buff[line] != '[') {
            Pos end = LineEnd(line);
            const char* key = m_buff + line;
            const char* equals = static_cast<const char*>(std::memchr(key, '=', end - line));
            // A key holding a NUL could not be asked for and would end the
            // list early: it is left out like an empty one.
            if (*key != ';' && equals && equals != key && !std::memchr(key, '\0', equals - key))
                list << DataObjStr(key, (int)(equals - key)) << '\0';
            line = NextLine(end);
        }
    }
    list << '\0';
    return list;
}
