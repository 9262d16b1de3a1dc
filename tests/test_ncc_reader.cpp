#include "MemoryBook.h"
#include "Printers.h"

#include "daisy202/LineSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tolvaro {
namespace {

using test::Load;
using test::MemoryBook;
using test::Ncc;
using test::Row;

QStringList Headings(const BookModel& m) {
    QStringList rows;
    for (int r = 0; r < m.m_lstTitles.RowCount(); ++r)
        rows.append(m.m_lstTitles.Text(r, col::kLevel) + ":" + m.m_lstTitles.Text(r, col::kTitle) +
                    ":" + m.m_lstTitles.Text(r, col::kSmil));
    return rows;
}

TEST(NccReader, Headings) {
    const struct {
        const char* name;
        QByteArray body;
        QStringList headings;
    } cases[] = {
        {"a plain heading",
         R"(<h1 class="title" id="h1"><a href="x_0001.smil#tx1">Title</a></h1>)",
         {"1:Title:x_0001.smil"}},
        {"one skipped level is closed up",
         "<h1><a href=\"a.smil#1\">A</a></h1>\n<h3><a href=\"b.smil#1\">B</a></h3>\n"
         "<h3><a href=\"c.smil#1\">C</a></h3>",
         {"1:A:a.smil", "2:B:b.smil", "3:C:c.smil"}},
        {"nothing after the body's end",
         "<h1><a href=\"a.smil#1\">A</a></h1>\n</body>\n<h1><a href=\"z.smil#1\">Z</a></h1>",
         {"1:A:a.smil"}},
        {"bigger jumps stay",
         "<h1><a href=\"a.smil#1\">A</a></h1>\n<h4><a href=\"b.smil#1\">B</a></h4>",
         {"1:A:a.smil", "4:B:b.smil"}},
        {"closing tag on the next line",
         "<h2 id=\"x\"><a href=\"a.smil#1\">Long\ntitle</a>\n</h2>",
         {"2:Longtitle:a.smil"}},
        {"an empty element is no heading", "<h1/>", {}},
        {"hr before a heading on one line",
         "<hr/><h1><a href=\"a.smil#1\">A</a></h1>",
         {"1:A:a.smil"}},
        {"a heading never closed keeps what was read",
         "<h1><a href=\"a.smil#1\">A</a>\n<p>more",
         {"1:A:a.smil"}},
        {"upper-case tags, link without .smil",
         "<H1><a href=\"A.SMIL#1\">A</a></H1>",
         {"1:A:A.SMIL#1\">A</a></H1>"}},
        {"no link opening", "<h1>Plain</h1>", {"1::"}},
    };
    for (const auto& c : cases) {
        MemoryBook book;
        book.files["ncc.html"] = Ncc(c.body);
        BookModel m;
        ASSERT_TRUE(Load(book, m).ok);
        EXPECT_EQ(Headings(m), c.headings) << c.name;
        EXPECT_EQ(m.m_treeTitles.Count(), c.headings.size()) << c.name;
    }
    // A file without a head is read all the same.
    MemoryBook bare;
    bare.files["ncc.html"] =
        "<html>\n<body>\n<h1><a href=\"a.smil#1\">A</a></h1>\n</body>\n</html>\n";
    BookModel m;
    ASSERT_TRUE(Load(bare, m).ok);
    EXPECT_EQ(Headings(m), QStringList{"1:A:a.smil"});
}

// A heading never closed joins the rest of the file once, each piece lowered and searched once:
// these shapes take minutes when every joined piece has the whole join searched again.
TEST(NccReader, UnclosedHeadingsJoinInLinearTime) {
    QByteArray lines = "<h1><a href=\"a.smil#1\">A</a>\n";
    for (int i = 0; i < 400000; ++i)
        lines += "more text\n";
    const QByteArray nested = "<h1><a href=\"b.smil#1\">B</a>" + QByteArray("<h1>").repeated(50000);
    for (const QByteArray& body : {lines, nested}) {
        MemoryBook book;
        book.files["ncc.html"] = Ncc(body);
        BookModel m;
        ASSERT_TRUE(Load(book, m).ok);
        EXPECT_EQ(m.m_lstTitles.RowCount(), 1);
    }
}

// Books whose markup puts everything on one line read like those with one element per line.
TEST(NccReader, OneLineBodyReadsLikeManyLines) {
    const QByteArray lines =
        "<h1 id=\"a\"><a href=\"a.smil#1\">One</a></h1>\n"
        "<span class=\"page-normal\" id=\"p1\"><a href=\"a.smil#p1\">1</a></span>\n"
        "<h2 id=\"b\"><a href=\"b.smil#1\">Two</a></h2>\n"
        "<div class=\"group\"><a href=\"b.smil#g\">Group</a></div>\n"
        "<h1 id=\"c\"><a href=\"c.smil#1\">Three</a></h1>";
    const QByteArray head = "<meta name=\"dc:title\" content=\"T\"/>\n"
                            "<meta name=\"ncc:tocItems\" content=\"4\"/>";
    MemoryBook many, one;
    many.files["ncc.html"] = Ncc(lines, head);
    one.files["ncc.html"] = QByteArray(Ncc(lines, head)).replace('\n', "");
    BookModel a, b;
    const auto ra = Load(many, a), rb = Load(one, b);
    EXPECT_EQ(Headings(a), Headings(b));
    EXPECT_EQ(Headings(b).size(), 3);
    EXPECT_EQ(Row(a.m_lstPages, 0), Row(b.m_lstPages, 0));
    EXPECT_EQ(Row(a.m_lstGroups, 0), Row(b.m_lstGroups, 0));
    EXPECT_EQ(rb.meta.title, "T");
    EXPECT_EQ(rb.meta.tocItems, "4");
}

TEST(NccReader, PagesAndGroups) {
    MemoryBook book;
    book.files["ncc.html"] =
        Ncc("<span class=\"page-front\" id=\"p0\"><a href=\"x_0001.smil#p0\">i</a></span>\n"
            "<h1><a href=\"x_0001.smil#1\">A</a></h1>\n"
            "<span class=\"page-normal\" id=\"p5\">\n<a href=\"x_0003.smil#p5\">5</a>\n</span>\n"
            "<div class=\"group\"><a href=\"x_0003.smil#g1\">Erste</a></div>\n"
            "<div class=\"group\"><a href=\"x_0004.smil#g2\">Zweite</a></div>\n"
            "<span class=\"noteref\"><a href=\"x.smil#n\">1</a></span>");
    BookModel m;
    const auto r = Load(book, m);
    ASSERT_EQ(m.m_lstPages.RowCount(), 2);
    EXPECT_EQ(Row(m.m_lstPages, 0), "i|x_0001.smil|p0|"); // before the first heading
    EXPECT_EQ(Row(m.m_lstPages, 1), "5|x_0003.smil|p5|0");
    ASSERT_EQ(m.m_lstGroups.RowCount(), 2);
    EXPECT_EQ(Row(m.m_lstGroups, 0), "Erste|x_0003.smil|g1|0");
    EXPECT_EQ(Row(m.m_lstGroups, 1), "Zweite|x_0004.smil|g2|0");
    EXPECT_TRUE(r.features.pages);
    EXPECT_TRUE(r.features.groups);
}

// A page span is a span whose class begins with "page", whatever the order of its attributes.
TEST(NccReader, PageSpansInAnyAttributeOrder) {
    const struct {
        const char* opening;
        int pages;
    } cases[] = {
        {"<span class=\"page-normal\" id=\"p1\">", 1},
        {"<span id=\"p1\" class=\"page-normal\">", 1},
        {"<span id='p1' class='page-special'>", 1},
        {"<SPAN ID=\"p1\"\tCLASS = \"Page-Front\">", 1},
        {"<span id=p1 class=page-normal>", 1},
        {"<span class=\"noteref\"><a href=\"n.smil#n\">n</a></span><span id=\"p1\" class=\"page\">",
         1},
        {"<span id=\"p1\" class=\"noteref\">", 0},
        {"<span id=\"p1\" subclass=\"page\">", 0},
        {"<span id=\"p1\" class=\"x\"><span>", 0},
        {"<div id=\"p1\" class=\"page-normal\">", 0},
    };
    for (const auto& c : cases) {
        MemoryBook book;
        book.files["ncc.html"] =
            Ncc(QByteArray(c.opening) + "<a href=\"x_0003.smil#p1\">7</a></span>\n");
        BookModel m;
        Load(book, m);
        ASSERT_EQ(m.m_lstPages.RowCount(), c.pages) << c.opening;
        if (c.pages == 1) {
            EXPECT_EQ(Row(m.m_lstPages, 0), "7|x_0003.smil|p1|") << c.opening;
        }
    }
}

TEST(NccReader, HeadValues) {
    MemoryBook book;
    book.files["ncc.html"] = Ncc("<h1><a href=\"a.smil#1\">K\xc3\xa4se</a></h1>",
                                 "<meta name=\"dc:title\" content=\"K\xc3\xa4se\"/>\n"
                                 "<meta name=\"dc:identifier\" content=\"first\"/>\n"
                                 "<meta name=\"ncc:identifier\" content=\"second\"/>\n"
                                 "<meta name=\"ncc:setInfo\"/>\n"
                                 "<meta name=\"ncc:charset\" content=\"UTF-8\"/>");
    BookModel m;
    const auto r = Load(book, m);
    EXPECT_EQ(r.meta.date, "00-00-0000");
    EXPECT_EQ(r.meta.identifier, "second");
    EXPECT_EQ(r.meta.setInfo, "");
    EXPECT_EQ(r.meta.title, QString::fromLatin1("K\xc3\xa4se")); // as read, byte by byte
    EXPECT_EQ(m.m_lstTitles.Text(0, col::kTitle), QString::fromUtf8("Käse")); // decoded
    EXPECT_EQ(r.codePage, 65001u);

    const auto head = CA_Daisy::ReadBookHead("/book/", book.Reader());
    ASSERT_TRUE(head.has_value());
    EXPECT_EQ(head->identifier, "second");
    EXPECT_FALSE(CA_Daisy::ReadBookHead("/nowhere/", book.Reader()).has_value());
}

TEST(NccReader, ProgressAndMissingNcc) {
    MemoryBook book;
    book.files["ncc.html"] =
        Ncc("<h1><a href=\"a.smil#1\">A</a></h1>\n<h1><a href=\"b.smil#1\">B</a></h1>",
            "<meta name=\"ncc:tocItems\" content=\"2\"/>");
    BookModel m;
    test::NullProgress progress;
    Load(book, m, &progress);
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(progress.position, 2);
    EXPECT_EQ(progress.last, "2 von 2");
    test::NullProgress english;
    Load(book, m, &english, 200);
    EXPECT_EQ(english.last, "2 of 2");
    // A count too large for any number type is the largest one the progress bar takes.
    book.files["ncc.html"] =
        Ncc("<h1><a href=\"a.smil#1\">A</a></h1>",
            "<meta name=\"ncc:tocItems\" content=\"99999999999999999999999\"/>");
    test::NullProgress huge;
    Load(book, m, &huge);
    EXPECT_EQ(huge.maximum, 2147483647);
    EXPECT_EQ(huge.last, "1 von 2147483647");

    MemoryBook empty;
    EXPECT_FALSE(Load(empty, m).ok);
    EXPECT_EQ(m.m_lstTitles.RowCount(), 0);
    EXPECT_EQ(m.m_treeTitles.Count(), 0);
}

} // namespace
} // namespace tolvaro
