#include "commands/CommandIds.h"
#include "res/StringTable.h"
#include "shell/EndRequests.h"
#include "shell/MainWindow.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"

#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <QWebEngineView>
#include <csignal>

#include "Printers.h"

#include "Soon.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

struct MainWindowTest : ::testing::Test {
    MainWindowTest() {
        window.Start(
            {QStringLiteral(TOLVARO_PROGRAM_DIR), data.path() + "/Ostrila/Tolvaro", "", "de_DE"});
        window.activateWindow();
        QObject::connect(&window.Dlg().Commands(), &CommandTable::Command,
                         [this](int id) { ran.push_back(id); });
    }
    QTemporaryDir data;
    MainWindow window;
    std::vector<int> ran;
};

// The window starts without a book: the lists with their placeholder lines, the start page.
TEST_F(MainWindowTest, StartsWithoutABook) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.BookmarkList()->model()->index(0, 0).data().toString(),
              LoadString(kStrNoBookmarks));
    EXPECT_EQ(window.SearchList()->model()->index(0, 0).data().toString(),
              LoadString(kStrNoSearchResults));
    EXPECT_EQ(window.PlayButton()->text(), "Pause/Fortsetzen");
    EXPECT_FALSE(window.PlayButton()->isEnabled());
    EXPECT_TRUE(window.TextView()->url().toLocalFile().endsWith("documents/html/start_de.html"));
    EXPECT_TRUE(QFile::exists(window.TextView()->url().toLocalFile()));
}

// The menu bar carries the command table's own actions, so captions, keys and states show as
// the table sets them; a caption shows without its key, which the action carries.
TEST_F(MainWindowTest, MenuBarIsTheCommandTable) {
    const CommandTable& commands = window.Dlg().Commands();
    const QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 7);
    int compared = 0;
    commands.ForEach([&](const CommandTable::Node& node) {
        if (node.kind != MenuDef::Kind::Popup)
            return;
        const QList<QAction*> items = node.action->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(node.children.size()));
        for (std::size_t i = 0; i < node.children.size(); ++i, ++compared)
            EXPECT_EQ(items[static_cast<qsizetype>(i)], node.children[i]->action);
    });
    EXPECT_EQ(compared, 79);
    QAction* open = commands.Action(cmd::kOpen);
    EXPECT_EQ(open->text(), QString::fromUtf8("&Öffnen"));
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

// One key at a time into one control: the command it runs. Keys reach the commands from any
// control, the reading text too; a greyed command's key does nothing, nor do Escape and Enter.
TEST_F(MainWindowTest, KeyRouting) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const struct {
        QWidget* to;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int command; // enabled first; 0: none runs
    } cases[] = {
        {window.Tree(), Qt::Key_P, {}, 0}, // greyed
        {window.Tree(), Qt::Key_Space, {}, 0},
        {window.Tree(), Qt::Key_Escape, {}, 0},
        {window.Tree(), Qt::Key_Return, {}, 0},
        {&window, Qt::Key_Escape, {}, 0},
        {window.Tree(), Qt::Key_P, {}, cmd::kPhraseNext},
        {window.BookmarkList(), Qt::Key_P, Qt::ShiftModifier, cmd::kPhrasePrevious},
        {window.SearchList(), Qt::Key_N, {}, cmd::kFocusTree},
        {window.ReadingText(), Qt::Key_N, {}, cmd::kFocusTree},
    };
    for (const auto& c : cases) {
        window.Dlg().Commands().SetEnabled(c.command, true);
        ran.clear();
        c.to->setFocus();
        QTest::keyClick(c.to, c.key, c.modifiers);
        EXPECT_EQ(ran, c.command ? std::vector<int>{c.command} : std::vector<int>{}) << c.key;
    }
    EXPECT_EQ(QApplication::focusWidget(), window.Tree()); // N leaves the text for the headings
    EXPECT_TRUE(window.isVisible());
}

// Alt+L is "Letztes", not the mnemonic of the "&Lesezeichen" menu.
// With no last book it says so in a message box.
TEST_F(MainWindowTest, KeyTableWinsOverMenuMnemonics) {
    QString said;
    QTimer::singleShot(0, [&said] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text();
            box->close();
        }
    });
    QTest::keyClick(window.Tree(), Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(ran, (std::vector<int>{cmd::kLast}));
    EXPECT_EQ(said, LoadString(kStrNccUnreadable));
}

