#include "mkmedium/console.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

// A progress line longer than the terminal would wrap and no longer be
// replaced: long names are shortened from the left.
static const size_t PROGRESS_COLUMNS = 72;

// Terminal columns of a UTF-8 text: an ASCII character takes one, the
// Japanese characters of names take two.
static size_t Columns(const std::string& text)
{
    size_t n = 0;
    for (unsigned char c : text)
        n += c < 0x80 ? 1 : (c & 0xC0) == 0xC0 ? 2 : 0;
    return n;
}

StdConsole::StdConsole() : m_fTerminal(isatty(fileno(stdout)) != 0)
{
#ifdef _WIN32
    // Names may be Japanese whatever the console's own code page.
    SetConsoleOutputCP(CP_UTF8);
#endif
}

void StdConsole::Problem(const std::string& text)
{
    Progress("");
    std::fprintf(stderr, "mkmedium: %s\n", text.c_str());
}

void StdConsole::Say(const std::string& text)
{
    Progress("");
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

void StdConsole::Progress(const std::string& text)
{
    if (!m_fTerminal || (text.empty() && m_shown == 0))
        return;
    std::string line = text;
    while (Columns(line) > PROGRESS_COLUMNS) {
        size_t cut = 4;
        while (cut < line.size() && ((unsigned char)line[cut] & 0xC0) == 0x80)
            ++cut;
        line = "..." + line.substr(cut);
    }
    size_t columns = Columns(line);
    std::printf("\r%s%*s%s", line.c_str(), (int)(m_shown > columns ? m_shown - columns : 0), "", text.empty() ? "\r" : "");
    std::fflush(stdout);
    m_shown = columns;
}

std::string GroupDigits(unsigned long long n)
{
    std::string digits = std::to_string(n);
    for (int at = (int)digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, ",");
    return digits;
}
