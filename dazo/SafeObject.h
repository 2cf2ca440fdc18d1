// SafeObject and SafePtr: the reference counting of the library's objects
// (settings files, file locks, section objects, window helpers). An object is
// made with new and handed at once to a SafePtr; each SafePtr holds one
// reference, and dropping the last one runs OnRelease and deletes the object.
// An object belongs to the thread that uses it, so the count is a plain one.
#pragma once

#include <cstdint>

#include "dazo/FObject.h"

class SafeObject : public FObject {
public:
    SafeObject() = default;
    SafeObject(const SafeObject&) = delete;
    SafeObject& operator=(const SafeObject&) = delete;

    // Virtual slot 0 is the destructor (FObject's), slot 1 this hook: it runs
    // when the last reference goes, just before the object is deleted, while
    // the object is still whole.
    virtual void OnRelease() {}

    void AddRef() { ++m_cRef; }
    void Release()
    {
        if (--m_cRef == 0) {
            OnRelease();
            delete this;
        }
    }
    int32_t GetRefCount() const { return m_cRef; }

private:
    int32_t m_cRef = 0;
};

template <class T>
class SafePtr {
public:
    SafePtr() = default;
    explicit SafePtr(T* p) : m_p(p) { Hold(); }
    SafePtr(const SafePtr& other) : m_p(other.m_p) { Hold(); }
    // From a handle of a derived class.
    template <class U>
    SafePtr(const SafePtr<U>& other) : m_p(other.Get())
    {
        Hold();
    }
    ~SafePtr() { Drop(); }

    SafePtr& operator=(const SafePtr& other)
    {
        // Taken before dropping, so that assigning a handle to itself, or to
        // one that only the old object kept alive, stays safe.
        T* p = other.m_p;
        if (p)
            p->AddRef();
        Drop();
        m_p = p;
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    void Hold()
    {
        if (m_p)
            m_p->AddRef();
    }
    void Drop()
    {
        T* p = m_p;
        m_p = nullptr;
        if (p)
            p->Release();
    }

    T* m_p = nullptr;
};
