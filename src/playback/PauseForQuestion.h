#pragma once

#include "platform/IPlayer.h"

namespace tolvaro {

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
