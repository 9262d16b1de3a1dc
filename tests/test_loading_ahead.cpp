// Reading SMIL files ahead: the cell store they are scanned into, the prefetcher, and that a
// scan taken in gives exactly the tables of reading the file in turn.
#include "book/BlockMemory.h"
#include "book/BookFiles.h"
#include "book/BookModel.h"
#include "book/ByteSearch.h"
#include "book/CellStore.h"
#include "book/FilePrefetch.h"
#include "book/LineSource.h"
#include "book/ReaderState.h"
#include "book/SmilReader.h"

#include "Printers.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>

namespace tolvaro {
namespace {

QStringList Dump(const CellStore& cells) {
    QStringList rows;
    for (int r = 0; r < cells.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < cells.ColumnCount(); ++c)
            row.append(cells.Text(r, c));
        rows.append(row.join(u'|'));
    }
    return rows;
}

// Random texts over a small alphabet, so that partial matches abound, at every length around
// the sixteen-byte blocks.
TEST(ByteSearch, FindsWhatTheStandardSearchFinds) {
    std::mt19937 random(7);
    const auto text = [&random](std::size_t length) {
        std::string t(length, ' ');
        for (char& c : t)
            c = "ab<\n"[random() % 4];
        return t;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string hay = text(random() % 70);
        const std::string needle = text(1 + random() % 4);
        const std::size_t from = random() % 72;
        ASSERT_EQ(FindText(hay, needle), std::string_view(hay).find(needle))
            << hay << "|" << needle;
        ASSERT_EQ(FindByte(hay, needle[0], from), std::string_view(hay).find(needle[0], from))
            << hay << "|" << needle[0] << "|" << from;
    }
    // Without regard to case, A to Z only: letters whose bytes differ from others by 0x20 only.
    const auto mixed = [&random](std::size_t length) {
        std::string t(length, ' ');
        for (char& c : t)
            c = "aAtT-\r@`"[random() % 8];
        return t;
    };
    const auto lower = [](std::string s) {
        for (char& c : s)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string hay = mixed(random() % 70);
        const std::string needle = lower(mixed(random() % 5));
        ASSERT_EQ(ContainsNoCase(hay, needle), lower(hay).find(needle) != std::string::npos)
            << hay << "|" << needle;
    }
}

TEST(CellStore, TextsOfEveryLengthSurviveSettingCopyingAndTakingOver) {
    const QString texts[] = {
        {},
        QStringLiteral("a"),
        QStringLiteral("seven c"),
        QStringLiteral("eight ch"),
        QStringLiteral("sixteen characte"),
        QStringLiteral("Überlänge mit siebzehn+"),
        QString(65536, u'x'),
        QString(65537, u'y'), // longer than a block: one of its own
        QStringLiteral("日本語"),
    };
    for (bool small : {false, true}) {
        auto memory = std::make_shared<BlockMemory>(); // shared with a store filled after it
        CellStore store(2, small, memory);
        for (const QString& t : texts) {
            const int row = store.InsertRow(store.RowCount());
            store.SetText(row, 0, t);
            if (t.size() < 100 && t.toLatin1() == t.toUtf8())
                store.SetLatin1(row, 1, QLatin1StringView(t.toLatin1()));
            else
                store.SetText(row, 1, t);
            store.SetText(row, 0, t); // set again: shared with the last text
        }
        store.InsertRow(1); // in the middle: the rows after it move down
        store.CopyCell(0, 1, 1);
        store.Shrink();
        store.SetText(1, 0, QStringLiteral("after shrinking"));

        CellStore whole(2);
        whole.InsertRow(0);
        whole.SetText(0, 0, QStringLiteral("own"));
        whole.SetText(0, 1, QString(70000, u'z')); // its own long text comes first
        whole.AppendRows(std::move(store), 1, QStringLiteral("fill"));
        CellStore next(2, small, memory);
        next.SetText(next.InsertRow(0), 0, QStringLiteral("next"));
        memory.reset(); // the table keeps what it took over
        whole.AppendRows(std::move(next), 1, QStringLiteral("fill"));
        ASSERT_EQ(whole.RowCount(), 12) << small;
        EXPECT_EQ(whole.Text(11, 0), "next");
        EXPECT_EQ(store.RowCount(), 0);
        EXPECT_EQ(whole.Text(0, 0), "own");
        EXPECT_EQ(whole.Text(0, 1), QString(70000, u'z'));
        EXPECT_EQ(whole.Text(2, 0), "after shrinking");
        for (int i = 0; i < static_cast<int>(std::size(texts)); ++i) {
            const int row = 1 + (i == 0 ? 0 : i + 1);
            EXPECT_EQ(whole.TextView(row, 0), texts[i]) << small << " text " << i;
            EXPECT_EQ(whole.TextView(row, 1), u"fill") << small << " text " << i;
        }
        whole.SetText(0, 1, QStringLiteral("written after taking over"));
        EXPECT_EQ(whole.Text(0, 1), "written after taking over");
    }
}

// A row handle keeps to its row while rows are appended past the end of its chunk.
TEST(CellStore, RowHandlesOutliveAppendedRows) {
    for (bool small : {false, true}) {
        CellStore store(3, small);
        EXPECT_FALSE(store.RowAt(0)) << small;
        const CellStore::Row first = store.RowAt(store.InsertRow(0));
        store.SetLatin1(first, 0, QLatin1StringView("first"));
        store.SetText(first, 2, u"zwei");
        store.SetLatin1(first, 3, QLatin1StringView("no such column"));
        CellStore::Row last;
        for (int i = 1; i < 3000; ++i) // several chunks
            last = store.RowAt(store.InsertRow(i));
        store.CopyCell(first, 0, last, 1);
        store.CopyCell(first, 2, first, 1);
        store.CopyCell(first, 0, CellStore::Row(), 0); // to no row: nothing
        EXPECT_EQ(store.Text(0, 0), "first") << small;
        EXPECT_EQ(store.Text(0, 1), "zwei") << small;
        EXPECT_EQ(store.Text(2999, 1), "first") << small;
        EXPECT_EQ(store.Text(1500, 1), "") << small;
        EXPECT_FALSE(store.RowAt(3000)) << small;
        EXPECT_FALSE(store.RowAt(-1)) << small;
    }
}

// Pieces of every size around the region sizes: aligned, apart, writable to their end; only the
// last piece is shortened.
TEST(BlockMemory, PiecesAreApartAndOnlyTheLastIsShortened) {
    BlockMemory memory;
    std::vector<std::pair<char*, std::size_t>> pieces;
    for (std::size_t bytes :
         {std::size_t{1}, std::size_t{15}, std::size_t{64} << 10, (std::size_t{256} << 10) + 1,
          std::size_t{2} << 20, (std::size_t{5} << 20) + 3, std::size_t{100}}) {
        auto* p = static_cast<char*>(memory.Take(bytes));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0U) << bytes;
        std::memset(p, static_cast<int>(pieces.size()), bytes);
        pieces.emplace_back(p, bytes);
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto [p, bytes] = pieces[i];
        EXPECT_EQ(p[0], static_cast<char>(i));
        EXPECT_EQ(p[bytes - 1], static_cast<char>(i));
    }
    memory.Shorten(pieces[0].first, pieces[0].second, 0); // not the last: it stays
    memory.Shorten(pieces.back().first, pieces.back().second, 16);
    auto* next = static_cast<char*>(memory.Take(8));
    EXPECT_EQ(next, pieces.back().first + 16);
    EXPECT_EQ(pieces[0].first[0], 0);
}

