// The information sentences: durations in words, clock values, the ten answers, and playback
// held while an answer is up.
#include "EngineBook.h"
#include "Printers.h"
#include "information/Durations.h"
#include "res/StringTable.h"
#include "store/Settings.h"

#include <cmath>
#include <limits>

namespace tolvaro {
namespace {

using namespace cmd;

TEST(Durations, InWords) {
    const struct {
        double seconds;
        const char* german;
        const char* english;
    } cases[] = {
        {0, "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
        {0.99, "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
        {-30, "0 Stunden, 0 Minuten und 0 Sekunden", "0 hours, 0 minutes and 0 seconds"},
        {std::numeric_limits<double>::quiet_NaN(), "0 Stunden, 0 Minuten und 0 Sekunden",
         "0 hours, 0 minutes and 0 seconds"},
        {1, "0 Stunden, 0 Minuten und eine Sekunde", "0 hours, 0 minutes and one second"},
        {60, "0 Stunden, eine Minute und 0 Sekunden", "0 hours, one minute and 0 seconds"},
        {3599.9, "0 Stunden, 59 Minuten und 59 Sekunden", "0 hours, 59 minutes and 59 seconds"},
        {3725, "eine Stunde, 2 Minuten und 5 Sekunden", "one hour, 2 minutes and 5 seconds"},
        {7322, "2 Stunden, 2 Minuten und 2 Sekunden", "2 hours, 2 minutes and 2 seconds"},
        {3600 * 100 + 61, "100 Stunden, eine Minute und eine Sekunde",
         "100 hours, one minute and one second"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDuration(c.seconds, kLangGerman), QString::fromUtf8(c.german)) << c.seconds;
        EXPECT_EQ(FormatDuration(c.seconds, kLangEnglish), QString::fromUtf8(c.english));
    }
    EXPECT_FALSE(FormatDuration(1e300, kLangGerman).isEmpty()); // no overflow
}

TEST(Durations, ClockValues) {
    const struct {
        const char* clock;
        double seconds;
    } cases[] = {
        {"1:05:07.500", 3907.5},
        {"0:00:01.5", 1.005}, // the digits after the point are thousandths
        {"12:5:30", 43530},
        {"00:59:59", 3599},
        {"", 0},
        {"1:30", 5400}, // fields as far as there are any
        {"7", 25200},
        {"x:y:z", 0}, // no number counts 0
        {"1:2a:3b.4c", 3723.004},
        {"1234567890123:0:0", 123456789.0 * 3600}, // nine characters of a field at most
        {"0:0:0.1234567890", 123456.789},
        {"::", 0},
        {"1:2:3:4", 3723}, // the rest after the seconds is no fraction
        {" 1:00:00", 3600},
        {"-1:00:00", -3600}, // as the C library reads a number
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ParseClock(QString::fromLatin1(c.clock), 9, false), c.seconds, 1e-6) << c.clock;
}

// Three headings on levels 1, 2, 3; the book's total and entries as its NCC gives them.
struct InformationBook : test::EngineBook {
    explicit InformationBook(const QByteArray& meta, int langOffset = kLangGerman) {
        nccHead = meta;
        Open({{1, {{"a.mp3", 0, 1}}}, {2, {{"b.mp3", 0, 1}}}, {3, {{"c.mp3", 0, 1}}}});
        if (langOffset == kLangEnglish)
            dlg.RunCommand(kLanguageEnglish);
    }
    QString Ask(int command) {
        fake.dialogs.shown.clear();
        EXPECT_TRUE(dlg.RunCommand(command)) << command;
        EXPECT_EQ(fake.dialogs.shown.size(), 1u);
        if (fake.dialogs.shown.empty())
            return {};
        EXPECT_EQ(fake.dialogs.shown.back().caption, QStringLiteral("Information"));
        return fake.dialogs.shown.back().text;
    }
};

const QByteArray kMeta = "<meta name=\"ncc:totaltime\" content=\"1:05:07.500\"/>\n"
                         "<meta name=\"ncc:tocitems\" content=\"12\"/>\n";

TEST(Information, TheTenSentences) {
    for (const int lang : {kLangGerman, kLangEnglish}) {
        InformationBook book(kMeta, lang);
        book.GoToHeading(1);
        book.dlg.Model().m_lstTitles.SetText(1, col::kElapsed, "0:01:00");
        book.fake.player.position = 65;
        book.fake.player.duration = 3725;
        const bool de = lang == kLangGerman;
        const struct {
            int command;
            const char* german;
            const char* english;
        } cases[] = {
            {kBookTimeTotal, "Die Gesamtspieldauer beträgt eine Stunde, 5 Minuten und 7 Sekunden.",
             "Total time one hour, 5 minutes and 7 seconds."},
            {kBookTimeElapsed,
             "Die gehörte Spieldauer beträgt 0 Stunden, 2 Minuten und 5 Sekunden.",
             "Elapsed time 0 hours, 2 minutes and 5 seconds."},
            {kBookTimeRemaining,
             "Die restliche Spieldauer beträgt eine Stunde, 3 Minuten und 2 Sekunden",
             "Remaining time one hour, 3 minutes and 2 seconds"},
            {kTitleTimeTotal, "Die Gesamtspieldauer beträgt eine Stunde, 2 Minuten und 5 Sekunden.",
             "Total time one hour, 2 minutes and 5 seconds."},
            {kTitleTimeElapsed,
             "Die gehörte Spieldauer beträgt 0 Stunden, eine Minute und 5 Sekunden.",
             "Elapsed time 0 hours, one minute and 5 seconds."},
            {kTitleTimeRemaining,
             "Die restliche Spieldauer beträgt eine Stunde, eine Minute und 0 Sekunden.",
             "Remaining time one hour, one minute and 0 seconds."},
            {kBookEntries, "12 Einträge in diesem Buch.", "12 entries in this book."},
            {kBookLevels, "Dieses Buch ist in 3 Hierarchieebenen gegliedert.",
             "This book is structured in 3 levels."},
            {kTitleIndex, "Sie befinden sich auf Überschrift 2 von insgesamt 3.",
             "You are at heading 2 of 3."},
            {kTitleLevel, "Sie befinden sich auf Ebene 2 .", "You are on level 2 ."},
        };
        for (const auto& c : cases)
            EXPECT_EQ(book.Ask(c.command), QString::fromUtf8(de ? c.german : c.english))
                << c.command;
    }
}

// A book without a total, one entry, or an empty entry count; the remaining time of a book
// played past its total; a file played to its end counts position 0.
TEST(Information, MissingAndOddValues) {
    InformationBook book("<meta name=\"ncc:tocitems\" content=\"01\"/>\n");
    EXPECT_EQ(book.Ask(kBookEntries), QStringLiteral("Ein Eintrag in diesem Buch."));
    EXPECT_EQ(book.Ask(kBookTimeTotal),
              QStringLiteral("Die Gesamtspieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden."));
    book.fake.player.position = 500;
    EXPECT_EQ(
        book.Ask(kBookTimeRemaining),
        QStringLiteral("Die restliche Spieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden"));
    book.fake.player.duration = 100;
    book.fake.player.position = 100;
    book.fake.player.state = IPlayer::State::Playing; // at its end: MediaEnded
    EXPECT_EQ(
        book.Ask(kTitleTimeElapsed),
        QStringLiteral("Die gehörte Spieldauer beträgt 0 Stunden, 0 Minuten und 0 Sekunden."));

    InformationBook none("<meta name=\"ncc:tocitems\" content=\"\"/>\n");
    EXPECT_EQ(none.Ask(kBookEntries), QStringLiteral(" Einträge in diesem Buch."));
}

} // namespace
} // namespace tolvaro
