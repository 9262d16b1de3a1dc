#include "MemoryBook.h"
#include "Printers.h"
#include "daisy202/ScanText.h"
#include "store/Settings.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using test::Load;
using test::MemoryBook;
using test::Ncc;
using test::Row;
using test::Smil;

QByteArray OneHeading(const char* smil = "a.smil") {
    return Ncc(QByteArray("<h1><a href=\"") + smil + "#1\">A</a></h1>");
}

QStringList Phrases(const BookModel& m) {
    QStringList rows;
    for (int r = 0; r < m.m_lstPhrases.RowCount(); ++r)
        rows.append(Row(m.m_lstPhrases, r));
    return rows;
}

TEST(SmilReader, PhraseRows) {
    const struct {
        const char* name;
        QByteArray body;
        QStringList rows;
    } cases[] = {
        {"two clips in one par",
         "<par endsync=\"last\" id=\"p1\">\n<text src=\"t.html#f1\" id=\"x1\"/>\n"
         "<audio src=\"a.mp3\" clip-begin=\"npt=0.000s\" clip-end=\"npt=1.5s\" id=\"c1\"/>\n"
         "<audio src=\"a.mp3\" clip-begin=\"npt=1.5s\" clip-end=\"npt=12.345s\" "
         "id=\"c2\"/>\n</par>",
         {"0|p1|/book/t.html|f1|x1|a.mp3|0.000|1.5|", "0|p1|/book/t.html|f1|x1|a.mp3|1.5|12.345|"}},
        {"skip class for the par only",
         "<par id=\"p1\" system-required=\"sidebar-on\">\n<text src=\"t.html#f1\" "
         "id=\"x1\"/>\n</par>\n"
         "<par id=\"p2\">\n<text src=\"t.html#f2\" id=\"x2\"/>\n</par>",
         {"0|p1|/book/t.html|f1|x1||||sidebar", "0|p2|/book/t.html|f2|x2||||"}},
        {"all on one line",
         "<par id=\"p1\"><text src=\"t.html#f1\" id=\"x1\"/><seq><audio src=\"a.mp3\" "
         "clip-begin=\"npt=2s\" clip-end=\"npt=3s\"/></seq></par>",
         {"0|p1|/book/t.html|f1|x1|a.mp3|2|3|"}},
        {"audio outside any par",
         "<audio src=\"a.mp3\" clip-begin=\"npt=1s\" clip-end=\"npt=2s\"/>\n"
         "<audio src=\"b.mp3\" clip-begin=\"npt=2s\" clip-end=\"npt=3s\"/>",
         {"0|||||b.mp3|2|3|"}},
    };
    for (const auto& c : cases) {
        MemoryBook book;
        book.files["ncc.html"] = OneHeading();
        book.files["a.smil"] = Smil(c.body);
        BookModel m;
        const auto r = Load(book, m);
        EXPECT_EQ(Phrases(m), c.rows) << c.name;
        EXPECT_TRUE(r.features.textDocuments || c.rows.first().contains("||||"));
    }
}

TEST(SmilReader, FeaturesFromTheMarkup) {
    MemoryBook book;
    book.files["ncc.html"] = OneHeading();
    book.files["a.smil"] = Smil("<par id=\"p\" system-required=\"footnote-on\">\n"
                                "<text src=\"ncc.html#h1\" id=\"x\"/>\n</par>\n"
                                "<par id=\"q\" system-required=\"pagenumber-on\">\n</par>");
    BookModel m;
    const auto r = Load(book, m);
    EXPECT_TRUE(r.features.footnotes);
    EXPECT_TRUE(r.features.pageNumbers);
    EXPECT_FALSE(r.features.sidebars);
    EXPECT_FALSE(r.features.audio);
    EXPECT_FALSE(r.features.textDocuments); // the text points into the NCC itself
    for (const auto& [path, ncc] : {std::pair(u"/b/NCC.HTML", true),
                                    {u"Ncc.html", true},
                                    {u"/b/myncc.html", false},
                                    {u"/ncc.html/t.html", false},
                                    {u"/b/Nav.NCX", true},
                                    {u"/b/ncx.xml", false}})
        EXPECT_EQ(IsNavigationDocument(path), ncc) << QString::fromUtf16(path).toStdString();
}

