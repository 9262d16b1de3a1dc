// Search: the visible text of a document, the three searches, their results and jumps, the term
// marks, and playback held while the user is asked.
#include "Printers.h"
#include "Session.h"
#include "playback/TextMarker.h"
#include "res/StringTable.h"
#include "search/DocumentText.h"

namespace tolvaro {
namespace {

using namespace cmd;

TEST(DocumentText, WhatAReaderSees) {
    const struct {
        const char* html;
        const char* text;
        const char* ids; // "id@offset ..." in the order given
    } cases[] = {
        {"<p id=\"a\">Tom &amp; Jerry</p>", "tom & jerry\n", "a@0"},
        {"<head><title>Class</title><style>p{}</style></head><body><p class=\"span\">x</p>", "x\n",
         ""},
        {"<script>var river;</script><!-- river --><p>a</p>", "a\n", ""},
        {"<P ID=\"Big\">Über</P> <p id='q'>b</p>", "über\nb\n", "Big@0 q@5"},
        {"<p>a </p>\n <p>b</p><b>c</b>d<br/>e", "a\nb\ncd\ne", ""},
        {"  one\n\t two &nbsp; three ", "one two three ", ""},
        {"a&nbsp;b\u00a0c<b-x>d<b_x>e", "a b c\nd\ne", ""}, // <b-x> is no <b>
        {"&#252;&#xFC;&Uuml;&unknown;&amp", "üüü&unknown;&amp", ""},
        {"&#0;&#x110000;&#55296;", "\ufffd\ufffd\ufffd", ""},
        {"a < b <3 <p id=x>c", "a < b <3\nc", "x@9"},
        {"<p id=\"x\">one<p id=\"x\">two", "one\ntwo", "x@0 x@4"},
        {"<p id=\"unclosed", "", "unclosed@0"},
        {"<p title='a>b' id=\"t\">z", "z", "t@0"},
        {"<script>never closed", "", ""},
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE html PUBLIC \"-//W3C\">\n<p>a</p>", "a\n", ""},
        {"<script>a</b>c</script>z&#x1F600;", "z\U0001F600", ""},
        {"<!-- never closed", "", ""},
        {"<navPoint id='n'><text>One</text></navPoint><pageList><text>5</text></pageList><navList>"
         "<text>Note</text></navList>",
         "one\n", "n@0"},
        // Folding may lengthen the text before an id.
        {"STRASSE Straße ẞ <span id=s>x</span>", "strasse strasse ss x", "s@19"},
        {"ΣΊΣΥΦΟΣ ПРИВЕТ Ωmega ǅ Ⱥ", "σίσυφοσ привет ωmega ǆ ⱥ", ""},
    };
    for (const auto& c : cases) {
        const DocumentText text = ReadDocumentText(QString::fromUtf8(c.html, -1));
        EXPECT_EQ(text.text, QString::fromUtf8(c.text)) << c.html;
        QStringList ids;
        for (const auto& [id, offset] : text.ids)
            ids << id + u'@' + QString::number(offset);
        EXPECT_EQ(ids.join(u' '), QString::fromUtf8(c.ids)) << c.html;
    }
    EXPECT_EQ(FoldCase(u"ÜBER Ärzte STRAẞE"), QStringLiteral("über ärzte strasse"));
    EXPECT_EQ(ReadDocumentText(QStringView(u"a\0\0b", 4)).text, u"a b");
}

// Hostile shapes stay linear (quadratic ones would not finish).
TEST(DocumentText, HostileShapes) {
    const QString ampersands(1'000'000, u'&');
    EXPECT_EQ(ReadDocumentText(ampersands).text, ampersands);
    const QString titles = QStringLiteral("<title>a</title>x").repeated(200'000);
    EXPECT_EQ(ReadDocumentText(titles).text.size(), 200'000 * 2 - 1); // x, a line end, x...
}

// Three headings: 0 and 1 in a.html, 2 in b.html; each phrase one paragraph whose id has capital
// letters. Audio from one empty file, so that every phrase plays.
struct Chapter {
    const char* title;
    const char* document;
    std::vector<const char*> texts;
};

struct SearchBook : test::Session {
    void Open(const std::vector<Chapter>& headings, const char* charset = "utf-8") {
        const bool latin1 = QByteArray(charset) != "utf-8";
        const auto encode = [latin1](const QString& s) {
            return latin1 ? s.toLatin1() : s.toUtf8();
        };
        QByteArray ncc = QByteArray("<html>\n<head>\n<meta name=\"ncc:charset\" content=\"") +
                         charset + "\"/>\n</head>\n<body>\n";
        std::map<QByteArray, QByteArray> documents;
        for (std::size_t h = 0; h < headings.size(); ++h) {
            const QByteArray n = QByteArray::number(static_cast<int>(h));
            ncc += "<h1><a href=\"s" + n + ".smil#p" + n + "_0\">" +
                   encode(QString::fromUtf8(headings[h].title)) + "</a></h1>\n";
            QByteArray smil = "<smil>\n<body>\n";
            QByteArray& doc = documents[headings[h].document];
            for (std::size_t p = 0; p < headings[h].texts.size(); ++p) {
                const QByteArray id = n + "_" + QByteArray::number(static_cast<int>(p));
                smil += "<par id=\"p" + id + "\">\n<text src=\"" + headings[h].document + "#T" +
                        id + "\" id=\"x" + id +
                        "\"/>\n<audio src=\"a.mp3\" "
                        "clip-begin=\"npt=" +
                        QByteArray::number(static_cast<int>(p)) +
                        "s\" clip-end=\"npt=" + QByteArray::number(static_cast<int>(p) + 1) +
                        "s\"/>\n</par>\n";
                doc += "<p id=\"T" + id + "\" class=\"span\">" +
                       encode(QString::fromUtf8(headings[h].texts[p])) + "</p>\n";
            }
            Write("s" + n + ".smil", smil + "</body>\n</smil>\n");
        }
        for (const auto& [name, body] : documents)
            Write(name, "<html><head><title>class span</title></head><body>\n" + body +
                            "</body></html>\n");
        Write("a.mp3", {});
        Write("ncc.html", ncc + "</body>\n</html>\n");
        Start();
        OpenFile(dir.filePath("ncc.html"));
    }
    // Runs a search for `term`; the message, or "" when none was shown.
    QString Search(int command, std::optional<QString> term) {
        fake.dialogs.shown.clear();
        fake.dialogs.searchAnswers = {term};
        EXPECT_TRUE(dlg.RunCommand(command)) << command;
        return Message();
    }
    // The result lines, each "line|heading|term|phrase|fragment".
    QStringList Results() {
        QStringList lines;
        const BookModel& m = dlg.Model();
        for (int i = 0; i < m.m_lbSearchHits.Count(); ++i) {
            QStringList cells{m.m_lbSearchHits.Line(i)};
            for (int c = 0; c < 4; ++c)
                cells << m.m_lstSearchHits.Text(i, c);
            lines << (i < m.m_lstSearchHits.RowCount() ? cells.join(u'|') : cells[0]);
        }
        return lines;
    }
};

struct SearchTest : ::testing::Test, SearchBook {};

const std::vector<Chapter> kBook = {
    {"Kapitel Eins",
     "a.html",
     {"River at the start", "nothing here but a banana", "river, RIVER and riverbank"}},
    {"Zwei", "a.html", {"the last river"}},
    {"Über Ärzte", "b.html", {"River first in b", "Tom &amp; Jerry", "ärzte und Ärzte"}},
    {"Bild", "b.html", {"<img src=\"river.png\" alt=\"River\"/>", "under the image: river"}},
};

const QString kNone = QStringLiteral("Keine Suchergebnisse");

TEST_F(SearchTest, HeadingsTextAndBook) {
    Open(kBook);
    const struct {
        int command;
        const char* term;
        const char* message; // the count
        QStringList results;
    } cases[] = {
        {kSearchHeadings, "eins", "1", {"Kapitel Eins|0|||"}},
        {kSearchHeadings, "KAPITEL", "1", {"Kapitel Eins|0|||"}},
        {kSearchHeadings, "ärzte", "1", {"Über Ärzte|2|||"}},
        {kSearchHeadings, "river", "0", {kNone}},
        // Index 0, three in one phrase, the heading's last phrase; not the next heading's.
        {kSearchText, "river", "4", {"Kapitel Eins|0|river|0|T0_0", "Kapitel Eins|0|river|2|T0_2"}},
        // An image's phrase has no text: the paragraph after it has the term.
        {kSearchBook,
         "RIVER",
         "7",
         {"Kapitel Eins|0|river|0|T0_0", "Kapitel Eins|0|river|2|T0_2", "Zwei|1|river|3|T1_0",
          "Über Ärzte|2|river|4|T2_0", "Bild|3|river|8|T3_1"}},
        {kSearchBook, "tom & jerry", "1", {"Über Ärzte|2|tom & jerry|5|T2_1"}},
        {kSearchBook, "ÄRZTE", "2", {"Über Ärzte|2|ärzte|6|T2_2"}},
        // Markup, ids and the title are no text; nor is the term across two paragraphs.
        {kSearchBook, "class", "0", {kNone}},
        {kSearchBook, "span", "0", {kNone}},
        {kSearchBook, "t0_0", "0", {kNone}},
        {kSearchBook, "riverbank the", "0", {kNone}},
        {kSearchBook, "riverbank", "1", {"Kapitel Eins|0|riverbank|2|T0_2"}},
        {kSearchBook, "ana", "2", {"Kapitel Eins|0|ana|1|T0_1"}}, // overlapping: b(ana)na, ban(ana)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Search(c.command, QString::fromUtf8(c.term)),
                  QStringLiteral("Das Suchergebnis ist %1 .").arg(c.message))
            << c.term;
        EXPECT_EQ(fake.dialogs.shown.back().caption, QStringLiteral("Information"));
        EXPECT_EQ(Results(), c.results) << c.term;
        EXPECT_EQ(dlg.Commands().IsEnabled(kSearchNext), c.results[0] != kNone);
        EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchPrevious));
    }
    // Only the text searches show the wait window.
    EXPECT_EQ(fake.dialogs.waitTexts.size(), 10);
    EXPECT_EQ(fake.dialogs.waitTexts.value(0), QStringLiteral("Suche läuft. Bitte warten..."));

