// Reading a book's files: whole regular files only, names written on a system that ignores case.
#include "book/BookFiles.h"
#include "io/CaseInsensitivePath.h"
#include "io/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tolvaro {
namespace {

TEST(CaseInsensitivePath, TheOneNameThatDiffersOnlyInCase) {
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char* name : {"NCC.HTML", "Both.smil", "BOTH.SMIL", "exact.mp3", "EXACT.MP3"})
        QFile(d + u'/' + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QDir(d).mkpath("Audio/Disc1"));
    QFile(d + "/Audio/Disc1/Track01.mp3").open(QIODevice::WriteOnly);
    const struct {
        const char* asked;
        const char* found; // nullptr: the path as asked
    } cases[] = {
        {"ncc.html", "NCC.HTML"},
        {"exact.mp3", nullptr}, // exact wins over a case variant
        {"both.smil", nullptr}, // two variants: the exact rule stands
        {"audio/disc1/track01.MP3", "Audio/Disc1/Track01.mp3"}, // folders too
        {"missing.smil", nullptr},
        {"audio/missing/track01.mp3", nullptr},
    };
    for (const auto& c : cases) {
        const QString asked = d + u'/' + QString::fromLatin1(c.asked);
        const QString want = c.found ? d + u'/' + QString::fromLatin1(c.found) : asked;
        EXPECT_EQ(ExistingPathIgnoringCase(asked).toStdString(), want.toStdString()) << c.asked;
    }
}

TEST(ReadBookFile, OnlyWholeRegularFiles) {
    QTemporaryDir dir;
    const QString d = dir.path() + u'/';
    QFile file(d + "book.smil");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<smil>\r\n</smil>");
    file.close();
    QFile(d + "empty").open(QIODevice::WriteOnly);
    QDir(d).mkdir("folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(d + "pipe").constData(), 0600), 0);
    const struct {
        const char* name;
        std::optional<QByteArray> want;
    } cases[] = {
        {"book.smil", QByteArray("<smil>\r\n</smil>")},
        {"empty", QByteArray()},
        {"missing", std::nullopt},
        {"folder", std::nullopt},
        {"pipe", std::nullopt}, // no writer: reading it would wait for ever
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBookFile(d + c.name), c.want) << c.name;
    // A file of exactly the largest size is read; one byte more is too large.
    EXPECT_EQ(ReadRegularFile(d + "book.smil", 15).status, FileRead::Status::Read);
    EXPECT_EQ(ReadRegularFile(d + "book.smil", 14).status, FileRead::Status::Unreadable);
}

} // namespace
} // namespace tolvaro
