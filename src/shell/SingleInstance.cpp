#include "shell/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>

#include <unistd.h>

namespace tolvaro {
namespace {
const QByteArray kRaise = QByteArrayLiteral("raise\n");
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRaise.trimmed()))
                    Q_EMIT RaiseRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString SingleInstance::SessionName(const QString& runtimeFolder, const QString& display,
                                    const QString& waylandDisplay) {
    QString where = display.isEmpty() ? waylandDisplay : display;
    where.replace(QRegularExpression(QStringLiteral("(:\\d+)\\.\\d+$")), QStringLiteral("\\1"));
    where.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QString folder = runtimeFolder.isEmpty() ? QDir::tempPath() : runtimeFolder;
    return QStringLiteral("%1/tolvaro-%2-%3")
        .arg(folder)
        .arg(static_cast<qulonglong>(getuid()))
        .arg(where.isEmpty() ? QStringLiteral("none") : where);
}

QString SingleInstance::DefaultName() {
    return SessionName(qEnvironmentVariable("XDG_RUNTIME_DIR"), qEnvironmentVariable("DISPLAY"),
                       qEnvironmentVariable("WAYLAND_DISPLAY"));
}

bool SingleInstance::TryBecomePrimary() {
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_name)) {
        // Nobody answered, so the socket is stale. When it cannot be taken over either, this copy
        // still runs, only without answering later ones.
        QLocalServer::removeServer(m_name);
        m_server.listen(m_name);
    }
    return true;
}

bool SingleInstance::AskPrimaryToRaise() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return sent;
}

} // namespace tolvaro
