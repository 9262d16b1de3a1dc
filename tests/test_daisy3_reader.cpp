// DAISY 3 books: the package, the NCX and the SMIL files, read into the book tables.
#include "MemoryBook.h"
#include "Printers.h"
#include "daisy3/Daisy3Loader.h"

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

using test::MemoryBook;
using test::Row;

QByteArray Nav(const QByteArray& label, const QByteArray& src, const QByteArray& children = {}) {
    return "<navPoint id='n" + label + "'><navLabel><text> " + label +
           " </text></navLabel><content src='" + src + "'/>" + children + "</navPoint>";
}

// book.opf naming nav.ncx and s0.smil, s1.smil... in spine order; each SMIL body in a seq.
MemoryBook Book(const QByteArray& ncxBody, const std::vector<QByteArray>& smils) {
    MemoryBook book;
    QByteArray manifest, spine;
    for (std::size_t i = 0; i < smils.size(); ++i) {
        const QByteArray n = QByteArray::number(static_cast<int>(i));
        manifest += "<item id='s" + n + "' href='s" + n + ".smil' media-type='application/smil'/>";
        spine += "<itemref idref='s" + n + "'/>";
        book.files["s" + n + ".smil"] =
            "<smil><head/><body><seq>" + smils[i] + "</seq></body></smil>";
    }
    book.files["book.opf"] =
        "<?xml version='1.0'?><!DOCTYPE package PUBLIC '+//x//EN' 'http://example.org/x.dtd'>"
        "<package unique-identifier='uid'><metadata><dc-metadata xmlns:dc='http://purl.org/dc/"
        "elements/1.1/'><dc:Identifier id='uid'>U</dc:Identifier><dc:title>T</dc:title><dc:Date>"
        "2020</dc:Date><dc:Identifier>other</dc:Identifier></dc-metadata><x-metadata><meta "
        "name='dtb:totalTime' content='1:02:03'/></x-metadata></metadata><manifest>" +
        manifest +
        "<item id='ncx' href='nav.ncx' media-type='application/x-dtbncx+xml'/></manifest><spine>" +
        spine + "<itemref idref='missing'/></spine></package>";
    book.files["nav.ncx"] =
        "<ncx><docTitle><text>Doc\n title</text></docTitle>" + ncxBody + "</ncx>";
    return book;
}

struct Read {
    bool ok;
    QStringList headings, phrases, pages;
    BookMeta meta;
    BookFeatures features;
    int spineFiles = 0, filesRead = 0; // as the progress heard
};

Read Load(const MemoryBook& book) {
    BookModel m;
    Daisy3Loader loader(m, QStringLiteral("/book/"), QStringLiteral("book.opf"), book.Reader());
    test::NullProgress progress;
    Read r{
        loader.LoadBook(progress), {}, {}, {}, loader.Meta(), loader.Features(), progress.maximum,
        progress.position};
    for (int i = 0; i < m.m_lstTitles.RowCount(); ++i)
        r.headings << Row(m.m_lstTitles, i);
    for (int i = 0; i < m.m_lstPhrases.RowCount(); ++i)
        r.phrases << Row(m.m_lstPhrases, i).replace(QStringLiteral("/book/"), QString());
    for (int i = 0; i < m.m_lstPages.RowCount(); ++i)
        r.pages << Row(m.m_lstPages, i);
    EXPECT_EQ(m.m_treeTitles.Count(), m.m_lstTitles.RowCount());
    return r;
}

const QByteArray kPar = "<par id='p1'><text id='t1' src='b.xml#d1'/><audio src='a.mp3' "
                        "clipBegin='0:00:01' clipEnd='2.5s'/></par>";

