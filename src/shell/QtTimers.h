#pragma once

#include "platform/ITimers.h"

#include <QHash>
#include <QObject>

class QTimer;

namespace tolvaro {

// Window timers on QTimer: one repeating QTimer per id.
class QtTimers : public QObject, public ITimers {
public:
    explicit QtTimers(QObject* parent = nullptr) : QObject(parent) {}

    void SetTickHandler(std::function<void(int id)> handler) override;
    void SetTimer(int id, int intervalMs) override;
    void KillTimer(int id) override;

private:
    std::function<void(int)> m_handler;
    QHash<int, QTimer*> m_timers;
};

} // namespace tolvaro
