#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tolvaro {

// Keeps one copy of the program per desktop session. The first copy listens on a local socket;
// a later copy finds it there and asks it to come forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // The socket of the user's desktop session: in the user's runtime folder (else the temporary
    // folder, with the user's id), named after the display, so that a copy on one display does
    // not keep the program from starting on another. A display's screen number (":0.1") is part
    // of the same display. The arguments are the environment's XDG_RUNTIME_DIR, DISPLAY and
    // WAYLAND_DISPLAY.
    static QString SessionName(const QString& runtimeFolder, const QString& display,
                               const QString& waylandDisplay);
    static QString DefaultName();

    // False when another copy answers. Otherwise this copy answers later copies from now on; a
    // socket left behind by a copy that crashed is taken over.
    bool TryBecomePrimary();
    // Asks the running copy to raise its window; whether it was reached.
    bool AskPrimaryToRaise();

Q_SIGNALS:
    void RaiseRequested();

private:
    QString m_name;
    QLocalServer m_server;
};

} // namespace tolvaro
