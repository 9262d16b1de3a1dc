#include "MemoryBook.h"
#include "Printers.h"

#include "formats/BookLoader.h"
#include "formats/TableDump.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvaro {
namespace {

// Real books made by others, kept beside the repository.
QString BooksFolder() {
    return QStringLiteral(TOLVARO_SHARED_BOOKS);
}

std::optional<LoadedBook> LoadReal(const QString& name, BookModel& model) {
    test::NullProgress progress;
    return LoadBook(model, BooksFolder() + u'/' + name + u'/', 0, progress);
}

TEST(RealBooks, EachOpensWithItsCounts) {
    ASSERT_TRUE(QDir(BooksFolder()).exists())
        << "the real books are missing: " << BooksFolder().toStdString();
    const struct {
        const char* name;
        int headings, phrases, pages;
        int titleRow;
        const char* title;
        bool audio;
    } cases[] = {
        {"dontworry", 7, 62, 0, 3, "Culmen interludiaris", true},
        {"dontworry-nccOnly", 7, 62, 0, 6, "Notes", true},
        {"mental-health", 15, 366, 0, 2, "Major Mental Illnesses", true},
        {"mental-health-z3986", 15, 365, 0, 2, "Major Mental Illnesses", true},
        {"amis-help-es-latin1", 56, 273, 0, 1, "¿Qué es AMIS?", true},
        {"gongitsune-ja", 26, 215, 6, 0, "ごん狐", true},
        {"wipo-treaty", 23, 160, 2, 0, nullptr, false},
        {"virginie-ncc-cp1252", 9, 0, 0, 1, "Avertissement légal", false},
    };
    for (const auto& c : cases) {
        BookModel m;
        const std::optional<LoadedBook> r = LoadReal(c.name, m);
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(m.m_lstTitles.RowCount(), c.headings) << c.name;
        EXPECT_EQ(m.m_treeTitles.Count(), c.headings) << c.name;
        EXPECT_EQ(m.m_lstPhrases.RowCount(), c.phrases) << c.name;
        EXPECT_EQ(m.m_lstPages.RowCount(), c.pages) << c.name;
        EXPECT_EQ(r->features.audio, c.audio) << c.name;
        if (c.title) {
            EXPECT_EQ(m.m_lstTitles.Text(c.titleRow, col::kTitle), QString::fromUtf8(c.title))
                << c.name;
        }
        for (int row = 0; row < m.m_lstTitles.RowCount(); ++row)
            EXPECT_FALSE(m.m_lstTitles.Text(row, col::kTitle).contains(QChar(0xFFFD))) << c.name;
    }
}

// The same recording made by one tool as DAISY 2.02 and as DAISY 3 reads into the same headings
// and the same clips in the same order; the DAISY 2.02 copy plays its title clip once more first.
TEST(RealBooks, DaisyThreeReadsLikeItsDaisyTwoTwin) {
    const auto rows = [](const QString& name, int column, int from) {
        BookModel m;
        EXPECT_TRUE(LoadReal(name, m)) << name.toStdString();
        const BookTable& table = column == col::kAudio ? m.m_lstPhrases : m.m_lstTitles;
        QStringList rows;
        for (int r = from; r < table.RowCount(); ++r) {
            rows << (column == col::kAudio
                         ? QStringList{table.Text(r, col::kPhraseTreeId),
                                       table.Text(r, col::kAudio),
                                       QString::number(table.Text(r, col::kClipBegin).toDouble()),
                                       QString::number(table.Text(r, col::kClipEnd).toDouble())}
                         : QStringList{table.Text(r, col::kLevel), table.Text(r, col::kTitle)})
                        .join(u'|');
        }
        return rows;
    };
    EXPECT_EQ(rows("mental-health-z3986", col::kTitle, 0), rows("mental-health", col::kTitle, 0));
    EXPECT_EQ(rows("mental-health-z3986", col::kAudio, 0), rows("mental-health", col::kAudio, 1));
}

// The same DAISY 3 book with its file names in capitals, and its package, NCX and SMIL files in
// UTF-16 (as some tools write them), reads into the same tables.
TEST(RealBooks, DaisyThreeInCapitalsAndUtf16ReadsTheSame) {
    const QString from = BooksFolder() + "/mental-health-z3986/";
    QTemporaryDir dir;
    const QString to = dir.path() + "/";
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        QFile in(from + name), out(to + name.toUpper());
        ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        QByteArray bytes = in.readAll();
        if (name.endsWith(".opf") || name.endsWith(".ncx") || name.endsWith(".smil")) {
            QString text = QString::fromUtf8(bytes);
            text.replace(QRegularExpression("encoding='UTF-8'"), "encoding='UTF-16'");
            bytes =
                QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom)(text);
        }
        out.write(bytes);
    }
    std::string original, copied, error;
    ASSERT_EQ(DumpTables(from, original, error), 0) << error;
    ASSERT_EQ(DumpTables(to, copied, error), 0) << error;
    EXPECT_EQ(copied, original);
}

// A small book of the project's own, with the tables it must read into, committed.
TEST(RealBooks, TheSnapshotBookReadsAsCommitted) {
    std::string tables, error;
    ASSERT_EQ(DumpTables(QStringLiteral(TOLVARO_TEST_DATA "/snapshot-book/"), tables, error), 0)
        << error;
    QFile snapshot(QStringLiteral(TOLVARO_TEST_DATA "/snapshot-book.tables"));
    ASSERT_TRUE(snapshot.open(QIODevice::ReadOnly));
    EXPECT_EQ(tables, snapshot.readAll().toStdString());
}

} // namespace
} // namespace tolvaro
