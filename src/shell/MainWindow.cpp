#include "shell/MainWindow.h"

#include "app/Layout.h"
#include "commands/CommandIds.h"
#include "res/StringTable.h"
#include "shell/AboutDlg.h"
#include "shell/AccessibleNames.h"
#include "shell/Announcer.h"
#include "shell/EspeakSpeech.h"
#include "shell/GstPlayer.h"
#include "shell/KeyRouter.h"
#include "shell/MenuBuilder.h"
#include "shell/QtDialogs.h"
#include "shell/QtDrives.h"
#include "shell/QtTimers.h"
#include "shell/UiLanguage.h"
#include "shell/WebTextView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QWebEngineView>

namespace tolvaro {
namespace {

// A view whose current item, moved while the keys are elsewhere (playback going on, a bookmark
// reached by M), is not announced as the focus: Qt's views tell a screen reader of their current
// item as if they had the focus.
template <class View> class QuietWhenUnfocused : public View {
public:
    using View::View;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        if (this->hasFocus())
            View::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous);
    }
};

// The tree lets the key table have its letters: no type-ahead search.
class HeadingTreeView : public QuietWhenUnfocused<QTreeView> {
public:
    using QuietWhenUnfocused::QuietWhenUnfocused;
    void keyboardSearch(const QString&) override {}
};

