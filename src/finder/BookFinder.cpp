#include "finder/BookFinder.h"

#include "finder/BookTitle.h"
#include "finder/BookWalker.h"
#include "finder/Drives.h"
#include "finder/FolderName.h"
#include "io/CaseInsensitivePath.h"
#include "platform/IDialogs.h"
#include "platform/IDrives.h"
#include "platform/IProgress.h"
#include "res/StringTable.h"
#include "store/DataFile.h"

#include <QCryptographicHash>

#include <algorithm>

namespace tolvaro {
namespace {} // namespace

QString BookFinder::Text(int id) const {
    return LoadString(id + m_c.langOffset);
}

// "_" and "%" are written as "%5F" and "%25" before every "/" becomes "_": each root its own
// name, and the names of roots without them as they always were. A name too long for a file
// name is a hash of the root.
QString BookFinder::CacheName(const QString& root) {
    QString name = root;
    name.replace(u'%', QStringLiteral("%25"))
        .replace(u'_', QStringLiteral("%5F"))
        .replace(u'/', u'_');
    if (name.toUtf8().size() > 200)
        name = QString::fromLatin1(
            QCryptographicHash::hash(root.toUtf8(), QCryptographicHash::Sha1).toHex());
    return QStringLiteral("Buecher_") + name + QStringLiteral(".dl");
}

QString BookFinder::CachePath() const {
    return m_dataFolder + u'/' + CacheName(m_root);
}

// The cached folders. A root whose cache had another name before (one with "_" in it, whose
// name it shared with another root's) takes that cache's books under it.
QStringList BookFinder::CachedFolders() const {
    if (const std::optional<QStringList> lines = datafile::ReadLines(CachePath()))
        return *lines;
    const QString old = QStringLiteral("Buecher_") + QString(m_root).replace(u'/', u'_') + ".dl";
    const QString under = WithTrailingSeparator(m_root);
    QStringList folders = datafile::ReadLines(m_dataFolder + u'/' + old).value_or(QStringList());
    folders.removeIf([&under](const QString& folder) { return !folder.startsWith(under); });
    return folders;
}

std::optional<QString> BookFinder::ChooseBook() {
    const std::vector<DriveRow> drives = DriveRows(m_drives.HomeFolder(), m_drives.Mounts());
    std::vector<std::pair<QString, QString>> rows;
    for (const DriveRow& d : drives)
        rows.emplace_back(d.root, d.label);
    const std::optional<int> drive = m_c.dialogs.ChooseDrive(m_c.langOffset, rows);
    if (!drive || *drive < 0 || *drive >= static_cast<int>(drives.size()))
        return std::nullopt;
    m_root = drives[static_cast<std::size_t>(*drive)].root;
    ShowCached();
    const std::optional<int> line =
        m_c.dialogs.ChooseBook(m_c.langOffset, Lines(), [this] { return SearchAgain(); });
    if (!line || *line < 1 || *line > static_cast<int>(m_books.size()))
        return std::nullopt;
    return WithTrailingSeparator(m_books[static_cast<std::size_t>(*line - 1)].folder);
}

QStringList BookFinder::Lines() const {
    QStringList lines{Text(kStrCreateList)};
    for (const Book& book : m_books)
        lines << book.title;
    return lines;
}

bool BookFinder::AddBook(const QString& folder) {
    const std::optional<QString> title = ReadTitle(folder);
    if (!title)
        return false; // gone, or not readable: not listed
    m_books.push_back({title->isEmpty() ? Text(kStrUntitled) : *title, folder});
    return true;
}

// A cached book that can no longer be read drops out; the cache keeps it until the next walk.
void BookFinder::ShowCached() {
    m_books.clear();
    for (const QString& folder : CachedFolders()) {
        if (!folder.isEmpty())
            AddBook(folder);
    }
}

// Only a walk that went through the whole drive replaces its cache. One that was stopped (or
// never began) keeps it, and the list shows the cached books and, after them, the others the
// walk found. A cache that cannot be written keeps what it held; the books are listed all the
// same. The count said is that of the books listed.
QStringList BookFinder::SearchAgain() {
    m_books.clear();
    QStringList folders;
    bool finished = false;
    // The titles are read under the wait window too: a drive may hold thousands of books. They
    // are read also after Escape, for the books found until then.
    m_c.dialogs.RunWaiting(LoadString(kStrSearching + m_c.langOffset), [&](IProgress& progress) {
        const std::vector<QByteArray> found = Walk(progress, finished);
        progress.SetRange(static_cast<int>(found.size()));
        for (const QByteArray& path : found) {
            const QString folder = UsableFolderName(path, m_dataFolder + QStringLiteral("/Links"));
            if (!folder.isEmpty() && AddBook(folder))
                folders << folder;
            progress.SetPosition(static_cast<int>(m_books.size()));
        }
    });
    if (finished) {
        datafile::WriteLines(CachePath(), folders);
    } else {
        const std::vector<Book> found = std::move(m_books);
        ShowCached();
        for (const Book& book : found) {
            if (std::none_of(m_books.begin(), m_books.end(),
                             [&book](const Book& b) { return b.folder == book.folder; }))
                m_books.push_back(book);
        }
    }
    const int n = static_cast<int>(m_books.size());
    m_c.dialogs.MessageBox(n == 1 ? Text(kStrOneBook) : Text(kStrBooksFound).arg(n),
                           Text(kStrInformation), IDialogs::Icon::Information,
                           IDialogs::Buttons::Ok);
    return Lines();
}

// The window shows how far the walk has come and hears Escape between folders.
std::vector<QByteArray> BookFinder::Walk(IProgress& progress, bool& finished) {
    BookWalker walker([&](int folders, int books) {
        if (folders % 32 == 0) // not a text for each of a drive's hundred thousand folders
            progress.SetText(Text(kStrFoldersSearched).arg(folders).arg(books));
        return progress.StopRequested() == IProgress::Stop::None;
    });
    std::vector<QByteArray> found = walker.Walk(m_root);
    finished = walker.Finished();
    return found;
}

} // namespace tolvaro
