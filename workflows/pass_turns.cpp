#include "workflows/pass_turns.h"

unsigned long long PassTurns::Join(PassKind kind)
{
    AcquireSRWLockExclusive(&m_lock);
    unsigned long long ticket = 0;
    const bool detectionWaitingLast =
        m_line.size() >= 2 && m_line.back().kind == PassKind::Detect;
    if (!(kind == PassKind::Detect && detectionWaitingLast)) {
        ticket = m_nextTicket++;
        m_line.push_back({ticket, kind});
    }
    ReleaseSRWLockExclusive(&m_lock);
    return ticket;
}

void PassTurns::WaitForTurn(unsigned long long ticket)
{
    AcquireSRWLockExclusive(&m_lock);
    while (m_line.front().ticket != ticket)
        SleepConditionVariableSRW(&m_turnChanged, &m_lock, INFINITE, 0);
    ReleaseSRWLockExclusive(&m_lock);
}

void PassTurns::Leave(unsigned long long ticket)
{
    AcquireSRWLockExclusive(&m_lock);
    for (auto it = m_line.begin(); it != m_line.end(); ++it) {
        if (it->ticket == ticket) {
            m_line.erase(it);
            break;
        }
    }
    ReleaseSRWLockExclusive(&m_lock);
    WakeAllConditionVariable(&m_turnChanged);
}
