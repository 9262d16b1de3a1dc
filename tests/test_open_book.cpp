#include "Printers.h"
#include "Session.h"
#include "formats/TableDump.h"
#include "res/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {
namespace {

using namespace cmd;

// Two small books on disk; the first phrase of book A lasts 3.2 s, of book B 12.5 s.
struct OpenBookTest : ::testing::Test, test::Session {
    QString a = dir.filePath("A") + "/", b = dir.filePath("B") + "/";

    OpenBookTest() {
        Write(a, "Book A", 3.2, true);
        Write(b, "Book B", 12.5, false);
        Start();
    }
    static void Write(const QString& folder, const QString& title, double firstPhrase, bool pages) {
        bookwriter::BookSpec book;
        book.title = title;
        book.identifier = title;
        book.sections = {{1, title, {{"one", {}}, {"two", "footnote"}}, {}},
                         {2, "Second", {{"three", {}}}, {}}};
        if (pages)
            book.sections[0].pagesAtStart = {"1"};
        double next = firstPhrase;
        ASSERT_TRUE(bookwriter::WriteBook(book, folder, [&next](const QString&) {
            const QByteArray wav = bookwriter::SilentWav(next);
            next = 1.0;
            return wav;
        }));
    }
    void Open(const QString& folder) { OpenFile(folder + "ncc.html", false); }
    QStringList LastBook() const { return DataLines(kLastBookFile); }
};

TEST_F(OpenBookTest, OpeningTakesOverTheBook) {
    Open(a);
    EXPECT_TRUE(dlg.IsBookOpen());
    EXPECT_EQ(dlg.BookFolder(), a);
    EXPECT_EQ(dlg.BookIdentity()[2], "Book A");
    EXPECT_EQ(dlg.BookIdentity()[3], "1 of 1");
    EXPECT_EQ(dlg.Model().m_lstTitles.RowCount(), 2);
    EXPECT_EQ(fake.window.treeFocused, 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kPageNext));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kSkipFootnote));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kVolumeUp));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kLast));
    EXPECT_EQ(fake.dialogs.fileDialogTitles, QStringList{LoadString(41)});
    EXPECT_EQ(fake.dialogs.loadingCaptions, QStringList{LoadString(4) + " | " + LoadString(1)});
}

// The title clip plays the file from 0 to the first phrase's end (at most 10 s of it) at normal
// speed, however long that takes on the clock; then the book plays from its first heading at the
// reader's speed.
TEST_F(OpenBookTest, TitleClipPlaysTheBeginningOnce) {
    const struct {
        QString* folder;
        double end;
    } cases[] = {{&a, 3.2}, {&b, 10.0}};
    for (const auto& c : cases) {
        fake.player.position = 7.0; // where the book before was
        Open(*c.folder);
        EXPECT_TRUE(dlg.IsTitleClipPlaying());
        EXPECT_EQ(fake.player.position, 0.0);
        EXPECT_EQ(fake.player.url, *c.folder + "tlv_0001.wav");
        EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
        EXPECT_EQ(fake.player.rate, 1.0);
        fake.player.position = c.end - 0.05;
        fake.timers.Advance(static_cast<int>(c.end * 1000) + 500); // the clock does not end it
        EXPECT_TRUE(dlg.IsTitleClipPlaying());
        const int urls = fake.player.urls.size();
        fake.player.position = c.end;
        fake.timers.Advance(TitleClip::kPollMs);
        EXPECT_FALSE(dlg.IsTitleClipPlaying());
        EXPECT_GT(fake.player.urls.size(), urls); // loaded again for the first phrase
        EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
        EXPECT_EQ(fake.player.rate, dlg.Rate());
        EXPECT_EQ(dlg.Model().m_lstPhrases.SelectionMark(), 0);
        dlg.RunCommand(kRateUp); // the next book's clip is at normal speed all the same
    }
    EXPECT_NEAR(fake.player.rate, 1.4, 1e-9);
}

