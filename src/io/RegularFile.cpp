#include "io/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {
namespace {

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

// One open, one fstat and the reads: a book opens a thousand files or more. O_NONBLOCK keeps the
// open of a FIFO from waiting for a writer; the fstat then turns it away, on the very file that
// was opened.
FileRead ReadRegularFile(const QString& path, qint64 maxSize) {
    return ReadRegularFile(QFile::encodeName(path).constData(), maxSize);
}

FileRead ReadRegularFile(const char* nativePath, qint64 maxSize) {
    using Status = FileRead::Status;
    const Descriptor file{::open(nativePath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        return {errno == ENOENT ? Status::Missing : Status::Unreadable, {}};
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxSize)
        return {Status::Unreadable, {}};
    QByteArray bytes(static_cast<qsizetype>(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::read(file.fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {Status::Unreadable, {}};
        if (n == 0)
            break; // the file shrank while it was read: keep what it had
        done += n;
    }
    bytes.truncate(done);
    return {Status::Read, bytes};
}

} // namespace tolvaro
