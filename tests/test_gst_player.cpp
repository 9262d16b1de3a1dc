#include "bookwriter/DaisyWriter.h"
#include "fakes/FakePlatform.h"
#include "shell/GstPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <vector>

#include <sys/stat.h>

#include "Soon.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

constexpr int kRate = 8000;

// A mono 16-bit WAV of a sine tone.
QByteArray ToneWav(double frequency, double seconds) {
    const int count = static_cast<int>(seconds * kRate);
    QByteArray data(count * 2, '\0');
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<qint16>(12000 * std::sin(2 * M_PI * frequency * i / kRate));
        qToLittleEndian(v, data.data() + 2 * i);
    }
    return MakeWav(data, kRate);
}

// At its end a file reports media ended, and stopped soon after.
bool Ended(const GstPlayer& player) {
    return player.PlayState() == IPlayer::State::MediaEnded ||
           player.PlayState() == IPlayer::State::Stopped;
}

// The sink the process was started with comes back after each test that chose its own, so
// that the program tests after these play as they expect.
struct KeepsTheSink {
    KeepsTheSink() : m_sink(qgetenv("TOLVARO_AUDIO_SINK")) {}
    ~KeepsTheSink() { qputenv("TOLVARO_AUDIO_SINK", m_sink); }
    QByteArray m_sink;
};

struct PlayerTest : ::testing::Test {
    KeepsTheSink keep;
    QTemporaryDir dir;
    QString Tone(double frequency, double seconds) {
        const QString path = dir.filePath(QStringLiteral("tone.wav"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ToneWav(frequency, seconds));
        return path;
    }
};

// What every player promises, checked on the real player and on the tests' fake alike.
struct SinkForTests : KeepsTheSink {
    SinkForTests() { qputenv("TOLVARO_AUDIO_SINK", "fakesink sync=true"); }
};

template <class Player> struct PlayerContract : SinkForTests, ::testing::Test {
    QTemporaryDir dir;
    Player player;

    QString File(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    bool Opens(const QString& path) {
        player.SetUrl(path);
        return QTest::qWaitFor([&] { return player.OpenState() == IPlayer::Open::MediaOpen; },
                               3000);
    }
};
// What only differs in kind: the fake is told what the file would tell it, and its clock moves
// when a test moves it; the real player reads the file and plays in real time.
void Loaded(test::FakePlayer& fake, double seconds) {
    fake.duration = seconds;
}
void Loaded(GstPlayer&, double) {}
void TimePasses(test::FakePlayer& fake, double seconds) {
    fake.position += seconds;
}
void TimePasses(GstPlayer&, double seconds) {
    QTest::qWait(static_cast<int>(seconds * 1000));
}
using Players = ::testing::Types<test::FakePlayer, GstPlayer>;
TYPED_TEST_SUITE(PlayerContract, Players);

// Only regular files are opened; SetUrl on a pipe returns at once (it would block in open()).
// Any other path has failed; no path has not.
TYPED_TEST(PlayerContract, OpensOnlyRegularFiles) {
    const QString pipe = this->dir.filePath("pipe.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir(this->dir.path()).mkdir("folder.wav"));
    for (const QString& path :
         {pipe, this->dir.filePath("folder.wav"), this->dir.filePath("missing.wav"), QString()}) {
        this->player.SetUrl(path);
        QTest::qWait(100);
        EXPECT_NE(this->player.OpenState(), IPlayer::Open::MediaOpen) << path.toStdString();
        EXPECT_EQ(this->player.PlayState(), IPlayer::State::Stopped) << path.toStdString();
        EXPECT_EQ(this->player.Failed(), !path.isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(this->Opens(this->File("tone.wav", ToneWav(440, 1.0))));
    EXPECT_FALSE(this->player.Failed());
}

// The play states as documented: no play without media; play, pause and play on; the rate and
// the duration; at the file's end the media has ended (and stopped soon after).
TYPED_TEST(PlayerContract, PlaysPausesAndEnds) {
    auto& player = this->player;
    player.Play();
    EXPECT_EQ(player.PlayState(), IPlayer::State::Stopped); // no media
    ASSERT_TRUE(this->Opens(this->File("tone.wav", ToneWav(440, 1.0))));
    Loaded(player, 1.0);
    EXPECT_NEAR(player.Duration(), 1.0, 0.05);
    player.SetRate(1.5);
    EXPECT_DOUBLE_EQ(player.Rate(), 1.5);
    player.SetRate(1.0);
    player.SetPosition(0.5);
    player.Play();
    EXPECT_EQ(player.PlayState(), IPlayer::State::Playing);
    TimePasses(player, 0.1);
    ASSERT_SOON(player.Position() > 0.55, 3000);
    player.Pause();
    EXPECT_EQ(player.PlayState(), IPlayer::State::Paused);
    const double held = player.Position();
    EXPECT_NEAR(player.Position(), held, 0.02);
    player.Play();
    TimePasses(player, 0.5);
    ASSERT_SOON(player.PlayState() == IPlayer::State::MediaEnded ||
                    player.PlayState() == IPlayer::State::Stopped,
                5000);
    player.SetVolume(150);
    EXPECT_EQ(player.Volume(), 100);
}

// Stop rewinds to the start; positions that are no finite number count as 0, and a position far
// past the end is bounded (no overflow when it is converted).
TYPED_TEST(PlayerContract, StopRewindsAndPositionsAreBounded) {
    ASSERT_TRUE(this->Opens(this->File("tone.wav", ToneWav(440, 1.0))));
    this->player.SetPosition(0.5);
    ASSERT_SOON(std::abs(this->player.Position() - 0.5) < 0.05, 3000);
    this->player.Stop();
    EXPECT_EQ(this->player.PlayState(), IPlayer::State::Stopped);
    ASSERT_SOON(this->player.Position() < 0.05, 3000);
    for (const double odd : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308, -1e308}) {
        this->player.SetPosition(odd);
        QTest::qWait(20);
        const double position = this->player.Position();
        EXPECT_TRUE(std::isfinite(position) && position >= 0) << odd << " gave " << position;
    }
}

// The samples captured from the sink, as the sink received them (mono, 16 bit, 8 kHz).
std::vector<qint16> Captured(const QString& raw) {
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<qint16> samples(static_cast<std::size_t>(bytes.size() / 2));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

void CaptureInto(const QString& raw) {
    qputenv("TOLVARO_AUDIO_SINK",
            ("audioconvert ! audioresample ! audio/x-raw,format=S16LE,channels=1,rate=8000 ! "
             "filesink location=" +
             raw)
                .toUtf8());
}

// The volume changes the level of what leaves the player, whatever the sink: a file sink has no
// volume of its own, as alsasink has none.
TEST_F(PlayerTest, VolumeChangesTheLevelOfTheSound) {
    const QString tone = Tone(440, 0.5);
    const auto rms = [&](int volume) {
        const QString raw = dir.filePath(QStringLiteral("level%1.raw").arg(volume));
        CaptureInto(raw);
        GstPlayer player;
        player.SetVolume(volume);
        player.SetUrl(tone);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return player.OpenState() == IPlayer::Open::MediaOpen; }));
        player.Play();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Ended(player); }, 5000));
        double sum = 0;
        const std::vector<qint16> samples = Captured(raw);
        for (qint16 s : samples)
            sum += double(s) * s;
        return samples.empty() ? 0.0 : std::sqrt(sum / double(samples.size()));
    };
    const double normal = rms(50), half = rms(25), silent = rms(0);
    EXPECT_NEAR(normal, 12000 / std::sqrt(2.0), 800);
    EXPECT_NEAR(half / normal, 0.5, 0.05);
    EXPECT_LT(silent, 10);
}

