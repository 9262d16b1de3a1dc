#include "store/CA_Enigma.h"
#include "store/DataFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
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

} // namespace
} // namespace tolvaro
