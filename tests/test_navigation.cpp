#include "EngineBook.h"
#include "Printers.h"
#include "res/StringTable.h"

namespace tolvaro {
namespace {

using namespace cmd;

// Three pages: 1 at the first heading's first phrase, 2 and 2 (a label twice) in the second.
struct NavigationTest : ::testing::Test, test::EngineBook {
    NavigationTest() {
        Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}},
              {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}, {"b.mp3", 2, 3}}}},
             true, -1,
             "<span class=\"page-normal\"><a href=\"s0.smil#p0_0\">1</a></span>\n"
             "<span class=\"page-normal\"><a href=\"s1.smil#x1_1\">2</a></span>\n"
             "<span class=\"page-normal\"><a href=\"s1.smil#p1_2\">2</a></span>\n");
    }
    int Page() { return dlg.Model().m_lstPages.SelectionMark(); }
};

// A link in the text to a phrase of the book (by its text or par id) selects the phrase's heading
// and plays the phrase from its start; any other link is left to the view.
TEST_F(NavigationTest, LinksInTheTextGoToTheirPhrase) {
    const struct {
        const char* url;
        bool taken;
        int heading, cursor;
        double position;
    } cases[] = {
        {"https://example.org/page.html", false, 0, 0, 99},
        {"t.html#x1_0", false, 0, 0, 99},
        {"t.html#t1_1", false, 0, 0, 99}, // an HTML link to a phrase's element: the view's
        {"file:///book/s1.smil#x1_1", true, 1, 3, 1.0},
        {"s0.smil#p0_1", true, 0, 1, 1.0},
    };
    for (const auto& c : cases) {
        fake.player.position = 99;
        EXPECT_EQ(fake.textView.onNavigation(c.url), c.taken) << c.url;
        EXPECT_EQ(Heading(), c.heading) << c.url;
        EXPECT_EQ(Cursor(), c.cursor) << c.url;
        EXPECT_EQ(fake.player.position, c.position) << c.url;
    }
}

// In an XML document a link to the element a phrase shows (a note reference) plays that phrase;
// one to another element or another document is left to the view.
TEST(XmlLinks, GoToThePhraseShowingTheirTarget) {
    test::EngineBook book;
    book.textDocument = "book.xml";
    book.Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}, {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}}}});
    const struct {
        const char* url;
        bool taken;
        int heading, cursor;
    } cases[] = {
        {"tolvaro-book://book/x/book.xml#t9", false, 0, 0},
        {"tolvaro-book://book/x/other.xml#t1_1", false, 0, 0},
        {"tolvaro-book://book/x/book.xml", false, 0, 0},
        {"tolvaro-book://book/x/BOOK.XML?ref#t1_1", true, 1, 3},
        {"book.xml#t0_1", true, 0, 1},
    };
    for (const auto& c : cases) {
        book.fake.player.position = 99;
        EXPECT_EQ(book.fake.textView.onNavigation(c.url), c.taken) << c.url;
        EXPECT_EQ(book.Heading(), c.heading) << c.url;
        EXPECT_EQ(book.Cursor(), c.cursor) << c.url;
        EXPECT_EQ(book.fake.player.position, c.taken ? 1.0 : 99) << c.url; // both clips begin at 1
    }
}

TEST_F(NavigationTest, NextAndPreviousPage) {
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kPagePrevious));
    dlg.RunCommand(kPageNext);
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Cursor(), 3); // by its text id
    EXPECT_EQ(Heading(), 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kPagePrevious));
    dlg.RunCommand(kPageNext);
    EXPECT_EQ(Cursor(), 4);                            // by its par id
    EXPECT_FALSE(dlg.Commands().IsEnabled(kPageNext)); // the last page
    dlg.RunCommand(kPagePrevious);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kPageNext)); // on again once off the last page
    dlg.RunCommand(kPagePrevious);
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(Cursor(), 0);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kPagePrevious));
    fake.textView.onNavigation("s1.smil#p1_0"); // reading on onto a page moves the page cursor
    dlg.RunCommand(kPhraseNext);
    EXPECT_EQ(Cursor(), 3);
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kPagePrevious));
}

