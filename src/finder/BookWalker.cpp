#include "finder/BookWalker.h"

#include "io/RegularFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {
namespace {

constexpr qint64 kMaxDiscInfo = 1024 * 1024;

bool EqualsIgnoringCase(const char* name, std::string_view wanted) {
    return std::strlen(name) == wanted.size() &&
           ::strncasecmp(name, wanted.data(), wanted.size()) == 0;
}

// A DAISY 3 book's package file: "*.opf" in any case.
bool IsPackageName(const std::string& name) {
    return name.size() > 4 && EqualsIgnoringCase(name.c_str() + name.size() - 4, ".opf");
}

// Places of the system that hold no books, and whose walking may never end.
bool IsSystemPlace(const std::string& path) {
    return path == "/proc" || path == "/sys" || path == "/dev";
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path += name;
}

// The path with ".", ".." and doubled "/" taken out, its bytes kept (Latin-1 maps each byte to
// one character and back).
std::string Clean(const std::string& path) {
    return QDir::cleanPath(QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size())))
        .toLatin1()
        .toStdString();
}

// The path with every link resolved; empty when it leads nowhere.
std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return {};
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// What an entry is, through a link; `link` tells whether it is one. DT_UNKNOWN for what is
// neither a folder nor a regular file, or leads nowhere.
unsigned char KindOf(int folder, const char* name, unsigned char type, bool& link) {
    struct stat info {};
    if (type == DT_UNKNOWN) { // the file system does not say
        if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return DT_UNKNOWN;
        type = S_ISLNK(info.st_mode)   ? DT_LNK
               : S_ISDIR(info.st_mode) ? DT_DIR
               : S_ISREG(info.st_mode) ? DT_REG
                                       : DT_UNKNOWN;
    }
    link = type == DT_LNK;
    if (!link)
        return type;
    if (::fstatat(folder, name, &info, 0) != 0)
        return DT_UNKNOWN;
    return S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
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

std::vector<QByteArray> BookWalker::Walk(const QString& root) {
    std::string start = QFile::encodeName(root).toStdString();
    while (start.size() > 1 && start.back() == '/')
        start.pop_back();
    m_root = RealPath(start);
    m_finished = false;
    if (m_root.empty())
        return {};
    std::vector<std::string> stack{start};
    std::vector<std::string> subfolders;
    while (!stack.empty() && (!m_carryOn || m_carryOn(m_folders, m_books))) {
        const std::string path = std::move(stack.back());
        stack.pop_back();
        subfolders.clear();
        ReadFolder(path, subfolders);
        // The first subfolder is walked first.
        std::move(subfolders.rbegin(), subfolders.rend(), std::back_inserter(stack));
    }
    m_finished = stack.empty();
    return std::move(m_found);
}

bool BookWalker::Inside(const std::string& path) const {
    const std::string real = RealPath(path);
    return !real.empty() &&
           (m_root == "/" || real == m_root ||
            (real.size() > m_root.size() && real.compare(0, m_root.size(), m_root) == 0 &&
             real[m_root.size()] == '/'));
}

void BookWalker::ReadFolder(const std::string& path, std::vector<std::string>& subfolders) {
    if (IsSystemPlace(path))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return; // not readable: passed over
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !m_seen
                                        .insert({static_cast<std::uint64_t>(info.st_dev),
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
    ++m_folders;
    std::vector<std::pair<std::string, unsigned char>> entries;
    while (const dirent* entry = ::readdir(folder.dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        entries.emplace_back(name, entry->d_type);
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& [name, listed] : entries) {
        bool link = false;
        const unsigned char type = KindOf(::dirfd(folder.dir), name.c_str(), listed, link);
        if (type == DT_DIR) {
            const std::string sub = Join(path, name);
            // A link out of the root (to "..", to another drive) would take the walk off it.
            if (!link || Inside(sub))
                subfolders.push_back(sub);
        } else if (type == DT_REG) {
            if (EqualsIgnoringCase(name.c_str(), "ncc.html") || IsPackageName(name))
                Add(path);
            else if (EqualsIgnoringCase(name.c_str(), "discinfo.html"))
                ReadDiscInfo(path, name);
        }
    }
}

// Each link of the disc's list names a volume on the disc: its ncc.html, or its folder.
void BookWalker::ReadDiscInfo(const std::string& folder, const std::string& file) {
    const FileRead read = ReadRegularFile(Join(folder, file).c_str(), kMaxDiscInfo);
    if (read.status != FileRead::Status::Read)
        return;
    for (const QByteArray& line : read.bytes.split('\n')) {
        const QByteArray lower = line.toLower();
        for (qsizetype at = lower.indexOf("<a href="); at >= 0;
             at = lower.indexOf("<a href=", at + 1)) {
            qsizetype start = at + 8;
            const char quote = start < line.size() ? line[start] : '\0';
            const bool quoted = quote == '"' || quote == '\'';
            start += quoted;
            qsizetype end = start;
            while (end < line.size() && line[end] != '>' &&
                   (quoted ? line[end] != quote : line[end] != ' '))
                ++end;
            QByteArray link = line.mid(start, end - start);
            link.truncate(link.indexOf('#') < 0 ? link.size() : link.indexOf('#'));
            link.replace('\\', '/');
            if (link.isEmpty() || link.contains("://"))
                continue;
            std::string target =
                Clean(link.startsWith('/') ? link.toStdString() : Join(folder, link.toStdString()));
            if (target.size() >= 9 &&
                ::strcasecmp(target.c_str() + target.size() - 9, "/ncc.html") == 0)
                target.resize(target.size() - 9);
            if (Inside(target))
                Add(target);
        }
    }
}

void BookWalker::Add(const std::string& folder) {
    const std::string real = RealPath(folder);
    if (!m_foundKeys.insert(real.empty() ? Clean(folder) : real).second)
        return;
    m_found.push_back(QByteArray::fromStdString(Clean(folder)));
    ++m_books;
}

} // namespace tolvaro
