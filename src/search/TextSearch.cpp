#include "search/TextSearch.h"

#include "book/BookModel.h"
#include "platform/IProgress.h"
#include "search/DocumentText.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <system_error>
#include <thread>
#include <cstring>

namespace tolvaro {
namespace {

constexpr int kAnyHeading = -1;
// More threads than this gain nothing: reading the files becomes the limit.
constexpr unsigned kMaxThreads = 8;

// FNV-1a over UTF-16 units: ids are short, and a book's ids are looked up by the hundred
// thousand.
char16_t Unit(QChar c) {
    return c.unicode();
}
char16_t Unit(char c) {
    return static_cast<uchar>(c);
}
template <typename Units> quint64 HashOf(const Units& units) {
    quint64 hash = 14695981039346656037ull;
    for (const auto unit : units) {
        hash ^= Unit(unit);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The phrases of one document, found by the id of their element: of phrases sharing an id, the
// first; each taken once, so that of elements sharing an id the first has it. An open hash
// table: ids are looked up by the hundred thousand in a large book.
class FragmentIndex {
public:
    FragmentIndex(const BookTable& phrases, const std::vector<int>& rows) {
        std::size_t size = 16;
        while (size < rows.size() * 2)
            size *= 2;
        m_slots.assign(size, Slot{});
        for (int row : rows) {
            const QStringView fragment = phrases.TextView(row, col::kDocFragment);
            Slot* slot = Find(HashOf(fragment), [&](QStringView f) { return f == fragment; });
            if (slot->row < 0) // the first row with this id keeps it
                *slot = {fragment, row, false};
        }
    }

    // The phrase of the element with this id (as written, UTF-8); -1 when none is left.
    int Take(std::string_view id) {
        Slot* slot;
        if (std::all_of(id.begin(), id.end(), [](char c) { return c > 0; })) {
            slot = Find(HashOf(id), [&](QStringView f) {
                return f.size() == static_cast<qsizetype>(id.size()) &&
                       std::equal(f.begin(), f.end(), id.begin(), [](QChar a, char b) {
                           return a.unicode() == static_cast<uchar>(b);
                       });
            });
        } else {
            const QString wide = QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()));
            slot = Find(HashOf(wide), [&](QStringView f) { return f == wide; });
        }
        if (slot->row < 0 || slot->taken)
            return -1;
        slot->taken = true;
        return slot->row;
    }

private:
    struct Slot {
        QStringView fragment;
        int row = -1; // -1: empty
        bool taken = false;
    };

    // The slot holding the fragment, or the empty one where it would go.
    template <typename Equal> Slot* Find(quint64 hash, const Equal& equal) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = m_slots[at];
            if (slot.row < 0 || equal(slot.fragment))
                return &slot;
        }
    }

    std::vector<Slot> m_slots; // never more than half full
};

bool IsNcc(QStringView document) {
    const qsizetype slash = document.lastIndexOf(u'/');
    return document.sliced(slash + 1).compare(u"ncc.html", Qt::CaseInsensitive) == 0;
}

} // namespace

TextSearch::TextSearch(const BookTable& phrases, unsigned codePage, BookFileReader read)
    : m_phrases(phrases), m_codePage(codePage), m_read(std::move(read)) {}

SearchResult TextSearch::InBook(const QString& foldedTerm, IProgress& progress) {
    return SearchDocuments(TextDocuments(), foldedTerm, progress);
}

// The documents in the order the phrases first name them, each with its phrases; never the NCC.
TextSearch::Documents TextSearch::TextDocuments() const {
    Documents documents;
    QHash<QString, std::size_t> index;
    std::size_t current = 0; // the document of the row before, which most rows share
    QStringView before; // a cell of it: the rows of one document mostly share the very text
    for (int row = 0; row < m_phrases.RowCount(); ++row) {
        const QStringView document = m_phrases.TextView(row, col::kDocument);
        if (document.isEmpty())
            continue;
        const bool same = (document.data() == before.data() && document.size() == before.size()) ||
                          (!documents.empty() && documents[current].first == document);
        if (!same) {
            if (IsNcc(document))
                continue;
            const QString path = document.toString();
            auto at = index.constFind(path);
            if (at == index.cend()) {
                at = index.insert(path, documents.size());
                documents.push_back({path, {}});
            }
            current = *at;
        }
        documents[current].second.push_back(row);
        before = document;
    }
    return documents;
}