    // Cancel keeps the results; a term of one character clears them without a word; English.
    const QStringList before = Results();
    EXPECT_EQ(Search(kSearchBook, std::nullopt), QString());
    EXPECT_EQ(Results(), before);
    EXPECT_EQ(Search(kSearchHeadings, "e"), QString());
    EXPECT_EQ(Results(), QStringList());
    dlg.RunCommand(kLanguageEnglish);
    EXPECT_EQ(Search(kSearchHeadings, "zwei"), QStringLiteral("The search result is 1 ."));
    EXPECT_EQ(fake.dialogs.searchLanguages.back(), kLangEnglish);
}

// Terms beyond ASCII in a UTF-8 and a Latin-1 book alike.
TEST(Search, NonAsciiInEveryCharacterSet) {
    for (const char* charset : {"utf-8", "iso-8859-1", "windows-1252"}) {
        SearchBook book;
        book.Open(kBook, charset);
        const struct {
            int command;
            const char* term;
            const char* message;
        } cases[] = {
            {kSearchHeadings, "über", "1"},    {kSearchHeadings, "ÜBER ÄRZTE", "1"},
            {kSearchBook, "ÄRZTE", "2"},       {kSearchBook, "über", "0"},
            {kSearchBook, "ärzte und ä", "1"},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(book.Search(c.command, QString::fromUtf8(c.term)),
                      QStringLiteral("Das Suchergebnis ist %1 .").arg(c.message))
                << charset << " " << c.term;
        }
    }
}

