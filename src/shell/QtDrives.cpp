#include "shell/QtDrives.h"

#include <QDir>
#include <QStorageInfo>

namespace tolvaro {

QString QtDrives::HomeFolder() const {
    return QDir::homePath();
}

std::vector<MountInfo> QtDrives::Mounts() const {
    std::vector<MountInfo> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        mounts.push_back({volume.rootPath(), QString::fromLocal8Bit(volume.device()),
                          QString::fromLatin1(volume.fileSystemType()), volume.name(),
                          volume.isReady()});
    }
    return mounts;
}

} // namespace tolvaro
