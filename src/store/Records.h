#pragma once

#include <QStringList>

#include <vector>

namespace tolvaro::records {

// The data files that hold fixed-size records (resume, bookmarks): the record of `size` lines
// at `start`, a last one cut short completed with empty lines.
inline QStringList At(const QStringList& lines, qsizetype start, int size) {
    QStringList record;
    for (int i = 0; i < size; ++i)
        record.append(lines.value(start + i));
    return record;
}

// Whether a line of that record is flagged in `foreign` (one the program never wrote).
inline bool Damaged(const std::vector<bool>& foreign, qsizetype start, int size) {
    for (qsizetype i = start; i < start + size; ++i) {
        if (i < static_cast<qsizetype>(foreign.size()) && foreign[static_cast<std::size_t>(i)])
            return true;
    }
    return false;
}

} // namespace tolvaro::records
