#include "store/BookmarkFile.h"

namespace tolvaro {
namespace {

constexpr int kRecordLines = 10;
constexpr int kIdentityLines = 6;

QStringList RecordAt(const QStringList& lines, qsizetype start) {
    QStringList record;
    for (int i = 0; i < kRecordLines; ++i)
        record.append(lines.value(start + i));
    return record;
}

bool Damaged(const std::vector<bool>& foreign, qsizetype start) {
    for (qsizetype i = start; i < start + kRecordLines; ++i) {
        if (i < static_cast<qsizetype>(foreign.size()) && foreign[static_cast<std::size_t>(i)])
            return true;
    }
    return false;
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
        if (record.mid(0, kIdentityLines) != identity && !Damaged(foreign, at))
            out += record;
    }
    return out;
}

} // namespace tolvaro
