#pragma once

#include "playback/TimerIds.h"
#include <QString>

namespace tolvaro {

class CommandTable;
class IPlayer;
class ITextView;
class ITimers;
struct BookModel;
struct PlaybackState;

// What the engine works on: the controller's model, menus, platform and playback state.
struct EngineContext {
    BookModel& model;
    CommandTable& commands;
    IPlayer& player;
    ITimers& timers;
    ITextView& textView;
    PlaybackState& play;
    const bool& bookOpen;
    const QString& bookFolder;
    const int& langOffset;
    bool& textSearchResults;
};

// Plays the book phrase by phrase. The cursor is the current row of the phrase table: selecting
// a row activates it (its document shown, its clip played), and the poll moves the cursor on at
// the clip's end, stops at a file or heading boundary, or goes on into the next heading.
class PhraseEngine {
public:
    // The poll looks at the player this often: the cursor follows a clip's end within it.
    static constexpr int kPollMs = 20;

    explicit PhraseEngine(EngineContext context) : m_c(context) {}

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
    // (true: the view must not follow it) and plays the phrase it names.
    bool OnLinkClicked(const QString& url);

private:
    // Moves on from a phrase without audio. A run of such phrases is walked in a loop, not by
    // recursion, however long it is.
    void AdvanceWithoutAudio();
    void Activate();
    void MovePageCursor(int row);
    bool SkipRun(int row);
    void MoveCursor(int row);
    void ClearSearchResults();

    EngineContext m_c;
    QString m_lastDocument;      // given to the text view last
    QString m_lastAudio;         // loaded into the player last
    QString m_lastPhraseEnd;     // "PhrEnd" of the phrase played last
    bool m_advancing = false;    // inside AdvanceWithoutAudio
    bool m_advanceAgain = false; // the phrase reached there has no audio either
};

} // namespace tolvaro