// The loader's files, counted; "slow" ones yield to the other threads first.
struct CountingReader {
    QMap<QString, QByteArray> files;
    std::shared_ptr<std::atomic<int>> reads = std::make_shared<std::atomic<int>>(0);
    BookFileReader Reader() const {
        return [files = files, reads = reads](const QString& path) -> std::optional<QByteArray> {
            ++*reads;
            if (!files.contains(path))
                return std::nullopt;
            return files.value(path);
        };
    }
};

TEST(FilePrefetch, GivesWhatTheReaderGivesWhateverTheOrderOfAsking) {
    CountingReader r;
    for (int i = 0; i < 60; ++i)
        r.files.insert(QStringLiteral("f%1").arg(i), QByteArray::number(i));
    std::vector<QString> expected;
    for (int i = 0; i < 60; ++i)
        expected.push_back(QStringLiteral("f%1").arg(i));
    expected.push_back(QStringLiteral("missing"));
    const struct {
        const char* name;
        std::vector<QString> asked;
    } cases[] = {
        {"in order", {"f0", "f1", "f2", "f3"}},
        {"skipping some", {"f0", "f5", "f6", "f40"}},
        {"unexpected and repeated", {"f2", "f2", "other", "f1", "f3"}},
        {"far ahead is read directly", {"f50", "f0"}},
        {"missing ones", {"missing", "f59", "missing"}},
    };
    for (const auto& c : cases) {
        for (int workers : {0, 1, 3}) {
            const FilePrefetch::Prepare prepare = [](const QByteArray& bytes, ScanTools&) {
                SmilScan scan(1);
                scan.elapsed = QString::fromLatin1(bytes);
                return scan;
            };
            FilePrefetch files(r.Reader(), expected, prepare, workers);
            for (const QString& path : c.asked) {
                const PreparedFile file = files.Take(path);
                const std::optional<QByteArray> direct = r.Reader()(path);
                if (file.scan) { // a scanned file comes without its bytes
                    ASSERT_TRUE(direct) << c.name;
                    EXPECT_EQ(file.scan->elapsed, QString::fromLatin1(*direct)) << c.name;
                    EXPECT_FALSE(file.bytes) << c.name;
                } else {
                    EXPECT_EQ(file.bytes, direct)
                        << c.name << " " << workers << " " << path.toStdString();
                }
            }
        } // the destructor stops the workers wherever they are
    }
}

