#include "playback/TitleClip.h"

#include "platform/IPlayer.h"
#include "platform/ITimers.h"

#include <QFileInfo>

namespace tolvaro {

double TitleClip::EndSeconds(double clipEnd) {
    if (!(clipEnd > 0.0) || clipEnd > kLongestSeconds) // 0, below, not a number, or too long
        return kLongestSeconds;
    return clipEnd;
}

void TitleClip::Play(const QString& audioPath, double clipEnd, std::function<void()> then) {
    Finish();
    m_then = std::move(then);
    if (audioPath.isEmpty() || !QFileInfo(audioPath).isFile()) {
        Finish();
        return;
    }
    m_playing = true;
    m_end = EndSeconds(clipEnd);
    m_rate = m_player.Rate();
    // Two seconds more than the clip lasts, for a file that is slow to open or never does.
    m_ticksLeft = static_cast<int>((m_end + 2.0) * 1000.0) / kPollMs;
    m_player.SetUrl(audioPath);
    m_player.SetRate(1.0);
    m_player.SetPosition(0.0);
    m_player.Play();
    m_timers.SetTimer(timer::kTitleClip, kPollMs);
}

void TitleClip::OnTick() {
    if (!m_playing)
        return;
    const IPlayer::State state = m_player.PlayState();
    const bool ended = state == IPlayer::State::Stopped || state == IPlayer::State::MediaEnded;
    const bool open = m_player.OpenState() == IPlayer::Open::MediaOpen;
    if ((open && (ended || m_player.Position() >= m_end)) || --m_ticksLeft <= 0)
        Finish();
}

void TitleClip::Stop() {
    if (!m_playing)
        return;
    m_playing = false;
    m_timers.KillTimer(timer::kTitleClip);
    m_player.Stop();
    m_player.SetRate(m_rate);
}

void TitleClip::Finish() {
    Stop();
    if (auto then = std::exchange(m_then, nullptr))
        then();
}

void TitleClip::Abandon() {
    Stop();
    m_then = nullptr;
}

} // namespace tolvaro
