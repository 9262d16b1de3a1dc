#include "book/SmilReader.h"

#include "book/BookModel.h"
#include "book/LineSource.h"
#include "book/ReaderState.h"
#include "book/ScanText.h"

namespace tolvaro {
namespace {

bool Has(std::string_view line, std::string_view lowerKey) {
    return ContainsNoCase(line, lowerKey);
}

// A clock value with one "0" in front when the part before its first "." is short.
QString PaddedTime(std::string_view line) {
    bool found = false;
    const std::string_view value = scan::ContentValue(line, &found);
    if (!found || value.substr(0, value.find('.')).size() >= 8)
        return Latin1(value);
    QString text;
    text.reserve(static_cast<qsizetype>(value.size()) + 1);
    return text.append(u'0').append(Latin1View(value));
}

// The tags a SMIL line is tested for, found in one pass over its "<"s.
constexpr unsigned kHead = 1, kHeadEnd = 2, kBody = 4, kBodyEnd = 8, kParEnd = 16, kPar = 32,
                   kText = 64, kAudio = 128;

// Whether `name` (lower case) stands at `at`, letters compared without regard to case.
bool TagAt(std::string_view line, std::size_t at, std::string_view name) {
    if (at + name.size() > line.size())
        return false;
    for (std::size_t k = 0; k < name.size(); ++k) {
        if (Lower(line[at + k]) != name[k])
            return false;
    }
    return true;
}

unsigned TagsIn(std::string_view line) {
    unsigned tags = 0;
    for (std::size_t i = line.find('<'); i != std::string_view::npos; i = line.find('<', i + 1)) {
        if (i + 1 >= line.size())
            break;
        switch (Lower(line[i + 1])) { // one name or two to compare, by the letter after "<"
        case 'h':
            tags |= TagAt(line, i, "<head>") ? kHead : 0;
            break;
        case 'b':
            tags |= TagAt(line, i, "<body>") ? kBody : 0;
            break;
        case 'p':
            tags |= TagAt(line, i, "<par") ? kPar : 0;
            break;
        case 't':
            tags |= TagAt(line, i, "<text") ? kText : 0;
            break;
        case 'a':
            tags |= TagAt(line, i, "<audio") ? kAudio : 0;
            break;
        case '/':
            tags |= TagAt(line, i, "</head>")   ? kHeadEnd
                    : TagAt(line, i, "</body>") ? kBodyEnd
                    : TagAt(line, i, "</par>")  ? kParEnd
                                                : 0;
            break;
        default:
            break;
        }
    }
    return tags;
}

// Has(line, "-on"), asked of every <par>: most have no "-" at all.
bool HasOnMarker(std::string_view line) {
    for (std::size_t i = line.find('-'); i != std::string_view::npos; i = line.find('-', i + 1)) {
        if (TagAt(line, i, "-on"))
            return true;
    }
    return false;
}

class SmilFile {
public:
    explicit SmilFile(ReaderState& s) : m_s(s), m_row(s.phraseRow) {}

    void Line(std::string_view line);

    QString m_elapsed; // from the file's own metadata

private:
    void Metadata(std::string_view line);
    void Par(std::string_view line);
    void SkipClass(std::string_view line);
    void Text(std::string_view line);
    void Audio(std::string_view line);
    void SetParCells();
    void SetClipRowCells();
    void SetDocument();
    // Appends the row of the next phrase, which the cells are then written to.
    void NextRow();

