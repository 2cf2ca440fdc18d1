// Lookups in file order, as the copy engine makes them (every key of a
// section in turn), would each scan the section from its start: a walk of n
// keys would read n * n / 2 lines. Instead a lookup goes on where the previous
// one in the same section stopped. That stays exact: a key found beyond that
// point is the first match only if no line before it matches, and a filter of
// the keys of those lines proves it. When the filter cannot, the walk starts
// again from the start of the section, which is the plain scan, and goes on
// from where that one finds its key (so a second walk is as fast as the
// first).
#include "dazo/fenv2.h"

#include <cstring>

bool FEnv2::SeekSection(const char* section)
{
    if (m_hint.fValid && (section ? !m_hint.fNullSection && std::strcmp(section, m_hint.strSection) == 0
                                  : m_hint.fNullSection))
        return true;
    Pos data;
    m_hint.fValid = FindSection(section, &data);
    if (m_hint.fValid) {
        m_hint.fNullSection = !section;
        m_hint.strSection = DataObjStr(section ? section : "");
        m_hint.data = data;
        m_hint.next = data;
        m_hint.filter.Clear();
    }
    return m_hint.fValid;
}

bool FEnv2::FindKeyHinted(const char* section, const char* key, Pos* pValue)
{
    if (!SeekSection(section))
        return false;
    Pos line;
    // A name holding "=" can match a line whose own key (up to its first "=")
    // is shorter: the filter of those keys cannot speak for it.
    if (std::strchr(key, '='))
        return FindKey(m_hint.data, key, &line, pValue);
    if (m_hint.filter.MayHold(key)) {
        m_hint.next = m_hint.data;
        m_hint.filter.Clear();
    }

    for (line = m_hint.next; line < m_sizeData && m_buff[line] != '[';) {
        Pos end = LineEnd(line);
        bool found = false;
        if (m_buff[line] != ';') {
            found = LineStartsWith(line, end, key, '=', pValue);
            const char* equals = static_cast<const char*>(std::memchr(m_buff + line, '=', end - line));
            if (equals)
                m_hint.filter.Add(m_buff + line, equals);
        }
        line = NextLine(end);
        m_hint.next = line;
        if (found)
            return true;
    }
    return false;
}
