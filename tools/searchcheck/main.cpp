// Counts a term in a book's text documents as the book search reads them, for comparing with an
// independent count (compare.py).
//
//   tolvaro-searchcount BOOK_FOLDER TERM
//
// Prints one line per text document: its file name and the occurrences in its text; then the
// occurrences the book search attributes to phrases, and the phrases.
#include "book/BookFiles.h"
#include "book/BookModel.h"
#include "formats/BookLoader.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"
#include "search/TextSearch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    using namespace tolvaro;
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tolvaro-searchcount BOOK_FOLDER TERM\n");
        return 2;
    }
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath() + u'/';
    const QString term = FoldCase(QString::fromUtf8(argv[2]));
    BookModel model;
    IProgress progress;
    const std::optional<LoadedBook> book = LoadBook(model, folder, 0, progress);
    if (!book)
        return 1;
    TextSearch search(model.m_lstPhrases, book->codePage);
    QSet<QString> seen;
    for (int row = 0; row < model.m_lstPhrases.RowCount(); ++row) {
        const QString document = model.m_lstPhrases.Text(row, col::kDocument);
        if (document.isEmpty() || seen.contains(document) ||
            QFileInfo(document).fileName().compare(u"ncc.html", Qt::CaseInsensitive) == 0)
            continue;
        seen.insert(document);
        const std::optional<QByteArray> bytes = ReadBookFile(document);
        if (!bytes)
            continue;
        const DocumentText text = search.ReadText(*bytes);
        int count = 0;
        for (qsizetype at = text.text.indexOf(term); at >= 0;
             at = text.text.indexOf(term, at + 1))
            ++count;
        std::printf("%s %d\n", qPrintable(QFileInfo(document).fileName()), count);
    }
    const SearchResult result = search.InBook(term, progress);
    std::printf("attributed %d in %zu phrases\n", result.occurrences, result.hits.size());
    return 0;
}
