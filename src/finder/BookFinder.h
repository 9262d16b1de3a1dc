#pragma once

#include "commands/Context.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tolvaro {

class IDrives;
class IProgress;

// Finding a book without a file dialog: the user picks a drive (the home folder or a mounted
// file system), then a book from the list of the books on it. The list comes at once from the
// drive's cache file, with titles read afresh; its first line, "Liste erstellen?", walks the
// drive anew (the wait window counts folders and books between folders, Escape stops
// the walk and lists what was found) and rewrites the cache when the walk went through it all.
class BookFinder {
public:
    BookFinder(Context c, const IDrives& drives, const QString& dataFolder)
        : m_c(c), m_drives(drives), m_dataFolder(dataFolder) {}

    // The chosen book's folder with a trailing "/", or nothing when the user cancelled.
    std::optional<QString> ChooseBook();

    // The name of a drive's cache file: "Buecher_" + its root, with "%" and "_" escaped and
    // every "/" as "_", + ".dl".
    static QString CacheName(const QString& root);

private:
    struct Book {
        QString title, folder;
    };

    QStringList Lines() const;
    QString CachePath() const;
    // Adds the book in `folder` when its ncc.html can be read; whether it could.
    bool AddBook(const QString& folder);
    void ShowCached();
    QStringList CachedFolders() const;
    QStringList SearchAgain();
    // The book folders on the drive; `finished` tells whether the walk went through it all.
    std::vector<QByteArray> Walk(IProgress& progress, bool& finished);
    QString Text(int id) const;

    Context m_c;
    const IDrives& m_drives;
    const QString& m_dataFolder;
    QString m_root;
    std::vector<Book> m_books;
};

} // namespace tolvaro
