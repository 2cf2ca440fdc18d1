// KeyFilter: a Bloom filter of names under the comparison of dazo/envname.h
// (names that compare equal fold to the same bytes, so they hash alike). It
// answers "certainly never added" or "perhaps added"; FEnv2 uses it to prove
// that no line it has passed holds a key, so that a lookup may go on from
// where the previous one stopped.
#pragma once

#include <cstdint>

class KeyFilter {
public:
    KeyFilter() = default;
    KeyFilter(const KeyFilter&) = delete;
    KeyFilter& operator=(const KeyFilter&) = delete;
    ~KeyFilter();

    void Clear();
    // Adds the name made of the bytes [name, end).
    void Add(const char* name, const char* end);
    // False only when no name equal to this one was added.
    bool MayHold(const char* name) const;

private:
    static uint64_t Hash(const char* name, const char* end);

    // 2^18 bits (32 KB): for the 10,000 keys of a large file list about one
    // lookup in 200 is a false "perhaps", which costs a scan from the start
    // of the section.
    static const uint32_t BITS = 1u << 18;
    uint32_t* m_pBits = nullptr;
};
