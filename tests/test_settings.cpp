#include "app/CTolvaroDlg.h"
#include "app/CommandIds.h"
#include "fakes/FakePlatform.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using namespace cmd;

struct SettingsTest : ::testing::Test {
    QTemporaryDir data;
    test::FakePlatform fake;
    CTolvaroDlg dlg{fake.Get()};

    QString File(const char16_t* name) const { return DataFilePath(data.path(), name); }
    void Start(const char* locale = "de_DE") {
        dlg.OnInitDialog({"/prog", data.path(), "", locale});
    }
    void WriteSettings(const QStringList& lines) {
        ASSERT_TRUE(datafile::WriteLines(File(kSettingsFile), lines));
    }
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultFiles) {
    Start("en_GB");
    for (const char16_t* name : {kResumeFile, kBookmarkFile, kLastBookFile}) {
        EXPECT_TRUE(QFileInfo::exists(File(name)));
        EXPECT_EQ(QFileInfo(File(name)).size(), 0);
    }
    const auto lines = datafile::ReadLines(File(kSettingsFile));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (QStringList{"50", "1.000000", "0", "0", "0", "0", "1", "1", "#ffff00", "0",
                                   "0", "0", "#ffff00", "200"}));
    EXPECT_EQ(dlg.LangOffset(), kLangEnglish); // the locale is not German
    EXPECT_EQ(fake.player.volume, 50);
    EXPECT_TRUE(dlg.Commands().IsChecked(kAutoPlay));
    EXPECT_TRUE(dlg.Commands().IsChecked(kMarkBackground));
}

// Only a missing file is written; what the user saved is never replaced.
TEST_F(SettingsTest, ExistingFilesAreKept) {
    Start();
    ASSERT_TRUE(datafile::WriteLines(File(kResumeFile), {"a resume record"}));
    ASSERT_TRUE(QFile::remove(File(kSettingsFile)));
    WriteDefaultFiles(data.path(), DefaultSettings("de_DE"));
    EXPECT_EQ(datafile::ReadLines(File(kResumeFile)), QStringList{"a resume record"});
    EXPECT_EQ(datafile::ReadLines(File(kSettingsFile))->size(), 14);

    QFile empty(File(kSettingsFile));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
    empty.close();
    WriteDefaultFiles(data.path(), DefaultSettings("de_DE"));
    EXPECT_EQ(QFileInfo(File(kSettingsFile)).size(), 0);
}

TEST_F(SettingsTest, EmptySettingsFileReadsAsFourteenEmptyLines) {
    QFile(File(kSettingsFile)).open(QIODevice::WriteOnly);
    Start("en_US");
    EXPECT_EQ(dlg.Volume(), 0);
    EXPECT_EQ(dlg.Rate(), 0.0);
    EXPECT_EQ(dlg.LangOffset(), kLangGerman); // line 14 empty counts as 0
    EXPECT_FALSE(dlg.Commands().IsChecked(kAutoPlay));
    EXPECT_EQ(fake.player.volume, 0);
}

TEST_F(SettingsTest, LinesAreReadAsTheyCome) {
    const struct {
        const char* name;
        QStringList lines;
        int lang;
        bool footnote, autoPlay;
        int styleMarked;
        const char* color;
    } cases[] = {
        {"English",
         {"60", "1.2", "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "200"},
         kLangEnglish,
         false,
         false,
         0,
         ""},
        {"unknown language stays German",
         {"60", "1.2", "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "", "100"},
         kLangGerman,
         false,
         false,
         0,
         ""},
        {"both colour styles: line 13 wins",
         {"60", "1.2", "01", "0", "0", "0", "yes", "1", "#111111", "0", "0", "1", "#222222", "0"},
         kLangGerman,
         true,
         false,
         kMarkTextColor,
         "#222222"},
        {"five lines", {"60", "1.2", "1", "0", "1"}, kLangGerman, true, false, 0, ""},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        test::FakePlatform f;
        CTolvaroDlg d(f.Get());
        ASSERT_TRUE(datafile::WriteLines(DataFilePath(dir.path(), kSettingsFile), c.lines));
        d.OnInitDialog({"/prog", dir.path(), "", "en_US"});
        EXPECT_EQ(d.LangOffset(), c.lang) << c.name;
        EXPECT_EQ(d.Commands().IsChecked(kSkipFootnote), c.footnote) << c.name;
        EXPECT_EQ(d.AutoPlay(), c.autoPlay) << c.name;
        EXPECT_EQ(d.MarkColor(), QString::fromUtf8(c.color)) << c.name;
        for (int style : {kMarkBackground, kMarkItalic, kMarkBold, kMarkTextColor})
            EXPECT_EQ(d.Commands().IsChecked(style), style == c.styleMarked) << c.name;
        EXPECT_EQ(f.player.volume, 60);
        EXPECT_DOUBLE_EQ(f.player.rate, 1.2);
        const bool marked =
            c.lang == kLangEnglish || c.lines.value(13) == "0" || c.lines.size() < 14;
        EXPECT_EQ(d.Commands().IsChecked(kLanguageGerman) ||
                      d.Commands().IsChecked(kLanguageEnglish),
                  marked)
            << c.name;
        if (c.lang == kLangEnglish) {
            EXPECT_TRUE(f.textView.navigations.last().endsWith("start_en.html"));
        }
    }
}

TEST_F(SettingsTest, ExitSavesTheSettings) {
    Start();
    fake.player.volume = 100;
    dlg.Commands().SetEnabled(kAutoPlay, true);
    dlg.RunCommand(kAutoPlay); // off
    dlg.RunCommand(kLanguageEnglish);
    dlg.RunCommand(kExit);
    const auto lines = datafile::ReadLines(File(kSettingsFile));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->value(0), "50");
    EXPECT_EQ(lines->value(1), "1.000000");
    EXPECT_EQ(lines->value(6), "0");
    EXPECT_EQ(lines->value(13), "200");
}

TEST(SettingsLines, NumbersAsTheCLibraryReadsThem) {
    Settings s;
    s.volume = 75;
    s.rate = 1.5;
    const QStringList lines = SettingsToLines(s);
    EXPECT_EQ(lines[0], "75");
    EXPECT_EQ(lines[1], "1.500000");
    const struct {
        const char* text;
        int value;
    } ints[] = {{"01", 1}, {"yes", 0}, {"", 0}, {"  42abc", 42}, {"-7", -7}, {"+3", 3}, {"+-3", 0}};
    for (const auto& c : ints)
        EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
    EXPECT_DOUBLE_EQ(ParseDouble(" 1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(ParseDouble("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ParseDouble("1.9999999999999998"), 1.9999999999999998);
}

TEST_F(SettingsTest, LanguageSwitchWithoutABook) {
    Start();
    dlg.RunCommand(kLanguageEnglish);
    EXPECT_EQ(dlg.Model().m_lbBookmarks.Line(0), "No bookmarks");
    EXPECT_EQ(dlg.Model().m_lbSearchHits.Line(0), "No search results");
    EXPECT_EQ(dlg.Commands().Action(kBookmarkSet)->text(), "Set");
    EXPECT_FALSE(dlg.Commands().IsEnabled(kBookmarkSet));
    EXPECT_TRUE(fake.textView.navigations.last().endsWith("/documents/html/start_en.html"));
}

} // namespace
} // namespace tolvaro
