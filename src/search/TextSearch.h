#pragma once

#include "book/BookFiles.h"

#include <QString>

#include <vector>

namespace tolvaro {

class BookTable;
struct DocumentText;
class IProgress;

// A phrase whose text holds the term: the phrase-table row, and how often the term occurs in it.
struct SearchHit {
    int row = 0;
    int occurrences = 0;
};

struct SearchResult {
    std::vector<SearchHit> hits; // in the order of the documents and the text
    int occurrences = 0;         // in all hits together
    bool stopped = false;        // the user stopped the search; the hits are those found so far
};

// Searches the text of the book's documents, read from disk and decoded in the book's character
// set, for a folded term (FoldCase). An occurrence belongs to the phrase whose text element is the
// last to begin at or before it; one before every phrase's element belongs to none.
class TextSearch {
public:
    TextSearch(const BookTable& phrases, unsigned codePage, BookFileReader read = ReadBookFile);

    // Every text document the phrases name (never the NCC), each read once. The progress hears
    // of each document and is asked whether to stop.
    SearchResult InBook(const QString& foldedTerm, IProgress& progress);
    // The document of phrase `row`, only the occurrences in the phrases of `heading` (the
    // "TreeID" they carry).
    SearchResult InHeading(int row, int heading, const QString& foldedTerm);

    // The text of a document file's bytes, as the searches read it (folded unless told not).
    DocumentText ReadText(const QByteArray& bytes, bool fold = true) const;
    // The text of each phrase in document `path`, by row, in its own case: from where its element
    // begins to where the next phrase's begins, white space collapsed. Empty when the document
    // cannot be read.
    std::vector<std::pair<int, QString>> PhraseTexts(const QString& path) const;

private:
    void SearchDocument(const QString& path, const std::vector<int>& rows, QStringView term,
                        int heading, SearchResult& out) const;
    std::vector<std::pair<qsizetype, int>> PhraseStarts(const DocumentText& text,
                                                        const std::vector<int>& rows) const;
    std::vector<int> RowsShowing(const QString& document) const;

    const BookTable& m_phrases;
    unsigned m_codePage;
    BookFileReader m_read;
};

} // namespace tolvaro
