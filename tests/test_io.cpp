// Finding a book's files by names written on a system that ignores case.
#include "io/CaseInsensitivePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        {"exact.mp3", nullptr},                            // exact wins over a case variant
        {"both.smil", nullptr},                            // two variants: the exact rule stands
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

} // namespace
} // namespace tolvaro
