#include "finder/FolderName.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {

QString UsableFolderName(const QByteArray& nativePath, const QString& linkFolder) {
    const QString name = QFile::decodeName(nativePath);
    if (QFile::encodeName(name) == nativePath && !name.contains(u'\n') && !name.contains(u'\r'))
        return name;
    const QString link =
        linkFolder + u'/' +
        QString::fromLatin1(QCryptographicHash::hash(nativePath, QCryptographicHash::Sha1).toHex());
    const QByteArray linkPath = QFile::encodeName(link);
    char target[PATH_MAX];
    const ssize_t size = ::readlink(linkPath.constData(), target, sizeof target);
    if (size >= 0 && QByteArrayView(target, size) == nativePath)
        return link;
    ::mkdir(QFile::encodeName(linkFolder).constData(), 0700);
    ::unlink(linkPath.constData()); // whatever had the name: this link replaces it
    return ::symlink(nativePath.constData(), linkPath.constData()) == 0 ? link : QString();
}

} // namespace tolvaro
