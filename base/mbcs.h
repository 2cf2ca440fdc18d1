// Code page 932 (Shift-JIS) byte classes. Every text of the program is CP932,
// so paths and names are scanned with these fixed ranges rather than with the
// C runtime's multibyte tables, which follow whatever code page the process
// happens to start with.
#pragma once

inline bool IsSjisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline bool IsSjisTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Length in bytes of the character that starts at p: 2 for a lead byte
// followed by a valid trail byte, else 1 (0 at the terminating NUL).
inline int SjisCharLen(const char* p)
{
    if (*p == '\0')
        return 0;
    return IsSjisLead((unsigned char)p[0]) && IsSjisTrail((unsigned char)p[1]) ? 2 : 1;
}

// True when byte pos of text is the second byte of a double-byte character,
// found by walking the characters from the start of the text (as _mbsbtype
// does). The walk stops at pos or at a NUL, whichever comes first.
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