// G and Shift+G walk the groups, each to its phrase, and grey themselves at either end.
TEST(GroupNavigation, WalksTheGroupsAndGreysAtTheEnds) {
    test::EngineBook book; // the groups follow the last heading in the NCC: they belong to it
    book.Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}},
               {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}, {"b.mp3", 2, 3}}}},
              true, -1,
              "<div class=\"group\"><a href=\"s1.smil#x1_0\">A</a></div>\n"
              "<div class=\"group\"><a href=\"s1.smil#x1_1\">B</a></div>\n"
              "<div class=\"group\"><a href=\"s1.smil#x1_2\">C</a></div>\n");
    CommandTable& commands = book.dlg.Commands();
    const struct {
        int command;
        int group, cursor;
        bool previous, next; // enabled afterwards
    } steps[] = {
        {kGroupNext, 0, 2, false, true},     {kGroupNext, 1, 3, true, true},
        {kGroupNext, 2, 4, true, false},     {kGroupPrevious, 1, 3, true, true},
        {kGroupPrevious, 0, 2, false, true},
    };
    EXPECT_TRUE(commands.IsEnabled(kGroupNext));
    EXPECT_FALSE(commands.IsEnabled(kGroupPrevious));
    for (const auto& s : steps) {
        ASSERT_TRUE(book.dlg.RunCommand(s.command)) << s.group;
        EXPECT_EQ(book.dlg.Model().m_lstGroups.SelectionMark(), s.group);
        EXPECT_EQ(book.Heading(), 1) << s.group;
        EXPECT_EQ(book.Cursor(), s.cursor) << s.group;
        EXPECT_EQ(commands.IsEnabled(kGroupPrevious), s.previous) << s.group;
        EXPECT_EQ(commands.IsEnabled(kGroupNext), s.next) << s.group;
    }
}

// A book whose first page begins after its first phrase: "next page" goes to page 1 first.
TEST(NavigationStart, NextPageGoesToTheFirstPageBeforeItIsReached) {
    test::EngineBook book;
    book.Open({{1, {{"a.mp3", 0, 1}, {"a.mp3", 1, 2}}}, {1, {{"b.mp3", 0, 1}, {"b.mp3", 1, 2}}}},
              true, -1,
              "<span class=\"page-normal\"><a href=\"s0.smil#p0_1\">1</a></span>\n"
              "<span class=\"page-normal\"><a href=\"s1.smil#x1_1\">2</a></span>\n");
    ASSERT_EQ(book.Cursor(), 0);
    book.dlg.RunCommand(kPageNext);
    EXPECT_EQ(book.dlg.Model().m_lstPages.SelectionMark(), 0);
    EXPECT_EQ(book.Cursor(), 1);
    book.dlg.RunCommand(kPageNext);
    EXPECT_EQ(book.dlg.Model().m_lstPages.SelectionMark(), 1);
    EXPECT_EQ(book.Cursor(), 3);
}

TEST_F(NavigationTest, GoToPage) {
    const struct {
        std::optional<QString> answer;
        int page, messages;
        IPlayer::State state;
    } cases[] = {
        {QString("2"), 2, 0, IPlayer::State::Playing}, // a label twice: the last one wins
        {QString("9"), 2, 1, IPlayer::State::Playing}, // not there: said so, and playback goes on
        {std::nullopt, 2, 1, IPlayer::State::Paused},  // cancelled: stays paused
    };
    for (const auto& c : cases) {
        fake.player.state = IPlayer::State::Playing;
        fake.dialogs.pageAnswer = c.answer;
        ASSERT_TRUE(dlg.RunCommand(kPageGoTo));
        EXPECT_EQ(Page(), c.page);
        EXPECT_EQ(static_cast<int>(fake.dialogs.shown.size()), c.messages);
        EXPECT_EQ(fake.player.state, c.state);
    }
    EXPECT_EQ(fake.dialogs.shown[0].text, LoadString(36));
    EXPECT_EQ(fake.dialogs.shown[0].caption, LoadString(37));
}

} // namespace
} // namespace tolvaro

namespace tolvaro {
namespace {

// Chosen from the menu, a command ends as by its key: the menu's closing lets the book play on
// first, then the command runs (a cancelled go-to-page stays paused, a phrase move plays).
TEST_F(NavigationTest, ACommandFromTheMenuEndsAsByItsKey) {
    const struct {
        int command;
        IPlayer::State state;
    } cases[] = {
        {cmd::kPhraseNext, IPlayer::State::Playing},
        {cmd::kPageNext, IPlayer::State::Playing},
        {cmd::kPageGoTo, IPlayer::State::Paused}, // cancelled
        {cmd::kVolumeUp, IPlayer::State::Playing},
    };
    for (const auto& c : cases) {
        fake.player.state = IPlayer::State::Playing;
        dlg.OnMenuSelect(false); // the menu opens
        EXPECT_EQ(fake.player.state, IPlayer::State::Paused);
        ASSERT_TRUE(dlg.RunCommand(c.command)) << c.command;
        dlg.OnMenuSelect(true); // the menus' closing, reported after the command
        EXPECT_EQ(fake.player.state, c.state) << c.command;
    }
}

} // namespace
} // namespace tolvaro
