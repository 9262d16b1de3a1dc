#include "store/Settings.h"

#include "io/AsciiText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>
#include <optional>
#include <string_view>

#include <QRegularExpression>

namespace tolvaro {
namespace {

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

std::optional<long long> LeadingInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    const bool negative = at < text.size() && text[at] == '-';
    at += at < text.size() && (text[at] == '+' || text[at] == '-');
    if (at >= text.size() || text[at] < '0' || text[at] > '9')
        return std::nullopt;
    // More digits than a long long holds give its largest value, as strtoll does.
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

double ParseClock(const QString& clock, std::size_t fieldLength, bool needsAllFields) {
    const std::string text = clock.toLatin1().toStdString();
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (needsAllFields && second == std::string::npos)
        return 0.0;
    const auto field = [&](std::size_t from, std::size_t to) {
        if (from >= text.size())
            return 0LL;
        const std::string_view f = std::string_view(text).substr(from, to - from);
        return LeadingInt(f.substr(0, fieldLength)).value_or(0);
    };
    const std::size_t dot = second == std::string::npos ? second : text.find('.', second);
    const std::size_t npos = std::string::npos;
    const long long hours = field(0, first);
    const long long minutes = first == npos ? 0 : field(first + 1, second);
    const long long seconds = second == npos ? 0 : field(second + 1, dot);
    const long long fraction = dot == npos ? 0 : field(dot + 1, npos);
    return static_cast<double>(hours) * 3600.0 + static_cast<double>(minutes) * 60.0 +
           static_cast<double>(seconds) + static_cast<double>(fraction) / 1000.0;
}

int ParseInt(const QString& text) {
    const long long value = LeadingInt(text.toLatin1().toStdString()).value_or(0);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double ParseDouble(const QString& text) {
    QByteArray number = text.toLatin1().trimmed();
    if (number.startsWith('+') && !number.startsWith("+-"))
        number.remove(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(
        number.constData(), number.constData() + number.size(), value, std::chars_format::general);
    return error == std::errc() ? value : 0.0;
}

Settings DefaultSettings(const QString& localeName) {
    Settings s;
    s.langOffset = localeName.startsWith(QStringLiteral("de")) ? 0 : 200;
    return s;
}

QStringList SettingsToLines(const Settings& s) {
    return {QString::number(s.volume),
            QString::asprintf("%f", s.rate),
            Flag(s.skipFootnote),
            Flag(s.skipSidebar),
            Flag(s.skipProdnote),
            Flag(s.skipPageNumber),
            Flag(s.autoPlay),
            Flag(s.markBackground),
            s.markColor,
            Flag(s.markItalic),
            Flag(s.markBold),
            Flag(s.markTextColor),
            s.markColor,
            QString::number(s.langOffset),
            Flag(s.readAloud)};
}

namespace {

std::optional<bool> FlagValue(const QString& text) {
    const std::optional<long long> value = LeadingInt(text.toLatin1().toStdString());
    if (!value || (*value != 0 && *value != 1))
        return std::nullopt;
    return *value == 1;
}

bool IsColor(const QString& text) {
    static const QRegularExpression color(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    return color.match(text).hasMatch();
}

} // namespace

Settings SettingsFromLines(const QStringList& lines, const Settings& defaults) {
    const auto line = [&lines](int number) { return lines.value(number - 1); };
    const auto flag = [&line](int number, bool fallback) {
        return FlagValue(line(number)).value_or(fallback);
    };
    Settings s = defaults;
    const std::optional<long long> volume = LeadingInt(line(1).toLatin1().toStdString());
    if (volume && *volume >= 0 && *volume <= 100)
        s.volume = static_cast<int>(*volume);
    const double rate = ParseDouble(line(2));
    if (rate >= kSlowestRate - 1e-6 && rate <= kFastestRate + 1e-6)
        s.rate = rate;
    s.skipFootnote = flag(3, defaults.skipFootnote);
    s.skipSidebar = flag(4, defaults.skipSidebar);
    s.skipProdnote = flag(5, defaults.skipProdnote);
    s.skipPageNumber = flag(6, defaults.skipPageNumber);
    s.autoPlay = flag(7, defaults.autoPlay);
    s.markBackground = flag(8, defaults.markBackground);
    s.markItalic = flag(10, defaults.markItalic);
    s.markBold = flag(11, defaults.markBold);
    s.markTextColor = flag(12, defaults.markTextColor);
    s.readAloud = flag(15, defaults.readAloud);
    s.hasMarkColor = s.markBackground || s.markTextColor;
    if (s.markBackground && IsColor(line(9)))
        s.markColor = line(9);
    if (s.markTextColor && IsColor(line(13)))
        s.markColor = line(13);
    const std::optional<long long> language = LeadingInt(line(14).toLatin1().toStdString());
    if (language && (*language == 0 || *language == 200))
        s.langOffset = static_cast<int>(*language);
    return s;
}

} // namespace tolvaro
