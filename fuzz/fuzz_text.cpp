// Feeds arbitrary bytes to the search's text pass, as a text document in a UTF-8 book and in a
// windows-1252 one (where the bytes are decoded first), and searches the term the first bytes
// make. Run it with inputs up to 1 MB and a time limit per input (see run.sh): a pass slower than
// linear shows as a timeout.
#include "book/BookModel.h"
#include "book/Charsets.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"
#include "search/TextSearch.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tolvaro::ReadDocumentText(QString::fromUtf8(input));

    // Two phrases whose ids the input may hold.
    tolvaro::BookModel model;
    for (const char* id : {"a", "b"})
        model.m_lstPhrases.AppendRow({"0", "", "/book/t.html", id});
    const QString term = tolvaro::FoldCase(QString::fromUtf8(input.left(3)));
    tolvaro::IProgress progress;
    for (const unsigned codePage : {tolvaro::kCodePageUtf8, tolvaro::kCodePageWindows1252}) {
        tolvaro::TextSearch search(model.m_lstPhrases, codePage,
                                   [&](const QString&) { return std::optional(input); });
        search.InBook(term, progress);
        search.InHeading(0, 0, term);
    }
    return 0;
}
