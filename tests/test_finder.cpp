// The book finder: which drives are offered, the walk for books, titles, the per-drive cache, and
// "V&on Liste" from the menu.
#include "Printers.h"
#include "Session.h"
#include "app/CTolvaroDlg.h"
#include "commands/CommandIds.h"
#include "fakes/FakePlatform.h"
#include "finder/BookFinder.h"
#include "finder/BookTitle.h"
#include "finder/BookWalker.h"
#include "finder/Drives.h"
#include "res/StringTable.h"
#include "store/DataFile.h"
#include "store/DefaultFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tolvaro {
namespace {

using namespace cmd;

TEST(Drives, RowsOfTheDriveSelection) {
    const std::vector<MountInfo> mounts = {
        {"/", "/dev/sda2", "ext4", "", true},
        {"/proc", "proc", "proc", "", true},
        {"/sys/fs/cgroup", "cgroup2", "cgroup2", "", true},
        {"/dev", "udev", "devtmpfs", "", true},
        {"/run", "tmpfs", "tmpfs", "", true},
        {"/snap/core/123", "/dev/loop0", "squashfs", "", true},
        {"/media/anna/STICK", "/dev/sdb1", "vfat", "STICK", true},
        {"/media/anna/STICK", "/dev/sdb1", "vfat", "STICK", true}, // mounted twice
        {"/mnt/cd", "/dev/sr0", "iso9660", "Hörbuch", false},      // no medium
        {"/home", "/dev/sda3", "ext4", "", true},
        {"/var/lib/docker/overlay", "overlay", "overlay", "", true},
        {"/mnt/net", "server:/books", "nfs4", "", true},
    };
    QStringList rows;
    for (const DriveRow& row : DriveRows("/home/anna", mounts))
        rows << row.root + u'|' + row.label;
    EXPECT_EQ(rows, (QStringList{"/home/anna|", "/|/dev/sda2", "/media/anna/STICK|STICK",
                                 "/mnt/cd|", "/home|/dev/sda3", "/mnt/net|server:/books"}));
}

// A folder tree of books, written into a temporary folder.
struct Tree {
    QTemporaryDir dir;
    QString Path(const QString& relative) const { return dir.filePath(relative); }
    void Book(const QString& folder, const QByteArray& title, const QByteArray& charset = "utf-8") {
        Write(folder + "/ncc.html",
              "<html>\n<head>\n<meta name=\"ncc:charset\" content=\"" + charset +
                  "\"/>\n</head>\n<body>\n<h1 id=\"h\"><a href=\"s.smil#p\">" + title +
                  "</a></h1>\n</body>\n</html>\n");
    }
    void Write(const QString& file, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(Path(file)).path());
        QFile f(Path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList Walk(const QString& root = "", bool stop = false) {
        BookWalker walker([stop](int, int) { return !stop; });
        QStringList found;
        for (const QByteArray& folder : walker.Walk(Path(root)))
            found << QDir(Path(root)).relativeFilePath(QFile::decodeName(folder));
        EXPECT_EQ(walker.Finished(), !stop && QFileInfo::exists(Path(root)));
        return found;
    }
};

// Books at any depth, with their case; a disc's volumes once each; a folder whose name begins
// another's; a link loop; a link to a book walked already; files that only look like books.
TEST(BookWalker, FindsEveryBookOnce) {
    Tree tree;
    tree.Book("Buecher/Roman1", "Roman");
    tree.Book("a/b/c/d/e/Tief", "Tief");
    tree.Book("books/a", "A");
    tree.Book("books/ab", "AB");
    tree.Book("disc/band1", "Band 1");
    tree.Book("disc/Band2", "Band 2");
    tree.Write("disc/discinfo.html", "<html><body>\n<p><a href=\"./band1/ncc.html\">Band 1</a>"
                                     "</p><p><A HREF='Band2/'>Band 2</A></p>\n"
                                     "<p><a href=\"http://example.org/ncc.html\">Web</a></p>\n"
                                     "</body></html>\n");
    tree.Write("fake/ncc.html.bak", "not a book");
    tree.Write("CAPS/NCC.HTML", "<h1><a href=\"x.smil\">Caps</a></h1>\n");
    tree.Write("three/Book.OPF", "<package/>"); // DAISY 3
    tree.Write("three/notes.opf.txt", "");
    ASSERT_TRUE(QFile::link(tree.Path("a"), tree.Path("a/b/loop")));        // a loop
    ASSERT_TRUE(QFile::link(tree.Path("books/a"), tree.Path("link-to-a"))); // a book again
    EXPECT_EQ(tree.Walk(), (QStringList{"Buecher/Roman1", "CAPS", "a/b/c/d/e/Tief", "books/a",
                                        "books/ab", "disc/band1", "disc/Band2", "three"}));
}

TEST(BookWalker, UnreadableFoldersAndStopping) {
    Tree tree;
    tree.Book("open", "Offen");
    tree.Book("locked/inner", "Zu");
    ASSERT_TRUE(QFile::setPermissions(tree.Path("locked"), QFileDevice::Permissions()));
    const QStringList found = tree.Walk();
    QFile::setPermissions(tree.Path("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0) { // the superuser reads every folder
        EXPECT_EQ(found, QStringList{"open"});
    }

    EXPECT_EQ(tree.Walk("", true), QStringList()); // Escape before the walk began
    EXPECT_EQ(tree.Walk("gone"), QStringList());   // a drive not there: no walk to finish
}

// The walk stays on its drive: a link to ".." or to another folder outside the root is not
// followed, nor a disc's list into one; a link within the root is, once.
TEST(BookWalker, StaysInsideTheRoot) {
    Tree tree;
    tree.Book("home/A", "A");
    tree.Book("home/B", "B");
    tree.Book("outside/C", "C");
    tree.Write("home/disc/discinfo.html", "<a href=\"../../outside/C/ncc.html\">C</a>\n");
    ASSERT_TRUE(QFile::link("..", tree.Path("home/up")));
    ASSERT_TRUE(QFile::link(tree.Path("outside"), tree.Path("home/away")));
    ASSERT_TRUE(QFile::link("A", tree.Path("home/again")));
    EXPECT_EQ(tree.Walk("home"), (QStringList{"A", "B"}));
}

TEST(BookTitle, TitlesAsTheNccGivesThem) {
    Tree tree;
    const struct {
        const char* folder;
        QByteArray ncc;
        std::optional<QString> title;
    } cases[] = {
        {"utf8",
         "<meta name=\"ncc:charset\" content=\"utf-8\"/>\n<h1><a href=\"a\">\xc3\x9c"
         "ber "
         "\xc3\x84rzte</a></h1>\n",
         QStringLiteral("Über Ärzte")},
        {"latin1",
         "<meta name=\"ncc:charset\" content=\"iso-8859-1\"/>\n<h1><a href=\"a\">"
         "\xdc"
         "ber \xc4rzte</a></h1>\n",
         QStringLiteral("Über Ärzte")},
        {"split",
         "<head>\n<title>Nicht dies</title>\n</head>\n<h2 id=\"x\">\n<a href=\"a\">\n"
         "Zwei Zeilen</a>\n</h2>\n",
         QStringLiteral("Zwei Zeilen")},
        {"nolink", "<h1>Ohne Verweis</h1>\n", QString()},
        {"empty", "<h1><a href=\"a\"></a></h1>\n", QString()},
        {"unclosed", "<h1><a href=\"a\">Titel ohne Ende", QString()},
        {"noheading", "<p>Nur Text</p>\n", QString()},
        {"acrosslines", "<h1><a href=\"a\">Quer</a></\nh1>\n", QStringLiteral("Quer")},
        {"oneline",
         "<html><head><title>Nein</title><link href=\"x\"></a></head><body><h1 "
         "id=\"h\"><a href=\"a\">Klein</a></h1></body></html>",
         QStringLiteral("Klein")},
        {"h6", "<h7><a href=\"a\">Nein</a></h7><h6><a href=\"a\">Sechs</a></h6>\n",
         QStringLiteral("Sechs")},
        {"missing", {}, std::nullopt},
        // A heading that never closes, 200,000 lines on: read once (a quadratic join would not
        // finish).
        {"hostile",
         "<h1><a href=\"a\">A</a>\n" + QByteArray("<p>never closed</p>\n").repeated(200'000),
         QStringLiteral("A")},
    };
    for (const auto& c : cases) {
        if (!c.ncc.isNull())
            tree.Write(QString::fromLatin1(c.folder) + "/ncc.html", c.ncc);
        EXPECT_EQ(ReadTitle(tree.Path(QString::fromLatin1(c.folder))), c.title) << c.folder;
    }
    // A DAISY 3 book's title comes from its package file.
    tree.Write("three/x.opf",
               "<package xmlns:dc='d'><dc:Title> Drei\n Titel </dc:Title></package>");
    EXPECT_EQ(ReadTitle(tree.Path("three")), "Drei Titel");
}

// "V&on Liste" end to end: a book open before, the drive chosen, the list made, a book opened.
struct FinderTest : ::testing::Test, test::Session {
    QString data = Data();

    FinderTest() {
        fake.drives.home = Path("home");
        fake.drives.mounts = {{Path("media"), "/dev/sdb1", "vfat", "STICK", true}};
        Start();
    }
    QString Path(const QString& relative) const { return dir.filePath(relative); }
    // A book the player can open: a heading with one phrase.
    void PlayableBook(const QString& folder, const QByteArray& title) {
        Write(folder + "/ncc.html", "<html>\n<head>\n</head>\n<body>\n<h1><a href=\"s.smil#p\">" +
                                        title + "</a></h1>\n</body>\n</html>\n");
        Write(folder + "/s.smil", "<smil>\n<body>\n<par id=\"p\">\n<text src=\"t.html#t\" "
                                  "id=\"x\"/>\n</par>\n</body>\n</smil>\n");
    }
    // Gives a folder a name as the file system spells it (not always UTF-8), until the test
    // ends: Qt cannot name it to remove it.
    void Rename(const QString& folder, const QByteArray& name) {
        const QByteArray from = QFile::encodeName(Path(folder));
        const QByteArray to = QFile::encodeName(dir.path()) + "/" + name;
        ASSERT_EQ(::rename(from.constData(), to.constData()), 0);
        renamed.emplace_back(to, from);
    }
    ~FinderTest() override {
        for (const auto& [now, before] : renamed)
            ::rename(now.constData(), before.constData());
    }
    std::vector<std::pair<QByteArray, QByteArray>> renamed;
    QStringList Cache(const QString& root) {
        return datafile::ReadLines(data + u'/' + BookFinder::CacheName(root))
            .value_or(QStringList{"<none>"});
    }
};

TEST_F(FinderTest, MakeTheListOpenABookAndComeBackToTheCache) {
    PlayableBook("home/Hörbücher/Roman1", "Der Roman");
    PlayableBook("home/Hörbücher/Ohne", "");
    PlayableBook("home/Sachbuch", "Sachbuch");
    PlayableBook("other", "Vorher offen");
    fake.dialogs.bookFile = Path("other/ncc.html");
    ASSERT_TRUE(dlg.RunCommand(kOpen));
    fake.timers.Advance(10000);

    fake.dialogs.driveAnswer = 0; // the home folder
    fake.dialogs.bookAnswers = {0, 2};
    ASSERT_TRUE(dlg.RunCommand(kFromList));
    EXPECT_EQ(fake.dialogs.driveRows, (std::vector<std::pair<QString, QString>>{
                                          {Path("home"), ""}, {Path("media"), "STICK"}}));
    EXPECT_EQ(fake.dialogs.bookLines,
              (QStringList{"Liste erstellen?", "Liste erstellen?|Ohne Titel|Der Roman|Sachbuch"}));
    EXPECT_EQ(Message(), "3 Bücher gefunden.");
    EXPECT_EQ(fake.dialogs.shown.back().caption, "Information");
    EXPECT_EQ(fake.dialogs.shown.back().icon, IDialogs::Icon::Information);
    EXPECT_EQ(fake.dialogs.waitTexts.value(0), "Suche läuft. Bitte warten...");
    EXPECT_EQ(Cache(Path("home")),
              (QStringList{Path("home/Hörbücher/Ohne"), Path("home/Hörbücher/Roman1"),
                           Path("home/Sachbuch")}));
    // The book open before was closed and recorded; the chosen one is open.
    EXPECT_EQ(datafile::ReadLines(DataFilePath(data, kLastBookFile)),
              QStringList{Path("other") + "/"});
    EXPECT_TRUE(dlg.IsBookOpen());
    EXPECT_EQ(dlg.BookFolder(), Path("home/Hörbücher/Roman1") + "/");
    EXPECT_TRUE(dlg.Commands().IsEnabled(kLast));

    // Next time the list comes from the cache, in English; a book gone drops out.
    ASSERT_TRUE(QFile::remove(Path("home/Hörbücher/Roman1/ncc.html")));
    dlg.RunCommand(kLanguageEnglish);
    fake.dialogs.bookLines.clear();
    fake.dialogs.bookAnswers = {2};
    ASSERT_TRUE(dlg.RunCommand(kFromList));
    EXPECT_EQ(fake.dialogs.bookLines, QStringList{"Create a list?|Without title|Sachbuch"});
    EXPECT_EQ(dlg.BookFolder(), Path("home/Sachbuch") + "/");
}

// One book and none, in both languages; a cache that cannot be written keeps the list shown.
TEST_F(FinderTest, CountsAndAnUnwritableCache) {
    PlayableBook("media/Eins", "Eins");
    fake.dialogs.driveAnswer = 1;
    fake.dialogs.bookAnswers = {0};
    dlg.RunCommand(kFromList);
    EXPECT_EQ(Message(), "Ein Buch gefunden.");
    dlg.RunCommand(kLanguageEnglish);
    fake.dialogs.driveAnswer = 0;
    fake.dialogs.bookAnswers = {0};
    dlg.RunCommand(kFromList);
    EXPECT_EQ(Message(), "0 books found.");
    EXPECT_EQ(fake.dialogs.shown.back().caption, "Information");
    EXPECT_EQ(fake.dialogs.shown.back().icon, IDialogs::Icon::Information);
    EXPECT_EQ(fake.dialogs.shown.back().buttons, IDialogs::Buttons::Ok);

    const QString cache = data + u'/' + BookFinder::CacheName(Path("media"));
    ASSERT_TRUE(QFile::remove(cache));
    ASSERT_TRUE(QDir().mkpath(cache)); // a folder in its place: it cannot be written
    fake.dialogs.driveAnswer = 1;
    fake.dialogs.bookLines.clear();
    fake.dialogs.bookAnswers = {0};
    dlg.RunCommand(kFromList);
    EXPECT_EQ(Message(), "One book found.");
    EXPECT_EQ(fake.dialogs.bookLines.value(1), "Create a list?|Eins");
}

// Only a walk that went through the whole drive replaces its list: one stopped by Escape, or
// one whose wait window was closed before it began, keeps the cache and lists its books.
TEST_F(FinderTest, AStoppedWalkKeepsTheList) {
    PlayableBook("home/Eins", "Eins");
    PlayableBook("home/Zwei", "Zwei");
    fake.dialogs.driveAnswer = 0;
    fake.dialogs.bookAnswers = {0};
    dlg.RunCommand(kFromList);
    const QStringList cached = Cache(Path("home"));
    ASSERT_EQ(cached.size(), 2);
    PlayableBook("home/Drei", "Drei");
    for (const bool neverBegan : {true, false}) {
        fake.dialogs.cancelWaiting = neverBegan;
        fake.dialogs.progress.stopAt = 0; // Escape at once
        fake.dialogs.progress.stop = IProgress::Stop::Cancel;
        fake.dialogs.bookLines.clear();
        fake.dialogs.bookAnswers = {0};
        dlg.RunCommand(kFromList);
        EXPECT_EQ(Cache(Path("home")), cached) << neverBegan;
        EXPECT_TRUE(fake.dialogs.bookLines.value(1).startsWith("Liste erstellen?|Eins|Zwei"));
        if (neverBegan) {
            EXPECT_EQ(Message(), "2 Bücher gefunden.");
        }
    }
}

// Each drive has a cache of its own, "/media/a_b" and "/media/a/b" too; a root whose cache had
// a name shared with another takes that cache's books under it. Roots without "_" keep the
// names they had; one too long for a file name gets a short one.
TEST_F(FinderTest, OneCachePerDrive) {
    EXPECT_EQ(BookFinder::CacheName("/"), "Buecher__.dl");
    EXPECT_EQ(BookFinder::CacheName("/media/anna/STICK"), "Buecher__media_anna_STICK.dl");
    EXPECT_NE(BookFinder::CacheName("/media/a_b"), BookFinder::CacheName("/media/a/b"));
    EXPECT_NE(BookFinder::CacheName("/media/a%5Fb"), BookFinder::CacheName("/media/a_b"));
    EXPECT_LE(BookFinder::CacheName("/" + QString(300, u'x')).size(), 100);

    PlayableBook("m/a_b/Eins", "Eins");
    PlayableBook("m/a/b/Zwei", "Zwei");
    const QString shared = data + "/Buecher_" + Path("m/a_b").replace(u'/', u'_') + ".dl";
    ASSERT_TRUE(datafile::WriteLines(shared, {Path("m/a/b/Zwei"), Path("m/a_b/Eins")}));
    fake.drives.mounts = {{Path("m/a_b"), "/dev/sdb1", "vfat", "", true},
                          {Path("m/a/b"), "/dev/sdc1", "vfat", "", true}};
    for (const auto& [drive, book] : {std::pair(1, "m/a_b/Eins"), std::pair(2, "m/a/b/Zwei")}) {
        fake.dialogs.driveAnswer = drive;
        fake.dialogs.bookLines.clear();
        fake.dialogs.bookAnswers = {0}; // listed from the cache, then made anew
        dlg.RunCommand(kFromList);
        const QString listed = "Liste erstellen?|" + QString(book).section(u'/', -1);
        EXPECT_EQ(fake.dialogs.bookLines, QStringList({listed, listed})) << drive;
        EXPECT_EQ(Cache(QFileInfo(Path(book)).path()), QStringList{Path(book)});
    }
}

// Folder names are bytes: a book in a folder whose name is not UTF-8, or holds a line end, is
// listed, opens, and is listed again from the cache.
TEST_F(FinderTest, EveryFolderNameIsListed) {
    PlayableBook("home/latin1", "Latin-1");
    PlayableBook("home/lines", "Zeilen");
    Rename("home/latin1", "home/B\374cher"); // "Bücher" in Latin-1
    Rename("home/lines", "home/eine\nZeile");
    fake.dialogs.driveAnswer = 0;
    fake.dialogs.bookAnswers = {0, 1};
    ASSERT_TRUE(dlg.RunCommand(kFromList));
    EXPECT_EQ(fake.dialogs.bookLines.value(1), "Liste erstellen?|Latin-1|Zeilen");
    EXPECT_TRUE(dlg.IsBookOpen());
    EXPECT_EQ(dlg.Model().m_lstTitles.Text(0, col::kTitle), "Latin-1");
    fake.dialogs.bookLines.clear();
    fake.dialogs.bookAnswers = {2};
    ASSERT_TRUE(dlg.RunCommand(kFromList));
    EXPECT_EQ(fake.dialogs.bookLines, QStringList{"Liste erstellen?|Latin-1|Zeilen"});
    EXPECT_EQ(dlg.Model().m_lstTitles.Text(0, col::kTitle), "Zeilen");
}

// Escape in the drive selection or the list, or a line the list does not have: no book, the one
// open before stays closed, and the focus goes to the start page's text.
TEST_F(FinderTest, CancelLeavesNoBook) {
    PlayableBook("home/Buch", "Buch");
    const struct {
        std::optional<int> drive, line;
    } cases[] = {{std::nullopt, std::nullopt}, {0, std::nullopt}, {0, 9}};
    for (const auto& c : cases) {
        const bool atDrive = !c.drive;
        fake.dialogs.bookFile = Path("home/Buch/ncc.html");
        ASSERT_TRUE(dlg.RunCommand(kOpen));
        fake.timers.Advance(10000);
        ASSERT_TRUE(dlg.IsBookOpen());
        fake.dialogs.driveAnswer = c.drive;
        fake.dialogs.bookAnswers = {c.line};
        const int focused = fake.textView.focusCalls;
        dlg.RunCommand(kFromList);
        EXPECT_FALSE(dlg.IsBookOpen()) << atDrive;
        EXPECT_EQ(fake.textView.focusCalls, focused + 1);
        EXPECT_EQ(datafile::ReadLines(DataFilePath(data, kLastBookFile)),
                  QStringList{Path("home/Buch") + "/"});
    }
}

} // namespace
} // namespace tolvaro
