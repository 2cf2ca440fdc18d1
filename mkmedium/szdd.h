// The compressed format that Windows' LZ expansion library (LZ32:
// LZOpenFile, LZRead) and EXPAND.EXE read, known by its magic "SZDD":
//
//   header  "SZDD" 0x88 0xF0 0x27 0x33, 'A' (the only mode), the byte that
//           the name's "_" stands for, the expanded length (32 bits, LSB
//           first): 14 bytes
//   data    groups of a flag byte and up to eight items, flag bits LSB
//           first; a set bit is one literal byte, a clear bit a pair of
//           bytes b1 b2 that repeats (b2 & 15) + 3 bytes from position
//           b1 | (b2 & 0xF0) << 4 of a 4096-byte window. The window starts
//           as spaces and its write position at 4096 - 16; the expander
//           copies byte by byte, so a repeat may overlap what it writes.
//
// The expander reads until the data ends (it never stops at the length in
// the header), so the data must expand to exactly that length.
#pragma once

#include <cstdint>

#include "mkmedium/diskfiles.h"

constexpr size_t SZDD_HEADER_SIZE = 14;
// The largest file the header's length can describe.
constexpr uint64_t SZDD_MAX_SIZE = 0xFFFFFFFFu;

// The compressed file of data; lastChar is the header's restoring byte.
Bytes SzddCompress(const Bytes& data, char lastChar);

bool HasSzddMagic(const Bytes& file);

enum SzddStatus {
    SZDD_OK,
    SZDD_SHORT_HEADER,   // the magic, but not the whole header
    SZDD_UNKNOWN_MODE,   // a mode other than 'A'
    SZDD_WRONG_LENGTH,   // the data does not expand to the header's length
};

struct SzddExpansion {
    SzddStatus status = SZDD_OK;
    uint32_t declared = 0;   // the header's length
    uint64_t produced = 0;   // what the data expands to
};

// Expands a file that has the magic, as LZRead does, into *data (when not
// null).
SzddExpansion SzddExpand(const Bytes& file, Bytes* data);
