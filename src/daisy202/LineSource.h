#pragma once

#include "io/AsciiText.h"

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
    // Appends the following pieces to `line` until it holds `closing` ("</" and a name, lower
    // case, compared without regard to case) or the data ends, and sets `lower` to the line
    // lowered. Each piece is searched once, so a closing that never comes costs one pass over
    // the rest of the data.
    void JoinUntil(std::string& line, std::string& lower, std::string_view closing);
    // The next piece without a copy: a view into the data; false at the end.
    bool NextPiece(std::string_view& piece);

private:
    std::string_view m_data;
    std::size_t m_pos = 0; // start of the unread rest of the data
};

} // namespace tolvaro
