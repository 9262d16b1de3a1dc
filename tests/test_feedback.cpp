// What a screen reader is told after each command, and how it names the headings.
#include "Printers.h"
#include "Session.h"
#include "res/StringTable.h"

namespace tolvaro {
namespace {

using namespace cmd;

struct FeedbackTest : ::testing::Test, test::Session {
    FeedbackTest() {
        bookwriter::BookSpec book;
        book.title = "Book";
        book.sections = {{1, "One", {{"a", {}}}, {"1"}},
                         {2, "Two", {{"b", {}}}, {"2"}},
                         {1, "Twelve", {{"c", {}}}, {}}};
        test::WriteSilentBook(book, dir.filePath("book"));
        Start();
        OpenFile(dir.filePath("book/ncc.html"));
    }
};

// Each step in turn: the command, run as its key runs it (greyed ones included), and the words
// spoken after it; every step speaks at most once.
TEST_F(FeedbackTest, EveryCommandSaysWhatItDid) {
    const struct {
        int heading; // the heading to go to first; -1: stay
        int command;
        const char* said;
    } steps[] = {
        {-1, kPageNext, "Seite 2."}, // playback has passed page 1
        {-1, kPageNext, "Ende der Liste."},
        {-1, kPagePrevious, "Seite 1."},
        {-1, kPagePrevious, "Anfang der Liste."},
        {-1, kBookmarkNext, "Keine Lesezeichen"},
        {-1, kBookmarkDelete, "Keine Lesezeichen"},
        {0, kBookmarkSet, "Lesezeichen 1 gesetzt: One."},
        {1, kBookmarkSet, "Lesezeichen 2 gesetzt: Two."},
        {-1, kBookmarkNext, "Lesezeichen 1 von 2: One."},
        {-1, kBookmarkNext, "Lesezeichen 2 von 2: Two."},
        {-1, kBookmarkNext, "Ende der Liste."},
        {-1, kBookmarkPrevious, "Lesezeichen 1 von 2: One."},
        {-1, kBookmarkPrevious, "Anfang der Liste."},
        {-1, kBookmarkDelete, "Lesezeichen gelöscht. Lesezeichen 1 von 1: Two."},
        {-1, kSearchNext, "Keine Suchergebnisse"},
        {-1, kRateUp, "Tempo 1,2."},
        {-1, kRateNormal, "Tempo 1,0."},
        {-1, kVolumeDown, "Lautstärke 40."},
        {-1, kPauseContinue, "Pause."},
        {-1, kPauseContinue, "Wiedergabe."},
        {-1, kAutoPlay, "Automatische Wiedergabe aus."},
        {-1, kSkipPageNumber, "Seitenzahlen überspringen an."},
        {-1, kPhraseNext, ""},
        {-1, kLanguageEnglish, ""},
        {-1, kRateDown, "Speed 0.8."},
        {-1, kAutoPlay, "Automatic playback on."},
        {-1, kSkipPageNumber, "Skip page numbers off."},
        {-1, kBookmarkNext, "End of list."},
        {2, kBookmarkSet, "Bookmark 2 set: Twelve."},
    };
    dlg.Commands().SetEnabled(kSkipPageNumber, true); // the book has none to skip
    for (const auto& step : steps) {
        if (step.heading >= 0)
            GoToHeading(step.heading);
        fake.window.said.clear();
        dlg.Commands().Trigger(step.command);
        EXPECT_EQ(fake.window.said.join(u'|'), QString::fromUtf8(step.said)) << step.command;
    }
}

TEST_F(FeedbackTest, SearchResultsAreCounted) {
    fake.dialogs.searchAnswers = {QString("tw")};
    ASSERT_TRUE(dlg.RunCommand(kSearchHeadings));
    for (const char* said :
         {"Ergebnis 1 von 2: Two.", "Ergebnis 2 von 2: Twelve.", "Ende der Liste."}) {
        fake.window.said.clear();
        dlg.Commands().Trigger(kSearchNext);
        EXPECT_EQ(fake.window.said.join(u'|'), QString::fromUtf8(said));
    }
}

// A page gone to by its number is said; one the book does not have is told in its message box.
TEST_F(FeedbackTest, GoToPage) {
    for (const auto& [label, said] : {std::pair{"2", "Seite 2."}, std::pair{"9", ""}}) {
        fake.dialogs.pageAnswer = QString(label);
        fake.window.said.clear();
        ASSERT_TRUE(dlg.RunCommand(kPageGoTo));
        EXPECT_EQ(fake.window.said.join(u'|'), QString::fromUtf8(said)) << label;
    }
}

// A screen reader hears a heading's level with its title, in the program's language.
TEST_F(FeedbackTest, HeadingsAreNamedWithTheirLevel) {
    const HeadingTree& tree = dlg.Model().m_treeTitles;
    const QModelIndex two = tree.Next(tree.FirstRoot());
    EXPECT_EQ(two.data(Qt::AccessibleTextRole).toString(), "Two, Ebene 2");
    EXPECT_EQ(two.data(Qt::DisplayRole).toString(), "Two");
    dlg.RunCommand(kLanguageEnglish);
    EXPECT_EQ(two.data(Qt::AccessibleTextRole).toString(), "Two, level 2");
}

} // namespace
} // namespace tolvaro
