#include "bookmarks/Bookmarks.h"

#include "book/BookModel.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "platform/IMainWindow.h"
#include "platform/IPlayer.h"
#include "playback/PhraseEngine.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"
#include "store/Settings.h"

namespace tolvaro {

QString Bookmarks::Placeholder() const {
    return LoadString(kStrNoBookmarks + m_c.langOffset);
}

void Bookmarks::Add(const Bookmark& b) {
    m_c.model.m_lbBookmarks.AddString(b.title);
    m_c.model.m_lstBookmarks.AppendRow({b.title, b.time, b.heading, b.phrase});
}

std::vector<Bookmark> Bookmarks::Current() const {
    const BookTable& table = m_c.model.m_lstBookmarks;
    std::vector<Bookmark> bookmarks;
    for (int row = 0; row < table.RowCount(); ++row) {
        bookmarks.push_back({table.Text(row, col::kBmTitle), table.Text(row, col::kBmTime),
                             table.Text(row, col::kBmTitleId), table.Text(row, col::kBmEventId)});
    }
    return bookmarks;
}

// The position is left empty when the player has reached the end of its media; it is the
// phrase's start in spoken text.
void Bookmarks::OnSet() {
    const QString time = m_c.player.PlayState() == IPlayer::State::MediaEnded
                             ? QString()
                             : QString::asprintf("%f", m_engine.PlacePosition());
    // Without a bookmark the list's one line is the placeholder, in whichever language.
    if (m_c.model.m_lstBookmarks.RowCount() == 0)
        m_c.model.m_lbBookmarks.DeleteAll();
    const BookTable& titles = m_c.model.m_lstTitles;
    const int heading = titles.SelectionMark();
    Add({titles.Text(heading, col::kTitle), time, titles.Text(heading, col::kTreeId),
         QString::number(m_c.model.m_lstPhrases.SelectionMark())});
    m_c.commands.SetEnabled(cmd::kBookmarkNext, true);
    Save();
}

void Bookmarks::OnItemChanged(int row, int newState) {
    if (!m_c.bookOpen || newState != BookTable::Selected)
        return;
    const BookTable& table = m_c.model.m_lstBookmarks;
    const QString time = table.Text(row, col::kBmTime); // copies: the jump changes the tables
    const int phrase = ParseInt(table.Text(row, col::kBmEventId));
    m_engine.SelectHeadingByTreeId(ParseInt(table.Text(row, col::kBmTitleId)));
    m_c.model.m_lstPhrases.MoveTo(phrase);
    if (m_c.player.PlayState() != IPlayer::State::MediaEnded)
        m_engine.GoToPlacePosition(ParseDouble(time)); // an empty time is 0
}

void Bookmarks::GoTo(int row) {
    BookTable& table = m_c.model.m_lstBookmarks;
    m_c.model.m_lbBookmarks.SetCurSel(row);
    table.SetItemState(row, 0, BookTable::Selected | BookTable::Focused);
    table.MoveTo(row);
}

void Bookmarks::OnListSelChange() {
    const VisibleList& list = m_c.model.m_lbBookmarks;
    const int line = list.CurSel();
    if (!m_c.bookOpen || list.Count() < 1 || line < 0 ||
        line >= m_c.model.m_lstBookmarks.RowCount())
        return;
    m_c.commands.SetEnabled(cmd::kBookmarkDelete, true);
    m_c.window.FocusTree();
    GoTo(line);
}

void Bookmarks::OnNext() {
    m_c.commands.SetEnabled(cmd::kBookmarkDelete, true);
    if (StepLine(m_c.model.m_lbBookmarks, m_c.commands, 1, cmd::kBookmarkPrevious,
                 cmd::kBookmarkNext))
        OnListSelChange();
}

void Bookmarks::OnPrevious() {
    if (StepLine(m_c.model.m_lbBookmarks, m_c.commands, -1, cmd::kBookmarkPrevious,
                 cmd::kBookmarkNext))
        OnListSelChange();
}

// The line before the deleted one becomes current and is jumped to; after the first line, the
// one that follows it (now the first).
void Bookmarks::OnDelete() {
    VisibleList& list = m_c.model.m_lbBookmarks;
    const int deleted = list.CurSel();
    if (deleted < 0 || deleted >= m_c.model.m_lstBookmarks.RowCount())
        return;
    list.DeleteString(deleted);
    m_c.model.m_lstBookmarks.DeleteRow(deleted);
    const int left = m_c.model.m_lstBookmarks.RowCount();
    CommandTable& commands = m_c.commands;
    if (left == 0) {
        for (int id : {cmd::kBookmarkDelete, cmd::kBookmarkNext, cmd::kBookmarkPrevious})
            commands.SetEnabled(id, false);
        list.AddString(Placeholder());
        list.SetCurSel(-1);
    } else {
        const int current = deleted > 0 ? deleted - 1 : 0;
        commands.SetEnabled(cmd::kBookmarkPrevious, current > 0);
        commands.SetEnabled(cmd::kBookmarkNext, current < left - 1);
        GoTo(current);
    }
    Save();
}

void Bookmarks::Save() {
    const QString file = DataFilePath(m_dataFolder, kBookmarkFile);
    const datafile::DataLines old = datafile::Read(file);
    if (old.status == FileRead::Status::Unreadable)
        return; // other books' bookmarks are in there: never replace them with these alone
    datafile::WriteLines(file, WithBookmarks(old.lines, old.foreign, m_identity(), Current()),
                         DataFilePath(m_dataFolder, kBookmarkTemp));
}

void Bookmarks::Restore() {
    VisibleList& list = m_c.model.m_lbBookmarks;
    list.DeleteAll();
    const std::optional<QStringList> lines =
        datafile::ReadLines(DataFilePath(m_dataFolder, kBookmarkFile));
    for (const Bookmark& b : BookmarksOf(lines.value_or(QStringList()), m_identity()))
        Add(b);
    if (m_c.model.m_lstBookmarks.RowCount() == 0)
        list.AddString(Placeholder());
    else
        m_c.commands.SetEnabled(cmd::kBookmarkNext, true);
}

} // namespace tolvaro
