#include "finder/Drives.h"

#include <QSet>

#include <algorithm>
#include <string_view>

namespace tolvaro {
namespace {

// File systems that never hold a user's files.
constexpr std::u16string_view kPseudo[] = {
    u"autofs",    u"binfmt_misc",   u"bpf",         u"cgroup",
    u"cgroup2",   u"configfs",      u"debugfs",     u"devpts",
    u"devtmpfs",  u"efivarfs",      u"fusectl",     u"hugetlbfs",
    u"mqueue",    u"nsfs",          u"overlay",     u"proc",
    u"pstore",    u"ramfs",         u"rpc_pipefs",  u"securityfs",
    u"selinuxfs", u"squashfs",      u"sysfs",       u"tmpfs",
    u"tracefs",   u"fuse.snapfuse", u"fuse.portal", u"fuse.gvfsd-fuse",
    u"nfsd",
};

// Places the system keeps for itself.
constexpr std::u16string_view kSystemRoots[] = {u"/proc", u"/sys", u"/dev", u"/snap"};

bool IsPseudo(const QString& type) {
    return std::any_of(std::begin(kPseudo), std::end(kPseudo), [&](std::u16string_view p) {
        return type == QStringView(p.data(), static_cast<qsizetype>(p.size()));
    });
}

bool IsSystemPlace(const QString& root) {
    return std::any_of(std::begin(kSystemRoots), std::end(kSystemRoots),
                       [&](std::u16string_view s) {
                           const QStringView place(s.data(), static_cast<qsizetype>(s.size()));
                           return root.startsWith(place) &&
                                  (root.size() == place.size() || root[place.size()] == u'/');
                       });
}

} // namespace

std::vector<DriveRow> DriveRows(const QString& home, const std::vector<MountInfo>& mounts) {
    std::vector<DriveRow> rows;
    QSet<QString> listed;
    if (!home.isEmpty()) {
        rows.push_back({home, QString()});
        listed.insert(home);
    }
    for (const MountInfo& m : mounts) {
        if (m.root.isEmpty() || IsPseudo(m.fileSystem) || IsSystemPlace(m.root) ||
            listed.contains(m.root))
            continue;
        listed.insert(m.root);
        const QString label = !m.ready ? QString() : !m.label.isEmpty() ? m.label : m.device;
        rows.push_back({m.root, label});
    }
    return rows;
}

} // namespace tolvaro
