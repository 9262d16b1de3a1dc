#include "book/LineSource.h"

#include <algorithm>
#include <cstring>

namespace tolvaro {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool NameAt(std::string_view s, std::size_t at, std::string_view name) {
    if (at + name.size() > s.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (Lower(s[at + i]) != name[i])
            return false;
    }
    return true;
}

// Whether the "<" at `at` starts an element that begins a piece.
bool StartsPiece(std::string_view s, std::size_t at) {
    const std::size_t after = at + 1;
    if (after + 1 < s.size() && Lower(s[after]) == 'h' && s[after + 1] >= '1' &&
        s[after + 1] <= '6')
        return after + 2 >= s.size() || !IsAlnum(s[after + 2]);
    const auto followedBy = [&](std::string_view name, bool slashToo) {
        if (!NameAt(s, after, name) || after + name.size() >= s.size())
            return false;
        const char next = s[after + name.size()];
        return IsSpace(next) || next == '>' || (slashToo && next == '/');
    };
    for (std::string_view name : {"span", "div", "meta", "par", "text", "audio"}) {
        if (followedBy(name, true))
            return true;
    }
    for (std::string_view name : {"head", "body", "/head", "/body", "/par"}) {
        if (followedBy(name, false))
            return true;
    }
    return false;
}

bool OnlySpace(std::string_view s) {
    for (char c : s) {
        if (!IsSpace(c))
            return false;
    }
    return true;
}

// Whether the "<" at p starts a piece. What follows it on its line decides: a CR before the
// LF is not part of it.
bool StartsPieceAt(const char* p, const char* end) {
    std::string_view ahead(p, static_cast<std::size_t>(std::min<std::ptrdiff_t>(8, end - p)));
    ahead = ahead.substr(0, ahead.find('\n'));
    if (!ahead.empty() && ahead.back() == '\r' &&
        (p + ahead.size() == end || p[ahead.size()] == '\n'))
        ahead.remove_suffix(1);
    return StartsPiece(ahead, 0);
}

// Where `text` holds `lowerNeedle` first, at or after `from`, when A to Z are compared without
// regard to case (npos if nowhere). The needle is a closing tag's start, "</" and a name: it is
// looked for by its "/", far rarer in markup than "<".
std::size_t FindClosing(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    const char* const data = text.data();
    for (std::size_t at = from + 1; at + lowerNeedle.size() <= text.size() + 1; ++at) {
        const void* slash = std::memchr(data + at, '/', text.size() - at);
        if (!slash)
            break;
        at = static_cast<std::size_t>(static_cast<const char*>(slash) - data);
        if (NameAt(text, at - 1, lowerNeedle))
            return at - 1;
    }
    return std::string_view::npos;
}

// In blocks of sixteen, a length the compiler vectorises; the two never overlap.
void LowerBytes(const char* __restrict in, char* __restrict out, std::size_t n) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        for (std::size_t j = 0; j < 16; ++j)
            out[i + j] = Lower(in[i + j]);
    }
    for (; i < n; ++i)
        out[i] = Lower(in[i]);
}

void AppendLower(std::string_view in, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + in.size());
    LowerBytes(in.data(), out.data() + at, in.size());
}

} // namespace

void LowerInto(std::string_view in, std::string& out) {
    out.clear();
    AppendLower(in, out);
}

bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle) {
    if (lowerNeedle.size() > text.size())
        return false;
    const std::size_t starts = text.size() - lowerNeedle.size() + 1;
    for (std::size_t i = 0; i < starts; ++i) {
        if (NameAt(text, i, lowerNeedle))
            return true;
    }
    return false;
}

std::size_t FindIn(const std::string& text, std::string_view needle, std::size_t from) {
    // strstr, far faster than memmem on text with a "<" every few bytes, stops at a NUL: the
    // text must end in one (as a std::string's does), and a NUL within it is stepped over.
    if (needle.empty() || needle.find('\0') != std::string_view::npos)
        return text.find(needle, from);
    const std::string needleZ(needle);
    const char* const end = text.data() + text.size();
    for (const char* at = text.data() + std::min(from, text.size()); at < end;) {
        if (const char* found = std::strstr(at, needleZ.c_str()))
            return static_cast<std::size_t>(found - text.data());
        const void* nul = std::memchr(at, '\0', static_cast<std::size_t>(end - at));
        if (!nul)
            break;
        at = static_cast<const char*>(nul) + 1;
    }
    return std::string_view::npos;
}

