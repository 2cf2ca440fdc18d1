// DataObjStr: the one string type. A handle holds a pointer to the text of a
// reference-counted buffer that all copies share until one of them writes.
// The same object is a small output stream: operator<< writes at a position
// kept in the buffer, which is how messages and NUL-separated lists are built.
// Lengths, indexes and positions count bytes (code page 932).
#pragma once

#include <cstdint>

#include "dazo/FObject.h"

class DataObjStr;

// An abstract reference-counted value.
class DataObj : public FObject {
public:
    int32_t m_cRef = 1;

    virtual double GetDouble() = 0;
    virtual long GetLong() = 0;
    virtual DataObjStr GetStr() = 0;
};

class DataObjStr {
public:
    class Buffer;

    DataObjStr();
    DataObjStr(const char* ps, int len = -1);
    explicit DataObjStr(char c);
    explicit DataObjStr(const wchar_t* pws, int len = -1);
    DataObjStr(const DataObjStr& other);
    DataObjStr& operator=(const DataObjStr& other);
    ~DataObjStr();

    // Reading. The pointer stays valid until the next write through any
    // handle of this string.
    operator const char*() const { return m_ps; }
    int GetLength() const;
    int GetCapacity() const;
    int GetPos() const;

    // Writing; each makes the buffer this handle's own first.
    char* GetBuffer(int n);
    char& At(int i);
    void SetSize(int n);
    void SetPos(int n);
    DataObjStr& operator<<(const char* text);
    DataObjStr& operator<<(char c);

    // New strings from old.
    DataObjStr Mid(int start, int count) const;
    DataObjStr MidMbcs(int start, int count) const;
    DataObjStr Right(int n) const;
    friend DataObjStr operator+(const DataObjStr& a, const char* b);

private:
    explicit DataObjStr(Buffer* buffer);
    Buffer* Buff() const;
    bool IsSoleOwner() const;
    char* MakeRoom(int pos, int n);
    void Realloc(int n);

    char* m_ps;
};

DataObjStr operator+(const DataObjStr& a, const char* b);
