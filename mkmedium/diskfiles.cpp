#include "mkmedium/diskfiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "mkmedium/cp932.h"

namespace fs = std::filesystem;

fs::path PathFromUtf8(const std::string& utf8)
{
    // Either separator becomes the system's own, for paths shown in messages.
    std::string text = utf8;
    std::replace(text.begin(), text.end(), fs::path::preferred_separator == '/' ? '\\' : '/',
                 (char)fs::path::preferred_separator);
    return fs::u8path(text);
}

bool PathFromCp932(const std::string& cp932, fs::path* path)
{
    // Converted first: a "\" that is the second byte of a double-byte
    // character (the 0x5C of "ソ") is then part of its character.
    std::string utf8;
    if (!Cp932ToUtf8(cp932, &utf8))
        return false;
    *path = PathFromUtf8(utf8);
    return true;
}

std::string ShowPath(const fs::path& path)
{
    return path.u8string();
}

bool ReadWholeFile(const fs::path& path, Bytes* bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWholeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    out.close();
    return !out.fail();
}

// ASCII letters fold; names are UTF-8 here.
static std::string FoldAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return text;
}

bool FindFileNoCase(const fs::path& folder, const fs::path& relative, fs::path* found)
{
    fs::path at = folder;
    std::error_code error;
    for (const fs::path& part : relative) {
        fs::path exact = at / part;
        if (fs::exists(exact, error)) {
            at = exact;
            continue;
        }
        bool matched = false;
        for (fs::directory_iterator it(at, error), end; !error && it != end; it.increment(error)) {
            if (FoldAscii(it->path().filename().u8string()) == FoldAscii(part.u8string())) {
                at = it->path();
                matched = true;
                break;
            }
        }
        if (!matched)
            return false;
    }
    *found = at;
    return fs::is_regular_file(at, error);
}
