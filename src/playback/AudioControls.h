#pragma once

namespace tolvaro {

class IPlayer;
class ITimers;
class BookTable;
struct PlaybackState;

// Pause and continue, volume, speed and winding. Volume and speed are kept in the playback
// state, which every phrase activation puts into the player again.
class AudioControls {
public:
    AudioControls(IPlayer& player, ITimers& timers, PlaybackState& play, const BookTable& phrases)
        : m_player(player), m_timers(timers), m_play(play), m_phrases(phrases) {}

    // Playing: pause. Paused: play on. Stopped or at the end: the current phrase from its start.
    void OnPauseContinue();
    void OnVolumeUp() { StepVolume(+10); }
    void OnVolumeDown() { StepVolume(-10); }
    void OnVolumeNormal();
    // Steps of 0.2 from 0.6 to 2.0; playing stays playing, paused stays paused.
    void OnRateUp();
    void OnRateDown();
    void OnRateNormal();
    // A thousandth of the file's length forward or back; the cursor follows forward winding only
    // through the play poll.
    void OnWindForward() { Wind(+1); }
    void OnWindBackward() { Wind(-1); }
    // A menu was opened (or moved through): playback pauses. Closed: playback the menu paused
    // goes on.
    void OnMenuSelect(bool closing);

private:
    void StepVolume(int step);
    void Wind(int direction);

    IPlayer& m_player;
    ITimers& m_timers;
    PlaybackState& m_play;
    const BookTable& m_phrases;
    bool m_pausedByMenu = false;
};

} // namespace tolvaro
