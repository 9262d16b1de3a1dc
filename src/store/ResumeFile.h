#pragma once

#include <QStringList>

#include <optional>
#include <vector>

namespace tolvaro {

// Where reading stopped in one book: its six identity values (date, identifier, title, set
// info, entry total, total time), the heading row, the position in seconds and the phrase row.
// The resume file holds one record of nine lines per book, the book closed last at its end.
struct ResumeRecord {
    QStringList identity;
    QString heading, position, phrase;
};

// The file's lines with `record` in place of the book's old record, at the end. A last record
// cut short is completed with empty lines and kept. A record with a line flagged in `foreign`
// (one the program never wrote, as in a damaged file) is dropped, so damage does not grow.
QStringList WithResumeRecord(const QStringList& lines, const ResumeRecord& record,
                             const std::vector<bool>& foreign = {});

// The first record of the book with this identity.
std::optional<ResumeRecord> FindResumeRecord(const QStringList& lines, const QStringList& identity);

} // namespace tolvaro
