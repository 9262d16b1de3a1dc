#include "search/DocumentText.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <iterator>
#include <optional>

namespace tolvaro {
namespace {

// The names of the characters 160 to 255, in order.
constexpr QStringView kLatin1Names[] = {
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

constexpr std::pair<QStringView, char16_t> kOtherNames[] = {
    {u"amp", u'&'},      {u"lt", u'<'},      {u"gt", u'>'},       {u"quot", u'"'},
    {u"apos", u'\''},    {u"OElig", 0x152},  {u"oelig", 0x153},   {u"Scaron", 0x160},
    {u"scaron", 0x161},  {u"Yuml", 0x178},   {u"ndash", 0x2013},  {u"mdash", 0x2014},
    {u"lsquo", 0x2018},  {u"rsquo", 0x2019}, {u"sbquo", 0x201a},  {u"ldquo", 0x201c},
    {u"rdquo", 0x201d},  {u"bdquo", 0x201e}, {u"dagger", 0x2020}, {u"bull", 0x2022},
    {u"hellip", 0x2026}, {u"euro", 0x20ac},  {u"trade", 0x2122},  {u"thinsp", 0x2009},
};

// Elements that run on within a line: their tags do not separate words.
constexpr QStringView kInline[] = {
    u"a",      u"abbr",   u"acronym", u"b",   u"bdo", u"big", u"cite", u"code",  u"dfn",
    u"em",     u"font",   u"i",       u"kbd", u"q",   u"s",   u"samp", u"small", u"span",
    u"strike", u"strong", u"sub",     u"sup", u"tt",  u"u",   u"var",
};
// Elements whose content a reader never sees as text (an NCX's page and other lists among them:
// its navigation points' labels are the text of a book that has no other).
constexpr QStringView kHidden[] = {u"script", u"style", u"title", u"pageList", u"navList"};

template <std::size_t N> bool IsOneOf(QStringView name, const QStringView (&names)[N]) {
    return std::any_of(std::begin(names), std::end(names),
                       [name](QStringView n) { return name.compare(n, Qt::CaseInsensitive) == 0; });
}

bool IsSpace(QChar c) {
    return c.isSpace() || c.isNull();
}

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.' ||
           c.unicode() >= 0x80;
}

// "name", "#123" or "#x1F", the body of a character reference.
std::optional<char32_t> Decode(QStringView body) {
    if (body.startsWith(u'#')) {
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        bool ok = false;
        const uint value = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        return ok ? std::optional<char32_t>(value) : std::nullopt;
    }
    const auto latin1 = std::find(std::begin(kLatin1Names), std::end(kLatin1Names), body);
    if (latin1 != std::end(kLatin1Names))
        return 160 + (latin1 - std::begin(kLatin1Names));
    for (const auto& [name, code] : kOtherNames) {
        if (name == body)
            return code;
    }
    return std::nullopt;
}

// Reads the markup once. Text waits unfolded in a run, folded when markup ends it: folding may
// change a text's length, so each id's offset is taken after the text before it is folded.
class Reader {
public:
    Reader(QStringView html, bool fold) : m_in(html), m_fold(fold) {}

    DocumentText Run() {
        while (m_at < m_in.size()) {
            const QChar c = m_in[m_at];
            if (c == u'<') {
                Markup();
            } else if (c == u'&') {
                Reference();
            } else {
                Text(c);
                ++m_at;
            }
        }
        Flush();
        return std::move(m_out);
    }

private:
    void Text(QChar c) {
        if (!IsSpace(c))
            m_run += c;
        else if (const QChar last = Last(); last != u' ' && last != u'\n')
            m_run += u' ';
    }
    QChar Last() const {
        const QString& text = m_run.isEmpty() ? m_out.text : m_run;
        return text.isEmpty() ? QChar(u'\n') : text.back();
    }
    void Flush() {
        if (m_run.isEmpty())
            return;
        m_out.text += m_fold ? FoldCase(m_run) : m_run;
        m_run.clear();
    }
    // A block's edge: a term never runs across it.
    void Break() {
        Flush();
        QString& text = m_out.text;
        if (text.endsWith(u' '))
            text.back() = u'\n';
        else if (!text.isEmpty() && !text.endsWith(u'\n'))
            text += u'\n';
    }

