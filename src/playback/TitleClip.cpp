#include "playback/TitleClip.h"

#include "platform/IPlayer.h"
#include "platform/ITimers.h"

namespace tolvaro {

int TitleClip::LengthMs(double clipEnd) {
    const double ms = clipEnd * 1000.0;
    if (!(ms >= 1.0) || ms > kLongestMs) // 0, below, not a number, or too long
        return kLongestMs;
    return static_cast<int>(ms);
}

void TitleClip::Play(const QString& audioPath, double clipEnd, std::function<void()> then) {
    Finish();
    m_then = std::move(then);
    if (audioPath.isEmpty()) {
        Finish();
        return;
    }
    m_playing = true;
    m_player.SetUrl(audioPath);
    m_player.SetPosition(0.0);
    m_player.Play();
    m_timers.SetTimer(kTimerId, LengthMs(clipEnd));
}

void TitleClip::Finish() {
    if (m_playing) {
        m_playing = false;
        m_timers.KillTimer(kTimerId);
        m_player.Stop();
    }
    if (auto then = std::exchange(m_then, nullptr))
        then();
}

} // namespace tolvaro
