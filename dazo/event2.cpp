#include "dazo/Event2.h"

#include <cstring>

#include "base/errreport.h"
#include "base/memory.h"

Event2::~Event2()
{
    DzFree(m_aEntry);
}

void Event2::Connect(void* context, EventCallback callback, void* connection)
{
    // Lists hold a handful of listeners: growing by one keeps them exact.
    if (m_cEntry == m_cAlloc) {
        Entry* grown = static_cast<Entry*>(DzAlloc((m_cAlloc + 1) * sizeof(Entry)));
        if (m_cEntry)
            std::memcpy(grown, m_aEntry, m_cEntry * sizeof(Entry));
        DzFree(m_aEntry);
        m_aEntry = grown;
        ++m_cAlloc;
    }
    m_aEntry[m_cEntry++] = {context, callback, connection};
}

void Event2::Disconnect(void* context, EventCallback callback, void* connection)
{
    for (int i = m_cEntry - 1; i >= 0; --i) {
        const Entry& e = m_aEntry[i];
        if (e.context == context && e.callback == callback && e.connection == connection) {
            std::memmove(m_aEntry + i, m_aEntry + i + 1, (m_cEntry - i - 1) * sizeof(Entry));
            --m_cEntry;
            return;
        }
    }
}

int Event2::Fire(Event2* sender, LPARAM argument)
{
    if (++m_dwFireTime == 0)
        ReportError(ERR_FATAL, "時刻がオーバーフローしました", "");
    // By index, checked every time: a callback may disconnect itself, which
    // moves the entries after it down by one; the next one then stands at i.
    for (int i = 0; i < m_cEntry;) {
        Entry e = m_aEntry[i];
        if (!e.callback(e.context, sender, argument))
            return 0;
        if (i < m_cEntry && m_aEntry[i].context == e.context && m_aEntry[i].callback == e.callback &&
            m_aEntry[i].connection == e.connection)
            ++i;
    }
    return 1;
}
