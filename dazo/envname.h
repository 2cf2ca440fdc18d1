// Section names, keys and path macros are compared by one rule: a code page
// 932 lead byte followed by a valid trail byte is one character and compares
// exactly; any other byte compares after the standard library's toupper. The
// name decides where its double-byte characters are, so that a trail byte
// that happens to be a letter (the 0x61 of "ａ" 0x8261) is never folded.
#pragma once

#include <cctype>

#include "base/text.h"

// 2 when a lead byte at p is followed by a valid trail byte, else 1.
inline int NameCharLen(const char* p)
{
    return IsSjisLead((unsigned char)p[0]) && IsSjisTrail((unsigned char)p[1]) ? 2 : 1;
}

// A single-byte character as names compare it.
inline unsigned char FoldByte(unsigned char c)
{
    return (unsigned char)std::toupper(c);
}

// When the bytes [text, end) begin with name, the position just after it;
// else null. The text may hold any bytes, NUL included; a null end stands for
// a text that ends with its NUL (a NUL never matches a character of a name).
const char* MatchNameAt(const char* text, const char* end, const char* name);
