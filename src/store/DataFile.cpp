#include "store/DataFile.h"

#include "store/CA_Enigma.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tolvaro::datafile {
namespace {

QString DecodeLineBytes(QByteArrayView bytes, QStringDecoder& utf8, bool& foreign) {
    utf8.resetState();
    QString text = utf8.decode(bytes);
    // Every line the program writes is UTF-8, whatever characters it holds: a book's identity
    // keeps its NCC's bytes one character each, control characters among them.
    foreign = utf8.hasError();
    return foreign ? QString::fromLatin1(bytes) : text;
}

bool WriteAll(int fd, const QByteArray& content, const FileCalls& calls) {
    const char* data = content.constData();
    auto left = static_cast<size_t>(content.size());
    while (left > 0) {
        const ssize_t n = calls.write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

void SyncFolder(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QByteArray EncodeLines(const QStringList& lines) {
    const CA_Enigma enigma;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += enigma.Encode(line).toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QStringList DecodeLines(const QByteArray& bytes, std::vector<bool>* foreign) {
    const CA_Enigma enigma;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        bool damaged = false;
        lines.append(enigma.Decode(
            DecodeLineBytes(QByteArrayView(bytes).sliced(start, stop - start), utf8, damaged)));
        if (foreign)
            foreign->push_back(damaged);
        start = next;
    }
    return lines;
}

DataLines Read(const QString& path) {
    const FileRead file = ReadRegularFile(path, kMaxDataFile);
    DataLines read{file.status, {}, {}};
    if (file.status == FileRead::Status::Read)
        read.lines = DecodeLines(file.bytes, &read.foreign);
    return read;
}

std::optional<QStringList> ReadLines(const QString& path) {
    DataLines read = Read(path);
    if (read.status != FileRead::Status::Read)
        return std::nullopt;
    return std::move(read.lines);
}

FileCalls SystemCalls() {
    return {[](const char* p, int flags, mode_t mode) { return ::open(p, flags, mode); },
            [](int fd, const char* d, size_t n) { return ::write(fd, d, n); },
            [](int fd) { return ::fsync(fd); },
            [](const char* from, const char* to) { return ::rename(from, to); }};
}

bool ReplaceFile(const QString& path, const QByteArray& content, const QString& tempPath,
                 const FileCalls& calls) {
    if (ReadRegularFile(path, kMaxDataFile).status == FileRead::Status::Unreadable)
        return false;
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp =
        QFile::encodeName(tempPath.isEmpty() ? path + QStringLiteral(".tmp") : tempPath);
    // A stale temporary file, or a link planted in its place, goes; O_EXCL and O_NOFOLLOW then
    // make sure the file written is a new one of our own.
    ::unlink(temp.constData());
    const int fd =
        calls.open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, content, calls) && calls.fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || calls.rename(temp.constData(), target.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    SyncFolder(path);
    return true;
}

bool WriteLines(const QString& path, const QStringList& lines, const QString& tempPath) {
    return ReplaceFile(path, EncodeLines(lines), tempPath);
}

} // namespace tolvaro::datafile
