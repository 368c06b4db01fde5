#include "sync/UsnMark.h"

#include <algorithm>

UsnMark::UsnMark(int32_t stored)
    : m_stored(stored)
    , m_high(stored)
{
}

void UsnMark::fetched(int32_t chunkHighUSN)
{
    // Chunks are fetched before anything is sent, each after the last, so they extend the
    // covered range without a gap.
    if (!m_gap)
        m_high = std::max(m_high, chunkHighUSN);
}

void UsnMark::entry(int32_t usn)
{
    if (usn > m_stored)
        m_pending.insert(usn);
}

void UsnMark::applied(int32_t usn)
{
    if (auto it = m_pending.find(usn); it != m_pending.end())
        m_pending.erase(it);
}

void UsnMark::sent(int32_t usn, bool counted)
{
    // A create joined to an existing object by its name answers that object's older number: it
    // is among the entries fetched or below the stored mark, and counts for nothing new.
    if (usn <= m_high)
        return;
    if (counted && !m_gap && usn == m_high + 1)
        m_high = usn;
    else
        m_gap = true;
}

int32_t UsnMark::mark() const
{
    if (m_expungesPending)
        return m_stored;
    int32_t mark = m_high;
    if (!m_pending.empty())
        mark = std::min(mark, *m_pending.begin() - 1);
    return std::max(mark, m_stored);
}