// "im Text" is greyed while a heading's text is the NCC itself; the book search never reads it,
// nor a document that is gone.
TEST_F(SearchTest, TheNccIsNoTextDocument) {
    std::vector<Chapter> book = kBook;
    book.push_back({"Nur NCC river", "ncc.html", {"river in the NCC"}});
    Open(book);
    GoToHeading(4);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchText));
    GoToHeading(0);
    EXPECT_TRUE(dlg.Commands().IsEnabled(kSearchText));
    EXPECT_EQ(Search(kSearchBook, "river"), QStringLiteral("Das Suchergebnis ist 7 ."));
    EXPECT_EQ(fake.dialogs.progress.position, 2);       // both documents, and not the NCC
    ASSERT_TRUE(QFile::remove(dir.filePath("b.html"))); // a document gone is passed over
    EXPECT_EQ(Search(kSearchBook, "river"), QStringLiteral("Das Suchergebnis ist 5 ."));
}

// Choosing results: a book result selects its heading first, a text result only the phrase;
// Next and Previous step through the lines and grey at the ends; the focus goes to the tree and
// the phrase plays from its start.
TEST_F(SearchTest, JumpingToResults) {
    Open(kBook);
    Search(kSearchBook, "river");
    const struct {
        int command;
        int line, heading, cursor;
        bool previous, next;
    } steps[] = {
        {kSearchNext, 0, 0, 0, false, true},     {kSearchNext, 1, 0, 2, true, true},
        {kSearchNext, 2, 1, 3, true, true},      {kSearchNext, 3, 2, 4, true, true},
        {kSearchNext, 4, 3, 8, true, false},     {kSearchPrevious, 3, 2, 4, true, true},
        {kSearchPrevious, 2, 1, 3, true, true},  {kSearchPrevious, 1, 0, 2, true, true},
        {kSearchPrevious, 0, 0, 0, false, true},
    };
    for (const auto& step : steps) {
        const int focus = fake.window.treeFocused;
        fake.player.position = 99;
        ASSERT_TRUE(dlg.RunCommand(step.command)) << step.line;
        EXPECT_EQ(dlg.Model().m_lbSearchHits.CurSel(), step.line);
        EXPECT_EQ(Heading(), step.heading) << step.line;
        EXPECT_EQ(Cursor(), step.cursor) << step.line;
        EXPECT_EQ(fake.player.position,
                  dlg.Model().m_lstPhrases.Text(step.cursor, col::kClipBegin).toDouble());
        EXPECT_EQ(fake.player.state, IPlayer::State::Playing);
        EXPECT_EQ(dlg.Commands().IsEnabled(kSearchPrevious), step.previous) << step.line;
        EXPECT_EQ(dlg.Commands().IsEnabled(kSearchNext), step.next) << step.line;
        EXPECT_EQ(fake.window.treeFocused, focus + 1);
    }
    // The user picks a line in the list.
    dlg.Model().m_lbSearchHits.Selection()->setCurrentIndex(
        dlg.Model().m_lbSearchHits.Model()->index(2), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(Cursor(), 3);

    // A text result: the phrase only, under the heading already current. Another heading
    // empties the text results.
    GoToHeading(0);
    Search(kSearchText, "river");
    dlg.RunCommand(kSearchNext);
    dlg.RunCommand(kSearchNext);
    EXPECT_EQ(Cursor(), 2);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchNext));
    Search(kSearchText, "river"); // a new search starts before its first line
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchPrevious));
    EXPECT_TRUE(dlg.Commands().IsEnabled(kSearchNext));
    GoToHeading(2);
    EXPECT_EQ(Results(), QStringList{kNone});
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchNext));

    // Next on a single result selects it and leaves both greyed.
    Search(kSearchHeadings, "zwei");
    dlg.RunCommand(kSearchNext);
    EXPECT_EQ(Heading(), 1);
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchNext));
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchPrevious));
}

