#include "EngineBook.h"
#include "Printers.h"

#include <QDir>

#include <sys/stat.h>

namespace tolvaro {
namespace {

using namespace cmd;
using test::EngineBook;
using test::Par;
using test::SmilFile;

struct EngineTest : ::testing::Test, EngineBook {};

TEST_F(EngineTest, PhrasesOfOneFileFollowWithoutStopping) {
    Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}, {"a.mp3", 2, 3}}}});
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(fake.player.url, dir.filePath("a.mp3"));
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
    const int loads = fake.player.urls.size();
    PlayToEnd();
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
    EXPECT_EQ(fake.player.urls.size(), loads); // the file stays loaded
    EXPECT_DOUBLE_EQ(fake.player.position, 1.0);
    PlayToEnd();
    EXPECT_EQ(Cursor(), 2);
}

TEST_F(EngineTest, HeadingEnds) {
    const struct {
        const char* name;
        bool autoPlay;
        int heading, cursor;
        bool polling;
    } cases[] = {
        {"auto playback goes on", true, 1, 2, true},
        {"without it the book rests", false, 0, 1, false},
    };
    for (const auto& c : cases) {
        EngineBook t;
        t.Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}, {1, {{"b.mp3", 0, 1}}}}, c.autoPlay);
        t.PlayToEnd();
        t.PlayToEnd(); // the heading's last clip: the player stops
        EXPECT_EQ(t.fake.player.state, IPlayer::State::Stopped) << c.name;
        t.Poll();
        EXPECT_EQ(t.fake.player.state,
                  c.autoPlay ? IPlayer::State::Playing : IPlayer::State::Stopped)
            << c.name;
        EXPECT_EQ(t.Heading(), c.heading) << c.name;
        EXPECT_EQ(t.Cursor(), c.cursor) << c.name;
        EXPECT_EQ(t.fake.timers.IsRunning(timer::kPoll), c.polling) << c.name;
    }
}

TEST_F(EngineTest, AutoPlayFollowsTheTree) {
    Open({{1, {{"a.mp3", 0, 1}}}, {2, {{"b.mp3", 0, 1}}}, {1, {{"c.mp3", 0, 1}}}});
    PlayToEnd();
    Poll();
    EXPECT_EQ(Heading(), 1); // the first child
    PlayToEnd();
    Poll();
    EXPECT_EQ(Heading(), 2);
    PlayToEnd();
    fake.timers.Advance(500); // the end of the book: the player rests
    EXPECT_EQ(Heading(), 2);
    EXPECT_EQ(fake.player.state, IPlayer::State::Stopped);
}

TEST_F(EngineTest, PhraseMovesStayInTheirHeading) {
    Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}, {1, {{"b.mp3", 0, 1}}}});
    dlg.RunCommand(kPhrasePrevious);
    EXPECT_EQ(Cursor(), 0);
    dlg.RunCommand(kPhraseNext);
    EXPECT_EQ(Cursor(), 1);
    dlg.RunCommand(kPhraseNext);
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(Heading(), 0);
    dlg.RunCommand(kPhrasePrevious);
    EXPECT_EQ(Cursor(), 0);
}

// A run of skipped phrases is passed over in the direction of the last move.
TEST_F(EngineTest, SkippedRuns) {
    Open({{1,
           {{"a.mp3", 0, 1},
            {"a.mp3", 1, 2, "footnote"},
            {"a.mp3", 2, 3, "footnote"},
            {"a.mp3", 3, 4},
            {"", 0, 0},
            {"a.mp3", 5, 6}}}});
    dlg.Commands().SetEnabled(kSkipFootnote, true);
    dlg.RunCommand(kSkipFootnote);
    dlg.RunCommand(kPhraseNext);
    EXPECT_EQ(Cursor(), 3);
    dlg.RunCommand(kPhrasePrevious);
    EXPECT_EQ(Cursor(), 0);
    dlg.RunCommand(kPhraseNext);
    dlg.RunCommand(kPhraseNext); // a phrase without audio, followed by one with audio
    EXPECT_EQ(Cursor(), 5);
}

