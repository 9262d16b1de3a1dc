#pragma once

#include <QString>

#include <functional>

namespace tolvaro {

class IPlayer;
class ITimers;

// The beginning of a book, played once when it opens: the first phrase's audio from the start of
// its file to the phrase's end, at most 10 seconds. It does not block: Play returns at once, and
// `then` runs when the clip is over, whether it ran out or was ended early by Finish.
class TitleClip {
public:
    static constexpr int kTimerId = 4;
    static constexpr int kLongestMs = 10000;

    TitleClip(IPlayer& player, ITimers& timers) : m_player(player), m_timers(timers) {}

    // With no audio, `then` runs at once.
    void Play(const QString& audioPath, double clipEnd, std::function<void()> then);
    bool IsPlaying() const { return m_playing; }
    // Ends the clip now (if one plays) and runs what was to follow it.
    void Finish();
    // How long a clip ending at `clipEnd` seconds plays, in milliseconds.
    static int LengthMs(double clipEnd);

private:
    IPlayer& m_player;
    ITimers& m_timers;
    bool m_playing = false;
    std::function<void()> m_then;
};

} // namespace tolvaro
