#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

namespace tolvaro {

// The user's settings as the settings file holds them.
struct Settings {
    int volume = 50;
    double rate = 1.0;
    bool skipFootnote = false;
    bool skipSidebar = false;
    bool skipProdnote = false;
    bool skipPageNumber = false;
    bool autoPlay = true;
    bool markBackground = true;
    bool markItalic = false;
    bool markBold = false;
    bool markTextColor = false;
    QString markColor = QStringLiteral("#ffff00");
    bool hasMarkColor = true; // the file named a colour for a style that is on
    int langOffset = 0;       // as stored; only 0 and 200 mean a language
    bool readAloud = true;    // text without a recording is spoken
};

// The settings of a new user: normal volume and speed, nothing skipped, automatic playback,
// a yellow background mark, German when the locale is German and English otherwise.
Settings DefaultSettings(const QString& localeName);

// The 15 lines of the file, in their order; the 15th (read text aloud) came after the others.
QStringList SettingsToLines(const Settings& settings);
// The slowest and fastest speeds the speed steps reach.
inline constexpr double kSlowestRate = 0.6;
inline constexpr double kFastestRate = 2.0;

// Reads the 15 lines; a file of the first 14 reads text aloud. A line that is missing or holds no
// valid value for its setting (volume 0-100, a speed the steps reach, a flag 0 or 1, a colour
// "#rrggbb", language 0 or 200) gives that setting's default: a damaged file must not start the
// program silent. The colour is taken from line 9 when line 8 is 1, and from line 13 when line 12
// is 1 (the later wins).
Settings SettingsFromLines(const QStringList& lines, const Settings& defaults);

// Number parsing as the C library does it, independent of the locale: leading white space, an
// optional sign, digits (and for doubles a fraction and exponent), whatever follows them; a
// text that starts with no number gives 0 (LeadingInt: nothing). Too many digits give the
// largest value.
std::optional<long long> LeadingInt(std::string_view text);
// A clock value h:m:s[.fraction] in seconds, the fraction's digits thousandths, each field read
// as a LeadingInt of its first `fieldLength` characters. `needsAllFields`: without two colons the
// value is 0 (as SMIL files are read); else the fields count as far as there are any ("1:30" is
// an hour and a half, as the book's times are read for the information answers).
double ParseClock(const QString& clock, std::size_t fieldLength, bool needsAllFields);
int ParseInt(const QString& text);
double ParseDouble(const QString& text);

} // namespace tolvaro