TEST(Daisy3Reader, HeadingsAndPhrases) {
    const struct {
        const char* name;
        QByteArray ncx;
        std::vector<QByteArray> smils;
        QStringList headings, phrases;
    } cases[] = {
        {"a par's own target, nested; a depth past 6 is 6",
         "<navMap>" + Nav("A", "s0.smil#p1", Nav("B", "s1.smil#p2")) + "</navMap>",
         {kPar, "<par id='p2'><audio src='b.mp3' clipBegin='120ms' clipEnd='00:01.5'/></par>"},
         {"1|A|s0.smil|00:00:02|00:00:00|0", "2|B|s1.smil|00:00:01|00:00:02|1"},
         {"0|p1|b.xml|d1|t1|a.mp3|1.000|2.500|", "1|p2||||b.mp3|0.120|1.500|"}},
        {"what plays before the first target is the docTitle's heading",
         "<navMap>" + Nav("A", "S1.SMIL#t2") + "</navMap>",
         {kPar, "<par id='p2'><text id='t2' src='b.xml#d2'/></par>"},
         {"1|Doc title|s0.smil|00:00:02|00:00:00|0", "1|A|S1.SMIL|00:00:00|00:00:02|1"},
         {"0|p1|b.xml|d1|t1|a.mp3|1.000|2.500|", "1|p2|b.xml|d2|t2||||"}},
        {"a seq's target; clips in a seq; missing clip values; audio outside a par",
         "<navMap>" + Nav("A", "s0.smil#q") + "</navMap>",
         {"<seq id='q'><par id='p'><seq><audio src='a.mp3' clipEnd='1h'/><audio src='a.mp3' "
          "clipBegin='bad'/></seq></par></seq><audio src='c.mp3' clipBegin='3' clipEnd='4'/>"
          "<audio src='c.mp3' clipEnd='0s'/>"},
         {"1|A|s0.smil|01:00:01|00:00:00|0"},
         {"0|p|nav.ncx|nA||a.mp3|0.000|3600.000|", "0|p|nav.ncx|nA||a.mp3|0.000|86400.000|",
          "0||nav.ncx|nA||c.mp3|3.000|4.000|", "0||nav.ncx|nA||c.mp3|0.000|0.000|"}},
        {"skippable content by its customTest, the par's own or its seq's",
         "<navMap>" + Nav("A", "s0.smil#a") + "</navMap>",
         {"<par id='a'/><seq customTest='pagenum'><par id='b'/><par id='c' customTest='note'/>"
          "</seq><par id='d' customTest='sidebar'/><par id='e' customTest='prodnote'/>"},
         {"1|A|s0.smil|00:00:00|00:00:00|0"},
         {"0|a|nav.ncx|nA|||||", "0|b|nav.ncx|nA|||||pagenumber", "0|c|nav.ncx|nA|||||footnote",
          "0|d|nav.ncx|nA|||||sidebar", "0|e|nav.ncx|nA|||||prodnote"}},
        {"a book without text shows its NCX, each phrase at its navPoint",
         "<navMap>" + Nav("A", "s0.smil#p1") + "</navMap>",
         {"<par id='p0'><audio src='a.mp3' clipEnd='1'/></par><par id='p1'/>"},
         {"1|Doc title|s0.smil|00:00:01|00:00:00|0", "1|A|s0.smil|00:00:00|00:00:01|1"},
         {"0|p0|nav.ncx|||a.mp3|0.000|1.000|", "1|p1|nav.ncx|nA|||||"}},
        {"nesting past six levels is level 6; a target never reached has no phrases",
         "<navMap>" +
             Nav("1", "s0.smil#p1",
                 Nav("2", "x",
                     Nav("3", "x", Nav("4", "x", Nav("5", "x", Nav("6", "x", Nav("7", "x"))))))) +
             "</navMap>",
         {kPar},
         {"1|1|s0.smil|00:00:02|00:00:00|0", "2|2|x|00:00:00|00:00:02|1",
          "3|3|x|00:00:00|00:00:02|2", "4|4|x|00:00:00|00:00:02|3", "5|5|x|00:00:00|00:00:02|4",
          "6|6|x|00:00:00|00:00:02|5", "6|7|x|00:00:00|00:00:02|6"},
         {"0|p1|b.xml|d1|t1|a.mp3|1.000|2.500|"}},
    };
    for (const auto& c : cases) {
        const Read r = Load(Book(c.ncx, c.smils));
        ASSERT_TRUE(r.ok) << c.name;
        EXPECT_EQ(r.headings, c.headings) << c.name;
        EXPECT_EQ(r.phrases, c.phrases) << c.name;
    }
}

