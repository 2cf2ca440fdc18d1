// The path text functions. Names end in characters whose trail byte is 0x5C
// (表 ソ 能), and "\x81/" is a lead byte followed by 0x2F: neither may be
// taken for a separator.
#include <cerrno>

#include "dazo/Func.h"
#include "scratch_test.h"

namespace {

std::string Apply(char function, const char* path)
{
    DataObjStr text(path);
    switch (function) {
    case 'n':
        return std::to_string(GetFileNamePos(path));
    case 'e':
        return std::to_string(GetExtPos(path));
    case 'd':
        return std::string(GetDirPart(text));
    case 'r':
        return std::string(GetRootPart(text));
    case '+':
        return std::string(AddBackslash(text));
    default:
        text.GetBuffer(400);  // the capacity must be trimmed again
        RemoveBackslash(text);
        return text.GetCapacity() < 400 ? std::string(text) : "(capacity not trimmed)";
    }
}

TEST(FilesPathText, EveryFunctionOnItsRows)
{
    // n: file-name position, e: extension position, d: folder part, r: root,
    // +: AddBackslash, -: RemoveBackslash.
    const struct {
        char function;
        const char* path;
        const char* expected;
    } rows[] = {
        {'n', "C:\\DIR\\FILE.TXT", "7"},   {'n', "DIR/FILE", "4"},
        {'n', "C:FILE", "2"},              {'n', "C:", "2"},
        {'n', "FILE", "0"},                {'n', "\\\\srv\\share\\FILE", "12"},
        {'n', "C:\\DIR\\ソ能表", "7"},     {'n', "C:\\表\\ソ", "6"},
        {'n', "DIR\\\x81/X", "4"},         {'e', "C:\\DIR\\A.B.TXT", "10"},
        {'e', "C:\\DIR\\表ソ.能", "11"},   {'e', "C:\\DIR.X\\FILE", "13"},
        {'e', "能.X\\表", "7"},            {'e', "", "0"},
        {'d', "C:\\表\\ソ.TXT", "C:\\表\\"}, {'d', "C:FILE", "C:"},
        {'d', "FILE", ""},                 {'d', "A/\x81/", "A/"},
        {'r', "C:\\DIR\\FILE", "C:\\"},    {'r', "\\\\srv\\share", "\\\\srv\\share\\"},
        {'r', "\\\\表\\能表\\DIR", "\\\\表\\能表\\"}, {'r', "DIR\\FILE", ""},
        {'+', "C:\\DIR", "C:\\DIR\\"},     {'+', "C:\\ソ", "C:\\ソ\\"},
        {'+', "C:\\\x81/", "C:\\\x81/\\"}, {'+', "C:\\DIR/", "C:\\DIR/"},
        {'+', "C:", "C:"},                 {'+', "", ""},
        {'+', "C:\\DIR\\  ", "C:\\DIR\\  "}, {'+', "  ", "  "},
        {'-', "C:\\DIR\\ ", "C:\\DIR"},    {'-', "C:\\DIR   ", "C:\\DIR"},
        {'-', "C:\\DIR\\\\", "C:\\DIR\\"}, {'-', "C:\\DIR\\表\\", "C:\\DIR\\表"},
        {'-', "C:\\DIR\\ソ  ", "C:\\DIR\\ソ"}, {'-', "能", "能"},
        {'-', "\\", ""},                   {'-', "   ", ""},
        {'-', "C:\\", "C:\\"},             {'-', "C:\\ ", "C:\\"},
    };
    for (const auto& row : rows)
        EXPECT_SAME_TEXT(row.expected, Apply(row.function, row.path)) << row.function << " " << robot::Quoted(row.path);
}

TEST(FilesPathText, NameCheckRefusesAngleBracketsAndSlashOnly)
{
    for (const char* path : {"C:\\A<B", "C:\\A>B", "C:\\DIR/FILE", "表<", "/"}) {
        errno = 0;
        EXPECT_EQ(0, CheckFileName(path)) << robot::Quoted(path);
        EXPECT_EQ(-3, errno) << robot::Quoted(path);
    }
    for (const char* path : {"C:\\表\\ソ能.TXT", "C:\\DIR\\\x81/", ""})
        EXPECT_EQ(1, CheckFileName(path)) << robot::Quoted(path);
}

}  // namespace
