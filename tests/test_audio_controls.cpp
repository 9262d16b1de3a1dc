#include "Printers.h"
#include "book/BookModel.h"
#include "fakes/FakePlatform.h"
#include "playback/AudioControls.h"
#include "playback/PhraseEngine.h"
#include "playback/PlaybackState.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

struct AudioTest : ::testing::Test {
    test::FakePlatform fake;
    PlaybackState play;
    BookTable phrases{9};
    AudioControls audio{fake.player, fake.timers, play, phrases};

    QTemporaryDir dir;

    AudioTest() {
        QFile audioFile(dir.filePath("a.mp3")); // the player plays only a file that is there
        audioFile.open(QIODevice::WriteOnly);
        fake.player.SetUrl(audioFile.fileName());
        phrases.AppendRow({"0", "p", "d", "f", "t", "a.mp3", "12.5", "14"});
        phrases.MoveToQuietly(0);
        play.m_dRate = 1.0;
    }
};

// From normal speed, six steps up reach 2.0 and stop; two down reach 0.6 and stop.
TEST_F(AudioTest, SpeedSteps) {
    const struct {
        void (AudioControls::*step)();
        std::vector<double> rates;
    } cases[] = {
        {&AudioControls::OnRateUp, {1.2, 1.4, 1.6, 1.8, 2.0, 2.0}},
        {&AudioControls::OnRateDown, {0.8, 0.6, 0.6}},
    };
    for (const auto& c : cases) {
        fake.player.rate = 1.0;
        fake.player.state = IPlayer::State::Playing;
        for (double expected : c.rates) {
            (audio.*c.step)();
            EXPECT_NEAR(fake.player.rate, expected, 1e-9);
            EXPECT_NEAR(play.m_dRate, expected, 1e-9);
            EXPECT_EQ(fake.player.state, IPlayer::State::Playing); // playing stays playing
        }
    }
    fake.player.state = IPlayer::State::Paused;
    audio.OnRateNormal();
    EXPECT_EQ(fake.player.rate, 1.0);
    EXPECT_EQ(fake.player.state, IPlayer::State::Paused); // paused stays paused
}

TEST_F(AudioTest, VolumeIsBoundedByThePlayerOnly) {
    fake.player.volume = 100;
    audio.OnVolumeUp();
    EXPECT_EQ(fake.player.volume, 100);
    EXPECT_EQ(play.m_nVolume, 110);
    audio.OnVolumeDown();
    EXPECT_EQ(fake.player.volume, 90);
    EXPECT_EQ(play.m_nVolume, 90);
    audio.OnVolumeNormal();
    EXPECT_EQ(fake.player.volume, 50);
}

TEST_F(AudioTest, PauseAndContinue) {
    const struct {
        IPlayer::State before, after;
        double position;
    } cases[] = {
        {IPlayer::State::Playing, IPlayer::State::Paused, 20.0},  // held where it was
        {IPlayer::State::Paused, IPlayer::State::Playing, 20.0},  // on from there
        {IPlayer::State::Stopped, IPlayer::State::Playing, 12.5}, // the phrase from its start
        {IPlayer::State::MediaEnded, IPlayer::State::Playing, 12.5},
    };
    for (const auto& c : cases) {
        fake.player.state = c.before;
        fake.player.position = 20.0;
        audio.OnPauseContinue();
        EXPECT_EQ(fake.player.state, c.after) << static_cast<int>(c.before);
        EXPECT_EQ(fake.player.position, c.position) << static_cast<int>(c.before);
    }
    EXPECT_EQ(fake.timers.Interval(timer::kPoll), PhraseEngine::kPollMs);
}

TEST_F(AudioTest, WindingByAThousandth) {
    fake.player.position = 100;
    fake.player.duration = 3000;
    audio.OnWindForward();
    EXPECT_DOUBLE_EQ(fake.player.position, 103);
    audio.OnWindBackward();
    audio.OnWindBackward();
    EXPECT_DOUBLE_EQ(fake.player.position, 97);
    fake.player.duration = 0; // unknown length: nothing moves
    audio.OnWindForward();
    EXPECT_DOUBLE_EQ(fake.player.position, 97);
}

TEST_F(AudioTest, MenusPauseAndResume) {
    fake.player.state = IPlayer::State::Playing;
    audio.OnMenuSelect(false);
    EXPECT_EQ(fake.player.state, IPlayer::State::Paused);
    audio.OnMenuSelect(false); // moving through the menu keeps it paused
    EXPECT_EQ(fake.player.state, IPlayer::State::Paused);
    audio.OnMenuSelect(true);
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
}

} // namespace
} // namespace tolvaro
