#include "app/CTolvaroDlg.h"

#include "app/MenuStates.h"
#include "app/StartupOptions.h"
#include "book/BookFiles.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "io/CaseInsensitivePath.h"
#include "platform/IDialogs.h"
#include "platform/IMainWindow.h"
#include "platform/IPlayer.h"
#include "platform/ITextView.h"
#include "platform/ITimers.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"
#include "store/ResumeFile.h"

#include <QDir>

namespace tolvaro {

CTolvaroDlg::CTolvaroDlg(Platform platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_titleClip(platform.player, platform.timers),
      m_voice(platform.speech, m_model.m_lstPhrases, m_play.m_bReadAloud),
      m_engine(Shared(), platform.timers, platform.textView, m_play, m_voice, m_strBookFolder,
               m_bTextSearchResults),
      m_audio(platform.player, platform.timers, m_play, m_model.m_lstPhrases),
      m_navigation(Shared(), m_play, m_engine),
      m_bookmarks(Shared(), m_engine, m_strDataFolder, [this] { return BookIdentity(); }),
      m_information(Shared(), m_meta.tocItems, m_meta.totalTime),
      m_markOptions(Shared(), m_markStyle),
      m_search(Shared(), m_engine, m_play, m_nCodePage, m_strSearchTerm, m_bTextSearchResults,
               [this] { MarkSearchTerm(); }),
      m_marker(platform.textView), m_feedback(Shared()) {
    // Which object runs each command.
    const auto by = [](auto& object) {
        return [&object](auto method) { return [&object, method] { (object.*method)(); }; };
    };
    const auto on = by(*this);
    const auto audio = by(m_audio);
    const auto move = by(m_navigation);
    const auto mark = by(m_bookmarks);
    const auto info = by(m_information);
    const auto style = by(m_markOptions);
    const auto search = by(m_search);
    const std::function<void()> phraseNext = [this] {
        m_play.m_bSeekRequested = true;
        m_engine.NextPhrase();
    };
    const std::function<void()> phrasePrevious = [this] {
        m_play.m_bBackward = true;
        m_engine.PreviousPhrase();
    };
    // In spoken text a wind step is a phrase: a thousandth of a phrase's speech is no step.
    const auto wind = [this](std::function<void()> phrase, void (AudioControls::*step)()) {
        return [this, phrase, step] { m_engine.Speaking() ? phrase() : (m_audio.*step)(); };
    };
    m_handlers = {
        {cmd::kExit, on(&CTolvaroDlg::OnExit)},
        {cmd::kOpen, on(&CTolvaroDlg::OnOpenBook)},
        {cmd::kLast, on(&CTolvaroDlg::OnLastBook)},
        {cmd::kChangeVolume, on(&CTolvaroDlg::OnChangeVolume)},
        {cmd::kHelp, on(&CTolvaroDlg::OnHelpManual)},
        {cmd::kFromList, on(&CTolvaroDlg::OnBookFromList)},
        {cmd::kReadAloud, on(&CTolvaroDlg::OnReadAloud)},
        {cmd::kPhraseNext, phraseNext},
        {cmd::kPhrasePrevious, phrasePrevious},
        {cmd::kAbout, [this] { m_platform.dialogs.ShowAbout(); }},
        {cmd::kFocusTree, [this] { m_platform.window.FocusTree(); }},
        {cmd::kFocusText, [this] { m_platform.textView.Focus(); }},
        {cmd::kLanguageGerman, [this] { SwitchLanguage(kLangGerman); }},
        {cmd::kLanguageEnglish, [this] { SwitchLanguage(kLangEnglish); }},
        {cmd::kPauseContinue, audio(&AudioControls::OnPauseContinue)},
        {cmd::kVolumeUp, audio(&AudioControls::OnVolumeUp)},
        {cmd::kVolumeDown, audio(&AudioControls::OnVolumeDown)},
        {cmd::kVolumeNormal, audio(&AudioControls::OnVolumeNormal)},
        {cmd::kRateUp, audio(&AudioControls::OnRateUp)},
        {cmd::kRateDown, audio(&AudioControls::OnRateDown)},
        {cmd::kRateNormal, audio(&AudioControls::OnRateNormal)},
        {cmd::kWindForward, wind(phraseNext, &AudioControls::OnWindForward)},
        {cmd::kWindBackward, wind(phrasePrevious, &AudioControls::OnWindBackward)},
        {cmd::kPageNext, move(&Navigation::OnNextPage)},
        {cmd::kPagePrevious, move(&Navigation::OnPreviousPage)},
        {cmd::kPageGoTo, move(&Navigation::OnGoToPage)},
        {cmd::kGroupNext, move(&Navigation::OnNextGroup)},
        {cmd::kGroupPrevious, move(&Navigation::OnPreviousGroup)},
        {cmd::kBookmarkSet, mark(&Bookmarks::OnSet)},
        {cmd::kBookmarkDelete, mark(&Bookmarks::OnDelete)},
        {cmd::kBookmarkNext, mark(&Bookmarks::OnNext)},
        {cmd::kBookmarkPrevious, mark(&Bookmarks::OnPrevious)},
        {cmd::kBookTimeTotal, info(&Information::OnBookTimeTotal)},
        {cmd::kBookTimeElapsed, info(&Information::OnBookTimeElapsed)},
        {cmd::kBookTimeRemaining, info(&Information::OnBookTimeRemaining)},
        {cmd::kBookEntries, info(&Information::OnBookEntries)},
        {cmd::kBookLevels, info(&Information::OnBookLevels)},
        {cmd::kTitleTimeTotal, info(&Information::OnTitleTimeTotal)},
        {cmd::kTitleTimeElapsed, info(&Information::OnTitleTimeElapsed)},
        {cmd::kTitleTimeRemaining, info(&Information::OnTitleTimeRemaining)},
        {cmd::kTitleIndex, info(&Information::OnTitleIndex)},
        {cmd::kTitleLevel, info(&Information::OnTitleLevel)},
        {cmd::kSearchHeadings, search(&BookSearch::OnSearchHeadings)},
        {cmd::kSearchText, search(&BookSearch::OnSearchText)},
        {cmd::kSearchBook, search(&BookSearch::OnSearchBook)},
        {cmd::kSearchNext, search(&BookSearch::OnNextResult)},
        {cmd::kSearchPrevious, search(&BookSearch::OnPreviousResult)},
        {cmd::kMarkBackground, style(&MarkOptions::OnMarkBackground)},
        {cmd::kMarkItalic, style(&MarkOptions::OnMarkItalic)},
        {cmd::kMarkBold, style(&MarkOptions::OnMarkBold)},
        {cmd::kMarkTextColor, style(&MarkOptions::OnMarkTextColor)},
    };
    connect(&m_commands, &CommandTable::Command, this, &CTolvaroDlg::OnCommand);
    connect(&m_commands, &CommandTable::Refused, this,
            [this](int id) { Announce(m_feedback.Refused(id)); });
    connect(&m_model.m_lstPhrases, &BookTable::ItemChanged, this,
            [this](int, int state, int) { m_engine.OnPhraseItemChanged(state); });
    connect(&m_model.m_treeTitles, &HeadingTree::SelectionChanged, this, [this](int data) {
        // A heading chosen while the title clip plays wins over where the book was left.
        m_titleClip.Abandon();
        m_engine.OnHeadingSelChanged(data);
    });
    connect(&m_model.m_lstPages, &BookTable::ItemChanged, this,
            [this](int, int state, int) { m_navigation.OnPageItemChanged(state); });
    connect(&m_model.m_lstGroups, &BookTable::ItemChanged, this,
            [this](int, int state, int) { m_navigation.OnGroupItemChanged(state); });
    connect(&m_model.m_lstBookmarks, &BookTable::ItemChanged, this,
            [this](int row, int state, int) { m_bookmarks.OnItemChanged(row, state); });
    connect(&m_model.m_lbBookmarks, &VisibleList::SelChange, this,
            [this](int) { m_bookmarks.OnListSelChange(); });
    connect(&m_model.m_lstSearchHits, &BookTable::ItemChanged, this,
            [this](int row, int state, int) { m_search.OnTableItemChanged(row, state); });
    connect(&m_model.m_lbSearchHits, &VisibleList::SelChange, this,
            [this](int) { m_search.OnListSelChange(); });
    // The heading table follows the tree: a row selected there becomes its current row.
    connect(&m_model.m_lstTitles, &BookTable::ItemChanged, this, [this](int row, int state, int) {
        if (state == BookTable::Selected)
            m_model.m_lstTitles.SetSelectionMark(row);
    });
    m_platform.timers.SetTickHandler([this](int id) { OnTimer(id); });
    m_platform.textView.SetHandlers(
        [this](const QString& url) { return m_engine.OnLinkClicked(url); },
        [this](const QString& url) {
            m_play.m_bStartPageShown =
                url.contains(u"start_de.html") || url.contains(u"start_en.html");
            m_marker.DocumentLoaded();
        });
}

// The platform outlives the controller: nothing may call back into it any more.
CTolvaroDlg::~CTolvaroDlg() {
    m_platform.timers.SetTickHandler({});
    m_platform.textView.SetHandlers({}, {});
}

void CTolvaroDlg::OnInitDialog(const StartupInfo& startup) {
    m_strProgramFolder = startup.programFolder;
    m_strDataFolder = startup.dataFolder;
    m_defaults = DefaultSettings(startup.localeName);
    // A folder that cannot be created is not reported: the file operations in it fail quietly.
    MakeDataFolder(m_strDataFolder);
    WriteDefaultFiles(m_strDataFolder, m_defaults);
    ResetToNoBook();
    LoadSettings();
    ShowLanguage();
    m_strBookFolder = startup.bookFolder;
    // A folder given relative to where the program was started: the text view and the player
    // need it whole.
    if (!m_strBookFolder.isEmpty())
        m_strBookFolder = WithTrailingSeparator(QDir(m_strBookFolder).absolutePath());
    m_platform.timers.SetTimer(timer::kStartup, 100);
}

void CTolvaroDlg::OnTimer(int id) {
    switch (id) {
    case timer::kStartup:
        m_platform.timers.KillTimer(timer::kStartup);
        if (!m_strBookFolder.isEmpty())
            OpenBookFolder(m_strBookFolder, OpenPath::Startup);
        else
            m_platform.textView.Focus(); // the start page, where a screen reader reads on
        break;
    case timer::kTitleClip:
        m_titleClip.OnTick();
        break;
    case timer::kMark:
        m_platform.timers.KillTimer(timer::kMark);
        MarkSearchTerm();
        MarkPhrase();
        break;
    case timer::kPoll:
        m_engine.Poll();
        break;
    default:
        break;
    }
}

void CTolvaroDlg::OnMenuSelect(bool closing) {
    if (closing && !m_bMenuOpen)
        return; // handled already, before the command chosen from the menu
    m_bMenuOpen = !closing;
    if (m_bBookOpen)
        m_audio.OnMenuSelect(closing);
}

void CTolvaroDlg::OnCommand(int id) {
    // A command ends the title clip first, and what follows the clip runs before the command;
    // so does the closing of the menu it was chosen from.
    if (m_titleClip.IsPlaying())
        m_titleClip.Finish();
    if (m_bMenuOpen)
        OnMenuSelect(true);
    const CommandFeedback::Snapshot before = m_feedback.Take();
    RunHandler(id);
    Announce(m_feedback.Done(id, before));
}

void CTolvaroDlg::Announce(const QString& text) {
    if (!text.isEmpty())
        m_platform.window.Announce(text);
}

void CTolvaroDlg::RunHandler(int id) {
    if (const auto handler = m_handlers.value(id)) {
        handler();
        return;
    }
    // A switch: the action has already flipped its check mark; the flag follows the mark.
    for (Flag& flag : Flags()) {
        if (flag.command == id)
            flag.now = m_commands.IsChecked(id);
    }
}

// Turned off in a book without recordings, reading aloud leaves the book resting, as such a book
// is without speech: it would otherwise pass over every phrase to the heading's end. Turned on,
// it speaks from the next phrase on.
void CTolvaroDlg::OnReadAloud() {
    m_play.m_bReadAloud = m_commands.IsChecked(cmd::kReadAloud);
    if (m_play.m_bReadAloud || !m_bBookOpen || m_bRecorded)
        return;
    m_platform.timers.KillTimer(timer::kPoll);
    m_platform.player.Stop();
    m_play.m_bAutoPlay = false;
    m_commands.SetChecked(cmd::kAutoPlay, false);
}

void CTolvaroDlg::MarkPhrase() {
    if (m_play.m_bStartPageShown || !m_bBookOpen)
        return;
    m_marker.MarkPhrase(m_play.m_strDocFragment, m_markStyle, m_strBookFolder);
}

void CTolvaroDlg::MarkSearchTerm() {
    if (m_play.m_bStartPageShown || !m_bBookOpen)
        return;
    m_marker.MarkSearchTerm(m_strSearchTerm, m_markStyle);
}

void CTolvaroDlg::SwitchLanguage(int langOffset) {
    m_nLangOffset = langOffset;
    const QString noBookmarks = LoadString(kStrNoBookmarks + m_nLangOffset);
    const QString noResults = LoadString(kStrNoSearchResults + m_nLangOffset);
    if (!m_bBookOpen) {
        m_play.m_bStartPageShown = true;
        m_platform.textView.Navigate(StartPagePath());
    }
    // A list without rows behind it shows its placeholder, now in the new language.
    if (m_model.m_lstBookmarks.RowCount() == 0)
        m_model.m_lbBookmarks.ResetTo(noBookmarks);
    if (m_model.m_lstSearchHits.RowCount() == 0)
        m_model.m_lbSearchHits.ResetTo(noResults);
    ApplyMenuLanguage(m_commands, m_nLangOffset);
    ShowLanguage();
}

void CTolvaroDlg::ShowLanguage() {
    m_model.m_treeTitles.SetSpokenForm(LoadString(kSayHeadingLevel + m_nLangOffset));
    m_platform.window.ApplyLanguage(m_nLangOffset);
}

void CTolvaroDlg::OnExit() {
    if (m_titleClip.IsPlaying())
        m_titleClip.Finish();
    if (m_bBookOpen)
        CloseOpenBook(!m_bSkipLastBookWrite);
    SaveSettings();
    m_platform.window.EndDialog();
}

void CTolvaroDlg::CloseOpenBook(bool writeLastBook) {
    m_bBookOpen = false;
    m_platform.timers.KillTimer(timer::kMark);
    m_platform.timers.KillTimer(timer::kPoll);
    if (writeLastBook)
        SaveLastBook();
    SaveResume();
    m_bookmarks.Save();
}

QString CTolvaroDlg::StartPagePath() const {
    return m_strProgramFolder + LoadString(kStrStartPage + m_nLangOffset);
}

void CTolvaroDlg::ResetToNoBook() {
    m_platform.timers.KillTimer(timer::kMark);
    m_platform.timers.KillTimer(timer::kPoll);
    m_platform.window.SetWaitCursor(true);
    m_play.m_strDocFragment.clear();
    m_play.m_bPageReached = false;
    m_strSearchTerm.clear();
    m_voice.Open(QString(), 0);
    HeadingTree& tree = m_model.m_treeTitles;
    if (tree.Count() > 0) {
        tree.Select(tree.FirstRoot());
        tree.DeleteAllItems();
    }
    m_model.m_lbBookmarks.ResetTo(LoadString(kStrNoBookmarks + m_nLangOffset));
    m_model.m_lbSearchHits.ResetTo(LoadString(kStrNoSearchResults + m_nLangOffset));
    m_model.DeleteAllRows();
    m_platform.player.SetUrl(QString());
    m_play.m_bStartPageShown = true;
    m_platform.textView.Navigate(StartPagePath());
    ApplyNoBookState(m_commands);
    m_platform.window.SetWaitCursor(false);
}

QString CTolvaroDlg::DataFile(const char16_t* name) const {
    return DataFilePath(m_strDataFolder, name);
}

// A settings file that cannot be read gives the settings of a new user.
void CTolvaroDlg::LoadSettings() {
    const std::optional<QStringList> lines = datafile::ReadLines(DataFile(kSettingsFile));
    ApplySettings(lines ? SettingsFromLines(*lines, m_defaults) : m_defaults);
}

std::array<CTolvaroDlg::Flag, 10> CTolvaroDlg::Flags() {
    return {{
        {&Settings::skipFootnote, m_play.m_bSkipFootnote, cmd::kSkipFootnote},
        {&Settings::skipSidebar, m_play.m_bSkipSidebar, cmd::kSkipSidebar},
        {&Settings::skipProdnote, m_play.m_bSkipProdnote, cmd::kSkipProdnote},
        {&Settings::skipPageNumber, m_play.m_bSkipPageNumber, cmd::kSkipPageNumber},
        {&Settings::autoPlay, m_play.m_bAutoPlay, cmd::kAutoPlay},
        {&Settings::readAloud, m_play.m_bReadAloud, cmd::kReadAloud},
        {&Settings::markBackground, m_markStyle.background, cmd::kMarkBackground},
        {&Settings::markItalic, m_markStyle.italic, cmd::kMarkItalic},
        {&Settings::markBold, m_markStyle.bold, cmd::kMarkBold},
        {&Settings::markTextColor, m_markStyle.textColor, cmd::kMarkTextColor},
    }};
}

void CTolvaroDlg::ApplySettings(const Settings& s) {
    // In file order, so that of several style lines the last one carries the radio mark.
    for (Flag& flag : Flags()) {
        flag.now = s.*flag.saved;
        if (flag.now)
            m_commands.SetChecked(flag.command, true);
    }
    if (s.hasMarkColor)
        m_markStyle.color = s.markColor;
    if (s.langOffset == kLangGerman || s.langOffset == kLangEnglish) {
        const bool english = s.langOffset == kLangEnglish;
        m_commands.SetChecked(english ? cmd::kLanguageEnglish : cmd::kLanguageGerman, true);
        m_nLangOffset = s.langOffset;
        m_play.m_bStartPageShown = true;
        m_platform.textView.Navigate(StartPagePath());
        SwitchLanguage(s.langOffset);
    }
    m_play.m_nVolume = s.volume;
    m_play.m_dRate = s.rate;
    m_platform.player.SetVolume(m_play.m_nVolume);
    m_platform.player.SetRate(m_play.m_dRate);
}

Settings CTolvaroDlg::CurrentSettings() {
    Settings s;
    for (Flag& flag : Flags())
        s.*flag.saved = flag.now;
    s.volume = m_play.m_nVolume;
    s.rate = m_play.m_dRate;
    s.markColor = m_markStyle.color;
    s.langOffset = m_nLangOffset;
    return s;
}

// The file is replaced as a whole; when that fails the previous settings stay, silently.
void CTolvaroDlg::SaveSettings() {
    datafile::WriteLines(DataFile(kSettingsFile), SettingsToLines(CurrentSettings()));
}

// Records where reading stopped; the records of other books stay, this book's goes to the end.
void CTolvaroDlg::SaveResume() {
    m_platform.player.Pause();
    const double position = m_engine.PlacePosition();
    const BookTable& phrases = m_model.m_lstPhrases;
    const int row = phrases.SelectionMark();
    const QString begin = phrases.Text(row, col::kClipBegin);
    ResumeRecord record{BookIdentity(), phrases.Text(row, col::kPhraseTreeId),
                        begin.toDouble() <= position ? QString::asprintf("%.3f", position) : begin,
                        QString::number(row)};
    const datafile::DataLines old = datafile::Read(DataFile(kResumeFile));
    if (old.status == FileRead::Status::Unreadable)
        return; // other books' records are in there: never replace them with this one alone
    datafile::WriteLines(DataFile(kResumeFile), WithResumeRecord(old.lines, record, old.foreign),
                         DataFile(kResumeTemp));
}

// Playback goes on where the book was left; a book never read, or a record whose rows the book
// does not have, starts at its first phrase.
void CTolvaroDlg::RestoreResume() {
    m_platform.timers.KillTimer(timer::kMark);
    m_platform.timers.KillTimer(timer::kPoll);
    const std::optional<QStringList> lines = datafile::ReadLines(DataFile(kResumeFile));
    if (!lines)
        return;
    BookTable& phrases = m_model.m_lstPhrases;
    const std::optional<ResumeRecord> record = FindResumeRecord(*lines, BookIdentity());
    const int heading = record ? ParseInt(record->heading) : 0;
    const int row = record ? ParseInt(record->phrase) : 0;
    const bool known = record && row >= 0 && row < phrases.RowCount() &&
                       phrases.TextView(row, col::kPhraseTreeId).toInt() == heading;
    m_engine.SelectHeadingByTreeId(known ? heading : 0);
    phrases.SetSelectionMark(known ? row : 0);
    const QString document = phrases.Text(phrases.SelectionMark(), col::kDocument);
    if (known && !IsNavigationDocument(document))
        m_commands.SetEnabled(cmd::kSearchText, true);
    m_play.m_bStartPageShown = false;
    m_platform.textView.Navigate(ExistingPathIgnoringCase(document));
    phrases.MoveTo(phrases.SelectionMark());
    if (known) {
        m_engine.GoToPlacePosition(ParseDouble(record->position));
        m_platform.player.Play();
    }
}

void CTolvaroDlg::SaveLastBook() {
    datafile::WriteLines(DataFile(kLastBookFile), {m_strBookFolder});
}

} // namespace tolvaro
