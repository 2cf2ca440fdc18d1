#include "mkmedium/names.h"

#include <cstdio>
#include <cstring>

#include "mkmedium/cp932.h"

static const char* const s_macros[] = {"$(AppPath)", "$(DocPath)", "$(WinPath)", "$(WinSysPath)"};

// Length of the path macro at the start of text (any case), or 0.
static size_t MacroLength(const std::string& text)
{
    for (const char* macro : s_macros) {
        size_t n = std::strlen(macro);
        if (text.size() >= n && FoldNameCase(text.substr(0, n)) == FoldNameCase(macro))
            return n;
    }
    return 0;
}

// The first byte that no Windows name may hold (controls, and the
// characters in forbidden outside double-byte characters), described.
static std::string BadCharProblem(const std::string& text, const char* forbidden)
{
    for (size_t i = 0; i < text.size(); i += Cp932CharLen(text, i)) {
        unsigned char c = (unsigned char)text[i];
        char shown[64];
        if (c < 0x20) {
            std::snprintf(shown, sizeof(shown), "holds the control byte 0x%02X", c);
            return shown;
        }
        if (Cp932CharLen(text, i) == 1 && std::strchr(forbidden, c)) {
            std::snprintf(shown, sizeof(shown), "holds the character %c, which Windows names cannot hold", c);
            return shown;
        }
    }
    return "";
}

std::string TargetNameProblem(const std::string& name)
{
    if (name.empty())
        return "has no file name";
    std::string bad = BadCharProblem(name, "\\/:*?\"<>|");
    if (!bad.empty())
        return bad;
    // Spaces and dots are never the second byte of a double-byte character.
    if (name.back() == ' ' || name.back() == '.')
        return "ends in a space or a dot, which Windows drops from a file name";
    // Device names stay devices whatever their extension.
    std::string base = FoldNameCase(name.substr(0, name.find('.')));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : devices)
        if (base == device)
            return "is the name of a device";
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
        base[3] <= '9')
        return "is the name of a device";
    return "";
}

std::string TargetFolderProblem(const std::string& folder)
{
    std::string bad = BadCharProblem(folder, "*?\"<>|");
    if (!bad.empty())
        return bad;
    bool drive = folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\' &&
                 ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
    bool share = folder.compare(0, 2, "\\\\") == 0;
    if (!MacroLength(folder) && !drive && !share)
        return "does not start with $(AppPath), $(DocPath), $(WinPath), $(WinSysPath) or a drive";
    return "";
}

bool SplitTargetPath(const std::string& path, std::string* folder, std::string* name)
{
    size_t macro = MacroLength(path);
    size_t slash = FindLastCp932Char(path, '\\');
    size_t nameStart = slash != std::string::npos && slash >= macro ? slash + 1 : macro;
    if (nameStart == 0)
        return false;
    *name = path.substr(nameStart);
    *folder = path.substr(0, nameStart);
    bool driveRoot = folder->size() == 3 && (*folder)[1] == ':';
    if (folder->size() > macro && !driveRoot && FindLastCp932Char(*folder, '\\') == folder->size() - 1)
        folder->pop_back();
    if (macro && folder->size() > macro && (*folder)[macro] == '\\')
        folder->erase(macro, 1);
    return true;
}

std::string CompressedName(const std::string& name, char* lastChar)
{
    *lastChar = 0;
    size_t dot = name.find('.');
    if (dot == std::string::npos)
        return name + "._";
    size_t extLen = name.size() - dot - 1;
    size_t lastStart = dot + 1;
    for (size_t i = dot + 1; i < name.size(); i += Cp932CharLen(name, i))
        lastStart = i;
    if (extLen < 3 || Cp932CharLen(name, lastStart) == 2)
        return name + "_";
    *lastChar = name.back();
    return name.substr(0, name.size() - 1) + "_";
}

bool SameName(const std::string& a, const std::string& b)
{
    return FoldNameCase(a) == FoldNameCase(b);
}
