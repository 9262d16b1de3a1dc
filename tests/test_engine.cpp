#include "Printers.h"
#include "app/CTolvaroDlg.h"
#include "app/CommandIds.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using namespace cmd;

// A par of a SMIL file: its audio file ("" for none), clip and skip class.
struct Par {
    const char* audio;
    double begin, end;
    const char* skip = "";
};

QByteArray SmilFile(const std::vector<Par>& pars, int heading) {
    QByteArray body;
    int n = 0;
    for (const Par& p : pars) {
        const QByteArray id = QByteArray::number(heading) + "_" + QByteArray::number(n++);
        body += "<par id=\"p" + id + "\"" +
                (*p.skip ? QByteArray(" system-required=\"") + p.skip + "-on\"" : QByteArray()) +
                ">\n<text src=\"t.html#t" + id + "\" id=\"x" + id + "\"/>\n";
        if (*p.audio)
            body += QByteArray("<audio src=\"") + p.audio +
                    "\" clip-begin=\"npt=" + QByteArray::number(p.begin) +
                    "s\" clip-end=\"npt=" + QByteArray::number(p.end) + "s\"/>\n";
        body += "</par>\n";
    }
    return "<smil>\n<head>\n</head>\n<body>\n" + body + "</body>\n</smil>\n";
}

// A book of headings (level, pars) written to disk and opened; the title clip is passed.
struct EngineBook {
    QTemporaryDir dir;
    test::FakePlatform fake;
    CTolvaroDlg dlg{fake.Get()};

    // `partChange`: the heading whose NCC entry carries a rel attribute.
    void Open(const std::vector<std::pair<int, std::vector<Par>>>& headings, bool autoPlay = true,
              int partChange = -1) {
        QByteArray ncc = "<html>\n<head>\n</head>\n<body>\n";
        for (std::size_t h = 0; h < headings.size(); ++h) {
            const QByteArray name = "s" + QByteArray::number(static_cast<int>(h)) + ".smil";
            const QByteArray rel = static_cast<int>(h) == partChange ? " rel=\"next\"" : "";
            ncc += "<h" + QByteArray::number(headings[h].first) + "><a href=\"" + name + "#p\"" +
                   rel + ">H" + QByteArray::number(static_cast<int>(h)) + "</a></h" +
                   QByteArray::number(headings[h].first) + ">\n";
            Write(name, SmilFile(headings[h].second, static_cast<int>(h)));
        }
        Write("ncc.html", ncc + "</body>\n</html>\n");
        dlg.OnInitDialog({"/prog", dir.filePath("data"), "", "de_DE"});
        fake.timers.Advance(100);
        if (dlg.AutoPlay() != autoPlay) {
            dlg.Commands().SetEnabled(kAutoPlay, true);
            dlg.RunCommand(kAutoPlay);
        }
        fake.dialogs.bookFile = dir.filePath("ncc.html");
        ASSERT_TRUE(dlg.RunCommand(kOpen));
        fake.timers.Advance(10000); // the title clip, then the first heading
    }
    void Write(const QByteArray& name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    int Cursor() { return dlg.Model().m_lstPhrases.SelectionMark(); }
    int Heading() { return HeadingTree::ItemData(dlg.Model().m_treeTitles.Selected()); }
    // The clip plays to its end: position at the end, then one poll.
    void PlayToEnd() {
        fake.player.position = dlg.Playback().m_dPhraseEnd;
        fake.timers.Advance(100);
    }
};

struct EngineTest : ::testing::Test, EngineBook {};

TEST_F(EngineTest, PhrasesOfOneFileFollowWithoutStopping) {
    Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}, {"a.mp3", 2, 3}}}});
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(fake.player.url, dir.filePath("a.mp3"));
    EXPECT_EQ(fake.player.state, IPlayer::kPlaying);
    const int loads = fake.player.urls.size();
    PlayToEnd();
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(fake.player.state, IPlayer::kPlaying);
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
        EXPECT_EQ(t.fake.player.state, IPlayer::kStopped) << c.name;
        t.fake.timers.Advance(100);
        EXPECT_EQ(t.fake.player.state, c.autoPlay ? IPlayer::kPlaying : IPlayer::kStopped)
            << c.name;
        EXPECT_EQ(t.Heading(), c.heading) << c.name;
        EXPECT_EQ(t.Cursor(), c.cursor) << c.name;
        EXPECT_EQ(t.fake.timers.IsRunning(CTolvaroDlg::kTimerPoll), c.polling) << c.name;
    }
}

TEST_F(EngineTest, AutoPlayFollowsTheTree) {
    Open({{1, {{"a.mp3", 0, 1}}}, {2, {{"b.mp3", 0, 1}}}, {1, {{"c.mp3", 0, 1}}}});
    PlayToEnd();
    fake.timers.Advance(100);
    EXPECT_EQ(Heading(), 1); // the first child
    PlayToEnd();
    fake.timers.Advance(100);
    EXPECT_EQ(Heading(), 2);
    PlayToEnd();
    fake.timers.Advance(500); // the end of the book: the player rests
    EXPECT_EQ(Heading(), 2);
    EXPECT_EQ(fake.player.state, IPlayer::kStopped);
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

// The first phrase after an entry with a rel attribute belongs to the next part of the book.
TEST_F(EngineTest, APartChangeStopsAutoPlay) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}}}}, true, 1);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kChangeVolume));
    EXPECT_TRUE(dlg.AutoPlay());
    PlayToEnd();
    fake.timers.Advance(100);
    EXPECT_EQ(Cursor(), 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kChangeVolume));
    EXPECT_FALSE(dlg.AutoPlay());
    EXPECT_TRUE(dlg.Commands().IsChecked(kAutoPlay)); // the mark stays
    PlayToEnd();
    EXPECT_FALSE(dlg.Commands().IsEnabled(kChangeVolume));
}

TEST_F(EngineTest, HeadingSelectionPlaysItsFirstPhrase) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}});
    HeadingTree& tree = dlg.Model().m_treeTitles;
    tree.Select(tree.FindByData(1));
    EXPECT_EQ(Cursor(), 1);
    // Same file name as the phrase before: loaded again, never left without media.
    EXPECT_EQ(fake.player.url, dir.filePath("a.mp3"));
    EXPECT_EQ(fake.player.state, IPlayer::kPlaying);
    EXPECT_EQ(dlg.Model().m_lstTitles.SelectionMark(), 1);
}

} // namespace
} // namespace tolvaro
