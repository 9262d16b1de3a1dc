#include "store/ResumeFile.h"

namespace tolvaro {
namespace {

constexpr int kRecordLines = 9;

QStringList RecordAt(const QStringList& lines, qsizetype start) {
    QStringList record;
    for (int i = 0; i < kRecordLines; ++i)
        record.append(lines.value(start + i));
    return record;
}

} // namespace

QStringList WithResumeRecord(const QStringList& lines, const ResumeRecord& record,
                             const std::vector<bool>& foreign) {
    const auto damaged = [&foreign](qsizetype at) {
        for (qsizetype i = at; i < at + kRecordLines; ++i) {
            if (i < static_cast<qsizetype>(foreign.size()) && foreign[static_cast<size_t>(i)])
                return true;
        }
        return false;
    };
    QStringList out;
    for (qsizetype at = 0; at < lines.size(); at += kRecordLines) {
        const QStringList old = RecordAt(lines, at);
        if (old.mid(0, 6) != record.identity && !damaged(at))
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
