// The ways a book is opened: "Öffnen", "Letztes" and the start-up option, and the sequence they
// share.
#include "app/CTolvaroDlg.h"

#include "app/MenuStates.h"
#include "commands/CommandIds.h"
#include "finder/BookFinder.h"
#include "formats/BookLoader.h"
#include "io/CaseInsensitivePath.h"
#include "platform/IDialogs.h"
#include "platform/IMainWindow.h"
#include "platform/IProgress.h"
#include "platform/ISpeech.h"
#include "platform/ITextView.h"
#include "platform/ITimers.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"
#include "store/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {

void CTolvaroDlg::OpenBookFolder(const QString& folder, OpenPath path, int heading) {
    std::optional<LoadedBook> book;
    IDialogs& dialogs = m_platform.dialogs;
    IProgress::Stop stop = IProgress::Stop::None;
    const bool loaded =
        dialogs.RunLoading(LoadString(kStrLoadingCaption + m_nLangOffset),
                           LoadString(kStrLoadingText + m_nLangOffset), [&](IProgress& progress) {
                               m_platform.window.SetWaitCursor(true);
                               book = LoadBook(m_model, folder, m_nLangOffset, progress);
                               const bool read = book.has_value();
                               m_platform.window.SetWaitCursor(false);
                               stop = progress.StopRequested();
                               if (!read && stop == IProgress::Stop::None)
                                   SayBookUnreadable();
                               return read;
                           });
    if (stop != IProgress::Stop::None) {
        // Stopped by the user: no book, not even the part read. Closing the loading window asks
        // the program to end, as closing the main window does.
        ResetToNoBook();
        if (stop == IProgress::Stop::Close)
            OnExit();
        return;
    }
    if (!loaded || !book)
        return;

    m_meta = book->meta;
    m_nCodePage = book->codePage;
    // A book that does not say its language is read in the program's.
    const QString programLanguage =
        m_nLangOffset == kLangEnglish ? QStringLiteral("en") : QStringLiteral("de");
    m_voice.Open(m_meta.language.isEmpty() ? programLanguage : m_meta.language, m_nCodePage);
    m_bRecorded = book->features.audio;
    if (!m_bRecorded)
        SpeakWithoutRecordings(book->features);
    m_bookmarks.Restore();
    EnableBookMenus(m_commands, m_model, book->features, m_nLangOffset, m_play.m_bAutoPlay);
    if (path != OpenPath::Last)
        m_commands.SetEnabled(cmd::kLast, true);
    m_platform.window.FocusTree();
    if (path == OpenPath::Startup)
        m_model.m_treeTitles.Select(m_model.m_treeTitles.FirstRoot());
    // Open before the clip: a book without audio has no clip, and goes on at once.
    m_bBookOpen = true;
    if (path == OpenPath::Change)
        PlayTitleClip([this, heading] { m_engine.SelectHeadingByTreeId(heading); });
    else
        PlayTitleClip([this] { RestoreResume(); });
}

// A book without recordings is spoken, and plays as a recorded one does. Without a synthesizer
// it stays silent, which the reader hears once a start.
void CTolvaroDlg::SpeakWithoutRecordings(BookFeatures& features) {
    if (m_voice.Speaks()) {
        features.audio = m_model.m_lstPhrases.RowCount() > 0;
    } else if (!m_platform.speech.Available() && !std::exchange(m_bNoSpeechSaid, true)) {
        m_platform.dialogs.MessageBox(LoadString(kStrNoSpeech + m_nLangOffset),
                                      LoadString(kStrInformation + m_nLangOffset),
                                      IDialogs::Icon::Information, IDialogs::Buttons::Ok);
    }
}

void CTolvaroDlg::SayBookUnreadable() {
    m_platform.dialogs.MessageBox(LoadString(kStrNccUnreadable + m_nLangOffset),
                                  LoadString(kStrReadError + m_nLangOffset), IDialogs::Icon::Error,
                                  IDialogs::Buttons::Ok);
}

// The beginning of the book, once; `then` goes on when the clip is over.
void CTolvaroDlg::PlayTitleClip(std::function<void()> then) {
    const BookTable& phrases = m_model.m_lstPhrases;
    const QString audio = phrases.Text(0, col::kAudio);
    const double end = phrases.Text(0, col::kClipEnd).toDouble();
    m_titleClip.Play(audio.isEmpty() ? QString()
                                     : ExistingPathIgnoringCase(m_strBookFolder + audio),
                     end, std::move(then));
}