// The documents are read and searched one by one on this thread and on helper threads, one per
// further processor core (the time goes into reading and cutting out the text, which no two
// documents share); the results are joined in the documents' order. Only this thread reports
// progress and hears whether to stop. The helpers only read the phrase table, which nothing
// changes while the search runs: the wait window takes no commands.
SearchResult TextSearch::SearchDocuments(const Documents& documents, const QString& term,
                                         IProgress& progress) {
    std::vector<SearchResult> found(documents.size());
    std::atomic<std::size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    const auto work = [&](bool reports) {
        for (std::size_t i = next++; i < documents.size() && !stop; i = next++) {
            SearchDocument(documents[i].first, documents[i].second, term, kAnyHeading, found[i]);
            ++done;
            if (!reports)
                continue;
            progress.SetPosition(static_cast<int>(done));
            if (progress.StopRequested() != IProgress::Stop::None)
                stop = true;
        }
    };
    progress.SetRange(static_cast<int>(documents.size()));
    std::vector<std::thread> helpers;
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    for (unsigned t = 1; t < cores && documents.size() > 1; ++t) {
        try {
            helpers.emplace_back(work, false);
        } catch (const std::system_error&) {
            break; // no thread to be had: fewer do the work
        }
    }
    work(true);
    for (std::thread& helper : helpers)
        helper.join();
    // The helpers may have taken the last documents, or all of them, before this thread asked:
    // a stop the user asked for meanwhile still counts.
    progress.SetPosition(static_cast<int>(done));
    if (progress.StopRequested() != IProgress::Stop::None)
        stop = true;

    SearchResult result;
    result.stopped = stop;
    for (SearchResult& part : found) {
        result.occurrences += part.occurrences;
        std::move(part.hits.begin(), part.hits.end(), std::back_inserter(result.hits));
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

// The document's text: read from its bytes as they are when they are UTF-8 (as in most books),
// else decoded in the book's character set first; a UTF-8 book whose bytes are no UTF-8 is
// read as windows-1252, as the readers do.
DocumentText TextSearch::ReadText(const QByteArray& bytes, QByteArray& decoded) {
    const bool utf8 = m_codePage == 0 || m_codePage == kCodePageUtf8;
    if (utf8 || BookTextDecoder::ReadsAsLatin1(bytes, m_codePage)) {
        DocumentText text = ReadDocumentText(bytes);
        if (text.validUtf8)
            return text;
    }
    BookTextDecoder decoder; // one per call: calls run on several threads at once
    decoded = decoder.Decode(bytes, utf8 ? kCodePageWindows1252 : m_codePage).toUtf8();
    return ReadDocumentText(decoded);
}

void TextSearch::SearchDocument(const QString& path, const std::vector<int>& rows,
                                QStringView term, int heading, SearchResult& out) {
    const std::optional<QByteArray> bytes = m_read(path);
    if (!bytes || term.isEmpty())
        return; // a document that cannot be read is passed over
    QByteArray decoded; // the ids point into it, or into the bytes
    const DocumentText text = ReadText(*bytes, decoded);
    // Where each phrase's element begins, in the order of the text.
    FragmentIndex phrases(m_phrases, rows);
    std::vector<std::pair<qsizetype, int>> starts;
    starts.reserve(rows.size());
    for (const auto& [id, offset] : text.ids) {
        const int row = phrases.Take(id);
        if (row < 0)
            continue;
        // Of elements starting at the same place (an empty one, an image, before a paragraph;
        // or one inside the other) the later holds the text.
        if (!starts.empty() && starts.back().first == offset)
            starts.back().second = row;
        else
            starts.emplace_back(offset, row);
    }

    const QByteArray wanted = term.toUtf8();
    const char* const begin = text.folded.constData();
    const char* const end = begin + text.folded.size();
    // strstr, several times faster than memmem here: the folded text holds no NUL (one reads as
    // white space) and ends in one, as a QByteArray does; a term with a NUL is found nowhere.
    const bool findable = !wanted.contains('\0');
    const auto next = [&](const char* from) {
        return findable && from < end ? std::strstr(from, wanted.constData()) : nullptr;
    };
    for (const char* at = next(begin); at; at = next(at + 1)) {
        const qsizetype p = at - begin;
        const auto after = std::upper_bound(starts.begin(), starts.end(), p,
                                            [](qsizetype o, const auto& s) { return o < s.first; });
        if (after == starts.begin())
            continue; // before the first phrase's text
        const int row = std::prev(after)->second;
        if (heading != kAnyHeading && m_phrases.TextView(row, col::kPhraseTreeId).toInt() != heading)
            continue;
        if (out.hits.empty() || out.hits.back().row != row)
            out.hits.push_back({row, 0});
        ++out.hits.back().occurrences;
        ++out.occurrences;
    }
}

} // namespace tolvaro
