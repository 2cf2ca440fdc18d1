#include "dazo/envname.h"

const char* MatchNameAt(const char* text, const char* end, const char* name)
{
    while (*name) {
        int len = NameCharLen(name);
        if (end && end - text < len)
            return nullptr;
        if (len == 2) {
            if (text[0] != name[0] || text[1] != name[1])
                return nullptr;
        } else if (FoldByte((unsigned char)*text) != FoldByte((unsigned char)*name)) {
            return nullptr;
        }
        text += len;
        name += len;
    }
    return text;
}
