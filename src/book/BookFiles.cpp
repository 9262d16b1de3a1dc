#include "book/BookFiles.h"

#include "io/CaseInsensitivePath.h"
#include "io/RegularFile.h"

namespace tolvaro {

std::optional<QByteArray> ReadBookFile(const QString& path) {
    FileRead read = ReadRegularFile(path, kMaxBookFile);
    if (read.status == FileRead::Status::Missing) {
        const QString existing = ExistingPathIgnoringCase(path);
        if (existing != path)
            read = ReadRegularFile(existing, kMaxBookFile);
    }
    if (read.status != FileRead::Status::Read)
        return std::nullopt;
    return std::move(read.bytes);
}

} // namespace tolvaro