// Each skip command passes over its own class of phrase, forwards and backwards, and no other.
TEST_F(EngineTest, EachSkipCommandSkipsItsOwnClass) {
    Open({{1,
           {{"a.mp3", 0, 1},
            {"a.mp3", 1, 2, "sidebar"},
            {"a.mp3", 2, 3, "prodnote"},
            {"a.mp3", 3, 4, "footnote"},
            {"a.mp3", 4, 5, "pagenumber"},
            {"a.mp3", 5, 6}}}});
    const std::pair<int, int> cases[] = {
        {kSkipSidebar, 1}, {kSkipProdnote, 2}, {kSkipFootnote, 3}, {kSkipPageNumber, 4}};
    for (const auto& [command, skipped] : cases) {
        dlg.RunCommand(command); // on
        std::vector<int> path{Cursor()}, expected;
        for (int i = 0; i < 4; ++i) {
            dlg.RunCommand(kPhraseNext);
            path.push_back(Cursor());
        }
        for (int i = 0; i < 4; ++i) {
            dlg.RunCommand(kPhrasePrevious);
            path.push_back(Cursor());
        }
        for (int row : {0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0}) {
            if (row != skipped)
                expected.push_back(row);
        }
        EXPECT_EQ(path, expected) << command;
        dlg.RunCommand(command); // off again
    }
}

// A damaged audio file never opens. With no text to speak in its place, the book waits for it
// the clip's length and ten seconds more (not while the user has paused), then counts the phrase as
// played: the file's other phrases of that heading pass at once, and the book goes on, into the
// next heading too.
TEST_F(EngineTest, AFileThatNeverOpensIsPassedOver) {
    fake.player.undecodable = {"b.mp3"};
    Open({{1, {{"a.mp3", 0, 1}, {"b.mp3", 0, 1}, {"b.mp3", 1, 2}, {"c.mp3", 0, 1}}},
          {1, {{"b.mp3", 2, 3}, {"d.mp3", 0, 1}}}});
    PlayToEnd();
    Poll();
    ASSERT_EQ(Cursor(), 1);
    fake.timers.Advance(10900);
    EXPECT_EQ(Cursor(), 1);
    fake.timers.Advance(200);
    EXPECT_EQ(Cursor(), 3);
    EXPECT_TRUE(fake.player.url.endsWith("c.mp3"));

    PlayToEnd(); // the heading's end: the next heading tries the file again
    Poll();
    ASSERT_EQ(Cursor(), 4);
    fake.player.state = IPlayer::State::Paused;
    fake.timers.Advance(30000);
    EXPECT_EQ(Cursor(), 4);
    fake.player.state = IPlayer::State::Playing;
    fake.timers.Advance(11100);
    EXPECT_EQ(Cursor(), 5);
    EXPECT_TRUE(fake.player.url.endsWith("d.mp3"));
}

// The first phrase after an entry with a rel attribute belongs to the next part of the book.
TEST_F(EngineTest, APartChangeStopsAutoPlay) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}}}}, true, 1);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kChangeVolume));
    EXPECT_TRUE(dlg.AutoPlay());
    PlayToEnd();
    Poll();
    EXPECT_EQ(Cursor(), 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kChangeVolume));
    EXPECT_FALSE(dlg.AutoPlay());
    EXPECT_TRUE(dlg.Commands().IsChecked(kAutoPlay)); // the mark stays
    PlayToEnd();
    EXPECT_FALSE(dlg.Commands().IsEnabled(kChangeVolume));
}

// Choosing the heading of a part change in the tree reaches its phrase too: "Wechseln" is on.
TEST_F(EngineTest, APartChangeChosenInTheTree) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}}}}, true, 1);
    GoToHeading(1);
    EXPECT_EQ(Cursor(), 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kChangeVolume));
}

