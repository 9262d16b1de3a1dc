#pragma once

#include "platform/IDrives.h"

namespace tolvaro {

// The home folder from Qt, the mounted file systems from QStorageInfo.
class QtDrives : public IDrives {
public:
    QString HomeFolder() const override;
    std::vector<MountInfo> Mounts() const override;
};

} // namespace tolvaro
