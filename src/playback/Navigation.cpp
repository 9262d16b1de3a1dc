#include "playback/Navigation.h"

#include "book/BookModel.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "platform/IDialogs.h"
#include "platform/IPlayer.h"
#include "playback/PhraseEngine.h"
#include "playback/PlaybackState.h"
#include "res/StringTable.h"

namespace tolvaro {

void Navigation::JumpTo(int titleId, const QStringView& fragment, bool parIdToo) {
    m_engine.SelectHeadingByTreeId(titleId);
    BookTable& phrases = m_c.model.m_lstPhrases;
    for (int row = 0; row < phrases.RowCount(); ++row) {
        if (phrases.TextView(row, col::kTextId) == fragment ||
            (parIdToo && phrases.TextView(row, col::kParId) == fragment)) {
            phrases.MoveTo(row);
            return;
        }
    }
}

void Navigation::OnPageItemChanged(int newState) {
    JumpToSelected(newState, m_c.model.m_lstPages, true);
}

void Navigation::OnGroupItemChanged(int newState) {
    JumpToSelected(newState, m_c.model.m_lstGroups, false);
}

// A row of the page or group list chosen: to its heading and the phrase its target names.
void Navigation::JumpToSelected(int newState, const BookTable& list, bool parIdToo) {
    if (!m_c.bookOpen || newState != BookTable::Selected)
        return;
    const int row = list.SelectionMark();
    // A copy: the jump changes the tables the view would point into.
    const QString fragment = list.Text(row, col::kFragment);
    JumpTo(list.TextView(row, col::kTitleId).toInt(), fragment, parIdToo);
}

// Before the first page has been reached the cursor waits on it, and "next" goes there.
void Navigation::OnNextPage() {
    BookTable& pages = m_c.model.m_lstPages;
    if (m_play.m_bPageReached) {
        pages.MoveTo(pages.SelectionMark() + 1);
    } else {
        pages.SetItemState(pages.SelectionMark(), 0, BookTable::Selected | BookTable::Focused);
        pages.MoveTo(pages.SelectionMark());
    }
    m_play.m_bPageReached = true;
    const int row = pages.SelectionMark();
    if (row != 0)
        m_c.commands.SetEnabled(cmd::kPagePrevious, true);
    else if (row == pages.RowCount() - 1)
        m_c.commands.SetEnabled(cmd::kPageNext, false);
}

void Navigation::OnPreviousPage() {
    BookTable& pages = m_c.model.m_lstPages;
    pages.MoveTo(pages.SelectionMark() - 1);
    m_play.m_bPageReached = true;
    const int row = pages.SelectionMark();
    if (row == 0)
        m_c.commands.SetEnabled(cmd::kPagePrevious, false);
    else if (row != pages.RowCount() - 1)
        m_c.commands.SetEnabled(cmd::kPageNext, true);
}

void Navigation::OnGoToPage() {
    m_c.player.Pause();
    const std::optional<QString> label = m_c.dialogs.AskPageNumber(m_c.langOffset);
    if (!label)
        return; // stays paused; Space plays on
    m_play.m_bSeekRequested = true;
    BookTable& pages = m_c.model.m_lstPages;
    bool found = false;
    for (int row = 0; row < pages.RowCount(); ++row) {
        if (pages.TextView(row, col::kLabel) == *label) {
            found = true;
            pages.MoveTo(row);
        }
    }
    if (found)
        return;
    m_c.dialogs.MessageBox(LoadString(kStrPageMissing + m_c.langOffset),
                           LoadString(kStrPageCaption + m_c.langOffset), IDialogs::Icon::Warning,
                           IDialogs::Buttons::Ok);
    m_c.player.Play();
}

void Navigation::OnNextGroup() {
    BookTable& groups = m_c.model.m_lstGroups;
    groups.MoveTo(groups.SelectionMark() + 1);
    m_c.commands.SetEnabled(cmd::kGroupPrevious, groups.SelectionMark() > 0);
    m_c.commands.SetEnabled(cmd::kGroupNext, groups.SelectionMark() < groups.RowCount() - 1);
}

void Navigation::OnPreviousGroup() {
    BookTable& groups = m_c.model.m_lstGroups;
    groups.MoveTo(std::max(0, groups.SelectionMark() - 1));
    m_c.commands.SetEnabled(cmd::kGroupPrevious, groups.SelectionMark() > 0);
    m_c.commands.SetEnabled(cmd::kGroupNext, groups.SelectionMark() < groups.RowCount() - 1);
}

} // namespace tolvaro
