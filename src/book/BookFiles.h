#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace tolvaro {

// Reads a whole book file. A name the folder holds only in another case is found (books are
// made on systems that ignore case). Nothing for a missing file, one that is not a regular file
// (a folder or a pipe would never end), or one larger than kMaxBookFile.
using BookFileReader = std::function<std::optional<QByteArray>(const QString& path)>;

inline constexpr qint64 kMaxBookFile = 256 * 1024 * 1024;
std::optional<QByteArray> ReadBookFile(const QString& path);

// Whether a text document is the book's navigation file itself (ncc.html, or the NCX shown for
// a book without text), which no search treats as a document of the book.
inline bool IsNavigationDocument(QStringView path) {
    return path.sliced(path.lastIndexOf(u'/') + 1).compare(u"ncc.html", Qt::CaseInsensitive) == 0 ||
           path.endsWith(u".ncx", Qt::CaseInsensitive);
}

// Whether a document is XML (a DTBook text, or the NCX shown as the text of a book without any):
// its links within the book lead to phrases, and it is shown with a plain style when it has
// none of its own.
inline bool IsXmlDocument(QStringView path) {
    return path.endsWith(u".xml", Qt::CaseInsensitive) ||
           path.endsWith(u".ncx", Qt::CaseInsensitive);
}

} // namespace tolvaro