// A clip whose file is missing is no clip: the book goes on at once. A file that never opens
// holds it up for the clip's length and a little more, not for ever.
TEST_F(OpenBookTest, TitleClipWithoutItsFile) {
    ASSERT_TRUE(QFile::remove(a + "tlv_0001.wav"));
    Open(a);
    EXPECT_FALSE(dlg.IsTitleClipPlaying());
    EXPECT_TRUE(fake.player.urls.filter("tlv_0001").isEmpty()); // nor for its phrases

    Open(b);
    ASSERT_TRUE(dlg.IsTitleClipPlaying());
    fake.player.url.clear(); // the player never opens it
    fake.timers.Advance(12000);
    EXPECT_FALSE(dlg.IsTitleClipPlaying());
}

// A heading chosen in the tree while the clip plays is where reading goes on.
TEST_F(OpenBookTest, AHeadingChosenDuringTheClipWins) {
    Open(a);
    ASSERT_TRUE(dlg.IsTitleClipPlaying());
    HeadingTree& tree = dlg.Model().m_treeTitles;
    tree.Select(tree.Next(tree.FirstRoot()));
    EXPECT_FALSE(dlg.IsTitleClipPlaying());
    const int cursor = dlg.Model().m_lstPhrases.SelectionMark();
    EXPECT_EQ(dlg.Model().m_lstPhrases.Text(cursor, col::kPhraseTreeId), "1");
    fake.timers.Advance(11000);
    EXPECT_EQ(HeadingTree::ItemData(tree.Selected()), 1);
}

TEST_F(OpenBookTest, ACommandEndsTheClipFirst) {
    Open(a);
    ASSERT_TRUE(dlg.IsTitleClipPlaying());
    dlg.RunCommand(kAbout);
    EXPECT_FALSE(dlg.IsTitleClipPlaying());
    EXPECT_EQ(dlg.Model().m_lstPhrases.SelectionMark(), 0);
    EXPECT_EQ(fake.dialogs.aboutShown, 1);
}

// Opening B while A is open records A; "Letztes" reopens A and greys itself.
TEST_F(OpenBookTest, LastBookGoesBack) {
    Open(a);
    Open(b);
    EXPECT_EQ(LastBook(), QStringList{a});
    EXPECT_EQ(dlg.BookFolder(), b);
    ASSERT_TRUE(dlg.RunCommand(kLast));
    EXPECT_EQ(dlg.BookFolder(), a);
    EXPECT_TRUE(dlg.IsBookOpen());
    EXPECT_FALSE(dlg.Commands().IsEnabled(kLast));
    EXPECT_EQ(LastBook(), QStringList{a}); // "Letztes" writes nothing
}

// "Letztes" with no last book (the file empty, as at the first start, or missing) answers as a
// book that cannot be read, in the current language, and greys itself.
TEST_F(OpenBookTest, LastBookWithNoneAnswers) {
    for (const bool missing : {false, true}) {
        if (missing) {
            ASSERT_TRUE(QFile::remove(DataFilePath(Data(), kLastBookFile)));
        }
        dlg.RunCommand(missing ? kLanguageEnglish : kLanguageGerman);
        dlg.Commands().SetEnabled(kLast, true);
        fake.dialogs.shown.clear();
        ASSERT_TRUE(dlg.RunCommand(kLast));
        ASSERT_EQ(fake.dialogs.shown.size(), 1u) << missing;
        EXPECT_EQ(fake.dialogs.shown[0].text, missing
                                                  ? "Could not open ncc.html!"
                                                  : "Die ncc.html konnte nicht geöffnet werden!");
        EXPECT_EQ(fake.dialogs.shown[0].caption, LoadString(kStrReadError + dlg.LangOffset()));
        EXPECT_EQ(fake.dialogs.shown[0].icon, IDialogs::Icon::Error);
        EXPECT_FALSE(dlg.Commands().IsEnabled(kLast));
        EXPECT_FALSE(dlg.IsBookOpen());
    }
}

