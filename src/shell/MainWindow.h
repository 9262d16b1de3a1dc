#pragma once

#include "app/CTolvaroDlg.h"
#include "platform/IMainWindow.h"
#include "platform/IPlayer.h"

#include <QMainWindow>

#include <memory>

class QListView;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class QWebEngineView;

namespace tolvaro {

class Announcer;
class KeyRouter;
class GstPlayer;
class QtDialogs;
class QtDrives;
class EspeakSpeech;
class QtTimers;
class UiLanguage;
class WebTextView;

// The main window: heading tree, text view, player strip and the two lists, laid out by
// LayoutControls, with the menu bar built from the command table. It owns the controller and the
// platform adapters the controller works through.
class MainWindow : public QMainWindow, public IMainWindow {
public:
    static QString Caption();

    MainWindow();
    ~MainWindow() override;

    // Shows the window and runs the controller's start-up.
    void Start(const StartupInfo& startup);
    // Brings the window to the front, restoring it when minimised.
    void BringForward();
    // Ends the program as "Beenden" does, asked from outside (a signal, the session's end): open
    // dialogs are cancelled first, so that whatever they were asked for finishes.
    void EndOnRequest();

    CTolvaroDlg& Dlg() { return *m_dlg; }
    const IPlayer& Player() const;
    QTreeView* Tree() const { return m_tree; }
    QWebEngineView* TextView() const { return m_web; }
    QPlainTextEdit* ReadingText() const { return m_reading; }
    QListView* BookmarkList() const { return m_bookmarks; }
    QListView* SearchList() const { return m_searchHits; }
    QPushButton* PlayButton() const { return m_playButton; }

    void FocusTree() override;
    void ApplyLanguage(int langOffset) override;
    void SetWaitCursor(bool wait) override;
    void EndDialog() override;
    void Announce(const QString& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void BindModels();
    void LayoutControls();
    void UpdatePlayButton();
    void PauseWhileMenusAreOpen();

    QWidget* m_client = nullptr;
    QTreeView* m_tree = nullptr;
    QWebEngineView* m_web = nullptr;
    QPlainTextEdit* m_reading = nullptr;
    QWidget* m_playerStrip = nullptr;
    QPushButton* m_playButton = nullptr;
    QListView* m_bookmarks = nullptr;
    QListView* m_searchHits = nullptr;

    std::unique_ptr<QtTimers> m_timers;
    std::unique_ptr<WebTextView> m_textView;
    std::unique_ptr<GstPlayer> m_player;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<QtDrives> m_drives;
    std::unique_ptr<EspeakSpeech> m_speech;
    std::unique_ptr<CTolvaroDlg> m_dlg;
    std::unique_ptr<KeyRouter> m_keys;
    std::unique_ptr<UiLanguage> m_uiLanguage;
    std::unique_ptr<Announcer> m_announcer;
    bool m_ending = false;
    bool m_inMenus = false; // a menu is open, or the menu bar has the keys
};

} // namespace tolvaro
