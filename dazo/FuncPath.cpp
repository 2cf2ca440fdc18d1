// Path text: the parts of a path, the trailing backslash, full paths.
#include <cerrno>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "dazo/Func.h"

static bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

static bool HasDrive(const char* path)
{
    return IsDriveLetter(path[0]) && path[1] == ':';
}

int GetFileNamePos(const char* path)
{
    int pos = HasDrive(path) ? 2 : 0;
    for (int i = 0, n; (n = SjisCharLen(path + i)) != 0; i += n)
        if (n == 1 && (path[i] == '\\' || path[i] == '/') && i + 1 > pos)
            pos = i + 1;
    return pos;
}

int GetExtPos(const char* path)
{
    int i = GetFileNamePos(path);
    int dot = -1;
    for (int n; (n = SjisCharLen(path + i)) != 0; i += n)
        if (n == 1 && path[i] == '.')
            dot = i;
    return dot >= 0 ? dot : i;
}

DataObjStr GetDirPart(const DataObjStr& path)
{
    return path.Mid(0, GetFileNamePos(path));
}

DataObjStr GetRootPart(const DataObjStr& fullPath)
{
    const char* p = fullPath;
    if (HasDrive(p))
        return DataObjStr(p, 2) + "\\";
    if (p[0] != '\\' || p[1] != '\\')
        return DataObjStr();
    // \\server\share: the root ends after the share's name.
    int i = 2;
    for (int part = 0; part < 2; ++part) {
        while (p[i] && !(p[i] == '\\' && !IsSjisTrailAt(p, i)))
            i += SjisCharLen(p + i);
        if (part == 0 && p[i])
            ++i;
    }
    return DataObjStr(p, i) + "\\";
}

DataObjStr AddBackslash(const DataObjStr& path)
{
    if (IsBlankText((const char*)path + GetFileNamePos(path)))
        return path;
    return path + "\\";
}

void RemoveBackslash(DataObjStr& path)
{
    int len = path.GetLength();
    while (len > 0 && path[len - 1] == ' ')
        --len;
    // The last byte may be the trail byte of a character such as 表; that is
    // not a separator.
    if (len > 0 && path[len - 1] == '\\' && !IsSjisTrailAt(path, len - 1) && !(len >= 2 && path[len - 2] == ':'))
        --len;
    path.GetBuffer(0)[len] = '\0';
    path.SetSize(len + 1);
}

int CheckFileName(const char* path)
{
    for (int i = 0, n; (n = SjisCharLen(path + i)) != 0; i += n) {
        if (n == 1 && (path[i] == '<' || path[i] == '>' || path[i] == '/')) {
            errno = -3;
            return 0;
        }
    }
    return 1;
}

// ---- GetFullPath ------------------------------------------------------------

namespace {

// The path after step 1: trimmed, with every slash turned into a backslash.
DataObjStr Normalised(const DataObjStr& path)
{
    const char* p = path;
    while (*p == ' ')
        ++p;
    DataObjStr text(p);
    int len = text.GetLength();
    while (len > 0 && text[len - 1] == ' ')
        --len;
    char* buf = text.GetBuffer(0);
    buf[len] = '\0';
    for (int i = 0, n; (n = SjisCharLen(buf + i)) != 0; i += n)
        if (n == 1 && buf[i] == '/')
            buf[i] = '\\';
    return text;
}

DataObjStr CurrentFolder()
{
    DataObjStr folder;
    DWORD len = GetCurrentDirectoryA(MAX_PATH, folder.GetBuffer(MAX_PATH));
    if (len >= MAX_PATH)
        GetCurrentDirectoryA(len, folder.GetBuffer(len));
    else if (len == 0)
        folder.GetBuffer(1)[0] = '\0';
    return AddBackslash(folder);
}

// Splits off the root of text into *root; returns the offset where the
// components begin.
int SplitRoot(const char* text, DataObjStr* root)
{
    if (text[0] == '\\' && text[1] == '\\') {
        // \\server\share: as written, with the backslash after the share.
        *root = GetRootPart(text);
        int len = root->GetLength() - 1;
        return text[len] ? len + 1 : len;
    }
    if (HasDrive(text)) {
        char drive[4] = {(char)(text[0] & ~0x20), ':', '\\', '\0'};
        if (text[2] == '\\') {
            *root = DataObjStr(drive);
            return 3;
        }
        // Drive-relative: the current folder of that drive.
        drive[2] = '\0';
        DataObjStr current;
        DWORD len = GetFullPathNameA(drive, MAX_PATH, current.GetBuffer(MAX_PATH), nullptr);
        if (len == 0 || len >= MAX_PATH) {
            drive[2] = '\\';
            *root = DataObjStr(drive);
        } else {
            *root = AddBackslash(current);
        }
        return 2;
    }
    if (text[0] == '\\') {
        DataObjStr current = CurrentFolder();
        *root = current.Mid(0, HasDrive(current) ? 3 : current.GetLength());
        return 1;
    }
    *root = CurrentFolder();
    return 0;
}

// Whether the text of len bytes ends with a backslash that is not the trail
// byte of a double-byte character.
bool EndsWithSeparator(const char* text, int len)
{
    return len > 0 && text[len - 1] == '\\' && !IsSjisTrailAt(text, len - 1);
}

bool HasWildcard(const char* text, int len)
{
    for (int i = 0; i < len; i += SjisCharLen(text + i))
        if (text[i] == '*' || text[i] == '?')
            return true;
    return false;
}

}  // namespace

DataObjStr GetFullPath(const DataObjStr& path)
{
    DataObjStr text = Normalised(path);
    const char* in = text;
    int inLen = text.GetLength();

    DataObjStr root;
    int pos = SplitRoot(in, &root);
    DataObjStr result;
    result << (const char*)root;
    const int rootLen = root.GetLength();

    // Lengths of the result before each written component, for "..".
    std::vector<int> written;

    while (pos < inLen) {
        while (in[pos] == '\\')
            ++pos;
        if (pos >= inLen)
            break;
        int end = pos;
        while (end < inLen && !(in[end] == '\\' && !IsSjisTrailAt(in, end)))
            end += SjisCharLen(in + end);
        int len = end - pos;
        bool separatorFollows = end < inLen;

        if (len == 1 && in[pos] == '.') {
            pos = end;
            continue;
        }
        if (len == 2 && in[pos] == '.' && in[pos + 1] == '.' && !written.empty()) {
            // The removed component's own backslash stays, so the ".." writes
            // none: no doubled separator after the root.
            result.SetPos(written.back());
            written.pop_back();
            result << "";
            pos = end;
            continue;
        }
        DataObjStr component(in + pos, len);
        WIN32_FIND_DATAA found;
        HANDLE hFind = HasWildcard(in + pos, len) ? INVALID_HANDLE_VALUE
                                                    : FindFirstFileA(result + component, &found);
        if (hFind == INVALID_HANDLE_VALUE) {
            // Not on disk (or a pattern): the rest stays as typed.
            result << (in + pos);
            return result;
        }
        FindClose(hFind);
        written.push_back(result.GetPos());
        result << found.cFileName;
        if (separatorFollows)
            result << '\\';
        pos = end;
    }

    int len = result.GetLength();
    bool inputEnds = EndsWithSeparator(in, inLen);
    bool resultEnds = EndsWithSeparator(result, len);
    if (inputEnds && !resultEnds)
        result << '\\';
    else if (!inputEnds && resultEnds && len > rootLen)
        result = result.Mid(0, len - 1);
    return result;
}
