#pragma once

#include <QString>

#include <vector>

namespace tolvaro {

// A mounted file system as the system reports it.
struct MountInfo {
    QString root;       // where it is mounted, e.g. "/media/anna/USB STICK"
    QString device;     // e.g. "/dev/sdb1"; empty when there is none
    QString fileSystem; // the type, e.g. "vfat", "ext4", "tmpfs"
    QString label;      // the volume label; empty when it has none or cannot be read
    bool ready = true;  // false: mounted but not readable now (no medium, a lost network)
};

// The places books can be kept: the user's home folder and the mounted file systems. Both are
// read afresh at each call.
class IDrives {
public:
    virtual ~IDrives() = default;
    virtual QString HomeFolder() const = 0;
    virtual std::vector<MountInfo> Mounts() const = 0;
};

} // namespace tolvaro
