// The search dialog, the wait window and the colour dialog, driven by the keyboard alone.
#include "Printers.h"
#include "platform/IProgress.h"
#include "res/StringTable.h"
#include "shell/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTreeWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// Runs `act` on the dialog once it is up. A dialog the action did not close is closed after a
// while (and the test fails on what it returned), so that a fault cannot hang the suite.
void WhenShown(const std::function<void(QWidget&)>& act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(5000, dialog, [dialog] { dialog->close(); });
        act(*dialog);
    });
}

TEST(Dialogs, SearchTermNeedsTwoCharacters) {
    QWidget owner;
    QtDialogs dialogs(owner);
    for (const int lang : {kLangGerman, kLangEnglish}) {
        bool okBefore = true, okAfterOne = true, okAfterTwo = false;
        WhenShown([&](QWidget& dialog) {
            EXPECT_EQ(dialog.objectName(), "CA_Suche");
            EXPECT_EQ(dialog.windowTitle(), LoadString(kStrSearchCaption + lang));
            EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), LoadString(kStrSearchPrompt + lang));
            QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            QLineEdit* edit = dialog.findChild<QLineEdit*>();
            EXPECT_EQ(dialog.focusWidget(), edit); // where typing goes once the window is active
            okBefore = ok->isEnabled();
            QTest::keyClicks(edit, QStringLiteral("\u00dc"));
            okAfterOne = ok->isEnabled();
            QTest::keyClicks(edit, QStringLiteral("b"));
            okAfterTwo = ok->isEnabled();
            QTest::keyClick(edit, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs.AskSearchTerm(lang), QStringLiteral("\u00dcb"));
        EXPECT_FALSE(okBefore);
        EXPECT_FALSE(okAfterOne);
        EXPECT_TRUE(okAfterTwo);
    }
    WhenShown([](QWidget& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>(), "river");
        QTest::keyClick(dialog.findChild<QLineEdit*>(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.AskSearchTerm(kLangGerman), std::nullopt);
}

// The page number: typed and taken with Enter, or none with Escape.
TEST(Dialogs, PageNumberByKeyboard) {
    QWidget owner;
    QtDialogs dialogs(owner);
    for (const int lang : {kLangGerman, kLangEnglish}) {
        QString caption;
        WhenShown([&](QWidget& dialog) {
            caption = dialog.windowTitle();
            QLineEdit* edit = dialog.findChild<QLineEdit*>();
            EXPECT_EQ(dialog.focusWidget(), edit);
            QTest::keyClicks(edit, "12");
            QTest::keyClick(edit, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs.AskPageNumber(lang), QStringLiteral("12"));
        EXPECT_EQ(caption, LoadString(kStrPageDialogCaption + lang));
    }
    WhenShown([](QWidget& dialog) {
        QTest::keyClick(dialog.findChild<QLineEdit*>(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.AskPageNumber(kLangGerman), std::nullopt);
}

// A message box shows its text and answers the key pressed on its focused button; Escape is
// Ok in an Ok box and Abort where Abort is offered.
TEST(Dialogs, MessageBoxAnswers) {
    QWidget owner;
    QtDialogs dialogs(owner);
    using D = IDialogs;
    const struct {
        D::Buttons buttons;
        QMessageBox::StandardButton focus; // NoButton: the box's own choice
        Qt::Key key;
        D::Result result;
    } cases[] = {
        {D::Buttons::Ok, QMessageBox::NoButton, Qt::Key_Return, D::Result::Ok},
        {D::Buttons::Ok, QMessageBox::NoButton, Qt::Key_Escape, D::Result::Ok},
        {D::Buttons::AbortRetryIgnore, QMessageBox::NoButton, Qt::Key_Escape, D::Result::Abort},
        {D::Buttons::AbortRetryIgnore, QMessageBox::Retry, Qt::Key_Space, D::Result::Retry},
        {D::Buttons::AbortRetryIgnore, QMessageBox::Ignore, Qt::Key_Space, D::Result::Ignore},
        {D::Buttons::AbortRetryIgnore, QMessageBox::Abort, Qt::Key_Space, D::Result::Abort},
    };
    for (const auto& c : cases) {
        QString text;
        WhenShown([&](QWidget& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            ASSERT_NE(box, nullptr);
            text = box->text();
            QWidget* target = box;
            if (c.focus != QMessageBox::NoButton)
                target = box->button(c.focus);
            target->setFocus();
            QTest::keyClick(target, c.key);
        });
        EXPECT_EQ(dialogs.MessageBox("Die Datei fehlt.", "Fehler", D::Icon::Error, c.buttons),
                  c.result)
            << static_cast<int>(c.result);
        EXPECT_EQ(text, "Die Datei fehlt.");
    }
}

// The wait window is up and shows its text while the work runs; Escape asks the work to stop.
TEST(Dialogs, WaitWindow) {
    QWidget owner;
    QtDialogs dialogs(owner);
    QString name, caption;
    EXPECT_TRUE(dialogs.RunWaiting("Suche", [&](IProgress&) {
        QWidget* window = QApplication::activeModalWidget();
        name = window ? window->objectName() : QString();
        caption = window ? window->windowTitle() : QString();
    }));
    EXPECT_EQ(name, "CA_Mitteilung");
    EXPECT_EQ(caption, "Suche");

    IProgress::Stop seen = IProgress::Stop::None;
    EXPECT_FALSE(dialogs.RunWaiting("Suche", [&](IProgress& progress) {
        QCoreApplication::postEvent(QApplication::activeModalWidget(),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; progress.StopRequested() == IProgress::Stop::None && clock.elapsed() < 5000;)
            progress.SetPosition(++i);
        seen = progress.StopRequested();
    }));
    EXPECT_EQ(seen, IProgress::Stop::Cancel);
}

// The colour dialog opens at the colour asked for; Enter takes it, Escape takes none.
TEST(Dialogs, ColourByKeyboard) {
    QWidget owner;
    QtDialogs dialogs(owner);
    WhenShown([](QWidget& dialog) {
        auto* colour = qobject_cast<QColorDialog*>(&dialog);
        ASSERT_NE(colour, nullptr);
        EXPECT_EQ(colour->currentColor().name(), "#ff8000");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.AskColor("#ff8000"), QStringLiteral("#ff8000"));
    WhenShown([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.AskColor("#ffffff"), std::nullopt);
}

// The drive selection: row 0 selected, Enter takes it; Down and Enter the next; Escape none.
// The book list: Enter on line 0 makes a new list and the window stays; Enter on a book returns
// its line.
TEST(Dialogs, DriveSelectionAndBookList) {
    QWidget owner;
    QtDialogs dialogs(owner);
    const std::vector<std::pair<QString, QString>> rows = {{"/home/anna", ""}, {"/media/STICK", "STICK"}};
    const struct {
        std::vector<Qt::Key> keys;
        std::optional<int> chosen;
    } drives[] = {{{Qt::Key_Return}, 0}, {{Qt::Key_Down, Qt::Key_Return}, 1}, {{Qt::Key_Escape}, {}}};
    for (const auto& c : drives) {
        QString caption, headers, buttons;
        WhenShown([&](QWidget& dialog) {
            caption = dialog.windowTitle();
            auto* list = dialog.findChild<QTreeWidget*>();
            headers = list->headerItem()->text(0) + u'|' + list->headerItem()->text(1);
            for (const QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
                buttons += button->text() + u'|';
            for (Qt::Key key : c.keys)
                QTest::keyClick(list, key);
        });
        EXPECT_EQ(dialogs.ChooseDrive(kLangEnglish, rows), c.chosen);
        EXPECT_EQ(caption, "Please select a drive...");
        EXPECT_EQ(headers, "Drive|Drive Name");
        EXPECT_EQ(buttons, "OK|Abbrechen|"); // in either language, as the window always had
    }

    WhenShown([](QWidget& dialog) { // a double-click on the second row chooses it
        auto* list = dialog.findChild<QTreeWidget*>();
        list->setCurrentItem(list->topLevelItem(1));
        Q_EMIT list->itemDoubleClicked(list->topLevelItem(1), 0); // as the view reports it
    });
    EXPECT_EQ(dialogs.ChooseDrive(kLangGerman, rows), 1);

    int rebuilt = 0;
    WhenShown([](QWidget& dialog) {
        auto* list = dialog.findChild<QListWidget*>();
        EXPECT_EQ(list->currentRow(), 0); // only "Liste erstellen?"
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()); // a new list, in the same window
        EXPECT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.ChooseBook(kLangGerman, {"Liste erstellen?"},
                                 [&] {
                                     ++rebuilt;
                                     return QStringList{"Liste erstellen?", "Eins", "Zwei"};
                                 }),
              2);
    EXPECT_EQ(rebuilt, 1);
    WhenShown([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "DAISY suchen...");
        QTest::keyClick(dialog.findChild<QListWidget*>(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.ChooseBook(kLangGerman, {"Liste erstellen?", "Eins"}, [] { return QStringList(); }),
              std::nullopt);
}

} // namespace
} // namespace tolvaro
