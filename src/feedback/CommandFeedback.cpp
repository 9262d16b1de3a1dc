#include "feedback/CommandFeedback.h"

#include "book/BookModel.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "platform/IPlayer.h"
#include "res/StringTable.h"

#include <algorithm>
#include <iterator>

namespace tolvaro {
namespace {

// The switches and the words that name them.
struct Switch {
    int id, name;
};
constexpr Switch kSwitches[] = {
    {cmd::kSkipFootnote, kSaySkipFootnotes}, {cmd::kSkipSidebar, kSaySkipSidebars},
    {cmd::kSkipProdnote, kSaySkipProdnotes}, {cmd::kSkipPageNumber, kSaySkipPageNumbers},
    {cmd::kAutoPlay, kSayAutoPlay},          {cmd::kReadAloud, kSayReadAloud},
};

// The commands that step through a list (or need one): the list, what is said when it is empty
// (0: nothing) and when the command is greyed at its end (0: nothing).
struct Step {
    int id;
    BookTable BookModel::*rows;
    int empty, atEnd;
};
constexpr Step kSteps[] = {
    {cmd::kBookmarkNext, &BookModel::m_lstBookmarks, kStrNoBookmarks, kSayEndOfList},
    {cmd::kBookmarkPrevious, &BookModel::m_lstBookmarks, kStrNoBookmarks, kSayStartOfList},
    {cmd::kBookmarkDelete, &BookModel::m_lstBookmarks, kStrNoBookmarks, 0},
    {cmd::kSearchNext, &BookModel::m_lstSearchHits, kStrNoSearchResults, kSayEndOfList},
    {cmd::kSearchPrevious, &BookModel::m_lstSearchHits, kStrNoSearchResults, kSayStartOfList},
    {cmd::kPageNext, &BookModel::m_lstPages, kSayNoPages, kSayEndOfList},
    {cmd::kPagePrevious, &BookModel::m_lstPages, kSayNoPages, kSayStartOfList},
    {cmd::kPageGoTo, &BookModel::m_lstPages, kSayNoPages, 0},
    {cmd::kGroupNext, &BookModel::m_lstGroups, 0, kSayEndOfList},
    {cmd::kGroupPrevious, &BookModel::m_lstGroups, 0, kSayStartOfList},
};

// Speed with the language's decimal mark: "1,2" in German.
QString SpeedText(double rate, int langOffset) {
    QString text = QString::number(rate, 'f', 1);
    return langOffset == kLangGerman ? text.replace(u'.', u',') : text;
}

} // namespace

CommandFeedback::Snapshot CommandFeedback::Take() const {
    const BookModel& m = m_c.model;
    return {m.m_lstBookmarks.RowCount(), m.m_lbBookmarks.CurSel(), m.m_lbSearchHits.CurSel(),
            m.m_lstPages.SelectionMark()};
}

QString CommandFeedback::Text(int id) const {
    return LoadString(id + m_c.langOffset);
}

// "<what> <row + 1> of <rows>: <line>", or nothing when the row is none of the table's.
QString CommandFeedback::At(int what, const BookTable& rows, const VisibleList& lines,
                            int row) const {
    if (row < 0 || row >= rows.RowCount())
        return {};
    return Text(what).arg(row + 1).arg(rows.RowCount()).arg(lines.Line(row));
}

QString CommandFeedback::Done(int id, const Snapshot& before) const {
    const BookModel& m = m_c.model;
    const auto on = std::find_if(std::begin(kSwitches), std::end(kSwitches),
                                 [id](const Switch& s) { return s.id == id; });
    if (on != std::end(kSwitches))
        return Text(m_c.commands.IsChecked(id) ? kSayOn : kSayOff).arg(Text(on->name));
    switch (id) {
    case cmd::kBookmarkSet: { // a new bookmark is the last
        const int count = m.m_lstBookmarks.RowCount();
        return Text(kSayBookmarkSet).arg(count).arg(m.m_lbBookmarks.Line(count - 1));
    }
    case cmd::kBookmarkDelete:
        if (m.m_lstBookmarks.RowCount() >= before.bookmarks)
            return {};
        return (Text(kSayBookmarkDeleted) + u' ' +
                At(kSayBookmarkAt, m.m_lstBookmarks, m.m_lbBookmarks, m.m_lbBookmarks.CurSel()))
            .trimmed();
    case cmd::kBookmarkNext:
    case cmd::kBookmarkPrevious:
        return At(kSayBookmarkAt, m.m_lstBookmarks, m.m_lbBookmarks, m.m_lbBookmarks.CurSel());
    case cmd::kSearchNext:
    case cmd::kSearchPrevious:
        return At(kSayResultAt, m.m_lstSearchHits, m.m_lbSearchHits, m.m_lbSearchHits.CurSel());
    case cmd::kPageNext:
    case cmd::kPagePrevious:
    case cmd::kPageGoTo: {
        const int row = m.m_lstPages.SelectionMark();
        const bool moved = row != before.page || id != cmd::kPageGoTo;
        return moved && row >= 0 && row < m.m_lstPages.RowCount()
                   ? Text(kSayPage).arg(m.m_lstPages.Text(row, col::kLabel))
                   : QString();
    }
    case cmd::kRateUp:
    case cmd::kRateDown:
    case cmd::kRateNormal:
        return Text(kSaySpeed).arg(SpeedText(m_c.player.Rate(), m_c.langOffset));
    case cmd::kVolumeUp:
    case cmd::kVolumeDown:
    case cmd::kVolumeNormal:
        return Text(kSayVolume).arg(m_c.player.Volume());
    case cmd::kPauseContinue:
        return Text(m_c.player.PlayState() == IPlayer::State::Playing ? kSayPlaying : kSayPaused);
    default:
        return {};
    }
}

QString CommandFeedback::Refused(int id) const {
    const auto step = std::find_if(std::begin(kSteps), std::end(kSteps),
                                   [id](const Step& s) { return s.id == id; });
    if (step == std::end(kSteps))
        return {};
    const int said = (m_c.model.*step->rows).RowCount() == 0 ? step->empty : step->atEnd;
    return said != 0 ? Text(said) : QString();
}

} // namespace tolvaro
