#include "search/BookSearch.h"

#include "book/BookModel.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "platform/IDialogs.h"
#include "platform/IMainWindow.h"
#include "platform/IPlayer.h"
#include "platform/IProgress.h"
#include "playback/PhraseEngine.h"
#include "playback/PlaybackState.h"
#include "res/StringTable.h"
#include "search/DocumentText.h"
#include "search/TextSearch.h"
#include "store/Settings.h"

namespace tolvaro {

void BookSearch::ClearResults() {
    m_c.model.m_lbSearchHits.DeleteAll();
    m_c.model.m_lstSearchHits.DeleteAllRows();
    m_c.commands.SetEnabled(cmd::kSearchNext, false);
    m_c.commands.SetEnabled(cmd::kSearchPrevious, false);
    m_textSearchResults = false; // until a text search finds something
}

void BookSearch::Run(Kind kind) {
    PauseForQuestion pause(m_c.player);
    const std::optional<QString> term = m_c.dialogs.AskSearchTerm(m_c.langOffset);
    if (!term)
        return; // the results stay as they were
    ClearResults();
    if (term->size() < 2)
        return;
    const QString folded = FoldCase(*term);
    int count = 0;
    if (kind == Kind::Headings) {
        count = SearchHeadings(folded);
    } else {
        SearchResult result;
        if (!SearchText(kind, folded, result)) {
            m_c.model.m_lbSearchHits.AddString(LoadString(kStrNoSearchResults + m_c.langOffset));
            return;
        }
        ListHits(result, folded);
        count = result.occurrences;
    }
    m_c.dialogs.MessageBox(
        QStringLiteral("%1 %2 .").arg(LoadString(kStrSearchResult + m_c.langOffset)).arg(count),
        LoadString(kStrInformation + m_c.langOffset), IDialogs::Icon::Information,
        IDialogs::Buttons::Ok);
    if (count == 0) {
        m_c.model.m_lbSearchHits.AddString(LoadString(kStrNoSearchResults + m_c.langOffset));
        return;
    }
    m_c.commands.SetEnabled(cmd::kSearchNext, true);
    if (kind != Kind::Headings) {
        m_searchTerm = folded;
        m_textSearchResults = kind == Kind::Text;
        m_markTerm();
    }
}

int BookSearch::SearchHeadings(const QString& folded) {
    const BookTable& titles = m_c.model.m_lstTitles;
    int count = 0;
    for (int row = 0; row < titles.RowCount(); ++row) {
        const QString title = titles.Text(row, col::kTitle);
        if (!FoldCase(title).contains(folded))
            continue;
        m_c.model.m_lstSearchHits.AppendRow({titles.Text(row, col::kTreeId)});
        m_c.model.m_lbSearchHits.AddString(title);
        ++count;
    }
    return count;
}

bool BookSearch::SearchText(Kind kind, const QString& folded, SearchResult& result) {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const int current = phrases.SelectionMark();
    const int heading = phrases.TextView(current, col::kPhraseTreeId).toInt();
    const bool ran = m_c.dialogs.RunWaiting(
        LoadString(kStrSearching + m_c.langOffset), [&](IProgress& progress) {
            TextSearch search(phrases, m_codePage);
            result = kind == Kind::Book ? search.InBook(folded, progress)
                                        : search.InHeading(current, heading, folded);
        });
    return ran && !result.stopped;
}

QString BookSearch::TitleOf(QStringView treeId) const {
    const BookTable& titles = m_c.model.m_lstTitles;
    for (int row = 0; row < titles.RowCount(); ++row) {
        if (titles.TextView(row, col::kTreeId) == treeId)
            return titles.Text(row, col::kTitle);
    }
    return treeId.toString(); // a phrase of no heading: its number at least
}

void BookSearch::ListHits(const SearchResult& result, const QString& folded) {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    QString lastTreeId, title;
    for (const SearchHit& hit : result.hits) {
        const QString treeId = phrases.Text(hit.row, col::kPhraseTreeId);
        if (title.isNull() || treeId != lastTreeId) {
            title = TitleOf(treeId);
            lastTreeId = treeId;
        }
        m_c.model.m_lbSearchHits.AddString(title);
        m_c.model.m_lstSearchHits.AppendRow(
            {treeId, folded, QString::number(hit.row), phrases.Text(hit.row, col::kDocFragment)});
    }
}

void BookSearch::OnNextResult() {
    if (StepLine(m_c.model.m_lbSearchHits, m_c.commands, 1, cmd::kSearchPrevious, cmd::kSearchNext))
        OnListSelChange();
}

void BookSearch::OnPreviousResult() {
    if (StepLine(m_c.model.m_lbSearchHits, m_c.commands, -1, cmd::kSearchPrevious,
                 cmd::kSearchNext))
        OnListSelChange();
}

void BookSearch::OnListSelChange() {
    const int line = m_c.model.m_lbSearchHits.CurSel();
    BookTable& table = m_c.model.m_lstSearchHits;
    if (!m_c.bookOpen || line < 0 || line >= table.RowCount())
        return; // the no-results line
    m_c.window.FocusTree();
    // Selected afresh, so that choosing the same result again jumps again.
    table.SetItemState(line, 0, BookTable::Selected | BookTable::Focused);
    table.MoveTo(line);
}

void BookSearch::OnTableItemChanged(int row, int newState) {
    if (!m_c.bookOpen || newState != BookTable::Selected)
        return;
    const BookTable& table = m_c.model.m_lstSearchHits;
    const int heading = ParseInt(table.Text(row, col::kHitTitleId));
    const QString event = table.Text(row, col::kHitEventId);
    if (event.isEmpty()) {
        m_engine.SelectHeadingByTreeId(heading);
        return;
    }
    m_play.m_bSeekRequested = true;
    if (!m_textSearchResults)
        m_engine.SelectHeadingByTreeId(heading);
    BookTable& phrases = m_c.model.m_lstPhrases;
    const int phrase = ParseInt(event);
    phrases.SetItemState(phrase, 0, BookTable::Selected); // plays from its start, also when current
    phrases.MoveTo(phrase);
}

} // namespace tolvaro
