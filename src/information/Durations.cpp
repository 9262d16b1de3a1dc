#include "information/Durations.h"

#include "res/StringTable.h"

#include <cmath>

namespace tolvaro {
namespace {

constexpr int kFieldLength = 9;

// The decimal digits at the start of the field, of its first 9 characters.
long long FieldValue(QStringView field) {
    long long value = 0;
    for (QChar c : field.first(std::min<qsizetype>(field.size(), kFieldLength))) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// The field from `from` up to the first of `stops` (or the end); `from` moves past the stop.
QStringView NextField(QStringView text, qsizetype& from, QStringView stops) {
    const qsizetype start = std::min(from, text.size());
    qsizetype end = start;
    while (end < text.size() && !stops.contains(text[end]))
        ++end;
    from = end + 1;
    return text.sliced(start, end - start);
}

QString Part(long long n, int one, int many, int langOffset) {
    return n == 1 ? LoadString(one + langOffset)
                  : QStringLiteral("%1 %2").arg(n).arg(LoadString(many + langOffset));
}

} // namespace

double ParseClockValue(const QString& clock) {
    qsizetype at = 0;
    const long long h = FieldValue(NextField(clock, at, u":"));
    const long long m = FieldValue(NextField(clock, at, u":"));
    const long long s = FieldValue(NextField(clock, at, u"."));
    const long long f = FieldValue(NextField(clock, at, u""));
    return h * 3600.0 + m * 60.0 + s + f / 1000.0;
}

QString FormatDuration(double seconds, int langOffset) {
    // Beyond any book; keeps the conversion to a whole number defined.
    constexpr double kLongest = 1e15;
    const long long n = seconds >= 1 ? static_cast<long long>(std::min(seconds, kLongest)) : 0;
    return QStringLiteral("%1, %2 %3 %4")
        .arg(Part(n / 3600, kStrHour, kStrHours, langOffset),
             Part(n / 60 % 60, kStrMinute, kStrMinutes, langOffset),
             LoadString(kStrAnd + langOffset), Part(n % 60, kStrSecond, kStrSeconds, langOffset));
}

} // namespace tolvaro
