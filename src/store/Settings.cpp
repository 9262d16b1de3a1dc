#include "store/Settings.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>

#include <QRegularExpression>

namespace tolvaro {
namespace {

// The text after leading white space and a '+', as Latin-1 bytes (digits are all it can use).
QByteArray NumberText(const QString& text) {
    QByteArray bytes = text.toLatin1();
    qsizetype at = 0;
    while (at < bytes.size() && (bytes[at] == ' ' || (bytes[at] >= '\t' && bytes[at] <= '\r')))
        ++at;
    if (at < bytes.size() && bytes[at] == '+' && !(at + 1 < bytes.size() && bytes[at + 1] == '-'))
        ++at;
    return bytes.mid(at);
}

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

int ParseInt(const QString& text) {
    const QByteArray number = NumberText(text);
    long long value = 0;
    const auto [end, error] =
        std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        return number.startsWith('-') ? INT_MIN : INT_MAX;
    if (error != std::errc())
        return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double ParseDouble(const QString& text) {
    const QByteArray number = NumberText(text);
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
            QString::number(s.langOffset)};
}

namespace {

// A number the C library reads from the text (it may be followed by other text: "12x" is 12);
// nothing when the text does not start with one.
std::optional<long long> LeadingInt(const QString& text) {
    const QByteArray number = NumberText(text);
    long long value = 0;
    const auto [end, error] =
        std::from_chars(number.constData(), number.constData() + number.size(), value);
    if (error != std::errc())
        return std::nullopt;
    return value;
}

std::optional<bool> FlagValue(const QString& text) {
    const std::optional<long long> value = LeadingInt(text);
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
    const std::optional<long long> volume = LeadingInt(line(1));
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
    s.hasMarkColor = s.markBackground || s.markTextColor;
    if (s.markBackground && IsColor(line(9)))
        s.markColor = line(9);
    if (s.markTextColor && IsColor(line(13)))
        s.markColor = line(13);
    const std::optional<long long> language = LeadingInt(line(14));
    if (language && (*language == 0 || *language == 200))
        s.langOffset = static_cast<int>(*language);
    return s;
}

} // namespace tolvaro
