#include "shell/WebTextView.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "Soon.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tolvaro {
namespace {

struct TextViewTest : ::testing::Test {
    QTemporaryDir dir;
    QWebEngineView view;
    QPlainTextEdit reading;
    QStringList said;
    WebTextView text{view, reading, [this](const QString& line) { said << line; }};
    QStringList links, loads;

    TextViewTest() {
        QByteArray html =
            "<html><body><p id=\"top\"><a id=\"link\" href=\"x.smil#t5\">jump</a></p>";
        for (int i = 0; i < 60; ++i)
            html += "<p id=\"p" + QByteArray::number(i) + "\">Phrase <b>" + QByteArray::number(i) +
                    "</b></p>";
        Write("text.html", html + "</body></html>");
        view.resize(400, 300);
        view.show();
        reading.show();
        text.SetHandlers(
            [this](const QString& url) {
                links.append(url);
                return url.contains(".smil") || url.contains("?ref#"); // as the book takes them
            },
            [this](const QString& url) { loads.append(url); });
        text.Navigate(dir.filePath("text.html"));
        EXPECT_TRUE(QTest::qWaitFor([this] { return loads.size() == 1; }, 15000));
    }

    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Runs a script beside the marking one and waits for its answer.
    QVariant Ask(const QString& script) {
        QVariant answer;
        bool done = false;
        view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                   [&](const QVariant& v) {
                                       answer = v;
                                       done = true;
                                   });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return answer;
    }
    QString MarkedIds() {
        return Ask("Array.from(document.querySelectorAll('span[data-tolvaro-mark]'))"
                   ".map(function (s) { return s.parentNode.id + ':' + s.getAttribute('style'); })"
                   ".join(',')")
            .toString();
    }
};

TEST_F(TextViewTest, MarksMovesAndScrolls) {
    EXPECT_EQ(text.LocationName(), "text.html");
    text.MarkElement("p1", "BACKGROUND-COLOR: #ffff00");
    ASSERT_SOON((MarkedIds()) == (QString("p1:BACKGROUND-COLOR: #ffff00")), 5000);
    EXPECT_EQ(Ask("window.scrollY").toInt(), 0); // near the top: no scrolling

    text.MarkElement("p40", "FONT-WEIGHT: bold");
    ASSERT_SOON((MarkedIds()) == (QString("p40:FONT-WEIGHT: bold")), 5000);
    EXPECT_EQ(Ask("document.getElementById('p1').innerHTML").toString(), "Phrase <b>1</b>");
    // The marked element's lower edge stands at the middle of the view.
    const double bottom =
        Ask("document.getElementById('p40').getBoundingClientRect().bottom").toDouble();
    const double half = Ask("Math.floor(window.innerHeight / 2)").toDouble();
    EXPECT_NEAR(bottom, half, 2.0);

    text.MarkElement("nothing", "FONT-STYLE: italic"); // no such element: the old mark goes
    ASSERT_SOON((MarkedIds()) == (QString()), 5000);
}

// The reading text holds the document's text a line per block, without the page's head, with
// the caret where the marked phrase begins; the caret follows the mark until the reader reads
// there by themselves, and Focus brings it back (and says the line, as no focus event will).
TEST_F(TextViewTest, ReadingTextFollowsThePhrase) {
    const auto at = [this](const char* line) {
        return reading.toPlainText().indexOf(QString("\n") + line + "\n") + 1;
    };
    const auto caret = [this] { return reading.textCursor().position(); };
    text.MarkElement("p30", "FONT-WEIGHT: bold");
    ASSERT_SOON(caret() == at("Phrase 30") && caret() > 0, 5000);
    EXPECT_TRUE(reading.toPlainText().startsWith("jump\nPhrase 0\nPhrase 1\n"));
    EXPECT_FALSE(reading.textCursor().hasSelection());
    text.Focus();
    EXPECT_TRUE(reading.hasFocus());
    reading.moveCursor(QTextCursor::Down); // the reader reads on
    text.MarkElement("p35", "FONT-WEIGHT: bold");
    ASSERT_SOON(MarkedIds() == "p35:FONT-WEIGHT: bold", 5000);
    QTest::qWait(100);
    EXPECT_EQ(caret(), at("Phrase 31"));
    EXPECT_TRUE(said.isEmpty()); // the focus coming says the line
    text.Focus();
    EXPECT_EQ(caret(), at("Phrase 35"));
    EXPECT_EQ(said, QStringList{"Phrase 35"}); // already there: the line is said
    reading.clearFocus();
    text.MarkElement("p40", "FONT-WEIGHT: bold");
    ASSERT_SOON(caret() == at("Phrase 40"), 5000);
}

