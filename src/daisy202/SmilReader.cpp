#include "daisy202/SmilReader.h"

#include "book/BookFiles.h"
#include "book/BookModel.h"
#include "daisy202/LineSource.h"
#include "daisy202/ReaderState.h"
#include "daisy202/ScanText.h"
#include "store/Settings.h"

namespace tolvaro {
namespace {

// A clock value with one "0" in front when the part before its first "." is short.
QString PaddedTime(std::string_view line) {
    bool found = false;
    const std::string_view value = scan::ContentValue(line, &found);
    if (!found || value.substr(0, value.find('.')).size() >= 8)
        return Latin1(value);
    return u'0' + Latin1(value);
}

class SmilFile {
public:
    explicit SmilFile(ReaderState& s) : m_s(s), m_row(s.phraseRow) {}

    // Reads a piece; values are taken from it as written, tags and keys found in it lowered.
    void Line(std::string_view line);

    QString m_elapsed; // from the file's own metadata

private:
    bool Has(std::string_view lowerKey) const {
        return m_lower.find(lowerKey) != std::string::npos;
    }
    void Metadata(std::string_view line);
    void Par(std::string_view line);
    void SkipClass();
    void Text(std::string_view line);
    void Audio(std::string_view line);
    // The cells of the par and of its text, which every row of the par has.
    void SetParCells();
    void SetTextCells();
    // Appends the row of the next phrase, which the cells are then written to.
    void NextRow() { m_row = m_s.phraseRow = m_s.phrases.AppendRow(); }

    ReaderState& m_s;
    // Row m_s.phraseRow: before the file's first <par>, the row before it (or none, -1).
    int m_row;
    QString m_parId, m_document, m_fragment, m_textId;
    bool m_firstClipStored = false;
    std::string m_lower; // the piece being read, lowered
};

void SmilFile::Line(std::string_view line) {
    LowerInto(line, m_lower);
    if (Has("<head>")) {
        m_s.smilInHead = true;
        Metadata(line);
    } else if (Has("</head>")) {
        m_s.smilInHead = false;
    } else {
        if (Has("<body>"))
            m_s.smilInBody = true;
        else if (Has("</body>"))
            m_s.smilInBody = false;
        if (m_s.smilInHead)
            Metadata(line);
    }
    if (!m_s.smilInBody)
        return;
    if (Has("</par>"))
        m_s.skip = {};
    if (Has("<par"))
        Par(line);
    if (Has("<text"))
        Text(line);
    if (Has("<audio"))
        Audio(line);
}

void SmilFile::Metadata(std::string_view line) {
    if (Has("timeinthissmil") || Has("time-in-this-smil"))
        m_s.zeit = PaddedTime(line);
    if (Has("totalelapsedtime") || Has("total-elapsed-time"))
        m_elapsed = PaddedTime(line);
}

void SmilFile::Par(std::string_view line) {
    m_firstClipStored = false;
    m_parId = Latin1(scan::AttributeValue(line, "id="));
    SkipClass();
    NextRow();
    SetParCells();
}

// The first skip class the par names starts skipping.
void SmilFile::SkipClass() {
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
        if (Has(c.marker)) {
            m_s.skip = c.skip;
            m_s.features.*c.found = true;
            return;
        }
    }
}

void SmilFile::Text(std::string_view line) {
    const QString name = m_s.Decode(scan::TextSource(line));
    if (!IsNavigationDocument(name))
        m_s.features.textDocuments = true;
    m_document = m_s.folder + name;
    m_fragment = Latin1(scan::ExtractFragment(line));
    m_textId = Latin1(scan::AttributeValue(line, "id="));
    SetTextCells();
}

void SmilFile::SetParCells() {
    BookTable& phrases = m_s.phrases;
    phrases.SetText(m_row, col::kPhraseTreeId, m_s.treeId);
    phrases.SetText(m_row, col::kParId, m_parId);
    phrases.SetText(m_row, col::kSkip, Latin1(m_s.skip));
}

void SmilFile::SetTextCells() {
    BookTable& phrases = m_s.phrases;
    phrases.SetText(m_row, col::kDocument, m_document);
    phrases.SetText(m_row, col::kDocFragment, m_fragment);
    phrases.SetText(m_row, col::kTextId, m_textId);
}

// A further clip of the same <par> gets a row of its own with the par's and the text's cells.
void SmilFile::Audio(std::string_view line) {
    m_s.features.audio = true;
    if (m_firstClipStored) {
        NextRow();
        SetParCells();
        SetTextCells();
    }
    m_firstClipStored = true;
    BookTable& phrases = m_s.phrases;
    phrases.SetText(m_row, col::kAudio, m_s.Decode(scan::AttributeValue(line, "src=")));
    phrases.SetText(m_row, col::kClipBegin, Latin1(scan::ExtractClipTime(line, true)));
    phrases.SetText(m_row, col::kClipEnd, Latin1(scan::ExtractClipTime(line, false)));
}

// The heading row's play time and the time before it.
void FinishHeading(int row, QString elapsed, ReaderState& s) {
    if (elapsed.isEmpty()) {
        if (row == 0) {
            elapsed = QStringLiteral("00:00:00");
        } else {
            const QString previous = s.headings.Text(row - 1, col::kTime);
            s.elapsedSum += ParseClock(previous, 7, true);
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
