#include "search/DocumentText.h"

#include <algorithm>
#include <array>
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
};
constexpr Named kOtherNames[] = {
    {u"amp", u'&'},       {u"lt", u'<'},         {u"gt", u'>'},         {u"quot", u'"'},
    {u"apos", u'\''},     {u"OElig", 0x152},     {u"oelig", 0x153},     {u"Scaron", 0x160},
    {u"scaron", 0x161},   {u"Yuml", 0x178},      {u"ndash", 0x2013},    {u"mdash", 0x2014},
    {u"lsquo", 0x2018},   {u"rsquo", 0x2019},    {u"sbquo", 0x201a},    {u"ldquo", 0x201c},
    {u"rdquo", 0x201d},   {u"bdquo", 0x201e},    {u"dagger", 0x2020},   {u"bull", 0x2022},
    {u"hellip", 0x2026},  {u"euro", 0x20ac},     {u"trade", 0x2122},    {u"thinsp", 0x2009},
};

// Elements that run on within a line: their tags do not separate words.
constexpr std::u16string_view kInline[] = {
    u"a",    u"abbr",  u"acronym", u"b",    u"bdo",  u"big",    u"cite", u"code",
    u"dfn",  u"em",    u"font",    u"i",    u"kbd",  u"q",      u"s",    u"samp",
    u"small", u"span", u"strike",  u"strong", u"sub", u"sup",   u"tt",   u"u",
    u"var",
};

// Elements whose content a reader never sees as text.
constexpr std::u16string_view kHidden[] = {u"script", u"style", u"title"};

bool EqualsIgnoringAsciiCase(QStringView a, std::u16string_view b) {
    return a.size() == static_cast<qsizetype>(b.size()) &&
           a.compare(QStringView(b.data(), b.size()), Qt::CaseInsensitive) == 0;
}

template <std::size_t N>
bool IsOneOf(QStringView name, const std::u16string_view (&names)[N]) {
    return std::any_of(std::begin(names), std::end(names),
                       [&](std::u16string_view n) { return EqualsIgnoringAsciiCase(name, n); });
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.';
}

class Reader {
public:
    explicit Reader(QStringView html) : m_html(html) { m_out.folded.reserve(html.size() / 2); }

