// Code page 932 (Shift-JIS) texts. SETUP.LST and the setup's names are
// CP932 bytes; the tool's own messages and the file names of a Linux build
// tree are UTF-8. Lead and trail bytes are fixed ranges, so the scans below
// never depend on the code page the process happens to run with.
#pragma once

#include <cstddef>
#include <string>

inline bool IsCp932Lead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline bool IsCp932Trail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// 2 when a lead byte at pos is followed by a valid trail byte, else 1.
size_t Cp932CharLen(const std::string& text, size_t pos);

// Position of the last single-byte character c (never the second byte of a
// double-byte character), or npos.
size_t FindLastCp932Char(const std::string& text, char c);

// The text as names are compared: the setup (and the file system) ignore
// the case of single-byte letters and compare double-byte characters
// exactly, so only the letters a-z outside double-byte characters fold.
std::string FoldNameCase(const std::string& text);

// Conversions; false (*out then means nothing) when the text holds bytes that
// are not a character of its own code page, or a character that the other
// side cannot hold.
bool Cp932ToUtf8(const std::string& text, std::string* out);
bool Utf8ToCp932(const std::string& text, std::string* out);

// For messages: the CP932 text in UTF-8, with "?" for what cannot convert.
std::string ShowCp932(const std::string& text);
