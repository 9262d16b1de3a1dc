// Phrases with text and no recording are spoken: the synthesizer renders the phrase's text, and
// the player plays it as it plays a clip.
#include "EngineBook.h"
#include "Printers.h"
#include "res/StringTable.h"
#include "store/Settings.h"

namespace tolvaro {
namespace {

using namespace cmd;

// A book whose text document holds the phrases' text, in German.
struct SpokenBook : test::EngineBook {
    SpokenBook() {
        nccHead = "<meta name=\"dc:language\" content=\"de\" />\n";
        Write("t.html", "<html><body><h1 id=\"t0_0\">Eins</h1><p id=\"t0_1\">Zwei <b>drei</b>"
                        "</p><p id=\"t1_0\">Vier</p><p id=\"t1_1\">F&uuml;nf</p></body></html>");
    }
    QString Sounding() { return QFileInfo(fake.player.url).fileName(); }
};
struct VoiceTest : ::testing::Test, SpokenBook {};

const std::vector<std::pair<int, std::vector<test::Par>>> kTextOnly = {
    {1, {{"", 0, 0}, {"", 0, 0}}}, {1, {{"", 0, 0}, {"", 0, 0}}}};

// A text-only book plays from its first heading on by itself, each phrase rendered once, the
// next while the one before sounds, in the book's language; only the files near the cursor stay.
TEST_F(VoiceTest, ATextOnlyBookPlaysByVoice) {
    Open(kTextOnly);
    EXPECT_TRUE(dlg.AutoPlay());
    EXPECT_TRUE(On(kVolumeUp));
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(Sounding(), "0.wav");
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
    EXPECT_DOUBLE_EQ(dlg.Playback().m_dPhraseEnd, 0.15); // four characters, less the tail
    EXPECT_EQ(fake.speech.spoken, (QStringList{"Eins", "Zwei drei"}));
    const QString folder = QFileInfo(fake.player.url).path();
    const struct {
        int heading, cursor;
        const char* file;
        int rendered; // the next heading's first phrase, too, ahead
    } steps[] = {{0, 1, "1.wav", 3}, {1, 2, "2.wav", 4}, {1, 3, "3.wav", 4}};
    for (const auto& s : steps) {
        PlayToEnd();
        if (s.heading != Heading())
            Poll(); // the heading's end: the player stopped
        EXPECT_EQ(Heading(), s.heading) << s.file;
        EXPECT_EQ(Cursor(), s.cursor) << s.file;
        EXPECT_EQ(Sounding(), s.file);
        EXPECT_EQ(fake.player.state, IPlayer::State::Playing) << s.file;
        EXPECT_EQ(fake.speech.spoken.size(), s.rendered) << s.file;
    }
    EXPECT_EQ(fake.speech.spoken, (QStringList{"Eins", "Zwei drei", "Vier", "F\u00fcnf"}));
    EXPECT_EQ(fake.speech.languages, QStringList(4, "de"));
    EXPECT_FALSE(QFile::exists(folder + "/0.wav")); // far behind the cursor
    EXPECT_TRUE(QFile::exists(folder + "/2.wav") && QFile::exists(folder + "/3.wav"));
}

// Without a synthesizer, or with reading aloud turned off, a text-only book rests silent on its
// first phrase, Audio menu grey; that there is no speech output is said once a start.
TEST(VoiceOff, TheBookIsSilent) {
    for (const bool available : {false, true}) {
        SpokenBook t;
        t.fake.speech.available = available;
        Settings settings = DefaultSettings("de_DE");
        settings.readAloud = !available; // off where it could be had
        ASSERT_TRUE(QDir().mkpath(t.Data()) &&
                    datafile::WriteLines(t.File(kSettingsFile), SettingsToLines(settings)));
        for (int open = 0; open < 2; ++open) {
            t.Open(kTextOnly);
            EXPECT_FALSE(t.dlg.AutoPlay()) << available;
            EXPECT_FALSE(t.On(kVolumeUp)) << available;
            EXPECT_EQ(t.Cursor(), 0) << available;
            EXPECT_TRUE(t.fake.player.url.isEmpty()) << available;
            EXPECT_TRUE(t.fake.speech.spoken.isEmpty()) << available;
        }
        EXPECT_EQ(t.fake.dialogs.shown.size(), available ? 0u : 1u);
        EXPECT_EQ(t.Message(), available ? "" : LoadString(kStrNoSpeech)) << available;
    }
}

// In a recorded book, a phrase whose recording is missing, or that the player cannot play, is
// spoken in its place; a recording that plays is never spoken.
TEST(VoiceRecorded, AMissingOrDamagedRecordingIsSpoken) {
    for (const bool damaged : {false, true}) {
        SpokenBook t;
        t.Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"gone.mp3", 5, 6}, {"b.mp3", 0, 1}}}});
        EXPECT_TRUE(t.fake.speech.spoken.isEmpty());
        if (damaged)
            t.fake.player.undecodable = {"gone.mp3"};
        else
            ASSERT_TRUE(QFile::remove(t.dir.filePath("gone.mp3")));
        t.PlayToEnd();
        t.Poll();
        t.Poll();
        EXPECT_EQ(t.Cursor(), 1) << damaged;
        EXPECT_EQ(t.Sounding(), "1.wav") << damaged;
        EXPECT_EQ(t.fake.speech.spoken, QStringList{"Vier"}) << damaged;
        t.PlayToEnd();
        t.Poll();
        EXPECT_EQ(t.Cursor(), 2) << damaged;
        EXPECT_EQ(t.Sounding(), "b.mp3") << damaged;
        EXPECT_EQ(t.fake.speech.spoken.size(), 1) << damaged;
        // Kept as its recording's start; spoken again from its own start.
        t.dlg.RunCommand(kPhrasePrevious);
        EXPECT_EQ(t.Sounding(), "1.wav") << damaged;
        t.dlg.RunCommand(kExit);
        t.OpenFile(t.dir.filePath("ncc.html"));
        t.Poll();
        EXPECT_EQ(t.Cursor(), 1) << damaged;
        EXPECT_EQ(t.Sounding(), "1.wav") << damaged;
        EXPECT_EQ(t.fake.player.position, 0.0) << damaged;
    }
}

