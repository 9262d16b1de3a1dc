#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "io/RegularFile.h"

#include <functional>
#include <optional>
#include <vector>

#include <sys/types.h>

namespace tolvaro::datafile {

// The rules of every data file: each line scrambled by CA_Enigma on its own and stored as UTF-8
// followed by CR LF. Reading takes UTF-8 and falls back to ISO 8859-1 for a line that is not
// valid UTF-8, so any text round-trips. A line end is LF with an optional CR before it; a last
// line without a line end counts.

QByteArray EncodeLines(const QStringList& lines);
// The unscrambled lines. `foreign`, when given, gets one flag per line: true for a line that is
// not what EncodeLines writes (not UTF-8), as in a damaged file.
QStringList DecodeLines(const QByteArray& bytes, std::vector<bool>* foreign = nullptr);

// Data files larger than this are not read (nor replaced): no user's data comes near it.
inline constexpr qint64 kMaxDataFile = 64 * 1024 * 1024;

// A data file as read: its lines when it could be read whole, and whether it is there at all.
struct DataLines {
    FileRead::Status status = FileRead::Status::Missing;
    QStringList lines;
    std::vector<bool> foreign; // see DecodeLines
};
DataLines Read(const QString& path);

// The unscrambled lines of the file; nothing when it is missing or cannot be read whole.
std::optional<QStringList> ReadLines(const QString& path);

// The system calls a replacement makes, so that tests can make each of them fail.
struct FileCalls {
    std::function<int(const char* path, int flags, mode_t mode)> open;
    std::function<ssize_t(int fd, const char* data, size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(const char* from, const char* to)> rename;
};
FileCalls SystemCalls();

// Replaces the file's whole content without ever leaving it half written: the content goes to
// `tempPath` (default: the path with ".tmp" appended) in the same folder, is flushed to disk,
// and then renamed over the file, after which the folder is flushed too. The temporary file is
// made afresh (whatever had its name is removed first) and never through a symbolic link. On any
// failure the temporary file is removed, the file keeps what it held, and the result is false.
// A file that exists but cannot be read whole is never replaced: it may hold the user's data,
// readable again on the next start.
bool ReplaceFile(const QString& path, const QByteArray& content, const QString& tempPath = {},
                 const FileCalls& calls = SystemCalls());

// Scrambles and writes the lines as the file's whole content (see ReplaceFile).
bool WriteLines(const QString& path, const QStringList& lines, const QString& tempPath = {});

} // namespace tolvaro::datafile
