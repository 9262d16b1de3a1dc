#include "store/Settings.h"

#include <algorithm>
#include <charconv>
#include <climits>

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

Settings SettingsFromLines(const QStringList& lines) {
    const auto line = [&lines](int number) { return lines.value(number - 1); };
    const auto flag = [&line](int number) { return ParseInt(line(number)) == 1; };
    Settings s;
    s.volume = ParseInt(line(1));
    s.rate = ParseDouble(line(2));
    s.skipFootnote = flag(3);
    s.skipSidebar = flag(4);
    s.skipProdnote = flag(5);
    s.skipPageNumber = flag(6);
    s.autoPlay = flag(7);
    s.markBackground = flag(8);
    s.markItalic = flag(10);
    s.markBold = flag(11);
    s.markTextColor = flag(12);
    s.markColor.clear();
    s.hasMarkColor = s.markBackground || s.markTextColor;
    if (s.markBackground)
        s.markColor = line(9);
    if (s.markTextColor)
        s.markColor = line(13);
    s.langOffset = ParseInt(line(14));
    return s;
}

} // namespace tolvaro
