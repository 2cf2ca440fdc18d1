#include "mkmedium/cp932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <vector>

size_t Cp932CharLen(const std::string& text, size_t pos)
{
    return pos + 1 < text.size() && IsCp932Lead((unsigned char)text[pos]) &&
                   IsCp932Trail((unsigned char)text[pos + 1])
               ? 2
               : 1;
}

size_t FindLastCp932Char(const std::string& text, char c)
{
    size_t found = std::string::npos;
    for (size_t i = 0; i < text.size(); i += Cp932CharLen(text, i))
        if (text[i] == c)
            found = i;
    return found;
}

std::string FoldNameCase(const std::string& text)
{
    std::string folded = text;
    for (size_t i = 0; i < folded.size();) {
        size_t n = Cp932CharLen(folded, i);
        if (n == 1 && folded[i] >= 'a' && folded[i] <= 'z')
            folded[i] = (char)(folded[i] - 'a' + 'A');
        i += n;
    }
    return folded;
}

#ifdef _WIN32

// Through UTF-16 with the system's own tables, which are the ones the setup
// meets when it opens a file by its CP932 name.
static bool ConvertVia16(const std::string& text, UINT from, UINT to, std::string* out)
{
    out->clear();
    if (text.empty())
        return true;
    int wide = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), nullptr, 0);
    if (wide <= 0)
        return false;
    std::vector<wchar_t> buffer(wide);
    MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), buffer.data(), wide);
    BOOL lossy = FALSE;
    BOOL* pLossy = to == CP_UTF8 ? nullptr : &lossy;
    DWORD flags = to == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int bytes = WideCharToMultiByte(to, flags, buffer.data(), wide, nullptr, 0, nullptr, pLossy);
    if (bytes <= 0 || lossy)
        return false;
    out->resize(bytes);
    WideCharToMultiByte(to, flags, buffer.data(), wide, &(*out)[0], bytes, nullptr, nullptr);
    return true;
}

bool Cp932ToUtf8(const std::string& text, std::string* out)
{
    return ConvertVia16(text, 932, CP_UTF8, out);
}

bool Utf8ToCp932(const std::string& text, std::string* out)
{
    return ConvertVia16(text, CP_UTF8, 932, out);
}

#else

// glibc's "CP932" is Microsoft's table (0x5C is the backslash, 0x8160 the
// wave dash U+FF5E), the one Wine uses for code page 932.
static bool ConvertIconv(const std::string& text, const char* from, const char* to, std::string* out)
{
    out->clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1)
        return false;
    std::string input = text;
    char* in = input.empty() ? nullptr : &input[0];
    size_t inLeft = input.size();
    std::vector<char> buffer(input.size() * 4 + 16);
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    bool ok = result != (size_t)-1 && inLeft == 0 && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != (size_t)-1;
    iconv_close(cd);
    if (ok)
        out->assign(buffer.data(), outPtr);
    return ok;
}

bool Cp932ToUtf8(const std::string& text, std::string* out)
{
    return ConvertIconv(text, "CP932", "UTF-8", out);
}

bool Utf8ToCp932(const std::string& text, std::string* out)
{
    return ConvertIconv(text, "UTF-8", "CP932", out);
}

#endif

std::string ShowCp932(const std::string& text)
{
    std::string shown;
    if (Cp932ToUtf8(text, &shown))
        return shown;
    shown.clear();
    for (size_t i = 0; i < text.size();) {
        size_t n = Cp932CharLen(text, i);
        std::string one;
        shown += Cp932ToUtf8(text.substr(i, n), &one) && !one.empty() ? one : "?";
        i += n;
    }
    return shown;
}