    // "&name;", "&#123;" or "&#x1F;"; anything else is text as it stands. Only as far as the
    // longest reference looks for the ";": a text of "&" without one stays linear.
    void Reference() {
        const qsizetype semicolon = m_in.mid(m_at + 1, 32).indexOf(u';');
        const std::optional<char32_t> code =
            semicolon < 0 ? std::nullopt : Decode(m_in.sliced(m_at + 1, semicolon));
        if (!code) {
            m_run += u'&';
            ++m_at;
            return;
        }
        m_at += semicolon + 2;
        const bool valid = *code != 0 && *code <= 0x10ffff && (*code < 0xd800 || *code > 0xdfff);
        const char32_t c = valid ? *code : 0xfffd;
        if (c < 0x10000)
            Text(QChar(static_cast<char16_t>(c)));
        else
            m_run += QString::fromUcs4(&c, 1);
    }

    void Markup() {
        const QStringView rest = m_in.sliced(m_at);
        if (rest.startsWith(u"<!--")) {
            SkipPast(u"-->", 4);
            return;
        }
        if (rest.startsWith(u"<!") || rest.startsWith(u"<?")) {
            SkipPast(u">", 1);
            return;
        }
        const bool closing = rest.startsWith(u"</");
        qsizetype at = m_at + (closing ? 2 : 1);
        const qsizetype start = at;
        while (at < m_in.size() && IsNameChar(m_in[at]))
            ++at;
        const QStringView name = m_in.sliced(start, at - start);
        if (name.isEmpty() || name[0].unicode() >= 0x80 || !name[0].isLetter()) {
            m_run += u'<'; // a "<" in text
            ++m_at;
            return;
        }
        m_at = at;
        const std::optional<QStringView> id = Attributes();
        if (!IsOneOf(name, kInline))
            Break();
        if (!closing && id) {
            Flush();
            m_out.ids.append({id->toString(), m_out.text.size()});
        }
        if (!closing && IsOneOf(name, kHidden))
            SkipToClosing(name);
    }

    // The attributes up to the tag's end, past it; the value of the id attribute.
    std::optional<QStringView> Attributes() {
        std::optional<QStringView> id;
        while (m_at < m_in.size()) {
            const QChar c = m_in[m_at];
            if (c == u'>') {
                ++m_at;
                break;
            }
            if (c.isSpace() || c == u'/') {
                ++m_at;
                continue;
            }
            const qsizetype start = m_at;
            while (m_at < m_in.size() && !m_in[m_at].isSpace() && m_in[m_at] != u'=' &&
                   m_in[m_at] != u'>')
                ++m_at;
            const QStringView name = m_in.sliced(start, m_at - start);
            if (m_at < m_in.size() && m_in[m_at] == u'=') {
                const QStringView value = Value();
                if (name.compare(u"id", Qt::CaseInsensitive) == 0)
                    id = value;
            } else if (name.isEmpty()) {
                ++m_at; // a stray character
            }
        }
        return id;
    }

    // After "=": a quoted value, or one that ends at white space or the tag's end.
    QStringView Value() {
        ++m_at;
        const QChar quote = m_at < m_in.size() ? m_in[m_at] : QChar();
        if (quote == u'"' || quote == u'\'') {
            const qsizetype end = m_in.indexOf(quote, m_at + 1);
            const qsizetype stop = end < 0 ? m_in.size() : end;
            const QStringView value = m_in.sliced(m_at + 1, stop - m_at - 1);
            m_at = std::min(m_in.size(), stop + 1);
            return value;
        }
        const qsizetype start = m_at;
        while (m_at < m_in.size() && !m_in[m_at].isSpace() && m_in[m_at] != u'>')
            ++m_at;
        return m_in.sliced(start, m_at - start);
    }

    void SkipPast(QStringView end, qsizetype from) {
        const qsizetype at = m_in.indexOf(end, m_at + from);
        m_at = at < 0 ? m_in.size() : at + end.size();
    }

    // To the element's closing tag in any case (which is read next), or to the end.
    void SkipToClosing(QStringView name) {
        for (qsizetype at = m_in.indexOf(u"</", m_at); at >= 0; at = m_in.indexOf(u"</", at + 2)) {
            if (m_in.mid(at + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                m_at = at;
                return;
            }
        }
        m_at = m_in.size();
    }

    QStringView m_in;
    bool m_fold;
    qsizetype m_at = 0;
    QString m_run;
    DocumentText m_out;
};

} // namespace

QString FoldCase(QStringView text) {
    // Full folding grows a character to three at most.
    QString folded(text.size() * 3, Qt::Uninitialized);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length =
        u_strFoldCase(reinterpret_cast<UChar*>(folded.data()), static_cast<int32_t>(folded.size()),
                      reinterpret_cast<const UChar*>(text.data()),
                      static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &error);
    if (U_FAILURE(error))
        return text.toString().toCaseFolded();
    folded.truncate(length);
    return folded;
}

DocumentText ReadDocumentText(QStringView html, bool fold) {
    return Reader(html, fold).Run();
}

} // namespace tolvaro
