#include "finder/BookWalker.h"

#include "io/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {
namespace {

constexpr qint64 kMaxDiscInfo = 1024 * 1024;

bool EqualsIgnoringCase(const char* name, std::string_view wanted) {
    return std::strlen(name) == wanted.size() && ::strncasecmp(name, wanted.data(), wanted.size()) == 0;
}

// Places of the system that hold no books, and whose walking may never end.
bool IsSystemPlace(const std::string& path) {
    return path == "/proc" || path == "/sys" || path == "/dev";
}

std::string Join(const std::string& folder, const char* name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path += name;
}

// Closes the folder on every way out.
struct Folder {
    DIR* dir;
    ~Folder() {
        if (dir)
            ::closedir(dir);
    }
};

} // namespace

std::vector<QString> BookWalker::Walk(const QString& root) {
    std::string start = QFile::encodeName(root).toStdString();
    while (start.size() > 1 && start.back() == '/')
        start.pop_back();
    std::vector<std::string> stack{start};
    std::vector<std::string> subfolders;
    while (!stack.empty() && !m_stop.load(std::memory_order_relaxed)) {
        const std::string path = std::move(stack.back());
        stack.pop_back();
        subfolders.clear();
        ReadFolder(path, subfolders);
        // The first subfolder is walked first.
        std::move(subfolders.rbegin(), subfolders.rend(), std::back_inserter(stack));
    }
    return std::move(m_found);
}

void BookWalker::ReadFolder(const std::string& path, std::vector<std::string>& subfolders) {
    if (IsSystemPlace(path))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return; // not readable: passed over
    struct stat info {};
    if (::fstat(fd, &info) != 0 ||
        !m_seen.insert({static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)})
             .second) {
        ::close(fd); // walked already: a link back into the tree, or a folder mounted twice
        return;
    }
    const Folder folder{::fdopendir(fd)};
    if (!folder.dir) {
        ::close(fd);
        return;
    }
    m_folders.fetch_add(1, std::memory_order_relaxed);
    std::vector<std::pair<std::string, unsigned char>> entries;
    while (const dirent* entry = ::readdir(folder.dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        entries.emplace_back(name, entry->d_type);
    }
    std::sort(entries.begin(), entries.end());
    for (auto& [name, type] : entries) {
        if (type == DT_LNK || type == DT_UNKNOWN) { // what it is, through the link
            struct stat target {};
            if (::fstatat(::dirfd(folder.dir), name.c_str(), &target, 0) != 0)
                continue; // a dangling link
            type = S_ISDIR(target.st_mode) ? DT_DIR : S_ISREG(target.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            subfolders.push_back(Join(path, name.c_str()));
        } else if (type == DT_REG) {
            if (EqualsIgnoringCase(name.c_str(), "ncc.html"))
                Add(QFile::decodeName(path.c_str()));
            else if (EqualsIgnoringCase(name.c_str(), "discinfo.html"))
                ReadDiscInfo(path, name);
        }
    }
}

// Each link of the disc's list names a volume: its ncc.html, or its folder.
void BookWalker::ReadDiscInfo(const std::string& folder, const std::string& file) {
    const FileRead read = ReadRegularFile(QFile::decodeName(Join(folder, file.c_str()).c_str()),
                                          kMaxDiscInfo);
    if (read.status != FileRead::Status::Read)
        return;
    const QString base = QFile::decodeName(folder.c_str());
    for (const QByteArray& line : read.bytes.split('\n')) {
        const QByteArray lower = line.toLower();
        for (qsizetype at = lower.indexOf("<a href="); at >= 0; at = lower.indexOf("<a href=", at + 1)) {
            qsizetype start = at + 8;
            const char quote = start < line.size() ? line[start] : '\0';
            const bool quoted = quote == '"' || quote == '\'';
            start += quoted;
            qsizetype end = start;
            while (end < line.size() && line[end] != '>' &&
                   (quoted ? line[end] != quote : line[end] != ' '))
                ++end;
            QString link = QString::fromUtf8(line.mid(start, end - start)).section(u'#', 0, 0);
            link.replace(u'\\', u'/');
            if (link.isEmpty() || link.contains(u"://"))
                continue;
            QString target = QDir::cleanPath(QDir(base).filePath(link));
            if (target.endsWith(u"/ncc.html", Qt::CaseInsensitive))
                target.chop(9);
            Add(target);
        }
    }
}

void BookWalker::Add(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
    if (m_foundKeys.contains(key))
        return;
    m_foundKeys.insert(key);
    m_found.push_back(QDir::cleanPath(folder));
    m_books.fetch_add(1, std::memory_order_relaxed);
}

} // namespace tolvaro
