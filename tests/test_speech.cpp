// The synthesizer's contract, on the fake the engine tests use and on espeak-ng alike.
#include "fakes/FakePlatform.h"
#include "shell/EspeakSpeech.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// The seconds of a mono 16-bit WAV file as its format and data chunks give them.
double WavSeconds(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wav = file.readAll();
    const qsizetype data = wav.indexOf("data");
    if (wav.size() < 44 || data < 0)
        return -1;
    const auto rate = qFromLittleEndian<quint32>(wav.constData() + 24);
    const auto bytes = qFromLittleEndian<quint32>(wav.constData() + data + 4);
    return rate == 0 ? -1 : bytes / 2.0 / rate;
}

template <typename Speech> struct SpeechContract : ::testing::Test {
    Speech speech;
    QTemporaryDir dir;
};
using Synthesizers = ::testing::Types<test::FakeSpeech, EspeakSpeech>;
TYPED_TEST_SUITE(SpeechContract, Synthesizers);

// What can be said is rendered into a WAV file of the seconds answered; what cannot leaves no
// file; hostile text renders, and the rendering ends.
TYPED_TEST(SpeechContract, RendersWhatCanBeSaid) {
    ASSERT_TRUE(this->speech.Available());
    const QString path = this->dir.filePath("phrase.wav");
    QString huge;
    for (int i = 0; i < 100'000; ++i)
        huge += QStringLiteral("word ");
    const struct {
        const char* name;
        QString text, language, path;
        bool said;
    } cases[] = {
        {"a phrase", "Hello world, this is a phrase.", "en-US", path, true},
        {"another language", "Guten Tag", "de", path, true},
        {"a language nobody knows", "Hello", "xx-unknown", path, true},
        {"markup and control characters", "<b>bold</b> \x01\x07 <?x?> &amp;", "en", path, true},
        {"half a megabyte", huge, "en", path, true},
        {"nothing to say", " \n\t\x02 ", "en", path, false},
        {"a folder that is not there", "Hello", "en", this->dir.filePath("no/p.wav"), false},
    };
    for (const auto& c : cases) {
        QFile(path).open(QIODevice::WriteOnly); // something there before
        const std::optional<double> seconds = this->speech.Render(c.text, c.language, c.path);
        EXPECT_EQ(seconds.has_value(), c.said) << c.name;
        EXPECT_EQ(QFile::exists(c.path), c.said) << c.name;
        if (seconds) {
            EXPECT_GT(*seconds, 0.1) << c.name;
            EXPECT_NEAR(WavSeconds(c.path), *seconds, 0.01) << c.name;
        }
    }
}

} // namespace
} // namespace tolvaro