void CTolvaroDlg::CloseForAnother(bool recordLast) {
    if (!m_bBookOpen)
        return;
    if (!recordLast)
        m_bTextSearchResults = false;
    CloseOpenBook(recordLast && !m_bSkipLastBookWrite);
    if (recordLast)
        m_bSkipLastBookWrite = false;
    ResetToNoBook();
}

void CTolvaroDlg::OnOpenBook() {
    CloseForAnother(true);
    const std::optional<QString> file =
        m_platform.dialogs.GetBookFile(LoadString(kStrFileDialogTitle + m_nLangOffset), QString());
    if (!file)
        return;
    // The folder is the chosen file's folder, whatever the file is called.
    m_strBookFolder = WithTrailingSeparator(QFileInfo(*file).absolutePath());
    OpenBookFolder(m_strBookFolder, OpenPath::Open);
}

void CTolvaroDlg::OnLastBook() {
    CloseForAnother(false);
    // A file that names no book (empty, missing, unreadable) is answered as a book that cannot
    // be read: the reader hears why nothing opens.
    const QString folder =
        datafile::ReadLines(DataFile(kLastBookFile)).value_or(QStringList()).value(0);
    if (folder.isEmpty()) {
        SayBookUnreadable();
    } else {
        m_strBookFolder = folder;
        OpenBookFolder(m_strBookFolder, OpenPath::Last);
    }
    m_commands.SetEnabled(cmd::kLast, false);
}

// Another volume of the book set: it opens at the heading row that was current in this one. A
// book that is not another volume of this one is opened only when the user says so; Cancel and
// Abort go back to the book just closed. The help manual is never recorded as the last book.
void CTolvaroDlg::OnChangeVolume() {
    const QStringList identity = BookIdentity(); // closing leaves them, for a Retry too
    const BookTable& phrases = m_model.m_lstPhrases;
    const int heading = ParseInt(phrases.Text(phrases.SelectionMark(), col::kPhraseTreeId));
    CloseForAnother(true);
    IDialogs& dialogs = m_platform.dialogs;
    QDir parent(m_strBookFolder);
    parent.cdUp();
    const std::optional<QString> file =
        dialogs.GetBookFile(LoadString(kStrFileDialogTitle + m_nLangOffset), parent.absolutePath());
    if (!file) {
        OnLastBook();
        return;
    }
    const QString folder = WithTrailingSeparator(QFileInfo(*file).absolutePath());
    const std::optional<BookMeta> head = ReadBookHead(folder);
    const bool belongs = head && head->date == identity[0] && head->identifier == identity[1] &&
                         head->title == identity[2] && head->tocItems == identity[4] &&
                         head->totalTime == identity[5] && head->setInfo != identity[3];
    if (!belongs) {
        const IDialogs::Result answer = dialogs.MessageBox(
            LoadString(kStrNotAPart + m_nLangOffset), LoadString(kStrChangeCaption + m_nLangOffset),
            IDialogs::Icon::Warning, IDialogs::Buttons::AbortRetryIgnore);
        if (answer == IDialogs::Result::Retry) {
            OnChangeVolume();
            return;
        }
        if (answer != IDialogs::Result::Ignore) {
            OnLastBook();
            return;
        }
    }
    m_strBookFolder = folder;
    OpenBookFolder(folder, OpenPath::Change, heading);
}

// The manual in the current language, a book like any other (its place and bookmarks kept), but
// never recorded as the last book: neither the book it closes nor, later, itself.
void CTolvaroDlg::OnHelpManual() {
    m_bSkipLastBookWrite = true;
    CloseForAnother(false);
    m_strBookFolder = m_strProgramFolder + LoadString(kStrManualFolder + m_nLangOffset);
    OpenBookFolder(m_strBookFolder, OpenPath::Open);
    m_commands.SetEnabled(cmd::kLast, true);
}

// A book chosen from the list of the books on a drive. The open book is closed first (and
// recorded as the last book, unless it is the manual); a cancel leaves the window without one.
void CTolvaroDlg::OnBookFromList() {
    CloseForAnother(true);
    BookFinder finder(Shared(), m_platform.drives, m_strDataFolder);
    const std::optional<QString> folder = finder.ChooseBook();
    if (!folder) {
        m_platform.textView.Focus(); // the start page, as without a book at start-up
        return;
    }
    m_strBookFolder = *folder;
    OpenBookFolder(m_strBookFolder, OpenPath::Open);
}

QStringList CTolvaroDlg::BookIdentity() const {
    return {m_meta.date,    m_meta.identifier, m_meta.title,
            m_meta.setInfo, m_meta.tocItems,   m_meta.totalTime};
}

} // namespace tolvaro
