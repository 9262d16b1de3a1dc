#pragma once

#include "book/BookModel.h"
#include "bookmarks/Bookmarks.h"
#include "commands/CommandTable.h"
#include "feedback/CommandFeedback.h"
#include "formats/BookLoader.h"
#include "highlight/MarkOptions.h"
#include "information/Information.h"
#include "platform/Platform.h"
#include "playback/AudioControls.h"
#include "playback/Navigation.h"
#include "playback/PhraseEngine.h"
#include "playback/PlaybackState.h"
#include "playback/TextMarker.h"
#include "playback/TimerIds.h"
#include "playback/TitleClip.h"
#include "search/BookSearch.h"
#include "store/Settings.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <array>

#include <functional>

namespace tolvaro {

// Where the program starts from: supplied by the program, or by a test.
struct StartupInfo {
    QString programFolder; // holds documents/, no trailing "/"
    QString dataFolder;    // per-user data folder, no trailing "/"
    QString bookFolder;    // the book to open, with a trailing "/"; empty: none
    QString localeName;    // the desktop's locale, e.g. "de_DE"; picks the first language
};

// The main window's controller. It owns the book model, the command table and the state that
// the subsystems share, and routes commands, timer ticks and notifications to them. It reaches
// the screen, the audio and the clock only through the platform interfaces.
class CTolvaroDlg : public QObject {
    Q_OBJECT
public:
    explicit CTolvaroDlg(Platform platform, QObject* parent = nullptr);
    ~CTolvaroDlg() override;

    // Start-up: data folder and files, empty book model with the start page, settings, the
    // book named on the command line (opened by the start-up timer's first tick).
    void OnInitDialog(const StartupInfo& startup);
    void OnTimer(int id);
    // A menu opened or the menus closed: playback pauses while the user reads the menu. A
    // command chosen from a menu runs after the closing has been handled, as by its key.
    void OnMenuSelect(bool closing);
    // Runs a command as its menu item or key would: only when it is enabled.
    bool RunCommand(int id) { return m_commands.Trigger(id); }
    // "Beenden" and closing the window: closes the open book, saves the settings, ends.
    void OnExit();
    // Empties the book model and returns the window to the state without a book.
    void ResetToNoBook();
    // How a book is being opened; decides the steps that differ between the ways in.
    enum class OpenPath { Open, Startup, Last, Change };
    // Opens the book in `folder` (with trailing "/"); a book that could not be loaded leaves the
    // window without one. After the title clip the book goes on where it was left; a changed
    // volume at `heading` instead.
    void OpenBookFolder(const QString& folder, OpenPath path = OpenPath::Open, int heading = 0);

    BookModel& Model() { return m_model; }
    CommandTable& Commands() { return m_commands; }
    const QString& BookFolder() const { return m_strBookFolder; }
    QStringList BookIdentity() const;
    bool IsTitleClipPlaying() const { return m_titleClip.IsPlaying(); }
    int LangOffset() const { return m_nLangOffset; }
    bool IsBookOpen() const { return m_bBookOpen; }
    bool IsStartPageShown() const { return m_play.m_bStartPageShown; }
    bool AutoPlay() const { return m_play.m_bAutoPlay; }
    const PlaybackState& Playback() const { return m_play; }
    int Volume() const { return m_play.m_nVolume; }
    double Rate() const { return m_play.m_dRate; }
    const QString& MarkColor() const { return m_markStyle.color; }
    QString StartPagePath() const;

private:
    Context Shared() {
        return {m_model,           m_commands,  m_platform.player, m_platform.dialogs,
                m_platform.window, m_bBookOpen, m_nLangOffset};
    }
    void OnCommand(int id);
    void RunHandler(int id);
    void Announce(const QString& text);
    void OnOpenBook();
    void OnLastBook();
    void OnChangeVolume();
    void OnHelpManual();
    void OnBookFromList();
    void PlayTitleClip(std::function<void()> then);
    // "Die ncc.html konnte nicht geöffnet werden!", with the read error's caption.
    void SayBookUnreadable();
    void RestoreResume();
    void MarkPhrase();
    void MarkSearchTerm();
    void SwitchLanguage(int langOffset);
    // The window's and the heading tree's words for a screen reader, in the current language.
    void ShowLanguage();
    void CloseOpenBook(bool writeLastBook);
    void SpeakWithoutRecordings(BookFeatures& features);
    void OnReadAloud();
    // Closes the open book (if any) for another one and empties the window; `recordLast`: it
    // becomes the last book, unless it is the manual.
    void CloseForAnother(bool recordLast);
    void LoadSettings();
    void SaveSettings();
    void SaveLastBook();
    void SaveResume();
    // The settings' ten flags: where each lives while the program runs, and its command.
    struct Flag {
        bool Settings::*saved;
        bool& now;
        int command;
    };
    std::array<Flag, 10> Flags();
    void ApplySettings(const Settings& settings);
    Settings CurrentSettings();
    QString DataFile(const char16_t* name) const;

    Platform m_platform;
    PlaybackState m_play;
    BookModel m_model;
    TitleClip m_titleClip;
    Voice m_voice;
    PhraseEngine m_engine;
    AudioControls m_audio;
    Navigation m_navigation;
    Bookmarks m_bookmarks;
    Information m_information;
    MarkOptions m_markOptions;
    BookSearch m_search;
    TextMarker m_marker;
    CommandTable m_commands;
    CommandFeedback m_feedback;
    QHash<int, std::function<void()>> m_handlers;

    QString m_strBookFolder;
    BookMeta m_meta; // the open book's, as its NCC gives them
    bool m_bBookOpen = false;
    bool m_bMenuOpen = false;
    MarkStyle m_markStyle;
    QString m_strSearchTerm;
    unsigned m_nCodePage = 0; // the open book's character set
    bool m_bTextSearchResults = false;
    QString m_strProgramFolder;
    int m_nLangOffset = 0;
    bool m_bSkipLastBookWrite = false;
    bool m_bNoSpeechSaid = false; // that no speech output is there, said once a start
    bool m_bRecorded = false;     // the open book has recordings
    QString m_strDataFolder;
    Settings m_defaults;
};

} // namespace tolvaro
