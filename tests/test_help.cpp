// F1: the manual of the current language opens like a book, and is never recorded as the last.
#include "Printers.h"
#include "Session.h"
#include "res/StringTable.h"

#include <QDir>

namespace tolvaro {
namespace {

using namespace cmd;

struct HelpBooks : test::Session {
    const QString prog = dir.filePath("prog");

    static void Write(const QString& folder, const QString& title) {
        bookwriter::BookSpec book;
        book.title = book.identifier = title;
        book.sections = {{1, title, {{"eins", {}}}, {}}};
        test::WriteSilentBook(book, folder);
    }
    HelpBooks() {
        Write(prog + LoadString(kStrManualFolder), "Handbuch");
        Write(prog + LoadString(kStrManualFolder + kLangEnglish), "Manual");
        for (const char* name : {"A", "B", "C"})
            Write(dir.filePath(name) + "/", name);
        Start(prog);
    }
    void Open(const char* name) { OpenFile(dir.filePath(name) + "/ncc.html"); }
    QString LastBook() const { return DataLines(kLastBookFile).value(0); }
    QString Title() { return dlg.Model().m_lstTitles.Text(0, col::kTitle); }
};

struct HelpTest : ::testing::Test, HelpBooks {};

// F1 closes the open book, its place kept, and opens the manual in the language of the menus.
TEST_F(HelpTest, OpensTheManualOfTheLanguage) {
    for (const int lang : {kLangGerman, kLangEnglish}) {
        dlg.RunCommand(lang == kLangGerman ? kLanguageGerman : kLanguageEnglish);
        Open("A");
        ASSERT_TRUE(dlg.RunCommand(kHelp));
        EXPECT_TRUE(dlg.IsBookOpen());
        EXPECT_EQ(dlg.BookFolder(), prog + LoadString(kStrManualFolder + lang));
        EXPECT_EQ(Title(), lang == kLangGerman ? "Handbuch" : "Manual");
        EXPECT_TRUE(dlg.Commands().IsEnabled(kLast));
        const auto resume = datafile::ReadLines(DataFilePath(Data(), kResumeFile));
        EXPECT_TRUE(resume && resume->contains("A")) << lang; // A's place was saved
    }
}

// Open A, open B, F1, exit: the last book is still A. After the manual, the next open does not
// record it either, and the exit after that records the book then open.
TEST_F(HelpTest, TheManualIsNeverTheLastBook) {
    Open("A");
    Open("B");
    EXPECT_EQ(LastBook(), dir.filePath("A") + "/");
    dlg.RunCommand(kHelp);
    Open("C");
    EXPECT_EQ(LastBook(), dir.filePath("A") + "/");
    dlg.RunCommand(kExit);
    EXPECT_EQ(LastBook(), dir.filePath("C") + "/");
}

// Who writes the last book, path by path: each step closes the book open then (A) and names
// what Letztes.dl holds afterwards. The manual is opened first where the step is "after F1".
TEST_F(HelpTest, WhoRecordsTheLastBook) {
    const struct {
        const char* name;
        bool afterHelp;
        int command;
        const char* expected; // "" for nothing written
    } steps[] = {
        {"exit", false, kExit, "A"},
        {"exit after F1", true, kExit, ""},
        {"open", false, kOpen, "A"},
        {"open after F1", true, kOpen, ""},
        {"last book", false, kLast, ""},
        {"help", false, kHelp, ""},
        {"change of volume (Cancel)", false, kChangeVolume, "A"},
    };
    for (const auto& s : steps) {
        HelpBooks t;
        t.Open("A");
        if (s.afterHelp) {
            t.dlg.RunCommand(kHelp);
            t.fake.timers.Advance(10000);
        }
        t.fake.dialogs.bookFile = t.dir.filePath("B") + "/ncc.html";
        if (s.command == kChangeVolume) {
            t.fake.dialogs.bookFile.reset();
            t.dlg.Commands().SetEnabled(kChangeVolume, true);
        }
        t.dlg.Commands().SetEnabled(kLast, true);
        ASSERT_TRUE(t.dlg.RunCommand(s.command)) << s.name;
        const QString expected = *s.expected ? t.dir.filePath(s.expected) + "/" : QString();
        EXPECT_EQ(t.LastBook(), expected) << s.name;
    }
}

// Without the manual the loader says so; no book is open, and "Letztes" opens the book closed
// before the one F1 closed (F1 records nothing).
TEST_F(HelpTest, AMissingManual) {
    Open("B");
    Open("A");
    ASSERT_TRUE(QDir(prog + LoadString(kStrManualFolder)).removeRecursively());
    dlg.RunCommand(kHelp);
    EXPECT_FALSE(dlg.IsBookOpen());
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    EXPECT_EQ(fake.dialogs.shown[0].text, LoadString(kStrNccUnreadable));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kLast));
    dlg.RunCommand(kLast);
    EXPECT_EQ(Title(), "B");
}

} // namespace
} // namespace tolvaro
