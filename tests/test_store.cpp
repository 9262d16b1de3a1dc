#include "store/BookmarkFile.h"
#include "store/CA_Enigma.h"
#include "store/DataFile.h"
#include "store/ResumeFile.h"
#include "store/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {
namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Files the program wrote, kept as users have them on disk: they read back to the values they
// were written from and are written again byte for byte. A change of the cipher, the text
// encoding or the line end would make every user's files unreadable.
TEST(DataFile, GoldenFilesReadAndWriteBackTheSame) {
    const QString golden = QStringLiteral(TOLVARO_TEST_DATA "/golden/");
    const auto settings = datafile::ReadLines(golden + "Settings.dl");
    ASSERT_TRUE(settings.has_value());
    const Settings s = SettingsFromLines(*settings, DefaultSettings("de_DE"));
    EXPECT_EQ(s.volume, 70);
    EXPECT_DOUBLE_EQ(s.rate, 1.4);
    EXPECT_TRUE(s.skipFootnote && s.skipProdnote && !s.skipSidebar && !s.autoPlay);
    EXPECT_TRUE(s.markTextColor && !s.markBackground);
    EXPECT_EQ(s.markColor, "#00ff7f");
    EXPECT_EQ(s.langOffset, 200);
    // The file as users have it holds 14 lines: they come back unchanged, reading text aloud
    // after them, which a 15th line turns off.
    EXPECT_TRUE(s.readAloud);
    EXPECT_EQ(SettingsToLines(s), *settings + QStringList{"1"});
    for (const auto& [line, aloud] : {std::pair{"0", false}, {"1", true}, {"7", true}}) {
        EXPECT_EQ(SettingsFromLines(*settings + QStringList{line}, {}).readAloud, aloud) << line;
    }

    const auto resume = datafile::ReadLines(golden + "AResume.dl");
    ASSERT_TRUE(resume.has_value());
    const auto record = FindResumeRecord(*resume, {"2026-12-06", "tolvaro-snapshot",
                                                   QString::fromUtf8("Über das Lesen"), "1 of 1",
                                                   "5", "0:00:14.143"});
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->heading, "1");
    EXPECT_EQ(record->position, "2.158");
    EXPECT_EQ(record->phrase, "6");
    EXPECT_EQ(resume->value(11), QString::fromUtf8("Ærø & “Tom”"));
    EXPECT_EQ(datafile::ReadLines(golden + "Letztes.dl"),
              QStringList{QString::fromUtf8("/home/leser/Bücher/Über das Lesen/")});

    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("ja"));
    for (const char* name : {"Settings.dl", "AResume.dl", "Letztes.dl", "ja/AResume.dl",
                             "ja/MResume.dl"}) {
        const QString again = dir.filePath(name);
        ASSERT_TRUE(datafile::WriteLines(again, *datafile::ReadLines(golden + name)));
        EXPECT_EQ(Bytes(again), Bytes(golden + name)) << name;
    }
}

// A Japanese book's records as the program wrote them, beside another book's: its identity holds
// the UTF-8 bytes of its NCC one character each, 0x80 to 0x9F among them. Both records are found
// and kept by a third book's save (and written back byte for byte, above).
TEST(DataFile, GoldenRecordsOfABookBeyondAscii) {
    const QString golden = QStringLiteral(TOLVARO_TEST_DATA "/golden/ja/");
    const QStringList ja = {"2009-06-11",
                            "81353847207-020",
                            QString::fromLatin1(QStringView(u"ごんぎつね").toUtf8()),
                            "1 of 1",
                            "32",
                            "00:22:56"};
    const QStringList other = {"2026", "id", "other", "1 of 1", "1", "0:00:01"};
    const datafile::DataLines resume = datafile::Read(golden + "AResume.dl");
    const datafile::DataLines marks = datafile::Read(golden + "MResume.dl");
    ASSERT_EQ(resume.lines.size(), 18);
    ASSERT_EQ(marks.lines.size(), 20);
    const QStringList resumeSaved =
        WithResumeRecord(resume.lines, {other, "0", "1.000", "0"}, resume.foreign);
    const QStringList marksSaved = WithBookmarks(marks.lines, marks.foreign, other, {});
    for (const QStringList& lines : {resume.lines, resumeSaved}) {
        const auto record = FindResumeRecord(lines, ja);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->heading, "2");
        EXPECT_EQ(record->position, "7.530");
        EXPECT_EQ(record->phrase, "8");
        EXPECT_TRUE(FindResumeRecord(lines, resume.lines.mid(0, 6)).has_value()); // dontworry's
    }
    for (const QStringList& lines : {marks.lines, marksSaved}) {
        const std::vector<Bookmark> found = BookmarksOf(lines, ja);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].title, "1-2");
        EXPECT_EQ(found[0].phrase, "8");
        EXPECT_EQ(lines.size(), 20);
    }
}

