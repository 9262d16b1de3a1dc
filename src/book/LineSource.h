#pragma once

#include <QByteArrayView>

#include <string>
#include <string_view>

namespace tolvaro {

// Hands out the lines of a book file as the readers scan them. A line ends at LF, a CR before
// it is dropped; empty lines are skipped. Each line is further cut into pieces, one element
// each, so that markup with several elements on a line reads like markup with one per line: a
// piece begins at every "<" that starts <h1>..<h6>, <span, <div, <meta, <par, <text, <audio,
// <head, <body, </head, </body or </par (compared without regard to case, each followed by
// what ends its name). Text before the first such "<" is a piece of its own; pieces of only
// white space are dropped. A file with one such element per line, at its start, reads line by
// line.
class LineSource {
public:
    explicit LineSource(QByteArrayView data)
        : m_data(data.data(), static_cast<std::size_t>(data.size())) {}

    // Replaces `line` with the next piece; false at the end of the data.
    bool Next(std::string& line);
    // Appends the following pieces to `line`, and their lower-cased form to `lower` (which is
    // `line` lowered), until `lower` holds `closing` ("</" and a name, lower case) or the data
    // ends: up to the end of the piece in which the first `closing` ends. Each byte is lowered
    // and searched once, a line at a time, so a closing that never comes costs one pass over the
    // rest of the data.
    void JoinUntil(std::string& line, std::string& lower, std::string_view closing);
    // The next piece without a copy: a view into the data; false at the end.
    bool NextPiece(std::string_view& piece);
    // Whether the last piece holds a "<" after its first byte.
    bool InnerTag() const { return m_innerTag; }

private:
    std::size_t LineEnd();
    std::size_t PieceEnd(std::size_t from, std::size_t lineEnd);
    std::size_t JoinStart(std::size_t lineEnd) const;

    static constexpr std::size_t kUnknown = std::string_view::npos;
    std::string_view m_data;
    std::size_t m_pos = 0;            // start of the unread rest of the data
    std::size_t m_lineEnd = kUnknown; // the LF (or the end) of the line m_pos is in, once found
    bool m_innerTag = false;
};

// Lower-cases A to Z only, as every tag and key test expects.
inline char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
void LowerInto(std::string_view in, std::string& out);
// Whether `text` holds `lowerNeedle` when A to Z are compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view lowerNeedle);
// Where `needle` first occurs in `text` at or after `from` (npos if nowhere): the C library's
// search, which stays fast on a long joined line with a "<" every few bytes.
std::size_t FindIn(const std::string& text, std::string_view needle, std::size_t from = 0);

} // namespace tolvaro
