#include "app/CTolvaroDlg.h"
#include "commands/CommandIds.h"
#include "fakes/FakePlatform.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <climits>

#include "Printers.h"
#include "Session.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using namespace cmd;

struct SettingsTest : ::testing::Test, test::Session {
    void WriteSettings(const QStringList& lines) {
        ASSERT_TRUE(QDir().mkpath(Data()) && datafile::WriteLines(File(kSettingsFile), lines));
    }
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultFiles) {
    Start("/prog", "en_GB");
    for (const char16_t* name : {kResumeFile, kBookmarkFile, kLastBookFile}) {
        EXPECT_TRUE(QFileInfo::exists(File(name)));
        EXPECT_EQ(QFileInfo(File(name)).size(), 0);
    }
    const auto lines = datafile::ReadLines(File(kSettingsFile));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (QStringList{"50", "1.000000", "0", "0", "0", "0", "1", "1", "#ffff00", "0",
                                   "0", "0", "#ffff00", "200", "1"}));
    EXPECT_EQ(dlg.LangOffset(), kLangEnglish); // the locale is not German
    EXPECT_EQ(fake.player.volume, 50);
    EXPECT_TRUE(dlg.Commands().IsChecked(kAutoPlay));
    EXPECT_TRUE(dlg.Commands().IsChecked(kMarkBackground));
    EXPECT_TRUE(dlg.Commands().IsChecked(kReadAloud));
}

// Only a missing file is written; what the user saved is never replaced.
TEST_F(SettingsTest, ExistingFilesAreKept) {
    Start();
    ASSERT_TRUE(datafile::WriteLines(File(kResumeFile), {"a resume record"}));
    ASSERT_TRUE(QFile::remove(File(kSettingsFile)));
    WriteDefaultFiles(Data(), DefaultSettings("de_DE"));
    EXPECT_EQ(datafile::ReadLines(File(kResumeFile)), QStringList{"a resume record"});
    EXPECT_EQ(datafile::ReadLines(File(kSettingsFile))->size(), 15);

    QFile empty(File(kSettingsFile));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    WriteDefaultFiles(Data(), DefaultSettings("de_DE"));
    EXPECT_EQ(QFileInfo(File(kSettingsFile)).size(), 0);
}

// An empty or garbled file starts with the defaults, not silent at volume 0, and the exit saves
// the defaults back; the valid lines of a damaged file are kept.
TEST_F(SettingsTest, DamagedLinesGiveTheirDefaults) {
    const QStringList good = {"60", "1.2",     "1", "0", "0", "0",       "0",
                              "1",  "#123456", "0", "0", "0", "#123456", "200"};
    const auto with = [&good](int line, const char* text) {
        QStringList lines = good;
        lines[line - 1] = QString::fromUtf8(text);
        return lines;
    };
    const struct {
        const char* name;
        QStringList lines;
        int volume;
        double rate;
        bool footnote, autoPlay;
        const char* color;
        int lang;
    } cases[] = {
        {"all valid", good, 60, 1.2, true, false, "#123456", kLangEnglish},
        {"empty file", {}, 50, 1.0, false, true, "#ffff00", kLangGerman},
        {"garbage", {"\x01\x02", "zz", "", "?"}, 50, 1.0, false, true, "#ffff00", kLangGerman},
        {"volume above 100", with(1, "250"), 50, 1.2, true, false, "#123456", kLangEnglish},
        {"volume below 0", with(1, "-1"), 50, 1.2, true, false, "#123456", kLangEnglish},
        {"volume past any integer", with(1, "99999999999999999999"), 50, 1.2, true, false,
         "#123456", kLangEnglish},
        {"volume with text after it", with(1, "12x"), 12, 1.2, true, false, "#123456",
         kLangEnglish},
        {"rate 0", with(2, "0"), 60, 1.0, true, false, "#123456", kLangEnglish},
        {"rate past the steps", with(2, "3.5"), 60, 1.0, true, false, "#123456", kLangEnglish},
        {"slowest rate", with(2, "0.600000"), 60, 0.6, true, false, "#123456", kLangEnglish},
        {"flag 2", with(3, "2"), 60, 1.2, false, false, "#123456", kLangEnglish},
        {"flag as a word", with(7, "yes"), 60, 1.2, true, true, "#123456", kLangEnglish},
        {"no colour", with(9, ""), 60, 1.2, true, false, "#ffff00", kLangEnglish},
        {"a colour name", with(9, "red"), 60, 1.2, true, false, "#ffff00", kLangEnglish},
        {"unknown language", with(14, "100"), 60, 1.2, true, false, "#123456", kLangGerman},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        test::FakePlatform f;
        CTolvaroDlg d(f.Get());
        const QString file = DataFilePath(dir.path(), kSettingsFile);
        ASSERT_TRUE(datafile::WriteLines(file, c.lines));
        d.OnInitDialog({"/prog", dir.path(), "", "de_DE"});
        EXPECT_EQ(f.player.volume, c.volume) << c.name;
        EXPECT_DOUBLE_EQ(f.player.rate, c.rate) << c.name;
        EXPECT_EQ(d.Commands().IsChecked(kSkipFootnote), c.footnote) << c.name;
        EXPECT_EQ(d.Commands().IsChecked(cmd::kAutoPlay), c.autoPlay) << c.name;
        EXPECT_EQ(d.MarkColor(), QString::fromUtf8(c.color)) << c.name;
        EXPECT_EQ(d.LangOffset(), c.lang) << c.name;
        EXPECT_TRUE(
            d.Commands().IsChecked(c.lang == kLangEnglish ? kLanguageEnglish : kLanguageGerman))
            << c.name;
        d.RunCommand(kExit);
        EXPECT_EQ(datafile::ReadLines(file)->value(0), QString::number(c.volume)) << c.name;
    }
}

