#include "book/SmilReader.h"

#include "book/BookModel.h"
#include "book/ByteSearch.h"
#include "book/LineSource.h"
#include "book/ReaderState.h"
#include "book/ScanText.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tolvaro {
namespace {

bool Has(std::string_view line, std::string_view lowerKey) {
    return ContainsNoCase(line, lowerKey);
}

constexpr auto npos = std::string_view::npos;

// The same bytes: short views, compared without a call.
bool Same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

// Has(line, "-on"), asked of every <par>: most have no "-" at all.
bool HasOnMarker(std::string_view line) {
    for (std::size_t i = FindByte(line, '-'); i != npos && i + 2 < line.size();
         i = FindByte(line, '-', i + 1)) {
        if (Lower(line[i + 1]) == 'o' && Lower(line[i + 2]) == 'n')
            return true;
    }
    return false;
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

// A tag name tested in one go on eight bytes read at its "<": letters match in either case
// (0x20 or-ed into a letter gives its lower case, and no other byte gives a lower-case
// letter), every other byte exactly.
struct TagWord {
    std::uint64_t word = 0, fold = 0, mask = 0;
};

constexpr TagWord MakeTag(std::string_view name) {
    TagWord t;
    for (std::size_t k = 0; k < name.size(); ++k) {
        const bool letter = name[k] >= 'a' && name[k] <= 'z';
        t.word |= std::uint64_t{static_cast<unsigned char>(name[k])} << (8 * k);
        t.fold |= std::uint64_t{letter ? 0x20u : 0u} << (8 * k);
        t.mask |= std::uint64_t{0xff} << (8 * k);
    }
    return t;
}

struct Tag {
    std::string_view name;
    TagWord word;
};
constexpr Tag MakeTagOf(std::string_view name) {
    return {name, MakeTag(name)};
}
constexpr Tag kHeadTag = MakeTagOf("<head>"), kBodyTag = MakeTagOf("<body>"),
              kParTag = MakeTagOf("<par"), kTextTag = MakeTagOf("<text"),
              kAudioTag = MakeTagOf("<audio"), kHeadEndTag = MakeTagOf("</head>"),
              kBodyEndTag = MakeTagOf("</body>"), kParEndTag = MakeTagOf("</par>");

// `inner`: whether a "<" follows the first byte; without one, only that byte can start a tag.
unsigned TagsIn(std::string_view line, bool inner) {
    unsigned tags = 0;
    const auto at = [&line](std::size_t i, const Tag& tag) {
        const std::string_view name = tag.name;
        if (i + name.size() > line.size())
            return false;
        if constexpr (std::endian::native == std::endian::little) {
            std::uint64_t x = 0;
            if (i + 8 <= line.size()) {
                std::memcpy(&x, line.data() + i, 8);
            } else { // a short piece: two words of four, overlapping (every name has four or more)
                std::uint32_t low, high;
                std::memcpy(&low, line.data() + i, 4);
                std::memcpy(&high, line.data() + i + name.size() - 4, 4);
                x = low | std::uint64_t{high} << (8 * (name.size() - 4));
            }
            return ((x | tag.word.fold) & tag.word.mask) == tag.word.word;
        }
        for (std::size_t k = 1; k < name.size(); ++k) {
            if (Lower(line[i + k]) != name[k])
                return false;
        }
        return true;
    };
    const std::size_t first = inner                             ? FindByte(line, '<')
                              : !line.empty() && line[0] == '<' ? 0
                                                                : npos;
    for (std::size_t i = first; i != npos; i = inner ? FindByte(line, '<', i + 1) : npos) {
        if (i + 1 >= line.size())
            break;
        switch (Lower(line[i + 1])) {
        case 'h':
            tags |= at(i, kHeadTag) ? kHead : 0;
            break;
        case 'b':
            tags |= at(i, kBodyTag) ? kBody : 0;
            break;
        case 'p':
            tags |= at(i, kParTag) ? kPar : 0;
            break;
        case 't':
            tags |= at(i, kTextTag) ? kText : 0;
            break;
        case 'a':
            tags |= at(i, kAudioTag) ? kAudio : 0;
            break;
        case '/':
            tags |= at(i, kHeadEndTag)   ? kHeadEnd
                    : at(i, kBodyEndTag) ? kBodyEnd
                    : at(i, kParEndTag)  ? kParEnd
                                         : 0;
            break;
        default:
            break;
        }
    }
    return tags;
}

class SmilFile {
public:
    explicit SmilFile(ReaderState& s)
        : m_s(s), m_firstRow(s.phraseRow + 1), m_row(s.phrases.RowAt(s.phraseRow)) {}

    // `inner`: whether a "<" follows the line's first byte.
    void Line(std::string_view line, bool inner);

    QString m_elapsed;          // from the file's own metadata
    bool m_zeitSet = false;     // whether the file set the play time
    bool m_reachesBack = false; // whether it wrote to a row before its own

private:
    void Metadata(std::string_view line);
    void Par(std::string_view line);
    void SkipClass(std::string_view line);
    void Text(std::string_view line);
    void Audio(std::string_view line);
    void SetParCells();
    void SetClipRowCells();
    // Appends the row of the next phrase, which the cells are then written to.
    void NextRow();

    ReaderState& m_s;
    int m_firstRow;
    // Row m_s.phraseRow: the loaders only append rows, so it stays where it is.
    CellStore::Row m_row;
    // Views into the file's bytes, which outlive this reader.
    std::string_view m_parId, m_fragment, m_textId;
    QString m_document;
    std::string_view m_documentSource; // the bytes m_document was made from
    bool m_haveDocument = false;
    // Rows that hold m_document and the decoded m_audioSource, for the next rows to share.
    CellStore::Row m_documentRow;
    std::string_view m_audioSource;
    CellStore::Row m_audioRow;
    // The row whose clip end m_clipEnd is, for the next clip's beginning.
    std::string_view m_clipEnd;
    CellStore::Row m_clipEndRow;
    bool m_firstClipStored = false;
};

void SmilFile::Line(std::string_view line, bool inner) {
    const unsigned tags = TagsIn(line, inner);
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
    if (Has(line, "timeinthissmil") || Has(line, "time-in-this-smil")) {
        m_s.zeit = PaddedTime(line);
        m_zeitSet = true;
    }
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
    m_row = m_s.phrases.RowAt(m_s.phrases.InsertRow(++m_s.phraseRow));
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
    if (!m_haveDocument || !Same(source, m_documentSource)) {
        const QStringView name = m_s.DecodeView(source);
        if (!m_s.features.textDocuments && !name.contains(u"ncc.html") &&
            !name.contains(u"NCC.HTML"))
            m_s.features.textDocuments = true;
        m_document.resize(0);
        m_document.reserve(m_s.folder.size() + name.size());
        m_document.append(QStringView(m_s.folder)).append(name); // a copy: a shared one reallocates
        m_documentSource = source;
        m_haveDocument = true;
        m_documentRow = {};
    }
    m_reachesBack |= m_s.phraseRow < m_firstRow;
    m_fragment = scan::ExtractFragment(line);
    m_textId = scan::AttributeValue(line, "id=");
    CellStore& phrases = m_s.phrases;
    if (m_documentRow) {
        phrases.CopyCell(m_documentRow, col::kDocument, m_row, col::kDocument);
    } else {
        phrases.SetText(m_row, col::kDocument, m_document);
        m_documentRow = m_row;
    }
    phrases.SetLatin1(m_row, col::kDocFragment, Latin1View(m_fragment));
    if (!m_textId.empty() && Same(m_textId, m_fragment)) // as a rule: one text, kept once
        phrases.CopyCell(m_row, col::kDocFragment, m_row, col::kTextId);
    else
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
    CellStore& phrases = m_s.phrases;
    phrases.SetText(m_row, col::kDocument, m_document);
    phrases.SetLatin1(m_row, col::kDocFragment, Latin1View(m_fragment));
    phrases.SetLatin1(m_row, col::kTextId, Latin1View(m_textId));
}

void SmilFile::Audio(std::string_view line) {
    m_s.features.audio = true;
    CellStore& phrases = m_s.phrases;
    if (!m_firstClipStored) {
        m_firstClipStored = true;
        m_reachesBack |= m_s.phraseRow < m_firstRow;
    } else {
        NextRow();
        SetClipRowCells();
    }
    const std::string_view source = scan::AttributeValue(line, "src=");
    if (m_audioRow && Same(source, m_audioSource)) {
        phrases.CopyCell(m_audioRow, col::kAudio, m_row, col::kAudio);
    } else {
        m_s.SetDecoded(phrases, m_row, col::kAudio, source);
        m_audioSource = source;
    }
    m_audioRow = m_row;
    // A clip mostly begins where the one before ended: that text is kept once.
    const std::string_view begin = scan::ExtractClipTime(line, true);
    if (m_clipEndRow && !begin.empty() && Same(begin, m_clipEnd))
        phrases.CopyCell(m_clipEndRow, col::kClipEnd, m_row, col::kClipBegin);
    else
        phrases.SetLatin1(m_row, col::kClipBegin, Latin1View(begin));
    m_clipEnd = scan::ExtractClipTime(line, false);
    m_clipEndRow = m_row;
    phrases.SetLatin1(m_row, col::kClipEnd, Latin1View(m_clipEnd));
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

void ReadLines(QByteArrayView data, SmilFile& file) {
    LineSource source(data);
    std::string_view line;
    while (source.NextPiece(line))
        file.Line(line, source.InnerTag());
}

} // namespace

void ReadSmil(QByteArrayView data, int headingRow, ReaderState& state) {
    SmilFile file(state);
    ReadLines(data, file);
    FinishHeading(headingRow, file.m_elapsed, state);
}

SmilScan ScanSmil(QByteArrayView data, const QString& folder, unsigned codePage, int columns,
                  ScanTools& tools) {
    SmilScan scan(columns, tools.memory);
    scan.phrases.Reserve(static_cast<std::size_t>(data.size()) / 4); // texts are a part of it
    CellStore noHeadings(0);
    ReaderState state{noHeadings, scan.phrases, scan.features, tools.decoder, folder};
    state.codePage = codePage;
    SmilFile file(state);
    ReadLines(data, file);
    scan.phrases.Shrink();
    scan.codePage = codePage;
    scan.inHead = state.smilInHead;
    scan.inBody = state.smilInBody;
    scan.skip = state.skip;
    scan.zeitSet = file.m_zeitSet;
    scan.zeit = state.zeit;
    scan.elapsed = file.m_elapsed;
    scan.reachesBack = file.m_reachesBack;
    return scan;
}

bool TakeSmil(SmilScan& scan, int headingRow, ReaderState& state) {
    if (scan.reachesBack || scan.codePage != state.codePage || state.smilInHead ||
        state.smilInBody || !state.skip.empty() || state.phraseRow != state.phrases.RowCount() - 1)
        return false;
    state.phraseRow += scan.phrases.RowCount();
    state.phrases.AppendRows(std::move(scan.phrases), col::kPhraseTreeId, state.treeId);
    state.features |= scan.features;
    state.smilInHead = scan.inHead;
    state.smilInBody = scan.inBody;
    state.skip = scan.skip;
    if (scan.zeitSet)
        state.zeit = scan.zeit;
    FinishHeading(headingRow, scan.elapsed, state);
    return true;
}

} // namespace tolvaro
