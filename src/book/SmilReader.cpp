#include "book/SmilReader.h"

#include "book/BookModel.h"
#include "book/LineSource.h"
#include "book/ReaderState.h"
#include "book/ScanText.h"

namespace tolvaro {
namespace {

bool Has(const std::string& lower, std::string_view key) {
    return lower.find(key) != std::string::npos;
}

// A clock value with one "0" in front when the part before its first "." is short.
QString PaddedTime(std::string_view line) {
    bool found = false;
    const std::string_view value = scan::ContentValue(line, &found);
    QString text = Latin1(value);
    if (found && value.substr(0, value.find('.')).size() < 8)
        text.prepend(u'0');
    return text;
}

class SmilFile {
public:
    SmilFile(int headingRow, ReaderState& s) : m_row(headingRow), m_s(s) {}

    void Line(const std::string& line, const std::string& lower);
    void Finish();

private:
    void Metadata(const std::string& line, const std::string& lower);
    void Par(const std::string& line, const std::string& lower);
    void Text(const std::string& line);
    void Audio(const std::string& line);

    int m_row;
    ReaderState& m_s;
    QString m_elapsed;
    QString m_parId, m_document, m_fragment, m_textId;
    bool m_firstClipStored = false;
};

void SmilFile::Line(const std::string& line, const std::string& lower) {
    if (Has(lower, "<head>")) {
        m_s.smilInHead = true;
        Metadata(line, lower);
    } else if (Has(lower, "</head>")) {
        m_s.smilInHead = false;
    } else {
        if (Has(lower, "<body>"))
            m_s.smilInBody = true;
        else if (Has(lower, "</body>"))
            m_s.smilInBody = false;
        if (m_s.smilInHead)
            Metadata(line, lower);
    }
    if (!m_s.smilInBody)
        return;
    if (Has(lower, "</par>"))
        m_s.skip.clear();
    if (Has(lower, "<par"))
        Par(line, lower);
    if (Has(lower, "<text"))
        Text(line);
    if (Has(lower, "<audio"))
        Audio(line);
}

void SmilFile::Metadata(const std::string& line, const std::string& lower) {
    if (Has(lower, "timeinthissmil"))
        m_s.zeit = PaddedTime(line);
    if (Has(lower, "time-in-this-smil"))
        m_s.zeit = PaddedTime(line);
    if (Has(lower, "totalelapsedtime"))
        m_elapsed = PaddedTime(line);
    if (Has(lower, "total-elapsed-time"))
        m_elapsed = PaddedTime(line);
}

void SmilFile::Par(const std::string& line, const std::string& lower) {
    ++m_s.phraseRow;
    m_firstClipStored = false;
    m_parId = Latin1(scan::AttributeValue(line, "id="));
    const struct {
        std::string_view marker;
        const char* skip;
        bool BookFeatures::*found;
    } classes[] = {
        {"sidebar-on", "sidebar", &BookFeatures::sidebars},
        {"prodnote-on", "prodnote", &BookFeatures::prodnotes},
        {"footnote-on", "footnote", &BookFeatures::footnotes},
        {"pagenumber-on", "pagenumber", &BookFeatures::pageNumbers},
    };
    for (const auto& c : classes) {
        if (Has(lower, c.marker)) {
            m_s.skip = c.skip;
            m_s.features.*c.found = true;
            break;
        }
    }
    BookTable& phrases = m_s.phrases;
    const int row = phrases.InsertRow(m_s.phraseRow);
    phrases.SetText(row, col::kPhraseTreeId, m_s.treeId);
    phrases.SetText(row, col::kParId, m_parId);
    phrases.SetText(row, col::kSkip, Latin1(m_s.skip));
}

void SmilFile::Text(const std::string& line) {
    const QString name = m_s.Decode(scan::TextSource(line));
    if (!m_s.features.textDocuments && !name.contains(u"ncc.html") && !name.contains(u"NCC.HTML"))
        m_s.features.textDocuments = true;
    m_document = m_s.folder + name;
    m_fragment = Latin1(scan::ExtractFragment(line));
    m_textId = Latin1(scan::AttributeValue(line, "id="));
    BookTable& phrases = m_s.phrases;
    phrases.SetText(m_s.phraseRow, col::kDocument, m_document);
    phrases.SetText(m_s.phraseRow, col::kDocFragment, m_fragment);
    phrases.SetText(m_s.phraseRow, col::kTextId, m_textId);
}

void SmilFile::Audio(const std::string& line) {
    const QString source = m_s.Decode(scan::AttributeValue(line, "src="));
    m_s.features.audio = true;
    const QString begin = Latin1(scan::ExtractClipTime(line, true));
    const QString end = Latin1(scan::ExtractClipTime(line, false));
    BookTable& phrases = m_s.phrases;
    if (!m_firstClipStored) {
        m_firstClipStored = true;
    } else {
        // A further clip of the same <par>: a row of its own with the par's text cells.
        const int row = phrases.InsertRow(++m_s.phraseRow);
        phrases.SetText(row, col::kPhraseTreeId, m_s.treeId);
        phrases.SetText(row, col::kParId, m_parId);
        phrases.SetText(row, col::kSkip, Latin1(m_s.skip));
        phrases.SetText(row, col::kDocument, m_document);
        phrases.SetText(row, col::kDocFragment, m_fragment);
        phrases.SetText(row, col::kTextId, m_textId);
    }
    phrases.SetText(m_s.phraseRow, col::kAudio, source);
    phrases.SetText(m_s.phraseRow, col::kClipBegin, begin);
    phrases.SetText(m_s.phraseRow, col::kClipEnd, end);
}

void SmilFile::Finish() {
    if (m_elapsed.isEmpty()) {
        if (m_row == 0) {
            m_elapsed = QStringLiteral("00:00:00");
        } else {
            const QString previous = m_s.headings.Text(m_row - 1, col::kTime);
            m_s.elapsedSum += scan::TimeToSeconds(previous.toLatin1().toStdString());
            const long long n = m_s.elapsedSum < 1.0 ? 0 : static_cast<long long>(m_s.elapsedSum);
            m_elapsed = QString::asprintf("%02lld:%02lld:%02lld", n / 3600, n / 60 % 60, n % 60);
        }
    }
    m_s.headings.SetText(m_row, col::kTime, m_s.zeit);
    m_s.headings.SetText(m_row, col::kElapsed, m_elapsed);
}

} // namespace

void ReadSmil(QByteArrayView data, int headingRow, ReaderState& state) {
    SmilFile file(headingRow, state);
    LineSource source(data);
    std::string line, lower;
    while (source.Next(line)) {
        LowerInto(line, lower);
        file.Line(line, lower);
    }
    file.Finish();
}

} // namespace tolvaro
