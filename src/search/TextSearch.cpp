#include "search/TextSearch.h"

#include "book/BookModel.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace tolvaro {
namespace {

constexpr int kAnyHeading = -1;

bool IsNcc(QStringView document) {
    const qsizetype slash = document.lastIndexOf(u'/');
    return document.sliced(slash + 1).compare(u"ncc.html", Qt::CaseInsensitive) == 0;
}

} // namespace

TextSearch::TextSearch(const BookTable& phrases, unsigned codePage, BookFileReader read)
    : m_phrases(phrases), m_codePage(codePage), m_read(std::move(read)) {}

SearchResult TextSearch::InBook(const QString& foldedTerm, IProgress& progress) {
    // The documents in the order the phrases first name them, each with its phrases.
    std::vector<std::pair<QString, std::vector<int>>> documents;
    QHash<QString, std::size_t> index;
    for (int row = 0; row < m_phrases.RowCount(); ++row) {
        const QStringView document = m_phrases.TextView(row, col::kDocument);
        if (document.isEmpty() || IsNcc(document))
            continue;
        const QString path = document.toString();
        auto at = index.constFind(path);
        if (at == index.cend()) {
            at = index.insert(path, documents.size());
            documents.push_back({path, {}});
        }
        documents[*at].second.push_back(row);
    }
    SearchResult result;
    progress.SetRange(static_cast<int>(documents.size()));
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (progress.StopRequested() != IProgress::Stop::None) {
            result.stopped = true;
            break;
        }
        progress.SetPosition(static_cast<int>(i));
        SearchDocument(documents[i].first, documents[i].second, foldedTerm, kAnyHeading, result);
    }
    return result;
}

SearchResult TextSearch::InHeading(int row, int heading, const QString& foldedTerm) {
    const QStringView document = m_phrases.TextView(row, col::kDocument);
    SearchResult result;
    if (document.isEmpty() || IsNcc(document))
        return result;
    // Every phrase of the document, so that the heading's last phrase ends where the next
    // heading's text begins.
    std::vector<int> rows;
    for (int r = 0; r < m_phrases.RowCount(); ++r) {
        if (m_phrases.TextView(r, col::kDocument) == document)
            rows.push_back(r);
    }
    SearchDocument(document.toString(), rows, foldedTerm, heading, result);
    return result;
}

void TextSearch::SearchDocument(const QString& path, const std::vector<int>& rows,
                                QStringView term, int heading, SearchResult& out) {
    const std::optional<QByteArray> bytes = m_read(path);
    if (!bytes || term.isEmpty())
        return; // a document that cannot be read is passed over
    const DocumentText text = ReadDocumentText(m_decoder.Decode(*bytes, m_codePage));
    // Where each phrase's element begins; of phrases sharing an element, the first.
    std::vector<std::pair<qsizetype, int>> starts;
    starts.reserve(rows.size());
    for (int row : rows) {
        const auto at = text.idStarts.constFind(m_phrases.Text(row, col::kDocFragment));
        if (at != text.idStarts.cend())
            starts.emplace_back(*at, row);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 starts.end());

    const QStringView folded = text.folded;
    for (qsizetype p = folded.indexOf(term); p >= 0; p = folded.indexOf(term, p + 1)) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), p,
                                            [](qsizetype at, const auto& s) { return at < s.first; });
        if (after == starts.begin())
            continue; // before the first phrase's text
        const int row = std::prev(after)->second;
        if (heading != kAnyHeading && m_phrases.TextView(row, col::kPhraseTreeId).toInt() != heading)
            continue;
        if (out.hits.empty() || out.hits.back().row != row)
            out.hits.push_back({row, 0, m_phrases.Text(row, col::kDocFragment)});
        ++out.hits.back().occurrences;
        ++out.occurrences;
    }
}

} // namespace tolvaro
