// What a screen reader finds in the main window: every control named in the current language,
// with the role it has, and the text view's document with its words.
#include "book/HeadingTree.h"
#include "commands/CommandIds.h"
#include "commands/CommandTable.h"
#include "res/StringTable.h"
#include "shell/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QWebEngineView>

#include "Printers.h"

#include "Soon.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The first interface below `root` (itself included) that `match` accepts.
QAccessibleInterface* Find(QAccessibleInterface* root,
                           const std::function<bool(QAccessibleInterface*)>& match, int depth = 0) {
    if (!root || depth > 40)
        return nullptr;
    if (match(root))
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = Find(root->child(i), match, depth + 1))
            return found;
    }
    return nullptr;
}

struct AccessibilityTest : ::testing::Test {
    AccessibilityTest() {
        window.Start({QStringLiteral(TOLVARO_PROGRAM_DIR), data.path(), "", "de_DE"});
    }
    QTemporaryDir data;
    MainWindow window;
};

TEST_F(AccessibilityTest, ControlsAreNamedInTheCurrentLanguage) {
    QMenuBar* bar = window.menuBar();
    QAction* open = window.Dlg().Commands().Action(cmd::kOpen);
    QMenu* daisy = window.Dlg().Commands().At({0})->action->menu();
    for (const int lang : {kLangGerman, kLangEnglish}) {
        window.Dlg().RunCommand(lang == kLangGerman ? cmd::kLanguageGerman : cmd::kLanguageEnglish);
        const bool de = lang == kLangGerman;
        const struct {
            QAccessibleInterface* iface;
            const char* name;
            QAccessible::Role role;
        } cases[] = {
            {Of(window.Tree()), de ? "Überschriften" : "Headings", QAccessible::Tree},
            {Of(window.Tree())->child(0), de ? "Überschriften" : "Headings",
             QAccessible::ColumnHeader}, // not "1"
            {Of(window.ReadingText()), "Text", QAccessible::EditableText},
            {Of(window.BookmarkList()), de ? "Lesezeichen" : "Bookmarks", QAccessible::List},
            {Of(window.SearchList()), de ? "Suchergebnisse" : "Search results", QAccessible::List},
            {Of(window.PlayButton()), de ? "Pause/Fortsetzen" : "Pause/Continue",
             QAccessible::Button},
            {Of(bar)->child(6), de ? "Hilfe" : "Help", QAccessible::MenuItem},
            {Of(daisy)->child(0), de ? "Öffnen" : "Open", QAccessible::MenuItem},
        };
        for (const auto& c : cases) {
            ASSERT_NE(c.iface, nullptr) << c.name;
            EXPECT_EQ(c.iface->text(QAccessible::Name), QString::fromUtf8(c.name));
            EXPECT_EQ(c.iface->role(), c.role) << c.name;
        }
        // The key once, as the shortcut, not again in the name.
        EXPECT_EQ(Of(open)->text(QAccessible::Accelerator), "Ctrl+O");
    }
    // Greyed, and still there to be found: announced as unavailable.
    QAccessibleInterface* navigation = Of(bar)->child(1);
    EXPECT_TRUE(navigation->state().disabled);
    EXPECT_TRUE(Of(bar)->child(6)->state().hasPopup);
    EXPECT_FALSE(Of(bar)->child(6)->state().disabled);
}

// Before a book is open the greyed menus open on their greyed items, so a new user can find
// every command with the keyboard; choosing a greyed item runs nothing.
TEST_F(AccessibilityTest, GreyedMenusOpenOnTheirGreyedItems) {
    const CommandTable& commands = window.Dlg().Commands();
    QMenu* navigation = commands.At({1})->action->menu();
    QMenu* phrase = commands.At({1, 0})->action->menu();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.Tree()->setFocus();
    QTest::keyClick(window.Tree(), Qt::Key_Alt);
    QMenuBar* bar = window.menuBar();
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->activeAction(), commands.At({1})->action);
    QTest::keyClick(bar, Qt::Key_Down);
    ASSERT_SOON((QApplication::activePopupWidget()) == (navigation), 5000);
    QTest::keyClick(navigation, Qt::Key_Right);
    ASSERT_SOON((QApplication::activePopupWidget()) == (phrase), 5000);
    EXPECT_TRUE(Of(navigation)->child(0)->state().disabled);
    EXPECT_EQ(Of(navigation)->child(0)->text(QAccessible::Name), "Phrase");
    EXPECT_TRUE(Of(phrase)->child(0)->state().disabled);
    bool ran = false;
    QObject::connect(&window.Dlg().Commands(), &CommandTable::Command, [&] { ran = true; });
    QTest::keyClick(phrase, Qt::Key_Return);
    EXPECT_FALSE(ran);
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

// What a screen reader finds beyond the controls' names: the last announcement as a
// notification in the status bar (read out by its text alone), and the headings named with
// their level, open only when they have sub-headings. (The events that tell of them need a
// screen reader's bus; the trials with Orca hear them.)
TEST_F(AccessibilityTest, AnnouncementsAndHeadings) {
    window.Announce("Tempo 1,2.");
    QAccessibleInterface* line = Find(Of(&window), [](QAccessibleInterface* i) {
        return i->role() == QAccessible::Notification;
    });
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(QAccessible::Name), "Tempo 1,2.");
    EXPECT_EQ(line->parent()->role(), QAccessible::StatusBar);

    HeadingTree& tree = window.Dlg().Model().m_treeTitles;
    tree.AppendHeading(1, "Eins", 0);
    tree.Select(tree.AppendHeading(2, "Zwei", 1));
    const auto cell = [this](const char* name) {
        return Find(Of(window.Tree()), [name](QAccessibleInterface* i) {
            return i->role() == QAccessible::TreeItem && i->text(QAccessible::Name) == name;
        });
    };
    ASSERT_NE(cell("Eins, Ebene 1"), nullptr);
    ASSERT_NE(cell("Zwei, Ebene 2"), nullptr);
    EXPECT_TRUE(cell("Eins, Ebene 1")->state().expanded);
    EXPECT_FALSE(cell("Zwei, Ebene 2")->state().expanded);
    EXPECT_FALSE(cell("Zwei, Ebene 2")->state().expandable);
}

// With accessibility on, the start page reaches the screen reader as a document with its words.
TEST_F(AccessibilityTest, TheDocumentIsReadable) {
    QAccessible::setActive(true);
    QAccessibleInterface* heading = nullptr;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            heading = Find(Of(window.TextView()), [](QAccessibleInterface* i) {
                return i->role() == QAccessible::Heading;
            });
            return heading != nullptr;
        },
        15000));
    QAccessible::setActive(false);
    ASSERT_NE(heading, nullptr);
    EXPECT_TRUE(heading->text(QAccessible::Name).contains("Tolvaro"))
        << heading->text(QAccessible::Name).toStdString();
}

} // namespace
} // namespace tolvaro