std::size_t LineSource::LineEnd() {
    if (m_lineEnd == kUnknown || m_lineEnd < m_pos) { // once a line, however many pieces
        const void* lf = std::memchr(m_data.data() + m_pos, '\n', m_data.size() - m_pos);
        m_lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - m_data.data())
                       : m_data.size();
    }
    return m_lineEnd;
}

// Where a piece that holds the byte before `from` ends: at the first "<" from there on that
// starts a piece, or at the line's end.
std::size_t LineSource::PieceEnd(std::size_t from, std::size_t lineEnd) {
    const char* const data = m_data.data();
    const char* const end = data + m_data.size();
    m_innerTag = false;
    for (std::size_t at = from; at < lineEnd; ++at) {
        const void* lt = std::memchr(data + at, '<', lineEnd - at);
        if (!lt)
            break;
        at = static_cast<std::size_t>(static_cast<const char*>(lt) - data);
        if (StartsPieceAt(data + at, end))
            return at;
        m_innerTag = true;
    }
    return lineEnd;
}

bool LineSource::NextPiece(std::string_view& piece) {
    const char* const data = m_data.data();
    while (m_pos < m_data.size()) {
        const std::size_t start = m_pos;
        if (data[start] == '\n') { // an empty line
            ++m_pos;
            continue;
        }
        const std::size_t lineEnd = LineEnd();
        const std::size_t p = PieceEnd(start + 1, lineEnd);
        const bool lineEnds = p == lineEnd;
        m_pos = p + (lineEnds && p != m_data.size() ? 1 : 0);
        const std::size_t pieceEnd = p - (lineEnds && data[p - 1] == '\r' ? 1 : 0); // p > start
        piece = m_data.substr(start, pieceEnd - start);
        if (data[start] == '<' || !OnlySpace(piece)) // a piece that starts a tag is never blank
            return true;
    }
    return false;
}

// Where a join takes up the line m_pos is in: past a first piece of only white space, which
// is dropped; at the line's end when it is all white space.
std::size_t LineSource::JoinStart(std::size_t lineEnd) const {
    const bool lineStart = m_pos == 0 || m_data[m_pos - 1] == '\n';
    if (!lineStart || !IsSpace(m_data[m_pos])) // a piece that starts mid-line starts a tag
        return m_pos;
    std::size_t text = m_pos;
    while (text < lineEnd && IsSpace(m_data[text]))
        ++text;
    if (text < lineEnd && m_data[text] == '<' &&
        StartsPieceAt(m_data.data() + text, m_data.data() + m_data.size()))
        return text;
    return text == lineEnd ? lineEnd : m_pos;
}

void LineSource::JoinUntil(std::string& line, std::string& lower, std::string_view closing) {
    if (FindIn(lower, closing) != std::string_view::npos)
        return;
    const std::size_t lowered = line.size();
    while (m_pos < m_data.size()) {
        const std::size_t lineEnd = LineEnd();
        const std::size_t next = lineEnd + (lineEnd < m_data.size() ? 1 : 0);
        const std::size_t start = JoinStart(lineEnd);
        std::size_t stop = lineEnd;
        if (stop > start && m_data[stop - 1] == '\r')
            --stop; // the CR before the LF belongs to no piece
        if (start == stop) { // nothing of this line joins
            m_pos = next;
            continue;
        }
        // A closing that began in what was joined before ends in this line.
        const std::size_t joined = line.size();
        line.append(m_data.substr(start, stop - start));
        const std::size_t found = FindClosing(
            line, closing, joined + 1 > closing.size() ? joined + 1 - closing.size() : 0);
        if (found == std::string_view::npos) {
            m_pos = next;
            continue;
        }
        // Up to the end of the piece that holds the closing's last byte.
        const std::size_t cut = PieceEnd(start + (found + closing.size() - joined), lineEnd);
        if (cut == lineEnd) {
            m_pos = next;
        } else {
            line.resize(joined + (cut - start));
            m_pos = cut;
        }
        break;
    }
    AppendLower(std::string_view(line).substr(lowered), lower); // once, in one pass
}

bool LineSource::Next(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.assign(piece);
    return true;
}

} // namespace tolvaro
