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
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// Runs `act` on the dialog once it is up.
void WhenShown(const std::function<void(QWidget&)>& act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
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

} // namespace
} // namespace tolvaro