// "Zeit" comes from the file (padded), else from the last file that had it; "Zeit verg." from
// the file, else the running sum of the headings before.
TEST(SmilReader, HeadingTimes) {
    MemoryBook book;
    book.files["ncc.html"] = Ncc("<h1><a href=\"a.smil#1\">A</a></h1>\n"
                                 "<h1><a href=\"b.smil#1\">B</a></h1>\n"
                                 "<h1><a href=\"c.smil#1\">C</a></h1>\n"
                                 "<h1><a href=\"d.smil#1\">D</a></h1>\n"
                                 "<h1><a href=\"missing.smil#1\">E</a></h1>");
    const auto time = [](const char* value) {
        return QByteArray("<meta name=\"ncc:timeInThisSmil\" content=\"") + value + "\"/>";
    };
    book.files["a.smil"] = Smil("", time("0:01:00"));
    book.files["b.smil"] = Smil("", time("0:02:30"));
    book.files["c.smil"] = Smil("", time("0:00:10"));
    book.files["d.smil"] = Smil("", "<meta name=\"ncc:total-elapsed-time\" content=\"25\"/>");
    BookModel m;
    Load(book, m);
    const QStringList zeit = {"00:01:00", "00:02:30", "00:00:10", "00:00:10", ""};
    const QStringList elapsed = {"00:00:00", "00:01:00", "00:03:30", "025", ""};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(m.m_lstTitles.Text(r, col::kTime), zeit[r]) << r;
        EXPECT_EQ(m.m_lstTitles.Text(r, col::kElapsed), elapsed[r]) << r;
    }
}

TEST(SmilReader, ClockValuesAndClipTimes) {
    const struct {
        const char* text;
        double seconds;
    } cases[] = {
        {"01:02:03.250", 3723.25},
        {"0:00:25.487", 25.487},
        {"1:00:00.5", 3600.005},
        {"", 0.0},
        {"12", 0.0},
        {"1:2", 0.0},
        {"::", 0.0},
        {"0:0:12345678901", 1234567.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseClock(c.text, 7, true), c.seconds) << c.text;
    EXPECT_EQ(
        scan::ExtractClipTime(R"(<audio clip-begin="npt=12.345s" clip-end="npt=20s"/>)", true),
        "12.345");
    EXPECT_EQ(
        scan::ExtractClipTime(R"(<audio clip-begin="npt=12.345s" clip-end="npt=20s"/>)", false),
        "20");
    EXPECT_EQ(scan::ExtractClipTime("<audio src=\"a\"/>", true), "");
    EXPECT_EQ(scan::ExtractFragment("a.html#x\" id"), "x");
    EXPECT_EQ(scan::ExtractFragment("a.html#x"), "x");
    EXPECT_EQ(scan::ExtractFragment("a.html"), "");
}

// Phrases read right after an NCC entry with a rel attribute are a part change, up to the
// first end of a par.
TEST(SmilReader, RelAttributeMarksAPartChange) {
    MemoryBook book;
    book.files["ncc.html"] = Ncc("<h1><a href=\"a.smil#1\" rel=\"next\">A</a></h1>");
    book.files["a.smil"] = Smil("<par id=\"p1\">\n</par>\n<par id=\"p2\">\n</par>");
    BookModel m;
    Load(book, m);
    EXPECT_EQ(m.m_lstPhrases.Text(0, col::kSkip), "change");
    EXPECT_EQ(m.m_lstPhrases.Text(1, col::kSkip), "");
}

} // namespace
} // namespace tolvaro
