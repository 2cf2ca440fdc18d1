#include "dazo/Data.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "base/errreport.h"
#include "base/text.h"
#include "base/memory.h"

static const char s_szSrc[] = "dazo/Data";

// The heap buffer: header fields, then m_sizeBuff bytes of text. One more
// byte beyond the capacity is always NUL, so that a text that fills its whole
// capacity (after SetSize cut it short) still reads safely as a C string.
class DataObjStr::Buffer : public DataObj {
public:
    int32_t m_sizeBuff;
    int32_t m_pos = 0;

    explicit Buffer(int capacity) : m_sizeBuff(capacity) { Chars()[capacity] = '\0'; }

    char* Chars() { return reinterpret_cast<char*>(this + 1); }

    double GetDouble() override { return std::atof(Chars()); }
    long GetLong() override { return std::atol(Chars()); }
    DataObjStr GetStr() override
    {
        ++m_cRef;
        return DataObjStr(this);
    }

    static Buffer* Allocate(int capacity);
    static void Release(Buffer* buffer);
};

// The largest capacity a buffer may have; a request beyond it is treated as
// running out of memory rather than allowed to overflow the size arithmetic.
static const int64_t MAX_CAPACITY = INT_MAX / 2;

DataObjStr::Buffer* DataObjStr::Buffer::Allocate(int capacity)
{
    if (capacity < 10)
        capacity = 10;
    void* memory = DzAlloc(sizeof(Buffer) + capacity + 1);
    return new (memory) Buffer(capacity);
}

void DataObjStr::Buffer::Release(Buffer* buffer)
{
    if (--buffer->m_cRef == 0) {
        buffer->~Buffer();
        DzFree(buffer);
    }
}

// The shared empty buffer: capacity 1, made on first use in static storage.
// The library keeps one reference for the life of the process, so it is never
// freed.
alignas(DataObjStr::Buffer) static unsigned char s_NullBuff[sizeof(DataObjStr::Buffer) + 2];

static DataObjStr::Buffer* GetNullBuff()
{
    static DataObjStr::Buffer* s_pNull;
    if (!s_pNull) {
        DataObjStr::Buffer* pNull = new (s_NullBuff) DataObjStr::Buffer(1);
        DZ_ASSERT(s_szSrc, (void *)pNull==(void *)s_NullBuff);
        pNull->Chars()[0] = '\0';
        s_pNull = pNull;
    }
    return s_pNull;
}

static int64_t CheckedCapacity(int64_t n)
{
    if (n > MAX_CAPACITY)
        ReportErrorCode(ERR_NOMEM, "");
    return n;
}

DataObjStr::DataObjStr(Buffer* buffer) : m_ps(buffer->Chars()) {}

DataObjStr::Buffer* DataObjStr::Buff() const
{
    return reinterpret_cast<Buffer*>(m_ps) - 1;
}

bool DataObjStr::IsSoleOwner() const
{
    return Buff()->m_cRef < 2;
}

DataObjStr::DataObjStr()
{
    Buffer* null = GetNullBuff();
    ++null->m_cRef;
    m_ps = null->Chars();
}

DataObjStr::DataObjStr(const char* ps, int len)
{
    DZ_ASSERT(s_szSrc, ps);
    if (len < 0)
        len = (int)CheckedCapacity((int64_t)std::strlen(ps));
    Buffer* buffer = Buffer::Allocate((int)CheckedCapacity((int64_t)len + 1));
    std::memcpy(buffer->Chars(), ps, len);
    buffer->Chars()[len] = '\0';
    m_ps = buffer->Chars();
}

DataObjStr::DataObjStr(char c)
{
    Buffer* buffer = Buffer::Allocate(10);
    buffer->Chars()[0] = c;
    buffer->Chars()[1] = '\0';
    m_ps = buffer->Chars();
}

DataObjStr::DataObjStr(const wchar_t* pws, int len)
{
    if (len < 0)
        len = (int)CheckedCapacity((int64_t)std::wcslen(pws));
    int size = (int)CheckedCapacity(2 * (int64_t)len + 1);
    char* converted = static_cast<char*>(DzAlloc(size));
    int ret = len ? WideCharToMultiByte(CP_ACP, 0, pws, len, converted, size, nullptr, nullptr) : 0;
    DZ_ASSERT(s_szSrc, ret>=0);
    converted[ret] = '\0';
    Buffer* buffer = Buffer::Allocate(ret + 1);
    std::memcpy(buffer->Chars(), converted, ret + 1);
    DzFree(converted);
    m_ps = buffer->Chars();
}

DataObjStr::DataObjStr(const DataObjStr& other) : m_ps(other.m_ps)
{
    ++Buff()->m_cRef;
}

DataObjStr& DataObjStr::operator=(const DataObjStr& other)
{
    if (other.m_ps != m_ps) {
        ++other.Buff()->m_cRef;
        Buffer::Release(Buff());
        m_ps = other.m_ps;
    }
    return *this;
}

DataObjStr::~DataObjStr()
{
    Buffer::Release(Buff());
}

int DataObjStr::GetLength() const
{
    const void* nul = std::memchr(m_ps, '\0', Buff()->m_sizeBuff);
    return nul ? (int)(static_cast<const char*>(nul) - m_ps) : Buff()->m_sizeBuff;
}

