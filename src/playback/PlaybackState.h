#pragma once

#include <QString>

namespace tolvaro {

// What playback keeps between phrases; owned by the main window's controller, handed to the
// engine and the audio and navigation commands.
struct PlaybackState {
    double m_dPhraseEnd = 0.0;     // end of the phrase being played, seconds
    bool m_bSeekRequested = false; // the next activation repositions and re-applies rate, volume
    bool m_bBackward = false;      // the last phrase move went backwards
    bool m_bAutoPlay = false;      // go on into the next heading
    bool m_bReadAloud = true;      // speak text that has no recording
    bool m_bSpeaking = false;      // the phrase that plays is its text spoken, from 0
    bool m_bSkipFootnote = false;
    bool m_bSkipProdnote = false;
    bool m_bSkipSidebar = false;
    bool m_bSkipPageNumber = false;
    double m_dRate = 0.0;
    int m_nVolume = 0;
    QString m_strDocFragment;       // text element of the current phrase
    bool m_bStartPageShown = false; // the text view shows a start page
    bool m_bPageReached = false;    // the page cursor stands on a page reached in this book
};

} // namespace tolvaro