TEST(FilePrefetch, LinkedSmilFilesFollowTheLinksOnce) {
    const QByteArray ncc = "<h1><a href=\"a.smil#1\">A</a></h1>\n<a href=\"a.smil#2\">p</a>\n"
                           "<h2><a href=\"b.smil#x\">B</a></h2><a href=\"nope.html\">n</a>"
                           "<a href=\"a.smil#3\">A</a><a href=\"unclosed.smil";
    const std::vector<QString> want = {"/b/a.smil", "/b/b.smil", "/b/a.smil"};
    EXPECT_EQ(LinkedSmilFiles(ncc, QStringLiteral("/b/")), want);
}

// A SMIL file read in turn, or scanned on its own and taken in: the same tables and state.
TEST(SmilScan, TakenInLikeReadingInTurn) {
    const QByteArray par = "<par id=\"p1\">\n<text src=\"t.html#f1\" id=\"x1\"/>\n"
                           "<audio src=\"a.mp3\" clip-begin=\"npt=0.5s\" clip-end=\"npt=1.5s\"/>\n"
                           "<audio src=\"a.mp3\" clip-begin=\"npt=1.5s\" clip-end=\"npt=2s\"/>\n"
                           "</par>\n<par id=\"p2\" class=\"footnote-on\">\n<text "
                           "src=\"t\xc3\xa9.html#f2\" id=\"x2\"/>\n</par>\n";
    const QByteArray head = "<head>\n<meta name=\"ncc:timeInThisSmil\" content=\"0:01:02\"/>\n"
                            "</head>\n";
    enum Entry { Between, InHead, InBody, Skip, OtherCodePage };
    const struct {
        const char* name;
        QByteArray smil;
        Entry entry;
        bool takenIn;
    } cases[] = {
        {"a whole file", head + "<body>\n" + par + "</body>\n", Between, true},
        {"no head, no end of body", "<body>\n" + par, Between, true},
        {"a text before any par", "<body>\n<text src=\"u.html#z\" id=\"z\"/>\n" + par, Between,
         false},
        {"audio before any par", "<body>\n<audio src=\"b.mp3\"/>\n" + par, Between, false},
        {"reader still in a head", par + "</head>\n<body>\n" + par, InHead, false},
        {"reader still in a body", par, InBody, false},
        {"reader in a part change", "<body>\n" + par, Skip, false},
        {"names in another code page", "<body>\n" + par, OtherCodePage, false},
        {"nothing in it", "", Between, true},
    };
    for (const auto& c : cases) {
        struct Tables {
            CellStore headings{6}, phrases{9};
            BookFeatures features;
            BookTextDecoder decoder;
            ReaderState s{headings, phrases, features, decoder, QStringLiteral("/book/")};
            Tables(Entry entry) {
                headings.InsertRow(0);
                headings.InsertRow(1);
                headings.SetText(0, col::kTime, QStringLiteral("0:00:10.5"));
                s.phraseRow = phrases.InsertRow(0); // the previous file's last phrase
                phrases.SetText(0, col::kParId, QStringLiteral("earlier"));
                s.treeId = QStringLiteral("1");
                s.codePage = kCodePageUtf8;
                s.smilInHead = entry == InHead;
                s.smilInBody = entry == InBody;
                s.skip = entry == Skip ? "change" : "";
            }
        } read(c.entry), taken(c.entry);
        ReadSmil(c.smil, 1, read.s);
        const unsigned scanPage = c.entry == OtherCodePage ? kCodePageWindows1252 : kCodePageUtf8;
        ScanTools tools;
        SmilScan scan = ScanSmil(c.smil, QStringLiteral("/book/"), scanPage, 9, tools);
        const bool takenIn = TakeSmil(scan, 1, taken.s);
        if (!takenIn)
            ReadSmil(c.smil, 1, taken.s);
        EXPECT_EQ(takenIn, c.takenIn) << c.name;
        EXPECT_EQ(Dump(taken.phrases), Dump(read.phrases)) << c.name;
        EXPECT_EQ(Dump(taken.headings), Dump(read.headings)) << c.name;
        EXPECT_EQ(taken.s.phraseRow, read.s.phraseRow) << c.name;
        EXPECT_EQ(taken.s.smilInHead, read.s.smilInHead) << c.name;
        EXPECT_EQ(taken.s.smilInBody, read.s.smilInBody) << c.name;
        EXPECT_EQ(taken.s.skip, read.s.skip) << c.name;
        EXPECT_EQ(taken.s.zeit, read.s.zeit) << c.name;
        EXPECT_EQ(taken.s.elapsedSum, read.s.elapsedSum) << c.name;
        EXPECT_EQ(taken.features.footnotes, read.features.footnotes) << c.name;
        EXPECT_EQ(taken.features.textDocuments, read.features.textDocuments) << c.name;
    }
}

TEST(ReadBookFile, OnlyWholeRegularFiles) {
    QTemporaryDir dir;
    const QString d = dir.path() + u'/';
    QFile file(d + "book.smil");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<smil>\r\n</smil>");
    file.close();
    QFile(d + "empty").open(QIODevice::WriteOnly);
    QDir(d).mkdir("folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(d + "pipe").constData(), 0600), 0);
    const struct {
        const char* name;
        std::optional<QByteArray> want;
    } cases[] = {
        {"book.smil", QByteArray("<smil>\r\n</smil>")},
        {"empty", QByteArray()},
        {"missing", std::nullopt},
        {"folder", std::nullopt},
        {"pipe", std::nullopt}, // no writer: reading it would wait for ever
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBookFile(d + c.name), c.want) << c.name;
}

} // namespace
} // namespace tolvaro
