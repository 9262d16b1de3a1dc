#include "app/CTolvaroDlg.h"
#include "app/StartupOptions.h"
#include "commands/CommandIds.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QTemporaryDir>

#include "Printers.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// --book and /D= name the book, quoted or not; a file manager passes the ncc.html itself.
TEST(StartupOptions, Arguments) {
    const struct {
        QStringList args;
        const char* book;
        bool help, version, error;
    } cases[] = {
        {{"/D=/books/a"}, "/books/a/", false, false, false},
        {{R"(/D="/books/a/")"}, "/books/a/", false, false, false},
        {{"-x", "/D=/my books/a b"}, "/my books/a b/", false, false, false},
        {{R"(/D=""/books/a"")"}, "/books/a/", false, false, false},
        {{R"(/D="")"}, "", false, false, false},
        {{"/D="}, "", false, false, false},
        {{"--other"}, "", false, false, false},
        {{"--book", "/books/b"}, "/books/b/", false, false, false},
        {{"--book=/books/c/"}, "/books/c/", false, false, false},
        {{"--book", "/books/d/ncc.html"}, "/books/d/", false, false, false},
        {{"--book", "/books/e/NCC.HTML"}, "/books/e/", false, false, false},
        {{"--book", "/books/f/Book.OPF"}, "/books/f/", false, false, false},
        {{"--help"}, "", true, false, false},
        {{"--version"}, "", false, true, false},
        {{"--book"}, "", false, false, false}, // a launcher's %f with nothing to pass
        {{"--dump-tables"}, "", false, false, true},
    };
    for (const auto& c : cases) {
        const ArgumentRequest r = ParseArguments(c.args);
        EXPECT_EQ(r.bookFolder, QString::fromUtf8(c.book)) << c.args.join(u' ').toStdString();
        EXPECT_EQ(r.help, c.help);
        EXPECT_EQ(r.version, c.version);
        EXPECT_EQ(!r.error.isEmpty(), c.error);
    }
}

TEST(StartupOptions, DataFolder) {
    EXPECT_EQ(DataFolderFor("/app", "/xdg", "/home/u"), "/app/Ostrila/Tolvaro");
    EXPECT_EQ(DataFolderFor("/app/", "", "/home/u"), "/app/Ostrila/Tolvaro");
    EXPECT_EQ(DataFolderFor("", "/xdg", "/home/u"), "/xdg/Ostrila/Tolvaro");
    EXPECT_EQ(DataFolderFor("", "", "/home/u"), "/home/u/.local/share/Ostrila/Tolvaro");
}

TEST(StartupOptions, ProgramFolderFindsTheDocuments) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("bin"));
    EXPECT_EQ(ProgramFolderFor(dir.path() + "/bin"), dir.path() + "/share/tolvaro");
    ASSERT_TRUE(QDir(dir.path()).mkpath("bin/documents"));
    EXPECT_EQ(ProgramFolderFor(dir.path() + "/bin"), dir.path() + "/bin");
}

struct InitTest : ::testing::Test {
    QTemporaryDir dir;
    test::FakePlatform fake;
    CTolvaroDlg dlg{fake.Get()};
    QString DataFolder() const { return dir.path() + "/deep/Ostrila/Tolvaro"; }
};

TEST_F(InitTest, StartsWithoutABookAndArmsTheStartupTimer) {
    dlg.OnInitDialog({"/prog", DataFolder(), "/books/a/", "de_DE"});
    EXPECT_TRUE(QDir(DataFolder()).exists());
    EXPECT_EQ(dlg.BookFolder(), "/books/a/");
    EXPECT_EQ(fake.textView.navigations.last(), "/prog/documents/html/start_de.html");
    EXPECT_EQ(fake.timers.Interval(timer::kStartup), 100);
    fake.timers.Advance(99);
    EXPECT_TRUE(fake.timers.IsRunning(timer::kStartup));
    fake.timers.Advance(1);
    EXPECT_FALSE(fake.timers.IsRunning(timer::kStartup));
    EXPECT_FALSE(dlg.IsBookOpen());
}

// Without a book the focus goes to the start page's text, where a screen reader reads it; with
// one, to the headings.
TEST_F(InitTest, TheFirstFocus) {
    for (const char* option : {"", "/no/such/book/"}) {
        test::FakePlatform fake;
        CTolvaroDlg dlg{fake.Get()};
        dlg.OnInitDialog({"/prog", DataFolder(), option, "de_DE"});
        fake.timers.Advance(100);
        EXPECT_EQ(fake.textView.focusCalls, *option ? 0 : 1) << option;
    }
}

TEST_F(InitTest, UnwritableDataFolderIsNotReported) {
    dlg.OnInitDialog({"/prog", "/proc/no-such/Ostrila/Tolvaro", "", "de_DE"});
    EXPECT_TRUE(fake.dialogs.shown.empty());
    EXPECT_TRUE(dlg.BookFolder().isEmpty());
}

TEST_F(InitTest, AboutAndFocusCommands) {
    dlg.OnInitDialog({"/prog", DataFolder(), "", "de_DE"});
    dlg.RunCommand(cmd::kAbout);
    EXPECT_EQ(fake.dialogs.aboutShown, 1);
    dlg.Commands().SetEnabled(cmd::kFocusText, true);
    dlg.RunCommand(cmd::kFocusText);
    EXPECT_EQ(fake.textView.focusCalls, 1);
}

} // namespace
} // namespace tolvaro
