#pragma once

#include "commands/Context.h"

#include <QString>

#include <functional>

namespace tolvaro {

class PhraseEngine;
struct PlaybackState;
struct SearchResult;

// The search commands: a term asked for, then looked for in the heading titles, in the text of
// the current heading, or in every text document of the book. The results fill the visible
// result list and the result table, kept line for row; the count is told in a message box.
// Choosing a line (or Next and Previous) jumps to its heading, or to the phrase that holds the
// term, and playback goes on from there. A playing book pauses while the user is asked and told.
class BookSearch {
public:
    BookSearch(Context c, PhraseEngine& engine, PlaybackState& play, const unsigned& codePage,
               QString& searchTerm, bool& textSearchResults, std::function<void()> markTerm)
        : m_c(c), m_engine(engine), m_play(play), m_codePage(codePage), m_searchTerm(searchTerm),
          m_textSearchResults(textSearchResults), m_markTerm(std::move(markTerm)) {}

    void OnSearchHeadings() { Run(Kind::Headings); }
    void OnSearchText() { Run(Kind::Text); }
    void OnSearchBook() { Run(Kind::Book); }
    void OnNextResult();
    void OnPreviousResult();
    // The list's current line chosen (by the user, or by Next and Previous).
    void OnListSelChange();
    // The result table's change notification: jumps when a row becomes selected.
    void OnTableItemChanged(int row, int newState);

private:
    enum class Kind { Headings, Text, Book };
    void Run(Kind kind);
    int SearchHeadings(const QString& folded);
    // Runs a text or book search under the wait window; false when the user stopped it.
    bool SearchText(Kind kind, const QString& folded, SearchResult& result);
    void ListHits(const SearchResult& result, const QString& folded);
    void ClearResults();
    QString TitleOf(QStringView treeId) const;

    Context m_c;
    PhraseEngine& m_engine;
    PlaybackState& m_play;
    const unsigned& m_codePage;       // the book's character set
    QString& m_searchTerm;            // the folded term of the last text or book search
    bool& m_textSearchResults;        // the results are those of the current heading's text
    std::function<void()> m_markTerm; // marks the search term in the text shown
};

} // namespace tolvaro
