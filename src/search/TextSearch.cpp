#include "search/TextSearch.h"

#include "book/BookFiles.h"
#include "book/BookModel.h"
#include "book/Charsets.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"

#include <QHash>

#include <algorithm>
#include <iterator>

namespace tolvaro {
namespace {

constexpr int kAnyHeading = -1;

} // namespace

TextSearch::TextSearch(const BookTable& phrases, unsigned codePage, BookFileReader read)
    : m_phrases(phrases), m_codePage(codePage), m_read(std::move(read)) {}

// The documents in the order the phrases first name them, each with its phrases.
SearchResult TextSearch::InBook(const QString& foldedTerm, IProgress& progress) {
    std::vector<std::pair<QString, std::vector<int>>> documents;
    QHash<QString, std::size_t> index;
    for (int row = 0; row < m_phrases.RowCount(); ++row) {
        const QString document = m_phrases.Text(row, col::kDocument);
        if (document.isEmpty() || IsNavigationDocument(document))
            continue;
        auto at = index.constFind(document);
        if (at == index.cend()) {
            at = index.insert(document, documents.size());
            documents.push_back({document, {}});
        }
        documents[*at].second.push_back(row);
    }
    SearchResult result;
    progress.SetRange(static_cast<int>(documents.size()));
    for (std::size_t i = 0; i < documents.size() && !result.stopped; ++i) {
        SearchDocument(documents[i].first, documents[i].second, foldedTerm, kAnyHeading, result);
        progress.SetPosition(static_cast<int>(i + 1));
        result.stopped = progress.StopRequested() != IProgress::Stop::None;
    }
    return result;
}

SearchResult TextSearch::InHeading(int row, int heading, const QString& foldedTerm) {
    const QString document = m_phrases.Text(row, col::kDocument);
    SearchResult result;
    if (document.isEmpty() || IsNavigationDocument(document))
        return result;
    // Every phrase of the document, so that the heading's last phrase ends where the next
    // heading's text begins.
    SearchDocument(document, RowsShowing(document), foldedTerm, heading, result);
    return result;
}

std::vector<int> TextSearch::RowsShowing(const QString& document) const {
    std::vector<int> rows;
    for (int r = 0; r < m_phrases.RowCount(); ++r) {
        if (m_phrases.TextView(r, col::kDocument) == document)
            rows.push_back(r);
    }
    return rows;
}

std::vector<std::pair<int, QString>> TextSearch::PhraseTexts(const QString& path) const {
    const std::optional<QByteArray> bytes = m_read(path);
    if (!bytes)
        return {};
    const DocumentText text = ReadText(*bytes, false);
    const std::vector<std::pair<qsizetype, int>> starts = PhraseStarts(text, RowsShowing(path));
    std::vector<std::pair<int, QString>> texts;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1].first : text.text.size();
        texts.emplace_back(starts[i].second,
                           text.text.mid(starts[i].first, end - starts[i].first).simplified());
    }
    return texts;
}

// Decoded as the readers decode the book: a UTF-8 book whose bytes are no UTF-8 is read as
// windows-1252.
DocumentText TextSearch::ReadText(const QByteArray& bytes, bool fold) const {
    return ReadDocumentText(BookTextDecoder().Decode(bytes, m_codePage), fold);
}

void TextSearch::SearchDocument(const QString& path, const std::vector<int>& rows, QStringView term,
                                int heading, SearchResult& out) const {
    const std::optional<QByteArray> bytes = m_read(path);
    if (!bytes || term.isEmpty())
        return; // a document that cannot be read is passed over
    const DocumentText text = ReadText(*bytes);
    const std::vector<std::pair<qsizetype, int>> starts = PhraseStarts(text, rows);
    for (qsizetype p = text.text.indexOf(term); p >= 0; p = text.text.indexOf(term, p + 1)) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), p,
                                            [](qsizetype o, const auto& s) { return o < s.first; });
        if (after == starts.begin())
            continue; // before the first phrase's text
        const int row = std::prev(after)->second;
        if (heading != kAnyHeading &&
            m_phrases.TextView(row, col::kPhraseTreeId).toInt() != heading)
            continue;
        if (out.hits.empty() || out.hits.back().row != row)
            out.hits.push_back({row, 0});
        ++out.hits.back().occurrences;
        ++out.occurrences;
    }
}

// Where each phrase's element begins, in the order of the text.
std::vector<std::pair<qsizetype, int>>
TextSearch::PhraseStarts(const DocumentText& text, const std::vector<int>& rows) const {
    // The phrases by their element's id: of phrases sharing an id the first, and each taken
    // once, so that of elements sharing an id the first has it.
    QHash<QString, int> byId;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        byId.insert(m_phrases.Text(*row, col::kDocFragment), *row);
    std::vector<std::pair<qsizetype, int>> starts;
    for (const auto& [id, offset] : text.ids) {
        const auto found = byId.constFind(id);
        if (found == byId.cend())
            continue;
        const int row = *found;
        byId.erase(found);
        // Of elements starting at the same place (an empty one, an image, before a paragraph;
        // or one inside the other) the later holds the text.
        if (!starts.empty() && starts.back().first == offset)
            starts.back().second = row;
        else
            starts.emplace_back(offset, row);
    }
    return starts;
}

} // namespace tolvaro
