// FEnv2 writes: one line replaced, inserted or deleted in place.
#include "dazo/fenv2.h"

#include <cstdio>
#include <cstring>

#include "dazo/envname.h"

// Whether text holds one of the forbidden bytes as a character of its own;
// the second byte of a double-byte character never counts.
static bool Holds(const char* text, const char* forbidden)
{
    for (int len; *text; text += len) {
        len = NameCharLen(text);
        if (len == 1 && std::strchr(forbidden, *text))
            return true;
    }
    return false;
}

// A key line may not look like a comment or a section header.
static bool IsValidKey(const char* key)
{
    return key[0] != ';' && key[0] != '[' && !Holds(key, "\r\n=");
}

void FEnv2::Replace(Pos pos, uint32_t oldSize, const char* bytes, uint32_t newSize)
{
    m_dwFlags |= ENV_DIRTY;
    m_hint.fValid = false;
    uint64_t total = (uint64_t)m_sizeData - oldSize + newSize;
    Reserve(total);
    std::memmove(m_buff + pos + newSize, m_buff + pos + oldSize, m_sizeData - pos - oldSize);
    std::memcpy(m_buff + pos, bytes, newSize);
    m_sizeData = (uint32_t)total;
}

int FEnv2::WriteString(const char* section, const char* key, const char* value)
{
    if ((section && Holds(section, "\r\n]")) || !IsValidKey(key) || (value && Holds(value, "\r\n")))
        return 0;

    Pos data;
    if (!FindSection(section, &data)) {
        if (!value)
            return 1;
        DataObjStr header;
        header << "[" << section << "]\r\n";
        Replace(m_sizeData, 0, header, header.GetLength());
        data = m_sizeData;
    }

    Pos line, valuePos;
    uint32_t oldSize = 0;
    if (FindKey(data, key, &line, &valuePos)) {
        Pos end = LineEnd(valuePos);
        size_t valueSize = value ? std::strlen(value) : 0;
        if (value && end < m_sizeData && valueSize == end - valuePos &&
            std::memcmp(value, m_buff + valuePos, valueSize) == 0)
            return 1;
        oldSize = NextLine(end) - line;
    } else if (!value) {
        return 1;
    }

    DataObjStr newLine;
    if (value)
        newLine << key << "=" << value << "\r\n";
    Replace(line, oldSize, newLine, newLine.GetLength());
    return 1;
}

int FEnv2::WriteInt(const char* section, const char* key, long value)
{
    char text[24];
    std::snprintf(text, sizeof(text), "%ld", value);
    return WriteString(section, key, text);
}