TEST_F(TextViewTest, LinksIntoTheBookAreTakenOver) {
    Ask("document.getElementById('link').click(); true");
    ASSERT_SOON((links.size()) == (2), 5000); // the page itself, then the link
    EXPECT_TRUE(links.last().endsWith("x.smil#t5"));
    QTest::qWait(200);
    EXPECT_EQ(text.LocationName(), "text.html"); // not followed
}

// A pipe in a document's place is not read (its reading would never end): an empty page shows.
TEST_F(TextViewTest, APipeIsNoDocument) {
    const QString pipe = dir.filePath("pipe.html");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    text.Navigate(pipe);
    ASSERT_SOON(loads.size() == 2, 5000);
    EXPECT_EQ(loads.last(), "about:blank");
}

// Term marks go into the text only, never into tags or attributes, live beside the phrase mark,
// are taken away whole, and are placed in a document that is still loading once it is there.
TEST_F(TextViewTest, TermMarksInTextOnly) {
    Write("terms.html",
          "<html><head><title>river</title></head><body><p id=\"river\" class=\"river\" "
          "title=\"River\">River, river and <b>RIV</b>er</p><p id=\"u\">\xc3\x9c"
          "ber "
          "\xc3\xbc"
          "ber</p></body></html>");
    text.Navigate(dir.filePath("terms.html"));
    text.MarkTerm("river", "COLOR: #ff0000"); // while it loads
    const QString original = "River, river and <b>RIV</b>er";
    const auto terms = [this] {
        return Ask("Array.from(document.querySelectorAll('span[data-tolvaro-term]'))"
                   ".map(function (s) { return s.textContent + ':' + s.getAttribute('style'); })"
                   ".join(',')")
            .toString();
    };
    ASSERT_SOON(terms() == "River:COLOR: #ff0000,river:COLOR: #ff0000", 10000);
    EXPECT_EQ(Ask("var p = document.getElementById('river'); p.className + p.title").toString(),
              "riverRiver");
    EXPECT_EQ(Ask("document.title").toString(), "river");

    text.MarkElement("river", "FONT-WEIGHT: bold"); // the phrase mark around them
    ASSERT_SOON(MarkedIds() == "river:FONT-WEIGHT: bold", 5000);
    EXPECT_EQ(terms(), "River:COLOR: #ff0000,river:COLOR: #ff0000");

    text.MarkTerm("\u00fcber", "FONT-STYLE: ITALIC");
    ASSERT_SOON(terms() == "\u00dcber:FONT-STYLE: ITALIC,\u00fcber:FONT-STYLE: ITALIC", 5000);
    text.MarkElement("u", "FONT-WEIGHT: bold"); // the phrase mark moves on
    text.MarkTerm("", "");
    ASSERT_SOON(terms().isEmpty(), 5000);
    EXPECT_EQ(Ask("document.getElementById('river').innerHTML").toString(), original);
    EXPECT_EQ(Ask("document.getElementById('river').childNodes.length").toInt(), 3);
}

