#include "book/BookFiles.h"

#include <QFile>
#include <QFileInfo>

namespace tolvaro {

std::optional<QByteArray> ReadBookFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxBookFile)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace tolvaro