TEST_F(EngineTest, HeadingSelectionPlaysItsFirstPhrase) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}});
    HeadingTree& tree = dlg.Model().m_treeTitles;
    tree.Select(tree.FindByData(1));
    EXPECT_EQ(Cursor(), 1);
    // Same file name as the phrase before: loaded again, never left without media.
    EXPECT_EQ(fake.player.url, dir.filePath("a.mp3"));
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
    EXPECT_EQ(dlg.Model().m_lstTitles.SelectionMark(), 1);
}

// Reading goes on where the book was closed; a book never read starts at its first phrase.
TEST_F(EngineTest, ResumesWhereTheBookWasLeft) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"b.mp3", 0, 10}, {"b.mp3", 10, 20}}}});
    EXPECT_EQ(Cursor(), 0);
    GoToHeading(1);
    dlg.RunCommand(kPhraseNext);
    ASSERT_EQ(Cursor(), 2);
    fake.player.position = 13.25;
    fake.dialogs.bookFile = dir.filePath("ncc.html"); // the same book again
    ASSERT_TRUE(dlg.RunCommand(kOpen));
    fake.timers.Advance(10000); // the title clip
    EXPECT_EQ(Heading(), 1);
    EXPECT_EQ(Cursor(), 2);
    EXPECT_DOUBLE_EQ(fake.player.position, 13.25);
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);

    // The heading and phrase rows are read as the C library reads numbers: "1x" is 1.
    const QString file = dir.filePath("data") + "/AResume.dl";
    dlg.RunCommand(kExit);
    QStringList lines = datafile::ReadLines(file).value();
    ASSERT_EQ(lines.size(), 9);
    lines[6] += "x";
    lines[8] += " rows";
    ASSERT_TRUE(datafile::WriteLines(file, lines));
    ASSERT_TRUE(dlg.RunCommand(kOpen));
    fake.timers.Advance(10000);
    EXPECT_EQ(Heading(), 1);
    EXPECT_EQ(Cursor(), 2);
}

// A book left at its heading's end (without automatic playback) replays that heading's last
// phrase when opened again, instead of resting silent past its end.
TEST_F(EngineTest, ResumesAfterAHeadingsEnd) {
    Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 4, 6}}}, {1, {{"b.mp3", 0, 1}}}}, false);
    PlayToEnd();
    PlayToEnd(); // the heading's last clip: the player stops
    Poll();
    ASSERT_EQ(Cursor(), 1);
    fake.dialogs.bookFile = dir.filePath("ncc.html"); // the same book again
    ASSERT_TRUE(dlg.RunCommand(kOpen));
    fake.timers.Advance(10000); // the title clip
    EXPECT_EQ(Cursor(), 1);
    EXPECT_DOUBLE_EQ(fake.player.position, 4.0);
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
}

// Audio that is a pipe or a folder is no audio: the phrase is passed, and the player is never
// given it (opening a pipe would block).
TEST_F(EngineTest, AudioThatIsNoFileIsPassed) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    Open({{1, {{"a.mp3", 0, 1}, {"pipe.mp3", 0, 1}, {"folder.mp3", 0, 1}, {"b.mp3", 0, 1}}}});
    PlayToEnd();
    Poll();
    EXPECT_EQ(Cursor(), 3);
    EXPECT_EQ(fake.player.url, dir.filePath("b.mp3"));
    EXPECT_TRUE(fake.player.urls.filter("pipe").isEmpty());
    EXPECT_TRUE(fake.player.urls.filter("folder").isEmpty());
}

// A book without audio has no title clip: it starts at once.
TEST_F(EngineTest, TextOnlyBookStartsAtOnce) {
    fake.speech.available = false; // nothing to speak it with
    Open({{1, {{"", 0, 0}, {"", 0, 0}}}});
    EXPECT_TRUE(dlg.IsBookOpen());
    EXPECT_EQ(Cursor(), 0); // without audio, automatic playback is off: it rests on the first
    EXPECT_FALSE(dlg.AutoPlay());
    EXPECT_TRUE(fake.textView.navigations.last().endsWith("t.html"));
}

} // namespace
} // namespace tolvaro
