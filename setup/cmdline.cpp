// The command tail: "/UPDATE", "/UNINSTALL" and a source folder, in any order.
#include "setup/setup.h"

// Compares the option name over its whole length, ASCII letters without
// regard to case, stopping early only at the end of the text.
static bool MatchOption(const char* p, const char* name)
{
    for (; *name; ++p, ++name) {
        char c = *p;
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        if (c != *name)
            return false;
    }
    return true;
}

// Blanks separate words; a tab does not.
static const char* SkipBlanks(const char* p)
{
    while (*p == ' ')
        ++p;
    return p;
}

CommandLine ParseCommandTail(const char* tail)
{
    CommandLine line;
    DataObjStr words;
    const char* p = SkipBlanks(tail);
    while (*p) {
        if (*p == '/') {
            ++p;
            // A prefix match: "/UPDATEX" sets the flag and leaves the X to be
            // read as a word.
            if (MatchOption(p, "UPDATE")) {
                line.fUpdate = true;
                p += 6;
            } else if (MatchOption(p, "UNINSTALL")) {
                line.fUninstall = true;
                p += 9;
            }
        } else if (*p == '"') {
            ++p;
            while (*p && *p != '"')
                words << *p++;
            if (*p == '"')
                ++p;
            words << '\0';
        } else {
            while (*p && *p != ' ')
                words << *p++;
            words << '\0';
        }
        p = SkipBlanks(p);
    }
    // Each word ended with a NUL: the first one is the source folder.
    line.strSource = DataObjStr((const char*)words);
    return line;
}
