#pragma once

#include "commands/Context.h"

#include "playback/TimerIds.h"
#include "playback/Voice.h"

#include <QString>

class QUrl;

namespace tolvaro {

class ITextView;
class ITimers;
struct PlaybackState;

// Plays the book phrase by phrase. The cursor is the current row of the phrase table: selecting
// a row activates it (its document shown, its clip played), and the poll moves the cursor on at
// the clip's end, stops at a file or heading boundary, or goes on into the next heading.
class PhraseEngine {
public:
    // The poll looks at the player this often: the cursor follows a clip's end within it.
    static constexpr int kPollMs = 20;
    // Beyond its clip's length, how long the poll waits for an audio file to open before it
    // counts the file as one that will not (a damaged file would otherwise stop the book). Long
    // enough for a disc to spin up.
    static constexpr int kOpenGraceMs = 10000;

    PhraseEngine(Context c, ITimers& timers, ITextView& textView, PlaybackState& play, Voice& voice,
                 const QString& bookFolder, bool& textSearchResults)
        : m_c(c), m_timers(timers), m_textView(textView), m_play(play), m_voice(voice),
          m_bookFolder(bookFolder), m_textSearchResults(textSearchResults) {}

    // The phrase table's change notification: acts when the new state is exactly selected.
    void OnPhraseItemChanged(int newState);
    // Timer 2.
    void Poll();
    // Move the cursor one row within the current heading; nothing at either end.
    void NextPhrase();
    void PreviousPhrase();
    // Selects the heading whose tree item has data n (the first heading when none has).
    void SelectHeadingByTreeId(int n);
    // The tree's selection changed to the heading of row n: plays its first phrase.
    void OnHeadingSelChanged(int n);
    // The text view is about to follow a link: one into the book's SMIL files is taken over
    // (true: the view must not follow it) and plays the phrase it names; so is one to an
    // element of an XML document (a note reference) that a phrase shows.
    bool OnLinkClicked(const QString& url);
    // The phrase that plays is its text spoken: places in it are kept as the phrase's start, as
    // speech rendered again need not take the same time.
    bool Speaking() const;
    // The position a place (bookmark, resume record) keeps, and going back to one.
    double PlacePosition() const;
    void GoToPlacePosition(double seconds);

private:
    // Moves on from a phrase without audio. A run of such phrases is walked in a loop, not by
    // recursion, however long it is.
    void AdvanceWithoutAudio();
    void Activate();
    // Plays phrase `row`'s recording or speaks it; with neither, moves on.
    void PlayPhrase(int row);
    // What phrase `row` plays: its recording, or else its text spoken; nothing for neither.
    struct Sound {
        QString key, path; // key: the recording's name as the table has it, or the spoken file
        QString begin, end;
        bool spoken = false;
    };
    std::optional<Sound> SoundOf(int row);
    // The path of phrase `row`'s audio file, "" when it has none that can be played.
    QString RecordingOf(int row) const;
    bool FollowXmlLink(const QUrl& link);
    // The poll's answer to a file that has not opened: true once it has waited so long that the
    // file will not open (a damaged file), which then counts as played out.
    bool GivesUpOnTheFile();
    // What the poll does when the player has stopped (or its file never opened).
    void OnPlayerStopped();
    void MovePageCursor(int row);
    bool SkipRun(int row);
    void MoveCursor(int row);
    void ClearSearchResults();

    Context m_c;
    ITimers& m_timers;
    ITextView& m_textView;
    PlaybackState& m_play;
    Voice& m_voice;
    const QString& m_bookFolder;
    bool& m_textSearchResults;   // the search results are those of the current heading's text
    QString m_lastDocument;      // given to the text view last
    QString m_lastAudio;         // loaded into the player last
    QString m_lastPhraseEnd;     // "PhrEnd" of the phrase played last
    QString m_unplayableAudio;   // an audio file of this heading that never opened
    int m_waitedMs = 0;          // the play poll's wait for the current file to open
    int m_openWaitMs = 0;        // how long it waits: the clip's length and a grace
    bool m_advancing = false;    // inside AdvanceWithoutAudio
    bool m_advanceAgain = false; // the phrase reached there has no audio either
};

} // namespace tolvaro
