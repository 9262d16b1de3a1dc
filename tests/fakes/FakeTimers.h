#pragma once

#include "platform/ITimers.h"

#include <map>

namespace tolvaro::test {

// Timers on a virtual clock: Advance moves time on and delivers the ticks that fall due, in
// time order (ties by id).
class FakeTimers : public ITimers {
public:
    struct Timer {
        int interval;
        long long due;
    };

    void SetTickHandler(std::function<void(int)> handler) override { m_handler = handler; }
    void SetTimer(int id, int intervalMs) override {
        m_running[id] = {intervalMs, m_now + intervalMs};
    }
    void KillTimer(int id) override { m_running.erase(id); }

    bool IsRunning(int id) const { return m_running.count(id) > 0; }
    int Interval(int id) const { return IsRunning(id) ? m_running.at(id).interval : -1; }
    long long Now() const { return m_now; }

    void Advance(long long ms) {
        const long long end = m_now + ms;
        for (;;) {
            int next = -1;
            long long due = end + 1;
            for (const auto& [id, timer] : m_running) {
                if (timer.due < due) {
                    due = timer.due;
                    next = id;
                }
            }
            if (next < 0)
                break;
            m_now = due;
            m_running[next].due = due + std::max(1, m_running[next].interval);
            if (m_handler)
                m_handler(next);
        }
        m_now = end;
    }

private:
    std::function<void(int)> m_handler;
    std::map<int, Timer> m_running;
    long long m_now = 0;
};

} // namespace tolvaro::test
