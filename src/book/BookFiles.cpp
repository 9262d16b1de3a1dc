#include "book/BookFiles.h"

#include "io/RegularFile.h"

namespace tolvaro {

std::optional<QByteArray> ReadBookFile(const QString& path) {
    FileRead read = ReadRegularFile(path, kMaxBookFile);
    if (read.status != FileRead::Status::Read)
        return std::nullopt;
    return std::move(read.bytes);
}

} // namespace tolvaro
