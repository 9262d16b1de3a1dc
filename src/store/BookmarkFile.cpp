#include "store/BookmarkFile.h"

#include "store/Records.h"

namespace tolvaro {
namespace {

constexpr int kRecordLines = 10;
constexpr int kIdentityLines = 6;

QStringList RecordAt(const QStringList& lines, qsizetype start) {
    return records::At(lines, start, kRecordLines);
}

} // namespace

std::vector<Bookmark> BookmarksOf(const QStringList& lines, const QStringList& identity) {
    std::vector<Bookmark> bookmarks;
    for (qsizetype at = 0; at < lines.size(); at += kRecordLines) {
        const QStringList record = RecordAt(lines, at);
        if (record.mid(0, kIdentityLines) == identity)
            bookmarks.push_back({record[6], record[7], record[8], record[9]});
    }
    return bookmarks;
}

QStringList WithBookmarks(const QStringList& lines, const std::vector<bool>& foreign,
                          const QStringList& identity, const std::vector<Bookmark>& bookmarks) {
    QStringList out;
    for (const Bookmark& b : bookmarks)
        out << identity << b.title << b.time << b.heading << b.phrase;
    for (qsizetype at = 0; at < lines.size(); at += kRecordLines) {
        const QStringList record = RecordAt(lines, at);
        if (record.mid(0, kIdentityLines) != identity &&
            !records::Damaged(foreign, at, kRecordLines))
            out += record;
    }
    return out;
}

} // namespace tolvaro