    DocumentText Run() {
        while (m_at < m_html.size()) {
            const QChar c = m_html[m_at];
            if (c == u'<')
                Markup();
            else if (c == u'&')
                Reference();
            else
                Append(c), ++m_at;
        }
        return std::move(m_out);
    }

private:
    void Append(QChar c) {
        if (c.isSpace() || c == QChar(0xa0)) {
            Space();
            return;
        }
        m_out.folded.append(FoldChar(c));
    }
    void AppendCode(char32_t code) {
        if (code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            code = 0xfffd;
        if (code < 0x10000) {
            Append(QChar(static_cast<char16_t>(code)));
            return;
        }
        const char32_t both[] = {code};
        m_out.folded.append(QString::fromUcs4(both, 1)); // no simple folding changes these
    }
    void Space() {
        if (!m_out.folded.isEmpty() && m_out.folded.back() != u' ' && m_out.folded.back() != u'\n')
            m_out.folded.append(u' ');
    }
    // A block's edge: a term never runs across it.
    void Break() {
        if (m_out.folded.isEmpty() || m_out.folded.back() == u'\n')
            return;
        if (m_out.folded.back() == u' ')
            m_out.folded.back() = u'\n';
        else
            m_out.folded.append(u'\n');
    }

    // "&name;", "&#123;" or "&#x1F;"; anything else is text as it stands.
    void Reference() {
        const qsizetype end = m_html.indexOf(u';', m_at + 1);
        if (end < 0 || end - m_at > 32) {
            Append(m_html[m_at++]);
            return;
        }
        const QStringView body = m_html.sliced(m_at + 1, end - m_at - 1);
        if (const std::optional<char32_t> code = Decode(body)) {
            AppendCode(*code);
            m_at = end + 1;
        } else {
            Append(m_html[m_at++]);
        }
    }

    static std::optional<char32_t> Decode(QStringView body) {
        if (body.startsWith(u'#')) {
            const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
            bool ok = false;
            const uint value = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            return ok ? std::optional<char32_t>(value) : std::nullopt;
        }
        const std::u16string_view name(reinterpret_cast<const char16_t*>(body.utf16()),
                                       static_cast<std::size_t>(body.size()));
        for (std::size_t i = 0; i < kLatin1Names.size(); ++i) {
            if (kLatin1Names[i] == name)
                return static_cast<char32_t>(160 + i);
        }
        for (const Named& n : kOtherNames) {
            if (n.name == name)
                return n.code;
        }
        return std::nullopt;
    }

    void Markup() {
        const QStringView rest = m_html.sliced(m_at);
        if (rest.startsWith(u"<!--")) {
            const qsizetype end = m_html.indexOf(u"-->", m_at + 4);
            m_at = end < 0 ? m_html.size() : end + 3;
            return;
        }
        const QChar next = rest.size() > 1 ? rest[1] : QChar();
        if (next == u'!' || next == u'?') {
            SkipPast(u'>');
            return;
        }
        const bool closing = next == u'/';
        qsizetype at = m_at + (closing ? 2 : 1);
        const qsizetype nameStart = at;
        while (at < m_html.size() && IsNameChar(m_html[at]))
            ++at;
        const QStringView name = m_html.sliced(nameStart, at - nameStart);
        if (name.isEmpty() || !name[0].isLetter()) {
            Append(m_html[m_at++]); // a "<" in text
            return;
        }
        m_at = at;
        const QString id = Attributes();
        if (!closing && !id.isNull() && !m_out.idStarts.contains(id))
            m_out.idStarts.insert(id, m_out.folded.size());
        if (!IsOneOf(name, kInline))
            Break();
        if (!closing && IsOneOf(name, kHidden))
            SkipToClosing(name);
    }

    // The attributes up to the tag's end, past it; the value of the id attribute (null when none).
    QString Attributes() {
        QString id;
        while (m_at < m_html.size()) {
            const QChar c = m_html[m_at];
            if (c == u'>') {
                ++m_at;
                break;
            }
            if (c.isSpace() || c == u'/') {
                ++m_at;
                continue;
            }
            const qsizetype nameStart = m_at;
            while (m_at < m_html.size() && !m_html[m_at].isSpace() && m_html[m_at] != u'=' &&
                   m_html[m_at] != u'>')
                ++m_at;
            const QStringView name = m_html.sliced(nameStart, m_at - nameStart);
            if (m_at < m_html.size() && m_html[m_at] == u'=') {
                const QStringView value = Value();
                if (EqualsIgnoringAsciiCase(name, u"id"))
                    id = value.toString();
            } else if (name.isEmpty()) {
                ++m_at; // a stray character
            }
        }
        return id;
    }

    // After "=": a quoted value, or one that ends at white space or the tag's end.
    QStringView Value() {
        ++m_at;
        if (m_at >= m_html.size())
            return {};
        const QChar quote = m_html[m_at];
        if (quote == u'"' || quote == u'\'') {
            const qsizetype end = m_html.indexOf(quote, m_at + 1);
            const qsizetype stop = end < 0 ? m_html.size() : end;
            const QStringView value = m_html.sliced(m_at + 1, stop - m_at - 1);
            m_at = std::min(m_html.size(), stop + 1);
            return value;
        }
        const qsizetype start = m_at;
        while (m_at < m_html.size() && !m_html[m_at].isSpace() && m_html[m_at] != u'>')
            ++m_at;
        return m_html.sliced(start, m_at - start);
    }

    void SkipPast(QChar c) {
        const qsizetype end = m_html.indexOf(c, m_at);
        m_at = end < 0 ? m_html.size() : end + 1;
    }

    // To the element's closing tag (which is read next), or to the end.
    void SkipToClosing(QStringView name) {
        const QString closing = QStringLiteral("</") + name.toString();
        const qsizetype end = m_html.indexOf(closing, m_at, Qt::CaseInsensitive);
        m_at = end < 0 ? m_html.size() : end;
    }

    QStringView m_html;
    qsizetype m_at = 0;
    DocumentText m_out;
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

DocumentText ReadDocumentText(QStringView html) {
    return Reader(html).Run();
}

} // namespace tolvaro