// Text results belong to their heading: another heading drops them, the first one too, and R
// then does nothing. A heading search after a text search keeps its results through jumps.
TEST_F(SearchTest, TextResultsFollowTheHeading) {
    Open(kBook);
    GoToHeading(2);
    Search(kSearchText, "river");
    ASSERT_NE(Results(), QStringList{kNone});
    GoToHeading(0);
    EXPECT_EQ(Results(), QStringList{kNone});
    EXPECT_FALSE(dlg.RunCommand(kSearchNext));

    Search(kSearchText, "river");
    ASSERT_NE(Results(), QStringList{kNone});
    Search(kSearchHeadings, "zwei");
    GoToHeading(3);
    EXPECT_EQ(Results(), QStringList{"Zwei|1|||"});
    ASSERT_TRUE(dlg.RunCommand(kSearchNext));
    EXPECT_EQ(Heading(), 1);
}

// The term is marked in the document shown after a text or book search, and again in every
// document shown later, in the style of the moment; a book closed takes it away.
TEST_F(SearchTest, TermMarks) {
    Open(kBook);
    QStringList& marks = fake.textView.termMarks;
    EXPECT_EQ(marks, QStringList());
    Search(kSearchHeadings, "kapitel");
    EXPECT_EQ(marks, QStringList()); // headings are not text
    Search(kSearchBook, "River");
    EXPECT_EQ(marks, QStringList{"a.html river BACKGROUND-COLOR: #ffff00"});
    fake.dialogs.colorAnswer = "#00ff00";
    dlg.RunCommand(kMarkTextColor);
    dlg.RunCommand(kPhraseNext);
    fake.timers.Advance(100);
    EXPECT_EQ(marks.size(), 1); // the same document, marked already
    GoToHeading(2);
    fake.timers.Advance(100);
    EXPECT_EQ(marks.value(1), "b.html river COLOR: #00ff00");
    fake.textView.onLoaded(dir.filePath("b.html")); // reloaded: marked again
    dlg.RunCommand(kPhraseNext);
    fake.timers.Advance(100);
    EXPECT_EQ(marks.size(), 3);
    dlg.RunCommand(kOpen); // closes the book; the dialog opens the same one again
    fake.timers.Advance(10000);
    EXPECT_FALSE(marks.last().contains(u"river"));
}

