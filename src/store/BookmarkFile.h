#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace tolvaro {

// One bookmark: the heading's title, the player's position in seconds ("%f", empty at the end
// of the media), the heading row and the phrase row, as text.
struct Bookmark {
    QString title, time, heading, phrase;
};

// The bookmark file holds one record of ten lines per bookmark: the book's six identity values
// (as in the resume file), then the bookmark's four values. A book's records stand together, in
// the order of its bookmarks; a last record cut short is completed with empty lines.

// The bookmarks of the book with this identity, in file order.
std::vector<Bookmark> BookmarksOf(const QStringList& lines, const QStringList& identity);

// The file's lines with this book's bookmarks first, in their order, then the other books'
// records as they stood. A record with a line flagged in `foreign` (one the program never
// wrote, as in a damaged file) is dropped.
QStringList WithBookmarks(const QStringList& lines, const std::vector<bool>& foreign,
                          const QStringList& identity, const std::vector<Bookmark>& bookmarks);

} // namespace tolvaro
