#pragma once

#include <QByteArray>
#include <QString>

namespace tolvaro {

// A whole file's bytes, or why there are none.
struct FileRead {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes;
};

// Reads a whole regular file of at most maxSize bytes. Missing: nothing is at the path (or a
// link there leads nowhere). Unreadable: something is there that cannot be read whole: no
// permission, a read error, a folder, a pipe or device (whose reading might never end), or a
// file larger than maxSize. Never blocks on a FIFO.
FileRead ReadRegularFile(const QString& path, qint64 maxSize);
// The same for a path as the file system spells it (bytes, which need not be UTF-8).
FileRead ReadRegularFile(const char* nativePath, qint64 maxSize);

} // namespace tolvaro
