#pragma once

#include "platform/IDrives.h"

#include <QString>

#include <vector>

namespace tolvaro {

// A row of the drive selection: the folder to look in, and what to call it.
struct DriveRow {
    QString root;
    QString label;
};

// The rows of the drive selection: the home folder first, then each mounted file system that can
// hold books, once per root, in the order given. Pseudo file systems (proc, sysfs, devtmpfs,
// tmpfs, cgroup, overlay, squashfs and their like) and mounts inside /proc, /sys, /dev and /snap
// are left out. The label is the volume label, else the device name, else empty; a mount that is
// not ready has an empty label.
std::vector<DriveRow> DriveRows(const QString& home, const std::vector<MountInfo>& mounts);

} // namespace tolvaro
