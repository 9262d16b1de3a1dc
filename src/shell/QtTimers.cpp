#include "shell/QtTimers.h"

#include <QTimer>

namespace tolvaro {

void QtTimers::SetTickHandler(std::function<void(int id)> handler) {
    m_handler = std::move(handler);
}

void QtTimers::SetTimer(int id, int intervalMs) {
    QTimer*& timer = m_timers[id];
    if (!timer) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] {
            if (m_handler)
                m_handler(id);
        });
    }
    timer->start(intervalMs);
}

void QtTimers::KillTimer(int id) {
    if (QTimer* timer = m_timers.value(id))
        timer->stop();
}

} // namespace tolvaro
