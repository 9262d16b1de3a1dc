#include "shell/EndRequests.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tolvaro {
namespace {

// A signal handler can reach nothing but a static: the write end of the pipe, set while an
// EndRequests object lives.
volatile std::sig_atomic_t g_writeEnd = -1;

void OnSignal(int) {
    const int fd = g_writeEnd;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
}

} // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_pipe) == 0) {
        g_writeEnd = m_pipe[0];
        m_notifier = new QSocketNotifier(m_pipe[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &EndRequests::OnSignalByte);
        struct sigaction action {};
        action.sa_handler = &OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(sig, &action, nullptr);
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { Q_EMIT Requested(); });
    }
}

EndRequests::~EndRequests() {
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::signal(sig, SIG_DFL);
    g_writeEnd = -1;
    for (int fd : m_pipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void EndRequests::OnSignalByte() {
    char bytes[16];
    while (::read(m_pipe[1], bytes, sizeof bytes) > 0) {
    }
    Q_EMIT Requested();
}

} // namespace tolvaro
