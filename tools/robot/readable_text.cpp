#include "robot/readable_text.h"

#include <cstdio>
#include <cstdlib>

namespace robot {
namespace {

constexpr UINT kCp932 = 932;

std::string WideToUtf8(const wchar_t* wide, int length)
{
    if (length <= 0)
        return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

std::string HexEscape(unsigned char byte)
{
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    return escaped;
}

const char* EscapeOf(unsigned char byte)
{
    switch (byte) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    case '\\':
        return "\\\\";
    case '"':
        return "\\\"";
    default:
        return nullptr;
    }
}

// The UTF-8 form of the one code page 932 character of `length` bytes at
// `bytes`, or "" when those bytes are no character.
std::string CharacterToUtf8(const char* bytes, int length)
{
    wchar_t wide[2];
    int units = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes, length, wide, 2);
    return WideToUtf8(wide, units);
}

struct NamedId {
    int id;
    const char* name;
};

constexpr NamedId kButtonIds[] = {
    {IDOK, "IDOK"},
    {IDCANCEL, "IDCANCEL"},
    {IDABORT, "IDABORT"},
    {IDRETRY, "IDRETRY"},
    {IDIGNORE, "IDIGNORE"},
    {IDYES, "IDYES"},
    {IDNO, "IDNO"},
    {IDCLOSE, "IDCLOSE"},
    {IDHELP, "IDHELP"},
    {IDTRYAGAIN, "IDTRYAGAIN"},
    {IDCONTINUE, "IDCONTINUE"},
};

constexpr NamedId kIcons[] = {
    {MB_ICONHAND, "MB_ICONHAND"},
    {MB_ICONEXCLAMATION, "MB_ICONEXCLAMATION"},
    {MB_ICONQUESTION, "MB_ICONQUESTION"},
    {MB_ICONASTERISK, "MB_ICONASTERISK"},
    {0, "none"},
    {-1, "unknown"},
};

template <size_t N> std::string NameOf(const NamedId (&table)[N], int id)
{
    for (const NamedId& entry : table) {
        if (entry.id == id)
            return entry.name;
    }
    return std::to_string(id);
}

}  // namespace

std::string Cp932ToUtf8(const std::string& cp932)
{
    if (cp932.empty())
        return std::string();
    int units = MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), &wide[0], units);
    return WideToUtf8(wide.data(), units);
}

std::string WideToCp932(const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    int bytes
        = WideCharToMultiByte(kCp932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string cp932(bytes, '\0');
    WideCharToMultiByte(kCp932, 0, wide.data(), static_cast<int>(wide.size()), &cp932[0], bytes, nullptr, nullptr);
    return cp932;
}

std::string Quoted(const std::string& cp932)
{
    std::string out = "\"";
    size_t i = 0;
    while (i < cp932.size()) {
        const unsigned char byte = static_cast<unsigned char>(cp932[i]);
        if (const char* escape = EscapeOf(byte)) {
            out += escape;
            ++i;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            out += HexEscape(byte);
            ++i;
            continue;
        }
        const int length = IsDBCSLeadByteEx(kCp932, byte) ? 2 : 1;
        std::string utf8;
        if (i + length <= cp932.size())
            utf8 = CharacterToUtf8(&cp932[i], length);
        if (utf8.empty()) {
            out += HexEscape(byte);
            ++i;
            continue;
        }
        out += utf8;
        i += length;
    }
    return out + "\"";
}

std::string HexBytes(const std::string& bytes)
{
    std::string out;
    for (char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
        if (!out.empty())
            out += ' ';
        out += hex;
    }
    return out;
}

std::string HandleText(HWND window)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    return text;
}

std::string ButtonName(int id)
{
    return NameOf(kButtonIds, id);
}

bool ParseButtonId(const std::string& text, int* id)
{
    for (const NamedId& entry : kButtonIds) {
        if (text == entry.name) {
            *id = entry.id;
            return true;
        }
    }
    if (text.empty())
        return false;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0')
        return false;
    *id = static_cast<int>(value);
    return true;
}

std::string ButtonList(const std::vector<int>& ids)
{
    std::string out;
    for (int id : ids) {
        if (!out.empty())
            out += ' ';
        out += ButtonName(id);
    }
    return out;
}

std::string IconName(int icon)
{
    return NameOf(kIcons, icon);
}

}  // namespace robot
