// Text helpers. Every text of the program is code page 932 (Shift-JIS), so
// paths and names are scanned with its fixed byte ranges rather than with the
// C runtime's multibyte tables, which follow whatever code page the process
// happens to start with.
#pragma once

// A blank text is empty or holds only spaces.
inline bool IsBlankText(const char* text)
{
    for (; *text; ++text)
        if (*text != ' ')
            return false;
    return true;
}

inline bool IsSjisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A valid second byte of a double-byte character.
inline bool IsSjisTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Length in bytes of the character that starts at p: 2 for a lead byte
// followed by any byte but the terminating NUL (so that a second byte 0x5C or
// 0x2F is never taken for a separator, even where it is not a valid trail
// byte), else 1; 0 at the terminating NUL.
inline int SjisCharLen(const char* p)
{
    if (*p == '\0')
        return 0;
    return IsSjisLead((unsigned char)p[0]) && p[1] != '\0' ? 2 : 1;
}

// True when byte pos of text is the second byte of a double-byte character,
// found by walking the characters from the start of the text. The walk
// stops at pos or at a NUL, whichever comes first.
inline bool IsSjisTrailAt(const char* text, int pos)
{
    int i = 0;
    while (i < pos && text[i] != '\0') {
        int n = SjisCharLen(text + i);
        if (n == 2 && i + 1 == pos)
            return true;
        i += n;
    }
    return false;
}

// Copies src into dst of dstSize bytes, cutting the text to dstSize - 1 bytes
// at most but never between the two bytes of a double-byte character; dst is
// always terminated (when dstSize > 0). Returns the number of bytes copied.
inline int SjisCopyCut(char* dst, int dstSize, const char* src)
{
    if (dstSize <= 0)
        return 0;
    int n = 0;
    if (src) {
        for (int len; (len = SjisCharLen(src + n)) != 0 && n + len <= dstSize - 1; n += len) {
            dst[n] = src[n];
            if (len == 2)
                dst[n + 1] = src[n + 1];
        }
    }
    dst[n] = '\0';
    return n;
}

// Appends src to the text in dst (dstSize bytes in all) by the same rule.
inline int SjisAppendCut(char* dst, int dstSize, const char* src)
{
    int used = 0;
    while (used < dstSize && dst[used])
        ++used;
    return used + SjisCopyCut(dst + used, dstSize - used, src);
}
