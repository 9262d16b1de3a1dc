#include "search/DocumentText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace tolvaro {
namespace {

// The names of the characters 160 to 255, in order.
constexpr std::array<std::u16string_view, 96> kLatin1Names = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"curren", u"yen",    u"brvbar", u"sect",
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",    u"shy",    u"reg",    u"macr",
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",  u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14", u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml",
};

struct Named {
    std::u16string_view name;
    char16_t code;
    constexpr bool operator<(const Named& other) const { return name < other.name; }
};
constexpr Named kOtherNames[] = {
    {u"amp", u'&'},       {u"lt", u'<'},         {u"gt", u'>'},         {u"quot", u'"'},
    {u"apos", u'\''},     {u"OElig", 0x152},     {u"oelig", 0x153},     {u"Scaron", 0x160},
    {u"scaron", 0x161},   {u"Yuml", 0x178},      {u"ndash", 0x2013},    {u"mdash", 0x2014},
    {u"lsquo", 0x2018},   {u"rsquo", 0x2019},    {u"sbquo", 0x201a},    {u"ldquo", 0x201c},
    {u"rdquo", 0x201d},   {u"bdquo", 0x201e},    {u"dagger", 0x2020},   {u"bull", 0x2022},
    {u"hellip", 0x2026},  {u"euro", 0x20ac},     {u"trade", 0x2122},    {u"thinsp", 0x2009},
};

// Every name above with its character, sorted by name for a binary search.
constexpr auto MakeReferences() {
    std::array<Named, kLatin1Names.size() + std::size(kOtherNames)> all{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kLatin1Names.size(); ++i)
        all[n++] = {kLatin1Names[i], static_cast<char16_t>(160 + i)};
    for (const Named& other : kOtherNames)
        all[n++] = other;
    std::sort(all.begin(), all.end());
    return all;
}
constexpr auto kReferences = MakeReferences();

// A tag name of up to 8 ASCII characters in lower case, packed into one number; 0 for longer
// names, which are none of those below.
constexpr quint64 NameKey(std::string_view name) {
    if (name.size() > 8)
        return 0;
    quint64 key = 0;
    for (char c : name)
        key = key << 8 | static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return key;
}

template <std::size_t N>
constexpr std::array<quint64, N> SortedKeys(const std::string_view (&names)[N]) {
    std::array<quint64, N> keys{};
    for (std::size_t i = 0; i < N; ++i)
        keys[i] = NameKey(names[i]);
    std::sort(keys.begin(), keys.end());
    return keys;
}

// Elements that run on within a line: their tags do not separate words.
constexpr std::string_view kInlineNames[] = {
    "a",    "abbr",  "acronym", "b",    "bdo",    "big", "cite", "code",  "dfn",
    "em",   "font",  "i",       "kbd",  "q",      "s",   "samp", "small", "span",
    "strike", "strong", "sub",  "sup",  "tt",     "u",   "var",
};
constexpr auto kInline = SortedKeys(kInlineNames);

// Elements whose content a reader never sees as text.
constexpr std::string_view kHiddenNames[] = {"script", "style", "title"};
constexpr auto kHidden = SortedKeys(kHiddenNames);

template <std::size_t N> bool IsOneOf(quint64 key, const std::array<quint64, N>& keys) {
    return key != 0 && std::binary_search(keys.begin(), keys.end(), key);
}

// For each byte: its folded form when it is plain ASCII text; 1 for white space; 0 for "<", "&"
// and the bytes of longer characters.
constexpr std::array<unsigned char, 256> MakeAsciiTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 0x80; ++c)
        table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (int c : {' ', '\t', '\n', '\v', '\f', '\r'})
        table[c] = 1;
    table['<'] = table['&'] = 0;
    table[0] = 1; // a NUL byte counts as white space (and never as the table's "special" 0)
    return table;
}
constexpr std::array<unsigned char, 256> kAscii = MakeAsciiTable();