// A DTBook is XML, without a body: with its own style sheet or without one (the plain built-in
// one, in any encoding), it is read a line per block, marked and searched as a web page is.
TEST_F(TextViewTest, AnXmlDocumentReadsAndMarksAsAPage) {
    Write("book.css", "head { display: none } p, h1 { display: block }");
    const QString body =
        "<!DOCTYPE dtbook SYSTEM 'absent.dtd'><dtbook "
        "xmlns='http://www.daisy.org/z3986/2005/dtbook/'>"
        "<head><meta name='dc:Title' content='hidden'/></head><book><level1>"
        "<h1 id='h'>Title</h1><p id='p'>A <em>river</em> here<noteref idref='#n1'>1"
        "</noteref><noteref idref='n1'>2</noteref></p><note id='n1'><p>Note</p>"
        "</note></level1></book></dtbook>";
    const QString own = "<?xml-stylesheet href='book.css' type='text/css'?>";
    const struct {
        const char* name;
        QString text;
        QStringConverter::Encoding encoding;
    } kCases[] = {
        {"own.xml", "<?xml version='1.0'?>" + own + body, QStringConverter::Utf8},
        {"plain.xml", "<?xml version='1.0' encoding='utf-8'?>" + body, QStringConverter::Utf8},
        {"bare.XML", body, QStringConverter::Utf8},
        {"wide.xml", "\ufeff<?xml version='1.0' encoding='UTF-16'?>" + body,
         QStringConverter::Utf16LE},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Write(c.name, QStringEncoder(c.encoding)(c.text));
        const qsizetype before = loads.size();
        text.Navigate(dir.filePath(c.name));
        ASSERT_SOON(loads.size() == before + 1, 10000);
        text.MarkElement("p", "BACKGROUND-COLOR: #ffff00");
        text.MarkTerm("river", "COLOR: #ff0000");
        ASSERT_SOON(MarkedIds() == "p:BACKGROUND-COLOR: #ffff00", 5000);
        EXPECT_EQ(Ask("getComputedStyle(document.querySelector('span[data-tolvaro-mark]'))"
                      ".backgroundColor")
                      .toString(),
                  "rgb(255, 255, 0)");
        ASSERT_SOON(Ask("document.querySelectorAll('span[data-tolvaro-term]').length").toInt() == 1,
                    5000);
        ASSERT_SOON(reading.toPlainText() == "Title\nA river here12\nNote\n", 5000);
        EXPECT_EQ(text.LocationName(), c.name);
    }
    // Note references become links to their note, with or without the "#".
    for (const char* ref : {"noteref:first-of-type a", "noteref:last-of-type a"}) {
        Ask(QString("document.querySelector('%1').click(); true").arg(ref));
        ASSERT_SOON(links.last().endsWith("wide.xml?ref#n1"), 5000);
        links.removeLast();
    }
}

// The NCX shown for a book without text: its labels a line each, the mark on one label only.
TEST_F(TextViewTest, AnNcxShowsItsLabels) {
    Write("nav.ncx",
          "<ncx xmlns='http://www.daisy.org/z3986/2005/ncx/'><head><meta name='x'/></head>"
          "<docTitle><text>Book</text></docTitle><navMap><navPoint id='a'><navLabel><text>"
          "One</text></navLabel><content src='s.smil#1'/><navPoint id='b'><navLabel><text>"
          "Two</text></navLabel><content src='s.smil#2'/></navPoint></navPoint></navMap>"
          "<pageList><pageTarget><navLabel><text>5</text></navLabel></pageTarget></pageList>"
          "</ncx>");
    text.Navigate(dir.filePath("nav.ncx"));
    ASSERT_SOON(loads.size() == 2, 10000);
    text.MarkElement("a", "BACKGROUND-COLOR: #ffff00");
    ASSERT_SOON(MarkedIds() == "a:BACKGROUND-COLOR: #ffff00", 5000);
    ASSERT_SOON(reading.toPlainText() == "Book\nOne\nTwo\n", 5000);
    EXPECT_EQ(Ask("getComputedStyle(document.getElementById('b')).backgroundColor").toString(),
              "rgb(255, 255, 255)");
}

} // namespace
} // namespace tolvaro
