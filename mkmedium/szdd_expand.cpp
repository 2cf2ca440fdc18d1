#include <cstring>

#include "mkmedium/szdd.h"

static const unsigned char SZDD_MAGIC[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

bool HasSzddMagic(const Bytes& file)
{
    return file.size() >= sizeof(SZDD_MAGIC) && std::memcmp(file.data(), SZDD_MAGIC, sizeof(SZDD_MAGIC)) == 0;
}

SzddExpansion SzddExpand(const Bytes& file, Bytes* data)
{
    SzddExpansion result;
    if (file.size() < SZDD_HEADER_SIZE) {
        result.status = SZDD_SHORT_HEADER;
        return result;
    }
    if (file[8] != 'A') {
        result.status = SZDD_UNKNOWN_MODE;
        return result;
    }
    result.declared = file[10] | file[11] << 8 | file[12] << 16 | (uint32_t)file[13] << 24;
    unsigned char window[4096];
    std::memset(window, ' ', sizeof(window));
    unsigned at = 4096 - 16;
    size_t in = SZDD_HEADER_SIZE;
    // The expander stops where the data ends, also inside an item.
    while (in < file.size()) {
        unsigned flags = file[in++];
        for (int bit = 0; bit < 8 && in < file.size(); ++bit, flags >>= 1) {
            if (flags & 1) {
                window[at] = file[in++];
                if (data)
                    data->push_back(window[at]);
                at = (at + 1) & 0xFFF;
                ++result.produced;
                continue;
            }
            if (in + 1 >= file.size()) {
                in = file.size();
                break;
            }
            unsigned from = file[in] | (file[in + 1] & 0xF0) << 4;
            unsigned length = (file[in + 1] & 0x0F) + 3;
            in += 2;
            for (unsigned i = 0; i < length; ++i) {
                unsigned char b = window[(from + i) & 0xFFF];
                window[at] = b;
                if (data)
                    data->push_back(b);
                at = (at + 1) & 0xFFF;
            }
            result.produced += length;
        }
    }
    if (result.produced != result.declared)
        result.status = SZDD_WRONG_LENGTH;
    return result;
}
