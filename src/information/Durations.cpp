#include "information/Durations.h"

#include "res/StringTable.h"

#include <cmath>

namespace tolvaro {
namespace {

QString Part(long long n, int one, int many, int langOffset) {
    return n == 1 ? LoadString(one + langOffset)
                  : QStringLiteral("%1 %2").arg(n).arg(LoadString(many + langOffset));
}

} // namespace

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
