// Bookmarks: set, step through, delete, and kept per book in the bookmark file.
#include "Printers.h"
#include "Session.h"
#include "res/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace tolvaro {
namespace {

using namespace cmd;
using namespace Qt::StringLiterals;

// Two books of three headings with two phrases each; the title clip is passed at each open.
struct TwoBooks : test::Session {
    QString a = dir.filePath("A") + "/", b = dir.filePath("B") + "/";

    // Book A's title and identifier are `titleA` when given.
    explicit TwoBooks(const QString& titleA = {}) {
        for (const QString& folder : {a, b}) {
            bookwriter::BookSpec book;
            book.title = book.identifier = folder == a && !titleA.isEmpty() ? titleA : folder;
            for (const char* title : {"One", "Two", "Three"})
                book.sections.push_back({1, title, {{"first", {}}, {"second", {}}}, {}});
            test::WriteSilentBook(book, folder, 2.0);
        }
        Start();
    }
    void Open(const QString& folder) { OpenFile(folder + "ncc.html"); }
    // Goes to a heading's second phrase and sets a bookmark there, at `seconds` into its clip.
    void SetAt(int heading, double seconds) {
        GoToHeading(heading);
        dlg.RunCommand(kPhraseNext);
        fake.player.position = seconds;
        ASSERT_TRUE(dlg.RunCommand(kBookmarkSet));
    }
    QStringList Lines() {
        QStringList lines;
        for (int i = 0; i < dlg.Model().m_lbBookmarks.Count(); ++i)
            lines << dlg.Model().m_lbBookmarks.Line(i);
        return lines;
    }
    QStringList File() const { return DataLines(kBookmarkFile); }
};

struct BookmarkTest : ::testing::Test, TwoBooks {};

// Set replaces the placeholder; the same place three times gives three bookmarks; a bookmark
// set at the end of the media has no position and jumps to the phrase's start.
TEST_F(BookmarkTest, SetAndJump) {
    Open(a);
    EXPECT_EQ(Lines(), QStringList{LoadString(kStrNoBookmarks)});
    EXPECT_TRUE(On(kBookmarkSet));
    EXPECT_FALSE(On(kBookmarkNext));
    SetAt(1, 2.5);
    SetAt(1, 2.5);
    SetAt(1, 2.5);
    EXPECT_EQ(Lines(), (QStringList{"Two", "Two", "Two"}));
    EXPECT_EQ(dlg.Model().m_lstBookmarks.Text(0, 1), "2.500000");
    GoToHeading(2);
    dlg.RunCommand(kPhraseNext);
    fake.player.position = fake.player.duration = 5.0; // played to its end
    ASSERT_TRUE(dlg.RunCommand(kBookmarkSet));
    EXPECT_EQ(dlg.Model().m_lstBookmarks.Text(3, 1), "");
    EXPECT_TRUE(On(kBookmarkNext));
    EXPECT_EQ(File().size(), 40); // saved at once: a crash now loses nothing

    fake.player.duration = 0;
    GoToHeading(0);
    const int focused = fake.window.treeFocused;
    dlg.RunCommand(kBookmarkNext);
    EXPECT_EQ(Heading(), 1);
    EXPECT_EQ(Cursor(), 4); // each heading's own text is its first phrase
    EXPECT_DOUBLE_EQ(fake.player.position, 2.5);
    EXPECT_EQ(fake.window.treeFocused, focused + 1); // the focus goes to the headings
    for (int i = 0; i < 3; ++i)
        dlg.RunCommand(kBookmarkNext);
    EXPECT_EQ(Heading(), 2);
    EXPECT_EQ(Cursor(), 7);
    EXPECT_DOUBLE_EQ(fake.player.position, 0.0); // no position: the phrase from its start
}

// A jump while the player stands at the end of its media plays the phrase from its start: the
// ended player takes no position.
TEST_F(BookmarkTest, AJumpAtTheMediaEnd) {
    Open(a);
    SetAt(1, 1.5);
    GoToHeading(2);
    fake.player.duration = 0.5; // every position is past the end
    dlg.RunCommand(kBookmarkNext);
    EXPECT_EQ(Cursor(), 4);
    EXPECT_NE(fake.player.position, 1.5);
}

// Next and Previous grey themselves at either end of the list.
TEST_F(BookmarkTest, NextAndPreviousGreyAtTheEnds) {
    Open(a);
    for (int h : {0, 1, 2})
        SetAt(h, 1.0);
    const struct {
        int command;
        int line;
        bool previous, next;
    } steps[] = {
        {kBookmarkNext, 0, false, true},     {kBookmarkNext, 1, true, true},
        {kBookmarkNext, 2, true, false},     {kBookmarkPrevious, 1, true, true},
        {kBookmarkPrevious, 0, false, true},
    };
    for (const auto& s : steps) {
        ASSERT_TRUE(dlg.RunCommand(s.command)) << s.line;
        EXPECT_EQ(dlg.Model().m_lbBookmarks.CurSel(), s.line);
        EXPECT_EQ(Heading(), s.line);
        EXPECT_EQ(On(kBookmarkPrevious), s.previous) << s.line;
        EXPECT_EQ(On(kBookmarkNext), s.next) << s.line;
        EXPECT_TRUE(On(kBookmarkDelete));
    }
}

// Deleting: the only one brings the placeholder back; line 2 of five goes to line 1; the
// first of several goes to the one that followed it; Previous and Next grey at the new ends.
TEST_F(BookmarkTest, Delete) {
    const struct {
        const char* name;
        int count, deleted;
        QStringList left;
        int current, heading;
        bool previous, next;
    } cases[] = {
        {"the only one", 1, 0, {"Keine Lesezeichen"}, -1, -1, false, false},
        {"line 2 of five", 5, 2, {"One", "Two", "Two", "Three"}, 1, 1, true, true},
        {"the first of several", 3, 0, {"Two", "Three"}, 0, 1, false, true},
        {"the last of three", 3, 2, {"One", "Two"}, 1, 1, true, false},
    };
    const QStringList titles = {"One", "Two", "Three", "Two", "Three"};
    for (const auto& c : cases) {
        TwoBooks t;
        t.Open(t.a);
        for (int i = 0; i < c.count; ++i)
            t.SetAt(titles.indexOf(titles[i]), 1.0);
        for (int i = 0; i <= c.deleted; ++i)
            t.dlg.RunCommand(kBookmarkNext);
        ASSERT_TRUE(t.dlg.RunCommand(kBookmarkDelete)) << c.name;
        EXPECT_EQ(t.Lines(), c.left) << c.name;
        EXPECT_EQ(t.dlg.Model().m_lstBookmarks.RowCount(), c.count - 1) << c.name;
        EXPECT_EQ(t.dlg.Model().m_lbBookmarks.CurSel(), c.current) << c.name;
        if (c.heading >= 0) {
            EXPECT_EQ(t.Heading(), c.heading) << c.name;
        }
        EXPECT_EQ(t.On(kBookmarkDelete), c.count > 1) << c.name;
        EXPECT_EQ(t.On(kBookmarkPrevious), c.previous) << c.name;
        EXPECT_EQ(t.On(kBookmarkNext), c.next) << c.name;
        EXPECT_EQ(t.File().size(), (c.count - 1) * 10) << c.name;
    }
}

// Each book keeps its own bookmarks: A's survive opening and closing B; they come back, in
// their order, when A is opened again.
TEST_F(BookmarkTest, KeptPerBook) {
    Open(a);
    SetAt(2, 1.0);
    SetAt(0, 1.5);
    Open(b);
    EXPECT_EQ(Lines(), QStringList{LoadString(kStrNoBookmarks)});
    SetAt(1, 0.5);
    Open(a);
    EXPECT_EQ(Lines(), (QStringList{"Three", "One"}));
    EXPECT_TRUE(On(kBookmarkNext));
    dlg.RunCommand(kExit);
    const QStringList file = File();
    ASSERT_EQ(file.size(), 30);
    EXPECT_EQ(file.value(6), "Three"); // the book closed last comes first, in its order
    EXPECT_EQ(file.value(16), "One");
    EXPECT_EQ(file.value(26), "Two");
}

// A book keeps its places whatever its title is written in: the bytes of its NCC beyond ASCII
// (UTF-8 of Japanese, curly quotes, a dash, the euro sign) survive other books' saves.
TEST(BookmarkPlaces, KeptWhateverTheTitleIsWrittenIn) {
    for (const QString& title : {u"ごん狐"_s, u"“Tom” – 5 €"_s, u"Война и мир"_s}) {
        TwoBooks t(title);
        t.Open(t.a);
        t.SetAt(2, 1.0);
        t.Open(t.b); // closing A saves its place
        t.SetAt(1, 0.5);
        t.Open(t.a); // closing B saves the files again
        EXPECT_EQ(t.Lines(), QStringList{"Three"}) << title.toStdString();
        EXPECT_EQ(t.Heading(), 2) << title.toStdString();
        t.Open(t.b);
        EXPECT_EQ(t.Lines(), QStringList{"Two"}) << title.toStdString();
    }
}

// A language switch gives the placeholders the new language; a bookmark set then replaces the
// placeholder (one line, one row), M stays on it, and deleting it brings the new placeholder.
TEST_F(BookmarkTest, AfterALanguageSwitch) {
    Open(a);
    dlg.RunCommand(kLanguageEnglish);
    EXPECT_EQ(Lines(), QStringList{"No bookmarks"});
    EXPECT_EQ(dlg.Model().m_lbSearchHits.Line(0), "No search results");
    SetAt(2, 1.0);
    EXPECT_EQ(Lines(), QStringList{"Three"});
    EXPECT_EQ(dlg.Model().m_lstBookmarks.RowCount(), 1);
    GoToHeading(0);
    ASSERT_TRUE(dlg.RunCommand(kBookmarkNext));
    EXPECT_EQ(dlg.Model().m_lbBookmarks.CurSel(), 0);
    EXPECT_EQ(Heading(), 2);
    dlg.RunCommand(kLanguageGerman);
    EXPECT_EQ(Lines(), QStringList{"Three"}); // a bookmark's line stays
    ASSERT_TRUE(dlg.RunCommand(kBookmarkDelete));
    EXPECT_EQ(Lines(), QStringList{"Keine Lesezeichen"});
    EXPECT_TRUE(File().isEmpty());
}

// Two copies of one book (the same six identity values) share their bookmarks.
TEST_F(BookmarkTest, TheSameIdentitySharesBookmarks) {
    const QString copy = dir.filePath("A-copy") + "/";
    ASSERT_TRUE(QDir().mkpath(copy));
    for (const QString& name : QDir(a).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(a + name, copy + name));
    Open(a);
    SetAt(1, 1.0);
    Open(copy);
    EXPECT_EQ(Lines(), QStringList{"Two"});
}

// A bookmark file that is there but cannot be read whole is never replaced.
TEST_F(BookmarkTest, AnUnreadableFileIsKept) {
    Open(a);
    const QString path = DataFilePath(Data(), kBookmarkFile);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(datafile::kMaxDataFile + 1));
    file.close();
    SetAt(1, 1.0);
    dlg.RunCommand(kExit);
    EXPECT_EQ(QFileInfo(path).size(), datafile::kMaxDataFile + 1);
}

} // namespace
} // namespace tolvaro
