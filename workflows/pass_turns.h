// Passes talk to adb one at a time, in the order they started. Every pass
// restarts the adb server, so two passes at once would kill the server the
// other is listing devices through.
#pragma once

#include <windows.h>

#include <deque>

enum class PassKind { Detect, Apply };

class PassTurns {
public:
    PassTurns() = default;
    PassTurns(const PassTurns&) = delete;
    PassTurns& operator=(const PassTurns&) = delete;

    // Takes a place at the end of the line. A detection pass gets none when
    // a detection pass is already waiting last: that one will report the
    // newer state anyway. Returns 0 for "no place".
    unsigned long long Join(PassKind kind);
    // Blocks until every pass that joined earlier has left.
    void WaitForTurn(unsigned long long ticket);
    void Leave(unsigned long long ticket);

private:
    struct Place {
        unsigned long long ticket;
        PassKind kind;
    };

    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_turnChanged = CONDITION_VARIABLE_INIT;
    std::deque<Place> m_line;  // the front holds the turn
    unsigned long long m_nextTicket = 1;
};

// One pass's place in line, left on every way out of the pass.
class PassTurn {
public:
    PassTurn(PassTurns& turns, PassKind kind) : m_turns(turns), m_ticket(turns.Join(kind)) {}
    ~PassTurn()
    {
        if (m_ticket)
            m_turns.Leave(m_ticket);
    }
    PassTurn(const PassTurn&) = delete;
    PassTurn& operator=(const PassTurn&) = delete;

    bool Joined() const { return m_ticket != 0; }
    void Wait() { m_turns.WaitForTurn(m_ticket); }

private:
    PassTurns& m_turns;
    unsigned long long m_ticket;
};