TEST_F(OpenBookTest, CancelAndFailureLeaveNoBook) {
    Open(a);
    fake.dialogs.bookFile.reset(); // the file dialog is cancelled
    dlg.RunCommand(kOpen);
    EXPECT_FALSE(dlg.IsBookOpen());
    EXPECT_EQ(dlg.Model().m_lstTitles.RowCount(), 0);
    EXPECT_TRUE(fake.textView.navigations.last().endsWith("start_de.html"));

    fake.dialogs.bookFile = dir.filePath("nothing-here/ncc.html");
    dlg.RunCommand(kOpen);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, LoadString(2));
    EXPECT_EQ(fake.dialogs.shown[0].caption, LoadString(3));
    EXPECT_FALSE(dlg.IsBookOpen());

    fake.dialogs.cancelLoading = true; // Escape before loading starts
    fake.dialogs.bookFile = a + "ncc.html";
    dlg.RunCommand(kOpen);
    EXPECT_FALSE(dlg.IsBookOpen());
}

// The folder is the chosen file's folder, whatever the file is called.
TEST_F(OpenBookTest, FolderOfAnyFileName) {
    QFile::copy(a + "ncc.html", a + "NCC-copy.HTML");
    fake.dialogs.bookFile = a + "NCC-copy.HTML";
    dlg.RunCommand(kOpen);
    EXPECT_EQ(dlg.BookFolder(), a);
    EXPECT_TRUE(dlg.IsBookOpen());
}

TEST_F(OpenBookTest, StartupOpensTheNamedBook) {
    test::FakePlatform f;
    CTolvaroDlg d(f.Get());
    d.OnInitDialog({"/prog", dir.filePath("data2"), a, "de_DE"});
    EXPECT_FALSE(d.IsBookOpen());
    f.timers.Advance(100);
    EXPECT_TRUE(d.IsBookOpen());
    EXPECT_EQ(d.BookFolder(), a);
    EXPECT_EQ(d.Model().m_treeTitles.Selected(), d.Model().m_treeTitles.FirstRoot());
}

// A book whose files are named in capitals (as on many CDs) while its links are not opens and
// plays, and its tables hold the names as the links give them.
TEST_F(OpenBookTest, ABookInCapitalsOpens) {
    const QString upper = dir.filePath("UPPER") + "/";
    ASSERT_TRUE(QDir().mkpath(upper));
    for (const QString& name : QDir(a).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(a + name, upper + name.toUpper()));
    std::string original, copied, error;
    ASSERT_EQ(DumpTables(a, original, error), 0);
    ASSERT_EQ(DumpTables(upper, copied, error), 0) << error;
    EXPECT_EQ(copied, original);

    fake.dialogs.bookFile = upper + "NCC.HTML";
    ASSERT_TRUE(dlg.RunCommand(kOpen));
    ASSERT_TRUE(dlg.IsBookOpen());
    fake.timers.Advance(10000); // the title clip, then the first heading
    EXPECT_TRUE(QFileInfo(fake.player.url).isFile()) << fake.player.url.toStdString();
    EXPECT_TRUE(fake.player.url.endsWith(".WAV"));
    EXPECT_TRUE(QFileInfo(fake.textView.navigations.last()).isFile());
}

// Escape while a book loads leaves the window without a book and without an error; closing the
// loading window ends the program as "Beenden" does, saving what it saves.
TEST_F(OpenBookTest, StoppingTheLoad) {
    for (const IProgress::Stop stop : {IProgress::Stop::Cancel, IProgress::Stop::Close}) {
        test::FakePlatform f;
        CTolvaroDlg d(f.Get());
        d.OnInitDialog({"/prog", dir.filePath("data"), "", "de_DE"});
        f.dialogs.progress.stopAt = 1;
        f.dialogs.progress.stop = stop;
        f.dialogs.bookFile = a + "ncc.html";
        d.RunCommand(kOpen);
        EXPECT_FALSE(d.IsBookOpen());
        EXPECT_EQ(d.Model().m_treeTitles.Count(), 0);
        EXPECT_EQ(d.Model().m_lstPhrases.RowCount(), 0);
        EXPECT_TRUE(f.dialogs.shown.empty()); // no "could not be opened"
        EXPECT_EQ(f.window.ended, stop == IProgress::Stop::Close ? 1 : 0);
    }
}

