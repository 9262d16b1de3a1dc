#pragma once

#include <QObject>

class QSocketNotifier;

namespace tolvaro {

// Turns the ways a program is asked to end from outside into one signal: SIGTERM, SIGHUP and
// SIGINT (shutdown, logout, a closed terminal, Ctrl+C) and the desktop session's end. The signal
// comes from the event loop, never from inside a signal handler, so the receiver may save.
class EndRequests : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(QObject* parent = nullptr);
    ~EndRequests() override;

Q_SIGNALS:
    void Requested();

private:
    void OnSignalByte();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tolvaro
