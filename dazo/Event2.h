// Event2: an event list. Listeners connect a callback with a context; firing
// the list calls each callback in the order of connection. The service
// window's notifications (system colours, WIN.INI, printer modes, clipboard)
// are event lists, and every window of the library is one too.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dazo/SafeObject.h"

class Event2;

// A listener: answers 0 to stop the firing (the list's Fire then answers 0).
typedef int (*EventCallback)(void* context, Event2* sender, LPARAM argument);

class Event2 : public SafeObject {
public:
    Event2() = default;
    // Disconnects every connection still attached.
    ~Event2() override;

    // Virtual slot 2: whether the object may be closed now; 1.
    virtual int CanClose() { return 1; }

    // Appends a connection. `connection` is the listener's own value that
    // tells two connections of one callback and context apart.
    void Connect(void* context, EventCallback callback, void* connection = nullptr);
    // Removes the last connection equal to the three values.
    void Disconnect(void* context, EventCallback callback, void* connection = nullptr);
    // Calls each callback (context, sender, argument) in order; 0 when one
    // of them answered 0 (the rest are not called), else 1.
    int Fire(Event2* sender, LPARAM argument);

    int GetConnectionCount() const { return m_cEntry; }
    // Counts the firings; starts at 1.
    uint32_t GetFireTime() const { return m_dwFireTime; }

private:
    struct Entry {
        void* context;
        EventCallback callback;
        void* connection;
    };
    Entry* m_aEntry = nullptr;
    int m_cEntry = 0;
    int m_cAlloc = 0;
    uint32_t m_dwFireTime = 1;
};