// Alt alone and F10 give the menu bar the keys and take them back; then the letters are the menu
// bar's mnemonics: L opens "&Lesezeichen" and does not turn the volume up.
TEST_F(MainWindowTest, AfterAltTheLettersBelongToTheMenuBar) {
    CommandTable& commands = window.Dlg().Commands();
    commands.SetEnabled(cmd::kVolumeUp, true);
    commands.SetEnabledAt({4}, true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Tree()->setFocus();
    for (const Qt::Key opener : {Qt::Key_Alt, Qt::Key_F10}) { // F10 as Alt; again: back
        QTest::keyClick(window.Tree(), opener);
        ASSERT_EQ(QApplication::focusWidget(), window.menuBar()) << opener;
        QTest::keyClick(window.menuBar(), opener);
        ASSERT_EQ(QApplication::focusWidget(), window.Tree()) << opener;
    }
    QTest::keyClick(window.Tree(), Qt::Key_Alt, Qt::ShiftModifier); // not Alt alone
    EXPECT_EQ(QApplication::focusWidget(), window.Tree());
    QTest::keyClick(window.Tree(), Qt::Key_F10);
    QTest::keyClick(window.menuBar(), Qt::Key_L);
    EXPECT_TRUE(ran.empty());
    ASSERT_SOON((QApplication::activePopupWidget()) == (commands.At({4})->action->menu()), 5000);
    QApplication::activePopupWidget()->close();
}

// Counts the key presses an object receives.
struct KeyCounter : QObject {
    explicit KeyCounter(int& count) : count(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::KeyPress;
        return false;
    }
    int& count;
};

// After Alt alone a key that is no menu's mnemonic does nothing: it runs no command (neither by
// its key nor passed on to the window) and the menu bar keeps the keys; also when the key
// reaches the widget focused before, as the screen reader's bridge delivers keys late.
TEST_F(MainWindowTest, AfterAltOtherKeysDoNothing) {
    CommandTable& commands = window.Dlg().Commands();
    const int ids[] = {cmd::kFromList,    cmd::kPhraseNext, cmd::kBookmarkNext, cmd::kSearchNext,
                       cmd::kWindForward, cmd::kRateUp,     cmd::kGroupNext,    cmd::kVolumeDown};
    for (const int id : ids)
        commands.SetEnabled(id, true);
    QTimer closer; // a command run by mistake must not leave its dialog waiting for ever
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    closer.start(100);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Tree()->setFocus();
    QTest::keyClick(window.Tree(), Qt::Key_Alt);
    ASSERT_EQ(QApplication::focusWidget(), window.menuBar());
    const QKeyCombination keys[] = {Qt::Key_O, Qt::Key_P, Qt::Key_M, Qt::Key_R,
                                    Qt::Key_U, Qt::Key_W, Qt::Key_G, Qt::SHIFT | Qt::Key_L};
    for (QWidget* to :
         {static_cast<QWidget*>(window.menuBar()), static_cast<QWidget*>(window.Tree())}) {
        for (const QKeyCombination key : keys) {
            QTest::keyClick(to, key.key(), key.keyboardModifiers());
            EXPECT_TRUE(ran.empty()) << key.toCombined();
            EXPECT_EQ(QApplication::focusWidget(), window.menuBar()) << key.toCombined();
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << key.toCombined();
        }
    }
    // A modifier handed on late is not sent on to the menu bar: it would come back to the window
    // and be sent again, without end.
    int reached = 0;
    KeyCounter counter(reached);
    window.menuBar()->installEventFilter(&counter);
    QTest::keyPress(window.Tree(), Qt::Key_Shift);
    QTest::keyPress(window.Tree(), Qt::Key_Alt);
    QTest::qWait(50);
    EXPECT_LT(reached, 4);
    window.menuBar()->removeEventFilter(&counter);
    QTest::keyClick(window.Tree(), Qt::Key_L); // a mnemonic, delivered late: its menu opens
    ASSERT_SOON(QApplication::activePopupWidget() == commands.At({4})->action->menu(), 5000);
    QApplication::activePopupWidget()->close();
    EXPECT_TRUE(ran.empty());
    HeadingTree& tree = window.Dlg().Model().m_treeTitles;
    tree.AppendHeading(1, "Eins", 0);
    tree.AppendHeading(1, "Zwei", 1);
    tree.Select(tree.FirstRoot());
    window.Tree()->setFocus();
    QTest::keyClick(window.Tree(), Qt::Key_Alt);
    ASSERT_EQ(QApplication::focusWidget(), window.menuBar());
    QTest::keyClick(window.Tree(), Qt::Key_Down); // for the menu bar, not for the headings
    EXPECT_EQ(tree.Selected(), tree.FirstRoot());
    ASSERT_SOON(QApplication::activePopupWidget() != nullptr, 5000);
    QApplication::activePopupWidget()->close();
    QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    EXPECT_NE(QApplication::focusWidget(), window.menuBar());
    QTest::keyClick(window.Tree(), Qt::Key_P);
    EXPECT_EQ(ran, std::vector<int>{cmd::kPhraseNext}); // out of the menu bar the key is a command
}

// One branch open at a time: the selected heading's ancestors and the heading itself when it has
// sub-headings; every other branch closed again.
TEST_F(MainWindowTest, TheTreeOpensOneBranch) {
    HeadingTree& tree = window.Dlg().Model().m_treeTitles;
    const QModelIndex one = tree.AppendHeading(1, "1", 0), oneOne = tree.AppendHeading(2, "1.1", 1);
    tree.AppendHeading(3, "1.1.1", 2);
    const QModelIndex two = tree.AppendHeading(1, "2", 3), twoOne = tree.AppendHeading(2, "2.1", 4);
    const auto open = [&] {
        QString branch;
        for (const QModelIndex& at : {one, oneOne, two, twoOne})
            branch += window.Tree()->isExpanded(at) ? u'+' : u'-';
        return branch;
    };
    tree.Select(oneOne);
    EXPECT_EQ(open(), "++--");
    tree.Select(twoOne);
    EXPECT_EQ(open(), "--+-");
    tree.Select(one);
    EXPECT_EQ(open(), "+---");
}

TEST_F(MainWindowTest, ComesBackAsItWas) {
    window.showMaximized();
    window.showMinimized();
    window.BringForward();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(MainWindowTest, ClosingGoesThroughExit) {
    window.close();
    EXPECT_EQ(ran, std::vector<int>{}); // closing is not the menu command, but ends the same way
    ASSERT_SOON(!window.isVisible(), 5000);
}

TEST_F(MainWindowTest, AltF4Exits) {
    QTest::keyClick(window.Tree(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(ran, (std::vector<int>{cmd::kExit}));
    ASSERT_SOON(!window.isVisible(), 5000);
}

// SIGTERM, SIGHUP (shutdown, logout) and SIGINT end the program as "Beenden" does, with what it
// saves saved; a dialog that is open is cancelled first.
TEST_F(MainWindowTest, SignalsEndTheProgramAsExitDoes) {
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        QTemporaryDir dir;
        MainWindow w;
        w.Start({QStringLiteral(TOLVARO_PROGRAM_DIR), dir.path(), "", "de_DE"});
        EndRequests ends;
        QObject::connect(&ends, &EndRequests::Requested, &w, &MainWindow::EndOnRequest);
        w.Dlg().RunCommand(cmd::kLanguageEnglish);
        QTimer::singleShot(0, [sig] { ::raise(sig); }); // while the message box is open
        QMessageBox box(QMessageBox::Information, "Title", "Text", QMessageBox::Ok, &w);
        box.exec();
        ASSERT_SOON(!w.isVisible(), 5000);
        const auto settings = datafile::ReadLines(DataFilePath(dir.path(), kSettingsFile));
        ASSERT_TRUE(settings.has_value()) << sig;
        EXPECT_EQ(settings->value(13), "200") << sig;
    }
}

// The start-up option opens the sample book through the loading window.
TEST(MainWindowStart, OpensTheBookNamedOnTheCommandLine) {
    QTemporaryDir data;
    MainWindow window;
    const QString book = QStringLiteral(TOLVARO_PROGRAM_DIR "/documents/sample-book");
    window.Start({QStringLiteral(TOLVARO_PROGRAM_DIR), data.path(), book + "/", "en_US"});
    ASSERT_SOON(window.Dlg().IsBookOpen(), 10000);
    EXPECT_EQ(window.Tree()->model()->rowCount(), 2);
    EXPECT_EQ(window.Tree()->model()->index(0, 0).data().toString(), "A Walk by the River");
    EXPECT_TRUE(window.Dlg().Commands().IsEnabled(cmd::kPhraseNext));
    EXPECT_EQ(window.Tree()->currentIndex().row(), 0);
    // After the title clip the book plays: the cursor moves on at the first clip's end.
    ASSERT_SOON(window.Dlg().Model().m_lstPhrases.SelectionMark() >= 1, 10000);

    // Opening a menu pauses the book; closing the menus lets it play on.
    auto* daisy = qobject_cast<QMenu*>(window.menuBar()->actions().first()->menu());
    ASSERT_NE(daisy, nullptr);
    ASSERT_SOON((window.Player().PlayState()) == (IPlayer::State::Playing), 5000);
    daisy->popup(QPoint(0, 0));
    ASSERT_SOON((window.Player().PlayState()) == (IPlayer::State::Paused), 5000);
    daisy->hide();
    ASSERT_SOON((window.Player().PlayState()) == (IPlayer::State::Playing), 5000);

    // A bookmark line chosen with the mouse jumps there and leaves the focus on the headings.
    ASSERT_TRUE(window.Dlg().RunCommand(cmd::kBookmarkSet));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.BookmarkList()->setFocus();
    const QRect line =
        window.BookmarkList()->visualRect(window.BookmarkList()->model()->index(0, 0));
    QTest::mouseClick(window.BookmarkList()->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(window.Dlg().Model().m_lbBookmarks.CurSel(), 0);
    EXPECT_TRUE(window.Dlg().Commands().IsEnabled(cmd::kBookmarkDelete));
    ASSERT_SOON(QApplication::focusWidget() == window.Tree(), 2000);

    // The menu bar taking the keys after Alt alone pauses the book too, until Escape leaves it.
    window.activateWindow();
    ASSERT_SOON(QApplication::activeWindow() == &window, 5000);
    window.Tree()->setFocus();
    QTest::keyClick(window.Tree(), Qt::Key_Alt);
    ASSERT_EQ(QApplication::focusWidget(), window.menuBar());
    ASSERT_SOON((window.Player().PlayState()) == (IPlayer::State::Paused), 5000);
    // Moving from one menu to the next keeps it paused; leaving the bar lets it play on.
    QTest::keyClick(window.menuBar(), Qt::Key_Down);
    ASSERT_SOON(QApplication::activePopupWidget() == daisy, 5000);
    QTest::keyClick(daisy, Qt::Key_Right);
    EXPECT_EQ(window.Player().PlayState(), IPlayer::State::Paused); // before Qt settles, and after
    ASSERT_SOON(QApplication::activePopupWidget() && QApplication::activePopupWidget() != daisy,
                5000);
    QTest::qWait(100);
    EXPECT_EQ(window.Player().PlayState(), IPlayer::State::Paused);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    ASSERT_SOON((window.Player().PlayState()) == (IPlayer::State::Playing), 5000);
}

// F1 from anywhere opens the manual of the menus' language; its first heading names it, the
// menus follow.
TEST_F(MainWindowTest, F1OpensTheManual) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Tree()->setFocus();
    QTest::keyClick(window.Tree(), Qt::Key_F1);
    ASSERT_SOON(window.Dlg().IsBookOpen(), 10000);
    EXPECT_TRUE(window.Dlg().BookFolder().endsWith("/documents/Manuals/DE/DAISY/"));
    EXPECT_EQ(window.Tree()->model()->index(0, 0).data().toString(), "Tolvaro Handbuch");
    EXPECT_EQ(window.Tree()->model()->index(1, 0).data().toString(), "DAISY");
    EXPECT_EQ(window.Tree()->model()->index(5, 0).data().toString(), "Lesezeichen");
}

TEST_F(MainWindowTest, PlayButtonFollowsItsCommand) {
    window.Dlg().Commands().SetEnabled(cmd::kPauseContinue, true);
    EXPECT_TRUE(window.PlayButton()->isEnabled());
    QTest::mouseClick(window.PlayButton(), Qt::LeftButton);
    EXPECT_EQ(ran, (std::vector<int>{cmd::kPauseContinue}));
    window.Dlg().RunCommand(cmd::kLanguageEnglish);
    EXPECT_EQ(window.PlayButton()->text(), "Pause/Continue");
}

} // namespace
} // namespace tolvaro
