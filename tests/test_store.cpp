#include "store/CA_Enigma.h"
#include "store/DataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvaro {
namespace {

// The codec as the rows describe it, by rotating working copies for every character.
QString EncodeByRotation(const CA_Enigma& e, const QString& text, bool decode) {
    QString plain = e.PlainRow(), scrambled = e.ScrambledRow(), out;
    for (QChar c : text) {
        const qsizetype k = decode ? scrambled.indexOf(c) : plain.indexOf(c);
        out += k < 0 ? c : (decode ? plain[k] : scrambled[k]);
        plain = CA_Enigma::RotateLeft(plain);
        scrambled = CA_Enigma::RotateRight(scrambled);
    }
    return out;
}

TEST(CA_Enigma, RowsHoldTheNinetyOneCharacters) {
    const CA_Enigma e;
    const QString expected = QString::fromUtf8(
        "0123456789 "
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß§!#$%&()*+,-./:;<=>?_");
    for (const QString& row : {e.PlainRow(), e.ScrambledRow()}) {
        ASSERT_EQ(row.size(), 91);
        for (QChar c : expected)
            EXPECT_EQ(row.count(c), 1) << QString(c).toStdString();
    }
    EXPECT_NE(e.PlainRow(), e.ScrambledRow());
}

TEST(CA_Enigma, EdgeCases) {
    const CA_Enigma e;
    EXPECT_EQ(e.Encode(""), "");
    EXPECT_EQ(e.Decode(""), "");
    const QString outside = QString::fromUtf8("\\\\@@\"'[]^`{|}~\té€");
    EXPECT_EQ(e.Encode(outside), outside);
    EXPECT_EQ(e.Decode(outside), outside);

    const QString spaces(10, u' ');
    const QString scrambled = e.Encode(spaces);
    for (int i = 1; i < scrambled.size(); ++i)
        EXPECT_NE(scrambled[i], scrambled[i - 1]);
    EXPECT_EQ(e.Decode(scrambled), spaces);

    // Index 91 maps like index 0; an outside character still counts as a position.
    const QString long92 = QString(91, u'x') + u'a';
    EXPECT_EQ(e.Encode(long92)[91], e.Encode("a")[0]);
    EXPECT_EQ(e.Encode("x@b")[2], e.Encode("xyb")[2]);
    EXPECT_EQ(e.Encode("x@b")[1], u'@');
    EXPECT_EQ(e.Encode("same line"), e.Encode("same line"));

    EXPECT_EQ(CA_Enigma::RotateLeft("abc"), "bca");
    EXPECT_EQ(CA_Enigma::RotateRight("abc"), "cab");
    EXPECT_EQ(CA_Enigma::RotateLeft("a"), "a");
    EXPECT_EQ(CA_Enigma::RotateRight(""), "");
}

// The index arithmetic gives what rotating the rows gives, and decoding undoes encoding.
TEST(CA_Enigma, ArithmeticEqualsRotationOverRandomStrings) {
    const CA_Enigma e;
    const QString alphabet = e.PlainRow() + QString::fromUtf8("\\@\"~\té€漢");
    QRandomGenerator random(12345);
    for (int n = 0; n < 500; ++n) {
        QString text;
        const int length = random.bounded(0, 300);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.bounded(static_cast<int>(alphabet.size()))];
        const QString encoded = e.Encode(text);
        ASSERT_EQ(encoded, EncodeByRotation(e, text, false));
        ASSERT_EQ(e.Decode(encoded), text);
        ASSERT_EQ(e.Decode(text), EncodeByRotation(e, text, true));
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
    QByteArray Content() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
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

// Lines the codec never writes (not UTF-8, control characters) are flagged as foreign.
TEST(DataFile, ForeignLinesAreFlagged) {
    QByteArray bytes = datafile::EncodeLines({"plain", "Über", "tab\there"});
    bytes += "\xff\xfe\r\nbell\x07\r\nC1\xc2\x85\r\n";
    std::vector<bool> foreign;
    const QStringList lines = datafile::DecodeLines(bytes, &foreign);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[1], QString::fromUtf8("Über"));
    EXPECT_EQ(foreign, (std::vector<bool>{false, false, false, true, true, true}));
}

} // namespace
} // namespace tolvaro