// Folds eight bytes of text in place (A-Z to a-z) and returns how many of them, from the first,
// are plain printable ASCII other than "<" and "&" with no space after a blank (nor the first
// after `blankBefore`), or a few fewer (see `zeros`): each of those is kept as it is folded. The
// bytes after them may come out wrong (a carry from a byte of a longer character); they are read
// again.
// Bytes in memory order: the first in the lowest bits.
static_assert(std::endian::native == std::endian::little);
int FoldPlainBytes(std::uint64_t& chunk, bool blankBefore) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const std::uint64_t x = chunk;
    // 0x80 in the first byte that is zero; later bytes may be marked wrongly by a borrow, which
    // only stops the run earlier than it need.
    const auto zeros = [](std::uint64_t y) { return (y - kOnes) & ~y & kHigh; };
    const std::uint64_t spaces = zeros(x ^ (kOnes * ' '));
    const std::uint64_t stops = (x & kHigh) | ((x - kOnes * 0x20) & ~x & kHigh) |
                                zeros(x ^ (kOnes * '<')) | zeros(x ^ (kOnes * '&')) |
                                (spaces & ((spaces << 8) | (blankBefore ? 0x80 : 0)));
    const std::uint64_t capitals =
        (x + kOnes * (0x80 - 'A')) & ~(x + kOnes * (0x80 - 'Z' - 1)) & kHigh;
    chunk = x + (capitals >> 2); // 0x80 >> 2 is the 0x20 between a capital and its small letter
    return stops == 0 ? 8 : std::countr_zero(stops) / 8;
}

// A Latin-1 letter (U+00C0..U+00FF) folded: A-grave..THORN to their small letters, the
// multiplication sign and the small letters as they are.
char32_t FoldLatin1Letter(char32_t code) {
    return code <= 0xde && code != 0xd7 ? code + 0x20 : code;
}

bool IsAsciiSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsNameByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == ':' || c == '.' || c >= 0x80;
}

char Lower(unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
}

// Reads the markup once, writing the text into a buffer that grows only in the rare case of a
// character whose folded form is longer in UTF-8.
class Reader {
public:
    explicit Reader(QByteArrayView html)
        : m_in(html.data(), static_cast<std::size_t>(html.size())) {
        m_out.folded.resize(html.size() + 16);
        m_buf = m_out.folded.data();
        m_out.ids.reserve(static_cast<std::size_t>(html.size()) / 64); // about one id a line
    }

    DocumentText Run() {
        const std::size_t size = m_in.size();
        const auto* in = reinterpret_cast<const unsigned char*>(m_in.data());
        while (m_at < size) {
            // A run of text, the bulk of a document: up to eight plain bytes at a time where they
            // allow it, else byte by byte through the table; in locals, which the writes through
            // the buffer cannot touch. Room for one byte per byte left: a character whose folded
            // form is longer may have taken more than it read.
            Reserve(m_len + static_cast<qsizetype>(size - m_at));
            std::size_t at = m_at;
            char* out = m_buf + m_len;
            // White space writes a space that is kept only after other text: no branch on it.
            char last = Last();
            for (;;) {
                if (size - at >= 8) {
                    std::uint64_t chunk;
                    std::memcpy(&chunk, in + at, 8);
                    const int plain = FoldPlainBytes(chunk, last == ' ' || last == '\n');
                    if (plain > 0) {
                        std::memcpy(out, &chunk, 8); // room: at least one byte per byte left
                        out += plain;
                        at += static_cast<std::size_t>(plain);
                        last = static_cast<char>(chunk >> (8 * (plain - 1)));
                        if (at == size)
                            break;
                        if (plain == 8)
                            continue;
                    }
                    // The byte that stopped the eight is taken on its own, below.
                }
                const unsigned char folded = kAscii[in[at]];
                if (folded == 0) {
                    // A letter of Latin-1 (two bytes, the first 0xC3), the most common longer
                    // character in European books: folded here.
                    if (in[at] != 0xc3 || size - at < 2 || (in[at + 1] & 0xc0) != 0x80)
                        break;
                    const char32_t folded = FoldLatin1Letter(0xc0 | (in[at + 1] & 0x3f));
                    out[0] = static_cast<char>(0xc3);
                    out[1] = static_cast<char>(0x80 | (folded & 0x3f));
                    last = out[1];
                    out += 2;
                    at += 2;
                    if (at == size)
                        break;
                    continue;
                }
                const bool text = folded > 1;
                const char put = text ? static_cast<char>(folded) : ' ';
                *out = put;
                const bool keep = text || (last != ' ' && last != '\n');
                out += keep;
                last = keep ? put : last;
                if (++at == size)
                    break;
            }
            m_len = out - m_buf;
            m_at = at;
            if (m_at == size)
                break;
            const unsigned char c = in[m_at];
            if (c == '<') {
                Markup();
            } else if (c == '&') {
                Reference();
            } else {
                Multibyte();
            }
        }
        m_out.folded.resize(m_len);
        return std::move(m_out);
    }

private:
    void Reserve(qsizetype length) {
        if (length <= m_out.folded.size())
            return;
        m_out.folded.resize(std::max(length, m_out.folded.size() * 2));
        m_buf = m_out.folded.data();
    }
    void Put(char c) {
        Reserve(m_len + 1);
        m_buf[m_len++] = c;
    }
    char Last() const { return m_len > 0 ? m_buf[m_len - 1] : '\n'; }
    void Space() {
        const char last = Last();
        if (last != ' ' && last != '\n')
            Put(' ');
    }
    // A block's edge: a term never runs across it.
    void Break() {
        const char last = Last();
        if (last == ' ')
            m_buf[m_len - 1] = '\n';
        else if (last != '\n')
            Put('\n');
    }

