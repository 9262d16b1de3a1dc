#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tolvaro {

// Walks a folder tree for DAISY books: a folder holding a file named ncc.html (in any case) is a
// book; a file named discinfo.html adds the folders of the books it links to (the volumes of a
// multi-book disc). Depth first; the entries of each folder in the order of their names.
//
// The walk stays inside the root: a symbolic link is followed only where its target lies inside
// it (a link to ".." or to another drive is not), and never into a folder already walked, so
// that a link loop ends; a disc's list is followed the same way. Folders that cannot be read are
// passed over; /proc, /sys and /dev are never entered. A book found twice (by the walk and by a
// disc's list, or through a link) is listed once: the same folder once its ".", ".." and links
// are resolved. Paths keep their bytes as the file system has them (a name need not be UTF-8).
//
// Before each folder, `carryOn` hears how many folders were read and books found so far; false
// ends the walk, with the books found so far.
class BookWalker {
public:
    using CarryOn = std::function<bool(int folders, int books)>;
    explicit BookWalker(CarryOn carryOn = {}) : m_carryOn(std::move(carryOn)) {}

    // The book folders under `root` (itself included), without a trailing "/".
    std::vector<QByteArray> Walk(const QString& root);
    // Whether that walk went through every folder: not when `stop` ended it, nor when the root
    // could not be found.
    bool Finished() const { return m_finished; }

private:
    // Reads one folder: books and disc lists among its files; its subfolders, to walk next.
    void ReadFolder(const std::string& path, std::vector<std::string>& subfolders);
    void ReadDiscInfo(const std::string& folder, const std::string& file);
    void Add(const std::string& folder);
    // Whether the path, its links resolved, lies inside the root.
    bool Inside(const std::string& path) const;

    struct FolderId {
        std::uint64_t device, inode;
        bool operator==(const FolderId&) const = default;
    };
    struct FolderIdHash {
        std::size_t operator()(const FolderId& id) const {
            return std::hash<std::uint64_t>()(id.inode * 0x9e3779b97f4a7c15ull ^ id.device);
        }
    };

    CarryOn m_carryOn;
    int m_folders = 0, m_books = 0;
    std::string m_root; // with its links resolved
    bool m_finished = false;
    std::vector<QByteArray> m_found;
    std::unordered_set<std::string> m_foundKeys;       // resolved paths of the books listed
    std::unordered_set<FolderId, FolderIdHash> m_seen; // the folders walked
};

} // namespace tolvaro
