// Japanese texts of system error codes. For the codes in syserr_ja.tsv the
// program carries the texts that Japanese editions of Windows return; for the
// other covered codes it asks the system (Japanese first, then the system's
// default language), once per code.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/errreport.h"
#include "base/text.h"

namespace {

struct CompiledText {
    DWORD code;
    const char* text;
};

const CompiledText s_compiled[] = {
#include "syserr_ja.inc"
};

struct CodeRange {
    DWORD first, last;
};

// The Win32 codes that have a text; any other code has none.
constexpr CodeRange s_covered[] = {
    {0, 34}, {36, 36}, {38, 39}, {50, 72}, {80, 80}, {82, 89}, {100, 114}, {117, 162},
    {164, 164}, {167, 167}, {170, 170}, {173, 174}, {180, 180}, {182, 183}, {186, 203},
    {205, 210}, {212, 212}, {214, 215}, {230, 234}, {240, 240}, {254, 255}, {259, 259},
    {266, 267}, {275, 278}, {282, 282}, {288, 288}, {298, 298}, {317, 317}, {487, 487},
    {534, 536}, {994, 999}, {1001, 1022}, {1051, 1078}, {1100, 1117}, {1119, 1131},
    {1200, 1222}, {1300, 1338}, {1340, 1394}, {1400, 1440}, {1442, 1449}, {1500, 1503},
    {1700, 1728}, {1730, 1730}, {1732, 1737}, {1739, 1753}, {1755, 1757}, {1759, 1762},
    {1764, 1775}, {1777, 1798}, {1800, 1816}, {1898, 1900}, {2202, 2202}, {2250, 2250},
    {2401, 2401}, {2404, 2404}, {6118, 6118},
};

constexpr int CountCovered()
{
    int n = 0;
    for (const CodeRange& range : s_covered)
        n += (int)(range.last - range.first + 1);
    return n;
}
const int COVERED_COUNT = 563;
static_assert(CountCovered() == COVERED_COUNT, "the covered codes are 563");

// The error codes of the LZ expansion functions, -1 to -8.
const char* const s_lzTexts[] = {
    "入力ハンドルが無効です。",
    "出力ハンドルが無効です。",
    "圧縮後のファイル形式が壊れています。",
    "出力ファイル用のメモリ空間が足りません。",
    "LZFile構造体用のメモリが足りません。",
    "グローバル ハンドルが不正です。",
    "許容範囲外のパラメータを入力しました。",
    "圧縮アルゴリズムが認識されていません。",
};

// Index of a covered code among all covered codes, or -1.
int CoveredIndex(DWORD code)
{
    int index = 0;
    for (const CodeRange& range : s_covered) {
        if (code >= range.first && code <= range.last)
            return index + (int)(code - range.first);
        index += (int)(range.last - range.first + 1);
    }
    return -1;
}

const char* CompiledTextOf(DWORD code)
{
    for (const CompiledText& entry : s_compiled)
        if (entry.code == code)
            return entry.text;
    return nullptr;
}

// The system's text in one language, without its trailing line break and
// blanks; null when the system has none.
char* SystemText(DWORD code, DWORD language)
{
    char buf[1024];
    DWORD len = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                               language, buf, sizeof(buf), nullptr);
    while (len > 0 && (buf[len - 1] == '\r' || buf[len - 1] == '\n' || buf[len - 1] == ' ' || buf[len - 1] == '\t'))
        --len;
    if (len == 0)
        return nullptr;
    char* text = static_cast<char*>(std::malloc(len + 1));
    if (text) {
        std::memcpy(text, buf, len);
        text[len] = '\0';
    }
    return text;
}

// Marks a code that the system was asked about and has no text for.
const char s_szNone[] = "";

}  // namespace

const char* SysErrorString(DWORD code)
{
    if (code == 0)
        return "不明なエラー(0)";
    if (code >= (DWORD)-8)
        return s_lzTexts[(DWORD)-1 - code];
    int index = CoveredIndex(code);
    if (index < 0)
        return nullptr;
    if (const char* text = CompiledTextOf(code))
        return text;

    static const char* s_asked[COVERED_COUNT];
    if (!s_asked[index]) {
        const char* text = SystemText(code, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        if (!text)
            text = SystemText(code, LANG_SYSTEM_DEFAULT);
        s_asked[index] = text ? text : s_szNone;
    }
    return s_asked[index] == s_szNone ? nullptr : s_asked[index];
}

int GetSysErrorText(DWORD code, char* buf, int size, int flags)
{
    char text[1100];
    const char* known = SysErrorString(code);
    if (!known)
        std::snprintf(text, sizeof(text), "不明なエラー(番号：%ld)", (long)code);
    else if (flags & 1)
        std::snprintf(text, sizeof(text), "%s(番号：%ld)", known, (long)code);
    else
        SjisCopyCut(text, sizeof(text), known);
    if (buf && size > 0)
        SjisCopyCut(buf, size, text);
    return (int)std::strlen(text) + 1;
}