    // A character of two to four bytes: folded, or a space. A sequence that is no UTF-8 is
    // noted and taken byte by byte.
    void Multibyte() {
        const unsigned char lead = static_cast<unsigned char>(m_in[m_at]);
        const std::size_t length = lead >= 0xf8 ? 0 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
        char32_t code = length == 0 ? 0 : lead & (0x3f >> (length - 1));
        bool valid = length != 0 && m_at + length <= m_in.size();
        for (std::size_t i = 1; valid && i < length; ++i) {
            const unsigned char next = static_cast<unsigned char>(m_in[m_at + i]);
            valid = (next & 0xc0) == 0x80;
            code = (code << 6) | (next & 0x3f);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (!valid || code < kLeast[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
            m_out.validUtf8 = false;
            Put(static_cast<char>(lead));
            ++m_at;
            return;
        }
        const std::string_view bytes = m_in.substr(m_at, length);
        m_at += length;
        if (code >= 0xc0 && code <= 0xff) { // Latin-1 letters, the most common
            PutCode(FoldLatin1Letter(code));
            return;
        }
        if (code < 0x10000 && QChar::isSpace(code)) {
            Space();
            return;
        }
        const char32_t folded = code < 0x10000 ? QChar::toCaseFolded(code) : code;
        if (folded == code) {
            for (char b : bytes)
                Put(b);
        } else {
            PutCode(folded);
        }
    }

    void PutCode(char32_t code) {
        if (code < 0x80) {
            Put(static_cast<char>(code));
        } else if (code < 0x800) {
            Put(static_cast<char>(0xc0 | (code >> 6)));
            Put(static_cast<char>(0x80 | (code & 0x3f)));
        } else if (code < 0x10000) {
            Put(static_cast<char>(0xe0 | (code >> 12)));
            Put(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
            Put(static_cast<char>(0x80 | (code & 0x3f)));
        } else {
            Put(static_cast<char>(0xf0 | (code >> 18)));
            Put(static_cast<char>(0x80 | ((code >> 12) & 0x3f)));
            Put(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
            Put(static_cast<char>(0x80 | (code & 0x3f)));
        }
    }

    // A decoded reference: folded as text is, a space for white space.
    void PutReference(char32_t code) {
        if (code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            code = 0xfffd;
        if (code < 0x10000 && QChar::isSpace(code)) {
            Space();
            return;
        }
        PutCode(code < 0x10000 ? QChar::toCaseFolded(code) : code);
    }

    // "&name;", "&#123;" or "&#x1F;"; anything else is text as it stands.
    void Reference() {
        // Only as far as the longest reference: a text of "&" without ";" stays linear.
        const std::size_t semicolon = m_in.substr(m_at + 1, 32).find(';');
        const std::size_t end = semicolon == std::string_view::npos ? semicolon : m_at + 1 + semicolon;
        if (end == std::string_view::npos) {
            Put('&');
            ++m_at;
            return;
        }
        if (const std::optional<char32_t> code = Decode(m_in.substr(m_at + 1, end - m_at - 1))) {
            PutReference(*code);
            m_at = end + 1;
        } else {
            Put('&');
            ++m_at;
        }
    }

    static std::optional<char32_t> Decode(std::string_view body) {
        if (!body.empty() && body[0] == '#') {
            const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
            bool ok = false;
            const QByteArrayView digits(body.data() + (hex ? 2 : 1),
                                        static_cast<qsizetype>(body.size()) - (hex ? 2 : 1));
            const uint value = digits.toByteArray().toUInt(&ok, hex ? 16 : 10);
            return ok ? std::optional<char32_t>(value) : std::nullopt;
        }
        if (body.size() > 8)
            return std::nullopt;
        std::array<char16_t, 8> wide{};
        for (std::size_t i = 0; i < body.size(); ++i)
            wide[i] = static_cast<unsigned char>(body[i]);
        const std::u16string_view name(wide.data(), body.size());
        const auto at = std::lower_bound(kReferences.begin(), kReferences.end(), Named{name, 0});
        if (at == kReferences.end() || at->name != name)
            return std::nullopt;
        return at->code;
    }

    void Markup() {
        const std::string_view rest = m_in.substr(m_at);
        if (rest.size() > 1 && rest[1] == '!' && rest.starts_with("<!--")) {
            const std::size_t end = m_in.find("-->", m_at + 4);
            m_at = end == std::string_view::npos ? m_in.size() : end + 3;
            return;
        }
        const char next = rest.size() > 1 ? rest[1] : '\0';
        if (next == '!' || next == '?') {
            SkipPast('>');
            return;
        }
        const bool closing = next == '/';
        std::size_t at = m_at + (closing ? 2 : 1);
        const std::size_t nameStart = at;
        while (at < m_in.size() && IsNameByte(static_cast<unsigned char>(m_in[at])))
            ++at;
        const std::string_view name = m_in.substr(nameStart, at - nameStart);
        const unsigned char first = name.empty() ? 0 : static_cast<unsigned char>(name[0]);
        if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'))) {
            Put('<'); // a "<" in text
            ++m_at;
            return;
        }
        m_at = at;
        const std::optional<std::string_view> id = Attributes();
        const quint64 key = NameKey(name);
        if (!IsOneOf(key, kInline))
            Break();
        if (!closing && id)
            m_out.ids.emplace_back(*id, m_len);
        if (!closing && IsOneOf(key, kHidden))
            SkipToClosing(name);
    }

    // The attributes up to the tag's end, past it; the value of the id attribute.
    std::optional<std::string_view> Attributes() {
        std::optional<std::string_view> id;
        while (m_at < m_in.size()) {
            const unsigned char c = static_cast<unsigned char>(m_in[m_at]);
            if (c == '>') {
                ++m_at;
                break;
            }
            if (IsAsciiSpace(c) || c == '/') {
                ++m_at;
                continue;
            }
            const std::size_t nameStart = m_at;
            while (m_at < m_in.size() && !IsAsciiSpace(static_cast<unsigned char>(m_in[m_at])) &&
                   m_in[m_at] != '=' && m_in[m_at] != '>')
                ++m_at;
            const std::string_view name = m_in.substr(nameStart, m_at - nameStart);
            if (m_at < m_in.size() && m_in[m_at] == '=') {
                const std::string_view value = Value();
                if (name.size() == 2 && Lower(name[0]) == 'i' && Lower(name[1]) == 'd')
                    id = value;
            } else if (name.empty()) {
                ++m_at; // a stray character
            }
        }
        return id;
    }

    // After "=": a quoted value, or one that ends at white space or the tag's end.
    std::string_view Value() {
        ++m_at;
        if (m_at >= m_in.size())
            return {};
        const char quote = m_in[m_at];
        if (quote == '"' || quote == '\'') {
            const std::size_t end = m_in.find(quote, m_at + 1);
            const std::size_t stop = end == std::string_view::npos ? m_in.size() : end;
            const std::string_view value = m_in.substr(m_at + 1, stop - m_at - 1);
            m_at = std::min(m_in.size(), stop + 1);
            return value;
        }
        const std::size_t start = m_at;
        while (m_at < m_in.size() && !IsAsciiSpace(static_cast<unsigned char>(m_in[m_at])) &&
               m_in[m_at] != '>')
            ++m_at;
        return m_in.substr(start, m_at - start);
    }

    void SkipPast(char c) {
        const std::size_t end = m_in.find(c, m_at);
        m_at = end == std::string_view::npos ? m_in.size() : end + 1;
    }

    // To the element's closing tag in any case (which is read next), or to the end.
    void SkipToClosing(std::string_view name) {
        for (std::size_t at = m_in.find("</", m_at); at != std::string_view::npos;
             at = m_in.find("</", at + 2)) {
            const std::string_view candidate = m_in.substr(at + 2, name.size());
            if (NameKey(candidate) == NameKey(name)) {
                m_at = at;
                return;
            }
        }
        m_at = m_in.size();
    }

    std::string_view m_in;
    std::size_t m_at = 0;
    DocumentText m_out;
    char* m_buf;
    qsizetype m_len = 0;
};

} // namespace

QChar FoldChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80)
        return QChar(u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u);
    return c.isSurrogate() ? c : c.toCaseFolded();
}

QString FoldCase(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), folded.begin(), FoldChar);
    return folded;
}

DocumentText ReadDocumentText(QByteArrayView html) {
    return Reader(html).Run();
}

} // namespace tolvaro
