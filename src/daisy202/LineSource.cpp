#include "daisy202/LineSource.h"

#include <algorithm>

namespace tolvaro {
namespace {

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether the "<" at `at` starts an element that begins a piece.
bool StartsPiece(std::string_view s, std::size_t at) {
    const std::size_t after = at + 1;
    if (after + 1 < s.size() && Lower(s[after]) == 'h' && s[after + 1] >= '1' &&
        s[after + 1] <= '6')
        return after + 2 >= s.size() || !IsAlnum(s[after + 2]);
    const auto followedBy = [&](std::string_view name, bool slashToo) {
        if (after + name.size() >= s.size() || FindNoCase(s.substr(after, name.size()), name) != 0)
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
    return std::all_of(s.begin(), s.end(), IsSpace);
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

// A piece runs to the end of its line or to the next "<" that starts a piece.
bool LineSource::NextPiece(std::string_view& piece) {
    const char* const data = m_data.data();
    const char* const end = data + m_data.size();
    while (m_pos < m_data.size()) {
        const std::size_t start = m_pos;
        std::size_t at = start;
        if (data[at] != '\n') {
            for (++at; at < m_data.size() && data[at] != '\n'; ++at) {
                if (data[at] == '<' && StartsPieceAt(data + at, end))
                    break;
            }
        }
        const bool lineEnds = at == m_data.size() || data[at] == '\n';
        m_pos = at + (at < m_data.size() && data[at] == '\n' ? 1 : 0);
        if (at == start)
            continue; // an empty line
        const std::size_t pieceEnd = at - (lineEnds && data[at - 1] == '\r' ? 1 : 0);
        piece = m_data.substr(start, pieceEnd - start);
        if (data[start] == '<' || !OnlySpace(piece)) // a piece that starts a tag is never blank
            return true;
    }
    return false;
}

void LineSource::JoinUntil(std::string& line, std::string& lower, std::string_view closing) {
    std::size_t from = 0;
    std::string_view piece;
    while (FindNoCase(line, closing, from) == std::string_view::npos && NextPiece(piece)) {
        // A closing that began in what was joined before ends in this piece.
        from = line.size() + 1 > closing.size() ? line.size() + 1 - closing.size() : 0;
        line.append(piece);
    }
    LowerInto(line, lower);
}

bool LineSource::Next(std::string& line) {
    std::string_view piece;
    if (!NextPiece(piece))
        return false;
    line.assign(piece);
    return true;
}

} // namespace tolvaro
