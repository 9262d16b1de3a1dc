#include "information/Information.h"

#include "book/BookModel.h"
#include "information/Durations.h"
#include "platform/IDialogs.h"
#include "platform/IPlayer.h"
#include "res/StringTable.h"
#include "store/Settings.h"

#include <algorithm>

namespace tolvaro {
QString Information::Text(int id) const {
    return LoadString(id + m_c.langOffset);
}

void Information::Answer(const QString& sentence) {
    m_c.dialogs.MessageBox(sentence, Text(kStrInformation), IDialogs::Icon::Information,
                           IDialogs::Buttons::Ok);
}

// The position is read after the pause, and counts 0 once the file has played to its end; the
// duration is read in every state.
void Information::AnswerTime(bool book, What what) {
    IPlayer& player = m_c.player;
    PauseForQuestion pause(player);
    const double position =
        player.PlayState() == IPlayer::State::MediaEnded ? 0.0 : player.Position();
    const BookTable& titles = m_c.model.m_lstTitles;
    const double total = book ? ParseClock(m_totalTime, 9, false) : player.Duration();
    const double heard =
        book ? ParseClock(titles.Text(titles.SelectionMark(), col::kElapsed), 9, false) + position
             : position;
    const double seconds = what == What::Total     ? total
                           : what == What::Elapsed ? heard
                                                   : total - heard;
    const int intro = what == What::Total     ? kStrTotal
                      : what == What::Elapsed ? kStrElapsed
                                              : kStrRemaining;
    // The book's remaining time alone ends without a full stop.
    const bool stop = !(book && what == What::Remaining);
    Answer(Text(intro) + FormatDuration(seconds, m_c.langOffset) + QLatin1String(stop ? "." : ""));
}

void Information::OnBookTimeTotal() {
    AnswerTime(true, What::Total);
}
void Information::OnBookTimeElapsed() {
    AnswerTime(true, What::Elapsed);
}
void Information::OnBookTimeRemaining() {
    AnswerTime(true, What::Remaining);
}
void Information::OnTitleTimeTotal() {
    AnswerTime(false, What::Total);
}
void Information::OnTitleTimeElapsed() {
    AnswerTime(false, What::Elapsed);
}
void Information::OnTitleTimeRemaining() {
    AnswerTime(false, What::Remaining);
}

void Information::OnBookEntries() {
    PauseForQuestion pause(m_c.player);
    Answer(ParseInt(m_tocItems) == 1 ? Text(kStrOneEntry)
                                     : QStringLiteral("%1 %2").arg(m_tocItems, Text(kStrEntries)));
}

void Information::OnBookLevels() {
    PauseForQuestion pause(m_c.player);
    const BookTable& titles = m_c.model.m_lstTitles;
    int levels = 1;
    for (int row = 0; row < titles.RowCount(); ++row)
        levels = std::max(levels, ParseInt(titles.Text(row, col::kLevel)));
    Answer(levels == 1 ? Text(kStrOneLevel)
                       : QStringLiteral("%1 %2 %3")
                             .arg(Text(kStrLevelsBefore))
                             .arg(levels)
                             .arg(Text(kStrLevelsAfter)));
}

void Information::OnTitleIndex() {
    PauseForQuestion pause(m_c.player);
    const BookTable& titles = m_c.model.m_lstTitles;
    const int heading = ParseInt(titles.Text(titles.SelectionMark(), col::kTreeId)) + 1;
    Answer(QStringLiteral("%1 %2 %3 %4.")
               .arg(Text(kStrAtHeading))
               .arg(heading)
               .arg(Text(kStrOfAll))
               .arg(m_c.model.m_treeTitles.Count()));
}

void Information::OnTitleLevel() {
    PauseForQuestion pause(m_c.player);
    const BookTable& titles = m_c.model.m_lstTitles;
    Answer(QStringLiteral("%1 %2 .").arg(Text(kStrOnLevel),
                                         titles.Text(titles.SelectionMark(), col::kLevel)));
}

} // namespace tolvaro
