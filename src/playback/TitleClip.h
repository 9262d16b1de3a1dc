#pragma once

#include "playback/TimerIds.h"
#include <QString>

#include <functional>

namespace tolvaro {

class IPlayer;
class ITimers;

// The beginning of a book, played once when it opens: the first phrase's audio from the start of
// its file to the phrase's end (at most 10 seconds of the file), at normal speed. It does not
// block: Play returns at once, the clip's timer watches the player's position, and `then` runs
// when the clip is over, whether it ran out or was ended early by Finish.
class TitleClip {
public:
    static constexpr int kPollMs = 20;
    static constexpr double kLongestSeconds = 10.0;

    TitleClip(IPlayer& player, ITimers& timers) : m_player(player), m_timers(timers) {}

    // Without an audio file (none named, or not a regular file) `then` runs at once.
    void Play(const QString& audioPath, double clipEnd, std::function<void()> then);
    bool IsPlaying() const { return m_playing; }
    // The clip's timer: ends the clip once the player has reached its end or stopped.
    void OnTick();
    // Ends the clip now (if one plays) and runs what was to follow it.
    void Finish();
    // Ends the clip now without what was to follow it: the user has chosen where to read.
    void Abandon();
    // Where in the file a clip ending at `clipEnd` seconds stops.
    static double EndSeconds(double clipEnd);

private:
    void Stop();

    IPlayer& m_player;
    ITimers& m_timers;
    bool m_playing = false;
    double m_end = 0.0;
    double m_rate = 1.0; // the reader's speed, given back after the clip
    int m_ticksLeft = 0; // a file that never plays does not hold the book up for long
    std::function<void()> m_then;
};

} // namespace tolvaro
