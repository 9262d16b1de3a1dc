#include "playback/PhraseEngine.h"

#include "book/BookFiles.h"
#include "book/BookModel.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "io/CaseInsensitivePath.h"
#include "platform/IPlayer.h"
#include "platform/ITextView.h"
#include "platform/ITimers.h"
#include "playback/PlaybackState.h"
#include "res/StringTable.h"

#include <QFileInfo>

#include <QUrl>

#include <algorithm>

namespace tolvaro {
namespace {

// Whether the row after `row` is a phrase of the same heading.
bool NextRowInHeading(const BookTable& phrases, int row) {
    return row + 1 < phrases.RowCount() && phrases.TextView(row + 1, col::kPhraseTreeId).toInt() ==
                                               phrases.TextView(row, col::kPhraseTreeId).toInt();
}

} // namespace

void PhraseEngine::MoveCursor(int row) {
    // The selection mark first, then the selected state, which activates the row.
    m_c.model.m_lstPhrases.MoveTo(row);
}

void PhraseEngine::NextPhrase() {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const int row = phrases.SelectionMark();
    if (NextRowInHeading(phrases, row))
        MoveCursor(row + 1);
}

void PhraseEngine::AdvanceWithoutAudio() {
    if (m_advancing) {
        m_advanceAgain = true;
        return;
    }
    m_advancing = true;
    do {
        m_advanceAgain = false;
        NextPhrase();
    } while (m_advanceAgain);
    m_advancing = false;
}

void PhraseEngine::PreviousPhrase() {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const int row = phrases.SelectionMark();
    if (row > 0 && phrases.TextView(row - 1, col::kPhraseTreeId).toInt() ==
                       phrases.TextView(row, col::kPhraseTreeId).toInt())
        MoveCursor(row - 1);
}

void PhraseEngine::OnPhraseItemChanged(int newState) {
    if (m_c.bookOpen && newState == BookTable::Selected)
        Activate();
}

void PhraseEngine::MovePageCursor(int row) {
    BookTable& pages = m_c.model.m_lstPages;
    if (pages.RowCount() == 0)
        return;
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const QStringView textId = phrases.TextView(row, col::kTextId);
    const QStringView parId = phrases.TextView(row, col::kParId);
    for (int i = 0; i < pages.RowCount(); ++i) {
        const QStringView fragment = pages.TextView(i, col::kFragment);
        if (fragment != textId && fragment != parId)
            continue;
        m_c.commands.SetEnabled(cmd::kPageNext, i != pages.RowCount() - 1);
        m_c.commands.SetEnabled(cmd::kPagePrevious, i != 0);
        pages.MoveToQuietly(i);
        m_play.m_bPageReached = true;
        return;
    }
}

// A phrase of a class the user skips is passed over with the whole run of its class, in the
// direction of the last move. Returns whether the row was skipped.
bool PhraseEngine::SkipRun(int row) {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const QStringView skip = phrases.TextView(row, col::kSkip);
    const PlaybackState& p = m_play;
    const std::pair<const char16_t*, bool> classes[] = {{u"sidebar", p.m_bSkipSidebar},
                                                        {u"prodnote", p.m_bSkipProdnote},
                                                        {u"footnote", p.m_bSkipFootnote},
                                                        {u"pagenumber", p.m_bSkipPageNumber}};
    for (const auto& [word, on] : classes) {
        if (!on || !skip.contains(QStringView(word)))
            continue;
        const int step = p.m_bBackward ? -1 : 1;
        int n = 0;
        while (phrases.TextView(row + n * step, col::kSkip).contains(QStringView(word)))
            ++n;
        m_c.model.m_lstPhrases.SetSelectionMark(row + (n - 1) * step);
        p.m_bBackward ? PreviousPhrase() : NextPhrase();
        return true;
    }
    return false;
}

void PhraseEngine::Activate() {
    BookTable& phrases = m_c.model.m_lstPhrases;
    PlaybackState& p = m_play;
    const int row = phrases.SelectionMark();
    p.m_strDocFragment = phrases.Text(row, col::kDocFragment);
    MovePageCursor(row);
    if (SkipRun(row))
        return;
    if (phrases.TextView(row, col::kSkip).contains(u"change")) {
        p.m_bAutoPlay = false; // the check mark stays: the next book part waits for the user
        m_c.commands.SetEnabled(cmd::kChangeVolume, true);
    } else {
        m_c.commands.SetEnabled(cmd::kChangeVolume, false);
    }
    const HeadingTree& tree = m_c.model.m_treeTitles;
    if (HeadingTree::ItemData(tree.Selected()) != phrases.TextView(row, col::kPhraseTreeId).toInt())
        return; // a phrase plays only under its own heading
    const QString document = phrases.Text(row, col::kDocument);
    if (document != m_lastDocument) {
        p.m_bStartPageShown = false;
        m_textView.Navigate(ExistingPathIgnoringCase(document));
        m_lastDocument = document;
    }
    m_timers.SetTimer(timer::kMark, 50);
    PlayPhrase(row);
}

void PhraseEngine::PlayPhrase(int row) {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    PlaybackState& p = m_play;
    const std::optional<Sound> sound = SoundOf(row);
    p.m_bSpeaking = sound && sound->spoken;
    if (!sound) {
        if (!phrases.TextView(row + 1, col::kAudio).isEmpty() || p.m_bAutoPlay)
            AdvanceWithoutAudio();
        return;
    }
    const QString& begin = sound->begin;
    const QString& end = sound->end;
    const double start = begin.toDouble();
    m_timers.KillTimer(timer::kPoll);
    p.m_dPhraseEnd = end.toDouble();
    IPlayer& player = m_c.player;
    if (sound->key != m_lastAudio) {
        player.SetUrl(sound->path);
        m_lastAudio = sound->key;
        if (start != 0.0) {
            player.SetRate(p.m_dRate);
            player.SetVolume(p.m_nVolume);
            player.SetPosition(start);
            player.Play();
        }
    }
    if (begin != m_lastPhraseEnd || p.m_bSeekRequested) {
        p.m_bSeekRequested = false;
        p.m_bBackward = false;
        player.SetPosition(start);
        player.SetRate(p.m_dRate);
        player.SetVolume(p.m_nVolume);
    }
    m_lastPhraseEnd = end;
    player.SetPosition(start);
    player.Play();
    m_waitedMs = 0;
    m_openWaitMs =
        static_cast<int>(std::max(0.0, p.m_dPhraseEnd - start) * 1000 / p.m_dRate) + kOpenGraceMs;
    m_timers.SetTimer(timer::kPoll, kPollMs);
    if ((NextRowInHeading(phrases, row) || p.m_bAutoPlay) && RecordingOf(row + 1).isEmpty())
        m_voice.Prepare(row + 1); // while this one sounds
}

bool PhraseEngine::Speaking() const {
    return m_play.m_bSpeaking;
}

double PhraseEngine::PlacePosition() const {
    return Speaking() ? 0.0 : m_c.player.Position();
}

void PhraseEngine::GoToPlacePosition(double seconds) {
    if (!Speaking()) // spoken text goes on from the phrase's start
        m_c.player.SetPosition(seconds);
}

// Missing audio, or a pipe or device in its place (whose opening would block), counts as none.
QString PhraseEngine::RecordingOf(int row) const {
    const QString audio = m_c.model.m_lstPhrases.Text(row, col::kAudio);
    const QString path =
        audio.isEmpty() ? QString() : ExistingPathIgnoringCase(m_bookFolder + audio);
    return QFileInfo(path).isFile() ? path : QString();
}

// A phrase without a recording, or whose recording the player could not play, speaks its text.
std::optional<PhraseEngine::Sound> PhraseEngine::SoundOf(int row) {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const QString path = RecordingOf(row);
    const bool played = phrases.TextView(row, col::kAudio) != m_unplayableAudio;
    if (!path.isEmpty() && (played || !m_voice.Speaks()))
        return Sound{phrases.Text(row, col::kAudio), path, phrases.Text(row, col::kClipBegin),
                     phrases.Text(row, col::kClipEnd)};
    const std::optional<Voice::Clip> spoken = m_voice.ClipFor(row);
    if (!spoken)
        return std::nullopt;
    // It ends a moment before its file does, in the pause speech ends with: the next phrase
    // follows at once, without the player stopping at the file's end in between.
    constexpr double kBeforeFileEnd = 0.05;
    return Sound{spoken->path, spoken->path, QStringLiteral("0"),
                 QString::number(std::max(0.0, spoken->seconds - kBeforeFileEnd), 'f', 3), true};
}

bool PhraseEngine::GivesUpOnTheFile() {
    if (m_c.player.PlayState() == IPlayer::State::Paused || m_lastAudio.isEmpty())
        return false; // paused by the user, or nothing loaded
    if (m_lastAudio != m_unplayableAudio) {
        m_waitedMs += kPollMs;
        if (m_waitedMs < m_openWaitMs)
            return false;
        m_unplayableAudio = m_lastAudio; // its other phrases are not waited for
    }
    return true;
}

void PhraseEngine::Poll() {
    IPlayer& player = m_c.player;
    if (!m_c.bookOpen)
        return;
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const int row = phrases.SelectionMark();
    if (player.OpenState() != IPlayer::Open::MediaOpen) {
        if (player.Failed() && !m_play.m_bSpeaking && m_voice.ClipFor(row)) {
            m_unplayableAudio = m_lastAudio; // its phrases are spoken, this one first
            PlayPhrase(row);
        } else if (GivesUpOnTheFile()) {
            OnPlayerStopped();
        }
        return;
    }
    switch (player.PlayState()) {
    case IPlayer::State::Playing:
        if (player.Position() < m_play.m_dPhraseEnd)
            return;
        if (NextRowInHeading(phrases, row) &&
            phrases.TextView(row, col::kAudio) == phrases.TextView(row + 1, col::kAudio))
            NextPhrase();
        else
            player.Stop();
        return;
    case IPlayer::State::Stopped:
        OnPlayerStopped();
        return;
    default:
        return;
    }
}

void PhraseEngine::OnPlayerStopped() {
    const BookTable& phrases = m_c.model.m_lstPhrases;
    const int row = phrases.SelectionMark();
    if (NextRowInHeading(phrases, row)) {
        NextPhrase();
        return;
    }
    HeadingTree& tree = m_c.model.m_treeTitles;
    if (!m_play.m_bAutoPlay) {
        m_timers.KillTimer(timer::kPoll);
        SelectHeadingByTreeId(phrases.TextView(row, col::kPhraseTreeId).toInt());
        m_c.player.Stop();
        return;
    }
    const QModelIndex next = tree.Next(tree.Selected());
    if (next.isValid())
        tree.Select(next); // the book goes on under the next heading
}

void PhraseEngine::SelectHeadingByTreeId(int n) {
    HeadingTree& tree = m_c.model.m_treeTitles;
    QModelIndex item = tree.FindByData(n);
    if (!item.isValid())
        item = tree.FindByData(0);
    tree.Select(item);
}

void PhraseEngine::ClearSearchResults() {
    m_c.model.m_lbSearchHits.ResetTo(LoadString(kStrNoSearchResults + m_c.langOffset));
    m_c.model.m_lstSearchHits.DeleteAllRows();
    m_c.commands.SetEnabled(cmd::kSearchNext, false);
    m_c.commands.SetEnabled(cmd::kSearchPrevious, false);
    m_textSearchResults = false;
}

void PhraseEngine::OnHeadingSelChanged(int n) {
    if (!m_c.bookOpen)
        return;
    // Unloaded, and loaded again by the activation even when the heading's first phrase uses the
    // same file name as the last phrase played.
    m_c.player.SetUrl(QString());
    m_lastAudio.clear();
    m_unplayableAudio.clear(); // each heading tries its files afresh
    BookTable& phrases = m_c.model.m_lstPhrases;
    int row = 0;
    while (row < phrases.RowCount() && phrases.TextView(row, col::kPhraseTreeId).toInt() != n)
        ++row;
    // The results of a text search belong to the heading that was current: any other drops
    // them, the first heading too.
    if (m_textSearchResults)
        ClearSearchResults();
    if (row < phrases.RowCount()) {
        // The document the heading's text is in, the one about to be shown.
        const QStringView shown = phrases.TextView(row, col::kDocument);
        if (!IsNavigationDocument(shown)) {
            m_c.commands.SetEnabled(cmd::kSearchText, true);
        } else if (m_c.commands.IsEnabled(cmd::kSearchText)) {
            m_c.commands.SetEnabled(cmd::kSearchText, false);
            ClearSearchResults();
        }
        m_c.commands.SetEnabled(cmd::kPhraseNext, true);
        MoveCursor(row);
    }
    m_c.model.m_lstTitles.MoveTo(n);
}

bool PhraseEngine::OnLinkClicked(const QString& url) {
    if (!m_c.bookOpen)
        return false;
    if (!url.contains(u".smil") && !url.contains(u".SMIL"))
        return FollowXmlLink(QUrl(url));
    m_play.m_bSeekRequested = true;
    const QUrl link(url);
    const QString file = link.fileName();
    const QString fragment = link.fragment();
    const BookTable& headings = m_c.model.m_lstTitles;
    for (int row = 0; row < headings.RowCount(); ++row) {
        if (headings.TextView(row, col::kSmil) == file) {
            SelectHeadingByTreeId(headings.TextView(row, col::kTreeId).toInt());
            break;
        }
    }
    BookTable& phrases = m_c.model.m_lstPhrases;
    for (int row = 0; row < phrases.RowCount(); ++row) {
        if (phrases.TextView(row, col::kTextId) == fragment ||
            phrases.TextView(row, col::kParId) == fragment) {
            m_play.m_bSeekRequested = true;
            MoveCursor(row);
            break;
        }
    }
    return true;
}

// The phrase that shows the element a link names in an XML document; a link to any other
// element is followed by the view.
bool PhraseEngine::FollowXmlLink(const QUrl& link) {
    const QString fragment = link.fragment();
    if (!IsXmlDocument(link.path()) || fragment.isEmpty())
        return false;
    const BookTable& phrases = m_c.model.m_lstPhrases;
    for (int row = 0; row < phrases.RowCount(); ++row) {
        if (phrases.TextView(row, col::kDocFragment) == fragment &&
            QFileInfo(phrases.Text(row, col::kDocument))
                    .fileName()
                    .compare(link.fileName(), Qt::CaseInsensitive) == 0) {
            m_play.m_bSeekRequested = true;
            SelectHeadingByTreeId(phrases.TextView(row, col::kPhraseTreeId).toInt());
            MoveCursor(row);
            return true;
        }
    }
    return false;
}

} // namespace tolvaro