// At rate 1.6 a 440 Hz tone still sounds at 440 Hz, in 1/1.6 of the time.
TEST_F(PlayerTest, FasterKeepsThePitch) {
    const QString raw = dir.filePath("out.raw");
    CaptureInto(raw);
    GstPlayer player;
    player.SetRate(1.6);
    player.SetUrl(Tone(440, 3.0));
    ASSERT_SOON((player.OpenState()) == (IPlayer::Open::MediaOpen), 5000);
    player.Play();
    ASSERT_SOON(Ended(player), 10000);
    const std::vector<qint16> samples = Captured(raw);
    const auto count = static_cast<qsizetype>(samples.size());
    ASSERT_GT(count, 0);
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    const double seconds = static_cast<double>(count) / kRate;
    EXPECT_NEAR(seconds, 3.0 / 1.6, 0.2);
    EXPECT_NEAR(crossings / 2.0 / seconds, 440.0, 20.0);
}

// A file that holds no audio (a damaged one) never opens, however long it is played, and is
// soon known to have failed.
TEST_F(PlayerTest, AFileWithoutAudioNeverOpens) {
    qputenv("TOLVARO_AUDIO_SINK", "fakesink sync=false");
    const QString path = dir.filePath(QStringLiteral("damaged.mp3"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("this is no audio\n").repeated(2000));
    file.close();
    GstPlayer player;
    player.SetUrl(path);
    player.Play();
    EXPECT_FALSE(
        QTest::qWaitFor([&] { return player.OpenState() == IPlayer::Open::MediaOpen; }, 1500));
    EXPECT_TRUE(player.Failed());
}

TEST_F(PlayerTest, DecodesMp3) {
    const QString mp3 = QStringLiteral(TOLVARO_SHARED_BOOKS "/dontworry/speechgen0001.mp3");
    ASSERT_TRUE(QFile::exists(mp3)) << "the real books are missing: " << mp3.toStdString();
    qputenv("TOLVARO_AUDIO_SINK", "fakesink sync=false");
    GstPlayer player;
    player.SetUrl(mp3);
    ASSERT_SOON((player.OpenState()) == (IPlayer::Open::MediaOpen), 5000);
    const double duration = player.Duration(); // known once open, before any playing
    EXPECT_GT(duration, 1.0);
    player.Play(); // an unsynchronised sink plays it through at once
    ASSERT_SOON(Ended(player), 5000);
    EXPECT_NEAR(player.Duration(), duration, 0.5);
}

} // namespace
} // namespace tolvaro
