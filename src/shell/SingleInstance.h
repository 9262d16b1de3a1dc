#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tolvaro {

// Keeps one copy of the program per user. The first copy listens on a local socket; a later
// copy finds it there and asks it to come forward.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // The socket name of the current user.
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
