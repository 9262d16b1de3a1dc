#pragma once

#include "commands/Context.h"

#include <QStringView>

namespace tolvaro {

class BookTable;
class PhraseEngine;
struct PlaybackState;

// Moving by page and group: the page and group tables have cursors of their own; moving one
// jumps to its heading and to the phrase its target names, which the engine then plays.
class Navigation {
public:
    Navigation(Context c, PlaybackState& play, PhraseEngine& engine)
        : m_c(c), m_play(play), m_engine(engine) {}

    // The change notifications of the page and group tables: jump when a row becomes selected.
    void OnPageItemChanged(int newState);
    void OnGroupItemChanged(int newState);
    void OnNextPage();
    void OnPreviousPage();
    // Asks for a page label and jumps to every page that carries it, the last one winning.
    void OnGoToPage();
    // The group cursor one row on or back, as the page commands move theirs.
    void OnNextGroup();
    void OnPreviousGroup();

private:
    void JumpTo(int titleId, const QStringView& fragment, bool parIdToo);
    void JumpToSelected(int newState, const BookTable& list, bool parIdToo);

    Context m_c;
    PlaybackState& m_play;
    PhraseEngine& m_engine;
};

} // namespace tolvaro