QListView* MakeList(QWidget* parent, const char* name) {
    auto* list = new QuietWhenUnfocused<QListView>(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A menu caption without its key text and mnemonic marks, as a button shows it.
QString PlainCaption(const QString& caption) {
    QString text = caption.section(u'\t', 0, 0);
    text.remove(u'&');
    return text;
}

} // namespace

QString MainWindow::Caption() {
    return QStringLiteral("Tolvaro 2.1.1 - © 2024-2026 Ostrila");
}

MainWindow::MainWindow() : m_uiLanguage(std::make_unique<UiLanguage>()) {
    InstallMenuBarNames();
    setWindowTitle(Caption());
    setWindowIcon(ProgramIcon());
    setMinimumSize(800, 600);
    CreateControls();
    m_announcer = std::make_unique<Announcer>(*statusBar());

    m_timers = std::make_unique<QtTimers>();
    m_textView = std::make_unique<WebTextView>(*m_web, *m_reading,
                                               [this](const QString& text) { Announce(text); });
    m_player = std::make_unique<GstPlayer>();
    m_dialogs = std::make_unique<QtDialogs>(*this);
    m_drives = std::make_unique<QtDrives>();
    m_speech = std::make_unique<EspeakSpeech>();
    m_dlg = std::make_unique<CTolvaroDlg>(
        Platform{*m_timers, *m_textView, *m_player, *m_dialogs, *this, *m_drives, *m_speech});

    BindModels();
    setMenuBar(BuildMenuBar(m_dlg->Commands()));
    PauseWhileMenusAreOpen();
    m_keys = std::make_unique<KeyRouter>(m_dlg->Commands(), *this);
    qApp->installEventFilter(m_keys.get());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(m_keys.get());
    // The views hold the controller's models: let them go first.
    delete m_client;
}

void MainWindow::CreateControls() {
    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    m_tree = new HeadingTreeView(m_client);
    m_tree->setObjectName(QStringLiteral("headingTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setDragEnabled(false);
    AnnounceCurrentItemOnFocus(*m_tree); // back in the tree: on the heading being read

    m_web = new QWebEngineView(m_client);
    m_web->setObjectName(QStringLiteral("textView"));
    m_web->setFocusPolicy(Qt::NoFocus); // the keys read in the reading text
    m_reading = new QPlainTextEdit(m_client);
    m_reading->setObjectName(QStringLiteral("readingText"));

    m_playerStrip = new QWidget(m_client);
    m_playerStrip->setObjectName(QStringLiteral("playerStrip"));
    auto* strip = new QHBoxLayout(m_playerStrip);
    strip->setContentsMargins(0, 0, 0, 0);
    m_playButton = new QPushButton(m_playerStrip);
    m_playButton->setObjectName(QStringLiteral("playPause"));
    strip->addWidget(m_playButton);
    strip->addStretch();

    m_bookmarks = MakeList(m_client, "bookmarkList");
    m_searchHits = MakeList(m_client, "searchList");
    AnnounceCurrentItemOnFocus(*m_bookmarks);
    AnnounceCurrentItemOnFocus(*m_searchHits);
}

void MainWindow::BindModels() {
    BookModel& model = m_dlg->Model();
    m_tree->setModel(model.m_treeTitles.Model());
    m_tree->setSelectionModel(model.m_treeTitles.Selection());
    // One branch open at a time, the heading being read in sight: Down from a chapter walks
    // into its sections, and leaving the chapter closes it again.
    connect(model.m_treeTitles.Selection(), &QItemSelectionModel::currentChanged, m_tree,
            [this](const QModelIndex& current) {
                m_tree->collapseAll();
                // Only a heading with sub-headings opens: a screen reader calls the others
                // neither expanded nor collapsed.
                for (const QModelIndex& item : m_dlg->Model().m_treeTitles.OpenBranch())
                    if (m_tree->model()->hasChildren(item))
                        m_tree->expand(item);
                m_tree->scrollTo(current);
            });
    m_bookmarks->setModel(model.m_lbBookmarks.Model());
    m_bookmarks->setSelectionModel(model.m_lbBookmarks.Selection());
    m_searchHits->setModel(model.m_lbSearchHits.Model());
    m_searchHits->setSelectionModel(model.m_lbSearchHits.Selection());

    QAction* pause = m_dlg->Commands().Action(cmd::kPauseContinue);
    connect(pause, &QAction::changed, this, &MainWindow::UpdatePlayButton);
    connect(m_playButton, &QPushButton::clicked, this,
            [this] { m_dlg->RunCommand(cmd::kPauseContinue); });
    UpdatePlayButton();
}

// The book pauses while the menus are in use: a menu open, or the menu bar taking the keys after
// Alt alone; leaving them (not moving from one menu to the next) lets it play on. Entering the
// bar is announced. Looked at once
// Qt has settled each change, when the focus or the open menu has moved.
void MainWindow::PauseWhileMenusAreOpen() {
    const auto follow = [this] {
        QTimer::singleShot(0, this, [this] {
            const bool inMenus = QApplication::activePopupWidget() || menuBar()->hasFocus();
            if (inMenus != m_inMenus) {
                m_inMenus = inMenus;
                m_dlg->OnMenuSelect(!inMenus);
                // Into the bar by Alt or F10: a screen reader names the first menu alone.
                if (inMenus && menuBar()->hasFocus())
                    Announce(LoadString(kNameMenuBar + m_dlg->LangOffset()));
            }
        });
    };
    for (QAction* top : menuBar()->actions()) {
        if (auto* menu = qobject_cast<QMenu*>(top->menu())) {
            connect(menu, &QMenu::aboutToShow, this, follow);
            connect(menu, &QMenu::aboutToHide, this, follow);
        }
    }
    connect(qApp, &QApplication::focusChanged, this, follow);
}

void MainWindow::UpdatePlayButton() {
    const QAction* pause = m_dlg->Commands().Action(cmd::kPauseContinue);
    m_playButton->setText(PlainCaption(pause->text()));
    m_playButton->setEnabled(pause->isEnabled());
}

void MainWindow::Start(const StartupInfo& startup) {
    resize(1024, 768);
    showMaximized();
    m_dlg->OnInitDialog(startup);
}

// In the state it had before it was minimised: a maximised window comes back maximised.
void MainWindow::BringForward() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::LayoutControls() {
    const MainLayout l = tolvaro::LayoutControls(m_client->width(), m_client->height());
    const auto place = [](QWidget* w, const Rect& r) {
        w->setGeometry(r.x, r.y, r.width, r.height);
    };
    place(m_web, l.textView);
    place(m_reading, l.readingText);
    place(m_tree, l.tree);
    place(m_playerStrip, l.player);
    place(m_bookmarks, l.bookmarks);
    place(m_searchHits, l.searchHits);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        LayoutControls();
    return QMainWindow::eventFilter(watched, event);
}

const IPlayer& MainWindow::Player() const {
    return *m_player;
}

void MainWindow::FocusTree() {
    if (m_tree->hasFocus())
        AnnounceCurrentItem(*m_tree);
    m_tree->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ApplyLanguage(int langOffset) {
    const auto name = [langOffset](int id) { return LoadString(id + langOffset); };
    m_tree->setAccessibleName(name(kNameHeadings));
    // The tree's one column header is read out too: it carries the tree's name, not "1".
    m_dlg->Model().m_treeTitles.Model()->setHeaderData(0, Qt::Horizontal, name(kNameHeadings));
    m_reading->setAccessibleName(name(kNameText));
    m_bookmarks->setAccessibleName(name(kNameBookmarks));
    m_searchHits->setAccessibleName(name(kNameSearchResults));
    menuBar()->setAccessibleName(name(kNameMenuBar));
    QAction* help = menuBar()->actions().constLast();
    SetMenuBarItemName(*help, name(kNameHelpMenu));
    help->menu()->setAccessibleName(name(kNameHelpMenu));
    m_uiLanguage->Apply(langOffset == kLangGerman);
}

void MainWindow::SetWaitCursor(bool wait) {
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::EndOnRequest() {
    if (m_ending)
        return;
    for (int guard = 0; guard < 10; ++guard) { // a dialog may open another as it closes
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == this)
            break;
        modal->close();
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::EndDialog() {
    m_ending = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::Announce(const QString& text) {
    m_announcer->Say(text);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    // Closing goes the way of "Beenden", which saves and then ends the window.
    event->ignore();
    m_dlg->OnExit();
}

} // namespace tolvaro