// Neither start page gets a phrase mark; a book's document does.
TEST(TextMarker, NoPhraseMarkOnAStartPage) {
    test::FakeTextView view;
    TextMarker marker(view);
    const MarkStyle style{true, false, false, false, "#ffff00"};
    for (const char* page : {"/p/start_de.html", "/p/start_en.html", "/book/t.html"}) {
        view.navigations = {page};
        marker.MarkPhrase("f1", style, "/book/");
    }
    EXPECT_EQ(view.marks, QStringList{"f1 BACKGROUND-COLOR: #ffff00"});
}

// Each mark style gives the phrase and the search term their own look, in every document shown
// after it is chosen.
TEST_F(SearchTest, EachStyleMarksPhraseAndTerm) {
    Open(kBook);
    Search(kSearchBook, "river");
    fake.dialogs.colorAnswer = "#00ff00";
    const struct {
        int command;
        const char* phrase;
        const char* term;
    } cases[] = {
        {kMarkBold, "FONT-WEIGHT: bold", "FONT-WEIGHT: BOLD"},
        {kMarkItalic, "FONT-STYLE: italic", "FONT-STYLE: ITALIC"},
        {kMarkTextColor, "COLOR: #00ff00", "COLOR: #00ff00"},
        {kMarkBackground, "BACKGROUND-COLOR: #00ff00", "BACKGROUND-COLOR: #00ff00"},
    };
    int heading = 0;
    for (const auto& c : cases) {
        dlg.RunCommand(c.command);
        heading = 2 - heading; // the other document
        GoToHeading(heading);
        fake.timers.Advance(100);
        EXPECT_TRUE(fake.textView.marks.last().endsWith(c.phrase)) << c.phrase;
        EXPECT_TRUE(fake.textView.termMarks.last().endsWith(c.term)) << c.term;
    }
}

// Escape in the wait window: no message, the no-results line.
TEST_F(SearchTest, StoppingTheSearch) {
    Open(kBook);
    fake.dialogs.progress.stopAt = 0;
    fake.dialogs.progress.stop = IProgress::Stop::Cancel;
    EXPECT_EQ(Search(kSearchBook, "river"), QString());
    EXPECT_EQ(Results(), QStringList{kNone});
    EXPECT_FALSE(dlg.Commands().IsEnabled(kSearchNext));
    fake.dialogs.progress.stopAt = -1;
    fake.dialogs.cancelWaiting = true; // closed before the search began
    EXPECT_EQ(Search(kSearchText, "river"), QString());
    EXPECT_EQ(Results(), QStringList{kNone});
}

// Every question and answer holds a playing book while it is up and lets it go on after, also
// when the user cancels or chose the command from the menu; a book the user paused or stopped
// stays so.
TEST_F(SearchTest, AQuestionPausesOnlyABookThatPlays) {
    Open(kBook);
    const struct {
        int command;
        std::optional<QString> answer; // the search term or the colour
    } questions[] = {
        {kBookTimeTotal, {}},         {kTitleTimeElapsed, {}},
        {kBookEntries, {}},           {kTitleLevel, {}},
        {kSearchBook, "river"},       {kSearchBook, std::nullopt},
        {kMarkBackground, "#0000ff"}, {kMarkTextColor, std::nullopt},
    };
    using State = IPlayer::State;
    for (const auto& q : questions) {
        for (const State before : {State::Playing, State::Paused, State::Stopped}) {
            for (const bool fromMenu : {false, true}) {
                fake.player.state = before;
                State during = before;
                fake.dialogs.onMessage = [&] { during = fake.player.state; };
                fake.dialogs.searchAnswers = {q.answer};
                fake.dialogs.colorAnswer = q.answer;
                if (fromMenu)
                    dlg.OnMenuSelect(false);
                ASSERT_TRUE(dlg.RunCommand(q.command)) << q.command;
                if (fromMenu)
                    dlg.OnMenuSelect(true);
                EXPECT_NE(during, State::Playing) << q.command;
                EXPECT_EQ(fake.player.state, before) << q.command << " " << fromMenu;
            }
        }
    }
}

} // namespace
} // namespace tolvaro
