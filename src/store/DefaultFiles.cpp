#include "store/DefaultFiles.h"

#include "store/DataFile.h"
#include "store/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {

QString DataFilePath(const QString& dataFolder, const char16_t* name) {
    return dataFolder + u'/' + QString::fromUtf16(name);
}

void MakeDataFolder(const QString& dataFolder) {
    if (QFileInfo::exists(dataFolder))
        return;
    const QFileInfo folder(QDir::cleanPath(dataFolder));
    QDir().mkpath(folder.absolutePath());
    QDir().mkdir(folder.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void WriteDefaultFiles(const QString& dataFolder, const Settings& defaults) {
    // Only a file that does not exist is written: one that exists but cannot be read now may
    // be readable later, and replacing it would lose what the user had saved.
    const QString settings = DataFilePath(dataFolder, kSettingsFile);
    if (!QFileInfo::exists(settings))
        datafile::WriteLines(settings, SettingsToLines(defaults));
    for (const char16_t* name : {kResumeFile, kBookmarkFile, kLastBookFile}) {
        const QString path = DataFilePath(dataFolder, name);
        if (!QFileInfo::exists(path))
            datafile::ReplaceFile(path, QByteArray());
    }
}

} // namespace tolvaro
