#include "playback/AudioControls.h"

#include "book/BookModel.h"
#include "platform/IPlayer.h"
#include "platform/ITimers.h"
#include "playback/PhraseEngine.h"
#include "playback/PlaybackState.h"

namespace tolvaro {

void AudioControls::OnPauseContinue() {
    switch (m_player.PlayState()) {
    case IPlayer::State::Playing:
        m_player.Pause();
        break;
    case IPlayer::State::Stopped:
    case IPlayer::State::MediaEnded:
    case IPlayer::State::ScanForward:
    case IPlayer::State::ScanReverse: {
        const int row = m_phrases.SelectionMark();
        m_player.SetPosition(
            m_play.m_bSpeaking ? 0.0 : m_phrases.TextView(row, col::kClipBegin).toDouble());
        m_player.Play();
        m_timers.SetTimer(timer::kPoll, PhraseEngine::kPollMs);
        break;
    }
    case IPlayer::State::Paused:
        m_player.Play();
        break;
    default:
        break;
    }
}

// The player's own volume is read back first: it bounds what it takes, the stored one does not.
void AudioControls::StepVolume(int step) {
    m_play.m_nVolume = m_player.Volume();
    m_player.SetVolume(m_play.m_nVolume + step);
    m_play.m_nVolume += step;
}

void AudioControls::OnVolumeNormal() {
    m_play.m_nVolume = 50;
    m_player.SetVolume(50);
}

void AudioControls::OnRateUp() {
    OnPauseContinue();
    m_play.m_dRate = m_player.Rate();
    if (m_play.m_dRate <= 1.9) {
        m_player.SetRate(m_play.m_dRate + 0.2);
        m_play.m_dRate += 0.2;
    }
    OnPauseContinue();
}

void AudioControls::OnRateDown() {
    OnPauseContinue();
    m_play.m_dRate = m_player.Rate();
    if (m_play.m_dRate >= 0.8) {
        m_player.SetRate(m_play.m_dRate - 0.2);
        m_play.m_dRate -= 0.2;
    }
    OnPauseContinue();
}

void AudioControls::OnRateNormal() {
    OnPauseContinue();
    m_play.m_dRate = 1.0;
    m_player.SetRate(1.0);
    OnPauseContinue();
}

void AudioControls::Wind(int direction) {
    if (m_player.PlayState() == IPlayer::State::MediaEnded)
        return;
    const double position = m_player.Position();
    const double target = position + direction * m_player.Duration() / 1000.0;
    if ((direction > 0 && target > position) || (direction < 0 && target < position))
        m_player.SetPosition(target);
}

void AudioControls::OnMenuSelect(bool closing) {
    const IPlayer::State state = m_player.PlayState();
    if (!closing) {
        if (state == IPlayer::State::Playing || state == IPlayer::State::ScanReverse) {
            m_player.Pause();
            m_pausedByMenu = true;
        }
        return;
    }
    // Only what the menu paused goes on: a book the user paused stays paused.
    if (m_pausedByMenu && state == IPlayer::State::Paused)
        m_player.Play();
    m_pausedByMenu = false;
}

} // namespace tolvaro
