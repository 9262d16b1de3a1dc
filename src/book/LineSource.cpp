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

} // namespace

void LowerInto(std::string_view in, std::string& out) {
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = Lower(in[i]);
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

bool LineSource::NextPiece(std::string_view& piece) {
    const char* const data = m_data.data();
    const char* const end = data + m_data.size();
    while (m_pos < m_data.size()) {
        const char* const start = data + m_pos;
        if (*start == '\n') { // an empty line
            ++m_pos;
            continue;
        }
        if (m_lineEnd == kUnknown || m_lineEnd < m_pos) { // once a line, however many pieces
            const void* lf = std::memchr(start, '\n', m_data.size() - m_pos);
            m_lineEnd =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : m_data.size();
        }
        const char* const lineEnd = data + m_lineEnd;
        const char* p = start + 1;
        m_innerTag = false;
        for (;;) {
            const void* lt =
                p < lineEnd ? std::memchr(p, '<', static_cast<std::size_t>(lineEnd - p)) : nullptr;
            if (!lt) {
                p = lineEnd;
                break;
            }
            p = static_cast<const char*>(lt);
            if (StartsPieceAt(p, end))
                break;
            m_innerTag = true;
            ++p;
        }
        const bool lineEnds = p == lineEnd;
        m_pos = static_cast<std::size_t>(p - data) + (lineEnds && p != end ? 1 : 0);
        const char* pieceEnd = p - (lineEnds && p[-1] == '\r' ? 1 : 0); // p > start here
        piece = std::string_view(start, static_cast<std::size_t>(pieceEnd - start));
        if (*start == '<' || !OnlySpace(piece)) // a piece that starts a tag is never blank
            return true;
    }
    return false;
}

bool LineSource::Next(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.assign(piece);
    return true;
}

bool LineSource::AppendNext(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.append(piece);
    return true;
}

} // namespace tolvaro