// Of several style lines the last one carries the mark, with its colour.
TEST_F(SettingsTest, BothColourStylesLine13Wins) {
    WriteSettings(
        {"60", "1.2", "0", "0", "0", "0", "1", "1", "#111111", "0", "0", "1", "#222222", "0"});
    Start();
    EXPECT_EQ(dlg.MarkColor(), "#222222");
    for (int style : {kMarkBackground, kMarkItalic, kMarkBold, kMarkTextColor})
        EXPECT_EQ(dlg.Commands().IsChecked(style), style == kMarkTextColor);
}

// The four mark styles, one after another as a user picks them: the colour dialog opens at its
// fixed colour each time, Cancel changes nothing, italic and bold keep the colour; what is
// chosen last is in Settings.dl after the exit.
TEST_F(SettingsTest, MarkStylesRoundTrip) {
    Start();
    fake.player.url = File(kSettingsFile); // a file the player has open
    const struct {
        int command;
        std::optional<QString> answer;
        const char* start; // where the colour dialog opened; "" for none
        int checked;
        const char* color;
    } steps[] = {
        {kMarkBold, {}, "", kMarkBold, "#ffff00"},
        {kMarkBackground, "#0000ff", "#ff8000", kMarkBackground, "#0000ff"},
        {kMarkItalic, {}, "", kMarkItalic, "#0000ff"},
        {kMarkTextColor, std::nullopt, "#ffffff", kMarkItalic, "#0000ff"},  // cancelled
        {kMarkBackground, std::nullopt, "#ff8000", kMarkItalic, "#0000ff"}, // cancelled
        {kMarkTextColor, "#12ab0f", "#ffffff", kMarkTextColor, "#12ab0f"},
    };
    for (const auto& step : steps) {
        fake.dialogs.colorStarts.clear();
        fake.dialogs.colorAnswer = step.answer;
        dlg.Commands().SetEnabled(step.command, true);
        ASSERT_TRUE(dlg.RunCommand(step.command));
        EXPECT_EQ(fake.dialogs.colorStarts.join(""), QString::fromLatin1(step.start))
            << step.command;
        for (int style : {kMarkBackground, kMarkItalic, kMarkBold, kMarkTextColor})
            EXPECT_EQ(dlg.Commands().IsChecked(style), style == step.checked) << step.command;
        EXPECT_EQ(dlg.MarkColor(), QString::fromLatin1(step.color));
    }
    dlg.OnExit();
    const QStringList lines = datafile::ReadLines(File(kSettingsFile)).value_or(QStringList());
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines.mid(7, 6), (QStringList{"0", "#12ab0f", "0", "0", "1", "#12ab0f"}));

    CTolvaroDlg again{fake.Get()};
    again.OnInitDialog({"/prog", Data(), "", "de_DE"});
    EXPECT_EQ(again.MarkColor(), "#12ab0f");
    EXPECT_TRUE(again.Commands().IsChecked(kMarkTextColor));
}

TEST(SettingsLines, NumbersAsTheCLibraryReadsThem) {
    const struct {
        const char* text;
        int value;
    } ints[] = {{"01", 1},
                {"yes", 0},
                {"", 0},
                {"  42abc", 42},
                {"-7", -7},
                {"+3", 3},
                {"+-3", 0},
                {"99999999999999999999", INT_MAX},
                {"-99999999999999999999", INT_MIN}};
    for (const auto& c : ints)
        EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
    EXPECT_EQ(LeadingInt(" -99999999999999999999999"), -9223372036854775807LL);
    EXPECT_EQ(LeadingInt("x1"), std::nullopt);
    EXPECT_DOUBLE_EQ(ParseDouble(" 1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(ParseDouble("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ParseDouble("1.9999999999999998"), 1.9999999999999998);
}

} // namespace
} // namespace tolvaro
