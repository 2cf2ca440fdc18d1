#include "dazo/keyfilter.h"

#include <cstring>
#include <initializer_list>

#include "base/memory.h"
#include "dazo/envname.h"

KeyFilter::~KeyFilter()
{
    DzFree(m_pBits);
}

void KeyFilter::Clear()
{
    if (m_pBits)
        std::memset(m_pBits, 0, BITS / 8);
}

// FNV-1a over the name folded as names compare (a lead byte with a valid
// trail byte as it is, any other byte through FoldByte), then MurmurHash3's
// final mix: FNV's low bits alone tell keys such as F00001 and F00002 apart
// too poorly, and the filter takes its bits from there.
uint64_t KeyFilter::Hash(const char* name, const char* end)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char* p = name; p < end; ++p) {
        bool pair = p + 1 < end && IsSjisLead((unsigned char)p[0]) && IsSjisTrail((unsigned char)p[1]);
        hash = (hash ^ (pair ? (unsigned char)*p : FoldByte((unsigned char)*p))) * 1099511628211ull;
        if (pair) {
            ++p;
            hash = (hash ^ (unsigned char)*p) * 1099511628211ull;
        }
    }
    hash = (hash ^ (hash >> 33)) * 0xff51afd7ed558ccdull;
    hash = (hash ^ (hash >> 33)) * 0xc4ceb9fe1a85ec53ull;
    return hash ^ (hash >> 33);
}

void KeyFilter::Add(const char* name, const char* end)
{
    if (!m_pBits) {
        m_pBits = static_cast<uint32_t*>(DzAlloc(BITS / 8));
        Clear();
    }
    uint64_t hash = Hash(name, end);
    for (uint32_t bit : {(uint32_t)hash % BITS, (uint32_t)(hash >> 32) % BITS})
        m_pBits[bit / 32] |= 1u << (bit % 32);
}

bool KeyFilter::MayHold(const char* name) const
{
    if (!m_pBits)
        return false;
    uint64_t hash = Hash(name, name + std::strlen(name));
    for (uint32_t bit : {(uint32_t)hash % BITS, (uint32_t)(hash >> 32) % BITS})
        if (!(m_pBits[bit / 32] & (1u << (bit % 32))))
            return false;
    return true;
}
