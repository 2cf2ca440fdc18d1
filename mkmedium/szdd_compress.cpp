// The compressor: an optimal parse of each block of input. A literal costs
// 9 bits (its flag bit and its byte) and a repeat of any length and distance
// 17, so given the longest repeat at every position (any shorter one at the
// same distance is a repeat too), the cheapest choice from each position
// back to the end of the block is found by one backward pass.
#include <algorithm>
#include <vector>

#include "mkmedium/szdd.h"

namespace {

constexpr int WINDOW = 4096;
constexpr int MIN_REPEAT = 3;
constexpr int MAX_REPEAT = 18;
// How far back a repeat may reach. Like the classic encoders, which keep the
// next 18 bytes in the window, this never asks an expander for a window
// byte that the repeat itself is about to overwrite.
constexpr int MAX_DISTANCE = WINDOW - MAX_REPEAT;
// The expander writes input byte i at window position (i + 4096 - 16) % 4096.
constexpr int WINDOW_START = WINDOW - 16;
constexpr int HASH_BITS = 15;
// Candidates tried per position: speed against ratio (scripts/bench-medium).
constexpr int MAX_CHAIN = 48;
constexpr size_t BLOCK = 1 << 16;
constexpr uint32_t LITERAL_BITS = 9;
constexpr uint32_t REPEAT_BITS = 17;

// Flag bytes and their items.
class ItemWriter {
public:
    explicit ItemWriter(Bytes* out) : m_out(out) {}

    void Literal(unsigned char b)
    {
        Flag(true);
        m_out->push_back(b);
    }
    // A repeat of length bytes from input position from (the window's spaces
    // before the input are positions -4096 to -1).
    void Repeat(long long from, int length)
    {
        Flag(false);
        unsigned position = (unsigned)(from + WINDOW_START) & (WINDOW - 1);
        m_out->push_back((unsigned char)(position & 0xFF));
        m_out->push_back((unsigned char)(((position >> 4) & 0xF0) | (length - MIN_REPEAT)));
    }

private:
    void Flag(bool literal)
    {
        if (m_bits == 8) {
            m_flagAt = m_out->size();
            m_out->push_back(0);
            m_bits = 0;
        }
        if (literal)
            (*m_out)[m_flagAt] |= (unsigned char)(1 << m_bits);
        ++m_bits;
    }

    Bytes* m_out;
    size_t m_flagAt = 0;
    int m_bits = 8;
};

class Compressor {
public:
    explicit Compressor(const Bytes& data) : m_text(WINDOW, ' '), m_head(1 << HASH_BITS, -1), m_prev(WINDOW, -1)
    {
        // The text is the window's initial spaces followed by the input, so
        // that repeats may start in the spaces.
        m_text.insert(m_text.end(), data.begin(), data.end());
        for (long long p = WINDOW - MAX_DISTANCE; p < WINDOW; ++p)
            Insert(p);
    }

    void Compress(ItemWriter* writer)
    {
        for (size_t start = WINDOW; start < m_text.size(); start += BLOCK)
            CompressBlock(start, std::min(start + BLOCK, m_text.size()), writer);
    }

private:
    unsigned Hash(long long p) const
    {
        uint32_t three = m_text[p] | m_text[p + 1] << 8 | m_text[p + 2] << 16;
        return (three * 2654435761u) >> (32 - HASH_BITS);
    }

    void Insert(long long p)
    {
        if (p + 2 >= (long long)m_text.size())
            return;
        unsigned h = Hash(p);
        m_prev[p & (WINDOW - 1)] = m_head[h];
        m_head[h] = p;
    }

    // The longest repeat at p of at most limit bytes: its length (0 for
    // none) and in *from where it starts.
    int Longest(long long p, int limit, long long* from) const
    {
        if (limit < MIN_REPEAT)
            return 0;
        const unsigned char* here = &m_text[p];
        int best = 0;
        long long q = m_head[Hash(p)];
        for (int tried = 0; q >= 0 && p - q <= MAX_DISTANCE && tried < MAX_CHAIN; ++tried, q = m_prev[q & (WINDOW - 1)]) {
            const unsigned char* there = &m_text[q];
            if (there[best] != here[best])
                continue;
            int n = 0;
            while (n < limit && there[n] == here[n])
                ++n;
            if (n > best) {
                best = n;
                *from = q;
                if (n == limit)
                    break;
            }
        }
        return best >= MIN_REPEAT ? best : 0;
    }

    void CompressBlock(size_t start, size_t end, ItemWriter* writer)
    {
        size_t n = end - start;
        m_length.assign(n, 0);
        m_from.resize(n);
        for (size_t i = 0; i < n; ++i) {
            long long p = (long long)(start + i);
            m_length[i] = (unsigned char)Longest(p, (int)std::min<size_t>(MAX_REPEAT, n - i), &m_from[i]);
            Insert(p);
        }
        // m_cost[i]: the fewest bits from i to the end of the block;
        // m_choice[i]: 1 for a literal, else the repeat's length.
        m_cost.assign(n + 1, 0);
        m_choice.assign(n, 1);
        for (size_t i = n; i-- > 0;) {
            m_cost[i] = LITERAL_BITS + m_cost[i + 1];
            for (int length = MIN_REPEAT; length <= m_length[i]; ++length) {
                uint32_t cost = REPEAT_BITS + m_cost[i + length];
                if (cost < m_cost[i]) {
                    m_cost[i] = cost;
                    m_choice[i] = (unsigned char)length;
                }
            }
        }
        for (size_t i = 0; i < n; i += m_choice[i]) {
            if (m_choice[i] == 1)
                writer->Literal(m_text[start + i]);
            else
                writer->Repeat(m_from[i] - WINDOW, m_choice[i]);
        }
    }

    Bytes m_text;
    std::vector<long long> m_head;
    std::vector<long long> m_prev;
    std::vector<unsigned char> m_length;
    std::vector<long long> m_from;
    std::vector<uint32_t> m_cost;
    std::vector<unsigned char> m_choice;
};

}  // namespace

Bytes SzddCompress(const Bytes& data, char lastChar)
{
    Bytes out = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', (unsigned char)lastChar};
    uint32_t length = (uint32_t)data.size();
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back((unsigned char)(length >> shift));
    ItemWriter writer(&out);
    Compressor(data).Compress(&writer);
    return out;
}