    ReaderState& m_s;
    // Row m_s.phraseRow: before the file's first <par>, the row before it (or none, -1).
    int m_row;
    // Views into the file's bytes, which outlive this reader.
    std::string_view m_parId, m_fragment, m_textId;
    QString m_document;
    std::string_view m_documentSource; // the bytes m_document was made from
    bool m_haveDocument = false;
    std::string_view m_audioSource;
    // The rows that hold m_document and the decoded m_audioSource, for the next rows to share.
    int m_documentRow = -1, m_audioRow = -1;
    bool m_firstClipStored = false;
};

void SmilFile::Line(std::string_view line) {
    const unsigned tags = TagsIn(line);
    if (tags & kHead) {
        m_s.smilInHead = true;
        Metadata(line);
    } else if (tags & kHeadEnd) {
        m_s.smilInHead = false;
    } else {
        if (tags & kBody)
            m_s.smilInBody = true;
        else if (tags & kBodyEnd)
            m_s.smilInBody = false;
        if (m_s.smilInHead)
            Metadata(line);
    }
    if (!m_s.smilInBody)
        return;
    if (tags & kParEnd)
        m_s.skip = {};
    if (tags & kPar)
        Par(line);
    if (tags & kText)
        Text(line);
    if (tags & kAudio)
        Audio(line);
}

void SmilFile::Metadata(std::string_view line) {
    if (!Has(line, "time")) // in every key: most head lines hold none of them
        return;
    if (Has(line, "timeinthissmil") || Has(line, "time-in-this-smil"))
        m_s.zeit = PaddedTime(line);
    if (Has(line, "totalelapsedtime"))
        m_elapsed = PaddedTime(line);
    if (Has(line, "total-elapsed-time"))
        m_elapsed = PaddedTime(line);
}

void SmilFile::Par(std::string_view line) {
    m_firstClipStored = false;
    m_parId = scan::AttributeValue(line, "id=");
    // Every marker ends in "-on": most pars have none, and need no further search.
    if (HasOnMarker(line))
        SkipClass(line);
    NextRow();
    SetParCells();
}

void SmilFile::NextRow() {
    m_row = m_s.phrases.InsertRow(++m_s.phraseRow);
}

// The first skip class the par names starts skipping.
void SmilFile::SkipClass(std::string_view line) {
    static constexpr struct {
        std::string_view marker;
        std::string_view skip;
        bool BookFeatures::*found;
    } kClasses[] = {
        {"sidebar-on", "sidebar", &BookFeatures::sidebars},
        {"prodnote-on", "prodnote", &BookFeatures::prodnotes},
        {"footnote-on", "footnote", &BookFeatures::footnotes},
        {"pagenumber-on", "pagenumber", &BookFeatures::pageNumbers},
    };
    for (const auto& c : kClasses) {
        if (Has(line, c.marker)) {
            m_s.skip = c.skip;
            m_s.features.*c.found = true;
            return;
        }
    }
}

void SmilFile::Text(std::string_view line) {
    const std::string_view source = scan::TextSource(line);
    // Phrases follow one another in one document: it is decoded once for all of them.
    if (!m_haveDocument || source != m_documentSource) {
        const QString name = m_s.DecodeView(source).toString();
        if (!m_s.features.textDocuments && !name.contains(u"ncc.html") &&
            !name.contains(u"NCC.HTML"))
            m_s.features.textDocuments = true;
        m_document = m_s.folder + name;
        m_documentSource = source;
        m_haveDocument = true;
        m_documentRow = -1;
    }
    m_fragment = scan::ExtractFragment(line);
    m_textId = scan::AttributeValue(line, "id=");
    SetDocument();
    CellStore& phrases = m_s.phrases;
    phrases.SetLatin1(m_row, col::kDocFragment, Latin1View(m_fragment));
    phrases.SetLatin1(m_row, col::kTextId, Latin1View(m_textId));
}

// The cells a <par> gives each of its rows.
void SmilFile::SetParCells() {
    CellStore& phrases = m_s.phrases;
    phrases.SetText(m_row, col::kPhraseTreeId, m_s.treeId);
    phrases.SetLatin1(m_row, col::kParId, Latin1View(m_parId));
    phrases.SetLatin1(m_row, col::kSkip, Latin1View(m_s.skip));
}

// A further clip of the same <par> gets a row of its own with the par's and the text's cells.
void SmilFile::SetClipRowCells() {
    SetParCells();
    SetDocument();
    CellStore& phrases = m_s.phrases;
    phrases.SetLatin1(m_row, col::kDocFragment, Latin1View(m_fragment));
    phrases.SetLatin1(m_row, col::kTextId, Latin1View(m_textId));
}

void SmilFile::SetDocument() {
    if (m_documentRow >= 0 && m_documentRow != m_row) {
        m_s.phrases.CopyCell(m_documentRow, col::kDocument, m_row, col::kDocument);
    } else {
        m_s.phrases.SetText(m_row, col::kDocument, m_document);
        m_documentRow = m_row;
    }
}

void SmilFile::Audio(std::string_view line) {
    m_s.features.audio = true;
    if (!m_firstClipStored) {
        m_firstClipStored = true;
    } else {
        NextRow();
        SetClipRowCells();
    }
    const std::string_view source = scan::AttributeValue(line, "src=");
    CellStore& phrases = m_s.phrases;
    if (m_audioRow >= 0 && source == m_audioSource) { // one file for many clips, as a rule
        phrases.CopyCell(m_audioRow, col::kAudio, m_row, col::kAudio);
    } else {
        phrases.SetText(m_row, col::kAudio, m_s.DecodeView(source));
        m_audioSource = source;
    }
    m_audioRow = m_row;
    phrases.SetLatin1(m_row, col::kClipBegin, Latin1View(scan::ExtractClipTime(line, true)));
    phrases.SetLatin1(m_row, col::kClipEnd, Latin1View(scan::ExtractClipTime(line, false)));
}

// The heading row's play time and the time before it.
void FinishHeading(int row, QString elapsed, ReaderState& s) {
    if (elapsed.isEmpty()) {
        if (row == 0) {
            elapsed = QStringLiteral("00:00:00");
        } else {
            const QString previous = s.headings.Text(row - 1, col::kTime);
            s.elapsedSum += scan::TimeToSeconds(previous.toLatin1().toStdString());
            const long long n = s.elapsedSum < 1.0 ? 0 : static_cast<long long>(s.elapsedSum);
            elapsed = QString::asprintf("%02lld:%02lld:%02lld", n / 3600, n / 60 % 60, n % 60);
        }
    }
    s.headings.SetText(row, col::kTime, s.zeit);
    s.headings.SetText(row, col::kElapsed, elapsed);
}

} // namespace

void ReadSmil(QByteArrayView data, int headingRow, ReaderState& state) {
    SmilFile file(state);
    LineSource source(data);
    std::string_view line;
    while (source.NextPiece(line))
        file.Line(line);
    FinishHeading(headingRow, file.m_elapsed, state);
}

} // namespace tolvaro