// Speech the player cannot play either is waited for as a damaged recording is, then passed.
TEST_F(VoiceTest, UnplayableSpeechIsPassedOver) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"gone.mp3", 0, 1}, {"b.mp3", 0, 1}}}});
    fake.player.undecodable = {"gone.mp3", "1.wav"};
    PlayToEnd();
    Poll();
    fake.timers.Advance(12000);
    EXPECT_EQ(Cursor(), 2);
    EXPECT_EQ(Sounding(), "b.mp3");
}

// The book's language chooses the voice; a book without one is read in the program's language.
TEST(VoiceLanguage, TheBooksOrElseTheProgramsLanguage) {
    for (const bool stated : {true, false}) {
        SpokenBook t;
        if (!stated)
            t.nccHead.clear();
        t.Open(kTextOnly);
        t.dlg.RunCommand(kLanguageEnglish);
        t.OpenFile(t.dir.filePath("ncc.html"));
        EXPECT_EQ(t.fake.speech.languages.first(), "de");
        EXPECT_EQ(t.fake.speech.languages.last(), stated ? "de" : "en");
    }
}

// A book opened again speaks its text as it is now: nothing rendered for the last opening stays.
TEST_F(VoiceTest, AnotherOpeningSpeaksAfresh) {
    Open(kTextOnly);
    Write("t.html", "<html><body><h1 id=\"t0_0\">Uno</h1></body></html>");
    OpenFile(dir.filePath("ncc.html"));
    EXPECT_EQ(fake.speech.spoken.last(), "Uno");
    EXPECT_EQ(Sounding(), "0.wav");
}

// In spoken text U and Shift+U step by phrase; volume and speed go to the player as for clips.
TEST_F(VoiceTest, ControlsActOnSpeech) {
    Open(kTextOnly);
    dlg.RunCommand(kWindForward);
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(Sounding(), "1.wav");
    dlg.RunCommand(kWindBackward);
    EXPECT_EQ(Cursor(), 0);
    dlg.RunCommand(kRateUp);
    dlg.RunCommand(kVolumeDown);
    EXPECT_GT(fake.player.rate, 1.0);
    EXPECT_LT(fake.player.volume, 50);
    dlg.RunCommand(kPauseContinue);
    EXPECT_EQ(fake.player.state, IPlayer::State::Paused);
    EXPECT_EQ(Sounding(), "0.wav"); // held within the phrase
}

// Reading aloud turned off in a text-only book leaves it resting where it is; turned on again,
// the next phrase is spoken.
TEST_F(VoiceTest, TurningReadingAloudOffRests) {
    Open(kTextOnly);
    ASSERT_TRUE(dlg.RunCommand(kReadAloud));
    EXPECT_FALSE(dlg.AutoPlay());
    EXPECT_FALSE(dlg.Commands().IsChecked(kAutoPlay));
    EXPECT_EQ(fake.player.state, IPlayer::State::Stopped);
    fake.timers.Advance(1000);
    EXPECT_EQ(Cursor(), 0); // the stopped phrase does not move the book on
    dlg.RunCommand(kPhraseNext);
    fake.timers.Advance(1000);
    EXPECT_EQ(Cursor(), 1); // not run on to the heading's end
    ASSERT_TRUE(dlg.RunCommand(kReadAloud));
    dlg.RunCommand(kPhrasePrevious);
    EXPECT_EQ(Sounding(), "0.wav");
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
}

// Continuing a stopped spoken phrase plays it from its own start, not from where the missing
// recording's clip began.
TEST_F(VoiceTest, ContinuingStoppedSpeechStartsThePhrase) {
    Open({{1, {{"a.mp3", 0, 1}}}, {1, {{"gone.mp3", 7, 8}}}});
    ASSERT_TRUE(QFile::remove(dir.filePath("gone.mp3")));
    GoToHeading(1);
    ASSERT_EQ(Sounding(), "1.wav");
    fake.player.state = IPlayer::State::Stopped;
    fake.player.position = 3;
    dlg.RunCommand(kPauseContinue);
    EXPECT_EQ(fake.player.position, 0.0);
    EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
}

// A place in spoken text is kept as the phrase's start: speech rendered again may take
// another time.
TEST_F(VoiceTest, PlacesInSpokenTextAreThePhrase) {
    Open(kTextOnly);
    PlayToEnd();
    fake.player.position = 0.1;
    ASSERT_TRUE(dlg.RunCommand(kBookmarkSet));
    EXPECT_EQ(dlg.Model().m_lstBookmarks.Text(0, col::kBmTime), "0.000000");
    dlg.RunCommand(kExit);
    OpenFile(dir.filePath("ncc.html"));
    EXPECT_EQ(Cursor(), 1);
    EXPECT_EQ(fake.player.position, 0.0);
    EXPECT_EQ(Sounding(), "1.wav");
}

} // namespace
} // namespace tolvaro