int DataObjStr::GetCapacity() const
{
    return Buff()->m_sizeBuff;
}

int DataObjStr::GetPos() const
{
    return Buff()->m_pos;
}

// Moves the text into a new buffer of capacity max(n, 10) owned by this handle
// alone, keeping min(n, old capacity) bytes and the write position. Bytes the
// copy did not cover are zero.
void DataObjStr::Realloc(int n)
{
    Buffer* old = Buff();
    Buffer* buffer = Buffer::Allocate(n);
    int keep = 0;
    if (old != GetNullBuff())
        keep = n < old->m_sizeBuff ? (n < 0 ? 0 : n) : old->m_sizeBuff;
    std::memcpy(buffer->Chars(), old->Chars(), keep);
    std::memset(buffer->Chars() + keep, 0, buffer->m_sizeBuff - keep);
    buffer->m_pos = old->m_pos;
    Buffer::Release(old);
    m_ps = buffer->Chars();
}

// Makes bytes [pos, pos + n) writable in a buffer of this handle's own;
// grows by a quarter plus one byte when they do not fit.
char* DataObjStr::MakeRoom(int pos, int n)
{
    int64_t need = CheckedCapacity((int64_t)pos + n);
    if (need <= Buff()->m_sizeBuff) {
        if (!IsSoleOwner())
            Realloc(Buff()->m_sizeBuff);
    } else {
        Realloc((int)CheckedCapacity(need + need / 4 + 1));
    }
    return m_ps + pos;
}

char* DataObjStr::GetBuffer(int n)
{
    if (n <= Buff()->m_sizeBuff) {
        if (!IsSoleOwner())
            Realloc(Buff()->m_sizeBuff);
    } else {
        Realloc((int)CheckedCapacity(n));
    }
    return m_ps;
}

char& DataObjStr::At(int i)
{
    static char s_scratch;
    if (i < 0) {
        s_scratch = '\0';
        return s_scratch;
    }
    if ((int64_t)i + 1 < Buff()->m_sizeBuff && IsSoleOwner())
        return m_ps[i];
    return *MakeRoom(i, 1);
}

void DataObjStr::SetSize(int n)
{
    if (n < 0)
        n = 0;
    if (Buff()->m_sizeBuff != n && IsSoleOwner())
        Realloc(n);
}

void DataObjStr::SetPos(int n)
{
    // A negative position would make the next write land before the text.
    GetBuffer(0);
    Buff()->m_pos = n < 0 ? 0 : n;
}

DataObjStr& DataObjStr::operator<<(const char* text)
{
    // A text taken from this very buffer would move away under MakeRoom.
    Buffer* buffer = Buff();
    if (text >= buffer->Chars() && text <= buffer->Chars() + buffer->m_sizeBuff) {
        DataObjStr copy(text);
        return *this << (const char*)copy;
    }
    int len = (int)CheckedCapacity((int64_t)std::strlen(text));
    char* p = MakeRoom(Buff()->m_pos, len + 1);
    std::memcpy(p, text, len + 1);
    Buff()->m_pos += len;
    return *this;
}

DataObjStr& DataObjStr::operator<<(char c)
{
    int pos = Buff()->m_pos;
    char* p = IsSoleOwner() && Buff()->m_sizeBuff > (int64_t)pos + 1 ? m_ps + pos : MakeRoom(pos, 2);
    p[0] = c;
    p[1] = '\0';
    Buff()->m_pos = pos + 1;
    return *this;
}

// Clamps the range [start, start + count) of a text of len bytes: start to
// [0, len], the end to [start, len].
static void ClampRange(int len, int& start, int count, int& end)
{
    int64_t e = (int64_t)start + count;
    start = start < 0 ? 0 : (start > len ? len : start);
    end = e < start ? start : (e > len ? len : (int)e);
}

DataObjStr DataObjStr::Mid(int start, int count) const
{
    int len = GetLength();
    int end;
    ClampRange(len, start, count, end);
    if (end == start)
        return DataObjStr();
    if (start == 0 && end == len)
        return *this;
    return DataObjStr(m_ps + start, end - start);
}

// As Mid, but never splits a double-byte character: a range that starts on a
// trail byte starts one byte later, one that ends before a trail byte ends
// one byte earlier.
DataObjStr DataObjStr::MidMbcs(int start, int count) const
{
    int len = GetLength();
    int end;
    ClampRange(len, start, count, end);
    if (end > start) {
        if (IsSjisTrailAt(m_ps, start))
            ++start;
        if (end < len && IsSjisTrailAt(m_ps, end))
            --end;
    }
    return Mid(start, end - start);
}

DataObjStr DataObjStr::Right(int n) const
{
    return MidMbcs(GetLength() - n, n);
}

DataObjStr operator+(const DataObjStr& a, const char* b)
{
    DataObjStr result(a);
    int lenA = a.GetLength();
    int lenB = (int)CheckedCapacity((int64_t)std::strlen(b));
    char* p = result.MakeRoom(lenA, lenB + 1);
    std::memcpy(p, b, lenB + 1);
    return result;
}