TEST(DataFile, LinesRoundTripAndLineEndsAreRead) {
    const QStringList lines = {"/home/ü/Bücher/Ein Buch/", "", "1.500000", "€ and 漢字", "  "};
    const QByteArray bytes = datafile::EncodeLines(lines);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), lines.size());
    EXPECT_EQ(datafile::DecodeLines(bytes), lines);

    const CA_Enigma e;
    const QByteArray a = e.Encode("abc").toUtf8(), b = e.Encode("de").toUtf8();
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {a + "\n" + b, {"abc", "de"}}, // LF only, last line without an end
        {a + "\r\n\r\n" + b + "\r\n", {"abc", "", "de"}},
        {e.Encode(QString::fromLatin1("\xe4")).toLatin1() + "\r\n",
         {QString::fromUtf8("ä")}}, // not UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(datafile::DecodeLines(c.bytes), c.lines);
}

struct ReplaceTest : ::testing::Test {
    QTemporaryDir dir;
    QString Path() const { return dir.filePath("Saved.dl"); }
    QByteArray Content() const { return Bytes(Path()); }
};

// Whatever step fails, what was saved before is still there and no temporary file is left.
TEST_F(ReplaceTest, FailuresKeepTheSavedFile) {
    const auto fail = [](auto) { return -1; };
    const struct {
        const char* name;
        std::function<void(datafile::FileCalls&)> inject;
    } cases[] = {
        {"open", [&](auto& c) { c.open = [](const char*, int, mode_t) { return -1; }; }},
        {"write", [&](auto& c) { c.write = [](int, const char*, size_t) { return ssize_t(-1); }; }},
        {"short write then error",
         [&](auto& c) {
             c.write = [n = 0](int fd, const char* d, size_t) mutable {
                 return n++ == 0 ? ::write(fd, d, 1) : ssize_t(-1);
             };
         }},
        {"fsync", [&](auto& c) { c.fsync = fail; }},
        {"rename", [&](auto& c) { c.rename = [](const char*, const char*) { return -1; }; }},
        {"temporary file gone",
         [&](auto& c) {
             c.rename = [](const char* from, const char* to) {
                 ::unlink(from);
                 return ::rename(from, to);
             };
         }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(datafile::WriteLines(Path(), {"kept"}));
        const QByteArray before = Content();
        datafile::FileCalls calls = datafile::SystemCalls();
        c.inject(calls);
        EXPECT_FALSE(datafile::ReplaceFile(Path(), "new content", {}, calls)) << c.name;
        EXPECT_EQ(Content(), before) << c.name;
        EXPECT_FALSE(QFile::exists(Path() + ".tmp")) << c.name;
    }
}

TEST_F(ReplaceTest, WritesThroughTheNamedTemporaryFile) {
    ASSERT_TRUE(datafile::WriteLines(Path(), {"one"}, dir.filePath("AResume.tmp")));
    EXPECT_EQ(datafile::ReadLines(Path()), QStringList{"one"});
    EXPECT_FALSE(QFile::exists(dir.filePath("AResume.tmp")));
    EXPECT_FALSE(datafile::WriteLines(dir.filePath("no/such/folder/x.dl"), {"x"}));
    EXPECT_FALSE(datafile::ReadLines(dir.filePath("missing.dl")).has_value());
}

// A file that is there but cannot be read whole is left exactly as it is: it may hold the
// user's data, readable again later. Nothing is read from it either, and nothing blocks.
TEST_F(ReplaceTest, WhatCannotBeReadIsNeverReplaced) {
    const QString path = Path();
    const struct {
        const char* name;
        std::function<bool()> make; // false when the case cannot be made here
    } cases[] = {
        {"no read permission",
         [&] {
             return geteuid() != 0 && datafile::WriteLines(path, {"mine"}) &&
                    QFile::setPermissions(path, QFileDevice::WriteOwner);
         }},
        {"larger than any data file",
         [&] {
             QFile f(path);
             return f.open(QIODevice::WriteOnly) && f.resize(datafile::kMaxDataFile + 1);
         }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"a link to /dev/zero", [&] { return QFile::link("/dev/zero", path); }},
        {"a folder", [&] { return QDir().mkdir(path); }},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        QDir().rmdir(path);
        if (!c.make())
            continue;
        const QFileInfo info(path);
        const qint64 size = info.size();
        const bool link = info.isSymLink();
        const QDateTime modified = info.lastModified();
        EXPECT_EQ(datafile::Read(path).status, FileRead::Status::Unreadable) << c.name;
        EXPECT_FALSE(datafile::ReadLines(path).has_value()) << c.name;
        EXPECT_FALSE(datafile::WriteLines(path, {"new"})) << c.name;
        const QFileInfo after(path);
        EXPECT_EQ(after.size(), size) << c.name;
        EXPECT_EQ(after.isSymLink(), link) << c.name;
        EXPECT_EQ(after.lastModified(), modified) << c.name;
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QDir().rmdir(path);
    EXPECT_EQ(datafile::Read(path).status, FileRead::Status::Missing);
    EXPECT_TRUE(datafile::WriteLines(path, {"new"})); // a missing file is written
}

// A link planted as the temporary file never makes a save write to what it points to.
TEST_F(ReplaceTest, NeverWritesThroughALink) {
    const QString victim = dir.filePath("victim");
    for (const QString& temp : {Path() + ".tmp", dir.filePath("AResume.tmp")}) {
        QFile v(victim);
        ASSERT_TRUE(v.open(QIODevice::WriteOnly | QIODevice::Truncate));
        v.write("untouched");
        v.close();
        ASSERT_TRUE(QFile::link(victim, temp));
        const QString tempPath = temp.endsWith("AResume.tmp") ? temp : QString();
        EXPECT_TRUE(datafile::WriteLines(Path(), {"saved"}, tempPath)) << temp.toStdString();
        EXPECT_EQ(datafile::ReadLines(Path()), QStringList{"saved"}) << temp.toStdString();
        QFile check(victim);
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), "untouched") << temp.toStdString();
        EXPECT_FALSE(QFileInfo(Path()).isSymLink());
    }
}

// Only bytes the program never writes (not UTF-8) are flagged as foreign. Whatever characters a
// line holds, control characters and U+0080 to U+009F among them (a book's identity keeps its
// NCC's bytes one character each), it reads back as written and unflagged.
TEST(DataFile, ForeignLinesAreFlagged) {
    QString every;
    for (char16_t c = 1; c < 0x100; ++c) {
        if (c != u'\n')
            every += QChar(c);
    }
    const QStringList written = {"plain", "Über", every, every + u'\r', QString(1, QChar(0))};
    QByteArray bytes = datafile::EncodeLines(written);
    bytes += "\xff\xfe\r\nC1\xc2\r\n";
    std::vector<bool> foreign;
    const QStringList lines = datafile::DecodeLines(bytes, &foreign);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.mid(0, 5), written);
    EXPECT_EQ(foreign, (std::vector<bool>{false, false, false, false, false, true, true}));
}

} // namespace
} // namespace tolvaro
