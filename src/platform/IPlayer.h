#pragma once

#include <QString>

namespace tolvaro {

// The audio player. It holds at most one file, given by SetUrl.
//
// Open state: OpenState() is Open::MediaOpen once the file given last is loaded and ready,
// Open::NoMedia before (and after SetUrl("")).
// Play states (their numbers are those of the player the program was first written for):
// Stopped (nothing playing, also with no file), Paused, Playing, ScanForward, ScanReverse,
// MediaEnded (the file has played to its end).
//   SetUrl(path)   loads `path` (stops what played before); "" unloads and stops. A path that
//                  is not a regular file (a pipe, a device, a folder) is never opened.
//   Play()         starts or continues at the current position; with no file it does nothing.
//   Pause()        holds at the current position (state Paused) while playing.
//   Stop()         stops (state Stopped) and rewinds to the file's start.
//   Position / SetPosition: seconds from the file's start; a position that is not a finite
//                  number counts as 0, one past the end is bounded.
//   Rate / SetRate: 1.0 is normal; the pitch is kept.
//   Volume / SetVolume: 0 to 100, 50 normal; values outside are bounded to that range.
//   Duration: seconds of the loaded file, 0 when unknown.
// A file that cannot be opened or decoded leaves the player without media (never MediaOpen);
// errors are cleared silently and never change the play state on their own.
//   Failed()       the file given last will not play: it is not a regular file, or opening or
//                  decoding it reported an error (which may come a moment after SetUrl). False
//                  with no file; SetUrl clears it.
class IPlayer {
public:
    enum class Open { NoMedia = 0, MediaOpen = 13 };
    enum class State {
        Stopped = 1,
        Paused = 2,
        Playing = 3,
        ScanForward = 4,
        ScanReverse = 5,
        MediaEnded = 8
    };

    virtual ~IPlayer() = default;
    virtual void SetUrl(const QString& path) = 0;
    virtual Open OpenState() const = 0;
    virtual State PlayState() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual double Position() const = 0;
    virtual void SetPosition(double seconds) = 0;
    virtual double Rate() const = 0;
    virtual void SetRate(double rate) = 0;
    virtual int Volume() const = 0;
    virtual void SetVolume(int volume) = 0;
    virtual double Duration() const = 0;
    virtual bool Failed() const = 0;
};

// Holds playback while the program asks or tells the user something (a dialog, a message box):
// a book that plays is paused for as long as this object lives and then goes on; a book the
// user had paused, stopped or played to its end is left as it is.
class PauseForQuestion {
public:
    explicit PauseForQuestion(IPlayer& player)
        : m_player(player), m_paused(player.PlayState() == IPlayer::State::Playing) {
        if (m_paused)
            m_player.Pause();
    }
    ~PauseForQuestion() {
        if (m_paused && m_player.PlayState() == IPlayer::State::Paused)
            m_player.Play();
    }
    PauseForQuestion(const PauseForQuestion&) = delete;
    PauseForQuestion& operator=(const PauseForQuestion&) = delete;

private:
    IPlayer& m_player;
    const bool m_paused;
};

} // namespace tolvaro
