#include "store/ResumeFile.h"

#include "store/Records.h"

namespace tolvaro {
namespace {

constexpr int kRecordLines = 9;

QStringList RecordAt(const QStringList& lines, qsizetype start) {
    return records::At(lines, start, kRecordLines);
}

} // namespace

QStringList WithResumeRecord(const QStringList& lines, const ResumeRecord& record,
                             const std::vector<bool>& foreign) {
    QStringList out;
    for (qsizetype at = 0; at < lines.size(); at += kRecordLines) {
        const QStringList old = RecordAt(lines, at);
        if (old.mid(0, 6) != record.identity && !records::Damaged(foreign, at, kRecordLines))
            out += old;
    }
    out += record.identity;
    out << record.heading << record.position << record.phrase;
    return out;
}

std::optional<ResumeRecord> FindResumeRecord(const QStringList& lines,
                                             const QStringList& identity) {
    for (qsizetype at = 0; at < lines.size(); at += kRecordLines) {
        const QStringList record = RecordAt(lines, at);
        if (record.mid(0, 6) == identity)
            return ResumeRecord{identity, record[6], record[7], record[8]};
    }
    return std::nullopt;
}

} // namespace tolvaro