TEST(Daisy3Reader, HeadFeaturesAndPages) {
    const Read r =
        Load(Book("<navMap>" + Nav("A", "s0.smil#p1") + Nav("B", "s1.smil#x") +
                      "</navMap><pageList><pageTarget type='normal'><navLabel><text>iv"
                      "</text></navLabel><content src='s1.smil#t9'/></pageTarget>"
                      "<pageTarget><navLabel><text>5</text></navLabel><content "
                      "src='gone.smil#z'/></pageTarget></pageList>",
                  {kPar, "<par id='x'/><par id='y'><text id='t9' src='b.xml#q'/></par>"}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pages, (QStringList{"iv|s1.smil|t9|1", "5|gone.smil|z|"}));
    EXPECT_EQ(r.meta.identifier, "U");
    EXPECT_EQ(r.meta.title, "T");
    EXPECT_EQ(r.meta.date, "2020");
    EXPECT_EQ(r.meta.tocItems, "2");
    EXPECT_EQ(r.meta.totalTime, "1:02:03");
    EXPECT_TRUE(r.features.pages && r.features.audio && r.features.textDocuments);
    EXPECT_FALSE(r.features.footnotes || r.features.groups);
    EXPECT_EQ(r.spineFiles, 2); // the spine's item missing from the manifest is no file
    EXPECT_EQ(r.filesRead, 2);
    // Without text the NCX is shown: no text documents to search.
    EXPECT_FALSE(
        Load(Book("<navMap/>", {"<par><audio src='a.mp3'/></par>"})).features.textDocuments);
    const auto head =
        Daisy3Loader::ReadBookHead("/book/", "book.opf", Book("<navMap/>", {}).Reader());
    ASSERT_TRUE(head);
    EXPECT_EQ(head->identifier, "U");
    EXPECT_EQ(head->tocItems, "0");
}

// What cannot be read opens no book, and hostile markup neither hangs nor grows.
TEST(Daisy3Reader, DamagedAndHostileFiles) {
    const auto with = [](const char* name, const QByteArray& bytes) {
        MemoryBook book = Book("<navMap>" + Nav("A", "s0.smil#p1") + "</navMap>", {kPar});
        if (bytes.isNull())
            book.files.remove(name);
        else
            book.files[name] = bytes;
        return Load(book);
    };
    EXPECT_FALSE(with("book.opf", {}).ok);
    EXPECT_FALSE(with("book.opf", "<package><manifest>").ok); // no NCX named
    EXPECT_FALSE(with("nav.ncx", {}).ok);
    EXPECT_FALSE(with("nav.ncx", "<ncx><navMap></ncx>").ok);
    EXPECT_FALSE(with("nav.ncx", "not xml").ok);
    EXPECT_FALSE(with("nav.ncx", "<html><navMap/></html>").ok); // no NCX
    const Read badSmil = with("s0.smil", "<smil><par id='p1'></smil>");
    EXPECT_TRUE(badSmil.ok);
    EXPECT_TRUE(badSmil.phrases.isEmpty());
    QByteArray bomb = "<!DOCTYPE ncx [<!ENTITY a 'aaaaaaaaaa'>";
    for (char e = 'b'; e <= 'j'; ++e)
        bomb += QByteArray("<!ENTITY ") + e + " '" + QByteArray("&") + char(e - 1) + ";" +
                QByteArray("&").append(char(e - 1)).append(';').repeated(9) + "'>";
    bomb += "]><ncx><docTitle><text>&j;</text></docTitle><navMap/></ncx>";
    const Read bombed = with("nav.ncx", bomb);
    EXPECT_LT(bombed.headings.join("").size(), 1'000'000);
    const QByteArray deep = QByteArray("<seq>").repeated(100'000);
    EXPECT_TRUE(with("s0.smil", "<smil><body>" + deep + kPar).ok);
}

TEST(Daisy3Reader, ClockValues) {
    const struct {
        const char* text;
        std::optional<double> seconds;
    } cases[] = {
        {"0:00:03.172", 3.172},    {"123:00:00", 442800.0},
        {"00:01.5", 1.5},          {"5.123s", 5.123},
        {"120ms", 0.12},           {"2.5min", 150.0},
        {"0.5h", 1800.0},          {" 12 ", 12.0},
        {"", std::nullopt},        {"abc", std::nullopt},
        {"1:2:3:4", std::nullopt}, {"-1s", std::nullopt},
        {"1:-2", std::nullopt},    {"1e300s", std::nullopt},
        {"inf", std::nullopt},     {"9999:00:00", std::nullopt},
        {"1::2", std::nullopt},    {"2400:00:00", 8640000.0},
    };
    for (const auto& c : cases) {
        const std::optional<double> got = daisy3::ParseClockValue(QString::fromUtf8(c.text));
        ASSERT_EQ(got.has_value(), c.seconds.has_value()) << c.text;
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *c.seconds) << c.text;
        }
    }
}

} // namespace
} // namespace tolvaro
