#pragma once

#include <QString>

#include <functional>

namespace tolvaro {

class CommandTable;
class IDialogs;
class IMainWindow;
class IPlayer;
class PhraseEngine;
struct BookModel;
struct PlaybackState;
struct SearchResult;

// The search commands: a term asked for, then looked for in the heading titles, in the text of
// the current heading, or in every text document of the book. The results fill the visible
// result list and the result table, kept line for row; the count is told in a message box.
// Choosing a line (or Next and Previous) jumps to its heading, or to the phrase that holds the
// term, and playback goes on from there. A playing book pauses while the user is asked and told.
class BookSearch {
public:
    struct Context {
        BookModel& model;
        CommandTable& commands;
        IPlayer& player;
        IDialogs& dialogs;
        IMainWindow& window;
        PhraseEngine& engine;
        PlaybackState& play;
        const bool& bookOpen;
        const int& langOffset;
        const unsigned& codePage;      // the book's character set
        QString& searchTerm;           // the folded term of the last text or book search
        bool& textSearchResults;       // the results are those of the current heading's text
        std::function<void()> markTerm; // marks the search term in the text shown
    };

    explicit BookSearch(Context context) : m_c(std::move(context)) {}

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
};

} // namespace tolvaro