// Data files that are there but cannot be read whole (here: larger than any data file) are
// left exactly as they are by every save: closing a book, opening another, the exit.
TEST_F(OpenBookTest, UnreadableDataFilesAreKept) {
    Open(a);
    const QString data = Data();
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(data).permissions() & others, 0); // made private to the user
    struct Stat {
        QString path;
        qint64 size;
        QDateTime modified;
    };
    std::vector<Stat> before;
    for (const char16_t* name : {kResumeFile, kSettingsFile, kLastBookFile}) {
        QFile file(DataFilePath(data, name));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("other books' records");
        ASSERT_TRUE(file.resize(datafile::kMaxDataFile + 1));
        file.close();
        const QFileInfo info(file.fileName());
        before.push_back({info.filePath(), info.size(), info.lastModified()});
    }
    Open(b);
    dlg.RunCommand(kExit);
    for (const Stat& old : before) {
        const QFileInfo now(old.path);
        EXPECT_EQ(now.size(), old.size) << old.path.toStdString();
        EXPECT_EQ(now.lastModified(), old.modified) << old.path.toStdString();
    }
    EXPECT_EQ(fake.window.ended, 1);
}

// A DAISY 3 book, opened by its package file: it plays, and it goes on where it was left.
// One with neither audio nor text opens with each navPoint as a heading.
TEST(Daisy3Book, OpensPlaysAndKeepsItsPlace) {
    test::Session s;
    const auto write = [&s](const QString& folder, const QByteArray& media) {
        const QByteArray ncx = "<ncx><docTitle><text>D</text></docTitle><navMap>"
                               "<navPoint><navLabel><text>One</text></navLabel><content "
                               "src='s.smil#a'/></navPoint><navPoint><navLabel><text>Two</text>"
                               "</navLabel><content src='s.smil#b'/></navPoint></navMap></ncx>";
        s.Write(folder + "/book.opf",
                "<package unique-identifier='u' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
                "<metadata><dc:Title>Three</dc:Title>"
                "<dc:Identifier id='u'>" +
                    folder.toLatin1() +
                    "</dc:Identifier></metadata>"
                    "<manifest><item id='n' href='nav.ncx' media-type='application/x-dtbncx+xml'/>"
                    "<item id='s' href='s.smil' media-type='application/smil'/></manifest>"
                    "<spine><itemref idref='s'/></spine></package>");
        s.Write(folder + "/nav.ncx", ncx);
        QByteArray pars;
        for (const char* id : {"a", "a2", "b", "b2"})
            pars += QByteArray("<par id='") + id + "'>" + QByteArray(media).replace("ID", id) +
                    "</par>";
        s.Write(folder + "/s.smil", "<smil><body><seq>" + pars + "</seq></body></smil>");
        s.Write(folder + "/a.mp3", "");
    };
    write("three", "<text src='t.xml#ID'/><audio src='a.mp3' clipBegin='0' clipEnd='1'/>");
    write("bare", "");
    s.Start();
    s.OpenFile(s.dir.filePath("three/book.opf"));
    ASSERT_TRUE(s.dlg.IsBookOpen());
    EXPECT_EQ(s.dlg.BookIdentity()[2], "Three");
    EXPECT_EQ(s.fake.textView.navigations.last(), s.dir.filePath("three/t.xml"));
    s.GoToHeading(1);
    s.dlg.RunCommand(kPhraseNext);
    ASSERT_EQ(s.Cursor(), 3);
    s.fake.player.position = 0.5;
    s.dlg.RunCommand(kExit);
    EXPECT_EQ(s.DataLines(kLastBookFile), QStringList{s.dir.filePath("three") + "/"});

    s.OpenFile(s.dir.filePath("bare/book.opf"));
    ASSERT_TRUE(s.dlg.IsBookOpen());
    EXPECT_EQ(s.dlg.Model().m_lstTitles.RowCount(), 2);
    s.GoToHeading(1);
    EXPECT_EQ(s.fake.textView.navigations.last(), s.dir.filePath("bare/nav.ncx"));

    s.OpenFile(s.dir.filePath("three/book.opf"));
    EXPECT_EQ(s.Heading(), 1);
    EXPECT_EQ(s.Cursor(), 3);
    EXPECT_DOUBLE_EQ(s.fake.player.position, 0.5);
}

} // namespace
} // namespace tolvaro
